#include "Schedules.h"

#include "CSystemData.h"
#include "Regulators.h"

// Places in the on branch; the programmes themselves are not built yet.
void HolidayWindow(CSystemData&) {}

void WeeklyTimer(CSystemData& r) { r.m_timerState = 2; }

void AntiLegionella(CSystemData&) {}

// Until the storage and reheat hours exist: the plain hot-water set point.
void HotWaterSchedule(CSystemData& r) { HotWaterRegulator(r, r.m_hotWaterSetTemp, r.m_hotWaterRestartDiff); }

void FloorFirstHeat(CSystemData&) {}
