// An installed program and an update on a medium, each with a database built from the delivered file
// whose parameter tables hold the rows a test gives.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "LauncherFixture.h"
#include "RawDb.h"

struct ParamRow {
  int id;
  std::string val;
  int type;
};

class UpdateFixture : public LauncherFixture {
protected:
  // A folder (inside the root) with a program file and a database whose t_System0/1/2 hold rows, in
  // this order, and whose t_Langenable holds a row per dealer id with flag E0 set to the id.
  void MakeProgramFolder(const std::string& folder, const std::string& program, const std::vector<ParamRow>& rows,
                         const std::vector<int>& dealers = {}) {
    std::filesystem::create_directories(m_root / folder);
    m_root.Write(folder + "/Quellora.exe", program);
    std::filesystem::copy_file(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.db", m_root / (folder + "/Quellora.db"),
                               std::filesystem::copy_options::overwrite_existing);
    testing_support::RawDb db(m_root / (folder + "/Quellora.db"));
    db.Run("delete from t_Langenable;");
    for (int table = 0; table < 3; ++table) {
      for (const ParamRow& r : rows) {
        db.Run("insert into t_System" + std::to_string(table) + " values(" + std::to_string(r.id) + ",'" + r.val +
               "'," + std::to_string(r.type) + ",'P" + std::to_string(r.id) + "');");
      }
    }
    for (int dealer : dealers) {
      db.Run("insert into t_Langenable (ID, E0, E1) values(" + std::to_string(dealer) + "," + std::to_string(dealer) +
             ",1);");
    }
  }

  // Column Val of the rows of a table, ordered by ID.
  std::vector<std::string> Values(const std::string& folder, int table) {
    testing_support::RawDb db(m_root / (folder + "/Quellora.db"));
    std::vector<std::string> values;
    for (auto& row : db.Rows("select Val from t_System" + std::to_string(table) + " order by ID")) values.push_back(row[0]);
    return values;
  }

  std::string Program(const std::string& folder) {
    std::string text;
    panel::ReadTextFile(m_root / (folder + "/Quellora.exe"), text);
    return text;
  }

  bool Exists(const std::string& path) { return std::filesystem::exists(m_root / path); }

  // The update offered on the first tick and accepted with "Yes": on step 4 (copy) afterwards.
  void AcceptUpdate() {
    Open();
    Tick();
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    Tick();
  }
  // A dialog of a test's own (one per case of a table) that has accepted the update and copied it:
  // on step 5 (carry-over) afterwards.
  void ReachCarryOver(TestLauncherDlg& dlg) {
    ASSERT_TRUE(dlg.Create(CLauncherDlg::IDD));
    Tick();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
    Tick(2);
    ASSERT_EQ(dlg.Step(), CLauncherDlg::kStepConfigure);
  }
  // Accepted, copied, configured, the staged program started and its expected report handled: on
  // step 9 (install) afterwards.
  void ReachInstall() {
    AcceptUpdate();
    Tick(4);
    Report(205, 0, 110, 0);
    Tick();
  }

  // Installed settings 1/204/109/5, an update whose database brings 1/205/110/7.
  void InstalledAndUpdate(const std::string& medium = "Storage Card/ABackup") {
    MakeProgramFolder("ResidentFlash/Quellora", "old program",
                      {{0, "1", 0}, {1, "204", 0}, {2, "109", 0}, {3, "5", 0}}, {9});
    MakeProgramFolder(medium, "new program", {{0, "1", 0}, {1, "205", 0}, {2, "110", 0}, {3, "7", 0}}, {9, 13});
  }
};
