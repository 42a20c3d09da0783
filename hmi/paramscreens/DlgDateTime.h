// The date and time pop-up (template 113): year, month, day, hour, minute and second, each with an
// up and a down arrow, starting from the soft clock; OK sets the board's clock. Since the day is
// held to the month's days the clock is never handed an impossible date; a setting the clock still
// refuses ends the dialog with kRefused, for the caller to report, instead of IDOK.
// User-interface thread only.
#pragma once

#include "DlgDateFields.h"

class DlgDateTime : public DlgDateFields {
public:
  static constexpr UINT kTemplate = 113;
  // The dialog's result when the clock refused the time chosen (the clock is unchanged).
  static constexpr int kRefused = IDABORT;

  explicit DlgDateTime(CWnd* parent = nullptr);
  ~DlgDateTime() override;

protected:
  BOOL OnInitDialog() override;
  // Sets the clock from the fields (milliseconds 0); IDOK when it took the time, else kRefused.
  void OnOK() override;
};
