// The class library's drawing objects over the GDI handles: CGdiObject and its kinds CBitmap, CFont,
// CBrush and CPen. An object owns its handle and deletes it when destroyed (or when DeleteObject or a
// new Create is called); FromHandle gives a stand-in object for a handle someone else owns, valid as
// long as the handle lives. GUI thread only.
#pragma once

#include "CString.h"
#include "WinGdi.h"

class CDC;

class CGdiObject {
public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  HGDIOBJ m_hObject = nullptr;
  operator HGDIOBJ() const { return m_hObject; }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  BOOL Attach(HGDIOBJ object);  // FALSE when this object already holds one
  HGDIOBJ Detach();
  BOOL DeleteObject();          // FALSE when there is nothing to delete
  // Fills buffer with the object's description (BITMAP, LOGFONT, LOGBRUSH, LOGPEN); the bytes written.
  int GetObject(int size, LPVOID buffer) const;
  UINT GetObjectType() const;
  static CGdiObject* FromHandle(HGDIOBJ object);
};

class CBitmap : public CGdiObject {
public:
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
  // bitmaps/<id>.png of the program's resources; FALSE when missing or not a PNG.
  BOOL LoadBitmap(UINT id);
  BOOL LoadBitmap(LPCTSTR name);
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
  int GetBitmap(BITMAP* bitmap) const;
  static CBitmap* FromHandle(HBITMAP bitmap);
};

class CFont : public CGdiObject {
public:
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
  BOOL CreateFontIndirect(const LOGFONTW* font);
  // lfHeight in tenths of a point, turned into pixels as the context (the screen when null) gives
  // them: 96 dpi, so 210 becomes -28.
  BOOL CreatePointFontIndirect(const LOGFONTW* font, CDC* dc = nullptr);
  BOOL CreatePointFont(int pointSizeTenths, LPCTSTR face, CDC* dc = nullptr);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, LPCTSTR face);
  int GetLogFont(LOGFONTW* font) const;
  static CFont* FromHandle(HFONT font);
};

class CBrush : public CGdiObject {
public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
  BOOL CreateSolidBrush(COLORREF color);
  BOOL CreateStockObject(int index);
  static CBrush* FromHandle(HBRUSH brush);
};

class CPen : public CGdiObject {
public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
  BOOL CreatePen(int style, int width, COLORREF color);
  static CPen* FromHandle(HPEN pen);
};
