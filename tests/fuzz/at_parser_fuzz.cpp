// Fuzz target: the module's AT replies. The first byte picks the query and the dialect, the rest is the
// reply; whatever it holds, every answer field must stay terminated within its size.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "WifiAt.h"

namespace {

template <size_t N>
void CheckTerminated(const char (&field)[N]) {
  if (std::memchr(field, '\0', N) == nullptr) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  static std::unique_ptr<WifiBlock> block(new WifiBlock{});
  const WifiQuery query = static_cast<WifiQuery>(data[0] % 10);
  const bool upper = (data[0] & 0x80) != 0;
  // A reply buffer as the device reads it: at most 100 bytes and a terminator.
  char reply[101];
  const int length = static_cast<int>(size - 1 < 100 ? size - 1 : 100);
  std::memcpy(reply, data + 1, static_cast<size_t>(length));
  reply[length] = '\0';
  WifiParseReply(query, upper, reply, length, *block);
  const WifiAnswers& a = block->m_answers;
  CheckTerminated(a.ssid);
  CheckTerminated(a.securityMode);
  CheckTerminated(a.encryption);
  CheckTerminated(a.key);
  CheckTerminated(a.networkMode);
  CheckTerminated(a.ipAddress);
  CheckTerminated(a.netMask);
  CheckTerminated(a.gateway);
  CheckTerminated(a.serverAddress);
  CheckTerminated(a.serverPortText);
  return 0;
}
