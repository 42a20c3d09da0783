// Bus drivers on COM3 with their port's thread stopped, so the test runs the passes; their far side is the
// unit simulator (one of its unit boards, or a register-bank slave of the further bus types), served inside
// the port's sleeps on the virtual clock.
#pragma once

#include <cstdint>
#include <vector>

#include "BusTestLine.h"
#include "CSerialPort.h"
#include "DemoMode.h"

namespace bustest {

class PassPort : public CSerialPort {
public:
  using CSerialPort::CSerialPort;
  using CSerialPort::OnTick;
};

// A unit's driver at its address, its data block and the simulator's board it talks to.
template <typename Device, typename Block, typename Board>
struct UnitRig {
  using Request = unitsim::RtuSlave::Request;
  SimulatedBus bus;
  PassPort port{3};
  Device* device;
  Block& block;
  Board& unit;

  UnitRig(int address, Board& (unitsim::UnitSimulator::*board)())
      : device(new Device(&port, address)), block(device->Block()), unit((bus.sim.*board)()) {
    EXPECT_EQ(port.Open(3, 19200, 8, 2, 1, 2000, 0), 1);
    port.Stop();
    device->SetTickCount(address);
    port.AddDevice(device);
  }
  void Pass() { port.OnTick(); }
  std::vector<Request> Take() {
    std::vector<Request> r = unit.Requests();
    unit.ClearRequests();
    return r;
  }
  // Every request but the reads, in order.
  std::vector<Request> Writes() {
    std::vector<Request> w;
    for (const Request& r : Take()) {
      if (r.function != 3) w.push_back(r);
    }
    return w;
  }
};

struct DemoOn {
  DemoOn() { DemoMode = 1; }
  ~DemoOn() { DemoMode = 0; }
};

inline bool Same(const unitsim::RtuSlave::Request& r, uint8_t function, uint16_t address, uint16_t count) {
  return r.function == function && r.address == address && r.count == count;
}

template <typename Device>
struct DeviceRig {
  SimulatedBus bus;
  unitsim::RtuSlave slave;
  PassPort port{3};
  Device* device;

  explicit DeviceRig(int address) : slave(address), device(new Device(&port, address)) {
    bus.sim.AddSlave(&slave);
    EXPECT_EQ(port.Open(3, 19200, 8, 2, 1, 2000, 0), 1);
    port.Stop();
    device->SetTickCount(address);
    port.AddDevice(device);
  }
  void Pass() { port.OnTick(); }
  std::vector<unitsim::RtuSlave::Request> Take() {
    std::vector<unitsim::RtuSlave::Request> r = slave.Requests();
    slave.ClearRequests();
    return r;
  }
  // (function, register number, value) of each write, in order.
  std::vector<std::vector<int>> Writes() {
    std::vector<std::vector<int>> w;
    for (const auto& r : Take()) {
      if (r.function == 5 || r.function == 6) w.push_back({r.function, r.address + 1, r.values[0]});
    }
    return w;
  }
};

}  // namespace bustest
