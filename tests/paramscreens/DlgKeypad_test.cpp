#include "DlgKeypad.h"

#include "PopupDialogFixture.h"

namespace {

// Key numbers 1..12 as the template places them: "1".."9", "0", "<", "C".
const int kKeyIds[] = {1084, 1086, 1087, 1088, 1097, 1098, 1099, 1100, 1101, 1102, 1103, 1104};

class DlgKeypadTest : public PopupDialogFixture {
protected:
  // Types digits by tapping the keys; '<' and 'C' tap backspace and clear.
  static void Type(DlgKeypad& pad, const std::string& keys) {
    for (char c : keys) {
      int key = c == '<' ? 11 : c == 'C' ? 12 : c == '0' ? 10 : c - '0';
      Tap(pad, kKeyIds[key - 1]);
    }
  }
};

TEST(DlgKeypadResult, Entries_GiveLevelNumberOrNothing) {
  struct Case {
    const char16_t* entry;
    int result;
  };
  const Case cases[] = {
      {u"60419385271", 2},  // 11 digits, longer than any plain number
      {u"318406", 3},
      {u"604918", 4},
      {u"982351", 5},
      {u"", 0},
      {u"7", 0},
      {u"42", 42},
      {u"0042", 42},
      {u"123456789", 123456789},
      {u"1234567890", 0},
      {u"6041938527", 0},  // the level-2 code less one digit
      {u"604193852710", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CString(c.entry).ToUtf8());
    EXPECT_EQ(DlgKeypad::ResultOf(c.entry), c.result);
  }
}

TEST_F(DlgKeypadTest, TypedKeys_ShowStarsAndOkGivesTheResult) {
  SetText(30, u"Access level");
  DlgKeypad pad;
  pad.Init(u"Access level", u"Enter password");
  CString shown, title, prompt;
  panel::ScriptedInput script;
  script.Then([&] {
    title = TextOf(pad, DlgPopup::kTitle);
    prompt = TextOf(pad, DlgKeypad::kPrompt);
    Type(pad, "<31984C3185<406");  // backspace on an empty entry does nothing
    shown = TextOf(pad, DlgKeypad::kEntryEdit);
    Tap(pad, DlgPopup::kOk);
  });
  ASSERT_EQ(pad.DoModal(), IDOK);
  EXPECT_EQ(title.ToUtf8(), "Access level");
  EXPECT_EQ(prompt.ToUtf8(), "Enter password");
  EXPECT_EQ(pad.Entry().ToUtf8(), "318406");
  EXPECT_EQ(shown.ToUtf8(), "******");
  EXPECT_EQ(pad.Result(), 3);
}

TEST_F(DlgKeypadTest, CancelAndCloseCorner_EndWithCancel) {
  for (int button : {DlgPopup::kCancel, DlgPopup::kClose}) {
    DlgKeypad pad;
    pad.Init(u"t", u"p");
    panel::ScriptedInput script;
    script.Then([&] {
      Type(pad, "982351");
      Tap(pad, button);
    });
    EXPECT_EQ(pad.DoModal(), IDCANCEL) << button;
  }
}

TEST_F(DlgKeypadTest, NewPasswordPrompt_ShowsTheDigits) {
  DlgKeypad pad;
  pad.Init(u"t", u"新密码");
  TCHAR passwordChar = u'?';
  CString shown;
  panel::ScriptedInput script;
  script.Then([&] {
    passwordChar = static_cast<TCHAR>(pad.GetDlgItem(DlgKeypad::kEntryEdit)->SendMessage(EM_GETPASSWORDCHAR, 0, 0));
    Type(pad, "5120<7");
    shown = TextOf(pad, DlgKeypad::kEntryEdit);
    pad.EndDialog(IDCANCEL);
  });
  pad.DoModal();
  EXPECT_EQ(passwordChar, 0);
  EXPECT_EQ(shown.ToUtf8(), "5127");
}

// The prompt reads at arm's length on each look's pop-up body: white on the dark blue one, near-black
// on dealer 9's white one.
TEST_F(DlgKeypadTest, Prompt_LightOnTheDarkLookDarkOnTheLightOne) {
  struct Case {
    int dealer;
    COLORREF color;
  };
  for (const Case& c : {Case{0, RGB(255, 255, 255)}, Case{9, RGB(0, 0, 1)}}) {
    SCOPED_TRACE(c.dealer);
    UseDealer(c.dealer);
    DlgKeypad pad;
    pad.Init(u"Access level", u"Enter password");
    panel::ClearDrawLog();
    COLORREF drawn = 0x12345678;
    panel::ScriptedInput script;
    script.Then([&] {
      if (const panel::DrawnText* prompt = panel::FindDrawnText(u"Enter password")) drawn = prompt->color;
      pad.EndDialog(IDCANCEL);
    });
    pad.DoModal();
    EXPECT_EQ(drawn, c.color);
  }
}

TEST_F(DlgKeypadTest, Screenshot) {
  DlgKeypad pad;
  SetText(414, u"Enter password");
  pad.Init(u"Access level", u"Enter password");
  panel::ScriptedInput script;
  script.Then([&] {
    Type(pad, "1234");
    ExpectScreen("keypad");
    pad.EndDialog(IDCANCEL);
  });
  pad.DoModal();
}

}  // namespace
