#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "CCommManager.h"
#include "CControlEngine.h"
#include "CSerialPort.h"
#include "CountdownRace.h"
#include "DeliveredDb.h"
#include "IndoorBlock.h"
#include "ModeRules.h"
#include "OutdoorBlock.h"
#include "RemoteWrites.h"
#include "SoftClock.h"
#include "UnitOutputs.h"
#include "WifiBlock.h"

namespace {

using enginetest::DeliveredDb;
using enginetest::RawDb;

// 2026-03-02 12:00:30.750 local time: each second has a tick at .250 and one at .750.
const int64_t kStartMs = 1772452830750LL;
const uint32_t kIndoorLinkFault = 1u << 17;

// The engine started on the delivered database at a fixed time of a virtual clock, with unit blocks
// that the test fills in place of the bus. Time moves only when the test advances it (the watchdog's
// thread sleeps on the same clock).
class CControlEngineCycleTest : public ::testing::Test {
protected:
  CControlEngineCycleTest() : clock(0, kStartMs, false) {
    engine->Init();
    indoor->m_linkState = 3;
    outdoor->m_linkState = 1;
    engine->m_indoorBlock = indoor.get();
    engine->m_outdoorBlock = outdoor.get();
  }
  ~CControlEngineCycleTest() override {
    clock->SetSleepAdvances(true);  // lets the threads' sleeps end, so that they can be stopped
    engine.reset();
    // The ports outlive the engine in the process-wide registry; their threads must not outlive this
    // test's clock, nor the next test find this test's ports and devices.
    g_commManager.RemoveAllPorts();
  }
  // Half a second of the engine's thread.
  void Tick() {
    clock->Advance(500);
    engine->OnTick();
  }
  void Seconds(int n) {
    for (int i = 0; i < 2 * n; ++i) Tick();
  }
  void SetClock(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t = {};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    t.wMilliseconds = 250;
    ASSERT_TRUE(SetLocalTime(&t));
  }

  panel::ScopedVirtualClock clock;
  DeliveredDb db;
  RawDb raw{db.Path()};
  std::unique_ptr<CControlEngine> engine = std::make_unique<CControlEngine>();
  CSystemData& r = engine->m_systemData;
  std::unique_ptr<IndoorBlock> indoor = std::make_unique<IndoorBlock>();
  std::unique_ptr<OutdoorBlock> outdoor = std::make_unique<OutdoorBlock>();
};

TEST_F(CControlEngineCycleTest, Init_StartsClockLogAndLinkStatistics) {
  EXPECT_EQ(g_now, kStartMs / 1000);
  EXPECT_EQ(g_clock.wSecond, 30);
  EXPECT_EQ(engine->m_nextLogTime, kStartMs / 1000 - 30);
  EXPECT_FLOAT_EQ(r.m_limitA, 15.0f);
  EXPECT_EQ(r.m_linkHistory1[0], 1);
  EXPECT_EQ(r.m_linkHistory2[119], 1);
  EXPECT_EQ(engine->m_faultTable.size(), 60u);
  EXPECT_EQ(engine->m_faultTable[59].m_code, u"S14");
  EXPECT_EQ(r.m_dataVersion, 110);
  EXPECT_EQ(engine->m_watchdog.IsEnabled(), 1);
  // The WiFi line: its own port, whether or not the line opened, with the module's device and block.
  CSerialPort* wifi = g_commManager.FindPort(1);
  ASSERT_NE(wifi, nullptr);
  EXPECT_EQ(wifi->BaudRate(), 57600);
  EXPECT_EQ(wifi->GetPeriod(), 20u);
  ASSERT_NE(engine->m_wifiBlock, nullptr);
  EXPECT_EQ(engine->m_wifiBlock, g_commManager.GetDeviceData(1, 1, 106));
}

TEST_F(CControlEngineCycleTest, TwoTicksInOneSecond_RunOneCycle) {
  Tick();  // 31.250: the first cycle of second 31
  EXPECT_EQ(r.m_uptimeSeconds, 1);
  // The watchdog's thread counts on the same clock, so a count may have gone up by one meanwhile.
  AliveCounters[0] = 7;
  Tick();  // 31.750
  engine->OnTick();
  EXPECT_EQ(r.m_uptimeSeconds, 1);
  EXPECT_GE(AliveCounters[0], 7) << "not claimed again within the second";
  Tick();  // 32.250
  EXPECT_EQ(r.m_uptimeSeconds, 2);
  EXPECT_LE(AliveCounters[0], 1) << "claimed by the new second's cycle";
}

TEST_F(CControlEngineCycleTest, RejectedClockReading_CountsErrorAndStopsCycle) {
  Tick();
  SYSTEMTIME before = g_clock;
  int64_t nowBefore = g_now;
  uint16_t errors = g_clockErrors[kClockYear];
  SetClock(2039, 1, 1, 0, 0, 5);
  Seconds(3);
  EXPECT_EQ(g_clockErrors[kClockYear], errors + 6);
  EXPECT_EQ(g_now, nowBefore);
  EXPECT_EQ(g_clock.wYear, before.wYear);
  EXPECT_EQ(r.m_uptimeSeconds, 1);
  SetClock(2026, 3, 2, 12, 5, 0);
  Tick();
  EXPECT_EQ(r.m_uptimeSeconds, 2);
  EXPECT_EQ(g_clock.wMinute, 5);
}

TEST_F(CControlEngineCycleTest, LinkFaultInFirstMinute_HoldsControlUntilSecond60) {
  engine->m_indoorBlock = nullptr;  // the device could not be added: its link is never good
  r.m_hotWaterEnabled = 1;
  r.m_runMode = 3;
  r.m_systemSwitch = 1;
  Seconds(9);
  EXPECT_EQ(r.m_demandFlags, 0) << "held: the indoor unit has not answered, its fault is being debounced";
  EXPECT_EQ(r.m_standbyState, 0);
  Seconds(1);  // tenth second: S04 active
  ASSERT_TRUE(r.m_statusBits & kIndoorLinkFault);
  EXPECT_EQ(r.m_demandFlags, 0) << "held: no control in this second";
  r.m_runMode = 0;  // settings changed during the hold are not saved while it lasts
  Seconds(49);
  EXPECT_EQ(r.m_uptimeSeconds, 59);
  EXPECT_EQ(r.m_standbyState, 0);
  EXPECT_EQ(raw.Value("select Val from t_System0 where ID = 3"), "4") << "changes wait for the hold to end";
  Seconds(1);
  EXPECT_EQ(r.m_uptimeSeconds, 60);
  EXPECT_EQ(r.m_standbyState, 1) << "the full cycle runs, stopped by the link fault";
  EXPECT_EQ(raw.Value("select Val from t_System0 where ID = 3"), "0");
}

TEST_F(CControlEngineCycleTest, NoDevices_LinkFaultsFollowAfterTheirDebounce) {
  engine->m_indoorBlock = nullptr;
  engine->m_outdoorBlock = nullptr;
  Seconds(9);
  EXPECT_FALSE(r.m_statusBits & (kIndoorLinkFault | (1u << 18)));
  Seconds(1);
  EXPECT_EQ(r.m_statusBits & (kIndoorLinkFault | (1u << 18)), kIndoorLinkFault | (1u << 18));
  EXPECT_EQ(r.m_linkQuality1, 0);
  EXPECT_EQ(r.m_heatPumpAvailable, 0) << "S05 stops the heat pump";
  EXPECT_EQ(raw.Value("select group_concat(Code) from t_HPErr"), "S04,S05");

  // A restart continues the fault IDs after the stored rows.
  auto restarted = std::make_unique<CControlEngine>();
  restarted->Init();
  EXPECT_EQ(restarted->m_systemData.m_faultSeq, 2);
  clock->SetSleepAdvances(true);
  restarted.reset();
  clock->SetSleepAdvances(false);
}

TEST_F(CControlEngineCycleTest, BothUnitsAtOneAddress_OutdoorBlockStaysEmpty) {
  // Indoor and outdoor unit set to the same address: the outdoor device is refused, and the indoor
  // unit's block must not be taken as the outdoor unit's.
  const int port = 7;
  raw.Run("update t_System0 set Val='" + std::to_string(port) + "' where ID = 123");
  raw.Run("update t_System0 set Val='2' where ID in (124, 125)");
  auto restarted = std::make_unique<CControlEngine>();
  restarted->Init();
  EXPECT_NE(restarted->m_indoorBlock, nullptr);
  EXPECT_EQ(restarted->m_outdoorBlock, nullptr);
  clock->SetSleepAdvances(true);
  restarted.reset();
  if (CSerialPort* line = g_commManager.FindPort(port)) line->Stop();
  clock->SetSleepAdvances(false);
}

TEST_F(CControlEngineCycleTest, DatabaseTablesGone_CycleKeepsRunning) {
  raw.Run("drop table t_HPErr");
  raw.Run("drop table t_RealHP");
  raw.Run("drop table t_System0");
  db.Reopen();
  engine->m_indoorBlock = nullptr;  // a fault to record
  r.m_runMode = 2;
  Seconds(70);
  EXPECT_EQ(r.m_uptimeSeconds, 70);
  EXPECT_TRUE(r.m_statusBits & kIndoorLinkFault);
  EXPECT_EQ(engine->CopyFaultTable()[49].m_state, FaultEntry::kActive);
}

TEST_F(CControlEngineCycleTest, ChangedSetting_ReachesDatabaseWithinOneSecond) {
  Seconds(1);
  r.m_runMode = 2;
  Seconds(1);
  EXPECT_EQ(raw.Value("select Val from t_System0 where ID = 3"), "2");
}

TEST_F(CControlEngineCycleTest, RunModeOff_ClearsDemandButOffBranchShowsTargets) {
  r.m_hotWaterEnabled = 1;
  r.m_heatingEnabled = 1;
  r.m_runMode = 0;
  r.m_hotWaterSetTemp = 48;
  Seconds(1);
  EXPECT_EQ(r.m_demandFlags & 7, 0);
  EXPECT_EQ(r.m_hwTarget, 48) << "the default targets are still composed";
}

// The cycle's outputs reach the unit blocks: the pump first, the compressor after 30 s of pumping, and
// everything back to rest in the second the system is switched off.
TEST_F(CControlEngineCycleTest, HeatingRequest_DrivesTheUnitsUntilSwitchedOff) {
  r.m_runMode = 1;
  r.m_curveEnabled = 0;
  r.m_heatSetTemp = 35;
  r.m_threeWaySwitchTime = 0;  // the valve reaches its side in the first second
  for (int i = 0; i < 12; ++i) indoor->m_temp1200[i] = 20.0f;  // cold water
  indoor->m_in1213 = 1;  // the flow switch closed: water flows
  outdoor->m_ambientTemp = 7.0f;
  Seconds(1);
  EXPECT_EQ(r.m_heatRequest, 1);
  EXPECT_EQ(r.m_valveTarget, 1);
  EXPECT_EQ(outdoor->m_set2000, 0) << "no compressor before the pump has run";
  // The pump starts at the end of the first second, once the valve stands at the heating side.
  Seconds(30);
  EXPECT_EQ(outdoor->m_set2000, 0);
  Seconds(1);
  EXPECT_EQ(outdoor->m_set2000, 10);
  EXPECT_EQ(outdoor->m_set4000, 2) << "heating";
  EXPECT_EQ(indoor->m_set1106, 1) << "valve coil of the heating side";

  r.m_systemSwitch = 0;
  Seconds(1);
  EXPECT_EQ(r.m_heatRequest, 0);
  EXPECT_EQ(outdoor->m_set2000, 0);
  EXPECT_EQ(r.m_activeMode, 0);
}

// A floor programme that cannot run (heating switched off, the power-cut signal, the control and
// inlet sensors failed) or that a unit-stopping fault stops (the indoor unit's link lost) leaves no
// request behind: no regulator would end it, and the compressor would heat on against a control
// temperature that nobody updates. Once the cause has gone it heats again at its stage.
TEST_F(CControlEngineCycleTest, FloorProgrammeThatCannotRun_LeavesNoRequestStanding) {
  r.m_runMode = 1;
  r.m_threeWaySwitchTime = 0;
  r.m_floorHeatEnabled = 1;
  r.m_floorHeatStage = 2;  // 72 hours at 30 degrees
  r.m_powerCutEnabled = 1;
  r.m_powerCutSignalType = 0;  // normally closed: an open contact is the power cut
  indoor->m_in1212 = 1;
  // Below the stage's 30 degrees by more than the hysteresis.
  for (int i = 0; i < 12; ++i) indoor->m_temp1200[i] = 15.0f;
  indoor->m_in1213 = 1;
  outdoor->m_ambientTemp = 7.0f;
  // Until the compressor heats again (the pump's lead and the minimum off time after a stop).
  auto heating = [&] {
    for (int i = 0; i < 1200 && outdoor->m_set2000 == 0; ++i) Seconds(1);
    return r.m_heatRequest == 1 && outdoor->m_set2000 > 0;
  };
  auto stopped = [&] { return r.m_heatRequest == 0 && r.m_heatHpRequest == 0 && outdoor->m_set2000 == 0; };

  ASSERT_TRUE(heating());
  r.m_heatingEnabled = 0;
  Seconds(1);
  EXPECT_TRUE(stopped()) << "heating switched off";
  r.m_heatingEnabled = 1;
  ASSERT_TRUE(heating());

  indoor->m_in1212 = 0;
  Seconds(1);
  EXPECT_TRUE(stopped()) << "power cut";
  indoor->m_in1212 = 1;
  ASSERT_TRUE(heating());

  indoor->m_faultBits1226 = (1u << 2) | (1u << 4);  // control and inlet sensors
  Seconds(12);
  ASSERT_EQ(r.m_statusBits & 0x28u, 0x28u);
  EXPECT_TRUE(stopped()) << "both water sensors failed";
  indoor->m_faultBits1226 = 0;
  ASSERT_TRUE(heating());

  indoor->m_linkState = 0;  // the indoor unit stops answering
  for (int i = 0; i < 300 && !(r.m_statusBits & kIndoorLinkFault); ++i) Seconds(1);
  ASSERT_TRUE(r.m_statusBits & kIndoorLinkFault);
  EXPECT_EQ(r.m_standbyState, 1);
  EXPECT_TRUE(stopped()) << "indoor link lost";
  Seconds(60);
  EXPECT_TRUE(stopped()) << "for as long as the fault lasts";
  indoor->m_linkState = 3;
  ASSERT_TRUE(heating()) << "the link back";
  EXPECT_EQ(r.m_floorHeatStage, 2);
}

// The floor programme's stage temperatures are its own: neither a holiday that was running when the
// programme was switched on nor one that begins during it lowers them (over a holiday of days the
// screed would leave its band and the programme stop with its fault). Normal heating takes the
// holiday's lower target.
TEST_F(CControlEngineCycleTest, FloorProgramme_NoHolidayLowersItsStageTemperature) {
  auto packed = [](int day, int hour, int minute) {
    return 2026u | 3u << 12 | uint32_t(day) << 16 | uint32_t(hour) << 21 | uint32_t(minute) << 26;
  };
  r.m_runMode = 1;
  r.m_curveEnabled = 0;
  r.m_heatSetTemp = 35;
  r.m_threeWaySwitchTime = 0;
  r.m_holidayEnabled = 1;
  r.m_holidayHeatTemp = 10;
  r.m_holidayStart = packed(1, 0, 0);
  r.m_holidayEnd = packed(9, 0, 0);
  // 26 degrees: below 30 less the hysteresis of 2, above the holiday's 20 plus the stop offset of 1.
  for (int i = 0; i < 12; ++i) indoor->m_temp1200[i] = 26.0f;
  indoor->m_in1213 = 1;
  outdoor->m_ambientTemp = 7.0f;
  auto heatsAtThirty = [&](const char* when) {
    SCOPED_TRACE(when);
    EXPECT_FLOAT_EQ(r.m_heatTarget, 30.0f);
    EXPECT_EQ(r.m_heatRequest, 1);
    EXPECT_EQ(r.m_holidayActive, 0) << "no holiday acts on the programme";
    EXPECT_EQ(r.m_floorHeatEnabled, 1);
  };

  Seconds(2);
  ASSERT_EQ(r.m_holidayActive, 1);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 25.0f) << "normal heating: 35 less the holiday's 10";
  r.m_floorHeatEnabled = 1;
  r.m_floorHeatStage = 2;  // 72 hours at 30 degrees
  Seconds(2);
  heatsAtThirty("holiday running when the programme was switched on");

  r.m_holidayStart = packed(2, 12, 3);  // 12:03, some two minutes ahead
  Seconds(60);
  heatsAtThirty("before the holiday");
  Seconds(120);
  ASSERT_GE(g_now, kStartMs / 1000 - 30 + 180);
  heatsAtThirty("holiday begun during the programme");
  EXPECT_EQ(r.m_floorHeatStage, 2);

  r.m_floorHeatEnabled = 0;
  Seconds(1);
  EXPECT_EQ(r.m_holidayActive, 1) << "the holiday acts again once the programme is off";
  EXPECT_FLOAT_EQ(r.m_heatTarget, 25.0f);
}

TEST_F(CControlEngineCycleTest, ClockJump_LogCatchesUpOneRowPerSecond) {
  indoor->m_temp1200[1] = 47.5f;  // tank
  Seconds(1);
  EXPECT_EQ(raw.Count("t_RealHP"), 1) << "the first row, for the minute of the start";
  SetClock(2026, 3, 2, 12, 10, 30);  // nine minutes ahead
  Seconds(12);
  EXPECT_EQ(raw.Count("t_RealHP"), 11);
  EXPECT_EQ(raw.Value("select max(TM) from t_RealHP"), std::to_string(kStartMs / 1000 - 30 + 600));
  EXPECT_EQ(raw.Value("select TankTemp from t_RealHP where TM = (select max(TM) from t_RealHP)"), "47.5");
  SetClock(2026, 3, 20, 8, 0, 30);  // more than a week ahead
  Seconds(1);
  EXPECT_EQ(raw.Count("t_RealHP"), 1) << "the week-old rows deleted, the log resumed at the current minute";
}

TEST_F(CControlEngineCycleTest, FaultStep_WaitsForScreensHoldingTheFaultLock) {
  Seconds(1);
  std::atomic<bool> done{false};
  std::thread cycle;
  {
    FaultTableLock guard(*engine);
    cycle = std::thread([&] {
      engine->ReadInputs();
      done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done) << "the engine must not change the table while a screen reads it";
  }
  cycle.join();
  EXPECT_TRUE(done);

  std::atomic<bool> built{false};
  {
    FaultTableLock guard(*engine);
    cycle = std::thread([&] {
      engine->BuildFaultTable();
      built = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(built) << "a rebuild waits as well";
  }
  cycle.join();
  EXPECT_TRUE(built);
}

TEST_F(CControlEngineCycleTest, ScreensRebuildingAndClearing_RaceWithFaultStepSafely) {
  // Faults coming and going every few seconds while the GUI thread rebuilds and clears.
  std::atomic<bool> stop{false};
  std::thread screens([&] {
    while (!stop) {
      engine->BuildFaultTable();
      engine->ClearFaultHistory();
      std::vector<FaultEntry> copy = engine->CopyFaultHistory();
      (void)copy;
    }
  });
  for (int s = 0; s < 120; ++s) {
    indoor->m_faultBits1226 = (s / 12) % 2 ? 0x38 : 0;  // TO, TI, TP sensors
    engine->ReadInputs();
  }
  stop = true;
  screens.join();
  SUCCEED();
}

// The server's writes, stored by the link on its own thread while the engine's whole second runs on
// another: after the link's last store of a round and one more second, every index holds the last
// value written to it and nothing waits in the table.
TEST_F(CControlEngineCycleTest, ServerWritesDuringTheSecond_AreAllApplied) {
  WifiBlock* wifi = engine->m_wifiBlock;
  ASSERT_NE(wifi, nullptr);
  r.m_wifiControlEnabled = 1;
  ASSERT_EQ(r.m_wifiStartCountdown, 0);
  const int kRounds = 200;
  std::atomic<int> go{-1}, written{-1};
  std::thread link([&] {
    for (int round = 0; round < kRounds; ++round) {
      while (go.load() < round) std::this_thread::yield();
      enginetest::LinkStoresRound(*wifi, round);
      written = round;
    }
  });
  int lost = 0;
  for (int round = 0; round < kRounds; ++round) {
    go = round;
    Seconds(1);  // the link stores meanwhile
    while (written.load() < round) std::this_thread::yield();
    Seconds(1);
    lost += enginetest::LostValues(r, *wifi, round);
  }
  link.join();
  EXPECT_EQ(lost, 0) << "values lost or left behind in " << kRounds << " rounds";
}

// The countdowns that a screen sets and the engine counts down (page 14's outdoor-setting hold and
// test run, the WiFi start window), on two threads: no set is lost to the engine's count, neither in
// the engine's step alone, many rounds fast, nor in its whole second.
TEST_F(CControlEngineCycleTest, CountdownsSetByAScreen_NoSetIsLostToTheEnginesCount) {
  ASSERT_NE(engine->m_wifiBlock, nullptr);
  struct Case {
    const char* name;
    std::atomic<int32_t>* word;
    int32_t start;
    std::function<void()> step;
  };
  const Case cases[] = {
      {"outdoor-setting hold", &r.m_outdoorSettingHold, 180, [&] { WriteUnitOutputs(r, nullptr, nullptr); }},
      {"test run", &r.m_testRunCountdown, 600, [&] {
         if (r.m_testRunCountdown != 0) TestRunStep(r);
       }},
      {"WiFi start window", &r.m_wifiStartCountdown, 180, [&] { engine->WifiExchange(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(enginetest::LostSets(*c.word, c.start, 50000, c.step), 0) << "the step alone";
    EXPECT_EQ(enginetest::LostSets(*c.word, c.start, 100, [&] { Seconds(1); }), 0) << "the whole second";
    c.word->store(0);
    Seconds(1);
  }
}

TEST_F(CControlEngineCycleTest, EngineThread_RunsCyclesUntilDisabled) {
  CSystemData& rec = engine->m_systemData;
  rec.m_uptimeSeconds = 0;
  ASSERT_EQ(engine->Enable(1), 1);
  EXPECT_EQ(engine->Enable(1), 1);
  for (int i = 0; i < 1000 && rec.m_uptimeSeconds < 3; ++i) {
    clock->Advance(100);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ASSERT_GE(rec.m_uptimeSeconds, 3);
  clock->SetSleepAdvances(true);
  EXPECT_EQ(engine->Enable(0), 0);
  int32_t after = rec.m_uptimeSeconds;
  EXPECT_FALSE(engine->HasThread());
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(rec.m_uptimeSeconds, after);
}

}  // namespace
