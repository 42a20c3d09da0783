// Serves a UnitSimulator on the master side of a pseudo-terminal: splits what arrives into request frames
// (by the length each function implies, resynchronising byte by byte on a bad CRC) and answers each one.
// Two ways to run: on a thread of its own in real time (the program, the benchmark), or stepped, one Serve
// call at a time from inside the terminal's sleeps, so a test on the virtual clock stays deterministic.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "PtyPair.h"
#include "UnitSimulator.h"

namespace unitsim {

// Request frames out of a byte stream.
class RtuStream {
public:
  void Feed(const uint8_t* data, size_t length) { m_bytes.insert(m_bytes.end(), data, data + length); }
  // The next complete frame with a good CRC; bytes that start none are skipped.
  bool Next(std::vector<uint8_t>& frame);
  size_t Pending() const { return m_bytes.size(); }
  void Clear() { m_bytes.clear(); }

private:
  std::vector<uint8_t> m_bytes;
};

class LineServer {
public:
  LineServer(PtyPair& pty, UnitSimulator& sim) : m_pty(pty), m_sim(sim) {}
  ~LineServer() { Stop(); }
  LineServer(const LineServer&) = delete;
  LineServer& operator=(const LineServer&) = delete;

  // Threaded: answers at once; the simulated values move with real time.
  void Start();
  void Stop();
  // Held while the simulation is read or changed from another thread during Start..Stop.
  std::mutex& Lock() { return m_lock; }
  // The clock that times a late board's replies, in milliseconds: real time unless told (a stepped test
  // gives its virtual clock, so a late reply lands at a virtual time). Set before serving.
  void SetClock(std::function<uint64_t()> nowMs) { m_now = std::move(nowMs); }
  // The time the next reply held back is due, or 0 when none is (stepped, or under Lock()).
  uint64_t NextDueMs() const { return m_late.empty() ? 0 : m_late.front().dueMs; }

  // Stepped: waits (at most timeoutMs, real time) until the master side has taken expectedTotal bytes in all,
  // answers every complete request, and returns once the replies wait on the slave side. Left-over bytes that
  // form no frame are dropped: the terminal writes whole frames. A late board's replies wait until a call
  // at or after their time; they go out ahead of the replies to what came since, as they left first.
  void Serve(uint64_t expectedTotal, int timeoutMs = 1000);

  uint64_t Requests() const { return m_requests; }
  uint64_t Replies() const { return m_replies; }

private:
  struct Held {
    uint64_t dueMs;
    std::vector<uint8_t> reply;
  };
  void Run();
  void Answer(bool waitDelivered);
  // Writes the held replies that are due; the milliseconds until the next one, or -1 when none waits.
  int DeliverDue(bool waitDelivered);
  void Send(const std::vector<uint8_t>& reply, bool waitDelivered);
  uint64_t Now() const;

  PtyPair& m_pty;
  UnitSimulator& m_sim;
  RtuStream m_stream;
  std::function<uint64_t()> m_now;
  std::deque<Held> m_late;  // in the order they fall due
  std::mutex m_lock;
  std::thread m_thread;
  std::atomic<bool> m_running{false};
  std::atomic<uint64_t> m_requests{0};
  std::atomic<uint64_t> m_replies{0};
};

}  // namespace unitsim
