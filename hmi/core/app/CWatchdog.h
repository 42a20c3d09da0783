// Supervision of the main program's own threads. The engine's cycle clears alive counter 0 every
// second, the main screen's timer clears counters 2 and 3; the watchdog's 1000 ms thread counts all
// ten up and asks the board to restart when counter 0, 2 or 3 has gone unclaimed for more than
// 300 seconds. A member of the engine; enabled by the engine's parameter start-up (GUI thread),
// ticking on its own thread. The counters are atomic words shared by the three threads; no lock.
#pragma once

#include <atomic>
#include <cstdint>

#include "CSocketHolder.h"
#include "CWorkThread.h"

// Ten alive counters: 0 engine, 2 and 3 main screen; 1 and 4-9 are counted but never checked.
constexpr int kAliveCounterCount = 10;
extern std::atomic<int32_t> AliveCounters[kAliveCounterCount];

class CWatchdog : public CWorkThread {
public:
  // The call that restarts the board; CallRebootHot in the program, a recorder in tests.
  typedef int (*RebootCall)();
  // Seconds a supervised counter may grow before the restart request (301 seconds unclaimed).
  static constexpr int32_t kLimit = 300;

  explicit CWatchdog(RebootCall reboot = nullptr);
  ~CWatchdog() override;

  // on = 1: when not yet enabled, clears the counters, sets the 1000 ms period and starts the thread.
  // on = 0: when enabled, closes the socket holder and stops the thread. Returns the enabled flag
  // (0 also when the thread could not be created).
  int Enable(int on);

  // One second: every counter + 1, then the restart request while a supervised counter is above
  // the limit (repeated each second for as long as it stays there).
  void OnTick() override;

private:
  RebootCall m_reboot;
  CSocketHolder m_socket;       // never given a socket in this system
  uint8_t m_buffer[8004] = {};  // zero-filled, unused while the watchdog runs
};
