// The installed program as the launcher runs it: one copy at a time, and a clean end when the
// launcher closes its window (under the sanitizer build the program's own exit checks run too).
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Gui.h"
#include "Platform.h"
#include "TempRoot.h"

extern char** environ;

namespace {

class QuelloraProcess : public ::testing::Test {
protected:
  void SetUp() override {
    const std::string prepare = std::string(QUELLORA_SOURCE_DIR) + "/tools/make-root.sh " + QUELLORA_BINARY_DIR +
                                " " + m_root.Path() + " > /dev/null";
    ASSERT_EQ(std::system(prepare.c_str()), 0);
    setenv("PANEL_DISPLAY", "headless", 1);
  }

  bool Start(PROCESS_INFORMATION& info) {
    STARTUPINFOW startup{sizeof(startup)};
    return CreateProcessW(u"\\ResidentFlash\\Quellora\\Quellora.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info) != FALSE;
  }

  // Waits (real time, bounded) for the program's window to appear.
  static HWND WaitForWindow(int timeoutMs) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < until) {
      if (HWND w = FindWindowW(nullptr, u"Quellora")) return w;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return nullptr;
  }

  static DWORD EndOf(PROCESS_INFORMATION& info, DWORD timeoutMs) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    return code;
  }

  static void Release(PROCESS_INFORMATION& info) {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }

  testing_support::TempRoot m_root;
  panel::HeadlessScreen m_screen;
};

TEST_F(QuelloraProcess, SecondCopyEndsAtOnce_FirstEndsCleanlyOnClose) {
  PROCESS_INFORMATION first{};
  ASSERT_TRUE(Start(first));
  HWND window = WaitForWindow(20000);
  ASSERT_NE(window, nullptr);

  PROCESS_INFORMATION second{};
  ASSERT_TRUE(Start(second));
  EXPECT_EQ(EndOf(second, 20000), 0u);
  Release(second);
  EXPECT_EQ(FindWindowW(nullptr, u"Quellora"), window);  // still the first one's

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EndOf(first, 20000), 0u);
  Release(first);
}

// Without its resource folder the program cannot show anything: it says so and ends with an error.
TEST_F(QuelloraProcess, MissingResourceFolder_LoggedAndNonZeroExit) {
  std::filesystem::remove_all(m_root / "ResidentFlash/Quellora/Quellora.res");
  PROCESS_INFORMATION program{};
  ASSERT_TRUE(Start(program));
  EXPECT_EQ(EndOf(program, 20000), static_cast<DWORD>(panel::kNoResourcesExit));
  Release(program);
  std::ifstream log(m_root / "run/Quellora.log");
  std::string line;
  std::getline(log, line);
  EXPECT_NE(line.find("Quellora: cannot start: the resource folder"), std::string::npos) << line;
  EXPECT_NE(line.find("Quellora.res is missing"), std::string::npos) << line;
}

// The installed program with the unit simulator on its bus, on a board clock forty times faster
// than real time. The watchdog restarts the board once a supervised alive counter went 300 board
// seconds unclaimed: the engine clears counter 0, the main screen's timer counters 2 and 3.
class QuelloraProcessEndToEnd : public QuelloraProcess {
protected:
  static constexpr int kTimeScale = 40;

  void TearDown() override {
    if (m_sim > 0) {
      kill(m_sim, SIGTERM);
      waitpid(m_sim, nullptr, 0);
    }
    unsetenv("PANEL_TIME_SCALE");
  }

  // Starts the simulator and waits (real time, bounded) until the port map names its line.
  bool StartSimulator() {
    std::string exe = std::string(QUELLORA_BINARY_DIR) + "/tools/unitsim/unitsim";
    std::string root = m_root.Path();
    std::string a0 = exe, a1 = "--root", a3 = "--port", a4 = "COM3";
    char* argv[] = {a0.data(), a1.data(), root.data(), a3.data(), a4.data(), nullptr};
    if (posix_spawn(&m_sim, exe.c_str(), nullptr, nullptr, argv, environ) != 0) return false;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < until) {
      std::ifstream ports(m_root / "board/ports");
      std::string line;
      while (std::getline(ports, line)) {
        if (line.rfind("COM3 ", 0) == 0) return true;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }

  // The texts of another program's window's controls, in template order.
  static std::vector<std::string> ControlTexts(HWND window) {
    std::vector<std::string> texts;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      WCHAR text[64] = {};
      GetWindowTextW(c, text, 64);
      texts.push_back(CString(text).ToUtf8());
    }
    return texts;
  }

  pid_t m_sim = 0;
};

TEST_F(QuelloraProcessEndToEnd, RunsPast300BoardSecondsWithoutReboot_ShowingTheUnitsValues) {
  ASSERT_TRUE(StartSimulator());
  GetTickCount();  // this process keeps real time; the program and its board run sped up
  setenv("PANEL_TIME_SCALE", std::to_string(kTimeScale).c_str(), 1);
  PROCESS_INFORMATION program{};
  ASSERT_TRUE(Start(program));
  struct Ending {
    PROCESS_INFORMATION& program;
    ~Ending() { Release(program); }
  } ending{program};
  unsetenv("PANEL_TIME_SCALE");
  HWND window = WaitForWindow(20000);
  ASSERT_NE(window, nullptr);

  // 360 board seconds: past the watchdog's limit by a minute.
  std::this_thread::sleep_for(std::chrono::milliseconds(360 * 1000 / kTimeScale));
  EXPECT_FALSE(std::filesystem::exists(m_root / "board/reboot"));
  EXPECT_EQ(EndOf(program, 0), static_cast<DWORD>(STILL_ACTIVE));

  // The first temperature of the template is the outdoor ambient, which the simulator swings 1.5
  // degrees around 7.
  std::string ambient;
  for (const std::string& text : ControlTexts(window)) {
    if (text.size() > 3 && text.compare(text.size() - 3, 3, "℃") == 0) {
      ambient = text;
      break;
    }
  }
  const double celsius = std::atof(ambient.c_str());
  EXPECT_GE(celsius, 5.4) << ambient;
  EXPECT_LE(celsius, 8.6) << ambient;

  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(EndOf(program, 20000), 0u);
}

}  // namespace
