#include "OutdoorWritePass.h"

#include "OutdoorBlock.h"

bool OutdoorWritePass(OutdoorBlock& b, bool cellsIn) {
  if (b.m_eepromHandshake == kPassAcknowledged) {
    b.m_eepromHandshake = kPassIdle;
    return cellsIn;
  }
  if (cellsIn && b.m_eepromHandshake == kPassIdle) b.m_eepromHandshake = kPassRunning;
  return false;
}
