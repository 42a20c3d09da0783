// The unit simulator's framing of what the terminal sends: frames by the length their function implies,
// resynchronising byte by byte after garbage. CRCs from the simulator's own bitwise CRC.
#include "LineServer.h"

#include <gtest/gtest.h>

#include "BusTestLine.h"

namespace {

TEST(RtuStream, GarbageAndSplitFrames_YieldTheGoodFramesInOrder) {
  std::vector<uint8_t> read = bustest::WithCrc({0x0B, 0x03, 0x04, 0xAF, 0x00, 0x1E});
  std::vector<uint8_t> write16 = bustest::WithCrc({0x0B, 0x10, 0x04, 0x4C, 0x00, 0x01, 0x02, 0x03, 0xE8});
  std::vector<uint8_t> bytes = {0xFF, 0x03, 0x41};  // garbage, including a plausible function code
  bytes.insert(bytes.end(), read.begin(), read.end());
  bytes.insert(bytes.end(), write16.begin(), write16.end());
  unitsim::RtuStream stream;
  std::vector<uint8_t> frame;
  stream.Feed(bytes.data(), bytes.size() - 4);  // the last frame still arriving
  ASSERT_TRUE(stream.Next(frame));
  EXPECT_EQ(frame, read);
  EXPECT_FALSE(stream.Next(frame));
  stream.Feed(bytes.data() + bytes.size() - 4, 4);
  ASSERT_TRUE(stream.Next(frame));
  EXPECT_EQ(frame, write16);
  EXPECT_EQ(stream.Pending(), 0u);
}

}  // namespace
