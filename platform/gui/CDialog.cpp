#include "CDialog.h"

#include "CWinApp.h"
#include "Debug.h"
#include "GuiState.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
  ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
  ON_COMMAND(IDOK, &CDialog::OnOK)
  ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

CDialog::~CDialog() = default;

HWND CDialog::ParentHandle() const {
  if (m_pParentWnd) return m_pParentWnd->m_hWnd;
  CWnd* main = AfxGetMainWnd();
  return main && main != this ? main->m_hWnd : nullptr;
}

INT_PTR CDialog::DoModal() {
  panel::DialogTemplate t;
  std::string error;
  if (!panel::LoadDialogTemplate(m_nIDTemplate, t, &error)) {
    OutputDebugStringW(FromUtf8(error).c_str());
    return -1;
  }
  panel::gui::SetCreatingObject(this);
  INT_PTR r = panel::DialogBoxFromTemplate(t, ParentHandle(), nullptr, 0);
  panel::gui::SetCreatingObject(nullptr);
  return r;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  m_nIDTemplate = templateId;
  if (parent) m_pParentWnd = parent;
  panel::DialogTemplate t;
  std::string error;
  if (!panel::LoadDialogTemplate(templateId, t, &error)) {
    OutputDebugStringW(FromUtf8(error).c_str());
    return FALSE;
  }
  panel::gui::SetCreatingObject(this);
  HWND h = panel::CreateDialogFromTemplate(t, ParentHandle(), nullptr, 0);
  panel::gui::SetCreatingObject(nullptr);
  return h != nullptr;
}

void CDialog::EndDialog(int result) { ::EndDialog(m_hWnd, result); }

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) ::SetFocus(control->m_hWnd);
}

void CDialog::SetDefID(UINT id) { m_defId = id; }
DWORD CDialog::GetDefID() const { return m_defId; }
void CDialog::MapDialogRect(LPRECT rect) const { ::MapDialogRect(m_hWnd, rect); }

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }
