#include "SetPoints.h"

#include "CSystemData.h"
#include "ControlBits.h"

namespace {

const int32_t kCorrectionPeriod = 1800;

// The room correction, refreshed every 30 minutes of continuous operation.
float RoomCorrection(CSystemData& r, int32_t roomSet, int32_t runSeconds) {
  if (!r.m_curveCorrectionEnabled || (r.m_statusBits & (1u << 1))) {
    r.m_roomCorrection = 0.0f;
  } else if (runSeconds > 100 && runSeconds % kCorrectionPeriod == 0) {
    r.m_roomCorrection = static_cast<float>(roomSet) - r.m_roomTemp;
  }
  return r.m_roomCorrection;
}

float Bound(float v, int32_t max, int32_t min) {
  if (v > static_cast<float>(max)) return static_cast<float>(max);
  if (v < static_cast<float>(min)) return static_cast<float>(min);
  return v;
}

}  // namespace

float CurveValue(const int32_t* ambient, const int32_t* water, int n, float t) {
  int k = 0;
  while (k < n - 2 && t > static_cast<float>(ambient[k + 1])) ++k;
  float p0 = static_cast<float>(ambient[k]);
  float p1 = static_cast<float>(ambient[k + 1]);
  float v0 = static_cast<float>(water[k]);
  float v1 = static_cast<float>(water[k + 1]);
  // Two equal ambient points can come from the settings; the segment then has no slope to follow.
  if (p1 == p0) return v0;
  return v0 + (t - p0) * (v1 - v0) / (p1 - p0);
}

void HeatingSetPoint(CSystemData& r) {
  float t1 = static_cast<float>(r.m_heatSetTemp);
  float t2 = static_cast<float>(r.m_heatSecondSetTemp);
  if (!(r.m_statusBitsB & kStatusBAmbientFault)) {
    float correction = RoomCorrection(r, r.m_heatRoomSetTemp, r.m_heatRunSeconds);
    const float t = r.m_ambientTempA;
    if (r.m_curveEnabled) {
      t1 = Bound(correction + CurveValue(r.m_curveAmbient, r.m_curveWater, 5, t) +
                     static_cast<float>(r.m_curve1QuickAdjust),
                 r.m_system1MaxSetTemp, r.m_system1MinSetTemp);
    }
    if (r.m_dualTempEnabled && r.m_heatSecondCurveEnabled) {
      t2 = Bound(correction + CurveValue(r.m_curveAmbient, r.m_secondCurveWater, 5, t) +
                     static_cast<float>(r.m_curve2QuickAdjust),
                 r.m_system2MaxSetTemp, r.m_system2MinSetTemp);
    }
  }
  r.m_heatCircuit1Target = t1;
  r.m_heatCircuit2Target = t2;
  float target = t1;
  if (r.m_dualTempEnabled && (r.m_highTempSignal ? t2 > t1 : t2 < t1)) target = t2;
  r.m_heatTarget = target;
}

void CoolingSetPoint(CSystemData& r) {
  float t1 = static_cast<float>(r.m_coolSetTemp);
  float t2 = static_cast<float>(r.m_coolSecondSetTemp);
  if (!(r.m_statusBitsB & kStatusBAmbientFault)) {
    float correction = RoomCorrection(r, r.m_coolRoomSetTemp, r.m_coolRunSeconds);
    const float t = r.m_ambientTempA;
    if (r.m_coolCurveEnabled) {
      float v = correction + CurveValue(r.m_coolCurveAmbient, r.m_coolCurveWater, 3, t) +
                static_cast<float>(r.m_curve1QuickAdjust);
      t1 = Bound(Bound(v, r.m_system1MaxSetTemp, r.m_system1MinSetTemp), r.m_coolSetMax, r.m_coolSetMin);
    }
    if (r.m_dualTempEnabled && r.m_dualCoolCurveEnabled) {
      float v = correction + CurveValue(r.m_coolCurveAmbient, r.m_dualCoolCurveWater, 3, t) +
                static_cast<float>(r.m_curve2QuickAdjust);
      t2 = Bound(Bound(v, r.m_system2MaxSetTemp, r.m_system2MinSetTemp), r.m_coolSetMax, r.m_coolSetMin);
    }
  }
  r.m_coolCircuit1Target = t1;
  r.m_coolCircuit2Target = t2;
  float target = t1;
  if (r.m_dualTempEnabled && (r.m_highTempSignal ? t2 < t1 : t2 > t1)) {
    target = t2;
    r.m_coolMinLimit = r.m_system2MinSetTemp;
  }
  r.m_coolTarget = target;
}
