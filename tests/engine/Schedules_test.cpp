#include "Schedules.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"
#include "Clock.h"
#include "CycleSteps.h"
#include "LocalTime.h"
#include "SoftClock.h"

namespace {

const int kThursday = 4;

uint32_t Packed(int year, int month, int day, int hour, int minute) {
  return static_cast<uint32_t>(year) | static_cast<uint32_t>(month) << 12 | static_cast<uint32_t>(day) << 16 |
         static_cast<uint32_t>(hour) << 21 | static_cast<uint32_t>(minute) << 26;
}

using enginetest::LocalMs;

class SchedulesTest : public ::testing::Test {
protected:
  SchedulesTest() {
    r.m_heatPumpAvailable = 1;
    r.m_hotWaterSetTemp = 50;
    r.m_hotWaterRestartDiff = 5;
  }
  void At(int64_t localMs) {
    clock->SetLocalMs(localMs);
    SoftClock(1);
  }
  // One second on the virtual clock, then the rule.
  template <typename Rule>
  void Seconds(int n, Rule rule) {
    for (int i = 0; i < n; ++i) {
      clock->Advance(1000);
      SoftClock(1);
      rule(r);
    }
  }

  panel::ScopedVirtualClock clock;
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(SchedulesTest, Holiday_InsideFromStartToEndInclusive) {
  r.m_holidayEnabled = 1;
  r.m_holidayStart = Packed(2026, 1, 1, 8, 30);
  r.m_holidayEnd = Packed(2026, 1, 3, 10, 0);
  struct Case {
    const char* name;
    int64_t now;
    int active;
  };
  const Case cases[] = {
      {"a second before", LocalMs(2026, 1, 1, 8, 29, 59), 0}, {"at the start", LocalMs(2026, 1, 1, 8, 30), 1},
      {"between", LocalMs(2026, 1, 2, 23, 0), 1},             {"at the end", LocalMs(2026, 1, 3, 10, 0), 1},
      {"a second after", LocalMs(2026, 1, 3, 10, 0, 1), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    At(c.now);
    HolidayWindow(r);
    EXPECT_EQ(r.m_holidayActive, c.active);
  }
  r.m_holidayEnabled = 0;
  At(LocalMs(2026, 1, 2, 12, 0));
  HolidayWindow(r);
  EXPECT_EQ(r.m_holidayActive, 0);
}

TEST_F(SchedulesTest, Holiday_DateThatIsNoRealDate_LeavesTheWindowInactive) {
  r.m_holidayEnabled = 1;
  At(LocalMs(2026, 2, 15, 12, 0));
  struct Case {
    const char* name;
    uint32_t start;
    uint32_t end;
  };
  const Case cases[] = {
      {"month 0", Packed(2026, 0, 1, 0, 0), Packed(2026, 3, 1, 0, 0)},
      {"31 February", Packed(2026, 2, 1, 0, 0), Packed(2026, 2, 31, 0, 0)},
      {"hour 25", Packed(2026, 2, 1, 25, 0), Packed(2026, 3, 1, 0, 0)},
      {"minute 60", Packed(2026, 2, 1, 0, 0), Packed(2026, 3, 1, 0, 60)},
      {"month 13", Packed(2026, 1, 1, 0, 0), Packed(2026, 13, 1, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_holidayStart = c.start;
    r.m_holidayEnd = c.end;
    HolidayWindow(r);
    EXPECT_EQ(r.m_holidayActive, 0);
  }
  r.m_holidayStart = Packed(2024, 2, 29, 0, 0);  // a leap day is a real date
  r.m_holidayEnd = Packed(2026, 3, 1, 0, 0);
  HolidayWindow(r);
  EXPECT_EQ(r.m_holidayActive, 1);
}

class AntiLegionellaTest : public SchedulesTest {
protected:
  AntiLegionellaTest() {
    r.m_sterilizeEnabled = 1;
    r.m_sterilizeTemp = 60;
    r.m_sterilizeHoldTime = 10;
    r.m_sterilizeMaxTime = 120;
    r.m_tankTemp = 45.0f;
  }
  void StartAt(int hour, int minute) {
    r.m_sterilizeStart = (1u << kThursday) | static_cast<uint32_t>(hour) << 7 | static_cast<uint32_t>(minute) << 13;
  }
  void Run(int seconds) { Seconds(seconds, AntiLegionella); }
};

TEST_F(AntiLegionellaTest, StartsOnItsDayAndHour_HoldsAboveTargetLessThree) {
  StartAt(22, 0);
  At(LocalMs(2026, 1, 1, 21, 59, 0));  // Thursday
  Run(59);
  EXPECT_EQ(r.m_hwState, 0);
  Run(1);
  EXPECT_EQ(r.m_hwState, 1);
  EXPECT_EQ(r.m_hwTarget, 60);
  Run(300);
  EXPECT_EQ(r.m_sterilizeHoldSeconds, 0);
  r.m_tankTemp = 57.0f;
  Run(599);
  EXPECT_EQ(r.m_hwState, 1);
  EXPECT_EQ(r.m_sterilizeHoldSeconds, 599);
  Run(1);
  EXPECT_EQ(r.m_hwState, 2);
  r.m_tankTemp = 40.0f;
  Run(3600);
  EXPECT_EQ(r.m_hwState, 2) << "one cycle a day: not restarted in the same window";
  Run(45 * 60 - 1);
  EXPECT_EQ(r.m_hwState, 2);
  Run(1);
  EXPECT_EQ(r.m_hwState, 0) << "the window ends at midnight, 120 minutes after 22:00";
}

TEST_F(AntiLegionellaTest, DipRestartsTheHoldFromOne) {
  StartAt(10, 0);
  At(LocalMs(2026, 1, 1, 9, 59, 59));
  r.m_tankTemp = 58.0f;
  Run(1 + 8 * 60);
  EXPECT_EQ(r.m_sterilizeHoldSeconds, 8 * 60 + 1);
  r.m_tankTemp = 56.9f;
  Run(1);
  EXPECT_EQ(r.m_sterilizeHoldSeconds, 1);
  Run(30);
  EXPECT_EQ(r.m_sterilizeHoldSeconds, 1);
  r.m_tankTemp = 58.0f;
  Run(10 * 60 - 2);
  EXPECT_EQ(r.m_hwState, 1);
  Run(1);
  EXPECT_EQ(r.m_hwState, 2);
}

TEST_F(AntiLegionellaTest, TankNeverWarmEnough_TimesOutAtTheMaximumTime) {
  StartAt(10, 0);
  At(LocalMs(2026, 1, 1, 9, 59, 59));
  Run(120 * 60 - 1);
  EXPECT_EQ(r.m_hwState, 1);
  Run(1);
  EXPECT_EQ(r.m_hwState, 3);
  EXPECT_EQ(r.m_sterilizeSeconds, 120 * 60);
  Run(1);
  EXPECT_EQ(r.m_hwState, 0);
}

TEST_F(AntiLegionellaTest, WindowAcrossMidnight_RunsOnIntoTheNextDay) {
  StartAt(23, 0);
  At(LocalMs(2026, 1, 1, 22, 59, 59));  // Thursday; Friday's bit is clear
  Run(1);
  EXPECT_EQ(r.m_hwState, 1);
  Run(90 * 60);
  EXPECT_EQ(g_clock.wDayOfWeek, 5);
  EXPECT_EQ(r.m_hwState, 1) << "half past midnight, inside the window that began on Thursday";
  Run(30 * 60 - 1);
  EXPECT_EQ(r.m_hwState, 3);
  Run(1);
  EXPECT_EQ(r.m_hwState, 0);
  EXPECT_EQ(r.m_sterilizeSeconds, 0);
}

TEST_F(AntiLegionellaTest, OtherDayOrDisabled_Idle) {
  StartAt(10, 0);
  At(LocalMs(2026, 1, 2, 9, 59, 59));  // Friday
  Run(60);
  EXPECT_EQ(r.m_hwState, 0);
  At(LocalMs(2026, 1, 1, 10, 5));
  r.m_sterilizeEnabled = 0;
  Run(60);
  EXPECT_EQ(r.m_hwState, 0);
}

TEST_F(SchedulesTest, HotWaterSchedule_StorageAndReheatHours) {
  At(LocalMs(2026, 1, 1, 10, 30));  // Thursday, hour 10
  r.m_reheatSetTemp = 42;
  r.m_reheatRestartDiff = 3;
  HotWaterSchedule(r);
  EXPECT_EQ(r.m_hwSchedule, 3);
  EXPECT_EQ(r.m_hwTarget, 50);

  r.m_heatStorageEnabled = 1;
  r.m_storageTimerMask[kThursday] = 1 << 10;
  HotWaterSchedule(r);
  EXPECT_EQ(r.m_hwSchedule, 1);
  EXPECT_EQ(r.m_hwTarget, 50);

  r.m_storageTimerMask[kThursday] = 1 << 11;
  r.m_reheatEnabled = 1;
  r.m_reheatTimerMask[kThursday] = 1 << 10;
  HotWaterSchedule(r);
  EXPECT_EQ(r.m_hwSchedule, 2);
  EXPECT_EQ(r.m_hwTarget, 42);

  r.m_reheatTimerMask[kThursday] = 0;
  r.m_hwRequest = r.m_hwHpRequest = r.m_hwHeaterDemand = r.m_hwHeaterDemand2 = 1;
  r.m_hwBackupStage = 300;
  HotWaterSchedule(r);
  EXPECT_EQ(r.m_hwSchedule, 0);
  EXPECT_EQ(r.m_hwTarget, 50);
  for (int32_t v : {r.m_hwRequest, r.m_hwHpRequest, r.m_hwHeaterDemand, r.m_hwHeaterDemand2, r.m_hwBackupStage}) {
    EXPECT_EQ(v, 0);
  }
}

TEST_F(SchedulesTest, WeeklyTimer_AnOffHourTakesHeatingAndCoolingButNotHotWater) {
  At(LocalMs(2026, 1, 1, 10, 30));  // Thursday, hour 10
  r.m_demandFlags = kDemandHotWater | kDemandHeating | kDemandCooling;
  WeeklyTimer(r);
  EXPECT_EQ(r.m_timerState, 2);
  EXPECT_EQ(r.m_demandFlags, kDemandHotWater | kDemandHeating | kDemandCooling);
  r.m_timerEnabled = 1;
  r.m_timerMask[kThursday] = 1 << 10;
  WeeklyTimer(r);
  EXPECT_EQ(r.m_timerState, 1);
  EXPECT_EQ(r.m_demandFlags, kDemandHotWater | kDemandHeating | kDemandCooling);
  r.m_timerMask[kThursday] = ~(1 << 10);
  WeeklyTimer(r);
  EXPECT_EQ(r.m_timerState, 0);
  EXPECT_EQ(r.m_demandFlags, kDemandHotWater);
}

// Hours to hold and water temperature of each stage, 0 to 26.
const int kHours[27] = {0, 0, 72, 0, 96, 0, 24, 0, 24, 0, 24, 0, 24, 0, 24, 0, 144, 0, 24, 0, 24, 0, 24, 0, 24, 0, 24};
const int kWater[27] = {30, 30, 30, 55, 55, 30, 30, 35, 35, 40, 40, 45, 45, 50,
                        50, 55, 55, 50, 50, 45, 45, 40, 40, 35, 35, 30, 30};

class FloorFirstHeatTest : public ::testing::Test {
protected:
  FloorFirstHeatTest() {
    r.m_floorHeatEnabled = 1;
    r.m_heatPumpAvailable = 1;
    r.m_heatSetMin = 20;
  }
  // One second with the water at the temperature of the stage the programme is in.
  void FollowingSecond() {
    int stage = r.m_floorHeatStage <= 26 ? r.m_floorHeatStage : 26;
    r.m_heatCoolTemp = static_cast<float>(kWater[stage]) - 0.5f;
    FloorFirstHeat(r);
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(FloorFirstHeatTest, Programme_RunsEveryStageForItsHoursInBand) {
  r.m_floorHeatStage = 0;
  r.m_hwRequest = 1;
  r.m_statusBits = kStatusFloorHeatFault;
  FollowingSecond();
  EXPECT_EQ(r.m_statusBits, 0u);
  EXPECT_EQ(r.m_hwRequest, 0);
  EXPECT_EQ(r.m_stopOffsetCopy, 1);
  EXPECT_EQ(r.m_hysteresisCopy, 2);
  EXPECT_EQ(r.m_derateCopy, 2);
  EXPECT_EQ(r.m_heatTarget, 30.0f);
  EXPECT_EQ(r.m_floorHeatStage, 2) << "stage 1 holds 0 hours: passed in its first cycle in band";

  int seconds[27] = {};
  for (int64_t i = 0; i < 700LL * 3600 && r.m_floorHeatEnabled; ++i) {
    int stage = r.m_floorHeatStage;
    FollowingSecond();
    if (stage <= 26) ++seconds[stage];
  }
  EXPECT_EQ(r.m_floorHeatEnabled, 0);
  EXPECT_EQ(r.m_floorHeatStage, 27);
  for (int s = 2; s <= 26; ++s) {
    SCOPED_TRACE(s);
    EXPECT_EQ(seconds[s], kHours[s] == 0 ? 1 : kHours[s] * 3600);
  }
  EXPECT_EQ(seconds[16], 144 * 3600);
  EXPECT_EQ(r.m_floorHeatTotalTime, 552);
  EXPECT_EQ(r.m_floorHeatMaxTemp, 54);
}

TEST_F(FloorFirstHeatTest, Restart_ContinuesAtTheStoredStageAndHours) {
  r.m_floorHeatStage = 4;
  for (int i = 0; i < 50 * 3600; ++i) FollowingSecond();
  ASSERT_EQ(r.m_floorHeatStage, 4);
  EXPECT_EQ(r.m_floorStageEffectiveTime, 50);
  EXPECT_EQ(r.m_floorStageRunTime, 50);

  // What the parameter table keeps across a power cut; the working counts start again at 0.
  auto restarted = std::make_unique<CSystemData>();
  CSystemData& n = *restarted;
  n.m_floorHeatEnabled = r.m_floorHeatEnabled;
  n.m_floorHeatStage = r.m_floorHeatStage;
  n.m_floorStageRunTime = r.m_floorStageRunTime;
  n.m_floorStageSetTemp = r.m_floorStageSetTemp;
  n.m_floorStageEffectiveTime = r.m_floorStageEffectiveTime;
  n.m_floorHeatTotalTime = r.m_floorHeatTotalTime;
  n.m_floorHeatMaxTemp = r.m_floorHeatMaxTemp;
  n.m_heatPumpAvailable = 1;
  n.m_heatCoolTemp = 54.5f;
  for (int i = 0; i < 46 * 3600 - 1; ++i) FloorFirstHeat(n);
  EXPECT_EQ(n.m_floorHeatStage, 4);
  FloorFirstHeat(n);
  EXPECT_EQ(n.m_floorHeatStage, 5) << "96 hours in band in all";
  EXPECT_EQ(n.m_floorHeatTotalTime, 96);
}

TEST_F(FloorFirstHeatTest, OutOfBandForOneHundredTwentyHours_StopsWithAFault) {
  r.m_floorHeatStage = 2;
  r.m_heatCoolTemp = 27.9f;  // below 30 - 2
  for (int i = 0; i < 120 * 3600 - 1; ++i) FloorFirstHeat(r);
  EXPECT_EQ(r.m_floorHeatEnabled, 1);
  EXPECT_FALSE(r.m_statusBits & kStatusFloorHeatFault);
  FloorFirstHeat(r);
  EXPECT_EQ(r.m_floorHeatEnabled, 0);
  EXPECT_TRUE(r.m_statusBits & kStatusFloorHeatFault);
  EXPECT_EQ(r.m_floorHeatStage, 2);
}

TEST_F(FloorFirstHeatTest, StageOutsideTheTable_MeansFinished) {
  for (int32_t stage : {27, 1000, -1, -2147483647}) {
    SCOPED_TRACE(stage);
    r.m_floorHeatEnabled = 1;
    r.m_floorHeatStage = stage;
    r.m_hwRequest = 1;
    r.m_heatTarget = 0.0f;
    FloorFirstHeat(r);
    EXPECT_EQ(r.m_floorHeatEnabled, 0);
    EXPECT_EQ(r.m_hwRequest, 0);
    EXPECT_EQ(r.m_heatTarget, 0.0f) << "no stage temperature taken";
  }
}

}  // namespace
