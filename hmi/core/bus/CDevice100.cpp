#include "CDevice100.h"

#include "ModbusBytes.h"

namespace {

// Register map of the type 100 controller: holding registers, numbered from 1 (wire address one less).
const WORD kSettings = 3000;  // 3000 mode, 3001-3005 set points of modes 1-5, 3006
const int kSettingsCount = 7;
const WORD kTimes = 3100;     // 3100-3109: two words, times and temperatures (3102, 3105 unconverted)
const int kTimesCount = 10;
const WORD kValues = 3120;    // 3120 in tenths, 3121-3138 words (3123 unused)
const int kValuesCount = 19;

// Set-point range of each mode 1-5.
struct Range {
  int low;
  int high;
};
const Range kModeRange[5] = {{10, 31}, {7, 25}, {10, 31}, {7, 52}, {20, 52}};
const int kTimeRegs[6] = {3103, 3104, 3106, 3107, 3108, 3109};

const int kReadWait = 100;
const int kSlowEvery = 5;


}  // namespace

CDevice100::CDevice100(CSerialPort* port, int slaveAddress) : CModbusDevice(kType, port, slaveAddress) {}

void CDevice100::Poll() {
  Device100Block& b = m_block;
  if (!b.m_ready) {
    if (ReadHoldingRegs(Wire(kSettings), kSettingsCount, b.m_raw3000, kReadWait, kReadWait) < 1) return;
    b.m_mode = b.m_raw3000[0];
    for (int m = 0; m < 5; ++m) b.m_modeSetPoint[m] = b.m_raw3000[1 + m];
    b.m_set3006 = b.m_raw3000[6];
    b.m_setPoint = (b.m_mode >= 1 && b.m_mode <= 5) ? b.m_modeSetPoint[b.m_mode - 1] : 0;
    b.m_ready = 1;
    return;  // the link state stays 0 in this poll
  }
  if (ReadHoldingRegs(Wire(kTimes), kTimesCount, b.m_raw3100, kReadWait, kReadWait) < 1) {
    b.m_linkState = 0;
    return;
  }
  b.m_word3100 = b.m_raw3100[0];
  b.m_word3101 = b.m_raw3100[1];
  for (int i = 0; i < 6; ++i) b.m_time[i] = static_cast<float>(b.m_raw3100[kTimeRegs[i] - kTimes]) * 0.5f - 60.0f;
  if (ReadHoldingRegs(Wire(kValues), kValuesCount, b.m_raw3120, kReadWait, kReadWait) >= 1) {
    b.m_value3120 = static_cast<float>(b.m_raw3120[0]) * 0.1f;
    b.m_word3121[0] = b.m_raw3120[1];
    b.m_word3121[1] = b.m_raw3120[2];
    for (int i = 0; i < 15; ++i) b.m_word3121[2 + i] = b.m_raw3120[4 + i];
    b.m_linkState = 3;
  } else {
    b.m_linkState = 1;
  }
  if (m_tickCount % kSlowEvery != 0) ReadHoldingRegs(Wire(kSettings), kSettingsCount, b.m_raw3000, kReadWait, kReadWait);
  WriteBack();
}

void CDevice100::WriteBack() {
  Device100Block& b = m_block;
  WriteRegIfChanged(Wire(kSettings), b.m_mode, b.m_raw3000[0]);
  if (b.m_mode >= 1 && b.m_mode <= 5) {
    const Range& range = kModeRange[b.m_mode - 1];
    // An out-of-range set point is never sent: the slave's own value of that mode is taken instead.
    if (b.m_setPoint < range.low || b.m_setPoint > range.high) b.m_setPoint = b.m_raw3000[b.m_mode];
    WriteRegIfChanged(Wire(kSettings + b.m_mode), b.m_setPoint, b.m_raw3000[b.m_mode]);
  }
  WriteRegIfChanged(Wire(kSettings + 6), b.m_set3006, b.m_raw3000[6]);
}
