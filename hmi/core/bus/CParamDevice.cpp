#include "CParamDevice.h"

#include "DemoMode.h"
#include "ModbusBytes.h"
#include "ModbusCrc16.h"

namespace {

// Register map of the outdoor unit's board: holding registers, numbered as the unit counts them (the wire
// address is one less). Read with function 3, written with function 6.
const RegisterBlock kCommands = {2000, 20, "command words 2000-2002, 2007; temperatures 2003, 2004, 2006, 2012"};
const RegisterBlock kRunning = {2100, 30, "running values: supply, compressor, fans, valve, temperatures, pressures"};
const RegisterBlock kCells = {3000, 512, "parameter cells; 3510/3511 the CRC of the low bytes of 3000-3509"};
const RegisterBlock kCommit = {4000, 5, "mode word 4000, commit registers 4001-4003, commit status 4004"};
// The cells travel in six requests, the last one short.
const RegisterBlock kCellRequests[] = {
    {3000, 100, ""}, {3100, 100, ""}, {3200, 100, ""}, {3300, 100, ""}, {3400, 100, ""}, {3500, 12, ""},
};
const int kSummedCells = 510;  // 3000-3509
const WORD kCrcLowCell = 3510;
const WORD kCrcHighCell = 3511;

// The commit: 4000 = 5, 4002 = 1586, 4003 = 3, then 4001 = 258 triggers; 4004 reads 4 once stored.
const WORD kModeWord = 4000;
const WORD kCommitMode = 5;  // also the mode in which the test cells are written
const WORD kCommitKey = 1586;
const WORD kCommitArg = 3;
const WORD kCommitTrigger = 258;
const WORD kStored = 4;
const int kCommitPasses = 3;

// The test cells, in the order of OutdoorBlock::m_testSet, and the order they are written in (ascending).
const WORD kTestCells[17] = {3013, 3014, 3015, 3016, 3017, 3018, 3019, 3020, 3021, 3022,
                             3307, 3029, 3248, 3249, 3275, 3276, 3281};
const int kTestWriteOrder[17] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 10};

// The factory preset, for units whose 2128 or 2129 carries the marker and whose version takes it.
const WORD kPresetMarker = 4905;
const WORD kPresetVersions[] = {1032, 1280, 1281};
struct Cell {
  WORD cell;
  WORD value;
};
const Cell kPreset[] = {{3029, 3},  {3477, 0},  {3478, 16}, {3479, 40}, {3480, 225},
                        {3481, 10}, {3482, 20}, {3483, 15}, {3484, 8},  {3485, 7},
                        {3486, 0},  {3487, 0},  {3488, 90}, {3489, 6},  {3490, 0}};

const int kReadWait = 20;
const int kSlowEvery = 5;  // polls between re-reads of 2000 and 4000 and the temperature writes

enum EepromState : uint16_t { kIdle = 0, kReadRequested = 1, kReadDone = 2, kWriteRequested = 3, kWriteDone = 4 };
// The engine's commit hand-shake in the block and page 8's own commit, which this driver keeps.
enum Handshake : uint16_t { kNoCommit = 0, kCommitting = 1, kAcknowledged = 2, kOnTheWire = 3 };


}  // namespace

CParamDevice::CParamDevice(CSerialPort* port, int slaveAddress) : CModbusDevice(kType, port, slaveAddress) {}

void CParamDevice::Poll() {
  OutdoorBlock& b = m_block;
  if (b.m_pollPaused) {
    b.m_linkState = 1;
    return;
  }
  if (!b.m_ready) {
    if (!(ReadBlock2000(true) && ReadBlock4000(true) && ReadParamBlock())) {
      b.m_linkState = 0;
      return;
    }
    b.m_ready = 1;
    // The link counts good only with the running values read: the engine takes the first good poll's
    // block as the unit's first reply, and the zero-filled block would start its averages at 0 degrees.
    if (ReadBlock2100()) {
      b.m_linkState = 1;
      m_gate.Fresh(b.m_fresh);
    } else {
      b.m_linkState = 0;
      m_gate.Lost(b.m_fresh);
    }
  } else if (ReadBlock2100()) {
    b.m_linkState = 1;
    // Back after a gap the board may have restarted: the shadows are taken from it again.
    const bool returning = m_gate.Fresh(b.m_fresh);
    if (m_tickCount % kSlowEvery == 0 || returning) {
      ReadBlock4000(false);
      ReadBlock2000(false);
    }
  } else {
    b.m_linkState = 0;
    m_gate.Lost(b.m_fresh);
  }
  if (m_gate.Open(b.m_fresh)) WriteBack();
}

bool CParamDevice::Demo() const { return DemoMode != 0; }

bool CParamDevice::ReadBlock2000(bool initialise) {
  if (Demo()) return true;
  OutdoorBlock& b = m_block;
  if (ReadHoldingRegs(Wire(kCommands.first), kCommands.count, b.m_raw2000, kReadWait, kReadWait) < 1) return false;
  if (initialise) {
    const uint16_t* r = b.m_raw2000;
    b.m_set2000 = r[0];
    b.m_set2001 = r[1];
    b.m_set2002 = r[2];
    b.m_set2003 = BusTemperature(r[3]);
    b.m_set2004 = BusTemperature(r[4]);
    b.m_set2005 = r[5];
    b.m_set2006 = BusTemperature(r[6]);
    b.m_set2007 = r[7];
    b.m_set2008 = r[8];
    b.m_set2009 = r[9];
    b.m_set2012 = BusTemperature(r[12]);
  }
  return true;
}

bool CParamDevice::ReadBlock2100() {
  if (Demo()) {
    FillDemo2100();
    return true;
  }
  OutdoorBlock& b = m_block;
  if (ReadHoldingRegs(Wire(kRunning.first), kRunning.count, b.m_raw2100, kReadWait, kReadWait) < 1) return false;
  const uint16_t* r = b.m_raw2100;
  b.m_word2100 = r[0];
  b.m_voltage = r[1];
  b.m_current = BusTenths(r[2]);
  b.m_word2103 = r[3];
  b.m_compressorHz = r[4];
  b.m_word2105 = r[5];
  b.m_fan1Rpm = r[6];
  b.m_fan2Rpm = r[7];
  b.m_eevSteps = r[8];
  b.m_word2109 = r[9];
  b.m_word2110 = r[10];
  b.m_ambientTemp = BusTemperature(r[11]);
  b.m_temp2112 = BusTemperature(r[12]);
  b.m_temp2113 = BusTemperature(r[13]);
  b.m_temp2114 = BusTemperature(r[14]);
  b.m_hi2115 = static_cast<uint16_t>(r[15] >> 8);
  b.m_lo2115 = static_cast<uint16_t>(r[15] & 0xFF);
  b.m_word2116 = r[16];
  b.m_pressure2117 = BusTenths(r[17]);
  b.m_pressure2118 = BusTenths(r[18]);
  b.m_defrost = r[19];
  b.m_word2120 = r[20];
  b.m_word2121 = r[21];
  b.m_word2122 = r[22];
  b.m_version = r[23];
  b.m_word2124 = r[24];
  b.m_word2125 = r[25];
  b.m_word2126 = r[26];
  b.m_word2127 = r[27];
  b.m_word2128 = r[28];
  return true;
}

bool CParamDevice::ReadBlock4000(bool initialise) {
  if (Demo()) return true;
  OutdoorBlock& b = m_block;
  if (ReadHoldingRegs(Wire(kCommit.first), kCommit.count, b.m_raw4000, kReadWait, kReadWait) < 1) return false;
  if (initialise) b.m_set4000 = b.m_raw4000[0];
  return true;
}

bool CParamDevice::ReadParamBlock() {
  if (Demo()) return true;
  OutdoorBlock& b = m_block;
  for (const RegisterBlock& request : kCellRequests) {
    uint16_t* into = b.m_paramBlock + (request.first - kCells.first);
    if (ReadHoldingRegs(Wire(request.first), request.count, into, kReadWait, kReadWait) < request.count) return false;
  }
  for (int k = 0; k < 17; ++k) b.m_testSet[k] = b.m_paramBlock[kTestCells[k] - kCells.first];
  return true;
}

void CParamDevice::FillDemo2100() {
  OutdoorBlock& b = m_block;
  m_random = m_random * 1103515245u + 12345u;
  uint32_t r = (m_random >> 16) & 0x7FFF;
  uint16_t running = b.m_set2000 ? SaturateU16(b.m_set2000 * 3.5f + 39.0f) : 0;
  b.m_word2100 = b.m_set4000;
  b.m_voltage = static_cast<uint16_t>(r % 5 + 220);
  b.m_current = static_cast<float>(r % 3) + 5.2f;
  b.m_compressorHz = b.m_word2103 = b.m_word2105 = b.m_fan1Rpm = b.m_fan2Rpm = running;
  b.m_eevSteps = static_cast<uint16_t>(r % 100 + 250);
  b.m_word2109 = b.m_word2110 = 0;
  b.m_temp2112 = static_cast<float>(r % 4 + 67);
  b.m_temp2113 = static_cast<float>(r % 4 + 69);
  b.m_temp2114 = static_cast<float>(r % 4 + 64);
  b.m_hi2115 = 100;
  b.m_lo2115 = 25;
  b.m_word2116 = 0;
  b.m_pressure2117 = static_cast<float>(r % 3) + 2.5f;
  b.m_pressure2118 = static_cast<float>(r % 3) + 4.9f;
  b.m_word2120 = b.m_word2121 = b.m_word2122 = 0;
  b.m_version = 100;
  b.m_word2124 = 25;
  b.m_word2125 = 30;
  b.m_word2126 = 30;
  b.m_word2127 = 0;
  b.m_word2128 = 10;
}

void CParamDevice::WriteBack() {
  OutdoorBlock& b = m_block;
  bool send = !Demo();
  WriteRegIfChanged(Wire(kModeWord), b.m_set4000, b.m_raw4000[0], send);
  WriteRegIfChanged(Wire(2000), b.m_set2000, b.m_raw2000[0], send);
  WriteRegIfChanged(Wire(2001), b.m_set2001, b.m_raw2000[1], send);
  WriteRegIfChanged(Wire(2002), b.m_set2002, b.m_raw2000[2], send);
  if (m_tickCount % kSlowEvery == 0) {
    WriteRegIfChanged(Wire(2006), BusTemperatureRaw(b.m_set2006), b.m_raw2000[6], send);
    WriteRegIfChanged(Wire(2012), BusTemperatureRaw(b.m_set2012), b.m_raw2000[12], send);
  }
  WriteRegIfChanged(Wire(2007), b.m_set2007, b.m_raw2000[7], send);
  if (b.m_raw4000[0] == kCommitMode) WriteTestCells();
  ServeCellState();
  CommitPasses();
  ServePreset();
}

void CParamDevice::WriteTestCells() {
  OutdoorBlock& b = m_block;
  bool send = !Demo();
  for (int k : kTestWriteOrder) {
    WORD cell = kTestCells[k];
    WriteRegIfChanged(Wire(cell), b.m_testSet[k], b.m_paramBlock[cell - kCells.first], send);
  }
}

void CParamDevice::ServeCellState() {
  OutdoorBlock& b = m_block;
  // Page 8 moves the state on its own thread: this driver moves it only on from the state it served.
  uint16_t state = b.m_eepromState.load();
  // A commit page 8 no longer waits for (it gave up and reads the cells again) is not sent any more.
  if (state != kWriteRequested) m_cellCommit = kNoCommit;
  if (state == kReadRequested) {
    if (ReadParamBlock()) {
      for (int i = 0; i < kCells.count; ++i) b.m_paramEdit[i] = b.m_paramBlock[i];
      b.m_eepromState.compare_exchange_strong(state, kReadDone);
    }
  } else if (state == kWriteRequested) {
    bool send = !Demo();
    for (int i = 0; i < kSummedCells; ++i) {
      if (b.m_paramEdit[i] != b.m_paramBlock[i]) {
        WriteRegIfChanged(Wire(static_cast<WORD>(kCells.first + i)), b.m_paramEdit[i], b.m_paramBlock[i], send);
      }
    }
    if (m_cellCommit == kAcknowledged) {
      b.m_eepromState.compare_exchange_strong(state, kWriteDone);
      m_cellCommit = kNoCommit;
    } else {
      m_cellCommit = kCommitting;
    }
  }
}

void CParamDevice::CommitPasses() {
  OutdoorBlock& b = m_block;
  for (int pass = 0; pass < kCommitPasses; ++pass) {
    // The engine's pass is claimed for each commit sent, so that it is not withdrawn while the unit
    // answers; page 8's commit is this driver's own. One commit stores the cells of both, and each
    // learns the answer of the commits it asked for only.
    uint16_t wanted = kCommitting;
    const bool forEngine = b.m_eepromHandshake.compare_exchange_strong(wanted, kOnTheWire);
    if (!forEngine && m_cellCommit != kCommitting) return;
    if (pass == kCommitPasses - 1) ReadParamBlock();
    const bool stored = CommitOnce();
    if (forEngine) b.m_eepromHandshake = stored ? kAcknowledged : kCommitting;
    if (stored) {
      if (m_cellCommit == kCommitting) m_cellCommit = kAcknowledged;
      return;
    }
  }
}

bool CParamDevice::CommitOnce() {
  OutdoorBlock& b = m_block;
  bool send = !Demo();
  BYTE low[kSummedCells];
  for (int i = 0; i < kSummedCells; ++i) low[i] = static_cast<BYTE>(b.m_paramBlock[i] & 0xFF);
  uint16_t crc = ModbusCrc16(low, kSummedCells);
  WriteRegIfChanged(Wire(kCrcLowCell), crc & 0xFF, b.m_paramBlock[kCrcLowCell - kCells.first], send);
  WriteRegIfChanged(Wire(kCrcHighCell), crc >> 8, b.m_paramBlock[kCrcHighCell - kCells.first], send);
  WriteRegIfChanged(Wire(kModeWord), kCommitMode, b.m_raw4000[0], send);
  WriteRegIfChanged(Wire(kModeWord + 2), kCommitKey, b.m_raw4000[2], send);
  WriteRegIfChanged(Wire(kModeWord + 3), kCommitArg, b.m_raw4000[3], send);
  WriteRegIfChanged(Wire(kModeWord + 1), kCommitTrigger, b.m_raw4000[1], send);
  // Only a fresh read of 4004 counts: an old acknowledgement must not end this commit.
  return ReadBlock4000(true) && b.m_raw4000[4] == kStored;
}

void CParamDevice::ServePreset() {
  OutdoorBlock& b = m_block;
  if (b.m_presetRequest != 1 || !ReadParamBlock()) return;
  bool marker = b.m_raw2100[28] == kPresetMarker || b.m_raw2100[29] == kPresetMarker;
  bool version = false;
  for (WORD v : kPresetVersions) version = version || b.m_raw2100[23] == v;
  if (!marker || !version) {
    b.m_presetRequest = 0;
    return;
  }
  bool send = !Demo();
  for (const Cell& c : kPreset) WriteRegIfChanged(Wire(c.cell), c.value, b.m_paramBlock[c.cell - kCells.first], send);
  if (CommitOnce()) b.m_presetRequest = 2;
}
