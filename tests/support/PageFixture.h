// The screens as the program shows them: a headless screen over the built resources (dialog
// templates and artwork), the virtual clock, a zeroed system record and every language text
// reading "T<id>", so a test can type the caption a text id gives. Taps go through the screen.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "AppGlobals.h"
#include "CSystemData.h"
#include "Gui.h"
#include "LangTexts.h"
#include "Platform.h"

class PageFixture : public ::testing::Test {
protected:
  void SetUp() override {
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
    ResetTexts();
    *GetSystemData() = CSystemData();
    g_dealerId = 0;
  }
  void TearDown() override {
    panel::ResetGui();
    panel::SetResourceDir("");
    LangTexts.SetSize(0);
    *GetSystemData() = CSystemData();
    g_dealerId = 0;
  }

  // Every language text reads "T<id>" (again, after a test loaded real ones).
  static void ResetTexts() {
    LangTexts.SetSize(500);
    for (int id = 1; id <= 500; ++id) {
      CString text;
      text.Format(u"T%d", id);
      LangTexts.SetAt(id - 1, text);
    }
  }

  // A tap in the middle of a control of the window that has the input (a modal pop-up), or of
  // dialog when given.
  static void TapControl(int id, HWND dialog = nullptr) {
    HWND owner = dialog ? dialog : GetActiveWindow();
    HWND control = GetDlgItem(owner, id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    RECT r;
    GetWindowRect(control, &r);
    panel::TapAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    panel::PumpMessages();
  }
  static CString TextOf(HWND window) {
    CString text;
    CWnd::FromHandle(window)->GetWindowText(text);
    return text;
  }

  panel::HeadlessScreen m_screen;
  panel::ScopedVirtualClock m_clock;
};
