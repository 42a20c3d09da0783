#include "ParamRows.h"

#include <cstdarg>
#include <utility>

#include "CSystemData.h"
#include "LangTexts.h"

PageRowsFn PageRows(int page) {
  switch (page) {
    case 1: return Page1Rows;
    case 2: return Page2Rows;
    case 3: return Page3Rows;
    case 4: return Page4Rows;
    case 5: return Page5Rows;
    case 6: return Page6Rows;
    case 7: return Page7Rows;
    case 8: return Page8Rows;
    case 9: return Page9Rows;
    case 10: return Page10Rows;
    case 11: return Page11Rows;
    case 12: return Page12Rows;
    case 13: return Page13Rows;
    case 14: return Page14Rows;
    case 15: return Page15Rows;
    case 16: return Page16Rows;
    default: return nullptr;
  }
}

int TapRow(PageContext& c, int page, int subPage, int row) {
  PageRowsFn rowsOf = PageRows(page);
  if (!rowsOf || row < 1 || row > kRowsPerSubPage) return 0;
  SubPageRows rows;
  rowsOf(c, subPage, rows);
  ParamRow& r = rows[row - 1];
  if (r.kind == RowKind::kHidden || !r.enabled || !r.tap) return 0;
  r.tap();
  return 1;
}

namespace paramrows {

CString Fmt(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  CString text(WFormatV(format, args));
  va_end(args);
  return text;
}

CString Text(int id) { return LangText(id); }

int Unlocked(const CSystemData& d) { return d.m_unlockLevel != 0 ? 1 : 0; }

void Flip(int32_t& field) { field = field == 0 ? 1 : 0; }
void Flip(uint16_t& word) { word = word == 0 ? 1 : 0; }

CString Named(int value, std::initializer_list<int> ids, int otherId) {
  if (value >= 0 && value < static_cast<int>(ids.size())) return Text(ids.begin()[value]);
  return Text(otherId);
}

std::vector<CString> Texts(std::initializer_list<int> ids) {
  std::vector<CString> texts;
  for (int id : ids) texts.push_back(Text(id));
  return texts;
}

namespace {

ParamRow MakeRow(RowKind kind, const CString& caption, int enabled, std::function<void()> tap) {
  ParamRow r;
  r.kind = kind;
  r.caption = caption;
  r.enabled = enabled;
  r.tap = std::move(tap);
  return r;
}

}  // namespace

ParamRow ValueRow(const CString& caption, const CString& value, int enabled, std::function<void()> tap) {
  ParamRow r = MakeRow(RowKind::kValue, caption, enabled, std::move(tap));
  r.value = value;
  return r;
}

ParamRow ToggleRow(const CString& caption, int state, int enabled, std::function<void()> tap) {
  ParamRow r = MakeRow(RowKind::kToggle, caption, enabled, std::move(tap));
  r.state = state;
  return r;
}

ParamRow CommandRow(const CString& caption, int enabled, std::function<void()> tap) {
  return MakeRow(RowKind::kCommand, caption, enabled, std::move(tap));
}

ParamRow FlipRow(const CString& caption, int32_t& field, int enabled) {
  return ToggleRow(caption, field, enabled, [&field] { Flip(field); });
}

ParamRow EditRow(PageContext& c, const CString& caption, const CString& value, int enabled, int32_t& field,
                 int min, int max, const CString& unit, int step) {
  return ValueRow(caption, value, enabled,
                  [&c, caption, &field, min, max, unit, step] { c.ui.EditValue(caption, &field, min, max, unit, step); });
}

ParamRow ChoiceRow(PageContext& c, const CString& caption, const CString& value, int enabled, int32_t& field,
                   std::vector<CString> options) {
  return ValueRow(caption, value, enabled,
                  [&c, caption, &field, options = std::move(options)] { c.ui.SelectOption(caption, &field, options); });
}

}  // namespace paramrows
