// Local calendar times for tests that set the board's clock: a SYSTEMTIME from its fields, and the
// virtual clock set to one (the soft clock then reads it with SoftClock(1)).
#pragma once

#include "Platform.h"

namespace testing_support {

inline SYSTEMTIME CalendarTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  return t;
}

inline void SetBoardClock(panel::VirtualClock& clock, const SYSTEMTIME& time) {
  clock.SetLocalMs(panel::SystemTimeToEpochMs(time));
}

}  // namespace testing_support
