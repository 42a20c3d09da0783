// Rows given as tables (parameter pages 1 to 8): each entry names its sub-page and row, its caption
// (a text id), how it shows (a temperature "%d℃", a duration "%d<text 419>", a plain number, an
// on/off toggle, the text of a function, a blank value or a command), the field of the system record
// it edits, the range and step of the value editor at the moment of the tap, whether it follows the
// access level, and what must follow an edit (the clamps after a limit edit). TableRows turns a
// table into the rows of a sub-page; the taps a table cannot say (pop-ups, commands) come from the
// page. User-interface thread only.
#pragma once

#include <cstdint>
#include <functional>

#include "CSystemData.h"
#include "ParamRows.h"

struct RowRange {
  int32_t min;
  int32_t max;
};

struct RowSpec {
  // The table edits the first four kinds itself; the page gives the taps of the others.
  enum Kind { kDegrees, kMinutes, kNumber, kToggle, kText, kBlank, kCommand };
  int sub;      // 1-based sub-page
  int row;      // 1..5
  int caption;  // text id; also the editor's title
  Kind kind;
  int32_t& (*field)(CSystemData&);
  RowRange (*range)(const CSystemData&, int dealerId);  // value rows only
  int step;
  bool level;                             // usable only at access level 1 or 2
  void (*after)(CSystemData&);            // runs after the editor closes (OK or cancel); may be null
  CString (*text)(const PageContext&);    // kText rows: the value text
};

// Table entries: a field of the record, and a range that does not depend on it.
#define ROW_FIELD(expr) [](CSystemData& s) -> int32_t& { return s.expr; }
#define ROW_RANGE(lo, hi) [](const CSystemData&, int) -> RowRange { return {lo, hi}; }

// A page's rows (for one dealer layout).
struct RowTable {
  const RowSpec* rows;
  int count;
};
template <int N>
constexpr RowTable TableOf(const RowSpec (&rows)[N]) {
  return {rows, N};
}

// The page's own tap for a table row, or an empty one to leave the row to the table.
using SpecialTap = std::function<std::function<void()>(const RowSpec&)>;

// Fills rows with the table's rows of sub-page sub (the rest stay hidden). A toggle's tap flips its
// field, a value row's tap runs the value editor with its caption, range, unit and step; then the
// row's after-hook runs. special, when given, supplies the taps of the rows the table cannot say and
// may replace a table tap.
void TableRows(PageContext& c, RowTable table, int sub, SubPageRows& rows, const SpecialTap& special = {});

// The outdoor unit's parameter cell chosen on page 8 (1..500; 0 before the first choice).
extern int g_paramCell;

// The texts a row shows.
CString DegreesText(int32_t value);
CString MinutesText(int32_t value);
