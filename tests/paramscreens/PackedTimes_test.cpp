#include "PackedTimes.h"

#include <gtest/gtest.h>

namespace {

TEST(PackedTimes, KillStart_UnpacksAndPacksItsOwnBitsOnly) {
  // Sunday and Wednesday (bits 0, 3), 6:45 (hour 6 << 7, minute 45 << 13), bits 20..31 all set.
  const uint32_t word = 0xFFF00000u | (45u << 13) | (6u << 7) | 0x09u;
  KillStart s = UnpackKillStart(word);
  EXPECT_EQ(s.hour, 6);
  EXPECT_EQ(s.minute, 45);
  const int days[7] = {1, 0, 0, 1, 0, 0, 0};
  for (int d = 0; d < 7; ++d) EXPECT_EQ(s.days[d], days[d]) << d;

  s.hour = 23;
  s.minute = 5;
  s.days[0] = 0;
  s.days[6] = 1;
  EXPECT_EQ(PackKillStart(word, s), 0xFFF00000u | (5u << 13) | (23u << 7) | 0x48u);
  EXPECT_EQ(PackKillStart(word, UnpackKillStart(word)), word);
}

TEST(PackedTimes, Dates_StoreThroughTheCalendarKeepingTheTimeBits) {
  const uint32_t timeBits = 0xFFE00000u;  // hour and minute of the holiday word
  struct Case {
    const char* name;
    int year, month, day;
    int storedYear, storedMonth, storedDay;
  };
  const Case cases[] = {
      {"plain", 2026, 7, 14, 2026, 7, 14},
      {"31 April", 2026, 4, 31, 2026, 5, 1},
      {"31 February", 2026, 2, 31, 2026, 3, 3},
      {"29 February of a leap year", 2028, 2, 29, 2028, 2, 29},
      {"31 December", 2034, 12, 31, 2034, 12, 31},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint32_t word = timeBits | 2015u | (2u << 12) | (1u << 16);
    ASSERT_TRUE(StoreDate(word, c.year, c.month, c.day));
    EXPECT_EQ(word & timeBits, timeBits);
    PackedDate d = UnpackDate(word);
    EXPECT_EQ(d.year, c.storedYear);
    EXPECT_EQ(d.month, c.storedMonth);
    EXPECT_EQ(d.day, c.storedDay);
  }
}

TEST(PackedTimes, FailedConversion_KeepsTheOldDate) {
  const uint32_t old = 0x00600000u | 2015u | (2u << 12) | (1u << 16);
  struct Case {
    int year, month, day;
  };
  for (const Case& c : {Case{1969, 12, 31}, Case{2038, 1, 1}, Case{2026, 0, 1}, Case{2026, 13, 1}, Case{2026, 1, 0},
                        Case{2026, 1, 32}, Case{2037, 12, 32}}) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
    uint32_t word = old;
    EXPECT_FALSE(StoreDate(word, c.year, c.month, c.day));
    EXPECT_EQ(word, old);
  }
}

}  // namespace
