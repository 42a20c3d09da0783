#include "CUnitDevice.h"

#include "DemoMode.h"
#include "ModbusBytes.h"

namespace {

// Register map of the indoor unit's board: holding registers, numbered as the unit counts them (the wire
// address is one less). Read with function 3, written with functions 6 and 16.
const RegisterBlock kOperatingWord = {1000, 1, "operating word (written from m_set1000)"};
const RegisterBlock kOutputs = {1100, 20, "on/off outputs and analogue drives (1100-1114 written)"};
const RegisterBlock kSensors = {1200, 30, "temperatures 1200-1211, inputs, tenths 1222-1224, fault bits 1226/1227"};
const RegisterBlock kReadBack = {1300, 20, "outputs as driven (1304, 1307, 1308: read-back of 1104, 1107, 1108)"};
const RegisterBlock kInfo = {1800, 2, "board information"};
const RegisterBlock kConfig = {1900, 32, "configuration (1900-1904 kept)"};
const RegisterBlock kInitialWrite = {1101, 19, "start-up write: 1101-1119 all 0 but 1105"};
const WORD kInitialWrite1105 = 1000;

const int kReadWait = 50;     // the board answers reads within 50 ms and needs 50 ms after them
const int kWriteWait = 20;
const int kReReadEvery = 5;   // polls between re-reads of the outputs, so the shadows follow the board

const float kFailed = -99.0f;
const uint16_t kDemoConfig[5] = {0, 4, 1, 80, 100};


}  // namespace

CUnitDevice::CUnitDevice(CSerialPort* port, int slaveAddress) : CModbusDevice(kType, port, slaveAddress) {}

void CUnitDevice::Poll() {
  if (!m_block.m_ready) {
    StartUp();
    m_block.m_linkState = 0;
    if (m_block.m_ready) WriteBack();
    return;
  }
  RegularPoll();
}

void CUnitDevice::StartUp() {
  bool demo = DemoMode != 0;
  IndoorBlock& b = m_block;
  if (demo) {
    b.m_set1000 = 0;
    b.m_val1800 = b.m_val1801 = 0;
    for (int i = 0; i < 5; ++i) b.m_val1900[i] = kDemoConfig[i];
  } else {
    if (ReadHoldingRegs(Wire(kOperatingWord.first), kOperatingWord.count, &b.m_raw1000, kReadWait, kReadWait) < 1) return;
    b.m_set1000 = b.m_raw1000;
    if (ReadHoldingRegs(Wire(kOutputs.first), kOutputs.count, b.m_raw1100, kReadWait, kReadWait) < 1) return;
    const uint16_t* r = b.m_raw1100;
    b.m_set1100 = r[0];
    b.m_set1101 = r[1];
    b.m_set1102 = r[2];
    b.m_set1103 = r[3];
    b.m_set1104 = BusTenths(r[4]);
    b.m_set1105 = r[5];
    b.m_set1106 = r[6];
    b.m_set1107 = BusTenths(r[7]);
    b.m_set1108 = BusTenths(r[8]);
    b.m_set1109 = r[9];
    b.m_set1110 = r[10];
    b.m_set1111 = r[11];
    b.m_set1112 = r[12];
    b.m_set1113 = r[13];
    b.m_set1114 = r[14];
    if (ReadHoldingRegs(Wire(kInfo.first), kInfo.count, b.m_raw1800, kReadWait, kReadWait) < 1) return;
    b.m_val1800 = b.m_raw1800[0];
    b.m_val1801 = b.m_raw1800[1];
    if (ReadHoldingRegs(Wire(kConfig.first), kConfig.count, b.m_raw1900, kReadWait, kReadWait) < 1) return;
    for (int i = 0; i < 5; ++i) b.m_val1900[i] = b.m_raw1900[i];
  }
  uint16_t initial[19] = {};
  initial[1105 - kInitialWrite.first] = kInitialWrite1105;
  WriteRegs(Wire(kInitialWrite.first), initial, kInitialWrite.count, kWriteWait, 0);  // taken whatever the reply
  b.m_ready = 1;
}

void CUnitDevice::RegularPoll() {
  IndoorBlock& b = m_block;
  if (DemoMode) {
    b.m_value1 = b.m_set1104;
    b.m_value2 = b.m_set1107;
    b.m_value3 = b.m_set1108;
    b.m_linkState = 3;
    return;
  }
  if (ReadHoldingRegs(Wire(kSensors.first), kSensors.count, b.m_raw1200, kReadWait, kReadWait) < 1) {
    b.m_linkState = 0;
    m_gate.Lost(b.m_fresh);
  } else {
    Convert();
    if (ReadHoldingRegs(Wire(kReadBack.first), kReadBack.count, b.m_raw1300, kReadWait, kReadWait) >= 1) {
      b.m_value1 = BusTenths(b.m_raw1300[4]);
      b.m_value2 = BusTenths(b.m_raw1300[7]);
      b.m_value3 = BusTenths(b.m_raw1300[8]);
      b.m_linkState = 3;
    } else {
      b.m_linkState = 1;
    }
    // Back after a gap the board may have restarted: the shadows are taken from it again.
    const bool returning = m_gate.Fresh(b.m_fresh);
    if (m_tickCount % kReReadEvery == 0 || returning) {
      ReadHoldingRegs(Wire(kOutputs.first), kOutputs.count, b.m_raw1100, kReadWait, kReadWait);
    }
  }
  if (m_gate.Open(b.m_fresh)) WriteBack();
}

void CUnitDevice::Convert() {
  IndoorBlock& b = m_block;
  const uint16_t* r = b.m_raw1200;
  uint16_t faults = r[26];
  uint16_t faults2 = r[27];
  for (int i = 0; i < 12; ++i) b.m_temp1200[i] = (faults & (1u << i)) ? kFailed : BusTemperature(r[i]);
  b.m_in1212 = r[12];
  b.m_in1213 = r[13];
  b.m_in1214 = r[14];
  b.m_in1215 = r[15];
  b.m_in1220 = r[20];
  b.m_in1221 = r[21];
  b.m_value1 = (faults & 0x8000u) ? kFailed : BusTenths(r[22]);
  b.m_value2 = (faults2 & 0x0001u) ? kFailed : BusTenths(r[23]);
  b.m_value3 = (faults2 & 0x0002u) ? kFailed : BusTenths(r[24]);
  b.m_in1216 = r[16];
  b.m_bits1217 = static_cast<uint16_t>(r[17] + 2 * r[18] + 4 * r[19]);
  b.m_word1225 = r[25];
  b.m_word1228 = r[28];
  b.m_word1229 = r[29];
  b.m_faultBits1226 = faults;
  b.m_faultBits1227 = faults2;
}

void CUnitDevice::WriteBack() {
  if (DemoMode) return;
  IndoorBlock& b = m_block;
  uint16_t* shadow = b.m_raw1100;
  WriteRegIfChanged(Wire(1000), b.m_set1000, b.m_raw1000);
  const uint16_t wanted[15] = {
      b.m_set1100, b.m_set1101, b.m_set1102, b.m_set1103, BusTenthsRaw(b.m_set1104),
      b.m_set1105, b.m_set1106, BusTenthsRaw(b.m_set1107), BusTenthsRaw(b.m_set1108), b.m_set1109,
      b.m_set1110, b.m_set1111, b.m_set1112, b.m_set1113, b.m_set1114,
  };
  for (int i = 0; i < 15; ++i) WriteRegIfChanged(Wire(static_cast<WORD>(kOutputs.first + i)), wanted[i], shadow[i]);
}
