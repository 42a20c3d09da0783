// The frame that the main program's modal pop-ups share (the value editor, the message box and the
// other small dialogs over the screens): the pop-up background, a title label (1051) in the title
// band, a close corner (1038) that answers Cancel, and OK (1034) and Cancel (1037) along the bottom,
// dressed by dealer id and captioned with the language's texts. A derived dialog binds its own
// controls after calling this DoDataExchange and dresses them after this OnInitDialog.
// User-interface thread only.
#pragma once

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgPopup : public DlgBase {
public:
  // Control ids of the frame, the same in every pop-up template.
  enum : int { kTitle = 1051, kClose = 1038, kOk = 1034, kCancel = 1037 };

  DlgPopup(UINT templateId, CWnd* parent);
  ~DlgPopup() override;

  CSkinLabel& TitleLabel() { return m_title; }
  CSkinButton& OkButton() { return m_ok; }
  CSkinButton& CancelButton() { return m_cancel; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  // Dresses the frame: title skin, close corner, OK and Cancel faces by dealer id; OK and Cancel
  // take the language's texts.
  BOOL OnInitDialog() override;
  // OK ends with IDOK; Cancel and the close corner with IDCANCEL (through the virtual OnOK and
  // OnCancel, so a derived dialog can act first).
  void OnOkButton();
  void OnCancelButton();
  DECLARE_MESSAGE_MAP()

  CSkinLabel m_title;
  CSkinButton m_close;
  CSkinButton m_ok;
  CSkinButton m_cancel;
};

// Text ids of the frame's two buttons.
constexpr int kOkTextId = 377;
constexpr int kCancelTextId = 378;
