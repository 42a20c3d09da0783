// The disinfection-time and weekly-schedule pop-ups.
#include "DlgKillTime.h"
#include "DlgWeekTime.h"
#include "PopupDialogFixture.h"

namespace {

const int kHourUp = 1070, kHourDown = 1080, kMinuteUp = 1071, kMinuteDown = 1081;
const int kHourShown = 1060, kMinuteShown = 1061;
const int kFirstDay = 1040;  // 1040-1046, day 0 first

// Template 117: days 1 to 6, then day 0; slots 1 to 12.
const int kDayIds[7] = {1083, 1079, 1080, 1081, 1082, 1061, 1062};  // by day number 0..6
const int kSlotIds[12] = {1084, 1086, 1087, 1088, 1097, 1098, 1099, 1100, 1101, 1102, 1103, 1104};

int CheckOf(CWnd& dialog, int id) { return static_cast<int>(dialog.GetDlgItem(id)->SendMessage(BM_GETCHECK, 0, 0)); }

using DlgKillTimeTest = PopupDialogFixture;
using DlgWeekTimeTest = PopupDialogFixture;

TEST_F(DlgKillTimeTest, ArrowsWrapAndOkTakesTheDayButtons) {
  struct Case {
    const char* name;
    int hour, minute;
    std::vector<int> taps;
    const char* shown;
    int hourOut, minuteOut;
  };
  const Case cases[] = {
      {"hour down from 00", 0, 30, {kHourDown}, "23:30", 23, 30},
      {"hour up from 23", 23, 30, {kHourUp}, "00:30", 0, 30},
      {"minute down from 00", 5, 0, {kMinuteDown}, "05:59", 5, 59},
      {"minute up from 59", 5, 59, {kMinuteUp}, "05:00", 5, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const int flags[7] = {1, 0, 0, 1, 0, 0, 0};  // Sunday and Wednesday
    DlgKillTime dialog;
    ASSERT_EQ(dialog.Init(u"Disinfection time", c.hour, c.minute, flags), 1);
    std::string shown;
    panel::ScriptedInput script;
    script.Then([&] {
      for (int id : c.taps) Tap(dialog, id);
      shown = TextOf(dialog, kHourShown).ToUtf8() + ":" + TextOf(dialog, kMinuteShown).ToUtf8();
      Tap(dialog, kFirstDay + 3);  // Wednesday off
      Tap(dialog, kFirstDay + 6);  // Saturday on
      Tap(dialog, DlgPopup::kOk);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(dialog.Hour(), c.hourOut);
    EXPECT_EQ(dialog.Minute(), c.minuteOut);
    const int expected[7] = {1, 0, 0, 0, 0, 0, 1};
    for (int d = 0; d < 7; ++d) EXPECT_EQ(dialog.DayFlag(d), expected[d]) << "day " << d;
  }
}

TEST_F(DlgKillTimeTest, DayButtonsCarryTheDayNamesSundayFirst) {
  const int flags[7] = {0, 1, 0, 0, 0, 0, 0};
  DlgKillTime dialog;
  dialog.Init(u"Disinfection time", 2, 0, flags);
  std::vector<std::string> names;
  panel::ScriptedInput script;
  script.Then([&] {
    for (int d = 0; d < 7; ++d) names.push_back(TextOf(dialog, kFirstDay + d).ToUtf8());
    ExpectScreen("killtime-dealer-0");
    Tap(dialog, DlgPopup::kCancel);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(names, (std::vector<std::string>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
}

// Each day name sits on its box with room on every side, clear of the box's border, checked or not.
TEST_F(DlgKillTimeTest, DayNames_ClearOfTheirBoxesBorders) {
  const int kRoom = 4;  // pixels between a name's glyphs and its box's edge, the border inside them
  const int flags[7] = {0, 1, 0, 1, 0, 0, 0};
  DlgKillTime dialog;
  dialog.Init(u"Disinfection time", 2, 0, flags);
  panel::ClearDrawLog();
  panel::ScriptedInput script;
  script.Then([&] {
    const std::vector<panel::DrawnPicture> faces = panel::PictureLog();
    for (int d = 0; d < 7; ++d) {
      const HWND day = dialog.GetDlgItem(kFirstDay + d)->m_hWnd;
      const CString name = TextOf(dialog, kFirstDay + d);
      SCOPED_TRACE(name.ToUtf8());
      const panel::DrawnText* text = panel::FindDrawnText(name);
      ASSERT_NE(text, nullptr);
      RECT face{};
      for (const panel::DrawnPicture& f : faces) {
        if (f.window == day) face = f.rect;
      }
      EXPECT_GE(text->ink.left - face.left, kRoom);
      EXPECT_GE(face.right - text->ink.right, kRoom);
      EXPECT_GE(text->ink.top - face.top, kRoom);
      EXPECT_GE(face.bottom - text->ink.bottom, kRoom);
    }
    Tap(dialog, DlgPopup::kCancel);
  });
  dialog.DoModal();
}

TEST_F(DlgWeekTimeTest, Slots_EditBothHoursOfTheShownDayOnly) {
  // Day 0 has bits 24..31 set besides hour 1; day 1 has hours 4 and 5 (slot 3).
  const int32_t masks[7] = {static_cast<int32_t>(0xFF000002u), 0x30, 0, 0, 0, 0, 0x00FFFFFF};
  DlgWeekTime dialog;
  ASSERT_EQ(dialog.Init(u"On/off timer", masks), 1);
  int shownAtOpen = -1;
  std::vector<int> day1Checks, day0Checks;
  panel::ScriptedInput script;
  script.Then([&] {
    shownAtOpen = dialog.ShownDay();
    for (int id : kSlotIds) day1Checks.push_back(CheckOf(dialog, id));
    Tap(dialog, kSlotIds[0]);  // day 1: hours 0 and 1 on
    Tap(dialog, kSlotIds[2]);  // day 1: hours 4 and 5 off
    Tap(dialog, kDayIds[0]);
    for (int id : kSlotIds) day0Checks.push_back(CheckOf(dialog, id));
    Tap(dialog, kSlotIds[0]);   // day 0: slot 1 was unchecked (only the odd bit set): now on
    Tap(dialog, kSlotIds[11]);  // day 0: hours 22 and 23 on
    Tap(dialog, kSlotIds[11]);  // and off again
    Tap(dialog, kDayIds[6]);
    Tap(dialog, kSlotIds[5]);   // day 6: hours 10 and 11 off
    Tap(dialog, DlgPopup::kOk);
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shownAtOpen, 1);
  EXPECT_EQ(day1Checks, (std::vector<int>{0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(day0Checks, (std::vector<int>(12, 0)));
  EXPECT_EQ(static_cast<uint32_t>(dialog.Mask(0)), 0xFF000003u);
  EXPECT_EQ(dialog.Mask(1), 0x3);
  EXPECT_EQ(dialog.Mask(6), 0x00FFF3FF);
  for (int d = 2; d <= 5; ++d) EXPECT_EQ(dialog.Mask(d), 0) << d;
}

TEST_F(DlgWeekTimeTest, DayButtonsNamedAndSlotCaptionsByDealer) {
  const int32_t masks[7] = {0, 0x0F, 0, 0, 0, 0, 0};
  for (int dealer : {0, 9}) {
    SCOPED_TRACE(dealer);
    UseDealer(dealer);
    DlgWeekTime dialog;
    dialog.Init(u"On/off timer", masks);
    std::vector<std::string> days;
    std::string firstSlot, lastSlot;
    panel::ScriptedInput script;
    script.Then([&] {
      for (int d = 0; d < 7; ++d) days.push_back(TextOf(dialog, kDayIds[d]).ToUtf8());
      firstSlot = TextOf(dialog, kSlotIds[0]).ToUtf8();
      lastSlot = TextOf(dialog, kSlotIds[11]).ToUtf8();
      ExpectScreen("weektime-dealer-" + std::to_string(dealer));
      Tap(dialog, DlgPopup::kClose);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(days, (std::vector<std::string>{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}));
    EXPECT_EQ(firstSlot, dealer == 9 ? "00:00-02:00" : "0-2");
    EXPECT_EQ(lastSlot, dealer == 9 ? "22:00-00:00" : "22-0");
  }
}

}  // namespace
