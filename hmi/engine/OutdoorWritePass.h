// The outdoor unit's write pass: the commit hand-shake (OutdoorBlock::m_eepromHandshake) by which the
// unit stores cells the engine put into its test cells. Page 14's outdoor settings (the unit outputs)
// and the rated-condition test write through it. Engine thread only; the outdoor unit's driver moves
// the word on from the bus thread.
#pragma once

#include <cstdint>

struct OutdoorBlock;

// The hand-shake word's states.
constexpr uint16_t kPassIdle = 0;
constexpr uint16_t kPassRunning = 1;
constexpr uint16_t kPassAcknowledged = 2;

// A pass over the cells: started once they are in (the block shows them), true on the cycle the unit
// acknowledges it with the cells still in. An acknowledgement while they are not (a pass that began
// before they were written, or one that found a write lost) is taken and dropped, so the next pass
// covers them.
bool OutdoorWritePass(OutdoorBlock& outdoor, bool cellsIn);
