// The data block of the outdoor unit's board (bus device type 102): running values, the 512 parameter cells
// with the working copy that parameter page 8 edits, and the wanted values the engine writes. CParamDevice
// fills it on the bus thread; the engine and page 8 read and write it from their threads without a lock.
// The hand-shake words polled across threads (m_eepromHandshake, m_eepromState, m_presetRequest, m_pollPaused)
// are atomic.
// Register N of the unit is element N - <block start> of its raw array; temperatures are degrees Celsius.
#pragma once

#include <atomic>
#include <cstdint>

#include "FreshReplies.h"

struct OutdoorBlock {
  int32_t m_linkState;          // 1 when the last poll read the running values (and while paused), else 0
  int32_t m_ready;              // 1 once the start-up reads are done
  uint16_t m_raw2000[20];       // 2000-2019 as read; shadows for writing 2000-2012
  uint16_t m_raw2100[30];       // 2100-2129 as read
  uint16_t m_paramBlock[512];   // cells 3000-3511 as read; shadows for writing them
  uint16_t m_raw4000[5];        // 4000-4004 as read; shadows for writing 4000-4003
  std::atomic<uint16_t> m_eepromHandshake;  // the engine's commit: 0 idle, 1 wanted, 2 acknowledged, 3 on the wire
  std::atomic<uint16_t> m_presetRequest;  // 0 none, 1 requested (engine), 2 done
  uint16_t m_paramEdit[512];    // working copy of the cells (page 8)
  std::atomic<uint16_t> m_eepromState;    // 0 idle, 1 read requested, 2 read done, 3 write requested, 4 written
  std::atomic<uint16_t> m_pollPaused;     // non-zero: the poll sends nothing and reports the link good
  uint16_t m_set4000;           // wanted register 4000
  uint16_t m_set2000;           // wanted command words 2000-2002
  uint16_t m_set2001;
  uint16_t m_set2002;
  float m_set2003;              // 2003, 2004 as temperatures (taken from the unit only)
  float m_set2004;
  uint16_t m_set2005;           // taken from the unit only
  float m_set2006;              // wanted water inlet temperature (register 2006)
  uint16_t m_set2007;
  uint16_t m_set2008;           // taken from the unit only
  uint16_t m_set2009;
  float m_set2012;              // wanted coil temperature (register 2012)
  // Cells written while register 4000 reads 5: elements 0-9 cells 3013-3022, 10 cell 3307, 11 cell 3029,
  // 12 cell 3248, 13 cell 3249, 14 cell 3275, 15 cell 3276, 16 cell 3281.
  uint16_t m_testSet[17];
  uint16_t m_word2100;
  uint16_t m_voltage;           // 2101, supply voltage in V
  float m_current;              // 2102 x 0.1, A
  uint16_t m_word2103;
  uint16_t m_compressorHz;      // 2104
  uint16_t m_word2105;
  uint16_t m_fan1Rpm;           // 2106
  uint16_t m_fan2Rpm;           // 2107
  uint16_t m_eevSteps;          // 2108, expansion valve opening
  uint16_t m_word2109;
  uint16_t m_word2110;
  float m_ambientTemp;          // 2111, outdoor ambient TA
  float m_temp2112;
  float m_temp2113;
  float m_temp2114;
  uint16_t m_hi2115;            // high and low byte of 2115
  uint16_t m_lo2115;
  uint16_t m_word2116;
  float m_pressure2117;         // 2117 x 0.1, bar
  float m_pressure2118;         // 2118 x 0.1, bar
  uint16_t m_defrost;           // 2119
  uint16_t m_word2120;
  uint16_t m_word2121;
  uint16_t m_word2122;
  uint16_t m_version;           // 2123, outdoor software version in hundredths
  uint16_t m_word2124;
  uint16_t m_word2125;
  uint16_t m_word2126;
  uint16_t m_word2127;
  uint16_t m_word2128;
  FreshReplies m_fresh;         // after a poll that read nothing, no write until outputs of a fresh reply
};
