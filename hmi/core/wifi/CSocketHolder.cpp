#include "CSocketHolder.h"

CSocketHolder::~CSocketHolder() { Close(); }

void CSocketHolder::Close() {
  if (m_socket == INVALID_SOCKET) return;
  shutdown(m_socket, SD_BOTH);
  closesocket(m_socket);
  m_socket = INVALID_SOCKET;
}
