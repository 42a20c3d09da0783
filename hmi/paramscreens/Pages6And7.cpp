// Pages 6 and 7: the anti-legionella disinfection of the hot-water tank (on/off, weekdays and start
// time, temperature, hold time, maximum duration) and the holiday mode (on/off, the lowered
// temperatures, first and last day). The disinfection start and the holiday dates are packed words
// of the system record; an edit writes only its own bits of them.
// The screen's operations of the pages, DlgParam's DrawPageN and EditPageN, close the file.
#include "DlgKillTime.h"
#include "DlgParam.h"
#include "LangTexts.h"
#include "PackedTimes.h"
#include "ParamScreenRows.h"
#include "RowTables.h"

namespace {

const int kDealer9 = 9;
const int kWeekdaysCaption = 64;
const int kFirstDayCaption = 73;
const int kLastDayCaption = 74;
using K = RowSpec;

// The names of the flagged weekdays, Sunday first, joined by "/".
CString WeekdaysText(const PageContext& c) {
  const KillStart start = UnpackKillStart(c.d.m_sterilizeStart);
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
CString FirstDayText(const PageContext& c) { return DateText(c.d.m_holidayStart); }
CString LastDayText(const PageContext& c) { return DateText(c.d.m_holidayEnd); }

const RowSpec kPage6[] = {
    {1, 1, 63, K::kToggle, ROW_FIELD(m_sterilizeEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, kWeekdaysCaption, K::kText, nullptr, nullptr, 1, false, nullptr, WeekdaysText},
    {1, 3, 65, K::kDegrees, ROW_FIELD(m_sterilizeTemp), ROW_RANGE(60, 75), 1, true, nullptr, nullptr},
    {1, 4, 67, K::kMinutes, ROW_FIELD(m_sterilizeHoldTime), ROW_RANGE(5, 60), 1, true, nullptr, nullptr},
    {1, 5, 68, K::kMinutes, ROW_FIELD(m_sterilizeMaxTime), ROW_RANGE(10, 240), 5, true, nullptr, nullptr},
};

const RowSpec kPage7[] = {
    {1, 1, 70, K::kToggle, ROW_FIELD(m_holidayEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 71, K::kDegrees, ROW_FIELD(m_holidayHotWaterTemp), ROW_RANGE(10, 50), 1, false, nullptr, nullptr},
    {1, 3, 72, K::kDegrees, ROW_FIELD(m_holidayHeatTemp), ROW_RANGE(10, 50), 1, false, nullptr, nullptr},
    {1, 4, kFirstDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, FirstDayText},
    {1, 5, kLastDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LastDayText},
};
const RowSpec kPage7Model9[] = {
    {1, 1, 70, K::kToggle, ROW_FIELD(m_holidayEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 71, K::kDegrees, ROW_FIELD(m_holidayHotWaterTemp), ROW_RANGE(10, 50), 1, false, nullptr, nullptr},
    {1, 3, kFirstDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, FirstDayText},
    {1, 4, kLastDayCaption, K::kText, nullptr, nullptr, 1, false, nullptr, LastDayText},
};

// The start time and weekdays in the disinfection-time pop-up; on OK written into their bits.
void EditKillTime(PageContext& c) {
  KillStart start = UnpackKillStart(c.d.m_sterilizeStart);
  if (c.ui.KillTime(LangText(kWeekdaysCaption), &start.hour, &start.minute, start.days) != IDOK) return;
  c.d.m_sterilizeStart = PackKillStart(c.d.m_sterilizeStart, start);
}

// A holiday date in the date pop-up; on OK stored through the calendar (an impossible day rolls into
// the next month). A date the calendar cannot take keeps the old one.
void EditDate(PageContext& c, int caption, uint32_t& word) {
  PackedDate d = UnpackDate(word);
  if (c.ui.Date(LangText(caption), &d.year, &d.month, &d.day) != IDOK) return;
  StoreDate(word, d.year, d.month, d.day);
}

}  // namespace

int Page6Rows(PageContext& c, int subPage, SubPageRows& rows) {
  TableRows(c, TableOf(kPage6), subPage, rows, [&c](const RowSpec& r) -> std::function<void()> {
    if (r.caption != kWeekdaysCaption) return {};
    return [&c] { EditKillTime(c); };
  });
  return 1;
}

int Page7Rows(PageContext& c, int subPage, SubPageRows& rows) {
  TableRows(c, c.dealerId == kDealer9 ? TableOf(kPage7Model9) : TableOf(kPage7), subPage, rows,
            [&c](const RowSpec& r) -> std::function<void()> {
              if (r.caption == kFirstDayCaption) return [&c] { EditDate(c, kFirstDayCaption, c.d.m_holidayStart); };
              if (r.caption == kLastDayCaption) return [&c] { EditDate(c, kLastDayCaption, c.d.m_holidayEnd); };
              return {};
            });
  return 1;
}

// ---- The pages on the parameter screen

void DlgParam::DrawPage6() { m_subPageCount = DrawParamRows(*this, 6, m_subPage); }
void DlgParam::DrawPage7() { m_subPageCount = DrawParamRows(*this, 7, m_subPage); }
void DlgParam::EditPage6(int row) { TapParamRow(*this, 6, m_subPage, row); }
void DlgParam::EditPage7(int row) { TapParamRow(*this, 7, m_subPage, row); }
