// The pixels behind every device context: 32-bit surfaces (0x00RRGGBB per pixel, rows top down) and
// the clip regions drawing is confined to. Internal to the layer; the programs see HDC and HBITMAP.
#pragma once

#include <cstdint>
#include <vector>

#include "GuiTypes.h"

namespace panel {
namespace gui {

inline uint32_t ToPixel(COLORREF c) { return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }
inline COLORREF ToColorRef(uint32_t p) { return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu); }

RECT MakeRect(int left, int top, int right, int bottom);
bool Intersect(const RECT& a, const RECT& b, RECT& out);
bool Empty(const RECT& r);

// A set of disjoint rectangles.
class Region {
public:
  Region() = default;
  explicit Region(const RECT& r) { Set(r); }
  void Set(const RECT& r);
  void Clear() { m_rects.clear(); }
  void Intersect(const RECT& r);
  void Intersect(const Region& other);
  void Subtract(const RECT& r);
  void Add(const RECT& r);  // union, keeping the rectangles disjoint
  void Offset(int dx, int dy);
  bool IsEmpty() const { return m_rects.empty(); }
  bool Contains(int x, int y) const;
  RECT Bounds() const;
  const std::vector<RECT>& Rects() const { return m_rects; }

private:
  std::vector<RECT> m_rects;
};

class Surface {
public:
  Surface(int width, int height, uint32_t fill = 0);
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  uint32_t* Row(int y) { return m_pixels.data() + static_cast<size_t>(y) * m_width; }
  const uint32_t* Row(int y) const { return m_pixels.data() + static_cast<size_t>(y) * m_width; }
  uint32_t Get(int x, int y) const { return Row(y)[x]; }
  RECT Bounds() const { return MakeRect(0, 0, m_width, m_height); }
  std::vector<uint32_t>& Pixels() { return m_pixels; }
  const std::vector<uint32_t>& Pixels() const { return m_pixels; }
  // Counts every change, so a display knows when to show or dump the screen again.
  uint64_t Generation() const { return m_generation; }
  void Touch() { ++m_generation; }

private:
  int m_width;
  int m_height;
  std::vector<uint32_t> m_pixels;
  uint64_t m_generation = 0;
};

// Primitives: every one draws only inside clip (surface coordinates) and the surface.
void FillRect(Surface& s, const Region& clip, const RECT& r, uint32_t pixel);
void InvertRect(Surface& s, const Region& clip, const RECT& r);
void PutPixel(Surface& s, const Region& clip, int x, int y, uint32_t pixel);
// Raster operation codes as in WinGdi.h (SRCCOPY, SRCAND, SRCPAINT, SRCINVERT, NOTSRCCOPY).
void CopyBlock(Surface& dst, const Region& clip, int x, int y, int w, int h, const Surface& src, int sx, int sy,
               DWORD rop);
// Nearest-neighbour scaling of (sx, sy, sw, sh) onto (x, y, w, h); with useKey, source pixels equal to
// key are skipped. Negative widths or heights are refused by the callers.
void StretchBlock(Surface& dst, const Region& clip, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                  int sw, int sh, bool useKey, uint32_t key);
// Where StretchBlock with a key would put pixels: the box of the destination pixels whose samples
// are not the key, before any clipping (empty when all are); covered tells whether clip leaves out
// any of them.
RECT KeyedExtent(int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh, uint32_t key,
                 const Region& clip, bool& covered);
// Blends an 8-bit coverage mask (255 = full) of colour pixel at (x, y).
void BlendMask(Surface& dst, const Region& clip, int x, int y, const uint8_t* mask, int w, int h, int pitch,
               uint32_t pixel);
// A line from (x0, y0) to (x1, y1), the end point excluded; width > 1 draws a square pen.
void DrawLine(Surface& dst, const Region& clip, int x0, int y0, int x1, int y1, uint32_t pixel, int width,
              int style);

}  // namespace gui
}  // namespace panel
