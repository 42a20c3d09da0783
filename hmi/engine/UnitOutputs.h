// Turns the regulators' requests into one operating mode, the compressor command, the heater outputs
// (through HeaterOutput of BackupHeat.h) and the wanted three-way valve side (ComposeOutputs), and copies the engine's outputs into the unit
// drivers' wanted values (WriteUnitOutputs), from which the drivers write the registers that changed.
// The only place where the engine touches the units.
#pragma once

struct CSystemData;
struct IndoorBlock;
struct OutdoorBlock;

void ComposeOutputs(CSystemData& record, const OutdoorBlock* outdoor = nullptr);
// Each unit only while its block exists and its link is up; the outputs are then marked as computed from
// the reply the inputs took, which lets the driver write again after a gap. A changed outdoor setting's hold
// (CSystemData::m_outdoorSettingHold) runs down whatever the link: while it runs the test-mode writes
// carry the setting's cells to the unit, and it ends early once the unit has stored them; when it runs
// out first, CSystemData::m_outdoorSettingRefused is set for the screens to tell the person.
void WriteUnitOutputs(CSystemData& record, IndoorBlock* indoor, OutdoorBlock* outdoor);

// The outdoor unit's settings that travel in its cells, by their index in the settings index space.
constexpr int kFanLimitSetting = 117;
constexpr int kDefrostMethodSetting = 122;
// A new value of one of them is in the record: the hold that carries both cells to the unit starts
// (again) and an earlier verdict is dropped. Page 14 and the server's writes call it after storing the
// value; the hold is set before the verdict is cleared, which the engine's end of an old hold relies on.
void HoldOutdoorSettingChange(CSystemData& record, int settingIndex);
