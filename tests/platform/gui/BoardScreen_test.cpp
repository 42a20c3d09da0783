// The board's one screen, shared by two programs of one root: this test and a peer (this executable
// started again). Each shows windows of its own colour; the board's picture must follow one z-order
// across both, send a tap to whichever program is on top, and drop a program's windows when it ends.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <set>

#include "GuiFixture.h"
#include "PeerProgram.h"

namespace {

using guitest::MakePanel;
using guitest::PumpUntil;

const COLORREF kMine = RGB(0, 0, 200);
const COLORREF kPeers = RGB(200, 0, 0);
const COLORREF kPeersSecond = RGB(0, 160, 0);

// Asked of the peer's first window.
const UINT kRaise = WM_USER + 1;      // SetWindowPos HWND_TOP
const UINT kShow = WM_USER + 2;       // wParam: ShowWindow command
const UINT kTaps = WM_USER + 3;       // answers the taps it got
const UINT kSecond = WM_USER + 4;     // shows a second, smaller window (100, 100, 380 x 172) on top
const UINT kTopmost = WM_USER + 5;    // SetWindowPos HWND_TOPMOST

int g_peerTaps = 0;

LRESULT PeerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  switch (m) {
    case kRaise:
      SetWindowPos(h, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      return 1;
    case kShow:
      ShowWindow(h, static_cast<int>(w));
      return 1;
    case kTaps:
      return g_peerTaps;
    case kSecond:
      MakePanel(kPeersSecond, WS_POPUP | WS_VISIBLE, 100, 100, 380, 172);
      return 1;
    case kTopmost:
      SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      return 1;
    case WM_LBUTTONUP:
      ++g_peerTaps;
      return 0;
    case WM_TIMER:
      PostQuitMessage(1);  // nobody came: give up
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return guitest::PanelProc(h, m, w, l);
  }
}

// The peer: one full-screen window of its colour, painted as the test panels are.
TEST(BoardScreen, PeerProgram) {
  if (!std::getenv("PANEL_BOARD_PEER")) GTEST_SKIP() << "the peer of the BoardScreenTest cases";
  panel::UseDisplay(std::getenv("PANEL_BOARD_PEER"));
  WNDCLASSW wc{};
  wc.lpfnWndProc = PeerProc;
  wc.lpszClassName = u"BoardPeer";
  RegisterClassW(&wc);
  HWND top = CreateWindowExW(0, u"BoardPeer", u"BoardPeer", WS_POPUP | WS_VISIBLE, 0, 0, 480, 272, nullptr, nullptr,
                             nullptr, nullptr);
  SetWindowLongPtrW(top, GWL_USERDATA, static_cast<LONG_PTR>(kPeers));
  SetTimer(top, 1, 30000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
}

class BoardScreenTest : public ::testing::Test {
protected:
  ~BoardScreenTest() override { EndPeer(SIGKILL); }

  // Starts the peer and waits for its window on the board.
  HWND StartPeer(const char* display = "headless") {
    m_peer = testing_support::StartPeer("BoardScreen.PeerProgram", std::string("PANEL_BOARD_PEER=") + display);
    HWND peer = nullptr;
    PumpUntil([&] { return (peer = FindWindowW(nullptr, u"BoardPeer")) != nullptr && Shows(100, 50, kPeers); });
    return peer;
  }

  void EndPeer(int signal) {
    if (m_peer <= 0) return;
    kill(m_peer, signal);
    waitpid(m_peer, nullptr, 0);
    m_peer = 0;
  }

  static bool Shows(int x, int y, COLORREF colour) { return panel::BoardPixel(x, y) == colour; }

  static std::set<int> ProgramsOnBoard() {
    std::set<int> pids;
    for (const panel::BoardWindow& w : panel::BoardWindows()) pids.insert(w.pid);
    return pids;
  }

  testing_support::TempRoot m_root;
  panel::HeadlessScreen m_screen;
  pid_t m_peer = 0;
};

TEST_F(BoardScreenTest, TwoPrograms_OneZOrder_TopmostAboveAndAHiddenWindowUncoversAtOnce) {
  HWND mine = MakePanel(kMine, WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
  panel::PumpMessages();
  EXPECT_TRUE(Shows(50, 50, kMine));
  HWND peer = StartPeer();
  ASSERT_NE(peer, nullptr);
  // The peer's window came later: on top everywhere, mine is covered.
  EXPECT_TRUE(Shows(50, 50, kPeers));
  ASSERT_EQ(panel::BoardWindows().size(), 2u);
  EXPECT_EQ(panel::BoardWindows().front().hwnd, peer);

  // Raised, mine comes over the other program's window, which shows around it.
  SetWindowPos(mine, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(PumpUntil([] { return Shows(50, 50, kMine); }));
  EXPECT_TRUE(Shows(200, 200, kPeers));
  EXPECT_EQ(panel::BoardWindows().front().hwnd, mine);
  // The other program raises its own: on top again.
  EXPECT_EQ(SendMessageW(peer, kRaise, 0, 0), 1);
  EXPECT_TRUE(PumpUntil([] { return Shows(50, 50, kPeers); }));

  // Topmost: above the other program's window whatever it raises.
  SetWindowPos(mine, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(PumpUntil([] { return Shows(50, 50, kMine); }));
  EXPECT_EQ(SendMessageW(peer, kRaise, 0, 0), 1);
  EXPECT_EQ(SendMessageW(peer, kSecond, 0, 0), 1);  // a new window of its: on top of its band only
  EXPECT_TRUE(PumpUntil([] { return Shows(150, 150, kPeersSecond); }));
  EXPECT_TRUE(Shows(50, 50, kMine));
  EXPECT_TRUE(Shows(105, 105, kMine));

  // Its first window hidden: what lies below shows at once, the desktop where nothing is.
  EXPECT_EQ(SendMessageW(peer, kShow, SW_HIDE, 0), 1);
  EXPECT_TRUE(PumpUntil([] { return Shows(20, 200, RGB(0, 0, 0)); }));
  EXPECT_TRUE(Shows(150, 150, kPeersSecond));
  EXPECT_TRUE(Shows(50, 50, kMine));
  // Shown again, it comes to the top of its band: over its second window, still under mine.
  EXPECT_EQ(SendMessageW(peer, kShow, SW_SHOW, 0), 1);
  EXPECT_TRUE(PumpUntil([] { return Shows(150, 150, kPeers); }));
  EXPECT_TRUE(Shows(50, 50, kMine));
  // Topmost as well and later: the other program's window is over mine now.
  EXPECT_EQ(SendMessageW(peer, kTopmost, 0, 0), 1);
  EXPECT_TRUE(PumpUntil([] { return Shows(50, 50, kPeers); }));
  // Mine hidden and shown again: it comes to the top of the topmost band.
  ShowWindow(mine, SW_HIDE);
  ShowWindow(mine, SW_SHOW);
  EXPECT_TRUE(PumpUntil([] { return Shows(50, 50, kMine); }));
  EXPECT_TRUE(Shows(200, 200, kPeers));
}

TEST_F(BoardScreenTest, Taps_GoToTheProgramOnTopThere) {
  int mineTaps = 0;
  HWND mine = MakePanel(kMine, WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
  panel::SetMessageSpy([&](HWND h, UINT m, WPARAM, LPARAM) { mineTaps += h == mine && m == WM_LBUTTONUP ? 1 : 0; });
  HWND peer = StartPeer();
  ASSERT_NE(peer, nullptr);
  EXPECT_TRUE(panel::TapOnBoard(50, 50));  // the peer's window covers mine there
  EXPECT_TRUE(PumpUntil([&] { return SendMessageW(peer, kTaps, 0, 0) == 1; }));
  EXPECT_EQ(mineTaps, 0);
  SetWindowPos(mine, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(PumpUntil([] { return Shows(50, 50, kMine); }));
  EXPECT_TRUE(panel::TapOnBoard(50, 50));
  EXPECT_TRUE(panel::TapOnBoard(200, 200));
  EXPECT_TRUE(PumpUntil([&] { return mineTaps == 1 && SendMessageW(peer, kTaps, 0, 0) == 2; }));
  // A finger pressed on mine and lifted over the other program's window stays with mine.
  panel::InjectDevicePointer(50, 50, true);
  panel::InjectDevicePointer(200, 200, true);
  panel::InjectDevicePointer(200, 200, false);
  EXPECT_TRUE(PumpUntil([&] { return mineTaps == 2; }));
  EXPECT_EQ(SendMessageW(peer, kTaps, 0, 0), 2);
  panel::SetMessageSpy(nullptr);
}

TEST_F(BoardScreenTest, AProgramThatEnds_OrCrashes_LeavesTheBoard) {
  MakePanel(kMine, WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
  enum How { kEnded, kCrashed, kCrashedNotReaped };
  for (How how : {kEnded, kCrashed, kCrashedNotReaped}) {
    SCOPED_TRACE(how == kEnded ? "ended" : how == kCrashed ? "crashed" : "crashed, not reaped yet");
    ASSERT_NE(StartPeer(), nullptr);
    EXPECT_EQ(ProgramsOnBoard().size(), 2u);
    const pid_t peer = m_peer;
    if (how == kEnded) {
      PostMessageW(FindWindowW(nullptr, u"BoardPeer"), WM_CLOSE, 0, 0);  // its window goes, its loop ends
      int status = -1;
      EXPECT_TRUE(PumpUntil([&] { return waitpid(peer, &status, WNOHANG) == peer; }));
      m_peer = 0;
    } else if (how == kCrashed) {
      EndPeer(SIGKILL);
    } else {
      kill(peer, SIGKILL);  // its parent (this test) has not looked yet: the process is still there
    }
    EXPECT_TRUE(PumpUntil([&] { return ProgramsOnBoard() == std::set<int>{getpid()}; }));
    EXPECT_TRUE(Shows(50, 50, kMine));
    EXPECT_TRUE(Shows(200, 200, RGB(0, 0, 0)));
    if (how == kCrashedNotReaped) {
      std::string stat;
      ASSERT_TRUE(panel::ReadTextFile("/proc/" + std::to_string(peer) + "/stat", stat));
      EXPECT_NE(stat.find(") Z "), std::string::npos) << stat;
      EndPeer(SIGKILL);
    }
  }
}

}  // namespace
