// Serves a WifiModule (and the server behind it) on the master side of a pseudo-terminal. The rate the
// panel's side of the line runs at is read from the terminal's settings, so the module hears only a panel
// at its own rate. Like the unit simulator's line server: threaded in real time for the program, or
// stepped from inside the terminal's sleeps for the tests on the virtual clock.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "CloudServer.h"
#include "PtyPair.h"
#include "WifiModule.h"

namespace wifisim {

class WifiLine {
public:
  WifiLine(unitsim::PtyPair& pty, WifiModule& module, CloudServer& server);
  ~WifiLine() { Stop(); }
  WifiLine(const WifiLine&) = delete;
  WifiLine& operator=(const WifiLine&) = delete;

  // The baud rate the panel's side of the line is set to (0 when unknown).
  int LineBaud() const;

  // Threaded: answers at once and runs the server's script once a second.
  void Start();
  void Stop();
  std::mutex& Lock() { return m_lock; }

  // Stepped: takes what the panel wrote (waiting, at most timeoutMs real time, until the master side has
  // read expectedTotal bytes in all), lets the module answer, and returns once the answer waits for the panel.
  void Serve(uint64_t expectedTotal, int timeoutMs = 1000);
  // Server bytes to the panel, delivered only while the module is transparent (in command mode they are lost).
  void ToPanel(const std::vector<uint8_t>& bytes, bool waitDelivered = true);

private:
  void Run();
  void Feed(const std::vector<uint8_t>& in, bool waitDelivered);

  unitsim::PtyPair& m_pty;
  WifiModule& m_module;
  CloudServer& m_server;
  std::mutex m_lock;
  std::thread m_thread;
  std::atomic<bool> m_running{false};
};

}  // namespace wifisim
