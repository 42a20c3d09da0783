#include "CWifiDevice.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "CSerialPort.h"
#include "CloudFrame.h"

namespace {

const DWORD kQueryWaitMs = 100;
const DWORD kSetWaitMs = 2000;
const DWORD kCommandGapMs = 100;
const DWORD kSendWaitMs = 20;
const int kQueryReadMax = 100;
const int kAttempts = 2;
const int kEnterAttempts = 4;
const int kSetReplyMax = 512;  // the longest set command's echo with its answer

// Frame offsets as Find copies them (from the address byte on).
const int kFrameUnit = 7;
const int kFrameLength = 8;
const int kFrameCommand = 10;
const int kFrameData = 11;

}  // namespace

CWifiDevice::CWifiDevice(CSerialPort* port, int slaveAddress) : CModbusDevice(kType, port, slaveAddress) {
  m_block.m_frameAddress = 1;
  for (auto& unit : m_block.m_remoteTable) {
    for (std::atomic<int32_t>& v : unit) v = kWifiNothingReceived;
  }
}

void CWifiDevice::Poll() {
  WifiBlock& b = m_block;
  if (b.m_enabled.load() == 0) {
    b.m_tickCount = 0;
    b.m_onlineCountdown = 0;
    ClearFlags(kWifiLinkSeen | kWifiOnline | kWifiUploadsStopped);
    return;
  }
  ++b.m_tickCount;
  if (b.m_onlineCountdown != 0) {
    --b.m_onlineCountdown;
    SetFlags(kWifiOnline);
  } else {
    ClearFlags(kWifiOnline);
  }
  if (b.m_linkFlags.load() & kWifiConfigPending) RunConfig();
  else RunLink();
}

int CWifiDevice::RequestConfig(WifiBlock& b, int code, const void* payload, int length) {
  if (code == kFullSetup) b.m_linkFlags.fetch_or(kWifiConfigPending);
  if (!(b.m_linkFlags.load() & kWifiConfigPending) || b.m_requestCode.load() != 0) return -1;
  b.m_lastRequest = 0;
  if (payload && length >= 1 && length <= kWifiPayloadSize - 1) std::memcpy(b.m_payload, payload, length);
  int idle = 0;
  // The link's own recovery may ask at the same moment: one of the two requests wins.
  return b.m_requestCode.compare_exchange_strong(idle, code) ? code : -1;
}

int CWifiDevice::Transact(const char* text, int length, DWORD waitMs, char* reply, int maxRead) {
  DWORD n = static_cast<DWORD>(length);
  m_port->Write(reinterpret_cast<const BYTE*>(text), &n);
  Sleep(waitMs);
  DWORD got = static_cast<DWORD>(maxRead);
  if (!m_port->ReadAvail(reinterpret_cast<BYTE*>(reply), &got)) got = 0;
  reply[got] = '\0';
  return static_cast<int>(got);
}

int CWifiDevice::EnterCmdMode() {
  for (int attempt = 1; attempt <= kEnterAttempts; ++attempt) {
    char reply[16];
    int n = Transact("+++", 3, kQueryWaitMs, reply, 3);
    if (n == 3 && std::memcmp(reply, "+++", 3) == 0) {  // already in command mode: the module echoes
      SetFlags(kWifiCommandMode);
      return 1;
    }
    if (n == 1 && reply[0] == 'a') {
      n = Transact("a", 1, kQueryWaitMs, reply, 9);
      if (n >= 3 && std::memcmp(reply, "+ok", 3) == 0) {
        SetFlags(kWifiCommandMode);
        ClearFlags(kWifiUpperDialect);
        return 1;
      }
      if (n >= 3 && std::memcmp(reply, "+OK", 3) == 0) {
        SetFlags(kWifiCommandMode | kWifiUpperDialect);
        return 1;
      }
    }
    // The module may run at either of its two rates: the line follows, reconfigured in place.
    m_port->SetLine(attempt <= 2 ? 57600 : 115200, 8, 0, 1);
  }
  return (m_block.m_linkFlags.load() & kWifiCommandMode) ? 1 : 0;
}

int CWifiDevice::Query(WifiQuery query) {
  const bool upper = Upper();
  const char* command = WifiQueryCommand(query, upper);
  if (!command) return 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    char reply[kQueryReadMax + 1];
    const int n = Transact(command, static_cast<int>(std::strlen(command)), kQueryWaitMs, reply, kQueryReadMax);
    if (WifiParseReply(query, upper, reply, n, m_block)) return 1;
  }
  if (WifiFailureClearsLink(query)) ClearFlags(kWifiLinkSeen);
  return 0;
}

int CWifiDevice::Command(const char* text, const char* expected, DWORD waitMs) {
  const int want = static_cast<int>(std::strlen(expected));
  if (want > kSetReplyMax) return 0;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    char reply[kSetReplyMax + 1];
    const int n = Transact(text, static_cast<int>(std::strlen(text)), waitMs, reply, want);
    if (n == want && std::memcmp(reply, expected, static_cast<size_t>(want)) == 0) return 1;
  }
  return 0;
}

int CWifiDevice::LeaveCmdMode() {
  return Upper() ? Command("AT+ENTM\r\n", "AT+ENTM\r\n+OK\r\n", kQueryWaitMs)
                 : Command("AT+ENTM\n", "AT+ENTM\n\r+ok\r\n\r\n", kQueryWaitMs);
}

int CWifiDevice::WriteSetting(int code) {
  const WifiAnswers& a = m_block.m_answers;
  char value[300];
  switch (code) {
    case kWriteSsid: std::snprintf(value, sizeof(value), "AT+WSSSIDA=%s", a.ssid); break;
    case kWriteKey:
      std::snprintf(value, sizeof(value), "AT+WSKEYA=%s,%s,%s", a.securityMode, a.encryption, a.key);
      break;
    case kWriteNetwork:
      std::snprintf(value, sizeof(value), "AT+WANN=%s,%s,%s,%s", a.networkMode, a.ipAddress, a.netMask, a.gateway);
      break;
    case kWriteServer: std::snprintf(value, sizeof(value), "AT+TCPADDB=%s", a.serverAddress); break;
    case kWriteServerPort: std::snprintf(value, sizeof(value), "AT+TCPPTB=%s", a.serverPortText); break;
    default: return 0;
  }
  char command[320];
  char expected[330];
  std::snprintf(command, sizeof(command), "%s\n", value);
  std::snprintf(expected, sizeof(expected), "%s\n\r+ok\r\n\r\n", value);
  return Command(command, expected, kSetWaitMs);
}

void CWifiDevice::FinishRequest(int code) {
  m_block.m_lastRequest = code;
  m_block.m_requestCode = 0;
}

void CWifiDevice::RunConfig() {
  const int code = m_block.m_requestCode.load();
  switch (code) {
    case kFullSetup: {
      if (!EnterCmdMode()) return;  // the request stays: the next poll tries again
      std::memset(&m_block.m_answers, 0, sizeof(m_block.m_answers));
      static const WifiQuery kUpper[] = {WifiQuery::kMac, WifiQuery::kStation, WifiQuery::kLinkState,
                                         WifiQuery::kNetwork, WifiQuery::kServer};
      static const WifiQuery kLower[] = {WifiQuery::kSsid,          WifiQuery::kSecurity,   WifiQuery::kLinkState,
                                         WifiQuery::kNetwork,       WifiQuery::kTcpLink,    WifiQuery::kServerAddress,
                                         WifiQuery::kServerPort,    WifiQuery::kMac};
      const bool upper = Upper();
      const WifiQuery* queries = upper ? kUpper : kLower;
      const int count = upper ? 5 : 8;
      for (int i = 0; i < count; ++i) {
        if (i > 0) Sleep(kCommandGapMs);
        Query(queries[i]);
      }
      Sleep(kCommandGapMs);
      if (LeaveCmdMode()) {
        FinishRequest(kFullSetup);
        ClearFlags(kWifiConfigPending | kWifiCommandMode);
      }
      ClearFlags(kWifiUploadsStopped);
      return;
    }
    case kTransparent:
    case kRestart:
      if (code == kTransparent) LeaveCmdMode();
      else if (!Upper()) Command("AT+Z\n", "AT+Z\n\r+ok\r\n\r\n", kQueryWaitMs);
      FinishRequest(code);
      ClearFlags(kWifiConfigPending | kWifiCommandMode);
      return;
    case kWriteSsid:
    case kWriteKey:
    case kWriteNetwork:
    case kWriteServer:
    case kWriteServerPort:
      WriteSetting(code);
      FinishRequest(code);  // the module stays in command mode until a request 2 or 1 completes
      return;
    default:
      return;
  }
}

int CWifiDevice::UnitCount() const {
  const int units = m_block.m_unitCount.load();
  return units < 0 ? 0 : units > kWifiUnits ? kWifiUnits : units;
}

void CWifiDevice::RunLink() {
  WifiBlock& b = m_block;
  DWORD got = kWifiReadSize;
  if (m_port->ReadAvail(b.m_read, &got) && got > 0) {
    if (b.m_rxCount < 0 || b.m_rxCount > kWifiRxSize) b.m_rxCount = 0;
    const int n = static_cast<int>(got);
    if (n > kWifiRxSize - b.m_rxCount) {  // no room: start again with the newest bytes
      const int keep = n < kWifiRxSize ? n : kWifiRxSize;
      std::memcpy(b.m_rx, b.m_read + (n - keep), static_cast<size_t>(keep));
      b.m_rxCount = keep;
    } else {
      std::memcpy(b.m_rx + b.m_rxCount, b.m_read, static_cast<size_t>(n));
      b.m_rxCount += n;
    }
  }
  int frameLength = 0;
  if (CloudFrame::Find(b.m_rx, &b.m_rxCount, kWifiRxSize, b.m_read, &frameLength)) ApplyFrame(b.m_read, frameLength);

  const int units = UnitCount();
  if (!(b.m_linkFlags.load() & kWifiUploadsStopped) && b.m_tickCount % kUploadTicks == 0) {
    for (int unit = 1; unit <= units; ++unit) {
      SendIntBlock(0, 45, unit);
      SendFloatBlock(0, 136, unit);
    }
  }
  if (!(b.m_linkFlags.load() & kWifiOnline) && b.m_tickCount % kOfflineTicks == 0) {
    b.m_linkFlags = 0;  // the dialect too: the next setup detects it anew
    RequestConfig(kFullSetup, nullptr, 0);
  }
  for (int u = 0; u < units; ++u) {
    if (const int count = b.m_reportPending[u].load()) {
      SendIntBlock(0, count, u + 1);
      b.m_reportPending[u] = 0;
    }
    if (const int count = b.m_mirrorPending[u].load()) {
      SendFloatBlock(0, count, u + 1);
      b.m_mirrorPending[u] = 0;
    }
  }
}

void CWifiDevice::ApplyFrame(const uint8_t* frame, int length) {
  WifiBlock& b = m_block;
  const int n = CloudFrame::Get16(frame + kFrameLength);
  if (n < 1 || n + 10 != length) return;
  switch (frame[kFrameCommand]) {
    case 3:
      b.m_onlineCountdown = kOnlineTicks;
      SetFlags(kWifiLinkSeen);
      break;
    case 4:
      b.m_onlineCountdown = kOnlineTicks;
      SetFlags(kWifiLinkSeen | kWifiUploadsStopped);
      break;
    case 5: {
      const int unit = frame[kFrameUnit];
      if (unit < 1 || unit > kWifiUnits) break;
      const int items = (n - 1) / 6;
      for (int i = 0; i < items; ++i) {
        const uint8_t* item = frame + kFrameData + 6 * i;
        const int index = CloudFrame::Get16(item);
        float value;
        const uint32_t bits = CloudFrame::Get32(item + 2);
        std::memcpy(&value, &bits, sizeof(value));
        // Only a finite value that an int32 holds can be truncated; anything else is no value.
        if (index >= kWifiRemoteWords || !std::isfinite(value) || value <= -2147483904.0f || value >= 2147483648.0f) {
          continue;
        }
        // The value first, then the mark: the engine that takes the mark finds the value.
        b.m_remoteTable[unit - 1][index] = static_cast<int32_t>(value);
        b.m_remoteReceived = 1;
      }
      break;
    }
    case 6:
      for (int unit = 1; unit <= UnitCount(); ++unit) SendIntBlock(0, 45, unit);
      break;
    case 7:
      for (int unit = 1; unit <= UnitCount(); ++unit) SendFloatBlock(0, 136, unit);
      break;
    default:
      break;
  }
}

int CWifiDevice::SendFrame(uint8_t kind, int unit, const uint8_t* data, int dataLength) {
  uint8_t frame[2 + 4 * kWifiMirrorWords + CloudFrame::kOverhead + 1];
  const int length =
      CloudFrame::Build(m_block.m_frameAddress, m_block.m_mac, static_cast<uint8_t>(unit), kind, data, dataLength, frame);
  if (length == 0) return 0;
  Sleep(kSendWaitMs);
  DWORD n = static_cast<DWORD>(length);
  // Not the bus's purge before the write: a server frame that came in meanwhile is read at the next tick.
  return m_port->Send(frame, &n);
}

int CWifiDevice::SendIntBlock(int start, int count, int unit) {
  if (unit < 1 || unit > kWifiUnits || start < 0 || start >= kWifiStatusWords || count < 0) return 0;
  if (count > kWifiStatusWords - start) count = kWifiStatusWords - start;
  uint8_t data[2 + 4 * kWifiStatusWords];
  CloudFrame::Put16(data, static_cast<uint16_t>(start));
  for (int i = 0; i < count; ++i) {
    CloudFrame::Put32(data + 2 + 4 * i, static_cast<uint32_t>(m_block.m_statusTable[unit - 1][start + i]));
  }
  return SendFrame(1, unit, data, 2 + 4 * count);
}

int CWifiDevice::SendFloatBlock(int start, int count, int unit) {
  if (unit < 1 || unit > kWifiUnits || start < 0 || start >= kWifiMirrorWords || count < 0) return 0;
  if (count > kWifiMirrorWords - start) count = kWifiMirrorWords - start;
  uint8_t data[2 + 4 * kWifiMirrorWords];
  CloudFrame::Put16(data, static_cast<uint16_t>(start));
  for (int i = 0; i < count; ++i) {
    const float value = static_cast<float>(m_block.m_mirrorTable[unit - 1][start + i]);
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    CloudFrame::Put32(data + 2 + 4 * i, bits);
  }
  return SendFrame(2, unit, data, 2 + 4 * count);
}
