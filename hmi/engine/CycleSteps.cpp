#include "CycleSteps.h"

#include "CSystemData.h"
#include "OutdoorBlock.h"

namespace {

bool Has(uint32_t word, int bit) { return (word >> bit) & 1u; }

const int32_t kStandbyCountMax = 300;
const uint16_t kPumpFrostRequest = 1u << 5;

// The sensor that heating and cooling regulate on is usable: the room sensor under room control,
// else the control-temperature sensor or, failing that, the inlet sensor.
bool ControlSensorUsable(const CSystemData& r) {
  if (r.m_tempControlPoint == 1) return !Has(r.m_statusBits, 1);
  return !(Has(r.m_statusBits, 3) && Has(r.m_statusBits, 5));
}

}  // namespace

int UpdateStandbyState(CSystemData& r) {
  uint32_t s = r.m_statusBits;
  bool outlet = Has(s, 4);
  bool inlet = Has(s, 5);
  bool stop = Has(s, 21) || Has(s, 24) || (outlet && inlet) || ((outlet || inlet) && r.m_flowSwitchEnabled == 0) ||
              Has(s, 15) || Has(s, 16) || Has(s, 17) || Has(s, 23) || (Has(s, 11) && r.m_pumpType == 0);
  r.m_standbyState = stop ? 1 : 0;
  return r.m_standbyState;
}

void ComposeDemand(CSystemData& r) {
  uint16_t d = r.m_demandFlags & ~(kDemandHotWater | kDemandHeating | kDemandCooling);
  bool usable = ControlSensorUsable(r);
  if (r.m_hotWaterEnabled && !Has(r.m_statusBits, 2)) d |= kDemandHotWater;
  if (r.m_heatingEnabled && usable) d |= kDemandHeating;
  if (r.m_coolingEnabled && !Has(r.m_statusBits, 6) && usable) d |= kDemandCooling;
  r.m_demandFlags = d;
}

void FilterDemandByMode(CSystemData& r, AutoRequestCall autoRequest) {
  const uint16_t heatCool = kDemandHeating | kDemandCooling;
  uint16_t& d = r.m_demandFlags;
  if (r.m_runMode == 0) {
    d &= ~(kDemandHotWater | heatCool);
    return;
  }
  if (r.m_hwBoost) {
    d = (d | kDemandHotWater) & ~heatCool;
    return;
  }
  switch (r.m_runMode) {
    case 1: d &= ~(kDemandHotWater | kDemandCooling); return;
    case 2: d &= ~(kDemandHotWater | kDemandHeating); return;
    case 3: d &= ~heatCool; return;
    case 4: break;
    default: return;
  }
  if (r.m_autoFunction == 0) {
    if ((d & heatCool) == heatCool) d &= ~kDemandCooling;
    return;
  }
  int request = autoRequest ? autoRequest(r) : 0;
  if ((r.m_autoFunction == 2 || r.m_autoFunction == 3) && request == 0) {
    if (d & kDemandHotWater) {
      d &= ~heatCool;
      return;
    }
    r.m_autoIdle = 1;
  }
  if (request == 1) {
    d &= ~kDemandCooling;
  } else if (request == 2) {
    d &= ~kDemandHeating;
  } else {
    d &= ~heatCool;
  }
}

void SetDefaultTargets(CSystemData& r) {
  r.m_hwTarget = r.m_hotWaterSetTemp;
  r.m_heatTarget = static_cast<float>(r.m_heatSetTemp);
  r.m_heatCircuit1Target = static_cast<float>(r.m_heatSetTemp);
  r.m_heatCircuit2Target = static_cast<float>(r.m_heatSecondSetTemp);
  r.m_coolCircuit1Target = static_cast<float>(r.m_coolSetTemp);
  r.m_coolCircuit2Target = static_cast<float>(r.m_coolSecondSetTemp);
}

void ForwardOutdoorProgramming(CSystemData& r, OutdoorBlock* outdoor) {
  if (!outdoor) return;
  if (r.m_outdoorProgRequest == 0) {
    outdoor->m_presetRequest = 0;
  } else if (outdoor->m_presetRequest == 0) {
    outdoor->m_presetRequest = 1;
  } else {
    r.m_outdoorProgRequest = outdoor->m_presetRequest;
  }
}

void StandbyCount(CSystemData& r) {
  if (r.m_standbySeconds < kStandbyCountMax) ++r.m_standbySeconds;
}

void OffBranchTargets(CSystemData& r) {
  uint16_t d = r.m_demandFlags;
  if (d & kDemandHotWater) r.m_hwTarget = r.m_hotWaterSetTemp;
  if (r.m_tempControlPoint != 0) {
    if (d & kDemandHeating) {
      r.m_heatCtrlTemp = r.m_roomTemp;
      r.m_heatTarget = static_cast<float>(r.m_heatRoomSetTemp);
    } else if (d & kDemandCooling) {
      r.m_coolCtrlTemp = r.m_roomTemp;
      r.m_coolTarget = static_cast<float>(r.m_coolRoomSetTemp);
    }
  } else {
    if (d & kDemandHeating) {
      r.m_heatCtrlTemp = r.m_heatCoolTemp;
      r.m_heatTarget = static_cast<float>(r.m_heatSetTemp);
    } else if (d & kDemandCooling) {
      r.m_coolCtrlTemp = r.m_heatCoolTemp;
      r.m_coolTarget = static_cast<float>(r.m_coolSetTemp);
    }
  }
}

void ClearOffStates(CSystemData& r) {
  r.m_pumpRequestFlags &= static_cast<uint16_t>(~kPumpFrostRequest);
  r.m_frostState = 0;
  r.m_frostValveSide = 0;
  r.m_standbySeconds = 0;
}

void ClearHotWaterRegulator(CSystemData& r) {
  r.m_hwRequest = 0;
  r.m_hwHpRequest = 0;
  r.m_hwHeaterDemand = 0;
  r.m_hwHeaterDemand2 = 0;
  r.m_hwBackupStage = 0;
  r.m_hwBackupTemp = 0.0f;
}

void ClearHeatingRegulator(CSystemData& r) {
  r.m_heatRequest = 0;
  r.m_heatHpRequest = 0;
  r.m_heatHeaterDemand = 0;
  r.m_heatHeaterDemand2 = 0;
  r.m_heatBackupStage = 0;
  r.m_heatBackupIntegral = 0;
  r.m_heatBackupTemp = 0.0f;
}

void ClearCoolingRegulator(CSystemData& r) {
  r.m_coolRequest = 0;
  r.m_coolHpRequest = 0;
}

void HotWaterIdle(CSystemData& r) {
  r.m_hwTarget = r.m_hotWaterSetTemp;
  ClearHotWaterRegulator(r);
}

void HeatingRoomTargets(CSystemData& r) {
  float target = static_cast<float>(r.m_heatRoomSetTemp);
  if (r.m_zoneFlag1) target -= static_cast<float>(r.m_sleepTempAdjust);
  r.m_heatTarget = target;
  r.m_heatCtrlTemp = r.m_roomTemp;
  r.m_heatCircuit1Target = static_cast<float>(r.m_system1MaxSetTemp);
  r.m_heatCircuit2Target = static_cast<float>(r.m_system2MaxSetTemp);
}

void HeatingWaterTargets(CSystemData& r) {
  if (r.m_zoneFlag1) {
    float adjust = static_cast<float>(r.m_sleepTempAdjust);
    r.m_heatTarget -= adjust;
    r.m_heatCircuit1Target -= adjust;
    r.m_heatCircuit2Target -= adjust;
  }
  if (r.m_userSystemType == 1) {
    r.m_heatCoolTemp = r.m_tankTemp;
    r.m_heatCtrlTemp = r.m_tankTemp;
  } else {
    r.m_heatCtrlTemp = r.m_heatCoolTemp;
  }
}

void HeatingIdle(CSystemData& r) {
  r.m_heatTarget = static_cast<float>(r.m_heatSetTemp);
  r.m_heatCtrlTemp = r.m_heatCoolTemp;
  ClearHeatingRegulator(r);
}

void CoolingRoomTargets(CSystemData& r) {
  float target = static_cast<float>(r.m_coolRoomSetTemp);
  if (r.m_zoneFlag1) target += static_cast<float>(r.m_sleepTempAdjust);
  r.m_coolTarget = target;
  r.m_coolCtrlTemp = r.m_roomTemp;
  r.m_coolCircuit1Target = static_cast<float>(r.m_system1MinSetTemp);
  r.m_coolCircuit2Target = static_cast<float>(r.m_system2MinSetTemp);
}

void CoolingWaterTargets(CSystemData& r) {
  if (r.m_zoneFlag1) {
    float adjust = static_cast<float>(r.m_sleepTempAdjust);
    r.m_coolTarget += adjust;
    r.m_coolCircuit1Target += adjust;
    r.m_coolCircuit2Target += adjust;
  }
  r.m_coolCtrlTemp = r.m_heatCoolTemp;
}

void CoolingIdle(CSystemData& r) {
  r.m_coolTarget = static_cast<float>(r.m_coolSetTemp);
  r.m_coolCtrlTemp = r.m_heatCoolTemp;
  // A request left standing would keep the compressor cooling beside hot water after a mode change.
  ClearCoolingRegulator(r);
}

bool FloorHeatDemand(CSystemData& r) {
  bool sensorOk = !Has(r.m_statusBits, 3) || (r.m_tempControlPoint == 0 && !Has(r.m_statusBits, 5));
  if (!r.m_heatingEnabled || !sensorOk || (r.m_iconFlags & kIconPowerCut)) return false;
  r.m_demandFlags = static_cast<uint16_t>((r.m_demandFlags | kDemandHeating) & ~(kDemandHotWater | kDemandCooling));
  return true;
}
