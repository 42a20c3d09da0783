// The platform as the board libraries see it: the table of boardside/BoardServices.h that every program
// offers the libraries it loads, each entry the program's own platform call.
#include "boardside/BoardServices.h"

#include "Board.h"
#include "Clock.h"
#include "Files.h"
#include "Handles.h"
#include "Module.h"
#include "SystemInfo.h"
#include "Thread.h"

extern "C" __attribute__((visibility("default"))) const panel::BoardServices* panel_board_services() {
  static const panel::BoardServices table = {
      panel::kBoardServicesVersion,
      &GetLastError,
      &SetLastError,
      &panel::BoardDebugOutput,
      &GetTickCount,
      &Sleep,
      &CreateFileW,
      &DeviceIoControl,
      &CloseHandle,
      &WaitForSingleObject,
      &CreateThread,
      &SetThreadPriority,
      &LoadLibraryW,
      &GetProcAddressW,
      &FreeLibrary,
      &GetSystemInfo,
      &KernelIoControl,
      &SetCleanRebootFlag,
      &SetSystemMemoryDivision,
      &GetSystemMemoryDivision,
      &GetAdaptersInfo,
      &panel::ReadReg32,
      &panel::ReadReg16,
      &panel::WriteReg32,
  };
  return &table;
}
