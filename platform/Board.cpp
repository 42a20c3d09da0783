#include "Board.h"
#include "Log.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <chrono>

#include "CString.h"
#include "Clock.h"
#include "Debug.h"
#include "Files.h"
#include "Handles.h"
#include "Module.h"
#include "Paths.h"
#include "SystemInfo.h"
#include "Thread.h"

namespace {

// Registers with a meaning to the simulation.
constexpr uint32_t kSwrst = 0xB1000044;
constexpr uint32_t kSwrstReset = 0x533C2416;
constexpr uint32_t kWtcon = 0xB1C00000;
constexpr uint32_t kWtcnt = 0xB1C00008;
constexpr uint32_t kWtconEnable = 1u << 5;
constexpr uint32_t kWtconReset = 1u << 0;
constexpr uint64_t kPclkHz = 66500000;  // the watchdog counts peripheral-clock cycles
// The boot loader's beeper pin word: GPB0, what the S3C2416 board's loader leaves.
constexpr uint32_t kPinWordAddress = 0xA0020094;
constexpr uint32_t kDefaultPinWord = 0x5010A000;

constexpr DWORD kDefaultStorePages = 4096;
constexpr DWORD kDefaultRamPages = 12288;
constexpr DWORD kDefaultPageSize = 4096;

constexpr size_t kMaxEvents = 10000;

struct Watchdog {
  bool armed = false;
  uint64_t deadline = 0;  // platform clock, milliseconds
  DWORD timeout = 0;
};

struct BoardState {
  std::mutex lock;
  std::string root;  // the root the state below belongs to
  bool synced = false;
  std::map<uint32_t, uint32_t> registers;
  std::set<std::string> drivers;
  Watchdog driverWatchdog;
  Watchdog registerWatchdog;
  bool memoryLoaded = false;
  DWORD storePages = kDefaultStorePages;
  DWORD ramPages = kDefaultRamPages;
  DWORD pageSize = kDefaultPageSize;
  std::deque<panel::BoardEvent> events;
  panel::AppendFile log;  // board.log of the root, open while the root lasts
  // Test switches: survive a change of root, cleared by ResetBoard.
  std::set<std::string> failingDrivers;
  panel::RebootHook rebootHook;
  bool keepEvents = false;  // survives ResetBoard too
};

BoardState& State() {
  static auto* state = new BoardState();
  return *state;
}

std::string Upper(std::string text) {
  for (auto& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

std::string Hex32(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

std::string HexBytes(const void* data, DWORD size) {
  std::string out;
  const auto* bytes = static_cast<const BYTE*>(data);
  for (DWORD i = 0; i < size && i < 16; ++i) {
    char text[4];
    std::snprintf(text, sizeof text, "%s%02X", i ? " " : "", bytes[i]);
    out += text;
  }
  return out;
}

// A log line for a person: control characters written as escapes.
std::string Escaped(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c < 0x20) {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", c);
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

uint64_t NowMs() { return panel::GetClock().MonotonicMs(); }

void Record(BoardState& s, const std::string& text) {
  const DWORD tick = GetTickCount();
  if (s.keepEvents) {
    s.events.push_back(panel::BoardEvent{tick, text});
    if (s.events.size() > kMaxEvents) s.events.pop_front();
  }
  // Bounded like the programs' logs, and kept open: the backlight alone adds lines every half second.
  // A root without a board folder gets no log file.
  s.log.Append(s.root + "/board/board.log", std::to_string(tick) + ' ' + Escaped(text) + '\n');
}

void LoadRegisters(BoardState& s) {
  s.registers.clear();
  s.registers[kPinWordAddress] = kDefaultPinWord;
  std::string text;
  if (!panel::ReadTextFile(s.root + "/board/registers", text)) return;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    line = line.substr(0, line.find('#'));
    std::istringstream fields(line);
    std::string address, value;
    if (!(fields >> address >> value)) continue;
    s.registers[static_cast<uint32_t>(std::strtoul(address.c_str(), nullptr, 0))] =
        static_cast<uint32_t>(std::strtoul(value.c_str(), nullptr, 0));
  }
}

void LoadDrivers(BoardState& s) {
  s.drivers.clear();
  std::string text;
  if (!panel::ReadTextFile(s.root + "/board/drivers", text)) {
    s.drivers = {"PIO1:", "WDT1:"};
    return;
  }
  std::istringstream names(text);
  std::string name;
  while (names >> name) s.drivers.insert(Upper(name));
}

// What a reset gives back: registers from the boot loader, watchdogs stopped.
void ResetHardware(BoardState& s) {
  LoadRegisters(s);
  s.driverWatchdog = Watchdog();
  s.registerWatchdog = Watchdog();
}

void Sync(BoardState& s) {
  std::string root = panel::PanelRoot();
  if (s.synced && root == s.root) return;
  s.root = root;
  s.synced = true;
  s.events.clear();
  s.log.Close();
  s.memoryLoaded = false;
  ResetHardware(s);
  LoadDrivers(s);
}

// True when the process was started on the board at root (its environment names it), so that a stale
// entry whose number now belongs to some other process is left alone.
bool RunsOnBoard(pid_t pid, const std::string& root) {
  std::string environ;
  if (!panel::ReadTextFile("/proc/" + std::to_string(pid) + "/environ", environ)) return false;
  const std::string wanted = "PANEL_ROOT=" + root;
  for (size_t start = 0; start < environ.size();) {
    size_t end = environ.find('\0', start);
    if (end == std::string::npos) end = environ.size();
    if (environ.compare(start, end - start, wanted) == 0) return true;
    start = end + 1;
  }
  return false;
}

// A reset stops every program of the board, not only the one that asked for it: the other programs
// that publish windows under run/windows/ are killed first.
void EndOtherPrograms(const std::string& root) {
  DIR* dir = opendir((root + "/run/windows").c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    const std::string suffix = ".tree";
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) continue;
    pid_t pid = static_cast<pid_t>(std::atoi(name.c_str()));
    if (pid <= 0 || pid == getpid() || !RunsOnBoard(pid, root)) continue;
    kill(pid, SIGKILL);
  }
  closedir(dir);
}

// Resets the board: recorded, then the hook or the end of the programs. Returns with the lock released.
void Reboot(BoardState& s, std::unique_lock<std::mutex>& guard, const std::string& reason) {
  Record(s, "reboot " + reason);
  panel::WriteTextFile(s.root + "/board/reboot", reason + "\n");
  ResetHardware(s);
  panel::RebootHook hook = s.rebootHook;
  guard.unlock();
  if (hook) {
    hook(reason);
    return;
  }
  EndOtherPrograms(s.root);
  std::fflush(nullptr);
  std::_Exit(0);  // like a reset: nothing more of the program runs
}

bool Expired(const Watchdog& w, uint64_t now) { return w.armed && now >= w.deadline; }

// Locks the board for one call, after letting an expired watchdog reset it.
std::unique_lock<std::mutex> Enter() {
  BoardState& s = State();
  std::unique_lock<std::mutex> guard(s.lock);
  Sync(s);
  uint64_t now = NowMs();
  if (Expired(s.driverWatchdog, now) || Expired(s.registerWatchdog, now)) {
    Reboot(s, guard, "watchdog");
    guard.lock();
    Sync(s);
  }
  return guard;
}

// An armed watchdog of a program that makes no further board call (the launcher after its reboot
// request) must still reset the board, as the hardware would: a watcher thread, started with the first
// arming, looks every 100 ms real time. With a test's reboot hook set it leaves the firing to the test's
// own board calls, so the hook never runs on a thread the test does not know.
void WatchArmedWatchdogs() {
  static std::once_flag started;
  std::call_once(started, [] {
    std::thread([] {
      for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        bool hooked;
        {
          BoardState& s = State();
          std::lock_guard<std::mutex> guard(s.lock);
          hooked = static_cast<bool>(s.rebootHook);
        }
        if (!hooked) Enter();
      }
    }).detach();
  });
}

// Milliseconds the S3C2416 watchdog takes to count `count` down at the rate WTCON programs.
uint64_t WatchdogCountMs(uint32_t count, uint32_t wtcon) {
  uint64_t prescaler = ((wtcon >> 8) & 0xFF) + 1;
  uint64_t division = 16u << ((wtcon >> 3) & 3);
  uint64_t ms = (static_cast<uint64_t>(count) * prescaler * division * 1000 + kPclkHz - 1) / kPclkHz;
  return ms ? ms : 1;
}

void LoadMemory(BoardState& s) {
  if (s.memoryLoaded) return;
  s.memoryLoaded = true;
  s.storePages = kDefaultStorePages;
  s.ramPages = kDefaultRamPages;
  s.pageSize = kDefaultPageSize;
  std::string text;
  if (!panel::ReadTextFile(s.root + "/board/memory", text)) return;
  std::istringstream fields(text);
  DWORD store = 0, ram = 0, page = 0;
  if (fields >> store >> ram >> page && page > 0) {
    s.storePages = store;
    s.ramPages = ram;
    s.pageSize = page;
  }
}

std::string BoardFile(const BoardState& s, const std::string& name) {
  std::string text;
  panel::ReadTextFile(s.root + "/board/" + name, text);
  return text;
}

// "00:1A:2B:3C:4D:5E" (or with '-'); false for anything else.
bool ParseMac(const std::string& text, BYTE mac[6]) {
  unsigned v[6];
  char sep[5];
  if (std::sscanf(text.c_str(), "%2x%c%2x%c%2x%c%2x%c%2x%c%2x", &v[0], &sep[0], &v[1], &sep[1], &v[2], &sep[2], &v[3],
                  &sep[3], &v[4], &sep[4], &v[5]) != 11) {
    return false;
  }
  for (char c : sep) {
    if (c != ':' && c != '-') return false;
  }
  for (int i = 0; i < 6; ++i) mac[i] = static_cast<BYTE>(v[i]);
  return true;
}

void FillProcessorInfo(const std::string& config, PROCESSOR_INFO& info) {
  info = PROCESSOR_INFO{};
  info.wVersion = 1;
  std::string vendor, core = "ARM", name;
  std::istringstream lines(config);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "vendor") vendor = value;
    if (key == "core") core = value;
    if (key == "name") name = value;
  }
  WStrCopy(info.szVendor, 100, FromUtf8(vendor).c_str());
  WStrCopy(info.szProcessCore, 40, FromUtf8(core).c_str());
  WStrCopy(info.szProcessorName, 40, FromUtf8(name).c_str());
}

}  // namespace

BOOL KernelIoControl(DWORD code, LPVOID in, DWORD inSize, LPVOID out, DWORD outSize, LPDWORD returned) {
  auto guard = Enter();
  BoardState& s = State();
  if (returned) *returned = 0;
  std::string line = "KernelIoControl " + Hex32(code);
  if (in && inSize) line += " in " + HexBytes(in, inSize);
  Record(s, line);
  switch (code) {
    case IOCTL_BOARD_BACKLIGHT: {
      DWORD value = 0;
      if (!in || inSize < sizeof value) break;
      std::memcpy(&value, in, sizeof value);
      if (value != 2 && value != 3) break;
      return TRUE;
    }
    case IOCTL_PROCESSOR_INFORMATION: {
      if (!out || outSize < sizeof(PROCESSOR_INFO)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
      }
      PROCESSOR_INFO info;
      FillProcessorInfo(BoardFile(s, "cpuinfo"), info);
      std::memcpy(out, &info, sizeof info);
      if (returned) *returned = sizeof info;
      return TRUE;
    }
    default:
      SetLastError(ERROR_NOT_SUPPORTED);
      return FALSE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

void SetCleanRebootFlag() {
  auto guard = Enter();
  Record(State(), "SetCleanRebootFlag");
  panel::WriteTextFile(State().root + "/board/clean-boot", "1\n");
}

DWORD SetSystemMemoryDivision(DWORD storePages) {
  auto guard = Enter();
  BoardState& s = State();
  LoadMemory(s);
  DWORD total = s.storePages + s.ramPages;
  DWORD result = (storePages == 0 || storePages >= total) ? SYSMEM_FAILED : SYSMEM_CHANGED;
  if (result == SYSMEM_CHANGED && storePages != s.storePages) {
    s.storePages = storePages;
    s.ramPages = total - storePages;
    panel::WriteTextFile(s.root + "/board/memory", std::to_string(s.storePages) + " " + std::to_string(s.ramPages) +
                                                       " " + std::to_string(s.pageSize) + "\n");
  }
  Record(s, "SetSystemMemoryDivision " + std::to_string(storePages) + " -> " + std::to_string(result));
  return result;
}

BOOL GetSystemMemoryDivision(LPDWORD storePages, LPDWORD ramPages, LPDWORD pageSize) {
  auto guard = Enter();
  BoardState& s = State();
  if (!storePages || !ramPages || !pageSize) {
    Record(s, "GetSystemMemoryDivision refused");
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  LoadMemory(s);
  *storePages = s.storePages;
  *ramPages = s.ramPages;
  *pageSize = s.pageSize;
  Record(s, "GetSystemMemoryDivision " + std::to_string(s.storePages) + " " + std::to_string(s.ramPages) + " " +
                std::to_string(s.pageSize));
  return TRUE;
}

DWORD GetAdaptersInfo(PIP_ADAPTER_INFO list, ULONG* size) {
  auto guard = Enter();
  BoardState& s = State();
  DWORD result = ERROR_SUCCESS;
  BYTE mac[6];
  if (!size) {
    result = ERROR_INVALID_PARAMETER;
  } else if (!ParseMac(BoardFile(s, "mac"), mac)) {
    result = ERROR_NO_DATA;
  } else if (!list || *size < sizeof(IP_ADAPTER_INFO)) {
    *size = sizeof(IP_ADAPTER_INFO);
    result = ERROR_BUFFER_OVERFLOW;
  } else {
    *list = IP_ADAPTER_INFO{};
    std::snprintf(list->AdapterName, sizeof list->AdapterName, "%s", "ETH1");
    std::snprintf(list->Description, sizeof list->Description, "%s", "Board Ethernet");
    list->AddressLength = 6;
    std::memcpy(list->Address, mac, 6);
    list->Index = 1;
    list->Type = 6;  // Ethernet
  }
  Record(s, "GetAdaptersInfo -> " + std::to_string(result));
  return result;
}

namespace panel {

uint32_t ReadReg32(uint32_t address) {
  auto guard = Enter();
  auto it = State().registers.find(address);
  return it == State().registers.end() ? 0 : it->second;
}

uint16_t ReadReg16(uint32_t address) { return static_cast<uint16_t>(ReadReg32(address) & 0xFFFF); }

void WriteReg32(uint32_t address, uint32_t value) {
  auto guard = Enter();
  BoardState& s = State();
  s.registers[address] = value;
  Record(s, "write32 " + Hex32(address) + " " + Hex32(value));
  if (address == kSwrst && value == kSwrstReset) {
    Reboot(s, guard, "software reset");
    return;
  }
  Watchdog& w = s.registerWatchdog;
  if (address == kWtcon) {
    if ((value & (kWtconEnable | kWtconReset)) == (kWtconEnable | kWtconReset)) {
      w.armed = true;
      w.deadline = NowMs() + WatchdogCountMs(s.registers[kWtcnt], value);
      WatchArmedWatchdogs();
    } else {
      w.armed = false;
    }
  } else if (address == kWtcnt && w.armed) {
    w.deadline = NowMs() + WatchdogCountMs(value, s.registers[kWtcon]);
  }
}

std::vector<BoardEvent> BoardEvents() {
  auto guard = Enter();
  return std::vector<BoardEvent>(State().events.begin(), State().events.end());
}

std::vector<std::string> BoardEventTexts() {
  std::vector<std::string> texts;
  for (const auto& e : BoardEvents()) texts.push_back(e.text);
  return texts;
}

void ClearBoardEvents() {
  auto guard = Enter();
  State().events.clear();
}

void KeepBoardEvents(bool keep) {
  BoardState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  s.keepEvents = keep;
  if (!keep) s.events.clear();
}

void ResetBoard() {
  {
    BoardState& s = State();
    std::lock_guard<std::mutex> guard(s.lock);
    s.synced = false;
    s.failingDrivers.clear();
  }
  ResetSystemModule();
}

void SetRebootHook(RebootHook hook) {
  BoardState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  s.rebootHook = std::move(hook);
}

void PollBoardWatchdogs() { auto guard = Enter(); }

bool BoardWatchdogArmed() {
  auto guard = Enter();
  return State().driverWatchdog.armed || State().registerWatchdog.armed;
}

void SetBoardDriverFailing(const std::string& name, bool failing) {
  BoardState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  if (failing) {
    s.failingDrivers.insert(Upper(name));
  } else {
    s.failingDrivers.erase(Upper(name));
  }
}

void BoardLog(const std::string& text) {
  auto guard = Enter();
  Record(State(), text);
}

bool BoardHasDriver(const std::string& name) {
  auto guard = Enter();
  return State().drivers.count(Upper(name)) != 0;
}

bool BoardDriverFailing(const std::string& name) {
  auto guard = Enter();
  return State().failingDrivers.count(Upper(name)) != 0;
}

void ArmDriverWatchdog(DWORD timeoutMs) {
  auto guard = Enter();
  Watchdog& w = State().driverWatchdog;
  w.armed = true;
  w.timeout = timeoutMs;
  w.deadline = NowMs() + timeoutMs;
  WatchArmedWatchdogs();
}

void FeedDriverWatchdog() {
  auto guard = Enter();
  Watchdog& w = State().driverWatchdog;
  if (w.armed) w.deadline = NowMs() + w.timeout;
}

void CloseDriverWatchdog() {
  auto guard = Enter();
  State().driverWatchdog = Watchdog();
}

void BoardDebugOutput(LPCWSTR text) {
  if (!text) return;
  {
    auto guard = Enter();
    Record(State(), "debug " + ToUtf8(text));
  }
  OutputDebugStringW(text);
}

}  // namespace panel
