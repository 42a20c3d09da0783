#include "WifiAt.h"

#include <cstdlib>
#include <cstring>

namespace {

struct Reply {
  const char* text;
  int length;
  // The reply starts with prefix (compared over its own length).
  bool Starts(const char* prefix) const {
    const int n = static_cast<int>(std::strlen(prefix));
    return length >= n && std::memcmp(text, prefix, static_cast<size_t>(n)) == 0;
  }
  bool Is(const char* whole) const {
    return length == static_cast<int>(std::strlen(whole)) && Starts(whole);
  }
  // The bytes from position at on (none when the reply is shorter).
  const char* From(int at) const { return at < length ? text + at : text + length; }
  int RestFrom(int at) const { return at < length ? length - at : 0; }
};

// A whole value (commas included) from position at, less the last `less` characters, CR and LF skipped.
template <size_t N>
bool CopyRest(const Reply& r, int at, char (&field)[N], int less = 0) {
  const int n = r.RestFrom(at) - less;
  const char* text = r.From(at);
  size_t used = 0;
  for (int i = 0; i < n && text[i] != '\0'; ++i) {
    if (text[i] == '\r' || text[i] == '\n') continue;
    if (used + 1 < N) field[used++] = text[i];
  }
  field[used] = '\0';
  return true;
}

int HexDigit(char c, bool lowerToo) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (lowerToo && c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool ReadMac(const Reply& r, int at, bool lowerToo, WifiBlock& b) {
  if (r.RestFrom(at) < 12) return false;
  uint8_t mac[6];
  for (int i = 0; i < 6; ++i) {
    const int hi = HexDigit(r.text[at + 2 * i], lowerToo);
    const int lo = HexDigit(r.text[at + 2 * i + 1], lowerToo);
    if (hi < 0 || lo < 0) return false;
    mac[i] = static_cast<uint8_t>(hi << 4 | lo);
  }
  std::memcpy(b.m_mac, mac, sizeof(mac));
  return true;
}

void SetFlag(WifiBlock& b, uint16_t flag, bool on) {
  if (on) b.m_linkFlags.fetch_or(flag);
  else b.m_linkFlags.fetch_and(static_cast<uint16_t>(~flag));
}

// Network mode, IP address, mask and gateway: the same four fields in both dialects.
int ReadNetwork(const Reply& r, const char* prefix, WifiAnswers& a) {
  if (r.length <= 13 || !r.Starts(prefix)) return 0;
  char* fields[] = {a.networkMode, a.ipAddress, a.netMask, a.gateway};
  const int sizes[] = {sizeof(a.networkMode), sizeof(a.ipAddress), sizeof(a.netMask), sizeof(a.gateway)};
  return WifiCopyFields(r.From(13), r.RestFrom(13), fields, sizes, 4);
}

void ReadPort(WifiBlock& b) { b.m_serverPort = static_cast<uint16_t>(std::atoi(b.m_answers.serverPortText)); }

int ParseUpper(WifiQuery q, const Reply& r, WifiBlock& b) {
  WifiAnswers& a = b.m_answers;
  switch (q) {
    case WifiQuery::kMac:
      return r.Starts("AT+MAC\r\n+OK") && ReadMac(r, 12, true, b);
    case WifiQuery::kStation: {
      if (!r.Starts("AT+WSTA\r\n+OK")) return 0;
      char* fields[] = {a.ssid, a.key};
      const int sizes[] = {sizeof(a.ssid), sizeof(a.key)};
      return WifiCopyFields(r.From(13), r.RestFrom(13), fields, sizes, 2);
    }
    case WifiQuery::kLinkState: {
      if (!r.Starts("AT+WSLK\r\n+OK")) return 0;
      const Reply rest{r.From(13), r.RestFrom(13)};
      SetFlag(b, kWifiLinkSeen, !rest.Is("DISCONNECTED\r\n"));
      return 1;
    }
    case WifiQuery::kNetwork:
      return ReadNetwork(r, "AT+WANN\r\n+OK", a);
    case WifiQuery::kServer: {
      if (!r.Starts("AT+SOCKB\r\n+OK")) return 0;
      char protocol[10];
      char* fields[] = {protocol, a.serverAddress, a.serverPortText};
      const int sizes[] = {sizeof(protocol), sizeof(a.serverAddress), sizeof(a.serverPortText)};
      const bool ok = WifiCopyFields(r.From(14), r.RestFrom(14), fields, sizes, 3);
      ReadPort(b);
      return ok;
    }
    default:
      return 0;
  }
}

int ParseLower(WifiQuery q, const Reply& r, WifiBlock& b) {
  WifiAnswers& a = b.m_answers;
  switch (q) {
    case WifiQuery::kMac:
      return r.Starts("AT+WMAC\n\r+ok") && ReadMac(r, 13, false, b);
    case WifiQuery::kSsid: {
      if (r.length < 17 || !r.Starts("AT+WSSSIDA\n\r+ok")) return 0;
      if (r.length < 21) {
        a.ssid[0] = '\0';
        return 1;
      }
      return CopyRest(r, 16, a.ssid, 4);
    }
    case WifiQuery::kSecurity: {
      if (r.length <= 15 || !r.Starts("AT+WSKEYA\n\r+ok")) return 0;
      char* fields[] = {a.securityMode, a.encryption, a.key};
      const int sizes[] = {sizeof(a.securityMode), sizeof(a.encryption), sizeof(a.key)};
      return WifiCopyFields(r.From(15), r.RestFrom(15), fields, sizes, 3);
    }
    case WifiQuery::kLinkState: {
      if (!r.Starts("AT+WSLK\n\r+ok")) return 0;
      const Reply rest{r.From(13), r.RestFrom(13)};
      SetFlag(b, kWifiLinkSeen, !rest.Is("Disconnected\r\n\r\n"));
      return 1;
    }
    case WifiQuery::kNetwork:
      return ReadNetwork(r, "AT+WANN\n\r+ok", a);
    case WifiQuery::kTcpLink:
      if (r.Is("AT+TCPLKB\n\r+ok=on\r\n\r\n")) {
        SetFlag(b, kWifiOnline, true);
        return 1;
      }
      if (r.Is("AT+TCPLKB\n\r+ok=off\r\n\r\n")) {
        SetFlag(b, kWifiOnline, false);
        return 1;
      }
      return 0;
    case WifiQuery::kServerAddress:
      return r.length > 16 && r.Starts("AT+TCPADDB\n\r+ok") && CopyRest(r, 16, a.serverAddress);
    case WifiQuery::kServerPort: {
      if (r.length < 16 || !r.Starts("AT+TCPPTB\n\r+ok")) return 0;
      CopyRest(r, 15, a.serverPortText);
      ReadPort(b);
      return 1;
    }
    default:
      return 0;
  }
}

}  // namespace

bool WifiCopyFields(const char* text, int length, char* const* fields, const int* sizes, int count) {
  int field = 0;
  int used = 0;
  for (int i = 0; i < length && text[i] != '\0'; ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') continue;
    if (c == ',') {
      fields[field][used] = '\0';
      if (++field >= count) return false;
      used = 0;
      continue;
    }
    if (used < sizes[field] - 1) fields[field][used++] = c;
  }
  fields[field][used] = '\0';
  return true;
}

const char* WifiQueryCommand(WifiQuery query, bool upper) {
  switch (query) {
    case WifiQuery::kMac: return upper ? "AT+MAC\r\n" : "AT+WMAC\n";
    case WifiQuery::kStation: return upper ? "AT+WSTA\r\n" : nullptr;
    case WifiQuery::kSsid: return upper ? nullptr : "AT+WSSSIDA\n";
    case WifiQuery::kSecurity: return upper ? nullptr : "AT+WSKEYA\n";
    case WifiQuery::kLinkState: return upper ? "AT+WSLK\r\n" : "AT+WSLK\n";
    case WifiQuery::kNetwork: return upper ? "AT+WANN\r\n" : "AT+WANN\n";
    case WifiQuery::kServer: return upper ? "AT+SOCKB\r\n" : nullptr;
    case WifiQuery::kServerAddress: return upper ? nullptr : "AT+TCPADDB\n";
    case WifiQuery::kServerPort: return upper ? nullptr : "AT+TCPPTB\n";
    case WifiQuery::kTcpLink: return upper ? nullptr : "AT+TCPLKB\n";
  }
  return nullptr;
}

int WifiParseReply(WifiQuery query, bool upper, const char* reply, int length, WifiBlock& block) {
  if (!reply || length <= 0) return 0;
  const Reply r{reply, length};
  return upper ? ParseUpper(query, r, block) : ParseLower(query, r, block);
}

bool WifiFailureClearsLink(WifiQuery query) {
  return query == WifiQuery::kMac || query == WifiQuery::kStation || query == WifiQuery::kServer ||
         query == WifiQuery::kLinkState || query == WifiQuery::kTcpLink;
}
