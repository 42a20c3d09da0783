#include "DlgMessage.h"

#include "AppGlobals.h"
#include "ControlHelpers.h"
#include "LangTexts.h"

namespace {

const int kDealer9 = 9;
const int kPopupBackground = 258;
const int kSmallFont = 275;
const int kMessageText = 265;
const int kMessageText9 = 264;
const UINT kSecondMs = 1000;

}  // namespace

BEGIN_MESSAGE_MAP(DlgMessage, DlgPopup)
  ON_WM_TIMER()
END_MESSAGE_MAP()

DlgMessage::DlgMessage(CWnd* parent) : DlgPopup(kTemplate, parent) {}

DlgMessage::~DlgMessage() = default;

int DlgMessage::Init(const CString& title, const CString& message, int32_t mode) {
  m_titleText = title;
  m_message = message;
  m_mode = mode;
  return 1;
}

void DlgMessage::DoDataExchange(CDataExchange* dx) {
  DlgPopup::DoDataExchange(dx);
  DDX_Control(dx, kMessage, m_messageLabel);
}

BOOL DlgMessage::OnInitDialog() {
  DlgPopup::OnInitDialog();
  m_messageLabel.SetSkin(g_dealerId == kDealer9 ? kMessageText9 : kMessageText, kPopupBackground, kSmallFont);
  m_title.SetWindowText(m_titleText);
  m_messageLabel.SetWindowText(m_message);

  if (m_mode == kAskTimed) {
    m_countdown = kAskSeconds;
    ShowCountdown(m_cancel, kCancelTextId);
    SetTimer(kCountdownTimer, kSecondMs);
  }
  if (m_mode == kNotice) {
    m_countdown = kNoticeSeconds;
    CRect ok;
    GetChildRect(ok, &m_ok);
    CRect client;
    GetClientRect(&client);
    m_ok.SetWindowPos(nullptr, (client.Width() - ok.Width()) / 2, ok.top, ok.Width(), ok.Height(),
                      SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
    m_cancel.ShowWindow(SW_HIDE);
    ShowCountdown(m_ok, kOkTextId);
    SetTimer(kCountdownTimer, kSecondMs);
  }
  return TRUE;
}

void DlgMessage::OnTimer(UINT_PTR id) {
  if (id != kCountdownTimer) return;
  if (m_countdown > 0) --m_countdown;
  if (m_mode == kNotice) {
    ShowCountdown(m_ok, kOkTextId);
    if (m_countdown == 0) OnOK();
  } else if (m_mode == kAskTimed) {
    ShowCountdown(m_cancel, kCancelTextId);
    if (m_countdown == 0) OnCancel();
  }
}

void DlgMessage::ShowCountdown(CWnd& button, int textId) {
  CString text;
  text.Format(u"%s%ds", static_cast<const char16_t*>(LangText(textId)), m_countdown);
  SetTextIfChanged(&button, text);
}
