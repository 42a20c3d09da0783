// Drawing: device contexts over 32-bit surfaces (the 480 x 272 screen, windows on it, memory bitmaps),
// bitmaps, brushes, pens and fonts. Colours are COLORREF 0x00BBGGRR. Fonts are rendered anti-aliased
// with FreeType; faces are found among the font files added with AddFontResourceW, then through
// fontconfig. Every handle is checked: a stale or foreign one fails (null, 0 or FALSE).
// GUI thread only, like the windows.
#pragma once

#include "GuiTypes.h"

// Raster operations of BitBlt and StretchBlt.
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define NOTSRCCOPY 0x00330008u
#define PATCOPY 0x00F00021u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

#define TRANSPARENT 1
#define OPAQUE 2
#define CLR_INVALID 0xFFFFFFFFu

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// Object kinds (GetObjectType).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// DrawText formats. DT_VCENTER and DT_BOTTOM act on single-line text only.
#define DT_TOP 0x00000000u
#define DT_LEFT 0x00000000u
#define DT_CENTER 0x00000001u
#define DT_RIGHT 0x00000002u
#define DT_VCENTER 0x00000004u
#define DT_BOTTOM 0x00000008u
#define DT_WORDBREAK 0x00000010u
#define DT_SINGLELINE 0x00000020u
#define DT_EXPANDTABS 0x00000040u
#define DT_NOCLIP 0x00000100u
#define DT_CALCRECT 0x00000400u
#define DT_NOPREFIX 0x00000800u
#define DT_EDITCONTROL 0x00002000u
#define DT_END_ELLIPSIS 0x00008000u

// Text alignment (SetTextAlign) and ExtTextOut options.
#define TA_LEFT 0u
#define TA_RIGHT 2u
#define TA_CENTER 6u
#define TA_TOP 0u
#define TA_BOTTOM 8u
#define TA_BASELINE 24u
#define ETO_OPAQUE 0x0002u
#define ETO_CLIPPED 0x0004u

// GetDeviceCaps.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// Fonts.
#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define GB2312_CHARSET 134
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3  // glyphs drawn without grey levels
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5

struct LOGFONTW {
  LONG lfHeight;  // < 0: the character (em) height in pixels; > 0: the cell height; 0: a default size
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTW LOGFONT;
typedef LOGFONTW* LPLOGFONT;

struct TEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};
typedef TEXTMETRICW TEXTMETRIC;
typedef TEXTMETRICW* LPTEXTMETRIC;

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
};
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
};

// Device contexts.
HDC CreateCompatibleDC(HDC dc);  // a memory context; null dc: compatible with the screen
BOOL DeleteDC(HDC dc);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);  // the previous object of that kind, null on failure
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);
int GetDeviceCaps(HDC dc, int index);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int saved);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int GetClipBox(HDC dc, LPRECT rect);
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3


// Objects.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);
HFONT CreateFontIndirectW(const LOGFONTW* font);
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);  // stock objects are never deleted; a selected one is freed when deselected
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
// A bitmap of the program's resources: bitmaps/<id>.png in the resource folder (Resources.h).
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// Attributes.
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

// Pixels, fills and lines (the current position moves with LineTo; its last pixel is not drawn).
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);

// Blits. StretchBlt samples the nearest source pixel. TransparentImage takes a memory context or a
// bitmap as its source and leaves the pixels of the key colour out.
BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop);
BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE src, int srcX, int srcY, int srcWidth,
                      int srcHeight, COLORREF key);
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT key);
#define COLORONCOLOR 3
int SetStretchBltMode(HDC dc, int mode);

// Text.
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);  // the height of the text
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);
BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
int GetTextFaceW(HDC dc, int size, LPWSTR face);

// Font files: the file (a CE path in the board's root, or an absolute Linux path) is registered under
// the family names it holds; a face the program later asks for that no font on the system has is
// taken from the most recently added file. The number of faces added, 0 on failure.
int AddFontResourceW(LPCWSTR file);
BOOL RemoveFontResourceW(LPCWSTR file);

#define DrawText DrawTextW
#define TextOut TextOutW
#define ExtTextOut ExtTextOutW
#define GetTextExtentPoint32 GetTextExtentPoint32W
#define GetTextMetrics GetTextMetricsW
#define CreateFontIndirect CreateFontIndirectW
#define GetObject GetObjectW
#define LoadBitmap LoadBitmapW
#define AddFontResource AddFontResourceW
#define RemoveFontResource RemoveFontResourceW
