#include "CPicStatic.h"

#include <gtest/gtest.h>

#include "AppGlobals.h"
#include "ControlHelpers.h"
#include "ScreenFixture.h"
#include "SkinCodes.h"

namespace {

const UINT kTemplate = 700;

class LabelDialog : public CDialog {
public:
  LabelDialog() : CDialog(kTemplate) {}
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, 1003, label);
    DDX_Control(dx, 1004, centred);
  }
  CSkinLabel label;
  CSkinLabel centred;
};

class CPicStaticTest : public ScreenFixture {
protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    // Label 1003 at (30,30) 90 x 30 pixels, 1004 centred below it.
    WriteDialog(kTemplate,
                "size 320 180\nstyle WS_POPUP | WS_VISIBLE\n"
                "control STATIC 1003 20 20 60 20 \"\" SS_LEFT\n"
                "control STATIC 1004 20 60 60 20 \"\" SS_CENTER SS_CENTERIMAGE\n");
    ASSERT_TRUE(dialog.Create(kTemplate));
    panel::PumpMessages();
  }
  LabelDialog dialog;
};

TEST_F(CPicStaticTest, SetTextIfChanged_RepaintsOnlyForADifferentText) {
  ASSERT_TRUE(SetTextIfChanged(&dialog.label, u"21.5℃"));
  panel::PumpMessages();
  CountMessages(dialog.label.m_hWnd, WM_PAINT);
  EXPECT_FALSE(SetTextIfChanged(&dialog.label, u"21.5℃"));
  panel::PumpMessages();
  EXPECT_EQ(m_counted, 0);
  // Case counts: "Hz" and "hz" are different texts.
  ASSERT_TRUE(SetTextIfChanged(&dialog.label, u"Comp:60Hz"));
  panel::PumpMessages();
  m_counted = 0;
  EXPECT_TRUE(SetTextIfChanged(&dialog.label, u"Comp:60hz"));
  panel::PumpMessages();
  EXPECT_EQ(m_counted, 1);
  CString text;
  dialog.label.GetWindowText(text);
  EXPECT_EQ(text, CString(u"Comp:60hz"));
}

TEST_F(CPicStaticTest, SetSkin_CodesOutsideTheirRangeLeaveThatPart) {
  CSkinLabel& l = dialog.label;
  l.SetSkin(265, 264, 272);
  EXPECT_EQ(l.GetTextColor(), RGB(255, 255, 255));
  EXPECT_EQ(l.GetFillColor(), RGB(0, 0, 1));
  EXPECT_EQ(l.GetPicture(), nullptr);
  EXPECT_EQ(l.GetSkinFont(), &g_font18);
  l.SetSkin(0, 252, 250);
  EXPECT_EQ(l.GetTextColor(), RGB(255, 255, 255));
  EXPECT_EQ(l.GetPicture(), &g_bmpPageBg);
  EXPECT_EQ(l.GetBackgroundBitmap(), nullptr);
  EXPECT_EQ(l.GetSkinFont(), &g_font18);
  // 255: the menu picture (the value plate) over the main background.
  l.SetSkin(264, 255, 275);
  EXPECT_EQ(l.GetPicture(), &g_bmpMenuBg1);
  EXPECT_EQ(l.GetBackgroundBitmap(), &g_bmpMainBg);
  EXPECT_EQ(l.GetSkinFont(), &g_font9);
  EXPECT_EQ(l.GetTextColor(), RGB(0, 0, 1));
}

TEST_F(CPicStaticTest, Text_DrawnInTheSkinColourWithTheStaticsAlignment) {
  dialog.label.SetSkin(267, 0, 0);
  dialog.centred.SetSkin(268, 259, 0);
  panel::ClearDrawLog();
  dialog.label.SetWindowText(u"E01");
  dialog.centred.SetWindowText(u"45℃");
  panel::PumpMessages();
  const panel::DrawnText* left = panel::FindDrawnText(u"E01");
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left->color, RGB(248, 56, 56));
  EXPECT_EQ(left->format, static_cast<UINT>(DT_WORDBREAK));
  const panel::DrawnText* centred = panel::FindDrawnText(u"45℃");
  ASSERT_NE(centred, nullptr);
  EXPECT_EQ(centred->color, RGB(16, 64, 162));
  EXPECT_EQ(centred->format, static_cast<UINT>(DT_WORDBREAK | DT_CENTER | DT_VCENTER));
  // The fill colour under the centred label, nothing under the plain one.
  EXPECT_EQ(panel::ScreenPixel(35, 95), SkinColor(259));
}

}  // namespace
