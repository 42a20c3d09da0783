// The rows of parameter pages 1 to 8 as tables: each row of a sub-page names its caption (a text
// id), how it shows (a temperature "%d℃", a duration "%d<text 419>", a plain number, or an on/off
// toggle), the field of the system record it edits, the range and step of the value editor at the
// moment of the tap, whether it follows the access level, and what must follow an edit (the clamps
// after a limit edit). A page's draw and edit operations hand their table to DrawRows and EditRow
// and deal with the rows a table cannot say (pop-ups, commands) themselves.
// User-interface thread only; the fields are written whole, and the engine saves them on its next
// cycle.
#pragma once

#include <cstdint>

#include "CSystemData.h"
#include "DlgParam.h"

struct RowRange {
  int32_t min;
  int32_t max;
};

struct ParamRow {
  // Value rows ("%d℃", "%d<text 419>", "%d", or the text of a function), an on/off toggle, a value
  // row with a blank value, and a command row (the caption only). The table edits the first four
  // kinds; the page acts on the others itself.
  enum Kind { kDegrees, kMinutes, kNumber, kToggle, kText, kBlank, kCommand };
  int sub;      // 1-based sub-page
  int row;      // 1..5
  int caption;  // text id; also the editor's title
  Kind kind;
  int32_t& (*field)(CSystemData&);
  RowRange (*range)(const CSystemData&);  // value rows only
  int step;
  bool level;                             // usable only at access level 1 or 2
  void (*after)(CSystemData&);            // runs after the editor closes (OK or cancel); may be null
  CString (*text)(const CSystemData&);    // kText rows: the value text
};

// Table entries: a field of the record, and a range that does not depend on it.
#define ROW_FIELD(expr) [](CSystemData& s) -> int32_t& { return s.expr; }
#define ROW_RANGE(lo, hi) [](const CSystemData&) -> RowRange { return {lo, hi}; }

// A page's rows (for one dealer layout).
struct RowTable {
  const ParamRow* rows;
  int count;
};
template <int N>
constexpr RowTable TableOf(const ParamRow (&rows)[N]) {
  return {rows, N};
}

// Shows every row of the table on sub-page sub and hides rows 1..5 that have none.
void DrawRows(DlgParam& page, RowTable table, int sub);
// Edits the table's row at (sub, row): a toggle flips 0/1, a value row runs the value editor with
// its caption, range, unit and step. False when the table has no such row or the row is the page's
// to act on (text, blank and command rows).
bool EditRow(DlgParam& page, RowTable table, int sub, int row);

// The row of the table at (sub, row), or null.
const ParamRow* FindRow(RowTable table, int sub, int row);

// The outdoor unit's parameter cell chosen on page 8 (1..500; 0 before the first choice).
extern int g_paramCell;

// The texts a row shows.
CString DegreesText(int32_t value);
CString MinutesText(int32_t value);
// The enabled argument of a row: 1, or the access level for rows that follow it.
int RowEnabled(bool level);

// The weekly schedule pop-up over seven masks (Sunday first): on OK all seven are stored, on cancel
// none. True when stored.
bool EditWeekMasks(CWnd* parent, int titleText, int32_t masks[7]);
