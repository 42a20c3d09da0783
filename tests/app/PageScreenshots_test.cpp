// Pictures of the menu, the status pages, the fault history, the trend and the mode strip over the
// main screen, in the program's look and language, with the values the unit simulator's boards give
// (read over the bus by the two unit drivers and mapped into the record), compared with the
// references under tests/references/pages/. The trend shows a simulated day of minute logging.
// The same screens, with the main screen, are walked for texts that are still placeholders.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>
#include <set>
#include <string>

#include "AppFixture.h"
#include "DialogTemplate.h"
#include "DlgDesign3.h"
#include "DlgMain.h"
#include "DlgMode.h"
#include "DlgPopup.h"
#include "LangTexts.h"
#include "MainScreenScenes.h"
#include "RunningScenes.h"
#include "Screenshot.h"
#include "SoftClock.h"

namespace {

using testing_support::ScreenMatchesReference;

const int64_t kNow = 1796083200;  // 2026-12-01 00:00:00

class PageScreenshots : public AppFixture {
protected:
  void SetUp() override {
    AppFixture::SetUp();
    g_engine.InitParams(0);
    ASSERT_TRUE(scenes::ReadSimulatedUnits());
    m_clock = std::make_unique<panel::ScopedVirtualClock>(0, kNow * 1000);
    g_clock = panel::EpochMsToSystemTime(kNow * 1000);
    g_now = kNow;
  }
  void TearDown() override {
    m_main.reset();
    scenes::ResetFaults();
    m_look.reset();
    m_clock.reset();
    *GetSystemData() = CSystemData();
    AppFixture::TearDown();
  }

  void ShowMain(int dealer) {
    GetSystemData()->m_dealerId = dealer;
    m_look = std::make_unique<scenes::DealerLook>(dealer);
    LoadLanguage(dealer, 0);
    // Built after the look, as the start-up builds it: the pages take their backgrounds then.
    m_main = std::make_unique<DlgMain>();
    ASSERT_TRUE(m_main->Create(DlgMain::kTemplate));
    panel::PumpMessages();
  }
  // A tap in the middle of row i of a list.
  static void TapRow(CListCtrl& list, int i) {
    RECT r;
    ASSERT_TRUE(list.GetItemRect(i, &r, LVIR_BOUNDS));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    list.ClientToScreen(&p);
    panel::TapAt(p.x, p.y);
    panel::PumpMessages();
  }
  void Show(DlgBase& page) {
    page.ShowPage(SW_SHOW);
    (*m_clock)->Advance(1000);
    panel::PumpMessages();
  }

  std::unique_ptr<panel::ScopedVirtualClock> m_clock;
  std::unique_ptr<scenes::DealerLook> m_look;
  std::unique_ptr<DlgMain> m_main;
};

TEST_F(PageScreenshots, MenuPagesByDealer) {
  for (int dealer : {0, 3, 9}) {
    SCOPED_TRACE(dealer);
    ShowMain(dealer);
    Show(m_main->Menu());
    EXPECT_TRUE(ScreenMatchesReference("pages/menu-1-dealer-" + std::to_string(dealer)));
    m_main->Menu().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(450, 240));  // dealer 3's page switch
    m_main->Menu().SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kNextPage, BN_CLICKED), 0);
    EXPECT_TRUE(ScreenMatchesReference("pages/menu-2-dealer-" + std::to_string(dealer)));
    m_main.reset();
    m_look.reset();
  }
}

TEST_F(PageScreenshots, StatusPages) {
  ShowMain(0);
  Show(m_main->Design1());
  EXPECT_TRUE(ScreenMatchesReference("pages/unit-status"));
  m_main->Design1().ShowPage(SW_HIDE);
  Show(m_main->Design2());
  EXPECT_TRUE(ScreenMatchesReference("pages/valves-and-fans"));
}

TEST_F(PageScreenshots, FaultHistoryAndTheLoggedValuesOfAFault) {
  GetSystemData()->m_unlockLevel = 1;
  ShowMain(0);
  scenes::RecordTwoFaults(kNow);
  DlgDesign3& page = m_main->Design3();
  Show(page);
  TapRow(page.ActiveList(), 0);
  TapRow(page.HistoryList(), 0);  // the history's fault for More Info
  (*m_clock)->Advance(1000);
  panel::PumpMessages();
  const std::vector<CString> shown = panel::TextsDrawnOn(page.m_hWnd);
  for (const char16_t* text : {u"F13", u"01:02:05", u"2026-11-30 22:57 Room sensor fault TR", u"P01", u"1D00:01:01",
                               u"2026-11-29 22:58 High pressure protection"}) {
    EXPECT_NE(std::find(shown.begin(), shown.end(), CString(text)), shown.end()) << CString(text).ToUtf8();
  }
  EXPECT_TRUE(ScreenMatchesReference("pages/fault-history"));
  // More Info: the values logged when P01 began, eleven rows in a list of seven with its scroll bar.
  ::testing::AssertionResult matches = ::testing::AssertionFailure();
  CString title;
  panel::ScriptedInput script;
  script.Then([&] {
    HWND popup = GetActiveWindow();
    CWnd::FromHandle(GetDlgItem(popup, DlgPopup::kTitle))->GetWindowText(title);
    matches = ScreenMatchesReference("pages/logged-values");
    RECT cancel;
    GetWindowRect(GetDlgItem(popup, DlgPopup::kCancel), &cancel);
    panel::TapAt((cancel.left + cancel.right) / 2, (cancel.top + cancel.bottom) / 2);
  });
  page.SendMessage(WM_COMMAND, MAKEWPARAM(DlgDesign3::kMoreButton, BN_CLICKED), 0);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(title.ToUtf8(), "P01 2026-11-29 22:58:59");
  EXPECT_TRUE(matches);
}

TEST_F(PageScreenshots, TrendAfterADayOfLogging) {
  scenes::LogADay(kNow);
  ShowMain(0);
  m_main->Design4().ShowPage(SW_SHOW);
  (*m_clock)->Advance(1000);  // the first tick on second 0 reads the day
  panel::PumpMessages();
  ASSERT_TRUE(m_main->Design4().IsLoaded());
  EXPECT_TRUE(ScreenMatchesReference("pages/trend-day"));
}

TEST_F(PageScreenshots, ModeStripOverTheMainScreen) {
  CSystemData& r = *GetSystemData();
  r.m_systemSwitch = 1;
  r.m_runMode = 1;
  r.m_heatingEnabled = r.m_coolingEnabled = r.m_hotWaterEnabled = 1;
  ShowMain(0);
  (*m_clock)->Advance(500);  // the main screen's first refresh dresses the mode button
  panel::PumpMessages();
  m_main->SendMessage(WM_COMMAND, MAKEWPARAM(DlgMain::kMode, BN_CLICKED), 0);
  EXPECT_TRUE(ScreenMatchesReference("pages/mode-strip"));
}

// What a screen's control shows in place of its own text: the template's sample text (a clock of
// 2015, "0.0", a fault code), an empty caption where one belongs, an unfilled format directive or a
// bare text id. The template's captions that the screens keep (EXIT, the mode strip) and template
// texts that equal a delivered text are the screen's own.
class PlaceholderWalk {
public:
  // Checks the visible controls of page (template templateId); captions lists controls that must
  // carry a caption even though their template has none. emptyAllowed: the look draws the words.
  void Check(const std::string& where, CWnd& page, UINT templateId, const std::set<int>& captions = {},
             bool emptyAllowed = false) {
    panel::DialogTemplate t;
    ASSERT_TRUE(panel::LoadDialogTemplate(templateId, t, nullptr));
    for (const panel::DialogItemTemplate& item : t.items) {
      HWND control = GetDlgItem(page.m_hWnd, item.id);
      if (!control || !IsWindowVisible(control)) continue;
      CString shown;
      CWnd::FromHandle(control)->GetWindowText(shown);
      const std::string text = shown.ToUtf8();
      const std::string sample = CString(item.text.c_str()).ToUtf8();
      SCOPED_TRACE(where + " control " + std::to_string(item.id) + " \"" + text + "\"");
      static const std::regex directive("%[-+ #0-9.]*[dsfcxXSCu]");
      static const std::regex bareId("^T?[0-9]+$");
      EXPECT_FALSE(std::regex_search(text, directive));
      const bool captionPlace = captions.count(item.id) || (item.className == u"BUTTON" && !sample.empty());
      if (captionPlace) {
        EXPECT_FALSE(std::regex_match(text, bareId)) << "a bare text id";
      }
      if (!emptyAllowed && (!sample.empty() || captions.count(item.id))) {
        EXPECT_FALSE(text.empty()) << "no caption";
      }
      if (!sample.empty() && text == sample) {
        EXPECT_TRUE(Kept(sample)) << "the template's sample text";
      }
    }
  }

private:
  static bool Kept(const std::string& sample) {
    static const std::set<std::string> captions = {"EXIT", "Heating", "Cooling", "Hotwater", "Auto", "QuickHeat"};
    if (captions.count(sample)) return true;
    for (int id = 1; id < 500; ++id) {
      if (LangText(id).ToUtf8() == sample) return true;
    }
    return false;
  }
};

TEST_F(PageScreenshots, EveryScreen_ShowsNoPlaceholder) {
  CSystemData& r = *GetSystemData();
  r.m_unlockLevel = 2;  // EXIT and the factory item shown
  r.m_systemSwitch = 1;
  r.m_heatingEnabled = r.m_coolingEnabled = r.m_hotWaterEnabled = 1;
  const std::set<int> menuItems = {1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019};
  PlaceholderWalk walk;
  for (int dealer : {0, 3, 9}) {
    const std::string look = "dealer " + std::to_string(dealer) + " ";
    ShowMain(dealer);
    scenes::RecordTwoFaults(kNow);
    (*m_clock)->Advance(1000);
    panel::PumpMessages();
    walk.Check(look + "main screen", *m_main, DlgMain::kTemplate, {1003});

    Show(m_main->Menu());
    walk.Check(look + "menu page 1", m_main->Menu(), DlgMenu::kTemplate, menuItems);
    m_main->Menu().SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(450, 240));  // dealer 3's page switch
    m_main->Menu().SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kNextPage, BN_CLICKED), 0);
    ASSERT_EQ(m_main->Menu().GetMenuPage(), 2);
    walk.Check(look + "menu page 2", m_main->Menu(), DlgMenu::kTemplate, menuItems);
    m_main->Menu().ShowPage(SW_HIDE);

    struct Page {
      const char* name;
      DlgBase& page;
      UINT templateId;
    };
    const Page pages[] = {{"unit status", m_main->Design1(), 105},
                          {"valves and fans", m_main->Design2(), 106},
                          {"fault history", m_main->Design3(), 107},
                          {"trend", m_main->Design4(), 108}};
    for (const Page& p : pages) {
      Show(p.page);
      walk.Check(look + p.name, p.page, p.templateId);
      p.page.ShowPage(SW_HIDE);
    }

    m_main->SendMessage(WM_COMMAND, MAKEWPARAM(DlgMain::kMode, BN_CLICKED), 0);
    panel::PumpMessages();
    walk.Check(look + "mode strip", m_main->ModeStrip(), 109, {}, dealer == 9);
    m_main.reset();
    m_look.reset();
  }
}

}  // namespace
