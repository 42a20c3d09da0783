// The board's one screen with two programs on it: this one shows a dialog-sized topmost window in the
// middle (as the launcher's question), a second program (this executable started again) a full-screen
// window under it (as the main screen). One frame is what a program does when its picture changed:
// hand its picture and window places to the board, compose the board's picture and show it; the
// pixel read at the end waits until the display has shown it (headless: the composed picture; sdl:
// the SDL window, read back, run under a display server only).
#include <benchmark/benchmark.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "BenchRoot.h"
#include "GuiState.h"
#include "Gui.h"

extern char** environ;

namespace {

const char kPeerVariable[] = "PANEL_BOARD_BENCH_PEER";

LRESULT PaintedProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) return 1;
  if (m != WM_PAINT) return DefWindowProcW(h, m, w, l);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(h, &ps);
  RECT r;
  GetClientRect(h, &r);
  for (int y = 0; y < r.bottom; y += 8) {
    RECT band{0, y, r.right, y + 8};
    HBRUSH b = CreateSolidBrush(RGB(y % 256, 96, static_cast<int>(GetWindowLongPtrW(h, GWL_USERDATA))));
    FillRect(dc, &band, b);
    DeleteObject(b);
  }
  EndPaint(h, &ps);
  return 0;
}

HWND MakePainted(DWORD exStyle, int x, int y, int width, int height, int blue) {
  static bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintedProc;
    wc.lpszClassName = u"BoardBench";
    return RegisterClassW(&wc) != FALSE;
  }();
  (void)registered;
  HWND hwnd = CreateWindowExW(exStyle, u"BoardBench", u"", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr,
                              nullptr, nullptr, nullptr);
  SetWindowLongPtrW(hwnd, GWL_USERDATA, blue);
  return hwnd;
}

// This executable started again by BoardFrame as the board's second program: before any benchmark
// runs, it shows its full-screen window until it is ended.
[[noreturn]] void RunSecondProgram() {
  panel::UseDisplay("headless");
  MakePainted(WS_EX_TOPMOST, 0, 0, 480, 272, 40);
  for (;;) {
    panel::PumpMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}
[[maybe_unused]] const bool g_secondProgram = std::getenv(kPeerVariable) && (RunSecondProgram(), true);

void BoardFrame(benchmark::State& state, const char* display) {
  if (std::string(display) == "sdl" && !std::getenv("DISPLAY")) {
    state.SkipWithError("no display server");
    return;
  }
  bench::BenchRoot root("board-bench");
  if (!panel::UseDisplay(display)) {
    state.SkipWithError("the display cannot start");
    return;
  }
  HWND question = MakePainted(WS_EX_TOPMOST, 162, 64, 155, 143, 200);
  panel::PumpMessages();

  std::string self = "/proc/self/exe";
  char* argv[] = {self.data(), nullptr};
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.push_back(*e);
  env.push_back(std::string(kPeerVariable) + "=1");
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t peer = 0;
  if (posix_spawn(&peer, self.c_str(), nullptr, nullptr, argv, envp.data()) != 0) {
    state.SkipWithError("the second program did not start");
    return;
  }
  bool both = false;
  for (int i = 0; i < 500 && !both; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    both = panel::BoardWindows().size() == 2;
  }
  // Up again over the peer, which came later.
  SetWindowPos(question, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  panel::PumpMessages();
  if (!both || panel::BoardWindows().front().hwnd != question) {
    state.SkipWithError("the two programs' windows are not on the board");
  } else {
    COLORREF shown = 0;
    for (auto _ : state) {
      panel::gui::Screen().Touch();  // this program's picture changed
      panel::gui::PresentIfChanged();
      shown = panel::ShownPixel(240, 136);
    }
    if (shown == CLR_INVALID) state.SkipWithError("nothing was shown");
  }
  kill(peer, SIGKILL);
  waitpid(peer, nullptr, 0);
  panel::UseDisplay("headless");
}

void BM_BoardFrame_Headless(benchmark::State& state) { BoardFrame(state, "headless"); }
void BM_BoardFrame_Sdl(benchmark::State& state) { BoardFrame(state, "sdl"); }
BENCHMARK(BM_BoardFrame_Headless)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BoardFrame_Sdl)->Unit(benchmark::kMicrosecond);

}  // namespace
