#include "CycleSteps.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"
#include "OutdoorBlock.h"

namespace {

uint32_t Bits(std::initializer_list<int> bits) {
  uint32_t w = 0;
  for (int b : bits) w |= 1u << b;
  return w;
}

class CycleStepsTest : public ::testing::Test {
protected:
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(CycleStepsTest, StandbyState_FollowsTheUnitStoppingFaults) {
  struct Case {
    const char* name;
    uint32_t status;
    int flowSwitchEnabled;
    int pumpType;
    int expected;
  };
  const Case cases[] = {
      {"none", 0, 1, 0, 0},
      {"bit 21", Bits({21}), 1, 0, 1},
      {"bit 24", Bits({24}), 1, 0, 1},
      {"outlet and inlet", Bits({4, 5}), 1, 0, 1},
      {"outlet alone with flow switch", Bits({4}), 1, 0, 0},
      {"outlet alone without flow switch", Bits({4}), 0, 0, 1},
      {"inlet alone without flow switch", Bits({5}), 0, 0, 1},
      {"bit 15", Bits({15}), 1, 0, 1},
      {"bit 16", Bits({16}), 1, 0, 1},
      {"indoor link 17", Bits({17}), 1, 0, 1},
      {"outdoor link 18 does not stop", Bits({18}), 1, 0, 0},
      {"bit 23", Bits({23}), 1, 0, 1},
      {"pump fault with DC pump", Bits({11}), 1, 0, 1},
      {"pump fault with AC pump", Bits({11}), 1, 1, 0},
      {"other bits", Bits({0, 1, 2, 3, 6, 7, 12, 13, 14, 19, 20, 22, 25}), 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_statusBits = c.status;
    r.m_flowSwitchEnabled = c.flowSwitchEnabled;
    r.m_pumpType = c.pumpType;
    r.m_standbyState = 1 - c.expected;
    EXPECT_EQ(UpdateStandbyState(r), c.expected);
    EXPECT_EQ(r.m_standbyState, c.expected);
  }
}

TEST_F(CycleStepsTest, ComposeDemand_NeedsEnabledModeAndUsableSensor) {
  struct Case {
    const char* name;
    int hw, heat, cool, controlPoint;
    uint32_t status;
    uint16_t expected;
  };
  const Case cases[] = {
      {"all enabled, no fault", 1, 1, 1, 0, 0, 0x7},
      {"none enabled", 0, 0, 0, 0, 0, 0x0},
      {"tank sensor fault stops hot water", 1, 1, 1, 0, Bits({2}), 0x6},
      {"coil sensor fault stops cooling", 1, 1, 1, 0, Bits({6}), 0x3},
      {"water control: TH alone failed keeps both", 0, 1, 1, 0, Bits({3}), 0x6},
      {"water control: TH and TI failed", 0, 1, 1, 0, Bits({3, 5}), 0x0},
      {"water control: room sensor fault is irrelevant", 0, 1, 1, 0, Bits({1}), 0x6},
      {"room control: room sensor failed", 0, 1, 1, 1, Bits({1}), 0x0},
      {"room control: TH and TI failed is irrelevant", 0, 1, 1, 1, Bits({3, 5}), 0x6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_hotWaterEnabled = c.hw;
    r.m_heatingEnabled = c.heat;
    r.m_coolingEnabled = c.cool;
    r.m_tempControlPoint = c.controlPoint;
    r.m_statusBits = c.status;
    r.m_demandFlags = 0xFFF8 | (c.expected ^ 0x7);  // higher bits belong to other rules
    ComposeDemand(r);
    EXPECT_EQ(r.m_demandFlags, 0xFFF8 | c.expected);
  }
}

int g_autoRequest = 0;
int g_autoCalls = 0;
int AutoRequest(CSystemData&) {
  ++g_autoCalls;
  return g_autoRequest;
}

TEST_F(CycleStepsTest, ModeFilter_EveryRunModeAndAutoFunction) {
  struct Case {
    const char* name;
    int runMode, autoFunction, boost;
    uint16_t demand;
    int request;
    uint16_t expected;
    int idle;
    int calls;
  };
  const Case cases[] = {
      {"off clears all", 0, 0, 0, 0x7, 0, 0x0, 0, 0},
      {"off clears all even with boost", 0, 0, 1, 0x7, 0, 0x0, 0, 0},
      {"heating", 1, 0, 0, 0x7, 0, 0x2, 0, 0},
      {"cooling", 2, 0, 0, 0x7, 0, 0x4, 0, 0},
      {"hot water", 3, 0, 0, 0x7, 0, 0x1, 0, 0},
      {"boost in heating", 1, 0, 1, 0x6, 0, 0x1, 0, 0},
      {"boost in auto", 4, 2, 1, 0x2, 1, 0x1, 0, 0},
      {"unknown mode leaves bits", 5, 0, 0, 0x7, 0, 0x7, 0, 0},
      {"auto off: heating wins over cooling", 4, 0, 0, 0x7, 0, 0x3, 0, 0},
      {"auto off: cooling alone stays", 4, 0, 0, 0x5, 0, 0x5, 0, 0},
      {"auto 1, heating request", 4, 1, 0, 0x7, 1, 0x3, 0, 1},
      {"auto 1, heating request without heating bit", 4, 1, 0, 0x5, 1, 0x1, 0, 1},
      {"auto 1, cooling request", 4, 1, 0, 0x7, 2, 0x5, 0, 1},
      {"auto 1, no request clears heat and cool, not idle", 4, 1, 0, 0x6, 0, 0x0, 0, 1},
      {"auto 2, no request, hot water wanted", 4, 2, 0, 0x7, 0, 0x1, 0, 1},
      {"auto 2, no request, nothing else: idle", 4, 2, 0, 0x6, 0, 0x0, 1, 1},
      {"auto 3, no request: idle", 4, 3, 0, 0x2, 0, 0x0, 1, 1},
      {"auto 3, cooling request", 4, 3, 0, 0x6, 2, 0x4, 0, 1},
      {"auto 2, unknown request clears", 4, 2, 0, 0x7, 3, 0x1, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_runMode = c.runMode;
    r.m_autoFunction = c.autoFunction;
    r.m_hwBoost = c.boost;
    r.m_demandFlags = static_cast<uint16_t>(0x100 | c.demand);
    r.m_autoIdle = 0;
    g_autoRequest = c.request;
    g_autoCalls = 0;
    FilterDemandByMode(r, AutoRequest);
    EXPECT_EQ(r.m_demandFlags, 0x100 | c.expected);
    EXPECT_EQ(r.m_autoIdle, c.idle);
    EXPECT_EQ(g_autoCalls, c.calls);
  }
}

TEST_F(CycleStepsTest, OffBranch_ShowsTargetsOfTheWantedModes) {
  r.m_hotWaterSetTemp = 50;
  r.m_heatSetTemp = 35;
  r.m_heatRoomSetTemp = 22;
  r.m_coolSetTemp = 12;
  r.m_coolRoomSetTemp = 26;
  r.m_roomTemp = 20.5f;
  r.m_heatCoolTemp = 30.25f;
  r.m_standbySeconds = 299;

  r.m_tempControlPoint = 1;
  r.m_demandFlags = kDemandHotWater | kDemandHeating | kDemandCooling;
  StandbyCount(r);
  OffBranchTargets(r);
  EXPECT_EQ(r.m_hwTarget, 50);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 22.0f);
  EXPECT_FLOAT_EQ(r.m_heatCtrlTemp, 20.5f);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 0.0f) << "heating takes precedence";
  EXPECT_EQ(r.m_standbySeconds, 300);
  StandbyCount(r);
  EXPECT_EQ(r.m_standbySeconds, 300) << "the count stops at 300";

  r.m_tempControlPoint = 0;
  r.m_demandFlags = kDemandCooling;
  OffBranchTargets(r);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 12.0f);
  EXPECT_FLOAT_EQ(r.m_coolCtrlTemp, 30.25f);
}

TEST_F(CycleStepsTest, SleepHour_ShiftsTargetsAwayFromTheDemand) {
  r.m_heatRoomSetTemp = 22;
  r.m_coolRoomSetTemp = 26;
  r.m_sleepTempAdjust = 2;
  r.m_zoneFlag1 = 1;
  r.m_system1MaxSetTemp = 45;
  r.m_system1MinSetTemp = 7;
  HeatingRoomTargets(r);
  CoolingRoomTargets(r);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 20.0f);
  EXPECT_FLOAT_EQ(r.m_heatCircuit1Target, 45.0f);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 28.0f);
  EXPECT_FLOAT_EQ(r.m_coolCircuit1Target, 7.0f);

  r.m_heatSetTemp = 35;
  r.m_heatSecondSetTemp = 30;
  SetDefaultTargets(r);
  r.m_heatCoolTemp = 33.0f;
  r.m_tankTemp = 48.0f;
  HeatingWaterTargets(r);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 33.0f);
  EXPECT_FLOAT_EQ(r.m_heatCircuit2Target, 28.0f);
  EXPECT_FLOAT_EQ(r.m_heatCtrlTemp, 33.0f);
  r.m_userSystemType = 1;
  HeatingWaterTargets(r);
  EXPECT_FLOAT_EQ(r.m_heatCtrlTemp, 48.0f) << "the tank is the control temperature of this system type";
  EXPECT_FLOAT_EQ(r.m_heatCoolTemp, 48.0f);
}

TEST_F(CycleStepsTest, OutdoorProgramming_HandsRequestToDriverAndReadsProgress) {
  ForwardOutdoorProgramming(r, nullptr);  // no block: nothing to do, no crash
  auto block = std::make_unique<OutdoorBlock>();
  r.m_outdoorProgRequest = 1;
  ForwardOutdoorProgramming(r, block.get());
  EXPECT_EQ(block->m_presetRequest, 1);
  block->m_presetRequest = 2;  // the driver reports the preset stored
  ForwardOutdoorProgramming(r, block.get());
  EXPECT_EQ(r.m_outdoorProgRequest, 2);
  EXPECT_EQ(block->m_presetRequest, 2);
  r.m_outdoorProgRequest = 0;
  ForwardOutdoorProgramming(r, block.get());
  EXPECT_EQ(block->m_presetRequest, 0);
}

TEST_F(CycleStepsTest, IdleHelpers_ClearTheRegulatorsAndTheirTimers) {
  r.m_hwRequest = r.m_hwHpRequest = r.m_hwHeaterDemand = r.m_hwHeaterDemand2 = r.m_hwBackupStage = 1;
  r.m_heatRequest = r.m_heatHpRequest = r.m_heatHeaterDemand = r.m_heatBackupStage = r.m_heatBackupIntegral = 1;
  r.m_coolRequest = r.m_coolHpRequest = 1;
  HotWaterIdle(r);
  HeatingIdle(r);
  CoolingIdle(r);
  EXPECT_EQ(r.m_hwRequest + r.m_hwHpRequest + r.m_hwHeaterDemand + r.m_hwHeaterDemand2 + r.m_hwBackupStage, 0);
  EXPECT_EQ(r.m_heatRequest + r.m_heatHpRequest + r.m_heatHeaterDemand + r.m_heatBackupStage + r.m_heatBackupIntegral, 0);
  // A cooling request left standing after a change to hot water would keep the compressor cooling.
  EXPECT_EQ(r.m_coolRequest + r.m_coolHpRequest, 0);
}

}  // namespace
