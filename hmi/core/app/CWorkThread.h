// The one threading primitive of the main program: a base class owning one thread that calls a
// periodic operation. CSerialPort (one per open port), CWatchdog and CControlEngine derive from it.
// The schedule advances by whole periods, so an overrunning tick is followed by catch-up ticks and the
// long-run rate stays 1000/period per second, across the wrap of the 32-bit tick count.
// After each pass the thread sleeps its idle time, or, while ticks are delivered and the next one is
// further off, until it is due: a thread with a period of seconds wakes for its ticks, not fifty times
// a second. Stop ends the sleep at once.
// The controlling thread calls Start and Stop; the flags are atomic words shared with the worker.
#pragma once

#include <atomic>

#include "Platform.h"

class CWorkThread {
public:
  typedef void (*Callback)(void* userData);

  explicit CWorkThread(DWORD idleSleepMs);
  virtual ~CWorkThread();
  CWorkThread(const CWorkThread&) = delete;
  CWorkThread& operator=(const CWorkThread&) = delete;

  // 1 when the thread runs (also when it already did); 0 when it could not be created.
  int Start(Callback callback = nullptr, void* userData = nullptr);
  // Always 1. Clears running and enabled, waits for the loop to end, releases the thread.
  // Never call it from the thread's own tick.
  int Stop();

  void SetPeriod(DWORD periodMs) { m_period = periodMs; }
  DWORD GetPeriod() const { return m_period; }
  void SetEnabled(int enabled) { m_enabled = enabled; }
  int IsEnabled() const { return m_enabled; }
  int IsRunning() const { return m_running; }
  int IsInLoop() const { return m_inLoop; }
  bool HasThread() const { return m_thread != INVALID_HANDLE_VALUE; }
  DWORD GetThreadId() const { return m_threadId; }

protected:
  virtual void OnTick() {}

  std::atomic<DWORD> m_period{0};      // milliseconds between two ticks
  DWORD m_idleSleep;                   // sleep after each pass; 0 is a busy loop
  std::atomic<int> m_running{0};       // 1 while the loop is to continue
  std::atomic<int> m_enabled{0};       // ticks are delivered only while non-zero
  std::atomic<int> m_inLoop{0};        // 1 while the thread is inside its loop
  HANDLE m_thread = INVALID_HANDLE_VALUE;
  DWORD m_threadId = 0;
  void* m_userData = nullptr;
  Callback m_callback = nullptr;

private:
  static DWORD ThreadProc(LPVOID self);
  void Loop();
  // The sleep after a pass whose schedule stands at t0.
  DWORD SleepAfterPass(DWORD t0) const;

  panel::WakeableSleep m_sleep;  // the sleep between passes, ended by Stop
};
