#include "ModbusCrc16.h"

namespace {

struct CrcTable {
  uint16_t entry[256];
  constexpr CrcTable() : entry() {
    for (int i = 0; i < 256; ++i) {
      uint16_t crc = static_cast<uint16_t>(i);
      for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : (crc >> 1);
      entry[i] = crc;
    }
  }
};
constexpr CrcTable kTable;

}  // namespace

uint16_t ModbusCrc16(const BYTE* bytes, int length) {
  uint16_t crc = 0xFFFF;
  if (!bytes) return crc;
  for (int i = 0; i < length; ++i) crc = static_cast<uint16_t>((crc >> 8) ^ kTable.entry[(crc ^ bytes[i]) & 0xFF]);
  return crc;
}

uint16_t ModbusCrc16(const char* bytes, int length) { return ModbusCrc16(reinterpret_cast<const BYTE*>(bytes), length); }
