// Driver of bus device type 100: a controller with an operating mode, one set point per mode and a time
// table. Not created by the terminal itself; a configuration may add it with CCommManager::AddDevice.
// Follows the indoor driver's pattern: a start-up read that takes the wanted values from the slave, regular
// reads, and function-6 writes where the wanted value differs from the raw copy. Poll runs on the port's
// thread; the block is shared without a lock.
#pragma once

#include <cstdint>

#include "CModbusDevice.h"

struct Device100Block {
  int32_t m_linkState;       // 0 no good read, 1 block 3100 read, 3 blocks 3100 and 3120 read
  int32_t m_ready;           // 1 once the start-up read succeeded
  uint16_t m_raw3000[7];     // 3000-3006: mode, set points of modes 1-5, register 3006 (the shadows)
  uint16_t m_raw3100[10];    // 3100-3109
  uint16_t m_raw3120[19];    // 3120-3138
  uint16_t m_mode;           // wanted mode (register 3000)
  uint16_t m_setPoint;       // wanted set point of the current mode
  uint16_t m_set3006;        // wanted register 3006
  uint16_t m_modeSetPoint[5];  // set points of modes 1-5 as taken at start-up (3001-3005)
  uint16_t m_word3100;
  uint16_t m_word3101;
  float m_time[6];           // 3103, 3104, 3106, 3107, 3108, 3109 as raw x 0.5 - 60.0
  float m_value3120;         // 3120 x 0.1
  uint16_t m_word3121[17];   // 3121, 3122, 3124-3138
};

class CDevice100 : public CModbusDevice {
public:
  static const int kType = 100;

  CDevice100(CSerialPort* port, int slaveAddress);

  void Poll() override;
  void* GetData() override { return &m_block; }
  Device100Block& Block() { return m_block; }

private:
  void WriteBack();

  Device100Block m_block{};
};
