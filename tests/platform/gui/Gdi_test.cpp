#include <gtest/gtest.h>

#include <sys/stat.h>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;

const char* const kFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
const COLORREF kKey = RGB(192, 192, 255);

bool FontInstalled() {
  struct stat st{};
  return stat(kFontFile, &st) == 0;
}

// A memory context over a fresh bitmap, filled with one colour.
class Canvas {
public:
  Canvas(int w, int h, COLORREF fill) : m_w(w), m_h(h) {
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateCompatibleBitmap(nullptr, w, h);
    m_old = SelectObject(m_dc, m_bitmap);
    Fill(RECT{0, 0, w, h}, fill);
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
    DeleteObject(m_bitmap);
  }
  HDC dc() const { return m_dc; }
  COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
  void Fill(const RECT& r, COLORREF colour) {
    HBRUSH b = CreateSolidBrush(colour);
    FillRect(m_dc, &r, b);
    DeleteObject(b);
  }
  // The smallest rectangle holding every pixel that differs from background.
  RECT Ink(COLORREF background) const {
    RECT box{m_w, m_h, 0, 0};
    for (int y = 0; y < m_h; ++y) {
      for (int x = 0; x < m_w; ++x) {
        if (At(x, y) == background) continue;
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
    }
    return box;
  }

private:
  int m_w, m_h;
  HDC m_dc;
  HBITMAP m_bitmap;
  HGDIOBJ m_old;
};

class Gdi : public GuiTest {
protected:
  void SetUp() override {
    if (!FontInstalled()) GTEST_SKIP() << "fonts-wqy-microhei is not installed";
    ASSERT_GT(AddFontResourceW(FromUtf8(kFontFile).c_str()), 0);
    LOGFONTW lf{};
    lf.lfHeight = -16;
    WStrCopy(lf.lfFaceName, LF_FACESIZE, u"WenQuanYi Micro Hei");
    m_font = CreateFontIndirectW(&lf);
  }
  void TearDown() override {
    if (m_font) DeleteObject(m_font);
  }
  HFONT m_font = nullptr;
};

TEST_F(Gdi, DrawText_AlignsAsAsked) {
  const RECT box{20, 10, 180, 70};
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  struct Case {
    const char* name;
    UINT format;
    int x;  // 0 left edge, 1 centre, 2 right edge of the ink
    int y;  // 0 top, 1 middle, 2 bottom
  };
  Case cases[] = {
      {"left top", DT_LEFT | DT_TOP | DT_SINGLELINE, 0, 0},
      {"centre top", DT_CENTER | DT_SINGLELINE, 1, 0},
      {"right top", DT_RIGHT | DT_SINGLELINE, 2, 0},
      {"left vcentre", DT_VCENTER | DT_SINGLELINE, 0, 1},
      {"centre vcentre", DT_CENTER | DT_VCENTER | DT_SINGLELINE, 1, 1},
      {"right bottom", DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 2, 2},
      {"vcentre needs a single line", DT_CENTER | DT_VCENTER | DT_WORDBREAK, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Canvas canvas(200, 80, RGB(255, 255, 255));
    SelectObject(canvas.dc(), m_font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    RECT r = box;
    DrawTextW(canvas.dc(), u"MMMM", -1, &r, c.format);
    RECT ink = canvas.Ink(RGB(255, 255, 255));
    ASSERT_LT(ink.left, ink.right);
    if (c.x == 0) {
      EXPECT_NEAR(ink.left, box.left, 2);
    }
    if (c.x == 1) {
      EXPECT_NEAR((ink.left + ink.right) / 2, cx, 2);
    }
    if (c.x == 2) {
      EXPECT_NEAR(ink.right, box.right, 2);
    }
    if (c.y == 0) {
      EXPECT_NEAR(ink.top, box.top, 5);
    }
    if (c.y == 1) {
      EXPECT_NEAR((ink.top + ink.bottom) / 2, cy, 4);
    }
    if (c.y == 2) {
      EXPECT_NEAR(ink.bottom, box.bottom, 6);
    }
    EXPECT_GE(ink.left, box.left);  // clipped to the rectangle
    EXPECT_LE(ink.right, box.right);
  }
}

TEST_F(Gdi, DrawText_WordBreakWrapsAndCalcRectMeasures) {
  Canvas canvas(200, 120, RGB(255, 255, 255));
  SelectObject(canvas.dc(), m_font);
  TEXTMETRICW tm;
  GetTextMetricsW(canvas.dc(), &tm);
  SIZE word;
  GetTextExtentPoint32W(canvas.dc(), u"word", 4, &word);
  RECT narrow{0, 0, word.cx + 4, 0};
  int height = DrawTextW(canvas.dc(), u"word word word", -1, &narrow, DT_WORDBREAK | DT_CALCRECT);
  EXPECT_EQ(height, 3 * tm.tmHeight);
  EXPECT_EQ(narrow.bottom, 3 * tm.tmHeight);
  EXPECT_EQ(narrow.right, word.cx);
  RECT one{0, 0, 0, 0};
  DrawTextW(canvas.dc(), u"word word", -1, &one, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(one.bottom, tm.tmHeight);
  // CJK text breaks between characters.
  SIZE han;
  GetTextExtentPoint32W(canvas.dc(), u"温度", 2, &han);
  RECT cjk{0, 0, han.cx + 1, 0};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"温度温度温度", -1, &cjk, DT_WORDBREAK | DT_CALCRECT), 3 * tm.tmHeight);
  // An explicit line break always breaks; without DT_WORDBREAK long lines stay whole.
  RECT lines{0, 0, 1000, 0};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"a\r\nb", -1, &lines, DT_CALCRECT), 2 * tm.tmHeight);
}

TEST_F(Gdi, DrawText_OpaqueModeFillsBehindTheTextAndLogsIt) {
  Canvas canvas(100, 40, RGB(255, 255, 255));
  SelectObject(canvas.dc(), m_font);
  SetTextColor(canvas.dc(), RGB(0, 0, 255));
  SetBkColor(canvas.dc(), RGB(0, 255, 0));
  RECT r{0, 0, 100, 40};
  panel::ClearDrawLog();
  DrawTextW(canvas.dc(), u"&Hi", -1, &r, DT_LEFT | DT_TOP);  // & marks a prefix and is not drawn
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(canvas.At(90, 30), RGB(255, 255, 255));
  const panel::DrawnText* d = panel::FindDrawnText(u"Hi");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->color, RGB(0, 0, 255));
  EXPECT_EQ(d->face, u"WenQuanYi Micro Hei");
  EXPECT_EQ(d->height, -16);
  EXPECT_TRUE(d->offscreen);
}

TEST_F(Gdi, DrawLog_TellsWhereTheGlyphsFellAndWhatHeldThem) {
  Canvas canvas(200, 40, RGB(255, 255, 255));
  SelectObject(canvas.dc(), m_font);
  SetTextColor(canvas.dc(), RGB(0, 0, 0));
  SetBkMode(canvas.dc(), TRANSPARENT);
  SIZE extent;
  GetTextExtentPoint32W(canvas.dc(), u"Wide text", 9, &extent);
  const RECT whole{0, 0, 200, 40};
  RECT narrow{10, 5, 10 + extent.cx / 2, 35};
  auto Draw = [&](UINT format) {
    canvas.Fill(whole, RGB(255, 255, 255));
    panel::ClearDrawLog();
    DrawTextW(canvas.dc(), u"Wide text", -1, &narrow, format);
    return panel::DrawLog().back();
  };
  // Unclipped, the pixels show where the glyphs fall.
  const panel::DrawnText free = Draw(DT_LEFT | DT_SINGLELINE | DT_NOCLIP);
  const RECT laidOut = canvas.Ink(RGB(255, 255, 255));
  EXPECT_TRUE(EqualRect(&free.ink, &laidOut));
  EXPECT_TRUE(EqualRect(&free.bounds, &whole));
  EXPECT_TRUE(EqualRect(&free.shown, &laidOut));
  EXPECT_FALSE(free.covered);
  // Clipped to the too narrow rectangle: the same glyphs, held to it, and only what lies inside shows.
  const panel::DrawnText held = Draw(DT_LEFT | DT_SINGLELINE);
  EXPECT_TRUE(EqualRect(&held.ink, &laidOut));
  EXPECT_TRUE(EqualRect(&held.bounds, &narrow));
  const RECT reached = canvas.Ink(RGB(255, 255, 255));
  EXPECT_TRUE(EqualRect(&held.shown, &reached));
  EXPECT_LT(held.shown.right, held.ink.right);
  EXPECT_FALSE(held.shortened);
  EXPECT_TRUE(Draw(DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS).shortened);
}

// A program that runs for years keeps no log of what it drew: only a test that asks for the logs has them.
TEST_F(Gdi, DrawLogs_KeptOnlyWhileAsked_TheDrawingTheSame) {
  Canvas source(4, 2, kKey);
  source.Fill(RECT{2, 0, 4, 2}, RGB(255, 0, 0));
  auto Draw = [&](Canvas& target) {
    SelectObject(target.dc(), m_font);
    SetTextColor(target.dc(), RGB(0, 0, 0));
    SetBkMode(target.dc(), TRANSPARENT);
    RECT r{0, 0, 100, 40};
    DrawTextW(target.dc(), u"Logged", -1, &r, DT_LEFT | DT_TOP);
    TextOutW(target.dc(), 0, 20, u"Out", 3);
    TransparentImage(target.dc(), 60, 0, 16, 8, source.dc(), 0, 0, 4, 2, kKey);
    StretchBlt(target.dc(), 60, 20, 8, 8, source.dc(), 0, 0, 4, 2, SRCCOPY);
  };
  EXPECT_TRUE(panel::DrawLogKept());  // the fixture's headless screen asks for it
  panel::ClearDrawLog();
  Canvas kept(100, 40, RGB(255, 255, 255));
  Draw(kept);
  EXPECT_EQ(panel::DrawLog().size(), 2u);
  EXPECT_EQ(panel::PictureLog().size(), 2u);

  panel::KeepDrawLog(false);
  EXPECT_TRUE(panel::DrawLog().empty());  // turning the logs off forgets them
  EXPECT_TRUE(panel::PictureLog().empty());
  Canvas unlogged(100, 40, RGB(255, 255, 255));
  Draw(unlogged);
  EXPECT_TRUE(panel::DrawLog().empty());
  EXPECT_TRUE(panel::PictureLog().empty());
  EXPECT_EQ(panel::FindDrawnText(u"Logged"), nullptr);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) ASSERT_EQ(unlogged.At(x, y), kept.At(x, y)) << x << "," << y;
  }
  {
    panel::HeadlessScreen inner;  // asks for them for its lifetime, then leaves them as they were
    EXPECT_TRUE(panel::DrawLogKept());
  }
  EXPECT_FALSE(panel::DrawLogKept());
  panel::KeepDrawLog(true);
}

TEST_F(Gdi, DrawLog_KnowsWhatAWindowAboveCovers) {
  // Two siblings in a parent; the one made later lies under the first.
  HWND parent = guitest::MakePanel(RGB(0, 0, 0), WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
  guitest::MakePanel(RGB(0, 0, 0), WS_CHILD | WS_VISIBLE, 60, 0, 140, 100, parent, 1);  // above
  HWND under = guitest::MakePanel(RGB(0, 0, 0), WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, 2);
  panel::PumpMessages();
  panel::ClearDrawLog();
  HDC dc = GetDC(under);
  SelectObject(dc, m_font);
  RECT r{5, 5, 300, 30};  // wider than the window: the window's edge holds it
  DrawTextW(dc, u"covered by the sibling", -1, &r, DT_LEFT | DT_SINGLELINE);
  RECT left{5, 50, 50, 80};
  DrawTextW(dc, u"clear", -1, &left, DT_LEFT | DT_SINGLELINE);
  ReleaseDC(under, dc);
  const panel::DrawnText* wide = panel::FindDrawnText(u"covered by the sibling");
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->window, under);
  EXPECT_EQ(wide->bounds.right, 100);  // the window, whatever lies over it
  EXPECT_TRUE(wide->covered);
  EXPECT_LE(wide->shown.right, 60);
  const panel::DrawnText* clear = panel::FindDrawnText(u"clear");
  ASSERT_NE(clear, nullptr);
  EXPECT_FALSE(clear->covered);
}

TEST_F(Gdi, PictureLog_HoldsWhereAKeyedPictureLandedAndWhetherItShowsWhole) {
  // A 4 x 4 source: key colour but for a red 2 x 2 block at its top-left.
  Canvas source(4, 4, kKey);
  source.Fill(RECT{0, 0, 2, 2}, RGB(255, 0, 0));
  HWND parent = guitest::MakePanel(RGB(0, 0, 0), WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
  guitest::MakePanel(RGB(0, 0, 0), WS_CHILD | WS_VISIBLE, 30, 0, 170, 100, parent, 1);  // above
  HWND under = guitest::MakePanel(RGB(0, 0, 0), WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, parent, 2);
  panel::PumpMessages();
  struct Case {
    const char* name;
    int x;          // where the 40 x 40 picture goes; its red quarter is 20 x 20 at its top-left
    bool covered;   // the sibling over x >= 30 hides red pixels
  };
  for (const Case& c : {Case{"red part clear, key under the sibling", 5, false}, Case{"red part under it", 15, true}}) {
    SCOPED_TRACE(c.name);
    panel::ClearDrawLog();
    HDC dc = GetDC(under);
    ASSERT_TRUE(TransparentImage(dc, c.x, 10, 40, 40, source.dc(), 0, 0, 4, 4, kKey));
    ReleaseDC(under, dc);
    const std::vector<panel::DrawnPicture> pictures = panel::PictureLog();
    ASSERT_EQ(pictures.size(), 1u);
    const RECT landed{c.x, 10, c.x + 20, 30};
    EXPECT_TRUE(EqualRect(&pictures[0].rect, &landed));
    EXPECT_EQ(pictures[0].window, under);
    EXPECT_EQ(pictures[0].covered, c.covered);
  }
}

TEST_F(Gdi, TransparentImage_StretchesAndLeavesTheKeyOut) {
  // A 4 x 2 source: key colour on the left half, red on the right half.
  Canvas source(4, 2, kKey);
  source.Fill(RECT{2, 0, 4, 2}, RGB(255, 0, 0));
  Canvas target(16, 8, RGB(0, 255, 0));
  ASSERT_TRUE(TransparentImage(target.dc(), 0, 0, 16, 8, source.dc(), 0, 0, 4, 2, kKey));
  struct Case {
    int x, y;
    COLORREF expected;
  };
  Case cases[] = {{0, 0, RGB(0, 255, 0)}, {7, 7, RGB(0, 255, 0)}, {8, 0, RGB(255, 0, 0)}, {15, 7, RGB(255, 0, 0)}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(target.At(c.x, c.y), c.expected);
  }
  // A bitmap handle serves as the source as well.
  Canvas second(8, 4, RGB(0, 255, 0));
  HBITMAP bits = static_cast<HBITMAP>(GetCurrentObject(source.dc(), OBJ_BITMAP));
  ASSERT_TRUE(TransparentImage(second.dc(), 0, 0, 8, 4, bits, 0, 0, 4, 2, kKey));
  EXPECT_EQ(second.At(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(second.At(6, 1), RGB(255, 0, 0));
}

TEST_F(Gdi, StretchBlt_SamplesTheNearestPixel) {
  Canvas source(2, 1, RGB(0, 0, 0));
  SetPixel(source.dc(), 1, 0, RGB(255, 255, 255));
  Canvas target(6, 3, RGB(9, 9, 9));
  ASSERT_TRUE(StretchBlt(target.dc(), 0, 0, 6, 3, source.dc(), 0, 0, 2, 1, SRCCOPY));
  for (int x = 0; x < 6; ++x) EXPECT_EQ(target.At(x, 1), x < 3 ? RGB(0, 0, 0) : RGB(255, 255, 255)) << x;
  // BitBlt copies only the part of the source that exists.
  Canvas small(2, 2, RGB(1, 1, 1));
  Canvas big(6, 6, RGB(7, 7, 7));
  BitBlt(big.dc(), 0, 0, 6, 6, small.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(big.At(1, 1), RGB(1, 1, 1));
  EXPECT_EQ(big.At(3, 3), RGB(7, 7, 7));
}

TEST_F(Gdi, PensAndBrushes_DrawLinesRectanglesAndFills) {
  Canvas c(20, 20, RGB(255, 255, 255));
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ oldPen = SelectObject(c.dc(), pen);
  MoveToEx(c.dc(), 0, 5, nullptr);
  LineTo(c.dc(), 10, 5);
  EXPECT_EQ(c.At(0, 5), RGB(255, 0, 0));
  EXPECT_EQ(c.At(9, 5), RGB(255, 0, 0));
  EXPECT_EQ(c.At(10, 5), RGB(255, 255, 255));  // the end point is not drawn
  POINT pts[3] = {{0, 10}, {5, 10}, {5, 15}};
  Polyline(c.dc(), pts, 3);
  EXPECT_EQ(c.At(5, 12), RGB(255, 0, 0));
  HGDIOBJ oldBrush = SelectObject(c.dc(), GetStockObject(HOLLOW_BRUSH));
  Rectangle(c.dc(), 12, 12, 18, 18);
  EXPECT_EQ(c.At(12, 12), RGB(255, 0, 0));
  EXPECT_EQ(c.At(17, 17), RGB(255, 0, 0));
  EXPECT_EQ(c.At(15, 15), RGB(255, 255, 255));  // hollow inside
  SelectObject(c.dc(), oldBrush);
  SelectObject(c.dc(), oldPen);
  EXPECT_TRUE(DeleteObject(pen));
  CDC dc;
  dc.Attach(c.dc());
  dc.FillSolidRect(0, 0, 3, 3, RGB(0, 0, 7));
  dc.Detach();
  EXPECT_EQ(c.At(2, 2), RGB(0, 0, 7));
  EXPECT_EQ(c.At(3, 3), RGB(255, 255, 255));
}

TEST_F(Gdi, Handles_StaleOnesAreRefusedAndSelectedOnesOutliveDelete) {
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, brush);
  EXPECT_TRUE(DeleteObject(brush));  // selected: freed when deselected
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(SelectObject(dc, brush), nullptr);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
  BITMAP bm{};
  EXPECT_EQ(GetObjectW(reinterpret_cast<HGDIOBJ>(0x1234), sizeof(bm), &bm), 0);
}

TEST_F(Gdi, WindowDc_IsInClientCoordinatesAndClipped) {
  HWND w = guitest::MakePanel(RGB(0, 0, 0), WS_POPUP | WS_VISIBLE | WS_BORDER, 100, 100, 50, 50);
  panel::PumpMessages();
  HDC dc = GetDC(w);
  RECT all{-20, -20, 200, 200};
  HBRUSH b = CreateSolidBrush(RGB(0, 200, 0));
  FillRect(dc, &all, b);
  DeleteObject(b);
  ReleaseDC(w, dc);
  EXPECT_EQ(panel::ScreenPixel(101, 101), RGB(0, 200, 0));  // client (0, 0)
  EXPECT_EQ(panel::ScreenPixel(100, 100), RGB(0, 0, 0));    // the border
  EXPECT_EQ(panel::ScreenPixel(160, 160), RGB(0, 0, 0));    // the desktop
}

}  // namespace
