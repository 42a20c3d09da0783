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

// Calls visit(name, isFolder) for every entry of the folder.
template <typename Visit>
void ForEachEntry(const CString& folder, Visit visit) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(folder + u"\\*.*", &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    CString name(data.cFileName);
    // Only the folder's own and its parent's entries are skipped; "." names are files like any other.
    if (name == u"." || name == u"..") continue;
    if (!visit(name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)) break;
  } while (FindNextFileW(search, &data));
  FindClose(search);
}

}  // namespace

bool PathExists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

bool IsUpdateFolder(const CString& folder) {
  return PathExists(folder) && PathExists(folder + u"\\Quellora.db") && PathExists(folder + u"\\Quellora.exe");
}

bool DeleteTree(const CString& folder) {
  ForEachEntry(folder, [&](const CString& name, bool isFolder) {
    const CString path = folder + u"\\" + name;
    if (isFolder) {
      DeleteTree(path);
    } else {
      DeleteFileW(path);
    }
    return true;
  });
  return RemoveDirectoryW(folder) != FALSE;
}

void CleanStartUpFolder(const CString& folder) {
  ForEachEntry(folder, [&](const CString& name, bool isFolder) {
    if (!isFolder && name != kLauncherFile) DeleteFileW(folder + u"\\" + name);
    return true;
  });
}

bool CopyTree(const CString& source, const CString& target) {
  bool ok = true;
  ForEachEntry(source, [&](const CString& name, bool isFolder) {
    const CString from = source + u"\\" + name;
    const CString to = target + u"\\" + name;
    if (isFolder) {
      CreateDirectoryW(to, nullptr);
      ok = CopyTree(from, to);
    } else {
      ok = CopyFileW(from, to, FALSE) != FALSE;
    }
    return ok;
  });
  return ok;
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
