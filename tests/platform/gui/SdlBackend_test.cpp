#include <gtest/gtest.h>

#include <cstdlib>

#include "GuiFixture.h"

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

}  // namespace
