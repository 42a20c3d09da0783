// The edit control's class over the built-in "EDIT": a single line shown as typed or as password
// characters.
#pragma once

#include "CWnd.h"

class CEdit : public CWnd {
public:
  DECLARE_DYNAMIC(CEdit)

public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  void SetPasswordChar(TCHAR ch);  // 0 shows the text itself
  TCHAR GetPasswordChar() const;
  void SetLimitText(UINT limit);
  void SetSel(int start, int end, BOOL noScroll = FALSE);
  void GetSel(int& start, int& end) const;
  void ReplaceSel(LPCTSTR text, BOOL canUndo = FALSE);
  BOOL SetReadOnly(BOOL readOnly = TRUE);
};
