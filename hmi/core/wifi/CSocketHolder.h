// Holder of one socket handle, closed when the holder goes. The watchdog owns one; nothing in this
// program ever hands it a socket, so it stays empty. Used by its owner's thread only.
#pragma once

#include "Platform.h"

class CSocketHolder {
public:
  CSocketHolder() = default;
  virtual ~CSocketHolder();
  CSocketHolder(const CSocketHolder&) = delete;
  CSocketHolder& operator=(const CSocketHolder&) = delete;

  // When a socket is held: shuts it down both ways, closes it and holds none.
  void Close();
  bool IsEmpty() const { return m_socket == INVALID_SOCKET; }

private:
  SOCKET m_socket = INVALID_SOCKET;
};
