#include <gtest/gtest.h>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;
using guitest::MakePanel;
using guitest::MessageLog;

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kGreen = RGB(0, 255, 0);

class Painting : public GuiTest {};

TEST_F(Painting, Children_AreClippedToTheirParentAndPaintOverIt) {
  HWND parent = MakePanel(kRed, WS_POPUP | WS_VISIBLE, 10, 10, 100, 60);
  MakePanel(kBlue, WS_CHILD | WS_VISIBLE, 80, 40, 50, 50, parent);  // runs past the parent's corner
  panel::PumpMessages();
  struct Case {
    const char* name;
    int x, y;
    COLORREF expected;
  };
  Case cases[] = {
      {"parent", 20, 20, kRed},
      {"child inside the parent", 95, 55, kBlue},
      {"child beyond the parent's right edge", 115, 55, 0},
      {"child beyond the parent's bottom edge", 95, 75, 0},
      {"desktop", 200, 200, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(panel::ScreenPixel(c.x, c.y), c.expected);
  }
}

TEST_F(Painting, LowerSibling_DoesNotPaintOverTheUpper) {
  HWND parent = MakePanel(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND lower = MakePanel(kBlue, WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, parent);
  HWND upper = MakePanel(kGreen, WS_CHILD | WS_VISIBLE, 30, 30, 50, 50, parent);
  SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  panel::PumpMessages();
  EXPECT_EQ(panel::ScreenPixel(40, 40), kGreen);
  InvalidateRect(lower, nullptr, TRUE);
  UpdateWindow(lower);
  EXPECT_EQ(panel::ScreenPixel(40, 40), kGreen);
  EXPECT_EQ(panel::ScreenPixel(15, 15), kBlue);
  ShowWindow(upper, SW_HIDE);  // what it covered is painted again
  panel::PumpMessages();
  EXPECT_EQ(panel::ScreenPixel(40, 40), kBlue);
  EXPECT_EQ(panel::ScreenPixel(70, 70), kRed);
}

TEST_F(Painting, Invalidate_RepaintsOnlyWhatIsInvalid) {
  HWND parent = MakePanel(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = MakePanel(kBlue, WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent);
  HWND b = MakePanel(kGreen, WS_CHILD | WS_VISIBLE, 50, 50, 20, 20, parent);
  panel::PumpMessages();
  MessageLog log({WM_PAINT});
  InvalidateRect(a, nullptr, TRUE);
  panel::PumpMessages();
  EXPECT_EQ(log.Take(), (std::vector<MessageLog::Seen>{{a, WM_PAINT}}));
  // Invalidating part of the parent takes in the children under that part, after the parent.
  RECT part{40, 40, 60, 60};
  InvalidateRect(parent, &part, TRUE);
  panel::PumpMessages();
  EXPECT_EQ(log.Take(), (std::vector<MessageLog::Seen>{{parent, WM_PAINT}, {b, WM_PAINT}}));
  // Nothing invalid, nothing painted.
  panel::PumpMessages();
  EXPECT_TRUE(log.Take().empty());
  // RedrawWindow paints at once, without a message loop.
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  EXPECT_EQ(log.Take().size(), 3u);
}

// Two pieces of a parent invalidated apart repaint the rectangle around both; a child between them,
// in neither piece, is painted again over the parent's repaint instead of vanishing under it.
TEST_F(Painting, PiecesInvalidatedApart_RepaintTheChildrenBetweenThem) {
  HWND parent = MakePanel(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
  MakePanel(kBlue, WS_CHILD | WS_VISIBLE, 80, 10, 40, 40, parent);
  panel::PumpMessages();
  RECT left{0, 0, 20, 20};
  RECT right{180, 0, 200, 20};
  InvalidateRect(parent, &left, TRUE);
  InvalidateRect(parent, &right, TRUE);
  panel::PumpMessages();
  EXPECT_EQ(panel::ScreenPixel(100, 15), kBlue);
  EXPECT_EQ(panel::ScreenPixel(10, 10), kRed);
}

TEST_F(Painting, PaintRect_IsTheUpdateArea) {
  RECT seen{};
  struct Probe {
    static LRESULT Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        *reinterpret_cast<RECT*>(GetWindowLongPtrW(h, GWL_USERDATA)) = ps.rcPaint;
        HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
        RECT all{0, 0, 1000, 1000};
        FillRect(ps.hdc, &all, brush);  // clipped to the update area
        DeleteObject(brush);
        EndPaint(h, &ps);
        return 0;
      }
      return DefWindowProcW(h, m, w, l);
    }
  };
  WNDCLASSW wc{};
  wc.lpfnWndProc = Probe::Proc;
  wc.lpszClassName = u"PaintProbe";
  RegisterClassW(&wc);
  HWND w = guitest::MakeWindow(u"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, 0, u"PaintProbe");
  SetWindowLongPtrW(w, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&seen));
  panel::PumpMessages();
  HDC screen = GetDC(nullptr);
  RECT black{0, 0, 100, 100};
  FillRect(screen, &black, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  ReleaseDC(nullptr, screen);
  RECT part{10, 20, 30, 40};
  InvalidateRect(w, &part, FALSE);
  panel::PumpMessages();
  EXPECT_EQ(seen.left, 10);
  EXPECT_EQ(seen.bottom, 40);
  EXPECT_EQ(panel::ScreenPixel(15, 25), RGB(1, 2, 3));
  EXPECT_EQ(panel::ScreenPixel(35, 25), RGB(0, 0, 0));
}

TEST_F(Painting, ClosedWindow_LeavesTheDesktopBlack) {
  HWND w = MakePanel(kRed, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  panel::PumpMessages();
  EXPECT_EQ(panel::ScreenPixel(50, 50), kRed);
  DestroyWindow(w);
  panel::PumpMessages();
  EXPECT_EQ(panel::ScreenPixel(50, 50), 0u);
}

}  // namespace
