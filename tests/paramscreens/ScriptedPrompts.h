// The pop-ups of the parameter pages played by the test: each call is logged with what it was given,
// and answered from a queue the test filled (an empty queue answers Cancel). The answers store into
// the field the way the real dialogs do, on OK only, and only what the real dialog can give: the
// value editor holds an answer to the limits it was handed (above max gives max, else below min gives
// min), and the choice list cannot choose an entry it does not offer, so such an answer leaves its
// preselected entry (the first one when the field is outside the list).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "CSystemData.h"
#include "IndoorBlock.h"
#include "LangTexts.h"
#include "OutdoorBlock.h"
#include "ParamRows.h"

namespace paramtest {

struct Call {
  std::string kind;                 // "value", "choice", "message", "keypad", "week", "killtime", "date",
                                    // "clock", "end"
  std::string title;
  int min = 0, max = 0, step = 0;   // value editor
  std::string unit;
  int start = 0;                    // the field's value when the pop-up opened
  std::vector<std::string> options; // choice list
  std::string message;
  int mode = 0;                     // message box
  std::string prompt;               // keypad
  std::vector<int> given;           // week masks, disinfection time (hour, minute, days), date (y, m, d)
};

struct Answer {
  bool ok = false;
  int value = 0;          // the value or the 0-based choice
  std::string entry;      // keypad digits
  std::vector<int> values;  // the fields of a week, disinfection time or date pop-up, in Call::given's order
};

inline std::string U8(const CString& s) { return s.ToUtf8(); }

class ScriptedPrompts : public ParamPrompts {
public:
  std::vector<Call> calls;
  std::deque<Answer> answers;

  void Ok(int value = 0) { answers.push_back({true, value, "", {}}); }
  void Cancel() { answers.push_back({false, 0, "", {}}); }
  void Typed(const std::string& digits) { answers.push_back({true, 0, digits, {}}); }
  void Fields(std::vector<int> values) { answers.push_back({true, 0, "", std::move(values)}); }
  // The clock pop-up ended without OK: IDCANCEL, or kClockRefused.
  void ClockEnded(int result) { answers.push_back({false, result, "", {}}); }

  int EditValue(const CString& title, int32_t* field, int min, int max, const CString& unit, int step) override {
    Call c{"value", U8(title), min, max, step, U8(unit), *field, {}, "", 0, "", {}};
    calls.push_back(c);
    Answer a = Next();
    if (!a.ok) return IDCANCEL;
    *field = a.value > max ? max : a.value < min ? min : a.value;
    return IDOK;
  }
  int SelectOption(const CString& title, int32_t* field, const std::vector<CString>& options) override {
    Call c{"choice", U8(title), 0, 0, 0, "", *field, {}, "", 0, "", {}};
    for (const CString& o : options) c.options.push_back(U8(o));
    calls.push_back(c);
    const int count = static_cast<int>(options.size());
    if (count == 0) return -1;  // the real list does not open
    Answer a = Next();
    if (!a.ok) return -1;
    const auto offered = [count](int index) { return index >= 0 && index < count; };
    *field = offered(a.value) ? a.value : offered(*field) ? *field : 0;
    return *field;
  }
  int Message(const CString& title, const CString& message, int mode) override {
    calls.push_back({"message", U8(title), 0, 0, 0, "", 0, {}, U8(message), mode, "", {}});
    // A notice answers OK by itself.
    if (mode == 1) return IDOK;
    return Next().ok ? IDOK : IDCANCEL;
  }
  int Keypad(const CString& title, const CString& prompt, CString* entry) override {
    calls.push_back({"keypad", U8(title), 0, 0, 0, "", 0, {}, "", 0, U8(prompt), {}});
    Answer a = Next();
    if (!a.ok) return IDCANCEL;
    *entry = CString::FromUtf8(a.entry);
    return IDOK;
  }
  int WeekMasks(const CString& title, int32_t masks[7]) override {
    Logged("week", title, {masks[0], masks[1], masks[2], masks[3], masks[4], masks[5], masks[6]});
    Answer a = Next();
    if (!a.ok) return IDCANCEL;
    for (int d = 0; d < 7 && d < static_cast<int>(a.values.size()); ++d) masks[d] = a.values[d];
    return IDOK;
  }
  int KillTime(const CString& title, int* hour, int* minute, int days[7]) override {
    Logged("killtime", title, {*hour, *minute, days[0], days[1], days[2], days[3], days[4], days[5], days[6]});
    Answer a = Next();
    if (!a.ok) return IDCANCEL;
    int* fields[] = {hour, minute, &days[0], &days[1], &days[2], &days[3], &days[4], &days[5], &days[6]};
    Store(a, fields, 9);
    return IDOK;
  }
  int Date(const CString& title, int* year, int* month, int* day) override {
    Logged("date", title, {*year, *month, *day});
    Answer a = Next();
    if (!a.ok) return IDCANCEL;
    int* fields[] = {year, month, day};
    Store(a, fields, 3);
    return IDOK;
  }
  int Clock() override {
    Logged("clock", CString(), {});
    Answer a = Next();
    if (a.ok) return IDOK;
    return a.value ? a.value : IDCANCEL;
  }
  void EndProgram() override { calls.push_back({"end", "", 0, 0, 0, "", 0, {}, "", 0, "", {}}); }
  // No menu here: the main screen's test follows the reload to the menu.
  void TextsReloaded() override {}

private:
  void Logged(const char* kind, const CString& title, std::vector<int> given) {
    calls.push_back({kind, U8(title), 0, 0, 0, "", 0, {}, "", 0, "", std::move(given)});
  }
  static void Store(const Answer& a, int* const* fields, int n) {
    for (int i = 0; i < n && i < static_cast<int>(a.values.size()); ++i) *fields[i] = a.values[i];
  }
  Answer Next() {
    if (answers.empty()) return {};
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
};

// Language text N reads "tN", so a caption shows which text it is.
inline void NumberedTexts() {
  LangTexts.SetSize(500);
  for (int id = 1; id < 500; ++id) LangTexts.SetAt(id - 1, CString::FromUtf8("t" + std::to_string(id)));
}

// A record, its unit blocks and scripted pop-ups for the pages.
struct PageRig {
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  IndoorBlock indoor{};
  OutdoorBlock outdoor{};
  ScriptedPrompts ui;
  PageContext context{*record, ui, 0, &indoor, &outdoor};
  CSystemData& d = *record;

  explicit PageRig(int dealerId = 0) {
    NumberedTexts();
    context.dealerId = dealerId;
  }

  struct Drawn {
    int count = 0;
    ParamRow rows[kRowsPerSubPage];
  };
  Drawn Draw(int page, int subPage) {
    Drawn out;
    out.count = PageRows(page)(context, subPage, out.rows);
    return out;
  }
  const ParamRow& Row(int page, int subPage, int row) {
    m_last = Draw(page, subPage);
    return m_last.rows[row - 1];
  }
  int Tap(int page, int subPage, int row) { return TapRow(context, page, subPage, row); }

private:
  Drawn m_last;
};

inline const char* KindName(RowKind k) {
  switch (k) {
    case RowKind::kHidden: return "hidden";
    case RowKind::kValue: return "value";
    case RowKind::kToggle: return "toggle";
    case RowKind::kCommand: return "command";
  }
  return "?";
}

}  // namespace paramtest
