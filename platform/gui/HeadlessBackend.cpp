// The headless display: the board's picture is all there is (read back composed, or dumped to
// run/screen.png); input comes from the program (tests, the window socket) or, as from a device,
// through the board to the program on top.
#include "DisplayBackend.h"

namespace panel {
namespace gui {
namespace {

class HeadlessBackend : public DisplayBackend {
public:
  std::string Name() const override { return "headless"; }
  void Present(const std::shared_ptr<BoardScreen>& board, bool changed) override {
    // Another program may show the board on a device.
    if (changed) board->TellPresenter();
  }
  void Left(BoardScreen& board) override { board.TellPresenter(); }
  bool HasDevice() const override { return false; }
  void InjectDevicePointer(int x, int y, bool down) override {
    const int kind = down && !m_down ? 0 : !down && m_down ? 2 : 1;
    m_down = down;
    RouteInput(*CurrentBoard(), kind, x, y);
  }
  uint32_t ShownPixel(int x, int y) override {
    if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return 0xFFFFFFFFu;
    Surface picture(kScreenWidth, kScreenHeight);
    CurrentBoard()->Compose(picture);
    return picture.Get(x, y);
  }

private:
  bool m_down = false;
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace gui
}  // namespace panel
