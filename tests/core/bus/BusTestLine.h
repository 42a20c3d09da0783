// Test rig of the unit bus: a fresh board root whose port map sends COM3 to a pseudo-terminal, and a virtual
// clock whose every Sleep lets the peer on the far side serve the line. The terminal's waits (the Modbus waits,
// the 20 ms between empty reads) then cost no real time, and the peer answers exactly when the terminal would
// next look, so exchanges are deterministic. Real waits stay bounded by the peer's own time-outs.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "LineServer.h"
#include "Platform.h"
#include "PtyPair.h"
#include "RtuSlave.h"
#include "TempRoot.h"

namespace bustest {

class SteppedClock : public panel::VirtualClock {
public:
  SteppedClock() : panel::VirtualClock(100000) {}
  // The peer serves as the sleep begins (so it sees a request at the time it was sent) and as it ends.
  void SleepMs(DWORD ms) override {
    RunHook();
    panel::VirtualClock::SleepMs(ms);
    RunHook();
  }
  void SetHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> guard(m_hookLock);
    m_hook = std::move(hook);
  }

private:
  void RunHook() {
    std::function<void()> hook;
    {
      std::lock_guard<std::mutex> guard(m_hookLock);
      hook = m_hook;
    }
    if (hook) {
      std::lock_guard<std::mutex> serving(m_serveLock);  // the port's thread and the test may both sleep
      hook();
    }
  }

  std::mutex m_hookLock;
  std::mutex m_serveLock;
  std::function<void()> m_hook;
};

class ScopedClock {
public:
  explicit ScopedClock(panel::Clock* clock) { panel::SetClock(clock); }
  ~ScopedClock() { panel::SetClock(nullptr); }
};

// Bytes the terminal has written to a port in this process so far.
inline uint64_t WrittenTo(const char16_t* port) {
  panel::SerialLineRecord r;
  return panel::QuerySerialLine(port, &r) ? r.bytesWritten : 0;
}

inline std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string s;
  char b[4];
  for (uint8_t v : bytes) {
    std::snprintf(b, sizeof(b), "%02X ", v);
    s += b;
  }
  return s;
}

// A root whose board/ports maps a port (COM3, the unit bus, unless told) to a new pseudo-terminal.
struct BusLine {
  testing_support::TempRoot root;
  unitsim::PtyPair pty;
  const char16_t* port;
  uint64_t baseline;

  explicit BusLine(const char16_t* portName = u"COM3", const char* mapName = "COM3")
      : port(portName), baseline(WrittenTo(portName)) {
    pty.Open();
    unitsim::WritePortMap(root.Path(), mapName, pty.SlavePath());
  }
  // Bytes written to the port since this line was made: what the far side must have seen.
  uint64_t Written() const { return WrittenTo(port) - baseline; }
};

// The unit simulator served inside the terminal's sleeps; a late board's replies land at virtual times.
struct SimulatedBus : BusLine {
  SteppedClock clock;
  ScopedClock installed{&clock};
  unitsim::UnitSimulator sim;
  unitsim::LineServer server{pty, sim};

  SimulatedBus() {
    server.SetClock([this] { return clock.MonotonicMs(); });  // a late board answers on the virtual clock
    clock.SetHook([this] { server.Serve(Written()); });
  }
  ~SimulatedBus() { clock.SetHook(nullptr); }
};

// A scripted far side: each request the terminal sends takes the next reply of the script, delivered in
// chunks at virtual times after the request came. What a real slave cannot be made to send: a wrong CRC, a
// reply from another address, a truncated or late reply, a slow line.
struct ScriptedBus : BusLine {
  struct Chunk {
    uint64_t afterMs;  // virtual milliseconds after the request arrived
    std::vector<uint8_t> bytes;
  };
  SteppedClock clock;
  ScopedClock installed{&clock};
  std::deque<std::vector<Chunk>> script;          // one entry per request
  std::vector<std::vector<uint8_t>> requests;     // what arrived, one entry per request
  std::vector<std::pair<uint64_t, std::vector<uint8_t>>> due;  // absolute virtual time, bytes

  ScriptedBus() {
    clock.SetHook([this] { Serve(); });
  }
  ~ScriptedBus() { clock.SetHook(nullptr); }

  void Reply(std::vector<uint8_t> bytes, uint64_t afterMs = 0) { script.push_back({{afterMs, std::move(bytes)}}); }
  void ReplyInChunks(std::vector<Chunk> chunks) { script.push_back(std::move(chunks)); }
  void Silence() { script.push_back({}); }

  // Also callable by a test between exchanges, to deliver what has come due.
  void Serve() {
    uint64_t expected = Written();
    if (pty.BytesRead() < expected) {
      std::vector<uint8_t> request = pty.Read(static_cast<size_t>(expected - pty.BytesRead()), 1000);
      if (!request.empty()) {
        requests.push_back(request);
        uint64_t now = clock.MonotonicMs();
        if (!script.empty()) {
          for (auto& c : script.front()) due.push_back({now + c.afterMs, c.bytes});
          script.pop_front();
        }
      }
    }
    uint64_t now = clock.MonotonicMs();
    for (auto it = due.begin(); it != due.end();) {
      if (it->first <= now) {
        pty.Write(it->second, true);
        it = due.erase(it);
      } else {
        ++it;
      }
    }
  }
};

// A frame with its CRC appended (the simulator's bitwise CRC, independent of the terminal's).
inline std::vector<uint8_t> WithCrc(std::vector<uint8_t> frame) {
  unitsim::AppendCrc(frame);
  return frame;
}

}  // namespace bustest
