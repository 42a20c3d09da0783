#include "CloudServer.h"

#include <cstring>
#include <sstream>

namespace wifisim {

uint16_t BitwiseCrc16(const uint8_t* bytes, size_t length) {
  uint16_t crc = 0xFFFF;
  for (size_t i = 0; i < length; ++i) {
    crc ^= bytes[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
  }
  return crc;
}

std::vector<uint8_t> CloudServer::Command(uint8_t command, uint8_t unit, const std::vector<uint8_t>& data) {
  const size_t n = data.size() + 1;
  std::vector<uint8_t> f(n + 15, 0);
  const uint8_t head[] = {0x55, 0xAA, 0x01, 0, 0, 0, 0, 0, 0, unit, static_cast<uint8_t>(n),
                          static_cast<uint8_t>(n >> 8), command};
  std::memcpy(f.data(), head, sizeof(head));
  if (!data.empty()) std::memcpy(f.data() + sizeof(head), data.data(), data.size());
  f.resize(n + 12);
  const uint16_t crc = BitwiseCrc16(f.data() + 2, f.size() - 2);
  f.push_back(static_cast<uint8_t>(crc));
  f.push_back(static_cast<uint8_t>(crc >> 8));
  f.push_back(':');
  return f;
}

std::vector<uint8_t> CloudServer::WriteValues(uint8_t unit, const std::vector<std::pair<uint16_t, float>>& items) {
  std::vector<uint8_t> data;
  for (const auto& item : items) {
    uint32_t bits;
    std::memcpy(&bits, &item.second, 4);
    data.push_back(static_cast<uint8_t>(item.first));
    data.push_back(static_cast<uint8_t>(item.first >> 8));
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  }
  return Command(5, unit, data);
}

void CloudServer::FromPanel(const uint8_t* data, size_t length) {
  m_in.insert(m_in.end(), data, data + length);
  size_t i = 0;
  while (i + 15 <= m_in.size()) {
    if (m_in[i] != 0xAA || m_in[i + 1] != 0x55) {
      ++i;
      continue;
    }
    const size_t n = m_in[i + 10] | (m_in[i + 11] << 8);
    if (n == 0 || n > 2000) {
      ++m_bad;
      ++i;
      continue;
    }
    if (i + n + 15 > m_in.size()) break;  // the rest comes later
    const uint8_t* f = m_in.data() + i;
    const uint16_t crc = static_cast<uint16_t>(f[n + 12] | (f[n + 13] << 8));
    if (f[n + 14] != ':' || crc != BitwiseCrc16(f + 2, n + 10)) {
      ++m_bad;
      ++i;
      continue;
    }
    Upload u;
    u.unit = f[9];
    u.n = static_cast<int>(n);
    u.kind = f[12];
    u.wellFormed = n >= 3 && (n - 3) % 4 == 0;
    if (n >= 3) u.start = f[13] | (f[14] << 8);
    for (size_t k = 15; k + 4 <= n + 12; k += 4) {
      u.words.push_back(static_cast<uint32_t>(f[k]) | (static_cast<uint32_t>(f[k + 1]) << 8) |
                        (static_cast<uint32_t>(f[k + 2]) << 16) | (static_cast<uint32_t>(f[k + 3]) << 24));
    }
    if (u.kind == 1 && u.wellFormed) ++m_good1;
    else if (u.kind == 2 && u.wellFormed) ++m_good2;
    else ++m_bad;
    m_uploads.push_back(std::move(u));
    if (m_uploads.size() > 1000) m_uploads.erase(m_uploads.begin());
    i += n + 15;
  }
  m_in.erase(m_in.begin(), m_in.begin() + static_cast<std::ptrdiff_t>(i));
}

void CloudServer::RunScript(int second) {
  std::vector<uint8_t> frame;
  // A live server: online every minute, both blocks asked for now and then.
  if (second % 60 == 1) frame = Command(3);
  else if (second % 60 == 20) frame = Command(6);
  else if (second % 60 == 40) frame = Command(7);
  if (frame.empty()) return;
  ++m_sent;
  m_out.insert(m_out.end(), frame.begin(), frame.end());
}

std::vector<uint8_t> CloudServer::TakeOutgoing() {
  std::vector<uint8_t> out;
  out.swap(m_out);
  return out;
}

std::string CloudServer::Status() const {
  std::ostringstream out;
  out << "server: " << m_sent << " commands sent; uploads received: " << m_good1 << " status, " << m_good2
      << " settings, " << m_bad << " bad";
  return out.str();
}

}  // namespace wifisim
