#include "AppStart.h"

#include "Gui.h"

bool ClaimSingleInstance(const char16_t* name, const char16_t* noLockText) {
  HANDLE instance = CreateMutexW(nullptr, FALSE, name);
  if (!instance) {
    AfxMessageBox(noLockText);
    return false;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(instance);
    return false;
  }
  return true;  // the handle stays open for the life of the process
}

bool StartSocketSupport(bool& started, UINT failureText) {
  if (started) return true;
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
    AfxMessageBox(failureText);
    return false;
  }
  started = true;
  return true;
}
