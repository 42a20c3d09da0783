#include "ExpansionValve.h"

#include "CSystemData.h"
#include "OutdoorBlock.h"

namespace {

const int kWindow = 180;
const int kPidPeriod = 10;
const float kOpeningMin = 80.0f;
const float kOpeningMax = 450.0f;

float Cell(const OutdoorBlock* outdoor, int cell) {
  return outdoor ? static_cast<float>(outdoor->m_paramBlock[cell - 3000]) : 0.0f;
}

// Discharge temperature and pressure: levels rise as the input reaches c0 > c1 > c2, release below r.
int RisingLevel(int level, float x, float c0, float c1, float c2, float r) {
  switch (level) {
    case 0: return x >= c0 ? 5 : x >= c1 ? 4 : x >= c2 ? 3 : 0;
    case 1: return x >= c0 ? 5 : x >= c1 ? 4 : x >= c2 ? 2 : x < r ? 0 : 1;
    case 2:
    case 3: return x >= c0 ? 5 : x >= c1 ? 4 : x < r ? 0 : x < c2 ? 1 : level;
    case 4: return x >= c0 ? 5 : x < r ? 0 : x < c2 ? 1 : x < c1 ? 2 : 4;
    default: return x < c1 ? 0 : 5;
  }
}

// Cooling coil: levels rise as the input falls to c0 < c1 < c2, release above r.
int FallingLevel(int level, float x, float c0, float c1, float c2, float r) {
  switch (level) {
    case 0: return x <= c0 ? 5 : x <= c1 ? 4 : x <= c2 ? 3 : 0;
    case 1: return x > r ? 0 : x <= c0 ? 5 : x <= c1 ? 4 : x <= c2 ? 2 : 1;
    case 2:
    case 3: return x > r ? 0 : x > c2 ? 1 : x <= c0 ? 5 : x <= c1 ? 4 : level;
    case 4: return x > r ? 0 : x > c2 ? 1 : x > c1 ? 2 : x <= c0 ? 5 : 4;
    default: return x > c1 ? 0 : 5;
  }
}

// Target superheat from this cycle's discharge difference x at committed gear level l.
float TargetFromDischarge(float x, int l) {
  if (x > 40.0f) return x > 45.0f ? 0.0f : (45.0f - x) * 0.4f;
  const float d = l != 0 ? static_cast<float>(16 * l / 10 + 4) : 20.0f;
  if (x >= d) return 2.0f;
  const double m = d - x;
  if (m > 8.0) return 10.0f;
  if (m > 4.0) return static_cast<float>(10.0 - (6.0 - m) * 1.75);
  if (m > 2.0) return static_cast<float>(6.5 - (4.0 - m) * 1.25);
  return static_cast<float>(4.0 - (2.0 - m));
}

int GearLevel(const CSystemData& r, const OutdoorBlock* outdoor) {
  const int first = r.m_activeMode == 2 ? 3002 : 3013;
  const float hz = static_cast<float>(r.m_compressorHz);
  int level = 0;
  for (int k = 1; k <= 10; ++k) {
    if (hz >= Cell(outdoor, first + k - 1)) level = k;
  }
  return level;
}

}  // namespace

void ProtectiveStep(CSystemData& r, const OutdoorBlock* outdoor, float& step) {
  r.m_protLevelTemp = RisingLevel(r.m_protLevelTemp, r.m_outdoorTemp2113, Cell(outdoor, 3260), Cell(outdoor, 3261),
                                  Cell(outdoor, 3262), Cell(outdoor, 3263));
  const float p = Cell(outdoor, 3247);
  r.m_protLevelPressure = RisingLevel(r.m_protLevelPressure, r.m_pressureA, p, p - 3.0f, p - 5.0f, p - 6.0f);
  r.m_protLevelCoil = r.m_activeMode == 2 ? FallingLevel(r.m_protLevelCoil, r.m_coilTempOut, Cell(outdoor, 3471),
                                                         Cell(outdoor, 3472), Cell(outdoor, 3473), Cell(outdoor, 3474))
                                          : 0;
  const int t = r.m_protLevelTemp, c = r.m_protLevelCoil, q = r.m_protLevelPressure;
  auto any = [&](int level) { return t == level || c == level || q == level; };
  if (any(5)) {
    step = 15.0f;
  } else if (q == 4) {
    step = 12.0f;
  } else if (t == 4 || c == 4) {
    step = 10.0f;
  } else if (any(3)) {
    step = 8.0f;
  } else if (any(1) || any(2)) {
    step = 0.0f;
  }
}

void ExpansionValveStep(CSystemData& r, const OutdoorBlock* outdoor) {
  const float ambient = r.m_ambientTemp;
  const float x = r.m_outdoorTemp2113 - r.m_saturationTemp;
  r.m_dischargeDiff = x;
  float sum = 0.0f;
  for (int i = 0; i < kWindow - 1; ++i) {
    r.m_dischargeWindow[i] = r.m_dischargeWindow[i + 1];
    sum += r.m_dischargeWindow[i];
  }
  r.m_dischargeWindow[kWindow - 1] = x;
  const float avg = (sum + x) * (1.0f / 180.0f);
  r.m_superheat = r.m_outdoorTemp2114 - r.m_coilTempOut;

  if (r.m_gearLevel != r.m_gearLevelCommitted && r.m_gearLevelHold > 60) {
    r.m_gearLevelCommitted = r.m_gearLevel;
    r.m_gearLevelHold = 0;
  }
  ++r.m_gearLevelHold;
  const int level = r.m_gearLevelCommitted;

  const int32_t run = r.m_eevRunSeconds;
  if (run >= 900) {
    if (ambient >= 5.0f && level <= 6) {
      r.m_eevLowTargetFlag = 1;
    } else if (ambient <= 3.5f || level > 7) {
      r.m_eevLowTargetFlag = 0;
    }
  } else if (ambient >= 5.0f || ambient <= 3.5f || level > 7) {
    r.m_eevLowTargetFlag = 0;
  }
  float target = r.m_eevLowTargetFlag ? 2.0f : TargetFromDischarge(x, level);

  if (run > 240 && avg < 3.0f && !r.m_eevBoost) {
    r.m_eevBoost = 1;
    r.m_eevBoostCount = 0;
  }
  if (r.m_eevBoost) {
    bool last = r.m_eevBoostCount >= 360;
    if (!last) ++r.m_eevBoostCount;
    target = static_cast<float>(10.0 - r.m_eevBoostCount * 0.0222225);
    if (last) r.m_eevBoost = 0;
  }

  r.m_eevMax = static_cast<int32_t>(kOpeningMax);
  r.m_eevMin = static_cast<int32_t>(kOpeningMin);
  r.m_eevDirection = 1;
  float base = 8.0f * ambient + 120.0f;
  if (base < 120.0f) base = 120.0f;
  r.m_eevInitialOpening = static_cast<int32_t>(500.0f - base);
  if (r.m_eevInitialOpening < 80) r.m_eevInitialOpening = 80;

  if (r.m_defrostRunSeconds > 330) r.m_eevPhase = 1;
  if (r.m_eevPhase < 1) {
    r.m_eevPhase = 0;
  } else {
    const int32_t q = ++r.m_eevPhase;
    if (q < 80) {
      r.m_eevTargetSuperheat = target;
      r.m_outdoorCmd2002 = 100;
      return;
    }
    if (q == 80) {
      r.m_eevSavedOpening = r.m_eevOutput;
      r.m_eevRunSeconds = -60;
    }
    if (q < 260) {
      r.m_eevInitialOpening = static_cast<int32_t>(r.m_eevSavedOpening * 0.9f);
    } else if (q < 720) {
      target = 10.0f - static_cast<float>(q - 240) * (1.0f / 60.0f);
    } else {
      r.m_eevPhase = 0;
    }
  }
  r.m_eevTargetSuperheat = target;

  ++r.m_eevPeriodCount;
  if (r.m_compressorHz < 1) {
    r.m_eevRunSeconds = 0;
    r.m_gearLevel = 0;
  } else {
    ++r.m_eevRunSeconds;
    if (r.m_eevPhase == 0 || r.m_eevPhase > 240) r.m_gearLevel = GearLevel(r, outdoor);
  }
  if (r.m_eevPeriodCount < kPidPeriod) return;
  r.m_eevPeriodCount = 0;

  float opening;
  if (r.m_eevRunSeconds < 121) {
    opening = static_cast<float>(r.m_eevInitialOpening);
  } else {
    const float e = r.m_superheat - target;
    r.m_eevError = e;
    r.m_eevP = (e - r.m_eevErrorPrev) * r.m_limitA;
    float gain = 1.0f;
    if (e > 5.0f || e < -5.0f) {
      gain = 0.5f;
    } else if (e > 3.0f || e < -3.0f) {
      gain = 0.8f;
    }
    r.m_eevI = e * r.m_limitB * gain;
    r.m_eevD = (e - 2.0f * r.m_eevErrorPrev + r.m_eevErrorPrev2) * r.m_limitC;
    float step = (r.m_eevD + r.m_eevP + r.m_eevI) * 0.1f;
    if (step > -0.35f && step < 0.35f) step = 0.0f;
    if (step > 20.0f) step = 20.0f;
    ProtectiveStep(r, outdoor, step);
    r.m_eevStep = step;
    opening = r.m_eevDirection ? r.m_eevOutputPrev - step : r.m_eevOutputPrev + step;
  }
  if (opening < kOpeningMin) opening = kOpeningMin;
  if (opening > kOpeningMax) opening = kOpeningMax;
  r.m_eevOutput = opening;
  r.m_eevErrorPrev2 = r.m_eevErrorPrev;
  r.m_eevErrorPrev = r.m_eevError;
  r.m_eevOutputPrev2 = r.m_eevOutputPrev;
  r.m_eevOutputPrev = opening;
  r.m_outdoorCmd2002 = static_cast<int32_t>(opening);
}
