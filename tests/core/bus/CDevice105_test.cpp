// Bus device type 105 against a register-bank slave: input registers 2-21 (wire 1-20), holding registers
// 210-250 (wire 209-249), coils 2-53 (wire 1-52). Fault coils of one poll mark the inputs of the next.
#include "CDevice105.h"

#include <gtest/gtest.h>

#include "BusDeviceRig.h"
#include "DemoMode.h"

namespace {

struct Board : bustest::DeviceRig<CDevice105> {
  Board() : DeviceRig<CDevice105>(22) {
    slave.AddInput(1, 20);
    slave.AddHolding(209, 41);
    slave.AddCoils(1, 52);
    slave.SetInput(2, 215);     // register 3: 21.5
    slave.SetInput(3, 0xFFCE);  // register 4: -50 -> -5.0
    slave.SetInput(10, 7);      // register 11: x 100
    slave.SetInput(12, 4321);   // register 13: a word
    slave.SetHolding(209, 3);   // 210
    slave.SetHolding(217, 40);  // 218
    slave.SetHolding(224, 4);   // 225, to be put back to 0
    slave.SetHolding(226, 1);   // 227 already 1
  }
};

TEST(CDevice105, Poll_ConvertsInputsWithTheFaultCoilsOfThePreviousPoll) {
  Board rig;
  rig.slave.SetCoil(22, true);  // coil 23 marks register 3 failed
  rig.Pass();
  const Device105Block& b = rig.device->Block();
  EXPECT_EQ(b.m_linkState, 7);
  EXPECT_EQ(b.m_ready, 1);
  EXPECT_FLOAT_EQ(b.m_value[3 - 2], 21.5f);  // no coils read yet
  EXPECT_FLOAT_EQ(b.m_value[4 - 2], -5.0f);
  EXPECT_EQ(b.m_value11, 700);
  EXPECT_EQ(b.m_word13, 4321);
  EXPECT_EQ(b.m_set210, 3);
  EXPECT_FLOAT_EQ(b.m_set218, 40.0f);
  rig.Pass();
  EXPECT_FLOAT_EQ(b.m_value[3 - 2], -99.0f);
  EXPECT_FLOAT_EQ(b.m_value[4 - 2], -5.0f);
}

TEST(CDevice105, LinkState_TellsWhichReadFailed) {
  struct Case {
    const char* name;
    uint16_t silentFirst;
    int silentCount;
    int link;
  };
  const Case cases[] = {{"inputs", 1, 20, 0}, {"holding registers", 209, 41, 1}, {"coils", 1, 1, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Board rig;
    if (c.link == 3) {
      rig.slave.SetException(c.silentFirst, c.silentCount, 2, 1);  // only the coil read fails
    } else {
      rig.slave.SetSilent(c.silentFirst, c.silentCount);
    }
    rig.Pass();
    EXPECT_EQ(rig.device->Block().m_linkState, c.link);
    EXPECT_EQ(rig.device->Block().m_ready, 0);
  }
}

TEST(CDevice105, WriteBack_WritesWhatDiffersAndSaturatesTheFloat) {
  Board rig;
  Device105Block& b = rig.device->Block();
  rig.Take();
  rig.Pass();  // tick 22: ready, then the write-back
  std::vector<std::vector<int>> w = rig.Writes();
  EXPECT_EQ(w, (std::vector<std::vector<int>>{{6, 225, 0}, {5, 53, 0xFF00}})) << "227 and 228 hold their values";
  b.m_set218 = 12.7f;
  b.m_set241 = 5;
  rig.Pass();
  EXPECT_EQ(rig.Writes(), (std::vector<std::vector<int>>{{6, 218, 12}, {6, 241, 5}, {5, 53, 0xFF00}}));
  b.m_set218 = -99.0f;  // a failed value does not wrap to 65437
  rig.Pass();           // tick 24
  EXPECT_EQ(rig.Writes(), (std::vector<std::vector<int>>{{6, 218, 0}, {5, 53, 0xFF00}}));
  rig.Pass();  // tick 25: coil 52 too, after the reads
  EXPECT_EQ(rig.Writes(), (std::vector<std::vector<int>>{{5, 52, 0xFF00}, {5, 53, 0xFF00}}));
}

TEST(CDevice105, DemoMode_SendsOnlyTheEveryFifthPollCoil) {
  DemoMode = 1;
  Board rig;
  for (int i = 0; i < 4; ++i) rig.Pass();  // ticks 22-25
  DemoMode = 0;
  EXPECT_EQ(rig.Writes(), (std::vector<std::vector<int>>{{5, 52, 0xFF00}}));
  EXPECT_TRUE(rig.Take().empty());
  EXPECT_EQ(rig.device->Block().m_linkState, 7);
}

}  // namespace
