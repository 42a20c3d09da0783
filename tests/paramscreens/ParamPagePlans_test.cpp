// The time-plan rows of pages 4 to 8: the weekly timers, the disinfection start and weekdays, and the
// holiday dates, through their pop-ups.
#include <gtest/gtest.h>

#include "DlgDate.h"
#include "ParamPageFixture.h"

namespace {

// Template 117: the day-0 button, and slot 1.
const int kSundayButton = 1083;
const int kFirstSlot = 1084;
// Template 116: hour up, minute down, the day buttons from Sunday.
const int kHourUp = 1070, kMinuteDown = 1081, kFirstDayButton = 1040;
// Template 115: day up.
const int kDayUp = 1072;

using ParamPagePlans = ParamPageFixture;

TEST_F(ParamPagePlans, WeeklyTimers_OkStoresAllSevenCancelNone) {
  struct Case {
    const char* name;
    int dealer, page, sub, row;
    int32_t* (*masks)(CSystemData&);
    const char16_t* title;
  };
#define M(name) [](CSystemData& s) -> int32_t* { return s.name; }
  const Case cases[] = {
      {"storage", 0, 4, 1, 2, M(m_storageTimerMask), u"T94"},
      {"reheat", 0, 4, 1, 4, M(m_reheatTimerMask), u"T96"},
      {"storage, dealer 9", 9, 4, 1, 2, M(m_storageTimerMask), u"T94"},
      {"sleep", 0, 5, 1, 3, M(m_sleepTimerMask), u"T114"},
      {"low noise", 0, 5, 2, 1, M(m_lowNoiseTimerMask), u"T117"},
      {"low noise, dealer 9", 9, 5, 1, 3, M(m_lowNoiseTimerMask), u"T117"},
      {"on/off timer", 0, 8, 1, 3, M(m_timerMask), u"T41"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_dealerId = c.dealer;
    int32_t* masks = c.masks(*GetSystemData());
    for (int d = 0; d < 7; ++d) masks[d] = 0x100 << d;
    m_param.OpenAt(c.page, c.sub);
    CString title;
    TapRow(c.row, {[&] {
      title = PopupText(DlgPopup::kTitle);
      Tap(kSundayButton);
      Tap(kFirstSlot);
      Tap(DlgPopup::kCancel);
    }});
    EXPECT_EQ(title, CString(c.title));
    for (int d = 0; d < 7; ++d) EXPECT_EQ(masks[d], 0x100 << d) << "day " << d;

    TapRow(c.row, {[&] {
      Tap(kFirstSlot);  // day 1: hours 0 and 1
      Tap(kSundayButton);
      Tap(kFirstSlot);  // day 0: hours 0 and 1
      Tap(DlgPopup::kOk);
    }});
    EXPECT_EQ(masks[0], 0x100 | 0x3);
    EXPECT_EQ(masks[1], 0x200 | 0x3);
    for (int d = 2; d < 7; ++d) EXPECT_EQ(masks[d], 0x100 << d) << "day " << d;
  }
}

TEST_F(ParamPagePlans, DisinfectionWeekdays_ShownByNameAndEditedInTheirBits) {
  CSystemData& r = *GetSystemData();
  // Sunday and Wednesday, 2:30, and bits above the start minute that belong to others.
  r.m_sterilizeStart = 0xFFF00000u | (30u << 13) | (2u << 7) | 0x09u;
  m_param.OpenAt(6, 1);
  EXPECT_EQ(Shown(2), CString(u"T395/T391"));
  std::string title, hour, minute;
  TapRow(2, {[&] {
    title = PopupText(DlgPopup::kTitle).ToUtf8();
    hour = PopupText(1060).ToUtf8();
    minute = PopupText(1061).ToUtf8();
    Tap(kHourUp);
    Tap(kMinuteDown);
    Tap(kFirstDayButton);      // Sunday off
    Tap(kFirstDayButton + 6);  // Saturday on
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(title, "T64");
  EXPECT_EQ(hour, "02");
  EXPECT_EQ(minute, "30");
  EXPECT_EQ(r.m_sterilizeStart, 0xFFF00000u | (29u << 13) | (3u << 7) | 0x48u);
  EXPECT_EQ(Shown(2), CString(u"T391/T394"));

  const uint32_t before = r.m_sterilizeStart;
  TapRow(2, {[&] {
    Tap(kHourUp);
    Tap(DlgPopup::kClose);
  }});
  EXPECT_EQ(r.m_sterilizeStart, before);

  r.m_sterilizeStart = 0;
  m_param.OpenAt(6, 1);
  EXPECT_EQ(Shown(2), CString());
}

TEST_F(ParamPagePlans, HolidayDates_ShownDayFirstAndStoredKeepingTheTimeBits) {
  struct Case {
    const char* name;
    int dealer, row;
    uint32_t CSystemData::*word;
    uint32_t before;          // packed: year | month << 12 | day << 16, with time bits
    const char* shown;
    const char* title;
    std::vector<int> taps;
    int button;
    uint32_t after;
  };
  const uint32_t time = 0xFFE00000u;  // hour and minute bits
  const Case cases[] = {
      {"first day, day up", 0, 4, &CSystemData::m_holidayStart, time | 2026 | (4u << 12) | (29u << 16), "29.4.2026",
       "T73  2026-04-29", {kDayUp}, DlgPopup::kOk, time | 2026 | (4u << 12) | (30u << 16)},
      {"last day, day up from the month's end", 0, 5, &CSystemData::m_holidayEnd,
       time | 2026 | (4u << 12) | (30u << 16), "30.4.2026", "T74  2026-04-30", {kDayUp}, DlgPopup::kOk,
       time | 2026 | (5u << 12) | (1u << 16)},  // 31 April is 1 May
      {"31 of a 30-day month, as stored", 0, 4, &CSystemData::m_holidayStart, 2026 | (6u << 12) | (31u << 16),
       "31.6.2026", "T73  2026-06-31", {}, DlgPopup::kOk, 2026 | (7u << 12) | (1u << 16)},
      {"cancel", 0, 5, &CSystemData::m_holidayEnd, time | 2027 | (1u << 12) | (5u << 16), "5.1.2027",
       "T74  2027-01-05", {kDayUp}, DlgPopup::kCancel, time | 2027 | (1u << 12) | (5u << 16)},
      {"dealer 9 last day on row 4", 9, 4, &CSystemData::m_holidayEnd, 2026 | (2u << 12) | (28u << 16), "28.2.2026",
       "T74  2026-02-28", {kDayUp}, DlgPopup::kOk, 2026 | (3u << 12) | (1u << 16)},  // 29 February 2026 is 1 March
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_dealerId = c.dealer;
    CSystemData& r = *GetSystemData();
    r.*c.word = c.before;
    m_param.OpenAt(7, 1);
    EXPECT_EQ(Shown(c.row).ToUtf8(), c.shown);
    std::string title;
    TapRow(c.row, {[&] {
      title = PopupText(DlgPopup::kTitle).ToUtf8();
      for (int id : c.taps) Tap(id);
      Tap(c.button);
    }});
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(r.*c.word, c.after);
  }
}

}  // namespace
