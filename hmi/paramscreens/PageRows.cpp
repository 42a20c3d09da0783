#include "PageRows.h"

#include "DlgValue.h"
#include "DlgWeekTime.h"
#include "LangTexts.h"

namespace {

const int kTextMinutes = 419;
const char16_t kDegreeUnit[] = u"℃";

CString ValueText(const ParamRow& r, int32_t value) {
  switch (r.kind) {
    case ParamRow::kDegrees: return DegreesText(value);
    case ParamRow::kMinutes: return MinutesText(value);
    default: {
      CString text;
      text.Format(u"%d", value);
      return text;
    }
  }
}

CString UnitOf(const ParamRow& r) {
  switch (r.kind) {
    case ParamRow::kDegrees: return kDegreeUnit;
    case ParamRow::kMinutes: return LangText(kTextMinutes);
    default: return CString();
  }
}

}  // namespace

const ParamRow* FindRow(RowTable table, int sub, int row) {
  for (int i = 0; i < table.count; ++i) {
    if (table.rows[i].sub == sub && table.rows[i].row == row) return &table.rows[i];
  }
  return nullptr;
}

void DrawRows(DlgParam& page, RowTable table, int sub) {
  CSystemData& record = *GetSystemData();
  for (int row = 1; row <= DlgParam::kRows; ++row) {
    const ParamRow* r = FindRow(table, sub, row);
    if (!r) {
      page.HideRow(row);
      continue;
    }
    const CString caption = LangText(r->caption);
    const int enabled = RowEnabled(r->level);
    switch (r->kind) {
      case ParamRow::kToggle: page.StyleNameButton(row, caption, r->field(record), enabled); break;
      case ParamRow::kCommand: page.StyleRowButton2(row, caption, enabled); break;
      case ParamRow::kBlank: page.StyleValueButton(row, caption, u" ", enabled); break;
      case ParamRow::kText: page.StyleValueButton(row, caption, r->text(record), enabled, TRUE, 1); break;
      default: page.StyleValueButton(row, caption, ValueText(*r, r->field(record)), enabled); break;
    }
  }
}

bool EditRow(DlgParam& page, RowTable table, int sub, int row) {
  const ParamRow* r = FindRow(table, sub, row);
  if (!r || r->kind == ParamRow::kText || r->kind == ParamRow::kBlank || r->kind == ParamRow::kCommand) return false;
  CSystemData& record = *GetSystemData();
  int32_t& field = r->field(record);
  if (r->kind == ParamRow::kToggle) {
    field = field == 0 ? 1 : 0;
  } else {
    const RowRange range = r->range(record);
    EditValue(&page, LangText(r->caption), field, range.min, range.max, UnitOf(*r), r->step);
  }
  if (r->after) r->after(record);
  return true;
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

int RowEnabled(bool level) { return level ? GetSystemData()->m_unlockLevel : 1; }

bool EditWeekMasks(CWnd* parent, int titleText, int32_t masks[7]) {
  DlgWeekTime dialog(parent);
  dialog.Init(LangText(titleText), masks);
  if (dialog.DoModal() != IDOK) return false;
  for (int d = 0; d < 7; ++d) masks[d] = dialog.Mask(d);
  return true;
}
