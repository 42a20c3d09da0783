// The on/off regulators of heating, cooling and hot water: with hysteresis they decide whether each
// is wanted (the request) and whether the heat pump serves it (the heat-pump request), after adjusting
// their targets for the holiday window, the heat pump's availability and failed defrosts. The output
// composition turns the requests into the compressor command and the valve side.
#pragma once

struct CSystemData;

void HeatingRegulator(CSystemData& record, float ctrl, float target);
void HeatingRequest(CSystemData& record, float ctrl, float target);
void CoolingRegulator(CSystemData& record, float ctrl, float target);
void CoolingRequest(CSystemData& record, float ctrl, float target);
void HotWaterRegulator(CSystemData& record, int target, int restartDiff);
void HotWaterRequest(CSystemData& record, float tank, int target, int restartDiff);
