#include "InputMapping.h"

#include "CSystemData.h"
#include "IndoorBlock.h"
#include "OutdoorBlock.h"
#include "RealRecord.h"
#include "SaturationTable.h"

namespace {

bool Has(uint32_t word, int bit) { return (word >> bit) & 1u; }
uint32_t Bit(int bit) { return 1u << bit; }
void SetBit(uint32_t& word, int bit, bool on) { word = on ? (word | Bit(bit)) : (word & ~Bit(bit)); }

// Status bits of the previous second that the mapping depends on.
const int kRoomSensorFault = 1;
const int kControlSensorFault = 3;
const int kOutletSensorFault = 4;
const int kInletSensorFault = 5;
const int kCoilSensorFault = 6;

// Substitutes for a failed outlet or inlet sensor: the partner's value across the unit's usual spread.
const float kHeatingSpread = 5.0f;
const float kCoolingSpread = 7.0f;
const int32_t kLongDefrostSeconds = 300;
const int32_t kValveCooling = 2;
const int32_t kPumpFaultAfterSeconds = 120;

// Parameter cells the outdoor unit's settings are read back from (offsets in the 3000 block).
const int kCellEevControl = 29;
const int kCellFanControl = 249;
const int kCellDefrostControl = 275;

const float kCoilPressureMin = 0.2f;
const int kSuctionMaxIndex = 200;
const int kDischargeMaxIndex = 400;

// Indoor sensor-fault register 1226: bit of each sensor, and the fault-word-2 bit it becomes.
struct SensorFault {
  int registerBit;
  int wordBit;
};

int SnapshotCode(uint16_t operatingState) {
  switch (operatingState) {
    case 0x101: return 5;
    case 1: return 2;
    case 2: return 1;
    case 3: return 3;
    case 4: return 6;
    default: return 0;
  }
}

float IndoorTemp(const IndoorBlock& b, int reg) { return b.m_temp1200[reg - 1200]; }

void MapIndoorWaterTemps(CSystemData& r, const IndoorBlock& b) {
  r.m_outletTemp = IndoorTemp(b, 1203);
  r.m_inletTemp = IndoorTemp(b, 1204);
  if (!r.m_flowSwitchEnabled) return;
  bool outletFailed = Has(r.m_statusBits, kOutletSensorFault);
  bool inletFailed = Has(r.m_statusBits, kInletSensorFault);
  bool coolingSide = r.m_valveTarget == kValveCooling || r.m_defrostSeconds > kLongDefrostSeconds;
  if (outletFailed && !inletFailed) {
    r.m_outletTemp = coolingSide ? r.m_inletTemp - kCoolingSpread : r.m_inletTemp + kHeatingSpread;
  } else if (inletFailed && !outletFailed) {
    r.m_inletTemp = coolingSide ? r.m_outletTemp + kCoolingSpread : r.m_outletTemp - kHeatingSpread;
  }
}

// The 60-second mean of the control temperature, cut to hundredths in single precision.
void MapControlTemp(CSystemData& r, const IndoorBlock& b) {
  bool useInlet = Has(r.m_statusBits, kControlSensorFault) && !Has(r.m_statusBits, kInletSensorFault);
  float sample = useInlet ? r.m_inletTemp : IndoorTemp(b, 1202);
  float* window = r.m_ctrlTempWindow;
  // The window starts from the first sample, whichever unit answered first: a mean over the zeros of
  // the seconds before would control and show a water far colder than it is for a minute.
  if (r.m_averagesReady == 0 || r.m_ctrlTempReady == 0) {
    for (int i = 0; i < 60; ++i) window[i] = sample;
    r.m_ctrlTempReady = 1;
  }
  for (int i = 59; i > 0; --i) window[i] = window[i - 1];
  window[0] = sample;
  float sum = 0.0f;
  for (int i = 0; i < 60; ++i) sum += window[i];
  r.m_heatCoolTemp = static_cast<float>(static_cast<int>(sum * 1.6666666f)) * 0.01f;
}

void MapIndoorFaults(CSystemData& r, const IndoorBlock& b) {
  uint16_t f = b.m_faultBits1226;
  uint32_t& w = r.m_faultWord2;
  bool roomUsed = r.m_tempControlPoint == 1 || (r.m_tempControlPoint == 0 && r.m_curveCorrectionEnabled);
  SetBit(w, 1, roomUsed && Has(f, 0));
  SetBit(w, 2, r.m_hotWaterEnabled && Has(f, 1));
  SetBit(w, 3, (r.m_heatingEnabled || r.m_coolingEnabled) && Has(f, 2));
  SetBit(w, 4, Has(f, 3));
  SetBit(w, 5, Has(f, 4));
  SetBit(w, 6, Has(f, 5));
  SetBit(w, 7, r.m_mixTemp1Enabled && Has(f, 8));
  SetBit(w, 8, r.m_mixTemp2Enabled && Has(f, 9));
  SetBit(w, 9, Has(f, 12));
  SetBit(w, 10, Has(f, 14));
  SetBit(w, 11, r.m_pumpType == 0 && r.m_uptimeSeconds > kPumpFaultAfterSeconds && Has(f, 15));
}

// The outdoor unit's fault registers as the first fault word: 2120 bits 0-12, 2122 bits 0-7 as
// 13-20, 2121 bits 0-10 as 21-31. The P05 escalation's bit is kept while it lasts, so F07 sees a
// steady condition rather than one the rebuild clears every second.
void MapOutdoorFaults(CSystemData& r, const OutdoorBlock& b) {
  uint32_t word = (b.m_word2120 & 0x1FFFu) | (static_cast<uint32_t>(b.m_word2122 & 0xFFu) << 13) |
                  (static_cast<uint32_t>(b.m_word2121 & 0x7FFu) << 21);
  if (r.m_p05Seconds > 600) word |= Bit(27);
  r.m_faultWord1 = word;
  SetBit(r.m_faultWord2, 0, Has(b.m_word2121, 11));
}

void FillAverages(CSystemData& r) {
  float t = r.m_ambientTemp;
  r.m_ambientTempA = t;
  r.m_ambientTempB = t;
  r.m_ambientTempC = t;
  for (float& v : r.m_ambientMinuteWindow) v = t;
  for (float& v : r.m_ambientHourWindow) v = t;
  r.m_ambientThreshold = t;
  r.m_averagesReady = 1;
}

}  // namespace

void MapIndoorUnit(CSystemData& r, IndoorBlock& b, bool demo) {
  if (demo) b.m_linkState = 1;
  const uint32_t replies = RepliesSoFar(b.m_fresh);
  int32_t link = b.m_linkState;
  if (link) {
    TookReply(b.m_fresh, replies);
    MapIndoorWaterTemps(r, b);
    r.m_coilTemp = IndoorTemp(b, 1205);
    r.m_mix1Temp = IndoorTemp(b, 1208);
    r.m_mix2Temp = IndoorTemp(b, 1209);
    if (!(r.m_defrostHoldHeat > 0)) r.m_tankTemp = IndoorTemp(b, 1201);
    if (!(r.m_defrostHoldHw > 0 && r.m_tempControlPoint == 0)) MapControlTemp(r, b);
    if (!(r.m_defrostHoldHw > 0 && r.m_tempControlPoint == 1)) r.m_roomTemp = IndoorTemp(b, 1200);
    r.m_flowSwitch = b.m_in1213;
    r.m_powerCutSwitch = r.m_powerCutEnabled ? b.m_in1212 : 0;
    r.m_coolSignal = b.m_in1214;
    r.m_heatSignal = b.m_in1215;
    r.m_highTempSignal = b.m_in1220;
    r.m_indoorTemp1206 = IndoorTemp(b, 1206);
    r.m_indoorTemp1207 = IndoorTemp(b, 1207);
    r.m_indoorValue1 = b.m_value1;
    r.m_indoorValue2 = b.m_value2;
    r.m_indoorValue3 = b.m_value3;
    MapIndoorFaults(r, b);
    r.m_unitsAnswered |= kIndoorAnswered;
  }
  UpdateLinkStatistics(r.m_linkHistory1, r.m_linkQuality1, link != 0);
}

void MapOutdoorUnit(CSystemData& r, OutdoorBlock& b, bool demo) {
  if (demo) b.m_linkState = 1;
  const uint32_t replies = RepliesSoFar(b.m_fresh);
  int32_t link = b.m_linkState;
  if (link) {
    TookReply(b.m_fresh, replies);
    r.m_outdoorVersion = b.m_version;
    if (r.m_testModeState == 0) {
      r.m_outdoorEevControl = b.m_paramBlock[kCellEevControl];
      r.m_outdoorFanControl = b.m_paramBlock[kCellFanControl];
      r.m_outdoorDefrostControl = b.m_paramBlock[kCellDefrostControl];
    }
    r.m_snapshotCode = SnapshotCode(b.m_word2100);
    if (!(r.m_postDefrostHold > 0)) r.m_ambientTemp = b.m_ambientTemp;
    r.m_defrostState = b.m_defrost;
    r.m_compressorHz = b.m_compressorHz;
    r.m_eevSteps = b.m_eevSteps;
    if (r.m_averagesReady == 0) FillAverages(r);
    r.m_pressureA = b.m_pressure2118;
    r.m_pressureB = b.m_pressure2117;
    if (r.m_pressureB > kCoilPressureMin) {
      r.m_coilTempOut = static_cast<float>(SaturationLookup(r.m_pressureB, kSuctionMaxIndex));
    } else {
      r.m_coilTempOut = Has(r.m_statusBits, kCoilSensorFault) ? 0.0f : r.m_coilTemp;
    }
    r.m_saturationTemp = static_cast<float>(SaturationLookup(r.m_pressureA, kDischargeMaxIndex));
    r.m_outdoorTemp2113 = b.m_temp2113;
    r.m_outdoorTemp2114 = b.m_temp2114;
    r.m_outdoorTemp2112 = b.m_temp2112;
    r.m_fan1Rpm = b.m_fan1Rpm;
    r.m_fan2Rpm = b.m_fan2Rpm;
    r.m_current = b.m_current;
    r.m_voltage = b.m_voltage;
    MapOutdoorFaults(r, b);
    r.m_unitsAnswered |= kOutdoorAnswered;
  }
  UpdateLinkStatistics(r.m_linkHistory2, r.m_linkQuality2, link != 0);
}

void UpdateLinkStatistics(int32_t (&history)[kLinkWindow], int32_t& quality, bool answered) {
  int32_t sum = 0;
  for (int i = 0; i < kLinkWindow - 1; ++i) {
    history[i] = history[i + 1];
    sum += history[i];
  }
  history[kLinkWindow - 1] = answered ? 1 : 0;
  sum += history[kLinkWindow - 1];
  quality = sum * 100 / kLinkWindow;
}

void UpdateLinkFaults(CSystemData& r) {
  SetBit(r.m_faultWord2, 17, r.m_linkQuality1 < kLinkFaultPercent);
  SetBit(r.m_faultWord2, 18, r.m_linkQuality2 < kLinkFaultPercent);
}

bool UnitsHeard(const CSystemData& r) {
  const bool indoor = (r.m_unitsAnswered & kIndoorAnswered) || Has(r.m_statusBits, 17);
  const bool outdoor = (r.m_unitsAnswered & kOutdoorAnswered) || Has(r.m_statusBits, 18);
  return indoor && outdoor;
}

void UpdateGearPidBlock(CSystemData& r) {
  if (Has(r.m_faultWord1, 3)) {
    ++r.m_gearPidBlock;
  } else if (r.m_gearPidBlock > 30) {
    r.m_gearPidBlock = 30;
  } else if (r.m_gearPidBlock > 0) {
    --r.m_gearPidBlock;
  }
}

void MakeSnapshot(const CSystemData& r, RealRecord& row) {
  row.m_snapshotCode = static_cast<uint8_t>(r.m_snapshotCode);
  row.m_compressorHz = static_cast<uint8_t>(r.m_compressorHz);
  row.m_roomTemp = r.m_roomTemp;
  row.m_tankTemp = r.m_tankTemp;
  row.m_heatCoolTemp = r.m_heatCoolTemp;
  row.m_ambientTemp = r.m_ambientTemp;
  row.m_outletTemp = r.m_outletTemp;
  row.m_inletTemp = r.m_inletTemp;
  row.m_coilTemp = r.m_coilTemp;
  row.m_outdoorTemp2113 = r.m_outdoorTemp2113;
  row.m_outdoorTemp2114 = r.m_outdoorTemp2114;
  row.m_outdoorTemp2112 = r.m_outdoorTemp2112;
  row.m_mix1Temp = r.m_mix1Temp;
  row.m_mix2Temp = r.m_mix2Temp;
  row.m_pressureA = r.m_pressureA;
  row.m_pressureB = r.m_pressureB;
  row.m_current = r.m_current;
  row.m_voltage = static_cast<uint16_t>(r.m_voltage);
  row.m_eevSteps = static_cast<uint16_t>(r.m_eevSteps);
  row.m_fan1Rpm = static_cast<uint16_t>(r.m_fan1Rpm);
  row.m_fan2Rpm = static_cast<uint16_t>(r.m_fan2Rpm);
  row.m_indoorValue1 = r.m_indoorValue1;
  row.m_indoorValue2 = r.m_indoorValue2;
  row.m_indoorValue3 = r.m_indoorValue3;
  const int32_t bits[16] = {r.m_defrostState,  r.m_flowSwitch,    r.m_powerCutSwitch, r.m_coolSignal,
                            r.m_heatSignal,    r.m_highTempSignal, r.m_indoorOut1110, r.m_indoorOut1109,
                            r.m_indoorOut1111, r.m_indoorOut1100, r.m_indoorOut1101, r.m_indoorOut1102,
                            r.m_indoorOut1103, r.m_indoorOut1113, r.m_indoorOut1106, r.m_modeSignalOut};
  uint32_t packed = 0;
  for (int i = 0; i < 16; ++i) packed |= static_cast<uint32_t>(bits[i] & 1) << i;
  row.m_statusBits16 = packed;
  row.m_statusBitsB = static_cast<int32_t>(r.m_statusBitsB);
  row.m_statusBits = static_cast<int32_t>(r.m_statusBits);
}
