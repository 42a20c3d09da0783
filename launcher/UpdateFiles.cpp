#include "UpdateFiles.h"

const char16_t kMedium1[] = u"\\Storage Card\\ABackup";
const char16_t kMedium2[] = u"\\Hard Disk\\ABackup";
const char16_t kMedium3[] = u"\\硬盘\\ABackup";
const char16_t kStagingFolder[] = u"\\ResidentFlash\\ABackup";
const char16_t kInstallFolder[] = u"\\ResidentFlash\\Quellora";
const char16_t kStartUpFolder[] = u"\\ResidentFlash\\StartUp";
const char16_t kStagedProgram[] = u"\\ResidentFlash\\ABackup\\Quellora.exe";
const char16_t kInstalledProgram[] = u"\\ResidentFlash\\Quellora\\Quellora.exe";
const char16_t kInstalledDb[] = u"\\ResidentFlash\\Quellora\\Quellora.db";
const char16_t kStagedDb[] = u"\\ResidentFlash\\ABackup\\Quellora.db";
const char16_t kReplacedFolder[] = u"\\ResidentFlash\\Quellora.old";

namespace {

const char16_t kLauncherFile[] = u"Brimcourt.exe";

// Calls visit(name, data) for every entry of the folder until it returns false. False when the folder
// could not be listed (an empty one is listed).
template <typename Visit>
bool ForEachEntry(const CString& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(folder + u"\\*.*", &data);
  if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    CString name(data.cFileName);
    // Only the folder's own and its parent's entries are skipped; "." names are files like any other.
    if (name == u"." || name == u"..") continue;
    if (!visit(name, data)) break;
  } while (FindNextFileW(search, &data));
  FindClose(search);
  return true;
}

bool IsFolder(const WIN32_FIND_DATAW& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool IsFolderPath(const CString& path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

uint64_t ListedSize(const WIN32_FIND_DATAW& data) {
  return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The size of the file now; UINT64_MAX when it cannot be opened.
uint64_t FileSizeOf(const CString& path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return UINT64_MAX;
  DWORD high = 0;
  const DWORD low = GetFileSize(file, &high);
  CloseHandle(file);
  return (static_cast<uint64_t>(high) << 32) | low;
}

// Names the first thing of an update that could not be copied, for the person who services the board.
bool CopyFailed(const char16_t* what, const CString& path, const CString& why) {
  CString line;
  line.Format(u"update copy: %s %s (%s)", what, static_cast<const char16_t*>(path), static_cast<const char16_t*>(why));
  OutputDebugStringW(line);
  return false;
}

CString LastError() {
  CString text;
  text.Format(u"error %u", static_cast<unsigned>(GetLastError()));
  return text;
}

}  // namespace

bool PathExists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool IsUpdateFolder(const CString& folder) {
  return PathExists(folder) && PathExists(folder + u"\\Quellora.db") && PathExists(folder + u"\\Quellora.exe");
}

bool DeleteTree(const CString& folder) {
  ForEachEntry(folder, [&](const CString& name, const WIN32_FIND_DATAW& data) {
    const CString path = folder + u"\\" + name;
    if (IsFolder(data)) {
      DeleteTree(path);
    } else {
      DeleteFileW(path);
    }
    return true;
  });
  return RemoveDirectoryW(folder) != FALSE;
}

void CleanStartUpFolder(const CString& folder) {
  ForEachEntry(folder, [&](const CString& name, const WIN32_FIND_DATAW& data) {
    if (!IsFolder(data) && name != kLauncherFile) DeleteFileW(folder + u"\\" + name);
    return true;
  });
}

bool CopyTree(const CString& source, const CString& target) {
  bool ok = true;
  const bool listed = ForEachEntry(source, [&](const CString& name, const WIN32_FIND_DATAW& data) {
    const CString from = source + u"\\" + name;
    const CString to = target + u"\\" + name;
    if (IsFolder(data)) {
      if (!CreateDirectoryW(to, nullptr)) {
        const CString why = LastError();
        if (!IsFolderPath(to)) return ok = CopyFailed(u"cannot create", to, why);
      }
      ok = CopyTree(from, to);
    } else if (!CopyFileW(from, to, FALSE)) {
      ok = CopyFailed(u"cannot copy", from, LastError());
    } else if (FileSizeOf(to) != ListedSize(data)) {
      // The medium gave less (or other) than its listing said: the file is not whole.
      CString sizes;
      sizes.Format(u"%llu of %llu bytes", static_cast<unsigned long long>(FileSizeOf(to)),
                   static_cast<unsigned long long>(ListedSize(data)));
      ok = CopyFailed(u"copied short", from, sizes);
    }
    return ok;
  });
  return listed ? ok : CopyFailed(u"cannot list", source, LastError());
}

bool InstallStaged() {
  // A leftover of an earlier cut-off update would block the rename aside.
  RecoverInstallation();
  const bool hadInstallation = PathExists(kInstallFolder);
  if (hadInstallation && !MoveFileW(kInstallFolder, kReplacedFolder)) return false;
  if (!MoveFileW(kStagingFolder, kInstallFolder)) {
    if (hadInstallation) MoveFileW(kReplacedFolder, kInstallFolder);
    return false;
  }
  if (hadInstallation) DeleteTree(kReplacedFolder);
  return true;
}

void RecoverInstallation() {
  if (!PathExists(kReplacedFolder)) return;
  if (PathExists(kInstallFolder)) {
    DeleteTree(kReplacedFolder);
  } else {
    MoveFileW(kReplacedFolder, kInstallFolder);
  }
}

bool WaitForProgramEnd(const char16_t* instanceName, DWORD timeoutMs) {
  const DWORD kPollMs = 100;
  for (DWORD waited = 0;; waited += kPollMs) {
    HANDLE probe = CreateMutexW(nullptr, FALSE, instanceName);
    const bool held = !probe || GetLastError() == ERROR_ALREADY_EXISTS;
    if (probe) CloseHandle(probe);
    if (!held) return true;
    if (waited >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}
