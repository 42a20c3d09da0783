#include "Regulators.h"

#include <initializer_list>

#include "BackupHeat.h"
#include "CSystemData.h"
#include "CompressorGear.h"
#include "ControlBits.h"
#include "CycleSteps.h"

namespace {

const int32_t kDefrostHoldLimit = 119;
const float kUnavailableDrop = 7.0f;
const float kDefrostFailCeiling = 32.0f;

bool Defrosting(const CSystemData& r) { return r.m_defrostState != 0; }
bool MayStart(const CSystemData& r) { return r.m_gearPidSelect == 0 || r.m_restartAllowed == 1; }
bool OutletBelowLimit(const CSystemData& r, int below) {
  return r.m_outletTemp < static_cast<float>(r.m_heatWaterLimit - below);
}
int HotWaterCeiling(const CSystemData& r, int target) { return r.m_heatWaterLimit < target ? r.m_heatWaterLimit : target; }
void RaiseTo(float& v, float floor) {
  if (v < floor) v = floor;
}

}  // namespace

void HeatingRequest(CSystemData& r, float c, float target) {
  const float o = static_cast<float>(r.m_stopOffsetCopy);
  const float h = static_cast<float>(r.m_hysteresisCopy);
  const float d = static_cast<float>(r.m_derateCopy);
  if (c >= target + o || c >= target + d) {
    if (!Defrosting(r)) {
      r.m_heatRequest = 0;
    } else if (r.m_heatRequest == 1 || r.m_heatRequest == 2) {
      // Kept through the defrost so that the water does not cool off behind it.
      r.m_heatRequest = OutletBelowLimit(r, 5) ? 2 : 0;
    }
  } else if (c <= target - h && MayStart(r)) {
    if (r.m_defrostHoldHeat > kDefrostHoldLimit) return;
    if (r.m_heatRequest == 0) {
      r.m_heatRequest = 1;
      HeatBackupStep(r, 1, static_cast<int>(target), c);
    }
  }
  if (!r.m_heatPumpAvailable && (!r.m_heatEmergencyRun || c >= target)) r.m_heatRequest = 0;
  if (LowGearTimeout(r)) r.m_heatRequest = 0;
}

void HeatingRegulator(CSystemData& r, float c, float t) {
  const bool room = r.m_tempControlPoint == 1;
  r.m_heatTarget = t;
  if (r.m_holidayActive) {
    const float drop = static_cast<float>(r.m_holidayHeatTemp);
    r.m_heatTarget -= drop;
    r.m_heatCircuit1Target -= drop;
    r.m_heatCircuit2Target -= drop;
  }
  if (!r.m_heatPumpAvailable) r.m_heatTarget -= kUnavailableDrop;
  const float floor = room ? 12.0f : static_cast<float>(r.m_heatSetMin);
  RaiseTo(r.m_heatTarget, floor);
  RaiseTo(r.m_heatCircuit1Target, floor);
  RaiseTo(r.m_heatCircuit2Target, floor);
  const int n = r.m_defrostFailHeat;
  if (n > 0 && r.m_heatTarget < kDefrostFailCeiling) {
    r.m_heatTarget += static_cast<float>((room ? 2 : 3) * n);
    if (r.m_heatTarget > kDefrostFailCeiling) r.m_heatTarget = kDefrostFailCeiling;
  }
  const float target = r.m_heatTarget;
  const int whole = static_cast<int>(target);
  r.m_heatCtrlTemp = c;
  HeatingRequest(r, c, target);
  if (!r.m_heatRequest) {
    r.m_heatHpRequest = 0;
    HeatBackupStep(r, 0, whole, c);
    return;
  }
  if (r.m_iconFlags != 0) {
    r.m_heatHpRequest = 0;
    HeatBackupStep(r, 0, whole, c);
    bool eco = (r.m_iconFlags & kIconEcoHeating) != 0;
    bool cut = (r.m_iconFlags & kIconPowerCut) != 0;
    if (r.m_heatBackupEnabled && (eco || (cut && r.m_backupHeatOutput == 1))) {
      r.m_heatHeaterDemand2 = 1;
    } else {
      r.m_heatRequest = 0;
    }
    return;
  }
  bool emergency = false;
  if (r.m_heatPumpAvailable) {
    const int32_t l = r.m_heatWaterLimit;
    if (r.m_outletTemp <= static_cast<float>(l - r.m_hysteresisCopy)) r.m_heatHpRequest = 1;
  } else {
    r.m_heatHpRequest = 0;
    if (!r.m_heatEmergencyRun) {
      r.m_heatRequest = 0;
      HeatBackupStep(r, 0, whole, c);
      return;
    }
    emergency = true;
    // The first heater at once; once it runs, the integral alone may add the second, so the switch-on
    // (which restarts the integral) is not repeated every second.
    if (!HeatHeaterIsOn(r, 1)) HeatBackupStep(r, 3, whole, c);
  }
  const bool satisfiedByPump = r.m_heatHpRequest == 1 && c >= target - static_cast<float>(r.m_derateCopy);
  const bool compressorHeating = r.m_compressorHz > 0 && r.m_activeMode == 1;
  if (!satisfiedByPump && (compressorHeating || emergency)) {
    HeatBackupStep(r, 2, whole, c);
  } else {
    HeatBackupStep(r, 0, whole, c);
  }
}

void CoolingRequest(CSystemData& r, float c, float target) {
  if (c <= static_cast<float>(r.m_coolFloorTemp) || c <= target - static_cast<float>(r.m_derateCopy) ||
      r.m_ambientTemp < 12.0f) {
    r.m_coolRequest = 0;
  } else if (c >= target + static_cast<float>(r.m_hysteresisCopy) && MayStart(r)) {
    r.m_coolRequest = 1;
  }
  if (LowGearTimeout(r)) r.m_coolRequest = 0;
}

void CoolingRegulator(CSystemData& r, float c, float target) {
  const float ceiling = r.m_tempControlPoint == 1 ? 35.0f : static_cast<float>(r.m_coolSetMax);
  r.m_coolTarget = target;
  for (float* t : {&r.m_coolTarget, &r.m_coolCircuit1Target, &r.m_coolCircuit2Target}) {
    if (*t > ceiling) *t = ceiling;
  }
  const int32_t m = r.m_coolMinLimit;
  r.m_coolFloorTemp = static_cast<int32_t>(r.m_coolTarget - static_cast<float>(r.m_stopOffsetCopy));
  if (r.m_coolFloorTemp < m - 2 && r.m_coolTarget < static_cast<float>(m + 2)) r.m_coolTarget = static_cast<float>(m + 2);
  if (r.m_coolFloorTemp < m) r.m_coolFloorTemp = m;
  CoolingRequest(r, c, target);
  if (!r.m_coolRequest || r.m_outletTemp <= 5.0f) {
    r.m_coolHpRequest = 0;
  } else if (r.m_outletTemp >= static_cast<float>(r.m_hysteresisCopy + 5)) {
    r.m_coolHpRequest = 1;
  }
}

void HotWaterRequest(CSystemData& r, float tank, int target, int b) {
  if (tank >= static_cast<float>(target)) {
    if (!(r.m_hwRequest == 1 && Defrosting(r) && OutletBelowLimit(r, 5))) r.m_hwRequest = 0;
    return;
  }
  if (r.m_defrostHoldHw > kDefrostHoldLimit) return;
  const bool legionellaHold = r.m_hwState == 1 && r.m_sterilizeHoldSeconds >= 1;
  if (r.m_hwRequest) return;
  if (!legionellaHold) {
    if (tank <= static_cast<float>(HotWaterCeiling(r, target) - b)) {
      r.m_hwRequest = 1;
      HwBackupStep(r, 1);
    }
  } else if (static_cast<float>(target) - tank >= 1.0f) {
    r.m_hwRequest = 1;
    HwBackupStep(r, 3);
  }
}

void HotWaterRegulator(CSystemData& r, int t, int b) {
  const bool legionella = r.m_hwState == 1;
  int target = t;
  if (r.m_holidayActive && !legionella) target -= r.m_holidayHotWaterTemp;
  if (!r.m_heatPumpAvailable && !legionella) target -= 7;
  if (target < r.m_heatSetMin) target = r.m_heatSetMin;
  const int n = r.m_defrostFailHw;
  if (n > 0 && target < 32) {
    target += 3 * n;
    if (target > 32) target = 32;
  }
  r.m_hwTarget = target;
  const float tank = r.m_tankTemp;
  HotWaterRequest(r, tank, target, b);

  if (!r.m_tankProbeGuard) {
    r.m_tankProbeSuspect = 0;
  } else {
    if (r.m_hwRunSeconds > 600 && r.m_outletTemp - tank > 20.0f) r.m_tankProbeSuspect = 1;
    if (r.m_hwBackupStage == 1) {
      if (tank - static_cast<float>(r.m_tankCheckTemp) >= 1.0f || static_cast<float>(r.m_tankCheckTemp) - tank >= 1.0f ||
          r.m_tankCheckSeconds == 0) {
        r.m_tankCheckSeconds = 1;
        r.m_tankCheckTemp = static_cast<int32_t>(tank);
      } else if (++r.m_tankCheckSeconds > 60 * (r.m_insufficientCapacityTime - 1)) {
        r.m_tankProbeSuspect = 1;
      }
    }
  }

  if (!r.m_hwRequest) {
    r.m_hwHpRequest = 0;
    HwBackupStep(r, 0);
    r.m_hwBoost = 0;
    return;
  }
  const int32_t l = r.m_heatWaterLimit;
  const int ceiling = HotWaterCeiling(r, target);
  if (r.m_heatPumpAvailable) {
    if (tank <= static_cast<float>(ceiling - b)) r.m_hwHpRequest = 1;
    if (r.m_outletTemp >= static_cast<float>(l)) r.m_hwHpRequest = 0;
    if (r.m_outletTemp >= static_cast<float>(l - 3)) {
      r.m_ecoHotWaterFlags |= kEcoNearWaterLimit;
    } else if (r.m_outletTemp <= static_cast<float>(l - 4)) {
      r.m_ecoHotWaterFlags &= static_cast<uint16_t>(~kEcoNearWaterLimit);
    }
    if (r.m_hwHpRequest) {
      HwBackupStep(r, 2);
    } else if (r.m_hotWaterBackupEnabled && r.m_hotWaterBackupPriority) {
      HwBackupStep(r, 3);
    }
  } else {
    r.m_hwHpRequest = 0;
    if (r.m_heatEmergencyRun) {
      HwBackupStep(r, 3);
    } else {
      r.m_hwRequest = 0;
      HwBackupStep(r, 0);
    }
  }
  if (r.m_hwBackupStage == 1) {
    if (tank >= static_cast<float>(ceiling - b)) {
      HwBackupStep(r, 0);
      r.m_hwRequest = 0;
      r.m_hwHpRequest = 0;
    } else {
      r.m_hwBackupStage = 2;
      r.m_hwBackupTemp = tank;
    }
    r.m_hwHeaterDemand = 0;
    r.m_hwHeaterDemand2 = 0;
  }
  if (r.m_hwBoost) {
    r.m_hwHeaterDemand = 1;
    r.m_hwHeaterDemand2 = 1;
  }
}
