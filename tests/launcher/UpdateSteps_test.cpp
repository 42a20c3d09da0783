// The update from removable media, one step per second, on files of a temporary board: the search,
// the question, the copy, the carry-over, the check of the staged program and the install.
#include "UpdateFixture.h"

#include <map>

namespace {

const int kText = 1002, kHide = 1001, kExit = 1000;
const char16_t kInstalled[] = u"\\ResidentFlash\\Quellora\\Quellora.exe";
const char16_t kStaged[] = u"\\ResidentFlash\\ABackup\\Quellora.exe";
const std::vector<std::string> kCarried = {"1", "205", "110", "5"};

using UpdateSteps = UpdateFixture;

TEST_F(UpdateSteps, OffersTheFirstMediumWithAProgramAndADatabase) {
  struct Case {
    const char* name;
    std::vector<std::string> folders;  // media folders holding both files
    std::string incomplete;            // a medium's folder with the program only
    int step;
    const char16_t* source;
  };
  const Case cases[] = {
      {"media 1 and 2", {"Storage Card/ABackup", "Hard Disk/ABackup"}, "", 1, u"\\Storage Card\\ABackup"},
      {"medium 3 only", {"硬盘/ABackup"}, "", 3, u"\\硬盘\\ABackup"},
      {"medium 1 without its database", {"Hard Disk/ABackup"}, "Storage Card/ABackup", 2, u"\\Hard Disk\\ABackup"},
      {"only an incomplete one", {}, "Storage Card/ABackup", 100, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestLauncherDlg dlg;
    for (const auto& f : c.folders) MakeProgramFolder(f, "new", {});
    if (!c.incomplete.empty()) m_root.Write(c.incomplete + "/Quellora.exe", "new");
    ASSERT_TRUE(dlg.Create(CLauncherDlg::IDD));
    for (int i = 0; i < 21 && dlg.Step() == 0; ++i) Tick();
    EXPECT_EQ(dlg.Step(), c.step);
    EXPECT_EQ(dlg.UpdateSource(), c.source);
    dlg.DestroyWindow();
    std::filesystem::remove_all(m_root / "Storage Card");
    std::filesystem::remove_all(m_root / "Hard Disk");
    std::filesystem::remove_all(m_root / "硬盘");
  }
}

TEST_F(UpdateSteps, UnansweredQuestion_CountsDownFromTenAndStartsOnTheNextSecond) {
  InstalledAndUpdate();
  Open();
  Tick();
  EXPECT_EQ(m_dlg.Step(), 1);
  EXPECT_EQ(Text(kText), u"Do you Update Software?Path:\\Storage Card\\ABackup");
  EXPECT_EQ(Text(kExit), u"No");
  EXPECT_TRUE(Visible());
  for (int shown = 10; shown >= 1; --shown) {
    CString expected;
    expected.Format(u"Yes(%dS)", shown);
    EXPECT_EQ(Text(kHide), expected);
    EXPECT_EQ(m_dlg.Step(), 1);
    Tick();
  }
  EXPECT_EQ(m_dlg.Step(), 4);
  EXPECT_EQ(m_dlg.Answer(), 1);
  EXPECT_EQ(Text(kText), u"Step 2:Copying files, please wait!");
  EXPECT_FALSE(Enabled(kHide));
  EXPECT_FALSE(Enabled(kExit));
}

TEST_F(UpdateSteps, AcceptedUpdate_StopsTheMainProgramFirst) {
  InstalledAndUpdate();
  StandInWindows windows;
  HWND mainScreen = windows.Add(u"Quellora");
  Open();
  Tick();
  m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kHide, BN_CLICKED), 0);
  EXPECT_TRUE(IsWindow(mainScreen));
  Tick();
  EXPECT_EQ(StandInWindows::Closed(), std::vector<CString>{u"Quellora"});
  EXPECT_GE(m_dlg.Step(), 4);
}

TEST_F(UpdateSteps, ExitDuringTheQuestionCancels_AndTheLauncherRunsOn) {
  InstalledAndUpdate();
  Open();
  Tick();
  m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kExit, BN_CLICKED), 0);
  EXPECT_EQ(m_dlg.Step(), 100);
  EXPECT_EQ(m_dlg.Answer(), 0);
  EXPECT_EQ(Text(kHide), u"Hide");
  EXPECT_EQ(Text(kExit), u"Exit");
  EXPECT_TRUE(IsWindow(m_dlg.m_hWnd));
  Tick(3);
  EXPECT_FALSE(Visible());
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "old program");
  EXPECT_FALSE(Exists("ResidentFlash/ABackup"));
}

TEST_F(UpdateSteps, AcceptedUpdate_IsInstalledStepByStepWithTheSettingsCarriedOver) {
  InstalledAndUpdate();
  m_root.Write("ResidentFlash/StartUp/Brimcourt.exe", "launcher");
  m_root.Write("ResidentFlash/StartUp/other.lnk", "x");
  std::filesystem::create_directories(m_root / "ResidentFlash/StartUp/keep");
  Open();
  Tick();
  m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kHide, BN_CLICKED), 0);
  Tick();
  ASSERT_EQ(m_dlg.Step(), 4);
  Tick();  // copy
  EXPECT_EQ(m_dlg.Step(), 5);
  EXPECT_EQ(Text(kText), u"Step 3:Modifying configuration, please wait!");
  EXPECT_EQ(Program("ResidentFlash/ABackup"), "new program");
  EXPECT_TRUE(Exists("ResidentFlash/StartUp/Brimcourt.exe"));
  EXPECT_FALSE(Exists("ResidentFlash/StartUp/other.lnk"));
  EXPECT_TRUE(Exists("ResidentFlash/StartUp/keep"));
  Tick();  // carry-over
  EXPECT_EQ(m_dlg.Step(), 6);
  EXPECT_EQ(m_dlg.ExpectedSoftware(), 205);
  EXPECT_EQ(m_dlg.ExpectedTable(), 110);
  for (int table = 0; table < 3; ++table) EXPECT_EQ(Values("ResidentFlash/ABackup", table), kCarried) << table;
  Tick();
  EXPECT_EQ(Text(kText), u"Step 4:Check the program, please wait!");
  Tick();  // the staged program starts
  EXPECT_EQ(StartsOf(kStaged), 1);
  EXPECT_EQ(m_dlg.Step(), 8);
  Tick(3);
  EXPECT_EQ(m_dlg.Step(), 8);  // no report yet

  StandInWindows windows;
  windows.Add(u"Quellora");
  Report(204, 0, 109, 0);  // not the expected versions
  Tick();
  EXPECT_EQ(m_dlg.Step(), 8);
  EXPECT_EQ(Text(kText), u"Step 5:Removing files, please wait!");
  windows.Add(u"Quellora");
  Report(205, 0, 110, 0);
  Tick();
  EXPECT_EQ(m_dlg.Step(), 9);
  EXPECT_EQ(StandInWindows::Closed(), (std::vector<CString>{u"Quellora", u"Quellora"}));
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "old program");  // untouched until the install

  const int installedStarts = StartsOf(kInstalled);
  Tick();  // install
  EXPECT_EQ(m_dlg.Step(), 10);
  EXPECT_EQ(Text(kText), u"Update Finished!please remove the U Disk!");
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "new program");
  EXPECT_FALSE(Exists("ResidentFlash/ABackup"));
  EXPECT_EQ(StartsOf(kInstalled), installedStarts + 1);
  EXPECT_EQ(Text(kExit), u"Exit");
  EXPECT_EQ(Text(kHide), u"Hide");
  EXPECT_TRUE(Enabled(kHide));
  EXPECT_FALSE(Enabled(kExit));
  for (int table = 0; table < 3; ++table) EXPECT_EQ(Values("ResidentFlash/Quellora", table), kCarried) << table;

  Tick(18);
  EXPECT_EQ(m_dlg.Step(), 10);
  EXPECT_TRUE(Visible());
  Tick();
  EXPECT_EQ(m_dlg.Step(), 100);
  EXPECT_FALSE(Visible());
  EXPECT_TRUE(Enabled(kExit));
}

TEST_F(UpdateSteps, StagedProgramThatNeverMatches_RunsIntoTheTimeLimit) {
  InstalledAndUpdate();
  AcceptUpdate();
  Tick(4);
  ASSERT_EQ(m_dlg.Step(), 8);
  // The 600 s count from acceptance on the second tick; 4 seconds of them have passed.
  Tick(496);
  EXPECT_NE(Text(kText), u"Error!update timeout!please check!");
  Tick();  // 99 s remain
  EXPECT_EQ(Text(kText), u"Error!update timeout!please check!");
  EXPECT_TRUE(Enabled(kHide));
  EXPECT_TRUE(Enabled(kExit));
  Tick(99);
  EXPECT_EQ(m_dlg.Step(), 8);
  Tick();
  EXPECT_EQ(m_dlg.Step(), 100);
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "old program");
  EXPECT_EQ(Program("ResidentFlash/ABackup"), "new program");  // what was staged stays
  // The attempt is over: neither the answer nor a self-update outlives it.
  EXPECT_EQ(m_dlg.Answer(), -1);
  EXPECT_FALSE(m_dlg.SelfUpdate());
}

TEST_F(UpdateSteps, RefusedAtTheCheck_TheTimeoutTextStands_AndTheInstalledProgramStartsAtTheLimit) {
  const CString timeout = u"Error!update timeout!please check!";
  InstalledAndUpdate();
  AcceptUpdate();
  Tick(4);
  ASSERT_EQ(m_dlg.Step(), 8);
  StandInWindows windows;
  windows.Add(u"Quellora");
  Report(204, 0, 109, 0);  // other versions than the new database's 205 and 110
  Tick();
  EXPECT_EQ(StandInWindows::Closed(), std::vector<CString>{u"Quellora"});
  EXPECT_EQ(Text(kText), u"Step 5:Removing files, please wait!");
  // 595 s of the limit are left.
  Tick(495);
  EXPECT_EQ(Text(kText), u"Step 5:Removing files, please wait!");
  Tick();
  EXPECT_EQ(Text(kText), timeout);
  Tick(20);
  EXPECT_EQ(Text(kText), timeout);
  // A staged program that is still up and reports again cannot put a step text over it either.
  windows.Add(u"Quellora");
  Report(204, 0, 109, 0);
  Tick();
  EXPECT_EQ(Text(kText), timeout);
  EXPECT_TRUE(Visible());
  EXPECT_EQ(StartsOf(kInstalled), 1);  // at the launcher's start only
  Tick(78);
  EXPECT_EQ(m_dlg.Step(), 8);
  EXPECT_EQ(Text(kText), timeout);
  Tick();  // the limit: the attempt ends, the stopped program comes back at once
  EXPECT_EQ(m_dlg.Step(), 100);
  EXPECT_EQ(StartsOf(kInstalled), 2);
  EXPECT_FALSE(Visible());
  EXPECT_EQ(m_dlg.HeartbeatCountdown(), 89);
  Tick(89);
  EXPECT_EQ(StartsOf(kInstalled), 2);  // supervision counts from that start
}

TEST_F(UpdateSteps, StagedProgramAtTheCheck_IsLeftToIt_AtTheLimitClosedBeforeTheInstalledOneStarts) {
  InstalledAndUpdate();
  AcceptUpdate();
  Tick(4);
  ASSERT_EQ(m_dlg.Step(), 8);
  m_dlg.stagedProcess = ThisProcess();
  StandInWindows windows;
  Report(204, 0, 109, 0);  // its word counts at the check: refused
  Tick();
  EXPECT_EQ(Text(kText), u"Step 5:Removing files, please wait!");
  windows.Add(u"Quellora");
  Tick(595);
  EXPECT_TRUE(StandInWindows::Closed().empty());  // no close but the check's own
  ASSERT_EQ(m_dlg.Step(), 8);
  Tick();  // the limit: the staged program is asked to close, the installed one waits for its end
  EXPECT_EQ(m_dlg.Step(), 100);
  EXPECT_EQ(StandInWindows::Closed(), std::vector<CString>{u"Quellora"});
  Tick(3);
  EXPECT_EQ(StartsOf(kInstalled), 1);  // at the launcher's start only
  m_dlg.stagedProcess = 0;
  Tick();
  EXPECT_EQ(StartsOf(kInstalled), 2);
  EXPECT_EQ(m_dlg.HeartbeatCountdown(), 89);
}

TEST_F(UpdateSteps, CopyNotWhole_EndsTheUpdateAtOnce_NothingStaged_TheUntouchedInstallationStartsAgain) {
  struct Case {
    const char* name;
    std::function<void(const std::string& medium)> spoil;
  };
  const Case cases[] = {
      {"a file that cannot be read",
       [](const std::string& medium) { std::filesystem::create_symlink(medium + "/gone.ttf", medium + "/msyh.ttf"); }},
      // A kernel file lists a page's size and reads a few bytes.
      {"a file whose reading ends before its size",
       [](const std::string& medium) { std::filesystem::create_symlink("/sys/devices/system/cpu/online", medium + "/msyh.ttf"); }},
  };
  auto files = [&](const std::string& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_root / folder)) {
      panel::ReadTextFile(entry.path(), contents[entry.path().string()]);
    }
    return contents;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstalledAndUpdate();
    c.spoil(m_root / "Storage Card/ABackup");
    const auto installed = files("ResidentFlash/Quellora");
    TestLauncherDlg dlg;
    auto text = [&dlg](int id) {
      CString t;
      dlg.GetDlgItemText(id, t);
      return t;
    };
    ASSERT_TRUE(dlg.Create(CLauncherDlg::IDD));
    Tick();
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kHide, BN_CLICKED), 0);
    Tick();
    ASSERT_EQ(dlg.Step(), 4);
    Tick();  // the copy
    EXPECT_EQ(dlg.Step(), 10);
    EXPECT_EQ(text(kText), u"Error!update timeout!please check!");
    EXPECT_EQ(text(kExit), u"Exit");
    EXPECT_EQ(text(kHide), u"Hide");
    EXPECT_TRUE(dlg.GetDlgItem(kExit)->IsWindowEnabled());
    EXPECT_TRUE(dlg.GetDlgItem(kHide)->IsWindowEnabled());
    EXPECT_FALSE(Exists("ResidentFlash/ABackup"));
    EXPECT_TRUE(files("ResidentFlash/Quellora") == installed);
    EXPECT_EQ(dlg.starts, (std::vector<CString>{kInstalled, kInstalled}));
    // The text stays on top for the finishing seconds, then supervision takes over.
    Tick(18);
    EXPECT_EQ(text(kText), u"Error!update timeout!please check!");
    EXPECT_TRUE(dlg.IsWindowVisible());
    Tick();
    EXPECT_EQ(dlg.Step(), 100);
    EXPECT_FALSE(dlg.IsWindowVisible());
    EXPECT_EQ(dlg.starts.size(), 2u);
    dlg.DestroyWindow();
    std::filesystem::remove_all(m_root / "ResidentFlash");
    std::filesystem::remove_all(m_root / "Storage Card");
  }
}

TEST_F(UpdateSteps, Command2WithAStagedFolder_AsksAndInstallsItWithoutCopying) {
  MakeProgramFolder("ResidentFlash/Quellora", "old program", {{0, "1", 0}, {1, "204", 0}, {2, "109", 0}, {3, "5", 0}});
  MakeProgramFolder("ResidentFlash/ABackup", "staged program", {{0, "1", 0}, {1, "205", 0}, {2, "110", 0}, {3, "7", 0}});
  Open();
  ToRunMode();
  Report(205, 0, 110, 2);
  EXPECT_EQ(m_dlg.Step(), 0);
  EXPECT_TRUE(m_dlg.SelfUpdate());
  Tick();
  EXPECT_EQ(m_dlg.Step(), 1);
  EXPECT_EQ(Text(kText), u"Do you Update Software?Path:\\Storage Card\\ABackup");
  Tick(10);
  ASSERT_EQ(m_dlg.Step(), 4);
  Tick(4);
  ASSERT_EQ(m_dlg.Step(), 8);
  EXPECT_EQ(Program("ResidentFlash/ABackup"), "staged program");
  Report(205, 0, 110, 0);
  Tick(2);
  EXPECT_EQ(m_dlg.Step(), 10);
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "staged program");
  EXPECT_EQ(Values("ResidentFlash/Quellora", 0), kCarried);
}

TEST_F(UpdateSteps, ASecondSearchAfterAFinishedUpdate_AsksAgain) {
  InstalledAndUpdate();
  ReachInstall();
  Tick();
  ASSERT_EQ(m_dlg.Step(), 10);
  Tick(19);
  ASSERT_EQ(m_dlg.Step(), 100);
  Report(205, 0, 110, 2);  // the medium is still in
  Tick();
  EXPECT_EQ(m_dlg.Step(), 1);
  EXPECT_EQ(Text(kHide), u"Yes(10S)");
}

TEST_F(UpdateSteps, CarryOverThatCannotProceed_StopsBeforeTheCheckWithTheInstallationUntouched) {
  struct Case {
    const char* name;
    std::function<void(const std::string& root)> spoil;
  };
  const Case cases[] = {
      {"installed database without its parameter table",
       [](const std::string& root) { testing_support::RawDb(root + "/ResidentFlash/Quellora/Quellora.db").Run("drop table t_System0;"); }},
      {"staged database missing a table",
       [](const std::string& root) { testing_support::RawDb(root + "/ResidentFlash/ABackup/Quellora.db").Run("drop table t_System1;"); }},
      {"staged database without its version rows",
       [](const std::string& root) {
         testing_support::RawDb(root + "/ResidentFlash/ABackup/Quellora.db").Run("delete from t_System0 where ID in (1, 2);");
       }},
      {"installed database with fewer than 3 rows",
       [](const std::string& root) {
         testing_support::RawDb(root + "/ResidentFlash/Quellora/Quellora.db").Run("delete from t_System0 where ID > 0;");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstalledAndUpdate();
    TestLauncherDlg dlg;
    ASSERT_NO_FATAL_FAILURE(ReachCarryOver(dlg));
    c.spoil(m_root.Path());
    const std::string installedDb = [&] {
      std::string text;
      panel::ReadTextFile(m_root / "ResidentFlash/Quellora/Quellora.db", text);
      return text;
    }();
    Tick(30);
    EXPECT_EQ(dlg.Step(), 5);
    EXPECT_EQ(dlg.starts.size(), 1u);  // only the installed program at start; no staged one
    EXPECT_EQ(Program("ResidentFlash/Quellora"), "old program");
    std::string after;
    panel::ReadTextFile(m_root / "ResidentFlash/Quellora/Quellora.db", after);
    EXPECT_TRUE(after == installedDb);
    dlg.DestroyWindow();
    std::filesystem::remove_all(m_root / "ResidentFlash");
    std::filesystem::remove_all(m_root / "Storage Card");
  }
}

TEST_F(UpdateSteps, InstalledDatabaseMissingOrNoDatabase_TheNewOneIsInstalledWithItsOwnSettings) {
  struct Case {
    const char* name;
    std::function<void(const std::string& root)> spoil;
  };
  const Case cases[] = {
      {"missing", [](const std::string& root) { std::filesystem::remove(root + "/ResidentFlash/Quellora/Quellora.db"); }},
      {"no database",
       [](const std::string& root) { panel::WriteTextFile(root + "/ResidentFlash/Quellora/Quellora.db", "not a database"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InstalledAndUpdate();
    panel::ClearDebugLog();
    TestLauncherDlg dlg;
    ASSERT_NO_FATAL_FAILURE(ReachCarryOver(dlg));
    c.spoil(m_root.Path());
    Tick();
    EXPECT_EQ(dlg.Step(), 6);
    EXPECT_EQ(dlg.ExpectedSoftware(), 205);
    EXPECT_EQ(dlg.ExpectedTable(), 110);
    for (int table = 0; table < 3; ++table) {
      EXPECT_EQ(Values("ResidentFlash/ABackup", table), (std::vector<std::string>{"1", "205", "110", "7"})) << table;
    }
    const std::string said = std::string("the installed database ") + (c.name[0] == 'm' ? "is missing" : "is no database") +
                             ": the update installs the new database with its own settings";
    EXPECT_EQ(panel::DebugLog(), std::vector<std::string>{said});
    Tick(2);
    StandInWindows windows;
    windows.Add(u"Quellora");
    dlg.SendMessage(WM_STATUS_REPORT, StatusReportWParam(205, 0), StatusReportLParam(110, 0));
    Tick(2);
    EXPECT_EQ(dlg.Step(), 10);
    EXPECT_EQ(Program("ResidentFlash/Quellora"), "new program");
    EXPECT_EQ(Values("ResidentFlash/Quellora", 0), (std::vector<std::string>{"1", "205", "110", "7"}));
    dlg.DestroyWindow();
    std::filesystem::remove_all(m_root / "ResidentFlash");
    std::filesystem::remove_all(m_root / "Storage Card");
  }
}

TEST_F(UpdateSteps, VersionRowsAreMatchedById_NotByTheirPlaceInTheResult) {
  // The installed rows were written in another order: the second and third rows read are not 1 and 2.
  MakeProgramFolder("ResidentFlash/Quellora", "old", {{3, "5", 0}, {2, "109", 0}, {0, "1", 0}, {1, "204", 0}}, {9});
  MakeProgramFolder("Storage Card/ABackup", "new", {{0, "1", 0}, {3, "7", 0}, {1, "205", 0}, {2, "110", 0}}, {9, 13});
  AcceptUpdate();
  Tick(2);
  ASSERT_EQ(m_dlg.Step(), 6);
  EXPECT_EQ(m_dlg.ExpectedSoftware(), 205);
  EXPECT_EQ(m_dlg.ExpectedTable(), 110);
  for (int table = 0; table < 3; ++table) EXPECT_EQ(Values("ResidentFlash/ABackup", table), kCarried) << table;
}

TEST_F(UpdateSteps, FailedMoveOfTheStagedFolder_KeepsTheInstallationAndSaysSo) {
  InstalledAndUpdate();
  ReachInstall();
  ASSERT_EQ(m_dlg.Step(), 9);
  std::filesystem::remove_all(m_root / "ResidentFlash/ABackup");  // the staged folder is gone
  Tick();
  EXPECT_EQ(m_dlg.Step(), 10);
  EXPECT_EQ(Text(kText), u"Update failed!the installed program is kept!");
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "old program");
  EXPECT_EQ(Values("ResidentFlash/Quellora", 0), (std::vector<std::string>{"1", "204", "109", "5"}));
  EXPECT_FALSE(Exists("ResidentFlash/Quellora.old"));
}

TEST_F(UpdateSteps, InstallWaitsUntilTheCheckedProgramHasEnded_AskingItAgainToClose) {
  InstalledAndUpdate();
  ReachInstall();
  ASSERT_EQ(m_dlg.Step(), 9);
  HANDLE stillRunning = CreateMutexW(nullptr, FALSE, u"Quellora");  // the checked program has not ended
  Tick(3);
  EXPECT_EQ(m_dlg.Step(), 9);
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "old program");
  // Its window, not to be found at the check, shows now: it is asked again to close.
  StandInWindows windows;
  windows.Add(u"Quellora");
  Tick();
  EXPECT_EQ(StandInWindows::Closed(), std::vector<CString>{u"Quellora"});
  CloseHandle(stillRunning);
  Tick();
  EXPECT_EQ(m_dlg.Step(), 10);
  EXPECT_EQ(Program("ResidentFlash/Quellora"), "new program");
}

}  // namespace
