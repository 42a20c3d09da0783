#include "DlgKeypad.h"

#include "AppGlobals.h"

namespace {

struct AccessCode {
  int level;
  const char16_t* code;
};
// Compared in this order; the level-2 code is longer than any plain number.
const AccessCode kAccessCodes[] = {{2, u"60419385271"}, {3, u"318406"}, {4, u"604918"}, {5, u"982351"}};

const int kShortestNumber = 2;
const int kLongestNumber = 9;

// Page 16's prompt for a new password, which is shown as typed.
const char16_t kNewPasswordPrompt[] = u"新密码";

const int kKeyFont = 273;

}  // namespace

BEGIN_MESSAGE_MAP(DlgKeypad, DlgPopup)
  ON_CONTROL_RANGE(BN_CLICKED, 1084, 1104, &DlgKeypad::OnKeyButton)
END_MESSAGE_MAP()

DlgKeypad::DlgKeypad(CWnd* parent) : DlgPopup(kTemplate, parent) {}

DlgKeypad::~DlgKeypad() = default;

int DlgKeypad::Init(const CString& title, const CString& prompt) {
  m_titleText = title;
  m_promptText = prompt;
  m_showDigits = prompt == kNewPasswordPrompt;
  m_entry.Empty();
  m_shown.Empty();
  return 1;
}

void DlgKeypad::OnKey(int key) {
  if (key >= 1 && key <= 10) {
    const char16_t digit = static_cast<char16_t>(key == 10 ? u'0' : u'0' + key);
    m_entry += digit;
    m_shown += m_showDigits ? digit : u'*';
  } else if (key == kBackspace) {
    if (!m_entry.IsEmpty()) m_entry.Delete(m_entry.GetLength() - 1);
    if (!m_shown.IsEmpty()) m_shown.Delete(m_shown.GetLength() - 1);
  } else if (key == kClear) {
    m_entry.Empty();
    m_shown.Empty();
  } else {
    return;
  }
  if (m_hWnd) UpdateData(FALSE);
}

int DlgKeypad::ResultOf(const CString& entry) {
  const int level = AccessLevelOf(entry);
  return level ? level : NumberOf(entry);
}

int DlgKeypad::AccessLevelOf(const CString& entry) {
  for (const AccessCode& c : kAccessCodes) {
    if (entry == c.code) return c.level;
  }
  return 0;
}

int DlgKeypad::NumberOf(const CString& entry) {
  const int length = entry.GetLength();
  if (length < kShortestNumber || length > kLongestNumber) return 0;
  int value = 0;
  for (int i = 0; i < length; ++i) {
    const char16_t ch = entry[i];
    if (ch < u'0' || ch > u'9') return 0;
    value = value * 10 + (ch - u'0');
  }
  return value;
}

void DlgKeypad::DoDataExchange(CDataExchange* dx) {
  DlgPopup::DoDataExchange(dx);
  DDX_Control(dx, kPrompt, m_prompt);
  for (int k = 0; k < 12; ++k) DDX_Control(dx, kTwelveButtonIds[k], m_keys[k]);
  DDX_Control(dx, kEntryEdit, m_edit);
  DDX_Text(dx, kEntryEdit, m_shown);
}

BOOL DlgKeypad::OnInitDialog() {
  DlgPopup::OnInitDialog();
  m_title.SetWindowText(m_titleText);
  for (CSkinButton& key : m_keys) StylePopupButton(key, PopupModel9() ? 128 : 16, PopupModel9() ? 239 : 240, kKeyFont);
  // The prompt in the colour that reads on the look's pop-up body: white on the dark blue one.
  m_prompt.SetSkin(PopupModel9() ? 264 : 265, 258, 271);
  m_prompt.SetWindowText(m_promptText);
  if (m_showDigits) m_edit.SetPasswordChar(0);
  m_edit.SetFont(&g_font15);
  return TRUE;
}

void DlgKeypad::OnOK() {
  m_result = ResultOf(m_entry);
  EndDialog(IDOK);
}

void DlgKeypad::OnKeyButton(UINT id) {
  for (int k = 0; k < 12; ++k) {
    if (kTwelveButtonIds[k] == static_cast<int>(id)) OnKey(k + 1);
  }
}
