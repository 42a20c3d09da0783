// Binding of the board library. Nothing links against the two libraries: the main program and the
// launcher choose the file by the processor type (2577, the S3C2416 board: "Halvarn.dll"; any other:
// "Corvalin.dll"), load it at run time and look each entry point up by name at every call, so a
// missing file or export turns the call into nothing, without a message.
// The main program's handle is written only before its engine starts and after it stopped, and is
// read without a lock by the user-interface thread (backlight). The watchdog thread's reboot call and
// the release at shut-down hold BoardCallLock, so the watchdog never calls into a library that is
// being unloaded.
#pragma once

#include "Platform.h"

constexpr DWORD kHalvarnProcessorType = 2577;

// The processor type the system information reports.
DWORD BoardProcessorType();
// 1 when the processor type asks for Corvalin, 0 for Halvarn.
int BoardIsCorvalin(DWORD processorType);
// "Halvarn.dll" for processor type 2577, "Corvalin.dll" for any other.
const char16_t* BoardLibFileName(DWORD processorType);
// Loads the library for the processor type: by bare file name (the program's folder) when folder is
// empty, else from that CE folder ("\ResidentFlash\Quellora"). Null when it is not there.
HMODULE LoadBoardLibrary(const CString& folder, DWORD processorType);
// Look "Turn_Light" / "RebootHot" up in lib and call it; no-ops for a null lib or a missing export.
// Always 0: callers never see the hardware's result.
int BoardTurnLight(HMODULE lib, int on);
int BoardRebootHot(HMODULE lib);

// The main program's library, chosen and loaded at start-up, released at shut-down.
extern HMODULE g_hBoardLib;
extern int g_boardIsCorvalin;  // 1 when Corvalin was chosen
// Chooses by processor type, sets g_boardIsCorvalin and loads the file by bare name into g_hBoardLib.
void LoadBoardLib();
void FreeBoardLib();
// The main program's two board calls (backlight 1 on / 0 off, immediate reboot); always 0.
int CallTurnLight(int on);
int CallRebootHot();
// Held by CallRebootHot around its look-up and call and by FreeBoardLib around the release.
CRITICAL_SECTION& BoardCallLock();
