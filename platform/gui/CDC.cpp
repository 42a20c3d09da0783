#include "CDC.h"

#include "CWnd.h"
#include "GdiObjects.h"

CDC::~CDC() {
  if (m_owned && m_hDC) ::DeleteDC(m_hDC);
}

BOOL CDC::Attach(HDC dc) {
  if (m_hDC || !dc) return FALSE;
  m_hDC = m_hAttribDC = dc;
  m_owned = false;
  return TRUE;
}

HDC CDC::Detach() {
  HDC h = m_hDC;
  m_hDC = m_hAttribDC = nullptr;
  m_owned = false;
  return h;
}

CDC* CDC::FromHandle(HDC dc) {
  panel::gui::DcObject* d = panel::gui::LookupDc(dc);
  if (!d) return nullptr;
  if (d->wrapper) return static_cast<CDC*>(d->wrapper.get());
  CDC* made = new CDC();
  made->Attach(dc);
  d->wrapper = std::shared_ptr<void>(made, [](void* p) {
    auto* c = static_cast<CDC*>(p);
    c->Detach();
    delete c;
  });
  return made;
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
  if (m_owned && m_hDC) ::DeleteDC(m_hDC);
  m_hDC = m_hAttribDC = ::CreateCompatibleDC(dc ? dc->m_hDC : nullptr);
  m_owned = m_hDC != nullptr;
  return m_owned;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC) return FALSE;
  BOOL ok = ::DeleteDC(Detach());
  return ok;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  if (!object) return nullptr;
  return CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject));
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  if (!bitmap) return nullptr;
  return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject)));
}

CFont* CDC::SelectObject(CFont* font) {
  if (!font) return nullptr;
  return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* brush) {
  if (!brush) return nullptr;
  return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject)));
}

CPen* CDC::SelectObject(CPen* pen) {
  if (!pen) return nullptr;
  return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject)));
}

CGdiObject* CDC::SelectStockObject(int index) {
  return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CFont* CDC::GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }

CBitmap* CDC::GetCurrentBitmap() const {
  return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP)));
}

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hDC); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hDC); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hDC); }
UINT CDC::SetTextAlign(UINT align) { return ::SetTextAlign(m_hDC, align); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }

CPoint CDC::SetViewportOrg(int x, int y) {
  POINT old{0, 0};
  ::SetViewportOrgEx(m_hDC, x, y, &old);
  return CPoint(old);
}

int CDC::IntersectClipRect(int left, int top, int right, int bottom) {
  return ::IntersectClipRect(m_hDC, left, top, right, bottom);
}

int CDC::IntersectClipRect(LPCRECT rect) {
  return rect ? ::IntersectClipRect(m_hDC, rect->left, rect->top, rect->right, rect->bottom) : 0;
}

int CDC::GetClipBox(LPRECT rect) const { return ::GetClipBox(m_hDC, rect); }
COLORREF CDC::SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

void CDC::FillRect(LPCRECT rect, CBrush* brush) {
  if (brush) ::FillRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color) {
  ::SetBkColor(m_hDC, color);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color) {
  RECT r{x, y, x + width, y + height};
  FillSolidRect(&r, color);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
  if (brush) ::FrameRect(m_hDC, rect, static_cast<HBRUSH>(brush->m_hObject));
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  if (!rect) return;
  int x = rect->left, y = rect->top, w = rect->right - rect->left, h = rect->bottom - rect->top;
  FillSolidRect(x, y, w - 1, 1, topLeft);
  FillSolidRect(x, y, 1, h - 1, topLeft);
  FillSolidRect(x + w - 1, y, 1, h, bottomRight);
  FillSolidRect(x, y + h - 1, w, 1, bottomRight);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }

CPoint CDC::MoveTo(int x, int y) {
  POINT old{0, 0};
  ::MoveToEx(m_hDC, x, y, &old);
  return CPoint(old);
}

BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
BOOL CDC::Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
BOOL CDC::Rectangle(int left, int top, int right, int bottom) { return ::Rectangle(m_hDC, left, top, right, bottom); }
BOOL CDC::Rectangle(LPCRECT r) { return r ? ::Rectangle(m_hDC, r->left, r->top, r->right, r->bottom) : FALSE; }
BOOL CDC::Ellipse(int left, int top, int right, int bottom) { return ::Ellipse(m_hDC, left, top, right, bottom); }
BOOL CDC::Ellipse(LPCRECT r) { return r ? ::Ellipse(m_hDC, r->left, r->top, r->right, r->bottom) : FALSE; }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, DWORD rop) {
  return ::BitBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, srcX, srcY, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth, int srcHeight,
                     DWORD rop) {
  return ::StretchBlt(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, srcX, srcY, srcWidth, srcHeight, rop);
}

BOOL CDC::TransparentBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth,
                         int srcHeight, UINT key) {
  return ::TransparentImage(m_hDC, x, y, width, height, src ? src->m_hDC : nullptr, srcX, srcY, srcWidth, srcHeight,
                            key);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  return ::DrawTextW(m_hDC, text, text.GetLength(), rect, format);
}

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
  return ::DrawTextW(m_hDC, text, count, rect, format);
}

BOOL CDC::TextOut(int x, int y, const CString& text) { return ::TextOutW(m_hDC, x, y, text, text.GetLength()); }
BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) { return ::TextOutW(m_hDC, x, y, text, count); }

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT dx) {
  return ::ExtTextOutW(m_hDC, x, y, options, rect, text, static_cast<UINT>(text.GetLength()), dx);
}

CSize CDC::GetTextExtent(const CString& text) const { return GetTextExtent(text, text.GetLength()); }

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
  SIZE s{0, 0};
  ::GetTextExtentPoint32W(m_hDC, text, count, &s);
  return CSize(s);
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }

CPaintDC::CPaintDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::BeginPaint(m_hWnd, &m_ps)); }

CPaintDC::~CPaintDC() {
  Detach();
  ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* wnd) : m_hWnd(wnd ? wnd->m_hWnd : nullptr) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }
