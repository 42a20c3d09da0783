#include "CLauncherApp.h"

#include "CLauncherDlg.h"
#include "Platform.h"

namespace {

const char16_t kInstanceMutex[] = u"Brimcourt";
const UINT kSocketFailureText = 103;  // "Windows 套接字初始化失败。"
const char16_t kRegistryKey[] = u"应用程序向导生成的本地应用程序";
const char16_t kNoInstanceLock[] = u"Brimcourt cannot make sure that it runs only once; it does not start.";

}  // namespace

BEGIN_MESSAGE_MAP(CLauncherApp, CWinApp)
END_MESSAGE_MAP()

CLauncherApp::CLauncherApp() = default;

CLauncherApp::~CLauncherApp() {
  if (m_socketsStarted) WSACleanup();
}

BOOL CLauncherApp::InitInstance() {
  HANDLE instance = CreateMutexW(nullptr, FALSE, kInstanceMutex);
  if (!instance) {
    // Without the name a second launcher could run beside this one: better none than two.
    AfxMessageBox(kNoInstanceLock);
    return FALSE;
  }
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(instance);
    return FALSE;
  }
  // The handle stays open for the life of the process.

  if (!m_socketsStarted) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) {
      AfxMessageBox(kSocketFailureText);
      return FALSE;
    }
    m_socketsStarted = true;
  }
  SetRegistryKey(kRegistryKey);

  CLauncherDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}
