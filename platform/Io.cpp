// ReadFile, WriteFile and DeviceIoControl dispatch to the IoObject behind the handle.
#include "Handles.h"

#include "Devices.h"
#include "Files.h"

namespace {

// A call that did nothing: no bytes counted (when the caller asked for the count) and its error set.
BOOL Fail(DWORD* count, DWORD error) {
  if (count) *count = 0;
  SetLastError(error);
  return FALSE;
}

}  // namespace

namespace panel {

BOOL IoObject::Read(void*, DWORD, DWORD* done) {
  return Fail(done, ERROR_INVALID_HANDLE);
}

BOOL IoObject::Write(const void*, DWORD, DWORD* done) {
  return Fail(done, ERROR_INVALID_HANDLE);
}

BOOL IoObject::IoControl(DWORD, const void*, DWORD, void*, DWORD, DWORD* returned) {
  return Fail(returned, ERROR_NOT_SUPPORTED);
}

bool IsDeviceName(const char16_t* name) {
  size_t n = WStrLen(name);
  if (n < 2 || name[n - 1] != u':') return false;
  for (size_t i = 0; i + 1 < n; ++i) {
    char16_t c = name[i];
    bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    if (!ok) return false;
  }
  return true;
}

}  // namespace panel

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD done, LPVOID) {
  auto* io = panel::HandleAs<panel::IoObject>(file);
  if (!io) return Fail(done, ERROR_INVALID_HANDLE);
  DWORD ignored = 0;
  return io->Read(buffer, size, done ? done : &ignored);
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD done, LPVOID) {
  auto* io = panel::HandleAs<panel::IoObject>(file);
  if (!io) return Fail(done, ERROR_INVALID_HANDLE);
  DWORD ignored = 0;
  return io->Write(buffer, size, done ? done : &ignored);
}

BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned,
                     LPVOID) {
  auto* io = panel::HandleAs<panel::IoObject>(device);
  if (!io) return Fail(returned, ERROR_INVALID_HANDLE);
  DWORD ignored = 0;
  return io->IoControl(code, in, inSize, out, outSize, returned ? returned : &ignored);
}
