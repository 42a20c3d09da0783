// Byte order and bit packing of the unit bus, shared by the Modbus master, the slave device and the WiFi
// link, and the bus encodings of values: temperatures travel as (T + 30.00) x 100, tenths as value x 10.
// Pure functions, callable from any thread.
#pragma once

#include <cstdint>

#include "Platform.h"

// One block of a unit's register map, numbered as the unit counts its registers (the wire address is one
// less); the content line is the map's documentation.
struct RegisterBlock {
  WORD first;
  int count;
  const char* content;
};

// The wire address of register N of a unit's map (the units count from 1).
inline WORD Wire(int reg) { return static_cast<WORD>(reg - 1); }

// Store low byte first / high byte first; nothing without an output.
void PutU16LE(uint16_t value, BYTE* out);
void PutU16BE(uint16_t value, BYTE* out);
// Each value high byte first; count, or 0 without arrays or count.
int U16ToBE(const uint16_t* values, BYTE* out, int count);
// The reverse: count values from 2 x count bytes; 0 without arrays or count.
int BEToU16(const BYTE* bytes, uint16_t* out, int count);
// count elements 0 or 1, bit 0 of the first byte first, 8 bits per byte; 0 without arrays or count.
int BitsToI16(const BYTE* bytes, int16_t* out, int count);

// A float truncated toward zero into 0..65535: below 0 (a failed sensor's -99.0) gives 0, above gives 65535,
// not a number gives 0. Every float the drivers send goes through it.
uint16_t SaturateU16(float value);
// T = (raw - 3000) x 0.01 degrees Celsius.
float BusTemperature(uint16_t raw);
// raw = T x 100 + 3000, saturated.
uint16_t BusTemperatureRaw(float celsius);
// v = raw x 0.1; the raw of a tenth value is v x 10, saturated.
float BusTenths(uint16_t raw);
uint16_t BusTenthsRaw(float value);
