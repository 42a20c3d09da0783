// Device contexts, drawing objects and the drawing calls over the layer's 32-bit surfaces.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "GdiObjects.h"
#include "GuiState.h"
#include "Paths.h"
#include "Resources.h"

namespace panel {
namespace gui {
namespace {

const LONG kSystemFontHeight = -12;  // 9 points at 96 dpi
const UINT kTextOutFlag = 0x80000000u;

std::unordered_map<void*, std::unique_ptr<GdiObject>>& Objects() {
  static auto* objects = new std::unordered_map<void*, std::unique_ptr<GdiObject>>();
  return *objects;
}

std::unordered_map<void*, std::unique_ptr<DcObject>>& Dcs() {
  static auto* dcs = new std::unordered_map<void*, std::unique_ptr<DcObject>>();
  return *dcs;
}

HGDIOBJ Register(std::unique_ptr<GdiObject> object) {
  void* key = object.get();
  Objects()[key] = std::move(object);
  return key;
}

void Release(GdiObject* o) {
  if (!o || o->stock) return;
  if (--o->selected <= 0) {
    o->selected = 0;
    if (o->deletePending) Objects().erase(o);
  }
}

void Hold(GdiObject* o) {
  if (o && !o->stock) ++o->selected;
}

BrushObject* MakeBrush(COLORREF color, bool hollow, bool stock) {
  auto b = std::make_unique<BrushObject>();
  b->color = color & 0xFFFFFFu;
  b->hollow = hollow;
  b->stock = stock;
  BrushObject* raw = b.get();
  Register(std::move(b));
  return raw;
}

PenObject* MakePen(int style, int width, COLORREF color, bool stock) {
  auto p = std::make_unique<PenObject>();
  p->style = style;
  p->width = std::max(width, 1);
  p->color = color & 0xFFFFFFu;
  p->stock = stock;
  PenObject* raw = p.get();
  Register(std::move(p));
  return raw;
}

FontObject* MakeFont(const LOGFONTW& lf, bool stock) {
  auto f = std::make_unique<FontObject>();
  f->logFont = lf;
  f->stock = stock;
  FontObject* raw = f.get();
  Register(std::move(f));
  return raw;
}

HGDIOBJ StockObject(int index) {
  static HGDIOBJ stock[20] = {};
  if (index < 0 || index >= 20) return nullptr;
  if (stock[index]) return stock[index];
  HGDIOBJ h = nullptr;
  switch (index) {
    case WHITE_BRUSH: h = MakeBrush(RGB(255, 255, 255), false, true); break;
    case LTGRAY_BRUSH: h = MakeBrush(RGB(192, 192, 192), false, true); break;
    case GRAY_BRUSH: h = MakeBrush(RGB(128, 128, 128), false, true); break;
    case DKGRAY_BRUSH: h = MakeBrush(RGB(64, 64, 64), false, true); break;
    case BLACK_BRUSH: h = MakeBrush(RGB(0, 0, 0), false, true); break;
    case NULL_BRUSH: h = MakeBrush(0, true, true); break;
    case WHITE_PEN: h = MakePen(PS_SOLID, 1, RGB(255, 255, 255), true); break;
    case BLACK_PEN: h = MakePen(PS_SOLID, 1, RGB(0, 0, 0), true); break;
    case NULL_PEN: h = MakePen(PS_NULL, 1, 0, true); break;
    case SYSTEM_FONT:
    case DEFAULT_GUI_FONT: {
      LOGFONTW lf{};
      lf.lfHeight = kSystemFontHeight;
      lf.lfWeight = FW_NORMAL;
      lf.lfQuality = ANTIALIASED_QUALITY;
      h = MakeFont(lf, true);
      break;
    }
    default: return nullptr;
  }
  stock[index] = h;
  return h;
}

HBITMAP StockBitmap() {
  static HBITMAP bitmap = [] {
    auto b = std::make_unique<BitmapObject>();
    b->surface = std::make_shared<Surface>(1, 1, 0);
    b->stock = true;
    return static_cast<HBITMAP>(Register(std::move(b)));
  }();
  return bitmap;
}

DcObject* NewDc(DcObject::Kind kind) {
  auto dc = std::make_unique<DcObject>();
  dc->kind = kind;
  dc->state.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
  dc->state.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
  dc->state.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
  if (kind == DcObject::Memory) dc->state.bitmap = StockBitmap();
  DcObject* raw = dc.get();
  Dcs()[raw] = std::move(dc);
  return raw;
}

// Brushes may also be given as a system colour index plus one.
BrushObject* BrushOf(HBRUSH brush) {
  uintptr_t v = reinterpret_cast<uintptr_t>(brush);
  if (v > 0 && v <= 31) return LookupAs<BrushObject>(GetSysColorBrush(static_cast<int>(v - 1)));
  return LookupAs<BrushObject>(brush);
}

RECT ToSurface(DcObject* dc, const RECT& r) {
  RECT s = r;
  OffsetRect(&s, dc->state.origin.x, dc->state.origin.y);
  return s;
}

RECT Normalized(int l, int t, int r, int b) { return MakeRect(std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b)); }

void FillWithBrush(DcObject* dc, const RECT& logical, BrushObject* brush) {
  if (!brush || brush->hollow) return;
  Surface* s = dc->Target(true);
  if (!s) return;
  FillRect(*s, dc->Clip(), ToSurface(dc, logical), ToPixel(brush->color));
}

void Line(DcObject* dc, int x0, int y0, int x1, int y1) {
  PenObject* pen = LookupAs<PenObject>(dc->state.pen);
  if (!pen || pen->style == PS_NULL) return;
  Surface* s = dc->Target(true);
  if (!s) return;
  POINT o = dc->state.origin;
  DrawLine(*s, dc->Clip(), x0 + o.x, y0 + o.y, x1 + o.x, y1 + o.y, ToPixel(pen->color), pen->width, pen->style);
}

const Surface* SourceOf(HANDLE src, POINT* origin) {
  if (DcObject* d = LookupDc(static_cast<HDC>(src))) {
    if (origin) *origin = d->state.origin;
    return d->Target(false);
  }
  if (BitmapObject* b = LookupAs<BitmapObject>(src)) {
    if (origin) *origin = POINT{0, 0};
    return &b->Readable();
  }
  return nullptr;
}

bool IsCjk(char32_t c) {
  return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FFFF);
}

struct TextLine {
  int begin;
  int end;
};

// Greedy breaking at blanks and between CJK characters; a word wider than the line stays whole.
std::vector<TextLine> WrapParagraph(FontInstance& font, const std::u16string& t, int begin, int end, int maxWidth) {
  std::vector<TextLine> lines;
  const char16_t* s = t.c_str();
  int start = begin;
  while (start < end) {
    int pos = start, width = 0, breakAt = -1, resume = -1;
    bool previousCjk = false;
    bool overflow = false;
    while (pos < end) {
      int next = pos;
      char32_t c = NextChar(s, next, end);
      bool cjk = IsCjk(c);
      if (c == u' ') {
        breakAt = pos;
        resume = next;
      } else if (pos > start && (cjk || previousCjk)) {
        breakAt = pos;
        resume = pos;
      }
      int advance = font.GetGlyph(c).advance;
      if (c != u' ' && width + advance > maxWidth && pos > start) {
        overflow = true;
        break;
      }
      width += advance;
      previousCjk = cjk;
      pos = next;
    }
    int lineEnd = end, next = end;
    if (overflow) {
      if (breakAt > start || (breakAt == start && resume > start)) {
        lineEnd = breakAt;
        next = resume;
      } else {
        // No place to break: the word runs on to the next blank.
        int k = pos;
        while (k < end && s[k] != u' ') ++k;
        lineEnd = k;
        next = k;
      }
    }
    int trimmed = lineEnd;
    while (trimmed > start && s[trimmed - 1] == u' ') --trimmed;
    lines.push_back(TextLine{start, trimmed});
    while (next < end && s[next] == u' ') ++next;
    if (next <= start) next = start + 1;  // always progress
    start = next;
  }
  if (lines.empty()) lines.push_back(TextLine{begin, begin});
  return lines;
}

std::u16string StripPrefixes(const char16_t* text, int count) {
  std::u16string out;
  out.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    if (text[i] == u'&') {
      if (i + 1 < count && text[i + 1] == u'&') {
        out.push_back(u'&');
        ++i;
      }
      continue;
    }
    out.push_back(text[i]);
  }
  return out;
}

// The bounding box of what of r (surface coordinates) the context lets reach the pixels; covered is
// set when some of r does not.
RECT ShownPart(DcObject* dc, const RECT& r, bool& covered) {
  RECT shown = MakeRect(0, 0, 0, 0);
  int64_t area = 0;
  const Region clip = dc->Clip();
  for (const RECT& piece : clip.Rects()) {
    RECT part;
    if (!Intersect(r, piece, part)) continue;
    UnionRect(&shown, &shown, &part);
    area += static_cast<int64_t>(part.right - part.left) * (part.bottom - part.top);
  }
  covered = area < static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top);
  return shown;
}

// What a text drawn with ink (surface coordinates) is held to and what of it reached the pixels;
// heldTo (logical, or null) is the rectangle the call clips to.
void FitOf(DcObject* dc, const RECT& ink, const RECT* heldTo, DrawnText& entry) {
  RECT bounds = dc->area;
  if (dc->kind == DcObject::Memory) {
    Surface* s = dc->Target(false);
    bounds = s ? s->Bounds() : MakeRect(0, 0, 0, 0);
  }
  if (heldTo && !Intersect(bounds, ToSurface(dc, *heldTo), bounds)) bounds = MakeRect(0, 0, 0, 0);
  if (dc->state.hasUserClip && !Intersect(bounds, dc->state.userClip.Bounds(), bounds)) bounds = MakeRect(0, 0, 0, 0);
  entry.ink = ink;
  entry.bounds = bounds;
  entry.shown = MakeRect(0, 0, 0, 0);
  RECT held;
  if (Intersect(ink, bounds, held)) entry.shown = ShownPart(dc, held, entry.covered);
}

void Log(DcObject* dc, const std::u16string& text, const RECT& logicalRect, UINT format, const RECT& ink,
         const RECT* heldTo, bool shortened) {
  if (text.empty()) return;
  DrawnText entry;
  entry.window = dc->kind == DcObject::Memory ? CurrentDispatchWindow() : dc->window;
  entry.text = CString(text);
  entry.rect = ToSurface(dc, logicalRect);
  entry.color = dc->state.textColor & 0xFFFFFFu;
  LOGFONTW lf = DcLogFont(*dc);
  entry.face = CString(lf.lfFaceName);
  entry.height = lf.lfHeight;
  entry.pixelSize = DcFont(*dc).PixelSize();
  entry.weight = lf.lfWeight;
  entry.format = format;
  entry.offscreen = dc->kind == DcObject::Memory;
  FitOf(dc, ink, heldTo, entry);
  entry.shortened = shortened;
  LogText(std::move(entry));
}

// landed: the surface box the picture's pixels landed in; keyedCovered: for a keyed picture, whether
// clipping took away any of its pixels (an opaque one is covered when any of the box is).
void NotePicture(DcObject* dc, const RECT& landed, const bool* keyedCovered) {
  if (Empty(landed)) return;
  DrawnPicture entry;
  entry.window = dc->kind == DcObject::Memory ? CurrentDispatchWindow() : dc->window;
  entry.rect = landed;
  entry.offscreen = dc->kind == DcObject::Memory;
  entry.shown = ShownPart(dc, entry.rect, entry.covered);
  if (keyedCovered) entry.covered = *keyedCovered;
  LogPicture(std::move(entry));
}

void DrawRun(DcObject* dc, const Region& clip, FontInstance& font, const std::u16string& t, int begin, int end, int x,
             int top) {
  Surface* s = dc->Target(true);
  if (!s) return;
  POINT o = dc->state.origin;
  if (dc->state.bkMode == OPAQUE) {
    int w = font.Measure(t.c_str(), begin, end);
    FillRect(*s, clip, MakeRect(x + o.x, top + o.y, x + o.x + w, top + o.y + font.Height()), ToPixel(dc->state.bkColor));
  }
  font.Draw(*s, clip, x + o.x, top + o.y + font.Ascent(), t.c_str(), begin, end, ToPixel(dc->state.textColor));
}

}  // namespace

Surface& BitmapObject::Writable() {
  if (shared) {
    surface = std::make_shared<Surface>(*surface);
    shared = false;
  }
  return *surface;
}

Surface* DcObject::Target(bool forWriting) {
  if (kind != Memory) return &::panel::gui::Screen();
  BitmapObject* b = LookupAs<BitmapObject>(state.bitmap);
  if (!b || !b->surface) return nullptr;
  return forWriting ? &b->Writable() : b->surface.get();
}

Region DcObject::Clip() {
  Region clip;
  if (kind == Memory) {
    Surface* s = Target(false);
    if (s) clip.Set(s->Bounds());
  } else {
    clip = baseClip;
  }
  if (state.hasUserClip) clip.Intersect(state.userClip);
  return clip;
}

GdiObject* LookupObject(HGDIOBJ handle) {
  if (!handle) return nullptr;
  auto& objects = Objects();
  auto it = objects.find(handle);
  if (it == objects.end() || it->second->deletePending) return nullptr;
  return it->second.get();
}

DcObject* LookupDc(HDC dc) {
  if (!dc) return nullptr;
  auto& dcs = Dcs();
  auto it = dcs.find(dc);
  return it == dcs.end() ? nullptr : it->second.get();
}

HDC CreateWindowDc(HWND window, const Region& clip, POINT origin, bool paint, const RECT& area) {
  DcObject* dc = NewDc(window ? DcObject::Window : DcObject::Screen);
  dc->window = window;
  dc->paint = paint;
  dc->baseClip = clip;
  dc->area = area;
  dc->base = origin;
  dc->state.origin = origin;
  if (window) {
    if (Window* w = Find(window)) dc->state.font = ControlFont(w);
  }
  Hold(LookupObject(dc->state.font));
  return reinterpret_cast<HDC>(dc);
}

void FreeDc(HDC handle) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return;
  Release(LookupObject(dc->state.bitmap));
  Release(LookupObject(dc->state.font));
  Release(LookupObject(dc->state.brush));
  Release(LookupObject(dc->state.pen));
  Dcs().erase(dc);
}

HBITMAP CreateBitmapFromSurface(std::shared_ptr<Surface> surface, bool shared) {
  auto b = std::make_unique<BitmapObject>();
  b->surface = std::move(surface);
  b->shared = shared;
  return static_cast<HBITMAP>(Register(std::move(b)));
}

const Surface* BitmapPixels(HBITMAP bitmap) {
  BitmapObject* b = LookupAs<BitmapObject>(bitmap);
  return b ? b->surface.get() : nullptr;
}

FontInstance& DcFont(DcObject& dc) {
  FontObject* f = LookupAs<FontObject>(dc.state.font);
  if (!f) f = LookupAs<FontObject>(StockObject(SYSTEM_FONT));
  if (!f->instance) f->instance = ResolveFont(f->logFont);
  return *f->instance;
}

LOGFONTW DcLogFont(DcObject& dc) {
  FontObject* f = LookupAs<FontObject>(dc.state.font);
  if (!f) f = LookupAs<FontObject>(StockObject(SYSTEM_FONT));
  return f->logFont;
}

}  // namespace gui
}  // namespace panel

using namespace panel::gui;

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_WINDOW: return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_MENUTEXT:
    case COLOR_STATICTEXT:
    case COLOR_3DDKSHADOW:
    case COLOR_WINDOWFRAME: return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
    case COLOR_ACTIVECAPTION: return RGB(0, 0, 128);
    case COLOR_HIGHLIGHTTEXT:
    case COLOR_CAPTIONTEXT:
    case COLOR_BTNHIGHLIGHT: return RGB(255, 255, 255);
    case COLOR_BTNSHADOW:
    case COLOR_GRAYTEXT:
    case COLOR_INACTIVECAPTION: return RGB(128, 128, 128);
    case COLOR_3DLIGHT: return RGB(223, 223, 223);
    case COLOR_BACKGROUND: return RGB(0, 128, 128);
    default: return RGB(192, 192, 192);
  }
}

HBRUSH GetSysColorBrush(int index) {
  static HBRUSH brushes[32] = {};
  if (index < 0 || index >= 32) return nullptr;
  if (!brushes[index]) brushes[index] = reinterpret_cast<HBRUSH>(MakeBrush(GetSysColor(index), false, true));
  return brushes[index];
}

HDC CreateCompatibleDC(HDC) { return reinterpret_cast<HDC>(NewDc(DcObject::Memory)); }

BOOL DeleteDC(HDC dc) {
  if (!LookupDc(dc)) return FALSE;
  FreeDc(dc);
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  DcObject* dc = LookupDc(handle);
  GdiObject* o = LookupObject(object);
  if (!dc || !o) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (o->kind) {
    case OBJ_BITMAP:
      if (dc->kind != DcObject::Memory) return nullptr;
      slot = reinterpret_cast<HGDIOBJ*>(&dc->state.bitmap);
      break;
    case OBJ_FONT: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.font); break;
    case OBJ_BRUSH: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.brush); break;
    case OBJ_PEN: slot = reinterpret_cast<HGDIOBJ*>(&dc->state.pen); break;
    default: return nullptr;
  }
  HGDIOBJ previous = *slot;
  if (previous == object) return previous;
  Hold(o);
  *slot = object;
  GdiObject* old = nullptr;
  auto it = Objects().find(previous);
  if (it != Objects().end()) old = it->second.get();
  Release(old);
  return previous;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT kind) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return nullptr;
  switch (kind) {
    case OBJ_BITMAP: return dc->state.bitmap;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_PEN: return dc->state.pen;
    default: return nullptr;
  }
}

int GetDeviceCaps(HDC, int index) {
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case HORZRES: return panel::kScreenWidth;
    case VERTRES: return panel::kScreenHeight;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    default: return 0;
  }
}

int SaveDC(HDC handle) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return 0;
  dc->saved.push_back(dc->state);
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(dc->state.bitmap), static_cast<HGDIOBJ>(dc->state.font),
                    static_cast<HGDIOBJ>(dc->state.brush), static_cast<HGDIOBJ>(dc->state.pen)}) {
    Hold(LookupObject(h));
  }
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC handle, int saved) {
  DcObject* dc = LookupDc(handle);
  if (!dc || dc->saved.empty()) return FALSE;
  size_t index = saved < 0 ? dc->saved.size() + static_cast<size_t>(saved) : static_cast<size_t>(saved) - 1;
  if (index >= dc->saved.size()) return FALSE;
  while (dc->saved.size() > index + 1) {
    DcState& drop = dc->saved.back();
    for (HGDIOBJ h : {static_cast<HGDIOBJ>(drop.bitmap), static_cast<HGDIOBJ>(drop.font),
                      static_cast<HGDIOBJ>(drop.brush), static_cast<HGDIOBJ>(drop.pen)}) {
      Release(Objects().count(h) ? Objects()[h].get() : nullptr);
    }
    dc->saved.pop_back();
  }
  DcState restore = dc->saved.back();
  dc->saved.pop_back();
  DcState current = dc->state;
  dc->state = restore;
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(current.bitmap), static_cast<HGDIOBJ>(current.font),
                    static_cast<HGDIOBJ>(current.brush), static_cast<HGDIOBJ>(current.pen)}) {
    Release(Objects().count(h) ? Objects()[h].get() : nullptr);
  }
  return TRUE;
}

BOOL SetViewportOrgEx(HDC handle, int x, int y, LPPOINT previous) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = POINT{dc->state.origin.x - dc->base.x, dc->state.origin.y - dc->base.y};
  dc->state.origin = POINT{dc->base.x + x, dc->base.y + y};
  return TRUE;
}

BOOL GetViewportOrgEx(HDC handle, LPPOINT origin) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !origin) return FALSE;
  *origin = POINT{dc->state.origin.x - dc->base.x, dc->state.origin.y - dc->base.y};
  return TRUE;
}

int IntersectClipRect(HDC handle, int left, int top, int right, int bottom) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return 0;
  RECT r = ToSurface(dc, Normalized(left, top, right, bottom));
  if (dc->state.hasUserClip) {
    dc->state.userClip.Intersect(r);
  } else {
    dc->state.userClip.Set(r);
    dc->state.hasUserClip = true;
  }
  Region c = dc->Clip();
  return c.IsEmpty() ? NULLREGION : c.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int GetClipBox(HDC handle, LPRECT rect) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !rect) return 0;
  Region c = dc->Clip();
  *rect = c.Bounds();
  OffsetRect(rect, -dc->state.origin.x, -dc->state.origin.y);
  return c.IsEmpty() ? NULLREGION : c.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
  if (width <= 0 || height <= 0) {
    width = 1;
    height = 1;
  }
  if (static_cast<int64_t>(width) * height > 16 * 1024 * 1024) return nullptr;
  return CreateBitmapFromSurface(std::make_shared<Surface>(width, height, 0), false);
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT bitsPerPixel, const void* bits) {
  HBITMAP b = CreateCompatibleBitmap(nullptr, width, height);
  if (!b || !bits || width <= 0 || height <= 0) return b;
  Surface& s = LookupAs<BitmapObject>(b)->Writable();
  const auto* p = static_cast<const uint8_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (bitsPerPixel == 32) {
        const uint8_t* q = p + (static_cast<size_t>(y) * width + x) * 4;
        s.Row(y)[x] = (static_cast<uint32_t>(q[2]) << 16) | (static_cast<uint32_t>(q[1]) << 8) | q[0];
      } else if (bitsPerPixel == 24) {
        size_t pitch = (static_cast<size_t>(width) * 3 + 1) & ~static_cast<size_t>(1);
        const uint8_t* q = p + y * pitch + static_cast<size_t>(x) * 3;
        s.Row(y)[x] = (static_cast<uint32_t>(q[2]) << 16) | (static_cast<uint32_t>(q[1]) << 8) | q[0];
      } else if (bitsPerPixel == 1) {
        size_t pitch = ((static_cast<size_t>(width) + 15) / 16) * 2;
        bool on = (p[y * pitch + static_cast<size_t>(x) / 8] & (0x80 >> (x & 7))) != 0;
        s.Row(y)[x] = on ? 0xFFFFFFu : 0;
      }
    }
  }
  return b;
}

HBRUSH CreateSolidBrush(COLORREF color) { return reinterpret_cast<HBRUSH>(MakeBrush(color, false, false)); }

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush) return nullptr;
  return reinterpret_cast<HBRUSH>(MakeBrush(brush->lbColor, brush->lbStyle == BS_NULL, false));
}

HPEN CreatePen(int style, int width, COLORREF color) { return reinterpret_cast<HPEN>(MakePen(style, width, color, false)); }

HPEN CreatePenIndirect(const LOGPEN* pen) {
  if (!pen) return nullptr;
  return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HFONT CreateFontIndirectW(const LOGFONTW* font) {
  if (!font) return nullptr;
  return reinterpret_cast<HFONT>(MakeFont(*font, false));
}

HGDIOBJ GetStockObject(int index) { return StockObject(index); }

BOOL DeleteObject(HGDIOBJ object) {
  GdiObject* o = LookupObject(object);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (o->selected > 0) {
    o->deletePending = true;
    return TRUE;
  }
  Objects().erase(object);
  return TRUE;
}

int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
  GdiObject* o = LookupObject(object);
  if (!o) return 0;
  if (auto* b = dynamic_cast<BitmapObject*>(o)) {
    if (!buffer) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP bm{};
    bm.bmWidth = b->surface->Width();
    bm.bmHeight = b->surface->Height();
    bm.bmWidthBytes = bm.bmWidth * 4;
    bm.bmPlanes = 1;
    bm.bmBitsPixel = 32;
    std::memcpy(buffer, &bm, sizeof(bm));
    return sizeof(BITMAP);
  }
  if (auto* f = dynamic_cast<FontObject*>(o)) {
    if (!buffer) return sizeof(LOGFONTW);
    int n = std::min(size, static_cast<int>(sizeof(LOGFONTW)));
    std::memcpy(buffer, &f->logFont, static_cast<size_t>(n));
    return n;
  }
  if (auto* br = dynamic_cast<BrushObject*>(o)) {
    if (!buffer) return sizeof(LOGBRUSH);
    if (size < static_cast<int>(sizeof(LOGBRUSH))) return 0;
    LOGBRUSH lb{br->hollow ? static_cast<UINT>(BS_NULL) : static_cast<UINT>(BS_SOLID), br->color, 0};
    std::memcpy(buffer, &lb, sizeof(lb));
    return sizeof(LOGBRUSH);
  }
  if (auto* p = dynamic_cast<PenObject*>(o)) {
    if (!buffer) return sizeof(LOGPEN);
    if (size < static_cast<int>(sizeof(LOGPEN))) return 0;
    LOGPEN lp{static_cast<UINT>(p->style), POINT{p->width, 0}, p->color};
    std::memcpy(buffer, &lp, sizeof(lp));
    return sizeof(LOGPEN);
  }
  return 0;
}

DWORD GetObjectType(HGDIOBJ object) {
  if (LookupDc(static_cast<HDC>(object))) {
    return LookupDc(static_cast<HDC>(object))->kind == DcObject::Memory ? OBJ_MEMDC : OBJ_DC;
  }
  GdiObject* o = LookupObject(object);
  return o ? o->kind : 0;
}

COLORREF SetTextColor(HDC handle, COLORREF color) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.textColor;
  dc->state.textColor = color & 0xFFFFFFu;
  return old;
}

COLORREF GetTextColor(HDC handle) {
  DcObject* dc = LookupDc(handle);
  return dc ? dc->state.textColor : CLR_INVALID;
}

COLORREF SetBkColor(HDC handle, COLORREF color) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->state.bkColor;
  dc->state.bkColor = color & 0xFFFFFFu;
  return old;
}

COLORREF GetBkColor(HDC handle) {
  DcObject* dc = LookupDc(handle);
  return dc ? dc->state.bkColor : CLR_INVALID;
}

int SetBkMode(HDC handle, int mode) {
  DcObject* dc = LookupDc(handle);
  if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
  int old = dc->state.bkMode;
  dc->state.bkMode = mode;
  return old;
}

int GetBkMode(HDC handle) {
  DcObject* dc = LookupDc(handle);
  return dc ? dc->state.bkMode : 0;
}

UINT SetTextAlign(HDC handle, UINT align) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return 0xFFFFFFFFu;
  UINT old = dc->state.textAlign;
  dc->state.textAlign = align;
  return old;
}

UINT GetTextAlign(HDC handle) {
  DcObject* dc = LookupDc(handle);
  return dc ? dc->state.textAlign : 0xFFFFFFFFu;
}

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return CLR_INVALID;
  Surface* s = dc->Target(true);
  if (!s) return CLR_INVALID;
  PutPixel(*s, dc->Clip(), x + dc->state.origin.x, y + dc->state.origin.y, ToPixel(color));
  return color & 0xFFFFFFu;
}

COLORREF GetPixel(HDC handle, int x, int y) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return CLR_INVALID;
  Surface* s = dc->Target(false);
  int sx = x + dc->state.origin.x, sy = y + dc->state.origin.y;
  if (!s || sx < 0 || sy < 0 || sx >= s->Width() || sy >= s->Height()) return CLR_INVALID;
  return ToColorRef(s->Get(sx, sy));
}

int FillRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DcObject* dc = LookupDc(handle);
  BrushObject* b = BrushOf(brush);
  if (!dc || !rect || !b) return 0;
  FillWithBrush(dc, *rect, b);
  return 1;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brush) {
  DcObject* dc = LookupDc(handle);
  BrushObject* b = BrushOf(brush);
  if (!dc || !rect || !b) return 0;
  const RECT& r = *rect;
  FillWithBrush(dc, MakeRect(r.left, r.top, r.right, r.top + 1), b);
  FillWithBrush(dc, MakeRect(r.left, r.bottom - 1, r.right, r.bottom), b);
  FillWithBrush(dc, MakeRect(r.left, r.top, r.left + 1, r.bottom), b);
  FillWithBrush(dc, MakeRect(r.right - 1, r.top, r.right, r.bottom), b);
  return 1;
}

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return FALSE;
  RECT r = Normalized(x, y, x + width, y + height);
  Surface* s = dc->Target(true);
  if (!s) return FALSE;
  switch (rop) {
    case PATCOPY: FillWithBrush(dc, r, LookupAs<BrushObject>(dc->state.brush)); return TRUE;
    case BLACKNESS: FillRect(*s, dc->Clip(), ToSurface(dc, r), 0x000000); return TRUE;
    case WHITENESS: FillRect(*s, dc->Clip(), ToSurface(dc, r), 0xFFFFFF); return TRUE;
    case DSTINVERT: InvertRect(*s, dc->Clip(), ToSurface(dc, r)); return TRUE;
    default: return FALSE;
  }
}

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return FALSE;
  if (previous) *previous = dc->state.position;
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return FALSE;
  Line(dc, dc->state.position.x, dc->state.position.y, x, y);
  dc->state.position = POINT{x, y};
  return TRUE;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !points || count < 2) return FALSE;
  for (int i = 1; i < count; ++i) Line(dc, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
  return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !points || count < 2) return FALSE;
  BrushObject* brush = LookupAs<BrushObject>(dc->state.brush);
  if (brush && !brush->hollow && count >= 3) {
    int top = points[0].y, bottom = points[0].y;
    for (int i = 0; i < count; ++i) {
      top = std::min<int>(top, points[i].y);
      bottom = std::max<int>(bottom, points[i].y);
    }
    for (int y = top; y < bottom; ++y) {
      std::vector<int> xs;
      double cy = y + 0.5;
      for (int i = 0; i < count; ++i) {
        const POINT& a = points[i];
        const POINT& b = points[(i + 1) % count];
        if ((a.y <= cy && b.y > cy) || (b.y <= cy && a.y > cy)) {
          xs.push_back(static_cast<int>(std::lround(a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y))));
        }
      }
      std::sort(xs.begin(), xs.end());
      for (size_t k = 0; k + 1 < xs.size(); k += 2) FillWithBrush(dc, MakeRect(xs[k], y, xs[k + 1], y + 1), brush);
    }
  }
  for (int i = 0; i < count; ++i) {
    const POINT& a = points[i];
    const POINT& b = points[(i + 1) % count];
    Line(dc, a.x, a.y, b.x, b.y);
  }
  return TRUE;
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return FALSE;
  RECT r = Normalized(left, top, right, bottom);
  FillWithBrush(dc, r, LookupAs<BrushObject>(dc->state.brush));
  PenObject* pen = LookupAs<PenObject>(dc->state.pen);
  if (pen && pen->style != PS_NULL && r.right > r.left && r.bottom > r.top) {
    Line(dc, r.left, r.top, r.right - 1, r.top);
    Line(dc, r.right - 1, r.top, r.right - 1, r.bottom - 1);
    Line(dc, r.right - 1, r.bottom - 1, r.left, r.bottom - 1);
    Line(dc, r.left, r.bottom - 1, r.left, r.top);
  }
  return TRUE;
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int, int) {
  return Rectangle(handle, left, top, right, bottom);
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return FALSE;
  RECT r = Normalized(left, top, right, bottom);
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return TRUE;
  double a = w / 2.0, b = h / 2.0, cx = r.left + a, cy = r.top + b;
  BrushObject* brush = LookupAs<BrushObject>(dc->state.brush);
  PenObject* pen = LookupAs<PenObject>(dc->state.pen);
  Surface* s = dc->Target(true);
  if (!s) return FALSE;
  Region clip = dc->Clip();
  POINT o = dc->state.origin;
  auto inside = [&](int x, int y) {
    double dx = (x + 0.5 - cx) / a, dy = (y + 0.5 - cy) / b;
    return dx * dx + dy * dy <= 1.0;
  };
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (!inside(x, y)) continue;
      bool edge = !inside(x - 1, y) || !inside(x + 1, y) || !inside(x, y - 1) || !inside(x, y + 1);
      if (edge && pen && pen->style != PS_NULL) {
        PutPixel(*s, clip, x + o.x, y + o.y, ToPixel(pen->color));
      } else if (brush && !brush->hollow) {
        PutPixel(*s, clip, x + o.x, y + o.y, ToPixel(brush->color));
      }
    }
  }
  return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
  if (rop == PATCOPY || rop == BLACKNESS || rop == WHITENESS || rop == DSTINVERT) {
    return PatBlt(dest, x, y, width, height, rop);
  }
  DcObject* d = LookupDc(dest);
  if (!d) return FALSE;
  POINT so{0, 0};
  const Surface* s = SourceOf(src, &so);
  Surface* t = d->Target(true);
  if (!s || !t) return FALSE;
  CopyBlock(*t, d->Clip(), x + d->state.origin.x, y + d->state.origin.y, width, height, *s, srcX + so.x, srcY + so.y,
            rop);
  return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
  DcObject* d = LookupDc(dest);
  if (!d || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return FALSE;
  POINT so{0, 0};
  const Surface* s = SourceOf(src, &so);
  Surface* t = d->Target(true);
  if (!s || !t) return FALSE;
  if (panel::DrawLogKept()) NotePicture(d, ToSurface(d, MakeRect(x, y, x + width, y + height)), nullptr);
  if (width == srcWidth && height == srcHeight) return BitBlt(dest, x, y, width, height, src, srcX, srcY, rop);
  StretchBlock(*t, d->Clip(), x + d->state.origin.x, y + d->state.origin.y, width, height, *s, srcX + so.x,
               srcY + so.y, srcWidth, srcHeight, false, 0);
  return TRUE;
}

BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE src, int srcX, int srcY, int srcWidth,
                      int srcHeight, COLORREF key) {
  DcObject* d = LookupDc(dest);
  if (!d || width <= 0 || height <= 0 || srcWidth <= 0 || srcHeight <= 0) return FALSE;
  POINT so{0, 0};
  const Surface* s = SourceOf(src, &so);
  Surface* t = d->Target(true);
  if (!s || !t) return FALSE;
  if (panel::DrawLogKept()) {
    bool covered = false;
    const RECT keyed = KeyedExtent(x + d->state.origin.x, y + d->state.origin.y, width, height, *s, srcX + so.x,
                                   srcY + so.y, srcWidth, srcHeight, ToPixel(key), d->Clip(), covered);
    NotePicture(d, keyed, &covered);
  }
  StretchBlock(*t, d->Clip(), x + d->state.origin.x, y + d->state.origin.y, width, height, *s, srcX + so.x,
               srcY + so.y, srcWidth, srcHeight, true, ToPixel(key));
  return TRUE;
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                    int srcHeight, UINT key) {
  return TransparentImage(dest, x, y, width, height, src, srcX, srcY, srcWidth, srcHeight, key);
}

int SetStretchBltMode(HDC, int) { return COLORONCOLOR; }

int DrawTextW(HDC handle, LPCWSTR text, int count, LPRECT rect, UINT format) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !text || !rect) return 0;
  if (count < 0) count = static_cast<int>(WStrLen(text));
  std::u16string t = (format & DT_NOPREFIX) ? std::u16string(text, static_cast<size_t>(count)) : StripPrefixes(text, count);
  FontInstance& font = DcFont(*dc);
  const int lineHeight = font.Height();
  const int width = rect->right - rect->left;
  std::vector<TextLine> lines;
  if (format & DT_SINGLELINE) {
    std::u16string flat;
    for (char16_t c : t) {
      if (c != u'\r' && c != u'\n') flat.push_back(c);
    }
    t.swap(flat);
    lines.push_back(TextLine{0, static_cast<int>(t.size())});
  } else {
    int start = 0, n = static_cast<int>(t.size());
    while (start <= n) {
      int end = start;
      while (end < n && t[end] != u'\n') ++end;
      int paraEnd = (end > start && t[end - 1] == u'\r') ? end - 1 : end;
      if (format & DT_WORDBREAK) {
        std::vector<TextLine> wrapped = WrapParagraph(font, t, start, paraEnd, width);
        lines.insert(lines.end(), wrapped.begin(), wrapped.end());
      } else {
        lines.push_back(TextLine{start, paraEnd});
      }
      if (end >= n) break;
      start = end + 1;
    }
  }
  bool shortened = false;
  if (format & DT_END_ELLIPSIS) {
    for (TextLine& line : lines) {
      if (font.Measure(t.c_str(), line.begin, line.end) <= width) continue;
      shortened = true;
      const char16_t* dots = u"...";
      int dotsWidth = font.Measure(dots, 0, 3);
      int end = line.end;
      while (end > line.begin && font.Measure(t.c_str(), line.begin, end) + dotsWidth > width) --end;
      std::u16string cut = t.substr(0, static_cast<size_t>(end)) + u"..." + t.substr(static_cast<size_t>(line.end));
      int delta = static_cast<int>(cut.size()) - static_cast<int>(t.size());
      t.swap(cut);
      line.end = end + 3;
      for (TextLine& later : lines) {
        if (&later > &line) {
          later.begin += delta;
          later.end += delta;
        }
      }
    }
  }
  const int total = lineHeight * static_cast<int>(lines.size());
  int widest = 0;
  for (const TextLine& line : lines) widest = std::max(widest, font.Measure(t.c_str(), line.begin, line.end));
  if (format & DT_CALCRECT) {
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }
  int y = rect->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) {
      y = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    } else if (format & DT_BOTTOM) {
      y = rect->bottom - lineHeight;
    }
  }
  Region clip = dc->Clip();
  if (!(format & DT_NOCLIP)) clip.Intersect(ToSurface(dc, *rect));
  const bool logged = panel::DrawLogKept();
  RECT ink = MakeRect(0, 0, 0, 0);
  for (const TextLine& line : lines) {
    int w = font.Measure(t.c_str(), line.begin, line.end);
    int x = rect->left;
    if (format & DT_CENTER) {
      x = rect->left + (width - w) / 2;
    } else if (format & DT_RIGHT) {
      x = rect->right - w;
    }
    if (line.end > line.begin) {
      DrawRun(dc, clip, font, t, line.begin, line.end, x, y);
      if (logged) {
        RECT lineInk = ToSurface(dc, font.InkBox(x, y + font.Ascent(), t.c_str(), line.begin, line.end));
        UnionRect(&ink, &ink, &lineInk);
      }
    }
    y += lineHeight;
  }
  if (logged) Log(dc, t, *rect, format, ink, (format & DT_NOCLIP) ? nullptr : rect, shortened);
  return (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? y - rect->top : total;
}

BOOL ExtTextOutW(HDC handle, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int*) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return FALSE;
  Surface* s = dc->Target(true);
  if (!s) return FALSE;
  if ((options & ETO_OPAQUE) && rect) FillRect(*s, dc->Clip(), ToSurface(dc, *rect), ToPixel(dc->state.bkColor));
  if (!text || count == 0) return TRUE;
  std::u16string t(text, count);
  FontInstance& font = DcFont(*dc);
  int w = font.Measure(t.c_str(), 0, static_cast<int>(t.size()));
  UINT align = dc->state.textAlign;
  int left = x;
  if ((align & TA_CENTER) == TA_CENTER) {
    left = x - w / 2;
  } else if (align & TA_RIGHT) {
    left = x - w;
  }
  int top = y;
  if ((align & TA_BASELINE) == TA_BASELINE) {
    top = y - font.Ascent();
  } else if (align & TA_BOTTOM) {
    top = y - font.Height();
  }
  Region clip = dc->Clip();
  if ((options & ETO_CLIPPED) && rect) clip.Intersect(ToSurface(dc, *rect));
  DrawRun(dc, clip, font, t, 0, static_cast<int>(t.size()), left, top);
  if (!panel::DrawLogKept()) return TRUE;
  const RECT ink = ToSurface(dc, font.InkBox(left, top + font.Ascent(), t.c_str(), 0, static_cast<int>(t.size())));
  const bool clipped = (options & ETO_CLIPPED) && rect;
  Log(dc, t, MakeRect(left, top, left + w, top + font.Height()), kTextOutFlag | align, ink, clipped ? rect : nullptr,
      false);
  return TRUE;
}

BOOL TextOutW(HDC handle, int x, int y, LPCWSTR text, int count) {
  if (!text) return FALSE;
  if (count < 0) count = static_cast<int>(WStrLen(text));
  return ExtTextOutW(handle, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL GetTextExtentPoint32W(HDC handle, LPCWSTR text, int count, LPSIZE size) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !size || (!text && count > 0)) return FALSE;
  if (count < 0) count = static_cast<int>(WStrLen(text));
  FontInstance& font = DcFont(*dc);
  size->cx = text ? font.Measure(text, 0, count) : 0;
  size->cy = font.Height();
  return TRUE;
}

BOOL GetTextExtentExPointW(HDC handle, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !text) return FALSE;
  if (count < 0) count = static_cast<int>(WStrLen(text));
  FontInstance& font = DcFont(*dc);
  int width = 0, fitted = 0;
  for (int i = 0; i < count;) {
    int start = i;
    width += font.GetGlyph(NextChar(text, i, count)).advance;
    if (width <= maxExtent) fitted = i;
    if (dx) {
      for (int k = start; k < i; ++k) dx[k] = width;
    }
  }
  if (fit) *fit = fitted;
  if (size) {
    size->cx = width;
    size->cy = font.Height();
  }
  return TRUE;
}

BOOL GetTextMetricsW(HDC handle, TEXTMETRICW* metrics) {
  DcObject* dc = LookupDc(handle);
  if (!dc || !metrics) return FALSE;
  FontInstance& font = DcFont(*dc);
  LOGFONTW lf = DcLogFont(*dc);
  *metrics = TEXTMETRICW{};
  metrics->tmHeight = font.Height();
  metrics->tmAscent = font.Ascent();
  metrics->tmDescent = font.Descent();
  metrics->tmInternalLeading = std::max(0, font.Height() - font.PixelSize());
  metrics->tmAveCharWidth = font.AverageWidth();
  metrics->tmMaxCharWidth = font.PixelSize();
  metrics->tmWeight = lf.lfWeight ? lf.lfWeight : FW_NORMAL;
  metrics->tmCharSet = lf.lfCharSet;
  metrics->tmDefaultChar = u'?';
  metrics->tmBreakChar = u' ';
  metrics->tmLastChar = 0xFFFF;
  return TRUE;
}

int GetTextFaceW(HDC handle, int size, LPWSTR face) {
  DcObject* dc = LookupDc(handle);
  if (!dc) return 0;
  std::u16string name = FromUtf8(DcFont(*dc).Family());
  if (!face || size <= 0) return static_cast<int>(name.size()) + 1;
  WStrCopy(face, static_cast<size_t>(size), name.c_str());
  return static_cast<int>(std::min<size_t>(name.size(), static_cast<size_t>(size - 1)));
}

namespace {

std::string FontFilePath(LPCWSTR file) {
  if (!file || !*file) return std::string();
  if (file[0] == u'/') return ToUtf8(file);  // a Linux path, as tools and tests give it
  return panel::MapPath(file);
}

}  // namespace

int AddFontResourceW(LPCWSTR file) {
  std::string path = FontFilePath(file);
  if (path.empty()) return 0;
  return AddFontFile(path);
}

BOOL RemoveFontResourceW(LPCWSTR file) {
  std::string path = FontFilePath(file);
  if (path.empty()) return FALSE;
  return RemoveFontFile(path) ? TRUE : FALSE;
}
