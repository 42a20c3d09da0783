#include "Devices.h"

namespace panel {

// The board's drivers are not simulated yet.
HANDLE OpenBoardDevice(const CString&, DWORD) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  return INVALID_HANDLE_VALUE;
}

}  // namespace panel
