// What the rows of pages 14 and 16 set reaches further: the engine's database, the unit drivers and
// the engine's input mapping.
#include <gtest/gtest.h>

#include "BusDeviceRig.h"
#include "CControlEngine.h"
#include "CParamDevice.h"
#include "CUnitDevice.h"
#include "DeliveredDb.h"
#include "DemoMode.h"
#include "InputMapping.h"
#include "ScriptedPrompts.h"
#include "UnitOutputs.h"

namespace {

using namespace paramtest;

struct IndoorRig : bustest::UnitRig<CUnitDevice, IndoorBlock, unitsim::IndoorBoard> {
  IndoorRig() : UnitRig(11, &unitsim::UnitSimulator::Indoor) {}
};

struct OutdoorRig : bustest::UnitRig<CParamDevice, OutdoorBlock, unitsim::OutdoorBoard> {
  OutdoorRig() : UnitRig(2, &unitsim::UnitSimulator::Outdoor) {}
};

struct DemoOff {
  ~DemoOff() { DemoMode = 0; }
};

TEST(PageEffects, FactorySetting_TheEngineSavesTheLiveSetIntoTheFactoryTable) {
  enginetest::DeliveredDb db;
  enginetest::RawDb raw(db.Path());
  CControlEngine engine;
  engine.m_paramTable.Build(engine.m_systemData);
  engine.InitParams(0);
  CSystemData& d = engine.m_systemData;
  d.m_hotWaterSetTemp = 57;
  d.m_dealerPassword = 4242;
  engine.ServeParamRequest();  // the cycle's save of the changed settings
  ASSERT_EQ(raw.Value("select Val from t_System2 where ID = 64"), "50");

  ScriptedPrompts ui;
  PageContext page{d, ui, 0};
  ui.Ok();
  TapRow(page, 16, 1, 1);
  EXPECT_EQ(d.m_paramRequest, 4);
  engine.ServeParamRequest();
  EXPECT_EQ(d.m_paramRequest, 0);
  EXPECT_EQ(raw.Value("select Val from t_System2 where ID = 64"), "57");
  EXPECT_EQ(raw.Value("select Val from t_System2 where ID = 164"), "4242");
  EXPECT_EQ(raw.Value("select Val from t_System1 where ID = 64"), "50");  // the other profile stays
}

TEST(PageEffects, DemoMode_TheIndoorDriverLeavesTheBusAloneAndOverridesReachTheRecord) {
  DemoOff restore;
  IndoorRig rig;
  rig.unit.SetTemperature(1200, 19.0);
  rig.Pass();  // start-up
  rig.Pass();
  EXPECT_FLOAT_EQ(rig.block.m_temp1200[0], 19.0f);
  rig.Take();

  auto record = std::make_unique<CSystemData>();
  ScriptedPrompts ui;
  PageContext page{*record, ui, 0, &rig.block, nullptr};
  record->m_unlockLevel = 1;
  TapRow(page, 16, 1, 2);  // simulation on
  ASSERT_EQ(DemoMode, 1);
  ui.Ok(26);
  TapRow(page, 16, 2, 2);  // room temperature
  TapRow(page, 16, 4, 1);  // flow switch
  rig.unit.SetTemperature(1200, 30.0);
  rig.Pass();
  EXPECT_TRUE(rig.Take().empty());  // nothing on the bus
  EXPECT_EQ(rig.block.m_linkState, 3);
  MapIndoorUnit(*record, rig.block, DemoMode != 0);
  EXPECT_FLOAT_EQ(record->m_roomTemp, 26.0f);
  EXPECT_EQ(record->m_flowSwitch, 1);

  TapRow(page, 16, 1, 2);  // simulation off: the unit's own values come back
  ASSERT_EQ(DemoMode, 0);
  rig.Pass();
  EXPECT_FALSE(rig.Take().empty());
  EXPECT_FLOAT_EQ(rig.block.m_temp1200[0], 30.0f);
  MapIndoorUnit(*record, rig.block, false);
  EXPECT_FLOAT_EQ(record->m_roomTemp, 30.0f);
}

// Page 14's fan limit against the engine's unit writes and the outdoor unit's driver: a refused value
// told to the person, then the editor cancelled, sends nothing to the unit; the same value picked
// again with OK sends it again, and the unit stores it.
TEST(PageEffects, RefusedOutdoorSetting_CancelSendsNothingOkSendsItAgain) {
  OutdoorRig rig;
  rig.Pass();  // start-up reads
  auto record = std::make_unique<CSystemData>();
  CSystemData& d = *record;
  ScriptedPrompts ui;
  PageContext page{d, ui, 0, nullptr, &rig.block};
  d.m_unlockLevel = 1;
  d.m_activeMode = 1;
  d.m_fanMaxSpeedPercent = 100;
  int seconds = 0;
  // The engine's seconds: the unit writes, a bus pass every other second.
  auto run = [&](int n) {
    for (int i = 0; i < n; ++i) {
      WriteUnitOutputs(d, nullptr, &rig.block);
      if (++seconds % 2 == 0) rig.Pass();
    }
  };

  rig.unit.RefuseCommits(100000);
  ui.Ok(95);
  TapRow(page, 14, 3, 4);
  ASSERT_EQ(d.m_outdoorSettingHold, 180);
  run(180);
  ASSERT_EQ(d.m_outdoorSettingRefused, 1);
  ui.calls.clear();
  ASSERT_EQ(TellOutdoorSettingRefused(page), 1);
  rig.unit.RefuseCommits(0);
  run(10);
  rig.Take();
  const int triggers = rig.unit.CommitTriggers();

  ui.Cancel();
  TapRow(page, 14, 3, 4);
  run(30);
  EXPECT_EQ(d.m_outdoorSettingHold, 0);
  EXPECT_EQ(rig.unit.CommitTriggers(), triggers) << "no commit";
  for (const auto& w : rig.Writes()) EXPECT_NE(w.address + 1, 4000) << "no test-mode writes";
  EXPECT_NE(rig.unit.StoredCell(3307), 68);

  ui.Ok(95);
  TapRow(page, 14, 3, 4);
  EXPECT_EQ(d.m_outdoorSettingHold, 180);
  for (int i = 0; i < 60 && d.m_outdoorSettingHold > 0; ++i) run(1);
  EXPECT_EQ(d.m_outdoorSettingHold, 0);
  EXPECT_EQ(d.m_outdoorSettingRefused, 0);
  EXPECT_EQ(rig.unit.StoredCell(3307), 68);
}

}  // namespace
