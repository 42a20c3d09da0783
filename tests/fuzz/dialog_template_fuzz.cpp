// Fuzz target: a dialog file as an update medium may bring it. Whatever it holds, the parser must not
// fault, and a template it takes must hold only numbers within a dialog's limits, whose places and sizes
// turn into pixels without overflow.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "DialogTemplate.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

bool Units(int v) { return v >= -32768 && v <= 32767; }
bool Size(int v) { return v >= 0 && v <= 32767; }

// The far edge in pixels, as the dialog code works it out.
void Pixels(int place, int size) {
  Check(panel::DialogUnitsToPixels(place) <= panel::DialogUnitsToPixels(place + size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  panel::DialogTemplate t;
  std::string error;
  if (!panel::ParseDialogTemplate(text, t, &error)) {
    Check(error.compare(0, 5, "line ") == 0);
    return 0;
  }
  Check(t.cx >= 1 && t.cx <= 32767 && t.cy >= 1 && t.cy <= 32767);
  Check(Units(t.x) && Units(t.y));
  Check(t.fontPoints >= 0 && t.fontPoints <= 72);
  Pixels(t.x, t.cx);
  Pixels(t.y, t.cy);
  for (const panel::DialogItemTemplate& item : t.items) {
    Check(item.id >= -1 && item.id <= 65535);
    Check(Units(item.x) && Units(item.y) && Size(item.cx) && Size(item.cy));
    Pixels(item.x, item.cx);
    Pixels(item.y, item.cy);
  }
  return 0;
}
