// The panel as a Modbus RTU slave (bus device type 118): another master may read and write a table of 5000
// registers. Polled by its port like any device, it collects what has arrived in a receive buffer, finds the
// requests addressed to its own slave address and answers functions 3, 6 and 16 at once (without the bus
// lock: nothing else talks on a slave line). Not created by the terminal itself; a configuration may add it.
// A request whose range leaves the table is answered with exception 2, a count the table cannot carry with
// exception 3; a function-16 frame whose byte count does not match its register count is ignored.
#pragma once

#include <cstdint>

#include "CModbusDevice.h"

struct SlaveBlock {
  int32_t m_linkState;       // 1 after a poll that processed input, else 0
  int32_t m_armed;           // input is processed only while armed and enabled
  int32_t m_enable;          // 0: each poll disarms
  uint16_t m_reg0Written;    // set whenever a master writes register 0
  int16_t m_regs[5000];      // registers 0..4999 by wire address
  uint8_t m_rx[9000];        // receive buffer
  int32_t m_fill;            // bytes in it
  int32_t m_errors;          // truncated frames since the last resynchronisation
};

class CSlaveDevice : public CModbusDevice {
public:
  static const int kType = 118;
  static const int kRegisters = 5000;
  static const int kBufferSize = 9000;
  static const int kMaxReadCount = 120;
  static const int kErrorLimit = 100;

  CSlaveDevice(CSerialPort* port, int slaveAddress);

  void Poll() override;
  void* GetData() override { return &m_block; }
  SlaveBlock& Block() { return m_block; }

private:
  void ProcessInput();
  // Each returns the bytes the frame at position i took, 0 when it was no frame for this device (scan on),
  // or -1 when the buffer ends inside it (stop and wait for more).
  int ReadRegisters(int i);
  int WriteRegister(int i);
  int WriteRegisters(int i);
  void Reply(BYTE* frame, int length);
  void ReplyException(BYTE function, BYTE code);
  int16_t Store(int reg, int16_t value);

  SlaveBlock m_block{};
};
