// Page 8, the system page: the access level (the keypad's codes and the dealer password), the weekly
// on/off timer, the language, the clock, the user system type, the three parameter-profile requests
// and, once a service code unlocks it, the editor of the outdoor unit's parameter cells.
// The cells' read and write go through the outdoor block's hand-shake word, which the outdoor
// unit's driver moves on the bus thread: this page writes 1 (read) and 3 (write) and reads 2 (read
// done) and 4 (written).
#include "AppGlobals.h"
#include "CControlEngine.h"
#include "DlgDateTime.h"
#include "DlgKeypad.h"
#include "DlgMessage.h"
#include "DlgParam.h"
#include "DlgSelect.h"
#include "DlgValue.h"
#include "LangTexts.h"
#include "OutdoorBlock.h"
#include "PageRows.h"
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

// Keypad results that are access codes.
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

OutdoorBlock* Outdoor() { return g_engine.m_outdoorBlock; }
uint16_t CellsState() { return Outdoor() ? Outdoor()->m_eepromState.load() : kCellsIdle; }
bool CellChosen() { return g_paramCell >= 1 && g_paramCell <= kCellCount; }

CString Number(int value) {
  CString text;
  text.Format(u"%d", value);
  return text;
}

CString LevelText(const CSystemData& s) {
  switch (s.m_unlockLevel) {
    case 1: return LangText(kInstallerLevelText);
    case 2: return LangText(kFactoryLevelText);
    default: return LangText(kUserLevelText);
  }
}
CString LanguageText(const CSystemData&) { return LangText(kCurrentLanguageText); }
CString ClockText(const CSystemData&) {
  const SYSTEMTIME t = g_clock;
  CString text;
  text.Format(u"%d.%d.%d %02d:%02d", t.wDay, t.wMonth, t.wYear, t.wHour, t.wMinute);
  return text;
}
CString SystemTypeText(const CSystemData& s) {
  return LangText(s.m_userSystemType ? kSystemType1Text : kSystemType0Text);
}
// Before a cell is chosen the cell rows show no value.
CString CellText(const CSystemData&) { return CellChosen() ? Number(g_paramCell) : CString(u"-"); }
CString ReadValueText(const CSystemData&) {
  if (!CellChosen() || !Outdoor()) return u"-";
  return Number(static_cast<int16_t>(Outdoor()->m_paramBlock[g_paramCell - 1]));
}
CString NewValueText(const CSystemData&) {
  if (!CellChosen() || !Outdoor()) return u"-";
  return Number(static_cast<int16_t>(Outdoor()->m_paramEdit[g_paramCell - 1]));
}

using K = ParamRow;

#define CELL_ROWS                                                                                                      \
  {3, 1, kCellCaption, K::kText, nullptr, nullptr, 1, true, nullptr, CellText},                                        \
  {3, 2, kReadCaption, K::kText, nullptr, nullptr, 1, true, nullptr, ReadValueText},                                   \
  {3, 3, kNewValueCaption, K::kText, nullptr, nullptr, 1, true, nullptr, NewValueText},                                \
  {3, 4, kWriteCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr}

const ParamRow kPage8[] = {
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

const ParamRow kPage8Model9[] = {
    {1, 1, kAccessCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LevelText},
    {1, 2, kLanguageCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LanguageText},
    {1, 3, kClockCaption, K::kText, nullptr, nullptr, 1, false, nullptr, ClockText},
    {1, 4, kSaveCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr},
    {1, 5, kLoadCaption, K::kCommand, nullptr, nullptr, 1, false, nullptr, nullptr},
    {2, 1, kFactoryCaption, K::kCommand, nullptr, nullptr, 1, true, nullptr, nullptr},
    CELL_ROWS,
};

RowTable Page8() { return g_dealerId == kDealer9 ? TableOf(kPage8Model9) : TableOf(kPage8); }

int Message(CWnd* parent, const CString& title, const CString& message, int mode) {
  DlgMessage box(parent);
  box.Init(title, message, mode);
  return static_cast<int>(box.DoModal());
}
void Notice(CWnd* parent, int title, int message) {
  Message(parent, LangText(title), LangText(message), DlgMessage::kNotice);
}

// The texts (and with them the fault table's names) in another language.
void ReloadTexts(int language) {
  LoadLanguage(GetSystemData()->m_dealerId, language);
  g_engine.BuildFaultTable();
}

void EditAccess(CWnd* parent) {
  DlgKeypad keypad(parent);
  keypad.Init(LangText(kAccessCaption), LangText(kEnterPasswordText));
  if (keypad.DoModal() != IDOK) return;
  CSystemData& s = *GetSystemData();
  const int result = keypad.Result();
  switch (result) {
    case 0:
      Notice(parent, kPasswordText, kWrongPasswordText);
      return;
    case kFactoryCode:
      Notice(parent, kPasswordText, kFactoryOnText);
      s.m_unlockLevel = 2;
      return;
    case kTextsCode:
      ReloadTexts(kServiceLanguage);
      return;
    case kPidCode:
      Message(parent, u"PID Function", u"PID Function Enable!", DlgMessage::kNotice);
      s.m_outdoorProgRequest = 1;
      return;
    case kCellsCode:
      Message(parent, u"EEFROM Function", u"EEFROM Function Enable!", DlgMessage::kNotice);
      if (Outdoor()) Outdoor()->m_eepromState = kCellsRead;
      return;
    default:
      break;
  }
  // The dealer password toggles between levels 0 and 1, and brings level 2 down to 1.
  if (result != s.m_dealerPassword) {
    Notice(parent, kPasswordText, kWrongPasswordText);
  } else if (s.m_unlockLevel == 1) {
    s.m_unlockLevel = 0;
  } else {
    Notice(parent, kPasswordText, kInstallerOnText);
    s.m_unlockLevel = 1;
  }
}

void EditLanguage(CWnd* parent) {
  CSystemData& s = *GetSystemData();
  CStringArray names;
  int present[kLanguages] = {};
  int count = 0;
  int preselected = -1;
  for (int language = 0; language < kLanguages; ++language) {
    const CString& name = LangNames[language];
    if (name.IsEmpty()) continue;
    if (language == s.m_languageIndex) preselected = count;
    names.Add(name);
    present[count++] = language;
  }
  DlgSelect list(parent);
  if (!list.Init(LangText(kLanguageCaption), names, preselected)) return;
  if (list.DoModal() != IDOK) return;
  const int chosen = list.GetSelected();
  if (chosen < 0 || chosen >= count || present[chosen] == s.m_languageIndex) return;
  s.m_languageIndex = present[chosen];
  ReloadTexts(s.m_languageIndex);
}

void EditClock(CWnd* parent) {
  DlgDateTime dialog(parent);
  const INT_PTR result = dialog.DoModal();
  if (result == IDOK) {
    SoftClock(1);
  } else if (result == DlgDateTime::kRefused) {
    Notice(parent, kClockCaption, kWriteFailedText);
  }
}

void RequestProfile(CWnd* parent, int title, int question, int request, int notice) {
  if (Message(parent, LangText(title), LangText(question), DlgMessage::kAskTimed) != IDOK) return;
  GetSystemData()->m_paramRequest = request;
  Notice(parent, title, notice);
}

// The cell's new value, edited on a copy of the working copy and stored back whatever the answer,
// so a cancel leaves the cell as it was.
void EditCellValue(CWnd* parent) {
  if (!CellChosen() || !Outdoor()) return;
  uint16_t& cell = Outdoor()->m_paramEdit[g_paramCell - 1];
  int32_t copy = static_cast<int16_t>(cell);
  EditValue(parent, LangText(kNewValueCaption), copy, kCellMin, kCellMax, CString(), 1);
  cell = static_cast<uint16_t>(copy);
}

void WriteCells(CWnd* parent) {
  OutdoorBlock* block = Outdoor();
  if (!block || block->m_eepromState != kCellsReady) {
    Notice(parent, kWriteCaption, kNotReadText);
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
    Notice(parent, kWriteCaption, kNothingChangedText);
    return;
  }
  if (Message(parent, LangText(kWriteCaption), changes, DlgMessage::kAskTimed) != IDOK) return;
  block->m_eepromState = kCellsWrite;
  for (int shown = 0; block->m_eepromState != kCellsWritten && shown < kMaxWriteNotices; ++shown) {
    Notice(parent, kWriteCaption, kWritingText);
  }
  // Written or not is the hand-shake's word alone: the unit may finish during the last notice.
  const bool written = block->m_eepromState == kCellsWritten;
  Message(parent, LangText(kWriteCaption), LangText(written ? kWrittenText : kWriteFailedText), DlgMessage::kAskTimed);
  block->m_eepromState = kCellsRead;
}

}  // namespace

void DlgParam::DrawPage8() {
  m_subPageCount = CellsState() != kCellsIdle ? 3 : 2;
  DrawRows(*this, Page8(), m_subPage);
}

void DlgParam::EditPage8(int row) {
  const ParamRow* r = FindRow(Page8(), m_subPage, row);
  if (!r) return;
  CSystemData& s = *GetSystemData();
  switch (r->caption) {
    case kAccessCaption: EditAccess(this); break;
    case kTimerCaption:
      if (r->kind == K::kToggle) {
        EditRow(*this, Page8(), m_subPage, row);
      } else {
        EditWeekMasks(this, kTimerCaption, s.m_timerMask);
      }
      break;
    case kLanguageCaption: EditLanguage(this); break;
    case kClockCaption: EditClock(this); break;
    case kSystemTypeCaption:
      SelectOption(LangText(kSystemTypeCaption), s.m_userSystemType, LangText(kSystemType0Text),
                   LangText(kSystemType1Text));
      break;
    case kSaveCaption: RequestProfile(this, kSaveCaption, 401, kSaveProfile1, 402); break;
    case kLoadCaption: RequestProfile(this, kLoadCaption, 403, kLoadProfile1, 404); break;
    case kFactoryCaption: RequestProfile(this, kFactoryCaption, 405, kLoadFactory, 406); break;
    case kCellCaption: {
      if (m_subPage != 3 || CellsState() == kCellsIdle) break;
      int32_t cell = CellChosen() ? g_paramCell : 1;
      if (EditValue(this, LangText(kCellCaption), cell, 1, kCellCount, CString(), 1)) g_paramCell = cell;
      break;
    }
    case kNewValueCaption: EditCellValue(this); break;
    case kWriteCaption: WriteCells(this); break;
    default: break;
  }
}
