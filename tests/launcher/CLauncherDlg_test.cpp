// The launcher's dialog second by second: start-up, the update search, supervision with its restarts
// and reboots, the status message, the buttons and the closing of error boxes.
#include "LauncherFixture.h"

namespace {

const int kText = 1002, kHide = 1001, kExit = 1000;
const char16_t kInstalled[] = u"\\ResidentFlash\\Quellora\\Quellora.exe";

TEST_F(LauncherFixture, StartsTheMainProgramAtOnce_ShowsItselfForOneSecondBehindATrayIcon) {
  Open();
  EXPECT_EQ(StartsOf(kInstalled), 1);
  CString caption;
  m_dlg.GetWindowText(caption);
  EXPECT_EQ(caption, u"Brimcourt");
  EXPECT_EQ(Text(kText), u"Version:");
  EXPECT_EQ(Text(kHide), u"Hide");
  EXPECT_EQ(Text(kExit), u"Exit");
  auto icons = panel::TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].owner, m_dlg.m_hWnd);
  EXPECT_EQ(icons[0].id, 129u);
  EXPECT_EQ(icons[0].flags, 7u);
  EXPECT_EQ(icons[0].callbackMessage, 0x401u);
  EXPECT_EQ(icons[0].tip, u"");

  m_dlg.ShowWindow(SW_SHOW);
  Tick();
  EXPECT_FALSE(Visible());
  EXPECT_EQ(m_dlg.Step(), 0);
}

TEST_F(LauncherFixture, SearchesTwentySeconds_ThenSupervises) {
  Open();
  Tick(20);
  EXPECT_EQ(m_dlg.Step(), 0);
  EXPECT_FALSE(m_dlg.LibraryLoaded());
  Tick();
  EXPECT_EQ(m_dlg.Step(), 100);
  EXPECT_TRUE(m_dlg.LibraryLoaded());
  EXPECT_EQ(m_dlg.HeartbeatCountdown(), 89);
}

TEST_F(LauncherFixture, WithoutHeartbeats_RestartsAfter91SecondsThenEvery11_RebootingFromTheFourthOn) {
  InstallBoardLib();
  Open();
  ToRunMode();  // the first run-mode second
  Tick(89);
  EXPECT_EQ(StartsOf(kInstalled), 1);
  Tick();  // the 91st run-mode second
  EXPECT_EQ(StartsOf(kInstalled), 2);
  EXPECT_EQ(m_dlg.RestartCount(), 1);
  EXPECT_EQ(m_dlg.HeartbeatCountdown(), 10);
  // The reboot request arms the board's watchdog, which resets the board within its time-out: the
  // reboots of the 4th and later restarts are counted before the next restart comes.
  const int rebootsBefore[] = {0, 0, 0, 1, 2};  // before restarts 2, 3, 4, 5, 6
  for (int restart = 2; restart <= 6; ++restart) {
    Tick(10);
    EXPECT_EQ(StartsOf(kInstalled), restart) << "restart " << restart;
    EXPECT_EQ(m_reboots, rebootsBefore[restart - 2]) << "restart " << restart;
    Tick();
    EXPECT_EQ(StartsOf(kInstalled), restart + 1) << "restart " << restart;
  }
  Tick(10);
  EXPECT_EQ(m_reboots, 3);
}

TEST_F(LauncherFixture, HeartbeatsEveryHalfSecond_KeepTheMainProgramUntouched) {
  Open();
  ToRunMode();
  for (int second = 0; second < 300; ++second) {
    Report(205, 0, 110, 0);
    m_clock->Advance(500);
    panel::PumpMessages();
    Report(205, 0, 110, 0);
    m_clock->Advance(500);
    panel::PumpMessages();
  }
  EXPECT_EQ(StartsOf(kInstalled), 1);
  EXPECT_EQ(m_dlg.RestartCount(), 0);
}

TEST_F(LauncherFixture, OnlyAWholeLParamAbove99_IsAHeartbeat) {
  Open();
  ToRunMode();
  struct Case {
    LPARAM lParam;
    bool heartbeat;
  };
  const Case cases[] = {
      {110, true}, {100, true}, {99, false}, {50, false}, {0, false},
      {0x01000000, true},                                  // command 1 with table 0: the whole word counts
      {static_cast<LPARAM>(static_cast<int32_t>(0x80000064u)), false},  // negative read as signed
  };
  for (const Case& c : cases) {
    Tick(5);
    ASSERT_LT(m_dlg.HeartbeatCountdown(), 90);
    const int before = m_dlg.HeartbeatCountdown();
    m_dlg.SendMessage(WM_STATUS_REPORT, 205, c.lParam);
    EXPECT_EQ(m_dlg.HeartbeatCountdown(), c.heartbeat ? 90 : before) << "lParam " << c.lParam;
  }
}

TEST_F(LauncherFixture, ShowsTheReportedVersionsInRunModeOnly) {
  Open();
  Report(205, 3, 110, 0);
  EXPECT_EQ(Text(kText), u"Version:");
  ToRunMode();
  Report(205, 3, 110, 0);
  EXPECT_EQ(Text(kText), u"SW:V2.05-T3\r\nDB:V1.10");
  Report(205, 0, 110, 0);
  EXPECT_EQ(Text(kText), u"SW:V2.05\r\nDB:V1.10");
  Report(1007, 0, 9, 0);
  EXPECT_EQ(Text(kText), u"SW:V10.07\r\nDB:V0.09");
}

TEST_F(LauncherFixture, CommandCounter_TheEleventhCommand1InARowEndsTheLauncher) {
  panel::ScriptedInput script;
  bool endedEarly = true;
  script.Then([&] {
    for (int i = 0; i < 10; ++i) Report(205, 0, 110, 1);
    Report(205, 0, 110, 2);  // command 2 neither counts nor resets
    EXPECT_EQ(m_dlg.Command1Count(), 10);
    Report(205, 0, 50, 0);  // any other command resets
    EXPECT_EQ(m_dlg.Command1Count(), 0);
    for (int i = 0; i < 10; ++i) Report(205, 0, 110, 1);
    endedEarly = false;
    Report(205, 0, 110, 1);
  });
  m_dlg.DoModal();
  EXPECT_FALSE(endedEarly);
  EXPECT_TRUE(script.Done());
}

TEST_F(LauncherFixture, ClosesOneErrorBoxOnTicks1_11_21) {
  StandInWindows windows;
  windows.Add(u"Application Error");
  Open();
  Tick();
  EXPECT_EQ(StandInWindows::Closed(), std::vector<CString>{u"Application Error"});
  windows.Add(u"应用程序错误");
  windows.Add(u"Fatal Application Error");
  Tick(9);
  EXPECT_EQ(StandInWindows::Closed().size(), 1u);
  Tick();
  Tick(10);
  EXPECT_EQ(StandInWindows::Closed(), (std::vector<CString>{u"Application Error", u"Fatal Application Error",
                                                            u"应用程序错误"}));
}

TEST_F(LauncherFixture, AStagedProgramLeftRunning_IsClosedUntilItHasEnded_ThenTheInstalledOneStarts) {
  // A launcher ended during an update's check left the staged program starting, its window not up yet.
  m_dlg.stagedProcess = ThisProcess();
  Open();
  EXPECT_EQ(StartsOf(kInstalled), 0);  // it holds the single instance
  ToRunMode();
  // What it reports is no heartbeat, and no version of the installation.
  for (int second = 0; second < 5; ++second) {
    Report(205, 0, 110, 0);
    Tick();
  }
  EXPECT_EQ(m_dlg.HeartbeatCountdown(), 84);
  EXPECT_EQ(Text(kText), u"Version:");
  // Its window comes up: it is asked to close, on every tick until it has ended.
  StandInWindows windows;
  windows.Add(u"Quellora");
  Tick();
  EXPECT_EQ(StandInWindows::Closed(), std::vector<CString>{u"Quellora"});
  windows.Add(u"Quellora");
  Tick();
  EXPECT_EQ(StandInWindows::Closed(), (std::vector<CString>{u"Quellora", u"Quellora"}));
  EXPECT_EQ(StartsOf(kInstalled), 0);
  // Ended: the installed program starts at once, and supervision counts from that start.
  m_dlg.stagedProcess = 0;
  Tick();
  EXPECT_EQ(StartsOf(kInstalled), 1);
  EXPECT_EQ(m_dlg.HeartbeatCountdown(), 89);
  Report(205, 0, 110, 0);
  EXPECT_EQ(m_dlg.HeartbeatCountdown(), 90);
  EXPECT_EQ(Text(kText), u"SW:V2.05\r\nDB:V1.10");
  Tick(5);
  EXPECT_EQ(StartsOf(kInstalled), 1);
}

TEST_F(LauncherFixture, EnterAndEscOnlyHide_ExitEndsTheLauncher) {
  panel::ScriptedInput script;
  bool stillRunning = false;
  script.Then([&] {
    m_dlg.ShowWindow(SW_SHOW);
    m_dlg.SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(Visible());
    m_dlg.ShowWindow(SW_SHOW);
    m_dlg.SendMessage(WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(Visible());
    m_dlg.SendMessage(WM_CLOSE, 0, 0);
    stillRunning = IsWindow(m_dlg.m_hWnd) != FALSE;
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kHide, BN_CLICKED), 0);  // outside a question: hides
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(kExit, BN_CLICKED), 0);
  });
  m_dlg.DoModal();
  EXPECT_TRUE(stillRunning);
  EXPECT_TRUE(script.Done());
}

TEST_F(LauncherFixture, TrayIcon_LeftButtonShows_RightButtonOffersExitAndHides) {
  Open();
  Tick();
  m_dlg.SendMessage(0x401, 129, WM_LBUTTONUP);
  EXPECT_TRUE(Visible());
  m_dlg.ShowWindow(SW_HIDE);
  m_dlg.SendMessage(0x401, 128, WM_LBUTTONUP);  // another icon's
  EXPECT_FALSE(Visible());
  m_dlg.SendMessage(0x401, 129, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(Visible());

  std::vector<CString> offered;
  panel::ScriptedInput script;
  script.Then([&] {
    offered = panel::OpenMenuItems();
    // The one item fills the top of the menu, opened at the cursor.
    POINT at = panel::CursorPos();
    panel::TapAt(at.x + 5, at.y + 5);
  });
  m_dlg.SendMessage(0x401, 129, WM_RBUTTONUP);
  EXPECT_EQ(offered, std::vector<CString>{u"Exit"});
  panel::PumpMessages();
  EXPECT_FALSE(Visible());
  EXPECT_TRUE(IsWindow(m_dlg.m_hWnd));
}

}  // namespace
