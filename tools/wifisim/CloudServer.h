// The remote server behind the WiFi module, without a network: it takes the panel's frames out of what the
// module forwards, checks each upload (head, CRC, the block's length) and keeps them, and builds the five
// commands it sends to the panel. A script runs it on its own: the program's demonstration.
// The frame code here is its own (bitwise CRC), so that it checks the panel's codec rather than repeating it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace wifisim {

// CRC-16 with polynomial 0xA001 reflected and initial value 0xFFFF, one bit at a time.
uint16_t BitwiseCrc16(const uint8_t* bytes, size_t length);

struct Upload {
  int unit = 0;
  int kind = 0;     // 1 status words, 2 setting values
  int n = 0;        // the length field
  int start = 0;
  std::vector<uint32_t> words;  // the values as sent (floats as their bits)
  bool wellFormed = false;      // the length fits the kind: 2 + 4 k data bytes
};

class CloudServer {
public:
  // A frame from the server to the panel: 55 AA, address 1, MAC, unit, n, command, data, CRC, ':'.
  static std::vector<uint8_t> Command(uint8_t command, uint8_t unit = 1, const std::vector<uint8_t>& data = {});
  // Command 5 with (index, value) items.
  static std::vector<uint8_t> WriteValues(uint8_t unit, const std::vector<std::pair<uint16_t, float>>& items);

  // Bytes the module forwards from the panel.
  void FromPanel(const uint8_t* data, size_t length);
  const std::vector<Upload>& Uploads() const { return m_uploads; }
  void ClearUploads() { m_uploads.clear(); }
  int BadFrames() const { return m_bad; }

  // The scripted server: once a second (elapsed seconds since the start) it queues what the script sends at
  // that second; TakeOutgoing hands the queued frames to the module.
  void RunScript(int second);
  std::vector<uint8_t> TakeOutgoing();
  std::string Status() const;

private:
  std::vector<uint8_t> m_in;
  std::vector<Upload> m_uploads;
  std::vector<uint8_t> m_out;
  int m_bad = 0;
  int m_good1 = 0;
  int m_good2 = 0;
  int m_sent = 0;
};

}  // namespace wifisim
