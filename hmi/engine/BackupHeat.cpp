#include "BackupHeat.h"

#include "CSystemData.h"

// So far the clearing and the restart of the timers; the heaters are not added yet.
void HwBackupStep(CSystemData& r, int kind) {
  if (kind > 1) return;
  r.m_hwHeaterDemand = 0;
  r.m_hwHeaterDemand2 = 0;
  r.m_hwBackupStage = kind == 1 ? 2 : 0;
  r.m_hwBackupTemp = kind == 1 ? r.m_tankTemp : 0.0f;
}

void HeatBackupStep(CSystemData& r, int kind, int, float ctrl) {
  if (kind > 1) return;
  r.m_heatHeaterDemand = 0;
  r.m_heatHeaterDemand2 = 0;
  r.m_heatBackupIntegral = 0;
  r.m_heatBackupStage = kind == 1 ? 2 : 0;
  r.m_heatBackupTemp = kind == 1 ? ctrl : 0.0f;
}
