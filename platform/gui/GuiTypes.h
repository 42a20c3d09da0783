// Handles, geometry records and the parameter macros shared by the window and drawing calls.
// Every handle is opaque: window handles are numbers (they cross process boundaries), drawing handles
// point at objects the layer keeps in a table and checks before use, so a stale value fails instead of
// being dereferenced.
#pragma once

#include "WinTypes.h"

struct HWND__;
typedef HWND__* HWND;
struct HDC__;
typedef HDC__* HDC;
typedef void* HGDIOBJ;
struct HBITMAP__;
typedef HBITMAP__* HBITMAP;
struct HFONT__;
typedef HFONT__* HFONT;
struct HBRUSH__;
typedef HBRUSH__* HBRUSH;
struct HPEN__;
typedef HPEN__* HPEN;
struct HRGN__;
typedef HRGN__* HRGN;
struct HICON__;
typedef HICON__* HICON;
typedef HICON HCURSOR;
typedef int* LPINT;
struct HMENU__;
typedef HMENU__* HMENU;

struct POINT {
  LONG x;
  LONG y;
};
typedef POINT* LPPOINT;

struct SIZE {
  LONG cx;
  LONG cy;
};
typedef SIZE* LPSIZE;

struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

#define MAKELPARAM(lo, hi) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(lo, hi))))
#define MAKEWPARAM(lo, hi) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(lo, hi))))
#define MAKELRESULT(lo, hi) (static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(lo, hi))))
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))

// Rectangle helpers (right and bottom edges are outside the rectangle).
BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL CopyRect(LPRECT dest, const RECT* src);
BOOL IsRectEmpty(const RECT* rect);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
BOOL InflateRect(LPRECT rect, int dx, int dy);
// FALSE (and an empty result) when the two do not overlap.
BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b);
BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b);
BOOL EqualRect(const RECT* a, const RECT* b);
int MulDiv(int number, int numerator, int denominator);
