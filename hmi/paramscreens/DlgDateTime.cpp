#include "DlgDateTime.h"

#include "LangTexts.h"
#include "SoftClock.h"

namespace {

const int kTextTitle = 43;

}  // namespace

DlgDateTime::DlgDateTime(CWnd* parent) : DlgDateFields(kTemplate, parent, 6, 5, true) {}

DlgDateTime::~DlgDateTime() = default;

BOOL DlgDateTime::OnInitDialog() {
  DlgDateFields::OnInitDialog();
  m_title.SetWindowText(LangText(kTextTitle));
  DressSeparators();
  DressFields(true);
  // A soft clock outside the dialog's years, or not read yet, comes into the fields' ranges.
  const SYSTEMTIME now = g_clock;
  SetFields(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
  StartFields();
  return TRUE;
}

void DlgDateTime::OnOK() {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(Year());
  t.wMonth = static_cast<WORD>(Month());
  t.wDay = static_cast<WORD>(Day());
  t.wHour = static_cast<WORD>(Hour());
  t.wMinute = static_cast<WORD>(Minute());
  t.wSecond = static_cast<WORD>(Second());
  EndDialog(SetLocalTime(&t) ? IDOK : kRefused);
}
