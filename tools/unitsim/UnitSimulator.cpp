#include "UnitSimulator.h"

#include <cstdlib>
#include <sstream>

namespace unitsim {

UnitSimulator::UnitSimulator(int indoorAddress, int outdoorAddress) : m_indoor(indoorAddress), m_outdoor(outdoorAddress) {}

void UnitSimulator::Advance(double seconds) {
  m_indoor.Advance(seconds);
  m_outdoor.Advance(seconds);
}

RtuSlave* UnitSimulator::Find(int address) {
  if (address == m_indoor.Address()) return m_indoorDropped ? nullptr : &m_indoor;
  if (address == m_outdoor.Address()) return m_outdoorDropped ? nullptr : &m_outdoor;
  for (RtuSlave* s : m_extra) {
    if (s->Address() == address) return s;
  }
  return nullptr;
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
  if (verb == "status") return Status();
  return "error: unknown command '" + verb + "'";
}

std::string UnitSimulator::Status() const {
  std::ostringstream out;
  out << "indoor " << m_indoor.Address() << (m_indoorDropped ? " dropped" : " answering") << ", outdoor "
      << m_outdoor.Address() << (m_outdoorDropped ? " dropped" : " answering") << ", garbage " << m_garbage
      << "%, fault bits 1226=0x" << std::hex << m_indoor.Reg(1226) << " 1227=0x" << m_indoor.Reg(1227) << std::dec
      << ", commits " << m_outdoor.Commits();
  return out.str();
}

}  // namespace unitsim
