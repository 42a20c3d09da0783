#include "ParamScreenRows.h"

#include "AppGlobals.h"
#include "CControlEngine.h"
#include "DlgMessage.h"
#include "DlgDate.h"
#include "DlgDateTime.h"
#include "DlgKeypad.h"
#include "DlgKillTime.h"
#include "DlgParam.h"
#include "DlgSelect.h"
#include "DlgValue.h"
#include "DlgWeekTime.h"
#include "ParamRows.h"

namespace {

// The pop-ups, modal over the parameter screen.
class ScreenPrompts : public ParamPrompts {
public:
  explicit ScreenPrompts(DlgParam& screen) : m_screen(screen) {}

  int EditValue(const CString& title, int32_t* field, int min, int max, const CString& unit, int step) override {
    return ::EditValue(&m_screen, title, *field, min, max, unit, step) ? IDOK : IDCANCEL;
  }
  int SelectOption(const CString& title, int32_t* field, const std::vector<CString>& options) override {
    CStringArray list;
    for (const CString& o : options) list.Add(o);
    DlgSelect dialog(&m_screen);
    if (!dialog.Init(title, list, *field) || dialog.DoModal() != IDOK) return -1;
    *field = dialog.GetSelected();
    return *field;
  }
  int Message(const CString& title, const CString& message, int mode) override {
    DlgMessage dialog(&m_screen);
    dialog.Init(title, message, mode);
    return static_cast<int>(dialog.DoModal());
  }
  int Keypad(const CString& title, const CString& prompt, CString* entry) override {
    DlgKeypad dialog(&m_screen);
    dialog.Init(title, prompt);
    if (dialog.DoModal() != IDOK) return IDCANCEL;
    *entry = dialog.Entry();
    return IDOK;
  }
  int WeekMasks(const CString& title, int32_t masks[7]) override {
    DlgWeekTime dialog(&m_screen);
    dialog.Init(title, masks);
    if (dialog.DoModal() != IDOK) return IDCANCEL;
    for (int d = 0; d < 7; ++d) masks[d] = dialog.Mask(d);
    return IDOK;
  }
  int KillTime(const CString& title, int* hour, int* minute, int days[7]) override {
    DlgKillTime dialog(&m_screen);
    dialog.Init(title, *hour, *minute, days);
    if (dialog.DoModal() != IDOK) return IDCANCEL;
    *hour = dialog.Hour();
    *minute = dialog.Minute();
    for (int d = 0; d < 7; ++d) days[d] = dialog.DayFlag(d);
    return IDOK;
  }
  int Date(const CString& title, int* year, int* month, int* day) override {
    DlgDate dialog(&m_screen);
    dialog.Init(title, *year, *month, *day);
    if (dialog.DoModal() != IDOK) return IDCANCEL;
    *year = dialog.Year();
    *month = dialog.Month();
    *day = dialog.Day();
    return IDOK;
  }
  int Clock() override {
    DlgDateTime dialog(&m_screen);
    const INT_PTR result = dialog.DoModal();
    if (result == IDOK) return IDOK;
    return result == DlgDateTime::kRefused ? kClockRefused : IDCANCEL;
  }
  void EndProgram() override {
    // The owner's OK, as its EXIT button: the main screen ends and the program with it.
    if (auto* owner = dynamic_cast<CDialog*>(m_screen.m_pParentWnd)) owner->OnOK();
  }
  void TextsReloaded() override { m_screen.RedressMenu(); }

private:
  DlgParam& m_screen;
};

PageContext ContextFor(ParamPrompts& ui) {
  CControlEngine* engine = GetEngine();
  return PageContext{*GetSystemData(), ui, g_dealerId, engine->m_indoorBlock, engine->m_outdoorBlock};
}

}  // namespace

int DrawParamRows(DlgParam& screen, int page, int subPage) {
  PageRowsFn rowsOf = PageRows(page);
  if (!rowsOf) return 1;
  ScreenPrompts ui(screen);
  PageContext context = ContextFor(ui);
  SubPageRows rows;
  const int count = rowsOf(context, subPage, rows);
  for (int i = 0; i < kRowsPerSubPage; ++i) {
    const ParamRow& r = rows[i];
    const int row = i + 1;
    switch (r.kind) {
      case RowKind::kValue: screen.StyleValueButton(row, r.caption, r.value, r.enabled, TRUE, r.wide); break;
      case RowKind::kToggle: screen.StyleNameButton(row, r.caption, r.state, r.enabled); break;
      case RowKind::kCommand: screen.StyleRowButton2(row, r.caption, r.enabled); break;
      case RowKind::kHidden: screen.HideRow(row); break;
    }
  }
  return count;
}

void TapParamRow(DlgParam& screen, int page, int subPage, int row) {
  ScreenPrompts ui(screen);
  PageContext context = ContextFor(ui);
  TapRow(context, page, subPage, row);
}

void TellParamNotices(DlgParam& screen) {
  ScreenPrompts ui(screen);
  PageContext context = ContextFor(ui);
  TellOutdoorSettingRefused(context);
}
