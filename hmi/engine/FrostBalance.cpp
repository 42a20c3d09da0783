#include "FrostBalance.h"

#include "CSystemData.h"
#include "CycleSteps.h"

// So far only the request clearing of the standby path: nothing may keep running while off or idle.
int StandbyFrostProtection(CSystemData& r) {
  r.m_standbyCopy = r.m_standbyState;
  ClearCoolingRegulator(r);
  ClearHotWaterRegulator(r);
  ClearHeatingRegulator(r);
  return r.m_frostState;
}

void HeatHotWaterBalance(CSystemData&) {}

void ClearBalanceCounters(CSystemData& r) { r.m_balanceSeconds = 0; }
