// Files and folders of the emulated board, and the device names CreateFileW also opens.
// Paths are CE paths mapped into $PANEL_ROOT (Paths.h); a path that maps to nothing (empty, or with a
// ".." component) fails with ERROR_PATH_NOT_FOUND. Every call may be made from any thread; the only
// shared state is the table of open files behind the share modes (one lock, held only while a file is
// opened, closed, deleted or moved).
//
// Error codes, as the programs compare them: a missing file in an existing folder 2
// (ERROR_FILE_NOT_FOUND), a missing folder on the way 3 (ERROR_PATH_NOT_FOUND), a folder where a file is
// wanted 5 (ERROR_ACCESS_DENIED), a share-mode conflict 32, CREATE_NEW or CopyFileW(fail-if-exists) on an
// existing file 80, CreateDirectoryW or MoveFileW onto an existing name 183, the end of a search 18.
//
// Bounded where the original is not: the board's root itself can be neither removed nor moved, and
// share modes are enforced between the handles of this process only (other processes do not see them).
#pragma once

#include <string>

#include "WinTypes.h"

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#define FILE_BEGIN 0u
#define FILE_CURRENT 1u
#define FILE_END 2u
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu

#ifndef ERROR_NOT_SAME_DEVICE
#define ERROR_NOT_SAME_DEVICE 17L
#endif
#ifndef ERROR_DISK_FULL
#define ERROR_DISK_FULL 112L
#endif
#ifndef ERROR_NEGATIVE_SEEK
#define ERROR_NEGATIVE_SEEK 131L
#endif
#ifndef ERROR_DIR_NOT_EMPTY
#define ERROR_DIR_NOT_EMPTY 145L
#endif
#ifndef ERROR_DIRECTORY
#define ERROR_DIRECTORY 267L
#endif

// One entry of a folder search. dwOID is always 0 (no object store here).
struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;    // the status-change time; Linux keeps no creation time everywhere
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;

// Opens a file, or a device when the name is one ("COM3:" goes to the serial side, "PIO1:" and the other
// board drivers to the board side; see Devices.h). For files:
// - access GENERIC_READ and/or GENERIC_WRITE, or 0 to open for attributes only; ReadFile and WriteFile
//   without the matching right fail with ERROR_ACCESS_DENIED.
// - share FILE_SHARE_READ/FILE_SHARE_WRITE: an open that conflicts with a handle still open fails with
//   ERROR_SHARING_VIOLATION (32).
// - creation CREATE_NEW (80 when it exists), CREATE_ALWAYS (truncates; 183 in GetLastError when it
//   existed), OPEN_EXISTING (2 or 3 when missing), OPEN_ALWAYS (183 when it existed), TRUNCATE_EXISTING
//   (needs GENERIC_WRITE, else 87); any other value 87. On success GetLastError is 0 or 183 as said.
// Returns INVALID_HANDLE_VALUE on failure. The handle closes with CloseHandle.
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES attributes, DWORD creation,
                   DWORD flags, HANDLE templateFile);
// Read and write at the file pointer. A read at the end succeeds with *done = 0.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD done, LPVOID overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD done, LPVOID overlapped);
BOOL DeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned,
                     LPVOID overlapped);

// Moves the file pointer; returns the low 32 bits of the new position (the high ones in *high when given)
// and sets GetLastError to 0, so that a position of 0xFFFFFFFF is told from INVALID_SET_FILE_POINTER.
// With high given, distance and *high form one signed 64-bit offset; without it distance is signed 32-bit.
// Fails with ERROR_NEGATIVE_SEEK (131) before the start, 87 for a bad method or, without high, a position
// beyond 32 bits, 6 for a handle that is not a file.
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* high, DWORD method);
// The size's low 32 bits (high ones in *high when given), GetLastError 0; INVALID_FILE_SIZE with 6 for a
// handle that is not a file.
DWORD GetFileSize(HANDLE file, LPDWORD high);
// Writes the file through to its storage (fsync).
BOOL FlushFileBuffers(HANDLE file);

// Copies a file, replacing the target unless failIfExists (then 80). The copy is written beside the target
// and renamed over it, so a reader never sees half a file; the target takes the source's mode and write
// time. A folder as source or target gives 5.
BOOL CopyFileW(LPCWSTR existing, LPCWSTR newName, BOOL failIfExists);
// Renames a file or a whole folder; never replaces (183 when the new name exists). A file open in this
// process gives 32; a move between file systems gives ERROR_NOT_SAME_DEVICE (17).
BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName);
// Deletes a file: 5 for a folder, 32 for a file open in this process.
BOOL DeleteFileW(LPCWSTR name);
// 183 when the name exists (file or folder), 3 when the parent folder is missing.
BOOL CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES attributes);
// Removes an empty folder: ERROR_DIR_NOT_EMPTY (145), 2 when missing, ERROR_DIRECTORY (267) for a file,
// 5 for the root.
BOOL RemoveDirectoryW(LPCWSTR name);

// Searches one folder: the pattern's last component may hold '*' and '?' ("\Storage Card\ABackup\*",
// "*.*", "*.db"), matched without regard to ASCII case; "*.*" matches every name, dotted or not, and
// "name.*" also matches "name". "." and ".." are never listed (as on CE); entries come in name order,
// taken when the search starts. Fails with 3 for a missing folder and 2 when nothing matches.
HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data);
// FALSE with ERROR_NO_MORE_FILES (18) after the last entry.
BOOL FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW data);
BOOL FindClose(HANDLE search);

// FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_ARCHIVE for a file, plus FILE_ATTRIBUTE_READONLY
// when the owner may not write it; INVALID_FILE_ATTRIBUTES with 2 or 3 when missing.
DWORD GetFileAttributesW(LPCWSTR name);

namespace panel {

// The error code for a failed Linux call on linuxPath: ENOENT is 2 when the parent folder exists, else 3;
// EEXIST 183, EACCES/EPERM/EISDIR 5, ENOTDIR 3, ENOTEMPTY 145, ENOSPC 112, EXDEV 17, others 87.
DWORD ErrorFromErrno(int err, const std::string& linuxPath);

}  // namespace panel
