// The time-driven programmes of the on branch: holiday window, weekly timer, anti-legionella, the
// hot-water schedule that chooses the hot-water set point, and the floor first-heat programme.
#pragma once

struct CSystemData;

void HolidayWindow(CSystemData& record);
// State 0 (an off hour) clears the heating and cooling demand bits.
void WeeklyTimer(CSystemData& record);
void AntiLegionella(CSystemData& record);
// Runs the hot-water regulator with the set point and restart hysteresis of the hour.
void HotWaterSchedule(CSystemData& record);
// Instead of the normal heating while the floor programme is enabled and may run.
void FloorFirstHeat(CSystemData& record);
