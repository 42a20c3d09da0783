// Pages 1 to 7 beyond their value rows: sub-page counts and hidden rows by dealer, toggles, the rows
// that follow the access level, the clamps after a circuit limit edit, the heating curve's ambient
// points, the weekly timers, the disinfection start and the holiday dates.
#include <gtest/gtest.h>

#include "ParamPageFixture.h"

namespace {

#define F(expr) [](CSystemData& s) -> int32_t& { return s.expr; }

class ParamPageRows : public ParamPageFixture {
protected:
  // Opens the value editor of a row and sets its value by pressing "+" or "-" until it shows value
  // (or a limit stops it), then answers with button.
  void EditTo(int row, int32_t value, int button = DlgPopup::kOk) {
    TapRow(row, {[&] {
      PressTo(value);
      Tap(button);
    }});
  }
};

TEST_F(ParamPageRows, SubPageCountsAndHiddenRows_ByDealer) {
  struct Case {
    const char* name;
    int dealer, page, sub;
    int count;
    const char16_t* captions[5];  // null: the row is hidden
  };
  const Case cases[] = {
      {"page 1", 0, 1, 1, 6, {u"T44", u"T45", u"T46", u"T47", u"T48"}},
      {"page 1 last", 0, 1, 6, 6, {u"T247", u"T248", u"T249", u"T253", nullptr}},
      {"page 1 dealer 9 last", 9, 1, 4, 4, {u"T62", u"T83", u"T84", u"T293", nullptr}},
      {"page 2", 0, 2, 1, 4, {u"T102", u"T103", u"T110", u"T294", u"T104"}},
      {"page 2 last", 0, 2, 4, 4, {u"T254", nullptr, nullptr, nullptr, nullptr}},
      {"page 2 dealer 9 last", 9, 2, 3, 3, {u"T111", u"T80", nullptr, nullptr, nullptr}},
      {"page 3 second", 0, 3, 2, 2, {u"T90", u"T91", u"T92", u"T276", u"T277"}},
      {"page 4", 0, 4, 1, 2, {u"T93", u"T94", u"T95", u"T96", u"T97"}},
      {"page 4 second", 0, 4, 2, 2, {u"T98", nullptr, nullptr, nullptr, nullptr}},
      {"page 4 dealer 9", 9, 4, 1, 1, {u"T93", u"T94", nullptr, nullptr, nullptr}},
      {"page 5", 0, 5, 1, 2, {u"T112", u"T113", u"T114", u"T115", u"T116"}},
      {"page 5 second", 0, 5, 2, 2, {u"T117", nullptr, nullptr, nullptr, nullptr}},
      {"page 5 dealer 9", 9, 5, 1, 1, {u"T115", u"T116", u"T117", nullptr, nullptr}},
      {"page 6", 0, 6, 1, 1, {u"T63", u"T64", u"T65", u"T67", u"T68"}},
      {"page 7", 0, 7, 1, 1, {u"T70", u"T71", u"T72", u"T73", u"T74"}},
      {"page 7 dealer 9", 9, 7, 1, 1, {u"T70", u"T71", u"T73", u"T74", nullptr}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_dealerId = c.dealer;
    m_param.OpenAt(c.page, c.sub);
    EXPECT_EQ(m_param.GetSubPageCount(), c.count);
    for (int row = 1; row <= 5; ++row) {
      SCOPED_TRACE(row);
      EXPECT_EQ(RowVisible(row), c.captions[row - 1] != nullptr);
      if (c.captions[row - 1]) {
        EXPECT_EQ(Caption(row), CString(c.captions[row - 1]));
      }
    }
  }
}

TEST_F(ParamPageRows, Toggles_FlipTheirFieldAndShowIt) {
  struct Case {
    int dealer, page, sub, row;
    int32_t& (*field)(CSystemData&);
  };
  const Case cases[] = {
      {0, 1, 1, 5, F(m_curveEnabled)},          {0, 1, 4, 1, F(m_curveCorrectionEnabled)},
      {0, 1, 5, 2, F(m_mixTemp1Enabled)},       {0, 1, 6, 4, F(m_coolCurveEnabled)},
      {9, 1, 4, 4, F(m_mixTemp1Enabled)},       {0, 2, 1, 1, F(m_dualTempEnabled)},
      {0, 2, 1, 4, F(m_mixTemp2Enabled)},       {0, 2, 1, 5, F(m_heatSecondCurveEnabled)},
      {0, 2, 4, 1, F(m_dualCoolCurveEnabled)},  {0, 3, 1, 3, F(m_heatBalanceEnabled)},
      {0, 3, 2, 3, F(m_balanceTankHeaterEnabled)}, {0, 3, 2, 4, F(m_ecoHotWaterEnabled)},
      {0, 4, 1, 1, F(m_heatStorageEnabled)},    {0, 4, 1, 3, F(m_reheatEnabled)},
      {0, 5, 1, 1, F(m_sleepEnabled)},          {0, 5, 1, 4, F(m_lowNoiseEnabled)},
      {9, 5, 1, 1, F(m_lowNoiseEnabled)},       {0, 6, 1, 1, F(m_sterilizeEnabled)},
      {0, 7, 1, 1, F(m_holidayEnabled)},        {0, 8, 1, 2, F(m_timerEnabled)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("page " + std::to_string(c.page) + " " + std::to_string(c.sub) + "/" + std::to_string(c.row));
    g_dealerId = c.dealer;
    CSystemData& r = *GetSystemData();
    c.field(r) = 0;
    m_param.OpenAt(c.page, c.sub);
    TapRow(c.row);
    EXPECT_EQ(c.field(r), 1);
    EXPECT_EQ(m_param.Row(c.row).GetHighlight(), 1);
    TapRow(c.row);
    EXPECT_EQ(c.field(r), 0);
    EXPECT_EQ(m_param.Row(c.row).GetHighlight(), 0);
  }
}

TEST_F(ParamPageRows, LevelRows_GreyedAtLevelZeroOthersUsable) {
  struct Case {
    int dealer, page, sub;
    bool level[5];  // rows 1..5 that follow the access level
  };
  const Case cases[] = {
      {0, 1, 4, {false, false, false, false, true}}, {0, 1, 5, {true, true, false, false, false}},
      {9, 1, 4, {false, true, true, true, false}},   {0, 2, 1, {false, false, false, true, false}},
      {0, 2, 3, {true, true, false, false, false}},  {0, 3, 2, {false, false, false, true, true}},
      {0, 6, 1, {false, false, true, true, true}},   {0, 7, 1, {false, false, false, false, false}},
  };
  GetSystemData()->m_unlockLevel = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE("page " + std::to_string(c.page) + " sub " + std::to_string(c.sub) + " dealer " +
                 std::to_string(c.dealer));
    g_dealerId = c.dealer;
    m_param.OpenAt(c.page, c.sub);
    for (int row = 1; row <= 5; ++row) {
      if (!RowVisible(row)) continue;
      EXPECT_EQ(RowEnabledOnScreen(row), !c.level[row - 1]) << "row " << row;
    }
  }
  // A greyed row does not react.
  GetSystemData()->m_sterilizeTemp = 65;
  m_param.OpenAt(6, 1);
  TapRow(3);
  EXPECT_EQ(GetSystemData()->m_sterilizeTemp, 65);
}

TEST_F(ParamPageRows, LimitEdits_PullTheCircuitsValuesIntoTheNewRange) {
  struct Case {
    const char* name;
    int dealer, page, sub, row;
    int32_t newLimit;
    int button;
    // Before: heat set, cool set, curve water 1..5. After: the same.
    int32_t heat, cool, curve[5];
    int32_t heatAfter, coolAfter, curveAfter[5];
    bool circuit2;
  };
  const Case cases[] = {
      {"circuit 1 maximum lowered", 0, 1, 5, 1, 40, DlgPopup::kOk, 45, 20, {30, 35, 40, 45, 50},
       40, 20, {30, 35, 40, 40, 40}, false},
      {"circuit 1 maximum, cooling set above it", 0, 1, 5, 1, 22, DlgPopup::kOk, 21, 24, {21, 22, 23, 24, 25},
       21, 22, {21, 22, 22, 22, 22}, false},
      {"circuit 1 minimum raised", 0, 1, 4, 5, 22, DlgPopup::kOk, 21, 15, {20, 21, 22, 30, 40},
       22, 22, {22, 22, 22, 30, 40}, false},
      {"circuit 1 minimum above cooling maximum", 0, 1, 4, 5, 30, DlgPopup::kOk, 35, 15, {25, 30, 35, 40, 45},
       35, 25, {30, 30, 35, 40, 45}, false},
      {"circuit 1 minimum, cancelled: clamps to the minimum as it stands", 0, 1, 4, 5, 30, DlgPopup::kCancel, 8, 9,
       {9, 10, 11, 30, 40}, 10, 10, {10, 10, 11, 30, 40}, false},
      {"dealer 9 circuit 1 maximum", 9, 1, 4, 3, 40, DlgPopup::kOk, 45, 20, {30, 35, 40, 45, 50},
       40, 20, {30, 35, 40, 40, 40}, false},
      {"circuit 2 maximum lowered", 0, 2, 3, 1, 30, DlgPopup::kOk, 35, 20, {25, 30, 35, 40, 45},
       30, 20, {25, 30, 30, 30, 30}, true},
      {"circuit 2 minimum raised", 0, 2, 3, 2, 24, DlgPopup::kOk, 20, 15, {20, 24, 30, 35, 40},
       24, 24, {24, 24, 30, 35, 40}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_dealerId = c.dealer;
    CSystemData& r = *GetSystemData();
    Limits(r);
    int32_t& heat = c.circuit2 ? r.m_heatSecondSetTemp : r.m_heatSetTemp;
    int32_t& cool = c.circuit2 ? r.m_coolSecondSetTemp : r.m_coolSetTemp;
    int32_t* curve = c.circuit2 ? r.m_secondCurveWater : r.m_curveWater;
    heat = c.heat;
    cool = c.cool;
    for (int i = 0; i < 5; ++i) curve[i] = c.curve[i];
    for (int i = 0; i < 3; ++i) r.m_coolCurveWater[i] = r.m_dualCoolCurveWater[i] = 50;
    m_param.OpenAt(c.page, c.sub);
    EditTo(c.row, c.newLimit, c.button);
    EXPECT_EQ(heat, c.heatAfter);
    EXPECT_EQ(cool, c.coolAfter);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(curve[i], c.curveAfter[i]) << "curve point " << i + 1;
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(r.m_coolCurveWater[i], 50);  // the cooling curves are not clamped
      EXPECT_EQ(r.m_dualCoolCurveWater[i], 50);
    }
  }
}

TEST_F(ParamPageRows, HeatingCurveAmbientPoints_StayAscending) {
  // The fixture's points: -15, -5, 0, 5, 15.
  struct Case {
    const char* name;
    int point;            // 1..5
    int32_t min, max;     // the editor's range
    int32_t wanted;       // pressed towards
    int32_t stored;       // the point afterwards
  };
  const Case cases[] = {
      {"first point down to the bottom", 1, -25, -6, -25, -25},
      {"first point stops below the second", 1, -25, -6, 0, -6},
      {"middle point between its neighbours", 3, -4, 4, 3, 3},
      {"middle point cannot reach a neighbour", 3, -4, 4, 5, 4},
      {"last point up to the top", 5, 6, 25, 25, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Limits(*GetSystemData());
    m_param.OpenAt(1, 2);
    int32_t min = 0, max = 0;
    TapRow(c.point, {[&] {
      min = Editor()->Min();
      max = Editor()->Max();
      PressTo(c.wanted);
      Tap(DlgPopup::kOk);
    }});
    EXPECT_EQ(min, c.min);
    EXPECT_EQ(max, c.max);
    EXPECT_EQ(GetSystemData()->m_curveAmbient[c.point - 1], c.stored);
  }
}

TEST_F(ParamPageRows, AmbientPointWithNoRoomBetweenItsNeighbours_KeepsItsValue) {
  CSystemData& r = *GetSystemData();
  const int32_t points[5] = {0, 0, 1, 5, 20};  // as a damaged record may hold them
  for (int i = 0; i < 5; ++i) r.m_curveAmbient[i] = points[i];
  m_param.OpenAt(1, 2);
  TapRow(2, {[&] {
    Tap(DlgValue::kPlus);
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(r.m_curveAmbient[1], 0);
}

}  // namespace
