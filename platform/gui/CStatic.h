// The static text control's class: its window is the built-in "STATIC" (Controls.h for styles).
#pragma once

#include "CWnd.h"

class CStatic : public CWnd {
public:
  DECLARE_DYNAMIC(CStatic)

public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
};
