// Pictures of the menu, the status pages, the fault history, the trend and the mode strip over the
// main screen, in the program's look and language, with the values the unit simulator's boards give
// (read over the bus by the two unit drivers and mapped into the record), compared with the
// references under tests/references/pages/. The trend shows a simulated day of minute logging.
// The same screens, with the main screen, are walked for texts that are still placeholders.
#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <set>
#include <string>

#include "../core/BusDeviceRig.h"
#include "AppFixture.h"
#include "CParamDevice.h"
#include "CUnitDevice.h"
#include "DbTables.h"
#include "DialogTemplate.h"
#include "DlgMain.h"
#include "DlgMode.h"
#include "InputMapping.h"
#include "LangTexts.h"
#include "MainScreenScenes.h"
#include "Screenshot.h"
#include "SoftClock.h"
#include "UnitBoards.h"

namespace {

using testing_support::ScreenMatchesReference;

const int64_t kNow = 1796083200;  // 2026-12-01 00:00:00

class PageScreenshots : public AppFixture {
protected:
  void SetUp() override {
    AppFixture::SetUp();
    g_engine.InitParams(0);
    ReadTheUnits();
    panel::SetPanelRoot(m_root.Path());  // the bus line's root is gone with it
    m_clock = std::make_unique<panel::ScopedVirtualClock>(0, kNow * 1000);
    g_clock = panel::EpochMsToSystemTime(kNow * 1000);
    g_now = kNow;
  }
  void TearDown() override {
    m_main.reset();
    {
      FaultTableLock guard(g_engine);
      g_engine.m_faultHistory.clear();
    }
    m_look.reset();
    m_clock.reset();
    *GetSystemData() = CSystemData();
    AppFixture::TearDown();
  }

  // The two unit drivers poll the simulator's boards; two minutes of their values go into the record.
  static void ReadTheUnits() {
    bustest::SimulatedBus bus;
    bustest::PassPort port{3};
    ASSERT_EQ(port.Open(3, 19200, 8, 2, 1, 2000, 0), 1);
    port.Stop();
    auto* indoor = new CUnitDevice(&port, 11);
    auto* outdoor = new CParamDevice(&port, 2);
    indoor->SetTickCount(11);
    outdoor->SetTickCount(2);
    port.AddDevice(indoor);
    port.AddDevice(outdoor);
    for (int pass = 0; pass < 4; ++pass) port.OnTick();
    CSystemData& r = *GetSystemData();
    for (int second = 0; second < kLinkWindow; ++second) {
      MapIndoorUnit(r, indoor->Block(), false);
      MapOutdoorUnit(r, outdoor->Block(), false);
    }
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
  // The fault history holds one fault that has ended.
  static void OneEndedFault() {
    FaultTableLock guard(g_engine);
    FaultEntry ended;
    ended.m_code = u"E05";
    ended.m_text = u"Outlet water sensor";
    ended.m_start = kNow - 90061;
    ended.m_end = kNow - 3600;
    ended.m_historyId = 2;
    g_engine.m_faultHistory = {ended};
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

TEST_F(PageScreenshots, FaultHistory) {
  GetSystemData()->m_unlockLevel = 1;
  OneEndedFault();
  ShowMain(0);
  Show(m_main->Design3());
  EXPECT_TRUE(ScreenMatchesReference("pages/fault-history"));
}

TEST_F(PageScreenshots, TrendAfterADayOfLogging) {
  // A day of minute rows as the engine logs them, the simulator's boards moving on a minute each.
  unitsim::IndoorBoard indoor;
  unitsim::OutdoorBoard outdoor;
  auto celsius = [](uint16_t raw) { return static_cast<float>((raw - 3000) * 0.01); };
  std::vector<CString> inserts;
  for (int minute = 1440; minute >= 1; --minute) {
    indoor.Advance(60);
    outdoor.Advance(60);
    RealRecord row;
    row.m_time = kNow - 60LL * minute;
    row.m_roomTemp = celsius(indoor.Reg(1200));
    row.m_tankTemp = celsius(indoor.Reg(1201));
    row.m_heatCoolTemp = celsius(indoor.Reg(1202));
    row.m_ambientTemp = celsius(outdoor.Reg(2111));
    ASSERT_EQ(InsertRealData(row), 1);
  }
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
  OneEndedFault();
  CSystemData& r = *GetSystemData();
  r.m_unlockLevel = 2;  // EXIT and the factory item shown
  r.m_systemSwitch = 1;
  r.m_heatingEnabled = r.m_coolingEnabled = r.m_hotWaterEnabled = 1;
  const std::set<int> menuItems = {1012, 1013, 1014, 1015, 1016, 1017, 1018, 1019};
  PlaceholderWalk walk;
  for (int dealer : {0, 3, 9}) {
    const std::string look = "dealer " + std::to_string(dealer) + " ";
    ShowMain(dealer);
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
