#include "Defrost.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "CSystemData.h"
#include "CycleSteps.h"
#include "DeliveredDb.h"
#include "FaultTable.h"
#include "Hydraulics.h"
#include "IndoorBlock.h"
#include "InputMapping.h"
#include "OutdoorBlock.h"

namespace {

class FlowSupervisionTest : public ::testing::Test {
protected:
  FlowSupervisionTest() {
    r.m_flowSwitchEnabled = 1;
    r.m_flowSwitch = 1;
  }
  // One second with the pump on or off and the switch as given.
  void Second(bool pump, int flow) {
    r.m_flowSwitch = flow;
    if (pump) {
      ++r.m_pumpOnSeconds;
    } else {
      r.m_pumpOnSeconds = 0;
    }
    FlowSupervision(r);
  }
  void Seconds(int n, bool pump, int flow) {
    for (int i = 0; i < n; ++i) Second(pump, flow);
  }
  bool Fault() const { return (r.m_statusBits & kStatusFlowFault) != 0; }
  bool Lockout() const { return (r.m_statusBits & kStatusFlowLockout) != 0; }
  // A fault raised at once: ten seconds without flow after the pump has run a while.
  void RaiseFault() {
    Seconds(9, true, 0);
    ASSERT_FALSE(Fault());
    Second(true, 0);
    ASSERT_TRUE(Fault());
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(FlowSupervisionTest, TenSecondsWithoutFlow_RaiseTheFaultNineDoNot) {
  Seconds(40, true, 1);
  Seconds(9, true, 0);
  EXPECT_FALSE(Fault());
  Seconds(1, true, 1);
  Seconds(9, true, 0);
  EXPECT_FALSE(Fault()) << "a second of flow restarts the count";
  Second(true, 0);
  EXPECT_TRUE(Fault());
  EXPECT_FALSE(Lockout());
  EXPECT_EQ(r.m_flowFaultCount, 1);
  EXPECT_EQ(r.m_flowFaultWindow, 1800);
}

TEST_F(FlowSupervisionTest, PumpJustStarted_OrFrostLevelOne_NoFault) {
  Seconds(29, true, 0);
  EXPECT_FALSE(Fault()) << "the pump must have run 30 seconds";
  Second(true, 0);
  EXPECT_TRUE(Fault()) << "and has at 30";
  Seconds(180, true, 1);
  ASSERT_FALSE(Fault());
  r.m_pumpOnSeconds = 0;
  r.m_frostState = 1;
  Seconds(60, true, 0);
  EXPECT_FALSE(Fault());
}

TEST_F(FlowSupervisionTest, Retry_ClearsAfter180Seconds) {
  Seconds(40, true, 1);
  RaiseFault();
  Seconds(179, true, 1);
  EXPECT_TRUE(Fault());
  Second(true, 1);
  EXPECT_FALSE(Fault());
}

TEST_F(FlowSupervisionTest, ThreeFaultsWithinTheWindow_LockOutUntilTheSwitchIsTakenOutOfUse) {
  Seconds(40, true, 1);
  for (int i = 0; i < 2; ++i) {
    RaiseFault();
    Seconds(180, true, 1);
    ASSERT_FALSE(Fault());
  }
  RaiseFault();
  EXPECT_TRUE(Lockout());
  Seconds(5000, true, 1);
  EXPECT_TRUE(Lockout()) << "the lock-out holds with the flow back";
  EXPECT_TRUE(Fault());
  r.m_flowSwitchEnabled = 0;
  Second(true, 1);
  EXPECT_FALSE(Lockout());
  EXPECT_FALSE(Fault());
}

TEST_F(FlowSupervisionTest, FaultsFurtherApartThanTheWindow_NeverLockOut) {
  Seconds(40, true, 1);
  for (int i = 0; i < 8; ++i) {
    RaiseFault();
    Seconds(1000 - 10, true, 1);
  }
  EXPECT_FALSE(Lockout());
}

TEST_F(FlowSupervisionTest, DefrostStart_SuspendsTheCheckFor280Seconds) {
  Seconds(40, true, 1);
  r.m_defrostState = 1;
  Seconds(280, true, 0);
  EXPECT_FALSE(Fault());
  Second(true, 0);
  EXPECT_TRUE(Fault());
}

TEST_F(FlowSupervisionTest, SwitchClosedWithPumpOff_ReportedAfter290Seconds) {
  Seconds(290, false, 1);
  EXPECT_FALSE(r.m_statusBits & kStatusFlowStuckClosed);
  Second(false, 1);
  EXPECT_TRUE(r.m_statusBits & kStatusFlowStuckClosed);
  Second(false, 0);
  EXPECT_FALSE(r.m_statusBits & kStatusFlowStuckClosed);

  r.m_flowFaultCancel = 1;
  Seconds(400, false, 1);
  EXPECT_FALSE(r.m_statusBits & kStatusFlowStuckClosed) << "cancelled by the service setting";
  r.m_flowFaultCancel = 0;
  Seconds(400, true, 1);
  EXPECT_EQ(r.m_flowClosedSeconds, 0) << "a running pump closes the switch by right";
}

class DefrostRulesTest : public ::testing::Test {
protected:
  DefrostRulesTest() {
    r.m_userSystemType = 0;
    r.m_defrostUseOtherWater = 1;
    r.m_outletTemp = 25.0f;
    r.m_tankTemp = 45.0f;
    r.m_heatCoolTemp = 35.0f;
    r.m_activeMode = 1;
    r.m_demandFlags = kDemandHotWater | kDemandHeating;
  }
  void Seconds(int n, int defrost) {
    r.m_defrostState = defrost;
    for (int i = 0; i < n; ++i) DefrostRules(r, nullptr);
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(DefrostRulesTest, Source_ChosenByTemperaturesLayoutAndLastFailure) {
  struct Case {
    const char* name;
    float outlet;
    int mode;
    int useOther;
    int layout;
    int lastFailed;
    int source;
    int valveRequest;
  };
  const Case cases[] = {
      {"outlet warm enough", 22.5f, 1, 1, 0, 0, kSourceOutlet, 0},
      {"outlet too cold, heating: tank", 22.4f, 1, 1, 0, 0, kSourceTank, 1},
      {"outlet too cold, hot water: heating water", 22.4f, 3, 1, 0, 0, kSourceHeatingWater, 2},
      {"other water not allowed", 22.4f, 1, 0, 0, 0, kSourceNotFound, 0},
      {"layout 1 keeps to the outlet", 22.4f, 1, 1, 1, 0, kSourceNotFound, 0},
      {"none found in hot water", 22.4f, 3, 0, 0, 0, kSourceNotFoundHotWater, 0},
      {"after a failed outlet the tank first", 30.0f, 1, 1, 0, kSourceOutlet, kSourceTank, 1},
      {"after a failed tank the outlet first", 30.0f, 1, 1, 0, kSourceTank, kSourceOutlet, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_defrostSource = 0;
    r.m_defrostValveRequest = 0;
    r.m_outletTemp = c.outlet;
    r.m_activeMode = c.mode;
    r.m_defrostUseOtherWater = c.useOther;
    r.m_userSystemType = c.layout;
    r.m_lastDefrostSource = c.lastFailed;
    Seconds(1, 1);
    EXPECT_EQ(r.m_defrostSource, c.source);
    EXPECT_EQ(r.m_defrostValveRequest, c.valveRequest);
  }
}

// The tank and the heating water give defrost heat from 30.0 to 55.0 degrees, both ends included.
TEST_F(DefrostRulesTest, OtherWater_BandFrom30To55Inclusive) {
  struct Case {
    int mode;
    float water;
    int source;
  };
  const Case cases[] = {
      {1, 29.9f, kSourceNotFound}, {1, 30.0f, kSourceTank},         {1, 55.0f, kSourceTank},
      {1, 55.1f, kSourceNotFound}, {3, 29.9f, kSourceNotFoundHotWater}, {3, 30.0f, kSourceHeatingWater},
      {3, 55.0f, kSourceHeatingWater}, {3, 55.1f, kSourceNotFoundHotWater},
  };
  r.m_outletTemp = 20.0f;  // too cold to take the heat from
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << ", " << c.water);
    r.m_defrostSource = 0;
    r.m_activeMode = c.mode;
    r.m_tankTemp = c.mode == 1 ? c.water : 45.0f;
    r.m_heatCoolTemp = c.mode == 3 ? c.water : 35.0f;
    Seconds(1, 1);
    EXPECT_EQ(r.m_defrostSource, c.source);
  }
}

TEST_F(DefrostRulesTest, Holds_SetDuringTheDefrostAndRunDownAfter) {
  r.m_outletTemp = 20.0f;
  Seconds(30, 1);
  EXPECT_EQ(r.m_defrostSource, kSourceTank);
  EXPECT_EQ(r.m_defrostHoldHw, 120);
  EXPECT_EQ(r.m_postDefrostHold, 240);
  EXPECT_EQ(r.m_defrostSeconds, 30);
  Seconds(100, 0);
  EXPECT_EQ(r.m_defrostHoldHw, 20);
  EXPECT_EQ(r.m_postDefrostHold, 140);
  EXPECT_EQ(r.m_sinceDefrostSeconds, 100);
  EXPECT_EQ(r.m_defrostSource, 0);
  EXPECT_EQ(r.m_defrostFailHeat, 0);
}

TEST_F(DefrostRulesTest, ColdWaterFromTheTank_FailsOnlyAfter270Seconds) {
  r.m_outletTemp = 15.0f;
  Seconds(270, 1);
  EXPECT_EQ(r.m_defrostSource, kSourceTank);
  EXPECT_FALSE(r.m_statusBits & kStatusDefrostTooCold);
  Seconds(1, 1);
  EXPECT_TRUE(r.m_statusBits & kStatusDefrostTooCold);
  EXPECT_EQ(r.m_activeMode, 0);
  EXPECT_EQ(r.m_defrostFailHold, 10);
}

TEST_F(DefrostRulesTest, FailedDefrost_CountedThenTheTankTriedFirst) {
  r.m_demandFlags = kDemandHeating;  // no tank source: the outlet is taken
  r.m_outletTemp = 25.0f;
  Seconds(60, 1);
  ASSERT_EQ(r.m_defrostSource, kSourceOutlet);
  r.m_outletTemp = 15.0f;
  Seconds(1, 1);
  EXPECT_TRUE(r.m_statusBits & kStatusDefrostTooCold);
  r.m_outdoorCmd2000 = 7;
  r.m_activeMode = 1;
  Seconds(1, 0);
  EXPECT_EQ(r.m_defrostFailHeat, 1);
  EXPECT_EQ(r.m_lastDefrostSource, kSourceOutlet);
  EXPECT_EQ(r.m_outdoorCmd2000, 0) << "the compressor rests through the fail hold";
  Seconds(8, 0);
  EXPECT_TRUE(r.m_statusBits & kStatusDefrostTooCold);
  Seconds(1, 0);
  EXPECT_FALSE(r.m_statusBits & kStatusDefrostTooCold);

  r.m_demandFlags = kDemandHotWater | kDemandHeating;
  r.m_outletTemp = 25.0f;
  r.m_activeMode = 1;  // the composition's mode again after the hold
  Seconds(1, 1);
  EXPECT_EQ(r.m_defrostSource, kSourceTank);
  Seconds(1, 0);
  EXPECT_EQ(r.m_defrostFailHeat, 0) << "a good defrost clears the count";
  EXPECT_EQ(r.m_lastDefrostSource, 0);
}

TEST_F(DefrostRulesTest, ThreeFailuresInARow_LatchAndStopTheUnit) {
  r.m_demandFlags = kDemandHeating;
  r.m_outletTemp = 10.0f;
  for (int i = 0; i < 2; ++i) {
    Seconds(5, 1);
    r.m_activeMode = 1;
    Seconds(20, 0);
  }
  EXPECT_FALSE(r.m_statusBits & kStatusDefrostFailed);
  Seconds(5, 1);
  r.m_activeMode = 1;
  Seconds(20, 0);
  EXPECT_EQ(r.m_defrostFailHeat, 3);
  EXPECT_TRUE(r.m_statusBits & kStatusDefrostFailed);
  EXPECT_EQ(UpdateStandbyState(r), 1);
  Seconds(3600, 0);
  EXPECT_TRUE(r.m_statusBits & kStatusDefrostFailed) << "latched";
}

// The defrost from the other water: the valve turns to the side of its source (the tank in heating,
// the heating water in hot water), is held there 10 seconds after the defrost, while the source's hold
// runs from 120 to 110, then returns and the request ends.
TEST_F(DefrostRulesTest, OtherWaterDefrost_ValveToTheSourceAndBackAfterTheHold) {
  struct Case {
    const char* name;
    int mode, valveTarget;
    int32_t served, source, request;
    int32_t CSystemData::*hold;
    int32_t CSystemData::*otherHold;
    int32_t sourceSide;
  };
  const Case cases[] = {
      {"tank, in heating", 1, 1, kValveAtHeating, kSourceTank, 1, &CSystemData::m_defrostHoldHw,
       &CSystemData::m_defrostHoldHeat, kValveAtHotWater},
      {"heating water, in hot water", 3, 3, kValveAtHotWater, kSourceHeatingWater, 2, &CSystemData::m_defrostHoldHeat,
       &CSystemData::m_defrostHoldHw, kValveAtHeating},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto fresh = std::make_unique<CSystemData>(r);
    CSystemData& s = *fresh;
    s.m_outletTemp = 20.0f;
    s.m_threeWaySwitchTime = 0;
    s.m_activeMode = c.mode;
    s.m_valveTarget = c.valveTarget;
    s.m_valveDriveSide = c.served;
    s.m_valvePosition = c.served;
    auto second = [&](int defrost) {
      s.m_defrostState = defrost;
      DefrostRules(s, nullptr);
      ValveControl(s);
    };
    second(1);
    EXPECT_EQ(s.m_defrostSource, c.source);
    EXPECT_EQ(s.m_defrostValveRequest, c.request);
    EXPECT_EQ(s.*c.hold, 120);
    EXPECT_EQ(s.*c.otherHold, 0);
    EXPECT_EQ(s.m_valveDriveSide, c.sourceSide);
    for (int i = 0; i < 200; ++i) second(1);
    EXPECT_EQ(s.*c.hold, 120);
    EXPECT_EQ(s.m_valvePosition, c.sourceSide);
    for (int i = 0; i < 9; ++i) second(0);
    EXPECT_EQ(s.*c.hold, 111);
    EXPECT_EQ(s.m_valvePosition, c.sourceSide) << "held at the source until the hold runs to 110";
    EXPECT_EQ(s.m_defrostValveRequest, c.request);
    second(0);
    EXPECT_EQ(s.m_valvePosition, c.served);
    EXPECT_EQ(s.m_defrostValveRequest, 0);
    EXPECT_EQ(s.m_defrostFailHw + s.m_defrostFailHeat, 0) << "a good defrost";
    for (int i = 0; i < 200; ++i) second(0);
    EXPECT_EQ(s.*c.hold, 0);
    EXPECT_EQ(s.m_valvePosition, c.served);
  }
}

TEST_F(DefrostRulesTest, HotWaterWantedAfterATankDefrost_RequestDroppedAndCommandKept) {
  OutdoorBlock block = {};
  block.m_set2000 = 6;
  r.m_outletTemp = 20.0f;
  r.m_valveDriveSide = kValveAtHotWater;
  Seconds(10, 1);
  r.m_valveTarget = 3;
  r.m_outdoorCmd2000 = 0;
  r.m_defrostState = 0;
  DefrostRules(r, &block);
  EXPECT_EQ(r.m_defrostValveRequest, 0);
  EXPECT_EQ(r.m_valvePosition, kValveAtHotWater);
  EXPECT_EQ(r.m_outdoorCmd2000, 6);
}

class FourWayValveTest : public ::testing::Test {
protected:
  FourWayValveTest() {
    table.resize(kFaultCount);
    InitFaultEntries(table, [](int) { return CString(u"four-way"); });
    r.m_fourWayAntiSeize = 1;
    r.m_activeMode = 1;
    r.m_compressorHz = 50;
    r.m_ambientTemp = 5.0f;
    r.m_outdoorTemp2112 = 6.0f;  // the coil warmer than the air ten minutes into heating
  }
  // One second as the engine runs it: the inputs rebuild the fault words, the fault step publishes,
  // then the control's defrost rules.
  void Second() {
    MapIndoorUnit(r, indoor, false);
    RunFaultStep(table, history, r, now++);
    DefrostRules(r, nullptr);
  }

  enginetest::DeliveredDb db;
  enginetest::RawDb raw{db.Path()};
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
  IndoorBlock indoor = {};
  std::vector<FaultEntry> table;
  std::vector<FaultEntry> history;
  int64_t now = 1772452800;
};

TEST_F(FourWayValveTest, CoilNotColderThanAir_FaultShownLoggedAndUnitStopped) {
  const int s13 = 58;
  for (int i = 0; i < 600; ++i) Second();
  EXPECT_FALSE(r.m_faultWord2 & kFourWayValveFault);
  Second();
  EXPECT_TRUE(r.m_faultWord2 & kFourWayValveFault);
  for (int i = 0; i < 10; ++i) Second();
  EXPECT_EQ(table[s13].m_state, FaultEntry::kActive);
  EXPECT_TRUE(r.m_statusBits & (1u << 26)) << "published where the control and the screens read it";
  EXPECT_EQ(r.m_heatPumpAvailable, 0);
  EXPECT_EQ(raw.Value("select Code from t_HPErr"), "S13");
  r.m_compressorHz = 0;
  for (int i = 0; i < 60; ++i) Second();
  EXPECT_TRUE(r.m_statusBits & (1u << 26)) << "it stays through the rebuild of the words";
  r.m_fourWayAntiSeize = 0;
  for (int i = 0; i < 2; ++i) Second();
  EXPECT_FALSE(r.m_statusBits & (1u << 26));
}

TEST_F(FourWayValveTest, CoilColderThanAir_NoFault) {
  r.m_outdoorTemp2112 = 4.0f;
  for (int i = 0; i < 800; ++i) Second();
  EXPECT_FALSE(r.m_statusBits & (1u << 26));
  EXPECT_EQ(r.m_heatPumpAvailable, 1);
}

}  // namespace
