// The WiFi module's AT queries in its two dialects: the command text of each and the reading of its reply into
// the WiFi block. The upper-case dialect ends commands with CR LF and answers "+OK"; the lower-case one ends
// them with LF and answers "\r+ok". Replies are read within each answer field's size: an over-long value is
// cut and always terminated. Pure functions of the reply; the caller owns the exchange.
#pragma once

#include "WifiBlock.h"

enum class WifiQuery {
  kMac,            // MAC address
  kStation,        // upper-case: SSID and key
  kSsid,           // lower-case: SSID
  kSecurity,       // lower-case: security mode, encryption, key
  kLinkState,      // WiFi link state (link-seen flag)
  kNetwork,        // network mode, IP address, mask, gateway
  kServer,         // upper-case: protocol, server address, port
  kServerAddress,  // lower-case
  kServerPort,     // lower-case
  kTcpLink,        // lower-case: TCP link state (online flag)
};

// The command of a query in a dialect, or nullptr when the dialect has none.
const char* WifiQueryCommand(WifiQuery query, bool upper);
// Reads a reply of length bytes (NUL-terminated at reply[length] or not): 1 when it is the query's success
// reply, with its fields stored in the block; 0 otherwise. Flags the reply states are set or cleared.
int WifiParseReply(WifiQuery query, bool upper, const char* reply, int length, WifiBlock& block);
// Queries whose double failure means the module is not linked: the link-seen flag is cleared.
bool WifiFailureClearsLink(WifiQuery query);
// Copies text (length bytes, or up to a NUL) into fields separated by commas, skipping CR and LF, each cut to
// its size and terminated. false at a comma beyond the last field (what was copied stays).
bool WifiCopyFields(const char* text, int length, char* const* fields, const int* sizes, int count);
