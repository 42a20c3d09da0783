// A device of one of the further bus types on COM3, with a register-bank slave of the unit simulator as its
// far side, served inside the port's sleeps on the virtual clock.
#pragma once

#include <vector>

#include "BusTestLine.h"
#include "CSerialPort.h"

namespace bustest {

class PassPort : public CSerialPort {
public:
  using CSerialPort::CSerialPort;
  using CSerialPort::OnTick;
};

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
