// The server frames: building one byte for byte, and finding frames in a received stream.
#include "CloudFrame.h"

#include <gtest/gtest.h>

#include <vector>

#include "CloudServer.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Frames from the server, built by the simulator's own codec.
Bytes ServerFrame(uint8_t command, const Bytes& data = {}) { return wifisim::CloudServer::Command(command, 1, data); }

struct Buffer {
  uint8_t bytes[8000];
  int32_t count = 0;
  void Add(const Bytes& b) {
    for (uint8_t v : b) bytes[count++] = v;
  }
  Bytes Held() const { return Bytes(bytes, bytes + count); }
};

TEST(CloudFrame, Build_WritesTheFrameByteForByte) {
  const uint8_t mac[6] = {0xAC, 0xCF, 0x23, 0xA1, 0xB2, 0xC3};
  const uint8_t data[2] = {0x00, 0x00};
  uint8_t out[32] = {};
  ASSERT_EQ(CloudFrame::Build(1, mac, 1, 1, data, 2, out), 18);
  // CRC computed apart from this codebase (bitwise, over address .. last data byte).
  const Bytes expected = {0xAA, 0x55, 0x01, 0xAC, 0xCF, 0x23, 0xA1, 0xB2, 0xC3,
                          0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x37, 0xEE, 0x3A};
  EXPECT_EQ(Bytes(out, out + 18), expected);

  // No data at all is a frame of 16 bytes; a body past the longest n is refused.
  EXPECT_EQ(CloudFrame::Build(1, mac, 1, 6, nullptr, 0, out), 16);
  EXPECT_EQ(out[10], 1);
  std::vector<uint8_t> big(2100);
  EXPECT_EQ(CloudFrame::Build(1, mac, 1, 1, big.data(), 2000, big.data()), 0);
}

TEST(CloudFrame, Find_TakesTheValidFrameAndKeepsTheHalfOneAfterIt) {
  // The command-3 frame from the server, typed with its independently computed CRC.
  const Bytes online = {0x55, 0xAA, 0x01, 0, 0, 0, 0, 0, 0, 0x01, 0x01, 0x00, 0x03, 0x12, 0x25, 0x3A};
  EXPECT_EQ(ServerFrame(3), online);
  const Bytes second = ServerFrame(6);
  Buffer b;
  b.Add({0x13, 0x55, 0x00, 0xAA, 0x55});  // garbage, including a stray head byte
  b.Add(online);
  b.Add(Bytes(second.begin(), second.begin() + 8));
  uint8_t out[2010];
  int length = 0;
  ASSERT_EQ(CloudFrame::Find(b.bytes, &b.count, 8000, out, &length), 1);
  EXPECT_EQ(length, 11);
  EXPECT_EQ(Bytes(out, out + 11), Bytes(online.begin() + 2, online.begin() + 13));
  EXPECT_EQ(b.Held(), Bytes(second.begin(), second.begin() + 8));
  // Still incomplete: kept; once the rest arrives, found.
  EXPECT_EQ(CloudFrame::Find(b.bytes, &b.count, 8000, out, &length), 0);
  EXPECT_EQ(b.count, 8);
  b.Add(Bytes(second.begin() + 8, second.end()));
  ASSERT_EQ(CloudFrame::Find(b.bytes, &b.count, 8000, out, &length), 1);
  EXPECT_EQ(out[10], 6);
  EXPECT_EQ(b.count, 0);
}

TEST(CloudFrame, Find_SkipsBrokenCandidates) {
  Bytes zeroLength = ServerFrame(3);
  zeroLength[10] = 0;  // n = 0
  Bytes badCrc = ServerFrame(3);
  badCrc[13] ^= 1;
  Bytes noColon = ServerFrame(3);
  noColon.back() = ';';
  Bytes tooLong(16, 0);
  tooLong[0] = 0x55, tooLong[1] = 0xAA, tooLong[10] = 0xD1, tooLong[11] = 0x07;  // n = 2001
  struct Case {
    const char* name;
    Bytes broken;
  };
  const Case cases[] = {{"n = 0", zeroLength}, {"bad CRC", badCrc}, {"no ':'", noColon}, {"n above 2000", tooLong}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Buffer b;
    b.Add(c.broken);
    b.Add(ServerFrame(7));
    uint8_t out[2010];
    int length = 0;
    ASSERT_EQ(CloudFrame::Find(b.bytes, &b.count, 8000, out, &length), 1);
    EXPECT_EQ(out[10], 7);
    EXPECT_EQ(b.count, 0);
  }

  // Only garbage: dropped. Fifteen bytes or fewer: kept untouched. A count past the buffer: emptied.
  Buffer g;
  g.Add(Bytes(40, 0x11));
  uint8_t out[2010];
  int length = 0;
  EXPECT_EQ(CloudFrame::Find(g.bytes, &g.count, 8000, out, &length), 0);
  EXPECT_EQ(g.count, 0);
  g.Add(Bytes(15, 0x11));
  EXPECT_EQ(CloudFrame::Find(g.bytes, &g.count, 8000, out, &length), 0);
  EXPECT_EQ(g.count, 15);
  g.count = 9000;
  EXPECT_EQ(CloudFrame::Find(g.bytes, &g.count, 8000, out, &length), 0);
  EXPECT_EQ(g.count, 0);
}

}  // namespace
