// The program's software clock: the local time as the engine last read and accepted it. Written by
// the engine thread twice a second (and by the date-time dialog right after setting the clock),
// read by every screen and rule without a lock. g_now is an atomic word; g_clock's fields are read
// whole, so a reader racing an update may see a field of the next second.
#pragma once

#include <atomic>
#include <cstdint>

#include "Platform.h"

extern SYSTEMTIME g_clock;
// The same local time in seconds since 1970.
extern std::atomic<int64_t> g_now;

// Readings rejected by SoftClock, one counter per field: year, month, day, weekday, hour, minute, second.
enum ClockField { kClockYear, kClockMonth, kClockDay, kClockWeekday, kClockHour, kClockMinute, kClockSecond };
extern std::atomic<uint16_t> g_clockErrors[7];

// read != 0: reads the local time; 0: checks g_clock as it stands. A field out of range (year
// 2000-2038, month 1-12, day 1-31, weekday 0-6, hour 0-23, minute 0-59, second 0-59, checked in
// that order) counts one error for the first bad field and leaves g_clock and g_now unchanged.
// Returns 1 when the reading was taken, 0 when it was rejected.
int SoftClock(int read);
