#include "RowTables.h"

#include "LangTexts.h"

namespace {

const int kTextMinutes = 419;
const char16_t kDegreeUnit[] = u"℃";

CString ValueText(const RowSpec& r, int32_t value) {
  switch (r.kind) {
    case RowSpec::kDegrees: return DegreesText(value);
    case RowSpec::kMinutes: return MinutesText(value);
    default: {
      CString text;
      text.Format(u"%d", value);
      return text;
    }
  }
}

CString UnitOf(const RowSpec& r) {
  switch (r.kind) {
    case RowSpec::kDegrees: return kDegreeUnit;
    case RowSpec::kMinutes: return LangText(kTextMinutes);
    default: return CString();
  }
}

// The table's own tap: a toggle flips, a value row runs the value editor; the after-hook follows
// whatever the editor answered.
std::function<void()> TableTap(PageContext& c, const RowSpec& r) {
  if (r.kind == RowSpec::kToggle) {
    return [&c, &r] {
      paramrows::Flip(r.field(c.d));
      if (r.after) r.after(c.d);
    };
  }
  // A value row without a range is the page's to act on, like text, blank and command rows.
  if (r.kind == RowSpec::kText || r.kind == RowSpec::kBlank || r.kind == RowSpec::kCommand || !r.range) return {};
  return [&c, &r] {
    const RowRange range = r.range(c.d, c.dealerId);
    c.ui.EditValue(LangText(r.caption), &r.field(c.d), range.min, range.max, UnitOf(r), r.step);
    if (r.after) r.after(c.d);
  };
}

}  // namespace

void TableRows(PageContext& c, RowTable table, int sub, SubPageRows& rows, const SpecialTap& special) {
  for (int i = 0; i < table.count; ++i) {
    const RowSpec& r = table.rows[i];
    if (r.sub != sub || r.row < 1 || r.row > kRowsPerSubPage) continue;
    const CString caption = LangText(r.caption);
    const int enabled = r.level ? c.d.m_unlockLevel : 1;
    std::function<void()> tap = special ? special(r) : std::function<void()>();
    if (!tap) tap = TableTap(c, r);
    ParamRow& row = rows[r.row - 1];
    switch (r.kind) {
      case RowSpec::kToggle: row = paramrows::ToggleRow(caption, r.field(c.d), enabled, std::move(tap)); break;
      case RowSpec::kCommand: row = paramrows::CommandRow(caption, enabled, std::move(tap)); break;
      case RowSpec::kBlank: row = paramrows::ValueRow(caption, u" ", enabled, std::move(tap)); break;
      case RowSpec::kText:
        row = paramrows::ValueRow(caption, r.text(c), enabled, std::move(tap));
        row.wide = 1;
        break;
      default: row = paramrows::ValueRow(caption, ValueText(r, r.field(c.d)), enabled, std::move(tap)); break;
    }
  }
}

CString DegreesText(int32_t value) {
  CString text;
  text.Format(u"%d℃", value);
  return text;
}

CString MinutesText(int32_t value) {
  CString text;
  text.Format(u"%d%s", value, LangText(kTextMinutes).GetString());
  return text;
}
