// The compressor gear sent to the outdoor unit (m_outdoorCmd2000: 0 stop, 1..10) with its low-noise flag
// (m_outdoorCmd2007): the adaptive minimum off time, the step and the cascaded PID gear controllers, the
// cold-ambient gear floor, the low-gear time-out and the cooling coil's anti-freeze protection.
#pragma once

struct CSystemData;

// Counts the run and hold seconds and adapts the minimum off time (3..18 minutes) at each stop.
void RestartInterval(CSystemData& record);
// mode 0 none, 1 heating, 2 cooling, 3 hot water: m_activeMode and the gear command.
void CompressorCommand(CSystemData& record, int mode);
// The gear for a temperature error over the derate difference, with 0.2 degrees of hysteresis.
int StepGear(CSystemData& record, float error);
// Outer loop on the water error, inner loop on the water temperature difference; acts every 10 s.
int PidGear(CSystemData& record, float error);
// 1 once gear 1 has run m_lowFreqRunTime minutes in a row (the count then starts again).
int LowGearTimeout(CSystemData& record);
// After the compressor command: caps the gear by the coil temperature and stops a freezing coil.
void CoilFreezeProtection(CSystemData& record);
