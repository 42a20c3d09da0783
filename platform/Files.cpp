#include "Files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <vector>

#include "CString.h"
#include "Devices.h"
#include "Handles.h"
#include "Paths.h"

namespace {

// 100-ns intervals between 1601-01-01 and 1970-01-01.
constexpr int64_t kFileTimeEpochOffset = 116444736000000000LL;

FILETIME ToFileTime(const timespec& ts) {
  int64_t ticks = static_cast<int64_t>(ts.tv_sec) * 10000000 + ts.tv_nsec / 100 + kFileTimeEpochOffset;
  FILETIME ft;
  ft.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
  ft.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32);
  return ft;
}

DWORD AttributesOf(const struct stat& st) {
  DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  if (!(st.st_mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

bool IsRoot(const std::string& path) { return path == panel::PanelRoot(); }

std::string ParentOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

BOOL Fail(DWORD code) {
  SetLastError(code);
  return FALSE;
}

BOOL FailErrno(const std::string& path) { return Fail(panel::ErrorFromErrno(errno, path)); }

// Open files by identity, for the share modes.
struct FileId {
  dev_t dev;
  ino_t ino;
  bool operator<(const FileId& o) const { return dev != o.dev ? dev < o.dev : ino < o.ino; }
};

struct OpenFile {
  DWORD access;
  DWORD share;
};

std::mutex& ShareLock() {
  static auto* lock = new std::mutex();  // never destroyed: used by static objects at exit
  return *lock;
}

std::multimap<FileId, OpenFile>& OpenFiles() {
  static auto* files = new std::multimap<FileId, OpenFile>();
  return *files;
}

// An open for attributes only (no read or write access) takes no part in sharing, either way.
bool Conflicts(const OpenFile& a, const OpenFile& b) {
  if (a.access == 0 || b.access == 0) return false;
  auto denies = [](const OpenFile& opener, const OpenFile& other) {
    if ((opener.access & GENERIC_READ) && !(other.share & FILE_SHARE_READ)) return true;
    if ((opener.access & GENERIC_WRITE) && !(other.share & FILE_SHARE_WRITE)) return true;
    return false;
  };
  return denies(a, b) || denies(b, a);
}

// True when the file at path is open through a handle of this process (caller holds ShareLock).
bool IsOpenLocked(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  return OpenFiles().count(FileId{st.st_dev, st.st_ino}) != 0;
}

class FileObject : public panel::IoObject {
public:
  FileObject(int fd, DWORD access, FileId id, OpenFile open) : m_fd(fd), m_access(access), m_id(id), m_open(open) {}
  ~FileObject() override {
    {
      std::lock_guard<std::mutex> guard(ShareLock());
      auto range = OpenFiles().equal_range(m_id);
      for (auto it = range.first; it != range.second; ++it) {
        if (it->second.access == m_open.access && it->second.share == m_open.share) {
          OpenFiles().erase(it);
          break;
        }
      }
    }
    close(m_fd);
  }

  BOOL Read(void* buffer, DWORD size, DWORD* done) override {
    *done = 0;
    if (!(m_access & GENERIC_READ)) return Fail(ERROR_ACCESS_DENIED);
    if (size > 0 && !buffer) return Fail(ERROR_INVALID_PARAMETER);
    auto* out = static_cast<char*>(buffer);
    while (*done < size) {
      ssize_t n = read(m_fd, out + *done, size - *done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return Fail(panel::ErrorFromErrno(errno, std::string()));
      if (n == 0) break;
      *done += static_cast<DWORD>(n);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }

  BOOL Write(const void* buffer, DWORD size, DWORD* done) override {
    *done = 0;
    if (!(m_access & GENERIC_WRITE)) return Fail(ERROR_ACCESS_DENIED);
    if (size > 0 && !buffer) return Fail(ERROR_INVALID_PARAMETER);
    const auto* in = static_cast<const char*>(buffer);
    while (*done < size) {
      ssize_t n = write(m_fd, in + *done, size - *done);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return Fail(panel::ErrorFromErrno(errno, std::string()));
      *done += static_cast<DWORD>(n);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }

  int Fd() const { return m_fd; }

private:
  int m_fd;
  DWORD m_access;
  FileId m_id;
  OpenFile m_open;
};

class FindObject : public panel::KernelObject {
public:
  explicit FindObject(std::vector<WIN32_FIND_DATAW> entries) : m_entries(std::move(entries)) {}
  bool Next(WIN32_FIND_DATAW* data) {
    if (m_next >= m_entries.size()) return false;
    *data = m_entries[m_next++];
    return true;
  }

private:
  std::vector<WIN32_FIND_DATAW> m_entries;
  size_t m_next = 0;
};

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool Glob(const char16_t* p, const char16_t* n) {
  // Iterative match with one back-track point per '*', linear enough for folder names.
  const char16_t* star = nullptr;
  const char16_t* resume = nullptr;
  while (*n) {
    if (*p == u'*') {
      star = p++;
      resume = n;
    } else if (*p == u'?' || (*p && FoldAscii(*p) == FoldAscii(*n))) {
      ++p;
      ++n;
    } else if (star) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (*p == u'*') ++p;
  return *p == 0;
}

bool MatchesPattern(const std::u16string& pattern, const std::u16string& name) {
  if (pattern == u"*.*") return true;
  if (Glob(pattern.c_str(), name.c_str())) return true;
  // "name.*" also matches the bare "name", as the original's searches do.
  if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, u".*") == 0) {
    return Glob(pattern.substr(0, pattern.size() - 2).c_str(), name.c_str());
  }
  return false;
}

// Renames without ever replacing the target; 0 or an errno value.
int RenameNoReplace(const std::string& from, const std::string& to) {
  if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // File systems without the flag (and a folder moved into itself, which rename reports again).
  struct stat st;
  if (lstat(to.c_str(), &st) == 0) return EEXIST;
  return rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

bool CopyContents(int in, int out) {
  char buffer[64 * 1024];
  for (;;) {
    ssize_t n = read(in, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    for (ssize_t off = 0; off < n;) {
      ssize_t w = write(out, buffer + off, static_cast<size_t>(n - off));
      if (w < 0 && errno == EINTR) continue;
      if (w < 0) return false;
      off += w;
    }
  }
}

HANDLE OpenPlainFile(const std::string& path, DWORD access, DWORD share, DWORD creation) {
  if (creation < CREATE_NEW || creation > TRUNCATE_EXISTING) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  if (creation == TRUNCATE_EXISTING && !(access & GENERIC_WRITE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  bool truncates = creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING;
  int mode = ((access & GENERIC_WRITE) || truncates) ? O_RDWR : O_RDONLY;
  mode |= O_CLOEXEC;
  int fd = -1;
  bool existed = true;
  if (creation == CREATE_NEW) {
    fd = open(path.c_str(), mode | O_CREAT | O_EXCL, 0644);
    existed = false;
    if (fd < 0 && errno == EEXIST) {
      SetLastError(ERROR_FILE_EXISTS);
      return INVALID_HANDLE_VALUE;
    }
  } else if (creation == CREATE_ALWAYS || creation == OPEN_ALWAYS) {
    // Create exclusively first, so that whether the file existed is known for GetLastError.
    fd = open(path.c_str(), mode | O_CREAT | O_EXCL, 0644);
    existed = fd < 0 && errno == EEXIST;
    if (existed) fd = open(path.c_str(), mode);
  } else {
    fd = open(path.c_str(), mode);
  }
  if (fd < 0) {
    SetLastError(panel::ErrorFromErrno(errno, path));
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  FileId id{st.st_dev, st.st_ino};
  OpenFile open{access & (GENERIC_READ | GENERIC_WRITE), share & (FILE_SHARE_READ | FILE_SHARE_WRITE)};
  {
    std::lock_guard<std::mutex> guard(ShareLock());
    auto range = OpenFiles().equal_range(id);
    for (auto it = range.first; it != range.second; ++it) {
      if (Conflicts(open, it->second)) {
        close(fd);
        SetLastError(ERROR_SHARING_VIOLATION);
        return INVALID_HANDLE_VALUE;
      }
    }
    OpenFiles().emplace(id, open);
  }
  HANDLE handle = panel::RegisterHandle(new FileObject(fd, open.access, id, open));
  if (truncates && existed && ftruncate(fd, 0) != 0) {
    DWORD code = panel::ErrorFromErrno(errno, path);
    CloseHandle(handle);
    SetLastError(code);
    return INVALID_HANDLE_VALUE;
  }
  bool reportsExisting = (creation == CREATE_ALWAYS || creation == OPEN_ALWAYS) && existed;
  SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

}  // namespace

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES, DWORD creation, DWORD, HANDLE) {
  if (panel::IsDeviceName(name)) {
    CString device(name);
    if (device.Left(3).CompareNoCase(u"COM") == 0) return panel::OpenSerialDevice(device, access);
    return panel::OpenBoardDevice(device, access);
  }
  std::string path = panel::MapPath(name);
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  return OpenPlainFile(path, access, share, creation);
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* high, DWORD method) {
  auto* f = panel::HandleAs<FileObject>(file);
  if (!f) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_SET_FILE_POINTER;
  }
  int64_t offset = high ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*high)) << 32) |
                                               static_cast<uint32_t>(distance))
                        : static_cast<int64_t>(distance);
  int64_t base = 0;
  if (method == FILE_CURRENT) {
    base = lseek(f->Fd(), 0, SEEK_CUR);
  } else if (method == FILE_END) {
    struct stat st;
    base = fstat(f->Fd(), &st) == 0 ? st.st_size : -1;
  } else if (method != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (base < 0) {
    SetLastError(panel::ErrorFromErrno(errno, std::string()));
    return INVALID_SET_FILE_POINTER;
  }
  // A position beyond 63 bits is refused rather than wrapped.
  if (offset > 0 && base > INT64_MAX - offset) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  int64_t target = base + offset;
  if (target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  if (!high && target > 0xFFFFFFFFLL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (lseek(f->Fd(), static_cast<off_t>(target), SEEK_SET) < 0) {
    SetLastError(panel::ErrorFromErrno(errno, std::string()));
    return INVALID_SET_FILE_POINTER;
  }
  if (high) *high = static_cast<LONG>(static_cast<uint64_t>(target) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(target & 0xFFFFFFFF);
}

DWORD GetFileSize(HANDLE file, LPDWORD high) {
  auto* f = panel::HandleAs<FileObject>(file);
  struct stat st;
  if (!f || fstat(f->Fd(), &st) != 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(st.st_size);
  if (high) *high = static_cast<DWORD>(size >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL FlushFileBuffers(HANDLE file) {
  auto* f = panel::HandleAs<FileObject>(file);
  if (!f) return Fail(ERROR_INVALID_HANDLE);
  if (fsync(f->Fd()) != 0 && errno != EINVAL) return FailErrno(std::string());
  return TRUE;
}

BOOL CopyFileW(LPCWSTR existing, LPCWSTR newName, BOOL failIfExists) {
  std::string from = panel::MapPath(existing);
  std::string to = panel::MapPath(newName);
  if (from.empty() || to.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return FailErrno(from);
  struct stat st;
  if (fstat(in, &st) != 0 || S_ISDIR(st.st_mode)) {
    close(in);
    return Fail(ERROR_ACCESS_DENIED);
  }
  struct stat target;
  if (lstat(to.c_str(), &target) == 0) {
    DWORD code = S_ISDIR(target.st_mode) ? ERROR_ACCESS_DENIED : (failIfExists ? ERROR_FILE_EXISTS : 0);
    if (code) {
      close(in);
      return Fail(code);
    }
  }
  std::string temp = to + ".copy-XXXXXX";
  int out = mkostemp(temp.data(), O_CLOEXEC);
  if (out < 0) {
    DWORD code = panel::ErrorFromErrno(errno, to);
    close(in);
    return Fail(code);
  }
  bool copied = CopyContents(in, out);
  int copyErrno = errno;
  close(in);
  if (copied) {
    fchmod(out, st.st_mode & 07777);
    timespec times[2] = {st.st_atim, st.st_mtim};
    futimens(out, times);
  }
  if (close(out) != 0 && copied) {
    copied = false;
    copyErrno = errno;
  }
  int placed = 0;
  if (copied) {
    if (failIfExists) {
      placed = RenameNoReplace(temp, to);
    } else if (rename(temp.c_str(), to.c_str()) != 0) {
      placed = errno;
    }
  }
  if (!copied || placed != 0) {
    unlink(temp.c_str());
    int err = copied ? placed : copyErrno;
    return Fail(err == EEXIST ? ERROR_FILE_EXISTS : panel::ErrorFromErrno(err, to));
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL MoveFileW(LPCWSTR existing, LPCWSTR newName) {
  std::string from = panel::MapPath(existing);
  std::string to = panel::MapPath(newName);
  if (from.empty() || to.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  if (IsRoot(from) || IsRoot(to)) return Fail(ERROR_ACCESS_DENIED);
  std::lock_guard<std::mutex> guard(ShareLock());
  if (IsOpenLocked(from)) return Fail(ERROR_SHARING_VIOLATION);
  int err = RenameNoReplace(from, to);
  if (err == 0) {
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }
  // A missing source is reported against its own path, a missing target folder against the target.
  struct stat st;
  if (err == ENOENT && lstat(from.c_str(), &st) != 0) return Fail(panel::ErrorFromErrno(ENOENT, from));
  if (err == ENOENT) return Fail(ERROR_PATH_NOT_FOUND);
  return Fail(panel::ErrorFromErrno(err, to));
}

BOOL DeleteFileW(LPCWSTR name) {
  std::string path = panel::MapPath(name);
  if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return FailErrno(path);
  if (S_ISDIR(st.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  std::lock_guard<std::mutex> guard(ShareLock());
  if (IsOpenLocked(path)) return Fail(ERROR_SHARING_VIOLATION);
  if (unlink(path.c_str()) != 0) return FailErrno(path);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES) {
  std::string path = panel::MapPath(name);
  if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  if (mkdir(path.c_str(), 0755) != 0) {
    // A missing parent is a missing path, never a missing file.
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : panel::ErrorFromErrno(errno, path));
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR name) {
  std::string path = panel::MapPath(name);
  if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND);
  if (IsRoot(path)) return Fail(ERROR_ACCESS_DENIED);
  if (rmdir(path.c_str()) != 0) {
    int err = errno;
    struct stat st;
    if (err == ENOTDIR && lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) return Fail(ERROR_DIRECTORY);
    if (err == EEXIST) return Fail(ERROR_DIR_NOT_EMPTY);  // some file systems say so for a full folder
    return Fail(panel::ErrorFromErrno(err, path));
  }
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

HANDLE FindFirstFileW(LPCWSTR pattern, LPWIN32_FIND_DATAW data) {
  if (!pattern || !data) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::u16string full(pattern);
  size_t sep = full.find_last_of(u"\\/");
  bool inRoot = sep == std::u16string::npos || sep == 0;
  std::u16string folder = inRoot ? std::u16string(1, u'\\') : full.substr(0, sep);
  std::u16string namePattern = sep == std::u16string::npos ? full : full.substr(sep + 1);
  std::string dirPath = panel::MapPath(folder.c_str());
  if (dirPath.empty() || namePattern == u"..") {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  DIR* dir = opendir(dirPath.c_str());
  if (!dir) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::vector<std::pair<std::string, std::u16string>> names;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    std::u16string wide = FromUtf8(name);
    if (!namePattern.empty() && MatchesPattern(namePattern, wide)) names.emplace_back(name, wide);
  }
  closedir(dir);
  std::sort(names.begin(), names.end());
  std::vector<WIN32_FIND_DATAW> entries;
  for (const auto& name : names) {
    std::string path = dirPath + "/" + name.first;
    struct stat st;
    if (stat(path.c_str(), &st) != 0 && lstat(path.c_str(), &st) != 0) continue;  // vanished meanwhile
    WIN32_FIND_DATAW entry{};
    entry.dwFileAttributes = AttributesOf(st);
    entry.ftCreationTime = ToFileTime(st.st_ctim);
    entry.ftLastAccessTime = ToFileTime(st.st_atim);
    entry.ftLastWriteTime = ToFileTime(st.st_mtim);
    uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<uint64_t>(st.st_size);
    entry.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    entry.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
    WStrCopy(entry.cFileName, MAX_PATH, name.second.c_str());
    entries.push_back(entry);
  }
  if (entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto* search = new FindObject(std::move(entries));
  search->Next(data);
  SetLastError(ERROR_SUCCESS);
  return panel::RegisterHandle(search);
}

BOOL FindNextFileW(HANDLE search, LPWIN32_FIND_DATAW data) {
  auto* find = panel::HandleAs<FindObject>(search);
  if (!find) return Fail(ERROR_INVALID_HANDLE);
  if (!data) return Fail(ERROR_INVALID_PARAMETER);
  if (!find->Next(data)) return Fail(ERROR_NO_MORE_FILES);
  return TRUE;
}

BOOL FindClose(HANDLE search) {
  if (!panel::HandleAs<FindObject>(search)) return Fail(ERROR_INVALID_HANDLE);
  return CloseHandle(search);
}

DWORD GetFileAttributesW(LPCWSTR name) {
  std::string path = panel::MapPath(name);
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_FILE_ATTRIBUTES;
  }
  struct stat st;
  if (stat(path.c_str(), &st) != 0) {
    SetLastError(panel::ErrorFromErrno(errno, path));
    return INVALID_FILE_ATTRIBUTES;
  }
  SetLastError(ERROR_SUCCESS);
  return AttributesOf(st);
}

namespace panel {

DWORD ErrorFromErrno(int err, const std::string& linuxPath) {
  switch (err) {
    case ENOENT: {
      struct stat st;
      std::string parent = ParentOf(linuxPath);
      bool parentIsFolder = !linuxPath.empty() && stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
      return parentIsFolder ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return ERROR_PATH_NOT_FOUND;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ETXTBSY:
      return ERROR_ACCESS_DENIED;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EXDEV:
      return ERROR_NOT_SAME_DEVICE;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EBUSY:
      return ERROR_SHARING_VIOLATION;
    default:
      return ERROR_INVALID_PARAMETER;
  }
}

}  // namespace panel
