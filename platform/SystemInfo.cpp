#include "SystemInfo.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <sstream>
#include <string>

#include "Paths.h"

namespace {

constexpr DWORD kDefaultProcessorType = PROCESSOR_STRONGARM;
constexpr uint64_t kVirtualSpace = 0x80000000ull;  // the 2 GB a 32-bit program of the board could use

std::atomic<bool> g_availOverridden{false};
std::atomic<DWORD> g_availOverride{0};

// A /proc file read again and again (the main screen reads the memory twice a second): opened once
// and read from its start each time. A forked child opens its own, as "self" there is another process.
class ProcFile {
public:
  explicit ProcFile(const char* path) : m_path(path) {}

  std::string Read() {
    std::lock_guard<std::mutex> guard(m_lock);
    const pid_t self = getpid();
    if (m_fd < 0 || m_pid != self) {
      if (m_fd >= 0) close(m_fd);
      m_fd = open(m_path, O_RDONLY | O_CLOEXEC);
      m_pid = self;
    }
    std::string text;
    if (m_fd < 0) return text;
    char buffer[4096];
    for (off_t at = 0;;) {
      const ssize_t n = pread(m_fd, buffer, sizeof buffer, at);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      text.append(buffer, static_cast<size_t>(n));
      at += n;
    }
    return text;
  }

private:
  const char* m_path;
  std::mutex m_lock;
  int m_fd = -1;
  pid_t m_pid = 0;
};

ProcFile& MemInfo() {
  static auto* file = new ProcFile("/proc/meminfo");
  return *file;
}

ProcFile& OwnMemory() {
  static auto* file = new ProcFile("/proc/self/statm");
  return *file;
}

// Fields of /proc/meminfo's "Name:   value kB" lines, in bytes.
std::map<std::string, uint64_t> KbFields(const std::string& text) {
  std::map<std::string, uint64_t> fields;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    uint64_t value = std::strtoull(line.c_str() + colon + 1, nullptr, 10);
    bool kb = line.find("kB", colon) != std::string::npos;
    fields[line.substr(0, colon)] = kb ? value * 1024 : value;
  }
  return fields;
}

DWORD Cap(uint64_t bytes) { return static_cast<DWORD>(std::min<uint64_t>(bytes, 0xFFFFFFFFull)); }

}  // namespace

void GetSystemInfo(LPSYSTEM_INFO info) {
  if (!info) return;
  std::memset(info, 0, sizeof *info);
  info->wProcessorArchitecture = PROCESSOR_ARCHITECTURE_ARM;
  info->dwPageSize = 4096;
  info->lpMinimumApplicationAddress = reinterpret_cast<LPVOID>(0x10000);
  info->lpMaximumApplicationAddress = reinterpret_cast<LPVOID>(0x7FFFFFFF);
  info->dwActiveProcessorMask = 1;
  info->dwNumberOfProcessors = 1;
  info->dwAllocationGranularity = 0x10000;
  info->dwProcessorType = kDefaultProcessorType;
  std::string text;
  if (panel::ReadTextFile(panel::BoardPath("processor"), text)) {
    char* end = nullptr;
    unsigned long type = std::strtoul(text.c_str(), &end, 10);
    if (end != text.c_str()) info->dwProcessorType = static_cast<DWORD>(type);
  }
}

void GlobalMemoryStatus(LPMEMORYSTATUS status) {
  if (!status) return;
  std::map<std::string, uint64_t> mem = KbFields(MemInfo().Read());
  uint64_t total = mem["MemTotal"];
  uint64_t avail = mem.count("MemAvailable") ? mem["MemAvailable"] : mem["MemFree"] + mem["Buffers"] + mem["Cached"];
  std::memset(status, 0, sizeof *status);
  status->dwLength = sizeof *status;
  status->dwTotalPhys = Cap(total);
  status->dwAvailPhys = g_availOverridden ? g_availOverride.load() : Cap(avail);
  if (status->dwTotalPhys > 0) {
    uint64_t used = status->dwTotalPhys > status->dwAvailPhys ? status->dwTotalPhys - status->dwAvailPhys : 0;
    status->dwMemoryLoad = static_cast<DWORD>(used * 100 / status->dwTotalPhys);
  }
  status->dwTotalPageFile = Cap(mem["SwapTotal"]);
  status->dwAvailPageFile = Cap(mem["SwapFree"]);
  const uint64_t pages = std::strtoull(OwnMemory().Read().c_str(), nullptr, 10);
  const uint64_t mapped = pages * static_cast<uint64_t>(getpagesize());
  status->dwTotalVirtual = Cap(kVirtualSpace);
  status->dwAvailVirtual = Cap(mapped < kVirtualSpace ? kVirtualSpace - mapped : 0);
}

namespace panel {

void SetAvailPhysOverride(DWORD bytes) {
  g_availOverride = bytes;
  g_availOverridden = true;
}

void ClearAvailPhysOverride() { g_availOverridden = false; }

}  // namespace panel
