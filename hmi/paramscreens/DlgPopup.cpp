#include "DlgPopup.h"

#include "AppGlobals.h"
#include "LangTexts.h"

namespace {

const int kTextOk = 377;
const int kTextCancel = 378;

}  // namespace

BEGIN_MESSAGE_MAP(DlgPopup, DlgBase)
  ON_BN_CLICKED(DlgPopup::kOk, &DlgPopup::OnOkButton)
  ON_BN_CLICKED(DlgPopup::kCancel, &DlgPopup::OnCancelButton)
  ON_BN_CLICKED(DlgPopup::kClose, &DlgPopup::OnCancelButton)
END_MESSAGE_MAP()

DlgPopup::DlgPopup(UINT templateId, CWnd* parent) : DlgBase(&g_bmpPopupBg, templateId, parent) {}

DlgPopup::~DlgPopup() = default;

void DlgPopup::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  DDX_Control(dx, kTitle, m_title);
  DDX_Control(dx, kClose, m_close);
  DDX_Control(dx, kOk, m_ok);
  DDX_Control(dx, kCancel, m_cancel);
}

BOOL DlgPopup::OnInitDialog() {
  DlgBase::OnInitDialog();
  const bool model9 = g_dealerId == 9;
  m_title.SetSkin(265, 258, 275);
  m_close.SetIconStyle(model9 ? 96 : 15, 240, 258, 271);
  for (CSkinButton* b : {&m_ok, &m_cancel}) b->SetIconStyle(model9 ? 97 : 16, 240, 258, 271);
  m_ok.SetWindowText(LangText(kTextOk));
  m_cancel.SetWindowText(LangText(kTextCancel));
  return TRUE;
}

void DlgPopup::OnOkButton() { OnOK(); }

void DlgPopup::OnCancelButton() { OnCancel(); }
