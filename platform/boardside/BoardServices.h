// The platform calls a board library may make, as one table that the loading program offers.
// A board library is a shared object of its own: if it carried a copy of the platform, its clock,
// handles, register file and logs would be a second set beside the program's. Instead it links the
// small board-side stubs (BoardSide.cpp), which find this table in the program that loaded it, by
// the one symbol every program of the terminal exports (panel_board_services), and forward each
// call. The library so shares the program's board, clock and last-error word, as a CE library
// shares the kernel through its core library.
#pragma once

#include "../Board.h"
#include "../Files.h"
#include "../Handles.h"
#include "../Module.h"
#include "../SystemInfo.h"
#include "../Thread.h"

namespace panel {

// Raised whenever a field changes meaning; a library refuses a table of another version.
constexpr uint32_t kBoardServicesVersion = 1;

struct BoardServices {
  uint32_t version;
  DWORD (*getLastError)();
  void (*setLastError)(DWORD code);
  void (*outputDebugString)(LPCWSTR text);
  DWORD (*getTickCount)();
  void (*sleep)(DWORD milliseconds);
  HANDLE (*createFile)(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES attributes, DWORD creation,
                       DWORD flags, HANDLE templateFile);
  BOOL (*deviceIoControl)(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize,
                          LPDWORD returned, LPVOID overlapped);
  BOOL (*closeHandle)(HANDLE handle);
  DWORD (*waitForSingleObject)(HANDLE handle, DWORD timeoutMs);
  HANDLE (*createThread)(LPSECURITY_ATTRIBUTES attributes, size_t stackSize, LPTHREAD_START_ROUTINE start,
                         LPVOID parameter, DWORD flags, LPDWORD threadId);
  BOOL (*setThreadPriority)(HANDLE thread, int priority);
  HMODULE (*loadLibrary)(LPCWSTR name);
  FARPROC (*getProcAddress)(HMODULE module, LPCWSTR name);
  BOOL (*freeLibrary)(HMODULE module);
  void (*getSystemInfo)(LPSYSTEM_INFO info);
  BOOL (*kernelIoControl)(DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned);
  void (*setCleanRebootFlag)();
  DWORD (*setSystemMemoryDivision)(DWORD storePages);
  BOOL (*getSystemMemoryDivision)(LPDWORD storePages, LPDWORD ramPages, LPDWORD pageSize);
  DWORD (*getAdaptersInfo)(PIP_ADAPTER_INFO list, ULONG* size);
  uint32_t (*readReg32)(uint32_t address);
  uint16_t (*readReg16)(uint32_t address);
  void (*writeReg32)(uint32_t address, uint32_t value);
};

}  // namespace panel

// Defined by the platform (BoardServices.cpp) and exported from every program that links it.
extern "C" const panel::BoardServices* panel_board_services();
