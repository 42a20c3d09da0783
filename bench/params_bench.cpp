// The parameter table's two costs: the engine's once-a-second save with one of the 326 settings
// changed (goal: median below 5 ms), and the first start on the empty delivered database, which
// writes all three parameter tables from the defaults (goal: below 300 ms).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "BenchRoot.h"
#include "CControlEngine.h"
#include "CDbAccess.h"
#include "Platform.h"

namespace {

// A board root in a temporary folder; Fresh() puts a new copy of the delivered file at "\Quellora.db"
// and opens it in g_db.
class BoardRoot {
public:
  ~BoardRoot() { g_db.Close(); }
  void Fresh() {
    g_db.Close();
    const std::string file = m_root / "Quellora.db";
    std::filesystem::copy_file(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.db", file,
                               std::filesystem::copy_options::overwrite_existing);
    g_db.Open(u"\\Quellora.db", false, 2);
  }

private:
  bench::BenchRoot m_root{"params-bench"};
};

void BM_SaveChangedOneOf326(benchmark::State& state) {
  BoardRoot root;
  root.Fresh();
  auto engine = std::make_unique<CControlEngine>();
  engine->m_paramTable.Build(engine->m_systemData);
  engine->InitParams(0);
  int mode = 0;
  for (auto _ : state) {
    engine->m_systemData.m_runMode = mode;
    mode = (mode + 1) % 5;
    if (!engine->m_paramTable.SaveChanged()) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveChangedOneOf326)->Unit(benchmark::kMillisecond);

void BM_InitParamsOnEmptyDeliveredFile(benchmark::State& state) {
  BoardRoot root;
  for (auto _ : state) {
    state.PauseTiming();
    root.Fresh();
    auto engine = std::make_unique<CControlEngine>();
    engine->m_paramTable.Build(engine->m_systemData);
    state.ResumeTiming();
    engine->InitParams(0);
    state.PauseTiming();
    if (engine->m_systemData.m_databaseVersion != 110) state.SkipWithError("tables not rebuilt");
    engine.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_InitParamsOnEmptyDeliveredFile)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
