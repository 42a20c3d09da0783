// The WiFi device against the module simulator over a pseudo-terminal, on the virtual clock: command mode in
// both dialects and at both rates, the full setup, the settings writes, and the server link with its commands,
// its upload schedule and its recovery after the server's silence.
#include "CWifiDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>

#include "BusTestLine.h"
#include "CSerialPort.h"
#include "CloudServer.h"
#include "WifiLine.h"
#include "WifiModule.h"

namespace {

using wifisim::CloudServer;
using wifisim::ModuleSettings;
using wifisim::WifiModule;

class PassPort : public CSerialPort {
public:
  using CSerialPort::CSerialPort;
};

// COM1 mapped to a pty whose far side is the simulated module, served inside the device's sleeps.
struct WifiRig : bustest::BusLine {
  bustest::SteppedClock clock;
  bustest::ScopedClock installed{&clock};
  WifiModule module;
  CloudServer server;
  wifisim::WifiLine line{pty, module, server};
  PassPort port{1};
  CWifiDevice* device;
  WifiBlock& block;
  unsigned opensBefore = 0;

  explicit WifiRig(ModuleSettings settings = {})
      : BusLine(u"COM1", "COM1"), module(settings), device(new CWifiDevice(&port, 1)), block(device->Block()) {
    EXPECT_EQ(port.Open(1, 57600, 8, 0, 1, 20, 0), 1);
    opensBefore = Opens();
    port.Stop();
    port.AddDevice(device);
    clock.SetHook([this] { line.Serve(Written()); });
  }
  ~WifiRig() { clock.SetHook(nullptr); }
  static unsigned Opens() {
    panel::SerialLineRecord r;
    return panel::QuerySerialLine(u"COM1", &r) ? r.opens : 0;
  }
  static DWORD LineBaud() {
    panel::SerialLineRecord r;
    panel::QuerySerialLine(u"COM1", &r);
    return r.dcb.BaudRate;
  }
  // Server bytes reach the device at its next read.
  void FromServer(const std::vector<uint8_t>& frame) { line.ToPanel(frame); }
  void PollAt(int tick) {
    block.m_tickCount = tick - 1;
    device->Poll();
  }
  std::vector<wifisim::Upload> TakeUploads() {
    line.Serve(Written());
    std::vector<wifisim::Upload> u = server.Uploads();
    server.ClearUploads();
    return u;
  }
};

ModuleSettings Module(bool upper, int baud) {
  ModuleSettings s;
  s.upper = upper;
  s.baud = baud;
  return s;
}

TEST(CWifiDevice, EnterCmdMode_FindsEachDialectAtEachRateWithoutReopeningTheLine) {
  struct Case {
    bool upper;
    int baud;
  };
  for (const Case& c : {Case{false, 57600}, Case{true, 57600}, Case{false, 115200}, Case{true, 115200}}) {
    SCOPED_TRACE(std::string(c.upper ? "upper" : "lower") + " at " + std::to_string(c.baud));
    WifiRig rig(Module(c.upper, c.baud));
    ASSERT_EQ(rig.device->EnterCmdMode(), 1);
    EXPECT_EQ(rig.block.m_linkFlags, kWifiCommandMode | (c.upper ? kWifiUpperDialect : 0));
    EXPECT_EQ(rig.module.CurrentMode(), WifiModule::kCommand);
    EXPECT_EQ(rig.LineBaud(), static_cast<DWORD>(c.baud));
    EXPECT_EQ(rig.port.BaudRate(), c.baud);
    EXPECT_EQ(rig.Opens(), rig.opensBefore);
  }
}

TEST(CWifiDevice, EnterCmdMode_EchoKeepsTheDialectAndSilenceEndsAt115200) {
  WifiRig rig(Module(true, 57600));
  ASSERT_EQ(rig.device->EnterCmdMode(), 1);
  rig.block.m_linkFlags = 0;  // the module stays in command mode and will echo "+++"
  ASSERT_EQ(rig.device->EnterCmdMode(), 1);
  EXPECT_EQ(rig.block.m_linkFlags, kWifiCommandMode);

  WifiRig silent;
  silent.module.SetSilent(true);
  EXPECT_EQ(silent.device->EnterCmdMode(), 0);
  EXPECT_EQ(silent.block.m_linkFlags & kWifiCommandMode, 0);
  EXPECT_EQ(silent.LineBaud(), 115200u);
  EXPECT_EQ(silent.Opens(), silent.opensBefore);
}

TEST(CWifiDevice, FullSetup_ReadsTheModuleInEachDialectAndReturnsToTransparent) {
  for (bool upper : {false, true}) {
    SCOPED_TRACE(upper ? "upper" : "lower");
    WifiRig rig(Module(upper, 115200));
    rig.module.Settings().mac = upper ? "0a1b2c3d4e5f" : "0A1B2C3D4E5F";
    rig.block.m_enabled = 1;
    rig.block.m_linkFlags = kWifiUploadsStopped;
    ASSERT_EQ(rig.device->RequestConfig(CWifiDevice::kFullSetup, nullptr, 0), 1);
    rig.device->Poll();

    const WifiAnswers& a = rig.block.m_answers;
    EXPECT_STREQ(a.ssid, "PlantRoom");
    EXPECT_STREQ(a.key, "heatpump42");
    EXPECT_STREQ(a.networkMode, "DHCP");
    EXPECT_STREQ(a.ipAddress, "192.168.1.57");
    EXPECT_STREQ(a.netMask, "255.255.255.0");
    EXPECT_STREQ(a.gateway, "192.168.1.1");
    EXPECT_STREQ(a.serverAddress, "cloud.example.net");
    EXPECT_STREQ(a.serverPortText, "8899");
    EXPECT_EQ(rig.block.m_serverPort, 8899);
    const uint8_t mac[6] = {0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F};
    EXPECT_EQ(std::memcmp(rig.block.m_mac, mac, 6), 0);
    if (!upper) {
      EXPECT_STREQ(a.securityMode, "WPA2PSK");
      EXPECT_STREQ(a.encryption, "AES");
    }
    EXPECT_EQ(rig.block.m_lastRequest, 1);
    EXPECT_EQ(rig.block.m_requestCode, 0);
    // Link seen from the WiFi link state; online only from the lower-case TCP link answer.
    EXPECT_EQ(rig.block.m_linkFlags,
              kWifiLinkSeen | (upper ? kWifiUpperDialect : kWifiOnline));
    EXPECT_EQ(rig.module.CurrentMode(), WifiModule::kTransparent);
  }
}

TEST(CWifiDevice, FullSetup_WaitsForASilentModuleAndClearsWhatFailed) {
  WifiRig rig(Module(false, 57600));
  rig.block.m_enabled = 1;
  rig.module.SetSilent(true);
  rig.device->RequestConfig(CWifiDevice::kFullSetup, nullptr, 0);
  rig.device->Poll();
  EXPECT_EQ(rig.block.m_requestCode, 1);  // stays for the next poll
  EXPECT_EQ(rig.block.m_linkFlags, kWifiConfigPending);

  // In command mode but the TCP link off while the countdown runs: cleared now, set again by the next poll.
  rig.module.SetSilent(false);
  rig.module.Settings().tcpLinked = false;
  rig.block.m_onlineCountdown = 100;
  rig.device->Poll();  // the line went to 115200 in the silence: found again at 57600
  EXPECT_EQ(rig.block.m_lastRequest, 1);
  EXPECT_EQ(rig.block.m_linkFlags & kWifiOnline, 0);
  rig.device->Poll();
  EXPECT_EQ(rig.block.m_linkFlags & kWifiOnline, kWifiOnline);
}

TEST(CWifiDevice, SettingsWrites_SendTheAnswerFieldsAndStayInCommandMode) {
  struct Case {
    int code;
    std::string ModuleSettings::*field;
    std::string expected;
  };
  const Case cases[] = {
      {CWifiDevice::kWriteSsid, &ModuleSettings::ssid, "Loft"},
      {CWifiDevice::kWriteKey, &ModuleSettings::key, "n3wkey"},
      {CWifiDevice::kWriteNetwork, &ModuleSettings::ipAddress, "10.1.2.3"},
      {CWifiDevice::kWriteServer, &ModuleSettings::serverAddress, "other.example"},
      {CWifiDevice::kWriteServerPort, &ModuleSettings::serverPort, "9000"},
  };
  WifiRig rig(Module(false, 57600));
  rig.block.m_enabled = 1;
  rig.device->RequestConfig(CWifiDevice::kFullSetup, nullptr, 0);
  rig.device->Poll();
  ASSERT_EQ(rig.block.m_lastRequest, 1);
  EXPECT_EQ(rig.device->RequestConfig(CWifiDevice::kWriteSsid, nullptr, 0), -1);  // configuration mode is closed

  WifiAnswers& a = rig.block.m_answers;
  std::strcpy(a.ssid, "Loft");
  std::strcpy(a.key, "n3wkey");
  std::strcpy(a.ipAddress, "10.1.2.3");
  std::strcpy(a.serverAddress, "other.example");
  std::strcpy(a.serverPortText, "9000");
  ASSERT_EQ(rig.device->EnterCmdMode(), 1);
  rig.block.m_linkFlags.fetch_or(kWifiConfigPending);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ASSERT_EQ(rig.device->RequestConfig(c.code, nullptr, 0), c.code);
    EXPECT_EQ(rig.device->RequestConfig(CWifiDevice::kTransparent, nullptr, 0), -1);  // one request at a time
    rig.device->Poll();
    EXPECT_EQ(rig.module.Settings().*c.field, c.expected);
    EXPECT_EQ(rig.block.m_lastRequest, c.code);
    EXPECT_EQ(rig.block.m_linkFlags & (kWifiConfigPending | kWifiCommandMode), kWifiConfigPending | kWifiCommandMode);
  }
  EXPECT_EQ(rig.module.Settings().networkMode, "DHCP");

  const char payload[] = "kept";
  ASSERT_EQ(rig.device->RequestConfig(CWifiDevice::kTransparent, payload, 5), 2);
  EXPECT_STREQ(reinterpret_cast<const char*>(rig.block.m_payload), "kept");
  rig.device->Poll();
  EXPECT_EQ(rig.module.CurrentMode(), WifiModule::kTransparent);
  EXPECT_EQ(rig.block.m_linkFlags & (kWifiConfigPending | kWifiCommandMode), 0);
}

TEST(CWifiDevice, ServerCommands_AreAppliedOrRefused) {
  WifiRig rig;
  WifiBlock& b = rig.block;
  b.m_enabled = 1;
  b.m_unitCount = 1;
  b.m_onlineCountdown = 0;

  rig.FromServer(CloudServer::Command(3));
  rig.PollAt(1);
  EXPECT_EQ(b.m_onlineCountdown, 6000);
  EXPECT_EQ(b.m_linkFlags, kWifiLinkSeen);

  const float nan = std::numeric_limits<float>::quiet_NaN();
  rig.FromServer(CloudServer::WriteValues(1, {{37, 45.7f}, {300, 1.0f}, {3, -2.9f}, {4, nan}, {5, 1e20f}}));
  rig.PollAt(2);
  EXPECT_EQ(b.m_remoteTable[0][37], 45);
  EXPECT_EQ(b.m_remoteTable[0][3], -2);
  EXPECT_EQ(b.m_remoteTable[0][4], kWifiNothingReceived);  // not a number
  EXPECT_EQ(b.m_remoteTable[0][5], kWifiNothingReceived);  // beyond any integer
  EXPECT_EQ(b.m_remoteReceived, 1);

  b.m_remoteReceived = 0;
  rig.FromServer(CloudServer::WriteValues(17, {{1, 1.0f}}));  // no unit 17
  rig.PollAt(3);
  EXPECT_EQ(b.m_remoteReceived, 0);

  for (int i = 0; i < 45; ++i) b.m_statusTable[0][i] = 1000 + i;
  for (int i = 0; i < 136; ++i) b.m_mirrorTable[0][i] = i - 10;
  rig.FromServer(CloudServer::Command(6));
  rig.PollAt(4);
  rig.FromServer(CloudServer::Command(7));
  rig.PollAt(5);
  auto uploads = rig.TakeUploads();
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].kind, 1);
  EXPECT_EQ(uploads[0].n, 183);
  EXPECT_EQ(uploads[0].words[44], 1044u);
  EXPECT_EQ(uploads[1].kind, 2);
  EXPECT_EQ(uploads[1].n, 547);
  float first;
  std::memcpy(&first, &uploads[1].words[0], 4);
  EXPECT_EQ(first, -10.0f);
  EXPECT_EQ(rig.server.BadFrames(), 0);

  rig.FromServer(CloudServer::Command(4));
  rig.PollAt(6);
  EXPECT_EQ(b.m_linkFlags & (kWifiLinkSeen | kWifiUploadsStopped), kWifiLinkSeen | kWifiUploadsStopped);
  rig.FromServer(CloudServer::Command(9));  // unknown: ignored
  rig.PollAt(7);
  EXPECT_TRUE(rig.TakeUploads().empty());
}

TEST(CWifiDevice, Uploads_GoOnTheirScheduleUnlessStopped) {
  WifiRig rig;
  WifiBlock& b = rig.block;
  b.m_enabled = 1;
  b.m_unitCount = 1;
  rig.PollAt(499);
  EXPECT_TRUE(rig.TakeUploads().empty());
  rig.PollAt(500);
  auto uploads = rig.TakeUploads();
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].n, 183);
  EXPECT_EQ(uploads[1].n, 547);

  // Stopped by the server: no periodic uploads, but pending sends go, cut to the table, and are cleared.
  b.m_linkFlags.fetch_or(kWifiUploadsStopped);
  b.m_onlineCountdown = 100;
  rig.PollAt(1000);
  EXPECT_TRUE(rig.TakeUploads().empty());
  b.m_reportPending[0] = 45;
  b.m_mirrorPending[0] = 5000;  // more than the table holds
  b.m_unitCount = 99;           // more units than the tables hold
  rig.PollAt(1001);
  uploads = rig.TakeUploads();
  ASSERT_EQ(uploads.size(), 2u);
  EXPECT_EQ(uploads[0].n, 183);
  EXPECT_EQ(uploads[1].n, 3 + 4 * 300);
  EXPECT_EQ(b.m_reportPending[0], 0);
  EXPECT_EQ(b.m_mirrorPending[0], 0);
}

TEST(CWifiDevice, ServerSilence_BringsAFullSetupAndADisabledDeviceRests) {
  WifiRig rig(Module(true, 57600));
  WifiBlock& b = rig.block;
  b.m_enabled = 1;
  b.m_unitCount = 0;
  b.m_onlineCountdown = 0;
  b.m_linkFlags = kWifiLinkSeen | kWifiUpperDialect;
  rig.PollAt(18000);
  EXPECT_EQ(b.m_linkFlags, kWifiConfigPending);  // the dialect too is forgotten
  EXPECT_EQ(b.m_requestCode, 1);
  rig.device->Poll();
  EXPECT_EQ(b.m_lastRequest, 1);
  EXPECT_EQ(b.m_linkFlags, kWifiLinkSeen | kWifiUpperDialect);

  b.m_enabled = 0;
  b.m_onlineCountdown = 50;
  b.m_linkFlags.fetch_or(kWifiOnline | kWifiUploadsStopped);
  const uint64_t written = rig.Written();
  rig.device->Poll();
  EXPECT_EQ(b.m_tickCount, 0);
  EXPECT_EQ(b.m_onlineCountdown, 0);
  EXPECT_EQ(b.m_linkFlags, kWifiUpperDialect);
  EXPECT_EQ(rig.Written(), written);
}

TEST(CWifiDevice, LinkFlags_SetByTheEngineSurviveTheDevicesChanges) {
  // The engine's request sets the pending flag while the device's polls clear their own flags: no change of
  // one thread may undo the other's.
  auto device = std::make_unique<CWifiDevice>(nullptr, 1);
  WifiBlock& b = device->Block();
  std::atomic<bool> stop{false};
  std::thread port([&] {
    while (!stop) device->Poll();  // disabled: clears link seen, online and stopped on every poll
  });
  int lost = 0;
  for (int i = 0; i < 1000000; ++i) {
    b.m_requestCode = 0;
    CWifiDevice::RequestConfig(b, CWifiDevice::kFullSetup, nullptr, 0);
    if (!(b.m_linkFlags.load() & kWifiConfigPending)) ++lost;
    b.m_linkFlags.fetch_and(static_cast<uint16_t>(~kWifiConfigPending));
  }
  stop = true;
  port.join();
  EXPECT_EQ(lost, 0);
}

TEST(CWifiDevice, Block_StartsWithNothingReceived) {
  CWifiDevice device(nullptr, 1);
  const WifiBlock& b = device.Block();
  EXPECT_EQ(b.m_frameAddress, 1);
  EXPECT_EQ(b.m_remoteTable[0][0], 0xFF00);
  EXPECT_EQ(b.m_remoteTable[15][299], 0xFF00);
  EXPECT_EQ(b.m_linkFlags, 0);
  EXPECT_EQ(device.Type(), 106);
  EXPECT_EQ(device.GetData(), &b);
}

}  // namespace
