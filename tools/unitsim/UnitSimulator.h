// The heat pump's unit bus as the terminal sees it: the indoor board (address 11) and the outdoor board
// (address 2) on one line, plus any further slaves a test adds, with the line faults a commissioning engineer
// meets: a unit that drops off the bus, a failed sensor, garbage on the line.
// Not thread-safe: a LineServer running on its own thread serialises access through its lock.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ThermalModel.h"
#include "UnitBoards.h"

namespace unitsim {

class UnitSimulator {
public:
  explicit UnitSimulator(int indoorAddress = 11, int outdoorAddress = 2);

  IndoorBoard& Indoor() { return m_indoor; }
  OutdoorBoard& Outdoor() { return m_outdoor; }
  // A further slave on the line (not owned).
  void AddSlave(RtuSlave* slave) { m_extra.push_back(slave); }

  // A dropped board answers nothing.
  void DropIndoor(bool dropped) { m_indoorDropped = dropped; }
  void DropOutdoor(bool dropped) { m_outdoorDropped = dropped; }
  // A board that answers late: its replies leave that many milliseconds after its request came (0: at once),
  // as on a loaded or noisy line. The line server holds them back.
  void SetIndoorLateMs(int ms) { m_indoorLateMs = ms < 0 ? 0 : ms; }
  void SetOutdoorLateMs(int ms) { m_outdoorLateMs = ms < 0 ? 0 : ms; }
  // How late the slave at that address answers.
  int LateMs(int address) const;
  // Percentage of replies replaced by random bytes of the same length.
  void SetGarbagePercent(int percent) { m_garbage = percent < 0 ? 0 : percent > 100 ? 100 : percent; }
  // On: the indoor temperatures and the ambient come from the thermal model, which follows what the
  // terminal writes; off (the default): fixed values with a slow swing that tests can predict.
  void EnableThermal(bool on);
  ThermalModel& Model() { return m_model; }
  // Simulated seconds per second of Advance, for a terminal on a sped-up clock.
  void SetTimeScale(double scale) { m_timeScale = scale; }
  void Advance(double seconds);

  // The reply to one request frame with a good CRC, or empty when nobody answers.
  std::vector<uint8_t> Answer(const uint8_t* frame, size_t length);

  // One control command (see the program's usage text); the answer to print, or an "error: ..." text.
  std::string Command(const std::string& line);
  std::string Status() const;

private:
  RtuSlave* Find(int address);
  void StepModel(double seconds);

  IndoorBoard m_indoor;
  OutdoorBoard m_outdoor;
  std::vector<RtuSlave*> m_extra;
  bool m_indoorDropped = false;
  bool m_outdoorDropped = false;
  int m_garbage = 0;
  int m_indoorLateMs = 0;
  int m_outdoorLateMs = 0;
  ThermalModel m_model;
  bool m_thermal = false;
  double m_timeScale = 1.0;
  std::mt19937 m_random{20240611u};
};

}  // namespace unitsim
