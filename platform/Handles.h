// Kernel objects behind HANDLE: files, serial ports, threads, mutexes, events. A HANDLE is a pointer
// to a KernelObject registered in a process-wide table, so a stale or foreign value is detected and
// rejected (ERROR_INVALID_HANDLE) instead of being dereferenced.
#pragma once

#include "WinTypes.h"

namespace panel {

class KernelObject {
public:
  virtual ~KernelObject() = default;
  // Waitable objects (threads, mutexes, events) override: true when signalled within timeoutMs.
  virtual bool Wait(DWORD timeoutMs);
};

// Registers the object (taking ownership) and returns its handle.
HANDLE RegisterHandle(KernelObject* object);
// The object behind a live handle, or null.
KernelObject* LookupHandle(HANDLE handle);
template <typename T>
T* HandleAs(HANDLE handle) {
  return dynamic_cast<T*>(LookupHandle(handle));
}

}  // namespace panel

// Unregisters and destroys the object; FALSE with ERROR_INVALID_HANDLE for an unknown handle.
BOOL CloseHandle(HANDLE handle);

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);

namespace panel {

// Objects that ReadFile, WriteFile and DeviceIoControl work on: files, serial ports, board drivers.
// Each returns FALSE with the last error set on failure; the defaults refuse (ERROR_INVALID_HANDLE).
class IoObject : public KernelObject {
public:
  virtual BOOL Read(void* buffer, DWORD size, DWORD* done);
  virtual BOOL Write(const void* buffer, DWORD size, DWORD* done);
  virtual BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
};

}  // namespace panel
