#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "GuiFixture.h"
#include "PeerProgram.h"

namespace {

const COLORREF kBefore = RGB(200, 0, 0);
const COLORREF kAfter = RGB(0, 160, 0);

// A full-screen window that turns green when its button is clicked.
LRESULT ProbeProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND && HIWORD(w) == BN_CLICKED) {
    SetWindowLongPtrW(h, GWL_USERDATA, GetWindowLongPtrW(h, GWL_USERDATA) + 1);
    InvalidateRect(h, nullptr, TRUE);
    return 0;
  }
  if (m == WM_ERASEBKGND) {
    RECT r;
    GetClientRect(h, &r);
    HBRUSH b = CreateSolidBrush(GetWindowLongPtrW(h, GWL_USERDATA) ? kAfter : kBefore);
    FillRect(reinterpret_cast<HDC>(w), &r, b);
    DeleteObject(b);
    return 1;
  }
  return DefWindowProcW(h, m, w, l);
}

// Runs as its own CTest under xvfb-run (platform_gui_sdl), which sets PANEL_SDL_TEST.
TEST(SdlBackend, TapThroughTheWindow_ClicksAndTheWindowShowsTheResult) {
  if (!std::getenv("PANEL_SDL_TEST")) GTEST_SKIP() << "runs under xvfb-run as the CTest platform_gui_sdl";
  ASSERT_TRUE(panel::UseDisplay("sdl")) << "no SDL window could be opened";
  const int scale = 2;
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProbeProc;
  wc.lpszClassName = u"SdlProbe";
  RegisterClassW(&wc);
  HWND top = CreateWindowExW(0, u"SdlProbe", u"Quellora", WS_POPUP | WS_VISIBLE, 0, 0, 480, 272, nullptr, nullptr,
                             nullptr, nullptr);
  CreateWindowExW(0, u"BUTTON", u"Tap", WS_CHILD | WS_VISIBLE, 100, 100, 120, 60, top, reinterpret_cast<HMENU>(5),
                  nullptr, nullptr);
  panel::PumpMessages();
  EXPECT_EQ(panel::ShownPixel(10, 10), kBefore);
  EXPECT_EQ(panel::ShownPixel(100, 100), GetSysColor(COLOR_BTNHIGHLIGHT));  // the button's edge

  panel::InjectDevicePointer(160 * scale, 130 * scale, true);
  panel::InjectDevicePointer(161 * scale, 131 * scale, true);
  panel::InjectDevicePointer(161 * scale, 131 * scale, false);
  panel::PumpMessages();
  EXPECT_EQ(GetWindowLongPtrW(top, GWL_USERDATA), 1);
  EXPECT_EQ(panel::ShownPixel(10, 10), kAfter);
  EXPECT_EQ(panel::ShownPixel(479, 271), kAfter);
  EXPECT_EQ(panel::ScreenPixel(10, 10), kAfter);
  // A tap outside the button does not click it.
  panel::InjectDevicePointer(20 * scale, 20 * scale, true);
  panel::InjectDevicePointer(20 * scale, 20 * scale, false);
  panel::PumpMessages();
  EXPECT_EQ(GetWindowLongPtrW(top, GWL_USERDATA), 1);
  panel::UseDisplay("headless");
}

// The X windows titled as the board's window, by id; empty when xwininfo cannot tell.
std::vector<std::string> BoardWindowsOnTheDisplay() {
  std::vector<std::string> ids;
  FILE* p = popen("xwininfo -root -tree 2>/dev/null", "r");
  if (!p) return ids;
  char line[512];
  while (std::fgets(line, sizeof line, p)) {
    std::string text = line;
    size_t id = text.find("0x");
    if (id != std::string::npos && text.find("\"Quellora\"") != std::string::npos) {
      ids.push_back(text.substr(id, text.find(' ', id) - id));
    }
  }
  pclose(p);
  return ids;
}

// Two programs of one board in the sdl display: one window, shown by the first; when that one
// crashes, the other opens the board's window on its next idle moment and the mouse reaches it there.
TEST(SdlBackend, TwoProgramsOfABoard_OneWindow_TheOtherTakesOverWhenItsShowerCrashes) {
  if (!std::getenv("PANEL_SDL_TEST")) GTEST_SKIP() << "runs under xvfb-run as the CTest platform_gui_sdl";
  if (std::system("command -v xwininfo > /dev/null") != 0) GTEST_SKIP() << "xwininfo is not installed";
  testing_support::TempRoot root;
  panel::UseDisplay("headless");
  const pid_t peer = testing_support::StartPeer("BoardScreen.PeerProgram", "PANEL_BOARD_PEER=sdl");
  ASSERT_NE(peer, 0);
  ASSERT_TRUE(guitest::PumpUntil([] { return BoardWindowsOnTheDisplay().size() == 1 && FindWindowW(nullptr, u"BoardPeer"); }));
  const std::vector<std::string> first = BoardWindowsOnTheDisplay();

  ASSERT_TRUE(panel::UseDisplay("sdl"));  // another program shows the board already
  int taps = 0;
  HWND mine = guitest::MakePanel(kBefore, WS_POPUP | WS_VISIBLE, 10, 10, 100, 100);
  panel::SetMessageSpy([&](HWND h, UINT m, WPARAM, LPARAM) { taps += h == mine && m == WM_LBUTTONUP ? 1 : 0; });
  EXPECT_TRUE(guitest::PumpUntil([] { return panel::ShownPixel(50, 50) == kBefore; }));
  EXPECT_EQ(BoardWindowsOnTheDisplay(), first);

  kill(peer, SIGKILL);
  waitpid(peer, nullptr, 0);
  // Its window went with it; this program's comes up, showing what is left of the board.
  EXPECT_TRUE(guitest::PumpUntil([&] {
    std::vector<std::string> now = BoardWindowsOnTheDisplay();
    return now.size() == 1 && now != first && panel::ShownPixel(200, 200) == RGB(0, 0, 0);
  })) << BoardWindowsOnTheDisplay().size();
  EXPECT_EQ(panel::ShownPixel(50, 50), kBefore);
  const int scale = 2;
  panel::InjectDevicePointer(50 * scale, 50 * scale, true);
  panel::InjectDevicePointer(50 * scale, 50 * scale, false);
  EXPECT_TRUE(guitest::PumpUntil([&] { return taps == 1; }));
  panel::SetMessageSpy(nullptr);
  panel::UseDisplay("headless");
  EXPECT_TRUE(BoardWindowsOnTheDisplay().empty());
}

}  // namespace
