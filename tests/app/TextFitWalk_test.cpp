// Every screen, page, sub-page and pop-up of the terminal, drawn in the looks of dealers 0, 3, 9 and 15
// in English and in Chinese, each text checked through the draw log against what drew it: no text
// reaches beyond what holds it (cut off, or wrapped out of sight), lies under another control, over
// another text or in the colour of what is under it; a text on a button face stays on it clear of its
// edge, one beside a face keeps off it, and no control covers part of another's face. The pop-ups are
// the ones the screens' own taps open (every row of every sub-page, the main screen's set points and
// power switch, the fault history's logged values), each with its own title and options.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "CControlEngine.h"
#include "CSystemData.h"
#include "DbTables.h"
#include "DlgMain.h"
#include "DlgParam.h"
#include "DlgPopup.h"
#include "DlgSelect.h"
#include "DlgValue.h"
#include "FaultTable.h"
#include "InputMapping.h"
#include "LangTexts.h"
#include "MainScreenScenes.h"
#include "SoftClock.h"

namespace {

const int64_t kNow = 1796083200;  // 2026-12-01 00:00:00
const uint16_t kDemandHotWater = 0x1;
const uint16_t kDemandHeating = 0x2;
const uint16_t kDemandCooling = 0x4;
const uint16_t kDemandHeatingSide = 0x10;  // the heating side's status icon
// What a text over a button face or plate keeps clear on either side, so it reads off the face's edge.
const int kFaceMargin = 2;
// How far a glyph may reach back before the pen that starts a left-aligned line.
const int kOverhang = 2;
const UINT kTextOut = 0x80000000u;  // the draw log's mark of a TextOut

struct Look {
  int dealer;
  int language;  // 0 English, 1 Chinese
};

std::string Box(const RECT& r) {
  char text[64];
  std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", static_cast<long>(r.left), static_cast<long>(r.top),
                static_cast<long>(r.right), static_cast<long>(r.bottom));
  return text;
}

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool IsEmptyBox(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

bool IsListView(HWND window) {
  char16_t name[32] = {};
  GetClassNameW(window, name, 32);
  return CString(name) == u"SysListView32";
}

// True when the screen holds one colour all over r: a text drawn there cannot be seen.
bool OneColour(const RECT& r) {
  const COLORREF first = panel::ScreenPixel(r.left, r.top);
  for (int y = r.top; y < r.bottom; ++y) {
    for (int x = r.left; x < r.right; ++x) {
      if (panel::ScreenPixel(x, y) != first) return false;
    }
  }
  return true;
}

bool InTree(HWND window, HWND top) { return window == top || IsChild(top, window); }

class TextFitWalk : public AppFixture {
protected:
  void SetUp() override {
    AppFixture::SetUp();
    g_engine.InitParams(0);
    m_clock = std::make_unique<panel::ScopedVirtualClock>(0, kNow * 1000);
    g_clock = panel::EpochMsToSystemTime(kNow * 1000);
    g_now = kNow;
  }
  void TearDown() override {
    panel::SetIdleHook(nullptr);
    m_main.reset();
    {
      FaultTableLock guard(g_engine);
      g_engine.m_faultHistory.clear();
      g_engine.m_faultTable.assign(kFaultCount, FaultEntry());
    }
    m_look.reset();
    m_clock.reset();
    *GetSystemData() = CSystemData();
    AppFixture::TearDown();
  }

  // A running system as a service engineer finds it: every mode enabled, heating and hot water
  // demanded, both unit links healthy, unlocked to the highest level so every row shows.
  static void RunningSystem() {
    CSystemData& r = *GetSystemData();
    r.m_unlockLevel = 2;
    r.m_unitsAnswered = kIndoorAnswered | kOutdoorAnswered;
    r.m_systemSwitch = 1;
    r.m_heatingEnabled = r.m_coolingEnabled = r.m_hotWaterEnabled = 1;
    r.m_runMode = 1;
    r.m_activeMode = 1;
    r.m_demandFlags = kDemandHotWater | kDemandHeating;
    r.m_ambientTemp = -12.5f;
    r.m_compressorHz = 100;
    r.m_roomTemp = 21.5f;
    r.m_tankTemp = 48.0f;
    r.m_hwTarget = 50;
    r.m_heatCtrlTemp = 35.0f;
    r.m_heatTarget = 38.0f;
    r.m_heatCoolTemp = 34.0f;
    r.m_mix1Temp = 33.0f;
    r.m_mix2Temp = 30.0f;
    r.m_mixTemp1Enabled = r.m_mixTemp2Enabled = r.m_dualTempEnabled = 1;
    r.m_timerEnabled = 1;
    r.m_linkQuality1 = r.m_linkQuality2 = 100;
    r.m_pumpPwm = 0;
  }

  // One active fault and one ended fault with its logged values.
  static void Faults() {
    for (int id : {1, 2}) {
      FaultRecord record;
      record.m_id = id;
      record.m_code = id == 1 ? u"E05" : u"F01";
      record.m_startTime = kNow - (id == 1 ? 90061 : 600);
      record.m_time = id == 1 ? kNow - 3600 : 0;
      record.m_compressorHz = 52;
      ASSERT_EQ(InsertFault(record), 1);
    }
    FaultTableLock guard(g_engine);
    g_engine.m_faultTable.assign(kFaultCount, FaultEntry());
    for (int i = 0; i < kFaultCount; ++i) {
      if (CString(kFaultDefs[i].code) != u"F01") continue;
      FaultEntry& entry = g_engine.m_faultTable[i];
      entry.Init(kFaultDefs[i].code, LangText(kFaultDefs[i].textId), kFaultDefs[i].silent);
      entry.m_state = FaultEntry::kActive;
      entry.m_start = kNow - 600;
      entry.m_historyId = 2;
    }
    FaultEntry ended;
    ended.m_code = u"E05";
    ended.m_text = LangText(kFaultDefs[0].textId);
    ended.m_start = kNow - 90061;
    ended.m_end = kNow - 3600;
    ended.m_historyId = 1;
    g_engine.m_faultHistory = {ended};
  }

  void ShowMain() {
    const Look look = m_lookNow;
    m_look = std::make_unique<scenes::DealerLook>(look.dealer);
    LoadLanguage(look.dealer, look.language);
    Faults();
    m_main = std::make_unique<DlgMain>();
    ASSERT_TRUE(m_main->Create(DlgMain::kTemplate));
    Pass(1000);
  }

  void Pass(DWORD ms) {
    (*m_clock)->Advance(ms);
    panel::PumpMessages();
  }

  // Paints the tree of top afresh and checks every text drawn on it.
  void Check(const std::string& where, HWND top) {
    panel::ClearDrawLog();
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    CheckLog(where, top);
  }

  // The texts the log holds for the tree of top, as they were last drawn.
  void CheckLog(const std::string& where, HWND top) {
    ++m_checks;
    std::vector<panel::DrawnText> texts;
    for (const panel::DrawnText& t : panel::DrawLog()) {
      if (!InTree(t.window, top) || IsEmptyBox(t.ink) || IsEmptyBox(t.shown)) continue;
      bool repeated = false;
      for (panel::DrawnText& seen : texts) {
        if (seen.window == t.window && EqualRect(&seen.rect, &t.rect) && seen.offscreen == t.offscreen) {
          seen = t;  // drawn again in the same place: the later drawing is the one that shows
          repeated = true;
        }
      }
      if (!repeated) texts.push_back(t);
    }
    std::vector<panel::DrawnPicture> faces;
    for (const panel::DrawnPicture& p : panel::PictureLog()) {
      if (InTree(p.window, top) && !p.offscreen) faces.push_back(p);
    }
    for (const panel::DrawnText& t : texts) {
      RECT allowed = t.bounds;
      // A list view's last row runs on under its bottom edge; the list scrolls to it.
      if (!t.offscreen && IsListView(t.window)) allowed.bottom = std::max(allowed.bottom, t.ink.bottom);
      // A left-aligned line starts its pen at the rectangle's edge; a glyph reaching back before its
      // pen ("J" in the board's font) is the font's own overhang.
      if (!(t.format & (kTextOut | DT_CENTER | DT_RIGHT)) && allowed.left == t.rect.left) allowed.left -= kOverhang;
      if (t.shortened) Fail(where, t, "shortened to fit");
      if (!t.offscreen && OneColour(t.shown)) Fail(where, t, "drawn in the colour of what lies under it");
      if (!Inside(t.ink, allowed)) {
        Fail(where, t, "cut: its glyphs " + Box(t.ink) + " reach beyond " + Box(t.bounds));
      } else if (t.covered) {
        Fail(where, t, "covered: of its glyphs " + Box(t.ink) + " only " + Box(t.shown) + " show");
      }
      // A text over a face stays on it, clear of its edge; a text beside a face keeps off it.
      const POINT centre{(t.ink.left + t.ink.right) / 2, (t.ink.top + t.ink.bottom) / 2};
      for (const panel::DrawnPicture& f : faces) {
        if (f.window != t.window) continue;
        RECT inner = f.rect;
        InflateRect(&inner, -kFaceMargin, 0);
        if (PtInRect(&f.rect, centre) && !Inside(t.ink, inner)) {
          Fail(where, t, "off its face: glyphs " + Box(t.ink) + ", face " + Box(f.rect));
        } else if (!PtInRect(&f.rect, centre) && Overlap(t.ink, f.rect)) {
          Fail(where, t, "runs into its face: glyphs " + Box(t.ink) + ", face " + Box(f.rect));
        }
      }
    }
    for (const panel::DrawnPicture& f : faces) {
      if (f.covered) Fail(where, f.window, "its face " + Box(f.rect) + " is covered in part");
    }
    for (size_t i = 0; i < texts.size(); ++i) {
      for (size_t j = i + 1; j < texts.size(); ++j) {
        const panel::DrawnText& a = texts[i];
        const panel::DrawnText& b = texts[j];
        if (a.offscreen != b.offscreen || (a.offscreen && a.window != b.window)) continue;
        if (!Overlap(a.shown, b.shown)) continue;
        Fail(where, a, "lies over \"" + b.text.ToUtf8() + "\" (control " + std::to_string(GetDlgCtrlID(b.window)) +
                           ") " + Box(b.shown) + " with " + Box(a.shown));
      }
    }
  }

  void Fail(const std::string& where, const panel::DrawnText& t, const std::string& what) {
    Fail(where, t.window, "\"" + t.text.ToUtf8() + "\": " + what);
  }
  void Fail(const std::string& where, HWND control, const std::string& what) {
    const int id = GetDlgCtrlID(control);
    ADD_FAILURE() << "dealer " << m_lookNow.dealer << (m_lookNow.language ? " Chinese, " : " English, ") << where
                  << ", control " << id << " " << what;
  }

  // From now on each pop-up that opens is checked as place describes it, with its further views
  // (the choice list's pages, the value editor's second value), then closed by its close corner.
  void CheckPopups() {
    panel::SetIdleHook([this]() -> DWORD {
      HWND active = GetActiveWindow();
      if (!active || active == m_main->m_hWnd || !GetDlgItem(active, DlgPopup::kClose)) return INFINITE;
      CString title;
      CWnd::FromHandle(GetDlgItem(active, DlgPopup::kTitle))->GetWindowText(title);
      Check(m_place + ", pop-up \"" + title.ToUtf8() + "\" view " + std::to_string(m_views + 1), active);
      ++m_popups;
      CWnd* dialog = CWnd::FromHandlePermanent(active);
      HWND further = nullptr;
      if (dynamic_cast<DlgSelect*>(dialog)) further = GetDlgItem(active, DlgSelect::kNextPage);
      if (dynamic_cast<DlgValue*>(dialog)) further = GetDlgItem(active, DlgValue::kSelectSecond);
      if (further && IsWindowVisible(further) && ++m_views < 4) {
        TapCentre(further);
        return 0;
      }
      m_views = 0;
      TapCentre(GetDlgItem(active, DlgPopup::kClose));
      return 0;
    });
  }

  static void TapCentre(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    panel::TapAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  void Tap(const std::string& place, HWND control) {
    m_place = place;
    TapCentre(control);
    panel::PumpMessages();
  }

  void WalkMainScreen() {
    Check("main screen", m_main->m_hWnd);
    // Cooling, then hot water with every status icon lit and all four heaters on (their count on
    // the two side icons), then back.
    CSystemData& r = *GetSystemData();
    const CSystemData running = r;
    r.m_runMode = r.m_activeMode = 2;
    r.m_demandFlags = kDemandCooling;
    r.m_coolCtrlTemp = 12.0f;
    r.m_coolTarget = 7.0f;
    Pass(DlgMain::kTimerMs);
    Check("main screen, cooling", m_main->m_hWnd);
    r.m_runMode = r.m_activeMode = 3;
    r.m_demandFlags = kDemandHotWater | kDemandHeatingSide;
    r.m_hwState = 1;
    r.m_hwHeaterDemand = r.m_hwHeaterDemand2 = r.m_indoorOut1110 = r.m_indoorOut1109 = 1;
    r.m_heatHeaterDemand = r.m_heatHeaterDemand2 = r.m_indoorOut1111 = 1;
    r.m_standbyState = 1;
    r.m_iconFlags = 0x2;
    r.m_zoneFlag1 = 1;
    r.m_statusBits = 0x20000;
    Pass(DlgMain::kTimerMs);
    Check("main screen, hot water with both heaters", m_main->m_hWnd);
    r = running;
    Pass(DlgMain::kTimerMs);
    for (int id : {DlgMain::kRoomTemp, DlgMain::kTankTemp, DlgMain::kHeatingValue, DlgMain::kHotWaterTarget,
                   DlgMain::kHeatingTarget, DlgMain::kCircuit1, DlgMain::kCircuit2, DlgMain::kPower}) {
      HWND control = GetDlgItem(m_main->m_hWnd, id);
      if (control && IsWindowVisible(control)) Tap("main screen, control " + std::to_string(id), control);
    }
    WalkFaultTicker();
    m_main->SendMessage(WM_COMMAND, MAKEWPARAM(DlgMain::kMode, BN_CLICKED), 0);
    panel::PumpMessages();
    Check("mode strip", m_main->ModeStrip().m_hWnd);
    m_main->SendMessage(WM_COMMAND, MAKEWPARAM(DlgMain::kMode, BN_CLICKED), 0);
    panel::PumpMessages();
  }

  // Every fault the ticker can show, each in turn.
  void WalkFaultTicker() {
    std::vector<FaultEntry> before;
    {
      FaultTableLock guard(g_engine);
      before = g_engine.m_faultTable;
      for (int i = 0; i < kFaultCount; ++i) {
        FaultEntry& entry = g_engine.m_faultTable[i];
        entry.Init(kFaultDefs[i].code, LangText(kFaultDefs[i].textId), kFaultDefs[i].silent);
        entry.m_state = FaultEntry::kActive;
      }
    }
    HWND ticker = GetDlgItem(m_main->m_hWnd, DlgMain::kFaultTicker);
    while ((m_main->TickCount() & 3) != 0) Pass(DlgMain::kTimerMs);  // the refresh rotates the ticker then
    for (int i = 0; i < kFaultCount; ++i) {
      panel::ClearDrawLog();
      m_main->Refresh(0);
      panel::PumpMessages();
      CString shown;
      CWnd::FromHandle(ticker)->GetWindowText(shown);
      CheckLog("fault ticker \"" + shown.ToUtf8() + "\"", ticker);
    }
    FaultTableLock guard(g_engine);
    g_engine.m_faultTable = before;
  }

  void ShowPage(DlgBase& page) {
    page.ShowPage(SW_SHOW);
    Pass(1000);
  }

  void WalkStatusPages() {
    DlgMenu& menu = m_main->Menu();
    ShowPage(menu);
    Check("menu page 1", menu.m_hWnd);
    menu.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(450, 240));  // dealer 3's page switch
    menu.SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kNextPage, BN_CLICKED), 0);
    Pass(0);
    Check("menu page 2", menu.m_hWnd);
    menu.ShowPage(SW_HIDE);

    const std::pair<const char*, DlgBase*> pages[] = {{"unit status", &m_main->Design1()},
                                                      {"valves and fans", &m_main->Design2()},
                                                      {"trend", &m_main->Design4()}};
    for (const auto& p : pages) {
      ShowPage(*p.second);
      Check(p.first, p.second->m_hWnd);
      p.second->ShowPage(SW_HIDE);
    }
    // The links' labels read whole at every quality, the widest figures included.
    CSystemData& r = *GetSystemData();
    DlgDesign1& status = m_main->Design1();
    ShowPage(status);
    for (int quality : {0, 8, 44, 99, 100}) {
      r.m_linkQuality1 = r.m_linkQuality2 = quality;
      Pass(DlgDesign1::kRefreshMs);
      Check("unit status, links at " + std::to_string(quality) + " %", status.m_hWnd);
    }
    status.ShowPage(SW_HIDE);
    r.m_linkQuality1 = r.m_linkQuality2 = 100;

    DlgDesign3& history = m_main->Design3();
    ShowPage(history);
    Check("fault history", history.m_hWnd);
    for (int list : {DlgDesign3::kActiveList, DlgDesign3::kHistoryList}) {
      RECT r{};
      GetWindowRect(GetDlgItem(history.m_hWnd, list), &r);
      panel::TapAt(r.left + 30, r.top + 30);  // the first fault of the list, under the headings
      Pass(1000);
      Check("fault history, first fault of list " + std::to_string(list) + " chosen", history.m_hWnd);
      Tap("fault history, list " + std::to_string(list) + ", More Info",
          GetDlgItem(history.m_hWnd, DlgDesign3::kMoreButton));
    }
    // The ended fault chosen is shown with its start and text: every fault's text in turn.
    HWND chosen = GetDlgItem(history.m_hWnd, DlgDesign3::kHistoryText);
    for (int i = 0; i < kFaultCount; ++i) {
      {
        FaultTableLock guard(g_engine);
        g_engine.m_faultHistory[0].m_code = kFaultDefs[i].code;
        g_engine.m_faultHistory[0].m_text = LangText(kFaultDefs[i].textId);
      }
      panel::ClearDrawLog();
      history.Refresh();
      panel::PumpMessages();
      CString shown;
      CWnd::FromHandle(chosen)->GetWindowText(shown);
      EXPECT_NE(shown.Find(LangText(kFaultDefs[i].textId)), -1) << "the ended fault is no longer chosen";
      CheckLog("fault history, ended fault " + CString(kFaultDefs[i].code).ToUtf8(), chosen);
    }
    history.ShowPage(SW_HIDE);
  }

  void WalkParameterPages() {
    DlgParam& param = m_main->Param();
    for (int page = 1; page <= DlgParam::kPages; ++page) {
      param.OpenPage(page);
      panel::PumpMessages();
      const int count = param.GetSubPageCount();
      for (int sub = 1; sub <= count; ++sub) {
        const std::string place = "page " + std::to_string(page) + " " + std::to_string(sub) + "/" +
                                  std::to_string(count);
        Check(place, param.m_hWnd);
        for (int row = 1; row <= DlgParam::kRows; ++row) {
          CRowButton& button = param.Row(row);
          if (!button.IsWindowVisible() || !button.IsWindowEnabled()) continue;
          if (param.RowKindOf(row) == DlgParam::kToggleRow) continue;  // flips a setting, opens nothing
          Tap(place + " row " + std::to_string(row), button.m_hWnd);
        }
        param.SendMessage(WM_COMMAND, MAKEWPARAM(DlgParam::kNextButton, BN_CLICKED), 0);
        panel::PumpMessages();
      }
      param.ShowPage(SW_HIDE);
    }
  }

  // The whole walk in one look, in both languages.
  void Walk(int dealer) {
    for (int language : {0, 1}) {
      const auto start = std::chrono::steady_clock::now();
      m_lookNow = Look{dealer, language};
      m_checks = m_popups = 0;
      RunningSystem();
      ShowMain();
      CheckPopups();
      WalkMainScreen();
      WalkStatusPages();
      WalkParameterPages();
      panel::SetIdleHook(nullptr);
      const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::printf("dealer %d language %d: %d screens and %d pop-up views in %.2f s\n", dealer, language, m_checks,
                  m_popups, seconds);
      EXPECT_GT(m_popups, 100);  // the rows' pop-ups were reached
      m_main.reset();
      m_look.reset();
      DeleteFaults(0);
    }
  }

  Look m_lookNow{};
  std::unique_ptr<panel::ScopedVirtualClock> m_clock;
  std::unique_ptr<scenes::DealerLook> m_look;
  std::unique_ptr<DlgMain> m_main;
  std::string m_place;
  int m_views = 0;
  int m_checks = 0;
  int m_popups = 0;
};

TEST_F(TextFitWalk, Dealer0_TextsFitTheirControls) { Walk(0); }
TEST_F(TextFitWalk, Dealer3_TextsFitTheirControls) { Walk(3); }
TEST_F(TextFitWalk, Dealer9_TextsFitTheirControls) { Walk(9); }
TEST_F(TextFitWalk, Dealer15_TextsFitTheirControls) { Walk(15); }

}  // namespace
