// The board's registry: keys under HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER with REG_DWORD, REG_SZ and
// REG_BINARY values (the touch driver's "Dis_Cursor" is the one the programs write). It lives in the
// text file $PANEL_ROOT/board/registry, which a person may read and edit:
//
//   ; comment
//   [HKEY_LOCAL_MACHINE\HARDWARE\DEVICEMAP\TOUCH]
//   "Dis_Cursor"=dword:00000002
//   "Name"="text"             (\\ and \" escaped, \n for a line break)
//   "Blob"=hex:01,02,ff
//   "Other"=hex(7):41,00,00,00 (any other type, by its number)
//   @="default value"
//
// Every call re-reads the file, so an edit takes effect at the next open or query; a change is written
// to a temporary file renamed over the old one, so a reader never sees half a file. Keys and value names
// compare without regard to ASCII case and keep the case they were written with. A key exists when it
// or a key below it has a line. Lines that cannot be read are reported to the debug output and dropped
// at the next write. One process-wide lock serialises the calls; writers in two processes at once are
// not coordinated (the terminal writes once, at start-up).
//
// The calls return ERROR_SUCCESS or an error code (they do not set GetLastError): a missing key or
// value ERROR_FILE_NOT_FOUND (2), a bad or closed key ERROR_INVALID_HANDLE (6), missing arguments
// ERROR_INVALID_PARAMETER (87), a buffer too small ERROR_MORE_DATA (234, the size needed in *size), a key
// removed from the file while open ERROR_KEY_DELETED (1018), a file that cannot be written
// ERROR_ACCESS_DENIED (5). Access masks are accepted and not checked, as on CE.
#pragma once

#include "WinTypes.h"

struct HKEY__;
typedef HKEY__* HKEY;
typedef HKEY* PHKEY;
typedef DWORD REGSAM;

#define HKEY_CLASSES_ROOT (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000000u)))
#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000002u)))
#define HKEY_USERS (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x80000003u)))

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_ALL_ACCESS 0xF003Fu

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_MULTI_SZ 7u

#define REG_OPTION_NON_VOLATILE 0u
#define REG_CREATED_NEW_KEY 1u
#define REG_OPENED_EXISTING_KEY 2u

#ifndef ERROR_MORE_DATA
#define ERROR_MORE_DATA 234L
#endif
#ifndef ERROR_KEY_DELETED
#define ERROR_KEY_DELETED 1018L
#endif

// Opens an existing key below key (an open key or a root); a missing key fails with 2 and is not created.
// An empty or null subKey opens key itself again.
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
// Opens the key, creating it and the keys above it when missing; *disposition (when given) tells which.
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options, REGSAM access,
                     LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
// Stores a value (a null or empty name is the key's default value). REG_SZ text is kept up to its first
// terminator; REG_DWORD takes 4 bytes (any other length is kept as raw bytes of type 4).
LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size);
// Reads a value: its type into *type, its bytes into data, their count into *size. With data null only
// the type and size are given. REG_SZ comes back as UTF-16 with its terminator.
LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size);
LONG RegCloseKey(HKEY key);
