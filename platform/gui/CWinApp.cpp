#include "CWinApp.h"

#include <unistd.h>

#include <filesystem>

#include "Log.h"
#include "Resources.h"

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

CWinApp*& TheApp() {
  static CWinApp* app = nullptr;
  return app;
}

}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR appName) {
  if (appName) {
    m_appName = appName;
    m_pszAppName = m_appName;
  }
  m_hInstance = GetModuleHandleW(nullptr);
  TheApp() = this;
}

CWinApp::~CWinApp() {
  if (TheApp() == this) TheApp() = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }
int CWinApp::ExitInstance() { return 0; }
BOOL CWinApp::OnIdle(LONG) { return FALSE; }

int CWinApp::Run() {
  m_running = true;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    if (!PreTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  m_running = false;
  return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG* msg) {
  HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
  return CWnd::WalkPreTranslateTree(stop, msg);
}

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIconW(m_hInstance, MAKEINTRESOURCEW(id)); }
HICON CWinApp::LoadIcon(LPCTSTR name) const { return ::LoadIconW(m_hInstance, name); }

void CWinApp::SetRegistryKey(LPCTSTR key) {
  m_registryKey = key ? key : u"";
  m_pszRegistryKey = m_registryKey;
}

CWinApp* AfxGetApp() { return TheApp(); }

CWnd* AfxGetMainWnd() {
  CWinApp* app = AfxGetApp();
  return app ? app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() { return GetModuleHandleW(nullptr); }
HINSTANCE AfxGetResourceHandle() { return GetModuleHandleW(nullptr); }

CString AfxGetAppName() {
  CWinApp* app = AfxGetApp();
  if (app && app->m_pszAppName) return CString(app->m_pszAppName);
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  std::string exe = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "";
  size_t slash = exe.rfind('/');
  std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
  return CString::FromUtf8(name);
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
  CWnd* main = AfxGetMainWnd();
  return MessageBoxW(main ? main->m_hWnd : nullptr, text, AfxGetAppName(), type);
}

int AfxMessageBox(UINT id, UINT type, UINT) {
  CString text;
  panel::LoadResourceString(id, text);
  return AfxMessageBox(text, type, 0);
}

namespace panel {

int RunApp() {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  // Without its dialogs and bitmaps a program could show nothing and would end as if closed.
  const std::string resources = ResourceDir();
  std::error_code error;
  if (!std::filesystem::is_directory(resources, error)) {
    LogLine("cannot start: the resource folder " + resources + " is missing");
    return kNoResourcesExit;
  }
  if (!app->InitInstance()) {
    if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}

}  // namespace panel
