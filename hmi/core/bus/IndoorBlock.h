// The data block of the indoor unit's board (bus device type 101): the registers as read, their converted
// values and the outputs the engine wants. CUnitDevice fills it on the bus thread every poll; the engine
// reads the converted values and writes the wanted outputs from its own thread without a lock (every field is
// one aligned word, written whole). Parameter page 16 may override inputs for commissioning.
// Register N of the unit is element N - <block start> of its raw array. Temperatures are degrees Celsius,
// -99.0 for a sensor the unit reports failed.
#pragma once

#include <cstdint>

#include "FreshReplies.h"

struct IndoorBlock {
  int32_t m_linkState;        // last poll: 0 no good read, 1 block 1200 read, 3 blocks 1200 and 1300 read
  int32_t m_ready;            // 1 once the start-up reads and the initial write are done
  uint16_t m_raw1000;         // register 1000 as read; the shadow for writing it
  uint16_t m_raw1100[20];     // 1100-1119 as read; shadows for writing 1100-1114
  uint16_t m_raw1200[30];     // 1200-1229: temperatures, inputs, fault bits
  uint16_t m_raw1300[20];     // 1300-1319: the outputs as the board drives them
  uint16_t m_raw1800[2];      // 1800-1801
  uint16_t m_raw1900[32];     // 1900-1931
  uint16_t m_set1000;         // wanted values of the on/off outputs and the operating word
  uint16_t m_set1100;
  uint16_t m_set1101;
  uint16_t m_set1102;
  uint16_t m_set1103;
  uint16_t m_set1105;
  uint16_t m_set1110;
  uint16_t m_set1109;
  uint16_t m_set1111;
  uint16_t m_set1106;
  uint16_t m_set1112;
  uint16_t m_set1113;
  uint16_t m_set1114;
  float m_set1104;            // circulation pump drive 0..100, sent as value x 10
  float m_set1107;            // analogue output of mixing circuit 1, sent as value x 10
  float m_set1108;            // analogue output of mixing circuit 2, sent as value x 10
  float m_temp1200[12];       // element i: register 1200 + i (room, tank, heat/cool, outlet, inlet, coil, ...)
  uint16_t m_word1225;
  uint16_t m_word1228;
  uint16_t m_word1229;
  float m_value1;             // register 1222 x 0.1, or the read-back 1304 x 0.1
  float m_value2;             // register 1223 x 0.1, or the read-back 1307 x 0.1
  float m_value3;             // register 1224 x 0.1, or the read-back 1308 x 0.1
  uint16_t m_in1216;
  uint16_t m_bits1217;        // 1217 + 2 x 1218 + 4 x 1219
  uint16_t m_in1212;          // power interruption
  uint16_t m_in1213;          // water flow switch
  uint16_t m_in1214;          // cooling signal
  uint16_t m_in1215;          // heating signal
  uint16_t m_in1220;          // high-temperature signal
  uint16_t m_in1221;
  uint16_t m_faultBits1226;   // bit i: sensor of 1200 + i failed (i 0..11); bit 15: 1222 failed
  uint16_t m_faultBits1227;   // bit 0: 1223 failed, bit 1: 1224 failed
  uint16_t m_val1800;
  uint16_t m_val1801;
  uint16_t m_val1900[5];      // 1900-1904
  FreshReplies m_fresh;       // after a poll that read nothing, no write until outputs of a fresh reply
};
