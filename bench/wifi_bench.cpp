// The WiFi port idle in transparent mode: the device polled every 20 ms by its port's pass against the module
// simulator (transparent, no server traffic) over a pseudo-terminal, on the production clock. Reported: the
// CPU time of the polling thread per second of running (goal below 0.5 % of one core, 5 ms a second).
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "BenchPort.h"
#include "BenchRoot.h"
#include "CSerialPort.h"
#include "CWifiDevice.h"
#include "CloudServer.h"
#include "PtyPair.h"
#include "WifiLine.h"
#include "WifiModule.h"

namespace {

using bench::BenchPort;
using bench::ThreadCpuMs;

void BM_WifiIdleTransparent(benchmark::State& state) {
  bench::BenchRoot root("wifi-bench");
  unitsim::PtyPair pty;
  if (root.Path().empty() || !pty.Open()) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  unitsim::WritePortMap(root.Path(), "COM1", pty.SlavePath());
  wifisim::WifiModule module;
  wifisim::CloudServer server;
  wifisim::WifiLine line(pty, module, server);
  BenchPort port(1);
  if (!port.Open(1, 57600, 8, 0, 1, 20, 0)) {
    state.SkipWithError("the line did not open");
    return;
  }
  port.Stop();  // the benchmark thread runs the passes, so its CPU time is the port's
  auto* device = new CWifiDevice(&port, 1);
  port.AddDevice(device);
  device->Block().m_enabled = 1;
  device->Block().m_unitCount = 1;
  device->Block().m_onlineCountdown = 1000000;  // online: no recovery, no uploads within the run
  device->Block().m_tickCount = 1;
  const int ticks = 50;  // one second at 20 ms
  for (auto _ : state) {
    const double cpu0 = ThreadCpuMs();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i) port.OnTick();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    const double cpuMs = ThreadCpuMs() - cpu0;
    state.counters["cpu_ms_per_s"] = cpuMs / seconds;
    state.counters["cpu_pct_of_core"] = cpuMs / seconds / 10.0;
  }
  state.counters["polls"] = device->Block().m_tickCount;
}

}  // namespace

BENCHMARK(BM_WifiIdleTransparent)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
