// The hydraulic side of the output composition: service flushing, the three-way valve, the pump
// standby schedule, the circulation pumps with the two circuit pumps and their mixing valves, and
// the demand indicators with the run-time counters. Run once a second by the engine thread after
// the compressor rules, in the order declared here; each rule reads and writes the record it is given
// (and the soft clock for the weekly pump run).
#pragma once

#include <cstdint>

#include "ControlBits.h"

struct CSystemData;

// Reasons to run the pumps (CSystemData::m_pumpRequestFlags).
constexpr uint16_t kPumpWeeklyMain = 0x1;
constexpr uint16_t kPumpWeeklyA = 0x2;
constexpr uint16_t kPumpWeeklyB = 0x4;
constexpr uint16_t kPumpStandbyWanted = 0x8;
constexpr uint16_t kPumpStandbyOn = 0x10;
constexpr uint16_t kPumpFrost = 0x20;
constexpr uint16_t kPumpFloorA = 0x40;
constexpr uint16_t kPumpFloorB = 0x80;
constexpr uint16_t kPumpFlush1 = 0x200;
constexpr uint16_t kPumpFlush2 = 0x400;

// Three-way valve drive sides: the two reached (ControlBits.h) and the two on the way.
constexpr int32_t kValveToHotWater = 3;
constexpr int32_t kValveToHeating = 4;

// The valve position at which heating is served under the record's layout.
int32_t HeatingSidePosition(const CSystemData& r);

// True when the valve has reached the side that `mode` (1 heating, 2 cooling, 3 hot water) needs.
bool ValveSideMatches(const CSystemData& r, int mode);
// One step towards side 2 (heating/cooling) or 3 (hot water), taking the switching time.
void ValveDrive(CSystemData& r, int side);

void ServiceFlushing(CSystemData& r);
void ValveControl(CSystemData& r);
void PumpStandby(CSystemData& r);
void CirculationPumps(CSystemData& r);
// Circuit 1 or 2; kind 0 none, 1 heating, 2 cooling.
void MixingCircuit(CSystemData& r, int circuit, int kind);
void DemandIndicators(CSystemData& r);

// The five steps above in their order, as the output composition runs them.
void HydraulicOutputs(CSystemData& r);
