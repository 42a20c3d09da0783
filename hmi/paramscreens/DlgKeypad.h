// The numeric keypad pop-up (template 118) for passwords and access codes. The digits typed are kept
// as the entry and shown as one "*" each, or as typed under page 16's new-password prompt. OK turns
// the entry into one result: the access level 2, 3, 4 or 5 for the four fixed codes, else the number
// typed when it has 2 to 9 characters, else 0.
// User-interface thread only.
#pragma once

#include "CEdit.h"
#include "DlgPopup.h"
#include "PopupLook.h"

class DlgKeypad : public DlgPopup {
public:
  static constexpr UINT kTemplate = 118;
  enum : int { kPrompt = 1052, kEntryEdit = 1085 };
  enum Key { kBackspace = 11, kClear = 12 };

  explicit DlgKeypad(CWnd* parent = nullptr);
  ~DlgKeypad() override;

  // Stores title and prompt; the entry starts empty. Returns 1.
  int Init(const CString& title, const CString& prompt);
  // Key 1..9 types that digit, 10 types "0", 11 deletes the last digit, 12 clears the entry; the
  // shown text follows.
  void OnKey(int key);
  // The result after IDOK: see the class comment.
  int Result() const { return m_result; }
  const CString& Entry() const { return m_entry; }

  // The result an entry gives.
  static int ResultOf(const CString& entry);
  // Its two halves: the level 2..5 of an access code typed whole, else 0; and the value of an entry
  // of 2 to 9 digits, else 0. A caller that must not take a number for a level ("02" is no code)
  // asks them apart.
  static int AccessLevelOf(const CString& entry);
  static int NumberOf(const CString& entry);

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnKeyButton(UINT id);
  DECLARE_MESSAGE_MAP()

  CString m_titleText;
  CString m_promptText;
  int m_result = 0;
  CString m_entry;
  CString m_shown;
  bool m_showDigits = false;
  CSkinLabel m_prompt;
  CSkinButton m_keys[12];
  CEdit m_edit;
};
