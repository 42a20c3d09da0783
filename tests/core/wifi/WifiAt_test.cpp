// Reading the module's replies: the success checks of each query, the fields and their sizes, the flags.
#include "WifiAt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

struct Parsed {
  std::unique_ptr<WifiBlock> block{new WifiBlock{}};
  int ok = 0;
};

Parsed Parse(WifiQuery q, bool upper, const std::string& reply, uint16_t flags = 0) {
  Parsed p;
  p.block->m_linkFlags = flags;
  p.ok = WifiParseReply(q, upper, reply.data(), static_cast<int>(reply.size()), *p.block);
  return p;
}

TEST(WifiAt, Replies_FillTheirFieldsOrFail) {
  // Upper-case station: two fields; a third comma fails.
  Parsed p = Parse(WifiQuery::kStation, true, "AT+WSTA\r\n+OK=Home,secret1\r\n");
  EXPECT_EQ(p.ok, 1);
  EXPECT_STREQ(p.block->m_answers.ssid, "Home");
  EXPECT_STREQ(p.block->m_answers.key, "secret1");
  EXPECT_EQ(Parse(WifiQuery::kStation, true, "AT+WSTA\r\n+OK=Home,secret1,x\r\n").ok, 0);
  EXPECT_EQ(Parse(WifiQuery::kStation, true, "AT+WSTA\r\n+ERR=-2\r\n").ok, 0);

  p = Parse(WifiQuery::kServer, true, "AT+SOCKB\r\n+OK=TCP,srv.example,8899\r\n");
  EXPECT_EQ(p.ok, 1);
  EXPECT_STREQ(p.block->m_answers.serverAddress, "srv.example");
  EXPECT_EQ(p.block->m_serverPort, 8899);

  p = Parse(WifiQuery::kNetwork, false, "AT+WANN\n\r+ok=STATIC,10.0.0.9,255.0.0.0,10.0.0.1\r\n\r\n");
  EXPECT_EQ(p.ok, 1);
  EXPECT_STREQ(p.block->m_answers.networkMode, "STATIC");
  EXPECT_STREQ(p.block->m_answers.ipAddress, "10.0.0.9");
  EXPECT_STREQ(p.block->m_answers.netMask, "255.0.0.0");
  EXPECT_STREQ(p.block->m_answers.gateway, "10.0.0.1");

  p = Parse(WifiQuery::kSsid, false, "AT+WSSSIDA\n\r+ok=Barn, east\r\n\r\n");
  EXPECT_EQ(p.ok, 1);
  EXPECT_STREQ(p.block->m_answers.ssid, "Barn, east");
  // At least 17 bytes but fewer than 21: a success that clears the SSID.
  std::strcpy(p.block->m_answers.ssid, "old");
  EXPECT_EQ(WifiParseReply(WifiQuery::kSsid, false, "AT+WSSSIDA\n\r+ok=\r\n", 18, *p.block), 1);
  EXPECT_STREQ(p.block->m_answers.ssid, "");

  p = Parse(WifiQuery::kServerPort, false, "AT+TCPPTB\n\r+ok=502\r\n\r\n");
  EXPECT_STREQ(p.block->m_answers.serverPortText, "502");
  EXPECT_EQ(p.block->m_serverPort, 502);
}

TEST(WifiAt, Mac_AcceptsTheDigitsOfItsDialect) {
  Parsed p = Parse(WifiQuery::kMac, true, "AT+MAC\r\n+OK=accf23A1B2C3\r\n");
  ASSERT_EQ(p.ok, 1);
  const uint8_t mac[6] = {0xAC, 0xCF, 0x23, 0xA1, 0xB2, 0xC3};
  EXPECT_EQ(std::memcmp(p.block->m_mac, mac, 6), 0);
  EXPECT_EQ(Parse(WifiQuery::kMac, false, "AT+WMAC\n\r+ok=ACCF23A1B2C3\r\n\r\n").ok, 1);
  EXPECT_EQ(Parse(WifiQuery::kMac, false, "AT+WMAC\n\r+ok=accf23a1b2c3\r\n\r\n").ok, 0);
  EXPECT_EQ(Parse(WifiQuery::kMac, false, "AT+WMAC\n\r+ok=ACCF23\r\n").ok, 0);
}

TEST(WifiAt, LinkReplies_SetAndClearTheirFlags) {
  EXPECT_EQ(Parse(WifiQuery::kLinkState, true, "AT+WSLK\r\n+OK=DISCONNECTED\r\n", kWifiLinkSeen).block->m_linkFlags,
            0);
  EXPECT_EQ(Parse(WifiQuery::kLinkState, true, "AT+WSLK\r\n+OK=Home(ACCF23A1B2C3)\r\n").block->m_linkFlags,
            kWifiLinkSeen);
  EXPECT_EQ(Parse(WifiQuery::kLinkState, false, "AT+WSLK\n\r+ok=Disconnected\r\n\r\n", kWifiLinkSeen)
                .block->m_linkFlags,
            0);
  EXPECT_EQ(Parse(WifiQuery::kTcpLink, false, "AT+TCPLKB\n\r+ok=on\r\n\r\n").block->m_linkFlags, kWifiOnline);
  Parsed off = Parse(WifiQuery::kTcpLink, false, "AT+TCPLKB\n\r+ok=off\r\n\r\n", kWifiOnline | kWifiLinkSeen);
  EXPECT_EQ(off.ok, 1);
  EXPECT_EQ(off.block->m_linkFlags, kWifiLinkSeen);
  EXPECT_EQ(Parse(WifiQuery::kTcpLink, false, "AT+TCPLKB\n\r+ok=maybe\r\n\r\n", kWifiOnline).ok, 0);
}

TEST(WifiAt, OverLongAnswers_AreCutWithinTheirFields) {
  const std::string longKey(60, 'k');
  const std::string reply = "AT+WSKEYA\n\r+ok=WPA2PSKWPA2PSK,AES," + longKey + "\r\n\r\n";
  std::unique_ptr<WifiBlock> block(new WifiBlock{});
  std::memset(block->m_answers.networkMode, 'N', sizeof(block->m_answers.networkMode));
  ASSERT_EQ(WifiParseReply(WifiQuery::kSecurity, false, reply.data(), static_cast<int>(reply.size()), *block), 1);
  EXPECT_STREQ(block->m_answers.securityMode, "WPA2PSKWP");  // 9 characters and the terminator
  EXPECT_EQ(std::string(block->m_answers.key), std::string(29, 'k'));
  EXPECT_EQ(block->m_answers.networkMode[0], 'N');  // the neighbour is untouched

  const std::string longSsid(150, 's');
  Parsed p = Parse(WifiQuery::kSsid, false, "AT+WSSSIDA\n\r+ok=" + longSsid + "\r\n\r\n");
  EXPECT_EQ(std::string(p.block->m_answers.ssid), std::string(99, 's'));
  EXPECT_EQ(p.block->m_answers.securityMode[0], '\0');
}

}  // namespace
