// Bus device type 100 against a register-bank slave: start-up, conversions, and the set-point guard.
// Registers 3000-3006, 3100-3109 and 3120-3138 travel as wire addresses 2999.., 3099.., 3119...
#include "CDevice100.h"

#include <gtest/gtest.h>

#include "BusDeviceRig.h"

namespace {

using Rig = bustest::DeviceRig<CDevice100>;

struct Controller : Rig {
  Controller() : Rig(20) {
    slave.AddHolding(2999, 7);
    slave.AddHolding(3099, 10);
    slave.AddHolding(3119, 19);
    const uint16_t settings[7] = {2, 22, 20, 24, 45, 40, 9};  // mode 2; set points of modes 1-5; 3006
    for (int i = 0; i < 7; ++i) slave.SetHolding(static_cast<uint16_t>(2999 + i), settings[i]);
  }
};

TEST(CDevice100, StartUp_TakesTheWantedValuesFromTheSlave) {
  Controller rig;
  rig.Pass();
  const Device100Block& b = rig.device->Block();
  EXPECT_EQ(b.m_ready, 1);
  EXPECT_EQ(b.m_linkState, 0);
  EXPECT_EQ(b.m_mode, 2);
  EXPECT_EQ(b.m_setPoint, 20);  // mode 2's set point, register 3002
  EXPECT_EQ(b.m_modeSetPoint[3], 45);
  EXPECT_EQ(b.m_set3006, 9);
  EXPECT_EQ(rig.Take().size(), 1u);
}

TEST(CDevice100, RegularPoll_ConvertsAndRereadsTheSettingsFourPollsInFive) {
  Controller rig;
  rig.Pass();  // tick 20
  rig.slave.SetHolding(3099, 11);
  rig.slave.SetHolding(3102, 150);  // register 3103: 150 x 0.5 - 60 = 15.0
  rig.slave.SetHolding(3108, 0);    // register 3109: -60.0
  rig.slave.SetHolding(3119, 235);  // register 3120: 23.5
  rig.slave.SetHolding(3123, 77);   // register 3124
  rig.Take();
  rig.Pass();  // tick 21
  const Device100Block& b = rig.device->Block();
  EXPECT_EQ(b.m_linkState, 3);
  EXPECT_EQ(b.m_word3100, 11);
  EXPECT_FLOAT_EQ(b.m_time[0], 15.0f);
  EXPECT_FLOAT_EQ(b.m_time[5], -60.0f);
  EXPECT_FLOAT_EQ(b.m_value3120, 23.5f);
  EXPECT_EQ(b.m_word3121[2], 77);
  auto r = rig.Take();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(r[2].address, 2999);  // the settings again
  rig.Pass();
  rig.Pass();
  rig.Pass();  // tick 24
  rig.Take();
  rig.slave.SetSilent(3119, 19);
  rig.Pass();  // tick 25: no settings read, and 3120 fails
  EXPECT_EQ(rig.device->Block().m_linkState, 1);
  EXPECT_EQ(rig.Take().size(), 2u);
}

TEST(CDevice100, SetPointOutsideTheModesRange_IsReplacedByTheSlavesOwn) {
  Controller rig;
  rig.Pass();
  Device100Block& b = rig.device->Block();
  b.m_setPoint = 30;  // mode 2 takes 7..25
  rig.Pass();
  EXPECT_TRUE(rig.Writes().empty());
  EXPECT_EQ(b.m_setPoint, 20);
  b.m_setPoint = 24;
  rig.Pass();
  EXPECT_EQ(rig.Writes(), (std::vector<std::vector<int>>{{6, 3002, 24}}));
}

TEST(CDevice100, ModeOutsideOneToFive_WritesOnly3000And3006) {
  Controller rig;
  rig.Pass();
  Device100Block& b = rig.device->Block();
  b.m_mode = 0;
  b.m_setPoint = 99;
  b.m_set3006 = 10;
  rig.Pass();
  EXPECT_EQ(rig.Writes(), (std::vector<std::vector<int>>{{6, 3000, 0}, {6, 3006, 10}}));
}

}  // namespace
