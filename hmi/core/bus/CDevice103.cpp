#include "CDevice103.h"

namespace {

// Register map of the type 103 device: holding register 141 (wire address 140).
const WORD kValue = 141;
const int kReadWait = 100;

}  // namespace

CDevice103::CDevice103(CSerialPort* port, int slaveAddress) : CModbusDevice(kType, port, slaveAddress) {}

void CDevice103::Poll() {
  if (ReadHoldingRegs(static_cast<WORD>(kValue - 1), 1, &m_block.m_raw141, kReadWait, kReadWait) < 1) {
    m_block.m_linkState = 0;
    return;
  }
  m_block.m_value141 = m_block.m_raw141;
  m_block.m_linkState = 1;
}
