#include "CDevice105.h"

#include "DemoMode.h"
#include "ModbusBytes.h"

namespace {

// Register map of the type 105 board, numbered from 1 (wire address one less).
const WORD kInputs = 2;      // input registers 2-21 (function 4)
const int kInputCount = 20;
const WORD kHolding = 210;   // holding registers 210-250 (function 3)
const int kHoldingCount = 41;
const WORD kCoils = 2;       // coils 2-52 (function 1)
const int kCoilCount = 51;
const WORD kAliveCoil = 52;  // switched on every fifth poll
const WORD kDoneCoil = 53;   // switched on after every write-back

// Inputs in tenths and the coil that marks each one failed (0: none).
struct TenthInput {
  int reg;
  int faultCoil;
};
const TenthInput kTenths[] = {{3, 23},  {4, 29}, {5, 33}, {6, 26},  {7, 32},  {8, 24},  {9, 0},   {10, 0},
                              {12, 0},  {14, 0}, {16, 28}, {17, 25}, {18, 28}, {19, 0}, {21, 33}};

const int kWait = 10;
const int kSlowEvery = 5;
const float kFailed = -99.0f;


}  // namespace

CDevice105::CDevice105(CSerialPort* port, int slaveAddress) : CModbusDevice(kType, port, slaveAddress) {}

void CDevice105::Poll() {
  Device105Block& b = m_block;
  bool demo = DemoMode != 0;
  uint16_t inputs[kInputCount];
  bool ok1 = demo || ReadInputRegs(Wire(kInputs), kInputCount, inputs, kWait, kWait) >= 1;
  bool ok2 = false;
  bool ok3 = false;
  if (ok1) {
    if (!demo) ConvertInputs(inputs);
    ok2 = demo || ReadHoldingRegs(Wire(kHolding), kHoldingCount, b.m_holding, kWait, kWait) >= 1;
    if (ok2 && !b.m_ready) {
      b.m_set210 = b.m_holding[0];
      b.m_set211 = b.m_holding[1];
      b.m_set218 = static_cast<float>(b.m_holding[218 - kHolding]);
      b.m_set237 = b.m_holding[237 - kHolding];
      b.m_set238 = b.m_holding[238 - kHolding];
      b.m_set239 = b.m_holding[239 - kHolding];
      b.m_set241 = b.m_holding[241 - kHolding];
    }
  }
  if (ok2) ok3 = demo || ReadCoils(Wire(kCoils), kCoilCount, b.m_coil, kWait, kWait) >= 1;
  if (ok3) {
    if (m_tickCount % kSlowEvery == 0) WriteCoil(Wire(kAliveCoil), 1, kWait, kWait);
    b.m_ready = 1;
  }
  b.m_linkState = !ok1 ? 0 : !ok2 ? 1 : !ok3 ? 3 : 7;
  if (b.m_linkState != 0 && b.m_ready && !demo) WriteBack();
}

void CDevice105::ConvertInputs(const uint16_t* raw) {
  Device105Block& b = m_block;
  for (int i = 0; i < kInputCount; ++i) b.m_input[i] = static_cast<int16_t>(raw[i]);
  // Fault coils come from the previous poll's coil read.
  for (const TenthInput& t : kTenths) {
    bool failed = t.faultCoil && b.m_coil[t.faultCoil - kCoils] != 0;
    b.m_value[t.reg - kInputs] = failed ? kFailed : static_cast<float>(b.m_input[t.reg - kInputs]) * 0.1f;
  }
  b.m_value11 = b.m_input[11 - kInputs] * 100;
  b.m_word13 = static_cast<uint16_t>(b.m_input[13 - kInputs]);
  b.m_word15 = static_cast<uint16_t>(b.m_input[15 - kInputs]);
  b.m_word20 = static_cast<uint16_t>(b.m_input[20 - kInputs]);
}

void CDevice105::WriteBack() {
  Device105Block& b = m_block;
  uint16_t* shadow = b.m_holding;
  WriteRegIfChanged(Wire(210), b.m_set210, shadow[210 - kHolding]);
  WriteRegIfChanged(Wire(211), b.m_set211, shadow[211 - kHolding]);
  WriteRegIfChanged(Wire(218), SaturateU16(b.m_set218), shadow[218 - kHolding]);
  WriteRegIfChanged(Wire(225), 0, shadow[225 - kHolding]);
  WriteRegIfChanged(Wire(227), 1, shadow[227 - kHolding]);
  WriteRegIfChanged(Wire(228), 0, shadow[228 - kHolding]);
  WriteRegIfChanged(Wire(237), b.m_set237, shadow[237 - kHolding]);
  WriteRegIfChanged(Wire(238), b.m_set238, shadow[238 - kHolding]);
  WriteRegIfChanged(Wire(239), b.m_set239, shadow[239 - kHolding]);
  WriteRegIfChanged(Wire(241), b.m_set241, shadow[241 - kHolding]);
  WriteCoil(Wire(kDoneCoil), 1, 20, 0);
}
