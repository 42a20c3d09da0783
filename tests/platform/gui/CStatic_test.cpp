#include <gtest/gtest.h>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;

const char* const kLabels =
    "size 200 120\n"
    "style WS_POPUP WS_VISIBLE\n"
    "control STATIC 1 4 4 100 20 \"left\" SS_LEFT\n"
    "control STATIC 2 4 28 100 20 \"centre\" SS_CENTER\n"
    "control STATIC 3 4 52 100 20 \"right\" SS_RIGHT\n"
    "control STATIC 4 4 76 100 30 \"middle\" SS_CENTER SS_CENTERIMAGE\n"
    "control STATIC 5 110 4 80 20 \"own\"\n";

// A label that paints itself, as the screens' picture labels do.
class OwnLabel : public CStatic {
protected:
  void OnPaint() {
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    dc.FillSolidRect(&r, RGB(0, 0, 1));
    dc.SetTextColor(RGB(255, 255, 255));
    dc.SetBkMode(TRANSPARENT);
    CString text;
    GetWindowText(text);
    dc.DrawText(text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OwnLabel, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class LabelPage : public CDialog {
public:
  LabelPage() : CDialog(601) {}
  OwnLabel own;

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, 5, own); }
  HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) {
    if (kind == CTLCOLOR_STATIC && control->GetDlgCtrlID() == 3) {
      dc->SetTextColor(RGB(255, 0, 0));
      dc->SetBkMode(TRANSPARENT);
      return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH));
    }
    return CDialog::OnCtlColor(dc, control, kind);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(LabelPage, CDialog)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

class CStaticTest : public GuiTest {
protected:
  CStaticTest() {
    WriteDialog(601, kLabels);
    page.Create(601, nullptr);
    panel::PumpMessages();
  }
  LabelPage page;
};

TEST_F(CStaticTest, Styles_ChooseTheTextFormat) {
  struct Case {
    const char16_t* text;
    UINT format;
  };
  Case cases[] = {{u"left", DT_WORDBREAK},
                  {u"centre", DT_CENTER | DT_WORDBREAK},
                  {u"right", DT_RIGHT | DT_WORDBREAK},
                  {u"middle", DT_CENTER | DT_VCENTER | DT_SINGLELINE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(CString(c.text).ToUtf8());
    const panel::DrawnText* d = panel::FindDrawnText(c.text);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->format, c.format);
    EXPECT_EQ(d->window, GetDlgItem(page.m_hWnd, d->window ? GetDlgCtrlID(d->window) : 0));
  }
  EXPECT_EQ(panel::FindDrawnText(u"left")->color, RGB(0, 0, 0));
  EXPECT_EQ(panel::FindDrawnText(u"right")->color, RGB(255, 0, 0));  // the parent's WM_CTLCOLOR
}

TEST_F(CStaticTest, BoundLabel_PaintsItselfFromTheFirstPaint) {
  const panel::DrawnText* d = panel::FindDrawnText(u"own");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->color, RGB(255, 255, 255));
  RECT r;
  GetWindowRect(page.own.m_hWnd, &r);
  EXPECT_EQ(panel::ScreenPixel(r.left + 1, r.top + 1), RGB(0, 0, 1));
}

TEST_F(CStaticTest, SetWindowText_Repaints) {
  panel::ClearDrawLog();
  page.GetDlgItem(2)->SetWindowText(u"new");
  panel::PumpMessages();
  EXPECT_NE(panel::FindDrawnText(u"new"), nullptr);
  EXPECT_EQ(panel::FindDrawnText(u"centre"), nullptr);
}

TEST(CEdit, PasswordCharacter_HidesTheTextUntilSwitchedOff) {
  panel::HeadlessScreen screen;
  guitest::MessageLog log({WM_COMMAND});
  CWnd parent;
  ASSERT_TRUE(parent.CreateEx(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 50), nullptr, 0));
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | ES_PASSWORD, CRect(0, 0, 150, 20), &parent, 7));
  EXPECT_EQ(edit.GetPasswordChar(), u'*');
  edit.SetWindowText(u"1234");
  panel::PumpMessages();
  EXPECT_NE(panel::FindDrawnText(u"****"), nullptr);
  EXPECT_EQ(panel::FindDrawnText(u"1234"), nullptr);
  edit.SetPasswordChar(0);
  panel::PumpMessages();
  EXPECT_NE(panel::FindDrawnText(u"1234"), nullptr);
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, u"1234");
  EXPECT_FALSE(log.Take().empty());  // EN_CHANGE went to the parent
}

}  // namespace
