// One pass of the main screen's 500 ms timer with its refresh, as the terminal runs it: the dealer
// look made as at start-up, a live value that changes every pass (so a label is set and repainted),
// the fault ticker's copy of the fault table every fourth pass, the look-up of the launcher's window
// and the backlight call. The repaint the pass causes is included. And how often the GUI thread wakes
// while the main screen sits idle.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "BenchRoot.h"
#include "CSystemData.h"
#include "DlgMain.h"
#include "Gui.h"
#include "MainScreenScenes.h"
#include "RunningScenes.h"

namespace {

// Runs body over the main screen of dealer 0 in heating (a fault in its ticker when asked), made as
// the start-up makes it, on a board root of its own.
void OverMainScreen(benchmark::State& state, bool fault, const std::function<void(DlgMain&)>& body) {
  bench::BenchRoot root("mainscreen-bench");
  panel::HeadlessScreen screen;
  panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
  {
    scenes::DealerLook look(0);
    scenes::SetOperation(scenes::Operation::kHeating);
    if (fault) scenes::FailRoomSensor(scenes::kSceneNow);
    std::unique_ptr<DlgMain> main = scenes::OpenMainScreen();
    if (main) {
      body(*main);
      main->DestroyWindow();
    } else {
      state.SkipWithError("the main screen's template is not built");
    }
    scenes::ResetFaults();
  }
  panel::SetResourceDir("");
}

void BM_MainScreenTimerPass(benchmark::State& state) {
  OverMainScreen(state, true, [&](DlgMain& main) {
    CSystemData& r = *GetSystemData();
    int pass = 0;
    for (auto _ : state) {
      r.m_tankTemp = 48.0f + 0.1f * static_cast<float>(pass++ % 10);
      main.Tick();
      panel::PumpMessages();
    }
  });
}
BENCHMARK(BM_MainScreenTimerPass)->Unit(benchmark::kMicrosecond);

// How often the GUI thread wakes while the main screen sits idle on the board's real clock: for the
// timers of the main screen and its pages (500 to 1000 ms) and nothing else. Reported: wakeups_per_s,
// the thread's voluntary context switches (each sleep it wakes from) per second over 3 s of the
// program's own message loop.
long VoluntarySwitches() {
  std::ifstream status("/proc/thread-self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::atol(line.c_str() + 24);
  }
  return -1;
}

void BM_IdleMainScreenWakeups(benchmark::State& state) {
  OverMainScreen(state, false, [&](DlgMain&) {
    const double kSeconds = 3.0;
    for (auto _ : state) {
      std::thread quit([&] {
        std::this_thread::sleep_for(std::chrono::duration<double>(kSeconds));
        PostQuitMessage(0);  // ends the loop below
      });
      const long before = VoluntarySwitches();
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
      const long woken = VoluntarySwitches() - before;
      quit.join();
      state.counters["wakeups_per_s"] = static_cast<double>(woken) / kSeconds;
    }
  });
}
BENCHMARK(BM_IdleMainScreenWakeups)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
