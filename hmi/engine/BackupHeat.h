// The backup heaters' timers, called by the regulators. kind 0 clears, 1 restarts the timer,
// 2 runs it one cycle, 3 switches the first heater on.
#pragma once

struct CSystemData;

void HwBackupStep(CSystemData& record, int kind);
// target: the heating target as an integer; ctrl: the control temperature.
void HeatBackupStep(CSystemData& record, int kind, int target, float ctrl);
