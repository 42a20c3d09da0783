#include "Clock.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

#include "Paths.h"
#include "TempRoot.h"

namespace {

SYSTEMTIME Time(int y, int mo, int d, int h, int mi, int s) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(mo);
  t.wDay = static_cast<WORD>(d);
  t.wHour = static_cast<WORD>(h);
  t.wMinute = static_cast<WORD>(mi);
  t.wSecond = static_cast<WORD>(s);
  return t;
}

TEST(Clock, Calendar_RoundTripsWithWeekday) {
  SYSTEMTIME t = Time(2024, 2, 29, 23, 59, 58);
  SYSTEMTIME back = panel::EpochMsToSystemTime(panel::SystemTimeToEpochMs(t));
  EXPECT_EQ(back.wYear, 2024);
  EXPECT_EQ(back.wMonth, 2);
  EXPECT_EQ(back.wDay, 29);
  EXPECT_EQ(back.wSecond, 58);
  EXPECT_EQ(back.wDayOfWeek, 4);  // a Thursday
  EXPECT_EQ(panel::SystemTimeToEpochMs(Time(1970, 1, 1, 0, 0, 1)), 1000);
}

TEST(Clock, OffsetFile_ReadsSecondsAndHoldsDamagedValuesInRange) {
  const int64_t kMaxMs = 200LL * 366 * 86400 * 1000;
  struct Case {
    const char* name;
    const char* text;
    int64_t wantMs;
  };
  const Case cases[] = {
      {"seconds with newline", "3600\n", 3600000},
      {"negative", "-90", -90000},
      {"not a number", "abc", 0},
      {"empty", "", 0},
      {"beyond the type", "99999999999999999999999", kMaxMs},
      {"far past", "-9000000000000", -kMaxMs},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(panel::ParseClockOffsetMs(c.text), c.wantMs);
  }
}

TEST(Clock, VirtualClock_MovesOnlyWhenAdvancedOrSlept) {
  panel::ScopedVirtualClock clock(0xFFFFFF00u);
  DWORD t0 = GetTickCount();
  EXPECT_EQ(GetTickCount(), t0);
  clock->Advance(0x200);
  EXPECT_EQ(GetTickCount() - t0, 0x200u);  // unsigned difference across the wrap
  EXPECT_LT(GetTickCount(), t0);
  Sleep(1000);
  EXPECT_EQ(GetTickCount() - t0, 0x200u + 1000u);
}

TEST(Clock, SetLocalTime_ShiftsLocalTimeOnly) {
  panel::ScopedVirtualClock clock;
  DWORD ticks = GetTickCount();
  SYSTEMTIME want = Time(2030, 6, 1, 12, 0, 0);
  ASSERT_TRUE(SetLocalTime(&want));
  clock->Advance(61000);
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 2030);
  EXPECT_EQ(now.wHour, 12);
  EXPECT_EQ(now.wMinute, 1);
  EXPECT_EQ(now.wSecond, 1);
  EXPECT_EQ(GetTickCount() - ticks, 61000u);
  SYSTEMTIME bad = Time(2023, 2, 29, 0, 0, 0);
  EXPECT_FALSE(SetLocalTime(&bad));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Clock, BlockingSleep_WaitsForTheTestToAdvance) {
  panel::ScopedVirtualClock clock(0, 0, false);
  std::atomic<bool> woke{false};
  std::thread worker([&] {
    Sleep(500);
    woke = true;
  });
  ASSERT_TRUE(clock->WaitForSleepers(1));
  clock->Advance(499);
  EXPECT_FALSE(woke.load());
  clock->Advance(1);
  worker.join();
  EXPECT_TRUE(woke.load());
}

TEST(Clock, WakeableSleep_EndsAtTheWakeWithoutTimePassing) {
  panel::ScopedVirtualClock clock(0, 0, false);
  panel::WakeableSleep sleep;
  std::thread sleeper([&] { sleep.Sleep(10000); });
  ASSERT_TRUE(clock->WaitForSleepers(1));
  sleep.Wake();
  sleeper.join();
  EXPECT_EQ(GetTickCount(), 0u);
  sleep.Sleep(10000);  // woken stays woken: no sleep until armed again
  sleep.Arm();
  std::thread again([&] { sleep.Sleep(100); });
  ASSERT_TRUE(clock->WaitForSleepers(1));
  clock->Advance(100);
  again.join();
  EXPECT_EQ(GetTickCount(), 100u);
}

TEST(Clock, ProductionClock_PersistsTheLocalOffsetInTheBoardRoot) {
  testing_support::TempRoot root;
  panel::SetClock(nullptr);
  SYSTEMTIME want = Time(2031, 3, 4, 5, 6, 7);
  SYSTEMTIME before;
  GetLocalTime(&before);
  ASSERT_TRUE(SetLocalTime(&want));
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wYear, 2031);
  EXPECT_EQ(now.wDay, 4);
  std::string offset;
  EXPECT_TRUE(panel::ReadTextFile(root / "board/clock-offset", offset));
  // Set again to the time it shows: the file is written only when its second changes.
  struct stat first{};
  ASSERT_EQ(stat((root / "board/clock-offset").c_str(), &first), 0);
  GetLocalTime(&now);
  ASSERT_TRUE(SetLocalTime(&now));
  std::string again;
  EXPECT_TRUE(panel::ReadTextFile(root / "board/clock-offset", again));
  struct stat second{};
  ASSERT_EQ(stat((root / "board/clock-offset").c_str(), &second), 0);
  if (again == offset) {
    EXPECT_EQ(second.st_ino, first.st_ino);  // a rewrite replaces the file
  }
  ASSERT_TRUE(SetLocalTime(&before));  // leave the process clock as it was
}

}  // namespace
