#include "CTwoLineButton.h"

#include "AppGlobals.h"

namespace {

// Dealer 9's rows word-wrap both lines; its value line is centred in its rectangle.
const int kWrappingDealer = 9;
const UINT kHorizontalAndBreak = DT_CENTER | DT_RIGHT | DT_WORDBREAK | DT_SINGLELINE;

}  // namespace

BEGIN_MESSAGE_MAP(CTwoLineButton, CBmpButton)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CTwoLineButton::~CTwoLineButton() = default;

void CTwoLineButton::SetHighlight(int on, BOOL redraw) {
  m_highlight = on;
  if (redraw && m_hWnd) Invalidate(TRUE);
}

void CTwoLineButton::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  dc->SetBkMode(TRANSPARENT);
  dc->FillSolidRect(&item->rcItem, m_layout.checked ? m_pressedBackground : m_layout.eraseColor);
  if (m_layout.drawMode != CButtonLayout::kColorFace) {
    DrawBitmap(dc, m_highlight ? m_layout.pressedFace : m_layout.normalFace);
  }
  DrawCaption(dc, IsWindowEnabled() ? m_layout.normalText : m_layout.pressedText);
}

void CTwoLineButton::DrawCaption(CDC* dc, COLORREF color) {
  CFont* font = GetFont();
  CFont* previous = font ? dc->SelectObject(font) : nullptr;
  dc->SetTextColor(color);
  const bool wrapping = g_dealerId == kWrappingDealer;
  const UINT format = CaptionFormat();
  CString text;
  GetWindowText(text);
  CRect caption(m_layout.captionX, m_layout.captionY, m_layout.captionX + m_layout.captionWidth,
                m_layout.captionY + m_layout.captionHeight);
  dc->DrawText(text, &caption, wrapping ? DT_WORDBREAK : format);
  if (!m_hideSecondLine) {
    CRect line(m_layout.lineX, m_layout.lineY, m_layout.lineX + m_layout.lineWidth,
               m_layout.lineY + m_layout.lineHeight);
    dc->DrawText(m_secondLine, &line,
                 wrapping ? DT_CENTER | DT_VCENTER | DT_WORDBREAK : format & kHorizontalAndBreak);
  }
  if (previous) dc->SelectObject(previous);
}

BOOL CTwoLineButton::OnEraseBkgnd(CDC*) { return TRUE; }
