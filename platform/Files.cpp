#include "Files.h"

#include "CString.h"
#include "Devices.h"

// Only devices so far; plain files come with the rest of the file calls.
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE) {
  if (panel::IsDeviceName(name)) {
    CString device(name);
    if (device.Left(3).CompareNoCase(u"COM") == 0) return panel::OpenSerialDevice(device, access);
    return panel::OpenBoardDevice(device, access);
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return INVALID_HANDLE_VALUE;
}
