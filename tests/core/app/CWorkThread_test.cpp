#include "CWorkThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

// Records the tick count of every tick; one tick may be told to overrun.
class Recorder : public CWorkThread {
public:
  explicit Recorder(DWORD idle) : CWorkThread(idle) {}
  ~Recorder() override { Stop(); }
  std::vector<DWORD> ticks;
  DWORD overrunOnTick = 0;  // 1-based tick that sleeps overrunMs
  DWORD overrunMs = 0;
  size_t stopAfter = 0;  // the tick that ends the loop itself

  void WaitUntilStopped() {
    while (IsRunning()) std::this_thread::yield();
    Stop();
  }

protected:
  void OnTick() override {
    ticks.push_back(GetTickCount());
    if (ticks.size() == overrunOnTick) Sleep(overrunMs);
    if (stopAfter && ticks.size() >= stopAfter) m_running = 0;
  }
};

TEST(CWorkThread, OverrunningTick_IsFollowedByCatchUpTicks) {
  panel::ScopedVirtualClock clock(1000);
  Recorder r(10);
  r.SetPeriod(500);
  r.SetEnabled(1);
  r.overrunOnTick = 1;
  r.overrunMs = 1200;
  r.stopAfter = 5;
  ASSERT_EQ(r.Start(), 1);
  r.WaitUntilStopped();
  ASSERT_EQ(r.ticks.size(), 5u);
  // First tick one period after the start; the 1,200 ms tick is followed by two immediate ticks
  // (one idle sleep apart), then the 500 ms rhythm resumes on the original schedule.
  EXPECT_EQ(r.ticks[0], 1500u);
  EXPECT_EQ(r.ticks[1], 2710u);
  EXPECT_EQ(r.ticks[2], 2720u);
  EXPECT_EQ(r.ticks[3], 3000u);
  EXPECT_EQ(r.ticks[4], 3500u);
}

TEST(CWorkThread, Schedule_SurvivesTheWrapOfTheTickCount) {
  panel::ScopedVirtualClock clock(0xFFFFFF00u);
  Recorder r(100);
  r.SetPeriod(500);
  r.SetEnabled(1);
  r.stopAfter = 3;
  r.Start();
  r.WaitUntilStopped();
  ASSERT_EQ(r.ticks.size(), 3u);
  EXPECT_EQ(r.ticks[0], 0xFFFFFF00u + 500u);  // already wrapped
  EXPECT_EQ(r.ticks[1] - r.ticks[0], 500u);
  EXPECT_EQ(r.ticks[2] - r.ticks[1], 500u);
}

TEST(CWorkThread, Disabled_LoopRunsButNeverTicks) {
  panel::ScopedVirtualClock clock(0, 0, false);
  Recorder r(50);
  r.SetPeriod(100);
  r.Start();
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(clock->WaitForSleepers(1));
    clock->Advance(50);
  }
  EXPECT_TRUE(r.ticks.empty());
  EXPECT_EQ(r.IsInLoop(), 1);
  clock->SetSleepAdvances(true);
  r.Stop();
  EXPECT_EQ(r.IsInLoop(), 0);
}

// Counts the sleeps between passes.
class CountingClock : public panel::VirtualClock {
public:
  explicit CountingClock(uint64_t start) : VirtualClock(start) {}
  void SleepWakeable(DWORD ms, panel::WakeableSleep& sleep) override {
    ++sleeps;
    VirtualClock::SleepWakeable(ms, sleep);
  }
  std::atomic<int> sleeps{0};
};

TEST(CWorkThread, LongPeriod_ThreadWakesForItsTicksOnly) {
  CountingClock clock(5000);
  panel::SetClock(&clock);
  Recorder r(20);
  r.SetPeriod(1000);
  r.SetEnabled(1);
  r.stopAfter = 5;
  ASSERT_EQ(r.Start(), 1);
  r.WaitUntilStopped();
  panel::SetClock(nullptr);
  EXPECT_EQ(r.ticks, (std::vector<DWORD>{6000, 7000, 8000, 9000, 10000}));
  EXPECT_EQ(clock.sleeps, 6) << "one sleep before each tick and the one after the last, not 50 a second";
}

TEST(CWorkThread, Stop_EndsALongSleepAtOnce) {
  Recorder r(20);
  r.SetPeriod(60000);
  r.SetEnabled(1);
  ASSERT_EQ(r.Start(), 1);
  while (r.IsInLoop() == 0) Sleep(1);
  Sleep(50);  // asleep until its first tick, a minute away
  const auto start = std::chrono::steady_clock::now();
  r.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_TRUE(r.ticks.empty());
  EXPECT_FALSE(r.HasThread());
}

TEST(CWorkThread, StartStop_RealThread) {
  Recorder r(1);
  EXPECT_EQ(r.Stop(), 1);  // never started: returns at once
  r.SetPeriod(0);          // period 0 ticks on every pass
  r.SetEnabled(1);
  ASSERT_EQ(r.Start(), 1);
  DWORD id = r.GetThreadId();
  EXPECT_EQ(r.Start(), 1);  // already running: no second thread
  EXPECT_EQ(r.GetThreadId(), id);
  while (r.IsInLoop() == 0) Sleep(1);
  Sleep(20);
  r.Stop();
  EXPECT_FALSE(r.HasThread());
  EXPECT_EQ(r.IsEnabled(), 0);
  EXPECT_GT(r.ticks.size(), 0u);
  size_t n = r.ticks.size();
  Sleep(10);
  EXPECT_EQ(r.ticks.size(), n);
  ASSERT_EQ(r.Start(), 1);  // may be started again
  r.Stop();
}

}  // namespace
