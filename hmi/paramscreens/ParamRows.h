// The rows of the parameter pages, described apart from the dialog that shows them: for the
// current sub-page each page fills five rows (what kind, caption, value text or toggle state, whether
// usable, and what a tap does) and returns its sub-page count. The frame styles the rows it is given
// and runs a tapped row's action; the pop-ups a row opens are reached through ParamPrompts, so the
// same rows run under the real dialogs and under a test's scripted answers. Every action writes the
// system record (or a unit's data block) itself, after the pop-up answered OK.
// User-interface thread only; the record's fields are single words that the engine reads on its own
// thread.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "Gui.h"
#include "Platform.h"

struct CSystemData;
struct IndoorBlock;
struct OutdoorBlock;

// The pop-ups of the parameter pages. Each returns the answer of its dialog.
class ParamPrompts {
public:
  virtual ~ParamPrompts() = default;
  // The value editor over *field (limits min..max, unit shown after the number, step per press):
  // IDOK once the new value is stored into *field; IDCANCEL leaves *field untouched. (The answer is
  // not the value, since -1 is a value the ranges allow.)
  virtual int EditValue(const CString& title, int32_t* field, int min, int max, const CString& unit, int step) = 0;
  // The choice list, *field preselected: on OK the chosen 0-based index is stored and returned;
  // otherwise -1 and *field is untouched.
  virtual int SelectOption(const CString& title, int32_t* field, const std::vector<CString>& options) = 0;
  // The message box; mode 0 asks (OK and Cancel), mode 1 notifies (OK, answered by itself).
  // IDOK or IDCANCEL.
  virtual int Message(const CString& title, const CString& message, int mode) = 0;
  // The keypad: IDOK with *entry holding the digits as typed (not the code they may resemble), or
  // IDCANCEL.
  virtual int Keypad(const CString& title, const CString& prompt, CString* entry) = 0;
  // The weekly schedule over seven hour masks (Sunday first): on OK all seven are stored, on cancel
  // none.
  virtual int WeekMasks(const CString& title, int32_t masks[7]) = 0;
  // The disinfection time: start hour, minute and the seven weekday flags (Sunday first, 0 or 1),
  // all stored on OK, none on cancel.
  virtual int KillTime(const CString& title, int* hour, int* minute, int days[7]) = 0;
  // The date: year, month and day, stored on OK only.
  virtual int Date(const CString& title, int* year, int* month, int* day) = 0;
  // The clock's date and time, set by the pop-up itself: IDOK, IDCANCEL, or kClockRefused when the
  // clock refused the time chosen.
  virtual int Clock() = 0;
  static constexpr int kClockRefused = IDABORT;
  // The owner's OK: ends the main screen and with it the program.
  virtual void EndProgram() = 0;
  // The texts were loaded afresh (another language, the service texts): the menu dresses its items
  // again so their captions follow.
  virtual void TextsReloaded() = 0;
};

enum class RowKind { kHidden, kValue, kToggle, kCommand };

struct ParamRow {
  RowKind kind = RowKind::kHidden;
  CString caption;
  CString value;              // second line of a value row
  int state = 0;              // a toggle row is drawn highlighted while non-zero
  int enabled = 0;            // a disabled row cannot be tapped
  int wide = 0;               // a value row whose value column is widened for dealer 9
  std::function<void()> tap;  // the row's action; empty for a row without one
};

constexpr int kRowsPerSubPage = 5;
using SubPageRows = ParamRow[kRowsPerSubPage];

// What the pages work on.
struct PageContext {
  CSystemData& d;
  ParamPrompts& ui;
  int dealerId;                    // the dealer id copied at start-up (some pages read the record's own)
  IndoorBlock* indoor = nullptr;   // the units' data blocks; null while a unit's device is not added
  OutdoorBlock* outdoor = nullptr;
};

// Fills rows for sub-page subPage (1-based) of the page and returns the page's sub-page count. Rows
// a sub-page does not use stay hidden; a sub-page beyond the page's own gives hidden rows only.
using PageRowsFn = int (*)(PageContext& c, int subPage, SubPageRows& rows);
int Page1Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page2Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page3Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page4Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page5Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page6Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page7Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page8Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page9Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page10Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page11Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page12Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page13Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page14Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page15Rows(PageContext& c, int subPage, SubPageRows& rows);
int Page16Rows(PageContext& c, int subPage, SubPageRows& rows);
// The rows of page 1..16; null for any other page.
PageRowsFn PageRows(int page);

// Runs the action of a tapped row (1..5) of the sub-page: nothing for a hidden or disabled row or a
// row without an action. 1 when an action ran.
int TapRow(PageContext& c, int page, int subPage, int row);

// A setting that page 14 sent to the outdoor unit and the unit did not store within its hold: the
// person is told once, with the setting's caption and the writing-failed text, in place of the notice
// that it was sent. 1 when told.
int TellOutdoorSettingRefused(PageContext& c);

// ---- Building blocks shared by the pages. ----
namespace paramrows {

// printf into a CString (the class library's conventions).
CString Fmt(const char16_t* format, ...);
// Language text id.
CString Text(int id);
// 1 while unlocked (access level 1 or 2).
int Unlocked(const CSystemData& d);
// 0 becomes 1, anything else 0.
void Flip(int32_t& field);
void Flip(uint16_t& word);
// The text that names a value: ids[value] for a value inside the list, otherId for any other value.
CString Named(int value, std::initializer_list<int> ids, int otherId);
// Language texts of ids, in order.
std::vector<CString> Texts(std::initializer_list<int> ids);

ParamRow ValueRow(const CString& caption, const CString& value, int enabled, std::function<void()> tap = {});
ParamRow ToggleRow(const CString& caption, int state, int enabled, std::function<void()> tap);
ParamRow CommandRow(const CString& caption, int enabled, std::function<void()> tap);
// A toggle row that flips field.
ParamRow FlipRow(const CString& caption, int32_t& field, int enabled);
// A value row whose tap runs the value editor over field, titled with the caption.
ParamRow EditRow(PageContext& c, const CString& caption, const CString& value, int enabled, int32_t& field,
                 int min, int max, const CString& unit = u"℃", int step = 1);
// A value row whose tap runs the choice list over field, titled with the caption.
ParamRow ChoiceRow(PageContext& c, const CString& caption, const CString& value, int enabled, int32_t& field,
                   std::vector<CString> options);

}  // namespace paramrows
