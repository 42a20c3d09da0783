// Dialog data exchange: DoDataExchange binds controls to their objects (DDX_Control) and moves texts
// and numbers between controls and members (DDX_Text). CDialog::OnInitDialog runs it once loading,
// so controls are bound before the dialog first paints.
#pragma once

#include "CString.h"
#include "WinTypes.h"

class CWnd;

class CDataExchange {
public:
  CDataExchange(CWnd* dialog, BOOL save) : m_bSaveAndValidate(save), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to members
  CWnd* m_pDlgWnd;
};

// Binds control to the dialog's child id (once; later calls leave it bound). A missing id leaves it
// unbound and says so on the debug output.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
