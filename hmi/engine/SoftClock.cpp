#include "SoftClock.h"

SYSTEMTIME g_clock = {};
std::atomic<int64_t> g_now{0};
std::atomic<uint16_t> g_clockErrors[7];

namespace {

struct FieldRange {
  ClockField field;
  WORD SYSTEMTIME::*member;
  WORD low;
  WORD high;
};

// Checked in this order; the first field out of range is the one counted.
const FieldRange kRanges[] = {
    {kClockYear, &SYSTEMTIME::wYear, 2000, 2038},   {kClockMonth, &SYSTEMTIME::wMonth, 1, 12},
    {kClockDay, &SYSTEMTIME::wDay, 1, 31},          {kClockWeekday, &SYSTEMTIME::wDayOfWeek, 0, 6},
    {kClockHour, &SYSTEMTIME::wHour, 0, 23},        {kClockMinute, &SYSTEMTIME::wMinute, 0, 59},
    {kClockSecond, &SYSTEMTIME::wSecond, 0, 59},
};

}  // namespace

int SoftClock(int read) {
  SYSTEMTIME t = g_clock;
  if (read) GetLocalTime(&t);
  for (const FieldRange& r : kRanges) {
    WORD value = t.*(r.member);
    if (value < r.low || value > r.high) {
      ++g_clockErrors[r.field];
      return 0;
    }
  }
  t.wMilliseconds = 0;
  g_clock = t;
  g_now = panel::SystemTimeToEpochMs(t) / 1000;
  return 1;
}
