// The launcher's dialog on a board root of its own, on virtual time: built modeless from its real
// template, its one-second timer fired tick by tick. Program starts are counted instead of run, the
// main program is played by a window of this process when a test needs one, and the board's reboot
// is caught by a hook.
#pragma once

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BoardLib.h"
#include "CLauncherDlg.h"
#include "Clock.h"
#include "Gui.h"
#include "Platform.h"
#include "Supervision.h"
#include "TempRoot.h"

class TestLauncherDlg : public CLauncherDlg {
public:
  std::vector<CString> starts;
  // The program running from the staging folder, as the launcher's look at the board's processes finds
  // it: this process, whose stand-in windows play its windows, or none.
  DWORD stagedProcess = 0;

protected:
  bool Start(const CString& path) override {
    starts.push_back(path);
    return true;
  }
  DWORD ProgramEndWaitMs() const override { return 0; }
  DWORD StagedProgramProcess() const override { return stagedProcess; }
};

class LauncherFixture : public ::testing::Test {
protected:
  void SetUp() override {
    panel::ResetBoard();
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Brimcourt.res");
    panel::SetRebootHook([this](const std::string&) { ++m_reboots; });
  }

  void TearDown() override {
    if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
    panel::ResetGui();
    panel::SetRebootHook(nullptr);
    panel::SetResourceDir("");
    panel::ResetBoard();
  }

  void Open() { ASSERT_TRUE(m_dlg.Create(CLauncherDlg::IDD)); }

  // One second of the launcher's life: the timer fires once.
  void Tick(int seconds = 1) {
    for (int i = 0; i < seconds; ++i) {
      m_clock->Advance(1000);
      panel::PumpMessages();
      panel::PollBoardWatchdogs();  // an armed watchdog resets the board at its next look
    }
  }
  // Until the search has run out: the 21st tick is the first in run mode.
  void ToRunMode() {
    Tick(21);
    ASSERT_EQ(m_dlg.Step(), CLauncherDlg::kStepRun);
  }

  void Report(int software, int test, int table, int command) {
    m_dlg.SendMessage(WM_STATUS_REPORT, StatusReportWParam(software, test), StatusReportLParam(table, command));
  }

  CString Text(int id) {
    CString text;
    m_dlg.GetDlgItemText(id, text);
    return text;
  }
  bool Enabled(int id) { return m_dlg.GetDlgItem(id)->IsWindowEnabled() != FALSE; }
  bool Visible() { return m_dlg.IsWindowVisible() != FALSE; }

  // Installs a built board library as the launcher finds it, chosen by processor type 0: Corvalin.
  void InstallBoardLib() {
    std::filesystem::create_directories(m_root / "ResidentFlash/Quellora");
    std::filesystem::copy_file(CORVALIN_LIB, m_root / "ResidentFlash/Quellora/Corvalin.dll");
    m_root.Write("board/processor", "0\n");
  }

  // The id that this process's windows carry, for a stand-in window to play the staged program's.
  static DWORD ThisProcess() { return static_cast<DWORD>(getpid()); }

  int StartsOf(const char16_t* path) const {
    int n = 0;
    for (const CString& s : m_dlg.starts) n += s == path;
    return n;
  }

  panel::ScopedVirtualClock m_clock;
  testing_support::TempRoot m_root;
  panel::HeadlessScreen m_screen;
  TestLauncherDlg m_dlg;
  int m_reboots = 0;
};

// Top-level windows of this process standing in for another program's windows (the main program, an
// error box): each WM_CLOSE they get is recorded by title, and the window goes away.
class StandInWindows {
public:
  StandInWindows() {
    Closed().clear();
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = u"StandIn";
    RegisterClassW(&wc);
  }
  HWND Add(const char16_t* title, HWND parent = nullptr) {
    DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_POPUP | WS_VISIBLE;
    return CreateWindowExW(0, u"StandIn", title, style, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
  }
  static std::vector<CString>& Closed() {
    static std::vector<CString> closed;
    return closed;
  }

private:
  static LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
      WCHAR text[64] = {};
      GetWindowTextW(hwnd, text, 63);
      Closed().push_back(CString(text));
      DestroyWindow(hwnd);
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};
