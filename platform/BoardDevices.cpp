// The board's stream drivers, opened by CreateFileW: the GPIO driver "PIO1:" and the watchdog
// driver "WDT1:". Each call is one board event; the drivers present come from $PANEL_ROOT/board/drivers.
#include "Board.h"
#include "Devices.h"
#include "Handles.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace panel {
namespace {

// GPIO driver: pin number in the first input byte; for a level the input length is the level.
constexpr DWORD kGpioSetOutput = 1;
constexpr DWORD kGpioSetLevel = 3;

// Watchdog driver: arm with a 4-byte level, feed, close.
constexpr DWORD kWdtEnable = 0x01111110;
constexpr DWORD kWdtFeed = 0x01111111;
constexpr DWORD kWdtClose = 0x01111112;
// Time-out of each accepted level.
constexpr DWORD kWdtTimeoutMs[] = {5000, 10000, 20000};

std::string Hex32(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", value);
  return text;
}

class BoardDriver : public IoObject {
public:
  explicit BoardDriver(std::string name) : m_name(std::move(name)) {}
  ~BoardDriver() override { BoardLog("CloseHandle " + m_name); }

  BOOL IoControl(DWORD code, const void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) override {
    *returned = 0;
    if (BoardDriverFailing(m_name)) {
      BoardLog(m_name + " ioctl " + Hex32(code) + " failed");
      SetLastError(ERROR_GEN_FAILURE);
      return FALSE;
    }
    return Control(code, static_cast<const BYTE*>(in), inSize, out, outSize, returned);
  }

protected:
  virtual BOOL Control(DWORD code, const BYTE* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned) = 0;

  BOOL Refuse(DWORD code, DWORD error) {
    BoardLog(m_name + " ioctl " + Hex32(code) + " refused");
    SetLastError(error);
    return FALSE;
  }

  std::string m_name;
};

class GpioDriver : public BoardDriver {
public:
  GpioDriver() : BoardDriver("PIO1:") {}

protected:
  BOOL Control(DWORD code, const BYTE* in, DWORD inSize, void*, DWORD, DWORD*) override {
    if (code == kGpioSetOutput) {
      if (!in || inSize < 1) return Refuse(code, ERROR_INVALID_PARAMETER);
      BoardLog(m_name + " output " + std::to_string(in[0]));
      return TRUE;
    }
    if (code == kGpioSetLevel) {
      // The caller's buffer always holds the pin, also when the level (the length) is 0.
      if (!in || inSize > 1) return Refuse(code, ERROR_INVALID_PARAMETER);
      BoardLog(m_name + " level " + std::to_string(in[0]) + " " + std::to_string(inSize));
      return TRUE;
    }
    return Refuse(code, ERROR_NOT_SUPPORTED);
  }
};

class WatchdogDriver : public BoardDriver {
public:
  WatchdogDriver() : BoardDriver("WDT1:") {}

protected:
  BOOL Control(DWORD code, const BYTE* in, DWORD inSize, void*, DWORD, DWORD*) override {
    switch (code) {
      case kWdtEnable: {
        DWORD level = 0;
        if (!in || inSize < sizeof level) return Refuse(code, ERROR_INVALID_PARAMETER);
        std::memcpy(&level, in, sizeof level);
        if (level >= sizeof kWdtTimeoutMs / sizeof kWdtTimeoutMs[0]) return Refuse(code, ERROR_INVALID_PARAMETER);
        BoardLog(m_name + " enable " + std::to_string(level));
        ArmDriverWatchdog(kWdtTimeoutMs[level]);
        return TRUE;
      }
      case kWdtFeed:
        BoardLog(m_name + " feed");
        FeedDriverWatchdog();
        return TRUE;
      case kWdtClose:
        BoardLog(m_name + " close");
        CloseDriverWatchdog();
        return TRUE;
      default:
        return Refuse(code, ERROR_NOT_SUPPORTED);
    }
  }
};

}  // namespace

HANDLE OpenBoardDevice(const CString& name, DWORD) {
  CString upper = name;
  upper.MakeUpper();
  std::string device = upper.ToUtf8();
  if (!BoardHasDriver(device) || (device != "PIO1:" && device != "WDT1:")) {
    BoardLog("CreateFile " + device + " -> " + std::to_string(ERROR_FILE_NOT_FOUND));
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  BoardLog("CreateFile " + device);
  if (device == "PIO1:") return RegisterHandle(new GpioDriver());
  return RegisterHandle(new WatchdogDriver());
}

}  // namespace panel
