#include "Surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "WinGdi.h"

namespace panel {
namespace gui {

RECT MakeRect(int left, int top, int right, int bottom) {
  RECT r;
  r.left = left;
  r.top = top;
  r.right = right;
  r.bottom = bottom;
  return r;
}

bool Intersect(const RECT& a, const RECT& b, RECT& out) {
  out.left = std::max(a.left, b.left);
  out.top = std::max(a.top, b.top);
  out.right = std::min(a.right, b.right);
  out.bottom = std::min(a.bottom, b.bottom);
  return out.left < out.right && out.top < out.bottom;
}

bool Empty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

void Region::Set(const RECT& r) {
  m_rects.clear();
  if (!Empty(r)) m_rects.push_back(r);
}

void Region::Intersect(const RECT& r) {
  std::vector<RECT> out;
  out.reserve(m_rects.size());
  for (const RECT& a : m_rects) {
    RECT i;
    if (gui::Intersect(a, r, i)) out.push_back(i);
  }
  m_rects.swap(out);
}

void Region::Intersect(const Region& other) {
  std::vector<RECT> out;
  for (const RECT& a : m_rects) {
    for (const RECT& b : other.m_rects) {
      RECT i;
      if (gui::Intersect(a, b, i)) out.push_back(i);
    }
  }
  m_rects.swap(out);
}

void Region::Subtract(const RECT& r) {
  if (Empty(r)) return;
  std::vector<RECT> out;
  out.reserve(m_rects.size() + 4);
  for (const RECT& a : m_rects) {
    RECT i;
    if (!gui::Intersect(a, r, i)) {
      out.push_back(a);
      continue;
    }
    if (a.top < i.top) out.push_back(MakeRect(a.left, a.top, a.right, i.top));
    if (i.bottom < a.bottom) out.push_back(MakeRect(a.left, i.bottom, a.right, a.bottom));
    if (a.left < i.left) out.push_back(MakeRect(a.left, i.top, i.left, i.bottom));
    if (i.right < a.right) out.push_back(MakeRect(i.right, i.top, a.right, i.bottom));
  }
  m_rects.swap(out);
}

void Region::Add(const RECT& r) {
  if (Empty(r)) return;
  Region piece(r);
  for (const RECT& a : m_rects) piece.Subtract(a);
  m_rects.insert(m_rects.end(), piece.m_rects.begin(), piece.m_rects.end());
}

void Region::Offset(int dx, int dy) {
  for (RECT& a : m_rects) {
    a.left += dx;
    a.right += dx;
    a.top += dy;
    a.bottom += dy;
  }
}

bool Region::Contains(int x, int y) const {
  for (const RECT& a : m_rects) {
    if (x >= a.left && x < a.right && y >= a.top && y < a.bottom) return true;
  }
  return false;
}

RECT Region::Bounds() const {
  if (m_rects.empty()) return MakeRect(0, 0, 0, 0);
  RECT b = m_rects[0];
  for (const RECT& a : m_rects) {
    b.left = std::min(b.left, a.left);
    b.top = std::min(b.top, a.top);
    b.right = std::max(b.right, a.right);
    b.bottom = std::max(b.bottom, a.bottom);
  }
  return b;
}

Surface::Surface(int width, int height, uint32_t fill)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_pixels(static_cast<size_t>(m_width) * m_height, fill) {}

namespace {

// Calls f with each piece of r that lies inside both the clip and the surface.
template <typename F>
void ForEachPiece(const Surface& s, const Region& clip, const RECT& r, F f) {
  RECT target;
  if (!Intersect(r, s.Bounds(), target)) return;
  for (const RECT& c : clip.Rects()) {
    RECT piece;
    if (Intersect(target, c, piece)) f(piece);
  }
}

uint32_t ApplyRop(uint32_t src, uint32_t dst, DWORD rop) {
  switch (rop) {
    case SRCAND: return src & dst;
    case SRCPAINT: return src | dst;
    case SRCINVERT: return (src ^ dst) & 0xFFFFFFu;
    case NOTSRCCOPY: return ~src & 0xFFFFFFu;
    default: return src;
  }
}

}  // namespace

void FillRect(Surface& s, const Region& clip, const RECT& r, uint32_t pixel) {
  ForEachPiece(s, clip, r, [&](const RECT& p) {
    for (int y = p.top; y < p.bottom; ++y) std::fill(s.Row(y) + p.left, s.Row(y) + p.right, pixel);
  });
  s.Touch();
}

void InvertRect(Surface& s, const Region& clip, const RECT& r) {
  ForEachPiece(s, clip, r, [&](const RECT& p) {
    for (int y = p.top; y < p.bottom; ++y) {
      uint32_t* row = s.Row(y);
      for (int x = p.left; x < p.right; ++x) row[x] = ~row[x] & 0xFFFFFFu;
    }
  });
  s.Touch();
}

void PutPixel(Surface& s, const Region& clip, int x, int y, uint32_t pixel) {
  if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height() || !clip.Contains(x, y)) return;
  s.Row(y)[x] = pixel;
  s.Touch();
}

void CopyBlock(Surface& dst, const Region& clip, int x, int y, int w, int h, const Surface& src, int sx, int sy,
               DWORD rop) {
  if (w <= 0 || h <= 0) return;
  // Only the part of the source that exists is copied.
  int x0 = x, y0 = y;
  RECT want = MakeRect(x, y, x + w, y + h);
  RECT srcArea = MakeRect(x0 - sx, y0 - sy, x0 - sx + src.Width(), y0 - sy + src.Height());
  RECT r;
  if (!Intersect(want, srcArea, r)) return;
  const bool same = &dst == &src;
  std::vector<uint32_t> copy;
  if (same) copy = src.Pixels();
  const uint32_t* base = same ? copy.data() : src.Pixels().data();
  const int pitch = src.Width();
  ForEachPiece(dst, clip, r, [&](const RECT& p) {
    for (int yy = p.top; yy < p.bottom; ++yy) {
      const uint32_t* from = base + static_cast<size_t>(yy - y0 + sy) * pitch + (p.left - x0 + sx);
      uint32_t* to = dst.Row(yy) + p.left;
      if (rop == SRCCOPY) {
        std::memcpy(to, from, static_cast<size_t>(p.right - p.left) * sizeof(uint32_t));
      } else {
        for (int i = 0; i < p.right - p.left; ++i) to[i] = ApplyRop(from[i], to[i], rop);
      }
    }
  });
  dst.Touch();
}

void StretchBlock(Surface& dst, const Region& clip, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                  int sw, int sh, bool useKey, uint32_t key) {
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
  const bool same = &dst == &src;
  std::vector<uint32_t> copy;
  if (same) copy = src.Pixels();
  const uint32_t* base = same ? copy.data() : src.Pixels().data();
  const int pitch = src.Width();
  // Source column of each destination column, sampled at pixel centres.
  std::vector<int> cols(static_cast<size_t>(w));
  for (int i = 0; i < w; ++i) cols[i] = sx + static_cast<int>((static_cast<int64_t>(2 * i + 1) * sw) / (2 * w));
  ForEachPiece(dst, clip, MakeRect(x, y, x + w, y + h), [&](const RECT& p) {
    for (int yy = p.top; yy < p.bottom; ++yy) {
      int srow = sy + static_cast<int>((static_cast<int64_t>(2 * (yy - y) + 1) * sh) / (2 * h));
      if (srow < 0 || srow >= src.Height()) continue;
      const uint32_t* from = base + static_cast<size_t>(srow) * pitch;
      uint32_t* to = dst.Row(yy);
      for (int xx = p.left; xx < p.right; ++xx) {
        int scol = cols[xx - x];
        if (scol < 0 || scol >= pitch) continue;
        uint32_t v = from[scol] & 0xFFFFFFu;
        if (useKey && v == key) continue;
        to[xx] = v;
      }
    }
  });
  dst.Touch();
}

RECT KeyedExtent(int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh, uint32_t key,
                 const Region& clip, bool& covered) {
  RECT box = MakeRect(0, 0, 0, 0);
  covered = false;
  if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return box;
  int left = w, right = -1, top = h, bottom = -1;
  for (int j = 0; j < h; ++j) {
    int srow = sy + static_cast<int>((static_cast<int64_t>(2 * j + 1) * sh) / (2 * h));
    if (srow < 0 || srow >= src.Height()) continue;
    const uint32_t* from = src.Row(srow);
    for (int i = 0; i < w; ++i) {
      int scol = sx + static_cast<int>((static_cast<int64_t>(2 * i + 1) * sw) / (2 * w));
      if (scol < 0 || scol >= src.Width() || (from[scol] & 0xFFFFFFu) == key) continue;
      if (!covered && !clip.Contains(x + i, y + j)) covered = true;
      left = std::min(left, i);
      right = std::max(right, i);
      top = std::min(top, j);
      bottom = std::max(bottom, j);
    }
  }
  if (right < 0) return box;
  return MakeRect(x + left, y + top, x + right + 1, y + bottom + 1);
}

void BlendMask(Surface& dst, const Region& clip, int x, int y, const uint8_t* mask, int w, int h, int pitch,
               uint32_t pixel) {
  if (w <= 0 || h <= 0) return;
  const uint32_t cr = (pixel >> 16) & 0xFF, cg = (pixel >> 8) & 0xFF, cb = pixel & 0xFF;
  ForEachPiece(dst, clip, MakeRect(x, y, x + w, y + h), [&](const RECT& p) {
    for (int yy = p.top; yy < p.bottom; ++yy) {
      const uint8_t* m = mask + static_cast<size_t>(yy - y) * pitch + (p.left - x);
      uint32_t* to = dst.Row(yy) + p.left;
      for (int i = 0; i < p.right - p.left; ++i) {
        uint32_t a = m[i];
        if (a == 0) continue;
        if (a == 255) {
          to[i] = pixel;
          continue;
        }
        uint32_t d = to[i];
        uint32_t dr = (d >> 16) & 0xFF, dg = (d >> 8) & 0xFF, db = d & 0xFF;
        dr += ((cr - dr) * a + 127) / 255;
        dg += ((cg - dg) * a + 127) / 255;
        db += ((cb - db) * a + 127) / 255;
        to[i] = ((dr & 0xFF) << 16) | ((dg & 0xFF) << 8) | (db & 0xFF);
      }
    }
  });
  dst.Touch();
}

void DrawLine(Surface& dst, const Region& clip, int x0, int y0, int x1, int y1, uint32_t pixel, int width,
              int style) {
  if (style == PS_NULL) return;
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int stepX = x0 < x1 ? 1 : -1, stepY = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int x = x0, y = y0;
  int n = 0;
  const int half = width > 1 ? width / 2 : 0;
  while (!(x == x1 && y == y1)) {
    bool on = true;
    if (style == PS_DASH) on = (n % 9) < 6;
    if (style == PS_DOT) on = (n % 2) == 0;
    if (on) {
      if (width > 1) {
        FillRect(dst, clip, MakeRect(x - half, y - half, x - half + width, y - half + width), pixel);
      } else {
        PutPixel(dst, clip, x, y, pixel);
      }
    }
    ++n;
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += stepX;
    }
    if (e2 <= dx) {
      err += dx;
      y += stepY;
    }
  }
  dst.Touch();
}

}  // namespace gui
}  // namespace panel
