// The two supervision rules of the water circuit that run inside the output composition: the flow
// switch (missing flow while the pump runs, with timed retries and a lock-out; a switch stuck closed
// with the pump off) and the defrost rules (where the defrost heat comes from, the valve side it
// needs, failed defrosts, the holds that other rules read, and the four-way valve check). The outdoor
// unit runs the defrost itself and reports it in m_defrostState. Engine thread only.
#pragma once

#include <cstdint>

struct CSystemData;
struct OutdoorBlock;

// Status bits of CSystemData::m_statusBits written here.
constexpr uint32_t kStatusFlowFault = 0x8000;
constexpr uint32_t kStatusFlowStuckClosed = 0x10000;
constexpr uint32_t kStatusFlowLockout = 0x800000;
constexpr uint32_t kStatusDefrostTooCold = 0x400000;
constexpr uint32_t kStatusDefrostFailed = 0x200000;
// The four-way valve fault's condition, in the second fault word where the fault table reads it.
constexpr uint32_t kFourWayValveFault = 0x4000000;

// Defrost heat sources (CSystemData::m_defrostSource).
enum DefrostSource { kSourceNone = 0, kSourceOutlet = 1, kSourceTank = 2, kSourceHeatingWater = 3,
                     kSourceNotFound = 4, kSourceNotFoundHotWater = 5 };

void FlowSupervision(CSystemData& r);
// `outdoor` (may be null) gives the command last written to the outdoor unit, kept when a defrost's
// valve request is dropped.
void DefrostRules(CSystemData& r, const OutdoorBlock* outdoor = nullptr);
