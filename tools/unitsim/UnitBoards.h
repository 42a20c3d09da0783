// The two controller boards of the heat pump as Modbus slaves, with the registers the terminal's drivers read
// and write. Values are plausible and change slowly with the simulated time (Advance); at time 0 they sit
// exactly on their base values, so a test can predict every register. What the terminal writes is kept.
// Registers are numbered as the units count them (Reg, SetReg); on the wire each travels as number - 1.
#pragma once

#include <cstdint>
#include <set>
#include <vector>

#include "CoilIcing.h"
#include "RtuSlave.h"

namespace unitsim {

// Bus temperature encoding: raw = (T + 30.00) x 100.
uint16_t TempRaw(double celsius);

class IndoorBoard : public RtuSlave {
public:
  explicit IndoorBoard(int address = 11);

  uint16_t Reg(int n) const { return Holding(static_cast<uint16_t>(n - 1)); }
  void SetReg(int n, uint16_t value) { SetHolding(static_cast<uint16_t>(n - 1), value); }
  // Base value of a temperature register 1200-1211.
  void SetTemperature(int reg, double celsius);
  // Marks a sensor failed in 1226/1227 (registers 1200-1211, 1222-1224); its register then reads 0.
  // False for a register that has no sensor.
  bool FailSensor(int reg, bool failed);
  // Off: the temperatures read exactly their base values (a thermal model sets them).
  void SetSwing(bool on);
  // Water moves: the pump powered (1100) and, a variable-speed pump, driven below 100 % (1104 in tenths;
  // 100 % is its stopped drive, an on/off pump is driven at 0).
  bool PumpRunning() const { return Reg(1100) != 0 && Reg(1104) < 1000; }
  // A broken flow switch reads open (1213 = 0) whatever the water does.
  void BreakFlowSwitch(bool broken);
  bool FlowSwitchBroken() const { return m_flowBroken; }
  void Advance(double seconds);

protected:
  void OnWrite(uint16_t wire, uint16_t value) override;

private:
  void Refresh();

  double m_time = 0.0;
  double m_base[12];
  bool m_swing = true;
  bool m_flowBroken = false;
  std::set<int> m_failed;
};

class OutdoorBoard : public RtuSlave {
public:
  explicit OutdoorBoard(int address = 2);

  uint16_t Reg(int n) const { return Holding(static_cast<uint16_t>(n - 1)); }
  void SetReg(int n, uint16_t value) { SetHolding(static_cast<uint16_t>(n - 1), value); }
  // The board's stored copy of cell 3000 + i, as of its last accepted commit.
  uint16_t StoredCell(int cell) const { return m_stored[static_cast<size_t>(cell - 3000)]; }
  int Commits() const { return m_commits; }
  int CommitTriggers() const { return m_triggers; }
  // The next n commit triggers are not acknowledged (4004 stays 0).
  void RefuseCommits(int n) { m_refusals = n; }
  // CRC of the low bytes of cells 3000-3509 as they stand, as the board checks it.
  uint16_t CellCrc() const;
  // A fixed outdoor air temperature in place of the slow daily swing.
  void SetAmbient(double celsius);
  // Heating in cold air ices the coil; the board then defrosts on its own and reports it in 2119.
  // Mode word 4000 = 4 asks for a defrost.
  const CoilIcing& Icing() const { return m_icing; }
  bool Defrosting() const { return m_icing.Defrosting(); }
  void Advance(double seconds);

protected:
  void OnWrite(uint16_t wire, uint16_t value) override;

private:
  void Refresh();
  double Ambient() const;

  double m_time = 0.0;
  double m_hz = 0.0;
  bool m_ambientFixed = false;
  double m_ambient = 7.0;
  CoilIcing m_icing;
  std::vector<uint16_t> m_stored;
  int m_commits = 0;
  int m_triggers = 0;
  int m_refusals = 0;
};

}  // namespace unitsim
