// The headless display: the framebuffer is all there is; input comes from the program (tests, the
// window socket).
#include "DisplayBackend.h"

namespace panel {
namespace gui {
namespace {

class HeadlessBackend : public DisplayBackend {
public:
  std::string Name() const override { return "headless"; }
  void Present(const Surface& screen) override { m_shown = screen.Pixels(); }
  bool Wait(int) override { return false; }
  bool HasDevice() const override { return false; }
  void InjectDevicePointer(int x, int y, bool down) override {
    if (down && !m_down) {
      QueueInput(0, x, y);
    } else if (!down && m_down) {
      QueueInput(2, x, y);
    } else {
      QueueInput(1, x, y);
    }
    m_down = down;
  }
  uint32_t ShownPixel(int x, int y) override {
    if (x < 0 || y < 0 || x >= 480 || y >= 272 || m_shown.empty()) return 0xFFFFFFFFu;
    return m_shown[static_cast<size_t>(y) * 480 + x];
  }

private:
  std::vector<uint32_t> m_shown;
  bool m_down = false;
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace gui
}  // namespace panel
