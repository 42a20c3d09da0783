// A headless screen with the program's built templates and bitmaps, the start-up's look (fonts,
// backgrounds, brushes) for a dealer id, a virtual clock and the few texts the pop-ups show, so a
// test opens a pop-up as a page would and taps its controls. Screenshot references live in
// tests/paramscreens/screens/ (PANEL_UPDATE_SCREENSHOTS=1 rewrites them).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "AppGlobals.h"
#include "CHmiApp.h"
#include "Gui.h"
#include "LangTexts.h"
#include "Platform.h"

class PopupFixture : public ::testing::Test {
protected:
  // The texts the pop-ups show, as the tests expect to read them.
  static constexpr const char16_t* kOk = u"OK";
  static constexpr const char16_t* kCancel = u"Cancel";

  void SetUp() override { UseDealer(0); }

  void TearDown() override {
    panel::ResetGui();
    DropLook();
    g_dealerId = 0;
    LangTexts.SetSize(0);
    panel::SetResourceDir("");
  }

  // Loads the look of a dealer id; call before building a pop-up (its background is taken then).
  void UseDealer(int dealer) {
    DropLook();
    g_dealerId = dealer;
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
    if (std::filesystem::exists(kSystemFont)) AddFontResourceW(CString::FromUtf8(kSystemFont));
    MakeAppFonts();
    LoadDealerLook(dealer);
    MakeAppBrushes();
    LangTexts.SetSize(500);
    SetText(377, kOk);
    SetText(378, kCancel);
    SetText(43, u"Date and time");
    const char16_t* days[] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
    for (int i = 0; i < 7; ++i) SetText(389 + i, days[i]);
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

  // Compares the screen with tests/paramscreens/screens/<name>.png.
  static void ExpectScreen(const std::string& name) {
    panel::PumpMessages();
    std::string message;
    EXPECT_TRUE(panel::MatchesScreenshot(
        std::string(QUELLORA_SOURCE_DIR) + "/tests/paramscreens/screens/" + name + ".png", &message))
        << message;
  }

  panel::HeadlessScreen m_screen;
  panel::ScopedVirtualClock m_clock;

private:
  static constexpr const char* kSystemFont = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

  static void DropLook() {
    for (CFont* f : {&g_font45, &g_font21, &g_font18, &g_font15, &g_font12, &g_font9}) f->DeleteObject();
    for (CBitmap* b : {&g_bmpMainBg, &g_bmpPageBg, &g_bmpDesign2Bg, &g_bmpDesign1Bg, &g_bmpMenuBg1, &g_bmpMenuBg2,
                       &g_bmpSpare, &g_bmpPopupBg}) {
      b->DeleteObject();
    }
    for (HBRUSH& brush : g_brushes) {
      if (brush) DeleteObject(brush);
      brush = nullptr;
    }
  }
};
