// Page 8, the system page: the access level (the keypad's codes and the dealer password), the weekly
// on/off timer, the language, the clock, the user system type, the three parameter-profile requests
// and, once a service code unlocks it, the editor of the outdoor unit's parameter cells.
// The cells' read and write go through the outdoor block's hand-shake word, which the outdoor
// unit's driver moves on the bus thread: this page writes 1 (read) and 3 (write) and reads 2 (read
// done) and 4 (written).
// The screen's operations of the page, DlgParam::DrawPage8 and EditPage8, close the file.
#include "CControlEngine.h"
#include "DlgKeypad.h"
#include "DlgMessage.h"
#include "DlgParam.h"
#include "LangTexts.h"
#include "OutdoorBlock.h"
#include "ParamScreenRows.h"
#include "RowTables.h"
#include "SoftClock.h"

int g_paramCell = 0;

namespace {

const int kDealer9 = 9;

// Captions.
const int kAccessCaption = 30;
const int kTimerCaption = 41;
const int kLanguageCaption = 42;
const int kClockCaption = 43;
const int kSystemTypeCaption = 39;
const int kSaveCaption = 32;
const int kLoadCaption = 33;
const int kFactoryCaption = 34;
const int kCellCaption = 306;
const int kReadCaption = 307;
const int kNewValueCaption = 308;
const int kWriteCaption = 309;

// Texts.
const int kCurrentLanguageText = 16;
const int kUserLevelText = 398, kInstallerLevelText = 399, kFactoryLevelText = 400;
const int kPasswordText = 413, kEnterPasswordText = 414, kInstallerOnText = 415, kFactoryOnText = 416,
          kWrongPasswordText = 417;
const int kSystemType0Text = 432, kSystemType1Text = 433;
const int kWriteFailedText = 130, kNotReadText = 131, kNothingChangedText = 132, kWritingText = 310,
          kWrittenText = 311;

// The levels of the keypad's access codes.
const int kFactoryCode = 2, kTextsCode = 3, kPidCode = 4, kCellsCode = 5;
// The texts' language number that the level-3 code loads.
const int kServiceLanguage = 50;

// Profile requests to the engine (CSystemData::m_paramRequest).
const int kLoadProfile1 = 1, kLoadFactory = 2, kSaveProfile1 = 3;

// The outdoor block's hand-shake states.
const uint16_t kCellsIdle = 0, kCellsRead = 1, kCellsReady = 2, kCellsWrite = 3, kCellsWritten = 4;
const int kCellCount = 500;
const int kCellMin = -255, kCellMax = 255;
// Notices shown while the unit writes, each closing by itself.
const int kMaxWriteNotices = 20;

const int kLanguages = 50;

uint16_t CellsState(const PageContext& c) { return c.outdoor ? c.outdoor->m_eepromState.load() : kCellsIdle; }
bool CellChosen() { return g_paramCell >= 1 && g_paramCell <= kCellCount; }

CString Number(int value) {
  CString text;
  text.Format(u"%d", value);
  return text;
}

CString LevelText(const PageContext& c) {
  switch (c.d.m_unlockLevel) {
    case 1: return LangText(kInstallerLevelText);
    case 2: return LangText(kFactoryLevelText);
    default: return LangText(kUserLevelText);
  }
}
CString LanguageText(const PageContext&) { return LangText(kCurrentLanguageText); }
CString ClockText(const PageContext&) {
  const SYSTEMTIME t = g_clock;
  CString text;
  text.Format(u"%d.%d.%d %02d:%02d", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute);
  return text;
}
CString SystemTypeText(const PageContext& c) {
  return LangText(c.d.m_userSystemType ? kSystemType1Text : kSystemType0Text);
}
// The cell number as it stands (0 before the first choice); the value rows show no value until then.
CString CellText(const PageContext&) { return Number(g_paramCell); }
CString ReadValueText(const PageContext& c) {
  if (!CellChosen() || !c.outdoor) return u"-";
  return Number(static_cast<int16_t>(c.outdoor->m_paramBlock[g_paramCell - 1]));
}
CString NewValueText(const PageContext& c) {
  if (!CellChosen() || !c.outdoor) return u"-";
  return Number(static_cast<int16_t>(c.outdoor->m_paramEdit[g_paramCell - 1]));
}

using K = RowSpec;

#define CELL_ROWS                                                                                                      \
  {3, 1, kCellCaption, K::kText, nullptr, nullptr, 1, true, nullptr, CellText},                                        \
  {3, 2, kReadCaption, K::kText, nullptr, nullptr, 1, true, nullptr, ReadValueText},                                   \
  {3, 3, kNewValueCaption, K::kText, nullptr, nullptr, 1, true, nullptr, NewValueText},                                \
  {3, 4, kWriteCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr}

const RowSpec kPage8[] = {
    {1, 1, kAccessCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LevelText},
    {1, 2, kTimerCaption, K::kToggle, ROW_FIELD(m_timerEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 3, kTimerCaption, K::kCommand, nullptr, nullptr, 1, false, nullptr, nullptr},
    {1, 4, kLanguageCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LanguageText},
    {1, 5, kClockCaption, K::kText, nullptr, nullptr, 1, false, nullptr, ClockText},
    {2, 1, kSystemTypeCaption, K::kText, nullptr, nullptr, 1, true, nullptr, SystemTypeText},
    {2, 2, kSaveCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr},
    {2, 3, kLoadCaption, K::kCommand, nullptr, nullptr, 1, false, nullptr, nullptr},
    {2, 4, kFactoryCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr},
    CELL_ROWS,
};

const RowSpec kPage8Model9[] = {
    {1, 1, kAccessCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LevelText},
    {1, 2, kLanguageCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LanguageText},
    {1, 3, kClockCaption, K::kText, nullptr, nullptr, 1, false, nullptr, ClockText},
    {1, 4, kSaveCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr},
    {1, 5, kLoadCaption, K::kCommand, nullptr, nullptr, 1, false, nullptr, nullptr},
    {2, 1, kFactoryCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr},
    CELL_ROWS,
};

void Notice(PageContext& c, int title, int message) {
  c.ui.Message(LangText(title), LangText(message), DlgMessage::kNotice);
}

// The texts in another language, and with them the menu's captions and the fault table's names.
void ReloadTexts(PageContext& c, int language) {
  LoadLanguage(c.d.m_dealerId, language);
  c.ui.TextsReloaded();
  g_engine.BuildFaultTable();
}

// A level or a service function is granted only to its code typed whole; every other entry counts as
// a number and is held against the dealer password alone, so "02" is no level-2 code.
void EditAccess(PageContext& c) {
  CString entry;
  if (c.ui.Keypad(LangText(kAccessCaption), LangText(kEnterPasswordText), &entry) != IDOK) return;
  CSystemData& s = c.d;
  switch (DlgKeypad::AccessLevelOf(entry)) {
    case kFactoryCode:
      Notice(c, kPasswordText, kFactoryOnText);
      s.m_unlockLevel = 2;
      return;
    case kTextsCode:
      ReloadTexts(c, kServiceLanguage);
      return;
    case kPidCode:
      c.ui.Message(u"PID Function", u"PID Function Enable!", DlgMessage::kNotice);
      s.m_outdoorProgRequest = 1;
      return;
    case kCellsCode:
      c.ui.Message(u"EEFROM Function", u"EEFROM Function Enable!", DlgMessage::kNotice);
      if (c.outdoor) c.outdoor->m_eepromState = kCellsRead;
      return;
    default:
      break;
  }
  // The dealer password toggles between levels 0 and 1, and brings level 2 down to 1.
  const int number = DlgKeypad::NumberOf(entry);
  if (number == 0 || number != s.m_dealerPassword) {
    Notice(c, kPasswordText, kWrongPasswordText);
  } else if (s.m_unlockLevel == 1) {
    s.m_unlockLevel = 0;
  } else {
    Notice(c, kPasswordText, kInstallerOnText);
    s.m_unlockLevel = 1;
  }
}

void EditLanguage(PageContext& c) {
  CSystemData& s = c.d;
  std::vector<CString> names;
  int present[kLanguages] = {};
  int count = 0;
  int32_t chosen = -1;  // preselected
  for (int language = 0; language < kLanguages; ++language) {
    const CString& name = LangNames[language];
    if (name.IsEmpty()) continue;
    if (language == s.m_languageIndex) chosen = count;
    names.push_back(name);
    present[count++] = language;
  }
  if (c.ui.SelectOption(LangText(kLanguageCaption), &chosen, names) < 0) return;
  if (chosen < 0 || chosen >= count || present[chosen] == s.m_languageIndex) return;
  s.m_languageIndex = present[chosen];
  ReloadTexts(c, s.m_languageIndex);
}

void EditClock(PageContext& c) {
  const int result = c.ui.Clock();
  if (result == IDOK) {
    SoftClock(1);
  } else if (result == ParamPrompts::kClockRefused) {
    Notice(c, kClockCaption, kWriteFailedText);
  }
}

void RequestProfile(PageContext& c, int title, int question, int request, int notice) {
  if (c.ui.Message(LangText(title), LangText(question), DlgMessage::kAskTimed) != IDOK) return;
  c.d.m_paramRequest = request;
  Notice(c, title, notice);
}

void EditCell(PageContext& c) {
  if (CellsState(c) == kCellsIdle) return;
  int32_t cell = CellChosen() ? g_paramCell : 1;
  if (c.ui.EditValue(LangText(kCellCaption), &cell, 1, kCellCount, CString(), 1) == IDOK) g_paramCell = cell;
}

// The cell's new value, edited on a copy of the working copy and stored back whatever the answer,
// so a cancel leaves the cell as it was.
void EditCellValue(PageContext& c) {
  if (!CellChosen() || !c.outdoor) return;
  uint16_t& cell = c.outdoor->m_paramEdit[g_paramCell - 1];
  int32_t copy = static_cast<int16_t>(cell);
  c.ui.EditValue(LangText(kNewValueCaption), &copy, kCellMin, kCellMax, CString(), 1);
  cell = static_cast<uint16_t>(copy);
}

void WriteCells(PageContext& c) {
  OutdoorBlock* block = c.outdoor;
  if (!block || block->m_eepromState != kCellsReady) {
    Notice(c, kWriteCaption, kNotReadText);
    return;
  }
  CString changes;
  for (int n = 1; n <= kCellCount; ++n) {
    const uint16_t read = block->m_paramBlock[n - 1];
    const uint16_t wanted = block->m_paramEdit[n - 1];
    if (read == wanted) continue;
    changes.AppendFormat(u"%d %d->%d\r\n", n, static_cast<int16_t>(read), static_cast<int16_t>(wanted));
  }
  if (changes.IsEmpty()) {
    Notice(c, kWriteCaption, kNothingChangedText);
    return;
  }
  if (c.ui.Message(LangText(kWriteCaption), changes, DlgMessage::kAskTimed) != IDOK) return;
  block->m_eepromState = kCellsWrite;
  for (int shown = 0; block->m_eepromState != kCellsWritten && shown < kMaxWriteNotices; ++shown) {
    Notice(c, kWriteCaption, kWritingText);
  }
  // Written or not is the hand-shake's word alone: the unit may finish during the last notice.
  const bool written = block->m_eepromState == kCellsWritten;
  c.ui.Message(LangText(kWriteCaption), LangText(written ? kWrittenText : kWriteFailedText), DlgMessage::kAskTimed);
  block->m_eepromState = kCellsRead;
}

// The tap of a row the table cannot say: every row but the timer's toggle.
std::function<void()> Page8Tap(PageContext& c, const RowSpec& r) {
  switch (r.caption) {
    case kAccessCaption: return [&c] { EditAccess(c); };
    case kTimerCaption:
      if (r.kind == K::kToggle) return {};
      return [&c] { c.ui.WeekMasks(LangText(kTimerCaption), c.d.m_timerMask); };
    case kLanguageCaption: return [&c] { EditLanguage(c); };
    case kClockCaption: return [&c] { EditClock(c); };
    case kSystemTypeCaption:
      return [&c] {
        c.ui.SelectOption(LangText(kSystemTypeCaption), &c.d.m_userSystemType,
                          {LangText(kSystemType0Text), LangText(kSystemType1Text)});
      };
    case kSaveCaption: return [&c] { RequestProfile(c, kSaveCaption, 401, kSaveProfile1, 402); };
    case kLoadCaption: return [&c] { RequestProfile(c, kLoadCaption, 403, kLoadProfile1, 404); };
    case kFactoryCaption: return [&c] { RequestProfile(c, kFactoryCaption, 405, kLoadFactory, 406); };
    case kCellCaption: return [&c] { EditCell(c); };
    case kNewValueCaption: return [&c] { EditCellValue(c); };
    case kWriteCaption: return [&c] { WriteCells(c); };
    default: return {};
  }
}

}  // namespace

int Page8Rows(PageContext& c, int subPage, SubPageRows& rows) {
  TableRows(c, c.dealerId == kDealer9 ? TableOf(kPage8Model9) : TableOf(kPage8), subPage, rows,
            [&c](const RowSpec& r) { return Page8Tap(c, r); });
  return CellsState(c) != kCellsIdle ? 3 : 2;
}

// ---- The page on the parameter screen

void DlgParam::DrawPage8() { m_subPageCount = DrawParamRows(*this, 8, m_subPage); }
void DlgParam::EditPage8(int row) { TapParamRow(*this, 8, m_subPage, row); }
