#include "ControlHelpers.h"

BOOL SetTextIfChanged(CWnd* window, const CString& text) {
  if (!window || !window->m_hWnd) return FALSE;
  CString current;
  window->GetWindowText(current);
  if (current == text) return FALSE;
  window->SetWindowText(text);
  return TRUE;
}

void GetChildRect(CRect& rect, const CWnd* control) {
  control->GetWindowRect(&rect);
  if (CWnd* parent = control->GetParent()) parent->ScreenToClient(&rect);
}
