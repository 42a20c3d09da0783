#include "CWatchdog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BoardLib.h"

namespace {

std::atomic<int> g_reboots{0};
std::atomic<DWORD> g_firstRebootTick{0};
int RecordReboot() {
  if (g_reboots++ == 0) g_firstRebootTick = GetTickCount();
  return 0;
}

class CWatchdogTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_reboots = 0;
    for (auto& c : AliveCounters) c = 0;
  }
  CWatchdog dog{RecordReboot};
};

TEST_F(CWatchdogTest, SupervisedCounterUnclaimed_RebootFromSecond301EverySecond) {
  struct Case {
    const char* name;
    int counter;
  };
  for (const Case& c : {Case{"engine", 0}, Case{"screen timer", 2}, Case{"memory", 3}}) {
    SCOPED_TRACE(c.name);
    SetUp();
    for (int second = 1; second <= 300; ++second) {
      for (int i : {0, 2, 3}) {
        if (i != c.counter) AliveCounters[i] = 0;
      }
      dog.OnTick();
    }
    EXPECT_EQ(AliveCounters[c.counter], 300);
    EXPECT_EQ(g_reboots, 0) << "300 is still within the limit";
    dog.OnTick();
    EXPECT_EQ(g_reboots, 1);
    dog.OnTick();
    dog.OnTick();
    EXPECT_EQ(g_reboots, 3) << "asked again each second while the board has not restarted";
    AliveCounters[c.counter] = 0;
    dog.OnTick();
    EXPECT_EQ(g_reboots, 3);
  }
}

TEST_F(CWatchdogTest, UnsupervisedCounters_GrowWithoutReboot) {
  for (int second = 0; second < 1000; ++second) {
    AliveCounters[0] = 0;
    AliveCounters[2] = 0;
    AliveCounters[3] = 0;
    dog.OnTick();
  }
  EXPECT_EQ(g_reboots, 0);
  for (int i : {1, 4, 5, 6, 7, 8, 9}) EXPECT_EQ(AliveCounters[i], 1000) << i;
}

TEST_F(CWatchdogTest, EnableTwice_ClearsCountersOnce) {
  panel::ScopedVirtualClock clock(0, 1767225600000LL, false);  // the thread never ticks here
  AliveCounters[5] = 42;
  EXPECT_EQ(dog.Enable(1), 1);
  EXPECT_EQ(AliveCounters[5], 0);
  EXPECT_EQ(dog.GetPeriod(), 1000u);
  AliveCounters[5] = 7;
  EXPECT_EQ(dog.Enable(1), 1);
  EXPECT_EQ(AliveCounters[5], 7);
  EXPECT_EQ(dog.Enable(0), 0);
  EXPECT_FALSE(dog.HasThread());
  EXPECT_EQ(dog.Enable(0), 0);
}

TEST_F(CWatchdogTest, EngineStopped_ThreadRequestsRebootAfter301Seconds) {
  panel::ScopedVirtualClock clock;  // the watchdog's own idle sleeps move time
  DWORD start = GetTickCount();
  ASSERT_EQ(dog.Enable(1), 1);
  while (g_reboots == 0) std::this_thread::yield();
  dog.Enable(0);
  DWORD elapsed = g_firstRebootTick - start;
  EXPECT_GE(elapsed, 301000u);
  EXPECT_LT(elapsed, 302100u);
  EXPECT_GE(AliveCounters[0], 301);
}

TEST(CWatchdog, RebootRequest_WaitsWhileBoardLibraryIsReleased) {
  CWatchdog board;  // the program's own reboot call
  for (auto& c : AliveCounters) c = 0;
  AliveCounters[0] = 400;
  std::atomic<bool> returned{false};
  std::thread tick;
  {
    // The shut-down's release holds the lock while it unloads the library.
    CriticalSectionLock release(BoardCallLock());
    tick = std::thread([&] {
      board.OnTick();
      returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(returned) << "the request must not look into a library being unloaded";
    FreeBoardLib();  // the same thread may take the lock again
  }
  tick.join();
  EXPECT_TRUE(returned);
  EXPECT_EQ(g_hBoardLib, nullptr);
}

}  // namespace
