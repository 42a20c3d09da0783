#include "BackupHeat.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"

namespace {

class BackupHeatTest : public ::testing::Test {
protected:
  BackupHeatTest() {
    r.m_insufficientCapacityTime = 10;
    r.m_tankTemp = 40.0f;
    r.m_heatIntegralSetting = 240;
    r.m_derateCopy = 2;
  }
  void HwSeconds(int n) {
    for (int i = 0; i < n; ++i) HwBackupStep(r, 2);
  }
  void HeatSeconds(int n, int target, float control) {
    for (int i = 0; i < n; ++i) HeatBackupStep(r, 2, target, control);
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(BackupHeatTest, HeaterSelection_ByEnableAndPriority) {
  struct Case {
    const char* name;
    int enabled;
    int priority;
    int firstIsDemand2;
    int secondExists;
  };
  const Case cases[] = {
      {"disabled", 0, 0, 0, 0}, {"disabled, priority", 0, 1, 0, 0},
      {"enabled, low", 1, 0, 0, 1}, {"enabled, high", 1, 1, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_hotWaterBackupEnabled = c.enabled;
    r.m_hotWaterBackupPriority = c.priority;
    HwHeaterSwitchOn(r, 0);
    HwHeaterSwitchOn(r, 1);
    EXPECT_EQ(r.m_hwHeaterDemand2, c.firstIsDemand2);
    EXPECT_EQ(r.m_hwHeaterDemand, 1 - c.firstIsDemand2);
    EXPECT_EQ(HwHeaterIsOn(r, 1), 1);
    EXPECT_EQ(HwHeaterIsOn(r, 2), 0);
    HwHeaterSwitchOn(r, 2);
    EXPECT_EQ(HwHeaterIsOn(r, 2), c.secondExists);
    EXPECT_EQ(r.m_hwHeaterDemand + r.m_hwHeaterDemand2, 1 + c.secondExists);
  }
  r.m_heatBackupEnabled = 1;
  r.m_heatBackupPriority = 1;
  HeatHeaterSwitchOn(r, 1);
  EXPECT_EQ(r.m_heatHeaterDemand2, 1);
  EXPECT_EQ(HeatHeaterIsOn(r, 2), 0);
}

TEST_F(BackupHeatTest, HotWaterCapacityTimer_FirstThenSecondHeater) {
  r.m_hotWaterBackupEnabled = 1;
  HwBackupStep(r, 1);
  HwSeconds(599);
  EXPECT_EQ(HwHeaterIsOn(r, 1), 0);
  HwSeconds(1);
  EXPECT_EQ(HwHeaterIsOn(r, 1), 1) << "after the shortfall time without a degree's rise";
  EXPECT_EQ(r.m_hwBackupStage, 2);
  HwSeconds(600);
  EXPECT_EQ(HwHeaterIsOn(r, 2), 1);
  EXPECT_EQ(r.m_hwBackupStage, 2);
  HwSeconds(600);
  EXPECT_EQ(r.m_hwBackupStage, 1) << "all heaters on";
}

TEST_F(BackupHeatTest, HotWaterWithoutBackup_OnlyDemandOneAndStageOneAfterTheSecondPeriod) {
  HwBackupStep(r, 1);
  HwSeconds(600);
  EXPECT_EQ(r.m_hwHeaterDemand, 1);
  HwSeconds(600);
  EXPECT_EQ(r.m_hwHeaterDemand2, 0);
  EXPECT_EQ(r.m_hwBackupStage, 1);
}

TEST_F(BackupHeatTest, RisingTank_KeepsRestartingTheTimer) {
  HwBackupStep(r, 1);
  for (int minute = 0; minute < 60; ++minute) {
    HwSeconds(540);
    r.m_tankTemp += 1.0f;
  }
  EXPECT_EQ(r.m_hwHeaterDemand, 0);
  EXPECT_EQ(r.m_hwHeaterDemand2, 0);
  HwBackupStep(r, 3);
  EXPECT_EQ(r.m_hwHeaterDemand, 1) << "kind 3 brings the first heater in at once";
  HwBackupStep(r, 0);
  EXPECT_EQ(r.m_hwHeaterDemand, 0);
  EXPECT_EQ(r.m_hwBackupStage, 0);
}

TEST_F(BackupHeatTest, HeatingIntegral_TwoDegreesShortForTwoHoursAddsTheFirstThenTheSecond) {
  r.m_heatBackupEnabled = 1;
  HeatBackupStep(r, 1, 37, 33.0f);  // target less the derate difference: 35, two degrees short
  HeatSeconds(7199, 37, 33.0f);
  EXPECT_EQ(r.m_heatHeaterDemand, 0);
  HeatSeconds(1, 37, 33.0f);
  EXPECT_EQ(r.m_heatHeaterDemand, 1) << "240 degree-minutes";
  EXPECT_EQ(r.m_heatBackupStage, 2);
  HeatSeconds(7200, 37, 33.0f);
  EXPECT_EQ(r.m_heatHeaterDemand2, 1);
  EXPECT_EQ(r.m_heatBackupStage, 1);
  HeatSeconds(100, 37, 33.0f);
  EXPECT_EQ(r.m_heatBackupStage, 1) << "stage 1 waits";
}

TEST_F(BackupHeatTest, HeatingIntegral_BanksTheShortfallWhenTheTemperatureMoves) {
  HeatBackupStep(r, 2, 37, 33.0f);  // stage 0 acts as a restart
  EXPECT_EQ(r.m_heatBackupStage, 2);
  HeatSeconds(3600, 37, 33.0f);
  HeatSeconds(1, 37, 33.1f);
  EXPECT_EQ(r.m_heatBackupIntegral, 0) << "a move under 0.2 degrees changes nothing";
  HeatSeconds(1, 37, 33.2f);
  EXPECT_NEAR(r.m_heatBackupIntegral, 1.8 * 3602, 2.0);
  EXPECT_EQ(r.m_heatBackupStage, 2);
  EXPECT_FLOAT_EQ(r.m_heatBackupTemp, 33.2f);
}

TEST_F(BackupHeatTest, EmergencyRun_FirstHeaterAtOnceThenTheIntegral) {
  r.m_heatBackupEnabled = 1;
  HeatBackupStep(r, 3, 37, 20.0f);
  EXPECT_EQ(r.m_heatHeaterDemand, 1);
  EXPECT_EQ(r.m_heatBackupStage, 2);
  HeatSeconds(60 * 16, 37, 20.0f);  // 15 degrees short: 240 degree-minutes in 16 minutes
  EXPECT_EQ(r.m_heatHeaterDemand2, 1);
  HeatBackupStep(r, 3, 37, 20.0f);
  EXPECT_EQ(r.m_heatBackupStage, 1);
  HeatBackupStep(r, 0, 37, 20.0f);
  EXPECT_EQ(r.m_heatHeaterDemand + r.m_heatHeaterDemand2, 0);
}

}  // namespace
