#include "Hydraulics.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"
#include "Clock.h"
#include "LocalTime.h"
#include "CycleSteps.h"
#include "Defrost.h"
#include "SoftClock.h"

namespace {

using enginetest::LocalMs;

class HydraulicsTest : public ::testing::Test {
protected:
  HydraulicsTest() {
    r.m_systemSwitch = 1;
    r.m_valveDriveSide = kValveAtHeating;
    r.m_valvePosition = kValveAtHeating;
    SoftClock(1);
  }
  // One second of the hydraulic outputs on the virtual clock.
  void Second() {
    clock->Advance(1000);
    SoftClock(1);
    HydraulicOutputs(r);
  }
  void Seconds(int n) {
    for (int i = 0; i < n; ++i) Second();
  }

  // Thursday 2026-01-01 10:00.
  panel::ScopedVirtualClock clock{0, LocalMs(2026, 1, 1, 10, 0)};
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(HydraulicsTest, ValveSwitchingTime_MovingForTwoMinutesThenAtTheSide) {
  r.m_threeWaySwitchTime = 2;
  r.m_valveTarget = 3;
  for (int i = 0; i < 120; ++i) {
    ValveControl(r);
    ASSERT_EQ(r.m_valveDriveSide, kValveToHotWater) << "second " << i;
  }
  ValveControl(r);
  EXPECT_EQ(r.m_valveDriveSide, kValveAtHotWater);
  EXPECT_EQ(r.m_valvePosition, kValveAtHotWater);
  EXPECT_EQ(r.m_indoorOut1113, 1);
  EXPECT_EQ(r.m_indoorOut1106, 0);
}

TEST_F(HydraulicsTest, Valve_MovesOnlyWithCompressorAndPumpAtRest) {
  r.m_valveTarget = 3;
  r.m_compressorHz = 40;
  ValveControl(r);
  EXPECT_EQ(r.m_valvePosition, kValveAtHeating);
  r.m_compressorHz = 0;
  r.m_indoorOut1100 = 1;
  ValveControl(r);
  EXPECT_EQ(r.m_valvePosition, kValveAtHeating);
  r.m_indoorOut1100 = 0;
  ValveControl(r);
  EXPECT_EQ(r.m_valvePosition, kValveAtHotWater);
}

TEST_F(HydraulicsTest, ValveCoils_PoweredForTheirTimeThenOff) {
  r.m_threeWayPowerTime = 1;
  r.m_valveTarget = 3;
  ValveControl(r);
  EXPECT_EQ(r.m_indoorOut1113, 1);
  for (int i = 0; i < 59; ++i) ValveControl(r);
  EXPECT_EQ(r.m_indoorOut1113, 1);
  ValveControl(r);
  EXPECT_EQ(r.m_indoorOut1113, 0);
  EXPECT_EQ(r.m_indoorOut1106, 0);
}

// A valve that switches at once still gets its coil time at every change of side, not only the first.
TEST_F(HydraulicsTest, ValveCoils_PoweredAgainAtEveryMoveWithSwitchingTimeZero) {
  r.m_threeWaySwitchTime = 0;
  r.m_threeWayPowerTime = 1;
  struct Move {
    int target;
    int32_t side;
    int32_t* coil;
    int32_t* other;
  };
  const Move moves[] = {{3, kValveAtHotWater, &r.m_indoorOut1113, &r.m_indoorOut1106},
                        {1, kValveAtHeating, &r.m_indoorOut1106, &r.m_indoorOut1113},
                        {3, kValveAtHotWater, &r.m_indoorOut1113, &r.m_indoorOut1106}};
  for (const Move& m : moves) {
    SCOPED_TRACE(m.target);
    r.m_valveTarget = m.target;
    ValveControl(r);
    EXPECT_EQ(r.m_valvePosition, m.side);
    EXPECT_EQ(*m.coil, 1) << "powered from the move on";
    EXPECT_EQ(*m.other, 0);
    for (int i = 1; i < 60; ++i) ValveControl(r);
    EXPECT_EQ(*m.coil, 1) << "for the whole minute";
    ValveControl(r);
    EXPECT_EQ(*m.coil, 0) << "then off";
    for (int i = 0; i < 300; ++i) ValveControl(r);
    EXPECT_EQ(*m.coil, 0) << "and stays off at the side";
  }
}

TEST_F(HydraulicsTest, MainPump_RunsOnThirtySecondsAfterTheCompressor) {
  r.m_activeMode = 1;
  r.m_valveTarget = 1;
  r.m_compressorHz = 50;
  Seconds(100);
  EXPECT_EQ(r.m_indoorOut1100, 1);
  r.m_compressorHz = 0;
  r.m_activeMode = 0;
  Seconds(29);
  EXPECT_EQ(r.m_indoorOut1100, 1);
  Second();
  EXPECT_EQ(r.m_indoorOut1100, 0) << "the run-on has run out in the 30th second";
  EXPECT_EQ(r.m_pumpOffSeconds, 0);
  Second();
  EXPECT_EQ(r.m_pumpOffSeconds, 1);
}

TEST_F(HydraulicsTest, AuxiliaryHeater_WaitsUntilThePumpHasRun31Seconds) {
  r.m_valveTarget = 1;
  for (int s = 1; s <= 31; ++s) {
    r.m_indoorOut1110 = 1;  // the composition asks for it each second
    Second();
    EXPECT_EQ(r.m_indoorOut1100, 1);
    EXPECT_EQ(r.m_indoorOut1110, 0) << "second " << s;
  }
  r.m_indoorOut1110 = 1;
  Second();
  EXPECT_EQ(r.m_pumpOnSeconds, 31);
  EXPECT_EQ(r.m_indoorOut1110, 1);
}

TEST_F(HydraulicsTest, WeeklyRun_OnlyInTheMinute2000OnFridays) {
  clock->SetLocalMs(LocalMs(2026, 1, 1, 19, 59) + 59000);  // Thursday
  Second();
  EXPECT_EQ(r.m_pumpRequestFlags & kPumpWeeklyMain, 0);
  clock->SetLocalMs(LocalMs(2026, 1, 2, 19, 59));  // Friday
  Seconds(59);
  EXPECT_EQ(r.m_pumpRequestFlags & kPumpWeeklyMain, 0);
  Second();
  EXPECT_EQ(r.m_pumpRequestFlags & (kPumpWeeklyMain | kPumpWeeklyA | kPumpWeeklyB),
            kPumpWeeklyMain | kPumpWeeklyA | kPumpWeeklyB);
  Second();
  EXPECT_EQ(r.m_indoorOut1100, 1);
  EXPECT_EQ(r.m_indoorOut1101, 1);
  EXPECT_EQ(r.m_indoorOut1107, 10.0f);
  Seconds(59);
  EXPECT_EQ(r.m_pumpRequestFlags & kPumpWeeklyMain, 0);
}

TEST_F(HydraulicsTest, PumpPwm_ByModeSettingAndState) {
  struct Case {
    const char* name;
    int mode;
    int heating, cooling, hotWater;
    uint32_t status;
    int flush;
    int pwm;
  };
  const Case cases[] = {
      {"heating high", 1, 0, 2, 2, 0, 0, 0},         {"heating medium", 1, 1, 0, 0, 0, 0, 25},
      {"heating low", 1, 2, 0, 0, 0, 0, 50},         {"cooling low", 2, 0, 2, 0, 0, 0, 50},
      {"hot water medium", 3, 0, 0, 1, 0, 0, 25},   {"full-speed status", 1, 2, 2, 2, 0x800, 0, 100},
      {"flushing long", 1, 2, 2, 2, 0, 7, 0},        {"flushing short", 1, 2, 2, 2, 0, 5, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_activeMode = c.mode;
    r.m_pumpSpeedHeating = c.heating;
    r.m_pumpSpeedCooling = c.cooling;
    r.m_pumpSpeedHotWater = c.hotWater;
    r.m_statusBits = c.status;
    r.m_serviceToggle1 = c.flush;
    r.m_indoorOut1100 = 1;
    r.m_compressorHz = 30;
    CirculationPumps(r);
    EXPECT_EQ(r.m_pumpPwm, c.pwm);
  }
  r.m_compressorHz = 0;
  r.m_serviceToggle1 = 0;
  r.m_activeMode = 0;
  r.m_indoorOut1100 = 0;
  r.m_valvePosition = 0;
  CirculationPumps(r);
  EXPECT_EQ(r.m_pumpPwm, 100) << "a stopped pump is driven at 100";
}

TEST_F(HydraulicsTest, CircuitA_BufferTankHysteresisAndHighTempSignal) {
  r.m_demandFlags = kDemandHeating;
  r.m_pumpAHeating = 1;
  r.m_bufferTankPresent = 1;
  r.m_heatSetMin = 25;
  struct Step {
    float water;
    int request;
  };
  for (Step s : {Step{24.0f, 0}, Step{25.0f, 1}, Step{23.1f, 1}, Step{23.0f, 0}, Step{24.0f, 0}}) {
    r.m_heatCoolTemp = s.water;
    CirculationPumps(r);
    EXPECT_EQ(r.m_pumpARequest, s.request) << s.water;
    EXPECT_EQ(r.m_indoorOut1101, s.request) << "without mixing the pump follows the request";
  }
  r.m_heatCoolTemp = 30.0f;
  r.m_pumpAHighTemp = 1;
  CirculationPumps(r);
  EXPECT_EQ(r.m_indoorOut1101, 0);
  r.m_highTempSignal = 1;
  CirculationPumps(r);
  EXPECT_EQ(r.m_indoorOut1101, 1);
  r.m_systemSwitch = 0;
  CirculationPumps(r);
  EXPECT_EQ(r.m_indoorOut1101, 0);
}

TEST_F(HydraulicsTest, CircuitB_OnlyWithDualTemperaturesAndCircuitCWithHotWater) {
  r.m_demandFlags = kDemandHeating | kRunningHotWater;
  r.m_pumpBHeating = 1;
  CirculationPumps(r);
  EXPECT_EQ(r.m_indoorOut1102, 0);
  EXPECT_EQ(r.m_indoorOut1103, 1);
  r.m_dualTempEnabled = 1;
  CirculationPumps(r);
  EXPECT_EQ(r.m_indoorOut1102, 1) << "without a buffer tank the valve side alone";
}

TEST_F(HydraulicsTest, Mixing_StartsAtHalfStepsTowardsTargetAndFaultsWhenStuck) {
  r.m_pumpARequest = 1;
  r.m_mixTemp1Enabled = 1;
  r.m_heatCircuit1Target = 35.0f;
  r.m_mix1Temp = 30.0f;
  MixingCircuit(r, 1, 1);
  EXPECT_EQ(r.m_mix1State, 1);
  EXPECT_EQ(r.m_indoorOut1107, 5.0f);
  EXPECT_EQ(r.m_indoorOut1101, 1);
  for (int i = 0; i < 19; ++i) MixingCircuit(r, 1, 1);
  EXPECT_EQ(r.m_indoorOut1107, 5.0f);
  MixingCircuit(r, 1, 1);
  EXPECT_FLOAT_EQ(r.m_indoorOut1107, 5.5f) << "one step every 21 cycles";
  r.m_mix1Temp = 34.0f;  // d = 1.0: a small step
  for (int i = 0; i < 21; ++i) MixingCircuit(r, 1, 1);
  EXPECT_FLOAT_EQ(r.m_indoorOut1107, 5.7f);

  // Far too warm: the valve closes, and stays closed with the water still too warm: a fault.
  r.m_mix1Temp = 45.0f;
  for (int i = 0; i < 21 * 12; ++i) MixingCircuit(r, 1, 1);
  EXPECT_EQ(r.m_indoorOut1107, 0.0f);
  for (int i = 0; i < 700 && !(r.m_statusBits & 0x1000); ++i) MixingCircuit(r, 1, 1);
  EXPECT_TRUE(r.m_statusBits & 0x1000);
  EXPECT_EQ(r.m_mix1State, 0);
  EXPECT_EQ(r.m_indoorOut1101, 0);
}

TEST_F(HydraulicsTest, CircuitTwoSensorFault_RunsItsOwnOutputAtHalf) {
  r.m_pumpBRequest = 1;
  r.m_mixTemp2Enabled = 1;
  r.m_statusBits = 0x100;
  r.m_heatCircuit2Target = 35.0f;
  r.m_heatCoolTemp = 30.0f;
  MixingCircuit(r, 2, 1);
  EXPECT_EQ(r.m_indoorOut1108, 5.0f);
  EXPECT_EQ(r.m_indoorOut1102, 1);
  EXPECT_EQ(r.m_indoorOut1107, 0.0f) << "circuit 1 untouched";
  r.m_heatCoolTemp = 37.5f;
  MixingCircuit(r, 2, 1);
  EXPECT_EQ(r.m_indoorOut1102, 0);
}

TEST_F(HydraulicsTest, DemandIndicators_RunningBitsCountersAndHeaterMinutes) {
  r.m_valvePosition = kValveAtHotWater;
  r.m_activeMode = 3;
  r.m_outdoorCmd2000 = 8;
  r.m_compressorHz = 40;
  r.m_indoorOut1109 = 1;
  for (int i = 0; i < 120; ++i) DemandIndicators(r);
  EXPECT_EQ(r.m_demandFlags & (kRunningHotWater | kRunningHeating | kRunningCooling), kRunningHotWater);
  EXPECT_EQ(r.m_hwRunSeconds, 120);
  EXPECT_EQ(r.m_heatPumpRunTime, 2);
  EXPECT_EQ(r.m_hotWaterAuxHeaterRunTime, 2);
  r.m_valvePosition = kValveAtHeating;
  r.m_activeMode = 2;
  r.m_indoorOut1109 = 0;
  DemandIndicators(r);
  EXPECT_EQ(r.m_demandFlags & (kRunningHotWater | kRunningHeating | kRunningCooling), kRunningCooling);
  EXPECT_EQ(r.m_hwRunSeconds, 0);
  EXPECT_EQ(r.m_coolRunSeconds, 1);
}

TEST_F(HydraulicsTest, StuckThreeWayValve_FlaggedAfterFiveMinutesOfRunning) {
  r.m_threeWayAntiSeize = 1;
  r.m_compressorHz = 40;
  r.m_valvePosition = kValveAtHotWater;
  r.m_tankTemp = 50.0f;
  r.m_inletTemp = 30.0f;
  for (int i = 0; i < 300; ++i) DemandIndicators(r);
  EXPECT_FALSE(r.m_faultWord2 & (1u << 27));
  DemandIndicators(r);
  EXPECT_TRUE(r.m_faultWord2 & (1u << 27));
  r.m_tankTemp = 41.0f;
  DemandIndicators(r);
  EXPECT_FALSE(r.m_faultWord2 & (1u << 27));
}

TEST_F(HydraulicsTest, PumpStandby_IntermittentRunWhileHeatingIsSatisfied) {
  r.m_demandFlags = kDemandHeating;
  r.m_valveTarget = 1;
  r.m_pumpWorkMode = 0;
  r.m_pumpStandbyTime = 2;
  r.m_pumpRunTime = 1;
  Seconds(120);
  EXPECT_EQ(r.m_indoorOut1100, 0);
  Second();
  EXPECT_TRUE(r.m_pumpRequestFlags & kPumpStandbyOn);
  EXPECT_EQ(r.m_indoorOut1100, 1);
  Seconds(60);
  EXPECT_EQ(r.m_indoorOut1100, 1);
  Second();
  EXPECT_FALSE(r.m_pumpRequestFlags & kPumpStandbyOn);
  r.m_statusBits = kStatusFlowLockout;
  r.m_pumpWorkMode = 1;
  Second();
  EXPECT_FALSE(r.m_pumpRequestFlags & kPumpStandbyWanted) << "not against a flow lock-out";
}

TEST_F(HydraulicsTest, ServiceFlushing_PulsesThePumpAndCountsDown) {
  // Seconds until the step count falls, the pump pulsing with the valve held at the heating side.
  auto step = [&]() {
    int32_t count = r.m_serviceToggle1;
    int seconds = 0;
    while (r.m_serviceToggle1 == count && seconds < 1000) {
      Second();
      ++seconds;
      EXPECT_EQ(r.m_valveTarget, 2);
    }
    return seconds;
  };
  r.m_serviceToggle1 = 7;
  // 7: the pump runs more than 5 seconds (counted from the second after it started); 6: it rests
  // more than 5 seconds; 5: it runs more than 30 seconds.
  EXPECT_EQ(step(), 8);
  EXPECT_EQ(step(), 7);
  EXPECT_EQ(step(), 32);
  EXPECT_EQ(r.m_serviceToggle1, 4);
  while (r.m_serviceToggle1 > 0) step();
  EXPECT_FALSE(r.m_pumpRequestFlags & kPumpFlush1);
  Seconds(5);
  EXPECT_EQ(r.m_indoorOut1100, 0);
}

}  // namespace
