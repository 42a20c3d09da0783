// The launcher's application object. InitInstance is the launcher's whole life: one copy only, socket
// support, the registry key, then the dialog run modally; it returns FALSE, so the program ends when
// the dialog does. GUI thread only.
#pragma once

#include "Gui.h"

class CLauncherApp : public CWinApp {
public:
  CLauncherApp();
  ~CLauncherApp() override;

  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()

private:
  bool m_socketsStarted = false;
};
