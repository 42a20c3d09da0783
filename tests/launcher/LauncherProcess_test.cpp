// The built launcher as the board runs it, on a temporary board root with sped-up time: it starts the
// main program (the real one, or a stand-in that sends the status message), supervises it and installs
// an update from a medium folder of the root.
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "Clock.h"
#include "Gui.h"
#include "Paths.h"
#include "Platform.h"
#include "RawDb.h"
#include "ScopedEnv.h"
#include "TempRoot.h"

namespace {

namespace fs = std::filesystem;
using testing_support::RawDb;
using testing_support::TempRoot;

using testing_support::ScopedEnv;

const char kStaged[] = "ResidentFlash/ABackup/Quellora.exe";
const char kInstalled[] = "ResidentFlash/Quellora/Quellora.exe";

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < until) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

pid_t PidOf(HWND window) { return static_cast<pid_t>(reinterpret_cast<uintptr_t>(window) >> 32); }

// Ended, or only a zombie left for its parent to reap.
bool Ended(pid_t pid) {
  if (kill(pid, 0) != 0) return true;
  std::string stat;
  panel::ReadTextFile("/proc/" + std::to_string(pid) + "/stat", stat);
  size_t close = stat.rfind(')');
  return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] == 'Z';
}

class LauncherEndToEnd : public ::testing::Test {
protected:
  LauncherEndToEnd() {
    GetTickCount();  // this process keeps real time; the board's programs run on the scale
  }

  void TearDown() override { StopBoard(); }

  // Ends the board's programs before the root they run on goes away.
  struct BoardGuard {
    LauncherEndToEnd* test;
    ~BoardGuard() { test->StopBoard(); }
  };

  // A board root as `make run` prepares it, the main program optionally replaced by the stand-in.
  void Prepare(const TempRoot& root, bool standIn) {
    const std::string prepare = std::string(QUELLORA_SOURCE_DIR) + "/tools/make-root.sh " + QUELLORA_BINARY_DIR +
                                " " + root.Path() + " > /dev/null";
    ASSERT_EQ(std::system(prepare.c_str()), 0);
    if (standIn) fs::copy_file(STANDIN_EXE, root / "ResidentFlash/Quellora/Quellora.exe", fs::copy_options::overwrite_existing);
  }

  // A program folder's database: the delivered file with t_System0/1/2 holding IDs 0..3 with these values.
  static void Settings(const std::string& db, const std::vector<std::string>& values) {
    RawDb raw(db);
    for (int n = 0; n < 3; ++n) {
      raw.Run("delete from t_System" + std::to_string(n) + ";");
      for (size_t id = 0; id < values.size(); ++id) {
        raw.Run("insert into t_System" + std::to_string(n) + " values(" + std::to_string(id) + ",'" + values[id] +
                "',0,'P" + std::to_string(id) + "');");
      }
    }
  }

  // An update on the first medium: the stand-in with a database whose settings are 1/205/110/7.
  static void OfferUpdate(const TempRoot& root) {
    fs::create_directories(root / "Storage Card/ABackup");
    fs::copy_file(STANDIN_EXE, root / "Storage Card/ABackup/Quellora.exe");
    fs::copy_file(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.db", root / "Storage Card/ABackup/Quellora.db");
    Settings(root / "Storage Card/ABackup/Quellora.db", {"1", "205", "110", "7"});
  }

  // The real program installed and running (started here, before the launcher: its first start fills
  // the delivered database), and an update on the first medium that brings a copy of the installation
  // whose database the SQL given changes.
  void RunInstalledAndOfferItsCopy(const TempRoot& root, const std::string& change) {
    Prepare(root, false);
    ASSERT_NO_FATAL_FAILURE(StartInstalled());
    ASSERT_TRUE(WaitUntil([&] { return MainProgramFile(root) == "ResidentFlash/Quellora/Quellora.exe"; }, 30000));
    fs::create_directories(root / "Storage Card/ABackup");
    for (const auto& entry : fs::directory_iterator(root / "ResidentFlash/Quellora")) {
      const std::string name = entry.path().filename();
      // The live database (and the journal it has now and then) is copied below, whole.
      if (name.rfind("Quellora.db", 0) != 0) fs::copy(entry.path(), root / ("Storage Card/ABackup/" + name), fs::copy_options::recursive);
    }
    RawDb(root / "ResidentFlash/Quellora/Quellora.db")
        .Run("pragma busy_timeout = 10000; vacuum into '" + (root / "Storage Card/ABackup/Quellora.db") + "';");
    if (!change.empty()) RawDb(root / "Storage Card/ABackup/Quellora.db").Run(change);
  }

  // The processes of the board running from that file inside the root (ended ones not counted).
  static std::vector<pid_t> ProgramsRunningFrom(const TempRoot& root, const std::string& relative) {
    std::vector<pid_t> pids;
    for (const auto& entry : fs::directory_iterator("/proc")) {
      const pid_t pid = static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
      std::error_code error;
      const fs::path exe = fs::read_symlink(entry.path() / "exe", error);
      if (pid > 0 && !error && exe == fs::path(root / relative) && !Ended(pid)) pids.push_back(pid);
    }
    return pids;
  }

  // The installed folder, file by file (path -> contents), without the database that its running
  // program writes; that database's parameter tables instead.
  static std::map<std::string, std::string> InstallationFiles(const TempRoot& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root / "ResidentFlash/Quellora")) {
      if (entry.path().filename().string().rfind("Quellora.db", 0) == 0) continue;
      if (!entry.is_directory()) panel::ReadTextFile(entry.path(), files[entry.path().string()]);
    }
    for (int n = 0; n < 3; ++n) {
      std::string& rows = files["t_System" + std::to_string(n)];
      for (const std::string& value : Values(root / "ResidentFlash/Quellora/Quellora.db", n)) rows += value + ",";
    }
    return files;
  }

  // The file, inside the root, of the program behind the window "Quellora"; empty when none runs.
  static std::string MainProgramFile(const TempRoot& root) {
    HWND main = FindWindowW(nullptr, u"Quellora");
    if (!main) return "";
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/" + std::to_string(PidOf(main)) + "/exe", error);
    return error ? "" : fs::relative(exe, root.Path()).string();
  }

  // The stand-in installed with the settings 1/204/109/5, the update on the first medium, the launcher
  // started and asking, the installed program up (an answer before its window is there would find
  // nothing to stop).
  void StartWithUpdateOffered(const TempRoot& root) {
    Prepare(root, true);
    Settings(root / "ResidentFlash/Quellora/Quellora.db", {"1", "204", "109", "5"});
    OfferUpdate(root);
    StartLauncher();
    ASSERT_TRUE(WaitUntil([] { return LauncherText() == "Do you Update Software?Path:\\Storage Card\\ABackup"; }, 20000))
        << LauncherText();
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(nullptr, u"Quellora") != nullptr; }, 5000));
  }

  // The stand-in installed and hung (its window up, never answering), an update on the first medium,
  // the launcher started. The stand-in is up first: the launcher's question, a few ticks long at the
  // tests' speeds, is asked while the test looks for it.
  void StartWithAHungMainProgram(const TempRoot& root) {
    Prepare(root, true);
    panel::WriteTextFile(root / "standin.cfg", "mode hang");
    OfferUpdate(root);
    ASSERT_NO_FATAL_FAILURE(StartInstalled());
    ASSERT_TRUE(WaitUntil([] { return FindWindowW(nullptr, u"Quellora") != nullptr; }, 10000));
    StartLauncher();
  }

  // The installed program started as the launcher would start it, without waiting for it.
  static void StartInstalled() {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION main{};
    ASSERT_TRUE(CreateProcessW(u"\\ResidentFlash\\Quellora\\Quellora.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &main));
    CloseHandle(main.hThread);
    CloseHandle(main.hProcess);
  }

  // Past the stop of the main program and the copy.
  static bool UpdateWentOnToItsCarryOver() {
    const std::string text = LauncherText();
    return text == "Step 3:Modifying configuration, please wait!" || text == "Step 4:Check the program, please wait!";
  }

  // The update question answered with "Yes" as soon as it shows.
  static void AcceptWhenAsked() {
    ASSERT_TRUE(WaitUntil([] { return LauncherText().rfind("Do you Update Software?", 0) == 0; }, 20000)) << LauncherText();
    PostMessageW(FindWindowW(nullptr, u"Brimcourt"), WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);
  }

  void StartLauncher(const char16_t* program = u"\\ResidentFlash\\StartUp\\Brimcourt.exe") {
    STARTUPINFOW startup{sizeof(startup)};
    ASSERT_TRUE(CreateProcessW(program, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_launcher));
    m_launcherRunning = true;
  }

  void KillLauncher() {
    if (!m_launcherRunning) return;
    TerminateProcess(m_launcher.hProcess, 9);
    WaitForSingleObject(m_launcher.hProcess, 5000);
    CloseHandle(m_launcher.hThread);
    CloseHandle(m_launcher.hProcess);
    m_launcherRunning = false;
  }

  // Every program of the board ends: each process whose environment names this root (the ones the
  // launcher started are not this test's children, and one that has not shown its window yet counts).
  static void KillBoardPrograms() {
    const std::string wanted = "PANEL_ROOT=" + panel::PanelRoot();
    std::vector<pid_t> killed;
    for (const auto& entry : fs::directory_iterator("/proc")) {
      const pid_t pid = static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
      if (pid <= 0 || pid == getpid()) continue;
      std::string environ;
      if (!panel::ReadTextFile(entry.path() / "environ", environ)) continue;
      std::istringstream vars(environ);
      std::string var;
      while (std::getline(vars, var, '\0')) {
        if (var != wanted) continue;
        kill(pid, SIGKILL);
        killed.push_back(pid);
        break;
      }
    }
    for (pid_t pid : killed) WaitUntil([&] { return Ended(pid); }, 5000);
  }

  void StopBoard() {
    KillLauncher();
    // Only a test's own temporary board: never a root someone else runs on.
    if (panel::PanelRoot().find("/panel-root-") != std::string::npos) KillBoardPrograms();
  }

  // The launcher's version or status text (its first control).
  static std::string LauncherText() {
    HWND launcher = FindWindowW(nullptr, u"Brimcourt");
    HWND text = launcher ? GetWindow(launcher, GW_CHILD) : nullptr;
    WCHAR buffer[256] = {};
    if (text) GetWindowTextW(text, buffer, 255);
    return ToUtf8(buffer);
  }

  static std::vector<std::string> StandInStarts(const TempRoot& root) {
    std::vector<std::string> starts;
    std::ifstream log(root / "standin.log");
    std::string line;
    while (std::getline(log, line)) starts.push_back(line);
    return starts;
  }

  // The last start of the stand-in was the installed program, with the settings value given (any when
  // empty).
  bool LastStartIsInstalled(const TempRoot& root, const std::string& setting = "") {
    return WaitUntil([&] {
      auto starts = StandInStarts(root);
      const std::string wanted = "\\ResidentFlash\\Quellora\\Quellora.exe" + (setting.empty() ? "" : " " + setting);
      return !starts.empty() && starts.back().find(wanted) != std::string::npos;
    }, 10000);
  }

  // The program's log in the root.
  static std::string DebugLines(const TempRoot& root, const std::string& program) {
    std::string text;
    panel::ReadTextFile(root / ("run/" + program + ".log"), text);
    return text;
  }

  static std::vector<std::string> Values(const std::string& db, int table) {
    RawDb raw(db);
    std::vector<std::string> values;
    for (auto& row : raw.Rows("select Val from t_System" + std::to_string(table) + " order by ID")) values.push_back(row[0]);
    return values;
  }

  panel::HeadlessScreen m_screen;
  ScopedEnv m_display{"PANEL_DISPLAY", "headless"};
  PROCESS_INFORMATION m_launcher{};
  bool m_launcherRunning = false;
};

TEST_F(LauncherEndToEnd, StandIn_HeartbeatsKeepIt_AKilledOneIsRestarted_Command1EndsTheLauncher) {
  ScopedEnv scale("PANEL_TIME_SCALE", "20");
  TempRoot root;
  BoardGuard guard{this};
  Prepare(root, true);
  StartLauncher();
  ASSERT_TRUE(WaitUntil([&] { return StandInStarts(root).size() == 1; }, 20000));
  // 20 s of search and then 150 s of run mode with heartbeats: no restart.
  ASSERT_TRUE(WaitUntil([] { return LauncherText() == "SW:V2.05\r\nDB:V1.10"; }, 20000)) << LauncherText();
  std::this_thread::sleep_for(std::chrono::milliseconds(150000 / 20));
  EXPECT_EQ(StandInStarts(root).size(), 1u);

  panel::WriteTextFile(root / "standin.cfg", "software 205 test 3 table 110");
  EXPECT_TRUE(WaitUntil([] { return LauncherText() == "SW:V2.05-T3\r\nDB:V1.10"; }, 5000)) << LauncherText();

  HWND main = FindWindowW(nullptr, u"Quellora");
  ASSERT_NE(main, nullptr);
  kill(PidOf(main), SIGKILL);
  // Restarted once the heartbeat countdown of 90 s has run out.
  EXPECT_TRUE(WaitUntil([&] { return StandInStarts(root).size() == 2; }, 120000 / 20));
  EXPECT_TRUE(WaitUntil([] { return FindWindowW(nullptr, u"Quellora") != nullptr; }, 5000));

  panel::WriteTextFile(root / "standin.cfg", "command 1");
  EXPECT_EQ(WaitForSingleObject(m_launcher.hProcess, 20000), WAIT_OBJECT_0);  // the 11th command 1 in a row
}

TEST_F(LauncherEndToEnd, RepeatedRestarts_RebootTheBoard_WhichEndsEveryProgram) {
  ScopedEnv scale("PANEL_TIME_SCALE", "20");
  TempRoot root;
  BoardGuard guard{this};
  Prepare(root, true);
  root.Write("board/processor", "0\n");  // Corvalin: the reboot goes through its watchdog
  panel::WriteTextFile(root / "standin.cfg", "mode silent");
  StartLauncher();
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (main = FindWindowW(nullptr, u"Quellora")) != nullptr; }, 10000));
  // 20 s search, 90 s, then restarts every 11 s: the fourth asks for the reboot.
  EXPECT_EQ(WaitForSingleObject(m_launcher.hProcess, (20 + 90 + 4 * 11) * 1000 / 20 + 10000), WAIT_OBJECT_0);
  std::string reboot;
  EXPECT_TRUE(panel::ReadTextFile(root / "board/reboot", reboot));
  EXPECT_EQ(reboot, "watchdog\n");
  EXPECT_TRUE(WaitUntil([&] { return Ended(PidOf(main)); }, 5000));
}

TEST_F(LauncherEndToEnd, RealMainProgram_StartedRestartedAfterKillAndClosedForAnUpdate) {
  ScopedEnv scale("PANEL_TIME_SCALE", "10");
  TempRoot root;
  BoardGuard guard{this};
  Prepare(root, false);
  StartLauncher();
  HWND first = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (first = FindWindowW(nullptr, u"Quellora")) != nullptr; }, 30000));
  const pid_t killed = PidOf(first);
  kill(killed, SIGKILL);
  ASSERT_TRUE(WaitUntil([] { return FindWindowW(nullptr, u"Quellora") == nullptr; }, 5000));
  // Without its status message the launcher starts it again when the 90 s run out (20 s search first).
  HWND second = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (second = FindWindowW(nullptr, u"Quellora")) != nullptr; }, 130000 / 10 + 20000));
  const pid_t running = PidOf(second);
  EXPECT_NE(running, killed);
  KillLauncher();

  // A launcher started with an update on the medium stops the running main program with WM_CLOSE.
  OfferUpdate(root);
  StartLauncher();
  EXPECT_TRUE(WaitUntil([&] { return Ended(running); }, 30000));
  // The staged stand-in reports the versions the new database holds; it is installed and started.
  EXPECT_TRUE(WaitUntil([] { return LauncherText() == "Update Finished!please remove the U Disk!"; }, 60000))
      << LauncherText();
  EXPECT_TRUE(LastStartIsInstalled(root));
}

TEST_F(LauncherEndToEnd, RealMainProgram_ItsStatusMessageKeepsItRunning) {
  ScopedEnv scale("PANEL_TIME_SCALE", "20");
  TempRoot root;
  BoardGuard guard{this};
  Prepare(root, false);
  StartLauncher();
  HWND main = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (main = FindWindowW(nullptr, u"Quellora")) != nullptr; }, 30000));
  const pid_t started = PidOf(main);
  // The versions shown come from the program's own status message.
  ASSERT_TRUE(WaitUntil([] { return LauncherText().rfind("SW:V2.05", 0) == 0; }, 20000)) << LauncherText();
  // Well past the 90 s countdown: still the first start.
  std::this_thread::sleep_for(std::chrono::milliseconds(150000 / 20));
  main = FindWindowW(nullptr, u"Quellora");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(PidOf(main), started);
}

TEST_F(LauncherEndToEnd, UpdateFromTheMedium_OfferedAcceptedAndInstalledWithTheSettings) {
  ScopedEnv scale("PANEL_TIME_SCALE", "10");
  TempRoot root;
  BoardGuard guard{this};
  ASSERT_NO_FATAL_FAILURE(StartWithUpdateOffered(root));
  HWND launcher = FindWindowW(nullptr, u"Brimcourt");
  PostMessageW(launcher, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);  // "Yes"
  ASSERT_TRUE(WaitUntil([] { return LauncherText() == "Update Finished!please remove the U Disk!"; }, 60000))
      << LauncherText();
  for (int n = 0; n < 3; ++n) {
    EXPECT_EQ(Values(root / "ResidentFlash/Quellora/Quellora.db", n), (std::vector<std::string>{"1", "205", "110", "5"}))
        << n;
  }
  EXPECT_FALSE(fs::exists(root / "ResidentFlash/ABackup"));
  EXPECT_TRUE(LastStartIsInstalled(root, "5"));
}

TEST_F(LauncherEndToEnd, LauncherKilledAtEachUpdateStep_LeavesAMainProgramWithTheUsersSettings) {
  // Slow enough for each step's text to be seen between two ticks, even on a loaded machine.
  ScopedEnv scale("PANEL_TIME_SCALE", "4");
  // Where the launcher is killed: once it has stopped the main program for the copy (the texts of that
  // second are never shown long enough to be seen), then at each text of the later steps. A text missed
  // all the same counts as reached when a later one shows, so the kill still comes, one step later.
  const std::vector<std::string> texts = {"Step 3:Modifying configuration, please wait!",
                                          "Step 4:Check the program, please wait!",
                                          "Step 5:Removing files, please wait!",
                                          "Update Finished!please remove the U Disk!"};
  struct KillPoint {
    const char* name;
    std::function<bool()> reached;
  };
  auto showing = [&texts](size_t index) {
    return [&texts, index] {
      const std::string now = LauncherText();
      for (size_t i = index; i < texts.size(); ++i) {
        if (now == texts[i]) return true;
      }
      return false;
    };
  };
  const KillPoint killedAt[] = {
      {"main program stopped for the copy",
       [] { return LauncherText().rfind("Do you Update", 0) != 0 && !FindWindowW(nullptr, u"Quellora"); }},
      {"carry-over", showing(0)},
      {"check", showing(1)},
      {"install", showing(2)},
      {"finished", showing(3)},
  };
  for (const KillPoint& point : killedAt) {
    SCOPED_TRACE(point.name);
    TempRoot root;
    BoardGuard guard{this};
    ASSERT_NO_FATAL_FAILURE(StartWithUpdateOffered(root));
    PostMessageW(FindWindowW(nullptr, u"Brimcourt"), WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), 0);  // "Yes"
    ASSERT_TRUE(WaitUntil(point.reached, 60000)) << LauncherText();
    KillLauncher();
    KillBoardPrograms();
    fs::remove_all(root / "Storage Card");  // the medium is taken out

    const size_t before = StandInStarts(root).size();
    StartLauncher();
    EXPECT_TRUE(WaitUntil([&] { return StandInStarts(root).size() > before; }, 10000));
    auto starts = StandInStarts(root);
    ASSERT_FALSE(starts.empty());
    EXPECT_NE(starts.back().find("\\ResidentFlash\\Quellora\\Quellora.exe 5"), std::string::npos) << starts.back();
  }
}

TEST_F(LauncherEndToEnd, RealMainProgram_RefusedUpdateShowsItsTimeoutToTheEnd_ThenTheInstalledProgramIsBackAtOnce) {
  const int kScale = 20;
  ScopedEnv scale("PANEL_TIME_SCALE", "20");
  const std::string timeout = "Error!update timeout!please check!";
  TempRoot root;
  BoardGuard guard{this};
  // The new database says software V2.06; the program beside it reports V2.05.
  ASSERT_NO_FATAL_FAILURE(RunInstalledAndOfferItsCopy(root, "update t_System0 set Val = '206' where ID = 1;"));
  StartLauncher();
  ASSERT_NO_FATAL_FAILURE(AcceptWhenAsked());
  ASSERT_TRUE(WaitUntil([] { return LauncherText() == "Step 5:Removing files, please wait!"; }, 30000)) << LauncherText();

  // 99 s before the 600 s limit the timeout text comes, and stays.
  ASSERT_TRUE(WaitUntil([&] { return LauncherText() == timeout; }, 700000 / kScale)) << LauncherText();
  const auto shown = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(40000 / kScale));
  EXPECT_EQ(LauncherText(), timeout);
  EXPECT_TRUE(IsWindowVisible(FindWindowW(nullptr, u"Brimcourt")));

  // At the limit the window hides, on the board's clock 100 s after the text came: the launcher's
  // seconds keep the board's pace. The installed program is started at once, not 90 s later (its own
  // start-up takes a few board seconds at this speed).
  ASSERT_TRUE(WaitUntil([] { return !IsWindowVisible(FindWindowW(nullptr, u"Brimcourt")); }, 100000 / kScale));
  EXPECT_NEAR(std::chrono::duration<double>(std::chrono::steady_clock::now() - shown).count() * kScale, 100, 8);
  EXPECT_TRUE(WaitUntil([&] { return MainProgramFile(root) == "ResidentFlash/Quellora/Quellora.exe"; }, 75000 / kScale));
  EXPECT_TRUE(fs::exists(root / "ResidentFlash/ABackup/Quellora.exe"));  // what was staged stays
}

TEST_F(LauncherEndToEnd, RealMainProgram_UpdateOntoARootWithoutItsDatabase_InstallsTheNewOne) {
  ScopedEnv scale("PANEL_TIME_SCALE", "20");
  TempRoot root;
  BoardGuard guard{this};
  // A language row of a dealer the delivered file does not have marks the new database.
  ASSERT_NO_FATAL_FAILURE(RunInstalledAndOfferItsCopy(root, "insert into t_Langenable (ID, E0) values(77, 1);"));
  fs::remove(root / "ResidentFlash/Quellora/Quellora.db");  // gone while the program runs
  StartLauncher();
  ASSERT_NO_FATAL_FAILURE(AcceptWhenAsked());
  ASSERT_TRUE(WaitUntil([] { return LauncherText() == "Update Finished!please remove the U Disk!"; }, 60000))
      << LauncherText();
  ASSERT_TRUE(fs::exists(root / "ResidentFlash/Quellora/Quellora.db"));
  EXPECT_EQ(RawDb(root / "ResidentFlash/Quellora/Quellora.db").Rows("select E0 from t_Langenable where ID = 77"),
            (std::vector<std::vector<std::string>>{{"1"}}));
  EXPECT_TRUE(WaitUntil([&] { return MainProgramFile(root) == "ResidentFlash/Quellora/Quellora.exe"; }, 20000));
  const auto log = DebugLines(root, "Brimcourt");
  EXPECT_NE(log.find("the installed database is missing: the update installs the new database with its own settings"),
            std::string::npos)
      << log;
}

TEST_F(LauncherEndToEnd, RealMainProgram_LauncherKilledOnceItStartedTheStagedOne_MediumOut_OnlyTheInstalledOneRuns) {
  // Slow enough to catch the staged program between its start and its first report.
  ScopedEnv scale("PANEL_TIME_SCALE", "4");
  struct KillPoint {
    const char* name;
    std::function<bool(const TempRoot& root)> reached;
  };
  const KillPoint killedAt[] = {
      // Its process is there, its window and title not yet.
      {"the staged program just started", [](const TempRoot& root) { return !ProgramsRunningFrom(root, kStaged).empty(); }},
      {"the staged program's window up",
       [](const TempRoot& root) { return MainProgramFile(root) == "ResidentFlash/ABackup/Quellora.exe"; }},
  };
  for (const KillPoint& point : killedAt) {
    SCOPED_TRACE(point.name);
    TempRoot root;
    BoardGuard guard{this};
    ASSERT_NO_FATAL_FAILURE(RunInstalledAndOfferItsCopy(root, ""));
    StartLauncher();
    ASSERT_NO_FATAL_FAILURE(AcceptWhenAsked());
    ASSERT_TRUE(WaitUntil([&] { return point.reached(root); }, 60000)) << LauncherText();
    KillLauncher();
    const std::vector<pid_t> staged = ProgramsRunningFrom(root, kStaged);
    ASSERT_EQ(staged.size(), 1u);
    fs::remove_all(root / "Storage Card");  // the medium is taken out

    StartLauncher();
    EXPECT_TRUE(WaitUntil([&] { return Ended(staged[0]); }, 20000));
    EXPECT_TRUE(WaitUntil([&] { return MainProgramFile(root) == "ResidentFlash/Quellora/Quellora.exe"; }, 20000))
        << MainProgramFile(root);
    // Supervision, past its search, takes the installed program's reports; the staged one is gone for good.
    EXPECT_TRUE(WaitUntil([] { return LauncherText().rfind("SW:V2.05", 0) == 0; }, 20000)) << LauncherText();
    EXPECT_TRUE(ProgramsRunningFrom(root, kStaged).empty());
    EXPECT_EQ(ProgramsRunningFrom(root, kInstalled).size(), 1u);
  }
}

TEST_F(LauncherEndToEnd, RealMainProgram_CopyFailingPartWay_EndsTheUpdate_TheInstallationUntouchedAndBack) {
  ScopedEnv scale("PANEL_TIME_SCALE", "20");
  const std::string timeout = "Error!update timeout!please check!";
  struct Case {
    const char* name;
    std::function<void(const TempRoot& root)> spoil;
    const char16_t* launcher;
  };
  const Case cases[] = {
      {"the font on the medium cannot be read",
       [](const TempRoot& root) {
         fs::remove(root / "Storage Card/ABackup/msyh.ttf");
         fs::create_symlink(root / "nowhere.ttf", root / "Storage Card/ABackup/msyh.ttf");
       },
       u"\\ResidentFlash\\StartUp\\Brimcourt.exe"},
      // No file above 8 MiB can be written: the main program (24 MiB and more) is cut at the limit, and
      // the write fails (EFBIG) instead of ending the launcher.
      {"the flash takes no more",
       [](const TempRoot& root) {
         root.Write("full-flash.sh",
                    "#!/bin/sh\ntrap '' XFSZ\nulimit -f 16384\nexec \"$PANEL_ROOT/ResidentFlash/StartUp/Brimcourt.exe\"\n");
         fs::permissions(root / "full-flash.sh", fs::perms(0755));
       },
       u"\\full-flash.sh"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempRoot root;
    BoardGuard guard{this};
    ASSERT_NO_FATAL_FAILURE(RunInstalledAndOfferItsCopy(root, ""));
    c.spoil(root);
    const auto installed = InstallationFiles(root);
    const pid_t before = PidOf(FindWindowW(nullptr, u"Quellora"));
    StartLauncher(c.launcher);
    ASSERT_NO_FATAL_FAILURE(AcceptWhenAsked());
    std::vector<std::string> texts;
    auto sawTimeout = [&] {
      const std::string now = LauncherText();
      if (texts.empty() || texts.back() != now) texts.push_back(now);
      return now == timeout;
    };
    // At once, not at the update's limit (500 s away, 25 s at this speed).
    EXPECT_TRUE(WaitUntil(sawTimeout, 10000)) << texts.back();
    EXPECT_TRUE(std::find(texts.begin(), texts.end(), "Update Finished!please remove the U Disk!") == texts.end());
    EXPECT_FALSE(fs::exists(root / "ResidentFlash/ABackup"));
    EXPECT_TRUE(WaitUntil([&] { return MainProgramFile(root) == "ResidentFlash/Quellora/Quellora.exe"; }, 20000));
    EXPECT_NE(PidOf(FindWindowW(nullptr, u"Quellora")), before);
    EXPECT_TRUE(InstallationFiles(root) == installed) << "the installed folder changed";
    const auto log = DebugLines(root, "Brimcourt");
    EXPECT_NE(log.find("update copy: cannot copy "), std::string::npos) << log;
  }
}

TEST_F(LauncherEndToEnd, HungMainProgram_TheBoundOfEachSendIsBoardTime) {
  // Five sends of 5 s each to a program that never answers: 1.25 s at this speed, not 25 s.
  ScopedEnv scale("PANEL_TIME_SCALE", "20");
  TempRoot root;
  BoardGuard guard{this};
  ASSERT_NO_FATAL_FAILURE(StartWithAHungMainProgram(root));
  ASSERT_NO_FATAL_FAILURE(AcceptWhenAsked());
  EXPECT_TRUE(WaitUntil(UpdateWentOnToItsCarryOver, 8000)) << LauncherText();
}

// One board screen for both programs: the launcher's question comes up over the main screen, a tap on
// the board answers it, and the main screen is whole again once the question is gone.
TEST_F(LauncherEndToEnd, UpdateQuestion_OnTheBoardOverTheMainScreen_NoTappedThereCancels) {
  ScopedEnv scale("PANEL_TIME_SCALE", "2");
  const int kScale = 2;
  TempRoot root;
  BoardGuard guard{this};
  Prepare(root, false);
  StartLauncher();
  HWND main = nullptr;
  HWND launcher = nullptr;
  auto onBoard = [](HWND window) {
    for (const panel::BoardWindow& w : panel::BoardWindows()) {
      if (w.hwnd == window) return w;
    }
    return panel::BoardWindow{};
  };
  auto topShown = [] {
    for (const panel::BoardWindow& w : panel::BoardWindows()) {
      if (w.shown) return w.hwnd;
    }
    return static_cast<HWND>(nullptr);
  };
  // The main screen alone on the board once the launcher's first second is over, the launcher still
  // searching for media (in run mode it would show the versions).
  ASSERT_TRUE(WaitUntil([&] {
    main = FindWindowW(nullptr, u"Quellora");
    launcher = FindWindowW(nullptr, u"Brimcourt");
    return main && launcher && topShown() == main && !onBoard(launcher).shown && LauncherText().rfind("SW:", 0) != 0;
  }, 30000));
  const pid_t mainPid = PidOf(main);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));  // its first frames drawn
  const std::vector<COLORREF> before = panel::BoardPicture();

  // The medium comes in during the launcher's search: it asks.
  OfferUpdate(root);
  ASSERT_TRUE(WaitUntil([] { return LauncherText().rfind("Do you Update Software?", 0) == 0; }, 20000 / kScale))
      << LauncherText();
  const auto asked = std::chrono::steady_clock::now();
  // On the board's screen within 2 s: the launcher's window on top, its caption bar and face drawn there.
  panel::BoardWindow question;
  auto at = [](const std::vector<COLORREF>& picture, int x, int y) {
    return picture[static_cast<size_t>(y) * 480 + x];
  };
  EXPECT_TRUE(WaitUntil([&] {
    question = onBoard(launcher);
    if (topShown() != launcher) return false;
    const std::vector<COLORREF> now = panel::BoardPicture();
    const RECT& r = question.rect;
    return at(now, r.right - 4, r.top + 9) == RGB(128, 0, 0) &&
           at(now, r.left + 4, r.top + 22) == GetSysColor(COLOR_BTNFACE);
  }, 2000)) << "the question is not on the board's screen";
  const RECT dialog = question.rect;
  EXPECT_TRUE(question.topmost);
  EXPECT_EQ(question.rect.right - question.rect.left, 197);  // 130 x 89 dialog units, framed, captioned
  EXPECT_EQ(question.rect.bottom - question.rect.top, 153);
  // Not what the main screen showed there.
  EXPECT_NE(at(before, dialog.right - 4, dialog.top + 9), RGB(128, 0, 0));

  // "No" (button 1000: 8, 66, 86 x 22 dialog units in the client area, below the 18-pixel caption and
  // the 1-pixel frame), tapped on the board: the launcher gets it, cancels, and goes back to run mode.
  ASSERT_TRUE(panel::TapOnBoard(dialog.left + 1 + (8 + 43) * 3 / 2, dialog.top + 19 + (66 + 11) * 3 / 2));
  auto buttons = [&] {
    std::vector<std::string> texts;
    for (HWND c = GetWindow(launcher, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      WCHAR text[64] = {};
      GetWindowTextW(c, text, 64);
      texts.push_back(ToUtf8(text));
    }
    return texts;
  };
  EXPECT_TRUE(WaitUntil([&] { return buttons() == std::vector<std::string>{LauncherText(), "Hide", "Exit"}; }, 3000))
      << LauncherText();

  // Its window hides a few ticks later: the main screen is there again, whole, where the question was.
  ASSERT_TRUE(WaitUntil([&] { return !onBoard(launcher).shown && topShown() == main; }, 5000 / kScale + 2000));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const std::vector<COLORREF> after = panel::BoardPicture();
  int differing = 0;
  for (int y = dialog.top; y < dialog.bottom; ++y) {
    for (int x = dialog.left; x < dialog.right; ++x) differing += at(after, x, y) != at(before, x, y) ? 1 : 0;
  }
  EXPECT_EQ(differing, 0) << "pixels of the question's place that are not the main screen's";

  // Past the question's 10 s: no update started, the same main program runs, the launcher supervises.
  std::this_thread::sleep_for(asked + std::chrono::milliseconds(12000 / kScale) - std::chrono::steady_clock::now());
  EXPECT_EQ(FindWindowW(nullptr, u"Quellora"), main);
  EXPECT_FALSE(Ended(mainPid));
  EXPECT_EQ(LauncherText().rfind("SW:V", 0), 0u) << LauncherText();
  EXPECT_FALSE(fs::exists(root / "ResidentFlash/ABackup"));
}

TEST_F(LauncherEndToEnd, HungMainProgram_CannotFreezeTheLauncher) {
  ScopedEnv scale("PANEL_TIME_SCALE", "10");
  ScopedEnv sendBound("PANEL_SEND_TIMEOUT_MS", "300");
  TempRoot root;
  BoardGuard guard{this};
  ASSERT_NO_FATAL_FAILURE(StartWithAHungMainProgram(root));
  // The hung program ignores the five WM_CLOSE; each send gives up, and the update goes on.
  EXPECT_TRUE(WaitUntil(UpdateWentOnToItsCarryOver, 30000)) << LauncherText();
}

}  // namespace
