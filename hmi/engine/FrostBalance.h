// Two rules that take over the output decision in special situations. Standby frost protection runs
// instead of the normal control while the system is off or the automatic mode asks for nothing: it
// clears every request and, after 300 seconds of standby, keeps the water circuit from freezing in
// two levels (the pump runs a while every ten minutes; then heating by the heat pump or the heater).
// The heating/hot-water balance runs from the output composition when both are wanted and shares the
// heat pump between them in timed turns. Engine thread only.
#pragma once

#include <cstdint>

struct CSystemData;

constexpr int32_t kStandbyFrostWaitSeconds = 300;

// Returns the frost state: 0 none, 1 pump runs, 2 heating.
int StandbyFrostProtection(CSystemData& r);
void HeatHotWaterBalance(CSystemData& r);
// Not both requested: the balance starts afresh next time.
void ClearBalanceCounters(CSystemData& r);
