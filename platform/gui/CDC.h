// The class library's device contexts: CDC over an HDC, CPaintDC for WM_PAINT (BeginPaint/EndPaint),
// CClientDC and CWindowDC for drawing outside it. Coordinates are the context's (client coordinates
// for a window). GUI thread only.
#pragma once

#include "CGdiObject.h"
#include "CRect.h"
#include "CString.h"
#include "WinUser.h"

class CWnd;

class CDC {
public:
  CDC() = default;
  virtual ~CDC();  // deletes a context it created (CreateCompatibleDC), never an attached one
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  HDC m_hDC = nullptr;
  HDC m_hAttribDC = nullptr;
  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }
  BOOL Attach(HDC dc);
  HDC Detach();
  static CDC* FromHandle(HDC dc);

  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();

  // The previous object of the kind, as a stand-in; null on failure.
  CGdiObject* SelectObject(CGdiObject* object);
  CBitmap* SelectObject(CBitmap* bitmap);
  CFont* SelectObject(CFont* font);
  CBrush* SelectObject(CBrush* brush);
  CPen* SelectObject(CPen* pen);
  CGdiObject* SelectStockObject(int index);
  CFont* GetCurrentFont() const;
  CBitmap* GetCurrentBitmap() const;

  COLORREF SetTextColor(COLORREF color);
  COLORREF GetTextColor() const;
  COLORREF SetBkColor(COLORREF color);
  COLORREF GetBkColor() const;
  int SetBkMode(int mode);
  int GetBkMode() const;
  UINT SetTextAlign(UINT align);
  int GetDeviceCaps(int index) const;
  int SaveDC();
  BOOL RestoreDC(int saved);
  CPoint SetViewportOrg(int x, int y);
  int IntersectClipRect(int left, int top, int right, int bottom);
  int IntersectClipRect(LPCRECT rect);
  int GetClipBox(LPRECT rect) const;

  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF GetPixel(int x, int y) const;
  void FillRect(LPCRECT rect, CBrush* brush);
  void FillSolidRect(LPCRECT rect, COLORREF color);  // leaves the background colour set to color
  void FillSolidRect(int x, int y, int width, int height, COLORREF color);
  void FrameRect(LPCRECT rect, CBrush* brush);
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }
  BOOL Polyline(const POINT* points, int count);
  BOOL Polygon(const POINT* points, int count);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect);
  BOOL Ellipse(int left, int top, int right, int bottom);
  BOOL Ellipse(LPCRECT rect);

  BOOL BitBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, DWORD rop);
  BOOL StretchBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth, int srcHeight,
                  DWORD rop);
  BOOL TransparentBlt(int x, int y, int width, int height, CDC* src, int srcX, int srcY, int srcWidth,
                      int srcHeight, UINT key);

  int DrawText(const CString& text, LPRECT rect, UINT format);
  int DrawText(LPCTSTR text, int count, LPRECT rect, UINT format);
  BOOL TextOut(int x, int y, const CString& text);
  BOOL TextOut(int x, int y, LPCTSTR text, int count);
  BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, LPINT dx);
  CSize GetTextExtent(const CString& text) const;
  CSize GetTextExtent(LPCTSTR text, int count) const;
  BOOL GetTextMetrics(LPTEXTMETRIC metrics) const;

protected:
  bool m_owned = false;  // created here, deleted here
};

class CPaintDC : public CDC {
public:
  explicit CPaintDC(CWnd* wnd);
  ~CPaintDC() override;
  PAINTSTRUCT m_ps{};

protected:
  HWND m_hWnd;
};

class CClientDC : public CDC {
public:
  explicit CClientDC(CWnd* wnd);
  ~CClientDC() override;

protected:
  HWND m_hWnd;
};

class CWindowDC : public CDC {
public:
  explicit CWindowDC(CWnd* wnd);
  ~CWindowDC() override;

protected:
  HWND m_hWnd;
};
