// One row of the minute log t_RealHP, filled by the engine's snapshot once a minute and also the value
// part of each fault record. Fields are in column order; column 0 is the time.
#pragma once

#include <cstdint>
#include <vector>

struct RealRecord {
  int64_t m_time = 0;           // 0 TM, seconds of local time
  uint8_t m_snapshotCode = 0;   // 1
  uint8_t m_compressorHz = 0;   // 2
  float m_roomTemp = 0;         // 3
  float m_tankTemp = 0;         // 4
  float m_heatCoolTemp = 0;     // 5
  float m_ambientTemp = 0;      // 6
  float m_outletTemp = 0;       // 7
  float m_inletTemp = 0;        // 8
  float m_coilTemp = 0;         // 9
  float m_outdoorTemp2113 = 0;  // 10
  float m_outdoorTemp2114 = 0;  // 11
  float m_outdoorTemp2112 = 0;  // 12
  float m_mix1Temp = 0;         // 13
  float m_mix2Temp = 0;         // 14
  float m_pressureA = 0;        // 15
  float m_pressureB = 0;        // 16
  float m_current = 0;          // 17
  uint16_t m_voltage = 0;       // 18
  uint16_t m_eevSteps = 0;      // 19
  uint16_t m_fan1Rpm = 0;       // 20
  uint16_t m_fan2Rpm = 0;       // 21
  float m_indoorValue1 = 0;     // 22
  float m_indoorValue2 = 0;     // 23
  float m_indoorValue3 = 0;     // 24
  uint32_t m_statusBits16 = 0;  // 25, 16 status bits packed by the engine
  int32_t m_statusBitsB = 0;    // 26
  int32_t m_statusBits = 0;     // 27
};

typedef std::vector<RealRecord> RealRecordArray;
