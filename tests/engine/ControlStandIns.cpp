// Stand-ins for the output composition's and the regulators' entry points while those are built
// apart: each does the part that the rules under test read back.
#include "ControlCalls.h"

#include "CSystemData.h"

void HeaterOutput(CSystemData& r, int kind, int on) {
  bool heatingSide = r.m_valvePosition == (r.m_userSystemType == 0 ? 2 : 1);
  switch (kind) {
    case 2: r.m_indoorOut1109 = on ? 1 : 0; break;
    case 3: r.m_indoorOut1111 = on && (!r.m_pumpOnPowerCut || heatingSide) ? 1 : 0; break;
    case 4: r.m_indoorOut1110 = on && r.m_valvePosition == 1 ? 1 : 0; break;
    case 5: r.m_indoorOut1110 = on && heatingSide ? 1 : 0; break;
    default: break;
  }
}

void CompressorCommand(CSystemData& r, int mode) {
  r.m_activeMode = mode;
  r.m_outdoorCmd2000 = mode ? 10 : 0;
}

void HeatingRegulator(CSystemData& r, float c, float t) {
  r.m_heatTarget = t;
  r.m_heatCtrlTemp = c;
}

void HotWaterRegulator(CSystemData& r, int t, int) { r.m_hwTarget = t; }
