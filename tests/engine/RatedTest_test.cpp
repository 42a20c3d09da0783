// The rated-condition test against the outdoor unit's driver and the unit simulator on a pty: the test
// cells saved, written with the unit's write hand-shake, the settling time, the fixed working point
// with its defrosts, and the restore.
#include "RatedTest.h"

#include <gtest/gtest.h>

#include <memory>

#include "BusDeviceRig.h"
#include "CParamDevice.h"
#include "CSystemData.h"
#include "OutdoorBlock.h"
#include "UnitOutputs.h"

namespace {

const int kCells[15] = {3013, 3014, 3015, 3016, 3017, 3018, 3019, 3020, 3021, 3022, 3029, 3248, 3249, 3275, 3281};

struct OutdoorRig : bustest::UnitRig<CParamDevice, OutdoorBlock, unitsim::OutdoorBoard> {
  OutdoorRig() : UnitRig(2, &unitsim::UnitSimulator::Outdoor) {}
};

class RatedTestTest : public ::testing::Test {
protected:
  RatedTestTest() {
    rig.Pass();  // start-up reads
    for (int i = 0; i < 15; ++i) original[i] = rig.unit.StoredCell(kCells[i]);
    r.m_ratedTestCounter = 1000000;
    r.m_ratedCondition = 2;
    r.m_pointFrequency[2] = 40;
    r.m_pointEevOpening[2] = 260;
    r.m_pointFanSpeed[2] = 650;
    r.m_pointDefrostInterval[2] = 30;
    r.m_activeMode = 1;
    r.m_valvePosition = 2;  // at the heating side, where the working point is held
  }
  // One second: the test step, the unit writes, one bus pass.
  void Second() {
    ++r.m_uptimeSeconds;
    RatedTest(r, &rig.block);
    WriteUnitOutputs(r, nullptr, &rig.block);
    rig.Pass();
  }
  // Seconds until the step changes; at most `limit`.
  int UntilStepChanges(int limit) {
    int32_t step = r.m_ratedTestStep;
    int n = 0;
    while (r.m_ratedTestStep == step && n < limit) {
      Second();
      ++n;
    }
    return n;
  }

  OutdoorRig rig;
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
  uint16_t original[15] = {};
};

TEST_F(RatedTestTest, RunAndRestore_WritesTheTestCellsWithTheHandShakeAndPutsThemBack) {
  r.m_ratedTestSwitch = 1;
  r.m_ratedTestState = 1;  // timed defrosts switched on (page 14)
  Second();
  EXPECT_EQ(r.m_ratedTestStep, 1);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(r.m_preTestBackup[i], original[i]) << kCells[i];

  ASSERT_LT(UntilStepChanges(60), 60);
  EXPECT_EQ(r.m_ratedTestStep, 2);
  EXPECT_EQ(rig.block.m_eepromHandshake, 0);
  const uint16_t written[15] = {30, 31, 30, 40, 41, 42, 43, 44, 45, 55, 0, 21, 0, 0, 55};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(rig.unit.StoredCell(kCells[i]), written[i]) << kCells[i];
  EXPECT_GE(rig.unit.Commits(), 1);

  EXPECT_EQ(UntilStepChanges(200), 100) << "settles 100 seconds after the write pass";
  EXPECT_EQ(r.m_ratedTestStep, 3);
  Second();
  EXPECT_EQ(r.m_activeMode, 1);
  EXPECT_EQ(r.m_outdoorCmd2000, 4);
  EXPECT_EQ(r.m_outdoorCmd2001, 650);
  EXPECT_EQ(r.m_outdoorCmd2002, 260);
  EXPECT_EQ(r.m_indoorOut1100, 1);
  EXPECT_EQ(r.m_pumpPwm, 0);
  EXPECT_EQ(r.m_valveTarget, 1);
  EXPECT_EQ(rig.unit.Reg(4000), 2) << "heating";
  EXPECT_EQ(rig.unit.Reg(2000), 4);
  EXPECT_EQ(rig.unit.Reg(2001), 650);
  EXPECT_EQ(rig.unit.Reg(2002), 260);

  // The first defrost from 601 to 719 seconds into the run, then one every 30 minutes for 120 seconds.
  int defrostSeconds = 0;
  int firstDefrostAt = 0;
  for (int s = 2; s <= 720; ++s) {
    Second();
    if (r.m_activeMode == 6) {
      if (!defrostSeconds) firstDefrostAt = s;
      ++defrostSeconds;
      EXPECT_EQ(rig.unit.Reg(2002), 100);
      EXPECT_EQ(rig.unit.Reg(4000), 4) << "defrost";
    }
  }
  EXPECT_EQ(firstDefrostAt, 601);
  EXPECT_EQ(defrostSeconds, 119);
  EXPECT_EQ(r.m_ratedTestState, 2);
  defrostSeconds = 0;
  for (int s = 0; s < 30 * 60 + 200; ++s) {
    Second();
    if (r.m_activeMode == 6) ++defrostSeconds;
  }
  EXPECT_EQ(defrostSeconds, 120);
  EXPECT_EQ(r.m_ratedTestState, 3);

  r.m_ratedTestSwitch = 2;
  Second();
  EXPECT_EQ(r.m_ratedTestStep, 4);
  ASSERT_LT(UntilStepChanges(60), 60);
  EXPECT_EQ(r.m_ratedTestStep, 0);
  EXPECT_EQ(r.m_ratedTestSwitch, 0);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(rig.unit.StoredCell(kCells[i]), original[i]) << kCells[i];
}

// The defrost phase is the person's switch: off, the run counter stands and no defrost comes; switched
// on during the run, the first defrost comes 601 seconds later.
TEST_F(RatedTestTest, TimedDefrostsSwitchedOff_RunWithoutDefrostUntilSwitchedOn) {
  r.m_ratedTestSwitch = 1;
  while (r.m_ratedTestStep != 3) Second();
  for (int s = 0; s < 700; ++s) {
    Second();
    ASSERT_NE(r.m_activeMode, 6) << s;
  }
  EXPECT_EQ(r.m_ratedTestState, 0);
  EXPECT_EQ(r.m_ratedTestCounter, 0);
  r.m_ratedTestState = 1;
  int firstDefrostAt = 0;
  for (int s = 1; s <= 700 && !firstDefrostAt; ++s) {
    Second();
    if (r.m_activeMode == 6) firstDefrostAt = s;
  }
  EXPECT_EQ(firstDefrostAt, 601);
}

// A test stopped before it saved the unit's cells has changed none: nothing is written back, whatever
// the saved values hold from an earlier test.
TEST_F(RatedTestTest, StoppedBeforeTheSave_WritesNothingBack) {
  for (int32_t& saved : r.m_preTestBackup) saved = 99;
  r.m_ratedTestSwitch = 2;  // started and stopped while the unit could not be reached
  rig.Take();
  for (int s = 0; s < 20; ++s) Second();
  EXPECT_EQ(r.m_ratedTestSwitch, 0);
  EXPECT_EQ(r.m_ratedTestStep, 0);
  for (const auto& q : rig.Writes()) EXPECT_FALSE(q.address + 1 >= 3000 && q.address + 1 < 3512) << q.address + 1;
  for (int i = 0; i < 15; ++i) EXPECT_EQ(rig.unit.StoredCell(kCells[i]), original[i]) << kCells[i];

  // Nor is anything saved from a block the driver has not read yet.
  auto unread = std::make_unique<OutdoorBlock>();
  unread->m_linkState = 1;  // a paused poll reports the link good
  r.m_ratedTestSwitch = 1;
  RatedTest(r, unread.get());
  EXPECT_EQ(r.m_ratedTestStep, 0);
  EXPECT_EQ(r.m_preTestBackup[0], 99);
}

// The whole second as the cycle runs it: the composition, the test, the unit writes. Nothing is
// requested, so the composition alone would want the hot-water side.
TEST_F(RatedTestTest, WhileTheTestRuns_TheValveStaysAtTheHeatingSide) {
  r.m_valveDriveSide = 1;
  r.m_valvePosition = 1;
  auto cycle = [this] {
    ++r.m_uptimeSeconds;
    ComposeOutputs(r, &rig.block);
    RatedTest(r, &rig.block);
    WriteUnitOutputs(r, nullptr, &rig.block);
    rig.Pass();
  };
  cycle();
  EXPECT_EQ(r.m_valveTarget, 3) << "before the test";
  r.m_ratedTestSwitch = 1;
  cycle();
  ASSERT_EQ(r.m_ratedTestStep, 1);
  cycle();
  EXPECT_EQ(r.m_valveTarget, 1);
  EXPECT_EQ(r.m_valvePosition, 2) << "moved while compressor and pump rest";
  while (r.m_ratedTestStep != 3) cycle();
  for (int s = 0; s < 30; ++s) {
    cycle();
    ASSERT_EQ(r.m_valvePosition, 2) << s;
  }
  r.m_ratedTestSwitch = 2;
  while (r.m_ratedTestSwitch != 0) cycle();
  cycle();
  EXPECT_EQ(r.m_valveTarget, 3) << "the composition's own again";
}

TEST_F(RatedTestTest, NoDefrostInterval_RunsWithoutDefrost) {
  r.m_pointDefrostInterval[2] = 0;
  r.m_ratedTestSwitch = 1;
  r.m_ratedTestState = 1;
  while (r.m_ratedTestStep != 3) Second();
  for (int s = 0; s < 3000; ++s) {
    Second();
    ASSERT_NE(r.m_activeMode, 6) << s;
  }
}

TEST_F(RatedTestTest, BadConditionOrLinkDown_DoesNothing) {
  r.m_ratedTestSwitch = 1;
  r.m_ratedCondition = 10;
  Second();
  EXPECT_EQ(r.m_ratedTestStep, 0);
  EXPECT_EQ(r.m_preTestBackup[0], 0);
  r.m_ratedCondition = 2;
  rig.block.m_linkState = 0;
  RatedTest(r, &rig.block);
  EXPECT_EQ(r.m_ratedTestStep, 0);
  RatedTest(r, nullptr);
  EXPECT_EQ(r.m_ratedTestStep, 0);
}

}  // namespace
