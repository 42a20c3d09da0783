#include "Defrost.h"

#include "CSystemData.h"
#include "CycleSteps.h"
#include "DemoMode.h"
#include "OutdoorBlock.h"

namespace {

// The outdoor unit's own checks settle during the first 280 seconds of a defrost.
const int32_t kDefrostSettleSeconds = 280;
const int32_t kStuckClosedSeconds = 290;
const int32_t kFlowPumpLeadSeconds = 30;
const int32_t kFlowOpenSeconds = 10;
const int32_t kFlowWindowSeconds = 1800;
const int32_t kFlowRetrySeconds = 180;
const int32_t kPostDefrostHold = 240;
const int32_t kSourceHold = 120;
// The defrost rules let go of the valve request once a hold has run this far down.
const int32_t kHoldReleased = 110;
const int32_t kFailHold = 10;
const float kOutletSourceMin = 22.5f;
const float kOtherWaterMin = 30.0f;
const float kOtherWaterMax = 55.0f;
const float kDefrostWaterTooCold = 15.0f;
const int32_t kOtherWaterGraceSeconds = 270;

bool Qualifies(const CSystemData& r, int source) {
  bool otherWater = r.m_defrostUseOtherWater && r.m_userSystemType == 0;
  switch (source) {
    case kSourceOutlet: return r.m_outletTemp >= kOutletSourceMin;
    case kSourceTank:
      return otherWater && r.m_activeMode == 1 && (r.m_demandFlags & kDemandHotWater) &&
             r.m_tankTemp >= kOtherWaterMin && r.m_tankTemp <= kOtherWaterMax;
    case kSourceHeatingWater:
      return otherWater && r.m_activeMode == 3 && (r.m_demandFlags & kDemandHeating) &&
             r.m_heatCoolTemp >= kOtherWaterMin && r.m_heatCoolTemp <= kOtherWaterMax;
    default: return false;
  }
}

// The source that failed last is tried last.
int ChooseSource(const CSystemData& r) {
  static const int kAfterOutlet[3] = {kSourceTank, kSourceHeatingWater, kSourceOutlet};
  static const int kAfterTank[3] = {kSourceOutlet, kSourceHeatingWater, kSourceTank};
  static const int kUsual[3] = {kSourceOutlet, kSourceTank, kSourceHeatingWater};
  const int* order = r.m_lastDefrostSource == kSourceOutlet ? kAfterOutlet
                     : r.m_lastDefrostSource == kSourceTank ? kAfterTank
                                                            : kUsual;
  for (int i = 0; i < 3; ++i) {
    if (Qualifies(r, order[i])) return order[i];
  }
  return r.m_activeMode == 3 ? kSourceNotFoundHotWater : kSourceNotFound;
}

void CountDown(int32_t& count) {
  if (count > 0) --count;
}

void DuringDefrost(CSystemData& r) {
  r.m_postDefrostHold = kPostDefrostHold;
  r.m_sinceDefrostSeconds = 0;
  if (r.m_defrostSource == kSourceNone) {
    r.m_defrostSource = ChooseSource(r);
    r.m_defrostSeconds = 0;
  }
  if (r.m_defrostSource == kSourceTank) {
    r.m_defrostHoldHw = kSourceHold;
    r.m_defrostValveRequest = 1;
  } else if (r.m_defrostSource == kSourceHeatingWater) {
    r.m_defrostHoldHeat = kSourceHold;
    r.m_defrostValveRequest = 2;
  }
  ++r.m_defrostSeconds;
  bool otherWater = r.m_defrostSource == kSourceTank || r.m_defrostSource == kSourceHeatingWater;
  if (r.m_outletTemp <= kDefrostWaterTooCold && (!otherWater || r.m_defrostSeconds > kOtherWaterGraceSeconds)) {
    r.m_statusBits |= kStatusDefrostTooCold;
  }
  r.m_compRunSeconds = 0;
  if (r.m_statusBits & kStatusDefrostTooCold) r.m_defrostFailHold = kFailHold;
}

void BetweenDefrosts(CSystemData& r, const OutdoorBlock* outdoor) {
  ++r.m_sinceDefrostSeconds;
  r.m_defrostSeconds = 0;
  r.m_compRunSeconds = r.m_compressorHz > 0 ? r.m_compRunSeconds + 1 : 0;

  if (!r.m_fourWayAntiSeize) {
    r.m_faultWord2 &= ~kFourWayValveFault;
  } else if (r.m_activeMode == 1 && r.m_compRunSeconds >= 601 && r.m_compRunSeconds <= 719 &&
             r.m_ambientTemp - r.m_outdoorTemp2112 <= 0.0f) {
    // Ten minutes into heating the outdoor coil must run colder than the air; if not, the valve
    // did not reverse.
    r.m_faultWord2 |= kFourWayValveFault;
  }

  if (r.m_defrostSource != kSourceNone) {
    int32_t& failures = r.m_activeMode == 3 ? r.m_defrostFailHw : r.m_defrostFailHeat;
    if (r.m_statusBits & kStatusDefrostTooCold) {
      r.m_lastDefrostSource = r.m_defrostSource;
      ++failures;
    } else {
      failures = 0;
      r.m_lastDefrostSource = 0;
    }
    r.m_defrostSource = kSourceNone;
  }

  bool holding = r.m_defrostHoldHw > kHoldReleased || r.m_defrostHoldHeat > kHoldReleased;
  bool unwanted = (r.m_valveTarget == 3 && r.m_defrostValveRequest == 1) ||
                  (r.m_valveTarget == 1 && r.m_defrostValveRequest == 2);
  if (holding && unwanted) {
    r.m_defrostValveRequest = 0;
    r.m_valvePosition = r.m_valveDriveSide;
    if (outdoor) r.m_outdoorCmd2000 = outdoor->m_set2000;
  }

  if (r.m_defrostFailHw > 2 || r.m_defrostFailHeat > 2) r.m_statusBits |= kStatusDefrostFailed;

  CountDown(r.m_defrostFailHold);
  if (r.m_defrostFailHold == 0) r.m_statusBits &= ~kStatusDefrostTooCold;
  CountDown(r.m_postDefrostHold);
  CountDown(r.m_defrostHoldHw);
  CountDown(r.m_defrostHoldHeat);
}

}  // namespace

void FlowSupervision(CSystemData& r) {
  r.m_defrostRunSeconds = r.m_defrostState != 0 ? r.m_defrostRunSeconds + 1 : 0;
  if (!r.m_flowSwitchEnabled || DemoMode != 0) {
    r.m_flowClosedSeconds = 0;
    r.m_flowOpenSeconds = 0;
    r.m_statusBits &= ~(kStatusFlowFault | kStatusFlowStuckClosed | kStatusFlowLockout);
    r.m_flowFaultWindow = 0;
    r.m_flowRetrySeconds = 0;
    r.m_flowFaultCount = 0;
    return;
  }
  if (r.m_flowSwitch == 1) {
    ++r.m_flowClosedSeconds;
    r.m_flowOpenSeconds = 0;
  } else {
    ++r.m_flowOpenSeconds;
    r.m_flowClosedSeconds = 0;
  }
  if (r.m_defrostRunSeconds >= 1 && r.m_defrostRunSeconds <= kDefrostSettleSeconds) return;

  if (r.m_flowFaultWindow == 0) {
    r.m_flowFaultCount = 0;
  } else {
    --r.m_flowFaultWindow;
  }

  if (r.m_pumpOnSeconds > 0) {
    r.m_flowClosedSeconds = 0;
  } else if (r.m_flowClosedSeconds > kStuckClosedSeconds && r.m_flowFaultCancel == 0) {
    r.m_statusBits |= kStatusFlowStuckClosed;
  } else {
    r.m_statusBits &= ~kStatusFlowStuckClosed;
  }

  if (r.m_statusBits & kStatusFlowLockout) return;
  if (r.m_statusBits & kStatusFlowFault) {
    if (--r.m_flowRetrySeconds <= 0) {
      r.m_flowRetrySeconds = 0;
      r.m_statusBits &= ~kStatusFlowFault;
    }
    return;
  }

  bool noFlow = r.m_pumpOnSeconds >= kFlowPumpLeadSeconds && r.m_frostState != 1 &&
                r.m_flowOpenSeconds >= kFlowOpenSeconds && r.m_flowSwitch == 0;
  if (!noFlow) return;
  ++r.m_flowFaultCount;
  if (r.m_flowFaultCount == 1) r.m_flowFaultWindow = kFlowWindowSeconds;
  if (r.m_flowFaultCount <= 2) {
    r.m_statusBits |= kStatusFlowFault;
    r.m_flowRetrySeconds = kFlowRetrySeconds;
  } else {
    r.m_statusBits |= kStatusFlowFault | kStatusFlowLockout;
    r.m_flowFaultWindow = 0;
    r.m_flowRetrySeconds = 0;
    r.m_flowFaultCount = 0;
  }
}

void DefrostRules(CSystemData& r, const OutdoorBlock* outdoor) {
  if (r.m_defrostState != 0) {
    DuringDefrost(r);
  } else {
    BetweenDefrosts(r, outdoor);
  }
  if (r.m_statusBits & kStatusDefrostTooCold) {
    r.m_activeMode = 0;
    r.m_outdoorCmd2000 = 0;
  }
}
