#include "UnitSimulator.h"

#include <cstdlib>
#include <sstream>

namespace unitsim {

UnitSimulator::UnitSimulator(int indoorAddress, int outdoorAddress) : m_indoor(indoorAddress), m_outdoor(outdoorAddress) {}

void UnitSimulator::EnableThermal(bool on) {
  m_thermal = on;
  m_indoor.SetSwing(!on);
  if (on) StepModel(0.0);
}

void UnitSimulator::Advance(double seconds) {
  seconds *= m_timeScale;
  m_indoor.Advance(seconds);
  m_outdoor.Advance(seconds);
  if (m_thermal) StepModel(seconds);
}

void UnitSimulator::StepModel(double seconds) {
  ThermalInputs in;
  in.compressorHz = m_outdoor.Reg(2104);
  // A defrost reverses the cycle: the heat for the coil comes out of the water.
  in.cooling = m_outdoor.Reg(4000) == 1 || m_outdoor.Defrosting();
  in.pump = m_indoor.PumpRunning();
  in.hotWaterSide = m_indoor.Reg(1113) != 0;
  in.lineHeater = m_indoor.Reg(1110) != 0;
  in.loopHeater = m_indoor.Reg(1111) != 0;
  in.tankHeater = m_indoor.Reg(1109) != 0;
  m_model.Step(in, seconds);
  m_indoor.SetTemperature(1200, m_model.room);
  m_indoor.SetTemperature(1201, m_model.tank);
  m_indoor.SetTemperature(1202, m_model.loop);
  m_indoor.SetTemperature(1203, m_model.outlet);
  m_indoor.SetTemperature(1204, m_model.loop);
  m_indoor.SetTemperature(1205, m_model.coil);
  m_outdoor.SetAmbient(m_model.ambient);
}

RtuSlave* UnitSimulator::Find(int address) {
  if (address == m_indoor.Address()) return m_indoorDropped ? nullptr : &m_indoor;
  if (address == m_outdoor.Address()) return m_outdoorDropped ? nullptr : &m_outdoor;
  for (RtuSlave* s : m_extra) {
    if (s->Address() == address) return s;
  }
  return nullptr;
}

int UnitSimulator::LateMs(int address) const {
  if (address == m_indoor.Address()) return m_indoorLateMs;
  if (address == m_outdoor.Address()) return m_outdoorLateMs;
  return 0;
}

std::vector<uint8_t> UnitSimulator::Answer(const uint8_t* frame, size_t length) {
  if (length < 4) return {};
  RtuSlave* slave = Find(frame[0]);
  if (!slave) return {};
  std::vector<uint8_t> reply = slave->Handle(frame, length);
  if (!reply.empty() && m_garbage > 0 && static_cast<int>(m_random() % 100) < m_garbage) {
    for (auto& b : reply) b = static_cast<uint8_t>(m_random());
  }
  return reply;
}

std::string UnitSimulator::Command(const std::string& line) {
  std::istringstream in(line);
  std::string verb, what;
  in >> verb >> what;
  if (verb.empty()) return "";
  if (verb == "drop" || verb == "restore") {
    bool drop = verb == "drop";
    if (what == "indoor" || what == "all") DropIndoor(drop);
    if (what == "outdoor" || what == "all") DropOutdoor(drop);
    if (what != "indoor" && what != "outdoor" && what != "all") return "error: drop/restore indoor|outdoor|all";
    return Status();
  }
  if (verb == "fail" || verb == "heal") {
    if (verb == "heal" && what == "all") {
      for (int r = 1200; r <= 1224; ++r) m_indoor.FailSensor(r, false);
      return Status();
    }
    int reg = std::atoi(what.c_str());
    if (!m_indoor.FailSensor(reg, verb == "fail")) return "error: sensors are registers 1200-1211 and 1222-1224";
    return Status();
  }
  if (verb == "late") {
    char* end = nullptr;
    std::string ms;
    in >> ms;
    long late = std::strtol(ms.c_str(), &end, 10);
    if ((what != "indoor" && what != "outdoor" && what != "all") || ms.empty() || *end || late < 0 || late > 60000) {
      return "error: late indoor|outdoor|all MS (0..60000)";
    }
    if (what != "outdoor") SetIndoorLateMs(static_cast<int>(late));
    if (what != "indoor") SetOutdoorLateMs(static_cast<int>(late));
    return Status();
  }
  if (verb == "garbage") {
    SetGarbagePercent(std::atoi(what.c_str()));
    return Status();
  }
  if (verb == "set") {
    int reg = std::atoi(what.c_str());
    long value = -1;
    in >> value;
    if (value < 0 || value > 65535) return "error: set REGISTER VALUE (0..65535)";
    uint16_t wire = static_cast<uint16_t>(reg - 1);
    if (m_indoor.HasHolding(wire)) {
      m_indoor.SetHolding(wire, static_cast<uint16_t>(value));
    } else if (m_outdoor.HasHolding(wire)) {
      m_outdoor.SetHolding(wire, static_cast<uint16_t>(value));
    } else {
      return "error: no such register";
    }
    return "ok";
  }
  if (verb == "ambient") {
    char* end = nullptr;
    double t = std::strtod(what.c_str(), &end);
    if (what.empty() || *end || t < -40.0 || t > 50.0) return "error: ambient DEGREES (-40..50)";
    m_model.ambient = t;
    m_outdoor.SetAmbient(t);
    return Status();
  }
  if (verb == "flow") {
    if (what != "broken" && what != "ok") return "error: flow broken|ok";
    m_indoor.BreakFlowSwitch(what == "broken");
    return Status();
  }
  if (verb == "status") return Status();
  return "error: unknown command '" + verb + "'";
}

std::string UnitSimulator::Status() const {
  std::ostringstream out;
  out << "indoor " << m_indoor.Address() << (m_indoorDropped ? " dropped" : " answering") << ", outdoor "
      << m_outdoor.Address() << (m_outdoorDropped ? " dropped" : " answering") << ", garbage " << m_garbage
      << "%, late " << m_indoorLateMs << "/" << m_outdoorLateMs << " ms, fault bits 1226=0x" << std::hex << m_indoor.Reg(1226) << " 1227=0x" << m_indoor.Reg(1227) << std::dec
      << ", commits " << m_outdoor.Commits() << " (stored cells 3307=" << m_outdoor.StoredCell(3307)
      << " 3276=" << m_outdoor.StoredCell(3276) << "), flow switch " << (m_indoor.FlowSwitchBroken() ? "broken" : "ok")
      << ", coil ice " << static_cast<int>(m_outdoor.Icing().Ice() * 100.0) << "%"
      << (m_outdoor.Defrosting() ? " defrosting" : "") << ", defrosts " << m_outdoor.Icing().Defrosts();
  if (m_thermal) {
    const ThermalModel& m = m_model;
    out.setf(std::ios::fixed);
    out.precision(1);
    out << "; ambient " << m.ambient << ", compressor " << m_outdoor.Reg(2104) << " Hz"
        << (m_outdoor.Reg(4000) == 1 ? " cooling" : "") << ", pump " << (m_indoor.PumpRunning() ? "on" : "off")
        << ", valve " << (m_indoor.Reg(1113) ? "hot water" : "heating") << ", heaters 1109/1110/1111 "
        << m_indoor.Reg(1109) << m_indoor.Reg(1110) << m_indoor.Reg(1111) << "; water in " << m.loop << " out "
        << m.outlet << ", tank " << m.tank << ", room " << m.room << ", coil " << m.coil;
  }
  return out.str();
}

}  // namespace unitsim
