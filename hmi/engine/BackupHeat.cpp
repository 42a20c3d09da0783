#include "BackupHeat.h"

#include <cmath>

#include "CSystemData.h"

namespace {

const float kTankRiseDegrees = 1.0f;
const double kControlMoved = 0.2;

struct Heaters {
  int32_t enabled;
  int32_t priority;
  int32_t& demand1;
  int32_t& demand2;
};

Heaters HotWater(CSystemData& r) {
  return Heaters{r.m_hotWaterBackupEnabled, r.m_hotWaterBackupPriority, r.m_hwHeaterDemand, r.m_hwHeaterDemand2};
}

Heaters Heating(CSystemData& r) {
  return Heaters{r.m_heatBackupEnabled, r.m_heatBackupPriority, r.m_heatHeaterDemand, r.m_heatHeaterDemand2};
}

// The heat pump or its heater at the heating side of the layout.
bool AtHeatingSide(const CSystemData& r) { return r.m_valvePosition == (r.m_userSystemType == 1 ? 1 : 2); }

// The demand word of heater `which`, or null when there is no such heater.
int32_t* Demand(const Heaters& h, int which) {
  if (which == 1) return h.enabled == 1 && h.priority == 1 ? &h.demand2 : &h.demand1;
  if (which == 2 && h.enabled == 1) return h.priority == 1 ? &h.demand1 : &h.demand2;
  return nullptr;
}

int IsOn(int32_t enabled, int32_t priority, int32_t demand1, int32_t demand2, int which) {
  if (which == 1) return enabled == 1 && priority == 1 ? demand2 : demand1;
  if (which == 2 && enabled == 1) return priority == 1 ? demand1 : demand2;
  return 0;
}

void SwitchOn(const Heaters& h, int which) {
  if (which == 0) {
    h.demand1 = 0;
    h.demand2 = 0;
    return;
  }
  if (int32_t* d = Demand(h, which)) *d = 1;
}

}  // namespace

int HwHeaterIsOn(const CSystemData& r, int which) {
  return IsOn(r.m_hotWaterBackupEnabled, r.m_hotWaterBackupPriority, r.m_hwHeaterDemand, r.m_hwHeaterDemand2, which);
}
void HwHeaterSwitchOn(CSystemData& r, int which) { SwitchOn(HotWater(r), which); }
int HeatHeaterIsOn(const CSystemData& r, int which) {
  return IsOn(r.m_heatBackupEnabled, r.m_heatBackupPriority, r.m_heatHeaterDemand, r.m_heatHeaterDemand2, which);
}
void HeatHeaterSwitchOn(CSystemData& r, int which) { SwitchOn(Heating(r), which); }

void HwBackupStep(CSystemData& r, int kind) {
  float tank = r.m_tankTemp;
  switch (kind) {
    case 0:
      HwHeaterSwitchOn(r, 0);
      r.m_hwBackupStage = 0;
      r.m_hwBackupTemp = 0.0f;
      return;
    case 1:
      r.m_hwBackupTemp = tank;
      HwHeaterSwitchOn(r, 0);
      r.m_hwBackupStage = 2;
      return;
    case 2: {
      if (r.m_hwBackupStage < 2) return;
      int32_t before = r.m_hwBackupStage++;
      if (tank - r.m_hwBackupTemp >= kTankRiseDegrees) {
        r.m_hwBackupStage = 2;
        r.m_hwBackupTemp = tank;
        return;
      }
      if ((before - 1) / 60 < r.m_insufficientCapacityTime) return;
      if (!HwHeaterIsOn(r, 1)) {
        HwHeaterSwitchOn(r, 1);
        r.m_hwBackupTemp = tank;
        r.m_hwBackupStage = 2;
      } else if (!HwHeaterIsOn(r, 2)) {
        HwHeaterSwitchOn(r, 2);
        r.m_hwBackupStage = HwHeaterIsOn(r, 2) ? 2 : 1;
      } else {
        r.m_hwBackupStage = 1;
      }
      return;
    }
    case 3:
      if (HwHeaterIsOn(r, 1)) return;
      HwHeaterSwitchOn(r, 1);
      r.m_hwBackupTemp = tank;
      r.m_hwBackupStage = 2;
      return;
    default: return;
  }
}

void HeatBackupStep(CSystemData& r, int kind, int target, float control) {
  if (kind == 2 && r.m_heatBackupStage == 0) kind = 1;
  switch (kind) {
    case 0:
      HeatHeaterSwitchOn(r, 0);
      r.m_heatBackupIntegral = 0;
      r.m_heatBackupTemp = 0.0f;
      r.m_heatBackupStage = 0;
      return;
    case 1:
      HeatHeaterSwitchOn(r, 0);
      r.m_heatBackupStage = 2;
      r.m_heatBackupIntegral = 0;
      r.m_heatBackupTemp = control;
      return;
    case 2: {
      if (r.m_heatBackupStage <= 1) return;
      int32_t before = r.m_heatBackupStage++;
      float shortfall = static_cast<float>(target - r.m_derateCopy) - control;
      float s = shortfall * static_cast<float>(before - 1) + static_cast<float>(r.m_heatBackupIntegral);
      float v = s * (1.0f / 60.0f);
      if (v >= static_cast<float>(r.m_heatIntegralSetting)) {
        if (HeatHeaterIsOn(r, 1)) {
          r.m_heatBackupStage = 1;
          r.m_heatBackupIntegral = 0;
          r.m_heatBackupTemp = 0.0f;
          HeatHeaterSwitchOn(r, 2);
        } else {
          r.m_heatBackupIntegral = 0;
          r.m_heatBackupStage = 2;
          r.m_heatBackupTemp = control;
          HeatHeaterSwitchOn(r, 1);
        }
      } else if (std::fabs(static_cast<double>(r.m_heatBackupTemp) - control) >= kControlMoved) {
        // The control temperature moved: bank the shortfall so far and time from here.
        r.m_heatBackupIntegral = static_cast<int32_t>(s);
        r.m_heatBackupStage = 2;
        r.m_heatBackupTemp = control;
      }
      return;
    }
    case 3:
      HeatHeaterSwitchOn(r, 1);
      if (HeatHeaterIsOn(r, 2)) {
        r.m_heatBackupStage = 1;
        r.m_heatBackupIntegral = 0;
        r.m_heatBackupTemp = 0.0f;
      } else {
        r.m_heatBackupIntegral = 0;
        r.m_heatBackupStage = 2;
        r.m_heatBackupTemp = control;
      }
      return;
    default: return;
  }
}

void HeaterOutput(CSystemData& r, int kind, int on) {
  int32_t* out = nullptr;
  bool allowed = on != 0;
  switch (kind) {
    case 2:
      out = &r.m_indoorOut1109;
      break;
    case 3:
      out = &r.m_indoorOut1111;
      if (r.m_pumpOnPowerCut) allowed = allowed && AtHeatingSide(r);
      break;
    case 4:
      out = &r.m_indoorOut1110;
      allowed = allowed && r.m_valvePosition == 1;
      break;
    case 5:
      out = &r.m_indoorOut1110;
      allowed = allowed && AtHeatingSide(r);
      break;
    default:
      return;
  }
  if (allowed && (kind == 4 || kind == 5)) {
    bool tankHeaterRule = r.m_auxOffWithTankHeater && r.m_heatHeaterDemand && r.m_heatHeaterDemand2 && !r.m_hwHeaterDemand;
    bool ambientRule = r.m_auxOffAboveAmbient && r.m_ambientTemp > static_cast<float>(r.m_auxOffAmbientTemp) &&
                       r.m_heatHeaterDemand && !r.m_hwHeaterDemand;
    if (tankHeaterRule || ambientRule) allowed = false;
  }
  *out = allowed ? 1 : 0;
}
