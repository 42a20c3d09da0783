// Turns the regulators' requests into one operating mode, the compressor command, the heater outputs
// and the wanted three-way valve side (ComposeOutputs), and copies the engine's outputs into the unit
// drivers' wanted values (WriteUnitOutputs), from which the drivers write the registers that changed.
// The only place where the engine touches the units.
#pragma once

struct CSystemData;
struct IndoorBlock;
struct OutdoorBlock;

void ComposeOutputs(CSystemData& record, const OutdoorBlock* outdoor = nullptr);
// kind 2: 1109; 3: 1111; 4: 1110 on the hot-water side; 5: 1110 on the heating side.
void HeaterOutput(CSystemData& record, int kind, int on);
// Each unit only while its block exists and its link is up. A changed outdoor setting's hold
// (CSystemData::m_outdoorSettingHold) runs down whatever the link: while it runs the test-mode writes
// carry the setting's cells to the unit, and it ends early once the unit has stored them; when it runs
// out first, CSystemData::m_outdoorSettingRefused is set for the screens to tell the person.
void WriteUnitOutputs(CSystemData& record, IndoorBlock* indoor, OutdoorBlock* outdoor);

// The outdoor unit's write pass (its commit hand-shake) over cells the engine put into the test cells:
// started once they are in (the block shows them), true on the cycle the unit acknowledges it with the
// cells still in. An acknowledgement while they are not (a pass that began before they were written,
// or one that found a write lost) is taken and dropped, so the next pass covers them.
bool OutdoorWritePass(OutdoorBlock& outdoor, bool cellsIn);
