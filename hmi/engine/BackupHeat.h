// The electric heaters that back up the heat pump: two for hot water, two for heating. Which heater
// is "first" and which "second" follows the priority parameters; a capacity timer (hot water: the
// tank must rise a degree within the shortfall time) and a degree-minute integral (heating) add
// them when the heat pump does not keep up. The regulators call these; the output composition and the
// heating/hot-water balance turn the demands into heater outputs (HeaterOutput). Engine thread only.
#pragma once

struct CSystemData;

// which: 1 first, 2 second. IsOn says whether that heater is demanded; SwitchOn demands it (which 0
// clears both demands). The second heater exists only with the backup enabled.
int HwHeaterIsOn(const CSystemData& r, int which);
void HwHeaterSwitchOn(CSystemData& r, int which);
int HeatHeaterIsOn(const CSystemData& r, int which);
void HeatHeaterSwitchOn(CSystemData& r, int which);

// kind 0 off, 1 restart the timer, 2 one second of timing, 3 bring the first heater in now.
void HwBackupStep(CSystemData& r, int kind);
// The same for heating, with the heating target as an integer and the control temperature.
void HeatBackupStep(CSystemData& r, int kind, int target, float control);

// One heater output from its demand (on), where the valve side and the cut-offs allow it:
// kind 2: 1109; 3: 1111; 4: 1110 on the hot-water side; 5: 1110 on the heating side.
void HeaterOutput(CSystemData& record, int kind, int on);
