#include "CompressorGear.h"

#include "CSystemData.h"
#include "ControlBits.h"
#include "CycleSteps.h"

namespace {

const int32_t kMinOffLow = 3;
const int32_t kMinOffHigh = 18;
const int32_t kPumpLeadSeconds = 30;
const int32_t kFreezeCycles = 32;
const int32_t kFreezeWindow = 1800;
const int32_t kFreezeStages = 3;

// Index of the PID working values in m_pidDebug.
enum {
  kInnerErr = 0, kInnerErr1, kInnerErr2, kInnerP, kInnerI, kInnerD, kInnerSum,
  kGear, kGear1, kGear2, kOuterErr, kOuterErr1, kOuterErr2,
  kOuterP, kOuterIntegral, kOuterD, kOuterSum, kOuterOut, kOuterOut1
};

int GearFor(float error, double d) { return static_cast<int>(error * 4.5 / d + 5.5); }

}  // namespace

void RestartInterval(CSystemData& r) {
  if (r.m_demandFlags & (kRunningHeating | kRunningCooling)) {
    r.m_pidHold = 0;
    ++r.m_runSeconds;
  } else {
    if (r.m_runSeconds > 0) {
      if (r.m_runSeconds > 1200) {
        r.m_minOffMinutes -= 3;
      } else if (r.m_runSeconds < 360) {
        r.m_minOffMinutes += 6;
      } else if (r.m_runSeconds < 720) {
        r.m_minOffMinutes += 3;
      }
      r.m_runSeconds = 0;
    }
    ++r.m_pidHold;
  }
  if (r.m_minOffMinutes < kMinOffLow) r.m_minOffMinutes = kMinOffLow;
  if (r.m_minOffMinutes > kMinOffHigh) r.m_minOffMinutes = kMinOffHigh;
  r.m_restartAllowed = 60 * r.m_minOffMinutes < r.m_pidHold ? 1 : 0;
}

int StepGear(CSystemData& r, float e) {
  // A derate difference of 0 or below (a bad setting) would divide by zero; one degree keeps the ten gears.
  const float d = r.m_derateCopy > 0 ? static_cast<float>(r.m_derateCopy) : 1.0f;
  int g;
  if (e >= d) {
    g = 10;
  } else if (e <= -d) {
    g = r.m_heatRequest == 2 ? 1 : 0;
  } else {
    g = GearFor(e, d);
  }
  if (r.m_zoneFlag2 && e <= static_cast<float>(r.m_allowedTempDeviation)) {
    if (g > 7) g = 7;
    r.m_outdoorCmd2007 = 1;
  } else {
    r.m_outdoorCmd2007 = 0;
  }
  const int c = r.m_outdoorCmd2000;
  if (c == g + 1 && c == GearFor(e + 0.2f, d)) return c;
  if (c == g - 1 && c == GearFor(e - 0.2f, d)) return c;
  return g;
}

int PidGear(CSystemData& r, float e) {
  const int32_t n = r.m_runSeconds;
  const int32_t m = r.m_minOffMinutes;
  float* p = r.m_pidDebug;
  int start = 0;
  if (n <= 299) {
    start = m < 9 ? 5 : 3;
  } else if (n <= 599 && m >= 9) {
    start = 5;
  }
  if (start) {
    p[kGear] = p[kGear1] = p[kGear2] = static_cast<float>(start);
    r.m_pidGear = start;
    return start;
  }
  if (n % 10 != 0) return r.m_pidGear;
  p[kOuterErr] = e;
  if (r.m_defrostSeconds <= 270 && r.m_sinceDefrostSeconds >= 180 && r.m_gearPidBlock <= 0) {
    const float p1 = static_cast<float>(r.m_pid1P), i1 = static_cast<float>(r.m_pid1I);
    const float d1 = static_cast<float>(r.m_pid1D);
    p[kOuterP] = e * p1;
    p[kOuterIntegral] = r.m_pid1I == 0 ? 0.0f : p[kOuterIntegral] + e * i1;
    p[kOuterD] = (e - p[kOuterErr1]) * d1;
    p[kOuterSum] = p[kOuterP] + p[kOuterIntegral] + p[kOuterD];
    const float w = p[kOuterSum] * 0.01f;
    p[kOuterOut] = w;
    const float spread = r.m_activeMode == 2 ? r.m_inletTemp - r.m_outletTemp : r.m_outletTemp - r.m_inletTemp;
    const float a = w - spread;
    p[kInnerErr] = a;
    p[kInnerP] = (a - p[kInnerErr1]) * static_cast<float>(r.m_pid2P);
    p[kInnerI] = a * static_cast<float>(r.m_pid2I);
    p[kInnerD] = (a - 2.0f * p[kInnerErr1] + p[kInnerErr2]) * static_cast<float>(r.m_pid2D);
    p[kInnerSum] = Clamp(p[kInnerD] + p[kInnerI] + p[kInnerP], -34.0f, 34.0f);
    p[kGear] = Clamp(p[kGear1] + p[kInnerSum] * 0.01f, 1.0f, 10.0f);
  } else {
    p[kGear] = Clamp(p[kGear], 1.0f, 10.0f);
  }
  p[kInnerErr2] = p[kInnerErr1];
  p[kInnerErr1] = p[kInnerErr];
  p[kGear2] = p[kGear1];
  p[kGear1] = p[kGear];
  p[kOuterErr2] = p[kOuterErr1];
  p[kOuterErr1] = e;
  r.m_pidOuterOld = p[kOuterOut1];
  p[kOuterOut1] = p[kOuterOut];
  r.m_pidGear = static_cast<int>(p[kGear]);
  return r.m_pidGear;
}

void CompressorCommand(CSystemData& r, int mode) {
  r.m_activeMode = mode;
  int32_t& cmd = r.m_outdoorCmd2000;
  if (mode == 0 || (r.m_statusBits & kStatusOverTemp) || r.m_pumpOnSeconds < kPumpLeadSeconds) {
    cmd = 0;
    return;
  }
  const int v = r.m_valvePosition;
  switch (mode) {
    case 1:
    case 2: {
      bool allowed = mode == 2 ? v == 2 : (v == 2 && r.m_userSystemType == 0) || (v == 1 && r.m_userSystemType == 1);
      float e = mode == 1 ? r.m_heatTarget - r.m_heatCtrlTemp : r.m_coolCtrlTemp - r.m_coolTarget;
      if (!allowed) {
        cmd = 0;
      } else {
        cmd = r.m_gearPidSelect >= 1 ? PidGear(r, e) : StepGear(r, e);
      }
      break;
    }
    case 3:
      if (v != 1) {
        cmd = 0;
        break;
      }
      if (r.m_zoneFlag2 && static_cast<float>(r.m_hwTarget) - r.m_tankTemp <= static_cast<float>(r.m_allowedTempDeviation)) {
        cmd = 7;
        r.m_outdoorCmd2007 = 1;
      } else {
        cmd = 10;
        r.m_outdoorCmd2007 = 0;
      }
      // ECO hot water, or the outlet near the water limit, holds the gear down.
      if (r.m_ecoHotWaterFlags != 0) cmd = 5;
      break;
    default:
      cmd = 0;
      break;
  }
  if (r.m_coldGearLimit == 0) {
    r.m_coldFloorActive = 0;
  } else if (r.m_coldFloorActive == 0 && r.m_ambientTempA < -7.0f) {
    r.m_coldFloorActive = 1;
  } else if (r.m_coldFloorActive == 1 && r.m_ambientTempA > -5.0f) {
    r.m_coldFloorActive = 0;
  }
  if (r.m_coldFloorActive && cmd >= 1 && cmd <= 6) cmd = 7;
}

int LowGearTimeout(CSystemData& r) {
  if (r.m_outdoorCmd2000 != 1) {
    r.m_lowGearSeconds = 0;
    return 0;
  }
  if (++r.m_lowGearSeconds >= 60 * r.m_lowFreqRunTime) {
    r.m_lowGearSeconds = 0;
    return 1;
  }
  return 0;
}

void CoilFreezeProtection(CSystemData& r) {
  if (!(r.m_demandFlags & kDemandCooling)) {
    r.m_freezeWindow = 0;
    r.m_freezeStage = 0;
    r.m_statusBits &= ~(kStatusCoilFreezeStop | kStatusLowOutlet);
    return;
  }
  const float t = r.m_coilTempOut;
  const int32_t s = r.m_freezeStage;
  int32_t& cmd = r.m_outdoorCmd2000;
  if (r.m_activeMode == 2) {
    int cap = StepGear(r, t - static_cast<float>(s) - 2.0f);
    if (cap < 1) cap = 1;
    if (cmd > cap) cmd = cap;
  }
  if (r.m_statusBits & kStatusCoilFreezeStop) {
    if (t >= 6.0f) {
      r.m_statusBits &= ~kStatusCoilFreezeStop;
    } else {
      cmd = 0;
    }
  } else {
    bool near = t <= static_cast<float>(s) + 2.0f && r.m_coolRunSeconds >= 210 - 30 * s;
    bool cold = near && (s <= 1 ? t <= 0.0f : t <= 1.0f);
    if (!cold) {
      r.m_freezeCount = 0;
    } else if (++r.m_freezeCount >= kFreezeCycles) {
      r.m_freezeCount = 0;
      if (r.m_freezeStage < kFreezeStages) ++r.m_freezeStage;
      r.m_statusBits |= kStatusCoilFreezeStop;
      cmd = 0;
      if (r.m_freezeWindow == 0) r.m_freezeWindow = 1;
      if (r.m_freezeStage == kFreezeStages) r.m_statusBits |= kStatusFreezeLockout;
    }
  }
  if (r.m_outletTemp <= 5.0f) {
    r.m_statusBits |= kStatusLowOutlet;
  } else if (r.m_outletTemp >= 6.0f) {
    r.m_statusBits &= ~kStatusLowOutlet;
  }
  if (r.m_freezeWindow > 0 && ++r.m_freezeWindow > kFreezeWindow) {
    r.m_freezeWindow = 0;
    r.m_freezeStage = 0;
  }
}
