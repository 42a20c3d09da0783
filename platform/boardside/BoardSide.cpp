// Board-side stubs: the platform calls of a board library, forwarded to the loading program's
// platform (BoardServices.h). Without a program table (a library loaded by something else) every
// call fails as a missing platform call would: null handles, FALSE, SYSMEM_FAILED, no time passing.
#include "BoardServices.h"

#include <dlfcn.h>

#include <atomic>

namespace {

const panel::BoardServices* Host() {
  static const panel::BoardServices* const host = [] {
    typedef const panel::BoardServices* (*Getter)();
    auto getter = reinterpret_cast<Getter>(dlsym(RTLD_DEFAULT, "panel_board_services"));
    const panel::BoardServices* table = getter ? getter() : nullptr;
    return (table && table->version == panel::kBoardServicesVersion) ? table : nullptr;
  }();
  return host;
}

std::atomic<DWORD> g_ownLastError{0};  // the last-error word when no program offers one

void Fail(DWORD code) {
  if (Host()) {
    Host()->setLastError(code);
  } else {
    g_ownLastError = code;
  }
}

}  // namespace

DWORD GetLastError() { return Host() ? Host()->getLastError() : g_ownLastError.load(); }

void SetLastError(DWORD code) { Fail(code); }

void OutputDebugStringW(LPCWSTR text) {
  if (Host()) Host()->outputDebugString(text);
}

DWORD GetTickCount() { return Host() ? Host()->getTickCount() : 0; }

void Sleep(DWORD milliseconds) {
  if (Host()) Host()->sleep(milliseconds);
}

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES attributes, DWORD creation,
                   DWORD flags, HANDLE templateFile) {
  if (!Host()) {
    Fail(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return Host()->createFile(name, access, share, attributes, creation, flags, templateFile);
}

BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned,
                     LPVOID overlapped) {
  if (!Host()) {
    Fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return Host()->deviceIoControl(device, code, in, inSize, out, outSize, returned, overlapped);
}

BOOL CloseHandle(HANDLE handle) {
  if (!Host()) {
    Fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return Host()->closeHandle(handle);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
  if (!Host()) {
    Fail(ERROR_INVALID_HANDLE);
    return WAIT_FAILED;
  }
  return Host()->waitForSingleObject(handle, timeoutMs);
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, size_t stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, LPDWORD threadId) {
  if (!Host()) {
    Fail(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  return Host()->createThread(attributes, stackSize, start, parameter, flags, threadId);
}

BOOL SetThreadPriority(HANDLE thread, int priority) {
  if (!Host()) {
    Fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return Host()->setThreadPriority(thread, priority);
}

HMODULE LoadLibraryW(LPCWSTR name) {
  if (!Host()) {
    Fail(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return Host()->loadLibrary(name);
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR name) {
  if (!Host()) {
    Fail(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return Host()->getProcAddress(module, name);
}

BOOL FreeLibrary(HMODULE module) {
  if (!Host()) {
    Fail(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return Host()->freeLibrary(module);
}

void GetSystemInfo(LPSYSTEM_INFO info) {
  if (Host()) {
    Host()->getSystemInfo(info);
  } else if (info) {
    *info = SYSTEM_INFO{};
  }
}

BOOL KernelIoControl(DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned) {
  if (!Host()) {
    if (returned) *returned = 0;
    Fail(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  return Host()->kernelIoControl(code, in, inSize, out, outSize, returned);
}

void SetCleanRebootFlag() {
  if (Host()) Host()->setCleanRebootFlag();
}

DWORD SetSystemMemoryDivision(DWORD storePages) {
  return Host() ? Host()->setSystemMemoryDivision(storePages) : SYSMEM_FAILED;
}

BOOL GetSystemMemoryDivision(LPDWORD storePages, LPDWORD ramPages, LPDWORD pageSize) {
  if (!Host()) {
    Fail(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  return Host()->getSystemMemoryDivision(storePages, ramPages, pageSize);
}

DWORD GetAdaptersInfo(PIP_ADAPTER_INFO list, ULONG* size) {
  return Host() ? Host()->getAdaptersInfo(list, size) : static_cast<DWORD>(ERROR_NOT_SUPPORTED);
}

namespace panel {

uint32_t ReadReg32(uint32_t address) { return Host() ? Host()->readReg32(address) : 0; }

uint16_t ReadReg16(uint32_t address) { return Host() ? Host()->readReg16(address) : 0; }

void WriteReg32(uint32_t address, uint32_t value) {
  if (Host()) Host()->writeReg32(address, value);
}

}  // namespace panel
