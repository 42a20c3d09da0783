#include "DlgPopup.h"

#include "AppGlobals.h"
#include "LangTexts.h"

namespace {

const int kTextOk = 377;
const int kTextCancel = 378;

const int kTitleColor = 265;
const int kPopupBackground = 258;
const int kTitleFont = 275;
const int kButtonFont = 271;
const int kButtonText = 240;

}  // namespace

const int kTwelveButtonIds[12] = {1084, 1086, 1087, 1088, 1097, 1098, 1099, 1100, 1101, 1102, 1103, 1104};

BEGIN_MESSAGE_MAP(DlgPopup, DlgBase)
  ON_BN_CLICKED(DlgPopup::kOk, &DlgPopup::OnOkClicked)
  ON_BN_CLICKED(DlgPopup::kCancel, &DlgPopup::OnCancelClicked)
  ON_BN_CLICKED(DlgPopup::kClose, &DlgPopup::OnCancelClicked)
END_MESSAGE_MAP()

DlgPopup::DlgPopup(UINT templateId, CWnd* parent) : DlgBase(&g_bmpPopupBg, templateId, parent) {}

DlgPopup::~DlgPopup() = default;

bool DlgPopup::Model9() { return g_dealerId == 9; }

void DlgPopup::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  DDX_Control(dx, kTitle, m_title);
  DDX_Control(dx, kClose, m_close);
  DDX_Control(dx, kOk, m_ok);
  DDX_Control(dx, kCancel, m_cancel);
}

void DlgPopup::DressFrame(const CString& title) {
  m_title.SetSkin(kTitleColor, kPopupBackground, kTitleFont);
  Style(m_close, Model9() ? 96 : 15, kButtonText, kButtonFont);
  Style(m_ok, Model9() ? 97 : 16, kButtonText, kButtonFont);
  Style(m_cancel, Model9() ? 97 : 16, kButtonText, kButtonFont);
  m_title.SetWindowText(title);
  m_ok.SetWindowText(LangText(kTextOk));
  m_cancel.SetWindowText(LangText(kTextCancel));
}

void DlgPopup::Style(CSkinButton& button, int icon, int textStyle, int font) {
  button.SetIconStyle(icon, textStyle, kPopupBackground, font);
}

void DlgPopup::OnOkClicked() { OnOK(); }

void DlgPopup::OnCancelClicked() { OnCancel(); }
