#include "ModeRules.h"

#include "CSystemData.h"
#include "ControlBits.h"
#include "CycleSteps.h"
#include "Defrost.h"
#include "SoftClock.h"

namespace {

// Bit h of a weekday's hour mask; a shift of 32 or more reads bit 31.
int HourBit(const int32_t* masks) {
  int day = g_clock.wDayOfWeek % 7;
  int hour = g_clock.wHour < 32 ? g_clock.wHour : 31;
  return (static_cast<uint32_t>(masks[day]) >> hour) & 1u;
}

bool HeatingByAmbient(const CSystemData& r) {
  float h = static_cast<float>(r.m_heatAmbientStart);
  return h - r.m_ambientTemp >= 5.0f || h - r.m_ambientTempA >= 3.0f || h - r.m_ambientTempC >= 1.0f;
}

bool CoolingByAmbient(const CSystemData& r) {
  float c = static_cast<float>(r.m_coolAmbientStart);
  return r.m_ambientTemp - c >= 5.0f || r.m_ambientTempA - c >= 3.0f || r.m_ambientTempC - c >= 1.0f;
}

const int32_t kOutdoorIdleLimit = 180;
const int32_t kLimitTimerStart = 7200;
const int32_t kLimitFloor = 50;

}  // namespace

int AutoModeRequest(CSystemData& r) {
  bool ambientFault = (r.m_statusBitsB & kStatusBAmbientFault) != 0;
  bool heat = r.m_heatSignal != 0;
  bool cool = r.m_coolSignal != 0;
  switch (r.m_autoFunction) {
    case 1:
      if (ambientFault) return 0;
      if (HeatingByAmbient(r)) return 1;
      return CoolingByAmbient(r) ? 2 : 0;
    case 2:
      if (heat != cool) return heat ? 1 : 2;
      return 0;
    case 3:
      if (ambientFault || heat == cool) return 0;
      if (heat) return HeatingByAmbient(r) ? 1 : 0;
      return CoolingByAmbient(r) ? 2 : 0;
    default:
      return 0;
  }
}

void SleepHours(CSystemData& r) { r.m_zoneFlag1 = r.m_sleepEnabled ? HourBit(r.m_sleepTimerMask) : 0; }

void LowNoiseHours(CSystemData& r) { r.m_zoneFlag2 = r.m_lowNoiseEnabled ? HourBit(r.m_lowNoiseTimerMask) : 0; }

void EcoAndPowerCut(CSystemData& r) {
  if (r.m_systemSwitch == 0) {
    r.m_iconFlags = 0;
    r.m_ecoHotWaterFlags = 0;
    return;
  }
  if (r.m_statusBitsB & kStatusBAmbientFault) {
    r.m_iconFlags &= static_cast<uint16_t>(~kIconEcoHeating);
    r.m_ecoHotWaterFlags &= static_cast<uint16_t>(~kEcoHotWater);
  } else {
    float b = r.m_ambientTempB;
    if (!r.m_ecoHeatEnabled || !(r.m_demandFlags & kDemandHeating)) {
      r.m_iconFlags &= static_cast<uint16_t>(~kIconEcoHeating);
    } else {
      float start = static_cast<float>(r.m_ecoHeatAmbientStart);
      if (b <= start) {
        r.m_iconFlags |= kIconEcoHeating;
      } else if (b >= start + 2.0f) {
        r.m_iconFlags &= static_cast<uint16_t>(~kIconEcoHeating);
      }
    }
    if (!r.m_ecoHotWaterEnabled || !(r.m_demandFlags & kDemandHotWater)) {
      r.m_ecoHotWaterFlags &= static_cast<uint16_t>(~kEcoHotWater);
    } else {
      float start = static_cast<float>(r.m_ecoHotWaterAmbientStart);
      if (b >= start) {
        r.m_ecoHotWaterFlags |= kEcoHotWater;
      } else if (b <= start - 2.0f) {
        r.m_ecoHotWaterFlags &= static_cast<uint16_t>(~kEcoHotWater);
      }
    }
  }
  bool cut = r.m_powerCutEnabled == 1 && ((r.m_powerCutSignalType == 0 && r.m_powerCutSwitch == 0) ||
                                          (r.m_powerCutSignalType == 1 && r.m_powerCutSwitch == 1));
  if (cut) {
    r.m_iconFlags |= kIconPowerCut;
  } else {
    r.m_iconFlags &= static_cast<uint16_t>(~kIconPowerCut);
  }
}

void OutdoorPowerOff(CSystemData& r) {
  bool needed = (r.m_ambientTemp < static_cast<float>(r.m_outdoorPowerOffAmbient) && r.m_iconFlags == 0) ||
                r.m_heatRequest || r.m_coolRequest || r.m_hwRequest;
  if (!r.m_outdoorPowerOffEnabled || needed) {
    r.m_outdoorOffCount = 0;
    r.m_outdoorOnCount = r.m_outdoorPowerOffEnabled ? r.m_outdoorOnCount + 1 : 1;
    r.m_outdoorPowerOut = 0;
    return;
  }
  r.m_outdoorOnCount = 0;
  ++r.m_outdoorOffCount;
  // Power for five seconds every six hours, so that the unit can report and protect itself.
  if (g_clock.wHour % 6 == 0 && g_clock.wMinute == 0 && g_clock.wSecond < 5) {
    r.m_outdoorOffCount = 0;
    r.m_outdoorOnCount = 1;
    r.m_outdoorPowerOut = 0;
  } else if (r.m_outdoorOffCount > kOutdoorIdleLimit) {
    r.m_outdoorPowerOut = 1;
  }
}

void ModeSignal(CSystemData& r) {
  uint16_t watched;
  switch (r.m_modeSignalOutput) {
    case 1: watched = kDemandHeating; break;
    case 2: watched = kDemandCooling; break;
    default: r.m_modeSignalOut = 0; return;
  }
  int set = (r.m_demandFlags & watched) ? 1 : 0;
  r.m_modeSignalOut = r.m_modeSignalType == 1 ? set : 1 - set;
}

void HeatWaterLimit(CSystemData& r) {
  const int32_t m = r.m_heatSetMax;
  const float t = r.m_ambientTemp;
  r.m_heatWaterLimit = m;
  if (m <= kLimitFloor) return;
  const float span = static_cast<float>(m - kLimitFloor);
  if (t >= 35.0f || t <= -25.0f) {
    r.m_heatWaterLimit = kLimitFloor;
  } else if (t >= 28.0f) {
    r.m_heatWaterLimit = static_cast<int32_t>((35.0f - t) * span * (1.0f / 7.0f) + 50.0f);
  } else if (t <= 0.0f) {
    r.m_heatWaterLimit = static_cast<int32_t>((t + 25.0f) * span * 0.04f + 50.0f);
  }
  if (r.m_statusBitsB & kStatusBLimitLowered) r.m_heatLimitTimer = kLimitTimerStart;
  if (r.m_heatLimitTimer > 0) {
    --r.m_heatLimitTimer;
    r.m_heatWaterLimit -= 3;
    if (r.m_heatWaterLimit < kLimitFloor) r.m_heatWaterLimit = kLimitFloor;
  }
}

void OverTemperatureStop(CSystemData& r, const OutdoorBlock* outdoor) {
  if (r.m_demandFlags & (kDemandHotWater | kDemandHeating)) {
    if (!(r.m_statusBits & kStatusOverTemp)) {
      if (r.m_outletTemp >= static_cast<float>(r.m_heatWaterLimit)) r.m_statusBits |= kStatusOverTemp;
    } else if (r.m_outletTemp <= static_cast<float>(r.m_heatWaterLimit - 5)) {
      r.m_statusBits &= ~kStatusOverTemp;
    }
  } else {
    r.m_statusBits &= ~kStatusOverTemp;
  }
  DefrostRules(r, outdoor);
}

void TestRunStep(CSystemData& r) {
  // One step on the word page 14 sets: a new run set meanwhile is counted from, never overwritten.
  int32_t n = r.m_testRunCountdown.fetch_sub(1) - 1;
  r.m_indoorOut1101 = 0;
  r.m_indoorOut1102 = 0;
  r.m_indoorOut1109 = 0;
  r.m_indoorOut1110 = 0;
  r.m_indoorOut1111 = 0;
  if (n > 20) {
    r.m_activeMode = 5;
    r.m_indoorOut1100 = 1;
    r.m_outdoorCmd2000 = 10;
    r.m_pumpPwm = 0;
    return;
  }
  r.m_activeMode = 0;
  r.m_outdoorCmd2000 = 0;
  r.m_indoorOut1100 = n >= 1 ? 1 : 0;
  r.m_pumpPwm = 0;
}
