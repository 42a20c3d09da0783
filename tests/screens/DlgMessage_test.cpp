#include "DlgMessage.h"

#include <gtest/gtest.h>

#include "PopupFixture.h"

namespace {

using DlgMessageTest = PopupFixture;

// Each mode left alone, looked at after a number of seconds: still open (with the answering
// button's text) or ended with its answer.
TEST_F(DlgMessageTest, CountdownsAnswerByThemselves) {
  struct Case {
    const char* name;
    int32_t mode;
    DWORD lookAtMs;
    bool open;
    int button;  // the button whose text counts down
    const char16_t* text;
    INT_PTR result;  // when it ended by itself, else the answer of the tap (Cancel, or OK alone)
  };
  const Case cases[] = {
      {"ask: opening", DlgMessage::kAsk, 0, true, DlgMessage::kCancel, u"Cancel", IDCANCEL},
      {"ask: never by itself", DlgMessage::kAsk, 120000, true, DlgMessage::kOk, u"OK", IDCANCEL},
      {"notice: opening", DlgMessage::kNotice, 0, true, DlgMessage::kOk, u"OK5s", IDOK},
      {"notice: four seconds", DlgMessage::kNotice, 4000, true, DlgMessage::kOk, u"OK1s", IDOK},
      {"notice: five seconds", DlgMessage::kNotice, 5000, false, 0, nullptr, IDOK},
      {"timed question: opening", DlgMessage::kAskTimed, 0, true, DlgMessage::kCancel, u"Cancel30s", IDCANCEL},
      {"timed question: 29 s", DlgMessage::kAskTimed, 29000, true, DlgMessage::kCancel, u"Cancel1s", IDCANCEL},
      {"timed question: 30 s", DlgMessage::kAskTimed, 30000, false, 0, nullptr, IDCANCEL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool open = false;
    CString text;
    panel::ScriptedInput script;
    script.Then([&] { m_popup = Popup(); });
    script.Wait(c.lookAtMs);
    script.Then([&] {
      open = IsWindow(m_popup) && IsWindowVisible(m_popup);
      if (!open) return;
      if (c.button) text = TextOf(c.button);
      const bool cancelShown = IsWindowVisible(GetDlgItem(Popup(), DlgMessage::kCancel)) != FALSE;
      TapOn(cancelShown ? DlgMessage::kCancel : DlgMessage::kOk);
    });
    DlgMessage dlg;
    EXPECT_EQ(1, dlg.Init(u"", u"Switch the system off?", c.mode));
    EXPECT_EQ(dlg.DoModal(), c.result);
    EXPECT_EQ(open, c.open);
    if (c.open && c.text) {
      EXPECT_EQ(text, CString(c.text));
    }
  }
}

TEST_F(DlgMessageTest, Notice_OkAloneCentred_APressAnswersAtOnce) {
  RECT ok{}, dialog{};
  bool cancelShown = true;
  CString message;
  panel::ScriptedInput script;
  script.Then([&] {
    GetWindowRect(GetDlgItem(Popup(), DlgMessage::kOk), &ok);
    GetWindowRect(Popup(), &dialog);
    cancelShown = IsWindowVisible(GetDlgItem(Popup(), DlgMessage::kCancel)) != FALSE;
    message = TextOf(DlgMessage::kMessage);
  });
  script.Wait(2000);
  script.Then([] { TapOn(DlgMessage::kOk); });
  DlgMessage dlg;
  dlg.Init(u"", u"Saved", DlgMessage::kNotice);
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.Countdown(), 3);
  EXPECT_FALSE(cancelShown);
  EXPECT_EQ(message, CString(u"Saved"));
  // Centred: equal space left and right, within a pixel of rounding.
  EXPECT_LE(std::abs((ok.left - dialog.left) - (dialog.right - ok.right)), 1);
}

TEST_F(DlgMessageTest, TimedQuestion_OkBeforeTheEndAnswersOk_CloseCornerCancels) {
  for (int button : {DlgMessage::kOk, DlgMessage::kClose}) {
    panel::ScriptedInput script;
    script.Wait(10000);
    script.Then([button] { TapOn(button); });
    DlgMessage dlg;
    dlg.Init(u"", u"Restore the factory settings?", DlgMessage::kAskTimed);
    EXPECT_EQ(dlg.DoModal(), button == DlgMessage::kOk ? IDOK : IDCANCEL);
    EXPECT_EQ(dlg.Countdown(), 20);
  }
}

}  // namespace
