// One Modbus read of 30 holding registers with no waits before or after, by our master and by libmodbus's
// master, in one run, on the same pseudo-terminal against the same simulated slave (address 5, answering at
// once on its own thread). Reported: the mean time of one read by each and ours over theirs (goal: 1.2 at most).
// The line is taken in turns: our port is opened exclusively, so each side opens and closes it around its reads.
#include <benchmark/benchmark.h>
#include <modbus.h>

#include <chrono>
#include <cstdint>
#include <memory>

#include "BenchRoot.h"
#include "CModbusDevice.h"
#include "CSerialPort.h"
#include "LineServer.h"
#include "PtyPair.h"
#include "RtuSlave.h"
#include "UnitSimulator.h"

namespace {

const int kSlave = 5;
const int kRegisters = 30;
const uint16_t kFirst = 100;  // wire address
const int kReadsPerTurn = 50;

struct Peer {
  bench::BenchRoot root{"modbus-bench"};
  unitsim::PtyPair pty;
  unitsim::UnitSimulator sim;
  unitsim::RtuSlave slave{kSlave};
  std::unique_ptr<unitsim::LineServer> server;
  bool ok = false;

  Peer() {
    if (root.Path().empty() || !pty.Open()) return;
    unitsim::WritePortMap(root.Path(), "COM3", pty.SlavePath());
    slave.AddHolding(kFirst, kRegisters, 1234);
    sim.AddSlave(&slave);
    server = std::make_unique<unitsim::LineServer>(pty, sim);
    server->Start();
    ok = true;
  }
  ~Peer() {
    if (server) server->Stop();
  }
};

using Clock = std::chrono::steady_clock;

// Microseconds per read by our master; 0 when a read failed.
double OursTurn() {
  CSerialPort port(3);
  if (!port.Open(3, 19200, 8, 2, 1, 2000, 0)) return 0;
  port.Stop();
  CModbusDevice device(0, &port, kSlave);
  uint16_t regs[kRegisters];
  const auto start = Clock::now();
  for (int i = 0; i < kReadsPerTurn; ++i) {
    if (device.ReadHoldingRegs(kFirst, kRegisters, regs, 0, 0) != kRegisters || regs[0] != 1234) return 0;
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kReadsPerTurn;
}

double TheirsTurn(const std::string& device) {
  modbus_t* ctx = modbus_new_rtu(device.c_str(), 19200, 'E', 8, 1);
  if (!ctx) return 0;
  double us = 0;
  if (modbus_set_slave(ctx, kSlave) == 0 && modbus_connect(ctx) == 0) {
    uint16_t regs[kRegisters];
    const auto start = Clock::now();
    bool good = true;
    for (int i = 0; i < kReadsPerTurn && good; ++i) {
      good = modbus_read_registers(ctx, kFirst, kRegisters, regs) == kRegisters && regs[0] == 1234;
    }
    if (good) us = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kReadsPerTurn;
    modbus_close(ctx);
  }
  modbus_free(ctx);
  return us;
}

void BM_ReadThirtyRegisters_OursAgainstLibmodbus(benchmark::State& state) {
  Peer peer;
  if (!peer.ok) {
    state.SkipWithError("no pseudo-terminal");
    return;
  }
  double ours = 0, theirs = 0;
  int turns = 0;
  for (auto _ : state) {
    const double a = OursTurn();
    const double b = TheirsTurn(peer.pty.SlavePath());
    if (a == 0 || b == 0) {
      state.SkipWithError("a read failed");
      return;
    }
    ours += a;
    theirs += b;
    ++turns;
  }
  state.counters["ours_us"] = ours / turns;
  state.counters["libmodbus_us"] = theirs / turns;
  state.counters["ratio"] = ours / theirs;
}

}  // namespace

BENCHMARK(BM_ReadThirtyRegisters_OursAgainstLibmodbus)->Iterations(10)->Unit(benchmark::kMillisecond)->UseRealTime();
