// The engine's WiFi step against a WiFi device's block (the device itself is not polled here: the test plays
// its part in the block): the start-up window, the server's settings within their ranges, the two upload
// blocks and the record-table job.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CControlEngine.h"
#include "CWifiDevice.h"
#include "InputMapping.h"
#include "RecordTable.h"
#include "RemoteWrites.h"
#include "SoftClock.h"

namespace {

float AsFloat(int32_t word) {
  float f;
  std::memcpy(&f, &word, sizeof(f));
  return f;
}

class WifiBridgeTest : public ::testing::Test {
protected:
  WifiBridgeTest() {
    engine->m_wifiBlock = &block;
    g_clock.wSecond = 7;
    d.m_unitsAnswered = kIndoorAnswered | kOutdoorAnswered;
  }
  // One engine second at the given second of the minute.
  void Second(int second) {
    g_clock.wSecond = static_cast<WORD>(second);
    EXPECT_EQ(engine->WifiExchange(), 0);
  }
  // A write from the server, as the link stores it.
  void Received(std::initializer_list<std::pair<int, int>> values) {
    for (const auto& v : values) block.m_remoteTable[0][v.first] = v.second;
    block.m_remoteReceived = 1;
  }

  std::unique_ptr<CControlEngine> engine = std::make_unique<CControlEngine>();
  CSystemData& d = engine->m_systemData;
  std::unique_ptr<CWifiDevice> device = std::make_unique<CWifiDevice>(nullptr, 1);
  WifiBlock& block = device->Block();
};

TEST_F(WifiBridgeTest, StartWindow_RequestsTheSetupAndCopiesTheFinalAnswers) {
  d.m_wifiPresent = 0;
  d.m_wifiStartCountdown = 180;
  d.m_wifiSsid[0] = u'x';
  Second(1);
  EXPECT_EQ(block.m_enabled, 1);  // enabled in the window even without the parameter
  EXPECT_EQ(block.m_requestCode, 1);
  EXPECT_EQ(block.m_linkFlags & kWifiConfigPending, kWifiConfigPending);
  EXPECT_EQ(block.m_unitCount, 0) << "block 1 not filled yet: nothing for the link to upload";
  EXPECT_EQ(d.m_wifiSsid[0], 0);
  EXPECT_EQ(d.m_wifiStartCountdown, 179);

  // The device answers and completes its setup.
  const std::string longSsid(99, 'S');
  std::strcpy(block.m_answers.ssid, longSsid.c_str());
  std::strcpy(block.m_answers.key, "k\xC3\xA9y");  // UTF-8 text
  std::strcpy(block.m_answers.ipAddress, "192.168.100.200");
  std::strcpy(block.m_answers.serverAddress, "srv.example");
  block.m_serverPort = 40000;
  const uint8_t mac[6] = {1, 2, 3, 4, 5, 6};
  std::memcpy(block.m_mac, mac, 6);
  block.m_mirrorTable[0][0] = 77;
  block.m_linkFlags = kWifiOnline | kWifiLinkSeen;
  Second(2);
  EXPECT_EQ(d.m_wifiStartCountdown, 0);  // closed in the first second after the setup
  EXPECT_EQ(std::u16string(d.m_wifiSsid), std::u16string(49, u'S'));  // cut to the field
  EXPECT_EQ(std::u16string(d.m_wifiKey), u"k\u00E9y");
  EXPECT_EQ(std::u16string(d.m_wifiNetwork), u"192.168.100.200");
  EXPECT_EQ(std::u16string(d.m_serverAddress), u"srv.example");
  EXPECT_EQ(d.m_serverPort, 40000);
  EXPECT_EQ(std::memcmp(d.m_wifiMac, mac, 6), 0);
  EXPECT_EQ(d.m_wifiOnline, 1);
  EXPECT_EQ(d.m_wifiServerSeen, 1);
  EXPECT_EQ(block.m_mirrorTable[0][0], 77);  // no refill in the window

  Second(10);
  EXPECT_EQ(block.m_enabled, 0);  // the parameter alone from here
  EXPECT_EQ(block.m_mirrorPending[0], 136);
  Second(11);
  EXPECT_EQ(block.m_unitCount, 1) << "block 1 filled at second 10";
}

// Block 1 carries the units' values: it is first filled, and the link first told of the unit, once
// both units have answered, or the silent one stands in its link fault.
TEST_F(WifiBridgeTest, ReportStatus_WaitsUntilBothUnitsHaveBeenHeard) {
  d.m_unitsAnswered = kIndoorAnswered;
  d.m_tankTemp = 47.5f;
  Second(10);
  Second(11);
  EXPECT_EQ(block.m_reportPending[0], 0);
  EXPECT_EQ(block.m_statusTable[0][8], 0) << "the tank's word still empty";
  EXPECT_EQ(block.m_unitCount, 0);
  d.m_statusBits = 1u << 18;  // the outdoor link fault
  Second(20);
  EXPECT_EQ(AsFloat(block.m_statusTable[0][8]), 47.5f);
  EXPECT_EQ(block.m_reportPending[0], 45);
  EXPECT_EQ(block.m_unitCount, 0);
  Second(21);
  EXPECT_EQ(block.m_unitCount, 1);
}

TEST_F(WifiBridgeTest, StartWindow_RunsOutAfter180SecondsWithASilentModule) {
  d.m_wifiPresent = 1;
  d.m_wifiStartCountdown = 180;
  for (int s = 0; s < 179; ++s) Second(1);
  EXPECT_EQ(d.m_wifiStartCountdown, 1);
  Second(1);
  EXPECT_EQ(d.m_wifiStartCountdown, 0);
  EXPECT_EQ(d.m_wifiSsid[0], 0);
  EXPECT_EQ(block.m_requestCode, 1);  // still waiting in the device
}

TEST_F(WifiBridgeTest, RemoteSettings_AreTestedAgainstRangesReadAsTheyStand) {
  d.m_wifiControlEnabled = 1;
  d.m_system1MinSetTemp = 20;
  d.m_system1MaxSetTemp = 40;
  d.m_heatSetMax = 45;
  d.m_coolSetMin = 7;
  d.m_heatSetTemp = 30;
  d.m_outdoorPowerOffAmbient = 0;
  d.m_curve1QuickAdjust = 0;
  d.m_systemVersion = 205;
  d.m_runMode = 1;
  // 37 is tested against the maximum of 40 before 39 raises it; 13 raises the bound of 39 before it is tested.
  Received({{37, 45}, {39, 50}, {13, 50}, {129, 5}, {120, -4}, {3, 4}, {0, 0xFF00}, {1, 300}});
  Second(7);
  EXPECT_EQ(d.m_heatSetTemp, 30);
  EXPECT_EQ(d.m_system1MaxSetTemp, 50);
  EXPECT_EQ(d.m_heatSetMax, 50);
  EXPECT_EQ(d.m_outdoorPowerOffAmbient, 0);
  EXPECT_EQ(d.m_curve1QuickAdjust, 0);
  EXPECT_EQ(d.m_runMode, 4);
  for (int i : {37, 39, 13, 129, 120, 3, 0}) EXPECT_EQ(block.m_remoteTable[0][i], 0xFF00) << i;
  EXPECT_EQ(block.m_remoteTable[0][1], 300);  // reported only: stays, no effect
  EXPECT_EQ(d.m_systemVersion, 205);
  EXPECT_EQ(block.m_remoteReceived, 0);

  // Control off: nothing applied, nothing reset; applied at the next write once it is on again.
  d.m_wifiControlEnabled = 0;
  Received({{5, 1}});
  Second(8);
  EXPECT_EQ(d.m_hotWaterEnabled, 0);
  EXPECT_EQ(block.m_remoteTable[0][5], 1);
  EXPECT_EQ(block.m_remoteReceived, 0);
  d.m_wifiControlEnabled = 1;
  Received({});
  Second(9);
  EXPECT_EQ(d.m_hotWaterEnabled, 1);
}

// The outdoor unit's own settings from the server start the hold that carries them to the unit, as
// page 14's do: a new value in range (or one the unit refused last time), once for both in one write;
// a value out of range or the one in force already starts nothing.
TEST_F(WifiBridgeTest, OutdoorSettings_ANewValueStartsTheHoldThatCarriesItToTheUnit) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> written;
    int32_t refusedBefore;
    int fan, defrost;  // in the record after the write
    int hold;
    int index;
  };
  const Case cases[] = {
      {"fan limit 90..100", {{117, 92}}, 0, 92, 0, 180, 117},
      {"defrost method", {{122, 2}}, 0, 100, 2, 180, 122},
      {"both: one hold", {{117, 95}, {122, 1}}, 0, 95, 1, 180, 122},
      {"below the range", {{117, 89}}, 0, 100, 0, 7, 0},
      {"above the range", {{117, 101}, {122, 3}}, 0, 100, 0, 7, 0},
      {"the value in force", {{117, 100}, {122, 0}}, 0, 100, 0, 7, 0},
      {"the value in force, refused last time", {{117, 100}}, 2, 100, 0, 180, 117},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    d.m_wifiControlEnabled = 1;
    d.m_fanMaxSpeedPercent = 100;
    d.m_defrostMethod = 0;
    d.m_outdoorSettingHold = 7;
    d.m_outdoorSettingIndex = 0;
    d.m_outdoorSettingRefused = c.refusedBefore;
    for (const auto& v : c.written) block.m_remoteTable[0][v.first] = v.second;
    block.m_remoteReceived = 1;
    Second(7);
    EXPECT_EQ(d.m_fanMaxSpeedPercent, c.fan);
    EXPECT_EQ(d.m_defrostMethod, c.defrost);
    EXPECT_EQ(d.m_outdoorSettingHold, c.hold);
    EXPECT_EQ(d.m_outdoorSettingIndex, c.index);
    EXPECT_EQ(d.m_outdoorSettingRefused, c.hold == 180 ? 0 : c.refusedBefore);
  }
}

// The link stores the server's values on its own thread while the engine applies them on another.
// Round after round the link stores writes back to back (every index twice), as quickly as frames
// follow each other; once it is done the engine's next second must hold the last value of every index:
// a value lost between the engine's read and its clearing, or left behind in the table with its mark
// taken, counts as lost.
TEST_F(WifiBridgeTest, ServerWritesFromTheLinksThread_NoneIsLostOrLeftBehind) {
  d.m_wifiControlEnabled = 1;
  const int kRounds = 3000;
  std::atomic<int> written{-1};  // the last round the link has finished storing
  std::atomic<int> checked{-1};  // the last round the engine has checked
  std::atomic<bool> stop{false};
  int lost = 0;  // the engine thread's own
  std::thread engineThread([&] {
    int seen = -1;
    while (!stop.load()) {
      engine->WifiExchange();
      const int round = written.load();
      if (round == seen) continue;
      engine->WifiExchange();  // the second after the last store
      lost += enginetest::LostValues(d, block, round);
      seen = round;
      checked = round;
    }
  });
  bool stalled = false;
  for (int round = 0; round < kRounds && !stalled; ++round) {
    enginetest::LinkStoresRound(block, round);
    written = round;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (checked.load() != round && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    stalled = checked.load() != round;
  }
  stop = true;
  engineThread.join();
  ASSERT_FALSE(stalled) << "the engine thread stood still";
  EXPECT_EQ(lost, 0) << "values lost or left behind in " << kRounds << " rounds";
}

TEST_F(WifiBridgeTest, ReportStatus_FillsBlockOneAndAsksForItOnChangeOrOnceAMinute) {
  d.m_demandFlags = 0x08 | 0x10;
  d.m_heatTarget = 34.7f;
  d.m_outletTemp = 41.5f;
  d.m_statusBits = 0x20000;
  d.m_hotWaterBackupEnabled = 1;
  d.m_hotWaterBackupPriority = 1;
  d.m_hwHeaterDemand = 1;  // the second heater with high priority
  d.m_heatHeaterDemand = 1;  // the first heater: backup disabled
  Second(7);
  EXPECT_EQ(block.m_reportPending[0], 0);  // only at tenth seconds
  Second(10);
  const int32_t* w = block.m_statusTable[0];
  EXPECT_EQ(w[1], 0x20000);
  EXPECT_EQ(AsFloat(w[2]), 4.0f);
  EXPECT_EQ(AsFloat(w[3]), 2.0f);
  EXPECT_EQ(AsFloat(w[4]), 1.0f);
  EXPECT_EQ(AsFloat(w[5]), 41.5f);
  EXPECT_EQ(AsFloat(w[37]), 34.0f);
  EXPECT_EQ(block.m_reportPending[0], 45);

  block.m_reportPending[0] = 0;  // sent by the link
  Second(20);
  EXPECT_EQ(block.m_reportPending[0], 0);  // nothing changed
  d.m_demandFlags = 0x20;
  d.m_coolTarget = 7.9f;
  Second(30);
  EXPECT_EQ(AsFloat(w[2]), 3.0f);
  EXPECT_EQ(AsFloat(w[37]), 7.0f);
  EXPECT_EQ(block.m_reportPending[0], 45);
  block.m_reportPending[0] = 0;
  Second(0);
  EXPECT_EQ(block.m_reportPending[0], 45);  // once a minute without a change
}

TEST_F(WifiBridgeTest, ReportState_MirrorsTheSettingsAndAsksAtSecond30) {
  d.m_systemSwitch = 1;
  d.m_curveWater[2] = 38;
  d.m_auxOffAmbientTemp = -7;
  Second(10);
  const int32_t* w = block.m_mirrorTable[0];
  EXPECT_EQ(w[0], 1);
  EXPECT_EQ(w[31], 38);
  EXPECT_EQ(w[135], -7);
  EXPECT_EQ(block.m_mirrorPending[0], 136);
  block.m_mirrorPending[0] = 0;
  Second(20);
  EXPECT_EQ(block.m_mirrorPending[0], 0);
  Second(30);
  EXPECT_EQ(block.m_mirrorPending[0], 136);
  // A pending count not yet taken by the link holds the refill back.
  d.m_systemSwitch = 0;
  Second(40);
  EXPECT_EQ(w[0], 1);
}

TEST_F(WifiBridgeTest, RecordJob_ClearsTheRecordsOnceAndHoldsTheSecond) {
  for (RecordTableEntry& r : g_recordTable) r.value1 = r.value2 = 5;
  g_recordTable[0].value1 = 19;
  d.m_wifiJobState = 3;
  d.m_wifiControlEnabled = 1;
  Received({{5, 1}});
  Second(10);
  EXPECT_EQ(d.m_wifiJobBusy, 3);
  EXPECT_EQ(g_recordTable[1].value1, 0);
  EXPECT_EQ(g_recordTable[49].value2, 0);
  EXPECT_EQ(g_recordTable[0].value2, 5);
  EXPECT_EQ(d.m_hotWaterEnabled, 0);  // nothing else in that second
  EXPECT_EQ(block.m_mirrorPending[0], 0);

  // Busy: never again in this run, and with the first record at 20 it ends at once.
  g_recordTable[1].value1 = 5;
  Second(11);
  EXPECT_EQ(g_recordTable[1].value1, 5);
  d.m_wifiJobBusy = 0;
  g_recordTable[0].value1 = 20;
  Second(12);
  EXPECT_EQ(d.m_wifiJobBusy, 1);
  EXPECT_EQ(g_recordTable[1].value1, 5);
  for (RecordTableEntry& r : g_recordTable) r.value1 = r.value2 = 0;
}

TEST_F(WifiBridgeTest, NoBlock_DoesNothing) {
  engine->m_wifiBlock = nullptr;
  d.m_wifiStartCountdown = 180;
  Second(10);
  EXPECT_EQ(d.m_wifiStartCountdown, 180);
}

}  // namespace
