#include "CSlaveDevice.h"

#include <cstring>

#include "CSerialPort.h"
#include "ModbusBytes.h"
#include "ModbusCrc16.h"

namespace {

// Frames this device answers (all fields big-endian, CRC low byte first):
//   3  read:  addr 03 start(2) count(2) crc(2)             -> addr 03 2*count regs... crc
//   6  write: addr 06 reg(2) value(2) crc(2)               -> the echo, with the value as stored
//   16 write: addr 10 start(2) count(2) bytes(1) values crc -> addr 10 start(2) count(2) crc
const BYTE kReadHolding = 0x03;
const BYTE kWriteReg = 0x06;
const BYTE kWriteRegs = 0x10;
const BYTE kIllegalAddress = 2;
const BYTE kIllegalValue = 3;
const int kShortFrame = 8;

uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

bool CrcAt(const uint8_t* frame, int length) {
  uint16_t crc = ModbusCrc16(frame, length);
  return frame[length] == (crc & 0xFF) && frame[length + 1] == (crc >> 8);
}

}  // namespace

CSlaveDevice::CSlaveDevice(CSerialPort* port, int slaveAddress) : CModbusDevice(kType, port, slaveAddress) {}

void CSlaveDevice::Poll() {
  SlaveBlock& b = m_block;
  if (!b.m_enable) {
    b.m_armed = 0;
    return;
  }
  if (!b.m_armed) {
    b.m_fill = 0;
    b.m_linkState = 0;
    return;
  }
  ProcessInput();
  b.m_linkState = 1;
}

void CSlaveDevice::ProcessInput() {
  SlaveBlock& b = m_block;
  if (m_port && b.m_fill < kBufferSize) {
    DWORD length = static_cast<DWORD>(kBufferSize - b.m_fill);
    if (m_port->ReadAvail(b.m_rx + b.m_fill, &length)) b.m_fill += static_cast<int32_t>(length);
  }
  if (b.m_fill > kBufferSize - 1) b.m_fill = 0;
  if (b.m_fill < kShortFrame) return;

  int i = 0;
  while (i < b.m_fill) {
    if (b.m_rx[i] != m_slaveAddress) {
      ++i;
      continue;
    }
    if (b.m_fill - i < kShortFrame) {
      ++b.m_errors;
      break;
    }
    int used = 0;
    switch (b.m_rx[i + 1]) {
      case kReadHolding: used = ReadRegisters(i); break;
      case kWriteReg: used = WriteRegister(i); break;
      case kWriteRegs: used = WriteRegisters(i); break;
      default: break;
    }
    if (used < 0) {
      ++b.m_errors;
      break;
    }
    i += used > 0 ? used : 1;
  }
  std::memmove(b.m_rx, b.m_rx + i, static_cast<size_t>(b.m_fill - i));
  b.m_fill -= i;
  // Persistent garbage: start afresh once, rather than deafening the device for the rest of the run.
  if (b.m_errors > kErrorLimit) {
    b.m_fill = 0;
    b.m_errors = 0;
  }
}

int CSlaveDevice::ReadRegisters(int i) {
  const uint8_t* f = m_block.m_rx + i;
  if (!CrcAt(f, 6)) return 0;
  int start = Be16(f + 2);
  int count = Be16(f + 4);
  if (count < 1 || count > kMaxReadCount) {
    ReplyException(kReadHolding, kIllegalValue);
  } else if (start + count > kRegisters) {
    ReplyException(kReadHolding, kIllegalAddress);
  } else {
    BYTE reply[5 + 2 * kMaxReadCount];
    reply[0] = static_cast<BYTE>(m_slaveAddress);
    reply[1] = kReadHolding;
    reply[2] = static_cast<BYTE>(2 * count);
    for (int k = 0; k < count; ++k) PutU16BE(static_cast<uint16_t>(m_block.m_regs[start + k]), reply + 3 + 2 * k);
    Reply(reply, 5 + 2 * count);
  }
  return kShortFrame;
}

int CSlaveDevice::WriteRegister(int i) {
  const uint8_t* f = m_block.m_rx + i;
  if (!CrcAt(f, 6)) return 0;
  int reg = Be16(f + 2);
  if (reg >= kRegisters) {
    ReplyException(kWriteReg, kIllegalAddress);
    return kShortFrame;
  }
  int16_t stored = Store(reg, static_cast<int16_t>(Be16(f + 4)));
  BYTE reply[8];
  reply[0] = static_cast<BYTE>(m_slaveAddress);
  reply[1] = kWriteReg;
  PutU16BE(static_cast<uint16_t>(reg), reply + 2);
  PutU16BE(static_cast<uint16_t>(stored), reply + 4);
  Reply(reply, 8);
  return kShortFrame;
}

int CSlaveDevice::WriteRegisters(int i) {
  const uint8_t* f = m_block.m_rx + i;
  int byteCount = f[6];
  if (m_block.m_fill - i < byteCount + 9) return -1;
  if (!CrcAt(f, byteCount + 7)) return 0;
  int start = Be16(f + 2);
  int count = Be16(f + 4);
  if (byteCount != 2 * count || count < 1) return 0;  // not a frame this device takes
  if (start + count > kRegisters) {
    ReplyException(kWriteRegs, kIllegalAddress);
    return byteCount + 9;
  }
  for (int k = 0; k < count; ++k) Store(start + k, static_cast<int16_t>(Be16(f + 7 + 2 * k)));
  BYTE reply[8];
  reply[0] = static_cast<BYTE>(m_slaveAddress);
  reply[1] = kWriteRegs;
  PutU16BE(static_cast<uint16_t>(start), reply + 2);
  PutU16BE(static_cast<uint16_t>(count), reply + 4);
  Reply(reply, 8);
  return byteCount + 9;
}

void CSlaveDevice::Reply(BYTE* frame, int length) {
  PutU16LE(ModbusCrc16(frame, length - 2), frame + length - 2);
  if (!m_port) return;
  DWORD n = static_cast<DWORD>(length);
  m_port->Write(frame, &n);
}

void CSlaveDevice::ReplyException(BYTE function, BYTE code) {
  BYTE reply[5] = {static_cast<BYTE>(m_slaveAddress), static_cast<BYTE>(0x80 | function), code, 0, 0};
  Reply(reply, 5);
}

int16_t CSlaveDevice::Store(int reg, int16_t value) {
  if (reg == 0) {
    // Register 0 is a switch: anything above 1 is on, anything below 0 off.
    m_block.m_reg0Written = 1;
    value = value < 0 ? 0 : value >= 2 ? 1 : value;
  }
  m_block.m_regs[reg] = value;
  return value;
}
