#include "InputMapping.h"

#include <gtest/gtest.h>

#include <memory>

#include "CSystemData.h"
#include "IndoorBlock.h"
#include "OutdoorBlock.h"
#include "RealRecord.h"
#include "SaturationTable.h"

namespace {

class InputMappingTest : public ::testing::Test {
protected:
  InputMappingTest() {
    indoor->m_linkState = 3;
    outdoor->m_linkState = 1;
    for (int32_t& v : r.m_linkHistory1) v = 1;
    for (int32_t& v : r.m_linkHistory2) v = 1;
  }
  void SetIndoor(int reg, float value) { indoor->m_temp1200[reg - 1200] = value; }

  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
  std::unique_ptr<IndoorBlock> indoor = std::make_unique<IndoorBlock>();
  std::unique_ptr<OutdoorBlock> outdoor = std::make_unique<OutdoorBlock>();
};

TEST_F(InputMappingTest, FailedWaterSensor_TakesPartnerValue) {
  struct Case {
    const char* name;
    uint32_t status;
    int flowSwitchEnabled;
    int valveTarget;
    int defrostSeconds;
    float outlet, inlet;
  };
  const Case cases[] = {
      {"outlet failed, heating", 1u << 4, 1, 1, 0, 35.0f, 30.0f},
      {"outlet failed, cooling", 1u << 4, 1, 2, 0, 23.0f, 30.0f},
      {"outlet failed, long defrost", 1u << 4, 1, 1, 301, 23.0f, 30.0f},
      {"outlet failed, short defrost", 1u << 4, 1, 1, 300, 35.0f, 30.0f},
      {"outlet failed, flow switch unused", 1u << 4, 0, 1, 0, -99.0f, 30.0f},
      {"inlet failed, heating", 1u << 5, 1, 1, 0, 40.0f, 35.0f},
      {"inlet failed, cooling", 1u << 5, 1, 2, 0, 40.0f, 47.0f},
      {"both failed: no partner", (1u << 4) | (1u << 5), 1, 1, 0, -99.0f, 30.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool outletFailed = c.status & (1u << 4);
    SetIndoor(1203, outletFailed ? -99.0f : 40.0f);
    SetIndoor(1204, outletFailed ? 30.0f : -99.0f);
    if (c.status == ((1u << 4) | (1u << 5))) SetIndoor(1204, 30.0f);
    r.m_statusBits = c.status;
    r.m_flowSwitchEnabled = c.flowSwitchEnabled;
    r.m_valveTarget = c.valveTarget;
    r.m_defrostSeconds = c.defrostSeconds;
    MapIndoorUnit(r, *indoor, false);
    EXPECT_FLOAT_EQ(r.m_outletTemp, c.outlet);
    EXPECT_FLOAT_EQ(r.m_inletTemp, c.inlet);
  }
}

TEST_F(InputMappingTest, ControlTemperature_IsSixtySecondMeanCutToHundredths) {
  // The outdoor unit answered first and filled the averages: the window still starts from the first
  // sample, not from the zeros of the seconds before it.
  r.m_averagesReady = 1;
  SetIndoor(1202, 24.0f);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_FLOAT_EQ(r.m_heatCoolTemp, 24.0f);
  SetIndoor(1202, 30.0f);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_FLOAT_EQ(r.m_heatCoolTemp, 24.1f) << "59 x 24.0 + 30.0: averaged from the second sample on";

  SetIndoor(1202, 40.0f);
  for (int i = 0; i < 60; ++i) MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_heatCoolTemp, 40.0f);
  SetIndoor(1202, 46.0f);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_heatCoolTemp, 4010 * 0.01f) << "59 x 40.0 + 46.0 gives 40.1";

  // Until the averages are ready every sample refills the window, so the mean follows the sample.
  r.m_averagesReady = 0;
  SetIndoor(1202, 20.0f);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_heatCoolTemp, 20.0f);

  // A failed control sensor takes the inlet temperature instead, unless that one failed too.
  SetIndoor(1204, 31.0f);
  r.m_statusBits = 1u << 3;
  MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_heatCoolTemp, 31.0f);
  r.m_statusBits = (1u << 3) | (1u << 5);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_heatCoolTemp, 20.0f);

  // During the hot-water defrost hold under water control the mean stands still.
  r.m_statusBits = 0;
  r.m_defrostHoldHw = 5;
  SetIndoor(1202, 50.0f);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_heatCoolTemp, 20.0f);
}

TEST_F(InputMappingTest, IndoorSensorFaults_BecomeSecondFaultWordWhereUsed) {
  indoor->m_faultBits1226 = 0xFFFF;
  r.m_faultWord2 = (1u << 0) | (1u << 17) | (1u << 26);  // bits of other sources stay
  r.m_uptimeSeconds = 121;
  MapIndoorUnit(r, *indoor, false);
  // Nothing enabled: room, tank, TH and mixing sensors are not used; TO, TI, TP, 12, 14 and the DC pump are.
  EXPECT_EQ(r.m_faultWord2, (1u << 0) | (1u << 17) | (1u << 26) | (0x7u << 4) | (0x7u << 9));
  r.m_tempControlPoint = 1;
  r.m_hotWaterEnabled = 1;
  r.m_coolingEnabled = 1;
  r.m_mixTemp1Enabled = 1;
  r.m_mixTemp2Enabled = 1;
  r.m_pumpType = 1;
  MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_faultWord2 & 0xFFEu, 0x7FEu & ~(1u << 11));
  r.m_pumpType = 0;
  r.m_uptimeSeconds = 120;
  MapIndoorUnit(r, *indoor, false);
  EXPECT_FALSE(r.m_faultWord2 & (1u << 11)) << "the pump fault counts only from the 121st second";
}

TEST_F(InputMappingTest, SilentUnit_KeepsValuesAndMovesOnlyLinkStatistics) {
  SetIndoor(1201, 48.0f);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_EQ(r.m_unitsAnswered, kIndoorAnswered);
  indoor->m_linkState = 0;
  SetIndoor(1201, 10.0f);
  MapIndoorUnit(r, *indoor, false);
  EXPECT_FLOAT_EQ(r.m_tankTemp, 48.0f);
  EXPECT_EQ(r.m_linkHistory1[119], 0);
  EXPECT_EQ(r.m_linkQuality1, 119 * 100 / 120);
  MapIndoorUnit(r, *indoor, true);  // demo mode counts the link as answered
  EXPECT_EQ(indoor->m_linkState, 1);
  EXPECT_FLOAT_EQ(r.m_tankTemp, 10.0f);
}

TEST_F(InputMappingTest, LinkQuality_FaultBelowThirtyPercent) {
  struct Case {
    const char* name;
    int silentSeconds;
    int32_t quality;
    bool fault;
  };
  for (const Case& c : {Case{"84 of 120 silent", 84, 30, false}, Case{"85 of 120 silent", 85, 29, true}}) {
    SCOPED_TRACE(c.name);
    for (int32_t& v : r.m_linkHistory1) v = 1;
    for (int32_t& v : r.m_linkHistory2) v = 1;
    for (int s = 0; s < 120; ++s) {
      bool silent = s < c.silentSeconds;
      indoor->m_linkState = silent ? 0 : 3;
      outdoor->m_linkState = silent ? 0 : 1;
      MapIndoorUnit(r, *indoor, false);
      MapOutdoorUnit(r, *outdoor, false);
    }
    UpdateLinkFaults(r);
    EXPECT_EQ(r.m_linkQuality1, c.quality);
    EXPECT_EQ(r.m_linkQuality2, c.quality);
    EXPECT_EQ((r.m_faultWord2 >> 17) & 1u, c.fault ? 1u : 0u);
    EXPECT_EQ((r.m_faultWord2 >> 18) & 1u, c.fault ? 1u : 0u);
  }
}

TEST_F(InputMappingTest, OutdoorPressures_LookUpSaturation) {
  struct Case {
    const char* name;
    float pressureA, pressureB;
    uint32_t status;
    float coilOut, saturation;
  };
  const Case cases[] = {
      {"low suction, healthy coil sensor", 10.0f, 0.1f, 0, 12.5f, static_cast<float>(SaturationTable[76])},
      {"low suction, coil sensor failed", 10.0f, 0.1f, 1u << 6, 0.0f, static_cast<float>(SaturationTable[76])},
      {"discharge beyond the table", 50.0f, 2.0f, 0, static_cast<float>(SaturationTable[8]), 0.0f},
      {"suction limited to entry 200", 30.0f, 40.0f, 0, 35.88f, static_cast<float>(SaturationTable[246])},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_coilTemp = 12.5f;
    r.m_statusBits = c.status;
    outdoor->m_pressure2118 = c.pressureA;
    outdoor->m_pressure2117 = c.pressureB;
    MapOutdoorUnit(r, *outdoor, false);
    EXPECT_FLOAT_EQ(r.m_coilTempOut, c.coilOut);
    EXPECT_FLOAT_EQ(r.m_saturationTemp, c.saturation);
  }
  EXPECT_DOUBLE_EQ(SaturationTable[0], -37.13);
  EXPECT_DOUBLE_EQ(SaturationTable[390], 62.98);
  for (int i = 0; i < 390; ++i) ASSERT_LT(SaturationTable[i], SaturationTable[i + 1]) << i;
}

TEST_F(InputMappingTest, OutdoorState_GivesSnapshotCode) {
  struct Case {
    uint16_t state;
    int32_t code;
  };
  for (const Case& c : {Case{0x101, 5}, Case{1, 2}, Case{2, 1}, Case{3, 3}, Case{4, 6}, Case{0, 0}, Case{0x102, 0}}) {
    SCOPED_TRACE(c.state);
    outdoor->m_word2100 = c.state;
    MapOutdoorUnit(r, *outdoor, false);
    EXPECT_EQ(r.m_snapshotCode, c.code);
  }
}

TEST_F(InputMappingTest, OutdoorFaultRegisters_FormFirstFaultWord) {
  outdoor->m_word2120 = 0xFFFF;  // bits 0-12 taken
  outdoor->m_word2122 = 0x01FF;  // bits 0-7 as 13-20
  outdoor->m_word2121 = 0x0000;
  MapOutdoorUnit(r, *outdoor, false);
  EXPECT_EQ(r.m_faultWord1, 0x1FFFFFu);
  outdoor->m_word2120 = 0;
  outdoor->m_word2122 = 0;
  outdoor->m_word2121 = 0x0FFF;  // bits 0-10 as 21-31, bit 11 as the second word's bit 0
  MapOutdoorUnit(r, *outdoor, false);
  EXPECT_EQ(r.m_faultWord1, 0xFFE00000u);
  EXPECT_EQ(r.m_faultWord2 & 1u, 1u);

  // The P05 escalation's bit 27 outlives the rebuild while P05 has lasted more than 600 seconds.
  outdoor->m_word2121 = 0;
  r.m_p05Seconds = 601;
  MapOutdoorUnit(r, *outdoor, false);
  EXPECT_EQ(r.m_faultWord1, 1u << 27);
  r.m_p05Seconds = 0;
  MapOutdoorUnit(r, *outdoor, false);
  EXPECT_EQ(r.m_faultWord1, 0u);
}

TEST_F(InputMappingTest, FirstOutdoorAnswer_FillsAveragingWindows) {
  outdoor->m_ambientTemp = -3.5f;
  outdoor->m_linkState = 0;  // no reply yet: nothing is taken from the block
  MapOutdoorUnit(r, *outdoor, false);
  EXPECT_EQ(r.m_averagesReady, 0);
  EXPECT_EQ(r.m_unitsAnswered, 0u);
  outdoor->m_linkState = 1;
  MapOutdoorUnit(r, *outdoor, false);
  EXPECT_EQ(r.m_averagesReady, 1);
  EXPECT_EQ(r.m_unitsAnswered, kOutdoorAnswered);
  EXPECT_FLOAT_EQ(r.m_ambientTempB, -3.5f);
  EXPECT_FLOAT_EQ(r.m_ambientMinuteWindow[59], -3.5f);
  EXPECT_FLOAT_EQ(r.m_ambientHourWindow[23], -3.5f);
  EXPECT_FLOAT_EQ(r.m_ambientThreshold, -3.5f);
  outdoor->m_ambientTemp = 5.0f;
  r.m_postDefrostHold = 3;  // held after a defrost
  MapOutdoorUnit(r, *outdoor, false);
  EXPECT_FLOAT_EQ(r.m_ambientTemp, -3.5f);
  EXPECT_FLOAT_EQ(r.m_ambientTempB, -3.5f) << "filled once only";
}

TEST_F(InputMappingTest, GearPidBlock_CountsUpThenCapsAndDrains) {
  r.m_faultWord1 = 1u << 3;
  for (int i = 0; i < 40; ++i) UpdateGearPidBlock(r);
  EXPECT_EQ(r.m_gearPidBlock, 40);
  r.m_faultWord1 = 0;
  UpdateGearPidBlock(r);
  EXPECT_EQ(r.m_gearPidBlock, 30);
  UpdateGearPidBlock(r);
  EXPECT_EQ(r.m_gearPidBlock, 29);
  for (int i = 0; i < 40; ++i) UpdateGearPidBlock(r);
  EXPECT_EQ(r.m_gearPidBlock, 0);
}

TEST_F(InputMappingTest, Snapshot_PacksRecordIntoLogColumns) {
  r.m_snapshotCode = 5;
  r.m_compressorHz = 87;
  r.m_roomTemp = 21.5f;
  r.m_current = 6.2f;
  r.m_voltage = 229;
  r.m_fan2Rpm = 650;
  r.m_indoorValue3 = 45.7f;
  r.m_defrostState = 3;   // odd: lowest bit set
  r.m_highTempSignal = 1;
  r.m_indoorOut1106 = 2;  // even: lowest bit clear
  r.m_modeSignalOut = 1;
  r.m_statusBitsB = 0x80000001u;
  r.m_statusBits = 1u << 17;
  RealRecord row;
  row.m_time = 1234;
  MakeSnapshot(r, row);
  EXPECT_EQ(row.m_time, 1234);
  EXPECT_EQ(row.m_snapshotCode, 5);
  EXPECT_EQ(row.m_compressorHz, 87);
  EXPECT_FLOAT_EQ(row.m_roomTemp, 21.5f);
  EXPECT_FLOAT_EQ(row.m_current, 6.2f);
  EXPECT_EQ(row.m_voltage, 229);
  EXPECT_EQ(row.m_fan2Rpm, 650);
  EXPECT_FLOAT_EQ(row.m_indoorValue3, 45.7f);
  EXPECT_EQ(row.m_statusBits16, (1u << 0) | (1u << 5) | (1u << 15));
  EXPECT_EQ(row.m_statusBitsB, static_cast<int32_t>(0x80000001u));
  EXPECT_EQ(row.m_statusBits, 1 << 17);
}

}  // namespace
