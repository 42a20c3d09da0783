#include "ModeRules.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"
#include "CycleSteps.h"
#include "SoftClock.h"

namespace {

const uint32_t kOverTemp = 0x100000u;

class ModeRulesTest : public ::testing::Test {
protected:
  ModeRulesTest() { SetHour(3, 10, 30, 30); }
  // The soft clock is what the rules read; weekday 3 = Wednesday.
  void SetHour(int weekday, int hour, int minute, int second) {
    g_clock.wDayOfWeek = static_cast<WORD>(weekday);
    g_clock.wHour = static_cast<WORD>(hour);
    g_clock.wMinute = static_cast<WORD>(minute);
    g_clock.wSecond = static_cast<WORD>(second);
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(ModeRulesTest, HeatWaterLimit_FollowsTheAmbient) {
  struct Case {
    int max;
    float ambient;
    int limit;
  };
  const Case cases[] = {
      {50, 40.0f, 50},   // 50 or less: the rule is off
      {60, 10.0f, 60},   // mild: the maximum
      {60, 35.0f, 50},   // hot
      {60, -25.0f, 50},  // very cold
      {55, 31.5f, 52},   // 52.5 truncated
      {60, 28.0f, 60},   // (35 - 28) x 10 / 7 + 50
      {60, -12.5f, 55},  // (12.5) x 10 x 0.04 + 50
      {60, 0.0f, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.max << " at " << c.ambient);
    r.m_heatSetMax = c.max;
    r.m_ambientTemp = c.ambient;
    HeatWaterLimit(r);
    EXPECT_EQ(r.m_heatWaterLimit, c.limit);
  }
}

TEST_F(ModeRulesTest, HeatWaterLimit_LoweredWhileItsTimerRuns) {
  r.m_heatSetMax = 60;
  r.m_ambientTemp = 10.0f;
  r.m_statusBitsB = 0x20;
  HeatWaterLimit(r);
  EXPECT_EQ(r.m_heatWaterLimit, 57);
  EXPECT_EQ(r.m_heatLimitTimer, 7199);
  r.m_statusBitsB = 0;
  r.m_heatLimitTimer = 1;
  HeatWaterLimit(r);
  EXPECT_EQ(r.m_heatWaterLimit, 57) << "the last lowered second";
  HeatWaterLimit(r);
  EXPECT_EQ(r.m_heatWaterLimit, 60);
  r.m_heatSetMax = 52;
  r.m_heatLimitTimer = 5;
  HeatWaterLimit(r);
  EXPECT_EQ(r.m_heatWaterLimit, 50) << "never below 50";
}

TEST_F(ModeRulesTest, OverTemperatureStop_AtTheLimitAndReleasedFiveBelow) {
  r.m_heatWaterLimit = 55;
  r.m_demandFlags = kDemandHeating;
  r.m_outletTemp = 54.9f;
  OverTemperatureStop(r);
  EXPECT_EQ(r.m_statusBits & kOverTemp, 0u);
  r.m_outletTemp = 55.0f;
  OverTemperatureStop(r);
  EXPECT_NE(r.m_statusBits & kOverTemp, 0u);
  r.m_outletTemp = 50.1f;
  OverTemperatureStop(r);
  EXPECT_NE(r.m_statusBits & kOverTemp, 0u);
  r.m_outletTemp = 50.0f;
  OverTemperatureStop(r);
  EXPECT_EQ(r.m_statusBits & kOverTemp, 0u);
  r.m_outletTemp = 60.0f;
  r.m_demandFlags = kDemandCooling;
  OverTemperatureStop(r);
  EXPECT_EQ(r.m_statusBits & kOverTemp, 0u) << "only hot water and heating are stopped";
}

TEST_F(ModeRulesTest, OutdoorPowerOff_Cut181SecondsWithoutRequest) {
  r.m_outdoorPowerOffEnabled = 1;
  r.m_outdoorPowerOffAmbient = 5;
  r.m_ambientTemp = 10.0f;
  for (int i = 0; i < 180; ++i) OutdoorPowerOff(r);
  EXPECT_EQ(r.m_outdoorPowerOut, 0);
  OutdoorPowerOff(r);
  EXPECT_EQ(r.m_outdoorPowerOut, 1);
  r.m_heatRequest = 1;
  OutdoorPowerOff(r);
  EXPECT_EQ(r.m_outdoorPowerOut, 0) << "a request restores it at once";
  r.m_heatRequest = 0;
  for (int i = 0; i < 181; ++i) OutdoorPowerOff(r);
  ASSERT_EQ(r.m_outdoorPowerOut, 1);
  SetHour(3, 12, 0, 4);
  OutdoorPowerOff(r);
  EXPECT_EQ(r.m_outdoorPowerOut, 0) << "five seconds of power every six hours";
  r.m_ambientTemp = 4.0f;
  SetHour(3, 12, 0, 30);
  for (int i = 0; i < 300; ++i) OutdoorPowerOff(r);
  EXPECT_EQ(r.m_outdoorPowerOut, 0) << "needed below the ambient";
  r.m_iconFlags = kIconPowerCut;
  for (int i = 0; i < 181; ++i) OutdoorPowerOff(r);
  EXPECT_EQ(r.m_outdoorPowerOut, 1) << "not needed when cold but held by a flag";
}

// The five seconds of power come at hours divisible by six, minute 0, seconds 0 to 4 only.
TEST_F(ModeRulesTest, OutdoorPowerOff_PoweredOnlyInTheFirstFiveSecondsOfEverySixthHour) {
  struct Case {
    int hour, minute, second, out;
  };
  const Case cases[] = {
      {12, 0, 5, 1}, {9, 0, 0, 1}, {12, 1, 0, 1}, {3, 0, 0, 1},
      {0, 0, 0, 0},  {6, 0, 4, 0}, {12, 0, 0, 0}, {18, 0, 3, 0},
  };
  r.m_outdoorPowerOffEnabled = 1;
  r.m_outdoorPowerOffAmbient = 5;
  r.m_ambientTemp = 10.0f;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute << ":" << c.second);
    SetHour(3, 10, 30, 30);
    r.m_outdoorOffCount = 0;
    r.m_outdoorPowerOut = 0;
    for (int i = 0; i < 181; ++i) OutdoorPowerOff(r);
    ASSERT_EQ(r.m_outdoorPowerOut, 1);
    SetHour(3, c.hour, c.minute, c.second);
    OutdoorPowerOff(r);
    EXPECT_EQ(r.m_outdoorPowerOut, c.out);
    EXPECT_EQ(r.m_outdoorOffCount, c.out ? 182 : 0);
    EXPECT_EQ(r.m_outdoorOnCount, c.out ? 0 : 1);
  }
}

TEST_F(ModeRulesTest, EcoHeating_TwoDegreeBand) {
  r.m_systemSwitch = 1;
  r.m_ecoHeatEnabled = 1;
  r.m_ecoHeatAmbientStart = 5;
  r.m_demandFlags = kDemandHeating;
  r.m_ambientTempB = 5.0f;
  EcoAndPowerCut(r);
  EXPECT_EQ(r.m_iconFlags & 1, 1);
  r.m_ambientTempB = 6.9f;
  EcoAndPowerCut(r);
  EXPECT_EQ(r.m_iconFlags & 1, 1);
  r.m_ambientTempB = 7.0f;
  EcoAndPowerCut(r);
  EXPECT_EQ(r.m_iconFlags & 1, 0);

  r.m_powerCutEnabled = 1;
  r.m_powerCutSignalType = 0;  // normally closed: open contact cuts
  r.m_powerCutSwitch = 0;
  EcoAndPowerCut(r);
  EXPECT_EQ(r.m_iconFlags, kIconPowerCut);
  r.m_powerCutSignalType = 1;
  EcoAndPowerCut(r);
  EXPECT_EQ(r.m_iconFlags, 0);
  r.m_systemSwitch = 0;
  r.m_ecoHotWaterFlags = 3;
  EcoAndPowerCut(r);
  EXPECT_EQ(r.m_ecoHotWaterFlags, 0);
}

TEST_F(ModeRulesTest, AutoModeRequest_ByAmbientAndSignals) {
  r.m_heatAmbientStart = 15;
  r.m_coolAmbientStart = 25;
  r.m_ambientTemp = r.m_ambientTempA = r.m_ambientTempC = 20.0f;
  r.m_autoFunction = 1;
  EXPECT_EQ(AutoModeRequest(r), 0);
  r.m_ambientTempC = 14.0f;
  EXPECT_EQ(AutoModeRequest(r), 1) << "the day mean alone, one degree below";
  r.m_statusBitsB = 0x200000;
  EXPECT_EQ(AutoModeRequest(r), 0);
  r.m_statusBitsB = 0;
  r.m_ambientTempC = 20.0f;
  r.m_ambientTempA = 28.0f;
  EXPECT_EQ(AutoModeRequest(r), 2);

  r.m_autoFunction = 2;
  r.m_heatSignal = 1;
  EXPECT_EQ(AutoModeRequest(r), 1);
  r.m_coolSignal = 1;
  EXPECT_EQ(AutoModeRequest(r), 0);
  r.m_heatSignal = 0;
  EXPECT_EQ(AutoModeRequest(r), 2);
  r.m_autoFunction = 3;
  EXPECT_EQ(AutoModeRequest(r), 2) << "cooling signal confirmed by the ambient";
  r.m_ambientTempA = 20.0f;
  EXPECT_EQ(AutoModeRequest(r), 0);
}

TEST_F(ModeRulesTest, SleepAndLowNoiseHours_TodaysHourBit) {
  r.m_sleepEnabled = 1;
  r.m_sleepTimerMask[3] = 1 << 10;
  r.m_lowNoiseTimerMask[3] = 1 << 10;
  SleepHours(r);
  LowNoiseHours(r);
  EXPECT_EQ(r.m_zoneFlag1, 1);
  EXPECT_EQ(r.m_zoneFlag2, 0) << "not enabled";
  SetHour(4, 10, 0, 0);
  SleepHours(r);
  EXPECT_EQ(r.m_zoneFlag1, 0);
}

TEST_F(ModeRulesTest, ModeSignal_WatchedBitAndContactType) {
  r.m_modeSignalOutput = 2;
  r.m_modeSignalType = 1;
  r.m_demandFlags = kDemandCooling;
  ModeSignal(r);
  EXPECT_EQ(r.m_modeSignalOut, 1);
  r.m_modeSignalType = 0;
  ModeSignal(r);
  EXPECT_EQ(r.m_modeSignalOut, 0);
  r.m_modeSignalOutput = 0;
  ModeSignal(r);
  EXPECT_EQ(r.m_modeSignalOut, 0);
}

TEST_F(ModeRulesTest, TestRun_DrivesTheUnitThenRunsThePumpOn) {
  r.m_testRunCountdown = 600;
  r.m_indoorOut1110 = 1;
  int driven = 0, pumpOnly = 0;
  while (r.m_testRunCountdown > 0) {
    TestRunStep(r);
    if (r.m_outdoorCmd2000 == 10) {
      ++driven;
      EXPECT_EQ(r.m_activeMode, 5);
    } else if (r.m_indoorOut1100 == 1) {
      ++pumpOnly;
    }
    EXPECT_EQ(r.m_indoorOut1110, 0);
  }
  EXPECT_EQ(driven, 579);
  EXPECT_EQ(pumpOnly, 20);  // counts 20 down to 1
  EXPECT_EQ(r.m_indoorOut1100, 0);
  EXPECT_EQ(r.m_activeMode, 0);

  r.m_testRunCountdown = 20;  // a stop request
  for (int i = 0; i < 19; ++i) {
    TestRunStep(r);
    EXPECT_EQ(r.m_indoorOut1100, 1);
    EXPECT_EQ(r.m_outdoorCmd2000, 0);
  }
  TestRunStep(r);
  EXPECT_EQ(r.m_indoorOut1100, 0);
  EXPECT_EQ(r.m_testRunCountdown, 0);
}

}  // namespace
