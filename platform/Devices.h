// Device names that CreateFileW opens besides files: the serial ports "COM%d:" and the board's
// drivers ("PIO1:", "WDT1:"). The serial side is in SerialPort.cpp, the board side in BoardDevices.cpp.
#pragma once

#include "CString.h"
#include "WinTypes.h"

namespace panel {

// True for a device name: letters, digits and a final colon ("COM3:", "PIO1:").
bool IsDeviceName(const char16_t* name);
// Each returns a registered IoObject handle, or INVALID_HANDLE_VALUE with the last error set.
HANDLE OpenSerialDevice(const CString& name, DWORD access);
HANDLE OpenBoardDevice(const CString& name, DWORD access);

}  // namespace panel
