// The outdoor unit's driver against the unit simulator (served inside the port's sleeps on the virtual clock):
// start-up, running values, the temperature writes of every fifth poll, the parameter cells with their load,
// commit and preset hand-shakes, pausing, link loss and demo mode.
// Register N travels as wire address N - 1 (2000 -> 1999, 3000 -> 2999, 4001 -> 4000, ...).
#include "CParamDevice.h"

#include <gtest/gtest.h>

#include "BusDeviceRig.h"
#include "ModbusCrc16.h"

namespace {

using bustest::DemoOn;
using bustest::Same;
using Request = unitsim::RtuSlave::Request;

// The outdoor unit at address 2 on a port whose thread is stopped: the test runs the passes.
struct OutdoorRig : bustest::UnitRig<CParamDevice, OutdoorBlock, unitsim::OutdoorBoard> {
  OutdoorRig() : UnitRig(2, &unitsim::UnitSimulator::Outdoor) {}
  // Passes until the next poll runs with this tick count.
  void PassTo(int tick) {
    while (device->TickCount() < tick) Pass();
  }
  // Start-up, then page 8's load of the cells into its working copy (state 2).
  void CellsLoaded() {
    Pass();
    block.m_eepromState = 1;
    Pass();
    EXPECT_EQ(block.m_eepromState, 2);
  }
};

// "register=value" of each single write, in order.
std::vector<std::pair<int, int>> Written(const std::vector<Request>& writes) {
  std::vector<std::pair<int, int>> out;
  for (const Request& r : writes) out.push_back({r.address + 1, r.values.empty() ? -1 : r.values[0]});
  return out;
}

int CellReads(const std::vector<Request>& requests) {
  int n = 0;
  for (const Request& r : requests) n += r.function == 3 && r.address >= 2999 && r.address < 3511;
  return n;
}

TEST(CParamDevice, StartUp_ReadsCommandsCommitBlockEveryCellAndTheRunningValues) {
  OutdoorRig rig;
  rig.unit.SetReg(3307, 44);
  rig.unit.SetAmbient(-15.0);
  rig.Pass();
  std::vector<Request> r = rig.Take();
  ASSERT_EQ(r.size(), 9u);
  EXPECT_TRUE(Same(r[0], 3, 1999, 20));
  EXPECT_TRUE(Same(r[1], 3, 3999, 5));
  const uint16_t cells[6][2] = {{2999, 100}, {3099, 100}, {3199, 100}, {3299, 100}, {3399, 100}, {3499, 12}};
  for (int i = 0; i < 6; ++i) EXPECT_TRUE(Same(r[2 + static_cast<size_t>(i)], 3, cells[i][0], cells[i][1])) << i;
  EXPECT_TRUE(Same(r[8], 3, 2099, 30));
  const OutdoorBlock& b = rig.block;
  EXPECT_EQ(b.m_ready, 1);
  // A good link hands the engine the running values of this poll, never the block's zeros.
  EXPECT_EQ(b.m_linkState, 1);
  EXPECT_FLOAT_EQ(b.m_ambientTemp, -15.0f);
  EXPECT_FLOAT_EQ(b.m_set2003, 45.0f);
  EXPECT_FLOAT_EQ(b.m_set2004, 7.0f);
  EXPECT_FLOAT_EQ(b.m_set2006, 30.0f);
  EXPECT_FLOAT_EQ(b.m_set2012, 5.0f);
  EXPECT_EQ(b.m_paramBlock[511], rig.unit.Reg(3511));
  EXPECT_EQ(b.m_testSet[0], rig.unit.Reg(3013));
  EXPECT_EQ(b.m_testSet[10], 44);  // cell 3307
  EXPECT_EQ(b.m_testSet[16], rig.unit.Reg(3281));

  rig.Pass();  // tick 3: only the running values
  r = rig.Take();
  ASSERT_EQ(r.size(), 1u);
  EXPECT_TRUE(Same(r[0], 3, 2099, 30));
}

TEST(CParamDevice, RunningValues_AreConverted) {
  OutdoorRig rig;
  rig.Pass();
  unitsim::OutdoorBoard& u = rig.unit;
  u.SetReg(2101, 231);
  u.SetReg(2102, 52);
  u.SetReg(2104, 60);
  u.SetReg(2108, 480);
  u.SetReg(2111, 3750);  // 7.50 degrees
  u.SetReg(2112, 2500);  // -5.00
  u.SetReg(2115, 0x6419);
  u.SetReg(2117, 25);
  u.SetReg(2118, 150);
  u.SetReg(2119, 1);
  u.SetReg(2127, 3);
  rig.Pass();
  const OutdoorBlock& b = rig.block;
  EXPECT_EQ(b.m_linkState, 1);
  EXPECT_EQ(b.m_voltage, 231);
  EXPECT_FLOAT_EQ(b.m_current, 5.2f);
  EXPECT_EQ(b.m_compressorHz, 60);
  EXPECT_EQ(b.m_eevSteps, 480);
  EXPECT_FLOAT_EQ(b.m_ambientTemp, 7.5f);
  EXPECT_FLOAT_EQ(b.m_temp2112, -5.0f);
  EXPECT_EQ(b.m_hi2115, 0x64);
  EXPECT_EQ(b.m_lo2115, 0x19);
  EXPECT_FLOAT_EQ(b.m_pressure2117, 2.5f);
  EXPECT_FLOAT_EQ(b.m_pressure2118, 15.0f);
  EXPECT_EQ(b.m_defrost, 1);
  EXPECT_EQ(b.m_version, 1032);
  EXPECT_EQ(b.m_word2127, 3);
  EXPECT_EQ(b.m_word2128, 10);
}

TEST(CParamDevice, Temperatures_AreWrittenOnlyOnEveryFifthPoll) {
  OutdoorRig rig;
  rig.Pass();  // start-up at tick 2
  rig.block.m_set2006 = 35.5f;
  rig.block.m_set2012 = -99.0f;  // a failed coil sensor saturates to 0 instead of wrapping
  rig.block.m_set2001 = 7;
  rig.Take();
  rig.Pass();  // tick 3
  EXPECT_EQ(Written(rig.Writes()), (std::vector<std::pair<int, int>>{{2001, 7}}));
  rig.PassTo(5);
  rig.Take();
  rig.Pass();  // tick 5: 4000 and 2000 read again, then the temperatures
  std::vector<Request> r = rig.Take();
  ASSERT_GE(r.size(), 5u);
  EXPECT_TRUE(Same(r[0], 3, 2099, 30));
  EXPECT_TRUE(Same(r[1], 3, 3999, 5));
  EXPECT_TRUE(Same(r[2], 3, 1999, 20));
  std::vector<Request> writes(r.begin() + 3, r.end());
  EXPECT_EQ(Written(writes), (std::vector<std::pair<int, int>>{{2006, 6550}, {2012, 0}}));
  EXPECT_EQ(rig.unit.Reg(2006), 6550);
  rig.PassTo(10);
  rig.Take();
  rig.Pass();  // tick 10: nothing changed since
  EXPECT_TRUE(rig.Writes().empty());
}

// Back after a gap (the board restarted: gear and mode word 0), the poll re-reads the command and commit
// blocks and writes nothing until the engine's outputs come from the fresh reply.
TEST(CParamDevice, AfterAPollThatReadNothing_WritesWaitForOutputsOfAFreshReply) {
  OutdoorRig rig;
  OutdoorBlock& b = rig.block;
  auto engineSecond = [&](uint16_t gear) {
    TookReply(b.m_fresh, RepliesSoFar(b.m_fresh));
    b.m_set2000 = gear;
    b.m_set4000 = 2;
    OutputsWritten(b.m_fresh);
  };
  rig.Pass();  // start-up at tick 2
  engineSecond(8);
  rig.Take();
  rig.Pass();  // tick 3
  ASSERT_EQ(Written(rig.Writes()), (std::vector<std::pair<int, int>>{{4000, 2}, {2000, 8}}));

  rig.bus.sim.DropOutdoor(true);
  rig.Pass();
  ASSERT_EQ(b.m_linkState, 0);
  engineSecond(8);  // from the values before the gap
  rig.unit.SetReg(2000, 0);
  rig.unit.SetReg(4000, 0);
  rig.bus.sim.DropOutdoor(false);
  rig.Pass();  // tick 5
  EXPECT_EQ(b.m_linkState, 1);
  std::vector<Request> r = rig.Take();
  ASSERT_EQ(r.size(), 3u) << "no write";
  EXPECT_TRUE(Same(r[1], 3, 3999, 5));
  EXPECT_TRUE(Same(r[2], 3, 1999, 20));
  rig.Pass();  // tick 6: the shadows were read again on the return, not only on every fifth poll
  EXPECT_TRUE(rig.Writes().empty());
  EXPECT_EQ(b.m_raw2000[0], 0);

  engineSecond(0);  // the engine on the fresh reply: the compressor waits out its restart interval
  rig.Pass();
  EXPECT_EQ(Written(rig.Writes()), (std::vector<std::pair<int, int>>{{4000, 2}}));
  EXPECT_EQ(rig.unit.Reg(2000), 0) << "the old gear 8 never went out";
}

TEST(CParamDevice, CellLoad_CopiesTheCellsOnceTheyAllArrived) {
  OutdoorRig rig;
  rig.Pass();
  rig.unit.SetReg(3100, 1234);
  rig.unit.SetSilent(3299, 100);
  rig.block.m_eepromState = 1;
  rig.Pass();
  EXPECT_EQ(rig.block.m_eepromState, 1);  // the read broke off; retried next poll
  rig.unit.ClearFaults();
  rig.Take();
  rig.Pass();
  EXPECT_EQ(CellReads(rig.Take()), 6);
  EXPECT_EQ(rig.block.m_eepromState, 2);
  EXPECT_EQ(rig.block.m_paramEdit[100], 1234);
  EXPECT_EQ(rig.block.m_paramEdit[511], rig.unit.Reg(3511));
}

TEST(CParamDevice, CellCommit_WritesTheEditTheChecksumAndTheCommitThenReachesState4) {
  OutdoorRig rig;
  rig.CellsLoaded();
  rig.block.m_paramEdit[42] = 99;
  rig.block.m_eepromState = 3;
  // The CRC the unit will check: CRC-16 over the low bytes of 3000-3509 with the edit (the simulator's
  // bitwise CRC); 3510/3511 are written only where they change.
  uint8_t low[510];
  for (int i = 0; i < 510; ++i) low[i] = static_cast<uint8_t>(rig.block.m_paramEdit[i] & 0xFF);
  uint16_t crc = unitsim::Crc16(low, sizeof(low));
  std::vector<std::pair<int, int>> expected = {{3042, 99}};
  if ((crc & 0xFF) != rig.unit.Reg(3510)) expected.push_back({3510, crc & 0xFF});
  if ((crc >> 8) != rig.unit.Reg(3511)) expected.push_back({3511, crc >> 8});
  ASSERT_GT(expected.size(), 1u);
  rig.Take();
  rig.Pass();
  expected.insert(expected.end(), {{4000, 5}, {4002, 1586}, {4003, 3}, {4001, 258}});
  EXPECT_EQ(Written(rig.Writes()), expected);
  EXPECT_EQ(rig.block.m_eepromHandshake, 0) << "page 8's commit is the driver's own, not the engine's";
  EXPECT_EQ(rig.block.m_eepromState, 3);
  EXPECT_EQ(rig.unit.Commits(), 1);
  EXPECT_EQ(rig.unit.StoredCell(3042), 99);
  EXPECT_EQ(rig.block.m_set4000, 5);  // block 4000 was read back with initialisation
  rig.Pass();
  EXPECT_EQ(rig.block.m_eepromState, 4);
  EXPECT_EQ(rig.block.m_eepromHandshake, 0);
  EXPECT_TRUE(rig.Writes().empty());
}

TEST(CParamDevice, CommitNotAcknowledged_IsRepeatedThreeTimesAPollUntilItIs) {
  OutdoorRig rig;
  rig.CellsLoaded();
  rig.block.m_paramEdit[7] = static_cast<uint16_t>(rig.block.m_paramEdit[7] + 1);
  rig.block.m_eepromState = 3;
  rig.unit.RefuseCommits(3);
  rig.Take();
  rig.Pass();
  std::vector<Request> r = rig.Take();
  EXPECT_EQ(rig.unit.CommitTriggers(), 3);
  EXPECT_EQ(CellReads(r), 6);  // the third pass reads the cells again first
  EXPECT_EQ(rig.block.m_eepromState, 3);
  rig.Pass();
  EXPECT_EQ(rig.unit.CommitTriggers(), 4);
  EXPECT_EQ(rig.unit.Commits(), 1);
  EXPECT_EQ(rig.block.m_eepromState, 3);
  rig.Pass();
  EXPECT_EQ(rig.block.m_eepromState, 4);
  EXPECT_EQ(rig.unit.CommitTriggers(), 4);
}

// Page 8's commit and the engine's are answered apart: an acknowledgement of the engine's commit that
// the engine has not taken yet does not end page 8's write, whose cell was written after that commit;
// page 8's write ends on a commit of its own, and the engine's acknowledgement stays for the engine.
TEST(CParamDevice, PageEightsCommit_DoesNotTakeTheEnginesAcknowledgement) {
  OutdoorRig rig;
  rig.CellsLoaded();
  rig.block.m_eepromHandshake = 1;  // the engine's pass over cells it wrote
  rig.Pass();
  ASSERT_EQ(rig.block.m_eepromHandshake, 2);
  const int commits = rig.unit.Commits();

  rig.block.m_paramEdit[42] = 99;
  rig.block.m_eepromState = 3;
  rig.Pass();
  EXPECT_EQ(rig.block.m_eepromState, 3);
  EXPECT_EQ(rig.unit.Commits(), commits + 1) << "a commit of page 8's own";
  EXPECT_EQ(rig.unit.StoredCell(3042), 99);
  rig.Pass();
  EXPECT_EQ(rig.block.m_eepromState, 4);
  EXPECT_EQ(rig.block.m_eepromHandshake, 2) << "still the engine's to take";
}

TEST(CParamDevice, TestCells_AreWrittenWhileRegister4000ReadsFive) {
  OutdoorRig rig;
  rig.unit.SetReg(4000, 5);
  rig.Pass();
  EXPECT_EQ(rig.block.m_set4000, 5);
  rig.block.m_testSet[10] = 123;  // cell 3307
  rig.block.m_testSet[0] = 7;     // cell 3013
  rig.Take();
  rig.Pass();
  std::vector<std::pair<int, int>> w = Written(rig.Writes());
  EXPECT_EQ(w, (std::vector<std::pair<int, int>>{{3013, 7}, {3307, 123}}));
  rig.unit.SetReg(4000, 0);
  rig.block.m_set4000 = 0;
  rig.block.m_testSet[0] = 8;
  rig.Pass();
  EXPECT_EQ(Written(rig.Writes()), (std::vector<std::pair<int, int>>{{4000, 0}}));
}

TEST(CParamDevice, Preset_StoredForAnEligibleUnitRefusedForAnother) {
  struct Case {
    const char* name;
    uint16_t version;
    uint16_t marker2129;
    uint16_t request;
  };
  const Case cases[] = {
      {"version 1032 with the marker", 1032, 4905, 2},
      {"version 1281 with the marker", 1281, 4905, 2},
      {"another version", 1100, 4905, 0},
      {"no marker", 1032, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OutdoorRig rig;
    rig.unit.SetReg(2123, c.version);
    rig.unit.SetReg(2129, c.marker2129);
    rig.Pass();
    rig.Pass();  // the running values carry version and marker
    rig.block.m_presetRequest = 1;
    rig.Take();
    rig.Pass();
    EXPECT_EQ(rig.block.m_presetRequest, c.request);
    std::vector<Request> writes = rig.Writes();
    if (c.request == 2) {
      EXPECT_EQ(rig.unit.StoredCell(3029), 3);
      EXPECT_EQ(rig.unit.StoredCell(3480), 225);
      EXPECT_EQ(rig.unit.StoredCell(3488), 90);
      EXPECT_EQ(rig.unit.Commits(), 1);
    } else {
      EXPECT_TRUE(writes.empty());
      EXPECT_EQ(rig.unit.Commits(), 0);
    }
  }
}

TEST(CParamDevice, PausedPoll_SendsNothingAndReportsTheLinkGood) {
  OutdoorRig rig;
  rig.bus.sim.DropOutdoor(true);
  rig.block.m_pollPaused = 3;
  rig.Pass();
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.block.m_linkState, 1);
  rig.block.m_pollPaused = 0;
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 0);  // the unit is gone
  EXPECT_EQ(rig.block.m_ready, 0);
  rig.bus.sim.DropOutdoor(false);
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 1);
  rig.bus.sim.DropOutdoor(true);
  rig.Pass();
  EXPECT_EQ(rig.block.m_linkState, 0);
}

TEST(CParamDevice, DemoMode_GeneratesRunningValuesWithoutTraffic) {
  DemoOn demo;
  OutdoorRig rig;
  rig.block.m_set2000 = 10;
  rig.block.m_set4000 = 2;
  rig.Pass();
  rig.block.m_set2001 = 5;
  for (int i = 0; i < 4; ++i) {
    rig.Pass();
    const OutdoorBlock& b = rig.block;
    EXPECT_GE(b.m_voltage, 220);
    EXPECT_LE(b.m_voltage, 224);
    EXPECT_EQ(b.m_compressorHz, 74);  // 10 x 3.5 + 39
    EXPECT_EQ(b.m_fan2Rpm, 74);
    EXPECT_GE(b.m_eevSteps, 250);
    EXPECT_LT(b.m_eevSteps, 350);
    EXPECT_GE(b.m_temp2113, 69.0f);
    EXPECT_LE(b.m_temp2113, 72.0f);
    EXPECT_EQ(b.m_word2100, 2);
    EXPECT_EQ(b.m_version, 100);
    EXPECT_EQ(b.m_linkState, 1);
  }
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.block.m_raw2000[1], 5);  // the shadow took the wanted value without a write
}

}  // namespace
