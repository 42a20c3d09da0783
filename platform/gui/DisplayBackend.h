// What the window manager needs of a display: showing the board's screen, which every program of the
// board shares, and the device's input. Internal to the layer.
#pragma once

#include <memory>
#include <string>

#include "BoardScreen.h"
#include "Surface.h"

namespace panel {
namespace gui {

class DisplayBackend {
public:
  virtual ~DisplayBackend() = default;
  virtual std::string Name() const = 0;
  // GUI thread, whenever the program is idle: changed when this program just handed the board a new
  // picture or new window places. A display shows the board (or tells whoever shows it).
  virtual void Present(const std::shared_ptr<BoardScreen>& board, bool changed) = 0;
  // This program took its windows off the board (it ends, or moved to another root).
  virtual void Left(BoardScreen& board) = 0;
  // True when input may come without the program asking (a person at the device).
  virtual bool HasDevice() const = 0;
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
