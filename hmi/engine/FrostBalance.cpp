#include "FrostBalance.h"

#include "BackupHeat.h"
#include "CSystemData.h"
#include "CompressorGear.h"
#include "ControlBits.h"
#include "CycleSteps.h"
#include "Hydraulics.h"

namespace {

// With the ambient reading untrusted and this fault too, a lock-out holds the unit.
const uint32_t kStatusBF03 = 0x800000;
const int32_t kFrostPumpOffSeconds = 599;
const int32_t kFrostPumpRunSeconds = 120;
const int32_t kFrostValveHalfPeriod = 180;

void ClearRequests(CSystemData& r) {
  ClearCoolingRegulator(r);
  ClearHotWaterRegulator(r);
  ClearHeatingRegulator(r);
}

void ClearHeatingBackup(CSystemData& r) {
  r.m_heatHeaterDemand = 0;
  r.m_heatHeaterDemand2 = 0;
  r.m_heatBackupStage = 0;
  r.m_heatBackupIntegral = 0;
  r.m_heatBackupTemp = 0.0f;
}

int32_t OtherSide(int32_t side) { return side == 1 ? 2 : 1; }

void ServeHeating(CSystemData& r, bool heatPump) {
  CompressorCommand(r, heatPump ? 1 : 0);
  HeaterOutput(r, 5, r.m_heatHeaterDemand);
  HeaterOutput(r, 3, r.m_heatHeaterDemand2);
  r.m_indoorOut1109 = r.m_hwHeaterDemand2;
  r.m_valveTarget = 1;
}

}  // namespace

int StandbyFrostProtection(CSystemData& r) {
  r.m_standbyCopy = r.m_standbyState;
  ClearRequests(r);
  float ambient = r.m_ambientTemp;
  float inlet = r.m_inletTemp;
  if (r.m_statusBitsB & kStatusBAmbientFault) {
    if (r.m_statusBitsB & kStatusBF03) {
      r.m_standbyCopy = 1;
      return r.m_frostState;
    }
    ambient = r.m_outdoorTemp2113;
  }
  if (r.m_standbyState || r.m_standbySeconds < kStandbyFrostWaitSeconds) return r.m_frostState;

  if (ambient > static_cast<float>(r.m_frost1AmbientStart) || r.m_serviceToggle1 || r.m_serviceToggle2) {
    r.m_frostState = 0;
  } else {
    r.m_valvePosition = 0;
    if (r.m_frostState != 2) {
      bool cold = ambient <= static_cast<float>(r.m_frost2AmbientStart) &&
                  inlet <= static_cast<float>(r.m_frost2OutletStart);
      r.m_frostState = cold ? 2 : 1;
    } else if (inlet >= static_cast<float>(r.m_frost2OutletStop) ||
               ambient > static_cast<float>(r.m_frost2AmbientStop)) {
      r.m_frostState = 1;
    }
  }

  bool layout0 = r.m_userSystemType == 0;
  if (r.m_frostState == 2) {
    r.m_pumpRequestFlags |= kPumpFrost;
    if (r.m_heatPumpAvailable) {
      r.m_heatRequest = 1;
      r.m_heatHpRequest = 1;
      r.m_heatHeaterDemand = 0;
    } else {
      r.m_heatRequest = 0;
      r.m_heatHpRequest = 0;
      r.m_heatHeaterDemand = 1;
      // The heater is switched by the side the valve has reached; clearing that side above would
      // keep it off for good, so the heater sees the side the valve really stands at.
      int32_t side = r.m_valveDriveSide;
      if (side == kValveAtHotWater || side == kValveAtHeating) r.m_valvePosition = side;
    }
    int32_t on = r.m_pumpOnSeconds;
    if (!layout0) {
      r.m_frostValveSide = 0;
    } else {
      r.m_frostValveSide = on / kFrostValveHalfPeriod == 2 * (on / (2 * kFrostValveHalfPeriod)) ? 1 : 2;
    }
  } else if (r.m_frostState == 1) {
    if (r.m_pumpOffSeconds > kFrostPumpOffSeconds) r.m_pumpRequestFlags |= kPumpFrost;
    if (r.m_pumpOnSeconds > kFrostPumpRunSeconds) r.m_pumpRequestFlags &= static_cast<uint16_t>(~kPumpFrost);
    if (r.m_pumpOnSeconds == kFrostPumpRunSeconds) r.m_frostValveSide = layout0 ? OtherSide(r.m_frostValveSide) : 0;
  } else {
    r.m_frostValveSide = 0;
    r.m_pumpRequestFlags &= static_cast<uint16_t>(~kPumpFrost);
  }
  return r.m_frostState;
}

void HeatHotWaterBalance(CSystemData& r) {
  int32_t& s = r.m_balanceState;
  int32_t& n = r.m_balanceSeconds;
  if (r.m_hwState != 0) {
    s = 3;
    n = 0;
  } else if (!r.m_heatBalanceEnabled || (r.m_statusBitsB & kStatusBAmbientFault) ||
             r.m_ambientTemp > static_cast<float>(r.m_balanceStartTemp)) {
    s = 0;
    n = 0;
  } else {
    ++n;
    int32_t minutes = n / 60;
    bool near = r.m_heatTarget - r.m_heatCtrlTemp <= static_cast<float>(r.m_balanceTempDiff);
    if (near) {
      if (!(s == 1 && minutes <= r.m_balanceHeatMaxTime)) {
        if (s != 3) n = 0;
        s = 3;
        ClearHeatingBackup(r);
      }
    } else {
      if (s == 1 && minutes >= r.m_balanceHeatMaxTime) {
        s = 3;
        n = 0;
      } else if (s == 3 && minutes > r.m_balanceHotWaterMinTime) {
        s = 1;
        n = 0;
      } else if (s == 0) {
        s = 3;
        n = 0;
      }
      if (s == 3) ClearHeatingBackup(r);
    }
  }

  if (s == 1) {
    int32_t keepTankHeater = r.m_balanceTankHeaterEnabled && r.m_hotWaterBackupEnabled ? r.m_hwHeaterDemand2 : 0;
    r.m_hwHeaterDemand = 0;
    r.m_hwHeaterDemand2 = keepTankHeater;
    r.m_hwBackupStage = 0;
    r.m_hwBackupTemp = 0.0f;
    if (r.m_heatHeaterDemand) {
      ServeHeating(r, r.m_heatHpRequest != 0);
    } else if (r.m_heatHpRequest) {
      ServeHeating(r, true);
    } else if (r.m_heatHeaterDemand2 && r.m_pumpOnPowerCut) {
      ServeHeating(r, false);
    } else {
      HeaterOutput(r, 3, r.m_heatHeaterDemand2);
      CompressorCommand(r, r.m_hwHpRequest ? 3 : 0);
      HeaterOutput(r, 4, r.m_hwHeaterDemand);
      r.m_indoorOut1109 = r.m_hwHeaterDemand2;
      r.m_valveTarget = (r.m_hwHpRequest || r.m_hwHeaterDemand) ? 3 : 1;
    }
    return;
  }

  if (r.m_hwHpRequest) {
    CompressorCommand(r, 3);
  } else if (!r.m_hwHeaterDemand) {
    ServeHeating(r, r.m_heatHpRequest != 0);
    return;
  } else {
    CompressorCommand(r, 0);
  }
  HeaterOutput(r, 4, r.m_hwHeaterDemand);
  r.m_valveTarget = 3;
  r.m_indoorOut1109 = r.m_hwHeaterDemand2;
  if (r.m_pumpOnPowerCut) {
    r.m_indoorOut1111 = 0;
  } else {
    HeaterOutput(r, 3, r.m_heatHeaterDemand2);
  }
}

void ClearBalanceCounters(CSystemData& r) { r.m_balanceSeconds = 0; }
