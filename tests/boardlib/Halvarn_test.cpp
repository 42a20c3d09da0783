// Halvarn on the simulated S3C2416 board: the exact register writes of every entry point, the
// boot-loader words it depends on, and its beeper pulses on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "BoardFixture.h"

namespace {

typedef int (*IntFn)(int);
typedef int (*VoidIntFn)();
typedef void (*BeepFn)(int, int);
typedef int (*SetDivFn)(DWORD);
typedef int (*GetDivFn)(DWORD*, DWORD*, DWORD*);
typedef int (*FifoFn)(int, int);

std::string W(uint32_t address, uint32_t value) {
  char text[40];
  std::snprintf(text, sizeof text, "write32 0x%08X 0x%08X", address, value);
  return text;
}

class Halvarn : public LibraryFixture {
protected:
  void SetUp() override {
    BoardFixture::SetUp();
    m_root.Write("board/processor", "2577\n");
    m_lib = Load(HALVARN_LIB, "Halvarn.dll");
    ASSERT_NE(m_lib, nullptr);
  }

  // Starts the board with these register and boot-loader words.
  void Registers(const std::string& lines) {
    m_root.Write("board/registers", lines);
    panel::ResetBoard();
    panel::ClearDebugLog();
  }
};

TEST_F(Halvarn, Exports_AreExactlyItsNineEntryPoints) {
  std::vector<std::string> expected = {"Beep",      "BeepOnce",     "GetMemoryDiv", "RE_BOOT",   "RebootHot",
                                       "SetMemoryDiv", "SetUartFifo", "Turn_Beep",    "Turn_Light"};
  for (const auto& name : expected) EXPECT_NE(GetProcAddressA(m_lib, name.c_str()), nullptr) << name;
  std::vector<std::string> exports = panel::ModuleExports(m_lib);
  std::sort(exports.begin(), exports.end());
  EXPECT_EQ(exports, expected);
}

TEST_F(Halvarn, TurnLight_DrivesGpc8OnTheGpioBoard) {
  struct Case {
    int on;
    uint32_t datBefore;
    uint32_t datAfter;
  };
  const Case cases[] = {{1, 0x00000000, 0x00000100}, {0, 0xFFFFFFFF, 0xFFFFFEFF}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.on);
    Registers("0xB2100020 0xAAAAAAAA\n0xB2100028 0x55555555\n0xB2100024 " + std::to_string(c.datBefore) + "\n");
    EXPECT_EQ(Fn<IntFn>("Turn_Light")(c.on), 1);
    EXPECT_EQ(Events(), (std::vector<std::string>{W(0xB2100020, 0xAAA9AAAA), W(0xB2100028, 0x55565555),
                                                  W(0xB2100024, c.datAfter)}));
  }
}

TEST_F(Halvarn, TurnLight_OnBoards7And8GoesThroughThePlatform) {
  struct Case {
    const char* boardCode;
    int on;
    const char* event;
  };
  const Case cases[] = {
      {"7", 1, "KernelIoControl 0x01012000 in 03 00 00 00"},
      {"7", 0, "KernelIoControl 0x01012000 in 02 00 00 00"},
      {"8", 1, "KernelIoControl 0x01012000 in 03 00 00 00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.boardCode) + " " + std::to_string(c.on));
    Registers(std::string("0xA0020092 ") + c.boardCode + "\n");
    EXPECT_EQ(Fn<IntFn>("Turn_Light")(c.on), 1);
    EXPECT_EQ(Events(), std::vector<std::string>{c.event});
  }
}

TEST_F(Halvarn, LevelOutsideOnOff_TouchesNothingOnEitherBoard) {
  for (const char* boardCode : {"0", "7"}) {
    Registers(std::string("0xA0020092 ") + boardCode + "\n");
    for (int level : {2, -1}) {
      EXPECT_EQ(Fn<IntFn>("Turn_Light")(level), 0);
      EXPECT_EQ(Fn<IntFn>("Turn_Beep")(level), 0);
    }
    EXPECT_TRUE(Events().empty()) << boardCode;
  }
}

TEST_F(Halvarn, TurnBeep_UsesThePinWordOrFallsBackToGpb0) {
  struct Case {
    const char* name;
    uint32_t word;
    uint32_t con, conValue, dat, datValue;
    bool complains;
  };
  const Case cases[] = {
      {"GPB0", 0x5010A000, 0xB2100010, 0x00000001, 0xB2100014, 0x00000001, false},
      {"GPD5", 0x5030A005, 0xB2100030, 0x00000400, 0xB2100034, 0x00000020, false},
      {"GPH15", 0x5070A00F, 0xB2100070, 0x40000000, 0xB2100074, 0x00008000, false},
      {"bad marker", 0x12345678, 0xB2100010, 0x00000001, 0xB2100014, 0x00000001, true},
      {"pin 20", 0x5010A014, 0xB2100010, 0x00000001, 0xB2100014, 0x00000001, true},
      {"pin 255", 0x5010A0FF, 0xB2100010, 0x00000001, 0xB2100014, 0x00000001, true},
      {"port beyond H", 0x5090A003, 0xB2100010, 0x00000001, 0xB2100014, 0x00000001, true},
      {"port between CONs", 0x5015A003, 0xB2100010, 0x00000001, 0xB2100014, 0x00000001, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    char word[16];
    std::snprintf(word, sizeof word, "0x%08X", c.word);
    Registers(std::string("0xA0020094 ") + word + "\n");
    EXPECT_EQ(Fn<IntFn>("Turn_Beep")(1), 1);
    std::vector<std::string> expected;
    if (c.complains) {
      char text[64];
      std::snprintf(text, sizeof text, "debug Touch: Get IO error! 0x%x.\r\n", c.word);
      expected.push_back(text);
    }
    expected.push_back(W(c.con, c.conValue));
    expected.push_back(W(c.dat, c.datValue));
    EXPECT_EQ(Events(), expected);
  }
}

TEST_F(Halvarn, Beep_ProgramsTimer0AndSoundsForItsDuration) {
  panel::ScopedVirtualClock clock(5000);
  Registers("0xB1A00000 0x00000100\n0xB1A00008 0x00000F00\n");
  Fn<BeepFn>("Beep")(1000, 200);
  EXPECT_EQ(Events(), (std::vector<std::string>{
                          W(0xB2100010, 0x00000002),  // GPB0 is TOUT0
                          W(0xB1A00000, 0x000001F7),  // prescaler 247, other bits kept
                          W(0xB1A0000C, 134),         // 134409 / 1000
                          W(0xB1A00010, 107),         // 134 * 8 / 10
                          W(0xB1A00008, 0x00000F00), W(0xB1A00008, 0x00000F02), W(0xB1A00008, 0x00000F00),
                          W(0xB1A00008, 0x00000F0D),  // start, inverter, auto-reload
                          W(0xB1A00008, 0x00000F00),  // stop
                          W(0xB2100010, 0x00000001), W(0xB2100014, 0x00000000),
                      }));
  auto timer = EventsStarting("write32 0xB1A00008");
  ASSERT_EQ(timer.size(), 5u);
  EXPECT_EQ(timer[3].tick, 5000u);
  EXPECT_EQ(timer[4].tick, 5200u);
}

TEST_F(Halvarn, Beep_NoFrequencyOrNoGpb0Beeper_DoesNothing) {
  Registers("");
  Fn<BeepFn>("Beep")(0, 100);
  Fn<BeepFn>("Beep")(-440, 100);
  Fn<BeepFn>("Beep")(1000, -1);
  EXPECT_TRUE(Events().empty());

  Registers("0xA0020094 0x5030A005\n");
  Fn<BeepFn>("Beep")(1000, 100);
  EXPECT_EQ(Events(), std::vector<std::string>{"debug This Device Is Not Suport!\r\n"});
}

TEST_F(Halvarn, BeepOnce_SecondPulseWaitsForTheFirst) {
  panel::ScopedVirtualClock clock(0, 1767225600000LL, /*sleepAdvances=*/false);
  Registers("");
  auto beepOnce = Fn<IntFn>("BeepOnce");
  ASSERT_EQ(beepOnce(0), 1);
  ASSERT_TRUE(clock->WaitForSleepers(1));  // the first pulse sounds
  clock->Advance(10);
  std::atomic<bool> secondDone{false};
  std::thread second([&] {
    beepOnce(0);
    secondDone = true;
  });
  ASSERT_TRUE(clock->WaitForSleepers(2));  // the second caller waits in 1 ms steps
  clock->Advance(90);                      // the first pulse ends
  auto data = [] { return EventsStarting("write32 0xB2100014"); };
  ASSERT_TRUE(WaitUntil([&] { return data().size() >= 2; }));
  for (int step = 0; step < 10 && !secondDone; ++step) {
    clock->Advance(1);
    WaitUntil([&] { return secondDone.load(); }, 50);
  }
  second.join();
  ASSERT_TRUE(secondDone);
  ASSERT_TRUE(clock->WaitForSleepers(1));  // the second pulse sounds
  clock->Advance(100);
  ASSERT_TRUE(WaitUntil([&] { return data().size() == 4; }));

  auto writes = data();
  EXPECT_EQ(writes[0].text, W(0xB2100014, 1));
  EXPECT_EQ(writes[1].text, W(0xB2100014, 0));
  EXPECT_EQ(writes[2].text, W(0xB2100014, 1));
  EXPECT_EQ(writes[3].text, W(0xB2100014, 0));
  EXPECT_EQ(writes[0].tick, 0u);
  EXPECT_EQ(writes[1].tick, 100u);
  EXPECT_GE(writes[2].tick, 100u);
  EXPECT_LE(writes[2].tick, 110u);
  EXPECT_EQ(writes[3].tick - writes[2].tick, 100u);
}

TEST_F(Halvarn, UnloadDuringPulse_WaitsForThePulseToEnd) {
  panel::ScopedVirtualClock clock(0, 1767225600000LL, /*sleepAdvances=*/false);
  Registers("");
  ASSERT_EQ(Fn<IntFn>("BeepOnce")(0), 1);
  ASSERT_TRUE(clock->WaitForSleepers(1));
  Forget(m_lib);
  std::atomic<bool> unloaded{false};
  std::thread unload([&] {
    FreeLibrary(m_lib);
    unloaded = true;
  });
  EXPECT_FALSE(WaitUntil([&] { return unloaded.load(); }, 100));  // still sounding: the unload waits
  clock->Advance(100);
  unload.join();
  auto writes = EventsStarting("write32 0xB2100014");
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[1].text, W(0xB2100014, 0));
}

TEST_F(Halvarn, HotReboot_ResetsThroughSwrstAtOnce) {
  Registers("");
  Fn<VoidIntFn>("RebootHot")();
  EXPECT_EQ(Events(), (std::vector<std::string>{W(0xB1000044, 0x533C2416), "reboot software reset"}));
  EXPECT_EQ(m_reboots, std::vector<std::string>{"software reset"});
}

TEST_F(Halvarn, ColdReboot_WatchdogResetsAfter50Counts) {
  panel::ScopedVirtualClock clock;
  Registers("");
  Fn<VoidIntFn>("RE_BOOT")();
  EXPECT_EQ(Events(), (std::vector<std::string>{W(0xB1C00004, 50), W(0xB1C00008, 50), W(0xB1C00000, 0xD039)}));
  // 50 counts at 66.5 MHz / 209 / 128: 20.1 ms.
  clock->Advance(20);
  panel::PollBoardWatchdogs();
  EXPECT_TRUE(m_reboots.empty());
  clock->Advance(1);
  panel::PollBoardWatchdogs();
  EXPECT_EQ(m_reboots, std::vector<std::string>{"watchdog"});
}

TEST_F(Halvarn, MemoryDivision_SetAndRead) {
  Registers("");
  EXPECT_EQ(Fn<SetDivFn>("SetMemoryDiv")(5000), 1);
  EXPECT_EQ(Fn<SetDivFn>("SetMemoryDiv")(0), 0);
  DWORD store = 0, ram = 0, page = 0;
  EXPECT_NE(Fn<GetDivFn>("GetMemoryDiv")(&store, &ram, &page), 0);
  EXPECT_EQ(store, 5000u);
  EXPECT_EQ(ram, 11384u);
  EXPECT_EQ(Fn<GetDivFn>("GetMemoryDiv")(&store, nullptr, &page), 0);
  EXPECT_EQ(Events(), (std::vector<std::string>{"SetSystemMemoryDivision 5000 -> 0", "SetSystemMemoryDivision 0 -> 3",
                                                "GetSystemMemoryDivision 5000 11384 4096",
                                                "GetSystemMemoryDivision refused"}));
}

TEST_F(Halvarn, SetUartFifo_SetsTriggerLevelBitsOnly) {
  struct Case {
    int level, uart, result;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {2, 1, 1, {W(0xB1900008, 0x000000EF)}},
      {0, 2, 1, {W(0xB1904008, 0x000000CF)}},
      {3, 4, 1, {W(0xB190C008, 0x000000FF)}},
      {4, 1, 0, {}},
      {-1, 1, 0, {}},
      {1, 0, 0, {}},
      {1, 5, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.level) + ", " + std::to_string(c.uart));
    Registers("0xB1900008 0xFF\n0xB1904008 0xFF\n0xB1908008 0xFF\n0xB190C008 0xFF\n");
    EXPECT_EQ(Fn<FifoFn>("SetUartFifo")(c.level, c.uart), c.result);
    EXPECT_EQ(Events(), c.events);
  }
}

}  // namespace
