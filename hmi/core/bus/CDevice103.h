// Driver of bus device type 103: a single holding register (141), read every poll and never written.
// Not created by the terminal itself; a configuration may add it with CCommManager::AddDevice.
#pragma once

#include <cstdint>

#include "CModbusDevice.h"

struct Device103Block {
  int32_t m_linkState;  // 1 after a good read, else 0
  int32_t m_ready;      // unused by this type
  uint16_t m_raw141;    // register 141 as read
  uint16_t m_value141;  // its copy
};

class CDevice103 : public CModbusDevice {
public:
  static const int kType = 103;

  CDevice103(CSerialPort* port, int slaveAddress);

  void Poll() override;
  void* GetData() override { return &m_block; }
  Device103Block& Block() { return m_block; }

private:
  Device103Block m_block{};
};
