// The installed program as the launcher runs it: one copy at a time, and a clean end when the
// launcher closes its window (under the sanitizer build the program's own exit checks run too).
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "Gui.h"
#include "Platform.h"
#include "TempRoot.h"

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

}  // namespace
