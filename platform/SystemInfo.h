// What the programs ask of the system: the processor type that picks the board library, and the free
// physical memory that the main screen hands to the supervision (it stops clearing its alive counter
// below 3,072,000 bytes, so that a leaking program gets the board restarted).
// The processor type is the number in $PANEL_ROOT/board/processor (2577 when the file is missing or
// unreadable, the board the root is prepared for by default). Memory figures come from /proc/meminfo and
// are capped at 0xFFFFFFFF, as the fields are 32 bits; tests fix the available physical figure.
// Callable from any thread.
#pragma once

#include "WinTypes.h"

#define PROCESSOR_ARCHITECTURE_ARM 5
#define PROCESSOR_STRONGARM 2577

struct SYSTEM_INFO {
  WORD wProcessorArchitecture;
  WORD wReserved;
  DWORD dwPageSize;
  LPVOID lpMinimumApplicationAddress;
  LPVOID lpMaximumApplicationAddress;
  DWORD dwActiveProcessorMask;
  DWORD dwNumberOfProcessors;
  DWORD dwProcessorType;
  DWORD dwAllocationGranularity;
  WORD wProcessorLevel;
  WORD wProcessorRevision;
};
typedef SYSTEM_INFO* LPSYSTEM_INFO;

void GetSystemInfo(LPSYSTEM_INFO info);

struct MEMORYSTATUS {
  DWORD dwLength;
  DWORD dwMemoryLoad;  // percent of physical memory in use
  DWORD dwTotalPhys;
  DWORD dwAvailPhys;
  DWORD dwTotalPageFile;
  DWORD dwAvailPageFile;
  DWORD dwTotalVirtual;
  DWORD dwAvailVirtual;
};
typedef MEMORYSTATUS* LPMEMORYSTATUS;

// Fills every field (dwLength too). A null pointer is ignored.
void GlobalMemoryStatus(LPMEMORYSTATUS status);

namespace panel {

// Tests: the available physical memory that GlobalMemoryStatus reports from now on (the load follows it);
// ClearAvailPhysOverride returns to the real figure.
void SetAvailPhysOverride(DWORD bytes);
void ClearAvailPhysOverride();

}  // namespace panel
