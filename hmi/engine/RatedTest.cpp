#include "RatedTest.h"

#include "CSystemData.h"
#include "ControlBits.h"
#include "OutdoorBlock.h"
#include "OutdoorWritePass.h"

namespace {

const int kFirstCell = 3000;
// The cells the test changes, with their places in the saved values and in OutdoorBlock::m_testSet.
struct TestCell {
  int cell;
  int testSlot;
};
const TestCell kTestCells[15] = {{3013, 0}, {3014, 1}, {3015, 2},  {3016, 3},  {3017, 4},
                                 {3018, 5}, {3019, 6}, {3020, 7},  {3021, 8},  {3022, 9},
                                 {3029, 11}, {3248, 12}, {3249, 13}, {3275, 14}, {3281, 16}};
const int kSavedExtraCell = 3001;

const int kStepSave = 0;
const int kStepWrite = 1;
const int kStepSettle = 2;
const int kStepRun = 3;
const int kStepRestore = 4;

const int32_t kSettleSeconds = 100;
const int32_t kCounterAfterStartup = 1000000;
// A run resumed after a restart skips the first defrost window.
const int32_t kCounterResumed = 1200;
const int kTestMode = 7;
const int kDefrostMode = 6;
const int kDefrostEevOpening = 100;
const int32_t kPumpPwmStopped = 100;  // the variable-speed pump's drive value at rest
const int32_t kPointGear = 4;

uint16_t Cell(const OutdoorBlock& b, int cell) { return b.m_paramBlock[cell - kFirstCell]; }

// Writes `values` into the test cells; true once the block reads every one of them back.
bool WriteCells(OutdoorBlock& b, const int32_t (&values)[15]) {
  bool readBack = true;
  for (int i = 0; i < 15; ++i) {
    uint16_t v = static_cast<uint16_t>(values[i]);
    b.m_testSet[kTestCells[i].testSlot] = v;
    if (Cell(b, kTestCells[i].cell) != v) readBack = false;
  }
  return readBack;
}

// The run's outputs: heating at the gear given, towards the heating side, the heaters and the
// circuit pumps off, the main pump at full speed or at rest.
void RunOutputs(CSystemData& r, int32_t gear, bool pump) {
  r.m_activeMode = 1;
  r.m_outdoorCmd2000 = gear;
  r.m_indoorOut1101 = 0;
  r.m_indoorOut1102 = 0;
  r.m_indoorOut1109 = 0;
  r.m_indoorOut1110 = 0;
  r.m_indoorOut1111 = 0;
  r.m_indoorOut1100 = pump ? 1 : 0;
  r.m_pumpPwm = pump ? 0 : kPumpPwmStopped;
  r.m_valveTarget = 1;
}

void RunPoint(CSystemData& r, int c) {
  if (r.m_ratedTestCounter > kCounterAfterStartup) r.m_ratedTestCounter = kCounterResumed;
  // The working point is measured at the heating side: a test started while the valve served the
  // tank holds it only once the valve has got there, and its time runs from then. Until then the
  // compressor and the pump rest, as the valve travels only while they do.
  if (r.m_valvePosition != HeatingSidePosition(r.m_userSystemType)) {
    RunOutputs(r, 0, false);
    return;
  }
  if (r.m_ratedTestState != 0) ++r.m_ratedTestCounter;
  RunOutputs(r, kPointGear, true);
  r.m_outdoorCmd2002 = r.m_pointEevOpening[c];
  r.m_outdoorCmd2001 = r.m_pointFanSpeed[c];

  int32_t interval = r.m_pointDefrostInterval[c];
  if (interval <= 0) return;
  int32_t n = r.m_ratedTestCounter;
  bool defrost = false;
  if (r.m_ratedTestState == 1) {
    if (n >= 601 && n <= 719) defrost = true;
    if (n >= 720) {
      r.m_ratedTestState = 2;
      r.m_ratedTestCounter = 0;
    }
  } else if (r.m_ratedTestState == 2 && n > interval * 60) {
    if (n <= interval * 60 + 120) {
      defrost = true;
    } else {
      r.m_ratedTestState = 3;
    }
  }
  if (defrost) {
    r.m_activeMode = kDefrostMode;
    r.m_outdoorCmd2002 = kDefrostEevOpening;
  }
}

void Run(CSystemData& r, OutdoorBlock& b, int c) {
  switch (r.m_ratedTestStep) {
    case kStepSave:
      // Only cells read from the unit are worth keeping: a save from a block never read would be
      // written back as zeros.
      if (!b.m_ready) return;
      for (int i = 0; i < 15; ++i) r.m_preTestBackup[i] = Cell(b, kTestCells[i].cell);
      for (int i = 15; i < kRatedBackupCells; ++i) r.m_preTestBackup[i] = Cell(b, kSavedExtraCell);
      r.m_ratedTestStep = kStepWrite;
      return;
    case kStepWrite: {
      int32_t f = r.m_pointFrequency[c];
      int32_t top = f + 6 < 55 ? 55 : f + 6;
      const int32_t values[15] = {30, 31, 30, f, f + 1, f + 2, f + 3, f + 4, f + 5, top, 0, 21, 0, 0, 55};
      r.m_activeMode = kTestMode;
      r.m_ratedTestCounter = r.m_uptimeSeconds + kSettleSeconds;
      if (OutdoorWritePass(b, WriteCells(b, values))) r.m_ratedTestStep = kStepSettle;
      return;
    }
    case kStepSettle:
      if (r.m_uptimeSeconds >= r.m_ratedTestCounter) {
        r.m_ratedTestStep = kStepRun;
        r.m_ratedTestCounter = 0;
      }
      return;
    case kStepRun: RunPoint(r, c); return;
    default: return;
  }
}

void Restore(CSystemData& r, OutdoorBlock& b) {
  if (r.m_ratedTestStep == kStepSave) {
    // Stopped before the save: the test changed no cell, and what the saved values hold is not from it.
    r.m_ratedTestSwitch = 0;
    return;
  }
  if (r.m_ratedTestStep < kStepRestore) r.m_ratedTestStep = kStepRestore;
  int32_t values[15];
  for (int i = 0; i < 15; ++i) values[i] = r.m_preTestBackup[i];
  r.m_activeMode = kTestMode;
  if (OutdoorWritePass(b, WriteCells(b, values))) {
    r.m_ratedTestStep = kStepSave;
    r.m_ratedTestSwitch = 0;
  }
}

}  // namespace

bool RatedTestHoldsValve(const CSystemData& r) {
  return r.m_ratedTestSwitch == 1 && r.m_ratedCondition >= 0 && r.m_ratedCondition <= 9 &&
         r.m_ratedTestStep >= kStepWrite && r.m_ratedTestStep <= kStepRun;
}

void RatedTest(CSystemData& r, OutdoorBlock* outdoor) {
  if (!outdoor || outdoor->m_linkState <= 0) return;
  if (r.m_ratedTestSwitch == 1) {
    if (r.m_ratedCondition < 0 || r.m_ratedCondition > 9) return;
    Run(r, *outdoor, r.m_ratedCondition);
  } else if (r.m_ratedTestSwitch == 2) {
    Restore(r, *outdoor);
  }
}
