#include "UnitBoards.h"

#include <algorithm>
#include <cmath>

namespace unitsim {
namespace {

const double kPi = 3.14159265358979323846;

uint16_t W(int n) { return static_cast<uint16_t>(n - 1); }

uint16_t Clamp16(double v) {
  if (!(v > 0.0)) return 0;
  if (v > 65535.0) return 65535;
  return static_cast<uint16_t>(std::lround(v));
}

double Wave(double t, double amplitude, double period, double phase) {
  return amplitude * std::sin(2.0 * kPi * t / period + phase) - amplitude * std::sin(phase);
}

// Indoor sensors: room, tank, heating/cooling, outlet, inlet, coil, two further, mixing 1 and 2, two spare.
const double kIndoorBase[12] = {21.5, 48.0, 34.0, 35.0, 30.0, 6.0, 22.0, 23.0, 32.0, 30.0, 25.0, 25.0};
const double kIndoorSwing[12] = {0.4, 1.5, 1.0, 1.2, 1.0, 2.0, 0.5, 0.5, 0.8, 0.8, 0.3, 0.3};

}  // namespace

uint16_t TempRaw(double celsius) { return Clamp16((celsius + 30.0) * 100.0); }

IndoorBoard::IndoorBoard(int address) : RtuSlave(address) {
  AddHolding(W(1000), 1);
  AddHolding(W(1100), 20);
  AddHolding(W(1200), 30);
  AddHolding(W(1300), 20);
  AddHolding(W(1800), 2);
  AddHolding(W(1900), 32);
  std::copy(kIndoorBase, kIndoorBase + 12, m_base);
  SetReg(1215, 1);   // heating signal
  SetReg(1228, 105); // board software
  SetReg(1800, 210);
  SetReg(1801, 1);
  const uint16_t config[5] = {0, 4, 1, 80, 100};
  for (int i = 0; i < 5; ++i) SetReg(1900 + i, config[i]);
  Refresh();
}

void IndoorBoard::SetTemperature(int reg, double celsius) {
  if (reg < 1200 || reg > 1211) return;
  m_base[reg - 1200] = celsius;
  Refresh();
}

bool IndoorBoard::FailSensor(int reg, bool failed) {
  bool sensor = (reg >= 1200 && reg <= 1211) || (reg >= 1222 && reg <= 1224);
  if (!sensor) return false;
  if (failed) {
    m_failed.insert(reg);
  } else {
    m_failed.erase(reg);
  }
  Refresh();
  return true;
}

void IndoorBoard::SetSwing(bool on) {
  m_swing = on;
  Refresh();
}

void IndoorBoard::BreakFlowSwitch(bool broken) {
  m_flowBroken = broken;
  Refresh();
}

void IndoorBoard::Advance(double seconds) {
  m_time += seconds;
  Refresh();
}

void IndoorBoard::OnWrite(uint16_t wire, uint16_t value) {
  int reg = wire + 1;
  if (reg >= 1100 && reg <= 1119) {
    SetReg(reg + 200, value);  // the board drives what it was told; 1300-1319 read it back
    Refresh();
  }
}

void IndoorBoard::Refresh() {
  uint16_t faults = 0;
  uint16_t faults2 = 0;
  for (int i = 0; i < 12; ++i) {
    bool failed = m_failed.count(1200 + i) != 0;
    if (failed) faults = static_cast<uint16_t>(faults | (1u << i));
    double t = m_base[i] + (m_swing ? Wave(m_time, kIndoorSwing[i], 600.0 + 60.0 * i, 0.5 * i) : 0.0);
    SetReg(1200 + i, failed ? 0 : TempRaw(t));
  }
  // 1222-1224 report the pump drive and the two mixing outputs in tenths.
  const int drives[3] = {1104, 1107, 1108};
  for (int k = 0; k < 3; ++k) {
    bool failed = m_failed.count(1222 + k) != 0;
    SetReg(1222 + k, failed ? 0 : Reg(drives[k]));
  }
  if (m_failed.count(1222)) faults = static_cast<uint16_t>(faults | 0x8000u);
  if (m_failed.count(1223)) faults2 = static_cast<uint16_t>(faults2 | 0x0001u);
  if (m_failed.count(1224)) faults2 = static_cast<uint16_t>(faults2 | 0x0002u);
  SetReg(1226, faults);
  SetReg(1227, faults2);
  SetReg(1213, !m_flowBroken && PumpRunning() ? 1 : 0);  // the flow switch closes while water moves
}

OutdoorBoard::OutdoorBoard(int address) : RtuSlave(address), m_stored(512, 0) {
  AddHolding(W(2000), 20);
  AddHolding(W(2100), 30);
  AddHolding(W(3000), 512);
  AddHolding(W(4000), 5);
  SetReg(2003, TempRaw(45.0));
  SetReg(2004, TempRaw(7.0));
  SetReg(2006, TempRaw(30.0));
  SetReg(2012, TempRaw(5.0));
  for (int i = 0; i < 510; ++i) SetReg(3000 + i, static_cast<uint16_t>((i * 37 + 11) % 200));
  uint16_t crc = CellCrc();
  SetReg(3510, crc & 0xFF);
  SetReg(3511, crc >> 8);
  for (int i = 0; i < 512; ++i) m_stored[static_cast<size_t>(i)] = Reg(3000 + i);
  SetReg(2123, 1032);  // software version that takes the factory preset
  SetReg(2124, 25);
  SetReg(2125, 30);
  SetReg(2126, 30);
  SetReg(2128, 10);
  SetReg(2129, 4905);  // preset marker
  Refresh();
}

uint16_t OutdoorBoard::CellCrc() const {
  uint8_t low[510];
  for (int i = 0; i < 510; ++i) low[i] = static_cast<uint8_t>(Reg(3000 + i) & 0xFF);
  return Crc16(low, sizeof(low));
}

void OutdoorBoard::SetAmbient(double celsius) {
  m_ambientFixed = true;
  m_ambient = celsius;
  Refresh();
}

void OutdoorBoard::Advance(double seconds) {
  m_time += seconds;
  int command = Reg(2000);
  double target = command ? std::min(120.0, command * 3.5 + 39.0) : 0.0;
  double step = 2.0 * seconds;  // the compressor ramps 2 Hz per second
  m_hz = m_hz < target ? std::min(target, m_hz + step) : std::max(target, m_hz - step);
  if (Reg(4000) == 4) m_icing.ForceDefrost();
  m_icing.Step(Ambient(), m_hz, Reg(4000) == 2, seconds);
  Refresh();
}

double OutdoorBoard::Ambient() const { return m_ambientFixed ? m_ambient : 7.0 + Wave(m_time, 1.5, 900.0, 0.0); }

void OutdoorBoard::OnWrite(uint16_t wire, uint16_t value) {
  int reg = wire + 1;
  if (reg >= 3000 && reg <= 3511) {
    SetReg(4004, 0);  // the cells differ from what was stored
    return;
  }
  if (reg == 4001 && value == 258) {
    ++m_triggers;
    bool keyed = Reg(4000) == 5 && Reg(4002) == 1586 && Reg(4003) == 3;
    bool summed = Reg(3510) == (CellCrc() & 0xFF) && Reg(3511) == (CellCrc() >> 8);
    if (keyed && summed && m_refusals == 0) {
      for (int i = 0; i < 512; ++i) m_stored[static_cast<size_t>(i)] = Reg(3000 + i);
      ++m_commits;
      SetReg(4004, 4);
    } else {
      if (m_refusals > 0) --m_refusals;
      SetReg(4004, 0);
    }
    SetReg(4001, 0);  // the trigger is consumed
  }
  if (reg == 4000) Refresh();
}

void OutdoorBoard::Refresh() {
  double ambient = Ambient();
  double hz = m_hz;
  int command = Reg(2000);
  SetReg(2100, Reg(4000));
  SetReg(2101, Clamp16(230.0 + Wave(m_time, 2.0, 120.0, 1.0)));
  SetReg(2102, Clamp16(8.0 + hz * 0.9));
  SetReg(2103, Clamp16(command ? std::min(120.0, command * 3.5 + 39.0) : 0.0));
  SetReg(2104, Clamp16(hz));
  SetReg(2106, hz > 0 ? Clamp16(500.0 + 4.0 * hz) : 0);
  SetReg(2107, hz > 0 ? Clamp16(480.0 + 4.0 * hz) : 0);
  SetReg(2108, Clamp16(150.0 + 2.0 * hz));
  SetReg(2111, TempRaw(ambient));
  SetReg(2112, TempRaw(ambient + 15.0 + 0.6 * hz));
  SetReg(2113, TempRaw(ambient + 12.0 + 0.5 * hz));
  SetReg(2114, TempRaw(ambient + 8.0 + 0.4 * hz));
  SetReg(2115, (100 << 8) | 25);
  SetReg(2117, Clamp16(60.0 - 0.1 * hz));
  SetReg(2118, Clamp16(150.0 + 1.2 * hz));
  SetReg(2119, m_icing.Defrosting() ? 1 : 0);
}

}  // namespace unitsim
