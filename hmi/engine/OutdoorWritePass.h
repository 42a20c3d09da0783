// The outdoor unit's write pass: the commit hand-shake (OutdoorBlock::m_eepromHandshake) by which the
// unit stores cells the engine put into its test cells. Page 14's outdoor settings (the unit outputs)
// and the rated-condition test write through it. Engine thread only; the outdoor unit's driver moves
// the word on from the bus thread. Each move is a compare-and-swap from the state its side owns: the
// engine starts a pass (0 -> 1), takes an acknowledgement (2 -> 0) or withdraws a waiting pass
// (1 -> 0); the driver claims a waiting pass for each commit it sends (1 -> 3) and answers it (3 -> 2
// stored, 3 -> 1 not yet). A commit on the wire cannot be withdrawn, so no verdict of the engine's
// contradicts what the unit stored.
#pragma once

#include <cstdint>

struct OutdoorBlock;

// The hand-shake word's states.
constexpr uint16_t kPassIdle = 0;
constexpr uint16_t kPassRunning = 1;
constexpr uint16_t kPassAcknowledged = 2;
constexpr uint16_t kPassOnTheWire = 3;

// A pass over the cells: started once they are in (the block shows them), true on the cycle the unit
// acknowledges it with the cells still in. An acknowledgement while they are not (a pass that began
// before they were written, or one that found a write lost) is taken and dropped, so the next pass
// covers them.
bool OutdoorWritePass(OutdoorBlock& outdoor, bool cellsIn);

// Withdraws a pass that waits for its commit: true when none is left waiting, false while the driver's
// commit is on the wire or its acknowledgement has just come (the next second takes it).
bool WithdrawOutdoorWritePass(OutdoorBlock& outdoor);
