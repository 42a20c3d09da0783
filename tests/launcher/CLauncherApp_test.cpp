// The launcher's start: one copy only, never one that cannot tell whether it is the only one.
#include "CLauncherApp.h"

#include "LauncherFixture.h"
#include "StartFailure.h"

namespace {

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
  auto seen = testing_support::RunFailingStart([&] { return m_app.InitInstance(); }, u"Brimcourt");
  EXPECT_FALSE(seen.result);
  EXPECT_FALSE(seen.windowShown);
  ASSERT_FALSE(seen.box.empty());
  EXPECT_EQ(seen.box[0], u"Brimcourt cannot make sure that it runs only once; it does not start.");
}

}  // namespace
