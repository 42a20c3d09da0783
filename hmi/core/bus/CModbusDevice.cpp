#include "CModbusDevice.h"

#include "CSerialPort.h"
#include "ModbusBytes.h"
#include "ModbusCrc16.h"

namespace {

const BYTE kReadCoils = 0x01;
const BYTE kReadHolding = 0x03;
const BYTE kReadInput = 0x04;
const BYTE kWriteCoil = 0x05;
const BYTE kWriteReg = 0x06;
const BYTE kWriteRegs = 0x10;
const BYTE kExceptionFlag = 0x80;
const int kExceptionLength = 5;
const int kMaxFrame = 256;  // an RTU frame is at most 256 bytes

// Trace directions of CSerialPort::AddTrace.
const int kTraceReply = 0;
const int kTraceRead = 1;
const int kTraceWrite = 2;

bool RangeFits(WORD start, int count) { return static_cast<int>(start) + count <= 0x10000; }

void PutHeader(BYTE* frame, int slave, BYTE function, WORD address, WORD value) {
  frame[0] = static_cast<BYTE>(slave);
  frame[1] = function;
  PutU16BE(address, frame + 2);
  PutU16BE(value, frame + 4);
}

bool CrcMatches(const BYTE* frame, int length) {
  uint16_t crc = ModbusCrc16(frame, length - 2);
  return frame[length - 2] == (crc & 0xFF) && frame[length - 1] == (crc >> 8);
}

// A reply answers this request only when it comes from the slave asked, for the function asked, with the
// byte count of a read or the register address of a write asked for: the other unit's late reply of the same
// length, with its good CRC, must never be taken for this one's data.
bool AnswersRequest(const BYTE* request, const BYTE* reply, int replyLength) {
  if (reply[0] != request[0] || reply[1] != request[1]) return false;
  switch (request[1]) {
    case kReadCoils:
    case kReadHolding:
    case kReadInput: return reply[2] == replyLength - 5;
    default: return reply[2] == request[2] && reply[3] == request[3];
  }
}

}  // namespace

CModbusDevice::CModbusDevice(int type, CSerialPort* port, int slaveAddress)
    : CPortDevice(type, slaveAddress), m_port(port) {}

CModbusDevice::~CModbusDevice() = default;

int CModbusDevice::Reserved() { return 0; }

int CModbusDevice::ReadCoils(WORD start, int count, int16_t* out, int waitBefore, int waitAfter) {
  if (!out || count <= 0 || count > kMaxReadCoils || !RangeFits(start, count)) return 0;
  BYTE request[8];
  BYTE reply[kMaxFrame];
  int replyLength = 5 + (count + 7) / 8;
  PutHeader(request, m_slaveAddress, kReadCoils, start, static_cast<WORD>(count));
  if (!m_port) return -1;
  CriticalSectionLock bus(m_port->BusLock());
  ++m_stats.readRequests;
  int result = Exchange(request, 8, reply, replyLength, waitBefore, waitAfter, -1);
  if (result != 1) return result;
  BitsToI16(reply + 3, out, count);
  ++m_stats.goodReads;
  return count;
}

int CModbusDevice::ReadHoldingRegs(WORD start, int count, uint16_t* out, int waitBefore, int waitAfter) {
  return ReadRegs(kReadHolding, start, count, out, waitBefore, waitAfter);
}

int CModbusDevice::ReadInputRegs(WORD start, int count, uint16_t* out, int waitBefore, int waitAfter) {
  return ReadRegs(kReadInput, start, count, out, waitBefore, waitAfter);
}

int CModbusDevice::WriteCoil(WORD address, int on, int waitBefore, int waitAfter) {
  return WriteSingle(kWriteCoil, address, on ? 0xFF00 : 0x0000, waitBefore, waitAfter);
}

int CModbusDevice::WriteReg(WORD address, WORD value, int waitBefore, int waitAfter) {
  return WriteSingle(kWriteReg, address, value, waitBefore, waitAfter);
}

// Functions 5 and 6: an 8-byte request answered by its own echo.
int CModbusDevice::WriteSingle(BYTE function, WORD address, WORD value, int waitBefore, int waitAfter) {
  BYTE request[8];
  BYTE reply[8];
  PutHeader(request, m_slaveAddress, function, address, value);
  if (!m_port) return -1;
  CriticalSectionLock bus(m_port->BusLock());
  ++m_stats.writeRequests;
  int result = Exchange(request, 8, reply, 8, waitBefore, waitAfter, -1);
  if (result != 1) return result;
  ++m_stats.goodWrites;
  return 1;
}

int CModbusDevice::WriteRegs(WORD start, const uint16_t* values, int count, int waitBefore, int waitAfter) {
  if (!values || count <= 0 || count > kMaxWriteRegs || !RangeFits(start, count)) return 0;
  BYTE request[9 + 2 * kMaxWriteRegs];
  BYTE reply[8];
  PutHeader(request, m_slaveAddress, kWriteRegs, start, static_cast<WORD>(count));
  request[6] = static_cast<BYTE>(2 * count);
  U16ToBE(values, request + 7, count);
  if (!m_port) return -2;
  CriticalSectionLock bus(m_port->BusLock());
  ++m_stats.writeRequests;
  int result = Exchange(request, 9 + 2 * count, reply, 8, waitBefore, waitAfter, -2);
  if (result != 1) return result;
  ++m_stats.goodWrites;
  Sleep(50);  // the unit stores the block before it takes the next request
  return (reply[4] << 8) | reply[5];
}

int CModbusDevice::WriteRegIfChanged(WORD address, WORD wanted, WORD& shadow, bool send) {
  if (wanted == shadow) return 1;
  int result = send ? WriteReg(address, wanted, 20, 0) : 1;
  shadow = wanted;
  return result;
}

int CModbusDevice::ReadRegs(BYTE function, WORD start, int count, uint16_t* out, int waitBefore, int waitAfter) {
  if (!out || count <= 0 || count > kMaxReadRegs || !RangeFits(start, count)) return 0;
  BYTE request[8];
  BYTE reply[kMaxFrame];
  PutHeader(request, m_slaveAddress, function, start, static_cast<WORD>(count));
  if (!m_port) return -1;
  CriticalSectionLock bus(m_port->BusLock());
  ++m_stats.readRequests;
  int result = Exchange(request, 8, reply, 5 + 2 * count, waitBefore, waitAfter, -1);
  if (result != 1) return result;
  BEToU16(reply + 3, out, count);
  ++m_stats.goodReads;
  return count;
}

int CModbusDevice::Exchange(BYTE* request, int requestLength, BYTE* reply, int replyLength, int waitBefore,
                            int waitAfter, int writeFailure) {
  uint16_t crc = ModbusCrc16(request, requestLength - 2);
  PutU16LE(crc, request + requestLength - 2);
  BYTE function = request[1];
  DWORD length = static_cast<DWORD>(requestLength);
  int written = m_port->Write(request, &length);
  ++m_stats.requests;
  m_stats.lastRequestBytes = static_cast<int>(length);
  bool isRead = function == kReadCoils || function == kReadHolding || function == kReadInput;
  m_port->AddTrace(request, requestLength, isRead ? kTraceRead : kTraceWrite);
  if (!written) return writeFailure;

  if (waitBefore > 0) Sleep(static_cast<DWORD>(waitBefore));
  DWORD got = static_cast<DWORD>(replyLength);
  m_port->ReadExact(reply, &got);
  m_stats.lastReplyBytes = static_cast<int>(got);
  m_port->AddTrace(reply, static_cast<int>(got), kTraceReply);
  if (waitAfter > 0) Sleep(static_cast<DWORD>(waitAfter));

  if (static_cast<int>(got) == replyLength) {
    if (!CrcMatches(reply, replyLength)) return -4;
    // Another exchange's reply: what is left of it and of this one's own reply is purged by the next write.
    return AnswersRequest(request, reply, replyLength) ? 1 : -3;
  }
  if (got == kExceptionLength && CrcMatches(reply, kExceptionLength) && reply[0] == m_slaveAddress &&
      reply[1] == (kExceptionFlag | function)) {
    if (reply[2] == 2) return -5;
    if (reply[2] == 3) return -6;
  }
  return -3;
}
