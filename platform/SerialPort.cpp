#include "Devices.h"

namespace panel {

// Serial lines are not wired up yet.
HANDLE OpenSerialDevice(const CString&, DWORD) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return INVALID_HANDLE_VALUE;
}

}  // namespace panel
