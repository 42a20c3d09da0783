// Refrigerant saturation temperatures of the outdoor unit's circuit, looked up by the measured
// pressures (the engine's input mapping, once a second). Entry i belongs to 1 + i / 8.5 bar;
// entries 0 to 390 rise, 391 to 400 read 0.0 (beyond the circuit's range).
#pragma once

constexpr int kSaturationEntries = 401;
extern const double SaturationTable[kSaturationEntries];

// The entry for a pressure in bar: index pressure x 8.5 - 8.5 truncated toward zero, limited to
// 0 .. maxIndex (200 for the suction side, 400 for the discharge side).
double SaturationLookup(float pressure, int maxIndex);
