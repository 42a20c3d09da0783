#include "DlgParam.h"

#include <gtest/gtest.h>

#include "ParamHostFixture.h"

namespace {

// The frame with a page of its own: page numbers outside 1..16 draw nothing, so the test sets the
// sub-page count the way a page's draw operation would.
class TestParam : public DlgParam {
public:
  using DlgParam::DlgParam;
  using DlgParam::m_page;
  using DlgParam::m_subPage;
  using DlgParam::m_subPageCount;
  void Open(int subPageCount, int subPage = 1) {
    m_page = 99;
    m_subPageCount = subPageCount;
    m_subPage = subPage;
    ShowPage();
    ShowPage(SW_SHOW);
  }
};

class DlgParamTest : public ParamHostFixture<TestParam> {
protected:
  bool Visible(int id) { return IsWindowVisible(GetDlgItem(param.m_hWnd, id)) != FALSE; }
  CString Title() { return TextOf(GetDlgItem(param.m_hWnd, DlgParam::kTitle)); }
};

TEST_F(DlgParamTest, Paging_TitleAndButtonsFollowTheSubPage) {
  struct Case {
    const char* name;
    int count, subPage;
    const char16_t* title;
    bool prev, next;
  };
  const Case cases[] = {
      {"one sub-page", 1, 1, u"T381:1/1", false, false},
      {"first of six", 6, 1, u"T381:1/6", false, true},
      {"middle", 6, 3, u"T381:3/6", true, true},
      {"last", 6, 6, u"T381:6/6", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    param.Open(c.count, c.subPage);
    EXPECT_EQ(Title(), CString(c.title));
    EXPECT_EQ(Visible(DlgParam::kPrevButton), c.prev);
    EXPECT_EQ(Visible(DlgParam::kNextButton), c.next);
  }
}

TEST_F(DlgParamTest, PrevAndNext_MoveWithinTheSubPagesOnly) {
  param.Open(3);
  TapControl(DlgParam::kNextButton, param.m_hWnd);
  EXPECT_EQ(param.GetSubPage(), 2);
  TapControl(DlgParam::kNextButton, param.m_hWnd);
  EXPECT_EQ(param.GetSubPage(), 3);
  EXPECT_EQ(Title(), CString(u"T381:3/3"));
  // Hidden at the ends; a click that still arrives changes nothing.
  param.SendMessage(WM_COMMAND, MAKEWPARAM(DlgParam::kNextButton, BN_CLICKED), 0);
  EXPECT_EQ(param.GetSubPage(), 3);
  TapControl(DlgParam::kPrevButton, param.m_hWnd);
  TapControl(DlgParam::kPrevButton, param.m_hWnd);
  EXPECT_EQ(param.GetSubPage(), 1);
  param.SendMessage(WM_COMMAND, MAKEWPARAM(DlgParam::kPrevButton, BN_CLICKED), 0);
  EXPECT_EQ(param.GetSubPage(), 1);
}

TEST_F(DlgParamTest, ShrinkingSubPageCount_ShowsTheLastSubPageThereIs) {
  param.Open(4, 4);
  param.m_subPageCount = 3;  // the access level fell under sub-page 4
  param.ShowPage();
  EXPECT_EQ(param.GetSubPage(), 3);
  EXPECT_EQ(Title(), CString(u"T381:3/3"));
  EXPECT_FALSE(Visible(DlgParam::kNextButton));
}

TEST_F(DlgParamTest, OpenPage_StartsOnSubPageOneWithNoRowMarkedAndShows) {
  param.Open(3, 2);
  param.StyleValueButton(1, u"caption", u"5℃", 1);
  TapControl(DlgParam::kRow1, param.m_hWnd);
  ASSERT_EQ(param.Row(1).GetCheck(), 1);  // a tapped row stays marked
  param.ShowPage(SW_HIDE);
  param.OpenPage(7);
  EXPECT_EQ(param.GetPage(), 7);
  EXPECT_EQ(param.GetSubPage(), 1);
  EXPECT_EQ(param.Row(1).GetCheck(), 0);
  EXPECT_EQ(param.GetShownState(), SW_SHOW);
  EXPECT_TRUE(param.IsWindowVisible());
  // Page 7 (holiday mode): one sub-page of five rows.
  EXPECT_EQ(Title(), CString(u"T381:1/1"));
  for (int row = 1; row <= DlgParam::kRows; ++row) EXPECT_TRUE(param.Row(row).IsWindowVisible()) << row;
}

TEST_F(DlgParamTest, RowStyles_ShowCaptionValueToggleAndEnabledState) {
  param.Open(1);
  param.StyleValueButton(1, u"Set", u"45℃", 1);
  param.StyleNameButton(2, u"Curve", 1, 0);
  param.StyleRowButton2(3, u"Run", 1);
  param.HideRowsFrom(4);
  EXPECT_EQ(TextOf(param.Row(1).m_hWnd), CString(u"Set"));
  EXPECT_EQ(param.Row(1).m_secondLine, CString(u"45℃"));
  EXPECT_EQ(param.Row(1).m_hideSecondLine, 0);
  EXPECT_EQ(param.RowKindOf(2), DlgParam::kToggleRow);
  EXPECT_EQ(param.Row(2).GetHighlight(), 1);
  EXPECT_FALSE(param.Row(2).IsWindowEnabled());
  EXPECT_EQ(param.Row(3).m_hideSecondLine, 1);
  EXPECT_TRUE(param.Row(3).IsWindowVisible());
  EXPECT_FALSE(param.Row(4).IsWindowVisible());
  EXPECT_FALSE(param.Row(5).IsWindowVisible());
  // Rows are 400 x 44 pixels, 45 apart.
  CRect first, second;
  param.Row(1).GetWindowRect(&first);
  param.Row(2).GetWindowRect(&second);
  EXPECT_EQ(first.Width(), 400);
  EXPECT_EQ(first.Height(), 44);
  EXPECT_EQ(second.top - first.top, 45);
  // The toggle follows its setting on the next draw.
  param.StyleNameButton(2, u"Curve", 0, 1);
  EXPECT_EQ(param.Row(2).GetHighlight(), 0);
  EXPECT_TRUE(param.Row(2).IsWindowEnabled());
}

TEST_F(DlgParamTest, BackCorner_HidesTheScreenAndTheTimerRedrawsOnlyWhileShown) {
  param.Open(2);
  param.m_subPageCount = 5;  // as if the page's content had changed since the last draw
  m_clock->Advance(1000);
  panel::PumpMessages();
  EXPECT_EQ(Title(), CString(u"T381:1/5"));
  panel::TapAt(60, 100);  // outside the corner and the controls
  panel::PumpMessages();
  EXPECT_EQ(param.GetShownState(), SW_SHOW);
  panel::TapAt(10, 10);
  panel::PumpMessages();
  EXPECT_EQ(param.GetShownState(), SW_HIDE);
  param.m_subPageCount = 2;
  m_clock->Advance(1000);
  panel::PumpMessages();
  EXPECT_EQ(Title(), CString(u"T381:1/5"));
}

}  // namespace
