// The engine's own steps of the once-a-second cycle, between the inputs and the control rules:
// the standby state, the demand bits and their filter by run mode, the default targets, the
// outdoor unit's programming request and the target and control temperatures that the off, idle
// and on branches show. Engine thread only; each step reads and writes the record it is given.
#pragma once

#include <cstdint>

struct CSystemData;
struct OutdoorBlock;

// Demand bits of CSystemData::m_demandFlags.
constexpr uint16_t kDemandHotWater = 1u << 0;
constexpr uint16_t kDemandHeating = 1u << 1;
constexpr uint16_t kDemandCooling = 1u << 2;
// Bit of CSystemData::m_iconFlags while the power-cut input holds the unit.
constexpr uint16_t kIconPowerCut = 1u << 1;

// 1 when an active fault stops the unit (status bits 21, 24, 15, 16, 17, 23; 4 and 5 together, or
// either without the flow switch in use; 11 with a DC pump); the value is also stored in m_standbyState.
int UpdateStandbyState(CSystemData& record);

// Bits 0 to 2 of m_demandFlags from the enabled modes and the sensors they need; other bits stay.
void ComposeDemand(CSystemData& record);

// The automatic mode's request: 0 none, 1 heating, 2 cooling.
typedef int (*AutoRequestCall)(CSystemData& record);
// Narrows the demand bits to the run mode (0 off, 1 heating, 2 cooling, 3 hot water, 4 automatic,
// any mode but off turned to hot water only by the boost). In automatic mode with an automatic
// source the request is asked for; with no request m_autoIdle is set unless hot water is wanted.
void FilterDemandByMode(CSystemData& record, AutoRequestCall autoRequest);

// Targets before the control adjusts them: the set temperatures of the settings.
void SetDefaultTargets(CSystemData& record);

// Hands the programming request to the outdoor unit's driver and reads its progress back.
// Nothing happens without the outdoor block.
void ForwardOutdoorProgramming(CSystemData& record, OutdoorBlock* outdoor);

// Off or idle: the standby count (up to 300 s), then, after the standby frost protection, the targets and
// control temperatures the screens show.
void StandbyCount(CSystemData& record);
void OffBranchTargets(CSystemData& record);

// On: the standby and frost states that only apply while off are cleared.
void ClearOffStates(CSystemData& record);
// The regulators' requests, heater demands and backup timers back to 0.
void ClearHotWaterRegulator(CSystemData& record);
void ClearHeatingRegulator(CSystemData& record);
void ClearCoolingRegulator(CSystemData& record);
// Hot water not wanted (or stopped): target back to the setting, the regulator's demands and backup timer cleared.
void HotWaterIdle(CSystemData& record);
// Heating wanted under room control / after the water set point under water control.
void HeatingRoomTargets(CSystemData& record);
void HeatingWaterTargets(CSystemData& record);
// Heating not wanted: target and control temperature back to the water setting, demands and backup timer cleared.
void HeatingIdle(CSystemData& record);
// Cooling likewise, its requests cleared.
void CoolingRoomTargets(CSystemData& record);
void CoolingWaterTargets(CSystemData& record);
void CoolingIdle(CSystemData& record);
// With the floor first-heat programme enabled: true when it may run now, the demand then narrowed
// to heating only.
bool FloorHeatDemand(CSystemData& record);

// The normal control of one second in its fixed order, up to the output composition: demand, mode
// filter, targets, then the off/idle branch (standby and frost protection) or the on branch: the floor
// programme alone while it is enabled, else the holiday window, weekly timer, hot water with its
// schedules, heating and cooling.
void NormalControl(CSystemData& record, OutdoorBlock* outdoor);
