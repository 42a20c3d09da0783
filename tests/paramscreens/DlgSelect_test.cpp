#include "DlgSelect.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ParamHostFixture.h"

namespace {

CStringArray Entries(int count) {
  CStringArray entries;
  for (int i = 0; i < count; ++i) {
    CString text;
    text.Format(u"E%d", i);
    entries.Add(text);
  }
  return entries;
}

class DlgSelectTest : public ParamHostFixture<DlgParam> {
protected:
  // What the four option buttons show ("" for a hidden one) and which is checked.
  struct Shown {
    std::vector<CString> texts;
    int checked = -1;
  };
  static Shown ShownOptions() {
    Shown shown;
    HWND dialog = GetActiveWindow();
    for (int k = 0; k < 4; ++k) {
      HWND button = GetDlgItem(dialog, DlgSelect::kOption1 + k);
      shown.texts.push_back(IsWindowVisible(button) ? TextOf(button) : CString());
      if (SendMessageW(button, BM_GETCHECK, 0, 0) == 1) shown.checked = k;
    }
    return shown;
  }
  static bool PageButtonsVisible() {
    HWND dialog = GetActiveWindow();
    return IsWindowVisible(GetDlgItem(dialog, DlgSelect::kPrevPage)) &&
           IsWindowVisible(GetDlgItem(dialog, DlgSelect::kNextPage));
  }
};

TEST_F(DlgSelectTest, Init_ClampsTheSelectionAndPicksItsPage) {
  struct Case {
    const char* name;
    int count, selected;
    int result, expectSelected, page;
    const char16_t* caption;
  };
  const Case cases[] = {
      {"empty list refused", 0, 0, 0, 0, 0, u""},
      {"four entries, one page", 4, 3, 1, 3, 0, u"Mode:E3"},
      {"five entries, second page", 5, 4, 1, 4, 2, u"Mode:E4"},
      {"negative reads as entry 0", 5, -1, 1, 0, 1, u"Mode:E0"},
      {"past the list reads as entry 0", 9, 9, 1, 0, 1, u"Mode:E0"},
      {"eleven entries, entry 10 on page 3", 11, 10, 1, 10, 3, u"Mode:E10"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DlgSelect dialog;
    EXPECT_EQ(dialog.Init(u"Mode", Entries(c.count), c.selected), c.result);
    EXPECT_EQ(dialog.GetSelected(), c.expectSelected);
    EXPECT_EQ(dialog.GetPage(), c.page);
    EXPECT_EQ(dialog.GetCaption(), CString(c.caption));
  }
}

TEST_F(DlgSelectTest, FiveEntries_PagesWrapAndTheLastPageHidesThreeButtons) {
  DlgSelect dialog(&param);
  ASSERT_EQ(dialog.Init(u"Mode", Entries(5), 1), 1);
  std::vector<Shown> seen;
  bool pageButtons = false;
  panel::ScriptedInput script;
  script.Then([&] {
    pageButtons = PageButtonsVisible();
    seen.push_back(ShownOptions());
    TapControl(DlgSelect::kNextPage);
    seen.push_back(ShownOptions());
    TapControl(DlgSelect::kNextPage);  // page 2 wraps to page 1
    seen.push_back(ShownOptions());
    TapControl(DlgSelect::kPrevPage);  // page 1 goes to page 2
    seen.push_back(ShownOptions());
    TapControl(DlgSelect::kCancel);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(pageButtons);
  ASSERT_EQ(seen.size(), 4u);
  const std::vector<CString> page1 = {u"E0", u"E1", u"E2", u"E3"};
  const std::vector<CString> page2 = {u"E4", u"", u"", u""};
  EXPECT_EQ(seen[0].texts, page1);
  EXPECT_EQ(seen[0].checked, 1);
  EXPECT_EQ(seen[1].texts, page2);
  EXPECT_EQ(seen[1].checked, -1);  // the chosen entry is not on this page
  EXPECT_EQ(seen[2].texts, page1);
  EXPECT_EQ(seen[3].texts, page2);
}

TEST_F(DlgSelectTest, FourEntries_OnePageWithoutPageButtons) {
  DlgSelect dialog(&param);
  ASSERT_EQ(dialog.Init(u"Mode", Entries(4), 2), 1);
  bool pageButtons = true;
  Shown shown;
  panel::ScriptedInput script;
  script.Then([&] {
    pageButtons = PageButtonsVisible();
    shown = ShownOptions();
    TapControl(DlgSelect::kClose);
  });
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_FALSE(pageButtons);
  EXPECT_EQ(shown.checked, 2);
  EXPECT_EQ(dialog.GetPage(), 0);
}

// The entry chosen is returned whatever page shows at OK, and never an index past the list.
TEST_F(DlgSelectTest, SelectOption_ReturnsTheEntryChosenWhateverPageShows) {
  struct Case {
    const char* name;
    int count, start;
    std::function<void()> steps;
    int expected;
  };
  const Case cases[] = {
      {"third entry of page 3", 11, 0,
       [] {
         TapControl(DlgSelect::kNextPage);
         TapControl(DlgSelect::kNextPage);
         TapControl(DlgSelect::kOption1 + 2);
       },
       10},
      {"chosen on page 1, OK on page 2", 5, 0,
       [] {
         TapControl(DlgSelect::kOption1 + 1);
         TapControl(DlgSelect::kNextPage);
       },
       1},
      {"preselected on page 3, OK on page 1", 11, 9,
       [] { TapControl(DlgSelect::kNextPage); },
       9},
      {"untouched", 3, 2, [] {}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CStringArray entries = Entries(c.count);
    int32_t field = c.start;
    panel::ScriptedInput script;
    script.Then(c.steps).Then([] { TapControl(DlgSelect::kOk); });
    // SelectOption takes at most four named options; longer lists go through the dialog itself.
    int result = -1;
    if (c.count <= 4) {
      result = param.SelectOption(u"Mode", field, entries[0], entries[1], entries[2]);
    } else {
      DlgSelect dialog(&param);
      ASSERT_EQ(dialog.Init(u"Mode", entries, field), 1);
      if (dialog.DoModal() == IDOK) result = field = dialog.GetSelected();
    }
    EXPECT_EQ(result, c.expected);
    EXPECT_EQ(field, c.expected);
  }
}

TEST_F(DlgSelectTest, SelectOption_CancelLeavesTheFieldAndEmptyOptionsAreLeftOut) {
  int32_t field = 1;
  int optionsShown = 0;
  panel::ScriptedInput script;
  script.Then([&] {
    for (const CString& text : ShownOptions().texts) optionsShown += text.IsEmpty() ? 0 : 1;
    TapControl(DlgSelect::kOption1);
    TapControl(DlgSelect::kCancel);
  });
  EXPECT_EQ(param.SelectOption(u"Mode", field, u"Off", u"On", u"", u"Auto"), -1);
  EXPECT_EQ(field, 1);
  EXPECT_EQ(optionsShown, 3);
}

}  // namespace
