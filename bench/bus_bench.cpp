// One steady-state poll period of the unit bus: the indoor unit (address 11) and the outdoor unit (address 2)
// polled by the port's pass against the unit simulator over a pseudo-terminal, on the production clock.
// Reported per period: its duration (Time; goal below 600 ms of the 2000 ms period), the bytes on the wire and
// the time they take at 19200 baud 8E1 (11 bits a character; a pseudo-terminal itself ignores the baud rate),
// and the CPU time of the polling thread (CPU; goal below 1 % of one core, i.e. 20 ms a period). Ten periods
// per run, so that two of them carry the every-fifth-poll reads.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "BenchPort.h"
#include "BenchRoot.h"
#include "CParamDevice.h"
#include "CSerialPort.h"
#include "CUnitDevice.h"
#include "LineServer.h"
#include "Platform.h"
#include "PtyPair.h"
#include "UnitSimulator.h"

namespace {

using bench::BenchPort;
using bench::ThreadCpuMs;

uint64_t WireBytes() {
  panel::SerialLineRecord r;
  return panel::QuerySerialLine(u"COM3", &r) ? r.bytesWritten + r.bytesRead : 0;
}

// A board root whose COM3 is the simulator's line, and a port with both units past their start-up. The port's
// own thread is stopped: the benchmark thread runs the passes, so its CPU time is the bus's.
struct BusRig {
  bench::BenchRoot root{"bus-bench"};
  unitsim::PtyPair pty;
  unitsim::UnitSimulator sim;
  std::unique_ptr<unitsim::LineServer> server;
  std::unique_ptr<BenchPort> port;
  CUnitDevice* indoor = nullptr;
  CParamDevice* outdoor = nullptr;
  bool ok = false;

  BusRig() {
    if (root.Path().empty() || !pty.Open()) return;
    unitsim::WritePortMap(root.Path(), "COM3", pty.SlavePath());
    server = std::make_unique<unitsim::LineServer>(pty, sim);
    server->Start();
    port = std::make_unique<BenchPort>(3);
    if (!port->Open(3, 19200, 8, 2, 1, 2000, 0)) return;
    port->Stop();
    indoor = new CUnitDevice(port.get(), 11);
    indoor->SetTickCount(11);
    port->AddDevice(indoor);
    outdoor = new CParamDevice(port.get(), 2);
    outdoor->SetTickCount(2);
    port->AddDevice(outdoor);
    for (int i = 0; i < 5 && !(indoor->Block().m_ready && outdoor->Block().m_ready); ++i) port->OnTick();
    port->OnTick();  // the first regular pass
    ok = Good();
  }
  ~BusRig() {
    port.reset();
    if (server) server->Stop();
  }
  bool Good() const { return indoor->Block().m_linkState == 3 && outdoor->Block().m_linkState == 1; }
};

void BM_BusPollPeriod(benchmark::State& state) {
  BusRig rig;
  if (!rig.ok) {
    state.SkipWithError("the simulated bus did not come up");
    return;
  }
  uint64_t bytes0 = WireBytes();
  double cpu0 = ThreadCpuMs();
  bool good = true;
  for (auto _ : state) {
    rig.port->OnTick();
    good = good && rig.Good();
  }
  double periods = static_cast<double>(state.iterations());
  double bytes = static_cast<double>(WireBytes() - bytes0) / periods;
  double cpuMs = (ThreadCpuMs() - cpu0) / periods;
  if (!good) state.SkipWithError("a poll failed");
  state.counters["wire_bytes"] = bytes;
  state.counters["wire_ms_19200_8E1"] = bytes * 11.0 * 1000.0 / 19200.0;
  state.counters["cpu_ms"] = cpuMs;
  state.counters["cpu_pct_of_core"] = cpuMs / 2000.0 * 100.0;
}

}  // namespace

BENCHMARK(BM_BusPollPeriod)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
