// Table checks shared by the page tests: what each row of a page is (kind, caption, when usable),
// and what a value editor or choice list row opens and stores.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ScriptedPrompts.h"

namespace paramtest {

struct LayoutCase {
  int sub, row;
  RowKind kind;
  std::string caption;
  int lockedEnabled;    // usable at access level 0
  int unlockedEnabled;  // usable at access level 1
};

// Every listed row as given at both levels; every row of a listed sub-page that is not listed hidden.
// count 0: the page's sub-page count is not checked here.
inline void CheckLayout(PageRig& rig, int page, int count, const std::vector<LayoutCase>& cases) {
  std::vector<int> subs;
  for (const LayoutCase& c : cases) {
    if (subs.empty() || subs.back() != c.sub) subs.push_back(c.sub);
  }
  for (int level : {0, 1}) {
    rig.d.m_unlockLevel = level;
    for (int sub : subs) {
      PageRig::Drawn drawn = rig.Draw(page, sub);
      if (count > 0) {
        EXPECT_EQ(drawn.count, count) << "sub-page " << sub;
      }
      for (int row = 1; row <= kRowsPerSubPage; ++row) {
        SCOPED_TRACE("page " + std::to_string(page) + " " + std::to_string(sub) + "/" + std::to_string(row) +
                     " level " + std::to_string(level));
        const ParamRow& r = drawn.rows[row - 1];
        const LayoutCase* want = nullptr;
        for (const LayoutCase& c : cases) {
          if (c.sub == sub && c.row == row) want = &c;
        }
        if (!want) {
          EXPECT_EQ(r.kind, RowKind::kHidden);
          continue;
        }
        EXPECT_STREQ(KindName(r.kind), KindName(want->kind));
        EXPECT_EQ(U8(r.caption), want->caption);
        EXPECT_EQ(r.enabled != 0, (level ? want->unlockedEnabled : want->lockedEnabled) != 0);
      }
    }
  }
  rig.d.m_unlockLevel = 0;
}

// A tap answered Cancel leaves the field at start; a tap answered OK with answer stores it. The two
// pop-up calls stay in rig.ui.calls.
inline void CancelThenOk(PageRig& rig, int page, int sub, int row, int32_t CSystemData::*field, int start,
                         int answer) {
  SCOPED_TRACE("page " + std::to_string(page) + " " + std::to_string(sub) + "/" + std::to_string(row));
  rig.d.*field = start;
  rig.ui.calls.clear();
  rig.ui.Cancel();
  rig.Tap(page, sub, row);
  EXPECT_EQ(rig.d.*field, start);
  rig.ui.Ok(answer);
  EXPECT_EQ(rig.Tap(page, sub, row), 1);
  EXPECT_EQ(rig.d.*field, answer);
}

struct EditCase {
  int sub, row;
  int32_t CSystemData::*field;
  std::string title;
  int min, max;
  std::string unit;
  int step;
  int answer;  // the value the editor is left with on OK
};

// OK stores the answer and the editor opened with the row's title, limits, unit and step; Cancel
// keeps the value.
inline void CheckEdits(PageRig& rig, int page, const std::vector<EditCase>& cases) {
  rig.d.m_unlockLevel = 1;
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.title);
    CancelThenOk(rig, page, c.sub, c.row, c.field, 7, c.answer);
    ASSERT_EQ(rig.ui.calls.size(), 2u);
    const Call& call = rig.ui.calls[1];
    EXPECT_EQ(call.kind, "value");
    EXPECT_EQ(call.title, c.title);
    EXPECT_EQ(call.start, 7);
    EXPECT_EQ(call.min, c.min);
    EXPECT_EQ(call.max, c.max);
    EXPECT_EQ(call.unit, c.unit);
    EXPECT_EQ(call.step, c.step);
  }
  rig.d.m_unlockLevel = 0;
}

struct ChoiceCase {
  int sub, row;
  int32_t CSystemData::*field;
  std::string title;
  std::vector<std::string> options;
};

// The list opens titled, with the options in order and the field preselected; the chosen index is
// stored, a cancel keeps the value.
inline void CheckChoices(PageRig& rig, int page, const std::vector<ChoiceCase>& cases) {
  rig.d.m_unlockLevel = 1;
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(c.title);
    CancelThenOk(rig, page, c.sub, c.row, c.field, 0, static_cast<int>(c.options.size()) - 1);
    ASSERT_EQ(rig.ui.calls.size(), 2u);
    EXPECT_EQ(rig.ui.calls[1].kind, "choice");
    EXPECT_EQ(rig.ui.calls[1].title, c.title);
    EXPECT_EQ(rig.ui.calls[1].options, c.options);
  }
  rig.d.m_unlockLevel = 0;
}

struct TextCase {
  std::string name;
  int sub, row;
  std::function<void(CSystemData&)> set;
  std::string shown;
};

inline void CheckTexts(PageRig& rig, int page, const std::vector<TextCase>& cases) {
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.name);
    c.set(rig.d);
    EXPECT_EQ(U8(rig.Row(page, c.sub, c.row).value), c.shown);
  }
}

}  // namespace paramtest
