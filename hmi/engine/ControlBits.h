// Bits of the record's status and flag words that several control areas test or set.
#pragma once

#include <cstdint>

// CSystemData::m_statusBits.
constexpr uint32_t kStatusGearCap5 = 0x10u;          // the outdoor unit limits the gear to 5
constexpr uint32_t kStatusInletFromUnit = 0x20u;     // the inlet temperature is not sent to the outdoor unit
constexpr uint32_t kStatusCoilFreezeStop = 0x4000u;  // cooling coil anti-freeze stop
constexpr uint32_t kStatusLowOutlet = 0x80000u;      // outlet water at or below 5 degrees
constexpr uint32_t kStatusOverTemp = 0x100000u;      // over-temperature stop of the water
constexpr uint32_t kStatusFreezeLockout = 0x1000000u;  // three coil anti-freeze events in one window
// CSystemData::m_statusBitsB.
constexpr uint32_t kStatusBLimitLowered = 0x20u;     // lowers the heating water limit for two hours
constexpr uint32_t kStatusBAmbientFault = 0x200000u; // the ambient reading of the outdoor unit is not to be trusted

// Bits of CSystemData::m_demandFlags kept by the demand indicators: something is being served.
constexpr uint16_t kRunningHotWater = 0x8u;
constexpr uint16_t kRunningHeating = 0x10u;
constexpr uint16_t kRunningCooling = 0x20u;

// Bits of CSystemData::m_iconFlags and m_ecoHotWaterFlags.
constexpr uint16_t kIconEcoHeating = 0x1u;
constexpr uint16_t kEcoHotWater = 0x1u;
constexpr uint16_t kEcoNearWaterLimit = 0x2u;

// Three-way valve sides reached (CSystemData::m_valvePosition).
constexpr int32_t kValveAtHotWater = 1;
constexpr int32_t kValveAtHeating = 2;
// The side at which heating is served under a layout (CSystemData::m_userSystemType): the
// heating/cooling side, or the hot-water side with layout 1 (heating through the tank's coil).
constexpr int32_t HeatingSidePosition(int32_t userSystemType) {
  return userSystemType == 1 ? kValveAtHotWater : kValveAtHeating;
}

inline float Clamp(float v, float lo, float hi) { return v < lo ? lo : (v > hi ? hi : v); }
