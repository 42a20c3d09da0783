// The disinfection-time pop-up (template 116): the start hour and minute of the weekly disinfection
// run, with up and down arrows, and seven check buttons for the weekdays it runs on, day 0 (Sunday)
// first. After IDOK the caller reads the hour, the minute and the seven flags.
// User-interface thread only.
#pragma once

#include "DlgArrowFields.h"

class DlgKillTime : public DlgArrowFields {
public:
  static constexpr UINT kTemplate = 116;
  enum : int { kFirstDayButton = 1040 };

  explicit DlgKillTime(CWnd* parent = nullptr);
  ~DlgKillTime() override;

  // Stores the values as given (the hour and minute are brought into 0..23 and 0..59 as unsigned
  // remainders, so the arrows step within them). Returns 1.
  int Init(const CString& title, int hour, int minute, const int dayFlags[7]);
  int Hour() const { return m_fields[0]; }
  int Minute() const { return m_fields[1]; }
  // 0 or 1; day 0 is Sunday.
  int DayFlag(int day) const { return day >= 0 && day < 7 ? m_days[day] : 0; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // Takes the day flags from the buttons and ends with IDOK.
  void OnOK() override;

  int FieldCount(int field) const override;
  CString FieldText(int field) const override;

  CString m_caption;
  int m_days[7] = {};
  CSkinLabel m_separator;
  CSkinButton m_dayButtons[7];
};

// Day names in day order, day 0 (Sunday) first: text ids 395, 389 .. 394.
extern const int kDayNameTexts[7];
