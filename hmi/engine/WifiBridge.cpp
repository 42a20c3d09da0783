// The engine's side of the WiFi module and its server link: the module's settings into the record during
// the start-up window, the server's settings into the record within their accepted ranges, and the two
// upload blocks refilled from the record. Engine thread only; the block is shared with the WiFi port's thread
// through its atomic words (see WifiBlock.h).
#include <cmath>
#include <cstring>
#include <string>

#include "CControlEngine.h"
#include "CWifiDevice.h"
#include "InputMapping.h"
#include "RecordTable.h"
#include "SoftClock.h"
#include "UnitOutputs.h"
#include "WifiBlock.h"

namespace {

const int kWifiStartWindow = 180;
const int kStatusWords = 45;
const int kMirrorWords = 136;
const int kRecordJobLimit = 20;

// Running bits of CSystemData::m_demandFlags.
const uint16_t kRunningHotWater = 0x08;
const uint16_t kRunningHeating = 0x10;
const uint16_t kRunningCooling = 0x20;

// A bound of an accepted range: a constant, a field read when the entry is tested, or the larger of two.
struct Bound {
  int fixed;
  int32_t CSystemData::*field;
  int32_t CSystemData::*other;
  int Value(const CSystemData& d) const {
    if (!field) return fixed;
    return other && d.*other > d.*field ? d.*other : d.*field;
  }
};
constexpr Bound Fixed(int v) { return {v, nullptr, nullptr}; }
constexpr Bound Field(int32_t CSystemData::*f) { return {0, f, nullptr}; }
constexpr Bound Larger(int32_t CSystemData::*a, int32_t CSystemData::*b) { return {0, a, b}; }

struct Accepted {
  int index;
  Bound low;
  Bound high;
};

// The indexes the server may set, in the order they are applied; the other ten are reported only.
const Accepted kAccepted[] = {
    {0, Fixed(0), Fixed(1)},
    {3, Fixed(0), Fixed(4)},
    {5, Fixed(0), Fixed(1)},
    {6, Fixed(0), Fixed(1)},
    {7, Fixed(0), Fixed(1)},
    {8, Fixed(0), Fixed(3)},
    {9, Fixed(0), Fixed(1)},
    {10, Fixed(-10), Fixed(25)},
    {11, Fixed(20), Fixed(53)},
    {12, Fixed(5), Fixed(60)},
    {13, Fixed(37), Fixed(60)},
    {14, Fixed(20), Fixed(37)},
    {15, Fixed(18), Fixed(30)},
    {16, Fixed(7), Fixed(20)},
    {17, Fixed(0), Fixed(1)},
    {18, Fixed(0), Fixed(1)},
    {19, Fixed(1), Fixed(3)},
    {20, Fixed(1), Fixed(10)},
    {21, Fixed(1), Fixed(10)},
    {22, Field(&CSystemData::m_system1MinSetTemp), Field(&CSystemData::m_system1MaxSetTemp)},
    {23, Fixed(0), Fixed(1)},
    {24, Fixed(-25), Fixed(25)},
    {25, Fixed(-25), Fixed(25)},
    {26, Fixed(-25), Fixed(25)},
    {27, Fixed(-25), Fixed(25)},
    {28, Fixed(-25), Fixed(25)},
    {29, Larger(&CSystemData::m_system1MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system1MaxSetTemp)},
    {30, Larger(&CSystemData::m_system1MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system1MaxSetTemp)},
    {31, Larger(&CSystemData::m_system1MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system1MaxSetTemp)},
    {32, Larger(&CSystemData::m_system1MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system1MaxSetTemp)},
    {33, Larger(&CSystemData::m_system1MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system1MaxSetTemp)},
    {34, Fixed(0), Fixed(1)},
    {35, Fixed(15), Fixed(35)},
    {36, Fixed(15), Fixed(35)},
    {37, Field(&CSystemData::m_system1MinSetTemp), Field(&CSystemData::m_system1MaxSetTemp)},
    {38, Field(&CSystemData::m_coolSetMin), Field(&CSystemData::m_system1MaxSetTemp)},
    {39, Field(&CSystemData::m_system1MinSetTemp), Field(&CSystemData::m_heatSetMax)},
    {40, Fixed(0), Fixed(1)},
    {41, Fixed(60), Fixed(75)},
    {42, Fixed(5), Fixed(60)},
    {43, Fixed(10), Fixed(240)},
    {44, Fixed(0), Fixed(1)},
    {45, Fixed(10), Fixed(50)},
    {46, Fixed(10), Fixed(50)},
    {47, Fixed(0), Fixed(1)},
    {48, Fixed(0), Fixed(1)},
    {49, Fixed(0), Fixed(1)},
    {50, Fixed(0), Fixed(1)},
    {51, Fixed(0), Fixed(600)},
    {52, Fixed(5), Fixed(120)},
    {53, Fixed(0), Fixed(1)},
    {54, Fixed(25), Fixed(75)},
    {55, Fixed(2), Fixed(15)},
    {56, Fixed(0), Fixed(1)},
    {57, Fixed(-15), Fixed(20)},
    {58, Fixed(10), Fixed(60)},
    {59, Fixed(30), Fixed(180)},
    {60, Fixed(3), Fixed(10)},
    {61, Fixed(0), Fixed(1)},
    {62, Fixed(0), Fixed(1)},
    {63, Fixed(0), Fixed(1)},
    {64, Fixed(30), Fixed(55)},
    {65, Fixed(2), Fixed(20)},
    {66, Fixed(0), Fixed(1)},
    {67, Field(&CSystemData::m_system2MinSetTemp), Field(&CSystemData::m_system2MaxSetTemp)},
    {68, Fixed(0), Fixed(1)},
    {69, Larger(&CSystemData::m_system2MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system2MaxSetTemp)},
    {70, Larger(&CSystemData::m_system2MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system2MaxSetTemp)},
    {71, Larger(&CSystemData::m_system2MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system2MaxSetTemp)},
    {72, Larger(&CSystemData::m_system2MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system2MaxSetTemp)},
    {73, Larger(&CSystemData::m_system2MinSetTemp, &CSystemData::m_heatSetMin), Field(&CSystemData::m_system2MaxSetTemp)},
    {74, Field(&CSystemData::m_system2MinSetTemp), Field(&CSystemData::m_system2MaxSetTemp)},
    {75, Field(&CSystemData::m_system2MinSetTemp), Field(&CSystemData::m_heatSetMax)},
    {76, Field(&CSystemData::m_coolSetMin), Field(&CSystemData::m_system2MaxSetTemp)},
    {77, Fixed(0), Fixed(1)},
    {78, Fixed(2), Fixed(10)},
    {79, Fixed(0), Fixed(1)},
    {80, Fixed(2), Fixed(10)},
    {81, Fixed(0), Fixed(1)},
    {82, Fixed(0), Fixed(1)},
    {83, Fixed(0), Fixed(1)},
    {84, Fixed(0), Fixed(1)},
    {85, Fixed(0), Fixed(3)},
    {86, Fixed(0), Fixed(1)},
    {87, Fixed(0), Fixed(2)},
    {88, Fixed(0), Fixed(2)},
    {89, Fixed(5), Fixed(60)},
    {90, Fixed(1), Fixed(10)},
    {91, Fixed(0), Fixed(1)},
    {92, Fixed(0), Fixed(1)},
    {93, Fixed(0), Fixed(1)},
    {94, Fixed(0), Fixed(1)},
    {95, Fixed(0), Fixed(1)},
    {96, Fixed(0), Fixed(1)},
    {97, Fixed(0), Fixed(1)},
    {98, Fixed(0), Fixed(1)},
    {99, Fixed(0), Fixed(1)},
    {107, Fixed(5), Fixed(10)},
    {108, Fixed(0), Fixed(4)},
    {109, Fixed(0), Fixed(10)},
    {110, Fixed(5), Fixed(30)},
    {111, Fixed(5), Fixed(30)},
    {112, Fixed(0), Fixed(15)},
    {113, Fixed(0), Fixed(1)},
    {114, Fixed(0), Fixed(1)},
    {115, Fixed(0), Fixed(16)},
    {116, Fixed(0), Fixed(16)},
    {117, Fixed(90), Fixed(100)},
    {118, Fixed(0), Fixed(2)},
    {119, Fixed(0), Fixed(1)},
    {120, Fixed(-3), Fixed(3)},
    {121, Fixed(-3), Fixed(3)},
    {122, Fixed(0), Fixed(2)},
    {123, Fixed(0), Fixed(1)},
    {124, Fixed(-20), Fixed(43)},
    {125, Fixed(0), Fixed(1)},
    {126, Fixed(-20), Fixed(43)},
    {127, Fixed(0), Fixed(1)},
    {128, Fixed(0), Fixed(1)},
    {129, Fixed(0), Fixed(1)},
    {130, Fixed(0), Fixed(1)},
    {131, Fixed(0), Fixed(1)},
    {132, Fixed(0), Fixed(1)},
    {133, Fixed(0), Fixed(1)},
    {134, Fixed(0), Fixed(1)},
    {135, Fixed(0), Fixed(1)},
};

// The setting behind each index of upload block 2 and the remote table.
void MirrorFields(CSystemData& d, int32_t* out[kMirrorWords]) {
  int32_t* const fields[kMirrorWords] = {
      &d.m_systemSwitch,  // 0
      &d.m_systemVersion,  // 1
      &d.m_databaseVersion,  // 2
      &d.m_runMode,  // 3
      &d.m_languageIndex,  // 4
      &d.m_hotWaterEnabled,  // 5
      &d.m_heatingEnabled,  // 6
      &d.m_coolingEnabled,  // 7
      &d.m_autoFunction,  // 8
      &d.m_tempControlPoint,  // 9
      &d.m_heatAmbientStart,  // 10
      &d.m_coolAmbientStart,  // 11
      &d.m_lowFreqRunTime,  // 12
      &d.m_heatSetMax,  // 13
      &d.m_heatSetMin,  // 14
      &d.m_coolSetMax,  // 15
      &d.m_coolSetMin,  // 16
      &d.m_userSystemType,  // 17
      &d.m_timerEnabled,  // 18
      &d.m_stopTempOffset,  // 19
      &d.m_tempHysteresis,  // 20
      &d.m_derateTempDiff,  // 21
      &d.m_coolSetTemp,  // 22
      &d.m_curveEnabled,  // 23
      &d.m_curveAmbient[0],  // 24
      &d.m_curveAmbient[1],  // 25
      &d.m_curveAmbient[2],  // 26
      &d.m_curveAmbient[3],  // 27
      &d.m_curveAmbient[4],  // 28
      &d.m_curveWater[0],  // 29
      &d.m_curveWater[1],  // 30
      &d.m_curveWater[2],  // 31
      &d.m_curveWater[3],  // 32
      &d.m_curveWater[4],  // 33
      &d.m_curveCorrectionEnabled,  // 34
      &d.m_heatRoomSetTemp,  // 35
      &d.m_coolRoomSetTemp,  // 36
      &d.m_heatSetTemp,  // 37
      &d.m_system1MinSetTemp,  // 38
      &d.m_system1MaxSetTemp,  // 39
      &d.m_sterilizeEnabled,  // 40
      &d.m_sterilizeTemp,  // 41
      &d.m_sterilizeHoldTime,  // 42
      &d.m_sterilizeMaxTime,  // 43
      &d.m_holidayEnabled,  // 44
      &d.m_holidayHotWaterTemp,  // 45
      &d.m_holidayHeatTemp,  // 46
      &d.m_heatBackupEnabled,  // 47
      &d.m_heatBackupPriority,  // 48
      &d.m_hotWaterBackupEnabled,  // 49
      &d.m_hotWaterBackupPriority,  // 50
      &d.m_heatIntegralSetting,  // 51
      &d.m_insufficientCapacityTime,  // 52
      &d.m_heatEmergencyRun,  // 53
      &d.m_hotWaterSetTemp,  // 54
      &d.m_hotWaterRestartDiff,  // 55
      &d.m_heatBalanceEnabled,  // 56
      &d.m_balanceStartTemp,  // 57
      &d.m_balanceHotWaterMinTime,  // 58
      &d.m_balanceHeatMaxTime,  // 59
      &d.m_balanceTempDiff,  // 60
      &d.m_balanceTankHeaterEnabled,  // 61
      &d.m_heatStorageEnabled,  // 62
      &d.m_reheatEnabled,  // 63
      &d.m_reheatSetTemp,  // 64
      &d.m_reheatRestartDiff,  // 65
      &d.m_dualTempEnabled,  // 66
      &d.m_coolSecondSetTemp,  // 67
      &d.m_heatSecondCurveEnabled,  // 68
      &d.m_secondCurveWater[0],  // 69
      &d.m_secondCurveWater[1],  // 70
      &d.m_secondCurveWater[2],  // 71
      &d.m_secondCurveWater[3],  // 72
      &d.m_secondCurveWater[4],  // 73
      &d.m_heatSecondSetTemp,  // 74
      &d.m_system2MaxSetTemp,  // 75
      &d.m_system2MinSetTemp,  // 76
      &d.m_sleepEnabled,  // 77
      &d.m_sleepTempAdjust,  // 78
      &d.m_lowNoiseEnabled,  // 79
      &d.m_allowedTempDeviation,  // 80
      &d.m_powerCutSignalType,  // 81
      &d.m_powerCutEnabled,  // 82
      &d.m_backupHeatOutput,  // 83
      &d.m_pumpOnPowerCut,  // 84
      &d.m_backlightMode,  // 85
      &d.m_pumpType,  // 86
      &d.m_pumpSpeed,  // 87
      &d.m_pumpWorkMode,  // 88
      &d.m_pumpStandbyTime,  // 89
      &d.m_pumpRunTime,  // 90
      &d.m_bufferTankPresent,  // 91
      &d.m_mixTemp1Enabled,  // 92
      &d.m_mixTemp2Enabled,  // 93
      &d.m_pumpAHeating,  // 94
      &d.m_pumpACooling,  // 95
      &d.m_pumpAHighTemp,  // 96
      &d.m_pumpBHeating,  // 97
      &d.m_pumpBCooling,  // 98
      &d.m_pumpBHighTemp,  // 99
      &d.m_floorHeatEnabled,  // 100
      &d.m_floorHeatStage,  // 101
      &d.m_floorStageRunTime,  // 102
      &d.m_floorStageSetTemp,  // 103
      &d.m_floorStageEffectiveTime,  // 104
      &d.m_floorHeatTotalTime,  // 105
      &d.m_floorHeatMaxTemp,  // 106
      &d.m_frost1AmbientStart,  // 107
      &d.m_frost2AmbientStart,  // 108
      &d.m_frost2AmbientStop,  // 109
      &d.m_frost2OutletStart,  // 110
      &d.m_frost2OutletStop,  // 111
      &d.m_dealerId,  // 112
      &d.m_defrostUseOtherWater,  // 113
      &d.m_flowSwitchEnabled,  // 114
      &d.m_threeWaySwitchTime,  // 115
      &d.m_threeWayPowerTime,  // 116
      &d.m_fanMaxSpeedPercent,  // 117
      &d.m_modeSignalOutput,  // 118
      &d.m_modeSignalType,  // 119
      &d.m_curve1QuickAdjust,  // 120
      &d.m_curve2QuickAdjust,  // 121
      &d.m_defrostMethod,  // 122
      &d.m_ecoHotWaterEnabled,  // 123
      &d.m_ecoHotWaterAmbientStart,  // 124
      &d.m_ecoHeatEnabled,  // 125
      &d.m_ecoHeatAmbientStart,  // 126
      &d.m_tankProbeGuard,  // 127
      &d.m_outdoorPowerOffEnabled,  // 128
      &d.m_outdoorPowerOffAmbient,  // 129
      &d.m_pumpSpeedHeating,  // 130
      &d.m_pumpSpeedCooling,  // 131
      &d.m_pumpSpeedHotWater,  // 132
      &d.m_auxOffWithTankHeater,  // 133
      &d.m_auxOffAboveAmbient,  // 134
      &d.m_auxOffAmbientTemp,  // 135
  };
  std::memcpy(out, fields, sizeof(fields));
}

// Heater choice of the backup heat sources: which 1 is the first heater, 2 the second (only when enabled).
bool HeaterOn(int which, int32_t enabled, int32_t priority, int32_t demand1, int32_t demand2) {
  if (which == 2) return enabled && (priority == 1 ? demand1 : demand2);
  return (enabled == 1 && priority == 1) ? demand2 : demand1;
}

int HeaterWord(int32_t enabled, int32_t priority, int32_t demand1, int32_t demand2) {
  if (HeaterOn(2, enabled, priority, demand1, demand2)) return 2;
  return HeaterOn(1, enabled, priority, demand1, demand2) ? 1 : 0;
}

// A module text into a record field: converted, cut to the field, the rest left zero.
void CopyText(char16_t* field, size_t units, const char* text, size_t textSize) {
  const std::u16string wide = FromUtf8(std::string(text, strnlen(text, textSize)));
  const size_t n = wide.size() < units - 1 ? wide.size() : units - 1;
  std::memcpy(field, wide.data(), n * sizeof(char16_t));
}

template <size_t U, size_t B>
void CopyText(char16_t (&field)[U], const char (&text)[B]) {
  CopyText(field, U, text, B);
}

// Stores a float word and counts it when it changed.
void UpdateFloat(int32_t& word, float value, int& changes) {
  float now;
  std::memcpy(&now, &word, sizeof(now));
  if (now == value) return;
  std::memcpy(&word, &value, sizeof(word));
  ++changes;
}

void UpdateInt(int32_t& word, int value, int& changes) {
  float now;
  std::memcpy(&now, &word, sizeof(now));
  if (UpdateIfChanged(&now, value, &changes)) std::memcpy(&word, &now, sizeof(word));
}

}  // namespace

int RemoteEventStub(void* /*engine*/, RecordTableEntry* /*record*/) { return 1; }

int CControlEngine::WifiExchange() {
  WifiBlock* b = m_wifiBlock;
  if (!b) return 0;
  CSystemData& d = m_systemData;
  b->m_enabled = d.m_wifiPresent ? 1 : 0;
  const uint16_t flags = b->m_linkFlags.load();
  d.m_wifiOnline = (flags & kWifiOnline) ? 1 : 0;
  d.m_wifiServerSeen = (flags & kWifiLinkSeen) ? 1 : 0;
  // No unit for the link to upload until block 1 holds what the units sent: its periodic upload and the
  // server's asking would otherwise carry the empty table.
  b->m_unitCount = m_statusFilled ? 1 : 0;

  // Page 14 opens the window anew from its own thread: this second works on the value read here,
  // and counts on from it only if nobody set it meanwhile.
  int32_t window = d.m_wifiStartCountdown.load();
  if (window != 0) {
    b->m_enabled = 1;
    if (window == kWifiStartWindow) {
      CWifiDevice::RequestConfig(*b, CWifiDevice::kFullSetup, nullptr, 0);
    }
    std::memset(d.m_wifiSsid, 0, sizeof(d.m_wifiSsid));
    std::memset(d.m_wifiKey, 0, sizeof(d.m_wifiKey));
    std::memset(d.m_wifiNetwork, 0, sizeof(d.m_wifiNetwork));
    std::memset(d.m_serverAddress, 0, sizeof(d.m_serverAddress));
    const WifiAnswers& a = b->m_answers;
    CopyText(d.m_wifiSsid, a.ssid);
    CopyText(d.m_wifiKey, a.key);
    CopyText(d.m_wifiNetwork, a.ipAddress);
    CopyText(d.m_serverAddress, a.serverAddress);
    d.m_serverPort = b->m_serverPort;
    std::memcpy(d.m_wifiMac, b->m_mac, sizeof(d.m_wifiMac));
    const int32_t next = (b->m_linkFlags.load() & kWifiConfigPending) ? window - 1 : 0;
    d.m_wifiStartCountdown.compare_exchange_strong(window, next);
    return 0;
  }

  if (b->m_jobRequest.load() == 1 || d.m_wifiJobState == 3) {
    RunRecordJob();
    return 0;
  }
  // The mark is taken before the values: one the link sets during the pass brings another pass.
  if (b->m_remoteReceived.exchange(0) == 1) ApplyRemoteSettings();
  if (b->m_reportPending[0].load() == 0) ReportStatus();
  if (b->m_mirrorPending[0].load() == 0) ReportState();
  return 0;
}

int CControlEngine::ApplyRemoteSettings() {
  CSystemData& d = m_systemData;
  WifiBlock* b = m_wifiBlock;
  if (!b || d.m_wifiControlEnabled == 0) return 0;
  int32_t* fields[kMirrorWords];
  MirrorFields(d, fields);
  std::atomic<int32_t>* remote = b->m_remoteTable[0];
  int outdoorSetting = 0;
  for (const Accepted& e : kAccepted) {
    // Taken and cleared in one step: a value the link stores meanwhile is taken now or waits, marked,
    // for the next pass; none is lost and none applied twice.
    const int32_t v = remote[e.index].exchange(kWifiNothingReceived);
    if (v == kWifiNothingReceived) continue;
    if (v < e.low.Value(d) || v > e.high.Value(d)) continue;
    int32_t& field = *fields[e.index];
    // The outdoor unit's own settings reach it as page 14's do: a new value (or one the unit refused
    // last time) starts the hold that carries the cells to the unit.
    const bool outdoor = e.index == kFanLimitSetting || e.index == kDefrostMethodSetting;
    if (outdoor && (v != field || d.m_outdoorSettingRefused.load() != 0)) outdoorSetting = e.index;
    field = v;
  }
  // One hold for both cells, started after the values are in the record.
  if (outdoorSetting) HoldOutdoorSettingChange(d, outdoorSetting);
  return 0;
}

int CControlEngine::ReportStatus() {
  WifiBlock* b = m_wifiBlock;
  const CSystemData& d = m_systemData;
  if (!b || g_clock.wSecond % 10 != 0 || !UnitsHeard(d)) return 0;
  int32_t* w = b->m_statusTable[0];
  int n = 0;
  if (w[0] != static_cast<int32_t>(d.m_statusBitsB)) w[0] = static_cast<int32_t>(d.m_statusBitsB), ++n;
  if (w[1] != static_cast<int32_t>(d.m_statusBits)) w[1] = static_cast<int32_t>(d.m_statusBits), ++n;

  const uint16_t run = d.m_demandFlags;
  int code = 0;
  float target = d.m_heatTarget;
  if ((run & kRunningHotWater) && (run & kRunningCooling)) code = 5, target = d.m_coolTarget;
  else if ((run & kRunningHotWater) && (run & kRunningHeating)) code = 4, target = d.m_heatTarget;
  else if (run & kRunningCooling) code = 3, target = d.m_coolTarget;
  else if (run & kRunningHeating) code = 2, target = d.m_heatTarget;
  else if (run & kRunningHotWater) code = 1, target = static_cast<float>(d.m_hwTarget);
  const int targetWord = std::isfinite(target) && std::fabs(target) < 1e9f ? static_cast<int>(target) : 0;

  UpdateInt(w[2], code, n);
  UpdateInt(w[3], HeaterWord(d.m_hotWaterBackupEnabled, d.m_hotWaterBackupPriority, d.m_hwHeaterDemand,
                             d.m_hwHeaterDemand2), n);
  UpdateInt(w[4], HeaterWord(d.m_heatBackupEnabled, d.m_heatBackupPriority, d.m_heatHeaterDemand,
                             d.m_heatHeaterDemand2), n);
  const float floats5[] = {d.m_outletTemp,   d.m_inletTemp, d.m_coilTemp,     d.m_tankTemp,     d.m_heatCoolTemp,
                           d.m_mix1Temp,     d.m_mix2Temp,  d.m_roomTemp,     d.m_indoorValue1, d.m_indoorValue2,
                           d.m_indoorValue3};
  for (int i = 0; i < 11; ++i) UpdateFloat(w[5 + i], floats5[i], n);
  const int ints16[] = {d.m_flowSwitch, d.m_powerCutSwitch, d.m_coolSignal, d.m_heatSignal, d.m_highTempSignal,
                        d.m_compressorHz, d.m_eevSteps};
  for (int i = 0; i < 7; ++i) UpdateInt(w[16 + i], ints16[i], n);
  const float floats23[] = {d.m_pressureA, d.m_pressureB, d.m_ambientTemp, d.m_outdoorTemp2113,
                            d.m_outdoorTemp2114, d.m_outdoorTemp2112};
  for (int i = 0; i < 6; ++i) UpdateFloat(w[23 + i], floats23[i], n);
  UpdateInt(w[29], d.m_fan1Rpm, n);
  UpdateInt(w[30], d.m_fan2Rpm, n);
  UpdateFloat(w[31], d.m_current, n);
  const int ints32[] = {d.m_voltage, d.m_defrostState, d.m_indoorOut1100, d.m_indoorOut1101, d.m_indoorOut1102,
                        targetWord, d.m_softwareVersion, d.m_outdoorCmd2000};
  for (int i = 0; i < 8; ++i) UpdateInt(w[32 + i], ints32[i], n);
  UpdateFloat(w[40], d.m_superheat, n);
  UpdateFloat(w[41], d.m_dischargeDiff, n);
  UpdateInt(w[42], d.m_auxHeaterRunTime, n);
  UpdateInt(w[43], d.m_heatAuxHeaterRunTime, n);
  UpdateInt(w[44], d.m_hotWaterAuxHeaterRunTime, n);

  m_statusFilled = true;
  if (n == 0 && g_clock.wSecond % 60 != 0) return 0;
  b->m_reportPending[0] = kStatusWords;  // after the block: the link sends what stands now
  return 0;
}

int CControlEngine::ReportState() {
  WifiBlock* b = m_wifiBlock;
  if (!b || g_clock.wSecond % 10 != 0) return 0;
  int32_t* fields[kMirrorWords];
  MirrorFields(m_systemData, fields);
  int32_t* w = b->m_mirrorTable[0];
  int n = 0;
  for (int k = 0; k < kMirrorWords; ++k) {
    if (w[k] != *fields[k]) w[k] = *fields[k], ++n;
  }
  if (n == 0 && g_clock.wSecond != 30) return 0;
  b->m_mirrorPending[0] = kMirrorWords;
  return 0;
}

void CControlEngine::RunRecordJob() {
  CSystemData& d = m_systemData;
  if (d.m_wifiJobBusy & 1) return;
  d.m_wifiJobBusy = 1;
  if (g_recordTable[0].value1 >= kRecordJobLimit) return;
  d.m_wifiJobBusy = 3;
  for (int i = 1; i < kRecordTableSize; ++i) {
    g_recordTable[i].value1 = 0;
    g_recordTable[i].value2 = 0;
    RemoteEventStub(this, &g_recordTable[i]);
  }
}
