// Driver of the indoor unit's board (bus device type 101, slave address 11..19). Each bus period the port
// calls Poll on its thread: until the board is ready a start-up sequence reads the outputs and configuration
// and sends the initial write; then the regular poll reads sensors and read-backs into the IndoorBlock,
// converts them, and writes the engine's wanted outputs where they differ from what the board holds. After a
// poll that read nothing it writes nothing until the engine's outputs come from a fresh reply (FreshReplies).
// In demo mode (DemoMode) nothing goes on the bus but the initial write, and fixed values are filled.
// Transactions take the port's bus lock; the block is shared with the engine without a lock.
#pragma once

#include "CModbusDevice.h"
#include "IndoorBlock.h"

class CUnitDevice : public CModbusDevice {
public:
  static const int kType = 101;

  CUnitDevice(CSerialPort* port, int slaveAddress);

  void Poll() override;
  // The IndoorBlock.
  void* GetData() override { return &m_block; }
  IndoorBlock& Block() { return m_block; }

private:
  void StartUp();
  void RegularPoll();
  void Convert();
  void WriteBack();

  IndoorBlock m_block{};
  FreshReplyGate m_gate;
};
