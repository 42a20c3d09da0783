// Driver of bus device type 105: a board read through input registers 2-21, holding registers 210-250 and
// coils 2-52, whose fault coils mark failed inputs. Not created by the terminal itself; a configuration may
// add it with CCommManager::AddDevice. In demo mode (DemoMode) its reads succeed without traffic and its
// write-back sends nothing; the every-fifth-poll write of coil 52 still goes out.
#pragma once

#include <cstdint>

#include "CModbusDevice.h"

struct Device105Block {
  int32_t m_linkState;        // 0 inputs failed, 1 holding registers failed, 3 coils failed, 7 all read
  int32_t m_ready;            // 1 once all three reads succeeded
  int16_t m_input[20];        // input registers 2-21, signed
  uint16_t m_holding[41];     // holding registers 210-250 (shadows for writing)
  int16_t m_coil[51];         // coils 2-52, one word per coil
  float m_value[20];          // element i: input register 2 + i x 0.1, or -99.0 when its fault coil is set
                              // (elements of registers 2, 11, 13, 15 and 20 are unused)
  int32_t m_value11;          // input register 11 x 100
  uint16_t m_word13;          // input registers 13, 15, 20 as words
  uint16_t m_word15;
  uint16_t m_word20;
  uint16_t m_set210;          // wanted holding registers
  uint16_t m_set211;
  float m_set218;             // sent truncated to 0..65535
  uint16_t m_set237;
  uint16_t m_set238;
  uint16_t m_set239;
  uint16_t m_set241;
};

class CDevice105 : public CModbusDevice {
public:
  static const int kType = 105;

  CDevice105(CSerialPort* port, int slaveAddress);

  void Poll() override;
  void* GetData() override { return &m_block; }
  Device105Block& Block() { return m_block; }

private:
  void ConvertInputs(const uint16_t* raw);
  void WriteBack();

  Device105Block m_block{};
};
