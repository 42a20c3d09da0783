// Bus device type 103: register 141 (wire address 140), read every poll, never written.
#include "CDevice103.h"

#include <gtest/gtest.h>

#include "BusDeviceRig.h"

namespace {

TEST(CDevice103, Poll_CopiesRegister141AndReportsTheLink) {
  bustest::DeviceRig<CDevice103> rig(21);
  rig.slave.AddHolding(140, 1, 0x5A5A);
  rig.Pass();
  EXPECT_EQ(rig.device->Block().m_linkState, 1);
  EXPECT_EQ(rig.device->Block().m_value141, 0x5A5A);
  rig.slave.SetSilent(140, 1);
  rig.Pass();
  EXPECT_EQ(rig.device->Block().m_linkState, 0);
  EXPECT_EQ(rig.device->Block().m_value141, 0x5A5A);
  for (const auto& r : rig.Take()) EXPECT_EQ(r.function, 3);
}

}  // namespace
