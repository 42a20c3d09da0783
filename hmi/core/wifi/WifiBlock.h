// The WiFi device's data block: the one place where the engine thread and the WiFi port's thread meet,
// without a lock. Words both threads change, or that one thread hands to the other (enable, flags, the
// request, the pending counts, the received mark, the unit count, each word of the remote table), are
// atomics; the other tables and the texts are plain, filled before the word that hands them over is
// written. The server's values are handed over word by word: the link stores a value, then sets the
// mark; the engine takes the mark, then takes each value and leaves "nothing received" in one step, so
// a value stored at any moment is applied exactly once.
#pragma once

#include <atomic>
#include <cstdint>

// Link flags of WifiBlock::m_linkFlags.
enum WifiLinkFlag : uint16_t {
  kWifiConfigPending = 0x01,  // polls run the configuration machine instead of the link
  kWifiCommandMode = 0x02,
  kWifiLinkSeen = 0x08,       // a server command arrived or the module reports its TCP link up
  kWifiOnline = 0x10,         // the online countdown runs
  kWifiUploadsStopped = 0x20,
  kWifiUpperDialect = 0x40,
};

// The module's settings as NUL-terminated ASCII texts, in the module's order.
struct WifiAnswers {
  char ssid[100];
  char securityMode[10];
  char encryption[10];
  char key[30];
  char networkMode[7];
  char ipAddress[17];
  char netMask[16];
  char gateway[16];
  char serverAddress[100];
  char serverPortText[10];
};

constexpr int kWifiUnits = 16;
constexpr int kWifiStatusWords = 100;   // per unit; upload block 1 is the first 45
constexpr int kWifiMirrorWords = 300;   // per unit; upload block 2 is the first 136
constexpr int kWifiRemoteWords = 300;
constexpr int32_t kWifiNothingReceived = 0xFF00;
constexpr int kWifiRxSize = 8000;
constexpr int kWifiReadSize = 9000;
constexpr int kWifiPayloadSize = 1000;

struct WifiBlock {
  int32_t m_reserved[2];
  std::atomic<int32_t> m_enabled;
  int32_t m_rxCount;                    // bytes in m_rx
  uint8_t m_rx[kWifiRxSize];
  uint8_t m_read[kWifiReadSize];        // each serial read, then the last frame found
  int32_t m_tickCount;                  // polls while enabled
  std::atomic<uint16_t> m_linkFlags;
  uint8_t m_mac[6];
  std::atomic<int32_t> m_requestCode;   // 0 when idle
  std::atomic<int32_t> m_lastRequest;   // the request that finished last
  uint8_t m_payload[kWifiPayloadSize];
  WifiAnswers m_answers;
  uint16_t m_serverPort;
  uint8_t m_frameAddress;
  std::atomic<int32_t> m_reportPending[kWifiUnits];  // by unit - 1: values of block 1 to send
  std::atomic<int32_t> m_mirrorPending[kWifiUnits];  // block 2
  int32_t m_onlineCountdown;            // ticks
  std::atomic<int32_t> m_unitCount;
  int32_t m_statusTable[kWifiUnits][kWifiStatusWords];  // by unit - 1
  int32_t m_mirrorTable[kWifiUnits][kWifiMirrorWords];
  std::atomic<uint16_t> m_remoteReceived;
  std::atomic<int32_t> m_remoteTable[kWifiUnits][kWifiRemoteWords];  // kWifiNothingReceived where nothing came
  std::atomic<int32_t> m_jobRequest;
  uint8_t m_spare[36];                  // rounds the block to its documented size
};

static_assert(sizeof(WifiBlock) == 63336, "the WiFi block keeps its documented size");
static_assert(std::atomic<uint16_t>::is_always_lock_free && std::atomic<int32_t>::is_always_lock_free,
              "the shared words stay plain words");
