// The packed time words of the system record that the disinfection and holiday pages edit:
// - the disinfection start (CSystemData::m_sterilizeStart): bits 0-6 weekday flags (bit 0 Sunday ..
//   bit 6 Saturday), bits 7-12 the start hour, bits 13-19 the start minute;
// - the holiday dates (CSystemData::m_holidayStart, m_holidayEnd): bits 0-11 year, 12-15 month,
//   16-20 day; bits 21-31 (hour and minute) belong to others.
// Every write keeps the bits it does not own. Plain functions; any thread.
#pragma once

#include <cstdint>

struct KillStart {
  int hour = 0;
  int minute = 0;
  int days[7] = {};  // 0 or 1, day 0 (Sunday) first
};

KillStart UnpackKillStart(uint32_t word);
// Writes hour, minute and the seven flags into their bits of word; bits 20-31 stay.
uint32_t PackKillStart(uint32_t word, const KillStart& start);

struct PackedDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

PackedDate UnpackDate(uint32_t word);
// Stores a date through the calendar, so that an impossible day rolls over into the next month
// (31 April becomes 1 May). A date the calendar cannot take (a year outside 1970..2037, a month
// outside 1..12 or a day outside 1..31) leaves word as it was and gives false.
bool StoreDate(uint32_t& word, int year, int month, int day);
