#include "CWatchdog.h"

#include <cstring>

#include "BoardLib.h"

std::atomic<int32_t> AliveCounters[kAliveCounterCount];

namespace {

const DWORD kIdleSleepMs = 20;
const DWORD kPeriodMs = 1000;
// The counters whose owners must claim them: the engine's cycle and the main screen's timer.
const int kSupervised[] = {0, 2, 3};

}  // namespace

CWatchdog::CWatchdog(RebootCall reboot) : CWorkThread(kIdleSleepMs), m_reboot(reboot ? reboot : CallRebootHot) {}

CWatchdog::~CWatchdog() {
  std::memset(m_buffer, 0, sizeof m_buffer);
  m_socket.Close();
  Stop();
}

int CWatchdog::Enable(int on) {
  if (on == 1 && !m_enabled) {
    for (auto& counter : AliveCounters) counter = 0;
    SetPeriod(kPeriodMs);
    if (!Start()) return m_enabled;
    m_enabled = 1;
  } else if (on == 0 && m_enabled) {
      m_enabled = 0;
    Stop();
  }
  return m_enabled;
}

void CWatchdog::OnTick() {
  for (auto& counter : AliveCounters) counter.fetch_add(1);
  for (int index : kSupervised) {
    if (AliveCounters[index] > kLimit) {
      m_reboot();
      return;
    }
  }
}
