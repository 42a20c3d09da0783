#include "Log.h"

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
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (!error && size + line.size() > kLogFileLimit) std::filesystem::rename(path, path + ".1", error);
  if (FILE* f = std::fopen(path.c_str(), "a")) {
    std::fwrite(line.data(), 1, line.size(), f);
    std::fclose(f);
  }
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
