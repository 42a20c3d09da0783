#include "DlgDate.h"

DlgDate::DlgDate(CWnd* parent) : DlgDateFields(kTemplate, parent, 3, 2, false) {}

DlgDate::~DlgDate() = default;

int DlgDate::Init(const CString& title, int year, int month, int day) {
  m_caption.Format(u"%s  %d-%02d-%02d", title.GetString(), year, month, day);
  SetFields(year, month, day);
  return 1;
}

BOOL DlgDate::OnInitDialog() {
  DlgDateFields::OnInitDialog();
  m_title.SetWindowText(m_caption);
  DressSeparators();
  DressFields(true);
  StartFields();
  return TRUE;
}
