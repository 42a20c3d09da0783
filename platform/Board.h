// The simulated board: what the board libraries drive and the programs ask of the hardware.
// Configuration is read from small text files under $PANEL_ROOT/board/ (each read when first needed
// after the root changed):
//   mac         the network adapter's address, "00:1A:2B:3C:4D:5E" (no adapter without it)
//   drivers     the stream drivers present, "PIO1: WDT1:" (both without the file)
//   registers   initial register and boot-loader words, one "address value" pair a line ('#' comments)
//   memory      the memory division, "store-pages ram-pages page-size", kept up to date by the setter
//   cpuinfo     "vendor=", "core=" and "name=" lines of the processor information record
// Every driver call, register write, kernel control call and board-library debug text becomes one
// event: appended to $PANEL_ROOT/board/board.log when the board folder exists (the file kept open),
// and kept in memory while a test asks for it (BoardEvents). A reboot is recorded in
// $PANEL_ROOT/board/reboot and ends every program of the board at once (the others that publish
// windows are killed, then this one exits without running its destructors), like a reset, unless a
// test has set a reboot hook. Whoever powers the board starts it again. A board file is written only
// when what it holds changes.
// Thread-safe: one lock guards the board's state; it is never held while a reboot hook runs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "WinTypes.h"

#ifndef ERROR_GEN_FAILURE
#define ERROR_GEN_FAILURE 31L
#endif

// ---- Kernel I/O control ----

#define IOCTL_PROCESSOR_INFORMATION 0x01010064u
// The board's own code: switches the backlight through the platform, 4-byte input 3 (on) or 2 (off).
#define IOCTL_BOARD_BACKLIGHT 0x01012000u

// The processor information record (576 bytes); the texts need not be terminated in their fields.
struct PROCESSOR_INFO {
  WORD wVersion;
  WCHAR szProcessCore[40];
  WORD wCoreRevision;
  WCHAR szProcessorName[40];
  WORD wProcessorRevision;
  WCHAR szCatalogNumber[100];
  WCHAR szVendor[100];
  DWORD dwInstructionSet;
  DWORD dwClockSpeed;
};
static_assert(sizeof(PROCESSOR_INFO) == 576, "processor information record layout");

// TRUE when the code is known and the buffers fit; else FALSE with ERROR_NOT_SUPPORTED,
// ERROR_INVALID_PARAMETER (input missing or short) or ERROR_INSUFFICIENT_BUFFER (output short).
BOOL KernelIoControl(DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned);
// Marks the next start as a clean boot (the board discards its saved object store).
void SetCleanRebootFlag();

// ---- Memory division ----

#define SYSMEM_CHANGED 0u
#define SYSMEM_MUSTREBOOT 1u
#define SYSMEM_REBOOTPENDING 2u
#define SYSMEM_FAILED 3u
// SYSMEM_CHANGED, or SYSMEM_FAILED for 0 pages or not fewer than the board has.
DWORD SetSystemMemoryDivision(DWORD storePages);
// FALSE with ERROR_INVALID_PARAMETER when a pointer is missing.
BOOL GetSystemMemoryDivision(LPDWORD storePages, LPDWORD ramPages, LPDWORD pageSize);

// ---- Network adapters (only the fields the programs read) ----

#ifndef ERROR_BUFFER_OVERFLOW
#define ERROR_BUFFER_OVERFLOW 111L
#endif
#ifndef ERROR_NO_DATA
#define ERROR_NO_DATA 232L
#endif
#define MAX_ADAPTER_NAME_LENGTH 256
#define MAX_ADAPTER_DESCRIPTION_LENGTH 128
#define MAX_ADAPTER_ADDRESS_LENGTH 8

struct IP_ADAPTER_INFO {
  IP_ADAPTER_INFO* Next;
  DWORD ComboIndex;
  char AdapterName[MAX_ADAPTER_NAME_LENGTH + 4];
  char Description[MAX_ADAPTER_DESCRIPTION_LENGTH + 4];
  UINT AddressLength;
  BYTE Address[MAX_ADAPTER_ADDRESS_LENGTH];
  DWORD Index;
  UINT Type;
  UINT DhcpEnabled;
};
typedef IP_ADAPTER_INFO* PIP_ADAPTER_INFO;
// 0 with the list written; ERROR_BUFFER_OVERFLOW with *size set when the buffer is missing or short;
// ERROR_NO_DATA when the board has no adapter; ERROR_INVALID_PARAMETER without size.
DWORD GetAdaptersInfo(PIP_ADAPTER_INFO list, ULONG* size);

namespace panel {

// ---- Processor registers ----
// The S3C2416's peripheral registers and the boot loader's words at their mapped addresses, in a
// register file: each address holds its own word (the 16-bit board code at 0xA0020092 too), unset
// ones read 0. Writes are logged. Writing 0x533C2416 to SWRST resets the board; a WTCON write that
// enables the watchdog with reset arms it for WTCNT counts at the programmed rate.
uint32_t ReadReg32(uint32_t address);
uint16_t ReadReg16(uint32_t address);
void WriteReg32(uint32_t address, uint32_t value);

// ---- For tests and a person watching the board ----

struct BoardEvent {
  DWORD tick;        // GetTickCount when it happened
  std::string text;  // e.g. "write32 0xB2100024 0x00000100", "PIO1: level 114 1", "debug Open GPIO failed.\r\n"
};
// The events since the last reset that came while they were kept, oldest first (at most the last
// 10000). Kept only after KeepBoardEvents(true), which a reset leaves as it is: a program that runs
// for years keeps none. Turning it off forgets them.
std::vector<BoardEvent> BoardEvents();
std::vector<std::string> BoardEventTexts();
void ClearBoardEvents();
void KeepBoardEvents(bool keep);
// Forgets everything simulated (registers, drivers, watchdogs, events, the failing drivers, the
// platform module's switches); the configuration files are read again on the next use. Also happens
// by itself when the root changes.
void ResetBoard();

// Called instead of ending the program when the board resets; reason "software reset" or "watchdog".
// Null restores the reset. The board's registers and watchdogs are back to their start values after.
typedef std::function<void(const std::string& reason)> RebootHook;
void SetRebootHook(RebootHook hook);
// Lets an expired watchdog reset the board now. Every board call does this first, so an armed,
// unfed watchdog fires at the first call after its time-out.
void PollBoardWatchdogs();
bool BoardWatchdogArmed();

// Makes every control call of a driver fail (FALSE, ERROR_GEN_FAILURE) until cleared.
void SetBoardDriverFailing(const std::string& name, bool failing);

// ---- Used by the layer's own board drivers (BoardDevices.cpp) ----

void BoardLog(const std::string& text);
bool BoardHasDriver(const std::string& name);
bool BoardDriverFailing(const std::string& name);
// Watchdog of the "WDT1:" driver: armed with a time-out, fed (time-out restarts), closed.
void ArmDriverWatchdog(DWORD timeoutMs);
void FeedDriverWatchdog();
void CloseDriverWatchdog();
// Debug text from a board library: one event, then the platform's debug output.
void BoardDebugOutput(LPCWSTR text);

}  // namespace panel
