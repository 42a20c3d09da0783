// The SDL2 display: a window showing the 480 x 272 screen scaled by PANEL_SDL_SCALE (default 2), the
// left mouse button acting as the finger. Drawn with SDL's software renderer, so what the window shows
// can be read back. Closing the window sends WM_CLOSE to the program's top-level windows.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "DisplayBackend.h"
#include "GuiState.h"

namespace panel {
namespace gui {
namespace {

const int kWidth = 480;
const int kHeight = 272;

std::string Title() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  std::string exe = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "panel";
  size_t slash = exe.rfind('/');
  return slash == std::string::npos ? exe : exe.substr(slash + 1);
}

class SdlBackend : public DisplayBackend {
public:
  ~SdlBackend() override {
    if (m_texture) SDL_DestroyTexture(m_texture);
    if (m_renderer) SDL_DestroyRenderer(m_renderer);
    if (m_window) SDL_DestroyWindow(m_window);
    // SDL's video stays initialised to the end of the process: quitting it would unload the X
    // libraries it opened, and what they keep for the process would no longer be accounted for.
  }

  bool Open() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    // The window's own framebuffer, no OpenGL: nothing of a GL driver (and its threads) is loaded.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* scale = std::getenv("PANEL_SDL_SCALE");
    if (scale && *scale) m_scale = std::clamp(std::atoi(scale), 1, 8);
    m_window = SDL_CreateWindow(Title().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth * m_scale,
                                kHeight * m_scale, SDL_WINDOW_SHOWN);
    if (!m_window) return false;
    m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer) return false;
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kWidth, kHeight);
    if (!m_texture) return false;
    m_wakeEvent = SDL_RegisterEvents(1);
    return true;
  }

  std::string Name() const override { return "sdl"; }

  void Present(const Surface& screen) override {
    if (screen.Width() != kWidth || screen.Height() != kHeight) return;
    SDL_UpdateTexture(m_texture, nullptr, screen.Pixels().data(), kWidth * 4);
    Render();
  }

  bool Wait(int timeoutMs) override {
    SDL_Event e;
    bool got = timeoutMs > 0 ? SDL_WaitEventTimeout(&e, timeoutMs) != 0 : SDL_PollEvent(&e) != 0;
    bool any = false;
    while (got) {
      any |= Handle(e);
      got = SDL_PollEvent(&e) != 0;
    }
    return any;
  }

  bool HasDevice() const override { return true; }

  void Wake() override {
    SDL_Event e{};
    e.type = m_wakeEvent;
    SDL_PushEvent(&e);
  }

  void InjectDevicePointer(int x, int y, bool down) override {
    SDL_Event e{};
    if (down != m_injectedDown) {
      e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      e.button.windowID = SDL_GetWindowID(m_window);
      e.button.button = SDL_BUTTON_LEFT;
      e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
      e.button.clicks = 1;
      e.button.x = x;
      e.button.y = y;
    } else {
      e.type = SDL_MOUSEMOTION;
      e.motion.windowID = SDL_GetWindowID(m_window);
      e.motion.state = down ? SDL_BUTTON_LMASK : 0;
      e.motion.x = x;
      e.motion.y = y;
    }
    m_injectedDown = down;
    SDL_PushEvent(&e);
  }

  uint32_t ShownPixel(int x, int y) override {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0xFFFFFFFFu;
    SDL_Rect r{x * m_scale + m_scale / 2, y * m_scale + m_scale / 2, 1, 1};
    uint32_t pixel = 0;
    if (SDL_RenderReadPixels(m_renderer, &r, SDL_PIXELFORMAT_RGB888, &pixel, 4) != 0) return 0xFFFFFFFFu;
    return pixel & 0xFFFFFFu;
  }

private:
  void Render() {
    SDL_RenderClear(m_renderer);
    SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
    SDL_RenderPresent(m_renderer);
  }

  bool Handle(const SDL_Event& e) {
    switch (e.type) {
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT) return false;
        m_down = true;
        QueueInput(0, e.button.x / m_scale, e.button.y / m_scale);
        return true;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT || !m_down) return false;
        m_down = false;
        QueueInput(2, e.button.x / m_scale, e.button.y / m_scale);
        return true;
      case SDL_MOUSEMOTION:
        if (!m_down) return false;  // a finger only moves while it touches
        QueueInput(1, e.motion.x / m_scale, e.motion.y / m_scale);
        return true;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) Render();
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) CloseAll();
        return false;
      case SDL_QUIT:
        CloseAll();
        return true;
      default:
        return false;
    }
  }

  void CloseAll() {
    for (Window* t : State().topLevel) PostMessageW(t->handle, WM_CLOSE, 0, 0);
  }

  SDL_Window* m_window = nullptr;
  SDL_Renderer* m_renderer = nullptr;
  SDL_Texture* m_texture = nullptr;
  int m_scale = 2;
  bool m_down = false;
  bool m_injectedDown = false;
  Uint32 m_wakeEvent = 0;
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeSdlBackend() {
  auto backend = std::make_unique<SdlBackend>();
  if (!backend->Open()) return nullptr;
  return backend;
}

}  // namespace gui
}  // namespace panel
