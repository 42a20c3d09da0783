// The indoor unit's driver against the unit simulator, served inside the port's sleeps on the virtual clock:
// the start-up sequence, the conversions, write-if-changed, the periodic re-read, link loss and demo mode.
// Register N travels as wire address N - 1 (1000 -> 999, 1100 -> 1099, ...).
#include "CUnitDevice.h"

#include <gtest/gtest.h>

#include "BusDeviceRig.h"

namespace {

using bustest::DemoOn;
using bustest::Same;
using Request = unitsim::RtuSlave::Request;

// The indoor unit at address 11 on a port whose thread is stopped: the test runs the passes.
struct IndoorRig : bustest::UnitRig<CUnitDevice, IndoorBlock, unitsim::IndoorBoard> {
  IndoorRig() : UnitRig(11, &unitsim::UnitSimulator::Indoor) {}
};

TEST(CUnitDevice, StartUp_ReadsTheUnitThenSendsTheInitialWrite) {
  IndoorRig rig;
  rig.unit.SetReg(1000, 3);
  rig.unit.SetReg(1101, 1);
  rig.unit.SetReg(1104, 457);
  rig.unit.SetReg(1108, 215);
  rig.Pass();
  std::vector<Request> r = rig.Take();
  ASSERT_EQ(r.size(), 5u);
  EXPECT_TRUE(Same(r[0], 3, 999, 1));
  EXPECT_TRUE(Same(r[1], 3, 1099, 20));
  EXPECT_TRUE(Same(r[2], 3, 1799, 2));
  EXPECT_TRUE(Same(r[3], 3, 1899, 32));
  ASSERT_TRUE(Same(r[4], 16, 1100, 19));  // registers 1101-1119: all 0 but 1105 = 1000
  for (int i = 0; i < 19; ++i) EXPECT_EQ(r[4].values[static_cast<size_t>(i)], i == 4 ? 1000 : 0) << i;

  const IndoorBlock& b = rig.block;
  EXPECT_EQ(b.m_ready, 1);
  EXPECT_EQ(b.m_linkState, 0);
  EXPECT_EQ(b.m_set1000, 3);
  EXPECT_EQ(b.m_set1101, 1);
  EXPECT_FLOAT_EQ(b.m_set1104, 45.7f);
  EXPECT_FLOAT_EQ(b.m_set1108, 21.5f);
  EXPECT_EQ(b.m_val1800, 210);
  EXPECT_EQ(b.m_val1801, 1);
  const uint16_t config[5] = {0, 4, 1, 80, 100};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(b.m_val1900[i], config[i]);

  rig.Pass();  // regular from now on: sensors and read-back, nothing to write
  r = rig.Take();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_TRUE(Same(r[0], 3, 1199, 30));
  EXPECT_TRUE(Same(r[1], 3, 1299, 20));
  EXPECT_EQ(b.m_linkState, 3);
}

TEST(CUnitDevice, UnitWithoutBlock1800_NeverReadyAndStartsOverEachPoll) {
  IndoorRig rig;
  rig.unit.SetSilent(1799, 2);
  for (int pass = 0; pass < 2; ++pass) {
    rig.Pass();
    std::vector<Request> r = rig.Take();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_TRUE(Same(r[0], 3, 999, 1));
    EXPECT_TRUE(Same(r[1], 3, 1099, 20));
    EXPECT_TRUE(Same(r[2], 3, 1799, 2));
    EXPECT_EQ(rig.block.m_ready, 0);
    EXPECT_EQ(rig.block.m_linkState, 0);
  }
}

TEST(CUnitDevice, Conversions_TemperaturesTenthsInputsAndFailedSensors) {
  IndoorRig rig;
  rig.Pass();
  unitsim::IndoorBoard& u = rig.unit;
  u.SetTemperature(1200, 20.0);   // raw 5000
  u.SetTemperature(1203, 0.0);    // raw 3000
  u.SetTemperature(1204, -5.0);   // raw 2500
  u.SetTemperature(1209, 55.25);  // raw 8525
  u.FailSensor(1201, true);       // bit 1 of 1226
  u.FailSensor(1211, true);       // bit 11
  u.SetReg(1212, 1);
  u.SetReg(1214, 1);
  u.SetReg(1217, 1);
  u.SetReg(1219, 1);
  u.SetReg(1225, 77);
  u.SetReg(1229, 9);
  rig.Pass();
  const IndoorBlock& b = rig.block;
  struct Case {
    const char* name;
    float got;
    float want;
  };
  const Case cases[] = {
      {"1200 raw 5000", b.m_temp1200[0], 20.0f},      {"1201 failed", b.m_temp1200[1], -99.0f},
      {"1203 raw 3000", b.m_temp1200[3], 0.0f},       {"1204 raw 2500", b.m_temp1200[4], -5.0f},
      {"1209 raw 8525", b.m_temp1200[9], 55.25f},     {"1211 failed", b.m_temp1200[11], -99.0f},
      {"1205 coil 6.0 (simulator base)", b.m_temp1200[5], 6.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FLOAT_EQ(c.got, c.want);
  }
  EXPECT_EQ(b.m_faultBits1226, (1u << 1) | (1u << 11));
  EXPECT_EQ(b.m_in1212, 1);
  EXPECT_EQ(b.m_in1213, 0);
  EXPECT_EQ(b.m_in1214, 1);
  EXPECT_EQ(b.m_in1215, 1);
  EXPECT_EQ(b.m_bits1217, 1 + 4);
  EXPECT_EQ(b.m_word1225, 77);
  EXPECT_EQ(b.m_word1228, 105);
  EXPECT_EQ(b.m_word1229, 9);
  EXPECT_EQ(b.m_linkState, 3);
}

TEST(CUnitDevice, Block1300Fails_LinkOneAndTheValuesOf1222To1224Stay) {
  IndoorRig rig;
  rig.Pass();
  rig.block.m_set1104 = 45.7f;
  rig.block.m_set1107 = 30.0f;
  rig.Pass();  // written after this pass's reads
  rig.Pass();  // the unit now drives 457 and 300; 1222-1224 report them, 1304/1307 read them back
  EXPECT_FLOAT_EQ(rig.block.m_value1, 45.7f);
  rig.unit.SetSilent(1299, 20);
  rig.unit.FailSensor(1224, true);
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 1);
  EXPECT_FLOAT_EQ(rig.block.m_value1, 45.7f);
  EXPECT_FLOAT_EQ(rig.block.m_value2, 30.0f);
  EXPECT_FLOAT_EQ(rig.block.m_value3, -99.0f);
  rig.unit.ClearFaults();
  rig.unit.SetReg(1307, 123);  // a read-back that differs shows unmarked
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 3);
  EXPECT_FLOAT_EQ(rig.block.m_value2, 12.3f);
  EXPECT_FLOAT_EQ(rig.block.m_value3, 0.0f);
}

TEST(CUnitDevice, WriteBack_SendsOnlyTheOutputsThatChanged) {
  IndoorRig rig;
  rig.Pass();
  rig.Take();
  rig.Pass();
  EXPECT_TRUE(rig.Writes().empty());
  rig.block.m_set1104 = 45.7f;
  rig.block.m_set1101 = 1;
  rig.block.m_set1000 = 2;
  rig.Pass();
  std::vector<Request> w = rig.Writes();
  ASSERT_EQ(w.size(), 3u);
  EXPECT_TRUE(Same(w[0], 6, 999, 1));
  EXPECT_EQ(w[0].values[0], 2);
  EXPECT_TRUE(Same(w[1], 6, 1100, 1));
  EXPECT_EQ(w[1].values[0], 1);
  EXPECT_TRUE(Same(w[2], 6, 1103, 1));
  EXPECT_EQ(w[2].values[0], 457);
  EXPECT_EQ(rig.unit.Reg(1104), 457);
  rig.Pass();
  EXPECT_TRUE(rig.Writes().empty());
  // A failed reading fed back as a drive saturates to 0 instead of wrapping. This is tick 15: the re-read
  // also finds 1105 at the initial write's 1000, and the wanted 0 goes back.
  rig.block.m_set1104 = -99.0f;
  rig.Pass();
  w = rig.Writes();
  ASSERT_EQ(w.size(), 2u);
  EXPECT_TRUE(Same(w[0], 6, 1103, 1));
  EXPECT_EQ(w[0].values[0], 0);
  EXPECT_TRUE(Same(w[1], 6, 1104, 1));
  EXPECT_EQ(w[1].values[0], 0);
}

TEST(CUnitDevice, ReRead_OnEveryFifthTickRepeatsAWriteTheUnitRefused) {
  IndoorRig rig;
  rig.Pass();  // start-up at tick 11
  rig.Take();
  rig.unit.SetException(1101, 1, 4, 6);  // register 1102 refuses writes
  rig.block.m_set1102 = 1;
  std::vector<std::vector<Request>> passes;
  for (int tick = 12; tick <= 20; ++tick) {
    rig.Pass();
    passes.push_back(rig.Take());
  }
  auto reReads = [&](size_t i) {
    for (const Request& r : passes[i]) {
      if (Same(r, 3, 1099, 20)) return true;
    }
    return false;
  };
  auto writes1102 = [&](size_t i) {
    int n = 0;
    for (const Request& r : passes[i]) n += Same(r, 6, 1101, 1);
    return n;
  };
  for (size_t i = 0; i < passes.size(); ++i) {
    int tick = 12 + static_cast<int>(i);
    SCOPED_TRACE(tick);
    EXPECT_EQ(reReads(i), tick % 5 == 0);
    // Written on the first pass; again right after each re-read brought the unit's 0 back.
    EXPECT_EQ(writes1102(i), tick == 12 || tick % 5 == 0 ? 1 : 0);
  }
  EXPECT_EQ(rig.block.m_set1102, 1);  // the wanted value is never touched by the re-read
}

TEST(CUnitDevice, LinkLoss_ReportsLinkZeroAndKeepsTheLastValues) {
  IndoorRig rig;
  rig.Pass();
  rig.unit.SetTemperature(1203, 41.5);
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 3);
  rig.bus.sim.DropIndoor(true);
  rig.unit.SetTemperature(1203, 10.0);
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 0);
  EXPECT_FLOAT_EQ(rig.block.m_temp1200[3], 41.5f);
  rig.bus.sim.DropIndoor(false);
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 3);
  EXPECT_FLOAT_EQ(rig.block.m_temp1200[3], 10.0f);

  rig.bus.sim.SetGarbagePercent(100);  // every reply garbled: bad CRCs, nothing taken
  rig.unit.SetTemperature(1203, 60.0);
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 0);
  EXPECT_FLOAT_EQ(rig.block.m_temp1200[3], 10.0f);
  rig.bus.sim.SetGarbagePercent(0);

  rig.bus.pty.CloseMaster();  // the line itself goes away
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 0);
}

// After a poll that read nothing the board may have restarted, its outputs off: nothing the block wanted
// before is sent until the engine has answered a fresh reply with its outputs. The reply after the gap
// re-reads the outputs, so the shadows hold what the board has.
TEST(CUnitDevice, AfterAPollThatReadNothing_WritesWaitForOutputsOfAFreshReply) {
  IndoorRig rig;
  IndoorBlock& b = rig.block;
  auto engineSecond = [&](uint16_t heater) {  // the engine's inputs take the block, its outputs follow
    TookReply(b.m_fresh, RepliesSoFar(b.m_fresh));
    b.m_set1110 = heater;
    OutputsWritten(b.m_fresh);
  };
  rig.Pass();
  rig.Pass();
  engineSecond(1);
  rig.Take();
  rig.Pass();  // tick 13
  ASSERT_EQ(rig.Writes().size(), 1u);
  ASSERT_EQ(rig.unit.Reg(1110), 1);

  rig.bus.sim.DropIndoor(true);
  rig.Pass();
  ASSERT_EQ(b.m_linkState, 0);
  engineSecond(1);  // outputs of the values from before the gap: they open nothing
  rig.unit.SetReg(1110, 0);  // the board restarted meanwhile
  rig.bus.sim.DropIndoor(false);
  rig.Pass();  // tick 15
  EXPECT_EQ(b.m_linkState, 3);
  std::vector<Request> r = rig.Take();
  ASSERT_EQ(r.size(), 3u) << "no write";
  EXPECT_TRUE(Same(r[2], 3, 1099, 20)) << "the outputs read again";
  rig.Pass();  // tick 16: still no outputs of the fresh reply
  EXPECT_TRUE(rig.Writes().empty());

  // Writes to the heater's register 1110 (the re-read also brings back 1105, which the block wants at 0).
  auto heaterWrites = [&] {
    std::vector<int> values;
    for (const Request& q : rig.Writes()) {
      if (Same(q, 6, 1109, 1)) values.push_back(q.values[0]);
    }
    return values;
  };
  engineSecond(0);  // the engine's first second on the fresh reply wants the heater off
  rig.Pass();
  EXPECT_TRUE(heaterWrites().empty()) << "the board has it off already";
  engineSecond(1);
  rig.Pass();
  EXPECT_EQ(heaterWrites(), std::vector<int>{1});
}

TEST(CUnitDevice, DemoMode_FillsFixedValuesAndSendsOnlyTheInitialWrite) {
  DemoOn demo;
  IndoorRig rig;
  rig.unit.SetReg(1000, 3);
  rig.block.m_set1104 = 55.0f;
  rig.block.m_set1107 = 12.5f;
  rig.Pass();
  std::vector<Request> r = rig.Take();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_TRUE(Same(r[0], 16, 1100, 19));
  EXPECT_EQ(rig.block.m_ready, 1);
  EXPECT_EQ(rig.block.m_set1000, 0);
  EXPECT_FLOAT_EQ(rig.block.m_set1104, 55.0f);  // the wanted values stay as they were
  EXPECT_EQ(rig.block.m_val1900[1], 4);
  EXPECT_EQ(rig.block.m_val1900[4], 100);
  rig.block.m_set1101 = 1;
  rig.Pass();
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.block.m_linkState, 3);
  EXPECT_FLOAT_EQ(rig.block.m_value1, 55.0f);
  EXPECT_FLOAT_EQ(rig.block.m_value2, 12.5f);
}

}  // namespace
