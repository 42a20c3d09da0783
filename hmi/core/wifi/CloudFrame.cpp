#include "CloudFrame.h"

#include <cstring>

#include "ModbusCrc16.h"

namespace CloudFrame {

int Build(uint8_t address, const uint8_t mac[6], uint8_t unit, uint8_t kind, const uint8_t* data, int dataLength,
          uint8_t* out) {
  const int n = dataLength + 1;
  if (dataLength < 0 || n > kMaxLength || !out) return 0;
  out[0] = 0xAA;
  out[1] = 0x55;
  out[2] = address;
  std::memcpy(out + 3, mac, 6);
  out[9] = unit;
  Put16(out + 10, static_cast<uint16_t>(n));
  out[12] = kind;
  if (dataLength > 0) std::memcpy(out + 13, data, static_cast<size_t>(dataLength));
  Put16(out + n + 12, ModbusCrc16(out + 2, n + 10));
  out[n + 14] = kEnd;
  return n + kOverhead;
}

namespace {

void Drop(uint8_t* buffer, int32_t* count, int bytes) {
  const int rest = *count - bytes;
  if (rest > 0) std::memmove(buffer, buffer + bytes, static_cast<size_t>(rest));
  *count = rest > 0 ? rest : 0;
}

}  // namespace

int Find(uint8_t* buffer, int32_t* count, int capacity, uint8_t* out, int* outLength) {
  if (*count < 0 || *count > capacity) {
    *count = 0;
    return 0;
  }
  const int have = *count;
  if (have <= kOverhead) return 0;
  int i = 0;
  for (; i + 1 < have; ++i) {
    if (buffer[i] != 0x55 || buffer[i + 1] != 0xAA) continue;
    if (have - i < kOverhead + 1) break;  // too short to tell: wait for more
    const int n = Get16(buffer + i + 10);
    if (n == 0 || n > kMaxLength) continue;
    if (have - i < n + kOverhead) break;  // incomplete
    if (buffer[i + n + 14] != kEnd || Get16(buffer + i + n + 12) != ModbusCrc16(buffer + i + 2, n + 10)) continue;
    std::memcpy(out, buffer + i + 2, static_cast<size_t>(n + 10));
    *outLength = n + 10;
    Drop(buffer, count, i + n + kOverhead);
    return 1;
  }
  // Everything before i starts no frame; at the end of the scan the last byte may still be a head's first half.
  if (i + 1 >= have && have > 0 && buffer[have - 1] == 0x55) i = have - 1;
  else if (i + 1 >= have) i = have;
  Drop(buffer, count, i);
  return 0;
}

}  // namespace CloudFrame
