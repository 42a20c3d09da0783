#include "PackedTimes.h"

#include "Platform.h"

namespace {

const uint32_t kDayBits = 0x7Fu;
const int kHourShift = 7;
const uint32_t kHourMask = 0x3Fu;
const int kMinuteShift = 13;
const uint32_t kMinuteMask = 0x7Fu;

const uint32_t kYearMask = 0xFFFu;
const int kMonthShift = 12;
const uint32_t kMonthMask = 0xFu;
const int kDateDayShift = 16;
const uint32_t kDateDayMask = 0x1Fu;
const uint32_t kDateBits = 0x1FFFFFu;

// The calendar time of the board's date conversion is a 32-bit count of seconds from 1970.
const int kFirstCalendarYear = 1970;
const int kLastCalendarYear = 2037;
const int64_t kDayMs = 86400000;

}  // namespace

KillStart UnpackKillStart(uint32_t word) {
  KillStart s;
  s.hour = static_cast<int>((word >> kHourShift) & kHourMask);
  s.minute = static_cast<int>((word >> kMinuteShift) & kMinuteMask);
  for (int d = 0; d < 7; ++d) s.days[d] = (word >> d) & 1u ? 1 : 0;
  return s;
}

uint32_t PackKillStart(uint32_t word, const KillStart& start) {
  word &= ~((kHourMask << kHourShift) | (kMinuteMask << kMinuteShift) | kDayBits);
  word |= (static_cast<uint32_t>(start.hour) & kHourMask) << kHourShift;
  word |= (static_cast<uint32_t>(start.minute) & kMinuteMask) << kMinuteShift;
  for (int d = 0; d < 7; ++d) {
    if (start.days[d]) word |= 1u << d;
  }
  return word;
}

PackedDate UnpackDate(uint32_t word) {
  PackedDate date;
  date.year = static_cast<int>(word & kYearMask);
  date.month = static_cast<int>((word >> kMonthShift) & kMonthMask);
  date.day = static_cast<int>((word >> kDateDayShift) & kDateDayMask);
  return date;
}

bool StoreDate(uint32_t& word, int year, int month, int day) {
  if (year < kFirstCalendarYear || year > kLastCalendarYear || month < 1 || month > 12 || day < 1 || day > 31) {
    return false;
  }
  // The first of the month, then the days after it: a day past the month's end lands in the next.
  SYSTEMTIME first{};
  first.wYear = static_cast<WORD>(year);
  first.wMonth = static_cast<WORD>(month);
  first.wDay = 1;
  const SYSTEMTIME t = panel::EpochMsToSystemTime(panel::SystemTimeToEpochMs(first) + (day - 1) * kDayMs);
  if (t.wYear > kLastCalendarYear) return false;
  word = (word & ~kDateBits) | (t.wYear & kYearMask) | ((t.wMonth & kMonthMask) << kMonthShift) |
         ((t.wDay & kDateDayMask) << kDateDayShift);
  return true;
}
