// Screenshot references of the launcher: its dialog opened from the tray icon in run mode, and the
// update question (PANEL_UPDATE_SCREENSHOTS=1 rewrites them); and every text it shows fits its control.
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

// Width and height of text drawn in the control as the control draws it, with the control's font.
SIZE Extent(HWND control, const CString& text, bool wrapped) {
  RECT client{};
  GetClientRect(control, &client);
  HDC dc = GetDC(control);
  SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r = client;
  DrawTextW(dc, text, -1, &r, DT_CALCRECT | (wrapped ? DT_WORDBREAK : DT_SINGLELINE));
  ReleaseDC(control, dc);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

TEST_F(LauncherScreens, EveryTextFitsItsControl) {
  struct Case {
    int id;
    const char16_t* text;
  };
  const Case cases[] = {
      {1002, u"Version:"},
      {1002, u"SW:V2.05\r\nDB:V1.10"},
      {1002, u"SW:V12.05-T255\r\nDB:V12.10"},
      {1002, u"Do you Update Software?Path:\\Storage Card\\ABackup"},
      {1002, u"Do you Update Software?Path:\\Hard Disk\\ABackup"},
      {1002, u"Do you Update Software?Path:\\硬盘\\ABackup"},
      {1002, u"Step 1:Stop Program!"},
      {1002, u"Step 2:Copying files, please wait!"},
      {1002, u"Step 3:Modifying configuration, please wait!"},
      {1002, u"Step 4:Check the program, please wait!"},
      {1002, u"Step 5:Removing files, please wait!"},
      {1002, u"Update Finished!please remove the U Disk!"},
      {1002, u"Update failed!the installed program is kept!"},
      {1002, u"Error!update timeout!please check!"},
      {1001, u"Hide"},
      {1001, u"Yes(10S)"},
      {1000, u"Exit"},
      {1000, u"No"},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(CString(c.text).ToUtf8());
    HWND control = m_dlg.GetDlgItem(c.id)->m_hWnd;
    RECT client{};
    GetClientRect(control, &client);
    const bool button = c.id != 1002;
    // A push button draws its text 3 pixels in from the sides and 2 from top and bottom.
    const LONG width = client.right - (button ? 6 : 0);
    const LONG height = client.bottom - (button ? 4 : 0);
    const SIZE text = Extent(control, c.text, !button);
    EXPECT_LE(text.cx, width);
    EXPECT_LE(text.cy, height);
  }
}

}  // namespace
