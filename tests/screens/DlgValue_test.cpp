#include "DlgValue.h"

#include <gtest/gtest.h>

#include "PopupFixture.h"

namespace {

using DlgValueTest = PopupFixture;

TEST(DlgValueSetup, ValueClampedIntoLimits_LimitsPutInOrder) {
  struct Case {
    const char* name;
    int32_t value, min, max;
    int32_t value2, min2, max2;  // the limits as the editor keeps them
  };
  const Case cases[] = {
      {"above max", 5, -3, 3, 3, -3, 3},
      {"below min", -10, -3, 3, -3, -3, 3},
      {"inside", 40, 25, 75, 40, 25, 75},
      {"min = max", 7, 30, 30, 30, 30, 30},
      {"limits swapped, above", 90, 75, 25, 75, 25, 75},
      {"limits swapped, below", 0, 75, 25, 25, 25, 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DlgValue dlg;
    EXPECT_EQ(1, dlg.Setup(u"Hot water set temp", c.value, c.min, c.max, u"℃", 1));
    EXPECT_EQ(dlg.Value(), c.value2);
    EXPECT_EQ(dlg.Min(), c.min2);
    EXPECT_EQ(dlg.Max(), c.max2);
    EXPECT_EQ(dlg.Selected(), 0);
  }
  DlgValue dlg;
  dlg.Setup(u"Curve 1 correction", 5, -3, 3, u"℃", 1);
  EXPECT_EQ(dlg.Caption(), CString(u"Curve 1 correction:3℃"));
}

// A press on "+" or "-" steps once; held, the third 100 ms tick after the press steps again, then
// every tick, up to the limit. The press comes right at the opening, in phase with the timer.
TEST_F(DlgValueTest, HoldRepeatsFromTheThirdTickUpToTheLimit) {
  struct Case {
    const char* name;
    int32_t value, min, max, step;
    int button;
    DWORD holdMs;
    int32_t expected;
  };
  const Case cases[] = {
      {"press only", 40, 25, 75, 1, DlgValue::kPlus, 50, 41},
      {"two ticks: no repeat yet", 40, 25, 75, 1, DlgValue::kPlus, 250, 41},
      {"third tick repeats", 40, 25, 75, 1, DlgValue::kPlus, 350, 42},
      {"then every tick", 40, 25, 75, 1, DlgValue::kPlus, 850, 47},
      {"minus mirrors", 40, 25, 75, 1, DlgValue::kMinus, 850, 33},
      {"stops at max", 73, 25, 75, 1, DlgValue::kPlus, 2000, 75},
      {"stops at min", 27, 25, 75, 1, DlgValue::kMinus, 2000, 25},
      {"big step stops exactly at max", 70, 25, 75, 10, DlgValue::kPlus, 350, 75},
      {"min = max never moves", 30, 30, 30, 1, DlgValue::kPlus, 850, 30},
      {"step of ten", 40, 25, 75, 10, DlgValue::kPlus, 350, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int32_t field = c.value;
    int32_t shown = 0;
    panel::ScriptedInput script;
    script.Then([&] {
      POINT p = CentreOf(c.button);
      panel::PressAt(p.x, p.y);
    });
    script.Wait(c.holdMs);
    script.Then([&] {
      POINT p = CentreOf(c.button);
      panel::ReleaseAt(p.x, p.y);
    });
    // After the release nothing moves any more.
    script.Wait(1000);
    script.Then([&] {
      shown = static_cast<int32_t>(GetDlgItemInt(Popup(), DlgValue::kDisplay, nullptr, TRUE));
      TapOn(DlgValue::kOk);
    });
    std::optional<int32_t> result = EditValue(nullptr, u"Set", field, c.min, c.max, u"℃", c.step);
    EXPECT_TRUE(script.Done());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
    EXPECT_EQ(field, c.expected);
    EXPECT_EQ(shown, c.expected);
  }
}

TEST_F(DlgValueTest, LeavingTheHeldButtonEndsTheRepeat) {
  int32_t field = 40;
  panel::ScriptedInput script;
  script.Then([&] {
    POINT p = CentreOf(DlgValue::kPlus);
    panel::PressAt(p.x, p.y);
  });
  script.Wait(350);  // 42
  script.Then([&] {
    POINT p = CentreOf(DlgValue::kDisplay);
    panel::MoveTo(p.x, p.y);
  });
  script.Wait(1000);
  script.Then([&] {
    POINT p = CentreOf(DlgValue::kDisplay);
    panel::ReleaseAt(p.x, p.y);
    TapOn(DlgValue::kOk);
  });
  EXPECT_EQ(EditValue(nullptr, u"Set", field, 25, 75, u"℃", 1), 42);
  EXPECT_EQ(field, 42);
}

TEST_F(DlgValueTest, CancelAndCloseCorner_LeaveTheField_AChosenMinusOneIsAValue) {
  for (int button : {DlgValue::kCancel, DlgValue::kClose}) {
    int32_t field = 0;
    panel::ScriptedInput script;
    script.Then([] { TapOn(DlgValue::kMinus); });
    script.Then([button] { TapOn(button); });
    EXPECT_EQ(EditValue(nullptr, u"Set", field, -3, 3, u"℃", 1), std::nullopt);
    EXPECT_EQ(field, 0);
  }
  int32_t field = 0;
  panel::ScriptedInput script;
  script.Then([] { TapOn(DlgValue::kMinus); });
  script.Then([] { TapOn(DlgValue::kOk); });
  std::optional<int32_t> result = EditValue(nullptr, u"Set", field, -3, 3, u"℃", 1);
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(*result, -1);
  EXPECT_EQ(field, -1);
}

TEST_F(DlgValueTest, TwoValues_SecondEditedAlone_SwitchingBackRestartsFromTheOpeningValue) {
  int32_t first = 35;
  int32_t second = 30;
  CString captionAtOpening, captionSecond;
  bool firstButtonHidden = false, secondButtonShown = false;
  int32_t backOnFirst = 0;
  panel::ScriptedInput script;
  script.Then([&] {
    captionAtOpening = TextOf(DlgValue::kTitle);
    firstButtonHidden = !IsWindowVisible(GetDlgItem(Popup(), DlgValue::kSelectFirst));
    secondButtonShown = IsWindowVisible(GetDlgItem(Popup(), DlgValue::kSelectSecond)) != FALSE;
    TapOn(DlgValue::kPlus);  // first: 36, forgotten on the switch
  });
  script.Then([] { TapOn(DlgValue::kSelectSecond); });
  script.Then([&] {
    captionSecond = TextOf(DlgValue::kTitle);
    TapOn(DlgValue::kPlus);
  });
  script.Then([] { TapOn(DlgValue::kPlus); });  // second: 32
  script.Then([] { TapOn(DlgValue::kSelectFirst); });
  script.Then([&] { backOnFirst = static_cast<int32_t>(GetDlgItemInt(Popup(), DlgValue::kDisplay, nullptr, TRUE)); });
  script.Then([] { TapOn(DlgValue::kSelectSecond); });
  script.Then([] { TapOn(DlgValue::kPlus); });  // second restarts from 30: 31
  script.Then([] { TapOn(DlgValue::kOk); });
  std::optional<int32_t> result =
      EditValue2(nullptr, u"Heating set temp", first, 20, 55, u"Second set temp", second, 20, 55);
  EXPECT_EQ(captionAtOpening, CString(u"Heating set temp:35℃"));
  EXPECT_EQ(captionSecond, CString(u"Second set temp:30℃"));
  EXPECT_TRUE(firstButtonHidden);
  EXPECT_TRUE(secondButtonShown);
  EXPECT_EQ(backOnFirst, 35);
  EXPECT_EQ(result, 31);
  EXPECT_EQ(first, 35);
  EXPECT_EQ(second, 31);
}

TEST_F(DlgValueTest, OneValueMode_NoSelectButtons_TextsFromTheLanguage) {
  int32_t field = 50;
  bool selectShown = true;
  CString ok, cancel, display;
  panel::ScriptedInput script;
  script.Then([&] {
    selectShown = IsWindowVisible(GetDlgItem(Popup(), DlgValue::kSelectFirst)) ||
                  IsWindowVisible(GetDlgItem(Popup(), DlgValue::kSelectSecond));
    ok = TextOf(DlgValue::kOk);
    cancel = TextOf(DlgValue::kCancel);
    display = TextOf(DlgValue::kDisplay);
    TapOn(DlgValue::kOk);
  });
  EXPECT_EQ(EditValue(nullptr, u"Hot water set temp", field, 25, 75, u"℃", 1), 50);
  EXPECT_FALSE(selectShown);
  EXPECT_EQ(ok, CString(u"OK"));
  EXPECT_EQ(cancel, CString(u"Cancel"));
  EXPECT_EQ(display, CString(u"50"));
}

}  // namespace
