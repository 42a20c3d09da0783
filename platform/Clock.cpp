#include "Clock.h"

#include <errno.h>
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "Paths.h"

namespace panel {
namespace {

int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp + (mp < 10 ? 3 : -9);
  y += m <= 2;
}

uint64_t RealMonotonicMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

int64_t RealLocalMs() {
  timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
  tm local;
  time_t secs = ts.tv_sec;
  localtime_r(&secs, &local);
  return (static_cast<int64_t>(ts.tv_sec) + local.tm_gmtoff) * 1000 + ts.tv_nsec / 1000000;
}

// The production clock. Under PANEL_TIME_SCALE both readings run faster from a base shared through
// the environment, so every process of the board sees the same scaled time.
class SystemClock : public Clock {
public:
  SystemClock() {
    const char* scale = std::getenv("PANEL_TIME_SCALE");
    if (scale && *scale) m_scale = std::atof(scale);
    if (!(m_scale > 0.0)) m_scale = 1.0;
    m_baseMono = RealMonotonicMs();
    m_baseLocal = RealLocalMs();
    if (m_scale != 1.0) {
      const char* base = std::getenv("PANEL_TIME_BASE");
      unsigned long long mono = 0;
      long long local = 0;
      if (base && std::sscanf(base, "%llu,%lld", &mono, &local) == 2) {
        m_baseMono = mono;
        m_baseLocal = local;
      } else {
        std::string value = std::to_string(m_baseMono) + "," + std::to_string(m_baseLocal);
        setenv("PANEL_TIME_BASE", value.c_str(), 1);
      }
    }
    if (ReadTextFile(BoardPath("clock-offset"), m_offsetText)) m_offsetMs = ParseClockOffsetMs(m_offsetText);
  }

  uint64_t MonotonicMs() override {
    uint64_t now = RealMonotonicMs();
    if (m_scale == 1.0) return now;
    return m_baseMono + static_cast<uint64_t>(static_cast<double>(now - m_baseMono) * m_scale);
  }

  void SleepMs(DWORD ms) override { std::this_thread::sleep_for(Real(ms)); }

  void SleepWakeable(DWORD ms, WakeableSleep& sleep) override { sleep.WaitReal(Real(ms)); }

  void WaitReadable(int fd, DWORD ms) override {
    pollfd p{fd, POLLIN, 0};
    const int timeout = static_cast<int>(std::ceil(ms / m_scale));
    while (poll(&p, 1, timeout) < 0 && errno == EINTR) {
    }
  }

  int64_t LocalMs() override {
    int64_t local = RealLocalMs();
    if (m_scale != 1.0) {
      int64_t elapsed = static_cast<int64_t>(RealMonotonicMs() - m_baseMono);
      local = m_baseLocal + static_cast<int64_t>(static_cast<double>(elapsed) * m_scale);
    }
    return local + m_offsetMs.load();
  }

  void SetLocalMs(int64_t localMs) override {
    int64_t offset = localMs - (LocalMs() - m_offsetMs.load());
    m_offsetMs = offset;
    // The clock set again to the same second (a server's time sync) leaves the board file alone.
    const std::string text = std::to_string(offset / 1000) + "\n";
    std::lock_guard<std::mutex> guard(m_writeLock);
    if (text != m_offsetText && WriteTextFile(BoardPath("clock-offset"), text)) m_offsetText = text;
  }

private:
  std::chrono::microseconds Real(DWORD ms) const {
    return std::chrono::microseconds(static_cast<int64_t>(ms * 1000.0 / m_scale));
  }

  double m_scale = 1.0;
  uint64_t m_baseMono = 0;
  int64_t m_baseLocal = 0;
  std::atomic<int64_t> m_offsetMs{0};
  std::mutex m_writeLock;
  std::string m_offsetText;  // the board file as last read or written
};

std::atomic<Clock*> g_override{nullptr};

}  // namespace

int64_t SystemTimeToEpochMs(const SYSTEMTIME& t) {
  int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay);
  return ((days * 24 + t.wHour) * 60 + t.wMinute) * 60000LL + t.wSecond * 1000LL + t.wMilliseconds;
}

SYSTEMTIME EpochMsToSystemTime(int64_t ms) {
  int64_t days = ms >= 0 ? ms / 86400000 : -((-ms + 86399999) / 86400000);
  int64_t rest = ms - days * 86400000;
  int64_t y;
  unsigned m, d;
  CivilFromDays(days, y, m, d);
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(y);
  t.wMonth = static_cast<WORD>(m);
  t.wDay = static_cast<WORD>(d);
  t.wDayOfWeek = static_cast<WORD>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday (4)
  t.wHour = static_cast<WORD>(rest / 3600000);
  t.wMinute = static_cast<WORD>(rest / 60000 % 60);
  t.wSecond = static_cast<WORD>(rest / 1000 % 60);
  t.wMilliseconds = static_cast<WORD>(rest % 1000);
  return t;
}

int64_t ParseClockOffsetMs(const std::string& text) {
  const long long kMaxSeconds = 200LL * 366 * 86400;
  long long seconds = std::strtoll(text.c_str(), nullptr, 10);  // saturates at the type's ends
  return std::clamp(seconds, -kMaxSeconds, kMaxSeconds) * 1000;
}

bool IsValidSystemTime(const SYSTEMTIME& t) {
  if (t.wYear < 1601 || t.wYear > 30827 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1) return false;
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int days = kDays[t.wMonth - 1];
  bool leap = (t.wYear % 4 == 0 && t.wYear % 100 != 0) || t.wYear % 400 == 0;
  if (t.wMonth == 2 && leap) days = 29;
  return t.wDay <= days && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 && t.wMilliseconds < 1000;
}

Clock& GetClock() {
  Clock* c = g_override.load();
  if (c) return *c;
  // Kept to the end of the process: threads that run until the statics are destroyed still read it.
  static SystemClock* production = new SystemClock();
  return *production;
}

void SetClock(Clock* clock) { g_override = clock; }

void Clock::SleepWakeable(DWORD milliseconds, WakeableSleep&) { SleepMs(milliseconds); }

void WakeableSleep::Sleep(DWORD milliseconds) { GetClock().SleepWakeable(milliseconds, *this); }

void WakeableSleep::Wake() {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_woken = true;
  }
  m_changed.notify_all();
  GetClock().Nudge();
}

void WakeableSleep::Arm() {
  std::lock_guard<std::mutex> guard(m_lock);
  m_woken = false;
}

void WakeableSleep::WaitReal(std::chrono::microseconds time) {
  std::unique_lock<std::mutex> guard(m_lock);
  m_changed.wait_for(guard, time, [this] { return m_woken.load(); });
}

Deadline::Deadline(DWORD boardMs)
    : m_boardUntil(GetClock().MonotonicMs() + boardMs),
      m_realUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(boardMs)) {}

bool Deadline::Passed() const {
  return GetClock().MonotonicMs() >= m_boardUntil || std::chrono::steady_clock::now() >= m_realUntil;
}

std::chrono::milliseconds Deadline::Slice(int sliceMs) const {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_realUntil - std::chrono::steady_clock::now());
  return std::clamp(left, std::chrono::milliseconds(0), std::chrono::milliseconds(sliceMs));
}

VirtualClock::VirtualClock(uint64_t startMonotonicMs, int64_t startLocalMs, bool sleepAdvances)
    : m_mono(startMonotonicMs), m_localOffset(startLocalMs - static_cast<int64_t>(startMonotonicMs)),
      m_sleepAdvances(sleepAdvances) {}

uint64_t VirtualClock::MonotonicMs() {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_mono;
}

void VirtualClock::SleepMs(DWORD ms) {
  std::unique_lock<std::mutex> guard(m_lock);
  SleepLocked(guard, ms, nullptr);
}

void VirtualClock::SleepWakeable(DWORD ms, WakeableSleep& sleep) {
  std::unique_lock<std::mutex> guard(m_lock);
  if (sleep.Woken()) return;
  SleepLocked(guard, ms, &sleep);
}

void VirtualClock::Nudge() {
  { std::lock_guard<std::mutex> guard(m_lock); }  // a sleeper between its look and its wait is waiting now
  m_changed.notify_all();
}

void VirtualClock::SleepLocked(std::unique_lock<std::mutex>& guard, DWORD ms, const WakeableSleep* woken) {
  if (m_sleepAdvances) {
    m_mono += ms;
    guard.unlock();
    m_changed.notify_all();
    std::this_thread::yield();
    return;
  }
  uint64_t until = m_mono + ms;
  ++m_sleepers;
  m_changed.notify_all();
  m_changed.wait(guard, [&] { return m_mono >= until || m_sleepAdvances || (woken && woken->Woken()); });
  --m_sleepers;
}

int64_t VirtualClock::LocalMs() {
  std::lock_guard<std::mutex> guard(m_lock);
  return static_cast<int64_t>(m_mono) + m_localOffset;
}

void VirtualClock::SetLocalMs(int64_t localMs) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_localOffset = localMs - static_cast<int64_t>(m_mono);
}

void VirtualClock::Advance(uint64_t ms) {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_mono += ms;
  }
  m_changed.notify_all();
}

void VirtualClock::SetSleepAdvances(bool sleepAdvances) {
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_sleepAdvances = sleepAdvances;
  }
  m_changed.notify_all();
}

int VirtualClock::Sleepers() {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_sleepers;
}

bool VirtualClock::WaitForSleepers(int n, int timeoutMs) {
  std::unique_lock<std::mutex> guard(m_lock);
  return m_changed.wait_for(guard, std::chrono::milliseconds(timeoutMs), [&] { return m_sleepers >= n; });
}

}  // namespace panel

DWORD GetTickCount() { return static_cast<DWORD>(panel::GetClock().MonotonicMs()); }

void Sleep(DWORD milliseconds) { panel::GetClock().SleepMs(milliseconds); }

void GetLocalTime(SYSTEMTIME* time) {
  if (time) *time = panel::EpochMsToSystemTime(panel::GetClock().LocalMs());
}

BOOL SetLocalTime(const SYSTEMTIME* time) {
  if (!time || !panel::IsValidSystemTime(*time)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SYSTEMTIME t = *time;
  t.wMilliseconds = 0;
  panel::GetClock().SetLocalMs(panel::SystemTimeToEpochMs(t));
  return TRUE;
}

void GetSystemTime(SYSTEMTIME* time) {
  if (!time) return;
  tm local;
  time_t now = ::time(nullptr);
  localtime_r(&now, &local);
  *time = panel::EpochMsToSystemTime(panel::GetClock().LocalMs() - static_cast<int64_t>(local.tm_gmtoff) * 1000);
}
