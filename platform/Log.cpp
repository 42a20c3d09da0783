#include "Log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>

#include "Clock.h"
#include "Paths.h"

namespace panel {
namespace {

std::mutex& LogLock() {
  static auto* lock = new std::mutex();  // never destroyed: static objects log while the program ends
  return *lock;
}

std::map<std::string, uint64_t>& LastTimes() {
  static auto* times = new std::map<std::string, uint64_t>();
  return *times;
}

std::string Stamp() {
  SYSTEMTIME t{};
  GetLocalTime(&t);
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

}  // namespace

void AppendBoundedLine(const std::string& path, const std::string& line) {
  AppendFile file;
  file.Append(path, line);
}

void AppendFile::Append(const std::string& path, const std::string& line) {
  if ((m_fd < 0 || path != m_path) && !Open(path)) return;
  struct stat st{};
  if (fstat(m_fd, &st) != 0 || st.st_nlink == 0) {  // removed under it: a new file takes the name
    if (!Open(path) || fstat(m_fd, &st) != 0) return;
  }
  if (static_cast<uint64_t>(st.st_size) + line.size() > kLogFileLimit) {
    struct stat named{};
    // Another program that writes the same log may have moved it aside already: then only follow it.
    const bool ours = stat(path.c_str(), &named) == 0 && named.st_ino == st.st_ino && named.st_dev == st.st_dev;
    if (ours) std::rename(path.c_str(), (path + ".1").c_str());
    if (!Open(path)) return;
  }
  const char* data = line.data();
  size_t left = line.size();
  while (left > 0) {
    const ssize_t n = write(m_fd, data, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    left -= static_cast<size_t>(n);
  }
}

void AppendFile::Close() {
  if (m_fd >= 0) close(m_fd);
  m_fd = -1;
  m_path.clear();
}

// Only a regular file is written: a FIFO in its place must neither block nor take the lines.
bool AppendFile::Open(const std::string& path) {
  Close();
  m_fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644);
  if (m_fd < 0) return false;
  struct stat st{};
  if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    Close();
    return false;
  }
  m_path = path;
  return true;
}

std::string ProgramName() {
  std::error_code error;
  std::string name = std::filesystem::read_symlink("/proc/self/exe", error).filename().string();
  if (error || name.empty()) return "program";
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
  return name;
}

std::string LogFilePath() { return RunPath(ProgramName() + ".log"); }

void LogLine(const std::string& text) {
  std::string body = text;
  while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.pop_back();
  for (char& c : body) {
    if (c == '\n' || c == '\r') c = ' ';
  }
  const std::string line = Stamp() + " " + ProgramName() + ": " + body + "\n";
  std::lock_guard<std::mutex> guard(LogLock());
  std::fputs(line.c_str(), stderr);
  AppendBoundedLine(LogFilePath(), line);
}

bool LogLineLimited(const std::string& key, const std::string& text, uint32_t intervalMs) {
  const uint64_t now = GetClock().MonotonicMs();
  {
    std::lock_guard<std::mutex> guard(LogLock());
    auto it = LastTimes().find(key);
    if (it != LastTimes().end() && now - it->second < intervalMs) return false;
    LastTimes()[key] = now;
  }
  LogLine(text);
  return true;
}

void ResetLogLimits() {
  std::lock_guard<std::mutex> guard(LogLock());
  LastTimes().clear();
}

}  // namespace panel
