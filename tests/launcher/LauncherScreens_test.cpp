// Screenshot references of the launcher: its dialog opened from the tray icon in run mode, and the
// update question. PANEL_UPDATE_SCREENSHOTS=1 rewrites them.
#include "UpdateFixture.h"

namespace {

using LauncherScreens = UpdateFixture;

void ExpectScreen(const char* name) {
  const std::string reference = std::string(QUELLORA_SOURCE_DIR) + "/tests/launcher/screens/" + name;
  panel::PumpMessages();
  std::string message;
  EXPECT_TRUE(panel::MatchesScreenshot(reference, &message)) << message;
}

TEST_F(LauncherScreens, DialogWithTheReportedVersions) {
  Open();
  ToRunMode();
  Report(205, 3, 110, 0);
  m_dlg.SendMessage(0x401, 129, WM_LBUTTONUP);
  ExpectScreen("launcher-dialog.png");
}

TEST_F(LauncherScreens, UpdateQuestion) {
  InstalledAndUpdate();
  Open();
  Tick();
  ExpectScreen("launcher-question.png");
}

}  // namespace
