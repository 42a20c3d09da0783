#include "Handles.h"

#include <memory>
#include <mutex>
#include <unordered_map>

namespace panel {
namespace {

// Never destroyed: static objects closing their handles at exit may outlive a function-local lock.
std::mutex& TableLock() {
  static auto* lock = new std::mutex();
  return *lock;
}

std::unordered_map<HANDLE, std::unique_ptr<KernelObject>>& Table() {
  static auto* table = new std::unordered_map<HANDLE, std::unique_ptr<KernelObject>>();
  return *table;
}

thread_local DWORD t_lastError = 0;

}  // namespace

bool KernelObject::Wait(DWORD) { return false; }

HANDLE RegisterHandle(KernelObject* object) {
  if (!object) return nullptr;
  std::lock_guard<std::mutex> guard(TableLock());
  HANDLE handle = static_cast<HANDLE>(object);
  Table()[handle].reset(object);
  return handle;
}

KernelObject* LookupHandle(HANDLE handle) {
  std::lock_guard<std::mutex> guard(TableLock());
  auto it = Table().find(handle);
  return it == Table().end() ? nullptr : it->second.get();
}

}  // namespace panel

DWORD GetLastError() { return panel::t_lastError; }
void SetLastError(DWORD code) { panel::t_lastError = code; }

BOOL CloseHandle(HANDLE handle) {
  std::unique_ptr<panel::KernelObject> object;
  {
    std::lock_guard<std::mutex> guard(panel::TableLock());
    auto it = panel::Table().find(handle);
    if (it == panel::Table().end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    object = std::move(it->second);
    panel::Table().erase(it);
  }
  return TRUE;  // the object is destroyed outside the table lock
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
  panel::KernelObject* object = panel::LookupHandle(handle);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return object->Wait(timeoutMs) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}
