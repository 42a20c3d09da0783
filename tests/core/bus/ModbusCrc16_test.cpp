// CRC-16 and the bus encodings.
// Reference CRCs: 01 03 00 00 00 01 -> 0x0A84 (sent 84 0A), the protocol's textbook example frame;
// the others are checked against the unit simulator's bit-by-bit CRC (independent of the terminal's table).
#include "ModbusCrc16.h"

#include <gtest/gtest.h>

#include <vector>

#include "ModbusBytes.h"
#include "RtuSlave.h"

namespace {

TEST(ModbusCrc16, KnownFrames_MatchReferenceValues) {
  const BYTE readOne[] = {0x01, 0x03, 0x00, 0x00, 0x00, 0x01};
  EXPECT_EQ(ModbusCrc16(readOne, 6), 0x0A84);
  // The indoor unit's sensor read: 0B 03 04 AF 00 1E.
  const BYTE sensors[] = {0x0B, 0x03, 0x04, 0xAF, 0x00, 0x1E};
  EXPECT_EQ(ModbusCrc16(sensors, 6), unitsim::Crc16(sensors, 6));
  EXPECT_EQ(ModbusCrc16(static_cast<const BYTE*>(nullptr), 4), 0xFFFF);
  EXPECT_EQ(ModbusCrc16(readOne, 0), 0xFFFF);
  const char text[] = "\x01\x03\x00\x00\x00\x01";
  EXPECT_EQ(ModbusCrc16(text, 6), 0x0A84);
}

TEST(ModbusCrc16, EveryByteValue_AgreesWithBitwiseReference) {
  std::vector<BYTE> all(256);
  for (int i = 0; i < 256; ++i) all[static_cast<size_t>(i)] = static_cast<BYTE>(255 - i);
  for (int n = 1; n <= 256; n += 17) {
    SCOPED_TRACE(n);
    EXPECT_EQ(ModbusCrc16(all.data(), n), unitsim::Crc16(all.data(), static_cast<size_t>(n)));
  }
}

TEST(ModbusBytes, PackingRoutines_KeepByteOrderAndBitOrder) {
  BYTE b[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};  // guards around two bytes
  PutU16LE(0x04AF, b + 1);
  EXPECT_EQ(b[1], 0xAF);
  EXPECT_EQ(b[2], 0x04);
  PutU16BE(0x04AF, b + 3);
  EXPECT_EQ(b[3], 0x04);
  EXPECT_EQ(b[4], 0xAF);
  EXPECT_EQ(b[0], 0xEE);
  EXPECT_EQ(b[5], 0xEE);
  PutU16BE(1, nullptr);  // nothing without an output

  const uint16_t values[2] = {0x1234, 0xABCD};
  BYTE be[5] = {0, 0, 0, 0, 0x5A};
  EXPECT_EQ(U16ToBE(values, be, 2), 2);
  EXPECT_EQ(be[0], 0x12);
  EXPECT_EQ(be[3], 0xCD);
  EXPECT_EQ(be[4], 0x5A);
  uint16_t back[3] = {0, 0, 0x7777};
  EXPECT_EQ(BEToU16(be, back, 2), 2);
  EXPECT_EQ(back[0], 0x1234);
  EXPECT_EQ(back[1], 0xABCD);
  EXPECT_EQ(back[2], 0x7777);
  EXPECT_EQ(U16ToBE(values, be, 0), 0);
  EXPECT_EQ(BEToU16(nullptr, back, 2), 0);

  const BYTE bits[2] = {0x05, 0x81};  // coils 0, 2, then 8 and 15
  int16_t out[11];
  out[10] = 99;
  EXPECT_EQ(BitsToI16(bits, out, 10), 10);
  const int16_t want[10] = {1, 0, 1, 0, 0, 0, 0, 0, 1, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], want[i]) << i;
  EXPECT_EQ(out[10], 99);
}

TEST(ModbusBytes, BusEncodings_ConvertAndSaturate) {
  struct Case {
    const char* name;
    float value;
    uint16_t tempRaw;    // value as a temperature
    uint16_t tenthsRaw;  // value as tenths
  };
  const Case cases[] = {
      {"zero degrees", 0.0f, 3000, 0},
      {"inlet 35.5", 35.5f, 6550, 355},
      {"pump drive 45.7", 45.7f, 7570, 457},
      {"frost -5", -5.0f, 2500, 0},
      {"failed sensor -99 saturates to 0", -99.0f, 0, 0},
      {"far above saturates to 65535", 1.0e6f, 65535, 65535},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(BusTemperatureRaw(c.value), c.tempRaw);
    EXPECT_EQ(BusTenthsRaw(c.value), c.tenthsRaw);
  }
  EXPECT_FLOAT_EQ(BusTemperature(5000), 20.0f);
  EXPECT_FLOAT_EQ(BusTemperature(2500), -5.0f);
  EXPECT_FLOAT_EQ(BusTenths(457), 45.7f);
  EXPECT_EQ(SaturateU16(65534.9f), 65534);
  EXPECT_EQ(SaturateU16(0.0f / 0.0f), 0);
}

}  // namespace
