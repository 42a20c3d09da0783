// Socket start-up of the platform. The programs start and end socket support (WSAStartup 2.2 at start,
// WSACleanup at exit) and keep socket holders that are never given a socket, so no socket exists here:
// shutdown and closesocket on any value fail with WSAENOTSOCK. A test can make WSAStartup fail to check
// that a program ends when socket support is missing. Callable from any thread.
#pragma once

#include "WinTypes.h"

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET (static_cast<SOCKET>(~static_cast<SOCKET>(0)))
#define SOCKET_ERROR (-1)
#define SD_RECEIVE 0
#define SD_SEND 1
#define SD_BOTH 2

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

#define WSAEFAULT 10014
#define WSAENOTSOCK 10038
#define WSASYSNOTREADY 10091
#define WSAVERNOTSUPPORTED 10092
#define WSANOTINITIALISED 10093

struct WSADATA {
  WORD wVersion;      // the version the caller will use: the one asked for, at most 2.2
  WORD wHighVersion;  // 2.2
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  unsigned short iMaxSockets;
  unsigned short iMaxUdpDg;
  char* lpVendorInfo;
};
typedef WSADATA* LPWSADATA;

// 0 and the data filled for versions 1.1 to 2.2 and above (capped at 2.2); WSAVERNOTSUPPORTED for a version
// below 1.1; WSAEFAULT without data; the test failure code when one is set (WSADATA untouched).
// Every success needs a WSACleanup.
int WSAStartup(WORD version, LPWSADATA data);
// 0 while a start-up is outstanding, else SOCKET_ERROR with WSANOTINITIALISED.
int WSACleanup();
int WSAGetLastError();
int shutdown(SOCKET socket, int how);
int closesocket(SOCKET socket);

namespace panel {

// Tests: WSAStartup returns this code (non-zero) from now on; 0 restores success.
void SetWSAStartupFailure(int code);
// Start-ups not yet cleaned up.
int WSAStartupCount();

}  // namespace panel
