#include <gtest/gtest.h>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;
using guitest::MessageLog;

const char* const kButtons =
    "size 200 100\n"
    "style WS_POPUP WS_VISIBLE\n"
    "control BUTTON 1 4 4 40 20 \"Owner\" BS_PUSHBUTTON WS_TABSTOP\n"
    "control BUTTON 2 4 30 40 14 \"A\" BS_AUTORADIOBUTTON WS_GROUP\n"
    "control BUTTON 3 50 30 40 14 \"B\" BS_AUTORADIOBUTTON\n"
    "control BUTTON 4 96 30 40 14 \"C\" BS_AUTORADIOBUTTON\n"
    "control BUTTON 5 4 50 40 14 \"D\" BS_AUTORADIOBUTTON WS_GROUP\n"
    "control BUTTON 6 50 50 60 14 \"Check\" BS_AUTOCHECKBOX\n";

// An owner-drawn button as the screens make them: the style is turned owner-drawn when bound.
class FaceButton : public CButton {
public:
  std::vector<UINT> drawnStates;
  int reflectedClicks = 0;

protected:
  void PreSubclassWindow() override { ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW); }
  void DrawItem(LPDRAWITEMSTRUCT item) override {
    drawnStates.push_back(item->itemState);
    CDC* dc = CDC::FromHandle(item->hDC);
    dc->FillSolidRect(&item->rcItem, (item->itemState & ODS_SELECTED) ? RGB(255, 0, 0) : RGB(0, 0, 255));
    CString text;
    GetWindowText(text);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(text, &item->rcItem, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  BOOL OnClicked() {
    ++reflectedClicks;
    return FALSE;  // the parent hears of it too
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FaceButton, CButton)
  ON_CONTROL_REFLECT_EX(BN_CLICKED, &FaceButton::OnClicked)
END_MESSAGE_MAP()

class ButtonPage : public CDialog {
public:
  ButtonPage() : CDialog(401) {}
  FaceButton face;
  std::vector<int> clicks;
  int reflectedBeforeParent = -1;

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, 1, face); }
  void OnFace() {
    reflectedBeforeParent = face.reflectedClicks;
    clicks.push_back(1);
  }
  void OnRadio(UINT id) { clicks.push_back(static_cast<int>(id)); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ButtonPage, CDialog)
  ON_BN_CLICKED(1, &ButtonPage::OnFace)
  ON_CONTROL_RANGE(BN_CLICKED, 2, 6, &ButtonPage::OnRadio)
END_MESSAGE_MAP()

class CButtonTest : public GuiTest {
protected:
  CButtonTest() {
    WriteDialog(401, kButtons);
    page.Create(401, nullptr);
    panel::PumpMessages();
  }
  POINT Centre(int id) {
    RECT r;
    GetWindowRect(GetDlgItem(page.m_hWnd, id), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  COLORREF FaceAt(int id) {
    RECT r;
    GetWindowRect(GetDlgItem(page.m_hWnd, id), &r);
    return panel::ScreenPixel(r.left + 2, r.top + 2);
  }
  ButtonPage page;
};

TEST_F(CButtonTest, OwnerDrawn_ShowsPressedWhileHeldAndClicksOnRelease) {
  POINT c = Centre(1);
  ASSERT_FALSE(page.face.drawnStates.empty());  // bound and drawn by its object from the first paint
  EXPECT_EQ(page.face.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(FaceAt(1), RGB(0, 0, 255));
  panel::PressAt(c.x, c.y);
  panel::PumpMessages();
  EXPECT_TRUE(page.face.drawnStates.back() & ODS_SELECTED);
  EXPECT_EQ(FaceAt(1), RGB(255, 0, 0));
  panel::MoveTo(c.x + 100, c.y + 100);  // off the button: drawn released
  panel::PumpMessages();
  EXPECT_FALSE(page.face.drawnStates.back() & ODS_SELECTED);
  panel::MoveTo(c.x, c.y);  // back on it
  panel::PumpMessages();
  EXPECT_TRUE(page.face.drawnStates.back() & ODS_SELECTED);
  panel::ReleaseAt(c.x, c.y);
  panel::PumpMessages();
  EXPECT_EQ(page.clicks, std::vector<int>{1});
  EXPECT_EQ(page.reflectedBeforeParent, 1);  // the button's own handler ran first
  EXPECT_EQ(FaceAt(1), RGB(0, 0, 255));
  EXPECT_NE(panel::FindDrawnText(u"Owner"), nullptr);
}

TEST_F(CButtonTest, ReleaseOffTheButton_DoesNotClick) {
  POINT c = Centre(1);
  panel::PressAt(c.x, c.y);
  panel::MoveTo(c.x + 100, c.y);
  panel::ReleaseAt(c.x + 100, c.y);
  panel::PumpMessages();
  EXPECT_TRUE(page.clicks.empty());
}

TEST_F(CButtonTest, RadioGroup_CheckingOneUnchecksTheOthersOfItsGroupOnly) {
  CheckDlgButton(page.m_hWnd, 5, BST_CHECKED);  // a member of the next group
  CheckDlgButton(page.m_hWnd, 2, BST_CHECKED);
  POINT b = Centre(3);
  panel::TapAt(b.x, b.y);
  panel::PumpMessages();
  struct Case {
    int id;
    UINT checked;
  };
  Case cases[] = {{2, BST_UNCHECKED}, {3, BST_CHECKED}, {4, BST_UNCHECKED}, {5, BST_CHECKED}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(IsDlgButtonChecked(page.m_hWnd, c.id), c.checked);
  }
  EXPECT_EQ(page.clicks, std::vector<int>{3});
  // The group walk wraps around and skips hidden members.
  HWND a = GetDlgItem(page.m_hWnd, 2), bb = GetDlgItem(page.m_hWnd, 3), cc = GetDlgItem(page.m_hWnd, 4);
  EXPECT_EQ(GetNextDlgGroupItem(page.m_hWnd, cc, FALSE), a);
  EXPECT_EQ(GetNextDlgGroupItem(page.m_hWnd, a, TRUE), cc);
  ShowWindow(bb, SW_HIDE);
  EXPECT_EQ(GetNextDlgGroupItem(page.m_hWnd, a, FALSE), cc);
}

TEST_F(CButtonTest, CheckBox_TogglesOnEachTap) {
  CButton* check = static_cast<CButton*>(page.GetDlgItem(6));
  POINT c = Centre(6);
  panel::TapAt(c.x, c.y);
  panel::PumpMessages();
  EXPECT_EQ(check->GetCheck(), BST_CHECKED);
  panel::TapAt(c.x, c.y);
  panel::PumpMessages();
  EXPECT_EQ(check->GetCheck(), BST_UNCHECKED);
  EXPECT_EQ(page.clicks, (std::vector<int>{6, 6}));
}

TEST_F(CButtonTest, DisabledButton_IgnoresTaps) {
  page.GetDlgItem(1)->EnableWindow(FALSE);
  panel::PumpMessages();
  EXPECT_TRUE(page.face.drawnStates.back() & ODS_DISABLED);
  POINT c = Centre(1);
  panel::TapAt(c.x, c.y);
  panel::PumpMessages();
  EXPECT_TRUE(page.clicks.empty());
}

}  // namespace
