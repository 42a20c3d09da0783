// Page 8, the system page, as rows: its captions, the rows greyed at access level 0 and the hidden
// rows for each layout, the cell sub-page that the parameter cells' hand-shake adds, and what the
// rows show.
#include "PageCases.h"
#include "RowTables.h"

namespace {

using namespace paramtest;
const RowKind V = RowKind::kValue, T = RowKind::kToggle, C = RowKind::kCommand;

// The cell rows, the same for every dealer: usable only once unlocked; row 5 hidden.
const std::vector<LayoutCase> kCellRows = {
    {3, 1, V, "t306", 0, 1}, {3, 2, V, "t307", 0, 1}, {3, 3, V, "t308", 0, 1}, {3, 4, C, "t309", 0, 1}};

std::vector<LayoutCase> WithCellRows(std::vector<LayoutCase> rows) {
  rows.insert(rows.end(), kCellRows.begin(), kCellRows.end());
  return rows;
}

TEST(Page8, Rows_ForEachLayout) {
  const std::vector<LayoutCase> others = {
      {1, 1, V, "t30", 1, 1}, {1, 2, T, "t41", 1, 1}, {1, 3, C, "t41", 1, 1}, {1, 4, V, "t42", 1, 1},
      {1, 5, V, "t43", 1, 1}, {2, 1, V, "t39", 0, 1}, {2, 2, C, "t32", 0, 1}, {2, 3, C, "t33", 1, 1},
      {2, 4, C, "t34", 0, 1}};
  const std::vector<LayoutCase> dealer9 = {
      {1, 1, V, "t30", 1, 1}, {1, 2, V, "t42", 1, 1}, {1, 3, V, "t43", 1, 1}, {1, 4, C, "t32", 0, 1},
      {1, 5, C, "t33", 1, 1}, {2, 1, C, "t34", 0, 1}};
  for (int dealer : {0, 3, 9, 15}) {
    SCOPED_TRACE("dealer " + std::to_string(dealer));
    PageRig rig(dealer);
    const std::vector<LayoutCase>& rows = dealer == 9 ? dealer9 : others;
    // Two sub-pages while the cells' hand-shake is idle; the cell sub-page once it is not.
    CheckLayout(rig, 8, 2, rows);
    rig.outdoor.m_eepromState = 1;
    CheckLayout(rig, 8, 3, WithCellRows(rows));
  }
}

TEST(Page8, CellRows_ShowTheCellNumberAndItsValuesOnceChosen) {
  PageRig rig(0);
  rig.outdoor.m_eepromState = 2;
  rig.outdoor.m_paramBlock[4] = 10;
  rig.outdoor.m_paramEdit[4] = static_cast<uint16_t>(-3);
  g_paramCell = 0;
  EXPECT_EQ(U8(rig.Row(8, 3, 1).value), "0");
  g_paramCell = 5;
  EXPECT_EQ(U8(rig.Row(8, 3, 1).value), "5");
  EXPECT_EQ(U8(rig.Row(8, 3, 2).value), "10");
  EXPECT_EQ(U8(rig.Row(8, 3, 3).value), "-3");
  g_paramCell = 0;
}

}  // namespace
