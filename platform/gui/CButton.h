// The button control's class over the built-in "BUTTON". An owner-drawn button (BS_OWNERDRAW) is
// painted by DrawItem, which a derived class overrides; the parent's WM_DRAWITEM reaches it there.
#pragma once

#include "CWnd.h"

class CButton : public CWnd {
public:
  DECLARE_DYNAMIC(CButton)

public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
  int GetCheck() const;
  void SetCheck(int check);
  UINT GetState() const;
  void SetState(BOOL pushed);
  UINT GetButtonStyle() const;
  void SetButtonStyle(UINT style, BOOL redraw = TRUE);
  virtual void DrawItem(LPDRAWITEMSTRUCT item);

protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
