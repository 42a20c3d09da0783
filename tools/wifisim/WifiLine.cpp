#include "WifiLine.h"

#include <poll.h>
#include <termios.h>

#include <chrono>

namespace wifisim {

WifiLine::WifiLine(unitsim::PtyPair& pty, WifiModule& module, CloudServer& server)
    : m_pty(pty), m_module(module), m_server(server) {
  m_module.SetServer(&m_server);
}

int WifiLine::LineBaud() const {
  termios tio{};
  if (tcgetattr(m_pty.MasterFd(), &tio) != 0) return 0;
  switch (cfgetospeed(&tio)) {
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    default: return 0;
  }
}

void WifiLine::Feed(const std::vector<uint8_t>& in, bool waitDelivered) {
  if (in.empty()) return;
  std::vector<uint8_t> answer = m_module.Receive(in.data(), in.size(), LineBaud());
  if (!answer.empty()) m_pty.Write(answer, waitDelivered);
}

void WifiLine::ToPanel(const std::vector<uint8_t>& bytes, bool waitDelivered) {
  if (m_module.CurrentMode() == WifiModule::kTransparent && !bytes.empty()) m_pty.Write(bytes, waitDelivered);
}

void WifiLine::Serve(uint64_t expectedTotal, int timeoutMs) {
  std::vector<uint8_t> in;
  if (m_pty.BytesRead() < expectedTotal) in = m_pty.Read(static_cast<size_t>(expectedTotal - m_pty.BytesRead()), timeoutMs);
  Feed(in, true);
}

void WifiLine::Start() {
  if (m_running.exchange(true)) return;
  m_thread = std::thread([this] { Run(); });
}

void WifiLine::Stop() {
  if (!m_running.exchange(false)) return;
  if (m_thread.joinable()) m_thread.join();
}

void WifiLine::Run() {
  const auto begin = std::chrono::steady_clock::now();
  int lastSecond = -1;
  while (m_running) {
    pollfd p{m_pty.MasterFd(), POLLIN, 0};
    const int ready = poll(&p, 1, 50);
    std::lock_guard<std::mutex> guard(m_lock);
    if (ready > 0 && (p.revents & POLLIN)) Feed(m_pty.Read(0, 0), false);
    const int second = static_cast<int>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - begin).count());
    if (second != lastSecond) {
      lastSecond = second;
      m_server.RunScript(second);
      ToPanel(m_server.TakeOutgoing(), false);
    }
  }
}

}  // namespace wifisim
