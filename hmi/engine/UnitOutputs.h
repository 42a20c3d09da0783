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
// Each unit only while its block exists and its link is up.
void WriteUnitOutputs(CSystemData& record, IndoorBlock* indoor, OutdoorBlock* outdoor);
