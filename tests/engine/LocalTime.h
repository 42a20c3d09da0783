// Local calendar times for tests that set the virtual clock.
#pragma once

#include <cstdint>

#include "Clock.h"

namespace enginetest {

// Milliseconds since 1970 of a local date and time.
inline int64_t LocalMs(int year, int month, int day, int hour, int minute, int second = 0) {
  SYSTEMTIME t = {};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return panel::SystemTimeToEpochMs(t);
}

}  // namespace enginetest
