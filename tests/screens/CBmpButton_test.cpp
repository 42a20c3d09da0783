#include "CBmpButton.h"

#include <gtest/gtest.h>

#include "CTwoLineButton.h"
#include "ScreenFixture.h"
#include "SkinCodes.h"

namespace {

const UINT kTemplate = 600;
const COLORREF kRed = RGB(200, 0, 0);
const COLORREF kGreen = RGB(0, 160, 0);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kYellow = RGB(230, 230, 0);
const COLORREF kGrey = RGB(140, 140, 140);  // background code 261, the erase colour below
const int kEraseGrey = 261;

// Buttons in pixels: push 1001 (0,0) 90 x 60, check 1002 (120,0) 60 x 60, radios 1003-1005 at
// y 90, 90 x 60 each, a two-line row 1006 (0,180) 300 x 45.
const char kDialog[] =
    "size 320 180\nstyle WS_POPUP | WS_VISIBLE\n"
    "control BUTTON 1001 0 0 60 40 \"\" BS_OWNERDRAW\n"
    "control BUTTON 1002 80 0 40 40 \"\" BS_PUSHBUTTON\n"
    "control BUTTON 1003 0 60 60 40 \"\" BS_OWNERDRAW WS_GROUP\n"
    "control BUTTON 1004 60 60 60 40 \"\" BS_OWNERDRAW\n"
    "control BUTTON 1005 120 60 60 40 \"\" BS_OWNERDRAW\n"
    "control BUTTON 1006 0 120 200 30 \"Row\" BS_OWNERDRAW WS_GROUP\n";

class ButtonDialog : public CDialog {
public:
  ButtonDialog() : CDialog(kTemplate) {}
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, 1001, push);
    DDX_Control(dx, 1002, check);
    DDX_Control(dx, 1003, radio[0]);
    DDX_Control(dx, 1004, radio[1]);
    DDX_Control(dx, 1005, radio[2]);
    DDX_Control(dx, 1006, row);
  }
  void OnClicked(UINT id) { clicks.push_back(static_cast<int>(id)); }
  CSkinButton push;
  CSkinButton check;
  CSkinButton radio[3];
  CRowButton row;
  std::vector<int> clicks;
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ButtonDialog, CDialog)
  ON_CONTROL_RANGE(BN_CLICKED, 1001, 1006, &ButtonDialog::OnClicked)
END_MESSAGE_MAP()

class CBmpButtonTest : public ScreenFixture {
protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    WriteDialog(kTemplate, kDialog);
    // Push face: the left half is the key colour, the right half red; pressed: green.
    WriteBitmap(217, 40, 20, [](int x, int) { return x < 20 ? kKeyColor : kRed; });
    WriteSolidBitmap(218, 40, 20, kGreen);
    // Check faces of 100 x 50, fitted into the button.
    WriteSolidBitmap(219, 100, 50, kBlue);
    WriteSolidBitmap(220, 100, 50, kYellow);
    ASSERT_TRUE(dialog.Create(kTemplate));
    dialog.push.SetIconStyle(16, 240, kEraseGrey, 0);
    dialog.check.SetIconStyle(223, 240, kEraseGrey, 0);
    for (CSkinButton& r : dialog.radio) r.SetIconStyle(233, 240, kEraseGrey, 0);
    panel::PumpMessages();
  }
  static COLORREF At(int x, int y) { return panel::ScreenPixel(x, y); }

  ButtonDialog dialog;
};

TEST_F(CBmpButtonTest, PushFace_PressedUntilTheFingerLeavesAndNotBack) {
  EXPECT_EQ(At(70, 30), kRed);
  EXPECT_EQ(At(10, 30), kGrey);  // the key colour shows the erase colour
  panel::PressAt(45, 30);
  panel::PumpMessages();
  EXPECT_EQ(At(70, 30), kGreen);
  EXPECT_EQ(dialog.push.GetCheck(), 1);
  panel::MoveTo(200, 120);
  panel::PumpMessages();
  EXPECT_EQ(At(70, 30), kRed);
  panel::MoveTo(45, 30);
  panel::PumpMessages();
  EXPECT_EQ(At(70, 30), kRed);
  panel::ReleaseAt(45, 30);
  panel::PumpMessages();
  EXPECT_EQ(At(70, 30), kRed);
  EXPECT_EQ(dialog.push.GetCheck(), 0);
}

TEST_F(CBmpButtonTest, CheckBehaviour_TogglesBeforeTheParentSeesTheClick) {
  // The fitted 100 x 50 face in the 60 x 60 button is 60 x 30 at the top-left corner.
  EXPECT_EQ(At(150, 15), kBlue);
  EXPECT_EQ(At(179, 29), kBlue);
  EXPECT_EQ(At(150, 45), kGrey);
  EXPECT_EQ((dialog.check.GetStyle() & BS_TYPEMASK), static_cast<DWORD>(BS_OWNERDRAW));
  panel::TapAt(150, 30);
  panel::PumpMessages();
  EXPECT_EQ(dialog.check.GetCheck(), 1);
  EXPECT_EQ(At(150, 15), kYellow);
  EXPECT_EQ(dialog.clicks, std::vector<int>{1002});
  panel::TapAt(150, 30);
  panel::PumpMessages();
  EXPECT_EQ(dialog.check.GetCheck(), 0);
  EXPECT_EQ(At(150, 15), kBlue);
}

TEST_F(CBmpButtonTest, RadioBehaviour_ChecksOneAndPostsUncheckToTheRestOfTheGroup) {
  std::vector<HWND> unchecked;
  panel::SetMessageSpy([&](HWND h, UINT m, WPARAM w, LPARAM) {
    if (m == BM_SETCHECK && w == 0) unchecked.push_back(h);
  });
  panel::TapAt(45, 120);
  panel::PumpMessages();
  panel::TapAt(135, 120);
  panel::PumpMessages();
  EXPECT_EQ(dialog.radio[0].GetCheck(), 0);
  EXPECT_EQ(dialog.radio[1].GetCheck(), 1);
  EXPECT_EQ(dialog.radio[2].GetCheck(), 0);
  EXPECT_EQ(At(170, 120), kGreen);
  EXPECT_EQ(At(80, 120), kRed);
  // The second tap posted the uncheck to the two others (the row after the group is not in it).
  ASSERT_GE(unchecked.size(), 2u);
  std::vector<HWND> last(unchecked.end() - 2, unchecked.end());
  EXPECT_EQ(last, (std::vector<HWND>{dialog.radio[2].m_hWnd, dialog.radio[0].m_hWnd}));
  unchecked.clear();
  panel::TapAt(135, 120);
  panel::PumpMessages();
  EXPECT_TRUE(unchecked.empty());
  EXPECT_EQ(dialog.radio[1].GetCheck(), 1);
}

TEST_F(CBmpButtonTest, SameStyleAgain_RepaintsNothingButANewFontIsSent) {
  HWND push = dialog.push.m_hWnd;
  CountMessages(push, WM_PAINT);
  dialog.push.SetIconStyle(16, 240, kEraseGrey, 0);
  panel::PumpMessages();
  EXPECT_EQ(m_counted, 0);
  CountMessages(push, WM_SETFONT);
  dialog.push.SetIconStyle(16, 240, kEraseGrey, 272);
  EXPECT_EQ(m_counted, 1);
  EXPECT_EQ(dialog.push.GetLayout().fontCode, 272);
  dialog.push.SetIconStyle(16, 240, kEraseGrey, 272);
  EXPECT_EQ(m_counted, 1);
  dialog.push.SetIconStyle(16, 240, kEraseGrey, 275);  // recorded as 269
  EXPECT_EQ(m_counted, 2);
  EXPECT_EQ(dialog.push.GetLayout().fontCode, 269);
}

TEST_F(CBmpButtonTest, Rectangles_ClampedToTheButton) {
  struct Case {
    const char* name;
    int icon, text;
    RECT bitmap, caption;  // x, y, width, height
  };
  // The push button is 90 x 60.
  const Case cases[] = {
      {"whole", 16, 240, {0, 0, 90, 60}, {0, 0, 90, 60}},
      {"text style 249", 16, 249, {0, 0, 90, 60}, {0, 30, 34, 20}},
      {"text style 244 to the edges", 16, 244, {0, 0, 90, 60}, {1, 40, 89, 20}},
      {"mark beyond the width moves to 0", 234, 245, {0, 7, 22, 22}, {0, 0, 90, 60}},
      {"offset, rest of the width", 98, 250, {7, 0, 83, 60}, {0, 0, 90, 60}},
      {"icon caption under the picture", 0, 250, {0, 0, 60, 60}, {3, 55, 87, 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialog.push.SetIconStyle(c.icon, c.text, kEraseGrey, 0);
    const CButtonLayout& l = dialog.push.GetLayout();
    EXPECT_EQ(l.bitmapX, c.bitmap.left);
    EXPECT_EQ(l.bitmapY, c.bitmap.top);
    EXPECT_EQ(l.bitmapWidth, c.bitmap.right);
    EXPECT_EQ(l.bitmapHeight, c.bitmap.bottom);
    EXPECT_EQ(l.captionX, c.caption.left);
    EXPECT_EQ(l.captionY, c.caption.top);
    EXPECT_EQ(l.captionWidth, c.caption.right);
    EXPECT_EQ(l.captionHeight, c.caption.bottom);
  }
}

// Icon 45's colour face is a key: rounded off the erase colour, with an edge, white at its top and a
// tenth darker at its foot; held, the pressed colour. A colour face of 0 is none: only the erase shows.
TEST_F(CBmpButtonTest, ColourFace_AKeyOnTheBackground_NoColourNoFace) {
  dialog.push.SetIconStyle(45, 240, kEraseGrey, 0);
  panel::PumpMessages();
  EXPECT_EQ(At(0, 0), kGrey);
  EXPECT_EQ(At(2, 2), kGrey);                      // the rounded corner
  EXPECT_EQ(At(1, 30), RGB(178, 178, 178));        // the edge, 30 % darker than white
  EXPECT_EQ(At(45, 2), RGB(255, 255, 255));        // the face's top row
  EXPECT_EQ(At(45, 56), RGB(229, 229, 229));       // its foot
  EXPECT_EQ(At(45, 58), RGB(127, 127, 127));       // the shadow under it
  panel::PressAt(45, 30);
  panel::PumpMessages();
  EXPECT_EQ(At(45, 2), RGB(255, 64, 0));
  panel::ReleaseAt(45, 30);
  panel::PumpMessages();

  CButtonLayout none;
  none.eraseColor = kGrey;
  dialog.radio[0].SetLayout(none, TRUE);
  panel::PumpMessages();
  EXPECT_EQ(At(45, 120), kGrey);
}

TEST_F(CBmpButtonTest, Caption_DrawnInTheColourOfTheState) {
  dialog.push.SetWindowText(u"Heating");
  dialog.push.SetIconStyle(16, 238, kEraseGrey, 0);  // 259 normal, 260 pressed
  panel::ClearDrawLog();
  panel::PumpMessages();
  const panel::DrawnText* normal = panel::FindDrawnText(u"Heating");
  ASSERT_NE(normal, nullptr);
  EXPECT_EQ(normal->color, SkinColor(259));
  EXPECT_EQ(normal->format & (DT_CENTER | DT_VCENTER | DT_SINGLELINE), DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  panel::ClearDrawLog();
  panel::PressAt(45, 30);
  panel::PumpMessages();
  const panel::DrawnText* pressed = panel::FindDrawnText(u"Heating");
  ASSERT_NE(pressed, nullptr);
  EXPECT_EQ(pressed->color, SkinColor(260));
  panel::ReleaseAt(45, 30);
  panel::PumpMessages();
}

TEST_F(CBmpButtonTest, TwoLineButton_HighlightPicksTheFaceCheckPicksTheBackground) {
  CRowButton& row = dialog.row;
  // A row: normal background white, pressed background blue, value line on the right.
  CButtonLayout layout;
  layout.drawMode = CButtonLayout::kStretched;
  layout.normalFace = 217;
  layout.pressedFace = 218;
  layout.keyColor = kKeyColor;
  layout.bitmapWidth = 40;
  layout.bitmapHeight = 20;
  layout.eraseColor = RGB(255, 255, 255);
  layout.captionWidth = 150;
  layout.captionHeight = 45;
  layout.lineX = 150;
  layout.lineWidth = 150;
  layout.lineHeight = 45;
  row.SetLayout(layout, TRUE);
  row.m_pressedBackground = kBlue;
  row.m_secondLine = u"45℃";
  panel::ClearDrawLog();
  panel::PumpMessages();
  EXPECT_EQ(At(30, 190), kRed);
  EXPECT_EQ(At(10, 190), RGB(255, 255, 255));
  EXPECT_NE(panel::FindDrawnText(u"Row"), nullptr);
  EXPECT_NE(panel::FindDrawnText(u"45℃"), nullptr);

  row.SetHighlight(1, TRUE);
  row.SetCheck(1, TRUE);  // push behaviour: the check state stays as it is
  panel::PumpMessages();
  EXPECT_EQ(At(30, 190), kGreen);
  EXPECT_EQ(At(200, 210), RGB(255, 255, 255));

  layout.behaviour = CButtonLayout::kCheck;
  layout.checked = 1;
  row.SetLayout(layout, TRUE);
  row.m_hideSecondLine = 1;
  panel::ClearDrawLog();
  panel::PumpMessages();
  EXPECT_EQ(At(200, 210), kBlue);
  EXPECT_EQ(panel::FindDrawnText(u"45℃"), nullptr);
}

}  // namespace
