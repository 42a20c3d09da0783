#include "CPicStatic.h"

#include "ControlHelpers.h"
#include "SkinCodes.h"

namespace {

// The source rectangle of a face stretched into a label over a background (the wide plate).
const int kFaceWidth = 365;
const int kFaceHeight = 119;

}  // namespace

BEGIN_MESSAGE_MAP(CPicStatic, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CPicStatic::~CPicStatic() = default;

void CPicStatic::SetBitmaps(CBitmap* picture, BOOL redraw, CBitmap* background) {
  m_picture = picture;
  m_backgroundBitmap = background;
  if (redraw && m_hWnd) Invalidate(TRUE);
}

void CPicStatic::SetFillColor(COLORREF color, BOOL redraw) {
  m_picture = nullptr;
  m_backgroundBitmap = nullptr;
  m_fillColor = color;
  if (redraw && m_hWnd) Invalidate(TRUE);
}

void CPicStatic::SetSkin(int textColorCode, int backgroundCode, int fontCode) {
  if (IsColorCode(textColorCode)) m_textColor = SkinColor(textColorCode);
  if (backgroundCode == kMenuBg1Code) {
    SetBitmaps(SkinBitmap(kMenuBg1Code), FALSE, SkinBitmap(kFirstBackgroundCode));
  } else if (IsBackgroundCode(backgroundCode)) {
    SetBitmaps(SkinBitmap(backgroundCode), FALSE, nullptr);
  } else if (IsColorCode(backgroundCode)) {
    SetFillColor(SkinColor(backgroundCode), FALSE);
  }
  if (IsFontCode(fontCode)) m_font = SkinFont(fontCode);
}

void CPicStatic::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CString text;
  GetWindowText(text);

  if (m_picture) {
    CRect place;
    GetChildRect(place, this);
    const int w = place.Width();
    const int h = place.Height();
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    if (m_backgroundBitmap) {
      CBitmap* previous = memory.SelectObject(m_backgroundBitmap);
      dc.BitBlt(0, 0, w, h, &memory, place.left, place.top, SRCCOPY);
      memory.SelectObject(m_picture);
      dc.TransparentBlt(0, 0, w, h, &memory, 0, 0, kFaceWidth, kFaceHeight, kKeyColor);
      memory.SelectObject(previous);
    } else {
      CBitmap* previous = memory.SelectObject(m_picture);
      dc.BitBlt(0, 0, w, h, &memory, place.left, place.top, SRCCOPY);
      memory.SelectObject(previous);
    }
    dc.SetBkMode(TRANSPARENT);
  } else if (m_fillColor != 0) {
    dc.FillSolidRect(&client, m_fillColor);
  }
  // Without a picture or fill the text goes over whatever is there.
  dc.SetBkMode(TRANSPARENT);

  CFont* font = m_font && m_font->m_hObject ? m_font : GetFont();
  CFont* previousFont = font ? dc.SelectObject(font) : nullptr;
  const DWORD style = GetStyle();
  UINT format = DT_WORDBREAK;
  const DWORD align = style & SS_TYPEMASK;
  if (align == SS_CENTER) {
    format |= DT_CENTER;
  } else if (align == SS_RIGHT) {
    format |= DT_RIGHT;
  }
  if (style & SS_CENTERIMAGE) format |= DT_VCENTER;
  dc.SetTextColor(m_textColor);
  dc.DrawText(text, &client, format);
  if (previousFont) dc.SelectObject(previousFont);
}
