// The frame every pop-up of the parameter screens shares: the title label 1051, the close corner
// 1038 (which cancels), OK 1034 and Cancel 1037, over the pop-up background. A pop-up is a stack
// object of the screen that opens it; it never writes the system record, its caller does on IDOK.
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

  // The dealer layout with its own pop-up look.
  static bool Model9();

protected:
  void DoDataExchange(CDataExchange* dx) override;
  // Dresses the four frame controls by dealer id and gives them their texts: the title, OK and
  // Cancel from texts 377 and 378.
  void DressFrame(const CString& title);
  // The icon style every pop-up uses for its buttons: text style, pop-up background and font.
  static void Style(CSkinButton& button, int icon, int textStyle, int font);

  void OnOkClicked();
  void OnCancelClicked();
  DECLARE_MESSAGE_MAP()

  CSkinLabel m_title;
  CSkinButton m_close;
  CSkinButton m_ok;
  CSkinButton m_cancel;
};

// The twelve buttons of the keypad's keys and of the weekly schedule's slots share their ids, in
// key and slot order.
extern const int kTwelveButtonIds[12];
