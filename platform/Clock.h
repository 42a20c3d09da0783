// The one clock of the platform: GetTickCount, Sleep, GetLocalTime/SetLocalTime and every timer read it.
// Production: the system-wide monotonic clock (wrapping 32-bit milliseconds) and the machine's local time
// plus an offset persisted in $PANEL_ROOT/board/clock-offset (seconds), since setting the Linux clock needs
// privileges the terminal must not have. PANEL_TIME_SCALE (inherited by child processes, with the shared
// base in PANEL_TIME_BASE) speeds both up so that the launcher and the main program agree on time.
// Tests install a VirtualClock: time moves only when the test advances it or a thread sleeps.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "WinTypes.h"

DWORD GetTickCount();
void Sleep(DWORD milliseconds);
void GetLocalTime(SYSTEMTIME* time);
// FALSE with ERROR_INVALID_PARAMETER for fields outside the calendar; the milliseconds are ignored.
BOOL SetLocalTime(const SYSTEMTIME* time);
void GetSystemTime(SYSTEMTIME* time);

namespace panel {

// Milliseconds since 1970 of a local calendar time, and back (proleptic Gregorian, no time zone).
int64_t SystemTimeToEpochMs(const SYSTEMTIME& time);
SYSTEMTIME EpochMsToSystemTime(int64_t epochMs);
bool IsValidSystemTime(const SYSTEMTIME& time);
// The persisted offset file's text as milliseconds: whole seconds, held within +-200 years so that a
// damaged or hand-edited file cannot overflow the clock; text that is no number reads as 0.
int64_t ParseClockOffsetMs(const std::string& text);

class WakeableSleep;

class Clock {
public:
  virtual ~Clock() = default;
  // Milliseconds of the monotonic clock; GetTickCount is its low 32 bits.
  virtual uint64_t MonotonicMs() = 0;
  virtual void SleepMs(DWORD milliseconds) = 0;
  // Local wall time in milliseconds since 1970, read as local calendar fields.
  virtual int64_t LocalMs() = 0;
  virtual void SetLocalMs(int64_t localMs) = 0;
  // Waits at most milliseconds for the descriptor to have input. The production clock returns as soon as it
  // has; any other clock sleeps the whole time, so that a test clock steps (and runs its hooks) as for Sleep.
  virtual void WaitReadable(int fd, DWORD milliseconds) {
    (void)fd;
    SleepMs(milliseconds);
  }
  // Sleeps milliseconds, or less when the sleep is woken meanwhile (or was before). The production and
  // the test clock end the wait at the wake; any other clock sleeps the whole time.
  virtual void SleepWakeable(DWORD milliseconds, WakeableSleep& sleep);
  // Lets waits on this clock look again whether their sleep was woken.
  virtual void Nudge() {}
};

// A sleep that another thread can end: a worker thread sleeps in it until its next tick is due, and
// whoever stops the thread ends the sleep at once. Once woken it stays woken (every sleep returns at
// once) until armed again. Any thread.
class WakeableSleep {
public:
  void Sleep(DWORD milliseconds);
  void Wake();
  void Arm();
  bool Woken() const { return m_woken; }
  // For the clocks: waits real time until woken, at most `time`.
  void WaitReal(std::chrono::microseconds time);

private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::atomic<bool> m_woken{false};
};

// The clock in force; SetClock(nullptr) restores the production clock. Not for use while other threads run.
Clock& GetClock();
void SetClock(Clock* clock);

// A time limit for a wait that another thread or program ends (the answer to a send), counted on the
// clock in force: under PANEL_TIME_SCALE a scaled run waits as long in board time as an unscaled one.
// It also passes once as much real time has gone by, so a test clock that stands still cannot hold the
// wait for ever. Any thread.
class Deadline {
public:
  explicit Deadline(DWORD boardMs);
  bool Passed() const;
  // How long to block before looking again: the real time left, at most sliceMs.
  std::chrono::milliseconds Slice(int sliceMs = 5) const;

private:
  uint64_t m_boardUntil;
  std::chrono::steady_clock::time_point m_realUntil;
};

// Test clock. With sleepAdvances (the default) a Sleep moves time forward by its length on whatever
// thread calls it, which suits single-threaded tests; without it a Sleep blocks until Advance has moved
// time past its end, so a test steps worker threads deterministically.
class VirtualClock : public Clock {
public:
  explicit VirtualClock(uint64_t startMonotonicMs = 0, int64_t startLocalMs = 1767225600000LL /* 2026-01-01 */,
                        bool sleepAdvances = true);
  uint64_t MonotonicMs() override;
  void SleepMs(DWORD milliseconds) override;
  int64_t LocalMs() override;
  void SetLocalMs(int64_t localMs) override;
  void SleepWakeable(DWORD milliseconds, WakeableSleep& sleep) override;
  void Nudge() override;

  void Advance(uint64_t milliseconds);
  void SetSleepAdvances(bool sleepAdvances);
  // Number of threads blocked in a sleep right now (blocking mode), so a test can wait for workers to park.
  int Sleepers();
  // Waits (real time, bounded by timeoutMs) until at least n threads sleep; false on time-out.
  bool WaitForSleepers(int n, int timeoutMs = 5000);

private:
  // Under m_lock: the sleep of a thread, ended early when woken is given and becomes true.
  void SleepLocked(std::unique_lock<std::mutex>& guard, DWORD milliseconds, const WakeableSleep* woken);

  std::mutex m_lock;
  std::condition_variable m_changed;
  uint64_t m_mono;
  int64_t m_localOffset;  // local time minus monotonic time
  bool m_sleepAdvances;
  int m_sleepers = 0;
};

// Installs a VirtualClock for the lifetime of a test scope.
class ScopedVirtualClock {
public:
  explicit ScopedVirtualClock(uint64_t startMonotonicMs = 0, int64_t startLocalMs = 1767225600000LL, bool sleepAdvances = true)
      : m_clock(startMonotonicMs, startLocalMs, sleepAdvances) {
    SetClock(&m_clock);
  }
  ~ScopedVirtualClock() { SetClock(nullptr); }
  VirtualClock& operator*() { return m_clock; }
  VirtualClock* operator->() { return &m_clock; }

private:
  VirtualClock m_clock;
};

}  // namespace panel
