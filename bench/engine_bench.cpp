// One engine cycle as the engine thread runs it each second, on the delivered database with the unit
// blocks filled as after a poll: a second without a log row (mapping, faults, control steps and the
// save of changed settings), and a minute's second with its t_RealHP row and the 7-day delete on a
// full week of rows; and a second with every control rule at work (heating on the weather curve with the
// PID gear, the expansion valve's PID, the output composition and the unit writes). Goals: median below
// 50 us without the row, below 5 ms with it, below 20 us for the control at work.
#include <benchmark/benchmark.h>

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BenchRoot.h"
#include "CControlEngine.h"
#include "CDbAccess.h"
#include "IndoorBlock.h"
#include "LangTexts.h"
#include "OutdoorBlock.h"
#include "Platform.h"
#include "SoftClock.h"

namespace {

const int64_t kStartMs = 1772452800000LL + 30250;  // 2026-03-02 12:00:30.250

// A board root with a copy of the delivered database, the engine started on it without its threads.
class BenchEngine {
public:
  explicit BenchEngine(bool fullWeek) : m_clock(0, kStartMs, true) {
    std::string file = m_root / "Quellora.db";
    std::filesystem::copy_file(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.db", file);
    if (fullWeek) FillWeek(file);
    g_db.Open(u"\\Quellora.db", false, 2);

    m_engine = std::make_unique<CControlEngine>();
    CSystemData& r = m_engine->m_systemData;
    SoftClock(1);
    m_engine->m_paramTable.Build(r);
    m_engine->InitParams(0);
    LoadLanguage(r.m_dealerId, r.m_languageIndex);
    for (int32_t& v : r.m_linkHistory1) v = 1;
    for (int32_t& v : r.m_linkHistory2) v = 1;
    m_engine->m_faultTable.resize(60);
    m_engine->BuildFaultTable();

    m_indoor->m_linkState = 3;
    for (int i = 0; i < 12; ++i) m_indoor->m_temp1200[i] = 20.0f + i;
    m_outdoor->m_linkState = 1;
    m_outdoor->m_ambientTemp = 7.0f;
    m_outdoor->m_pressure2117 = 8.5f;
    m_outdoor->m_pressure2118 = 28.0f;
    m_outdoor->m_compressorHz = 55;
    m_engine->m_indoorBlock = m_indoor.get();
    m_engine->m_outdoorBlock = m_outdoor.get();
    r.m_runMode = 1;
    r.m_heatingEnabled = 1;
  }
  ~BenchEngine() {
    m_engine.reset();
    g_db.Close();
  }

  // The next cycle: the clock moves on by `ms` and the engine thread's pass runs.
  void Cycle(uint64_t ms) {
    m_clock->Advance(ms);
    m_engine->OnTick();
  }
  CControlEngine& Engine() { return *m_engine; }

private:
  // A week of minute rows up to the start's minute, as a week of running leaves the table.
  static void FillWeek(const std::string& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    bench::InsertWeekOfMinuteRows(db, kStartMs / 1000 - 30);
    sqlite3_close(db);
  }

  panel::ScopedVirtualClock m_clock;
  bench::BenchRoot m_root{"engine-bench"};
  std::unique_ptr<CControlEngine> m_engine;
  std::unique_ptr<IndoorBlock> m_indoor = std::make_unique<IndoorBlock>();
  std::unique_ptr<OutdoorBlock> m_outdoor = std::make_unique<OutdoorBlock>();
};

void BM_CycleWithoutLogRow(benchmark::State& state) {
  BenchEngine bench(false);
  bench.Engine().m_nextLogTime = INT64_MAX / 2;  // no row due
  for (auto _ : state) bench.Cycle(1000);
  state.counters["uptime"] = bench.Engine().m_systemData.m_uptimeSeconds;
}
BENCHMARK(BM_CycleWithoutLogRow)->Unit(benchmark::kMicrosecond);

void BM_CycleWithLogRowOnFullWeek(benchmark::State& state) {
  BenchEngine bench(true);
  bench.Cycle(1000);  // the start's row, due at once
  // Every cycle a minute and a second later (a new wall-clock second): one row due, one week-old row out.
  for (auto _ : state) bench.Cycle(61000);
  state.counters["uptime"] = bench.Engine().m_systemData.m_uptimeSeconds;
}
BENCHMARK(BM_CycleWithLogRowOnFullWeek)->Unit(benchmark::kMillisecond);

void BM_CycleWithEveryControlStep(benchmark::State& state) {
  BenchEngine bench(false);
  CControlEngine& engine = bench.Engine();
  CSystemData& r = engine.m_systemData;
  engine.m_nextLogTime = INT64_MAX / 2;
  r.m_curveEnabled = 1;
  r.m_curveCorrectionEnabled = 1;
  r.m_sleepEnabled = 1;
  r.m_lowNoiseEnabled = 1;
  r.m_outdoorPowerOffEnabled = 1;
  r.m_ecoHeatEnabled = 1;
  r.m_coldGearLimit = 1;
  r.m_gearPidSelect = 1;
  r.m_pid1P = r.m_pid1I = r.m_pid1D = 10;
  r.m_pid2P = r.m_pid2I = r.m_pid2D = 10;
  r.m_sinceDefrostSeconds = 1000;
  r.m_runSeconds = 1000;  // past the PID's start phase
  r.m_eevRunSeconds = 1000;
  r.m_minOffMinutes = 3;
  r.m_pidHold = 1000;
  for (int i = 0; i < 20; ++i) bench.Cycle(1000);  // the heating request, pump and valve settle
  for (auto _ : state) bench.Cycle(1000);
  state.counters["gear"] = r.m_outdoorCmd2000;
  state.counters["eev"] = r.m_outdoorCmd2002;
}
BENCHMARK(BM_CycleWithEveryControlStep)->Unit(benchmark::kMicrosecond);

}  // namespace
