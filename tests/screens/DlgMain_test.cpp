#include "DlgMain.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "BoardLib.h"
#include "DlgValue.h"
#include "MainScreenFixture.h"
#include "PeerProgram.h"
#include "SoftClock.h"

namespace {

using MainTimer = MainScreenFixture;
using MainRefresh = MainScreenFixture;
using MainTaps = MainScreenFixture;

// ---- timer

TEST_F(MainTimer, BacklightByModeAndIdleTicks_IdleCountStopsAt1200) {
  struct Case {
    int32_t mode;
    int idleBefore;
    int light;
    int idleAfter;
  };
  const Case cases[] = {
      {0, 1200, 1, 1200},  // always on
      {1, 0, 1, 1},        // a touch cleared the count: on
      {1, 359, 1, 360},   {1, 360, 0, 361},   // 3 minutes
      {2, 599, 1, 600},   {2, 600, 0, 601},   // 5 minutes
      {3, 1199, 1, 1200}, {3, 1200, 0, 1200},  // 10 minutes, and the count stays
      {7, 1200, 1, 1200},  // an unknown mode keeps the light on
  };
  DlgMain& main = Open();
  for (const Case& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode) + " idle " + std::to_string(c.idleBefore));
    GetSystemData()->m_backlightMode = c.mode;
    IdleCounter = c.idleBefore;
    BacklightOn = 1 - c.light;
    main.Tick();
    EXPECT_EQ(BacklightOn, c.light);
    EXPECT_EQ(IdleCounter, c.idleAfter);
  }
}

TEST_F(MainTimer, IdleLock_On601stIdleTick_NotInDemoMode) {
  for (int demo : {0, 1}) {
    SCOPED_TRACE("demo " + std::to_string(demo));
    DemoMode = demo;
    DlgMain& main = Open();
    CSystemData& r = *GetSystemData();
    r.m_unlockLevel = 2;
    IdleCounter = 0;
    for (int tick = 1; tick <= 600; ++tick) main.Tick();
    EXPECT_EQ(r.m_unlockLevel, 2);
    EXPECT_TRUE(main.ExitButton().IsWindowVisible());
    main.Tick();
    EXPECT_EQ(r.m_unlockLevel, demo ? 2 : 0);
    main.Tick();  // the refresh after the lock hides EXIT
    EXPECT_EQ(main.ExitButton().IsWindowVisible() != FALSE, demo != 0);
    main.DestroyWindow();
  }
  DemoMode = 0;
}

TEST_F(MainTimer, AliveCounters_2EveryTick_3OnlyAfterAReadingAboveTheFloor) {
  struct Case {
    const char* name;
    DWORD available;
    bool clears3;
  };
  const Case cases[] = {{"plenty", 4000000, true}, {"at the floor", 3072000, false}, {"below", 1000000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel::SetAvailPhysOverride(c.available);
    DlgMain main;
    ASSERT_TRUE(main.Create(DlgMain::kTemplate));
    AliveCounters[2] = 50;
    AliveCounters[3] = 50;
    main.Tick();  // no reading before the first tick
    EXPECT_EQ(AliveCounters[2], 0);
    EXPECT_EQ(AliveCounters[3], 50);
    AliveCounters[2] = 50;
    main.Tick();
    EXPECT_EQ(AliveCounters[2], 0);
    EXPECT_EQ(AliveCounters[3], c.clears3 ? 0 : 50);
    main.DestroyWindow();
  }
}

// On a Corvalin board the touch driver shows a cursor: the timer parks it off the screen.
TEST_F(MainTimer, CursorParkedOffTheScreenOnCorvalinBoardsOnly) {
  DlgMain& main = Open();
  for (int corvalin : {0, 1}) {
    SCOPED_TRACE(corvalin);
    g_boardIsCorvalin = corvalin;
    SetCursorPos(100, 100);
    main.Tick();
    const POINT at = panel::CursorPos();
    EXPECT_EQ(at.x, corvalin ? 800 : 100);
    EXPECT_EQ(at.y, corvalin ? 480 : 100);
  }
  g_boardIsCorvalin = 0;
}

TEST_F(MainTimer, BlinkAfterAChange_ThreeBlinksThenSteady_StripOpenSteady) {
  DlgMain& main = Open();
  main.SetBlinkCount(6);
  const bool shown[] = {false, true, false, true, false, true, true, true};
  for (size_t i = 0; i < sizeof shown / sizeof shown[0]; ++i) {
    main.Tick();
    EXPECT_EQ(Shown(DlgMain::kMode), shown[i]) << "tick " << i + 1;
  }
  EXPECT_EQ(main.BlinkCount(), 0);
  main.SetBlinkCount(7);
  main.Tick();
  EXPECT_TRUE(Shown(DlgMain::kMode));
  EXPECT_EQ(main.BlinkCount(), 7);
}

TEST_F(MainTimer, ExitRequest_EndsTheScreen_WifiHandshakeAnswered) {
  panel::ScopedVirtualClock clock;
  CSystemData& r = *GetSystemData();
  r.m_wifiJobState = 1;
  int32_t handshake = 0;
  panel::ScriptedInput script;
  script.Wait(600);
  script.Then([&] {
    handshake = r.m_wifiJobState;
    r.m_exitRequest = 1;
  });
  script.Wait(600);
  DlgMain main;
  EXPECT_EQ(main.DoModal(), IDOK);
  EXPECT_EQ(handshake, 2);
}

// The timer keeps running under a pop-up: the alive counters stay clear while the user edits.
TEST_F(MainTimer, RunsWhileAPopupIsOpen) {
  panel::ScopedVirtualClock clock;
  panel::SetAvailPhysOverride(4000000);
  int32_t ticksAtOpen = 0, ticksLater = 0, counter2 = -1, counter3 = -1;
  DlgMain main;
  panel::ScriptedInput script;
  script.Then([&] {
    POINT p = CentreOf(main.m_hWnd, DlgMain::kPower);
    panel::TapAt(p.x, p.y);  // a running system asks first
  });
  script.Then([&] {
    ticksAtOpen = main.TickCount();
    AliveCounters[2] = 40;
    AliveCounters[3] = 40;
  });
  script.Wait(5000);
  script.Then([&] {
    ticksLater = main.TickCount();
    counter2 = AliveCounters[2];
    counter3 = AliveCounters[3];
    POINT p = CentreOf(GetActiveWindow(), DlgValue::kCancel);
    panel::TapAt(p.x, p.y);
  });
  script.Then([&] { main.EndDialog(IDCANCEL); });
  main.DoModal();
  EXPECT_EQ(ticksLater - ticksAtOpen, 10);
  EXPECT_EQ(counter2, 0);
  EXPECT_EQ(counter3, 0);
  EXPECT_EQ(GetSystemData()->m_systemSwitch, 1);  // cancelled
}

// The launcher's side: this test program started again as a program with a window titled
// "Brimcourt" that writes what the status message carried into the board root and ends.
const UINT kStatusMessage = 0x7E8;

LRESULT LauncherProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == kStatusMessage) {
    std::ofstream(std::string(std::getenv("PANEL_ROOT")) + "/status.txt") << w << " " << l << "\n";
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

TEST(MainTimerPeer, LauncherWindow) {
  if (!std::getenv("QUELLORA_LAUNCHER_PEER")) GTEST_SKIP() << "the launcher of StatusMessage_ReachesTheLauncher";
  panel::UseDisplay("headless");
  WNDCLASSW wc{};
  wc.lpfnWndProc = LauncherProc;
  wc.lpszClassName = u"Launcher";
  RegisterClassW(&wc);
  CreateWindowExW(0, u"Launcher", u"Brimcourt", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetTimer(nullptr, 1, 20000, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
}

TEST_F(MainTimer, StatusMessage_ReachesTheLauncherInAnotherProgram) {
  DlgMain& main = Open();
  main.Tick();  // no launcher: nothing is sent, nothing waits

  const pid_t pid = testing_support::StartPeer("MainTimerPeer.LauncherWindow", "QUELLORA_LAUNCHER_PEER=1");
  ASSERT_NE(pid, 0);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (!FindWindowW(nullptr, u"Brimcourt") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ASSERT_NE(FindWindowW(nullptr, u"Brimcourt"), nullptr);
  main.Tick();
  int status = -1;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  std::ifstream in(m_root / "status.txt");
  unsigned long wParam = 0, lParam = 0;
  in >> wParam >> lParam;
  EXPECT_EQ(wParam, 205ul + (3ul << 24));
  EXPECT_EQ(lParam, 110ul);
}

// ---- refresh

TEST_F(MainRefresh, Temperatures_FailedSensorShowsDashes) {
  struct Case {
    float value;
    const char16_t* text;
  };
  const Case cases[] = {{21.5f, u"21.5℃"}, {-97.9f, u"-97.9℃"}, {-98.0f, u"--"}, {-99.0f, u"--"}};
  DlgMain& main = Open();
  CSystemData& r = *GetSystemData();
  r.m_demandFlags = 0x1;
  for (const Case& c : cases) {
    SCOPED_TRACE(CString(c.text).ToUtf8());
    r.m_roomTemp = c.value;
    r.m_tankTemp = c.value;
    main.Tick();
    EXPECT_EQ(TextOf(DlgMain::kRoomTemp), CString(c.text));
    EXPECT_EQ(TextOf(DlgMain::kTankTemp), CString(c.text));
    EXPECT_EQ(TextOf(DlgMain::kHotWaterValue), CString(c.text));
  }
}

TEST_F(MainRefresh, ClockAmbientCompressorAndCircuits) {
  DlgMain& main = Open();
  CSystemData& r = *GetSystemData();
  g_clock.wYear = 2026;
  g_clock.wMonth = 12;
  g_clock.wDay = 8;
  g_clock.wHour = 9;
  g_clock.wMinute = 5;
  r.m_ambientTemp = 5.0f;
  r.m_compressorHz = 52;
  r.m_demandFlags = 0x1 | 0x2;
  r.m_tankTemp = 48.0f;
  r.m_hwTarget = 50;
  r.m_heatCtrlTemp = 35.04f;
  r.m_heatTarget = 38.9f;
  main.Tick();
  EXPECT_EQ(TextOf(DlgMain::kClock), CString(u"8.12.2026 09:05"));
  EXPECT_EQ(TextOf(DlgMain::kAmbientTemp), CString(u"5.0℃"));
  EXPECT_EQ(TextOf(DlgMain::kCompressor), CString(u"Comp:52Hz"));
  EXPECT_EQ(TextOf(DlgMain::kHotWaterValue), CString(u"48.0℃"));
  EXPECT_EQ(TextOf(DlgMain::kHotWaterTarget), CString(u"50℃"));
  EXPECT_EQ(TextOf(DlgMain::kHeatingValue), CString(u"35.0℃"));
  EXPECT_EQ(TextOf(DlgMain::kHeatingTarget), CString(u"38℃"));
  for (int id : {1045, 1047, 1012, 1015, 1046, 1048, 1013, 1017}) EXPECT_TRUE(Shown(id)) << id;

  r.m_outdoorPowerOut = 1;
  r.m_demandFlags = 0x4;
  r.m_coolCtrlTemp = 12.0f;
  r.m_coolTarget = 7.0f;
  main.Tick();
  EXPECT_EQ(TextOf(DlgMain::kAmbientTemp), CString(u"--"));
  EXPECT_EQ(TextOf(DlgMain::kHeatingValue), CString(u"12.0℃"));
  EXPECT_EQ(TextOf(DlgMain::kHeatingTarget), CString(u"7℃"));
  for (int id : {1045, 1047, 1012, 1015}) EXPECT_FALSE(Shown(id)) << id;

  r.m_demandFlags = 0;
  main.Tick();
  for (int id : {1046, 1048, 1013, 1017}) EXPECT_FALSE(Shown(id)) << id;
}

// Before a unit's first reply the record holds only zeros for it: its readings show "--", as a failed
// sensor's do, and the other unit's show as measured.
TEST_F(MainRefresh, Readings_DashesUntilTheirUnitHasAnswered) {
  struct Case {
    const char* name;
    uint32_t answered;
    const char16_t* room;
    const char16_t* ambient;
    const char16_t* compressor;
    const char16_t* heatingValue;
  };
  const Case cases[] = {
      {"neither", 0, u"--", u"--", u"Comp:--", u"--"},
      {"indoor only", kIndoorAnswered, u"21.5℃", u"--", u"Comp:--", u"35.0℃"},
      {"outdoor only", kOutdoorAnswered, u"--", u"5.0℃", u"Comp:52Hz", u"--"},
      {"both", kIndoorAnswered | kOutdoorAnswered, u"21.5℃", u"5.0℃", u"Comp:52Hz", u"35.0℃"},
  };
  DlgMain& main = Open();
  CSystemData& r = *GetSystemData();
  r.m_demandFlags = 0x1 | 0x2;
  r.m_roomTemp = 21.5f;
  r.m_tankTemp = 48.0f;
  r.m_ambientTemp = 5.0f;
  r.m_compressorHz = 52;
  r.m_heatCtrlTemp = 35.0f;
  r.m_hwTarget = 50;
  r.m_heatTarget = 38.0f;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_unitsAnswered = c.answered;
    main.Tick();
    EXPECT_EQ(TextOf(DlgMain::kRoomTemp), CString(c.room));
    EXPECT_EQ(TextOf(DlgMain::kTankTemp), CString(c.answered & kIndoorAnswered ? u"48.0℃" : u"--"));
    EXPECT_EQ(TextOf(DlgMain::kHotWaterValue), CString(c.answered & kIndoorAnswered ? u"48.0℃" : u"--"));
    EXPECT_EQ(TextOf(DlgMain::kAmbientTemp), CString(c.ambient));
    EXPECT_EQ(TextOf(DlgMain::kCompressor), CString(c.compressor));
    EXPECT_EQ(TextOf(DlgMain::kHeatingValue), CString(c.heatingValue));
    // Targets are the engine's own, not readings.
    EXPECT_EQ(TextOf(DlgMain::kHotWaterTarget), CString(u"50℃"));
    EXPECT_EQ(TextOf(DlgMain::kHeatingTarget), CString(u"38℃"));
  }
}

// The two-circuit layout's room, tank and circuit temperatures are the indoor unit's too.
TEST_F(MainRefresh, TwoCircuitLayout_IndoorReadingsDashesUntilTheIndoorUnitAnswered) {
  SetDealer(3);
  CSystemData& r = *GetSystemData();
  r.m_unitsAnswered = kOutdoorAnswered;
  r.m_demandFlags = 0x1;
  r.m_roomTemp = 21.5f;
  r.m_tankTemp = 48.0f;
  r.m_mix1Temp = 33.0f;
  r.m_mixTemp1Enabled = 1;
  r.m_mix2Temp = 30.0f;
  r.m_mixTemp2Enabled = 1;
  r.m_dualTempEnabled = 1;
  r.m_ambientTemp = 5.0f;
  DlgMain& main = Open();
  main.Tick();
  for (int id : {1015, 1017, 1019, 1021}) EXPECT_EQ(TextOf(id), CString(u"--")) << id;
  EXPECT_EQ(TextOf(DlgMain::kAmbientTemp), CString(u"5.0℃"));
  r.m_unitsAnswered = kIndoorAnswered | kOutdoorAnswered;
  main.Tick();
  EXPECT_EQ(TextOf(1015), CString(u"21.5℃"));
  EXPECT_EQ(TextOf(1017), CString(u"48.0℃"));
  EXPECT_EQ(TextOf(1019), CString(u"33.0℃"));
  EXPECT_EQ(TextOf(1021), CString(u"30.0℃"));
}

// The picture before the first tick: the mode button already wears the run mode's icon (never an
// unstyled face) and the circuits of the demand are shown, with nothing measured yet.
TEST_F(MainRefresh, FirstPicture_ShowsTheStateBeforeTheFirstTick) {
  CSystemData& r = *GetSystemData();
  r.m_unitsAnswered = 0;
  r.m_runMode = 1;
  r.m_demandFlags = 0x1 | 0x2;
  r.m_hwTarget = 50;
  DlgMain& main = Open();
  EXPECT_EQ(main.TickCount(), 0);
  const CButtonLayout& mode = main.Button(DlgMain::kMode)->GetLayout();
  EXPECT_EQ(mode.drawMode, 1);
  EXPECT_EQ(mode.normalFace, 228u);  // icon 22, heating
  for (int id : {1045, 1047, 1012, 1015, 1046, 1048, 1013, 1017}) EXPECT_TRUE(Shown(id)) << id;
  EXPECT_EQ(TextOf(DlgMain::kHotWaterValue), CString(u"--"));
  EXPECT_EQ(TextOf(DlgMain::kRoomTemp), CString(u"--"));
  EXPECT_EQ(TextOf(DlgMain::kAmbientTemp), CString(u"--"));
}

// The count of running heaters stands at the right of each side icon, beside its pictogram rather than
// over it, in a colour that reads on the layout's header band.
TEST_F(MainRefresh, HeaterCount_BesideTheSidePictogramsInTheHeadersColour) {
  struct Case {
    int dealer;
    COLORREF color;
  };
  for (const Case& c : {Case{0, RGB(0, 0, 1)}, Case{3, RGB(255, 255, 255)}, Case{9, RGB(255, 255, 255)}}) {
    SCOPED_TRACE(c.dealer);
    SetDealer(c.dealer);
    CSystemData& r = *GetSystemData();
    r.m_demandFlags = 0x1 | 0x8 | 0x10;  // hot water with its heater's icon, the heating heater's icon
    r.m_hwHeaterDemand = r.m_indoorOut1110 = 1;
    r.m_heatHeaterDemand = r.m_heatHeaterDemand2 = r.m_indoorOut1111 = 1;
    DlgMain& main = Open();
    main.Tick();
    panel::ClearDrawLog();
    RedrawWindow(main.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::vector<panel::DrawnText> texts = panel::DrawLog();
    const std::vector<panel::DrawnPicture> faces = panel::PictureLog();
    for (const auto& [id, count] : {std::pair<int, const char16_t*>{DlgMain::kHotWaterSideIcon, u"1"},
                                    std::pair<int, const char16_t*>{DlgMain::kHeatingSideIcon, u"2"}}) {
      SCOPED_TRACE(id);
      const HWND icon = main.GetDlgItem(id)->m_hWnd;
      const panel::DrawnText* drawn = nullptr;
      for (const panel::DrawnText& t : texts) {
        if (t.window == icon && t.text == CString(count)) drawn = &t;
      }
      const panel::DrawnPicture* face = nullptr;
      for (const panel::DrawnPicture& f : faces) {
        if (f.window == icon) face = &f;
      }
      ASSERT_NE(drawn, nullptr);
      ASSERT_NE(face, nullptr);
      EXPECT_NE(drawn->format & DT_RIGHT, 0u);
      EXPECT_EQ(drawn->color, c.color);
      EXPECT_GE(drawn->ink.left, face->rect.right) << "the count lies over the pictogram";
    }
    main.DestroyWindow();
  }
}

// Three active faults and one silent one: every 4th tick the next active one, in table order.
TEST_F(MainRefresh, FaultTicker_RotatesThroughActiveFaults_HiddenWithNone) {
  {
    FaultTableLock guard(g_engine);
    for (int i : {3, 7, 12, 20}) {
      g_engine.m_faultTable[i].m_state = FaultEntry::kActive;
      g_engine.m_faultTable[i].m_code.Format(u"E%02d", i);
      g_engine.m_faultTable[i].m_text = u"fault";
    }
    g_engine.m_faultTable[7].m_silent = 1;
    g_engine.m_faultTable[5].m_state = 9;  // still counting
  }
  DlgMain& main = Open();
  std::vector<CString> seen;
  for (int tick = 1; tick <= 16; ++tick) {
    main.Tick();
    if (tick % 4 == 0) seen.push_back(TextOf(DlgMain::kFaultTicker));
  }
  const std::vector<CString> expected = {u"E03 fault", u"E12 fault", u"E20 fault", u"E03 fault"};
  EXPECT_EQ(seen, expected);
  EXPECT_TRUE(Shown(DlgMain::kFaultTicker));
  {
    FaultTableLock guard(g_engine);
    for (FaultEntry& e : g_engine.m_faultTable) e.m_state = 0;
  }
  for (int tick = 0; tick < 4; ++tick) main.Tick();
  EXPECT_FALSE(Shown(DlgMain::kFaultTicker));
}

TEST_F(MainRefresh, UnitPictureByDealer_UnlistedHidden) {
  struct Case {
    int dealer;
    bool shown;
  };
  for (const Case& c : {Case{0, true}, Case{14, true}, Case{7, false}, Case{3, false}}) {
    SCOPED_TRACE(c.dealer);
    SetDealer(c.dealer);
    DlgMain& main = Open();
    EXPECT_EQ(Shown(DlgMain::kUnitPicture), c.shown);
    main.DestroyWindow();
  }
}

// ---- taps

TEST(MainRanges, HeatingAndCoolingLimits) {
  struct Case {
    const char* name;
    bool heating;
    int32_t limit, systemMin, systemMax;  // heating minimum or cooling maximum
    int32_t min, max;
  };
  const Case cases[] = {
      {"heating: system range above the minimum", true, 20, 25, 55, 25, 55},
      {"heating: minimum above the system minimum", true, 30, 25, 55, 30, 55},
      {"heating: system maximum below the minimum", true, 30, 20, 28, 30, 30},
      {"cooling: system range below the maximum", false, 25, 7, 20, 7, 20},
      {"cooling: maximum below the system maximum", false, 18, 7, 25, 7, 18},
      {"cooling: system minimum at the maximum", false, 18, 18, 25, 18, 18},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetRange r = c.heating ? HeatingRange(c.limit, c.systemMin, c.systemMax)
                           : CoolingRange(c.limit, c.systemMin, c.systemMax);
    EXPECT_EQ(r.min, c.min);
    EXPECT_EQ(r.max, c.max);
  }
}

TEST(MainRanges, CurveBandPoint) {
  const int32_t points[5] = {-15, -5, 0, 5, 15};
  struct Case {
    float ambient, threshold;
    int point;  // 0-based
  };
  const Case cases[] = {
      {20.0f, 0.0f, 4},   {15.1f, 0.0f, 4},   // above the last point
      {15.0f, 0.0f, 4},   {15.0f, 15.0f, 3},  // in (5, 15]: upper above the threshold, else lower
      {-4.0f, -10.0f, 2}, {-4.0f, -4.0f, 1},  // in (-5, 0]
      {-15.0f, -20.0f, 0}, {-30.0f, 0.0f, 0},  // at or below the first point
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.ambient) + " / " + std::to_string(c.threshold));
    EXPECT_EQ(CurveBandPoint(points, 5, c.ambient, c.threshold), c.point);
  }
}

// A tap on a set point opens the editor with its title and limits; a long hold on "+" or "-" finds
// the limit, and the field changes only on OK.
TEST_F(MainTaps, SetPointOpensTheEditor_WritesOnlyOnOk) {
  panel::ScopedVirtualClock clock;
  CSystemData& r = *GetSystemData();
  struct Case {
    const char* name;
    int dealer;
    uint16_t demand;
    int label;
    int32_t* field;
    int32_t start;
    int button;  // held: kPlus or kMinus; 0 = Cancel without a change
    const char16_t* caption;
    int32_t expected;
  };
  const Case cases[] = {
      {"tank, dealer 0: hot water 25..75", 0, 0, DlgMain::kTankTemp, &r.m_hotWaterSetTemp, 50, DlgValue::kPlus,
       u"Hot water:50℃", 75},
      {"tank, cancelled", 0, 0, DlgMain::kTankTemp, &r.m_hotWaterSetTemp, 50, 0, u"Hot water:50℃", 50},
      {"room, dealer 0: quick correction -3..3", 0, 0, DlgMain::kRoomTemp, &r.m_curve1QuickAdjust, 0,
       DlgValue::kMinus, u"Curve 1:0℃", -3},
      {"heating value: heating range 1", 0, 0x2, DlgMain::kHeatingValue, &r.m_heatSetTemp, 40, DlgValue::kPlus,
       u"Heat set:40℃", 55},
      {"heating target in cooling: cooling range 1", 0, 0x4, DlgMain::kHeatingTarget, &r.m_coolSetTemp, 22,
       DlgValue::kMinus, u"Cool set:22℃", 20},
      {"hot-water target, dealer 9: hot water", 9, 0x1, DlgMain::kHotWaterTarget, &r.m_hotWaterSetTemp, 48,
       DlgValue::kMinus, u"Hot water:48℃", 25},
      {"dealer 3, circuit 1 heating curve off: heating range 1", 3, 0x2, DlgMain::kCircuit1, &r.m_heatSetTemp, 40,
       DlgValue::kMinus, u"Heat set:40℃", 25},
      {"dealer 3, circuit 1 heating curve, ambient 2: point 3", 3, 0x2, DlgMain::kCircuit1, &r.m_curveWater[2], 40,
       DlgValue::kPlus, u"Heat point 3:40℃", 55},
      {"dealer 3, circuit 1 cooling curve, ambient 2: point 1", 3, 0x4, DlgMain::kCircuit1, &r.m_coolCurveWater[0],
       12, DlgValue::kMinus, u"Cool point 1:12℃", 5},
      {"dealer 15, circuit 2 dual cooling curve: point 1", 15, 0x4, DlgMain::kCircuit2, &r.m_dualCoolCurveWater[0],
       12, DlgValue::kPlus, u"Dual cool point 1:12℃", 25},
      {"dealer 3, tank label with hot water: hot water", 3, 0x1, DlgMain::kHeatingTarget, &r.m_hotWaterSetTemp, 48,
       DlgValue::kPlus, u"Hot water:48℃", 75},
      {"dealer 3, room label, correction on, cooling: cool room", 3, 0x4, DlgMain::kHotWaterTarget,
       &r.m_coolRoomSetTemp, 26, DlgValue::kPlus, u"Cool room:26℃", 35},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetDealer(c.dealer);
    r.m_demandFlags = c.demand;
    r.m_heatSetMin = 25;
    r.m_system1MinSetTemp = 20;
    r.m_system1MaxSetTemp = 55;
    r.m_system2MinSetTemp = 20;
    r.m_system2MaxSetTemp = 50;
    r.m_coolSetMax = 25;
    r.m_coolSetMin = 5;
    r.m_curveEnabled = c.field == &r.m_curveWater[2];
    r.m_coolCurveEnabled = 1;
    r.m_dualTempEnabled = 1;
    r.m_dualCoolCurveEnabled = 1;
    r.m_curveCorrectionEnabled = 1;
    for (int i = 0; i < 5; ++i) r.m_curveAmbient[i] = -15 + 7 * i;  // -15 -8 -1 6 13
    for (int i = 0; i < 3; ++i) r.m_coolCurveAmbient[i] = 20 + 10 * i;  // 20 30 40
    r.m_ambientTempA = c.demand == 0x4 ? 25.0f : 2.0f;
    r.m_ambientThreshold = 30.0f;
    *c.field = c.start;
    const int32_t before = *c.field;
    CString caption;
    int32_t during = 0;
    DlgMain main;
    panel::ScriptedInput script;
    script.Wait(600);  // one refresh shows the state's labels
    script.Then([&] {
      POINT p = CentreOf(main.m_hWnd, c.label);
      panel::TapAt(p.x, p.y);
    });
    script.Then([&] {
      HWND editor = GetActiveWindow();
      WCHAR text[64] = {};
      GetDlgItemTextW(editor, DlgValue::kTitle, text, 64);
      caption = text;
      if (c.button) {
        POINT p = CentreOf(editor, c.button);
        panel::PressAt(p.x, p.y);
      }
    });
    script.Wait(10000);
    script.Then([&] {
      HWND editor = GetActiveWindow();
      during = *c.field;
      POINT p = CentreOf(editor, c.button ? c.button : DlgValue::kCancel);
      panel::ReleaseAt(p.x, p.y);
      if (c.button) {
        p = CentreOf(editor, DlgValue::kOk);
        panel::TapAt(p.x, p.y);
      }
    });
    script.Then([&] { main.EndDialog(IDCANCEL); });
    main.DoModal();
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(caption.ToUtf8(), CString(c.caption).ToUtf8());
    EXPECT_EQ(during, before);  // nothing written while the editor is open
    EXPECT_EQ(*c.field, c.expected);
  }
}

TEST_F(MainTaps, Power_RunningSystemAsksFirst_StoppedSystemSwitchesOnAtOnce) {
  panel::ScopedVirtualClock clock;
  CSystemData& r = *GetSystemData();
  struct Case {
    const char* name;
    int32_t switchBefore;
    int answer;  // the question's button; 0: no question expected
    int32_t switchAfter;
    int32_t boostAfter;
    int32_t blink;
  };
  const Case cases[] = {
      {"on, OK: off", 1, DlgValue::kOk, 0, 0, 6},
      {"on, Cancel: stays", 1, DlgValue::kCancel, 1, 1, 0},
      {"off: on at once", 0, 0, 1, 1, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_systemSwitch = c.switchBefore;
    r.m_hwBoost = 1;
    bool asked = false;
    CString question;
    int32_t blink = -1;
    int checked = -1;
    DlgMain main;
    panel::ScriptedInput script;
    script.Then([&] {
      POINT p = CentreOf(main.m_hWnd, DlgMain::kPower);
      panel::TapAt(p.x, p.y);
    });
    script.Then([&] {
      HWND top = GetActiveWindow();
      asked = top && GetDlgItem(top, 1052) != nullptr;
      if (!asked) return;
      WCHAR text[64] = {};
      GetDlgItemTextW(top, 1052, text, 64);
      question = text;
      POINT p = CentreOf(top, c.answer);
      panel::TapAt(p.x, p.y);
    });
    script.Then([&] {
      blink = main.BlinkCount();
      checked = main.Button(DlgMain::kPower)->GetCheck();
      main.EndDialog(IDCANCEL);
    });
    main.DoModal();
    EXPECT_EQ(asked, c.answer != 0);
    if (c.answer) {
      EXPECT_EQ(question, CString(u"Switch the system off?"));
    }
    EXPECT_EQ(r.m_systemSwitch, c.switchAfter);
    EXPECT_EQ(r.m_hwBoost, c.boostAfter);
    EXPECT_EQ(blink, c.blink);
    EXPECT_EQ(checked, c.switchAfter);
  }
}

}  // namespace
