// The date pop-up (template 115): year, month and day with up and down arrows, returned to the
// caller. Years run from 2015 to 2034 and days from 1 to 31 in every month: the caller rolls a day
// past the month's end over into the next month.
// User-interface thread only.
#pragma once

#include "DlgDateFields.h"

class DlgDate : public DlgDateFields {
public:
  static constexpr UINT kTemplate = 115;

  explicit DlgDate(CWnd* parent = nullptr);
  ~DlgDate() override;

  // Caption "title  year-mm-dd" of the values given; the fields as DlgDateFields::SetFields brings
  // them into range. Returns 1. After IDOK the caller reads Year, Month and Day.
  int Init(const CString& title, int year, int month, int day);
  const CString& Caption() const { return m_caption; }

protected:
  BOOL OnInitDialog() override;

  CString m_caption;
};
