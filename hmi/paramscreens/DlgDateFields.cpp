#include "DlgDateFields.h"

#include "AppHelpers.h"

namespace {

const int kFirstSeparator = 1090;
// In the date and time pop-up the fifth label is the blank between the date and the time.
const int kBlankSeparator = 4;

}  // namespace

DlgDateFields::DlgDateFields(UINT templateId, CWnd* parent, int fieldCount, int separatorCount, bool dayHeldToMonth)
    : DlgArrowFields(templateId, parent, fieldCount),
      m_separatorCount(separatorCount < kMaxSeparators ? separatorCount : kMaxSeparators),
      m_dayHeldToMonth(dayHeldToMonth) {}

DlgDateFields::~DlgDateFields() = default;

void DlgDateFields::SetFields(int year, int month, int day, int hour, int minute, int second) {
  m_fields[kYear] = WrapField(year - kFirstYear, kYears);
  m_fields[kMonth] = WrapField(month - 1, 12);
  m_fields[kDay] = WrapField(day - 1, 31);
  m_fields[kHour] = WrapField(hour, 24);
  m_fields[kMinute] = WrapField(minute, 60);
  m_fields[kSecond] = WrapField(second, 60);
  FieldStepped(kMonth);
}

void DlgDateFields::DressSeparators() {
  for (int i = 0; i < m_separatorCount; ++i) {
    if (i == kBlankSeparator) {
      // Only space between the date and the time: the body of the pop-up, not a bar of colour.
      m_separators[i].SetSkin(264, 258, 272);
    } else {
      m_separators[i].SetSkin(PopupModel9() ? 264 : 265, 258, 272);
    }
  }
}

void DlgDateFields::DoDataExchange(CDataExchange* dx) {
  DlgArrowFields::DoDataExchange(dx);
  for (int i = 0; i < m_separatorCount; ++i) DDX_Control(dx, kFirstSeparator + i, m_separators[i]);
}

int DlgDateFields::FieldCount(int field) const {
  switch (field) {
    case kYear: return kYears;
    case kMonth: return 12;
    case kDay: return DaysOfMonth();
    case kHour: return 24;
    default: return 60;
  }
}

CString DlgDateFields::FieldText(int field) const {
  if (field == kYear) {
    CString text;
    text.Format(u"%d", Year());
    return text;
  }
  return TwoDigits(field == kMonth || field == kDay ? m_fields[field] + 1 : m_fields[field]);
}

void DlgDateFields::FieldStepped(int field) {
  if (!m_dayHeldToMonth || (field != kYear && field != kMonth)) return;
  const int last = DaysOfMonth() - 1;
  if (m_fields[kDay] > last) m_fields[kDay] = last;
}

int DlgDateFields::DaysOfMonth() const {
  if (!m_dayHeldToMonth) return 31;
  const int days = DaysInMonth(Year(), Month());
  return days > 0 ? days : 31;
}
