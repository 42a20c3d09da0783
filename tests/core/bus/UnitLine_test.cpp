// Both unit drivers on one line against the unit simulator, as the bus port polls them: the indoor unit
// (address 11), 20 ms later the outdoor unit (address 2), each block read with the same 30-register request
// (65 bytes back). A board that answers late puts its reply, with its good CRC, into the read window of
// the next exchange, which may be the other unit's.
#include <gtest/gtest.h>

#include <cstring>

#include "BusDeviceRig.h"
#include "CParamDevice.h"
#include "CUnitDevice.h"

namespace {

struct UnitLineRig {
  bustest::SimulatedBus bus;
  bustest::PassPort port{3};
  CUnitDevice* indoor = new CUnitDevice(&port, 11);
  CParamDevice* outdoor = new CParamDevice(&port, 2);

  UnitLineRig() {
    EXPECT_EQ(port.Open(3, 19200, 8, 2, 1, 2000, 0), 1);
    port.Stop();
    indoor->SetTickCount(11);
    outdoor->SetTickCount(2);
    port.AddDevice(indoor);
    port.AddDevice(outdoor);
  }
  void Pass() { port.OnTick(); }
  // Virtual time to that moment, as the port's thread waits between its passes.
  void AdvanceTo(uint64_t ms) {
    uint64_t now = bus.clock.MonotonicMs();
    ASSERT_GT(ms, now);
    bus.clock.Advance(ms - now);
  }
};

TEST(UnitLine, LateReplyInTheOtherUnitsReadWindow_IsNotTakenAndTheExchangeFails) {
  UnitLineRig rig;
  rig.bus.sim.Indoor().SetTemperature(1201, 49.6);  // tank
  rig.bus.sim.Outdoor().SetAmbient(-2.0);
  rig.Pass();  // both start up
  rig.Pass();
  IndoorBlock& in = rig.indoor->Block();
  OutdoorBlock& out = rig.outdoor->Block();
  ASSERT_EQ(in.m_linkState, 3);
  ASSERT_EQ(out.m_linkState, 1);
  ASSERT_NEAR(in.m_temp1200[1], 49.6f, 0.01f);

  // The outdoor board slows beyond the master's wait; the indoor one a little, within it.
  rig.bus.sim.SetOutdoorLateMs(1000);
  rig.bus.sim.SetIndoorLateMs(200);
  rig.Pass();
  EXPECT_EQ(in.m_linkState, 3) << "200 ms late is still in time";
  EXPECT_EQ(out.m_linkState, 0) << "given up; its 65 bytes still on their way";
  const uint64_t due = rig.bus.server.NextDueMs();
  ASSERT_GT(due, 0u);

  // The next pass sends the indoor request 100 ms before the outdoor reply lands, 100 ms before its own.
  rig.AdvanceTo(due - 100 - 20);  // the port's 20 ms before the first device
  uint16_t raw1200[30];
  float temps[12];
  std::memcpy(raw1200, in.m_raw1200, sizeof(raw1200));
  std::memcpy(temps, in.m_temp1200, sizeof(temps));
  const int goodReads = rig.indoor->Stats().goodReads;
  const int outdoorGoodReads = rig.outdoor->Stats().goodReads;
  rig.Pass();
  EXPECT_EQ(in.m_linkState, 0) << "the outdoor unit's reply is no indoor reply";
  EXPECT_EQ(std::memcmp(raw1200, in.m_raw1200, sizeof(raw1200)), 0) << "tank now " << in.m_temp1200[1];
  EXPECT_EQ(std::memcmp(temps, in.m_temp1200, sizeof(temps)), 0);
  EXPECT_EQ(rig.indoor->Stats().goodReads, goodReads);
  // The indoor reply came late in turn, into the outdoor unit's window.
  EXPECT_EQ(out.m_linkState, 0);
  EXPECT_EQ(rig.outdoor->Stats().goodReads, outdoorGoodReads);
  EXPECT_FLOAT_EQ(out.m_ambientTemp, -2.0f);

  // Both boards in time again. The replies still on their way land on an idle line, and are dropped
  // before the next requests are judged.
  rig.bus.sim.SetOutdoorLateMs(0);
  rig.bus.sim.SetIndoorLateMs(0);
  rig.AdvanceTo(rig.bus.clock.MonotonicMs() + 2000);
  rig.bus.server.Serve(rig.bus.Written());
  ASSERT_EQ(rig.bus.server.NextDueMs(), 0u);
  ASSERT_GT(rig.bus.pty.SlaveQueued(), 0);
  rig.bus.sim.Indoor().SetTemperature(1201, 50.5);
  rig.Pass();
  EXPECT_EQ(in.m_linkState, 3);
  EXPECT_NEAR(in.m_temp1200[1], 50.5f, 0.01f);
  EXPECT_EQ(out.m_linkState, 1);
  EXPECT_FLOAT_EQ(out.m_ambientTemp, -2.0f);
}

}  // namespace
