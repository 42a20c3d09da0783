#include "Sync.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>

#include "CString.h"
#include "Handles.h"
#include "Paths.h"

namespace {

// A named mutex is a lock file: whoever holds the flock owns the name across processes.
class NamedMutex : public panel::KernelObject {
public:
  explicit NamedMutex(int fd) : m_fd(fd) {}
  ~NamedMutex() override {
    if (m_fd >= 0) close(m_fd);
  }
  bool Wait(DWORD) override { return true; }

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

std::string LockFileName(LPCWSTR name) {
  std::string out = "mutex-";
  for (char c : ToUtf8(name)) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    if (plain) {
      out.push_back(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
      out += hex;
    }
  }
  return out + ".lock";
}

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
  std::string path = panel::RunPath(LockFileName(name));
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  // flock belongs to the open file description, so a second open in this same process conflicts too.
  bool exists = flock(fd, LOCK_EX | LOCK_NB) != 0;
  HANDLE handle = panel::RegisterHandle(new NamedMutex(fd));
  SetLastError(exists ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
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
