#include "FrostBalance.h"

#include "CSystemData.h"

// So far only the request clearing of the standby path: nothing may keep running while off or idle.
int StandbyFrostProtection(CSystemData& r) {
  r.m_standbyCopy = r.m_standbyState;
  r.m_coolRequest = 0;
  r.m_coolHpRequest = 0;
  r.m_hwRequest = 0;
  r.m_hwHpRequest = 0;
  r.m_hwHeaterDemand = 0;
  r.m_hwHeaterDemand2 = 0;
  r.m_hwBackupStage = 0;
  r.m_hwBackupTemp = 0.0f;
  r.m_heatRequest = 0;
  r.m_heatHpRequest = 0;
  r.m_heatHeaterDemand = 0;
  r.m_heatHeaterDemand2 = 0;
  r.m_heatBackupStage = 0;
  r.m_heatBackupIntegral = 0;
  r.m_heatBackupTemp = 0.0f;
  return r.m_frostState;
}

void HeatHotWaterBalance(CSystemData&) {}

void ClearBalanceCounters(CSystemData& r) { r.m_balanceSeconds = 0; }
