#include "ExpansionValve.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"
#include "OutdoorBlock.h"

namespace {

class ExpansionValveTest : public ::testing::Test {
protected:
  ExpansionValveTest() {
    r.m_limitA = 15.0f;
    r.m_limitB = 8.0f;
    r.m_limitC = 7.0f;
    for (int k = 0; k < 10; ++k) {
      Cell(3013 + k) = static_cast<uint16_t>(20 + 10 * k);  // heating levels at 20, 30 ... 110 Hz
      Cell(3002 + k) = static_cast<uint16_t>(25 + 10 * k);
    }
    Cell(3260) = 110;  // discharge: 5 from 110, 4 from 105, 3 from 100, release below 90
    Cell(3261) = 105;
    Cell(3262) = 100;
    Cell(3263) = 90;
    Cell(3247) = 40;   // pressure
    Cell(3471) = 0;    // coil in cooling: 5 at or below 0, 4 at 1, 3 at 2, release above 4
    Cell(3472) = 1;
    Cell(3473) = 2;
    Cell(3474) = 4;
    r.m_pressureA = 20.0f;
    r.m_outdoorTemp2113 = 60.0f;
  }
  uint16_t& Cell(int n) { return outdoor->m_paramBlock[n - 3000]; }
  void Cycles(int n) {
    for (int i = 0; i < n; ++i) ExpansionValveStep(r, outdoor.get());
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
  std::unique_ptr<OutdoorBlock> outdoor = std::make_unique<OutdoorBlock>();
};

TEST_F(ExpansionValveTest, InitialOpening_FallsWithTheAmbient) {
  struct Case {
    float ambient;
    int opening;
  };
  for (Case c : {Case{0.0f, 380}, Case{20.0f, 220}, Case{50.0f, 80}, Case{-10.0f, 380}}) {
    r.m_ambientTemp = c.ambient;
    ExpansionValveStep(r, outdoor.get());
    EXPECT_EQ(r.m_eevInitialOpening, c.opening) << c.ambient;
  }
}

TEST_F(ExpansionValveTest, TargetSuperheat_FromTheDischargeDifference) {
  struct Case {
    int level;
    float diff, target;
  };
  const Case cases[] = {
      {0, 18.0f, 4.0f}, {0, 25.0f, 2.0f}, {5, 5.0f, 11.75f}, {5, 3.0f, 10.0f},
      {5, 9.0f, 5.25f}, {0, 42.0f, 1.2f}, {0, 46.0f, 0.0f},
  };
  r.m_ambientTemp = 0.0f;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.level << " " << c.diff);
    r.m_gearLevelCommitted = c.level;
    r.m_gearLevel = c.level;
    r.m_outdoorTemp2113 = c.diff;
    r.m_saturationTemp = 0.0f;
    ExpansionValveStep(r, outdoor.get());
    EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, c.target);
  }
}

// The last 180 discharge differences all at `value`, and so their average.
void FillDischargeWindow(CSystemData& r, float value) {
  for (float& v : r.m_dischargeWindow) v = value;
}

TEST_F(ExpansionValveTest, Boost_After240SecondsOfPoorDischargeFor360Cycles) {
  r.m_ambientTemp = 0.0f;
  r.m_compressorHz = 10;       // running, below every level's threshold
  r.m_outdoorTemp2113 = 2.0f;  // a poor difference; without the boost the target is 10.0
  r.m_eevRunSeconds = 240;
  Cycles(1);
  EXPECT_EQ(r.m_eevBoost, 0) << "not at 240 seconds";
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, 10.0f);
  Cycles(1);
  EXPECT_EQ(r.m_eevBoost, 1);
  EXPECT_EQ(r.m_eevBoostCount, 1);
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, static_cast<float>(10.0 - 0.0222225));
  Cycles(179);
  EXPECT_EQ(r.m_eevBoostCount, 180) << "a running boost is not restarted";
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, static_cast<float>(10.0 - 180 * 0.0222225));
  Cycles(180);
  EXPECT_EQ(r.m_eevBoostCount, 360);
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, static_cast<float>(10.0 - 360 * 0.0222225));
  Cycles(1);
  EXPECT_EQ(r.m_eevBoost, 0) << "ended after the cycle at 360";
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, static_cast<float>(10.0 - 360 * 0.0222225));
  Cycles(1);
  EXPECT_EQ(r.m_eevBoostCount, 1) << "the average still poor: the next boost";

  r.m_eevBoost = 0;
  FillDischargeWindow(r, 3.0f);
  r.m_outdoorTemp2113 = 3.0f;
  Cycles(1);
  EXPECT_EQ(r.m_eevBoost, 0) << "an average of 3.0 is good enough";
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, 10.0f);
}

TEST_F(ExpansionValveTest, MildWeather_TargetTwoAtLowLevelsAfter900Seconds) {
  struct Case {
    int run;
    float ambient;
    int level, before, after;
  };
  const Case cases[] = {
      {900, 5.0f, 6, 0, 1}, {899, 5.0f, 6, 0, 0}, {899, 5.0f, 6, 1, 0},  // set only from 900 s
      {900, 4.9f, 6, 0, 0}, {900, 4.9f, 6, 1, 1}, {900, 3.5f, 6, 1, 0},  // the ambient's band
      {900, 5.0f, 7, 0, 0}, {900, 5.0f, 7, 1, 1}, {900, 5.0f, 8, 1, 0},  // the level's band
      {899, 4.0f, 6, 1, 1}, {899, 4.0f, 8, 1, 0}, {899, 3.5f, 6, 1, 0},
  };
  r.m_outdoorTemp2113 = 2.0f;  // 10.0 without the flag at every level here
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.run << " s, " << c.ambient << ", level " << c.level << ", from " << c.before);
    FillDischargeWindow(r, 10.0f);
    r.m_eevBoost = 0;
    r.m_eevRunSeconds = c.run;
    r.m_ambientTemp = c.ambient;
    r.m_gearLevelCommitted = r.m_gearLevel = c.level;
    r.m_eevLowTargetFlag = c.before;
    Cycles(1);
    EXPECT_EQ(r.m_eevLowTargetFlag, c.after);
    EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, c.after ? 2.0f : 10.0f);
  }
}

TEST_F(ExpansionValveTest, GearLevel_CommittedAfterSixtyCyclesAtTheNewLevel) {
  FillDischargeWindow(r, 10.0f);
  r.m_ambientTemp = 0.0f;
  r.m_outdoorTemp2113 = 12.0f;  // target 13.5 at level 0, 2.0 at level 4, 5.25 at level 7
  r.m_compressorHz = 50;         // level 4
  Cycles(61);
  EXPECT_EQ(r.m_gearLevel, 4);
  EXPECT_EQ(r.m_gearLevelCommitted, 0);
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, 13.5f);
  Cycles(1);
  EXPECT_EQ(r.m_gearLevelCommitted, 4);
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, 2.0f);

  r.m_compressorHz = 80;  // level 7, seen from the next cycle on
  Cycles(60);
  EXPECT_EQ(r.m_gearLevelCommitted, 4) << "sixty cycles after the last commit";
  Cycles(1);
  EXPECT_EQ(r.m_gearLevelCommitted, 7);
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, 5.25f);

  Cycles(200);
  r.m_compressorHz = 50;
  Cycles(1);
  EXPECT_EQ(r.m_gearLevelCommitted, 7) << "the level is taken after the commit test";
  Cycles(1);
  EXPECT_EQ(r.m_gearLevelCommitted, 4) << "at once after a long steady level";
}

TEST_F(ExpansionValveTest, StartUpSequence_AfterALongDefrost) {
  r.m_ambientTemp = 0.0f;
  r.m_compressorHz = 50;
  r.m_eevOutput = 300.0f;
  r.m_defrostRunSeconds = 331;
  ExpansionValveStep(r, outdoor.get());
  r.m_defrostRunSeconds = 0;
  EXPECT_EQ(r.m_eevPhase, 2);
  EXPECT_EQ(r.m_outdoorCmd2002, 100);
  Cycles(77);
  EXPECT_EQ(r.m_eevPhase, 79);
  EXPECT_EQ(r.m_outdoorCmd2002, 100);
  EXPECT_EQ(r.m_eevRunSeconds, 0) << "nothing else moves below phase 80";
  EXPECT_EQ(r.m_gearLevel, 0);
  Cycles(1);  // phase 80: the opening is saved
  EXPECT_FLOAT_EQ(r.m_eevSavedOpening, 300.0f);
  EXPECT_EQ(r.m_eevInitialOpening, 270);
  EXPECT_EQ(r.m_eevRunSeconds, -59);
  Cycles(179);  // phase 259
  EXPECT_EQ(r.m_eevInitialOpening, 270);
  EXPECT_EQ(r.m_outdoorCmd2002, 270) << "the compressor has not run 121 s yet";
  Cycles(1);  // phase 260: the falling target
  EXPECT_FLOAT_EQ(r.m_eevTargetSuperheat, 10.0f - 20.0f / 60.0f);
  Cycles(460);
  EXPECT_EQ(r.m_eevPhase, 0);
}

TEST_F(ExpansionValveTest, Pid_ActsEveryTenthCycleOnTheSuperheat) {
  r.m_ambientTemp = 0.0f;
  r.m_compressorHz = 50;
  r.m_eevRunSeconds = 200;
  r.m_eevOutput = r.m_eevOutputPrev = 300.0f;
  r.m_outdoorTemp2113 = 20.0f;  // target 2.0 at level 0 (x >= 20)
  r.m_outdoorTemp2114 = 8.0f;
  r.m_coilTempOut = 4.0f;       // superheat 4: error 2
  Cycles(9);
  EXPECT_EQ(r.m_outdoorCmd2002, 0) << "nothing sent between the PID steps";
  Cycles(1);
  // P = 2 x 15, I = 2 x 8, D = 2 x 7: step (14 + 30 + 16) x 0.1 = 6
  EXPECT_FLOAT_EQ(r.m_eevStep, 6.0f);
  EXPECT_EQ(r.m_outdoorCmd2002, 294);
  EXPECT_EQ(r.m_gearLevel, 4) << "50 Hz reaches the heating cell of level 4";
}

TEST_F(ExpansionValveTest, Pid_DeadBandAndOnlyAnUpperStepLimit) {
  r.m_ambientTemp = 0.0f;
  r.m_compressorHz = 50;
  r.m_eevRunSeconds = 150;  // past the initial opening, short of the boost
  r.m_outdoorTemp2113 = 20.0f;
  r.m_eevOutput = r.m_eevOutputPrev = 300.0f;
  // A small error whose step stays inside the dead band: e = 0.01.
  r.m_eevErrorPrev = r.m_eevErrorPrev2 = 0.01f;
  r.m_outdoorTemp2114 = 2.01f;
  Cycles(10);
  EXPECT_FLOAT_EQ(r.m_eevStep, 0.0f);
  EXPECT_EQ(r.m_outdoorCmd2002, 300);
  // A large negative error opens the valve by the whole step: (-630 - 168 - 294) x 0.1.
  r.m_eevErrorPrev = r.m_eevErrorPrev2 = 0.0f;
  r.m_outdoorTemp2114 = -40.0f;  // e = -42
  Cycles(10);
  EXPECT_FLOAT_EQ(r.m_eevStep, -109.2f);
  EXPECT_EQ(r.m_outdoorCmd2002, 409);
  r.m_outdoorTemp2114 = 100.0f;
  Cycles(10);
  EXPECT_FLOAT_EQ(r.m_eevStep, 20.0f);
}

TEST_F(ExpansionValveTest, Protective_ClassifierLevelsReplaceTheStep) {
  float step = 3.0f;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_FLOAT_EQ(step, 3.0f) << "all levels 0: the PID step stands";
  r.m_outdoorTemp2113 = 100.0f;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_EQ(r.m_protLevelTemp, 3);
  EXPECT_FLOAT_EQ(step, 8.0f);
  r.m_outdoorTemp2113 = 95.0f;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_EQ(r.m_protLevelTemp, 1);
  EXPECT_FLOAT_EQ(step, 0.0f);
  r.m_outdoorTemp2113 = 110.0f;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_FLOAT_EQ(step, 15.0f);
  r.m_outdoorTemp2113 = 104.0f;
  step = 3.0f;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_EQ(r.m_protLevelTemp, 0) << "level 5 falls to 0 below cell 3261";
  EXPECT_FLOAT_EQ(step, 3.0f);

  r.m_pressureA = 37.0f;  // P - 3
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_FLOAT_EQ(step, 12.0f);
  r.m_pressureA = 20.0f;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_EQ(r.m_protLevelPressure, 0);

  r.m_activeMode = 2;
  r.m_coilTempOut = 1.0f;
  step = 3.0f;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_EQ(r.m_protLevelCoil, 4);
  EXPECT_FLOAT_EQ(step, 10.0f);
  r.m_activeMode = 1;
  ProtectiveStep(r, outdoor.get(), step);
  EXPECT_EQ(r.m_protLevelCoil, 0) << "the coil classifier only in cooling";
}

TEST_F(ExpansionValveTest, WithoutTheOutdoorBlock_CellsReadZero) {
  r.m_compressorHz = 1;
  r.m_eevRunSeconds = 200;
  for (int i = 0; i < 10; ++i) ExpansionValveStep(r, nullptr);
  EXPECT_EQ(r.m_gearLevel, 10) << "every threshold 0 is reached";
  float step = 1.0f;
  ProtectiveStep(r, nullptr, step);
  EXPECT_FLOAT_EQ(step, 15.0f) << "a discharge of 60 is above every zero cell";
}

}  // namespace
