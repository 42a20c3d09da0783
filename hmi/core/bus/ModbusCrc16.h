// The Modbus CRC-16 (reflected polynomial 0xA001, initial value 0xFFFF, no final XOR) over every byte of a
// frame before its CRC field; frames carry it low byte first. The outdoor unit's parameter-cell checksum
// and the server link's frames use the same sum. Pure functions, callable from any thread.
#pragma once

#include <cstdint>

#include "Platform.h"

// The CRC of length bytes; 0xFFFF (the initial value) for no bytes or no buffer.
uint16_t ModbusCrc16(const BYTE* bytes, int length);
// The same sum over a byte string, for the WiFi frame codec.
uint16_t ModbusCrc16(const char* bytes, int length);
