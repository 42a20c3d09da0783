#include "GuiTypes.h"

#include <algorithm>
#include <cstdint>

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  rect->left = left;
  rect->top = top;
  rect->right = right;
  rect->bottom = bottom;
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL CopyRect(LPRECT dest, const RECT* src) {
  if (!dest || !src) return FALSE;
  *dest = *src;
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect) { return !rect || rect->right <= rect->left || rect->bottom <= rect->top; }

BOOL PtInRect(const RECT* rect, POINT p) {
  return rect && p.x >= rect->left && p.x < rect->right && p.y >= rect->top && p.y < rect->bottom;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left += dx;
  rect->right += dx;
  rect->top += dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
  if (!rect) return FALSE;
  rect->left -= dx;
  rect->right += dx;
  rect->top -= dy;
  rect->bottom += dy;
  return TRUE;
}

BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (r.left >= r.right || r.top >= r.bottom) {
    SetRectEmpty(dest);
    return FALSE;
  }
  *dest = r;
  return TRUE;
}

BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
  if (!dest || !a || !b) return FALSE;
  bool ea = IsRectEmpty(a), eb = IsRectEmpty(b);
  if (ea && eb) {
    SetRectEmpty(dest);
    return FALSE;
  }
  if (ea) {
    *dest = *b;
  } else if (eb) {
    *dest = *a;
  } else {
    RECT r{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
           std::max(a->bottom, b->bottom)};
    *dest = r;
  }
  return TRUE;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(number) * numerator;
  // Rounds half away from zero, as the platform does.
  int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  int64_t absProduct = product < 0 ? -product : product;
  int64_t absDen = denominator < 0 ? -static_cast<int64_t>(denominator) : denominator;
  int64_t q = (absProduct + half) / absDen;
  if (q > INT32_MAX) return -1;
  return static_cast<int>(negative ? -q : q);
}
