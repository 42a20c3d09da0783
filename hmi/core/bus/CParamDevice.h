// Driver of the outdoor unit's board (bus device type 102, slave address 1..8), polled 20 ms after the indoor
// unit. Reads the running values into the OutdoorBlock, writes the engine's command words and temperatures
// where they differ from the board, mirrors the 512 parameter cells and carries the hand-shakes by which
// parameter page 8 loads and stores them (m_eepromState), the engine's commits of the cells it wrote
// (m_eepromHandshake) and the engine's request for the factory preset (m_presetRequest). Page 8's commit
// and the engine's are answered apart, so neither takes the other's acknowledgement. In demo mode
// (DemoMode) nothing goes on the bus and the running values are generated.
// Poll runs on the port's thread under its device lock; transactions take the bus lock.
#pragma once

#include <cstdint>

#include "CModbusDevice.h"
#include "OutdoorBlock.h"

class CParamDevice : public CModbusDevice {
public:
  static const int kType = 102;

  CParamDevice(CSerialPort* port, int slaveAddress);

  // Until the start-up reads (commands, commit block, every cell) have succeeded each poll tries them
  // again, followed by the running values; after that the running values each poll. The link state is
  // 1 only when this poll read the running values (or while paused), then the write-back runs; after a
  // poll that could not read them it waits for the engine's outputs of a fresh reply (FreshReplies), and
  // the first reply after such a gap re-reads the command and commit blocks the write-back compares with.
  void Poll() override;
  // The OutdoorBlock.
  void* GetData() override { return &m_block; }
  OutdoorBlock& Block() { return m_block; }

private:
  bool ReadBlock2000(bool initialise);
  bool ReadBlock2100();
  bool ReadBlock4000(bool initialise);
  bool ReadParamBlock();
  void FillDemo2100();
  void WriteBack();
  void WriteTestCells();
  void ServeCellState();
  // Up to three commits while the engine's or page 8's waits, the third after a fresh read of the cells.
  void CommitPasses();
  // Checksum cells and the commit registers, then block 4000 read back: true when the unit acknowledged.
  bool CommitOnce();
  void ServePreset();
  bool Demo() const;

  OutdoorBlock m_block{};
  FreshReplyGate m_gate;
  uint32_t m_random = 0x2545F491u;
  uint16_t m_cellCommit = 0;  // page 8's commit: 0 none, 1 wanted, 2 stored (this driver's thread only)
};
