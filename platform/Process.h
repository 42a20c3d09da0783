// Processes of the board: the launcher starts the main program with CreateProcessW (from its CE path,
// mapped into the root and started with posix_spawn), and every program asks for its own path with
// GetModuleFileNameW to find the files beside it. A started program inherits the environment, with
// PANEL_ROOT set to the root in force and the clock's PANEL_TIME_SCALE/PANEL_TIME_BASE, so it lives on
// the same board and runs on the same time. Callable from any thread.
//
// A started process is reaped by the layer as soon as it ends, whether or not anybody holds or waits on
// its handles (the launcher closes them at once), so no ended child lingers.
#pragma once

#include "CString.h"
#include "WinTypes.h"

#ifndef ERROR_BAD_EXE_FORMAT
#define ERROR_BAD_EXE_FORMAT 193L
#endif
#define CREATE_NEW_CONSOLE 0x00000010u

struct STARTUPINFOW {
  DWORD cb;
};
typedef STARTUPINFOW STARTUPINFO;
typedef STARTUPINFOW* LPSTARTUPINFOW;

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

// Starts application (a CE path). As on CE the command line holds only the arguments, split at blanks
// with double quotes grouping; without application its first word is the program instead. Creation flags,
// environment, folder and start-up data are accepted and not used (a CE program has no current folder).
// On success both handles of *info are waitable (WaitForSingleObject signals when the process has ended)
// and must be closed with CloseHandle; dwProcessId is the Linux process id.
// Fails with 2 or 3 for a missing file or folder (3 for a path that maps to nothing), 5 for a file that
// may not be run, ERROR_BAD_EXE_FORMAT (193) for one that is not a program, 87 without a name or info.
BOOL CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD flags, LPVOID environment,
                    LPCWSTR currentDirectory, LPSTARTUPINFOW startupInfo, LPPROCESS_INFORMATION info);
// STILL_ACTIVE (259) while it runs, then its exit status; a process ended by TerminateProcess reports the
// code given there, one ended by another signal 128 + the signal number.
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
// Kills the process (SIGKILL); TRUE also when it had already ended.
BOOL TerminateProcess(HANDLE process, UINT exitCode);

// A handle to a running program of the board by its id (GetWindowThreadProcessId), for its file name:
// as on CE, the handle may be given to GetModuleFileNameW as the module. Close it with CloseHandle.
// Null with ERROR_INVALID_PARAMETER when no such process runs.
HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId);
// The running program's CE path ("\ResidentFlash\Quellora\Quellora.exe") for module null, or that of the
// program behind a process handle (OpenProcess, CreateProcessW); copies at most size - 1 characters and
// terminates. Returns the characters copied, or size with ERROR_INSUFFICIENT_BUFFER when the path was
// cut; 0 with ERROR_INVALID_PARAMETER for no buffer or size 0, 0 with ERROR_INVALID_HANDLE for a process
// that has ended, 0 with ERROR_MOD_NOT_FOUND for any other module.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

namespace panel {

// Tests: the path GetModuleFileNameW reports from now on; an empty path returns to the real one.
void SetModulePath(const CString& cePath);
// The CE path of an executable at linuxPath: its place inside the root, or, for a program outside it
// (a build tree, a test), "\ResidentFlash\Quellora\<name>.exe", the installation folder, so that the
// files the program looks for beside itself are the installed ones.
CString ModulePathFor(const std::string& linuxPath);

}  // namespace panel
