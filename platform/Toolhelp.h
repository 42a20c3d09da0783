// The programs running on the board, listed through a tool-help snapshot as on CE: the launcher finds a
// program by its file (the staged main program of an unfinished update) whatever its windows show yet.
// The board's programs are the processes started from a file inside the root; each is listed with its
// id (the one GetWindowThreadProcessId and OpenProcess know) and its file's name. A program that has
// ended, also one whose parent has still to reap it, is not listed. Callable from any thread.
#pragma once

#include "WinTypes.h"

#define TH32CS_SNAPPROCESS 0x00000002u

// The fields of an entry that the programs read.
struct PROCESSENTRY32W {
  DWORD dwSize;               // set by the caller: sizeof(PROCESSENTRY32W)
  DWORD th32ProcessID;
  WCHAR szExeFile[MAX_PATH];  // the file's name without its folder, as on CE; GetModuleFileNameW of
                              // OpenProcess(th32ProcessID) gives the whole path
};
typedef PROCESSENTRY32W PROCESSENTRY32;
typedef PROCESSENTRY32W* LPPROCESSENTRY32W;

// The board's programs as they run now, for TH32CS_SNAPPROCESS (processId is not used); an other kind
// gives INVALID_HANDLE_VALUE with ERROR_INVALID_PARAMETER. Close it with CloseToolhelp32Snapshot.
HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId);
// The snapshot's first program, or the next one, into *entry. FALSE with ERROR_NO_MORE_FILES after the
// last, ERROR_INVALID_PARAMETER for no entry or a dwSize below the entry's, ERROR_INVALID_HANDLE for a
// handle that is not a snapshot.
BOOL Process32FirstW(HANDLE snapshot, LPPROCESSENTRY32W entry);
BOOL Process32NextW(HANDLE snapshot, LPPROCESSENTRY32W entry);
BOOL CloseToolhelp32Snapshot(HANDLE snapshot);
