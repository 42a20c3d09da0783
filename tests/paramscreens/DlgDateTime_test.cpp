#include "DlgDateTime.h"

#include "CalendarTime.h"
#include "DlgDate.h"
#include "PopupDialogFixture.h"
#include "SoftClock.h"

namespace {

// Arrow and display ids of templates 113 and 115: field i has display 1060 + i, up 1070 + i, down
// 1080 + i; fields year, month, day, hour, minute, second.
int Up(int field) { return 1070 + field; }
int Down(int field) { return 1080 + field; }
int Display(int field) { return 1060 + field; }
enum { kYear, kMonth, kDay, kHour, kMinute, kSecond };

class DlgDateTimeTest : public PopupDialogFixture {
protected:
  // Sets the board's clock and lets the soft clock read it.
  void SetClock(int year, int month, int day, int hour, int minute, int second) {
    testing_support::SetBoardClock(*m_clock, testing_support::CalendarTime(year, month, day, hour, minute, second));
    ASSERT_EQ(SoftClock(1), 1);
  }
  static std::string Shown(CWnd& dialog, int fields) {
    std::string text;
    for (int i = 0; i < fields; ++i) text += (i ? " " : "") + TextOf(dialog, Display(i)).ToUtf8();
    return text;
  }
};

TEST_F(DlgDateTimeTest, Arrows_WrapAndHoldTheDayToTheMonth) {
  struct Case {
    const char* name;
    int start[6];
    std::vector<int> taps;
    const char* shown;
  };
  const Case cases[] = {
      {"year up from 2034", {2034, 5, 6, 7, 8, 9}, {Up(kYear)}, "2015 05 06 07 08 09"},
      {"year down from 2015", {2015, 5, 6, 7, 8, 9}, {Down(kYear)}, "2034 05 06 07 08 09"},
      {"month up from 12", {2026, 12, 6, 7, 8, 9}, {Up(kMonth)}, "2026 01 06 07 08 09"},
      {"day up from 31", {2026, 1, 31, 0, 0, 0}, {Up(kDay)}, "2026 01 01 00 00 00"},
      {"day up from 28 February", {2026, 2, 28, 0, 0, 0}, {Up(kDay)}, "2026 02 01 00 00 00"},
      {"day up to 29 February of a leap year", {2028, 2, 28, 0, 0, 0}, {Up(kDay)}, "2028 02 29 00 00 00"},
      {"day down from 1 April", {2026, 4, 1, 0, 0, 0}, {Down(kDay)}, "2026 04 30 00 00 00"},
      {"31 January, month up", {2026, 1, 31, 0, 0, 0}, {Up(kMonth)}, "2026 02 28 00 00 00"},
      {"29 February, year up", {2028, 2, 29, 0, 0, 0}, {Up(kYear)}, "2029 02 28 00 00 00"},
      {"time down from zero", {2026, 3, 3, 0, 0, 0}, {Down(kHour), Down(kMinute), Down(kSecond)}, "2026 03 03 23 59 59"},
      {"time up from the top", {2026, 3, 3, 23, 59, 59}, {Up(kHour), Up(kMinute), Up(kSecond)}, "2026 03 03 00 00 00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetClock(c.start[0], c.start[1], c.start[2], c.start[3], c.start[4], c.start[5]);
    DlgDateTime dialog;
    std::string shown;
    panel::ScriptedInput script;
    script.Then([&] {
      for (int id : c.taps) Tap(dialog, id);
      shown = Shown(dialog, 6);
      dialog.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, c.shown);
  }
}

TEST_F(DlgDateTimeTest, HeldArrow_StepsAtThePressThenEveryTickFromTheThird) {
  SetClock(2026, 6, 1, 12, 10, 0);
  DlgDateTime dialog;
  std::string afterPress, afterSecond, afterRelease;
  panel::ScriptedInput script;
  script
      .Then([&] {
        POINT p = Centre(dialog, Up(kMinute));
        panel::PressAt(p.x, p.y);
        panel::PumpMessages();
        afterPress = TextOf(dialog, Display(kMinute)).ToUtf8();
      })
      .Wait(1000)
      .Then([&] {
        afterSecond = TextOf(dialog, Display(kMinute)).ToUtf8();
        POINT p = Centre(dialog, Up(kMinute));
        panel::ReleaseAt(p.x, p.y);
        panel::PumpMessages();
      })
      .Wait(500)
      .Then([&] {
        afterRelease = TextOf(dialog, Display(kMinute)).ToUtf8();
        dialog.EndDialog(IDCANCEL);
      });
  dialog.DoModal();
  EXPECT_EQ(afterPress, "11");
  EXPECT_EQ(afterSecond, "19");  // eight repeats in ten ticks
  EXPECT_EQ(afterRelease, "19");
}

TEST_F(DlgDateTimeTest, LeavingTheHeldArrow_EndsTheRepeat) {
  SetClock(2026, 6, 1, 12, 10, 0);
  DlgDateTime dialog;
  std::string shown;
  panel::ScriptedInput script;
  script
      .Then([&] {
        POINT p = Centre(dialog, Up(kHour));
        panel::PressAt(p.x, p.y);
        panel::PumpMessages();
        POINT away = Centre(dialog, Display(kSecond));
        panel::MoveTo(away.x, away.y);
        panel::PumpMessages();
      })
      .Wait(1000)
      .Then([&] {
        shown = TextOf(dialog, Display(kHour)).ToUtf8();
        dialog.EndDialog(IDCANCEL);
      });
  dialog.DoModal();
  EXPECT_EQ(shown, "13");
}

TEST_F(DlgDateTimeTest, Ok_SetsTheClockAndCancelLeavesIt) {
  SetClock(2026, 1, 31, 8, 30, 15);
  {
    DlgDateTime dialog;
    panel::ScriptedInput script;
    script.Then([&] {
      Tap(dialog, Up(kMonth));  // 31 January becomes 28 February
      Tap(dialog, Down(kHour));
      Tap(dialog, DlgPopup::kOk);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
  }
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 2026);
  EXPECT_EQ(now.wMonth, 2);
  EXPECT_EQ(now.wDay, 28);
  EXPECT_EQ(now.wHour, 7);
  EXPECT_EQ(now.wMinute, 30);
  EXPECT_EQ(now.wSecond, 15);

  ASSERT_EQ(SoftClock(1), 1);
  {
    DlgDateTime dialog;
    panel::ScriptedInput script;
    script.Then([&] {
      Tap(dialog, Up(kYear));
      Tap(dialog, DlgPopup::kClose);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  }
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 2026);
  EXPECT_EQ(now.wMonth, 2);
}

// The fields forced to a date the clock refuses, as a damaged state would have them.
class ImpossibleDate : public DlgDateTime {
public:
  void ForceDay(int dayIndex) { m_fields[kDay] = dayIndex; }
  void PressOk() { OnOK(); }
};

TEST_F(DlgDateTimeTest, RefusedSetting_IsReportedAndTheClockStays) {
  SetClock(2026, 2, 10, 9, 0, 0);
  ImpossibleDate dialog;
  panel::ScriptedInput script;
  script.Then([&] {
    dialog.ForceDay(30);  // 31 February
    dialog.PressOk();
  });
  EXPECT_EQ(dialog.DoModal(), DlgDateTime::kRefused);
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wMonth, 2);
  EXPECT_EQ(now.wDay, 10);
}

TEST_F(DlgDateTimeTest, DateDialog_CaptionFieldsAndResult) {
  struct Case {
    const char* name;
    int year, month, day;
    std::vector<int> taps;
    const char* caption;
    const char* shown;
    int result[3];
  };
  const Case cases[] = {
      {"as given", 2026, 3, 9, {}, "Holiday  2026-03-09", "2026 03 09", {2026, 3, 9}},
      // 31 days in every month: the caller rolls a day past the month's end over.
      {"day up from 30 April", 2026, 4, 30, {Up(kDay)}, "Holiday  2026-04-30", "2026 04 31", {2026, 4, 31}},
      {"31 in a 30-day month as given", 2026, 4, 31, {}, "Holiday  2026-04-31", "2026 04 31", {2026, 4, 31}},
      {"day up from 31", 2026, 2, 31, {Up(kDay)}, "Holiday  2026-02-31", "2026 02 01", {2026, 2, 1}},
      {"day down from 1 February", 2026, 2, 1, {Down(kDay)}, "Holiday  2026-02-01", "2026 02 31", {2026, 2, 31}},
      {"31 January, month up", 2026, 1, 31, {Up(kMonth)}, "Holiday  2026-01-31", "2026 02 31", {2026, 2, 31}},
      {"year 2035 wraps to 2015", 2035, 1, 1, {}, "Holiday  2035-01-01", "2015 01 01", {2015, 1, 1}},
      // A cleared word: 0 - 2015, 0 - 1 and 0 - 1 as unsigned remainders of 20, 12 and 31: 1, 3, 3.
      {"zero date", 0, 0, 0, {}, "Holiday  0-00-00", "2016 04 04", {2016, 4, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DlgDate dialog;
    EXPECT_EQ(dialog.Init(u"Holiday", c.year, c.month, c.day), 1);
    std::string title, shown;
    panel::ScriptedInput script;
    script.Then([&] {
      title = TextOf(dialog, DlgPopup::kTitle).ToUtf8();
      for (int id : c.taps) Tap(dialog, id);
      shown = Shown(dialog, 3);
      Tap(dialog, DlgPopup::kOk);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(title, c.caption);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(dialog.Year(), c.result[0]);
    EXPECT_EQ(dialog.Month(), c.result[1]);
    EXPECT_EQ(dialog.Day(), c.result[2]);
  }
}

// Between the date and the time lies only the pop-up's body: the blank label there shows its piece of
// the background, in both looks, never a bar of solid colour.
TEST_F(DlgDateTimeTest, BlankBetweenDateAndTime_ShowsTheBackground) {
  for (int dealer : {0, 9}) {
    SCOPED_TRACE(dealer);
    UseDealer(dealer);
    DlgDateTime dialog;
    COLORREF blank = 0, beside = 1;
    panel::ScriptedInput script;
    script.Then([&] {
      CRect r;
      dialog.GetDlgItem(1094)->GetWindowRect(&r);
      const int y = (r.top + r.bottom) / 2;
      blank = panel::ScreenPixel((r.left + r.right) / 2, y);
      beside = panel::ScreenPixel(r.left - 2, y);  // the body just before it, under no control
      dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    EXPECT_EQ(blank, beside);
    EXPECT_NE(blank, RGB(0, 0, 1));
  }
}

TEST_F(DlgDateTimeTest, Screenshots) {
  SetClock(2026, 12, 10, 13, 5, 42);
  for (int dealer : {0, 9}) {
    UseDealer(dealer);
    DlgDateTime dialog;
    panel::ScriptedInput script;
    script.Then([&] {
      ExpectScreen("datetime-dealer-" + std::to_string(dealer));
      dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
  }
  DlgDate date;
  date.Init(u"Holiday first day", 2026, 7, 14);
  panel::ScriptedInput script;
  script.Then([&] {
    ExpectScreen("date-dealer-9");
    date.EndDialog(IDCANCEL);
  });
  date.DoModal();
}

}  // namespace
