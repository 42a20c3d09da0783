// Corvalin on the simulated board: the exact traffic of every entry point on the GPIO and watchdog
// drivers and the platform calls, and the debug texts of each failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "BoardFixture.h"

namespace {

typedef int (*IntFn)(int);
typedef int (*VoidIntFn)();
typedef void (*VoidFn)();
typedef int (*SetDivFn)(DWORD);
typedef int (*GetDivFn)(DWORD*, DWORD*, DWORD*);
typedef int (*MacFn)(BYTE*);
typedef int (*TextFn)(char*);

class Corvalin : public LibraryFixture {
protected:
  void SetUp() override {
    BoardFixture::SetUp();
    m_lib = Load(CORVALIN_LIB, "Corvalin.dll");
    ASSERT_NE(m_lib, nullptr);
    panel::ClearBoardEvents();
    panel::ClearDebugLog();
  }
};

std::vector<std::string> PinTraffic(int pin, int level) {
  return {"CreateFile PIO1:", "PIO1: output " + std::to_string(pin),
          "PIO1: level " + std::to_string(pin) + " " + std::to_string(level), "CloseHandle PIO1:"};
}

TEST_F(Corvalin, Exports_AreExactlyTheEntryPointsAndTheirAliases) {
  std::vector<std::string> expected = {
      "Turn_Light",     "TurnLight210",   "KVTurnLight",     "Turn_Beep",       "EnableBeep210",  "KVEnableBeep",
      "BeepOnce",       "BeepOnce210",    "KVBeepOnce",      "Beep",            "Beep210",        "KVBeep",
      "SetMemoryDiv",   "SetMemoryDiv210", "KVSetMemoryDiv", "GetMemoryDiv",    "GetMemoryDiv210", "KVGetMemoryDiv",
      "RebootHot",      "WarmReboot210",  "KVWarmReboot",    "RE_BOOT",         "ColdReboot210",  "KVColdReboot",
      "KVGetMacAddress", "KVGetMacAddress210", "KVGetCpuInfo", "KVEnableWDT",     "KVFeedWDT",      "KVCloseWDT"};
  for (const auto& name : expected) EXPECT_NE(GetProcAddressA(m_lib, name.c_str()), nullptr) << name;
  std::vector<std::string> exports = panel::ModuleExports(m_lib);
  std::sort(exports.begin(), exports.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(exports, expected);
}

TEST_F(Corvalin, PinEntryPoints_ConfigureThenSetLevelInOneOpening) {
  struct Case {
    const char* name;
    int arg;
    int pin;
  };
  const Case cases[] = {
      {"Turn_Light", 1, 114},   {"Turn_Light", 0, 114}, {"TurnLight210", 1, 114}, {"KVTurnLight", 0, 114},
      {"Turn_Beep", 1, 91},     {"Turn_Beep", 0, 91},   {"EnableBeep210", 1, 91}, {"KVEnableBeep", 0, 91},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + "(" + std::to_string(c.arg) + ")");
    panel::ClearBoardEvents();
    EXPECT_EQ(Fn<IntFn>(c.name)(c.arg), 1);
    EXPECT_EQ(Events(), PinTraffic(c.pin, c.arg));
  }
}

TEST_F(Corvalin, BeepOnce_RaisesBeeperFor50ms) {
  panel::ScopedVirtualClock clock(1000);
  EXPECT_EQ(Fn<IntFn>("BeepOnce")(1), 1);
  std::vector<std::string> expected = PinTraffic(91, 1);
  for (const auto& e : PinTraffic(91, 0)) expected.push_back(e);
  EXPECT_EQ(Events(), expected);
  auto levels = EventsStarting("PIO1: level");
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0].tick, 1000u);
  EXPECT_EQ(levels[1].tick, 1050u);
}

TEST_F(Corvalin, LevelOutsideOnOff_TouchesNoDriver) {
  const char* names[] = {"Turn_Light", "Turn_Beep", "BeepOnce", "KVTurnLight"};
  for (const char* name : names) {
    for (int level : {2, -1, 255}) {
      SCOPED_TRACE(std::string(name) + "(" + std::to_string(level) + ")");
      EXPECT_EQ(Fn<IntFn>(name)(level), 0);
    }
  }
  EXPECT_TRUE(Events().empty());
}

TEST_F(Corvalin, NoGpioDriver_WritesDebugTextOnceAndReturns) {
  m_root.Write("board/drivers", "WDT1:\n");
  panel::ResetBoard();
  EXPECT_EQ(Fn<IntFn>("Turn_Light")(1), 0);
  EXPECT_EQ(Events(), (std::vector<std::string>{"CreateFile PIO1: -> 2", "debug Open GPIO failed.\r\n"}));
  EXPECT_EQ(panel::DebugLog(), (std::vector<std::string>{"Open GPIO failed.\r\n"}));
}

TEST_F(Corvalin, Beep_OnlyWritesItsDebugText) {
  for (const char* name : {"Beep", "Beep210", "KVBeep"}) Fn<VoidFn>(name)();
  std::vector<std::string> text(3, "debug Beep335X now is null \r\n!");
  EXPECT_EQ(Events(), text);
}

TEST_F(Corvalin, Watchdog_ArmedFedAndClosed) {
  EXPECT_EQ(Fn<IntFn>("KVEnableWDT")(1), 0);
  EXPECT_TRUE(panel::BoardWatchdogArmed());
  EXPECT_EQ(Fn<VoidIntFn>("KVFeedWDT")(), 1);
  EXPECT_EQ(Fn<VoidIntFn>("KVCloseWDT")(), 1);
  EXPECT_FALSE(panel::BoardWatchdogArmed());
  EXPECT_EQ(Events(), (std::vector<std::string>{"CreateFile WDT1:", "WDT1: enable 1", "CloseHandle WDT1:",
                                                "CreateFile WDT1:", "WDT1: feed", "CloseHandle WDT1:",
                                                "CreateFile WDT1:", "WDT1: close", "CloseHandle WDT1:"}));
}

TEST_F(Corvalin, WatchdogLevelOutOfRange_LeavesItUnarmed) {
  for (int level : {3, -1}) EXPECT_EQ(Fn<IntFn>("KVEnableWDT")(level), 0);
  EXPECT_FALSE(panel::BoardWatchdogArmed());
  std::vector<std::string> text(2, "debug watchdog level parameter error \r\n");
  EXPECT_EQ(Events(), text);
}

TEST_F(Corvalin, WatchdogFailures_WriteTheirTextsAndCloseTheDriver) {
  panel::SetBoardDriverFailing("WDT1:", true);
  Fn<IntFn>("KVEnableWDT")(0);
  EXPECT_EQ(Fn<VoidIntFn>("KVFeedWDT")(), 0);
  EXPECT_EQ(Fn<VoidIntFn>("KVCloseWDT")(), 0);
  EXPECT_EQ(panel::DebugLog(), (std::vector<std::string>{"enable watchdog failde \r\n", "feed watchdog failde \r\n",
                                                         "close watchdog failde \r\n"}));
  EXPECT_EQ(EventsStarting("CloseHandle WDT1:").size(), 3u);

  m_root.Write("board/drivers", "PIO1:\n");
  panel::ResetBoard();
  panel::ClearDebugLog();
  Fn<VoidIntFn>("RebootHot")();
  EXPECT_EQ(panel::DebugLog(), (std::vector<std::string>{"CreateFile Failed,GetLastError():2 \r\n"}));
}

TEST_F(Corvalin, HotReboot_ArmsLevel0AndTheBoardResetsAtItsTimeOut) {
  panel::ScopedVirtualClock clock;
  for (const char* name : {"RebootHot", "WarmReboot210", "KVWarmReboot"}) {
    SCOPED_TRACE(name);
    panel::ClearBoardEvents();
    m_reboots.clear();
    Fn<VoidIntFn>(name)();
    EXPECT_EQ(Events(), (std::vector<std::string>{"CreateFile WDT1:", "WDT1: enable 0", "CloseHandle WDT1:"}));
    clock->Advance(4999);
    panel::PollBoardWatchdogs();
    EXPECT_TRUE(m_reboots.empty());
    clock->Advance(1);
    panel::PollBoardWatchdogs();
    EXPECT_EQ(m_reboots, std::vector<std::string>{"watchdog"});
    EXPECT_FALSE(panel::BoardWatchdogArmed());
  }
  std::string record;
  EXPECT_TRUE(panel::ReadTextFile(m_root / "board/reboot", record));
  EXPECT_EQ(record, "watchdog\n");
}

TEST_F(Corvalin, ColdReboot_MarksACleanBootThenArmsTheWatchdog) {
  Fn<VoidIntFn>("RE_BOOT")();
  EXPECT_EQ(Events(),
            (std::vector<std::string>{"SetCleanRebootFlag", "CreateFile WDT1:", "WDT1: enable 0", "CloseHandle WDT1:"}));
  EXPECT_TRUE(std::filesystem::exists(m_root / "board/clean-boot"));
  EXPECT_TRUE(panel::BoardWatchdogArmed());
}

TEST_F(Corvalin, MemoryDivision_SetThroughCoreLibraryAndReadBack) {
  m_root.Write("board/memory", "4096 12288 4096\n");
  panel::ResetBoard();
  EXPECT_EQ(Fn<SetDivFn>("SetMemoryDiv")(3000), 1);
  DWORD store = 0, ram = 0, page = 0;
  EXPECT_EQ(Fn<GetDivFn>("KVGetMemoryDiv")(&store, &ram, &page), 1);
  EXPECT_EQ(store, 3000u);
  EXPECT_EQ(ram, 13384u);
  EXPECT_EQ(page, 4096u);
  EXPECT_EQ(Fn<SetDivFn>("SetMemoryDiv210")(0), 0);  // refused by the platform
  EXPECT_EQ(Events(), (std::vector<std::string>{"SetSystemMemoryDivision 3000 -> 0",
                                                "GetSystemMemoryDivision 3000 13384 4096",
                                                "SetSystemMemoryDivision 0 -> 3"}));
}

TEST_F(Corvalin, MemoryDivisionWithoutPlatformCall_ReportsFailure) {
  DWORD store = 0, ram = 0, page = 0;
  panel::HideSystemExport("SetSystemMemoryDivision", true);
  EXPECT_EQ(Fn<SetDivFn>("SetMemoryDiv")(3000), 0);
  EXPECT_EQ(panel::DebugLog(), std::vector<std::string>{"SetMemoryDiv335X false \r\n!"});

  panel::ClearDebugLog();
  panel::SetSystemModuleAvailable(false);
  EXPECT_EQ(Fn<SetDivFn>("SetMemoryDiv")(3000), 0);
  EXPECT_EQ(Fn<GetDivFn>("GetMemoryDiv")(&store, &ram, &page), 0);
  EXPECT_EQ(panel::DebugLog(), (std::vector<std::string>{"load coredll.dll false!\r\n!", "SetMemoryDiv335X false \r\n!",
                                                         "load coredll.dll false!\r\n!", "GetMemoryDiv335X false \r\n!"}));
  EXPECT_EQ(EventsStarting("SetSystemMemoryDivision").size(), 0u);
}

TEST_F(Corvalin, MacAddress_FirstAdapterCopiedIntoSixBytes) {
  m_root.Write("board/mac", "00:1A:2B:3C:4D:5E\n");
  BYTE out[8];
  std::memset(out, 0xCC, sizeof out);
  EXPECT_EQ(Fn<MacFn>("KVGetMacAddress")(out), 1);
  const BYTE expected[8] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0xCC, 0xCC};  // guard bytes untouched
  EXPECT_EQ(std::memcmp(out, expected, sizeof out), 0);

  std::filesystem::remove(m_root / "board/mac");
  std::memset(out, 0xCC, sizeof out);
  EXPECT_EQ(Fn<MacFn>("KVGetMacAddress210")(out), 0);
  EXPECT_EQ(out[0], 0xCC);
}

TEST_F(Corvalin, CpuInfo_JoinsVendorCoreAndName) {
  struct Case {
    const char* config;
    const char* text;
  };
  const std::string longVendor(150, 'V');
  const Case cases[] = {
      {"vendor=Acme\ncore=ARM\nname=335X\n", "Acme, ARM-335X"},
      {"vendor=Acme\ncore=\nname=335X\n", "Acme, 335X"},
      {"vendor=Acme\ncore=ARM\nname=\n", "Acme, ARM"},
      {"vendor=\ncore=ARM\nname=335X\n", "ARM-335X"},
      {"vendor=Acme\ncore=\nname=\n", "Acme"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.config);
    m_root.Write("board/cpuinfo", c.config);
    char out[200];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(Fn<TextFn>("KVGetCpuInfo")(out), 1);
    EXPECT_STREQ(out, c.text);
  }
  // The longest text fits its 184 bytes: each field is read only up to its own length.
  m_root.Write("board/cpuinfo", "vendor=" + longVendor + "\ncore=" + std::string(39, 'C') + "\nname=" +
                                    std::string(39, 'N') + "\n");
  char out[200];
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(Fn<TextFn>("KVGetCpuInfo")(out), 1);
  EXPECT_EQ(std::strlen(out), 99u + 2 + 39 + 1 + 39);
  EXPECT_EQ(out[180], 0);
  EXPECT_EQ(out[181], 'x');
}

}  // namespace
