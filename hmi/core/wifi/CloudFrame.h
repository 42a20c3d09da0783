// The binary frames between the panel and the remote server, carried by the WiFi module in transparent mode:
//   head (AA 55 to the server, 55 AA from it), address, MAC[6], unit, n (uint16 LE), command or kind, data[n-1],
//   CRC-16 (the Modbus sum over address .. last data byte, low byte first), ':'.
// A frame is n + 15 bytes long; 1 <= n <= 2000. Pure functions, no state.
#pragma once

#include <cstdint>

namespace CloudFrame {

constexpr int kMaxLength = 2000;   // largest n
constexpr int kOverhead = 15;      // bytes of a frame besides its command byte and data
constexpr uint8_t kEnd = ':';

// Writes a frame to the server with n = dataLength + 1 into out (room for dataLength + 16 bytes); returns its
// length, or 0 when dataLength would make n exceed kMaxLength.
int Build(uint8_t address, const uint8_t mac[6], uint8_t unit, uint8_t kind, const uint8_t* data, int dataLength,
          uint8_t* out);

// Finds one frame from the server in buffer[0 .. *count): copies it from its address byte through its last data
// byte (n + 10 bytes) into out (room for kMaxLength + 10) and returns 1, dropping every byte up to its ':'.
// Otherwise returns 0: bytes that can start no frame are dropped, an incomplete frame stays at the front.
// *count outside 0..capacity is taken as a broken buffer and emptied.
int Find(uint8_t* buffer, int32_t* count, int capacity, uint8_t* out, int* outLength);

// Little-endian helpers of the frame's fields.
inline uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void Put16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
inline void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace CloudFrame
