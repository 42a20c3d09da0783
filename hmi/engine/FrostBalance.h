// Standby frost protection (off or idle, between the standby count and the displayed targets) and the
// heating/hot-water balance (output composition, both requested). Engine thread only.
#pragma once

struct CSystemData;

// Clears every request; after 300 s of standby protects the water circuit. Returns the frost state.
int StandbyFrostProtection(CSystemData& record);
// Shares the heat pump between hot water and heating in timed turns.
void HeatHotWaterBalance(CSystemData& record);
// Not both requested: the balance starts afresh next time.
void ClearBalanceCounters(CSystemData& record);
