#include "ModbusBytes.h"

#include <cmath>

void PutU16LE(uint16_t value, BYTE* out) {
  if (!out) return;
  out[0] = static_cast<BYTE>(value & 0xFF);
  out[1] = static_cast<BYTE>(value >> 8);
}

void PutU16BE(uint16_t value, BYTE* out) {
  if (!out) return;
  out[0] = static_cast<BYTE>(value >> 8);
  out[1] = static_cast<BYTE>(value & 0xFF);
}

int U16ToBE(const uint16_t* values, BYTE* out, int count) {
  if (!values || !out || count <= 0) return 0;
  for (int i = 0; i < count; ++i) PutU16BE(values[i], out + 2 * i);
  return count;
}

int BEToU16(const BYTE* bytes, uint16_t* out, int count) {
  if (!bytes || !out || count <= 0) return 0;
  for (int i = 0; i < count; ++i) out[i] = static_cast<uint16_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
  return count;
}

int BitsToI16(const BYTE* bytes, int16_t* out, int count) {
  if (!bytes || !out || count <= 0) return 0;
  for (int i = 0; i < count; ++i) out[i] = static_cast<int16_t>((bytes[i / 8] >> (i % 8)) & 1);
  return count;
}

uint16_t SaturateU16(float value) {
  if (!(value > 0.0f)) return 0;  // also not a number
  if (value >= 65535.0f) return 65535;
  return static_cast<uint16_t>(value);
}

float BusTemperature(uint16_t raw) { return static_cast<float>(static_cast<int>(raw) - 3000) * 0.01f; }

uint16_t BusTemperatureRaw(float celsius) { return SaturateU16(celsius * 100.0f + 3000.0f); }

float BusTenths(uint16_t raw) { return static_cast<float>(raw) * 0.1f; }

uint16_t BusTenthsRaw(float value) { return SaturateU16(value * 10.0f); }
