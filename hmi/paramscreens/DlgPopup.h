// The frame that the main program's modal pop-ups share: the pop-up background, a title label
// (1051), a close corner (1038) that answers Cancel, and OK (1034) and Cancel (1037) along the
// bottom, dressed by dealer id and captioned with the language's texts. A derived dialog binds its
// own controls after calling this DoDataExchange and dresses them after this OnInitDialog.
// User-interface thread only.
#pragma once

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgPopup : public DlgBase {
public:
  enum : int { kTitle = 1051, kClose = 1038, kOk = 1034, kCancel = 1037 };

  DlgPopup(UINT templateId, CWnd* parent);
  ~DlgPopup() override;

  CSkinLabel& TitleLabel() { return m_title; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  // Dresses the frame by dealer id; OK and Cancel take texts 377 and 378.
  BOOL OnInitDialog() override;
  void OnOkButton();
  void OnCancelButton();
  DECLARE_MESSAGE_MAP()

  CSkinLabel m_title;
  CSkinButton m_close;
  CSkinButton m_ok;
  CSkinButton m_cancel;
};
