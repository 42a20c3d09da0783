#include "OutdoorWritePass.h"

#include "OutdoorBlock.h"

bool OutdoorWritePass(OutdoorBlock& b, bool cellsIn) {
  uint16_t state = kPassAcknowledged;
  if (b.m_eepromHandshake.compare_exchange_strong(state, kPassIdle)) return cellsIn;
  state = kPassIdle;
  if (cellsIn) b.m_eepromHandshake.compare_exchange_strong(state, kPassRunning);
  return false;
}

bool WithdrawOutdoorWritePass(OutdoorBlock& b) {
  uint16_t state = kPassRunning;
  return b.m_eepromHandshake.compare_exchange_strong(state, kPassIdle) || state == kPassIdle;
}
