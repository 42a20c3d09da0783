#include "Hydraulics.h"

#include "CSystemData.h"
#include "ControlBits.h"

namespace {

void Count(bool on, int32_t& seconds) { seconds = on ? seconds + 1 : 0; }

}  // namespace

// A plain stand-in until the valve drive, the pump schedules and the circuit pumps are built: the valve
// reaches the wanted side at once, the main pump runs while anything is served, the running bits follow
// the compressor.
void HydraulicOutputs(CSystemData& r) {
  bool heatSide = r.m_valveTarget == 2 || (r.m_valveTarget == 1 && r.m_userSystemType == 0);
  r.m_valvePosition = heatSide ? 2 : 1;
  r.m_indoorOut1113 = heatSide ? 0 : 1;
  r.m_indoorOut1106 = heatSide ? 1 : 0;

  bool pump = r.m_activeMode != 0 || r.m_heatRequest || r.m_coolRequest || r.m_hwRequest || r.m_indoorOut1110;
  r.m_indoorOut1100 = pump ? 1 : 0;
  r.m_pumpPwm = 0;
  Count(pump, r.m_pumpOnSeconds);
  Count(!pump, r.m_pumpOffSeconds);

  bool running = r.m_outdoorCmd2000 > 0;
  bool hw = running && r.m_activeMode == 3 && r.m_valvePosition == 1;
  bool heat = running && r.m_activeMode == 1 && r.m_valvePosition == (r.m_userSystemType == 1 ? 1 : 2);
  bool cool = running && r.m_activeMode == 2 && r.m_valvePosition == 2;
  uint16_t d = r.m_demandFlags & static_cast<uint16_t>(~(kRunningHotWater | kRunningHeating | kRunningCooling));
  if (hw) d |= kRunningHotWater;
  if (heat) d |= kRunningHeating;
  if (cool) d |= kRunningCooling;
  r.m_demandFlags = d;
  Count(hw, r.m_hwRunSeconds);
  Count(heat, r.m_heatRunSeconds);
  Count(cool, r.m_coolRunSeconds);
}
