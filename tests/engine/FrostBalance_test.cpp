#include "FrostBalance.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CSystemData.h"
#include "UnitOutputs.h"
#include "CycleSteps.h"
#include "Hydraulics.h"

namespace {

class StandbyFrostTest : public ::testing::Test {
protected:
  StandbyFrostTest() {
    r.m_frost1AmbientStart = 6;
    r.m_frost2AmbientStart = 4;
    r.m_frost2OutletStart = 5;
    r.m_frost2OutletStop = 12;
    r.m_frost2AmbientStop = 6;
    r.m_heatPumpAvailable = 1;
    r.m_valveDriveSide = kValveAtHeating;
    r.m_valvePosition = kValveAtHeating;
    r.m_ambientTemp = 3.0f;
    r.m_inletTemp = 4.0f;
  }
  // One second of the off branch: the standby count, the frost protection, the output composition.
  void Second() {
    if (r.m_standbySeconds < kStandbyFrostWaitSeconds) ++r.m_standbySeconds;
    StandbyFrostProtection(r);
    ComposeOutputs(r);
  }
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) Second();
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(StandbyFrostTest, WaitsThreeHundredSecondsThenHeatsUntilTheInletReachesTwelve) {
  Seconds(299);
  EXPECT_EQ(r.m_frostState, 0);
  EXPECT_EQ(r.m_indoorOut1100, 0);
  Second();
  EXPECT_EQ(r.m_frostState, 2);
  EXPECT_EQ(r.m_heatRequest, 1);
  EXPECT_EQ(r.m_heatHpRequest, 1);
  EXPECT_EQ(r.m_heatHeaterDemand, 0);
  EXPECT_TRUE(r.m_pumpRequestFlags & kPumpFrost);
  EXPECT_EQ(r.m_activeMode, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 10) << "the heat pump at gear 10";
  Second();
  EXPECT_EQ(r.m_indoorOut1100, 1);
  EXPECT_EQ(r.m_indoorOut1107, 5.0f) << "circuit A opened half way";

  // The valve side turns every 180 seconds of pump run.
  Seconds(100);
  EXPECT_EQ(r.m_frostValveSide, 1);
  EXPECT_EQ(r.m_valvePosition, kValveAtHotWater);
  Seconds(100);
  EXPECT_EQ(r.m_frostValveSide, 2);
  EXPECT_EQ(r.m_valvePosition, kValveAtHeating);

  r.m_inletTemp = 11.9f;
  Second();
  EXPECT_EQ(r.m_frostState, 2);
  r.m_inletTemp = 12.0f;
  Second();
  EXPECT_EQ(r.m_frostState, 1);
  EXPECT_EQ(r.m_heatRequest, 0) << "every request cleared each second";
}

TEST_F(StandbyFrostTest, LevelTwoWithoutTheHeatPump_HeaterOnWhileTheValveIsAtTheHeatingSide) {
  r.m_heatPumpAvailable = 0;
  Seconds(300);
  ASSERT_EQ(r.m_frostState, 2);
  EXPECT_EQ(r.m_heatRequest, 0);
  EXPECT_EQ(r.m_heatHeaterDemand, 1);
  int heaterSeconds = 0;
  for (int i = 0; i < 720; ++i) {
    int32_t sideBefore = r.m_valveDriveSide;
    Second();
    if (r.m_indoorOut1110) {
      ++heaterSeconds;
      EXPECT_EQ(sideBefore, kValveAtHeating) << "composed from the side the valve stood at";
    }
  }
  EXPECT_GE(heaterSeconds, 300) << "the heater heats half of the time, while the valve stands at the heating side";
}

TEST_F(StandbyFrostTest, LevelOne_PumpTwoMinutesInTenAndTheValveSideTurns) {
  r.m_ambientTemp = 5.0f;
  r.m_inletTemp = 8.0f;
  std::vector<int> runs;
  std::vector<int> rests;
  std::vector<int> sides;
  int run = 0;
  int rest = 0;
  for (int i = 0; i < 3000; ++i) {
    Second();
    if (r.m_indoorOut1100) {
      if (rest && !runs.empty()) rests.push_back(rest);
      rest = 0;
      ++run;
    } else {
      if (run) {
        runs.push_back(run);
        sides.push_back(r.m_frostValveSide);
      }
      run = 0;
      ++rest;
    }
  }
  EXPECT_EQ(r.m_frostState, 1);
  ASSERT_GE(runs.size(), 3u);
  for (int length : runs) EXPECT_EQ(length, 122) << "on until it has run more than 120 seconds";
  ASSERT_GE(rests.size(), 2u);
  // Off in the second it stops, then until the off count, a second behind, has passed 599.
  for (int length : rests) EXPECT_EQ(length, 601) << "off until it has been off more than 599 seconds";
  EXPECT_EQ(sides[0], 1);
  EXPECT_EQ(sides[1], 2);
  EXPECT_EQ(sides[2], 1);
}

TEST_F(StandbyFrostTest, States_ByAmbientAndInlet) {
  struct Case {
    const char* name;
    int from;
    float ambient;
    float inlet;
    int to;
  };
  const Case cases[] = {
      {"mild air", 0, 6.1f, 0.0f, 0},        {"cool air", 0, 6.0f, 20.0f, 1},
      {"cold air, warm water", 0, 4.0f, 5.1f, 1}, {"cold air, cold water", 0, 4.0f, 5.0f, 2},
      {"level 2 holds", 2, 5.0f, 11.9f, 2},  {"level 2 ends by water", 2, 5.0f, 12.0f, 1},
      {"level 2 ends by air", 2, 6.0f, 0.0f, 2}, {"level 2 off above level 1", 2, 6.5f, 0.0f, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_standbySeconds = kStandbyFrostWaitSeconds;
    r.m_frostState = c.from;
    r.m_ambientTemp = c.ambient;
    r.m_inletTemp = c.inlet;
    EXPECT_EQ(StandbyFrostProtection(r), c.to);
  }
  r.m_frost2AmbientStop = 5;
  r.m_frostState = 2;
  r.m_ambientTemp = 5.5f;
  EXPECT_EQ(StandbyFrostProtection(r), 1) << "level 2 ends above its ambient stop";
  r.m_serviceToggle2 = 3;
  EXPECT_EQ(StandbyFrostProtection(r), 0) << "not while flushing";
}

TEST_F(StandbyFrostTest, Standby_ClearsEveryDemandAndHoldsUnderALockOut) {
  r.m_coolRequest = r.m_coolHpRequest = r.m_hwRequest = r.m_hwHpRequest = 1;
  r.m_hwHeaterDemand = r.m_hwHeaterDemand2 = r.m_hwBackupStage = 1;
  r.m_heatRequest = r.m_heatHpRequest = r.m_heatHeaterDemand = r.m_heatHeaterDemand2 = 1;
  r.m_heatBackupStage = 5;
  r.m_heatBackupIntegral = 700;
  r.m_standbyState = 1;
  r.m_standbySeconds = kStandbyFrostWaitSeconds;
  r.m_frostState = 1;
  EXPECT_EQ(StandbyFrostProtection(r), 1) << "a unit-stopping fault leaves the frost state as it was";
  for (int32_t v : {r.m_coolRequest, r.m_coolHpRequest, r.m_hwRequest, r.m_hwHpRequest, r.m_hwHeaterDemand,
                    r.m_hwHeaterDemand2, r.m_hwBackupStage, r.m_heatRequest, r.m_heatHpRequest, r.m_heatHeaterDemand,
                    r.m_heatHeaterDemand2, r.m_heatBackupStage, r.m_heatBackupIntegral}) {
    EXPECT_EQ(v, 0);
  }
  EXPECT_EQ(r.m_standbyCopy, 1);

  r.m_standbyState = 0;
  r.m_statusBitsB = 0x200000;  // ambient sensor failed: the outdoor unit's other reading is used
  r.m_ambientTemp = 20.0f;
  r.m_outdoorTemp2113 = 3.0f;
  r.m_inletTemp = 4.0f;
  EXPECT_EQ(StandbyFrostProtection(r), 2);
  r.m_statusBitsB = 0x200000 | 0x800000;
  EXPECT_EQ(StandbyFrostProtection(r), 2);
  EXPECT_EQ(r.m_standbyCopy, 1);
}

class BalanceTest : public ::testing::Test {
protected:
  BalanceTest() {
    r.m_heatBalanceEnabled = 1;
    r.m_balanceStartTemp = 15;
    r.m_balanceTempDiff = 6;
    r.m_balanceHotWaterMinTime = 30;
    r.m_balanceHeatMaxTime = 90;
    r.m_ambientTemp = 5.0f;
    r.m_heatTarget = 45.0f;
    r.m_heatCtrlTemp = 30.0f;
    r.m_hwHpRequest = 1;
    r.m_heatHpRequest = 1;
    r.m_valvePosition = kValveAtHeating;
  }
  // Seconds until the turn changes, at most `limit`.
  int TurnLength(int limit) {
    int32_t state = r.m_balanceState;
    int n = 0;
    while (r.m_balanceState == state && n < limit) {
      HeatHotWaterBalance(r);
      ++n;
    }
    return n;
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(BalanceTest, FarFromTarget_HotWaterThirtyMinutesThenHeatingNinety) {
  HeatHotWaterBalance(r);
  EXPECT_EQ(r.m_balanceState, 3);
  EXPECT_EQ(r.m_activeMode, 3);
  EXPECT_EQ(r.m_valveTarget, 3);
  EXPECT_EQ(TurnLength(10000), 31 * 60) << "the hot-water turn gives way after more than 30 minutes";
  EXPECT_EQ(r.m_balanceState, 1);
  EXPECT_EQ(r.m_activeMode, 1);
  EXPECT_EQ(r.m_valveTarget, 1);
  EXPECT_EQ(TurnLength(10000), 90 * 60) << "a heating turn far from its target lasts 90 minutes";
  EXPECT_EQ(r.m_balanceState, 3);
}

TEST_F(BalanceTest, NearTarget_HeatingTurnRunsItsTimeThenHotWaterTakesOver) {
  HeatHotWaterBalance(r);
  TurnLength(10000);
  ASSERT_EQ(r.m_balanceState, 1);
  r.m_heatCtrlTemp = 40.0f;
  r.m_heatHeaterDemand2 = 1;
  EXPECT_EQ(TurnLength(10000), 91 * 60) << "near its target a heating turn may pass its 90 minutes";
  EXPECT_EQ(r.m_balanceState, 3);
  EXPECT_EQ(r.m_heatHeaterDemand2, 0) << "the heating heaters stop for the hot-water turn";
}

TEST_F(BalanceTest, HeatingTurnWithoutHeatPumpRequest_ServesHotWaterInstead) {
  HeatHotWaterBalance(r);
  TurnLength(10000);
  r.m_heatHpRequest = 0;
  r.m_hwHeaterDemand = 1;
  r.m_valvePosition = kValveAtHotWater;
  HeatHotWaterBalance(r);
  EXPECT_EQ(r.m_balanceState, 1);
  EXPECT_EQ(r.m_activeMode, 3);
  EXPECT_EQ(r.m_valveTarget, 3);
  EXPECT_EQ(r.m_hwHeaterDemand, 0) << "the hot-water heaters are cleared in a heating turn";
}

TEST_F(BalanceTest, AntiLegionellaOrWarmAir_NoTurns) {
  r.m_hwState = 1;
  for (int i = 0; i < 4000; ++i) HeatHotWaterBalance(r);
  EXPECT_EQ(r.m_balanceState, 3);
  EXPECT_EQ(r.m_balanceSeconds, 0);
  r.m_hwState = 0;
  r.m_ambientTemp = 15.5f;
  HeatHotWaterBalance(r);
  EXPECT_EQ(r.m_balanceState, 0);
  EXPECT_EQ(r.m_activeMode, 3) << "hot water first while the balance is idle";
  r.m_hwHpRequest = 0;
  HeatHotWaterBalance(r);
  EXPECT_EQ(r.m_activeMode, 1) << "then heating";
  EXPECT_EQ(r.m_valveTarget, 1);
}

}  // namespace
