#include "SystemInfo.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "Paths.h"

namespace {

constexpr DWORD kDefaultProcessorType = PROCESSOR_STRONGARM;
constexpr uint64_t kVirtualSpace = 0x80000000ull;  // the 2 GB a 32-bit program of the board could use

std::atomic<bool> g_availOverridden{false};
std::atomic<DWORD> g_availOverride{0};

// Fields of a /proc file of "Name:   value kB" lines, in bytes.
std::map<std::string, uint64_t> ReadKbFields(const char* path) {
  std::map<std::string, uint64_t> fields;
  std::ifstream in(path);
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
  std::map<std::string, uint64_t> mem = ReadKbFields("/proc/meminfo");
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
  uint64_t mapped = ReadKbFields("/proc/self/status")["VmSize"];
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
