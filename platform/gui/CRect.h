// The class library's geometry values: CPoint, CSize and CRect over POINT, SIZE and RECT.
// Plain values with no hidden state; a CRect converts to RECT* so it passes wherever a RECT is taken.
#pragma once

#include "GuiTypes.h"

class CSize : public SIZE {
public:
  CSize() { cx = 0; cy = 0; }
  CSize(int x, int y) { cx = x; cy = y; }
  CSize(SIZE s) { cx = s.cx; cy = s.cy; }
  bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(SIZE s) const { return !(*this == s); }
  CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
};

class CPoint : public POINT {
public:
  CPoint() { x = 0; y = 0; }
  CPoint(int px, int py) { x = px; y = py; }
  CPoint(POINT p) { x = p.x; y = p.y; }
  // From a mouse message's lParam: signed 16-bit x in the low word, y in the high word.
  explicit CPoint(LPARAM lp) { x = GET_X_LPARAM(lp); y = GET_Y_LPARAM(lp); }
  void Offset(int dx, int dy) { x += dx; y += dy; }
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(SIZE s) { Offset(s.cx, s.cy); }
  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
  CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
  CPoint& operator+=(SIZE s) { Offset(s); return *this; }
  CPoint& operator-=(SIZE s) { Offset(-s.cx, -s.cy); return *this; }
};

class CRect : public RECT {
public:
  CRect() { left = top = right = bottom = 0; }
  CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
  CRect(const RECT* r) { left = r->left; top = r->top; right = r->right; bottom = r->bottom; }
  CRect(POINT topLeft, SIZE size) {
    left = topLeft.x; top = topLeft.y; right = left + size.cx; bottom = top + size.cy;
  }
  CRect(POINT topLeft, POINT bottomRight) {
    left = topLeft.x; top = topLeft.y; right = bottomRight.x; bottom = bottomRight.y;
  }

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  CPoint TopLeft() const { return CPoint(left, top); }
  CPoint BottomRight() const { return CPoint(right, bottom); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
  BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT p) const { return ::PtInRect(this, p); }
  void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(const RECT* r) { *this = CRect(r); }
  BOOL EqualRect(const RECT* r) const { return ::EqualRect(this, r); }
  void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
  void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
  void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
  void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
  void DeflateRect(SIZE s) { DeflateRect(s.cx, s.cy); }
  void DeflateRect(int l, int t, int r, int b) { left += l; top += t; right -= r; bottom -= b; }
  void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
  void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
  void MoveToX(int x) { OffsetRect(x - left, 0); }
  void MoveToY(int y) { OffsetRect(0, y - top); }
  void NormalizeRect() {
    if (left > right) { LONG t = left; left = right; right = t; }
    if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
  }
  BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
  BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }

  operator RECT*() { return this; }
  operator const RECT*() const { return this; }
  bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != 0; }
  bool operator!=(const RECT& r) const { return !(*this == r); }
  CRect& operator+=(POINT p) { OffsetRect(p); return *this; }
  CRect& operator-=(POINT p) { OffsetRect(-p.x, -p.y); return *this; }
  CRect& operator&=(const RECT& r) { ::IntersectRect(this, this, &r); return *this; }
  CRect& operator|=(const RECT& r) { ::UnionRect(this, this, &r); return *this; }
  CRect operator+(POINT p) const { CRect r(*this); r.OffsetRect(p); return r; }
  CRect operator-(POINT p) const { CRect r(*this); r.OffsetRect(-p.x, -p.y); return r; }
  CRect operator&(const RECT& o) const { CRect r; ::IntersectRect(&r, this, &o); return r; }
  CRect operator|(const RECT& o) const { CRect r; ::UnionRect(&r, this, &o); return r; }
};
