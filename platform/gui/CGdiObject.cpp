#include "CGdiObject.h"

#include <cstdlib>

#include "CDC.h"
#include "GdiObjects.h"

namespace {

// A stand-in object for a handle owned elsewhere: kept with the handle, never deleting it.
template <typename T>
T* StandIn(HGDIOBJ handle) {
  panel::gui::GdiObject* o = panel::gui::LookupObject(handle);
  if (!o) return nullptr;
  if (o->wrapper) {
    if (T* existing = dynamic_cast<T*>(static_cast<CGdiObject*>(o->wrapper.get()))) return existing;
  }
  T* made = new T();
  made->m_hObject = handle;
  o->wrapper = std::shared_ptr<void>(static_cast<CGdiObject*>(made), [](void* p) {
    auto* g = static_cast<CGdiObject*>(p);
    g->m_hObject = nullptr;
    delete g;
  });
  return made;
}

}  // namespace

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::Attach(HGDIOBJ object) {
  if (m_hObject || !object) return FALSE;
  m_hObject = object;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  HGDIOBJ h = m_hObject;
  m_hObject = nullptr;
  return h;
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  HGDIOBJ h = Detach();
  return ::DeleteObject(h);
}

int CGdiObject::GetObject(int size, LPVOID buffer) const { return ::GetObjectW(m_hObject, size, buffer); }

UINT CGdiObject::GetObjectType() const { return ::GetObjectType(m_hObject); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ object) {
  switch (::GetObjectType(object)) {
    case OBJ_BITMAP: return StandIn<CBitmap>(object);
    case OBJ_FONT: return StandIn<CFont>(object);
    case OBJ_BRUSH: return StandIn<CBrush>(object);
    case OBJ_PEN: return StandIn<CPen>(object);
    default: return nullptr;
  }
}

BOOL CBitmap::LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEW(id)); }

BOOL CBitmap::LoadBitmap(LPCTSTR name) {
  DeleteObject();
  return Attach(::LoadBitmapW(nullptr, name));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  DeleteObject();
  return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  DeleteObject();
  return Attach(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

int CBitmap::GetBitmap(BITMAP* bitmap) const { return ::GetObjectW(m_hObject, sizeof(BITMAP), bitmap); }

CBitmap* CBitmap::FromHandle(HBITMAP bitmap) {
  return ::GetObjectType(bitmap) == OBJ_BITMAP ? StandIn<CBitmap>(bitmap) : nullptr;
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* font) {
  DeleteObject();
  return Attach(::CreateFontIndirectW(font));
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTW* font, CDC* dc) {
  if (!font) return FALSE;
  LOGFONTW lf = *font;
  HDC h = dc ? (dc->m_hAttribDC ? dc->m_hAttribDC : dc->m_hDC) : nullptr;
  int dpi = h ? ::GetDeviceCaps(h, LOGPIXELSY) : 96;
  if (dpi <= 0) dpi = 96;
  lf.lfHeight = -std::abs(MulDiv(dpi, font->lfHeight, 720));
  return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSizeTenths, LPCTSTR face, CDC* dc) {
  LOGFONTW lf{};
  lf.lfHeight = pointSizeTenths;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfWeight = FW_NORMAL;
  if (face) WStrCopy(lf.lfFaceName, LF_FACESIZE, face);
  return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR face) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  lf.lfUnderline = underline;
  lf.lfStrikeOut = strikeOut;
  lf.lfCharSet = charSet;
  lf.lfOutPrecision = outPrecision;
  lf.lfClipPrecision = clipPrecision;
  lf.lfQuality = quality;
  lf.lfPitchAndFamily = pitchAndFamily;
  if (face) WStrCopy(lf.lfFaceName, LF_FACESIZE, face);
  return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONTW* font) const { return ::GetObjectW(m_hObject, sizeof(LOGFONTW), font); }

CFont* CFont::FromHandle(HFONT font) { return ::GetObjectType(font) == OBJ_FONT ? StandIn<CFont>(font) : nullptr; }

BOOL CBrush::CreateSolidBrush(COLORREF color) {
  DeleteObject();
  return Attach(::CreateSolidBrush(color));
}

BOOL CBrush::CreateStockObject(int index) {
  DeleteObject();
  return Attach(::GetStockObject(index));
}

CBrush* CBrush::FromHandle(HBRUSH brush) {
  return ::GetObjectType(brush) == OBJ_BRUSH ? StandIn<CBrush>(brush) : nullptr;
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
  DeleteObject();
  return Attach(::CreatePen(style, width, color));
}

CPen* CPen::FromHandle(HPEN pen) { return ::GetObjectType(pen) == OBJ_PEN ? StandIn<CPen>(pen) : nullptr; }
