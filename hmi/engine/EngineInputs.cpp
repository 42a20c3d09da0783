// The engine's per-second inputs, in their fixed order.
#include "CControlEngine.h"

#include "DemoMode.h"
#include "FaultTable.h"
#include "InputMapping.h"
#include "MinuteLog.h"
#include "SoftClock.h"

int CControlEngine::ReadInputs() {
  CSystemData& r = m_systemData;
  bool demo = DemoMode != 0;
  if (m_indoorBlock) MapIndoorUnit(r, *m_indoorBlock, demo);
  if (m_outdoorBlock) MapOutdoorUnit(r, *m_outdoorBlock, demo);
  UpdateLinkFaults(r);
  UpdateGearPidBlock(r);
  int64_t now = g_now;
  WriteMinuteLog(r, m_nextLogTime, now);
  FaultWrites writes;
  {
    FaultTableLock guard(*this);
    RunFaultStep(m_faultTable, m_faultHistory, r, now, &writes);
  }
  // Outside the lock: a busy database must not keep the screens waiting for their copy of the table.
  for (const auto& write : writes) write();
  ++r.m_uptimeSeconds;
  return 1;
}

void CControlEngine::MakeSnapshot(RealRecord& row) const { ::MakeSnapshot(m_systemData, row); }
