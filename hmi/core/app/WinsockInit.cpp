#include "WinsockInit.h"

#include <cstdlib>

#include "Platform.h"

WinsockInit::WinsockInit() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data) != 0) std::exit(0);
  m_started = true;
}

WinsockInit::~WinsockInit() {
  if (m_started) WSACleanup();
}
