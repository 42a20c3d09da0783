// The parameter screens' pop-ups over a headless screen: the built templates and bitmaps, the
// program's look for a dealer id, the virtual clock and the few texts the pop-ups show, so a test
// opens a pop-up as a page would and taps its controls. Screenshots are compared with
// tests/references/popups/<name>.png.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "MainScreenScenes.h"
#include "Gui.h"
#include "LangTexts.h"
#include "Platform.h"
#include "Screenshot.h"

class PopupDialogFixture : public ::testing::Test {
protected:
  void SetUp() override {
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
    LangTexts.SetSize(500);
    SetText(377, u"OK");
    SetText(378, u"Cancel");
    SetText(43, u"Date and time");
    const char16_t* days[] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
    for (int i = 0; i < 7; ++i) SetText(389 + i, days[i]);
    UseDealer(0);
  }

  void TearDown() override {
    panel::ResetGui();
    m_look.reset();
    LangTexts.SetSize(0);
    panel::SetResourceDir("");
  }

  // The look of a dealer id; call before building a pop-up (its background is taken then).
  void UseDealer(int dealer) {
    m_look.reset();
    m_look = std::make_unique<scenes::DealerLook>(dealer);
  }

  static void SetText(int id, const char16_t* text) { LangTexts.SetAt(id - 1, text); }

  // The centre of a control of the dialog, in screen pixels.
  static POINT Centre(CWnd& dialog, int id) {
    CRect r;
    dialog.GetDlgItem(id)->GetWindowRect(&r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void Tap(CWnd& dialog, int id) {
    POINT p = Centre(dialog, id);
    panel::TapAt(p.x, p.y);
    panel::PumpMessages();
  }
  static CString TextOf(CWnd& dialog, int id) {
    CString text;
    dialog.GetDlgItem(id)->GetWindowText(text);
    return text;
  }

  static void ExpectScreen(const std::string& name) {
    EXPECT_TRUE(testing_support::ScreenMatchesReference("popups/" + name));
  }

  panel::HeadlessScreen m_screen;
  panel::ScopedVirtualClock m_clock;
  std::unique_ptr<scenes::DealerLook> m_look;
};
