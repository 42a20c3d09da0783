#include "Regulators.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"
#include "CycleSteps.h"

namespace {

class RegulatorsTest : public ::testing::Test {
protected:
  RegulatorsTest() {
    r.m_stopOffsetCopy = 2;
    r.m_hysteresisCopy = 2;
    r.m_derateCopy = 2;
    r.m_heatPumpAvailable = 1;
    r.m_heatWaterLimit = 60;
    r.m_heatSetMin = 20;
    r.m_outletTemp = 30.0f;
    r.m_ambientTemp = 25.0f;
    r.m_coolSetMax = 25;
    r.m_coolMinLimit = 7;
    r.m_lowFreqRunTime = 5;
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(RegulatorsTest, Heating_StartsTwoBelowAndEndsTwoAboveTheTarget) {
  struct Step {
    float ctrl;
    int request;
  };
  const Step steps[] = {{34.0f, 0}, {33.1f, 0}, {33.0f, 1}, {36.9f, 1}, {37.0f, 0}, {34.0f, 0}};
  for (const Step& s : steps) {
    HeatingRegulator(r, s.ctrl, 35.0f);
    EXPECT_EQ(r.m_heatRequest, s.request) << s.ctrl;
    EXPECT_EQ(r.m_heatHpRequest, s.request) << s.ctrl;
  }
  EXPECT_FLOAT_EQ(r.m_heatTarget, 35.0f);
}

TEST_F(RegulatorsTest, Heating_NoStartBeforeTheRestartIsAllowed) {
  r.m_gearPidSelect = 1;
  HeatingRegulator(r, 30.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 0);
  r.m_restartAllowed = 1;
  HeatingRegulator(r, 30.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 1);
}

TEST_F(RegulatorsTest, Heating_KeptAsTwoThroughADefrost) {
  HeatingRegulator(r, 30.0f, 35.0f);
  r.m_defrostState = 1;
  HeatingRegulator(r, 38.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 2);
  r.m_outletTemp = 55.0f;
  HeatingRegulator(r, 38.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 0) << "not with the outlet near the limit";
}

TEST_F(RegulatorsTest, Heating_TargetAdjustments) {
  r.m_heatPumpAvailable = 0;
  HeatingRegulator(r, 20.0f, 35.0f);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 28.0f) << "seven lower without the heat pump";
  EXPECT_EQ(r.m_heatRequest, 0) << "and no request without emergency operation";
  r.m_heatPumpAvailable = 1;
  HeatingRegulator(r, 30.0f, 15.0f);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 20.0f) << "raised to the minimum";
  r.m_defrostFailHeat = 2;
  HeatingRegulator(r, 30.0f, 25.0f);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 31.0f) << "three per failed defrost";
  HeatingRegulator(r, 30.0f, 30.0f);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 32.0f) << "not above 32";
}

TEST_F(RegulatorsTest, Heating_EcoFlagServedByTheSecondHeaterAlone) {
  r.m_iconFlags = 1;
  r.m_heatBackupEnabled = 1;
  HeatingRegulator(r, 30.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 1);
  EXPECT_EQ(r.m_heatHpRequest, 0);
  EXPECT_EQ(r.m_heatHeaterDemand, 0);
  EXPECT_EQ(r.m_heatHeaterDemand2, 1);
  r.m_heatBackupEnabled = 0;
  HeatingRegulator(r, 30.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 0);
}

// Without the heat pump, emergency operation brings the first heater in with the request; the
// second follows from the degree-minute integral, which runs on undisturbed beside the first.
TEST_F(RegulatorsTest, EmergencyRun_FirstHeaterAtOnceSecondFromTheIntegral) {
  r.m_heatPumpAvailable = 0;
  r.m_heatEmergencyRun = 1;
  r.m_heatBackupEnabled = 1;  // priority 0: the first heater is demand 1, the second demand 2
  r.m_heatIntegralSetting = 240;
  // Target 35 - 7 = 28, less the derate difference 26: the water at 20 is 6 degrees short, so the
  // integral reaches 240 degree-minutes after 40 minutes.
  HeatingRegulator(r, 20.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 1);
  EXPECT_EQ(r.m_heatHpRequest, 0);
  EXPECT_EQ(r.m_heatHeaterDemand, 1) << "the first heater with the request";
  EXPECT_EQ(r.m_heatHeaterDemand2, 0);
  for (int second = 2; second <= 39 * 60; ++second) HeatingRegulator(r, 20.0f, 35.0f);
  EXPECT_EQ(r.m_heatHeaterDemand, 1);
  EXPECT_EQ(r.m_heatHeaterDemand2, 0) << "39 minutes: 234 degree-minutes";
  for (int second = 0; second < 2 * 60; ++second) HeatingRegulator(r, 20.0f, 35.0f);
  EXPECT_EQ(r.m_heatHeaterDemand, 1);
  EXPECT_EQ(r.m_heatHeaterDemand2, 1) << "41 minutes: past 240 degree-minutes";
  EXPECT_EQ(r.m_heatBackupStage, 1);
  HeatingRegulator(r, 28.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 0) << "ended at the lowered target";
  EXPECT_EQ(r.m_heatHeaterDemand + r.m_heatHeaterDemand2, 0);
}

TEST_F(RegulatorsTest, LowGearTimeout_DropsTheRequest) {
  HeatingRegulator(r, 33.0f, 35.0f);
  ASSERT_EQ(r.m_heatRequest, 1);
  r.m_outdoorCmd2000 = 1;
  for (int i = 1; i < 300; ++i) {
    HeatingRegulator(r, 34.0f, 35.0f);
    ASSERT_EQ(r.m_heatRequest, 1) << i;
  }
  HeatingRegulator(r, 34.0f, 35.0f);
  EXPECT_EQ(r.m_heatRequest, 0);
}

TEST_F(RegulatorsTest, Cooling_HysteresisAndAmbientFloor) {
  struct Step {
    float ctrl;
    int request;
  };
  const Step steps[] = {{13.9f, 0}, {14.0f, 1}, {10.1f, 1}, {10.0f, 0}, {13.0f, 0}};
  for (const Step& s : steps) {
    CoolingRegulator(r, s.ctrl, 12.0f);
    EXPECT_EQ(r.m_coolRequest, s.request) << s.ctrl;
  }
  EXPECT_EQ(r.m_coolFloorTemp, 10);
  r.m_ambientTemp = 11.9f;
  CoolingRegulator(r, 20.0f, 12.0f);
  EXPECT_EQ(r.m_coolRequest, 0) << "no cooling below 12 degrees ambient";
}

TEST_F(RegulatorsTest, Cooling_HeatPumpFollowsTheOutlet) {
  r.m_outletTemp = 6.0f;
  CoolingRegulator(r, 20.0f, 12.0f);
  EXPECT_EQ(r.m_coolHpRequest, 0) << "between 5 and H + 5: unchanged";
  r.m_outletTemp = 7.0f;
  CoolingRegulator(r, 20.0f, 12.0f);
  EXPECT_EQ(r.m_coolHpRequest, 1);
  r.m_outletTemp = 5.0f;
  CoolingRegulator(r, 20.0f, 12.0f);
  EXPECT_EQ(r.m_coolHpRequest, 0);
}

TEST_F(RegulatorsTest, Cooling_TargetHeldAboveTheCircuitMinimum) {
  r.m_coolMinLimit = 18;
  CoolingRegulator(r, 20.0f, 12.0f);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 20.0f);
  EXPECT_EQ(r.m_coolFloorTemp, 18);
  r.m_coolMinLimit = 7;
  CoolingRegulator(r, 20.0f, 30.0f);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 25.0f) << "lowered to the maximum";
}

TEST_F(RegulatorsTest, HotWater_RestartDifferenceAndTheWaterLimit) {
  struct Step {
    float tank;
    int request, pump;
  };
  const Step steps[] = {{46.0f, 0, 0}, {45.0f, 1, 1}, {49.9f, 1, 1}, {50.0f, 0, 0}};
  for (const Step& s : steps) {
    r.m_tankTemp = s.tank;
    HotWaterRegulator(r, 50, 5);
    EXPECT_EQ(r.m_hwRequest, s.request) << s.tank;
    EXPECT_EQ(r.m_hwHpRequest, s.pump) << s.tank;
  }
  // A set point above the water limit restarts below the limit.
  r.m_heatWaterLimit = 52;
  r.m_tankTemp = 47.5f;
  HotWaterRegulator(r, 55, 5);
  EXPECT_EQ(r.m_hwRequest, 0);
  r.m_tankTemp = 47.0f;
  HotWaterRegulator(r, 55, 5);
  EXPECT_EQ(r.m_hwRequest, 1);
  r.m_outletTemp = 49.0f;
  HotWaterRegulator(r, 55, 5);
  EXPECT_EQ(r.m_ecoHotWaterFlags & 2, 2) << "near the limit";
  r.m_outletTemp = 52.0f;
  HotWaterRegulator(r, 55, 5);
  EXPECT_EQ(r.m_hwHpRequest, 0) << "the outlet reached the limit";
  EXPECT_EQ(r.m_hwRequest, 1);
}

TEST_F(RegulatorsTest, HotWater_BoostDemandsBothHeaters) {
  r.m_tankTemp = 40.0f;
  r.m_hwBoost = 1;
  HotWaterRegulator(r, 50, 5);
  EXPECT_EQ(r.m_hwHeaterDemand, 1);
  EXPECT_EQ(r.m_hwHeaterDemand2, 1);
  r.m_tankTemp = 51.0f;
  HotWaterRegulator(r, 50, 5);
  EXPECT_EQ(r.m_hwBoost, 0) << "ends with the request";
  EXPECT_EQ(r.m_hwHeaterDemand, 0);
}

}  // namespace
