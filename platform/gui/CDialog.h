// The class library's dialog: a window built from a template of the program's resources
// (dialogs/<id>.dlg, DialogTemplate.h), run modally with DoModal or created modeless with Create.
// OnInitDialog binds the controls (DoDataExchange) before the first paint; OK and Cancel (the
// buttons with ids IDOK and IDCANCEL, and WM_CLOSE, which comes as Cancel) call the virtual OnOK and
// OnCancel, whose defaults end the dialog. Modal loops nest; the timers of every window keep firing
// inside them; EndDialog of a dialog ends the loops running inside its own as well (each inner one
// returns IDCANCEL). GUI thread only.
#pragma once

#include "CDataExchange.h"
#include "CWnd.h"
#include "DialogTemplate.h"

class CDialog : public CWnd {
public:
  DECLARE_DYNAMIC(CDialog)

public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // The result given to EndDialog; -1 when the template is missing or the dialog could not be made.
  virtual INT_PTR DoModal();
  // Modeless; TRUE when the window exists.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  void EndDialog(int result);
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  void GotoDlgCtrl(CWnd* control);
  void SetDefID(UINT id);
  DWORD GetDefID() const;
  void MapDialogRect(LPRECT rect) const;

  UINT m_nIDTemplate = 0;
  CWnd* m_pParentWnd = nullptr;

protected:
  LRESULT HandleInitDialog(WPARAM, LPARAM);
  DECLARE_MESSAGE_MAP()

private:
  HWND ParentHandle() const;
  UINT m_defId = IDOK;
};
