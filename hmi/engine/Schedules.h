// The engine's time-driven programmes: the holiday window (lowered temperatures between two packed
// dates), the weekly anti-legionella cycle of the tank, the storage and reheat hours that choose the
// hot-water set point, and the floor first-heat programme that dries a new screed in 26 stages of
// water temperature and duration, keeping its progress in parameters so that a restart continues it.
// Run once a second by the engine thread; times come from the soft clock (g_clock, g_now).
#pragma once

#include <cstdint>

struct CSystemData;

constexpr uint32_t kStatusFloorHeatFault = 0x2000000;
constexpr int32_t kFloorLastStage = 26;

// A packed date (bits 0-11 year, 12-15 month, 16-20 day, 21-25 hour, 26-31 minute) as seconds in
// g_now's scale; false when the fields are no real date and time.
bool PackedDateTime(uint32_t packed, int64_t* seconds);

void HolidayWindow(CSystemData& r);
// The on/off timer of the week: state 2 unused, else the hour's bit; an off hour (0) clears the
// heating and cooling demand bits, hot water stays.
void WeeklyTimer(CSystemData& r);
void AntiLegionella(CSystemData& r);
void HotWaterSchedule(CSystemData& r);
void FloorFirstHeat(CSystemData& r);
