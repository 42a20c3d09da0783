#include "Thread.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "Handles.h"

namespace {

std::atomic<DWORD> g_nextThreadId{1};
thread_local DWORD t_threadId = 0;

// What the running thread and its handle share; the thread keeps it alive after the handle closes.
struct ThreadState {
  LPTHREAD_START_ROUTINE start;
  LPVOID parameter;
  DWORD id;
  std::mutex lock;
  std::condition_variable cv;
  bool suspended;
  bool done = false;
  DWORD exitCode = 0;
};

void RunThread(std::shared_ptr<ThreadState> state) {
  t_threadId = state->id;
  {
    std::unique_lock<std::mutex> guard(state->lock);
    state->cv.wait(guard, [&] { return !state->suspended; });
  }
  DWORD code = state->start(state->parameter);
  std::lock_guard<std::mutex> guard(state->lock);
  state->exitCode = code;
  state->done = true;
  state->cv.notify_all();
}

class ThreadObject : public panel::KernelObject {
public:
  ThreadObject(LPTHREAD_START_ROUTINE start, LPVOID parameter, bool suspended) : m_state(std::make_shared<ThreadState>()) {
    m_state->start = start;
    m_state->parameter = parameter;
    m_state->suspended = suspended;
    m_state->id = g_nextThreadId++;
    m_thread = std::thread(RunThread, m_state);
  }

  // Closing the handle does not wait for the thread: a finished one is joined, a running one detached.
  ~ThreadObject() override {
    bool done;
    {
      std::lock_guard<std::mutex> guard(m_state->lock);
      done = m_state->done;
    }
    if (done && m_thread.get_id() != std::this_thread::get_id()) {
      m_thread.join();
    } else {
      m_thread.detach();
    }
  }

  bool Wait(DWORD timeoutMs) override {
    std::unique_lock<std::mutex> guard(m_state->lock);
    auto done = [&] { return m_state->done; };
    if (timeoutMs == INFINITE) {
      m_state->cv.wait(guard, done);
      return true;
    }
    return m_state->cv.wait_for(guard, std::chrono::milliseconds(timeoutMs), done);
  }

  DWORD Resume() {
    std::lock_guard<std::mutex> guard(m_state->lock);
    DWORD previous = m_state->suspended ? 1 : 0;
    m_state->suspended = false;
    m_state->cv.notify_all();
    return previous;
  }

  DWORD ExitCode() {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->done ? m_state->exitCode : STILL_ACTIVE;
  }

  DWORD Id() const { return m_state->id; }
  void SetPriority(int priority) { m_priority = priority; }

private:
  std::shared_ptr<ThreadState> m_state;
  std::thread m_thread;
  int m_priority = 3;  // CE's normal priority
};

}  // namespace

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, size_t, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    LPDWORD threadId) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto* thread = new ThreadObject(start, parameter, (flags & CREATE_SUSPENDED) != 0);
  if (threadId) *threadId = thread->Id();
  return panel::RegisterHandle(thread);
}

DWORD ResumeThread(HANDLE thread) {
  auto* t = panel::HandleAs<ThreadObject>(thread);
  if (!t) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0xFFFFFFFFu;
  }
  return t->Resume();
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
  auto* t = panel::HandleAs<ThreadObject>(thread);
  if (!t || !exitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *exitCode = t->ExitCode();
  return TRUE;
}

DWORD GetCurrentThreadId() {
  if (t_threadId == 0) t_threadId = g_nextThreadId++;
  return t_threadId;
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
  auto* t = panel::HandleAs<ThreadObject>(thread);
  if (!t) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (priority < 0 || priority > 7) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  t->SetPriority(priority);
  return TRUE;
}
