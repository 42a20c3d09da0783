// What the window manager needs of a display: showing the framebuffer and, for a display with a
// device of its own, waiting for its input. Internal to the layer.
#pragma once

#include <memory>
#include <string>

#include "Surface.h"

namespace panel {
namespace gui {

class DisplayBackend {
public:
  virtual ~DisplayBackend() = default;
  virtual std::string Name() const = 0;
  // The screen changed (or was never shown): show it.
  virtual void Present(const Surface& screen) = 0;
  // Polls (timeoutMs 0) or waits up to timeoutMs for the device's input, handing it to the input
  // queue. True when something arrived.
  virtual bool Wait(int timeoutMs) = 0;
  // True when input may come without the program asking (a person at the device).
  virtual bool HasDevice() const = 0;
  // From any thread: makes a Wait return early.
  virtual void Wake() {}
  virtual void InjectDevicePointer(int windowX, int windowY, bool down) = 0;
  virtual uint32_t ShownPixel(int x, int y) = 0;  // 0x00RRGGBB, or 0xFFFFFFFF outside
};

std::unique_ptr<DisplayBackend> MakeHeadlessBackend();
std::unique_ptr<DisplayBackend> MakeSdlBackend();  // null when SDL cannot open a window

// The input queue the backends feed (thread-safe): kind 0 press, 1 move, 2 release.
void QueueInput(int kind, int x, int y);
DisplayBackend& Backend();

}  // namespace gui
}  // namespace panel
