#include "Debug.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include "CString.h"
#include "Log.h"

namespace panel {
namespace {

constexpr size_t kMaxLines = 1000;

std::mutex& LogLock() {
  static auto* lock = new std::mutex();  // never destroyed: used by static objects at exit
  return *lock;
}

std::deque<std::string>& Log() {
  static auto* log = new std::deque<std::string>();
  return *log;
}

}  // namespace

std::vector<std::string> DebugLog() {
  std::lock_guard<std::mutex> guard(LogLock());
  return std::vector<std::string>(Log().begin(), Log().end());
}

void ClearDebugLog() {
  std::lock_guard<std::mutex> guard(LogLock());
  Log().clear();
}

}  // namespace panel

void OutputDebugStringW(LPCWSTR text) {
  std::string line = ToUtf8(text);
  panel::LogLine(line);
  std::lock_guard<std::mutex> guard(panel::LogLock());
  panel::Log().push_back(line);
  if (panel::Log().size() > panel::kMaxLines) panel::Log().pop_front();
}
