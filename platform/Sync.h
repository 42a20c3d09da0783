// Locks of the platform: recursive critical sections, the class library's CCriticalSection,
// and named mutexes shared between the processes of one board root (an abstract socket name the kernel
// holds for the process, freed when it ends).
#pragma once

#include <mutex>

#include "WinTypes.h"

struct CRITICAL_SECTION {
  std::recursive_mutex* mutex = nullptr;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void DeleteCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);

class CCriticalSection {
public:
  CCriticalSection() = default;
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;
  BOOL Lock() { m_mutex.lock(); return TRUE; }
  BOOL Unlock() { m_mutex.unlock(); return TRUE; }

private:
  std::recursive_mutex m_mutex;
};

// Scope guard over a CRITICAL_SECTION.
class CriticalSectionLock {
public:
  explicit CriticalSectionLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
  ~CriticalSectionLock() { LeaveCriticalSection(&m_section); }
  CriticalSectionLock(const CriticalSectionLock&) = delete;
  CriticalSectionLock& operator=(const CriticalSectionLock&) = delete;

private:
  CRITICAL_SECTION& m_section;
};

// Named mutexes: a name already held (by this or another process) still yields a handle, with
// GetLastError() == ERROR_ALREADY_EXISTS, as the single-instance checks expect. An unnamed mutex is local.
// Null when the name cannot be had at all (no socket, the system refuses the name): a program must then
// not run as though it were the only copy.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
BOOL ReleaseMutex(HANDLE mutex);

// Events, for the few waits the programs make.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

namespace panel {
// Tests: makes every CreateMutexW of a named mutex fail (null, ERROR_ACCESS_DENIED) until cleared.
void SetNamedMutexFailing(bool failing);
// Tests: lets go of every name this process holds, as the end of the process would, so a test can start
// a program's single-instance code again in the same process. The handles stay valid and hold nothing.
void ReleaseNamedMutexes();
}  // namespace panel
