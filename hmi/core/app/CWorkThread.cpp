#include "CWorkThread.h"

#include <algorithm>

CWorkThread::CWorkThread(DWORD idleSleepMs) : m_idleSleep(idleSleepMs) {}

CWorkThread::~CWorkThread() { Stop(); }

int CWorkThread::Start(Callback callback, void* userData) {
  if (m_running) return 1;
  m_running = 0;
  m_callback = callback;
  m_userData = userData;
  m_sleep.Arm();
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, ThreadProc, this, CREATE_SUSPENDED, &id);
  if (!thread) return 0;
  m_thread = thread;
  m_threadId = id;
  m_running = 1;
  ResumeThread(thread);
  return 1;
}

int CWorkThread::Stop() {
  if (m_thread == INVALID_HANDLE_VALUE) return 1;
  m_running = 0;
  m_enabled = 0;
  m_sleep.Wake();
  // Waiting for the thread itself (not only for the in-loop flag) also covers a thread that has not
  // entered its loop yet, which would otherwise run on an object its owner is about to destroy.
  WaitForSingleObject(m_thread, INFINITE);
  CloseHandle(m_thread);
  m_thread = INVALID_HANDLE_VALUE;
  m_threadId = 0;
  m_callback = nullptr;
  m_userData = nullptr;
  return 1;
}

DWORD CWorkThread::ThreadProc(LPVOID self) {
  static_cast<CWorkThread*>(self)->Loop();
  return 0;
}

void CWorkThread::Loop() {
  DWORD t0 = GetTickCount();
  m_inLoop = 1;
  while (m_running) {
    DWORD now = GetTickCount();
    if (m_enabled && now - t0 >= m_period) {
      t0 += m_period;
      if (m_callback) {
        m_callback(m_userData);
      } else {
        OnTick();
      }
    }
    if (m_idleSleep) m_sleep.Sleep(SleepAfterPass(t0));
  }
  m_inLoop = 0;
}

// Behind the schedule, or without ticks, only the idle time: catch-up ticks come one idle sleep apart.
DWORD CWorkThread::SleepAfterPass(DWORD t0) const {
  const DWORD period = m_period;
  const DWORD since = GetTickCount() - t0;
  if (!m_enabled || since >= period) return m_idleSleep;
  return std::max<DWORD>(m_idleSleep, period - since);
}
