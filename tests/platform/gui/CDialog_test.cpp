#include <gtest/gtest.h>

#include "Debug.h"
#include "GuiFixture.h"

namespace {

using guitest::GuiTest;
using guitest::MessageLog;

const char* const kPage =
    "size 100 60\n"
    "style WS_POPUP WS_VISIBLE\n"
    "caption \"Page\"\n"
    "control STATIC 10 4 4 40 12 \"label\" SS_NOTIFY\n"
    "control BUTTON 11 50 4 40 16 \"OK\" BS_PUSHBUTTON WS_TABSTOP\n";

class CDialogTest : public GuiTest {
protected:
  CDialogTest() {
    WriteDialog(301, kPage);
    WriteDialog(302, "size 60 40\nstyle WS_POPUP DS_CENTER\ncontrol BUTTON 1 2 2 30 12 \"OK\"\n");
    WriteDialog(303, "size 321 182\nstyle WS_POPUP\ncontrol STATIC 5 4 35 313 112 \"\"\n");
  }
};

// A page that counts what reaches its handlers.
class CountingPage : public CDialog {
public:
  CountingPage() : CDialog(301) {}
  int timers = 0;
  int clicks = 0;
  int paints = 0;
  int erases = 0;
  CStatic label;

protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetTimer(1, 100);
    return TRUE;
  }
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, 10, label); }
  void OnTimer(UINT_PTR id) {
    ++timers;
    CDialog::OnTimer(id);
  }
  void OnButton() { ++clicks; }
  BOOL OnEraseBkgnd(CDC* dc) {
    ++erases;
    return CDialog::OnEraseBkgnd(dc);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CountingPage, CDialog)
  ON_WM_TIMER()
  ON_WM_ERASEBKGND()
  ON_BN_CLICKED(11, &CountingPage::OnButton)
END_MESSAGE_MAP()

TEST_F(CDialogTest, Lifecycle_MessagesComeInOrder) {
  CountingPage page;
  MessageLog log({WM_CREATE, WM_INITDIALOG, WM_SHOWWINDOW, WM_ERASEBKGND, WM_PAINT, WM_CLOSE, WM_COMMAND,
                  WM_DESTROY, WM_NCDESTROY});
  HWND dialog = nullptr, label = nullptr, button = nullptr;
  struct Step {
    const char* name;
    std::function<void()> action;
    std::function<std::vector<MessageLog::Seen>()> expected;
  };
  std::vector<Step> steps = {
      {"create: the dialog, its controls in order, then WM_INITDIALOG and the show",
       [&] {
         ASSERT_TRUE(page.Create(301, nullptr));
         dialog = page.m_hWnd;
         label = GetDlgItem(dialog, 10);
         button = GetDlgItem(dialog, 11);
       },
       [&] {
         return std::vector<MessageLog::Seen>{{dialog, WM_CREATE}, {label, WM_CREATE}, {button, WM_CREATE},
                                              {dialog, WM_INITDIALOG}, {dialog, WM_SHOWWINDOW}};
       }},
      {"paint: the parent before its children, each erasing inside its paint",
       [] { panel::PumpMessages(); },
       [&] {
         return std::vector<MessageLog::Seen>{{dialog, WM_PAINT}, {dialog, WM_ERASEBKGND}, {button, WM_PAINT},
                                              {button, WM_ERASEBKGND}, {label, WM_PAINT}, {label, WM_ERASEBKGND}};
       }},
      {"close: WM_CLOSE is Cancel, which hides a modeless page",
       [&] { SendMessageW(dialog, WM_CLOSE, 0, 0); },
       [&] {
         return std::vector<MessageLog::Seen>{{dialog, WM_CLOSE}, {dialog, WM_COMMAND}, {dialog, WM_SHOWWINDOW}};
       }},
      {"destroy: WM_DESTROY parent first, WM_NCDESTROY children first",
       [&] { page.DestroyWindow(); },
       [&] {
         return std::vector<MessageLog::Seen>{{dialog, WM_DESTROY}, {label, WM_DESTROY}, {button, WM_DESTROY},
                                              {label, WM_NCDESTROY}, {button, WM_NCDESTROY},
                                              {dialog, WM_NCDESTROY}};
       }},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    s.action();
    EXPECT_EQ(log.Take(), s.expected());
  }
  EXPECT_EQ(page.m_hWnd, nullptr);
  EXPECT_EQ(page.label.m_hWnd, nullptr);
}

TEST_F(CDialogTest, MessageMap_ReachesHandlersAndDefaults) {
  CountingPage page;
  ASSERT_TRUE(page.Create(301, nullptr));
  EXPECT_EQ(page.label.m_hWnd, GetDlgItem(page.m_hWnd, 10));  // bound by DDX_Control in OnInitDialog
  panel::PumpMessages();
  EXPECT_EQ(page.erases, 1);
  m_clock->Advance(250);
  panel::PumpMessages();
  EXPECT_EQ(page.timers, 1);  // a late timer fires once
  RECT r;
  GetWindowRect(GetDlgItem(page.m_hWnd, 11), &r);
  panel::TapAt(r.left + 2, r.top + 2);
  panel::PumpMessages();
  EXPECT_EQ(page.clicks, 1);
  // The base's OnEraseBkgnd hands the message to the dialog class, which erases in the face colour.
  EXPECT_EQ(panel::ScreenPixel(r.left - 2, r.top + 2), GetSysColor(COLOR_BTNFACE));
}

TEST_F(CDialogTest, DialogUnits_AreOneAndAHalfPixels) {
  CDialog full(303);
  ASSERT_TRUE(full.Create(303, nullptr));
  RECT r;
  full.GetClientRect(&r);
  EXPECT_EQ(r.right, 481);  // 321 * 1.5, truncated
  EXPECT_EQ(r.bottom, 273);
  full.GetDlgItem(5)->GetWindowRect(&r);
  EXPECT_EQ(r.left, 6);
  EXPECT_EQ(r.top, 52);
  EXPECT_EQ(r.right - r.left, 469);  // (4 + 313) * 1.5 - 6
  EXPECT_EQ(r.bottom - r.top, 168);
}

TEST_F(CDialogTest, MissingTemplate_DoModalGivesMinusOne) {
  CDialog missing(999);
  EXPECT_EQ(missing.DoModal(), -1);
  EXPECT_FALSE(missing.Create(999, nullptr));
}

// A template brought by an update medium with a width past 32 bits: no dialog comes up, and the log
// says which file was refused and why.
TEST_F(CDialogTest, TemplateWithANumberOutOfRange_IsRefusedWithALogLine) {
  WriteDialog(304, "size 250 150\nstyle WS_POPUP\ncontrol STATIC 5 4 35 4294967296 112 \"\"\n");
  panel::ClearDebugLog();
  CDialog refused(304);
  EXPECT_EQ(refused.DoModal(), -1);
  EXPECT_FALSE(refused.Create(304, nullptr));
  EXPECT_EQ(refused.m_hWnd, nullptr);
  const std::vector<std::string> log = panel::DebugLog();
  ASSERT_EQ(log.size(), 2u);
  EXPECT_NE(log[0].find("dialogs/304.dlg refused: line 3: control 5: width 4294967296 is out of range (0 to 32767)"),
            std::string::npos)
      << log[0];
}

// The outer dialog keeps ticking inside the inner modal loop; its EndDialog ends both loops.
class Inner : public CDialog {
public:
  Inner() : CDialog(302) {}
};

class Outer : public CDialog {
public:
  Outer() : CDialog(301) {}
  int ticks = 0;
  int ticksWhileInner = 0;
  bool innerOpen = false;
  INT_PTR innerResult = 0;

protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetTimer(1, 100);
    return TRUE;
  }
  void OnTimer(UINT_PTR) {
    ++ticks;
    if (innerOpen) ++ticksWhileInner;
    if (ticks == 2) {
      innerOpen = true;
      Inner inner;
      innerResult = inner.DoModal();
      innerOpen = false;
    }
    if (ticks == 6) EndDialog(42);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Outer, CDialog)
  ON_WM_TIMER()
END_MESSAGE_MAP()

TEST_F(CDialogTest, NestedModalLoops_OuterTimersRunAndOuterEndUnwindsInner) {
  HWND main = guitest::MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 480, 272);
  int mainTicks = 0;
  SetTimer(main, 9, 50, nullptr);
  MessageLog log({WM_TIMER});
  Outer outer;
  DWORD start = GetTickCount();
  EXPECT_EQ(outer.DoModal(), 42);
  EXPECT_EQ(GetTickCount() - start, 600u);
  EXPECT_EQ(outer.innerResult, IDCANCEL);  // unwound by the outer EndDialog
  EXPECT_EQ(outer.ticksWhileInner, 4);
  for (const auto& s : log.Take()) mainTicks += s.hwnd == main ? 1 : 0;
  EXPECT_EQ(mainTicks, 12);  // the main window's 50 ms timer never stopped
  EXPECT_EQ(outer.m_hWnd, nullptr);
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(CDialogTest, ModalDialog_TakesAllInputAndDisablesItsOwner) {
  HWND main = guitest::MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 480, 272);
  CWnd* mainWnd = CWnd::FromHandle(main);
  CDialog box(302, mainWnd);
  HWND seen = nullptr, dialog = nullptr;
  bool ownerDisabled = false;
  panel::ScriptedInput script;
  script.Then([&] {
    dialog = box.m_hWnd;
    ownerDisabled = !IsWindowEnabled(main);
    MessageLog log({WM_LBUTTONDOWN});
    panel::TapAt(5, 5);  // far outside the centred box
    panel::PumpMessages();
    auto taken = log.Take();
    if (!taken.empty()) seen = taken.front().hwnd;
  });
  script.Then([&] {
    RECT r;
    GetWindowRect(GetDlgItem(box.m_hWnd, IDOK), &r);
    panel::TapAt(r.left + 3, r.top + 3);
  });
  EXPECT_EQ(box.DoModal(), IDOK);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_EQ(seen, dialog);
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(CDialogTest, PopUp_StaysAboveATopmostOwner) {
  HWND main = guitest::MakePanel(RGB(0, 0, 200), WS_POPUP | WS_VISIBLE, 0, 0, 480, 272);
  SetWindowPos(main, HWND_TOPMOST, 0, 0, 480, 272, SWP_SHOWWINDOW);
  CDialog box(302, CWnd::FromHandle(main));
  COLORREF centre = 0;
  panel::ScriptedInput script;
  script.Then([&] {
    centre = panel::ScreenPixel(240, 136);
    box.EndDialog(IDOK);
  });
  EXPECT_EQ(box.DoModal(), IDOK);
  EXPECT_EQ(centre, GetSysColor(COLOR_BTNFACE));  // the box, not the main window under it
  panel::PumpMessages();
  EXPECT_EQ(panel::ScreenPixel(240, 136), RGB(0, 0, 200));
}

TEST_F(CDialogTest, ModalLoopWithNothingToWaitFor_EndsWithMinusOne) {
  CDialog box(302);
  EXPECT_EQ(box.DoModal(), -1);
}

// The application sees every message first; the dialog's own pre-translation comes next.
class TestApp : public CWinApp {
public:
  bool swallowPresses = false;
  int seenPresses = 0;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_LBUTTONDOWN) {
      ++seenPresses;
      if (swallowPresses) return TRUE;
    }
    return CWinApp::PreTranslateMessage(msg);
  }
};

class PressCounter : public CDialog {
public:
  PressCounter() : CDialog(302) {}
  int presses = 0;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_LBUTTONDOWN) ++presses;
    return CDialog::PreTranslateMessage(msg);
  }
};

TEST_F(CDialogTest, PreTranslate_ApplicationFirstThenDialog) {
  TestApp app;
  PressCounter dialog;
  panel::ScriptedInput script;
  script.Then([&] {
    app.swallowPresses = true;
    RECT r;
    GetWindowRect(GetDlgItem(dialog.m_hWnd, IDOK), &r);
    panel::TapAt(r.left + 3, r.top + 3);  // the press is swallowed: no click
  });
  script.Then([&] {
    app.swallowPresses = false;
    RECT r;
    GetWindowRect(GetDlgItem(dialog.m_hWnd, IDOK), &r);
    panel::TapAt(r.left + 3, r.top + 3);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(app.seenPresses, 2);
  EXPECT_EQ(dialog.presses, 1);
}

TEST_F(CDialogTest, EndDialogInInitDialog_EndsBeforeTheLoop) {
  class Quick : public CDialog {
  public:
    Quick() : CDialog(302) {}
    BOOL OnInitDialog() override {
      CDialog::OnInitDialog();
      EndDialog(7);
      return TRUE;
    }
  } quick;
  EXPECT_EQ(quick.DoModal(), 7);
}

TEST_F(CDialogTest, MessageBox_IsAModalBoxAnsweredByItsButtons) {
  panel::ScriptedInput script;
  script.Then([] {
    HWND box = GetActiveWindow();
    RECT r;
    GetWindowRect(GetDlgItem(box, IDNO), &r);
    panel::TapAt(r.left + 3, r.top + 3);
  });
  EXPECT_EQ(MessageBoxW(nullptr, u"Windows 套接字初始化失败。", u"Quellora", MB_YESNO), IDNO);
  EXPECT_NE(panel::FindDrawnText(u"Windows 套接字初始化失败。"), nullptr);
}

}  // namespace

namespace {

class DlgPage : public CDialog {
public:
  DECLARE_DYNAMIC(DlgPage)
};

IMPLEMENT_DYNAMIC(DlgPage, CDialog)

TEST(CDialogRuntimeClass, DeclaredClass_KnowsItsNameAndBases) {
  DlgPage page;
  CWnd* wnd = &page;
  EXPECT_STREQ(wnd->GetRuntimeClass()->m_lpszClassName, "DlgPage");
  EXPECT_TRUE(wnd->IsKindOf(RUNTIME_CLASS(CDialog)));
  EXPECT_TRUE(wnd->IsKindOf(RUNTIME_CLASS(CWnd)));
  EXPECT_FALSE(wnd->IsKindOf(RUNTIME_CLASS(CButton)));
}

}  // namespace
