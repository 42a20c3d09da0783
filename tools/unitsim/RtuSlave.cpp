#include "RtuSlave.h"

namespace unitsim {
namespace {

const int kMaxReadRegs = 125;
const int kMaxWriteRegs = 123;
const int kMaxReadCoils = 2000;

uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

void PutBe16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v >> 8));
  out.push_back(static_cast<uint8_t>(v & 0xFF));
}

}  // namespace

uint16_t Crc16(const uint8_t* data, size_t length) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < length; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) {
      bool lsb = crc & 1;
      crc >>= 1;
      if (lsb) crc ^= 0xA001;
    }
  }
  return crc;
}

void AppendCrc(std::vector<uint8_t>& frame) {
  uint16_t crc = Crc16(frame.data(), frame.size());
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
}

void RtuSlave::AddHolding(uint16_t first, int count, uint16_t value) {
  for (int i = 0; i < count; ++i) m_holding[static_cast<uint16_t>(first + i)] = value;
}

void RtuSlave::AddInput(uint16_t first, int count, uint16_t value) {
  for (int i = 0; i < count; ++i) m_input[static_cast<uint16_t>(first + i)] = value;
}

void RtuSlave::AddCoils(uint16_t first, int count, bool value) {
  for (int i = 0; i < count; ++i) m_coils[static_cast<uint16_t>(first + i)] = value;
}

uint16_t RtuSlave::Holding(uint16_t wire) const {
  auto it = m_holding.find(wire);
  return it == m_holding.end() ? 0 : it->second;
}

void RtuSlave::SetHolding(uint16_t wire, uint16_t value) {
  auto it = m_holding.find(wire);
  if (it != m_holding.end()) it->second = value;
}

uint16_t RtuSlave::Input(uint16_t wire) const {
  auto it = m_input.find(wire);
  return it == m_input.end() ? 0 : it->second;
}

void RtuSlave::SetInput(uint16_t wire, uint16_t value) {
  auto it = m_input.find(wire);
  if (it != m_input.end()) it->second = value;
}

bool RtuSlave::Coil(uint16_t wire) const {
  auto it = m_coils.find(wire);
  return it != m_coils.end() && it->second;
}

void RtuSlave::SetCoil(uint16_t wire, bool value) {
  auto it = m_coils.find(wire);
  if (it != m_coils.end()) it->second = value;
}

void RtuSlave::SetSilent(uint16_t first, int count, bool silent) {
  for (int i = 0; i < count; ++i) {
    if (silent) {
      m_silent.insert(static_cast<uint16_t>(first + i));
    } else {
      m_silent.erase(static_cast<uint16_t>(first + i));
    }
  }
}

void RtuSlave::SetException(uint16_t first, int count, uint8_t code, uint8_t onlyFunction) {
  for (int i = 0; i < count; ++i) m_exceptions[static_cast<uint16_t>(first + i)] = {code, onlyFunction};
}

void RtuSlave::ClearFaults() {
  m_silent.clear();
  m_exceptions.clear();
}

bool RtuSlave::Faulted(uint8_t function, uint16_t first, int count, uint8_t& code) const {
  code = 0;
  bool silent = false;
  for (int i = 0; i < count; ++i) {
    uint16_t a = static_cast<uint16_t>(first + i);
    if (m_silent.count(a)) silent = true;
    auto it = m_exceptions.find(a);
    if (it != m_exceptions.end() && !code && (!it->second.second || it->second.second == function)) {
      code = it->second.first;
    }
  }
  return silent;
}

std::vector<uint8_t> RtuSlave::Exception(uint8_t function, uint8_t code) const {
  std::vector<uint8_t> out = {static_cast<uint8_t>(m_address), static_cast<uint8_t>(0x80 | function), code};
  AppendCrc(out);
  return out;
}

std::vector<uint8_t> RtuSlave::Handle(const uint8_t* f, size_t length) {
  if (length < 4) return {};
  uint8_t function = f[1];
  std::vector<uint8_t> out = {static_cast<uint8_t>(m_address), function};
  uint8_t code = 0;
  switch (function) {
    case 0x01:
    case 0x03:
    case 0x04: {
      uint16_t first = Be16(f + 2);
      uint16_t count = Be16(f + 4);
      m_requests.push_back({function, first, count, {}});
      int limit = function == 0x01 ? kMaxReadCoils : kMaxReadRegs;
      if (count < 1 || count > limit) return Exception(function, 3);
      if (Faulted(function, first, count, code)) return {};
      if (code) return Exception(function, code);
      const auto& bank = function == 0x03 ? m_holding : m_input;
      for (int i = 0; i < count; ++i) {
        uint16_t a = static_cast<uint16_t>(first + i);
        bool exists = function == 0x01 ? m_coils.count(a) != 0 : bank.count(a) != 0;
        if (!exists || first + i > 0xFFFF) return Exception(function, 2);
      }
      if (function == 0x01) {
        out.push_back(static_cast<uint8_t>((count + 7) / 8));
        for (int byte = 0; byte < (count + 7) / 8; ++byte) {
          uint8_t bits = 0;
          for (int bit = 0; bit < 8 && byte * 8 + bit < count; ++bit) {
            if (Coil(static_cast<uint16_t>(first + byte * 8 + bit))) bits |= static_cast<uint8_t>(1u << bit);
          }
          out.push_back(bits);
        }
      } else {
        OnRead(function, first, count);
        out.push_back(static_cast<uint8_t>(2 * count));
        for (int i = 0; i < count; ++i) PutBe16(out, bank.at(static_cast<uint16_t>(first + i)));
      }
      break;
    }
    case 0x05:
    case 0x06: {
      uint16_t a = Be16(f + 2);
      uint16_t value = Be16(f + 4);
      m_requests.push_back({function, a, 1, {value}});
      if (Faulted(function, a, 1, code)) return {};
      if (code) return Exception(function, code);
      if (function == 0x05) {
        if (value != 0xFF00 && value != 0x0000) return Exception(function, 3);
        if (!m_coils.count(a)) return Exception(function, 2);
        m_coils[a] = value == 0xFF00;
      } else {
        if (!m_holding.count(a)) return Exception(function, 2);
        m_holding[a] = value;
      }
      OnWrite(a, value);
      out.insert(out.end(), f + 2, f + 6);
      break;
    }
    case 0x10: {
      uint16_t first = Be16(f + 2);
      uint16_t count = Be16(f + 4);
      uint8_t bytes = f[6];
      Request request{function, first, count, {}};
      for (int i = 0; i < count && 7 + 2 * i + 1 < static_cast<int>(length) - 2; ++i) {
        request.values.push_back(Be16(f + 7 + 2 * i));
      }
      m_requests.push_back(request);
      if (count < 1 || count > kMaxWriteRegs || bytes != 2 * count) return Exception(function, 3);
      if (Faulted(function, first, count, code)) return {};
      if (code) return Exception(function, code);
      for (int i = 0; i < count; ++i) {
        if (!m_holding.count(static_cast<uint16_t>(first + i))) return Exception(function, 2);
      }
      for (int i = 0; i < count; ++i) {
        uint16_t a = static_cast<uint16_t>(first + i);
        m_holding[a] = request.values[static_cast<size_t>(i)];
        OnWrite(a, m_holding[a]);
      }
      PutBe16(out, first);
      PutBe16(out, count);
      break;
    }
    default:
      m_requests.push_back({function, 0, 0, {}});
      return Exception(function, 1);
  }
  AppendCrc(out);
  return out;
}

}  // namespace unitsim
