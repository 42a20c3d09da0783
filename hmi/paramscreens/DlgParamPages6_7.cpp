// Pages 6 and 7: the anti-legionella disinfection of the hot-water tank (on/off, weekdays and start
// time, temperature, hold time, maximum duration) and the holiday mode (on/off, the lowered
// temperatures, first and last day). The disinfection start and the holiday dates are packed words
// of the system record; an edit writes only its own bits of them.
#include "AppGlobals.h"
#include "DlgDate.h"
#include "DlgKillTime.h"
#include "DlgParam.h"
#include "LangTexts.h"
#include "PackedTimes.h"
#include "PageRows.h"

namespace {

const int kDealer9 = 9;
const int kWeekdaysCaption = 64;
const int kFirstDayCaption = 73;
const int kLastDayCaption = 74;
using K = ParamRow;

// The names of the flagged weekdays, Sunday first, joined by "/".
CString WeekdaysText(const CSystemData& s) {
  const KillStart start = UnpackKillStart(s.m_sterilizeStart);
  CString text;
  for (int d = 0; d < 7; ++d) {
    if (!start.days[d]) continue;
    if (!text.IsEmpty()) text += u"/";
    text += LangText(kDayNameTexts[d]);
  }
  return text;
}

// A packed date as "day.month.year".
CString DateText(uint32_t word) {
  const PackedDate d = UnpackDate(word);
  CString text;
  text.Format(u"%d.%d.%d", d.day, d.month, d.year);
  return text;
}
CString FirstDayText(const CSystemData& s) { return DateText(s.m_holidayStart); }
CString LastDayText(const CSystemData& s) { return DateText(s.m_holidayEnd); }

const ParamRow kPage6[] = {
    {1, 1, 63, K::kToggle, ROW_FIELD(m_sterilizeEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, kWeekdaysCaption, K::kText, nullptr, nullptr, 1, false, nullptr, WeekdaysText},
    {1, 3, 65, K::kDegrees, ROW_FIELD(m_sterilizeTemp), ROW_RANGE(60, 75), 1, true, nullptr, nullptr},
    {1, 4, 67, K::kMinutes, ROW_FIELD(m_sterilizeHoldTime), ROW_RANGE(5, 60), 1, true, nullptr, nullptr},
    {1, 5, 68, K::kMinutes, ROW_FIELD(m_sterilizeMaxTime), ROW_RANGE(10, 240), 5, true, nullptr, nullptr},
};

const ParamRow kPage7[] = {
    {1, 1, 70, K::kToggle, ROW_FIELD(m_holidayEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 71, K::kDegrees, ROW_FIELD(m_holidayHotWaterTemp), ROW_RANGE(10, 50), 1, false, nullptr, nullptr},
    {1, 3, 72, K::kDegrees, ROW_FIELD(m_holidayHeatTemp), ROW_RANGE(10, 50), 1, false, nullptr, nullptr},
    {1, 4, kFirstDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, FirstDayText},
    {1, 5, kLastDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LastDayText},
};
const ParamRow kPage7Model9[] = {
    {1, 1, 70, K::kToggle, ROW_FIELD(m_holidayEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 71, K::kDegrees, ROW_FIELD(m_holidayHotWaterTemp), ROW_RANGE(10, 50), 1, false, nullptr, nullptr},
    {1, 3, kFirstDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, FirstDayText},
    {1, 4, kLastDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LastDayText},
};

RowTable Page7() { return g_dealerId == kDealer9 ? TableOf(kPage7Model9) : TableOf(kPage7); }

// The start time and weekdays in the disinfection-time pop-up; on OK written into their bits.
void EditKillTime(DlgParam& page) {
  CSystemData& s = *GetSystemData();
  KillStart start = UnpackKillStart(s.m_sterilizeStart);
  DlgKillTime dialog(&page);
  dialog.Init(LangText(kWeekdaysCaption), start.hour, start.minute, start.days);
  if (dialog.DoModal() != IDOK) return;
  start.hour = dialog.Hour();
  start.minute = dialog.Minute();
  for (int d = 0; d < 7; ++d) start.days[d] = dialog.DayFlag(d);
  s.m_sterilizeStart = PackKillStart(s.m_sterilizeStart, start);
}

// A holiday date in the date pop-up; on OK stored through the calendar (an impossible day rolls into
// the next month). A date the calendar cannot take keeps the old one.
void EditDate(DlgParam& page, int caption, uint32_t& word) {
  const PackedDate d = UnpackDate(word);
  DlgDate dialog(&page);
  dialog.Init(LangText(caption), d.year, d.month, d.day);
  if (dialog.DoModal() != IDOK) return;
  StoreDate(word, dialog.Year(), dialog.Month(), dialog.Day());
}

}  // namespace

void DlgParam::DrawPage6() {
  m_subPageCount = 1;
  DrawRows(*this, TableOf(kPage6), m_subPage);
}

void DlgParam::EditPage6(int row) {
  if (m_subPage != 1) return;
  const ParamRow* r = FindRow(TableOf(kPage6), m_subPage, row);
  if (r && r->caption == kWeekdaysCaption) {
    EditKillTime(*this);
    return;
  }
  EditRow(*this, TableOf(kPage6), m_subPage, row);
}

void DlgParam::DrawPage7() {
  m_subPageCount = 1;
  DrawRows(*this, Page7(), m_subPage);
}

void DlgParam::EditPage7(int row) {
  if (m_subPage != 1) return;
  const ParamRow* r = FindRow(Page7(), m_subPage, row);
  if (!r) return;
  CSystemData& s = *GetSystemData();
  if (r->caption == kFirstDayCaption) {
    EditDate(*this, kFirstDayCaption, s.m_holidayStart);
  } else if (r->caption == kLastDayCaption) {
    EditDate(*this, kLastDayCaption, s.m_holidayEnd);
  } else {
    EditRow(*this, Page7(), m_subPage, row);
  }
}
