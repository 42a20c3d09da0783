#include "CButton.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

BOOL CButton::Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(u"BUTTON", text, style, rect, parent, id);
}

int CButton::GetCheck() const { return static_cast<int>(::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0)); }
void CButton::SetCheck(int check) { ::SendMessageW(m_hWnd, BM_SETCHECK, static_cast<WPARAM>(check), 0); }
UINT CButton::GetState() const { return static_cast<UINT>(::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0)); }
void CButton::SetState(BOOL pushed) { ::SendMessageW(m_hWnd, BM_SETSTATE, pushed ? TRUE : FALSE, 0); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFFu; }
void CButton::SetButtonStyle(UINT style, BOOL redraw) { ::SendMessageW(m_hWnd, BM_SETSTYLE, style, MAKELPARAM(redraw, 0)); }
void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_DRAWITEM) {
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    return TRUE;
  }
  return CWnd::OnChildNotify(message, wParam, lParam, result);
}
