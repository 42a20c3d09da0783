#include "CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(u"EDIT", nullptr, style, rect, parent, id);
}

void CEdit::SetPasswordChar(TCHAR ch) { ::SendMessageW(m_hWnd, EM_SETPASSWORDCHAR, ch, 0); }
TCHAR CEdit::GetPasswordChar() const { return static_cast<TCHAR>(::SendMessageW(m_hWnd, EM_GETPASSWORDCHAR, 0, 0)); }
void CEdit::SetLimitText(UINT limit) { ::SendMessageW(m_hWnd, EM_LIMITTEXT, limit, 0); }
void CEdit::SetSel(int start, int end, BOOL) { ::SendMessageW(m_hWnd, EM_SETSEL, static_cast<WPARAM>(start), end); }

void CEdit::GetSel(int& start, int& end) const {
  DWORD s = 0, e = 0;
  ::SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  start = static_cast<int>(s);
  end = static_cast<int>(e);
}

void CEdit::ReplaceSel(LPCTSTR text, BOOL) { ::SendMessageW(m_hWnd, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text)); }
BOOL CEdit::SetReadOnly(BOOL readOnly) { return static_cast<BOOL>(::SendMessageW(m_hWnd, EM_SETREADONLY, readOnly, 0)); }
