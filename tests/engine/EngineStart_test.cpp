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
#include <cstring>
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
#include "IndoorBlock.h"
#include "InputMapping.h"
#include "LineServer.h"
#include "OutdoorBlock.h"
#include "PtyPair.h"
#include "UnitSimulator.h"
#include "WifiBlock.h"
#include "WifiLine.h"
#include "WifiModule.h"

namespace {

using Request = unitsim::RtuSlave::Request;
using enginetest::DeliveredDb;
using enginetest::RawDb;

const int kBusPort = 5;
const char16_t kBusName[] = u"COM5";
const int kWifiPort = 1;
const char16_t kWifiName[] = u"COM1";
const int64_t kStartMs = 1772452800000LL + 15000;  // 2026-03-02 12:00:15
const uint32_t kHeatingDemand = 1u << 1;
const uint32_t kCoolingDemand = 1u << 2;

// The values a board was sent for register n (function 6), in order.
std::vector<int> WritesTo(const unitsim::RtuSlave& board, int n) {
  std::vector<int> values;
  for (const Request& q : board.Requests()) {
    if (q.function == 6 && q.address == n - 1) values.push_back(q.values[0]);
  }
  return values;
}

// Every single write a board was sent.
size_t Writes(const unitsim::RtuSlave& board) {
  size_t n = 0;
  for (const Request& q : board.Requests()) n += q.function == 6;
  return n;
}

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
    busServer.SetClock([this] { return clock.MonotonicMs(); });  // a late board answers on the virtual clock
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
  bool BothAnswered() { return r().m_unitsAnswered == (kIndoorAnswered | kOutdoorAnswered); }
  // The minute log holds one row for each minute from the start's on (12:00, 12:01, ...), each with
  // these values in these columns.
  void ExpectMinuteRows(const std::string& columns, size_t count, const std::vector<std::string>& values) {
    auto rows = raw.Rows("select TM, " + columns + " from t_RealHP order by TM");
    const int64_t firstMinute = kStartMs / 1000 - 15;
    ASSERT_EQ(rows.size(), count);
    for (size_t i = 0; i < rows.size(); ++i) {
      SCOPED_TRACE(i);
      std::vector<std::string> want = {std::to_string(firstMinute + 60 * static_cast<int64_t>(i))};
      want.insert(want.end(), values.begin(), values.end());
      EXPECT_EQ(rows[i], want);
    }
  }

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

  ExpectMinuteRows("TankTemp, HeatCoolTemp, AmbientTemp", 3, {"47.0", "24.0", "-15.0"});  // 12:00 to 12:02
}

// Automatic mode by the outdoor air at +30 degrees, the outdoor board answering ten seconds after the
// indoor one: cooling is chosen from the outdoor unit's first reply on, never heating on the record's 0
// degrees before it (which a bus poll landing between the engine's inputs and its outputs would send
// to the unit for one bus period), and the unit runs in cooling within minutes of the start.
TEST_F(EngineStartTest, HotStartInAutoMode_ChoosesCoolingNotHeating) {
  Set(3, 4);  // automatic
  Set(5, 0);  // no hot water, so the cooling alone drives the unit
  Set(7, 1);  // cooling available
  Set(8, 1);  // chosen by the outdoor air
  Set(175, 0);  // the three-way valve switches at once
  sim.Outdoor().SetAmbient(30.0);
  sim.Indoor().SetTemperature(1202, 30.0);
  sim.DropOutdoor(true);
  Start();
  Tally cooling, heating;
  RunCycles(180, [&] {
    const CSystemData& d = r();
    if (d.m_uptimeSeconds == 10) sim.DropOutdoor(false);
    heating.Check(!(d.m_demandFlags & kHeatingDemand) && d.m_activeMode != 1, d,
                  "heating at " + std::to_string(d.m_ambientTemp) + " degrees");
    if (d.m_outdoorVersion == 0) return;
    const uint32_t demand = d.m_demandFlags & (kHeatingDemand | kCoolingDemand);
    cooling.Check(demand == kCoolingDemand, d, "demand bits " + std::to_string(demand));
  });
  EXPECT_EQ(heating.failed, 0) << heating.first;
  EXPECT_EQ(cooling.failed, 0) << cooling.first;
  EXPECT_GE(cooling.checked, 165);
  EXPECT_EQ(sim.Outdoor().Reg(4000), 1) << "the outdoor unit's mode word: cooling";
  EXPECT_GT(sim.Outdoor().Reg(2000), 0) << "the compressor runs";
  EXPECT_EQ(WritesTo(sim.Outdoor(), 4000), std::vector<int>{1}) << "the mode word went out once, as cooling";
}

// A start with the tank above its restart point (set point 50, restart difference 5): from the record's
// zeros of the first seconds the tank would read empty, and a hot-water request would be latched that
// the full tank never ends, bringing the tank heater in ten minutes later. Nothing is decided, written or
// latched before both units have answered; then the control runs on what they sent.
TEST_F(EngineStartTest, ColdStartWithAFullTank_NothingDecidedBeforeBothUnitsAnswered) {
  sim.Indoor().SetTemperature(1201, 49.6);
  Start();
  Tally quiet, hotWater;
  int heldCycles = 0;
  RunCycles(12 * 60, [&] {
    const CSystemData& d = r();
    if (!BothAnswered()) {
      ++heldCycles;
      quiet.Check(Writes(sim.Indoor()) == 0 && Writes(sim.Outdoor()) == 0, d, "a unit written to");
      quiet.Check(d.m_demandFlags == 0 && d.m_activeMode == 0 && d.m_valveTarget == 0, d, "the control ran");
    }
    hotWater.Check(d.m_hwRequest == 0 && d.m_hwHeaterDemand == 0 && d.m_hwHeaterDemand2 == 0, d,
                   "hot water requested with the tank at " + std::to_string(d.m_tankTemp));
  });
  EXPECT_GE(heldCycles, 3) << "the first bus pass comes 2 s after the start";
  EXPECT_EQ(quiet.failed, 0) << quiet.first;
  EXPECT_EQ(hotWater.failed, 0) << hotWater.first;
  for (int heater : {1109, 1110, 1111}) {
    const std::vector<int> sent = WritesTo(sim.Indoor(), heater);
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 1), 0) << "heater " << heater;
  }
  EXPECT_GT(sim.Outdoor().Reg(2000), 0) << "heating runs, on the water's 24 degrees";
  EXPECT_EQ(WritesTo(sim.Outdoor(), 4000), std::vector<int>{2});
}

// The outdoor unit off the bus from the start (switched off, unplugged or at a wrong address): the minute
// log keeps a row every minute, with the indoor unit's values as measured and the outdoor columns empty,
// and the ambient averages stay unfilled.
TEST_F(EngineStartTest, OutdoorSilentFromTheStart_MinuteRowsWithTheIndoorValues) {
  sim.DropOutdoor(true);
  Start();
  RunCycles(4 * 60 + 30);  // to 12:04:45
  EXPECT_TRUE(r().m_statusBits & (1u << 18)) << "its link fault";
  EXPECT_EQ(r().m_averagesReady, 0);
  ExpectMinuteRows("TankTemp, HeatCoolTemp, AmbientTemp, CompressorHz", 5, {"47.0", "24.0", "0.0", "0"});
}

// A loaded line: now one board, now the other answers late, so that its reply, good CRC and all, comes into
// the read window of the next exchange, which may be the other unit's block of the same 65 bytes. Every
// reading keeps the value its own unit sent (the simulator's values stand still here).
TEST_F(EngineStartTest, LateRepliesOnTheLine_EveryReadingStaysItsUnitsOwn) {
  Start();
  RunCycles(30);
  struct Phase {
    int indoorMs;
    int outdoorMs;
  };
  // Past the master's wait of about 0.4 s, and a little late within it; then the other way round.
  const Phase phases[] = {{150, 1650}, {1650, 150}, {0, 0}, {150, 1900}, {1900, 150}, {300, 300}};
  Tally plausible;
  int phase = 0;
  int32_t lowest1 = 100, lowest2 = 100;
  RunCycles(12 * 60, [&] {
    const CSystemData& d = r();
    lowest1 = std::min(lowest1, d.m_linkQuality1);
    lowest2 = std::min(lowest2, d.m_linkQuality2);
    if (d.m_uptimeSeconds % 120 == 0) {
      const Phase& p = phases[phase++ % 6];
      sim.SetIndoorLateMs(p.indoorMs);
      sim.SetOutdoorLateMs(p.outdoorMs);
    }
    auto near = [](float value, float want) { return value > want - 1.0f && value < want + 1.0f; };
    plausible.Check(near(d.m_tankTemp, 47.0f) && near(d.m_heatCoolTemp, 24.0f) && near(d.m_outletTemp, 35.0f) &&
                        near(d.m_inletTemp, 30.0f) && near(d.m_roomTemp, 21.5f) && near(d.m_coilTemp, 6.0f) &&
                        near(d.m_ambientTemp, 7.0f) && near(d.m_ambientTempA, 7.0f),
                    d,
                    "tank " + std::to_string(d.m_tankTemp) + ", TH " + std::to_string(d.m_heatCoolTemp) + ", outlet " +
                        std::to_string(d.m_outletTemp) + ", ambient " + std::to_string(d.m_ambientTemp));
  });
  EXPECT_EQ(plausible.failed, 0) << plausible.first << " (" << plausible.failed << " seconds)";
  // Each unit's late replies were refused, and counted as failed exchanges.
  EXPECT_LT(lowest1, 100);
  EXPECT_LT(lowest2, 100);
}

// Ten minutes without the outdoor unit while its compressor ran; the unit restarts meanwhile, its command
// words back at 0. When it answers again nothing the terminal wanted before the outage may reach it (the
// old gear, then the fresh 0, then a new gear would start the compressor twice within a minute): the
// first write follows the engine's first second on the unit's fresh reply. The unit comes back on a poll
// that also re-reads its command words, as every fifth poll does.
TEST_F(EngineStartTest, OutdoorOutageWhileRunning_NothingFromBeforeItIsWrittenBack) {
  Set(3, 1);    // heating only
  Set(30, 0);   // no weather curve: the set point 35
  Set(175, 0);  // the three-way valve switches at once
  for (int reg : {1202, 1203, 1204}) sim.Indoor().SetTemperature(reg, 20.0);
  Start();
  RunCycles(120);
  const std::vector<int> gears = WritesTo(sim.Outdoor(), 2000);
  ASSERT_FALSE(gears.empty());
  ASSERT_GT(gears.back(), 0) << "the compressor runs";

  sim.DropOutdoor(true);
  sim.Outdoor().SetReg(2000, 0);
  sim.Outdoor().SetReg(4000, 0);
  RunCycles(10 * 60);
  ASSERT_TRUE(r().m_statusBits & (1u << 18)) << "the outage is seen";
  const CPortDevice* device = busPort->FindDevice(2);
  ASSERT_NE(device, nullptr);
  size_t sentBefore = 0, sentAtFresh = 0;
  bool back = false, fresh = false;
  std::vector<int> commanded;
  RunCycles(3 * 60, [&] {
    const CSystemData& d = r();
    if (!back && device->TickCount() % 5 == 0) {  // the next outdoor poll re-reads 2000-2019
      sim.DropOutdoor(false);
      back = true;
      sentBefore = sim.Outdoor().Requests().size();
      return;
    }
    if (back && !fresh && d.m_linkHistory2[kLinkWindow - 1] == 1) {
      fresh = true;
      sentAtFresh = sim.Outdoor().Requests().size();
    }
    if (fresh) commanded.push_back(d.m_outdoorCmd2000);
  });
  ASSERT_TRUE(fresh);
  const std::vector<Request>& sent = sim.Outdoor().Requests();
  std::string early;
  for (size_t i = sentBefore; i < sentAtFresh; ++i) {
    if (sent[i].function == 6) early += std::to_string(sent[i].address + 1) + "=" + std::to_string(sent[i].values[0]) + " ";
  }
  EXPECT_EQ(early, "") << "written before the engine had seen the unit's fresh reply";
  int starts = 0, gear = 0;
  for (size_t i = sentAtFresh; i < sent.size(); ++i) {
    if (sent[i].function != 6 || sent[i].address != 1999) continue;
    const int value = sent[i].values[0];
    EXPECT_NE(std::find(commanded.begin(), commanded.end(), value), commanded.end()) << "gear " << value;
    starts += gear == 0 && value > 0;
    gear = value;
  }
  EXPECT_LE(starts, 1);
}

// The indoor board answers only 30 seconds after the start: no status block goes to the server before
// it has, so the first one, and every one after, carries the tank's 47 degrees, not the record's 0.
TEST_F(EngineStartTest, IndoorUnitLate_FirstStatusUploadCarriesItsValues) {
  Set(206, 1);  // the WiFi module is there
  wifiPasses = true;
  sim.DropIndoor(true);
  Start();
  RunCycles(90, [&] {
    if (r().m_uptimeSeconds == 30) sim.DropIndoor(false);
  });
  int statusBlocks = 0;
  for (const wifisim::Upload& u : server.Uploads()) {
    if (u.kind != 1) continue;
    ++statusBlocks;
    ASSERT_GE(u.words.size(), 9u);
    float tank;
    std::memcpy(&tank, &u.words[8], sizeof(tank));
    EXPECT_EQ(tank, 47.0f) << "status block " << statusBlocks;
  }
  EXPECT_GE(statusBlocks, 2);
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
