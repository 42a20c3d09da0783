// The application object: the program makes one (a global), the framework's run calls its
// InitInstance and, when that returns TRUE, runs the message loop until WM_QUIT; then ExitInstance.
// A program whose InitInstance runs its main dialog modally and returns FALSE ends right after it.
// Every retrieved message passes the application's PreTranslateMessage first, in every loop
// (modal ones included); its default offers the message to the windows from the target up to the
// main window. GUI thread only.
#pragma once

#include "CCmdTarget.h"
#include "CString.h"
#include "CWnd.h"

class CWinApp : public CCmdTarget {
public:
  DECLARE_DYNAMIC(CWinApp)

public:
  explicit CWinApp(LPCTSTR appName = nullptr);
  ~CWinApp() override;

  virtual BOOL InitInstance();
  virtual int ExitInstance();
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* msg);
  virtual BOOL OnIdle(LONG count);

  HICON LoadIcon(UINT id) const;
  HICON LoadIcon(LPCTSTR name) const;
  void SetRegistryKey(LPCTSTR key);

  CWnd* m_pMainWnd = nullptr;
  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszRegistryKey = nullptr;
  HINSTANCE m_hInstance = nullptr;

  DECLARE_MESSAGE_MAP()

private:
  CString m_appName;
  CString m_registryKey;
  bool m_running = false;
  friend void panel::gui::DetachWndObject(CWnd* object);
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The application's name: the name given to CWinApp, else the executable's without its extension.
CString AfxGetAppName();
// A message box owned by the main window, captioned with the application's name; the button pressed.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// The same with the text of string resource id (Resources.h).
int AfxMessageBox(UINT id, UINT type = MB_OK, UINT helpId = static_cast<UINT>(-1));

namespace panel {
// The framework's start: InitInstance, then Run while it returned TRUE, else ExitInstance. The exit
// code; -1 when the program made no application object, kNoResourcesExit (logged) when its resource
// folder is missing.
constexpr int kNoResourcesExit = 3;
int RunApp();
}  // namespace panel
