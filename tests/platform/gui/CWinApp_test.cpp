#include <gtest/gtest.h>

#include "GuiFixture.h"

namespace {

class CWinAppTest : public guitest::GuiTest {
protected:
  CWinAppTest() { WriteDialog(102, "size 100 50\nstyle WS_POPUP\ncaption \"Quellora\"\ncontrol BUTTON 1 2 2 30 12 \"OK\"\n"); }
};

// An application whose InitInstance runs its main dialog modally and returns FALSE.
class DialogApp : public CWinApp {
public:
  INT_PTR result = 0;
  bool mainWasSet = false;
  bool mainClearedAfter = false;
  BOOL InitInstance() override {
    CDialog main(102);
    m_pMainWnd = &main;
    panel::ScriptedInput script;
    script.Then([&] {
      mainWasSet = m_pMainWnd == &main && FindWindowW(nullptr, u"Quellora") == main.m_hWnd;
      main.PostMessage(WM_CLOSE);
    });
    result = main.DoModal();
    mainClearedAfter = m_pMainWnd == nullptr;
    return FALSE;
  }
  int ExitInstance() override { return 5; }
};

TEST_F(CWinAppTest, InitInstanceFalse_EndsAfterTheMainDialog) {
  DialogApp app;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(panel::RunApp(), 5);
  EXPECT_EQ(app.result, IDCANCEL);  // WM_CLOSE ends a dialog as Cancel
  EXPECT_TRUE(app.mainWasSet);
  EXPECT_TRUE(app.mainClearedAfter);
}

class LoopApp : public CWinApp {
public:
  int messages = 0;
  BOOL InitInstance() override {
    PostMessageW(nullptr, WM_USER, 0, 0);
    PostQuitMessage(0);
    return TRUE;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    ++messages;
    return CWinApp::PreTranslateMessage(msg);
  }
};

TEST_F(CWinAppTest, InitInstanceTrue_RunsTheLoopUntilQuit) {
  LoopApp app;
  EXPECT_EQ(panel::RunApp(), 0);
  EXPECT_EQ(app.messages, 1);
}

TEST_F(CWinAppTest, NoApplication_RunAppFails) { EXPECT_EQ(panel::RunApp(), -1); }

TEST_F(CWinAppTest, AfxMessageBox_IsCaptionedWithTheApplicationName) {
  CWinApp app(u"Brimcourt");
  panel::WriteTextFile(m_resources + "/strings", "103 \"Windows 套接字初始化失败。\"\n");
  HWND box = nullptr;
  panel::ScriptedInput script;
  script.Then([&] {
    box = GetActiveWindow();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  EXPECT_EQ(AfxMessageBox(103, MB_OK), IDOK);
  EXPECT_NE(panel::FindDrawnText(u"Windows 套接字初始化失败。"), nullptr);
  EXPECT_NE(panel::FindDrawnText(u"Brimcourt"), nullptr);  // on the caption bar
}

}  // namespace
