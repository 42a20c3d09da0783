#include "DlgPopup.h"

#include "AppGlobals.h"
#include "LangTexts.h"

namespace {

const int kDealer9 = 9;

// Title label: white text over the pop-up background, small font.
const int kTitleText = 265;
const int kPopupBackground = 258;
const int kSmallFont = 275;
// Face of the close corner and of OK / Cancel: dealer 9 has its own.
const int kCloseIcon = 15;
const int kCloseIcon9 = 96;
const int kButtonIcon = 16;
const int kButtonIcon9 = 97;
const int kButtonTextStyle = 240;
const int kButtonFont = 271;

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
  const bool dealer9 = g_dealerId == kDealer9;
  m_title.SetSkin(kTitleText, kPopupBackground, kSmallFont);
  m_close.SetIconStyle(dealer9 ? kCloseIcon9 : kCloseIcon, kButtonTextStyle, kPopupBackground, kButtonFont);
  for (CSkinButton* b : {&m_ok, &m_cancel}) {
    b->SetIconStyle(dealer9 ? kButtonIcon9 : kButtonIcon, kButtonTextStyle, kPopupBackground, kButtonFont);
  }
  m_ok.SetWindowText(LangText(kOkTextId));
  m_cancel.SetWindowText(LangText(kCancelTextId));
  return TRUE;
}

void DlgPopup::OnOkButton() { OnOK(); }

void DlgPopup::OnCancelButton() { OnCancel(); }
