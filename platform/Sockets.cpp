#include "Sockets.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<int> g_failure{0};
std::atomic<int> g_started{0};
thread_local int t_wsaError = 0;

int Fail(int code) {
  t_wsaError = code;
  return SOCKET_ERROR;
}

}  // namespace

int WSAStartup(WORD version, LPWSADATA data) {
  int failure = g_failure.load();
  if (failure != 0) return failure;
  BYTE major = LOBYTE(version);
  BYTE minor = HIBYTE(version);
  if (major < 1 || (major == 1 && minor < 1)) return WSAVERNOTSUPPORTED;
  if (!data) return WSAEFAULT;
  std::memset(data, 0, sizeof *data);
  data->wVersion = (major > 2 || (major == 2 && minor > 2)) ? MAKEWORD(2, 2) : version;
  data->wHighVersion = MAKEWORD(2, 2);
  std::strcpy(data->szDescription, "WinSock 2.2");
  std::strcpy(data->szSystemStatus, "Running");
  data->iMaxSockets = 0;
  data->iMaxUdpDg = 0;
  ++g_started;
  return 0;
}

int WSACleanup() {
  int started = g_started.load();
  while (started > 0 && !g_started.compare_exchange_weak(started, started - 1)) {
  }
  if (started <= 0) return Fail(WSANOTINITIALISED);
  return 0;
}

int WSAGetLastError() { return t_wsaError; }

int shutdown(SOCKET, int) { return Fail(WSAENOTSOCK); }

int closesocket(SOCKET) { return Fail(WSAENOTSOCK); }

namespace panel {

void SetWSAStartupFailure(int code) { g_failure = code; }

int WSAStartupCount() { return g_started.load(); }

}  // namespace panel
