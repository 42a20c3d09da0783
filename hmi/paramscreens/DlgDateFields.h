// What the date pop-ups share: the fields year, month, day (and hour, minute, second in the date and
// time pop-up) with their ranges and texts, and the separator labels between them. The year is kept
// as an offset from 2015 (2015 to 2034). The day runs 1 to 31 in every month, or, where the date
// must exist as chosen (the board's clock refuses 31 April), is held to the days of the chosen month,
// stepping within them and pulled down when the month or year changes. User-interface thread only.
#pragma once

#include "DlgArrowFields.h"

class DlgDateFields : public DlgArrowFields {
public:
  static constexpr int kFirstYear = 2015;
  static constexpr int kYears = 20;

  // The date and time chosen, as the fields stand.
  int Year() const { return kFirstYear + m_fields[kYear]; }
  int Month() const { return m_fields[kMonth] + 1; }
  int Day() const { return m_fields[kDay] + 1; }
  int Hour() const { return m_fields[kHour]; }
  int Minute() const { return m_fields[kMinute]; }
  int Second() const { return m_fields[kSecond]; }

protected:
  enum Field { kYear, kMonth, kDay, kHour, kMinute, kSecond };

  // fieldCount 3 (date) or 6 (date and time); separatorCount labels from id 1090 on; dayHeldToMonth
  // keeps the day within the chosen month.
  DlgDateFields(UINT templateId, CWnd* parent, int fieldCount, int separatorCount, bool dayHeldToMonth);
  ~DlgDateFields() override;

  // Each field as the unsigned remainder of its range (year - 2015 by 20, month - 1 by 12, day - 1
  // by 31, hour by 24, minute and second by 60), then the day held to the month's days where it is.
  void SetFields(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
  // Separators (265, 258, 272), (264, 258, 272) for dealer 9; the blank between date and time, when
  // there is one, (264, 264, 272).
  void DressSeparators();

  void DoDataExchange(CDataExchange* dx) override;
  int FieldCount(int field) const override;
  CString FieldText(int field) const override;
  void FieldStepped(int field) override;

  static constexpr int kMaxSeparators = 5;
  int m_separatorCount;
  bool m_dayHeldToMonth;
  CSkinLabel m_separators[kMaxSeparators];

private:
  int DaysOfMonth() const;
};
