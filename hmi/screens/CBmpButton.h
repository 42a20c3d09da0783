// The bitmap button: an owner-drawn push, check or radio button whose face is a bitmap resource
// (stretched, or fitted keeping its aspect ratio, with the key colour transparent) or a key in a
// solid colour, with its caption drawn over it. Its whole look is one CButtonLayout, set from numeric
// codes with SetIconStyle. A push button shows its pressed face from the press until the finger
// leaves it or lifts; check buttons toggle and radio buttons check themselves on each click, before
// the parent's click handler runs. User-interface thread only.
#pragma once

#include "CButtonLayout.h"
#include "Gui.h"

class CBmpButton : public CButton {
public:
  CBmpButton() = default;
  ~CBmpButton() override;

  // Copies the 24 fields in; redraw non-zero repaints the whole button.
  void SetLayout(const CButtonLayout& block, BOOL redraw);
  // Builds the look from icon style 0-237, text style 238-249, background code 251-268 and font
  // code 269-275 (SkinCodes.h); sends WM_SETFONT when the font code changes, and repaints only
  // when the look differs from the one the button has.
  void SetIconStyle(int iconStyle, int textStyle, int backgroundCode, int fontCode);
  // Checks or unchecks a check or radio button (nothing for push buttons or an unchanged state).
  // Checking a radio button posts BM_SETCHECK 0 to the other members of its dialog group.
  void SetCheck(int check, BOOL redraw);
  int GetCheck() const { return m_layout.checked; }
  const CButtonLayout& GetLayout() const { return m_layout; }

  // Fits a rectangle into the client area: a width or height below 1 reaches the right or bottom
  // edge, a corner outside it moves to 0, and the size is cut at the edges.
  void ClampToClient(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const;

protected:
  void PreSubclassWindow() override;
  void DrawItem(LPDRAWITEMSTRUCT item) override;
  // The caption in the caption rectangle, in colour; nothing for an empty text.
  virtual void DrawCaption(CDC* dc, COLORREF color);
  // Face id (a bitmap resource) into the bitmap rectangle; loaded on every draw.
  void DrawBitmap(CDC* dc, uint32_t id);
  // A colour face: a rounded key of that colour over the whole button, shaded to its foot, with an
  // edge and a shadow like the bitmap keys beside it. Colour 0 is no face: nothing is drawn.
  static void DrawColorFace(CDC* dc, const CRect& rect, COLORREF color);
  // DrawText alignment and line-break bits from the button's styles and behaviour.
  UINT CaptionFormat() const;

  void OnMouseMove(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnLButtonDown(UINT flags, CPoint point);
  BOOL OnEraseBkgnd(CDC* dc);
  void OnKillFocus(CWnd* next);
  BOOL OnClicked();
  LRESULT OnSetCheckMessage(WPARAM check, LPARAM);
  LRESULT OnGetCheckMessage(WPARAM, LPARAM);
  HBRUSH CtlColor(CDC* dc, UINT kind);
  DECLARE_MESSAGE_MAP()

  CButtonLayout m_layout;
};

// The buttons that dialogs hold as members.
class CSkinButton : public CBmpButton {};
