#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "GuiFixture.h"
#include "PeerProgram.h"

namespace {

const UINT kSum = WM_USER + 1000;      // the peer answers wParam + lParam
const UINT kAskBack = WM_USER + 1;     // the peer asks the tester, then answers its answer + 1
const UINT kTesterQuery = WM_USER + 2;  // the tester answers 7
const UINT kStall = WM_USER + 3;        // the peer answers 1, but only a second later
const UINT kRename = WM_USER + 4;       // the peer's window takes the title "Peer" + the letter in wParam

LRESULT PeerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case kSum:
      return static_cast<LRESULT>(w) + l;
    case kAskBack: {
      HWND tester = FindWindowW(nullptr, u"Tester");
      return SendMessageW(tester, kTesterQuery, 0, 0) + 1;
    }
    case kStall:
      std::this_thread::sleep_for(std::chrono::seconds(1));
      return 1;
    case kRename: {
      const char16_t title[] = {u'P', u'e', u'e', u'r', static_cast<char16_t>(w), 0};
      SetWindowTextW(h, title);
      return 1;
    }
    case WM_COMMAND:
      if (LOWORD(w) == 1008 && HIWORD(w) == BN_CLICKED) PostQuitMessage(0);  // "EXIT"
      return 0;
    case WM_TIMER:
      PostQuitMessage(1);  // nobody came: give up
      return 0;
    default:
      return DefWindowProcW(h, m, w, l);
  }
}

LRESULT TesterProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == kTesterQuery) return 7;
  return DefWindowProcW(h, m, w, l);
}

void Register(const char16_t* name, WNDPROC proc) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

// The other program of the pair: this executable started again with PANEL_GUI_PEER set.
TEST(WindowRegistry, PeerProgram) {
  if (!std::getenv("PANEL_GUI_PEER")) GTEST_SKIP() << "the peer of OtherProgram_IsFoundReadAndSentTo";
  panel::UseDisplay("headless");
  Register(u"Peer", PeerProc);
  HWND top = CreateWindowExW(0, u"Peer", u"Peer", WS_POPUP | WS_VISIBLE, 0, 0, 480, 272, nullptr, nullptr, nullptr, nullptr);
  CreateWindowExW(0, u"BUTTON", u"EXIT", WS_CHILD | WS_VISIBLE, 10, 10, 60, 30, top, reinterpret_cast<HMENU>(1008),
                  nullptr, nullptr);
  SetTimer(top, 1, 20000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  EXPECT_EQ(msg.wParam, 0u);
}

class WindowRegistryTest : public ::testing::Test {
protected:
  testing_support::TempRoot m_root;
  panel::HeadlessScreen m_screen;
};

TEST_F(WindowRegistryTest, OtherProgram_IsFoundReadAndSentTo) {
  Register(u"Tester", TesterProc);
  HWND me = CreateWindowExW(0, u"Tester", u"Tester", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(me, nullptr);
  panel::PumpMessages();  // publishes this program's windows

  const pid_t pid = testing_support::StartPeer("WindowRegistry.PeerProgram", "PANEL_GUI_PEER=1");
  ASSERT_NE(pid, 0);

  HWND peer = nullptr;
  ASSERT_TRUE(guitest::PumpUntil([&] { return (peer = FindWindowW(nullptr, u"Peer")) != nullptr; }));
  EXPECT_TRUE(IsWindow(peer));
  EXPECT_TRUE(IsWindowVisible(peer));
  DWORD owner = 0;
  EXPECT_EQ(GetWindowThreadProcessId(peer, &owner), static_cast<DWORD>(pid));
  EXPECT_EQ(owner, static_cast<DWORD>(pid));
  EXPECT_EQ(GetWindowThreadProcessId(me, nullptr), static_cast<DWORD>(getpid()));
  WCHAR text[32];
  EXPECT_EQ(GetWindowTextW(peer, text, 32), 4);
  EXPECT_EQ(CString(text), u"Peer");
  EXPECT_EQ(GetClassNameW(peer, text, 32), 4);
  HWND exit = GetWindow(peer, GW_CHILD);
  ASSERT_NE(exit, nullptr);
  GetWindowTextW(exit, text, 32);
  EXPECT_EQ(CString(text), u"EXIT");
  EXPECT_EQ(GetParent(exit), peer);
  std::vector<HWND> all;
  EnumWindows([](HWND h, LPARAM l) {
                reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
                return TRUE;
              },
              reinterpret_cast<LPARAM>(&all));
  EXPECT_NE(std::find(all.begin(), all.end(), peer), all.end());
  EXPECT_NE(std::find(all.begin(), all.end(), me), all.end());

  EXPECT_EQ(SendMessageW(peer, kSum, 2, 3), 5);
  EXPECT_EQ(SendMessageW(peer, kAskBack, 0, 0), 8);  // its question to us was answered while we waited
  SetLastError(0);
  EXPECT_EQ(SendMessageW(peer, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"x")), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));  // pointers do not cross programs

  {
    // The bound of a send is time on this program's clock: when that clock runs ahead (scaled time, or
    // here a test clock moved on) the send gives up before the other program's late answer.
    panel::ScopedVirtualClock clock(GetTickCount());
    std::thread ahead([&clock] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      clock->Advance(6000);
    });
    const auto start = std::chrono::steady_clock::now();
    SetLastError(0);
    EXPECT_EQ(SendMessageW(peer, kStall, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));
    ahead.join();
  }
  // Its title changed, and changed again at once, by the same number of letters: each time the new one is
  // found, not what was read before.
  for (char16_t letter : {u'A', u'B', u'C'}) {
    const char16_t title[] = {u'P', u'e', u'e', u'r', letter, 0};
    ASSERT_EQ(SendMessageW(peer, kRename, letter, 0), 1);
    EXPECT_TRUE(guitest::PumpUntil([&] { return FindWindowW(nullptr, title) == peer; })) << ToUtf8(title);
  }
  EXPECT_EQ(FindWindowW(nullptr, u"PeerA"), nullptr);
  EXPECT_EQ(FindWindowW(nullptr, u"Peer"), nullptr);
  EXPECT_TRUE(PostMessageW(peer, WM_NULL, 0, 0));
  EXPECT_TRUE(panel::TapInProgram(pid, 20, 20));  // on its "EXIT" button, which ends it
  int status = -1;
  ASSERT_TRUE(guitest::PumpUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }));
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(FindWindowW(nullptr, u"Peer"), nullptr);
  EXPECT_FALSE(IsWindow(peer));
  EXPECT_EQ(SendMessageW(peer, kSum, 1, 1), 0);
}

}  // namespace
