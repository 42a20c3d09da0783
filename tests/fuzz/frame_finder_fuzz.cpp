// Fuzz target: the server-frame finder fed a stream in pieces. The first byte sets the piece size; every call
// must keep the count inside the buffer and hand out only whole frames with a good CRC and ':'.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "CloudFrame.h"
#include "ModbusCrc16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t piece = 1 + data[0] % 64;
  static uint8_t buffer[8000];
  int32_t count = 0;
  uint8_t frame[CloudFrame::kMaxLength + 10];
  for (size_t at = 1; at < size; at += piece) {
    const size_t n = size - at < piece ? size - at : piece;
    if (count + static_cast<int32_t>(n) > 8000) count = 0;
    std::memcpy(buffer + count, data + at, n);
    count += static_cast<int32_t>(n);
    for (;;) {
      int length = 0;
      const int found = CloudFrame::Find(buffer, &count, 8000, frame, &length);
      if (count < 0 || count > 8000) std::abort();
      if (!found) break;
      const int body = CloudFrame::Get16(frame + 8);
      if (body < 1 || body > CloudFrame::kMaxLength || length != body + 10) std::abort();
      (void)ModbusCrc16(frame, length);
    }
  }
  return 0;
}
