#include "DlgBase.h"

#include <gtest/gtest.h>

#include "PageHost.h"
#include "ScreenFixture.h"

namespace {

const UINT kPageTemplate = 500;
const UINT kHostTemplate = 501;
const UINT kGoMenuButton = 1089;

// A page as the status pages are: the back corner on release, a button to the menu.
class TestPage : public DlgBase {
public:
  using DlgBase::DlgBase;
  using DlgBase::OnEraseBkgnd;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestPage, DlgBase)
  ON_MOUSE_MESSAGE(WM_LBUTTONUP, &TestPage::OnBackCorner)
  ON_BN_CLICKED(kGoMenuButton, &TestPage::OnGoMenu)
END_MESSAGE_MAP()

// The main screen's part in page navigation: it holds the pages and hands out the menu.
class TestHost : public DlgBase, public PageHost {
public:
  TestHost() : DlgBase(kHostTemplate, nullptr, RGB(0, 0, 0x40), 0) {}
  DlgBase* HostedPage(Page page) override { return page == kMenu ? &menu : nullptr; }
  TestPage menu{kPageTemplate, this, RGB(0, 0x80, 0), 0};
  TestPage status{kPageTemplate, this, RGB(0x80, 0, 0), 0};
};

class DlgBaseTest : public ScreenFixture {
protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    // 480 x 270 pixels at the top-left corner of the screen.
    WriteDialog(kPageTemplate,
                "size 320 180\nstyle WS_CHILD\n"
                "control BUTTON 1089 280 0 40 27 \"menu\" BS_PUSHBUTTON\n");
    WriteDialog(kHostTemplate, "size 320 180\nstyle WS_POPUP | WS_VISIBLE\n");
  }
};

TEST_F(DlgBaseTest, Bitmap_TiledFromTheCornerAndClippedAtTheEdges) {
  // 100 x 50 with a distinct colour per pixel position, so any shift of a copy shows.
  CBitmap tile;
  tile.Attach(MakeBitmap(100, 50, [](int x, int y) { return RGB(x * 2, y * 4, 7); }));
  WriteDialog(kPageTemplate, "size 320 180\nstyle WS_POPUP | WS_VISIBLE\n");
  TestPage page(&tile, kPageTemplate, nullptr);
  ASSERT_TRUE(page.Create(kPageTemplate));
  panel::PumpMessages();
  struct Case {
    int x, y;     // screen
    int bx, by;   // the bitmap pixel expected there
  };
  const Case cases[] = {{0, 0, 0, 0}, {99, 49, 99, 49}, {100, 0, 0, 0}, {0, 50, 0, 0},
                        {250, 125, 50, 25}, {479, 269, 79, 19}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(panel::ScreenPixel(c.x, c.y), RGB(c.bx * 2, c.by * 4, 7));
  }
}

TEST_F(DlgBaseTest, Colours_OuterFillWithAFivePixelFrameAroundTheInner) {
  const COLORREF grey = RGB(140, 140, 140);
  const COLORREF blue = RGB(16, 64, 162);
  WriteDialog(kPageTemplate, "size 320 180\nstyle WS_POPUP | WS_VISIBLE\n");
  {
    TestPage page(kPageTemplate, nullptr, grey, 0);
    ASSERT_TRUE(page.Create(kPageTemplate));
    panel::PumpMessages();
    for (POINT p : {POINT{0, 0}, POINT{5, 5}, POINT{240, 135}, POINT{479, 269}}) {
      EXPECT_EQ(panel::ScreenPixel(p.x, p.y), grey) << p.x << "," << p.y;
    }
    page.DestroyWindow();
  }
  TestPage framed(kPageTemplate, nullptr, grey, blue);
  ASSERT_TRUE(framed.Create(kPageTemplate));
  panel::PumpMessages();
  struct Case {
    int x, y;
    COLORREF expected;
  };
  const Case cases[] = {{4, 4, grey}, {5, 5, blue}, {474, 264, blue}, {475, 265, grey}, {240, 2, grey}, {240, 135, blue}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    EXPECT_EQ(panel::ScreenPixel(c.x, c.y), c.expected);
  }
}

TEST_F(DlgBaseTest, NothingToPaint_LeavesErasingToThePlatform) {
  WriteDialog(kPageTemplate, "size 320 180\nstyle WS_POPUP | WS_VISIBLE\n");
  TestPage plain(kPageTemplate, nullptr, 0, 0);
  CBitmap never;  // not loaded: no size to tile by
  TestPage unloaded(&never, kPageTemplate, nullptr);
  ASSERT_TRUE(plain.Create(kPageTemplate));
  ASSERT_TRUE(unloaded.Create(kPageTemplate));
  CClientDC dc(&plain);
  EXPECT_FALSE(plain.DrawBackground(&dc));
  CClientDC dc2(&unloaded);
  EXPECT_FALSE(unloaded.DrawBackground(&dc2));
}

TEST_F(DlgBaseTest, ReleaseInTheBackCorner_HidesThePage) {
  TestHost host;
  ASSERT_TRUE(host.Create(kHostTemplate));
  ASSERT_TRUE(host.status.Create(kPageTemplate, &host));
  struct Case {
    int x, y;
    bool hides;
  };
  const Case cases[] = {{49, 49, true}, {0, 0, true}, {50, 10, false}, {10, 50, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.x) + "," + std::to_string(c.y));
    host.status.ShowPage(SW_SHOW);
    panel::TapAt(c.x, c.y);
    panel::PumpMessages();
    EXPECT_EQ(host.status.GetShownState(), c.hides ? SW_HIDE : SW_SHOW);
    EXPECT_EQ(host.status.IsWindowVisible(), c.hides ? FALSE : TRUE);
  }
}

TEST_F(DlgBaseTest, GoMenu_ShowsTheMenuThenHidesThePage) {
  TestHost host;
  ASSERT_TRUE(host.Create(kHostTemplate));
  ASSERT_TRUE(host.menu.Create(kPageTemplate, &host));
  ASSERT_TRUE(host.status.Create(kPageTemplate, &host));
  host.menu.ShowPage(SW_HIDE);
  host.status.ShowPage(SW_SHOW);
  panel::PumpMessages();
  panel::TapAt(440, 20);  // the status page's menu button
  panel::PumpMessages();
  EXPECT_EQ(host.menu.GetShownState(), SW_SHOW);
  EXPECT_TRUE(host.menu.IsWindowVisible());
  EXPECT_EQ(host.status.GetShownState(), SW_HIDE);
  EXPECT_FALSE(host.status.IsWindowVisible());
}

TEST_F(DlgBaseTest, GoMenuWithoutAHost_OnlyHidesThePage) {
  WriteDialog(kPageTemplate,
              "size 320 180\nstyle WS_POPUP | WS_VISIBLE\n"
              "control BUTTON 1089 280 0 40 27 \"menu\" BS_PUSHBUTTON\n");
  TestPage page(kPageTemplate, nullptr, RGB(1, 2, 3), 0);
  ASSERT_TRUE(page.Create(kPageTemplate));
  page.ShowPage(SW_SHOW);
  panel::TapAt(440, 20);
  panel::PumpMessages();
  EXPECT_EQ(page.GetShownState(), SW_HIDE);
}

}  // namespace
