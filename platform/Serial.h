// Serial lines: the communication calls of the platform over Linux terminals (termios).
// CreateFileW("COM3:") opens the device that the board's port map names ($PANEL_ROOT/board/ports, one
// "COM3 /dev/ttyUSB0" per line, '#' starts a comment): raw (cfmakeraw), exclusive (flock: a second open
// of a line in use fails with ERROR_ACCESS_DENIED, also within one process), non-blocking. A name the map
// does not know, or a device that is missing or no terminal, fails with ERROR_FILE_NOT_FOUND.
// ReadFile and WriteFile on the handle follow the line's COMMTIMEOUTS: ReadIntervalTimeout MAXDWORD with
// both read totals 0 returns at once with what has arrived (possibly nothing); other settings wait, in real
// time, for the total and interval timeouts (all zero: until every byte came). A write that times out
// returns TRUE with fewer bytes written. A line whose far side went away reads nothing and fails writes.
// Line errors (parity, framing, overrun) are not reported by the terminals used here: ClearCommError
// always gives an error word of 0 and the bytes waiting in each direction.
// A pseudo-terminal ignores baud rate and parity, so the layer records what it applied, per port name,
// for tests to check (QuerySerialLine). A handle must not be closed while another thread uses it.
#pragma once

#include <cstdint>
#include <string>

#include "WinTypes.h"

#ifndef MAXDWORD
#define MAXDWORD 0xFFFFFFFFu
#endif
#ifndef ERROR_GEN_FAILURE
#define ERROR_GEN_FAILURE 31L
#endif

#define NOPARITY 0
#define ODDPARITY 1
#define EVENPARITY 2
#define MARKPARITY 3
#define SPACEPARITY 4
#define ONESTOPBIT 0
#define ONE5STOPBITS 1
#define TWOSTOPBITS 2
#define DTR_CONTROL_DISABLE 0
#define DTR_CONTROL_ENABLE 1
#define DTR_CONTROL_HANDSHAKE 2
#define RTS_CONTROL_DISABLE 0
#define RTS_CONTROL_ENABLE 1
#define RTS_CONTROL_HANDSHAKE 2
#define RTS_CONTROL_TOGGLE 3

#define EV_RXCHAR 0x0001u
#define EV_RXFLAG 0x0002u
#define EV_TXEMPTY 0x0004u
#define EV_ERR 0x0080u

#define PURGE_TXABORT 0x0001u
#define PURGE_RXABORT 0x0002u
#define PURGE_TXCLEAR 0x0004u
#define PURGE_RXCLEAR 0x0008u

#define CE_RXOVER 0x0001u
#define CE_OVERRUN 0x0002u
#define CE_RXPARITY 0x0004u
#define CE_FRAME 0x0008u
#define CE_BREAK 0x0010u

struct DCB {
  DWORD DCBlength;
  DWORD BaudRate;
  DWORD fBinary : 1;
  DWORD fParity : 1;  // check parity of received bytes
  DWORD fOutxCtsFlow : 1;
  DWORD fOutxDsrFlow : 1;
  DWORD fDtrControl : 2;
  DWORD fDsrSensitivity : 1;
  DWORD fTXContinueOnXoff : 1;
  DWORD fOutX : 1;
  DWORD fInX : 1;
  DWORD fErrorChar : 1;
  DWORD fNull : 1;
  DWORD fRtsControl : 2;
  DWORD fAbortOnError : 1;
  DWORD fDummy2 : 17;
  WORD wReserved;
  WORD XonLim;
  WORD XoffLim;
  BYTE ByteSize;  // 5..8
  BYTE Parity;    // NOPARITY .. SPACEPARITY
  BYTE StopBits;  // ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS
  char XonChar;
  char XoffChar;
  char ErrorChar;
  char EofChar;
  char EvtChar;
  WORD wReserved1;
};
typedef DCB* LPDCB;

struct COMMTIMEOUTS {
  DWORD ReadIntervalTimeout;
  DWORD ReadTotalTimeoutMultiplier;
  DWORD ReadTotalTimeoutConstant;
  DWORD WriteTotalTimeoutMultiplier;
  DWORD WriteTotalTimeoutConstant;
};
typedef COMMTIMEOUTS* LPCOMMTIMEOUTS;

struct COMSTAT {
  DWORD fCtsHold : 1;
  DWORD fDsrHold : 1;
  DWORD fRlsdHold : 1;
  DWORD fXoffHold : 1;
  DWORD fXoffSent : 1;
  DWORD fEof : 1;
  DWORD fTxim : 1;
  DWORD fReserved : 25;
  DWORD cbInQue;   // bytes received and not yet read
  DWORD cbOutQue;  // bytes written and not yet sent
};
typedef COMSTAT* LPCOMSTAT;

// Each returns FALSE with ERROR_INVALID_HANDLE for a handle that is not an open serial line.
// Queue sizes are recorded only (the terminal driver sizes its own queues).
BOOL SetupComm(HANDLE line, DWORD inQueue, DWORD outQueue);
BOOL GetCommState(HANDLE line, LPDCB dcb);
// FALSE with ERROR_INVALID_PARAMETER for a baud rate the terminal has no speed for, a byte size outside
// 5..8, a parity above SPACEPARITY or stop bits above TWOSTOPBITS; the line is then left unchanged.
BOOL SetCommState(HANDLE line, LPDCB dcb);
BOOL GetCommTimeouts(HANDLE line, LPCOMMTIMEOUTS timeouts);
BOOL SetCommTimeouts(HANDLE line, LPCOMMTIMEOUTS timeouts);
// The mask is recorded; nothing waits for events.
BOOL SetCommMask(HANDLE line, DWORD mask);
BOOL GetCommMask(HANDLE line, LPDWORD mask);
// Abort and clear flags both discard what is queued in their direction.
BOOL PurgeComm(HANDLE line, DWORD flags);
// FALSE with ERROR_GEN_FAILURE when the line can no longer be queried (its far side hung up).
BOOL ClearCommError(HANDLE line, LPDWORD errors, LPCOMSTAT stat);

namespace panel {

// What the layer applied to a port, kept per port name ("COM3") after the line closes too.
struct SerialLineRecord {
  bool open = false;
  std::string device;     // the path the port map named
  unsigned opens = 0;     // successful opens of this name in this process
  DCB dcb{};              // the last state set (or the one read at open)
  COMMTIMEOUTS timeouts{};
  DWORD inQueue = 0;
  DWORD outQueue = 0;
  DWORD eventMask = 0;
  uint64_t bytesWritten = 0;  // over every open of the name in this process
  uint64_t bytesRead = 0;
  unsigned purges = 0;
};

// Waits at most milliseconds, on the platform's clock, for input on an open line: on the production clock it
// returns as soon as a byte is there (or the far side hung up); on a test clock it sleeps the whole time.
// FALSE with ERROR_INVALID_HANDLE for a handle that is not an open serial line.
BOOL WaitCommInput(HANDLE line, DWORD milliseconds);

// False when the name ("COM3" or "COM3:") was never opened in this process.
bool QuerySerialLine(const char16_t* portName, SerialLineRecord* record);

// The device path the port map gives for a name, or empty.
std::string SerialDevicePath(const char16_t* portName);

}  // namespace panel
