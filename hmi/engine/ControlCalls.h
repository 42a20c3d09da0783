// The output composition's and the regulators' entry points that the special-situation rules call:
// the frost protection's and the balance's heater and compressor commands, the schedules' hot-water
// and heating regulators. Engine thread only.
#pragma once

struct CSystemData;

// One heater output: kind 2 (1109), 3 (1111), 4 and 5 (1110, by the valve side); on 0 clears it.
void HeaterOutput(CSystemData& r, int kind, int on);
// Compressor command of a mode: 0 none, 1 heating, 2 cooling, 3 hot water.
void CompressorCommand(CSystemData& r, int mode);
// Heating regulator on control temperature c and target t.
void HeatingRegulator(CSystemData& r, float c, float t);
// Hot-water regulator on set point t with restart hysteresis b.
void HotWaterRegulator(CSystemData& r, int t, int b);
