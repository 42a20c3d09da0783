// Board library of the boards whose processor type is not 2577 (the "335X" family): backlight and
// beeper through the GPIO driver "PIO1:", reboot through the watchdog driver "WDT1:", memory division
// through the platform's core library looked up by name, MAC address and processor text through the
// platform. Every entry point is exported under its core name and its aliases. Hardware failures are
// reported only as debug text; callers never check the results. Called on any thread; no state.
#include <cstdlib>
#include <cstring>
#include <string>

#include "Board.h"
#include "BoardDebug.h"
#include "Clock.h"
#include "Files.h"
#include "Handles.h"
#include "Module.h"

namespace {

constexpr BYTE kBacklightPin = 114;
constexpr BYTE kBeeperPin = 91;
constexpr DWORD kBeepOnceMs = 50;

// GPIO driver: the pin in a one-byte buffer; for a level the input length is the level.
constexpr DWORD kGpioSetOutput = 1;
constexpr DWORD kGpioSetLevel = 3;

// Watchdog driver.
constexpr DWORD kWdtEnable = 0x01111110;
constexpr DWORD kWdtFeed = 0x01111111;
constexpr DWORD kWdtClose = 0x01111112;
constexpr int kWdtMaxLevel = 2;

// Fields of the processor record that make up the processor text, and the longest text:
// vendor ", " core "-" name and the terminator.
constexpr size_t kVendorChars = 100;
constexpr size_t kCoreChars = 40;
constexpr size_t kNameChars = 40;

typedef DWORD (*SetMemoryDivisionProc)(DWORD storePages);
typedef BOOL (*GetMemoryDivisionProc)(LPDWORD storePages, LPDWORD ramPages, LPDWORD pageSize);

bool IsLevel(int value) { return value == 0 || value == 1; }

// One pin operation: opens the driver, makes the pin an output, sets its level, closes the driver.
// The level travels as the input length, so only 0 and 1 may ever reach it.
bool SetPin(BYTE pin, int level) {
  HANDLE gpio = CreateFileW(u"PIO1:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (gpio == INVALID_HANDLE_VALUE) {
    BoardDebug("Open GPIO failed.\r\n");
    return false;
  }
  BYTE buffer[1] = {pin};
  BOOL ok = DeviceIoControl(gpio, kGpioSetOutput, buffer, sizeof buffer, nullptr, 0, nullptr, nullptr);
  ok = DeviceIoControl(gpio, kGpioSetLevel, buffer, static_cast<DWORD>(level), nullptr, 0, nullptr, nullptr) && ok;
  CloseHandle(gpio);
  return ok != FALSE;
}

HANDLE OpenWatchdog() {
  HANDLE wdt = CreateFileW(u"WDT1:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
  if (wdt == INVALID_HANDLE_VALUE) BoardDebug("CreateFile Failed,GetLastError():%d \r\n", static_cast<int>(GetLastError()));
  return wdt;
}

// A watchdog command without data: 1 done, 0 failed (with its debug text).
int WatchdogCommand(DWORD code, const char* failure) {
  HANDLE wdt = OpenWatchdog();
  if (wdt == INVALID_HANDLE_VALUE) return 0;
  BOOL ok = DeviceIoControl(wdt, code, nullptr, 0, nullptr, 0, nullptr, nullptr);
  if (!ok) BoardDebug("%s", failure);
  CloseHandle(wdt);
  return ok ? 1 : 0;
}

int TurnLight(int on) {
  if (!IsLevel(on)) return 0;
  return SetPin(kBacklightPin, on) ? 1 : 0;
}

int EnableBeep(int on) {
  if (!IsLevel(on)) return 0;
  return SetPin(kBeeperPin, on) ? 1 : 0;
}

int BeepOnceImpl(int level) {
  if (!IsLevel(level)) return 0;
  bool ok = SetPin(kBeeperPin, level);
  Sleep(kBeepOnceMs);
  ok = SetPin(kBeeperPin, 0) && ok;
  return ok ? 1 : 0;
}

void BeepImpl() { BoardDebug("Beep335X now is null \r\n!"); }

// The platform's core library and its two memory-division calls; null where missing.
struct CoreDll {
  HMODULE module = nullptr;
  SetMemoryDivisionProc set = nullptr;
  GetMemoryDivisionProc get = nullptr;
};

CoreDll LoadCoreDll() {
  CoreDll core;
  core.module = LoadLibraryW(u"windows/coredll.dll");
  if (!core.module) {
    BoardDebug("load coredll.dll false!\r\n!");
    return core;
  }
  core.set = panel::ProcAs<SetMemoryDivisionProc>(GetProcAddressW(core.module, u"SetSystemMemoryDivision"));
  core.get = panel::ProcAs<GetMemoryDivisionProc>(GetProcAddressW(core.module, u"GetSystemMemoryDivision"));
  return core;
}

void FreeCoreDll(const CoreDll& core) {
  if (core.module) FreeLibrary(core.module);
}

// 1 when the division was set (or will be at the next start), 0 when the call is missing or refused.
int SetMemoryDivImpl(DWORD storePages) {
  CoreDll core = LoadCoreDll();
  int result = 0;
  if (core.set) {
    result = core.set(storePages) != SYSMEM_FAILED ? 1 : 0;
  } else {
    BoardDebug("SetMemoryDiv335X false \r\n!");
  }
  FreeCoreDll(core);
  return result;
}

// 1 with the three values written, 0 when the call is missing or fails.
int GetMemoryDivImpl(DWORD* storePages, DWORD* ramPages, DWORD* pageSize) {
  CoreDll core = LoadCoreDll();
  int result = 0;
  if (core.get) {
    result = core.get(storePages, ramPages, pageSize) ? 1 : 0;
  } else {
    BoardDebug("GetMemoryDiv335X false \r\n!");
  }
  FreeCoreDll(core);
  return result;
}

// Levels 0 to 2 arm the watchdog. The result is 0 in every case.
int EnableWdt(int level) {
  if (level < 0 || level > kWdtMaxLevel) {
    BoardDebug("watchdog level parameter error \r\n");
    return 0;
  }
  HANDLE wdt = OpenWatchdog();
  if (wdt == INVALID_HANDLE_VALUE) return 0;
  DWORD value = static_cast<DWORD>(level);
  if (!DeviceIoControl(wdt, kWdtEnable, &value, sizeof value, nullptr, 0, nullptr, nullptr)) {
    BoardDebug("enable watchdog failde \r\n");
  }
  CloseHandle(wdt);
  return 0;
}

// The armed watchdog, never fed, restarts the board after its level-0 time-out.
int WarmReboot() { return EnableWdt(0); }

int ColdReboot() {
  SetCleanRebootFlag();
  return EnableWdt(0);
}

// The first adapter's 6-byte address into mac: 1 done, 0 without memory or adapter list.
int GetMacAddress(BYTE* mac) {
  if (!mac) return 0;
  ULONG size = 0;
  if (GetAdaptersInfo(nullptr, &size) != ERROR_BUFFER_OVERFLOW || size < sizeof(IP_ADAPTER_INFO)) return 0;
  auto* list = static_cast<IP_ADAPTER_INFO*>(std::calloc(1, size));
  if (!list) return 0;
  int result = GetAdaptersInfo(list, &size) == ERROR_SUCCESS ? 1 : 0;
  if (result) std::memcpy(mac, list->Address, 6);
  std::free(list);
  return result;
}

// A UTF-16 field of the record, up to its terminator or its end, as 8-bit text.
std::string Narrow(const WCHAR* field, size_t chars) {
  std::string out;
  for (size_t i = 0; i < chars && field[i]; ++i) out += field[i] < 0x80 ? static_cast<char>(field[i]) : '?';
  return out;
}

// "vendor, core-name" into text (room for 184 bytes); 1 done, 0 (empty text) without the record.
int GetCpuInfo(char* text) {
  if (!text) return 0;
  text[0] = 0;
  PROCESSOR_INFO info{};
  DWORD got = 0;
  if (!KernelIoControl(IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, &got)) return 0;
  std::string vendor = Narrow(info.szVendor, kVendorChars);
  std::string core = Narrow(info.szProcessCore, kCoreChars);
  std::string name = Narrow(info.szProcessorName, kNameChars);
  std::string out = vendor;
  if (!vendor.empty() && (!core.empty() || !name.empty())) out += ", ";
  out += core;
  if (!core.empty() && !name.empty()) out += "-";
  out += name;
  std::memcpy(text, out.c_str(), out.size() + 1);
  return 1;
}

}  // namespace

BOARD_EXPORT int Turn_Light(int on) { return TurnLight(on); }
BOARD_EXPORT int TurnLight210(int on) { return TurnLight(on); }
BOARD_EXPORT int KVTurnLight(int on) { return TurnLight(on); }

BOARD_EXPORT int Turn_Beep(int on) { return EnableBeep(on); }
BOARD_EXPORT int EnableBeep210(int on) { return EnableBeep(on); }
BOARD_EXPORT int KVEnableBeep(int on) { return EnableBeep(on); }

BOARD_EXPORT int BeepOnce(int level) { return BeepOnceImpl(level); }
BOARD_EXPORT int BeepOnce210(int level) { return BeepOnceImpl(level); }
BOARD_EXPORT int KVBeepOnce(int level) { return BeepOnceImpl(level); }

BOARD_EXPORT void Beep() { BeepImpl(); }
BOARD_EXPORT void Beep210() { BeepImpl(); }
BOARD_EXPORT void KVBeep() { BeepImpl(); }

BOARD_EXPORT int SetMemoryDiv(DWORD storePages) { return SetMemoryDivImpl(storePages); }
BOARD_EXPORT int SetMemoryDiv210(DWORD storePages) { return SetMemoryDivImpl(storePages); }
BOARD_EXPORT int KVSetMemoryDiv(DWORD storePages) { return SetMemoryDivImpl(storePages); }

BOARD_EXPORT int GetMemoryDiv(DWORD* storePages, DWORD* ramPages, DWORD* pageSize) {
  return GetMemoryDivImpl(storePages, ramPages, pageSize);
}
BOARD_EXPORT int GetMemoryDiv210(DWORD* storePages, DWORD* ramPages, DWORD* pageSize) {
  return GetMemoryDivImpl(storePages, ramPages, pageSize);
}
BOARD_EXPORT int KVGetMemoryDiv(DWORD* storePages, DWORD* ramPages, DWORD* pageSize) {
  return GetMemoryDivImpl(storePages, ramPages, pageSize);
}

BOARD_EXPORT int RebootHot() { return WarmReboot(); }
BOARD_EXPORT int WarmReboot210() { return WarmReboot(); }
BOARD_EXPORT int KVWarmReboot() { return WarmReboot(); }

BOARD_EXPORT int RE_BOOT() { return ColdReboot(); }
BOARD_EXPORT int ColdReboot210() { return ColdReboot(); }
BOARD_EXPORT int KVColdReboot() { return ColdReboot(); }

BOARD_EXPORT int KVGetMacAddress(BYTE* mac) { return GetMacAddress(mac); }
BOARD_EXPORT int KVGetMacAddress210(BYTE* mac) { return GetMacAddress(mac); }

BOARD_EXPORT int KVGetCpuInfo(char* text) { return GetCpuInfo(text); }

BOARD_EXPORT int KVEnableWDT(int level) { return EnableWdt(level); }
BOARD_EXPORT int KVFeedWDT() { return WatchdogCommand(kWdtFeed, "feed watchdog failde \r\n"); }
BOARD_EXPORT int KVCloseWDT() { return WatchdogCommand(kWdtClose, "close watchdog failde \r\n"); }
