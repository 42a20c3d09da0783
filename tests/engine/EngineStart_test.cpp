// The engine's first minutes as the program starts it: its start-up opens the unit bus and the WiFi line
// on pseudo-terminals whose far sides are the unit simulator and the simulated WiFi module with its server;
// the test then runs, in time order on a virtual clock, what the program's threads would: the bus port's
// pass every 2 s, the WiFi port's every 20 ms and the engine's tick every 500 ms. Each peer answers inside
// the terminal's sleeps, so every exchange is deterministic and minutes of running take about a second.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "BusTestLine.h"
#include "CCommManager.h"
#include "CControlEngine.h"
#include "CSerialPort.h"
#include "CWifiDevice.h"
#include "CloudServer.h"
#include "DeliveredDb.h"
#include "LineServer.h"
#include "OutdoorBlock.h"
#include "PtyPair.h"
#include "UnitSimulator.h"
#include "WifiBlock.h"
#include "WifiLine.h"
#include "WifiModule.h"

namespace {

using enginetest::DeliveredDb;
using enginetest::RawDb;

const int kBusPort = 5;
const char16_t kBusName[] = u"COM5";
const int kWifiPort = 1;
const char16_t kWifiName[] = u"COM1";
const int64_t kStartMs = 1772452800000LL + 15000;  // 2026-03-02 12:00:15
const uint32_t kHeatingDemand = 1u << 1;
const uint32_t kCoolingDemand = 1u << 2;

// Virtual time that the test's own thread moves by sleeping, serving the peers as each sleep begins and
// ends; the engine's other threads (the watchdog, the ports' until they are stopped) sleep until it has.
class DrivenClock : public panel::VirtualClock {
public:
  DrivenClock() : VirtualClock(100000, kStartMs, false) {}
  void SleepMs(DWORD ms) override {
    if (std::this_thread::get_id() != m_driver) {
      VirtualClock::SleepMs(ms);
      return;
    }
    if (serve) serve();
    Advance(ms);
    if (serve) serve();
  }
  std::function<void()> serve;

private:
  std::thread::id m_driver = std::this_thread::get_id();
};

// The seconds a condition was checked in and those it failed in, with the first failure's text.
struct Tally {
  int checked = 0;
  int failed = 0;
  std::string first;
  void Check(bool ok, const CSystemData& d, const std::string& what) {
    ++checked;
    if (!ok && failed++ == 0) first = "second " + std::to_string(d.m_uptimeSeconds) + ": " + what;
  }
};

// A port's own pass, as its thread runs it (the tick is the port's protected override).
struct PortPass : CSerialPort {
  static void Run(CSerialPort& port) { (port.*(&PortPass::OnTick))(); }
};

class EngineStartTest : public ::testing::Test {
protected:
  void SetUp() override {
    // The parameters of a first start, with the unit bus moved to the pty's port.
    {
      auto first = std::make_unique<CControlEngine>();
      first->m_paramTable.Build(first->m_systemData);
      first->InitParams(0);
    }
    Set(123, kBusPort);
    ASSERT_TRUE(busPty.Open()) << busPty.Error();
    ASSERT_TRUE(wifiPty.Open()) << wifiPty.Error();
    const std::string root = std::filesystem::path(db.Path()).parent_path().string();
    ASSERT_TRUE(unitsim::WritePortMap(root, "COM" + std::to_string(kBusPort), busPty.SlavePath()));
    ASSERT_TRUE(unitsim::WritePortMap(root, "COM" + std::to_string(kWifiPort), wifiPty.SlavePath()));
    sim.Indoor().SetTemperature(1201, 47.0);  // tank
    sim.Indoor().SetTemperature(1202, 24.0);  // the heating water, TH
  }
  void TearDown() override {
    clock.serve = nullptr;
    clock.SetSleepAdvances(true);  // the watchdog's sleep must end for it to be stopped
    engine.reset();
    // The ports outlive an engine in the process-wide registry: each test starts from an empty one.
    g_commManager.RemoveAllPorts();
    panel::SetClock(nullptr);
  }

  void Set(int id, int value) {
    raw.Run("update t_System0 set Val='" + std::to_string(value) + "' where ID = " + std::to_string(id));
  }

  // The engine's start-up on the clock, its ports' threads then stopped: the test runs their passes.
  void Start() {
    const uint64_t busBase = bustest::WrittenTo(kBusName);
    const uint64_t wifiBase = bustest::WrittenTo(kWifiName);
    clock.serve = [this, busBase, wifiBase] {
      busServer.Serve(bustest::WrittenTo(kBusName) - busBase);
      wifiLine.Serve(bustest::WrittenTo(kWifiName) - wifiBase);
      if (!timedFrame.empty() && wifi->m_tickCount > armedAt && wifi->m_tickCount % CWifiDevice::kUploadTicks == 0) {
        // The first sleep of an upload tick is the upload's own 20 ms before its write.
        wifiLine.ToPanel(timedFrame);
        timedFrame.clear();
        uploadsBefore = server.Uploads().size();
      }
    };
    panel::SetClock(&clock);
    engine = std::make_unique<CControlEngine>();
    engine->Init();
    busPort = g_commManager.FindPort(kBusPort);
    wifiPort = g_commManager.FindPort(kWifiPort);
    ASSERT_NE(busPort, nullptr);
    ASSERT_NE(wifiPort, nullptr);
    ASSERT_EQ(busPort->IsOpen(), 1);
    ASSERT_EQ(wifiPort->IsOpen(), 1);
    StopThread(*busPort);
    StopThread(*wifiPort);
    wifi = engine->m_wifiBlock;
    const uint64_t now = clock.MonotonicMs();
    nextEngine = now + 500;
    nextBus = now + 2000;
    nextWifi = now + 20;
  }

  // Runs the program's passes in time order for that many engine cycles; after each cycle, the check.
  void RunCycles(int cycles, const std::function<void()>& afterCycle = nullptr) {
    const int32_t until = r().m_uptimeSeconds + cycles;
    while (r().m_uptimeSeconds < until) {
      const uint64_t now = clock.MonotonicMs();
      const uint64_t wifiDue = wifiPasses ? nextWifi : UINT64_MAX;
      const uint64_t next = std::min({nextBus, nextEngine, wifiDue});
      if (next > now) {
        clock.Advance(next - now);
      } else if (next == nextEngine) {
        const int32_t before = r().m_uptimeSeconds;
        engine->OnTick();
        nextEngine += 500;
        if (afterCycle && r().m_uptimeSeconds != before) afterCycle();
      } else if (next == nextBus) {
        PortPass::Run(*busPort);
        nextBus += 2000;
      } else {
        PortPass::Run(*wifiPort);
        nextWifi = clock.MonotonicMs() + 20;  // the thread's idle sleep after each pass
      }
    }
  }

  CSystemData& r() { return engine->m_systemData; }

  DeliveredDb db;
  RawDb raw{db.Path()};
  unitsim::PtyPair busPty;
  unitsim::UnitSimulator sim;
  unitsim::LineServer busServer{busPty, sim};
  unitsim::PtyPair wifiPty;
  wifisim::WifiModule module;
  wifisim::CloudServer server;
  wifisim::WifiLine wifiLine{wifiPty, module, server};
  DrivenClock clock;
  std::unique_ptr<CControlEngine> engine;
  CSerialPort* busPort = nullptr;
  CSerialPort* wifiPort = nullptr;
  WifiBlock* wifi = nullptr;
  bool wifiPasses = false;
  std::vector<uint8_t> timedFrame;  // server bytes due in the wait before the next periodic upload
  int32_t armedAt = 0;              // the link's tick when they were given
  size_t uploadsBefore = 0;
  uint64_t nextEngine = 0, nextBus = 0, nextWifi = 0;

private:
  // The thread leaves its loop once its idle sleep ends: virtual time moves on until it has.
  void StopThread(CSerialPort& port) {
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
      port.Stop();
      stopped = true;
    });
    while (!stopped) {
      clock.Advance(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stopper.join();
  }
};

// At -15 degrees outside with the water at 24: from the units' first replies on the weather curve gives
// 37 degrees (not the 31 of an outdoor average started at 0), the control temperature is the water's
// 24 degrees (not a mean over zeros), and every logged row holds what the units reported.
TEST_F(EngineStartTest, ColdStart_TargetControlTemperatureAndLogRightFromTheFirstReplies) {
  Set(3, 1);  // heating only; the weather curve is on by default
  sim.Outdoor().SetAmbient(-15.0);
  Start();
  Tally target, control;
  RunCycles(150, [&] {
    const CSystemData& d = r();
    if (d.m_outdoorVersion != 0 && (d.m_demandFlags & kHeatingDemand)) {
      target.Check(d.m_heatTarget == 37.0f, d, "target " + std::to_string(d.m_heatTarget));
    }
    if (d.m_tankTemp != 0.0f) control.Check(d.m_heatCoolTemp == 24.0f, d, "TC " + std::to_string(d.m_heatCoolTemp));
  });
  EXPECT_EQ(target.failed, 0) << target.first;
  EXPECT_GE(target.checked, 145) << "the outdoor unit answers within the first seconds";
  EXPECT_EQ(control.failed, 0) << control.first;
  EXPECT_GE(control.checked, 145) << "the indoor unit likewise";
  EXPECT_FLOAT_EQ(r().m_ambientTempA, -15.0f);
  EXPECT_FLOAT_EQ(r().m_ambientTempC, -15.0f);

  auto rows = raw.Rows("select TM, TankTemp, HeatCoolTemp, AmbientTemp from t_RealHP order by TM");
  const int64_t firstMinute = kStartMs / 1000 - 15;
  ASSERT_EQ(rows.size(), 3u) << "12:00, 12:01 and 12:02";
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i], (std::vector<std::string>{std::to_string(firstMinute + 60 * static_cast<int64_t>(i)), "47.0",
                                                 "24.0", "-15.0"}));
  }
}

// Automatic mode by the outdoor air at +30 degrees: cooling is chosen from the outdoor unit's first reply
// on, and the unit runs in cooling within minutes of the start.
TEST_F(EngineStartTest, HotStartInAutoMode_ChoosesCoolingNotHeating) {
  Set(3, 4);  // automatic
  Set(5, 0);  // no hot water, so the cooling alone drives the unit
  Set(7, 1);  // cooling available
  Set(8, 1);  // chosen by the outdoor air
  Set(175, 0);  // the three-way valve switches at once
  sim.Outdoor().SetAmbient(30.0);
  sim.Indoor().SetTemperature(1202, 30.0);
  Start();
  Tally cooling;
  RunCycles(180, [&] {
    const CSystemData& d = r();
    if (d.m_outdoorVersion == 0) return;
    const uint32_t demand = d.m_demandFlags & (kHeatingDemand | kCoolingDemand);
    cooling.Check(demand == kCoolingDemand, d, "demand bits " + std::to_string(demand));
  });
  EXPECT_EQ(cooling.failed, 0) << cooling.first;
  EXPECT_GE(cooling.checked, 175);
  EXPECT_EQ(sim.Outdoor().Reg(4000), 1) << "the outdoor unit's mode word: cooling";
  EXPECT_GT(sim.Outdoor().Reg(2000), 0) << "the compressor runs";
}

// The server writes a heating set point in the 20 ms in which the link waits before an upload: the write
// is read at the link's next tick, applied by the engine and saved.
TEST_F(EngineStartTest, ServerWriteJustBeforeAnUpload_IsApplied) {
  Set(206, 1);  // the WiFi module is there
  Set(207, 1);  // and the server may change settings
  wifiPasses = true;
  Start();
  RunCycles(5);
  ASSERT_EQ(r().m_wifiStartCountdown, 0) << "the module's set-up is done";
  ASSERT_EQ(module.CurrentMode(), wifisim::WifiModule::kTransparent);
  ASSERT_EQ(r().m_heatSetTemp, 35);

  armedAt = wifi->m_tickCount;
  timedFrame = wifisim::CloudServer::WriteValues(1, {{37, 38.0f}});  // index 37: the heating set point
  RunCycles(30);
  ASSERT_TRUE(timedFrame.empty()) << "an upload tick came: " << wifi->m_tickCount;
  EXPECT_GT(server.Uploads().size(), uploadsBefore) << "the upload went out right after the write arrived";
  EXPECT_EQ(r().m_heatSetTemp, 38);
  EXPECT_EQ(raw.Value("select Val from t_System0 where ID = 44"), "38");
}

// A rated test started while the unit heats the tank measures at the heating side: at its run step the
// unit first rests (compressor and pump off) so that the three-way valve can travel, and the working
// point is held once the valve is there, with its run time counted from then.
TEST_F(EngineStartTest, RatedTestStartedDuringHotWater_HoldsItsPointAtTheHeatingSide) {
  Set(3, 3);    // hot water only
  Set(175, 1);  // the three-way valve takes a minute to switch
  sim.Indoor().SetTemperature(1201, 40.0);  // the tank wants heat
  Start();
  RunCycles(1);
  for (int s = 0; s < 600 && !(r().m_valvePosition == 1 && sim.Outdoor().Reg(2000) > 0); ++s) RunCycles(1);
  ASSERT_EQ(r().m_valvePosition, 1) << "the valve serves the tank";
  ASSERT_GT(sim.Outdoor().Reg(2000), 0) << "the compressor runs";

  // Page 14's switch: a test of working point A.
  r().m_ratedCondition = 0;
  r().m_ratedTestStep = 0;
  r().m_ratedTestState = 0;
  r().m_ratedTestSwitch = 1;
  for (int s = 0; s < 300 && r().m_ratedTestStep != 3; ++s) RunCycles(1);
  ASSERT_EQ(r().m_ratedTestStep, 3) << "cells written, settled";

  Tally rest;
  int travelled = 0;
  RunCycles(200, [&] {
    const CSystemData& d = r();
    if (d.m_valvePosition == 2) return;
    ++travelled;
    rest.Check(d.m_outdoorCmd2000 == 0 && d.m_indoorOut1100 == 0, d, "compressor or pump on before the valve got there");
  });
  EXPECT_EQ(rest.failed, 0) << rest.first;
  ASSERT_EQ(r().m_valvePosition, 2) << "at the heating side";
  EXPECT_GE(travelled, 60) << "the valve took its switching time";
  EXPECT_LE(travelled, 140) << "the compressor's run-down and the switching time";
  EXPECT_EQ(r().m_ratedTestCounter, 0) << "the run counts from the valve's arrival";

  Tally held;
  RunCycles(60, [&] {
    const CSystemData& d = r();
    held.Check(d.m_valvePosition == 2 && d.m_outdoorCmd2000 == 4 && d.m_indoorOut1100 == 1, d, "point not held");
  });
  EXPECT_EQ(held.failed, 0) << held.first;
  EXPECT_EQ(sim.Outdoor().Reg(2000), 4);
  EXPECT_EQ(sim.Indoor().Reg(1113), 0) << "the valve's coil of the hot-water side is off";
}

// The server's writes of the outdoor unit's own settings (index 117 fan limit, 122 defrost method)
// reach the unit's cells as page 14's do: one hold, one commit, the hold ended by the unit's
// acknowledgement; a value the unit does not store is reported refused, under the setting written.
TEST_F(EngineStartTest, ServerWritesOutdoorSettings_TheUnitStoresThemOrTheyAreRefused) {
  Set(206, 1);
  Set(207, 1);
  wifiPasses = true;
  Start();
  RunCycles(5);
  ASSERT_EQ(r().m_wifiStartCountdown, 0) << "the module's set-up is done";
  ASSERT_NE(sim.Outdoor().StoredCell(3307), 68);
  const int commits = sim.Outdoor().Commits();

  wifiLine.ToPanel(wifisim::CloudServer::WriteValues(1, {{117, 95.0f}, {122, 2.0f}}));
  RunCycles(1);
  EXPECT_EQ(r().m_fanMaxSpeedPercent, 95);
  EXPECT_EQ(r().m_defrostMethod, 2);
  EXPECT_GT(r().m_outdoorSettingHold, 170);
  for (int s = 0; s < 60 && r().m_outdoorSettingHold > 0; ++s) RunCycles(1);
  EXPECT_EQ(r().m_outdoorSettingHold, 0) << "ended by the unit's acknowledgement";
  EXPECT_EQ(r().m_outdoorSettingRefused, 0);
  EXPECT_EQ(sim.Outdoor().StoredCell(3307), 68);
  EXPECT_EQ(sim.Outdoor().StoredCell(3276), 2);
  EXPECT_EQ(sim.Outdoor().Commits(), commits + 1) << "both cells in one commit";

  sim.Outdoor().RefuseCommits(100000);
  wifiLine.ToPanel(wifisim::CloudServer::WriteValues(1, {{117, 100.0f}}));
  RunCycles(185);
  EXPECT_EQ(r().m_fanMaxSpeedPercent, 100);
  EXPECT_EQ(r().m_outdoorSettingHold, 0);
  EXPECT_EQ(r().m_outdoorSettingRefused, 1) << "left for the screens to tell";
  EXPECT_EQ(r().m_outdoorSettingIndex, 117);
  EXPECT_EQ(sim.Outdoor().StoredCell(3307), 68) << "the unit kept what it had";
}

}  // namespace
