// The small once-a-second rules around the main control: the automatic mode's request, the sleep and
// low-noise hours, the ECO and power-cut flags, the outdoor unit's power, the mode signal contact, the
// heating water limit with its over-temperature stop, and the installer's test run. Engine thread only.
#pragma once

struct CSystemData;
struct OutdoorBlock;

// Only asked while m_autoFunction is not 0: 0 no request, 1 heating, 2 cooling.
int AutoModeRequest(CSystemData& record);
// m_zoneFlag1 / m_zoneFlag2: today's mask bit of this hour while the rule is enabled.
void SleepHours(CSystemData& record);
void LowNoiseHours(CSystemData& record);
// Bits 0 (ECO heating) and 1 (power cut) of m_iconFlags, bit 0 of m_ecoHotWaterFlags.
void EcoAndPowerCut(CSystemData& record);
// m_outdoorPowerOut: 1 cuts the outdoor unit's power after 181 idle seconds; five seconds of power every six hours.
void OutdoorPowerOff(CSystemData& record);
// m_modeSignalOut from the watched demand bit and the contact type.
void ModeSignal(CSystemData& record);
// m_heatWaterLimit from m_heatSetMax and the ambient; lowered by 3 while its timer runs.
void HeatWaterLimit(CSystemData& record);
// The over-temperature stop bit of m_statusBits against the water limit; then the defrost rules (with
// the outdoor block, when there is one, for the command last written to it).
void OverTemperatureStop(CSystemData& record, const OutdoorBlock* outdoor = nullptr);
// One second of the test run instead of the normal control.
void TestRunStep(CSystemData& record);
