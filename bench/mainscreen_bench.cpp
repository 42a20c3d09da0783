// One pass of the main screen's 500 ms timer with its refresh, as the terminal runs it: the dealer
// look made as at start-up, a live value that changes every pass (so a label is set and repainted),
// the fault ticker's copy of the fault table every fourth pass, the look-up of the launcher's window
// and the backlight call. The repaint the pass causes is included.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchRoot.h"
#include "CSystemData.h"
#include "DlgMain.h"
#include "Gui.h"
#include "MainScreenScenes.h"
#include "RunningScenes.h"

namespace {

void BM_MainScreenTimerPass(benchmark::State& state) {
  bench::BenchRoot root("mainscreen-bench");
  panel::HeadlessScreen screen;
  panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
  {
    scenes::DealerLook look(0);
    scenes::SetOperation(scenes::Operation::kHeating);
    scenes::FailRoomSensor(scenes::kSceneNow);
    std::unique_ptr<DlgMain> main = scenes::OpenMainScreen();
    if (!main) {
      state.SkipWithError("the main screen's template is not built");
      return;
    }
    CSystemData& r = *GetSystemData();
    int pass = 0;
    for (auto _ : state) {
      r.m_tankTemp = 48.0f + 0.1f * static_cast<float>(pass++ % 10);
      main->Tick();
      panel::PumpMessages();
    }
    main->DestroyWindow();
    scenes::ResetFaults();
  }
  panel::SetResourceDir("");
}
BENCHMARK(BM_MainScreenTimerPass)->Unit(benchmark::kMicrosecond);

}  // namespace
