// Libraries loaded at run time: LoadLibraryW, GetProcAddressW and FreeLibrary over dlopen/dlsym.
// The board libraries are ELF files installed under their CE names ("Corvalin.dll"); a bare file
// name is looked up in the running program's folder of the emulated root, a name with a folder is a
// CE path into the root. "coredll.dll" in any folder is the platform itself: its exports are the
// layer's own functions, found by name. A missing file or export is a null result with the last
// error set (ERROR_MOD_NOT_FOUND, ERROR_PROC_NOT_FOUND), as the programs expect; nothing is printed.
// Any thread may call these; the module table has its own lock, never held across dlopen/dlclose.
#pragma once

#include <string>
#include <vector>

#include "CString.h"
#include "WinTypes.h"

#ifndef ERROR_BAD_EXE_FORMAT
#define ERROR_BAD_EXE_FORMAT 193L
#endif

typedef INT_PTR (*FARPROC)();

namespace panel {
// An export as the function type it really has, and back; the casts go through void (*)(), the
// generic function type, so the compiler accepts them without a warning.
template <typename F>
F ProcAs(FARPROC proc) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(proc));
}
template <typename F>
FARPROC AsFarProc(F function) {
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}
}  // namespace panel

// The module, or null: ERROR_INVALID_PARAMETER for no name, ERROR_MOD_NOT_FOUND for a file that is
// not there, ERROR_BAD_EXE_FORMAT for one that does not load. Loading a loaded file again returns
// the same handle and counts one more reference.
HMODULE LoadLibraryW(LPCWSTR name);
// The export, or null with ERROR_PROC_NOT_FOUND (also for an ordinal, a name below 0x10000) or
// ERROR_INVALID_HANDLE for a handle LoadLibraryW did not give.
FARPROC GetProcAddressW(HMODULE module, LPCWSTR name);
FARPROC GetProcAddressA(HMODULE module, LPCSTR name);
inline FARPROC GetProcAddress(HMODULE module, LPCWSTR name) { return GetProcAddressW(module, name); }
inline FARPROC GetProcAddress(HMODULE module, LPCSTR name) { return GetProcAddressA(module, name); }
// Drops one reference; the file is unloaded with the last (its static destructors run then).
// FALSE with ERROR_INVALID_HANDLE for an unknown handle.
BOOL FreeLibrary(HMODULE module);

namespace panel {

// The CE folder, with its final backslash, that bare library names are looked up in: the folder of
// the program's path as GetModuleFileNameW reports it (tests set that path with SetModulePath).
CString ProgramFolder();

// The names a loaded module exports (its defined dynamic symbols), for tests that check a library
// offers exactly its entry points. Empty for the platform module or an unknown handle.
std::vector<std::string> ModuleExports(HMODULE module);

// Tests take the platform module away, or single exports of it, to show how callers cope.
void SetSystemModuleAvailable(bool available);
void HideSystemExport(const std::string& name, bool hidden);
// Restores the platform module with all its exports.
void ResetSystemModule();

}  // namespace panel
