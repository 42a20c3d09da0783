// The SDL2 display: one window per board, showing the board's 480 x 272 screen scaled by
// PANEL_SDL_SCALE (default 2), the left mouse button acting as the finger. The first program of the
// board with something to show takes the board's display name and opens the window; from then on its
// display thread composes the board's picture whenever a program says the board changed, and hands
// the mouse to the program whose window is on top. The other programs only say so. When the program
// showing the board ends, the next one to look takes over: on its next idle moment, or at once when
// the one leaving ended normally and woke it. Drawn into the window's own surface (no renderer, no
// OpenGL), so what the window shows can be read back. Closing the window sends WM_CLOSE to every
// top-level window of the board.
#include <SDL.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "Debug.h"
#include "DisplayBackend.h"
#include "GuiState.h"

namespace panel {
namespace gui {
namespace {

const int kWidth = kScreenWidth;
const int kHeight = kScreenHeight;
const char kTitle[] = "Quellora";

// The one thread of the process that talks to SDL: it opens the window, shows the board and reads the
// mouse. Started when the program first shows a board, it runs to the end of the process (SDL's video
// stays initialised: quitting it would unload the X libraries it opened, and what they keep for the
// process would no longer be accounted for).
class SdlThread {
public:
  static SdlThread& Get() {
    static auto* thread = new SdlThread();
    return *thread;
  }

  // Opens the window showing the board; false when SDL cannot.
  bool Open(const std::shared_ptr<BoardScreen>& board, int scale) {
    bool opened = false;
    Call([&] { opened = OpenWindow(board, scale); });
    return opened;
  }

  void Close() {
    Call([this] { CloseWindow(); });
  }

  // The board changed: shown once the thread comes to it (however often it is said meanwhile).
  void Frame() {
    if (!m_framePending.exchange(true)) Push(kFrame);
  }

  uint32_t ShownPixel(int x, int y) {
    uint32_t pixel = 0xFFFFFFFFu;
    Call([&] {
      if (!m_window || x < 0 || y < 0 || x >= kWidth || y >= kHeight) return;
      Show();
      SDL_Surface* surface = SDL_GetWindowSurface(m_window);
      const int sx = x * m_scale + m_scale / 2, sy = y * m_scale + m_scale / 2;
      if (!surface || surface->format->BytesPerPixel != 4 || sx >= surface->w || sy >= surface->h) return;
      SDL_LockSurface(surface);
      const uint32_t raw =
          reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + sy * surface->pitch)[sx];
      SDL_UnlockSurface(surface);
      Uint8 r = 0, g = 0, b = 0;
      SDL_GetRGB(raw, surface->format, &r, &g, &b);
      pixel = (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) | b;
    });
    return pixel;
  }

  // The pointer as the window gets it; handled before this returns.
  void Inject(int x, int y, bool down) {
    if (!m_ready) return;
    SDL_Event e{};
    const Uint32 id = m_windowId;
    if (down != m_injectedDown) {
      e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
      e.button.windowID = id;
      e.button.button = SDL_BUTTON_LEFT;
      e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
      e.button.clicks = 1;
      e.button.x = x;
      e.button.y = y;
    } else {
      e.type = SDL_MOUSEMOTION;
      e.motion.windowID = id;
      e.motion.state = down ? SDL_BUTTON_LMASK : 0;
      e.motion.x = x;
      e.motion.y = y;
    }
    m_injectedDown = down;
    SDL_PushEvent(&e);
    Call([] {});
  }

private:
  enum Code { kFrame = 1, kCall = 2 };

  SdlThread() {
    std::promise<void> started;
    std::future<void> done = started.get_future();
    std::thread([this, &started] { Run(started); }).detach();
    done.wait();
  }

  void Push(int code) {
    if (!m_ready) return;
    SDL_Event e{};
    e.type = m_event;
    e.user.code = code;
    SDL_PushEvent(&e);
  }

  // Runs fn on the thread and waits for it (bounded, should SDL be stuck).
  void Call(std::function<void()> fn) {
    if (!m_ready) return;
    auto task = std::make_shared<std::packaged_task<void()>>(std::move(fn));
    std::future<void> done = task->get_future();
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_calls.push_back(task);
    }
    Push(kCall);
    if (done.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      OutputDebugStringW(u"display: the SDL thread did not answer within 5 s");
    }
  }

  void Run(std::promise<void>& started) {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window's own framebuffer, no OpenGL: nothing of a GL driver (and its threads) is loaded.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_WasInit(SDL_INIT_VIDEO) || SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
      m_event = SDL_RegisterEvents(1);
      m_ready = m_event != static_cast<Uint32>(-1);
    }
    started.set_value();
    if (!m_ready) return;
    SDL_Event e;
    while (SDL_WaitEvent(&e)) {
      if (e.type == m_event) {
        if (e.user.code == kFrame) {
          m_framePending = false;
          Show();
        } else {
          RunCalls();
        }
      } else {
        Handle(e);
      }
    }
    m_ready = false;
    RunCalls();
  }

  void RunCalls() {
    std::deque<std::shared_ptr<std::packaged_task<void()>>> calls;
    {
      std::lock_guard<std::mutex> guard(m_lock);
      calls.swap(m_calls);
    }
    for (auto& call : calls) (*call)();
  }

  bool OpenWindow(const std::shared_ptr<BoardScreen>& board, int scale) {
    CloseWindow();
    m_scale = scale;
    m_window = SDL_CreateWindow(kTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth * m_scale,
                                kHeight * m_scale, SDL_WINDOW_SHOWN);
    m_source = m_window ? SDL_CreateRGBSurfaceWithFormatFrom(m_picture.Pixels().data(), kWidth, kHeight, 32,
                                                             kWidth * 4, SDL_PIXELFORMAT_RGB888)
                        : nullptr;
    if (!m_source || !SDL_GetWindowSurface(m_window)) {
      CloseWindow();
      return false;
    }
    m_windowId = SDL_GetWindowID(m_window);
    m_board = board;
    m_shownGeneration = ~0ull;
    Show();
    return true;
  }

  void CloseWindow() {
    if (m_source) SDL_FreeSurface(m_source);
    if (m_window) SDL_DestroyWindow(m_window);
    m_source = nullptr;
    m_window = nullptr;
    m_windowId = 0;
    m_board.reset();
    m_down = false;
  }

  // Composes the board when it changed since it was last shown.
  void Show() {
    if (!m_window || !m_board) return;
    if (m_board->Generation() == m_shownGeneration) return;
    m_shownGeneration = m_board->Compose(m_picture);
    Draw();
  }

  // The picture, scaled, onto the window: by hand where the window keeps the picture's pixel format
  // (each pixel repeated across, each row repeated down), else by SDL's own scaling blit.
  void Draw() {
    SDL_Surface* surface = SDL_GetWindowSurface(m_window);
    if (!surface) return;
    if (surface->format->format == SDL_PIXELFORMAT_RGB888 && surface->w >= kWidth * m_scale &&
        surface->h >= kHeight * m_scale) {
      SDL_LockSurface(surface);
      auto* base = static_cast<uint8_t*>(surface->pixels);
      const size_t rowBytes = static_cast<size_t>(kWidth * m_scale) * 4;
      for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(base + static_cast<size_t>(y * m_scale) * surface->pitch);
        const uint32_t* from = m_picture.Row(y);
        if (m_scale == 2) {
          for (int x = 0; x < kWidth; ++x) {
            const uint64_t twice = (static_cast<uint64_t>(from[x]) << 32) | from[x];
            std::memcpy(row + 2 * x, &twice, sizeof twice);
          }
        } else {
          for (int x = 0; x < kWidth; ++x) std::fill(row + x * m_scale, row + (x + 1) * m_scale, from[x]);
        }
        for (int k = 1; k < m_scale; ++k) {
          std::memcpy(base + static_cast<size_t>(y * m_scale + k) * surface->pitch, row, rowBytes);
        }
      }
      SDL_UnlockSurface(surface);
    } else {
      SDL_BlitScaled(m_source, nullptr, surface, nullptr);
    }
    SDL_UpdateWindowSurface(m_window);
  }

  void Handle(const SDL_Event& e) {
    if (!m_window) return;
    switch (e.type) {
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.button != SDL_BUTTON_LEFT) return;
        m_down = true;
        RouteInput(*m_board, 0, e.button.x / m_scale, e.button.y / m_scale);
        return;
      case SDL_MOUSEBUTTONUP:
        if (e.button.button != SDL_BUTTON_LEFT || !m_down) return;
        m_down = false;
        RouteInput(*m_board, 2, e.button.x / m_scale, e.button.y / m_scale);
        return;
      case SDL_MOUSEMOTION:
        if (!m_down) return;  // a finger only moves while it touches
        RouteInput(*m_board, 1, e.motion.x / m_scale, e.motion.y / m_scale);
        return;
      case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_EXPOSED) Draw();
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
          for (const BoardWindow& w : m_board->Windows()) PostMessageW(w.hwnd, WM_CLOSE, 0, 0);
        }
        return;
      default:
        return;
    }
  }

  std::atomic<bool> m_ready{false};
  Uint32 m_event = 0;
  std::mutex m_lock;
  std::deque<std::shared_ptr<std::packaged_task<void()>>> m_calls;
  std::atomic<bool> m_framePending{false};
  std::atomic<Uint32> m_windowId{0};
  bool m_injectedDown = false;  // the caller's side of Inject

  // The thread's own.
  SDL_Window* m_window = nullptr;
  SDL_Surface* m_source = nullptr;  // the picture's pixels, for SDL's blit
  int m_scale = 2;
  bool m_down = false;
  std::shared_ptr<BoardScreen> m_board;
  uint64_t m_shownGeneration = ~0ull;
  Surface m_picture{kWidth, kHeight};
};

class SdlBackend : public DisplayBackend {
public:
  SdlBackend() {
    const char* scale = std::getenv("PANEL_SDL_SCALE");
    if (scale && *scale) m_scale = std::clamp(std::atoi(scale), 1, 8);
  }
  ~SdlBackend() override { Resign(); }

  // Shows the board at once when nobody else does; false when this program would and cannot.
  bool Start() {
    std::shared_ptr<BoardScreen> board = CurrentBoard();
    Present(board, true);
    return !m_failed;
  }

  std::string Name() const override { return "sdl"; }

  void Present(const std::shared_ptr<BoardScreen>& board, bool changed) override {
    if (m_board && m_board != board) Resign();
    if (!m_board && !m_failed) {
      pid_t presenter = board->Presenter();
      if (presenter == 0 || !BoardScreen::Alive(presenter)) Claim(board);
    }
    if (m_board) {
      if (changed) SdlThread::Get().Frame();
    } else if (changed) {
      board->TellPresenter();
    }
  }

  void Left(BoardScreen& board) override {
    if (m_board.get() != &board) {
      board.TellPresenter();
      return;
    }
    Resign();
    // Whoever is left takes over at once rather than at its next timer.
    std::set<pid_t> others;
    for (const BoardWindow& w : board.Windows()) {
      if (w.pid != getpid()) others.insert(w.pid);
    }
    for (pid_t pid : others) WakeProgram(pid);
  }

  bool HasDevice() const override { return true; }

  void InjectDevicePointer(int x, int y, bool down) override {
    if (m_board) {
      SdlThread::Get().Inject(x, y, down);
      return;
    }
    // Another program shows the board: the pointer reaches the board as its window would give it.
    const int kind = down && !m_injectedDown ? 0 : !down && m_injectedDown ? 2 : 1;
    m_injectedDown = down;
    RouteInput(*CurrentBoard(), kind, x / m_scale, y / m_scale);
  }

  uint32_t ShownPixel(int x, int y) override {
    if (m_board) return SdlThread::Get().ShownPixel(x, y);
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) return 0xFFFFFFFFu;
    Surface picture(kWidth, kHeight);
    CurrentBoard()->Compose(picture);
    return picture.Get(x, y);
  }

private:
  void Claim(const std::shared_ptr<BoardScreen>& board) {
    int fd = board->ClaimDisplay();
    if (fd < 0 && !board->IsPrivate()) return;  // another program is taking it
    if (!SdlThread::Get().Open(board, m_scale)) {
      if (fd >= 0) close(fd);
      m_failed = true;
      OutputDebugStringW(u"display: SDL cannot open a window");
      return;
    }
    m_board = board;
    board->SetPresenter(getpid());
    if (fd < 0) return;
    m_displayFd = fd;
    m_stop = false;
    m_listener = std::thread([this, fd] {
      char buffer[64];
      while (!m_stop) {
        if (recv(fd, buffer, sizeof buffer, 0) < 0 && errno != EINTR) break;
        if (!m_stop) SdlThread::Get().Frame();
      }
    });
  }

  void Resign() {
    if (!m_board) return;
    if (m_displayFd >= 0) {
      m_stop = true;
      shutdown(m_displayFd, SHUT_RDWR);
      m_board->TellPresenter();  // in case the shutdown did not wake the listener
      if (m_listener.joinable()) m_listener.join();
      close(m_displayFd);
      m_displayFd = -1;
    }
    SdlThread::Get().Close();
    if (m_board->Presenter() == getpid()) m_board->SetPresenter(0);
    m_board.reset();
  }

  int m_scale = 2;
  bool m_failed = false;
  bool m_injectedDown = false;
  std::shared_ptr<BoardScreen> m_board;  // the board this program shows
  int m_displayFd = -1;
  std::atomic<bool> m_stop{false};
  std::thread m_listener;
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeSdlBackend() {
  auto backend = std::make_unique<SdlBackend>();
  if (!backend->Start()) return nullptr;
  return backend;
}

}  // namespace gui
}  // namespace panel
