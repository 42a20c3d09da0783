#include "UnitOutputs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

#include "BackupHeat.h"
#include "BusDeviceRig.h"
#include "CParamDevice.h"
#include "CSystemData.h"
#include "CUnitDevice.h"
#include "CycleSteps.h"
#include "IndoorBlock.h"
#include "OutdoorBlock.h"
#include "OutdoorWritePass.h"

namespace {

class UnitOutputsTest : public ::testing::Test {
protected:
  UnitOutputsTest() {
    r.m_pumpOnSeconds = 60;
    r.m_indoorOut1100 = 1;  // the pump has been running for a minute
    r.m_heatTarget = 40.0f;
    r.m_heatCtrlTemp = 30.0f;  // heating: gear 10
    r.m_coolTarget = 10.0f;
    r.m_coolCtrlTemp = 20.0f;  // cooling: gear 10
    r.m_hwTarget = 50;
    r.m_tankTemp = 40.0f;
    r.m_derateCopy = 2;
    r.m_heatWaterLimit = 60;
    r.m_coilTempOut = 15.0f;  // far from freezing: no cap in cooling
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

// The valve is at the side of the wanted target before the command is computed, as the valve drive
// reports it once it has moved: position 1 for hot water, 2 for heating and cooling (layout 0).
TEST_F(UnitOutputsTest, Compose_EveryRequestCombination) {
  struct Case {
    const char* name;
    int hw, hwHp, hwHeater, hwHeater2, heat, heatHp, heatHeater, heatHeater2, cool, coolHp;
    uint16_t demand;
    int position;
    int mode, command, valve, out1109, out1110, out1111;
  };
  const Case cases[] = {
      {"hot water by the heat pump", 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, kDemandHotWater, 1, 3, 10, 3, 0, 0, 0},
      {"hot water by heater 1", 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, kDemandHotWater, 1, 0, 0, 3, 0, 1, 0},
      {"hot water heater 2", 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, kDemandHotWater, 1, 3, 10, 3, 1, 0, 0},
      {"hot water waiting, heating bit", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, kDemandHotWater | kDemandHeating, 2, 0, 0, 1, 0, 0, 0},
      {"hot water waiting", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, kDemandHotWater, 2, 0, 0, 2, 0, 0, 0},
      {"hot water before cooling", 1, 1, 0, 0, 0, 0, 0, 0, 1, 1, kDemandHotWater | kDemandCooling, 1, 3, 10, 3, 0, 0, 0},
      {"hot water heater beside cooling", 1, 0, 1, 0, 0, 0, 0, 0, 1, 1, kDemandHotWater | kDemandCooling, 1, 0, 0, 3, 0, 1, 0},
      {"cooling while hot water waits", 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, kDemandHotWater | kDemandCooling, 2, 2, 10, 2, 0, 0, 0},
      {"heating by the heat pump", 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, kDemandHeating, 2, 1, 10, 1, 0, 0, 0},
      {"heating with both heaters", 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, kDemandHeating, 2, 1, 10, 1, 0, 1, 1},
      {"heating kept, heat pump off", 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, kDemandHeating, 2, 0, 0, 1, 0, 0, 0},
      {"cooling", 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, kDemandCooling, 2, 2, 10, 2, 0, 0, 0},
      {"cooling request without heat pump", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, kDemandCooling, 2, 0, 0, 2, 0, 0, 0},
      {"nothing, heating bit", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kDemandHeating, 2, 0, 0, 1, 0, 0, 0},
      {"nothing, cooling bit", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kDemandCooling, 2, 0, 0, 2, 0, 0, 0},
      {"nothing at all", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 3, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto fresh = std::make_unique<CSystemData>(r);
    CSystemData& s = *fresh;
    s.m_hwRequest = c.hw;
    s.m_hwHpRequest = c.hwHp;
    s.m_hwHeaterDemand = c.hwHeater;
    s.m_hwHeaterDemand2 = c.hwHeater2;
    s.m_heatRequest = c.heat;
    s.m_heatHpRequest = c.heatHp;
    s.m_heatHeaterDemand = c.heatHeater;
    s.m_heatHeaterDemand2 = c.heatHeater2;
    s.m_coolRequest = c.cool;
    s.m_coolHpRequest = c.coolHp;
    s.m_demandFlags = c.demand;
    s.m_valvePosition = c.position;
    s.m_indoorOut1109 = s.m_indoorOut1110 = s.m_indoorOut1111 = 7;  // stale values
    ComposeOutputs(s);
    EXPECT_EQ(s.m_activeMode, c.mode);
    EXPECT_EQ(s.m_outdoorCmd2000, c.command);
    EXPECT_EQ(s.m_valveTarget, c.valve);
    EXPECT_EQ(s.m_indoorOut1109, c.out1109);
    EXPECT_EQ(s.m_indoorOut1110, c.out1110);
    EXPECT_EQ(s.m_indoorOut1111, c.out1111);
  }
}

TEST_F(UnitOutputsTest, Compose_GearCappedAtFiveByTheUnit) {
  r.m_heatRequest = r.m_heatHpRequest = 1;
  r.m_demandFlags = kDemandHeating;
  r.m_valvePosition = 2;
  r.m_statusBits = 0x10;
  ComposeOutputs(r);
  EXPECT_EQ(r.m_outdoorCmd2000, 5);
}

TEST_F(UnitOutputsTest, Compose_FrostProtectionByTheHeatPump) {
  r.m_frostState = 2;
  r.m_heatHpRequest = 1;
  r.m_hwRequest = 1;  // ignored while the frost protection runs
  ComposeOutputs(r);
  EXPECT_EQ(r.m_activeMode, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 10);
  r.m_lowNoiseEnabled = 1;
  for (int32_t& mask : r.m_lowNoiseTimerMask) mask = -1;
  ComposeOutputs(r);
  EXPECT_EQ(r.m_outdoorCmd2000, 7);
  EXPECT_EQ(r.m_outdoorCmd2007, 1);
}

TEST_F(UnitOutputsTest, HeaterOutput_ByKindValveAndAmbient) {
  r.m_valvePosition = 2;
  HeaterOutput(r, 4, 1);
  EXPECT_EQ(r.m_indoorOut1110, 0) << "the hot-water heater needs the hot-water side";
  HeaterOutput(r, 5, 1);
  EXPECT_EQ(r.m_indoorOut1110, 1);
  r.m_auxOffAboveAmbient = 1;
  r.m_auxOffAmbientTemp = 10;
  r.m_ambientTemp = 10.5f;
  r.m_heatHeaterDemand = 1;
  HeaterOutput(r, 5, 1);
  EXPECT_EQ(r.m_indoorOut1110, 0) << "above the ambient of the stop";
  r.m_pumpOnPowerCut = 1;
  r.m_valvePosition = 1;
  HeaterOutput(r, 3, 1);
  EXPECT_EQ(r.m_indoorOut1111, 0);
  HeaterOutput(r, 2, 1);
  EXPECT_EQ(r.m_indoorOut1109, 1);
  HeaterOutput(r, 2, 0);
  EXPECT_EQ(r.m_indoorOut1109, 0);
}

TEST_F(UnitOutputsTest, Write_BlocksOnlyWhileTheirLinkIsUp) {
  auto indoor = std::make_unique<IndoorBlock>();
  auto outdoor = std::make_unique<OutdoorBlock>();
  r.m_indoorOut1110 = 1;
  r.m_pumpType = 0;
  r.m_pumpPwm = 40;
  r.m_outdoorCmd2000 = 7;
  WriteUnitOutputs(r, indoor.get(), outdoor.get());
  EXPECT_EQ(indoor->m_set1110, 0) << "link down";
  EXPECT_EQ(outdoor->m_set2000, 0);
  WriteUnitOutputs(r, nullptr, nullptr);  // no blocks: nothing to do

  indoor->m_linkState = 1;
  outdoor->m_linkState = 1;
  WriteUnitOutputs(r, indoor.get(), outdoor.get());
  EXPECT_EQ(indoor->m_set1110, 1);
  EXPECT_EQ(indoor->m_set1100, 1) << "the DC pump is always powered";
  EXPECT_FLOAT_EQ(indoor->m_set1104, 40.0f);
  EXPECT_EQ(outdoor->m_set2000, 7);
  r.m_pumpType = 1;
  r.m_indoorOut1100 = 0;
  WriteUnitOutputs(r, indoor.get(), outdoor.get());
  EXPECT_EQ(indoor->m_set1100, 0);
  EXPECT_FLOAT_EQ(indoor->m_set1104, 0.0f);
}

TEST_F(UnitOutputsTest, Write_ModeWordPollPauseAndInlet) {
  auto outdoor = std::make_unique<OutdoorBlock>();
  outdoor->m_linkState = 1;
  struct Case {
    int mode;
    uint16_t word;
  };
  for (Case c : {Case{1, 2}, Case{2, 1}, Case{3, 2}, Case{5, 257}, Case{6, 4}, Case{7, 5}, Case{0, 5}}) {
    r.m_activeMode = c.mode;
    WriteUnitOutputs(r, nullptr, outdoor.get());
    EXPECT_EQ(outdoor->m_set4000, c.word) << c.mode;
  }
  r.m_activeMode = 1;
  r.m_defrostFailHold = 3;
  WriteUnitOutputs(r, nullptr, outdoor.get());
  EXPECT_EQ(outdoor->m_set4000, 0) << "held after failed defrosts";

  r.m_outdoorPowerOut = 1;
  WriteUnitOutputs(r, nullptr, outdoor.get());
  EXPECT_EQ(outdoor->m_pollPaused, 20);
  r.m_outdoorPowerOut = 0;
  for (int i = 19; i >= 0; --i) {
    WriteUnitOutputs(r, nullptr, outdoor.get());
    EXPECT_EQ(outdoor->m_pollPaused, i);
  }

  r.m_inletTemp = 31.5f;
  r.m_coilTempOut = -2.0f;
  r.m_statusBits = 0x20;
  WriteUnitOutputs(r, nullptr, outdoor.get());
  EXPECT_FLOAT_EQ(outdoor->m_set2006, 0.0f) << "the inlet is not sent";
  EXPECT_FLOAT_EQ(outdoor->m_set2012, -2.0f);
  r.m_statusBits = 0;
  WriteUnitOutputs(r, nullptr, outdoor.get());
  EXPECT_FLOAT_EQ(outdoor->m_set2006, 31.5f);
}

// The defrost rules hold the mode at 0 through a defrost fault and the failed-defrost hold; the unit
// must then be sent mode word 0, not the last mode it had.
TEST_F(UnitOutputsTest, Write_ModeWordZeroThroughDefrostFaults) {
  struct Case {
    const char* name;
    int mode;
    uint32_t status;
    int defrostRun, failHold, ratedSwitch;
    uint16_t word;
  };
  const Case cases[] = {
      {"idle keeps the word", 0, 0, 0, 0, 0, 2},
      {"failed-defrost hold", 0, 0, 0, 3, 0, 0},
      {"flow fault late in a defrost", 0, 0x8000, 280, 0, 0, 0},
      {"flow fault in the defrost's first 279 s", 0, 0x8000, 279, 0, 0, 2},
      {"flow switch closed with the pump off", 0, 0x10000, 300, 0, 0, 0},
      {"flow lock-out", 0, 0x800000, 300, 0, 0, 0},
      {"rated test keeps the word", 0, 0, 0, 3, 1, 2},
      {"heating in the hold", 1, 0, 0, 3, 0, 0},
      {"test mode 7 before the fault", 7, 0, 0, 3, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto outdoor = std::make_unique<OutdoorBlock>();
    outdoor->m_linkState = 1;
    outdoor->m_set4000 = 2;  // heating, as last sent
    r.m_activeMode = c.mode;
    r.m_statusBits = c.status;
    r.m_defrostRunSeconds = c.defrostRun;
    r.m_defrostFailHold = c.failHold;
    r.m_ratedTestSwitch = c.ratedSwitch;
    WriteUnitOutputs(r, nullptr, outdoor.get());
    EXPECT_EQ(outdoor->m_set4000, c.word);
  }
}

// The cycle's own path: heating, then a defrost from water too cold to take it.
TEST_F(UnitOutputsTest, FailedDefrost_ModeWordZeroUntilTheHoldEnds) {
  auto outdoor = std::make_unique<OutdoorBlock>();
  outdoor->m_linkState = 1;
  r.m_heatRequest = r.m_heatHpRequest = 1;
  r.m_demandFlags = kDemandHeating;
  r.m_valvePosition = 2;
  r.m_outletTemp = 14.0f;  // no source; the defrost fails at once
  auto second = [&](int defrost) {
    r.m_defrostState = defrost;
    ComposeOutputs(r, outdoor.get());
    WriteUnitOutputs(r, nullptr, outdoor.get());
  };
  second(0);
  ASSERT_EQ(outdoor->m_set4000, 2);
  second(1);
  EXPECT_EQ(r.m_activeMode, 0);
  EXPECT_EQ(outdoor->m_set4000, 0);
  for (int i = 0; i < 9; ++i) second(0);
  EXPECT_EQ(r.m_defrostFailHold, 1);
  EXPECT_EQ(outdoor->m_set4000, 0) << "through the hold";
  second(0);
  EXPECT_EQ(r.m_activeMode, 1);
  EXPECT_EQ(outdoor->m_set4000, 2) << "heating again after the hold";
}

TEST_F(UnitOutputsTest, Write_TestModeCells) {
  auto outdoor = std::make_unique<OutdoorBlock>();
  outdoor->m_linkState = 1;
  outdoor->m_word2100 = 5;
  r.m_testWriteCount = 2;
  r.m_fanMaxSpeedPercent = 95;
  r.m_defrostMethod = 2;
  r.m_testModeState = 3;
  r.m_outdoorEevControl = 1;
  r.m_outdoorFanControl = 2;
  r.m_outdoorDefrostControl = 3;
  WriteUnitOutputs(r, nullptr, outdoor.get());
  EXPECT_EQ(outdoor->m_set4000, 5);
  EXPECT_EQ(outdoor->m_testSet[10], 68);
  EXPECT_EQ(outdoor->m_testSet[15], 2);
  EXPECT_EQ(outdoor->m_testSet[11], 1);
  EXPECT_EQ(outdoor->m_testSet[13], 2);
  EXPECT_EQ(outdoor->m_testSet[14], 3);
  EXPECT_EQ(r.m_testWriteCount, 1);
}

// The writes reach the boards' registers through the real drivers over the pseudo-terminal.
TEST_F(UnitOutputsTest, Write_ReachesTheUnitsThroughTheDrivers) {
  r.m_indoorOut1110 = 1;
  r.m_indoorOut1113 = 1;
  r.m_pumpType = 1;
  r.m_indoorOut1100 = 1;
  r.m_outdoorPowerOut = 0;
  r.m_outdoorCmd2000 = 7;
  r.m_outdoorCmd2007 = 1;
  r.m_outdoorCmd2002 = 320;
  r.m_activeMode = 1;
  {
    bustest::UnitRig<CUnitDevice, IndoorBlock, unitsim::IndoorBoard> rig(11, &unitsim::UnitSimulator::Indoor);
    rig.Pass();
    rig.Pass();  // start-up, then a poll that brings the link up
    ASSERT_NE(rig.block.m_linkState, 0);
    WriteUnitOutputs(r, &rig.block, nullptr);
    for (int i = 0; i < 3; ++i) rig.Pass();
    EXPECT_EQ(rig.unit.Reg(1110), 1);
    EXPECT_EQ(rig.unit.Reg(1113), 1);
    EXPECT_EQ(rig.unit.Reg(1100), 1);
    EXPECT_EQ(rig.unit.Reg(1109), 0);
  }
  {
    bustest::UnitRig<CParamDevice, OutdoorBlock, unitsim::OutdoorBoard> rig(2, &unitsim::UnitSimulator::Outdoor);
    rig.Pass();
    rig.Pass();  // start-up, then a poll that brings the link up
    ASSERT_NE(rig.block.m_linkState, 0);
    WriteUnitOutputs(r, nullptr, &rig.block);
    for (int i = 0; i < 3; ++i) rig.Pass();
    EXPECT_EQ(rig.unit.Reg(2000), 7);
    EXPECT_EQ(rig.unit.Reg(2007), 1);
    EXPECT_EQ(rig.unit.Reg(2002), 320);
    EXPECT_EQ(rig.unit.Reg(4000), 2);
  }
}

// Page 14's outdoor settings (fan limit, defrost method) against the outdoor unit's driver and the unit
// simulator on the pty: the hold page 14 sets keeps the test-mode writes going until the unit has
// stored cells 3307 and 3276, or runs out and leaves the screens the refusal.
struct OutdoorSetting {
  OutdoorSetting(int fanPercent, int defrostMethod) {
    rig.Pass();  // start-up reads
    r.m_activeMode = 1;  // heating: outside the test-mode writes register 4000 carries 2
    r.m_fanMaxSpeedPercent = fanPercent;
    r.m_defrostMethod = defrostMethod;
    r.m_outdoorSettingHold = 180;  // as page 14 leaves it after a change
  }
  // One engine second, keeping the unit's writes; the bus passes every other second (its 2 s period).
  void Second() {
    WriteUnitOutputs(r, nullptr, &rig.block);
    if (++seconds % 2 == 0) rig.Pass();
    for (const auto& q : rig.Writes()) written.emplace_back(q.address + 1, q.values.at(0));
  }
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) Second();
  }
  // Place of the first write of (register, value), or -1.
  int Write(int reg, int value) const {
    for (size_t i = 0; i < written.size(); ++i) {
      if (written[i] == std::make_pair(reg, value)) return static_cast<int>(i);
    }
    return -1;
  }

  bustest::UnitRig<CParamDevice, OutdoorBlock, unitsim::OutdoorBoard> rig{2, &unitsim::UnitSimulator::Outdoor};
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
  int seconds = 0;
  std::vector<std::pair<int, int>> written;
};

TEST(OutdoorSetting, Change_ReachesTheUnitThroughMode5AndItsCommitThenTheHoldEnds) {
  struct Case {
    int fanPercent, defrostMethod;
    int cell3307;
  };
  // The simulated board starts with 170 in cell 3307 and 23 in 3276.
  for (const Case& c : {Case{95, 1, 68}, Case{100, 2, 72}, Case{90, 0, 65}}) {
    SCOPED_TRACE(c.fanPercent);
    OutdoorSetting t(c.fanPercent, c.defrostMethod);
    while (t.r.m_outdoorSettingHold > 0 && t.seconds < 200) t.Second();
    EXPECT_LE(t.seconds, 20) << "stored within a few bus periods";
    EXPECT_EQ(t.rig.unit.StoredCell(3307), c.cell3307);
    EXPECT_EQ(t.rig.unit.StoredCell(3276), c.defrostMethod);
    EXPECT_EQ(t.r.m_outdoorSettingRefused, 0);
    EXPECT_EQ(t.rig.block.m_eepromHandshake, 0);
    // The unit is asked into mode 5 first, the cells follow, then the commit that stores them.
    const int mode5 = t.Write(4000, 5);
    const int commit = t.Write(4001, 258);
    ASSERT_GE(mode5, 0);
    EXPECT_GT(t.Write(3307, c.cell3307), mode5);
    EXPECT_GT(t.Write(3276, c.defrostMethod), mode5);
    EXPECT_GT(commit, t.Write(3307, c.cell3307));
    EXPECT_GT(commit, t.Write(3276, c.defrostMethod));

    // Once stored, register 4000 follows the mode again and nothing more is committed.
    t.Seconds(10);
    EXPECT_EQ(t.rig.unit.Reg(4000), 2);
    const int commits = t.rig.unit.CommitTriggers();
    t.Seconds(10);
    EXPECT_EQ(t.rig.unit.CommitTriggers(), commits);
  }
}

TEST(OutdoorSetting, UnitThatNeverStoresTheCells_RunsTheHoldOutThenTheScreensAreTold) {
  OutdoorSetting t(95, 1);
  t.r.m_outdoorSettingHold = 30;  // counted down alike from page 14's 180, in fewer bus passes
  t.rig.unit.RefuseCommits(100000);
  t.Seconds(29);
  EXPECT_EQ(t.r.m_outdoorSettingHold, 1);
  EXPECT_EQ(t.r.m_outdoorSettingRefused, 0);
  EXPECT_EQ(t.rig.unit.Reg(3307), 68) << "written, never stored";
  t.Second();
  EXPECT_EQ(t.r.m_outdoorSettingHold, 0);
  EXPECT_EQ(t.r.m_outdoorSettingRefused, 1);
  EXPECT_EQ(t.rig.block.m_eepromHandshake, 0) << "the waiting commit is withdrawn";
  EXPECT_NE(t.rig.unit.StoredCell(3307), 68);
  t.Seconds(6);
  const int triggers = t.rig.unit.CommitTriggers();
  t.Seconds(10);
  EXPECT_EQ(t.rig.unit.CommitTriggers(), triggers) << "no commit after the hold";
  EXPECT_EQ(t.rig.unit.Reg(4000), 2) << "back to heating";
}

TEST(OutdoorSetting, OutdoorLinkDownOrMissing_HoldRunsOutAndIsRefused) {
  OutdoorSetting t(95, 1);
  t.rig.block.m_linkState = 0;
  for (int s = 0; s < 180; ++s) WriteUnitOutputs(t.r, nullptr, &t.rig.block);
  EXPECT_EQ(t.r.m_outdoorSettingRefused, 1);
  EXPECT_EQ(t.r.m_testWriteCount, 0);
  t.r.m_outdoorSettingRefused = 0;
  t.r.m_outdoorSettingHold = 180;
  for (int s = 0; s < 180; ++s) WriteUnitOutputs(t.r, nullptr, nullptr);
  EXPECT_EQ(t.r.m_outdoorSettingHold, 0);
  EXPECT_EQ(t.r.m_outdoorSettingRefused, 1);
  // A commit answered as the link went: its answer is taken and the hold still ends.
  t.r.m_outdoorSettingHold = 2;
  t.rig.block.m_eepromHandshake = kPassAcknowledged;
  for (int s = 0; s < 3; ++s) WriteUnitOutputs(t.r, nullptr, &t.rig.block);
  EXPECT_EQ(t.r.m_outdoorSettingHold, 0);
  EXPECT_EQ(t.rig.block.m_eepromHandshake, kPassIdle);
}

// Page 8's commit is the outdoor driver's own: its acknowledgement ends no write pass of the engine's,
// which waits for a commit it asked for itself. Both then end, each with its cells stored.
TEST(OutdoorSetting, PageEightsCommitAndTheHold_EachEndsOnItsOwnCommit) {
  OutdoorSetting t(95, 1);
  OutdoorBlock& b = t.rig.block;
  b.m_eepromState = 1;
  t.rig.Pass();
  ASSERT_EQ(b.m_eepromState, 2);
  b.m_paramEdit[42] = 99;
  b.m_eepromState = 3;
  t.rig.Pass();  // page 8's cell and its commit
  ASSERT_EQ(t.rig.unit.StoredCell(3042), 99);
  EXPECT_FALSE(OutdoorWritePass(b, true)) << "page 8's acknowledgement taken for the engine's";
  EXPECT_EQ(b.m_eepromHandshake, kPassRunning) << "the engine's pass waits for a commit of its own";

  while (t.r.m_outdoorSettingHold > 0 && t.seconds < 200) t.Second();
  EXPECT_EQ(t.r.m_outdoorSettingRefused, 0);
  EXPECT_EQ(t.rig.unit.StoredCell(3307), 68);
  EXPECT_EQ(t.rig.unit.StoredCell(3276), 1);
  EXPECT_EQ(b.m_eepromState, 4);
}

// The hold's last second may come while the bus thread has the hold's commit on the wire. Two threads:
// the engine's second is placed inside the commit (after its trigger, before the unit's answer is
// read), round after round with a new value, the unit storing every other one. The verdict must follow
// the unit: refused only for cells the unit did not store, ended quietly only for cells it did.
TEST(OutdoorSetting, HoldEndingWhileItsCommitIsOnTheWire_VerdictFollowsTheUnit) {
  OutdoorSetting t(95, 1);
  OutdoorBlock& b = t.rig.block;
  std::atomic<bool> armed{false}, onWire{false}, engineDone{false};
  std::atomic<int> triggersBefore{0};
  t.rig.bus.clock.SetHook([&] {
    t.rig.bus.server.Serve(t.rig.bus.Written());
    if (armed.load() && t.rig.unit.CommitTriggers() > triggersBefore.load()) {
      armed = false;
      onWire = true;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (!engineDone.load() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    }
  });
  const int percents[3] = {100, 95, 90};
  const uint16_t cells[3] = {72, 68, 65};
  const int kRounds = 40;
  int contradictions = 0;
  bool placed = true;
  for (int round = 0; round < kRounds && placed; ++round) {
    const bool refuse = (round / 3) % 2 == 1;
    // A value neither stored in the unit nor written to it last.
    int k = 0;
    while (cells[k] == t.rig.unit.StoredCell(3307) || cells[k] == t.rig.unit.Reg(3307)) ++k;
    t.r.m_fanMaxSpeedPercent = percents[k];
    HoldOutdoorSettingChange(t.r, kFanLimitSetting);
    // Engine seconds and bus passes until the engine's pass waits for its commit.
    for (int s = 0; s < 40; ++s) {
      WriteUnitOutputs(t.r, nullptr, &b);
      if (b.m_eepromHandshake == kPassRunning) break;
      t.rig.Pass();
    }
    placed = b.m_eepromHandshake == kPassRunning;
    if (!placed) break;
    t.r.m_outdoorSettingHold = 1;  // its last second comes during the commit
    t.rig.unit.RefuseCommits(refuse ? 3 : 0);
    triggersBefore = t.rig.unit.CommitTriggers();
    onWire = false;
    engineDone = false;
    armed = true;
    std::thread bus([&] { t.rig.Pass(); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!onWire.load() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    placed = onWire.load();
    WriteUnitOutputs(t.r, nullptr, &b);  // the engine's second while the commit is on the wire
    engineDone = true;
    bus.join();
    for (int s = 0; s < 3 && t.r.m_outdoorSettingHold > 0; ++s) WriteUnitOutputs(t.r, nullptr, &b);
    const bool refused = t.r.m_outdoorSettingRefused == 1;
    const bool stored = t.rig.unit.StoredCell(3307) == cells[k];
    if (t.r.m_outdoorSettingHold != 0 || refused == stored) ++contradictions;
    EXPECT_EQ(stored, !refuse) << round;
  }
  t.rig.bus.clock.SetHook([&] { t.rig.bus.server.Serve(t.rig.bus.Written()); });
  ASSERT_TRUE(placed) << "a commit could not be placed";
  EXPECT_EQ(contradictions, 0) << "verdicts against the unit in " << kRounds << " rounds";
}

}  // namespace
