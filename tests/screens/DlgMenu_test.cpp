#include "DlgMenu.h"

#include <gtest/gtest.h>

#include "MainHostFixture.h"

namespace {

class DlgMenuTest : public MainHostFixture {
protected:
  void OpenMenu() {
    Tap(430, 230);  // the main screen's menu corner
    ASSERT_TRUE(Shown(main.Menu()));
  }
  bool ItemVisible(int item) { return IsWindowVisible(GetDlgItem(main.Menu().m_hWnd, DlgMenu::kItem1 + item - 1)); }
};

TEST_F(DlgMenuTest, EachItem_OpensItsParameterPageAndHidesTheMenu) {
  GetSystemData()->m_unlockLevel = 2;
  CreateMain();
  struct Case {
    int menuPage, item, page;
  };
  const Case cases[] = {{1, 1, 1}, {1, 4, 4}, {1, 8, 8}, {2, 1, 9}, {2, 3, 11}, {2, 7, 15}, {2, 8, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "menu page " << c.menuPage << " item " << c.item);
    OpenMenu();
    if (main.Menu().GetMenuPage() != c.menuPage) TapControl(c.menuPage == 2 ? DlgMenu::kNextPage : DlgMenu::kPrevPage, main.Menu().m_hWnd);
    ASSERT_EQ(main.Menu().GetMenuPage(), c.menuPage);
    TapControl(DlgMenu::kItem1 + c.item - 1, main.Menu().m_hWnd);
    EXPECT_TRUE(Shown(main.Param()));
    EXPECT_EQ(main.Param().GetPage(), c.page);
    EXPECT_FALSE(Shown(main.Menu()));
    Tap(10, 10);  // the parameter screen's back corner: the main screen again
    EXPECT_FALSE(Shown(main.Param()));
  }
}

TEST_F(DlgMenuTest, FactoryItem_OfferedOnlyAtLevelTwoAndRefusedBelow) {
  struct Case {
    int level;
    bool offered;
  };
  for (const Case& c : {Case{0, false}, Case{1, false}, Case{2, true}}) {
    SCOPED_TRACE(c.level);
    GetSystemData()->m_unlockLevel = c.level;
    CreateMain();
    OpenMenu();
    TapControl(DlgMenu::kNextPage, main.Menu().m_hWnd);
    EXPECT_TRUE(ItemVisible(7));
    EXPECT_EQ(ItemVisible(8), c.offered);
    // A click that reaches the hidden item opens nothing.
    main.Menu().SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kItem1 + 7, BN_CLICKED), 0);
    EXPECT_EQ(Shown(main.Param()), c.offered);
    main.DestroyWindow();
  }
}

TEST_F(DlgMenuTest, LevelFallingWhileMenuPageTwoShows_HidesAndRefusesTheFactoryItem) {
  GetSystemData()->m_unlockLevel = 2;
  CreateMain();
  OpenMenu();
  TapControl(DlgMenu::kNextPage, main.Menu().m_hWnd);
  ASSERT_TRUE(ItemVisible(8));
  GetSystemData()->m_unlockLevel = 0;  // the idle lock
  main.Menu().SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kItem1 + 7, BN_CLICKED), 0);
  EXPECT_FALSE(Shown(main.Param()));
  Run(600);
  EXPECT_FALSE(ItemVisible(8));
}

TEST_F(DlgMenuTest, CaptionsClockAndPageButtons) {
  CreateMain();
  OpenMenu();
  Run(600);
  EXPECT_EQ(Text(main.Menu(), DlgMenu::kClock), CString(u"8.12.2026 09:05"));
  const char16_t* page1[] = {u"T3", u"T9", u"T7", u"T8", u"T10", u"T4", u"T5", u"T2"};
  const char16_t* page2[] = {u"T1", u"T6", u"T12", u"T13", u"T11", u"T14", u"T15", u"工厂设定"};
  for (int i = 0; i < DlgMenu::kItems; ++i) EXPECT_EQ(Text(main.Menu(), DlgMenu::kItem1 + i), CString(page1[i]));
  // Previous does nothing on page 1, next nothing on page 2.
  main.Menu().SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kPrevPage, BN_CLICKED), 0);
  EXPECT_EQ(main.Menu().GetMenuPage(), 1);
  TapControl(DlgMenu::kNextPage, main.Menu().m_hWnd);
  main.Menu().SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kNextPage, BN_CLICKED), 0);
  EXPECT_EQ(main.Menu().GetMenuPage(), 2);
  for (int i = 0; i < DlgMenu::kItems; ++i) EXPECT_EQ(Text(main.Menu(), DlgMenu::kItem1 + i), CString(page2[i]));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main.Menu().m_hWnd, DlgMenu::kNextPage)));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(main.Menu().m_hWnd, DlgMenu::kPrevPage)));
  // The status button leads to the unit status page.
  TapControl(DlgMenu::kStatus, main.Menu().m_hWnd);
  EXPECT_TRUE(Shown(main.Design1()));
  EXPECT_FALSE(Shown(main.Menu()));
}

TEST_F(DlgMenuTest, Dealer3_SwitchesMenuPagesByTheLowerCorners) {
  g_dealerId = 3;
  GetSystemData()->m_dealerId = 3;
  CreateMain();
  main.Menu().ShowPage(SW_SHOW);
  panel::PumpMessages();
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main.Menu().m_hWnd, DlgMenu::kNextPage)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main.Menu().m_hWnd, DlgMenu::kPrevPage)));
  Tap(10, 240);  // lower left on page 1: nothing
  EXPECT_EQ(main.Menu().GetMenuPage(), 1);
  Tap(470, 240);
  EXPECT_EQ(main.Menu().GetMenuPage(), 2);
  Tap(10, 240);
  EXPECT_EQ(main.Menu().GetMenuPage(), 1);
  Tap(10, 10);
  EXPECT_FALSE(Shown(main.Menu()));
}

// From the parameter screen the menu button leads back to the menu, and the menu's back corner to
// the main screen.
TEST_F(DlgMenuTest, ParameterScreenMenuButton_ReturnsToTheMenu) {
  CreateMain();
  OpenMenu();
  TapControl(DlgMenu::kItem1 + 1, main.Menu().m_hWnd);
  ASSERT_TRUE(Shown(main.Param()));
  TapControl(DlgParam::kMenuButton, main.Param().m_hWnd);
  EXPECT_TRUE(Shown(main.Menu()));
  EXPECT_FALSE(Shown(main.Param()));
  Tap(10, 10);
  EXPECT_FALSE(Shown(main.Menu()));
}

}  // namespace
