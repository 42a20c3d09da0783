// The objects behind the drawing handles, and the device-context state. Internal to the layer.
// Handles are the addresses of these objects, accepted only while registered in the live tables.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "FontEngine.h"
#include "Surface.h"
#include "WinGdi.h"

namespace panel {
namespace gui {

struct GdiObject {
  explicit GdiObject(DWORD k) : kind(k) {}
  virtual ~GdiObject() = default;
  DWORD kind;
  bool stock = false;
  bool deletePending = false;  // DeleteObject came while selected: freed when deselected
  int selected = 0;            // number of contexts holding it
  std::shared_ptr<void> wrapper;  // the class library's stand-in object for this handle, if any
};

struct BrushObject : GdiObject {
  BrushObject() : GdiObject(OBJ_BRUSH) {}
  COLORREF color = 0;
  bool hollow = false;
};

struct PenObject : GdiObject {
  PenObject() : GdiObject(OBJ_PEN) {}
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct FontObject : GdiObject {
  FontObject() : GdiObject(OBJ_FONT) {}
  LOGFONTW logFont{};
  std::shared_ptr<FontInstance> instance;
};

struct BitmapObject : GdiObject {
  BitmapObject() : GdiObject(OBJ_BITMAP) {}
  // Pixels loaded from a resource are shared between bitmaps until one is drawn on.
  std::shared_ptr<Surface> surface;
  bool shared = false;
  Surface& Writable();
  const Surface& Readable() const { return *surface; }
};

struct DcState {
  HBITMAP bitmap = nullptr;
  HFONT font = nullptr;
  HBRUSH brush = nullptr;
  HPEN pen = nullptr;
  COLORREF textColor = 0;
  COLORREF bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  UINT textAlign = TA_LEFT | TA_TOP;
  POINT position{0, 0};
  POINT origin{0, 0};  // surface position of logical (0, 0)
  bool hasUserClip = false;
  Region userClip;  // surface coordinates
};

struct DcObject {
  enum Kind { Memory, Window, Screen };
  Kind kind = Memory;
  HWND window = nullptr;
  bool paint = false;
  POINT base{0, 0};  // surface position of logical (0, 0) before any viewport offset
  Region baseClip;  // surface coordinates: the visible part of the window (window contexts)
  RECT area{};      // surface coordinates: the window's part that its parents let show, whatever covers it
  DcState state;
  std::vector<DcState> saved;
  std::shared_ptr<void> wrapper;  // the class library's stand-in CDC for this handle, if any

  Surface* Target(bool forWriting);
  Region Clip();  // what drawing may touch now, surface coordinates
};

// Handle checks.
GdiObject* LookupObject(HGDIOBJ handle);
template <typename T>
T* LookupAs(HGDIOBJ handle) {
  return dynamic_cast<T*>(LookupObject(handle));
}
DcObject* LookupDc(HDC dc);

// A window context over the screen, clipped to region (screen coordinates), origin at the client's
// top-left corner; area is the rectangle it stands for (the draw log holds texts to it). Used by
// GetDC and BeginPaint.
HDC CreateWindowDc(HWND window, const Region& clip, POINT origin, bool paint, const RECT& area);
void FreeDc(HDC dc);

// A bitmap that owns the given pixels (LoadBitmap, tests).
HBITMAP CreateBitmapFromSurface(std::shared_ptr<Surface> surface, bool shared);
// The pixels of a bitmap handle, null for anything else.
const Surface* BitmapPixels(HBITMAP bitmap);

// The context's font rendering.
FontInstance& DcFont(DcObject& dc);
LOGFONTW DcLogFont(DcObject& dc);

}  // namespace gui
}  // namespace panel
