// The database's two hot paths on a full week of minute log (10,080 rows): the engine's once-a-minute
// insert followed by the 7-day delete, and the trend page's load of the last day (1,440 rows).
// Goals: insert + delete median below 5 ms, the day's load below 10 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "BenchRoot.h"
#include "CDbAccess.h"
#include "DbTables.h"
#include "Platform.h"

namespace {

const int64_t kNow = 1767225600;  // 2026-01-01 00:00

// A board root in a temporary folder holding "\Quellora.db" with a week of minute rows up to kNow.
class WeekOfLog {
public:
  WeekOfLog() {
    bench::MakeWeekOfLogDb(m_root, kNow);
    g_db.Open(u"\\Quellora.db", false, 2);
  }
  ~WeekOfLog() { g_db.Close(); }

private:
  bench::BenchRoot m_root{"db-bench"};
};

void BM_MinuteLogInsertAndWeekDelete(benchmark::State& state) {
  WeekOfLog file;
  if (!g_db.IsOpen()) {
    state.SkipWithError("database not open");
    return;
  }
  RealRecord r;
  r.m_snapshotCode = 1;
  r.m_compressorHz = 45;
  r.m_roomTemp = 21.5f;
  r.m_tankTemp = 48.2f;
  r.m_ambientTemp = 3.5f;
  r.m_time = kNow;
  for (auto _ : state) {
    // One row in, the oldest out: the table stays at a week of rows.
    int inserted = InsertRealData(r);
    int deleted = DeleteRealData(1, r.m_time, 7);
    if (!inserted || !deleted) state.SkipWithError("write failed");
    r.m_time += 60;
  }
}
BENCHMARK(BM_MinuteLogInsertAndWeekDelete)->Unit(benchmark::kMillisecond);

void BM_LoadRealDataOfOneDay(benchmark::State& state) {
  WeekOfLog file;
  RealRecordArray rows;
  for (auto _ : state) {
    LoadRealData(rows, 1, kNow - 86400);
    benchmark::DoNotOptimize(rows.data());
  }
  if (rows.size() != 1440) state.SkipWithError("expected a day of rows");
  state.counters["rows"] = static_cast<double>(rows.size());
}
BENCHMARK(BM_LoadRealDataOfOneDay)->Unit(benchmark::kMillisecond);

}  // namespace
