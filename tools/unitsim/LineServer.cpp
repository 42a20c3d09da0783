#include "LineServer.h"

#include <chrono>
#include <iterator>

namespace unitsim {
namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// A request stalled this long is garbage, not a frame still arriving.
const int64_t kStaleMs = 100;
// The simulation moves in small steps, so that a sped-up simulation still moves smoothly.
const int64_t kAdvanceMs = 100;

}  // namespace

bool RtuStream::Next(std::vector<uint8_t>& frame) {
  for (;;) {
    if (m_bytes.size() < 2) return false;
    uint8_t function = m_bytes[1];
    size_t needed = 0;
    if (function >= 1 && function <= 6) {
      needed = 8;
    } else if (function == 15 || function == 16) {
      if (m_bytes.size() < 7) return false;
      needed = 9u + m_bytes[6];
    } else {
      m_bytes.erase(m_bytes.begin());
      continue;
    }
    if (m_bytes.size() < needed) return false;
    uint16_t crc = Crc16(m_bytes.data(), needed - 2);
    if (m_bytes[needed - 2] == (crc & 0xFF) && m_bytes[needed - 1] == (crc >> 8)) {
      frame.assign(m_bytes.begin(), m_bytes.begin() + static_cast<long>(needed));
      m_bytes.erase(m_bytes.begin(), m_bytes.begin() + static_cast<long>(needed));
      return true;
    }
    m_bytes.erase(m_bytes.begin());
  }
}

void LineServer::Start() {
  if (m_running) return;
  m_running = true;
  m_thread = std::thread([this] { Run(); });
}

void LineServer::Stop() {
  m_running = false;
  if (m_thread.joinable()) m_thread.join();
}

void LineServer::Serve(uint64_t expectedTotal, int timeoutMs) {
  int64_t deadline = NowMs() + timeoutMs;
  for (;;) {
    uint64_t missing = expectedTotal > m_pty.BytesRead() ? expectedTotal - m_pty.BytesRead() : 0;
    int left = static_cast<int>(deadline - NowMs());
    std::vector<uint8_t> bytes = m_pty.Read(static_cast<size_t>(missing), left > 0 ? left : 0);
    m_stream.Feed(bytes.data(), bytes.size());
    if (m_pty.BytesRead() >= expectedTotal || NowMs() >= deadline) break;
  }
  DeliverDue(true);
  Answer(true);
  m_stream.Clear();
}

void LineServer::Run() {
  int64_t lastByte = NowMs();
  int64_t lastAdvance = NowMs();
  int nextDue = -1;
  while (m_running) {
    std::vector<uint8_t> bytes = m_pty.Read(1, nextDue >= 0 && nextDue < 20 ? nextDue : 20);
    int64_t now = NowMs();
    if (!bytes.empty()) {
      m_stream.Feed(bytes.data(), bytes.size());
      lastByte = now;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    DeliverDue(false);
    Answer(false);
    nextDue = DeliverDue(false);
    if (m_stream.Pending() && now - lastByte > kStaleMs) m_stream.Clear();
    if (now - lastAdvance >= kAdvanceMs) {
      m_sim.Advance(static_cast<double>(now - lastAdvance) / 1000.0);
      lastAdvance = now;
    }
  }
}

void LineServer::Answer(bool waitDelivered) {
  std::vector<uint8_t> frame;
  while (m_stream.Next(frame)) {
    ++m_requests;
    std::vector<uint8_t> reply = m_sim.Answer(frame.data(), frame.size());
    if (reply.empty()) continue;
    int late = m_sim.LateMs(frame[0]);
    if (late > 0) {
      Held held{Now() + static_cast<uint64_t>(late), std::move(reply)};
      auto at = m_late.end();
      while (at != m_late.begin() && std::prev(at)->dueMs > held.dueMs) --at;
      m_late.insert(at, std::move(held));
      continue;
    }
    Send(reply, waitDelivered);
  }
}

int LineServer::DeliverDue(bool waitDelivered) {
  uint64_t now = Now();
  while (!m_late.empty() && m_late.front().dueMs <= now) {
    Send(m_late.front().reply, waitDelivered);
    m_late.pop_front();
  }
  return m_late.empty() ? -1 : static_cast<int>(m_late.front().dueMs - now);
}

void LineServer::Send(const std::vector<uint8_t>& reply, bool waitDelivered) {
  if (m_pty.Write(reply, waitDelivered)) ++m_replies;
}

uint64_t LineServer::Now() const { return m_now ? m_now() : static_cast<uint64_t>(NowMs()); }

}  // namespace unitsim
