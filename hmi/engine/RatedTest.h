// The rated-condition test: a service sequence that runs the heat pump at one of ten fixed working
// points (A..J) for a capacity measurement. It saves a few cells of the outdoor unit's parameter
// block, writes the test values through the test cells with the unit's write hand-shake, lets the
// unit settle, then holds a fixed frequency, valve opening and fan speed (with optional timed
// defrosts), and on request writes the saved cells back. Run by the engine thread after the normal
// control, so its outputs override it.
#pragma once

struct CSystemData;
struct OutdoorBlock;

constexpr int kRatedBackupCells = 20;

// Nothing happens without the outdoor block, with its link down, or (to run) with a condition
// outside 0..9.
void RatedTest(CSystemData& r, OutdoorBlock* outdoor);

// The test measures on the heating side: from the write of its cells to the end of the run its valve
// side stands against what the output composition wants, so the valve gets there while the
// compressor and the pump rest.
bool RatedTestHoldsValve(const CSystemData& r);
