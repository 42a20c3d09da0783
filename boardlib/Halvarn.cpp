// Board library of the S3C2416 board (processor type 2577). It works on the processor's peripheral
// registers at their kernel-mode mapped addresses, through the platform's register accessor, and on
// two words the boot loader leaves in memory (the board code and the beeper pin word). Nine entry
// points, no aliases. BeepOnce sounds its pulse on a short thread of its own; the pulse-finished
// flag serialises the pulses, and the library waits for a running pulse before it is unloaded.
#include <atomic>
#include <mutex>

#include "Board.h"
#include "BoardDebug.h"
#include "Clock.h"
#include "Handles.h"
#include "Thread.h"

namespace {

// Register map (S3C2416 names, mapped addresses).
constexpr uint32_t WTCON = 0xB1C00000;
constexpr uint32_t WTDAT = 0xB1C00004;
constexpr uint32_t WTCNT = 0xB1C00008;
constexpr uint32_t SWRST = 0xB1000044;
constexpr uint32_t GPIO_BASE = 0xB2100000;  // ports are CON offsets from here; DAT is CON + 4
constexpr uint32_t GPBCON = 0xB2100010;
constexpr uint32_t GPBDAT = 0xB2100014;
constexpr uint32_t GPCCON = 0xB2100020;
constexpr uint32_t GPCDAT = 0xB2100024;
constexpr uint32_t GPCUDP = 0xB2100028;
constexpr uint32_t TCFG0 = 0xB1A00000;
constexpr uint32_t TCON = 0xB1A00008;
constexpr uint32_t TCNTB0 = 0xB1A0000C;
constexpr uint32_t TCMPB0 = 0xB1A00010;
constexpr uint32_t UFCON[4] = {0xB1900008, 0xB1904008, 0xB1908008, 0xB190C008};
// Boot-loader words.
constexpr uint32_t BOARD_CODE = 0xA0020092;       // 16 bits
constexpr uint32_t BEEPER_PIN_WORD = 0xA0020094;  // bits 16-23 port offset, bits 0-7 pin

constexpr uint32_t kSoftwareReset = 0x533C2416;
constexpr uint32_t kPinWordMask = 0xF000F000;
constexpr uint32_t kPinWordValid = 0x5000A000;
constexpr uint32_t kPinWordGpb0 = 0x5010A000;
// Ports B to H: two CON bits per pin, pins 0 to 15.
constexpr uint32_t kFirstPort = 0x10;
constexpr uint32_t kLastPort = 0x70;
constexpr uint32_t kLastPin = 15;

constexpr uint32_t kWatchdogCount = 50;
constexpr uint32_t kWatchdogControl = 0xD039;  // prescaler 208, division 128, timer and reset on

constexpr uint32_t kTimerPrescaler = 0xF7;
constexpr uint32_t kTimerClockHz = 134409;  // timer 0's input clock at prescaler 247
constexpr uint32_t kTconStop = 0x0;
constexpr uint32_t kTconManualUpdate = 0x2;
constexpr uint32_t kTconStartInvertReload = 0xD;

constexpr DWORD kBacklightOn = 3;  // kernel control values on boards 7 and 8
constexpr DWORD kBacklightOff = 2;

constexpr DWORD kPulseMs = 100;
constexpr int kPulseWaitSteps = 100;  // of 1 ms
constexpr int kPulsePriority = 1;
constexpr int kMaxPulses = 8;  // pulse threads kept until seen to end

struct Pin {
  uint32_t con;
  uint32_t dat;
  uint32_t bit;
};

// The field of `mask` at `shift` in a register takes `value`; the other bits stay.
void SetField(uint32_t address, uint32_t shift, uint32_t mask, uint32_t value) {
  panel::WriteReg32(address, (panel::ReadReg32(address) & ~(mask << shift)) | ((value & mask) << shift));
}

void SetBit(uint32_t address, uint32_t bit, bool on) { SetField(address, bit, 1, on ? 1 : 0); }

bool IsLevel(int value) { return value == 0 || value == 1; }

// The beeper's pin from the boot loader's word; GPB0 when the word is not valid or names a port or
// pin the CON and DAT registers do not have.
Pin BeeperPin() {
  uint32_t word = panel::ReadReg32(BEEPER_PIN_WORD);
  uint32_t port = (word >> 16) & 0xFF;
  uint32_t bit = word & 0xFF;
  bool valid = (word & kPinWordMask) == kPinWordValid && port >= kFirstPort && port <= kLastPort && port % 0x10 == 0 &&
               bit <= kLastPin;
  if (!valid) {
    BoardDebug("Touch: Get IO error! 0x%x.\r\n", word);
    port = (kPinWordGpb0 >> 16) & 0xFF;
    bit = kPinWordGpb0 & 0xFF;
  }
  return Pin{GPIO_BASE + port, GPIO_BASE + port + 4, bit};
}

void MakeOutput(const Pin& pin) { SetField(pin.con, 2 * pin.bit, 3, 1); }

// 1 while no pulse runs. Pulse threads not yet seen to end are kept, so that unloading waits.
std::atomic<int> g_pulseFinished{1};
std::mutex g_pulseLock;
HANDLE g_pulses[kMaxPulses];
int g_pulseCount = 0;

DWORD PulseThread(LPVOID) {
  Pin pin = BeeperPin();
  MakeOutput(pin);
  SetBit(pin.dat, pin.bit, true);
  Sleep(kPulseMs);
  SetBit(pin.dat, pin.bit, false);
  g_pulseFinished = 1;
  return 0;
}

// Closes the kept pulse threads that have ended; with `all`, waits for the others first.
void ClosePulses(bool all) {
  std::lock_guard<std::mutex> guard(g_pulseLock);
  int kept = 0;
  for (int i = 0; i < g_pulseCount; ++i) {
    if (WaitForSingleObject(g_pulses[i], all ? INFINITE : 0) == WAIT_OBJECT_0) {
      CloseHandle(g_pulses[i]);
    } else {
      g_pulses[kept++] = g_pulses[i];
    }
  }
  g_pulseCount = kept;
}

// Keeps a pulse thread; when all places are taken, the oldest is waited for.
void KeepPulse(HANDLE thread) {
  std::lock_guard<std::mutex> guard(g_pulseLock);
  if (g_pulseCount == kMaxPulses) {
    WaitForSingleObject(g_pulses[0], INFINITE);
    CloseHandle(g_pulses[0]);
    for (int i = 1; i < g_pulseCount; ++i) g_pulses[i - 1] = g_pulses[i];
    --g_pulseCount;
  }
  g_pulses[g_pulseCount++] = thread;
}

// The library's code must stay mapped while a pulse thread runs it.
struct PulsesAtUnload {
  ~PulsesAtUnload() { ClosePulses(true); }
} g_pulsesAtUnload;

}  // namespace

// Resets the processor at once.
BOARD_EXPORT int RebootHot() {
  panel::WriteReg32(SWRST, kSoftwareReset);
  return 1;
}

// The watchdog resets the board after 50 counts.
BOARD_EXPORT int RE_BOOT() {
  panel::WriteReg32(WTDAT, kWatchdogCount);
  panel::WriteReg32(WTCNT, kWatchdogCount);
  panel::WriteReg32(WTCON, kWatchdogControl);
  return 1;
}

// 1 on, 0 off; 1 done, 0 for any other argument (nothing touched) or a failed platform call.
BOARD_EXPORT int Turn_Light(int on) {
  if (!IsLevel(on)) return 0;
  WORD board = panel::ReadReg16(BOARD_CODE);
  if (board == 7 || board == 8) {
    DWORD value = on ? kBacklightOn : kBacklightOff;
    return KernelIoControl(IOCTL_BOARD_BACKLIGHT, &value, sizeof value, nullptr, 0, nullptr) ? 1 : 0;
  }
  SetField(GPCCON, 16, 3, 1);  // GPC8 output
  SetField(GPCUDP, 16, 3, 2);
  SetBit(GPCDAT, 8, on == 1);
  return 1;
}

// 1 on, 0 off; 1 done, 0 for any other argument (nothing touched).
BOARD_EXPORT int Turn_Beep(int on) {
  if (!IsLevel(on)) return 0;
  Pin pin = BeeperPin();
  MakeOutput(pin);
  SetBit(pin.dat, pin.bit, on == 1);
  return 1;
}

// A 100 ms pulse on its own thread, after the previous one ended (waiting at most 100 ms for it).
// 1 started, 0 when no thread could be made.
BOARD_EXPORT int BeepOnce(int) {
  for (int step = 0; step < kPulseWaitSteps; ++step) {
    int finished = 1;
    if (g_pulseFinished.compare_exchange_strong(finished, 0)) break;
    Sleep(1);
  }
  g_pulseFinished = 0;
  ClosePulses(false);
  HANDLE thread = CreateThread(nullptr, 0, PulseThread, nullptr, 0, nullptr);
  if (!thread) {
    g_pulseFinished = 1;
    return 0;
  }
  SetThreadPriority(thread, kPulsePriority);
  KeepPulse(thread);
  return 1;
}

// A tone of `frequency` Hz for `durationMs` on timer 0's output; only on boards whose beeper is GPB0.
// A frequency of 0 or below, or a negative duration, does nothing.
BOARD_EXPORT void Beep(int frequency, int durationMs) {
  if (panel::ReadReg32(BEEPER_PIN_WORD) != kPinWordGpb0) {
    BoardDebug("This Device Is Not Suport!\r\n");
    return;
  }
  if (frequency <= 0 || durationMs < 0) return;
  SetField(GPBCON, 0, 3, 2);  // GPB0 is TOUT0
  SetField(TCFG0, 0, 0xFF, kTimerPrescaler);
  uint32_t count = kTimerClockHz / static_cast<uint32_t>(frequency);
  panel::WriteReg32(TCNTB0, count);
  panel::WriteReg32(TCMPB0, count * 8 / 10);
  SetField(TCON, 0, 0xF, kTconStop);
  SetField(TCON, 0, 0xF, kTconManualUpdate);
  SetField(TCON, 0, 0xF, kTconStop);
  SetField(TCON, 0, 0xF, kTconStartInvertReload);
  Sleep(static_cast<DWORD>(durationMs));
  SetField(TCON, 0, 0xF, kTconStop);
  SetField(GPBCON, 0, 3, 1);  // back to a plain output, low
  SetBit(GPBDAT, 0, false);
}

// 1 when the division changed, 0 otherwise.
BOARD_EXPORT int SetMemoryDiv(DWORD storePages) {
  return SetSystemMemoryDivision(storePages) == SYSMEM_CHANGED ? 1 : 0;
}

// The platform's result: non-zero with the three values written.
BOARD_EXPORT int GetMemoryDiv(DWORD* storePages, DWORD* ramPages, DWORD* pageSize) {
  return GetSystemMemoryDivision(storePages, ramPages, pageSize);
}

// FIFO trigger level 0..3 of UART 1..4: 1 done, 0 for a bad argument (nothing changed).
BOARD_EXPORT int SetUartFifo(int level, int uart) {
  if (level < 0 || level > 3 || uart < 1 || uart > 4) return 0;
  SetField(UFCON[uart - 1], 4, 3, static_cast<uint32_t>(level));
  return 1;
}
