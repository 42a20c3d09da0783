#include "SetPoints.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"

namespace {

class SetPointsTest : public ::testing::Test {
protected:
  SetPointsTest() {
    const int32_t a[5] = {-25, -15, -5, 5, 10}, w[5] = {40, 37, 33, 29, 25};
    for (int i = 0; i < 5; ++i) {
      r.m_curveAmbient[i] = a[i];
      r.m_curveWater[i] = w[i];
      r.m_secondCurveWater[i] = w[i] - 10;
    }
    const int32_t ca[3] = {16, 26, 36}, cw[3] = {25, 18, 12};
    for (int i = 0; i < 3; ++i) {
      r.m_coolCurveAmbient[i] = ca[i];
      r.m_coolCurveWater[i] = cw[i];
      r.m_dualCoolCurveWater[i] = cw[i] + 3;
    }
    r.m_heatSetTemp = 35;
    r.m_heatSecondSetTemp = 30;
    r.m_coolSetTemp = 12;
    r.m_coolSecondSetTemp = 18;
    r.m_system1MaxSetTemp = 40;
    r.m_system1MinSetTemp = 18;
    r.m_system2MaxSetTemp = 45;
    r.m_system2MinSetTemp = 7;
    r.m_coolSetMax = 25;
    r.m_coolSetMin = 7;
  }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(SetPointsTest, HeatingCurve_AtBetweenAndBeyondItsPoints) {
  struct Case {
    float ambient, curve, bounded;
  };
  const Case cases[] = {
      {-15.0f, 37.0f, 37.0f}, {0.0f, 31.0f, 31.0f}, {10.0f, 25.0f, 25.0f},
      {20.0f, 17.0f, 18.0f},  {-30.0f, 41.5f, 40.0f}, {-25.0f, 40.0f, 40.0f},
  };
  r.m_curveEnabled = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ambient);
    EXPECT_FLOAT_EQ(CurveValue(r.m_curveAmbient, r.m_curveWater, 5, c.ambient), c.curve);
    r.m_ambientTempA = c.ambient;
    HeatingSetPoint(r);
    EXPECT_FLOAT_EQ(r.m_heatCircuit1Target, c.bounded);
    EXPECT_FLOAT_EQ(r.m_heatTarget, c.bounded);
  }
  r.m_curveEnabled = 0;
  HeatingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 35.0f) << "a disabled curve leaves the set point";
}

TEST_F(SetPointsTest, EqualAmbientPoints_TakeTheWaterOfTheirPoint) {
  r.m_curveAmbient[1] = -25;  // a zero-width first segment
  EXPECT_FLOAT_EQ(CurveValue(r.m_curveAmbient, r.m_curveWater, 5, -30.0f), 40.0f);
  for (int i = 0; i < 5; ++i) r.m_curveAmbient[i] = 0;
  EXPECT_FLOAT_EQ(CurveValue(r.m_curveAmbient, r.m_curveWater, 5, 10.0f), 29.0f);
  EXPECT_FLOAT_EQ(CurveValue(r.m_curveAmbient, r.m_curveWater, 5, -10.0f), 40.0f);
}

TEST_F(SetPointsTest, CoolingCurve_CircuitBoundsBeforeCoolingBounds) {
  struct Case {
    float ambient, curve, bounded;
  };
  const Case cases[] = {{21.0f, 21.5f, 21.5f}, {31.0f, 15.0f, 18.0f}, {40.0f, 9.6f, 18.0f}, {10.0f, 29.2f, 25.0f}};
  r.m_coolCurveEnabled = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ambient);
    EXPECT_FLOAT_EQ(CurveValue(r.m_coolCurveAmbient, r.m_coolCurveWater, 3, c.ambient), c.curve);
    r.m_ambientTempA = c.ambient;
    CoolingSetPoint(r);
    EXPECT_FLOAT_EQ(r.m_coolTarget, c.bounded);
  }
}

// Ranges that do not overlap, or whose ends cross, give a different value for another order of the
// bounds: the circuit's bounds first, then the cooling bounds, each with its maximum tested first.
TEST_F(SetPointsTest, CoolingBounds_CircuitThenCoolingEachMaximumFirst) {
  struct Case {
    const char* name;
    float ambient;
    int quickAdjust;
    int circuitMax, circuitMin, coolMax, coolMin;
    float target;
  };
  const Case cases[] = {
      {"cooling range below the circuit's", 21.0f, 0, 40, 18, 15, 7, 15.0f},     // 21.5, not 18
      {"cooling range above the circuit's", 21.0f, 0, 10, 5, 25, 12, 12.0f},     // 21.5, not 10
      {"circuit ends crossed", 26.0f, 0, 16, 20, 25, 7, 16.0f},                  // 18.0, not 20
      {"cooling ends crossed", 26.0f, -1, 40, 7, 15, 20, 15.0f},                 // 17.0, not 20
  };
  r.m_coolCurveEnabled = 1;
  r.m_dualCoolCurveEnabled = 1;
  r.m_dualTempEnabled = 1;
  for (int i = 0; i < 3; ++i) r.m_dualCoolCurveWater[i] = r.m_coolCurveWater[i];
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_ambientTempA = c.ambient;
    r.m_curve1QuickAdjust = r.m_curve2QuickAdjust = c.quickAdjust;
    r.m_system1MaxSetTemp = r.m_system2MaxSetTemp = c.circuitMax;
    r.m_system1MinSetTemp = r.m_system2MinSetTemp = c.circuitMin;
    r.m_coolSetMax = c.coolMax;
    r.m_coolSetMin = c.coolMin;
    CoolingSetPoint(r);
    EXPECT_FLOAT_EQ(r.m_coolCircuit1Target, c.target);
    EXPECT_FLOAT_EQ(r.m_coolCircuit2Target, c.target);
    EXPECT_FLOAT_EQ(r.m_coolTarget, c.target);
  }
}

TEST_F(SetPointsTest, BothCircuits_ChosenByTheHighTemperatureSignal) {
  r.m_curveEnabled = 1;
  r.m_heatSecondCurveEnabled = 1;
  r.m_dualTempEnabled = 1;
  r.m_ambientTempA = 0.0f;  // circuit 1: 31, circuit 2: 21
  HeatingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_heatCircuit1Target, 31.0f);
  EXPECT_FLOAT_EQ(r.m_heatCircuit2Target, 21.0f);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 21.0f) << "the lower without the signal";
  r.m_highTempSignal = 1;
  HeatingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 31.0f);

  r.m_coolCurveEnabled = 1;
  r.m_dualCoolCurveEnabled = 1;
  r.m_ambientTempA = 21.0f;  // circuit 1: 21.5, circuit 2: 24.5
  r.m_coolMinLimit = 18;
  CoolingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 21.5f) << "the lower with the signal";
  EXPECT_EQ(r.m_coolMinLimit, 18);
  r.m_highTempSignal = 0;
  CoolingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 24.5f);
  EXPECT_EQ(r.m_coolMinLimit, 7) << "circuit 2's minimum";

  r.m_dualCoolCurveWater[0] = 22;  // equal targets at 16 degrees ambient: circuit 1
  r.m_dualCoolCurveWater[1] = 18;
  r.m_ambientTempA = 16.0f;
  r.m_coolCurveWater[0] = 22;
  r.m_coolMinLimit = 18;
  CoolingSetPoint(r);
  EXPECT_EQ(r.m_coolMinLimit, 18);
}

TEST_F(SetPointsTest, RoomCorrection_RefreshedEvery1800SecondsOfOperation) {
  r.m_curveEnabled = 1;
  r.m_curveCorrectionEnabled = 1;
  r.m_heatRoomSetTemp = 22;
  r.m_roomTemp = 20.0f;
  r.m_ambientTempA = 0.0f;
  for (int32_t seconds : {0, 100, 1799}) {
    r.m_heatRunSeconds = seconds;
    HeatingSetPoint(r);
    EXPECT_FLOAT_EQ(r.m_heatTarget, 31.0f) << seconds;
  }
  r.m_heatRunSeconds = 1800;
  HeatingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_roomCorrection, 2.0f);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 33.0f);
  r.m_heatRunSeconds = 1801;
  r.m_roomTemp = 25.0f;
  HeatingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 33.0f) << "kept between refreshes";
  r.m_statusBits = 1u << 1;  // room sensor failed
  HeatingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_roomCorrection, 0.0f);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 31.0f);
}

TEST_F(SetPointsTest, AmbientFault_KeepsThePlainSetPoints) {
  r.m_curveEnabled = 1;
  r.m_coolCurveEnabled = 1;
  r.m_statusBitsB = 0x200000;
  r.m_ambientTempA = -30.0f;
  HeatingSetPoint(r);
  CoolingSetPoint(r);
  EXPECT_FLOAT_EQ(r.m_heatTarget, 35.0f);
  EXPECT_FLOAT_EQ(r.m_coolTarget, 12.0f);
}

}  // namespace
