// The launcher's start: one copy only, never one that cannot tell whether it is the only one.
#include "CLauncherApp.h"

#include "LauncherFixture.h"

namespace {

std::vector<CString> ChildTexts(HWND parent) {
  std::vector<CString> texts;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    WCHAR text[256] = {};
    GetWindowTextW(child, text, 255);
    texts.push_back(CString(text));
  }
  return texts;
}

class LauncherApp : public LauncherFixture {
protected:
  void TearDown() override {
    panel::SetNamedMutexFailing(false);
    panel::ReleaseNamedMutexes();
    LauncherFixture::TearDown();
  }
  CLauncherApp m_app;
};

TEST_F(LauncherApp, RunsItsDialogUntilExit_ASecondCopyEndsSilently) {
  panel::ScriptedInput script;
  bool dialog = false;
  bool secondShowedNothing = false;
  script.Then([&] {
    HWND launcher = FindWindowW(nullptr, u"Brimcourt");
    dialog = launcher != nullptr;
    CLauncherApp second;
    secondShowedNothing = !second.InitInstance() && GetActiveWindow() == launcher;
    PostMessageW(launcher, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), 0);
  });
  EXPECT_FALSE(m_app.InitInstance());
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(dialog);
  EXPECT_TRUE(secondShowedNothing);
  EXPECT_EQ(m_app.m_pMainWnd, nullptr);
}

TEST_F(LauncherApp, InstanceNameThatCannotBeHad_StopsTheStartWithAMessage) {
  panel::SetNamedMutexFailing(true);
  panel::ScriptedInput script;
  std::vector<CString> box;
  bool dialog = true;
  script.Then([&] {
    HWND active = GetActiveWindow();
    box = ChildTexts(active);
    dialog = FindWindowW(nullptr, u"Brimcourt") != nullptr;
    PostMessageW(active, WM_COMMAND, IDOK, 0);
  });
  EXPECT_FALSE(m_app.InitInstance());
  EXPECT_TRUE(script.Done());
  EXPECT_FALSE(dialog);
  ASSERT_FALSE(box.empty());
  EXPECT_EQ(box[0], u"Brimcourt cannot make sure that it runs only once; it does not start.");
}

}  // namespace
