// What the launcher does to the main program and the board from outside: starting a program, finding
// and closing the main program's window, closing the system's error boxes, and the board library's
// reboot. The status message WM_STATUS_REPORT that the main program sends every 500 ms is defined here
// for both sides.
#pragma once

#include "Gui.h"
#include "Platform.h"

// wParam: software version in hundredths (bits 0-23) and test number (bits 24-31).
// lParam: table version in hundredths (bits 0-23) and command (bits 24-31).
#define WM_STATUS_REPORT 0x7E8
#define STATUS_CMD_COUNT_EXIT 1
#define STATUS_CMD_RESCAN_UPDATE 2

// The message's two parameters from their fields, and back.
inline WPARAM StatusReportWParam(int software, int testNumber) {
  return static_cast<WPARAM>((static_cast<uint32_t>(software) & 0xFFFFFFu) | (static_cast<uint32_t>(testNumber) << 24));
}
inline LPARAM StatusReportLParam(int table, int command) {
  return static_cast<LPARAM>(static_cast<int32_t>((static_cast<uint32_t>(table) & 0xFFFFFFu) |
                                                  (static_cast<uint32_t>(command) << 24)));
}

// CreateProcessW of the path, no command line, creation flags 0x10; both handles closed at once.
bool StartProgram(const CString& path);
// The top-level window titled "Quellora", else the first top-level window with a descendant titled
// "EXIT"; with close, WM_CLOSE is sent to it. Whether one was found.
bool FindMainProgramWindow(bool close);
// The id of a running program of the board started from that file (a CE path, compared without regard
// to case); 0 when none runs. Found by its process, so also while it starts and has no window yet.
DWORD FindProgramProcess(const char16_t* program);
// Posts WM_CLOSE to the main window of that program (its top-level window titled "Quellora", else its
// first with a descendant titled "EXIT"). False when it has none (yet).
bool CloseProgramWindow(DWORD processId);
// Sends WM_CLOSE to the first top-level window titled "Application Error", "Fatal Application Error",
// "应用程序错误" or "致命的应用程序错误", in this order; at most one per call.
void CloseErrorBoxes();
