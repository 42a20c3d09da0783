#include "Sync.h"

#include <limits.h>
#include <set>
#include <stdlib.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>

#include <chrono>
#include <condition_variable>

#include "CString.h"
#include "Handles.h"
#include "Paths.h"

namespace {

// A named mutex is an abstract Unix socket name bound by its holder: the kernel owns the name for as long
// as the socket is open and frees it when the process ends, however it ends. There is no file that a
// person or a program could delete or replace to let a second holder in beside the first.
class NamedMutex;
std::mutex& NamedLock() {
  static auto* lock = new std::mutex();
  return *lock;
}
std::set<NamedMutex*>& Held() {
  static auto* held = new std::set<NamedMutex*>();
  return *held;
}

class NamedMutex : public panel::KernelObject {
public:
  explicit NamedMutex(int fd) : m_fd(fd) {
    std::lock_guard<std::mutex> guard(NamedLock());
    Held().insert(this);
  }
  ~NamedMutex() override {
    std::lock_guard<std::mutex> guard(NamedLock());
    Held().erase(this);
    Drop();
  }
  bool Wait(DWORD) override { return true; }
  void Drop() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
  }

private:
  int m_fd;
};

class LocalMutex : public panel::KernelObject {
public:
  bool Wait(DWORD timeoutMs) override {
    if (timeoutMs == INFINITE) {
      m_mutex.lock();
      return true;
    }
    return m_mutex.try_lock_for(std::chrono::milliseconds(timeoutMs));
  }
  void Release() { m_mutex.unlock(); }

private:
  std::recursive_timed_mutex m_mutex;
};

class Event : public panel::KernelObject {
public:
  Event(bool manual, bool state) : m_manual(manual), m_state(state) {}
  bool Wait(DWORD timeoutMs) override {
    std::unique_lock<std::mutex> guard(m_lock);
    auto ready = [&] { return m_state; };
    if (timeoutMs == INFINITE) {
      m_cv.wait(guard, ready);
    } else if (!m_cv.wait_for(guard, std::chrono::milliseconds(timeoutMs), ready)) {
      return false;
    }
    if (!m_manual) m_state = false;
    return true;
  }
  void Set(bool state) {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_state = state;
    }
    if (state) m_cv.notify_all();
  }

private:
  std::mutex m_lock;
  std::condition_variable m_cv;
  bool m_manual;
  bool m_state;
};

uint64_t Fnv1a(const std::string& text) {
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : text) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

// "panel-mutex/<root>/<name>", the root and the name each as a hash, so the programs of one board share
// their names and those of another board (another test's root) do not meet them.
std::string AbstractName(LPCWSTR name) {
  std::string root = panel::PanelRoot();
  char resolved[PATH_MAX];
  if (realpath(root.c_str(), resolved)) root = resolved;
  char text[64];
  std::snprintf(text, sizeof text, "panel-mutex/%016llx/%016llx", static_cast<unsigned long long>(Fnv1a(root)),
                static_cast<unsigned long long>(Fnv1a(ToUtf8(name))));
  return text;
}

std::atomic<bool> g_namedMutexFailing{false};

}  // namespace

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  if (section && !section->mutex) section->mutex = new std::recursive_mutex();
}

void DeleteCriticalSection(LPCRITICAL_SECTION section) {
  if (!section) return;
  delete section->mutex;
  section->mutex = nullptr;
}

void EnterCriticalSection(LPCRITICAL_SECTION section) {
  if (section && section->mutex) section->mutex->lock();
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) {
  if (section && section->mutex) section->mutex->unlock();
}

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  return section && section->mutex && section->mutex->try_lock() ? TRUE : FALSE;
}

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL initialOwner, LPCWSTR name) {
  if (!name || !*name) {
    auto* mutex = new LocalMutex();
    if (initialOwner) mutex->Wait(INFINITE);
    SetLastError(ERROR_SUCCESS);
    return panel::RegisterHandle(mutex);
  }
  if (g_namedMutexFailing) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::string abstractName = AbstractName(name);
  std::memcpy(addr.sun_path + 1, abstractName.data(), abstractName.size());  // sun_path[0] = 0: abstract
  socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + abstractName.size());
  // A second bind, from this process or another, finds the name taken: the holder's own socket
  // conflicts with itself too, as a second CreateMutexW of a running program must see it held.
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), size) != 0) {
    int err = errno;
    if (err == EADDRINUSE) {
      close(fd);
      fd = -1;
    } else {
      close(fd);
      SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
  }
  HANDLE handle = panel::RegisterHandle(new NamedMutex(fd));
  SetLastError(fd < 0 ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReleaseMutex(HANDLE mutex) {
  if (auto* local = panel::HandleAs<LocalMutex>(mutex)) {
    local->Release();
    return TRUE;
  }
  if (panel::HandleAs<NamedMutex>(mutex)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState, LPCWSTR) {
  return panel::RegisterHandle(new Event(manualReset != 0, initialState != 0));
}

BOOL SetEvent(HANDLE event) {
  auto* e = panel::HandleAs<Event>(event);
  if (!e) return FALSE;
  e->Set(true);
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  auto* e = panel::HandleAs<Event>(event);
  if (!e) return FALSE;
  e->Set(false);
  return TRUE;
}

namespace panel {

void SetNamedMutexFailing(bool failing) { g_namedMutexFailing = failing; }

void ReleaseNamedMutexes() {
  std::lock_guard<std::mutex> guard(NamedLock());
  for (NamedMutex* m : Held()) m->Drop();
}

}  // namespace panel
