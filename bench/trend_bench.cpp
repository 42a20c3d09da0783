// Opening the trend page on a full day of minute log: the page created and shown, the day's 1,440
// rows read from t_RealHP (out of a week's), the curve's points made and the page painted.
// Goal: median below 20 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchRoot.h"
#include "CDbAccess.h"
#include "DlgDesign4.h"
#include "Gui.h"
#include "Platform.h"
#include "SoftClock.h"

namespace {

const int64_t kNow = 1767225600;  // 2026-01-01 00:00, a minute boundary

class DayOfLog {
public:
  DayOfLog() {
    bench::MakeWeekOfLogDb(m_root, kNow);
    g_db.Open(u"\\Quellora.db", false, 2);
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
    g_clock = panel::EpochMsToSystemTime(kNow * 1000);
    g_now = kNow;
  }
  ~DayOfLog() {
    g_db.Close();
    panel::SetResourceDir("");
  }

private:
  bench::BenchRoot m_root{"trend-bench"};
};

void BM_OpenTrendPageOnADay(benchmark::State& state) {
  DayOfLog log;
  panel::HeadlessScreen screen;
  if (!g_db.IsOpen()) {
    state.SkipWithError("database not open");
    return;
  }
  CWnd host;
  host.CreateEx(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 480, 272), nullptr, 0);
  size_t points = 0;
  for (auto _ : state) {
    DlgDesign4 page(&host);
    if (!page.Create(DlgDesign4::kTemplate, &host)) {
      state.SkipWithError("no trend page");
      break;
    }
    page.ShowPage(SW_SHOW);
    page.UpdateCurve();
    panel::PumpMessages();
    points = page.Curve().Points().size();
    page.DestroyWindow();
  }
  state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_OpenTrendPageOnADay)->Unit(benchmark::kMillisecond);

}  // namespace
