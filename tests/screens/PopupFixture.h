// A modal pop-up of the main program over a headless screen, on the virtual clock, with the built
// dialog templates and the two button texts; scripts drive it while DoModal runs.
#pragma once

#include <gtest/gtest.h>

#include "AppGlobals.h"
#include "Gui.h"
#include "LangTexts.h"
#include "Platform.h"

class PopupFixture : public ::testing::Test {
protected:
  void SetUp() override {
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
    LangTexts.SetSize(500);
    LangTexts.SetAt(376, u"OK");
    LangTexts.SetAt(377, u"Cancel");
    g_dealerId = 0;
  }
  void TearDown() override {
    panel::ResetGui();
    panel::SetResourceDir("");
    LangTexts.SetSize(0);
  }

  // The pop-up in front: the active window while a modal dialog runs.
  static HWND Popup() { return GetActiveWindow(); }
  static POINT CentreOf(int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(Popup(), id), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void TapOn(int id) {
    POINT p = CentreOf(id);
    panel::TapAt(p.x, p.y);
  }
  static CString TextOf(int id) {
    WCHAR text[64] = {};
    GetDlgItemTextW(Popup(), id, text, 64);
    return CString(text);
  }

  HWND m_popup = nullptr;
  panel::ScopedVirtualClock m_clock;
  panel::HeadlessScreen m_screen;
};
