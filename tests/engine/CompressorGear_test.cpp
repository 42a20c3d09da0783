#include "CompressorGear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "CSystemData.h"
#include "CycleSteps.h"

namespace {

const uint16_t kHeatingRunning = 0x10;
const uint32_t kCoilFreezeStop = 0x4000u;
const uint32_t kFreezeLockout = 0x1000000u;

class CompressorGearTest : public ::testing::Test {
protected:
  CompressorGearTest() { r.m_derateCopy = 2; }
  // One operation of `seconds`, then the stop.
  void Run(int seconds) {
    r.m_demandFlags = kHeatingRunning;
    for (int i = 0; i < seconds; ++i) RestartInterval(r);
    r.m_demandFlags = 0;
    RestartInterval(r);
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(CompressorGearTest, MinimumOffTime_AdaptsToTheRunThatEnded) {
  RestartInterval(r);
  EXPECT_EQ(r.m_minOffMinutes, 3) << "lifted to 3 in the first cycle";
  struct Case {
    int run, before, after;
  };
  const Case cases[] = {
      {300, 6, 12}, {900, 6, 6}, {1500, 6, 3}, {600, 6, 9}, {300, 15, 18}, {1500, 4, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.run);
    r.m_minOffMinutes = c.before;
    Run(c.run);
    EXPECT_EQ(r.m_minOffMinutes, c.after);
    EXPECT_EQ(r.m_runSeconds, 0);
  }
}

TEST_F(CompressorGearTest, Restart_OnlyAfterTheMinimumOffTime) {
  r.m_minOffMinutes = 3;
  Run(300);  // now 9 minutes
  ASSERT_EQ(r.m_minOffMinutes, 9);
  EXPECT_EQ(r.m_pidHold, 1);
  for (int second = 2; second <= 540; ++second) {
    RestartInterval(r);
    EXPECT_EQ(r.m_restartAllowed, 0) << second;
  }
  RestartInterval(r);
  EXPECT_EQ(r.m_restartAllowed, 1);
}

TEST_F(CompressorGearTest, StepGear_MapsTheErrorOntoTenGears) {
  struct Case {
    float error;
    int heatRequest, gear;
  };
  const Case cases[] = {
      {0.0f, 1, 5}, {1.0f, 1, 7}, {1.99f, 1, 9}, {2.0f, 1, 10}, {5.0f, 1, 10},
      {-2.0f, 1, 0}, {-2.0f, 2, 1}, {-1.0f, 1, 3}, {-1.99f, 1, 1},
  };
  // From a stop the band holds gear 0 until the error clears it by 0.2: no start at -1.99.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    r.m_heatRequest = c.heatRequest;
    r.m_outdoorCmd2000 = 5;  // neither next to the result nor the result itself with 4 or 6
    EXPECT_EQ(StepGear(r, c.error), c.gear);
  }
  r.m_outdoorCmd2000 = 0;
  EXPECT_EQ(StepGear(r, -1.99f), 0);
  EXPECT_EQ(StepGear(r, -1.7f), 1);
}

TEST_F(CompressorGearTest, StepGear_HoldsTheGearWithinTheHysteresis) {
  r.m_outdoorCmd2000 = 6;
  EXPECT_EQ(StepGear(r, 0.7f), 6);
  EXPECT_EQ(StepGear(r, 0.9f), 7);
  r.m_outdoorCmd2000 = 8;
  EXPECT_EQ(StepGear(r, 1.0f), 8) << "7.75 computed, 8.2 with the band: stays";
}

TEST_F(CompressorGearTest, StepGear_DerateOfZeroOrBelowCountsAsOne) {
  for (int d : {0, -3}) {
    r.m_derateCopy = d;
    EXPECT_EQ(StepGear(r, 0.5f), 7) << d;  // 0.5 x 4.5 + 5.5
    EXPECT_EQ(StepGear(r, 1.0f), 10);
    EXPECT_EQ(StepGear(r, -1.0f), 0);
  }
}

TEST_F(CompressorGearTest, StepGear_LowNoiseHourCapsAtSeven) {
  r.m_zoneFlag2 = 1;
  r.m_allowedTempDeviation = 5;
  EXPECT_EQ(StepGear(r, 3.0f), 7);
  EXPECT_EQ(r.m_outdoorCmd2007, 1);
  r.m_zoneFlag2 = 0;
  EXPECT_EQ(StepGear(r, 3.0f), 10);
  EXPECT_EQ(r.m_outdoorCmd2007, 0);
}

TEST_F(CompressorGearTest, PidGear_StartPhaseThenBoundedSteps) {
  r.m_minOffMinutes = 3;
  r.m_runSeconds = 100;
  EXPECT_EQ(PidGear(r, 5.0f), 5);
  r.m_minOffMinutes = 9;
  EXPECT_EQ(PidGear(r, 5.0f), 3);
  r.m_runSeconds = 400;
  EXPECT_EQ(PidGear(r, 5.0f), 5);

  r.m_pid1P = 500;
  r.m_pid1I = 100;
  r.m_pid1D = 50;
  r.m_pid2P = 300;
  r.m_pid2I = 200;
  r.m_pid2D = 100;
  r.m_sinceDefrostSeconds = 180;
  r.m_outletTemp = 30.0f;
  r.m_inletTemp = 28.0f;
  float previous = r.m_pidDebug[7];
  for (int step = 0; step < 40; ++step) {
    r.m_runSeconds = 600 + 10 * step;
    float error = step < 20 ? 8.0f : -8.0f;
    int gear = PidGear(r, error);
    float now = r.m_pidDebug[7];
    EXPECT_LE(std::fabs(now - previous), 0.34f + 1e-5f) << step;
    EXPECT_GE(now, 1.0f);
    EXPECT_LE(now, 10.0f);
    EXPECT_EQ(gear, static_cast<int>(now));
    previous = now;
    r.m_runSeconds += 5;
    EXPECT_EQ(PidGear(r, error), gear) << "between the ten-second steps the gear holds";
  }
  EXPECT_GT(r.m_pidDebug[7], 1.0f);
  EXPECT_LT(r.m_pidDebug[7], 10.0f);
}

// Worked by hand from the cascade: outer w = (e P1 + sum e I1 + (e - e1) D1) / 100, inner error
// a = w - spread, u = (a - a1) P2 + a I2 + (a - 2 a1 + a2) D2 within +-34, gear += u / 100.
TEST_F(CompressorGearTest, PidGear_FollowsTheCascadeStepByStep) {
  r.m_minOffMinutes = 3;
  r.m_pid1P = 100;
  r.m_pid1I = 50;
  r.m_pid1D = 20;
  r.m_pid2P = 10;
  r.m_pid2I = 5;
  r.m_pid2D = 2;
  r.m_sinceDefrostSeconds = 180;
  r.m_outletTemp = 23.0f;
  r.m_inletTemp = 20.0f;  // heating spread 3, cooling spread -3
  r.m_runSeconds = 290;
  ASSERT_EQ(PidGear(r, 2.0f), 5) << "start phase";
  struct Step {
    float e;
    int mode;
    float w, a, u, gear;
    int result;
  };
  const Step steps[] = {
      {2.0f, 1, 3.4f, 0.4f, 6.8f, 5.068f, 5},     // P 200, I 100, D 40
      {2.0f, 1, 4.0f, 1.0f, 11.4f, 5.182f, 5},    // P 6, I 5, D 0.4
      {2.0f, 1, 5.0f, 2.0f, 20.8f, 5.390f, 5},    // P 10, I 10, D 0.8
      {2.0f, 1, 6.0f, 3.0f, 25.0f, 5.640f, 5},    // P 10, I 15, D 0
      {2.0f, 1, 7.0f, 4.0f, 30.0f, 5.940f, 5},
      {2.0f, 1, 8.0f, 5.0f, 34.0f, 6.280f, 6},    // 35 bounded
      {-1.0f, 1, 3.9f, 0.9f, -34.0f, 5.940f, 5},  // outer: P -100, I 550, D -60; inner -41 + 4.5 - 10.2
      {-1.0f, 1, 4.0f, 1.0f, 14.4f, 6.084f, 6},   // inner: 1 + 5 + 8.4
      {-1.0f, 2, 3.5f, 6.5f, 34.0f, 6.424f, 6},   // cooling: a = 3.5 + 3; 55 + 32.5 + 10.8 bounded
  };
  int n = 300;
  for (const Step& s : steps) {
    SCOPED_TRACE(n);
    r.m_activeMode = s.mode;
    r.m_runSeconds = n;
    EXPECT_EQ(PidGear(r, s.e), s.result);
    EXPECT_NEAR(r.m_pidDebug[17], s.w, 1e-4);
    EXPECT_NEAR(r.m_pidDebug[0], s.a, 1e-4);
    EXPECT_NEAR(r.m_pidDebug[6], s.u, 1e-4);
    EXPECT_NEAR(r.m_pidDebug[7], s.gear, 1e-4);
    EXPECT_EQ(r.m_pidGear, s.result);
    r.m_runSeconds = n + 5;
    EXPECT_EQ(PidGear(r, 9.0f), s.result) << "held between the ten-second steps";
    n += 10;
  }
}

TEST_F(CompressorGearTest, PidGear_HeldDuringDefrost) {
  r.m_minOffMinutes = 3;
  r.m_runSeconds = 600;
  r.m_pid2I = 1000;
  r.m_sinceDefrostSeconds = 100;  // within 180 s of a defrost
  r.m_pidDebug[7] = 12.0f;
  EXPECT_EQ(PidGear(r, 5.0f), 10) << "only bounded";
}

TEST_F(CompressorGearTest, Command_WaitsForThePumpAndTheValve) {
  r.m_heatTarget = 35.0f;
  r.m_heatCtrlTemp = 30.0f;
  r.m_valvePosition = 2;
  r.m_pumpOnSeconds = 29;
  CompressorCommand(r, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 0) << "the pump runs 30 s before the compressor";
  EXPECT_EQ(r.m_activeMode, 1);
  r.m_pumpOnSeconds = 30;
  CompressorCommand(r, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 10);
  r.m_valvePosition = 1;
  CompressorCommand(r, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 0) << "the valve is not at the heating side";
  CompressorCommand(r, 3);
  EXPECT_EQ(r.m_outdoorCmd2000, 10);
  r.m_ecoHotWaterFlags = 1;
  CompressorCommand(r, 3);
  EXPECT_EQ(r.m_outdoorCmd2000, 5);
  r.m_statusBits = 0x100000;
  CompressorCommand(r, 3);
  EXPECT_EQ(r.m_outdoorCmd2000, 0) << "over-temperature stop";
}

TEST_F(CompressorGearTest, ColdFloor_LiftsLowGearsBelowMinusSeven) {
  r.m_coldGearLimit = 1;
  r.m_valvePosition = 2;
  r.m_pumpOnSeconds = 60;
  r.m_heatTarget = 35.0f;
  r.m_heatCtrlTemp = 35.5f;  // gear 4
  r.m_ambientTempA = -7.5f;
  CompressorCommand(r, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 7);
  r.m_ambientTempA = -5.0f;
  r.m_outdoorCmd2000 = 0;
  CompressorCommand(r, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 7) << "held until above -5";
  r.m_ambientTempA = -4.9f;
  r.m_outdoorCmd2000 = 0;
  CompressorCommand(r, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 4);
}

TEST_F(CompressorGearTest, LowGearTimeout_AfterTheRunTimeAtGearOne) {
  r.m_lowFreqRunTime = 5;
  r.m_outdoorCmd2000 = 1;
  for (int i = 1; i < 300; ++i) ASSERT_EQ(LowGearTimeout(r), 0) << i;
  EXPECT_EQ(LowGearTimeout(r), 1);
  EXPECT_EQ(r.m_lowGearSeconds, 0);
  r.m_outdoorCmd2000 = 2;
  LowGearTimeout(r);
  EXPECT_EQ(r.m_lowGearSeconds, 0);
}

class CoilFreezeTest : public CompressorGearTest {
protected:
  CoilFreezeTest() {
    r.m_demandFlags = kDemandCooling;
    r.m_activeMode = 2;
    r.m_coolRunSeconds = 600;
    r.m_outletTemp = 10.0f;
  }
  // Cycles at coil temperature t until the stop, at most `limit`; the number of cycles taken.
  int UntilStop(float t, int limit) {
    r.m_coilTempOut = t;
    for (int i = 1; i <= limit; ++i) {
      r.m_outdoorCmd2000 = 4;
      CoilFreezeProtection(r);
      if (r.m_statusBits & kCoilFreezeStop) return i;
    }
    return 0;
  }
  void Release() {
    r.m_coilTempOut = 6.0f;
    CoilFreezeProtection(r);
  }
};

TEST_F(CoilFreezeTest, EventOnThe32ndCycleStopsUntilSixDegrees) {
  EXPECT_EQ(UntilStop(0.0f, 40), 32);
  EXPECT_EQ(r.m_outdoorCmd2000, 0);
  EXPECT_EQ(r.m_freezeStage, 1);
  r.m_coilTempOut = 5.9f;
  r.m_outdoorCmd2000 = 4;
  CoilFreezeProtection(r);
  EXPECT_EQ(r.m_outdoorCmd2000, 0);
  Release();
  EXPECT_EQ(r.m_statusBits & kCoilFreezeStop, 0u);

  // A cycle above the threshold starts the count again.
  r.m_freezeStage = 0;
  EXPECT_EQ(UntilStop(0.0f, 31), 0);
  r.m_coilTempOut = 0.5f;
  CoilFreezeProtection(r);
  EXPECT_EQ(UntilStop(0.0f, 31), 0);
}

TEST_F(CoilFreezeTest, ThreeEventsInOneWindowLockOut) {
  ASSERT_EQ(UntilStop(0.0f, 40), 32);
  Release();
  ASSERT_EQ(UntilStop(0.0f, 40), 32);
  Release();
  EXPECT_EQ(r.m_statusBits & kFreezeLockout, 0u) << "two events";
  ASSERT_EQ(UntilStop(1.0f, 40), 32) << "from stage 2 the threshold is 1 degree";
  EXPECT_NE(r.m_statusBits & kFreezeLockout, 0u);
}

TEST_F(CoilFreezeTest, WindowOf1800SecondsForgetsOldEvents) {
  ASSERT_EQ(UntilStop(0.0f, 40), 32);
  Release();
  ASSERT_EQ(UntilStop(0.0f, 40), 32);
  Release();
  r.m_coilTempOut = 10.0f;
  for (int i = 0; i < 1800; ++i) CoilFreezeProtection(r);
  EXPECT_EQ(r.m_freezeStage, 0);
  ASSERT_EQ(UntilStop(0.0f, 40), 32);
  EXPECT_EQ(r.m_statusBits & kFreezeLockout, 0u);
}

TEST_F(CoilFreezeTest, CoilCapsTheGearAndLowOutletIsFlagged) {
  r.m_coilTempOut = 3.0f;  // StepGear(1.0) = 7
  r.m_outdoorCmd2000 = 10;
  CoilFreezeProtection(r);
  EXPECT_EQ(r.m_outdoorCmd2000, 7);
  r.m_outletTemp = 5.0f;
  CoilFreezeProtection(r);
  EXPECT_NE(r.m_statusBits & 0x80000u, 0u);
  r.m_demandFlags = 0;
  CoilFreezeProtection(r);
  EXPECT_EQ(r.m_statusBits & 0x80000u, 0u);
}

}  // namespace
