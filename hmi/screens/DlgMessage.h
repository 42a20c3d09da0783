// The message box: the modal pop-up (template 112) that asks a question or shows a notice, with an
// optional countdown that answers by itself. Mode 0 asks with OK and Cancel and waits; mode 1 is a
// notice with OK alone, centred, that answers OK after 5 seconds; mode 2 asks and answers Cancel
// after 30 seconds. The remaining seconds show in the answering button's text. User-interface
// thread only.
#pragma once

#include <cstdint>

#include "DlgPopup.h"

class DlgMessage : public DlgPopup {
public:
  static constexpr UINT kTemplate = 112;
  enum : int { kMessage = 1052 };
  enum Mode : int32_t { kAsk = 0, kNotice = 1, kAskTimed = 2 };
  static constexpr UINT kCountdownTimer = 20;
  static constexpr int32_t kNoticeSeconds = 5;
  static constexpr int32_t kAskSeconds = 30;

  explicit DlgMessage(CWnd* parent = nullptr);
  ~DlgMessage() override;

  // Keeps the three for OnInitDialog. Returns 1. DoModal then gives IDOK or IDCANCEL.
  int Init(const CString& title, const CString& message, int32_t mode);

  int32_t Countdown() const { return m_countdown; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // One second of the countdown; at 0 the dialog answers by itself.
  void OnTimer(UINT_PTR id);
  DECLARE_MESSAGE_MAP()

private:
  void ShowCountdown(CWnd& button, int textId);

  CString m_titleText;
  CString m_message;
  int32_t m_mode = kAsk;
  int32_t m_countdown = 0;
  CSkinLabel m_messageLabel;
};
