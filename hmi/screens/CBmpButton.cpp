#include "CBmpButton.h"

#include <algorithm>
#include <cmath>

#include "ControlHelpers.h"
#include "SkinCodes.h"

namespace {

// The colour key's shape and shading: corners as round as the push-button faces', an edge and a
// shadow under it darker than the face, and the face a tenth darker at its foot than at its top.
const double kKeyRadius = 12.0;
const double kKeyRadiusShare = 0.3;
const int kEdgeShade = 30;
const int kShadowShade = 50;
const int kFootShade = 10;

COLORREF Darker(COLORREF c, int percent) {
  auto part = [percent](int v) { return static_cast<BYTE>(v * (100 - percent) / 100); };
  return RGB(part(GetRValue(c)), part(GetGValue(c)), part(GetBValue(c)));
}

COLORREF Mix(COLORREF a, COLORREF b, int num, int den) {
  auto part = [num, den](int u, int v) { return static_cast<BYTE>(u + (v - u) * num / den); };
  return RGB(part(GetRValue(a), GetRValue(b)), part(GetGValue(a), GetGValue(b)), part(GetBValue(a), GetBValue(b)));
}

// How far row y (0 .. height - 1) of a rounded rectangle starts in from its side.
int RowInset(int y, int height, double radius) {
  const double fromEdge = std::min(y, height - 1 - y) + 0.5;
  if (fromEdge >= radius) return 0;
  const double d = radius - fromEdge;
  return static_cast<int>(std::lround(radius - std::sqrt(radius * radius - d * d)));
}

// A rounded rectangle filled row by row, from the top colour to the bottom colour.
void FillRounded(CDC* dc, int x, int y, int width, int height, double radius, COLORREF top, COLORREF bottom) {
  if (width <= 0 || height <= 0) return;
  for (int row = 0; row < height; ++row) {
    const int inset = RowInset(row, height, radius);
    const COLORREF color = height > 1 ? Mix(top, bottom, row, height - 1) : top;
    dc->FillSolidRect(x + inset, y + row, width - 2 * inset, 1, color);
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(CBmpButton, CButton)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDOWN()
  ON_WM_ERASEBKGND()
  ON_WM_KILLFOCUS()
  ON_CONTROL_REFLECT_EX(BN_CLICKED, &CBmpButton::OnClicked)
  ON_MESSAGE(BM_SETCHECK, &CBmpButton::OnSetCheckMessage)
  ON_MESSAGE(BM_GETCHECK, &CBmpButton::OnGetCheckMessage)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CBmpButton::~CBmpButton() = default;

void CBmpButton::SetLayout(const CButtonLayout& block, BOOL redraw) {
  m_layout.CopyFrom(block);
  if (redraw && m_hWnd) Invalidate(TRUE);
}

void CBmpButton::SetIconStyle(int iconStyle, int textStyle, int backgroundCode, int fontCode) {
  CButtonLayout block;
  ApplyIconStyle(iconStyle, block);
  ApplyTextStyle(textStyle, block);
  if (IsFontCode(fontCode)) {
    block.fontCode = RecordedFontCode(fontCode);
    if (m_layout.fontCode != block.fontCode) {
      CFont* font = SkinFont(fontCode);
      SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font->m_hObject), TRUE);
    }
  }
  if (IsBackgroundCode(backgroundCode)) {
    block.eraseMode = CButtonLayout::kEraseBitmap;
    block.eraseBitmap = SkinBitmap(backgroundCode);
  } else if (IsColorCode(backgroundCode)) {
    block.eraseColor = SkinColor(backgroundCode);
  }
  ClampToClient(block.bitmapX, block.bitmapY, block.bitmapWidth, block.bitmapHeight);
  ClampToClient(block.captionX, block.captionY, block.captionWidth, block.captionHeight);
  if (!block.SameAs(m_layout)) SetLayout(block, TRUE);
}

void CBmpButton::SetCheck(int check, BOOL redraw) {
  if (m_layout.behaviour == CButtonLayout::kPush) return;
  const int wanted = check ? 1 : 0;
  if (wanted == m_layout.checked) return;
  m_layout.checked = wanted;
  if (wanted && m_layout.behaviour == CButtonLayout::kRadio) {
    if (CWnd* dialog = GetParent()) {
      // Posted, so that each member unchecks itself after this click has been handled.
      HWND other = ::GetNextDlgGroupItem(dialog->m_hWnd, m_hWnd, FALSE);
      while (other && other != m_hWnd) {
        ::PostMessageW(other, BM_SETCHECK, 0, 0);
        other = ::GetNextDlgGroupItem(dialog->m_hWnd, other, FALSE);
      }
    }
  }
  if (redraw && m_hWnd) Invalidate(TRUE);
}

void CBmpButton::ClampToClient(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const {
  CRect client;
  GetClientRect(&client);
  const int32_t cw = client.Width();
  const int32_t ch = client.Height();
  if (width < 1) width = cw;
  if (height < 1) height = ch;
  if (x >= cw) x = 0;
  if (y >= ch) y = 0;
  if (x + width > cw) width = cw - x;
  if (y + height > ch) height = ch - y;
}

void CBmpButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

void CBmpButton::DrawItem(LPDRAWITEMSTRUCT item) {
  CDC* dc = CDC::FromHandle(item->hDC);
  dc->SetBkMode(TRANSPARENT);
  const bool checked = m_layout.checked != 0;
  const uint32_t face = checked ? m_layout.pressedFace : m_layout.normalFace;
  if (m_layout.drawMode != CButtonLayout::kColorFace) {
    DrawBitmap(dc, face);
  } else {
    DrawColorFace(dc, CRect(item->rcItem), static_cast<COLORREF>(face));
  }
  DrawCaption(dc, checked ? m_layout.pressedText : m_layout.normalText);
}

void CBmpButton::DrawCaption(CDC* dc, COLORREF color) {
  CString text;
  GetWindowText(text);
  if (text.IsEmpty()) return;
  CFont* font = GetFont();
  CFont* previous = font ? dc->SelectObject(font) : nullptr;
  dc->SetTextColor(color);
  CRect rect(m_layout.captionX, m_layout.captionY, m_layout.captionX + m_layout.captionWidth,
             m_layout.captionY + m_layout.captionHeight);
  dc->DrawText(text, &rect, CaptionFormat());
  if (previous) dc->SelectObject(previous);
}

void CBmpButton::DrawBitmap(CDC* dc, uint32_t id) {
  if (id == 0) return;
  CBitmap bitmap;
  if (!bitmap.LoadBitmap(id)) return;
  BITMAP info{};
  bitmap.GetBitmap(&info);
  const int bw = info.bmWidth;
  const int bh = info.bmHeight;
  if (bw <= 0 || bh <= 0) return;
  CDC memory;
  if (!memory.CreateCompatibleDC(dc)) return;
  CBitmap* previous = memory.SelectObject(&bitmap);
  int w = m_layout.bitmapWidth;
  int h = m_layout.bitmapHeight;
  if (m_layout.drawMode == CButtonLayout::kFitted) {
    // Keeps the aspect ratio inside the rectangle, anchored at its top-left corner.
    if (h * bw < w * bh) {
      w = h * bw / bh;
    } else {
      h = w * bh / bw;
    }
  }
  if (m_layout.keyColor != 0) {
    dc->TransparentBlt(m_layout.bitmapX, m_layout.bitmapY, w, h, &memory, 0, 0, bw, bh, m_layout.keyColor);
  } else {
    dc->StretchBlt(m_layout.bitmapX, m_layout.bitmapY, w, h, &memory, 0, 0, bw, bh, SRCCOPY);
  }
  memory.SelectObject(previous);
}

void CBmpButton::DrawColorFace(CDC* dc, const CRect& rect, COLORREF color) {
  if (color == 0) return;
  const int w = rect.Width();
  const int h = rect.Height();
  const double radius = std::min(kKeyRadius, std::min(w, h) * kKeyRadiusShare);
  const COLORREF edge = Darker(color, kEdgeShade);
  const COLORREF shadow = Darker(color, kShadowShade);
  // Shadow one pixel under the key, the edge, then the face inside it.
  FillRounded(dc, rect.left + 1, rect.top + 2, w - 2, h - 3, radius, shadow, shadow);
  FillRounded(dc, rect.left + 1, rect.top + 1, w - 2, h - 3, radius, edge, edge);
  FillRounded(dc, rect.left + 2, rect.top + 2, w - 4, h - 5, radius - 1, color, Darker(color, kFootShade));
}

UINT CBmpButton::CaptionFormat() const {
  const DWORD style = GetStyle();
  UINT format = 0;
  switch (style & BS_CENTER) {
    case BS_CENTER: format |= DT_CENTER; break;
    case BS_RIGHT: format |= DT_RIGHT; break;
    case BS_LEFT: format |= DT_LEFT; break;
    default: format |= m_layout.behaviour == CButtonLayout::kPush ? DT_CENTER : DT_LEFT; break;
  }
  switch (style & BS_VCENTER) {
    case BS_TOP: format |= DT_TOP; break;
    case BS_BOTTOM: format |= DT_BOTTOM; break;
    default: format |= DT_VCENTER; break;
  }
  format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  return format;
}

void CBmpButton::OnMouseMove(UINT flags, CPoint point) {
  if (m_layout.behaviour == CButtonLayout::kPush) {
    CRect client;
    GetClientRect(&client);
    if (!client.PtInRect(point)) m_layout.checked = 0;
  }
  CButton::OnMouseMove(flags, point);
}

void CBmpButton::OnLButtonUp(UINT flags, CPoint point) {
  if (m_layout.behaviour == CButtonLayout::kPush) m_layout.checked = 0;
  CButton::OnLButtonUp(flags, point);
}

void CBmpButton::OnLButtonDown(UINT flags, CPoint point) {
  if (m_layout.behaviour == CButtonLayout::kPush) m_layout.checked = 1;
  CButton::OnLButtonDown(flags, point);
}

BOOL CBmpButton::OnEraseBkgnd(CDC* dc) {
  if ((GetStyle() & BS_TYPEMASK) != BS_OWNERDRAW) return CButton::OnEraseBkgnd(dc);
  CRect client;
  GetClientRect(&client);
  if (m_layout.eraseMode == CButtonLayout::kEraseBitmap && m_layout.eraseBitmap) {
    // The piece of the parent's background under the button, so the face sits on the same picture.
    CRect place;
    GetChildRect(place, this);
    CDC memory;
    if (memory.CreateCompatibleDC(dc)) {
      CBitmap* previous = memory.SelectObject(m_layout.eraseBitmap);
      dc->BitBlt(0, 0, client.Width(), client.Height(), &memory, place.left, place.top, SRCCOPY);
      memory.SelectObject(previous);
    }
  } else if (m_layout.eraseMode == CButtonLayout::kEraseColor && m_layout.eraseColor != 0) {
    dc->FillSolidRect(&client, m_layout.eraseColor);
  }
  return TRUE;
}

void CBmpButton::OnKillFocus(CWnd* next) {
  if (m_layout.behaviour == CButtonLayout::kPush) m_layout.checked = 0;
  CButton::OnKillFocus(next);
}

BOOL CBmpButton::OnClicked() {
  if (m_layout.behaviour == CButtonLayout::kCheck) {
    SetCheck(m_layout.checked ? 0 : 1, TRUE);
  } else if (m_layout.behaviour == CButtonLayout::kRadio) {
    SetCheck(1, TRUE);
  }
  return FALSE;  // the parent's click handler runs too
}

LRESULT CBmpButton::OnSetCheckMessage(WPARAM check, LPARAM) {
  if (check == BST_CHECKED || check == BST_INDETERMINATE) {
    SetCheck(1, TRUE);
  } else if (m_layout.behaviour != CButtonLayout::kPush) {
    m_layout.checked = 0;
    Invalidate(TRUE);
  }
  return 0;
}

LRESULT CBmpButton::OnGetCheckMessage(WPARAM, LPARAM) { return m_layout.checked; }

HBRUSH CBmpButton::CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(GetStockObject(HOLLOW_BRUSH)); }
