#include "CLauncherApp.h"

#include "AppStart.h"
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
  // Without the name a second launcher could run beside this one: better none than two.
  if (!ClaimSingleInstance(kInstanceMutex, kNoInstanceLock)) return FALSE;
  if (!StartSocketSupport(m_socketsStarted, kSocketFailureText)) return FALSE;
  SetRegistryKey(kRegistryKey);

  CLauncherDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}
