// contact_sheet: a contact sheet of the whole terminal for each dealer id asked for: the main screen,
// the mode strip, the menu, the status pages, the fault history with a fault's logged values, the
// trend, every sub-page of the sixteen parameter pages and every pop-up, each opened as a person
// opens it (a tap on the row that opens it) and drawn by the program's own screens.
// Usage: contact_sheet <resource folder> <output folder> [dealer ids...] (default 0 9)
// Writes <output>/sheet-dealer-<id>.png.
//
// The terminal runs on a board of its own in a temporary folder, with a copy of the delivered database
// beside the resource folder: the engine's parameter start (defaults and the versions it reports), the
// unit simulator's boards read over the bus by the unit drivers, a day of the minute log, and two
// faults as the fault step records them: high pressure (P01) for a day until an hour ago, and the room
// sensor failed for the last hour (F13, the room temperature shown as --). The clock stands at
// 8.12.2026 09:05; the screens' timers run on virtual time.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CControlEngine.h"
#include "CDbAccess.h"
#include "ContactSheet.h"
#include "CycleSteps.h"
#include "DlgMain.h"
#include "DlgPopup.h"
#include "Gui.h"
#include "LangTexts.h"
#include "MainScreenScenes.h"
#include "Platform.h"
#include "RunningScenes.h"
#include "SoftClock.h"

namespace {

using scenes::ContactSheet;

const int kEnglish = 0;
const int kFactoryLevel = 2;  // every row enabled and the factory page offered

// The pop-ups and the row that opens each: its parameter page and its caption's text id.
struct PopupRow {
  const char16_t* name;
  int page;
  int captionId;
};
const PopupRow kPopups[] = {
    {u"Value editor (hot water set temp)", 3, 85},
    {u"Choice list (language)", 8, 42},
    {u"Question (save user settings)", 8, 32},
    {u"Keypad (access level)", 8, 30},
    {u"Date and time", 8, 43},
    {u"Date (holiday first day)", 7, 73},
    {u"Disinfection time", 6, 64},
    {u"Weekly schedule (storage timer)", 4, 94},
};

CString Fmt(const char16_t* format, int a, int b = 0, int c = 0) {
  CString text;
  text.Format(format, a, b, c);
  return text;
}

// A board of its own: a temporary root with a copy of the delivered database, open in g_db, and the
// virtual clock at the scenes' time.
class Board {
public:
  explicit Board(const std::string& resources) {
    char pattern[] = "/tmp/contact-sheet-XXXXXX";
    if (!mkdtemp(pattern)) return;
    m_root = pattern;
    const std::filesystem::path db = std::filesystem::path(resources).parent_path() / "Quellora.db";
    std::error_code error;
    std::filesystem::copy_file(db, m_root + "/Quellora.db", error);
    if (error) return;
    panel::SetPanelRoot(m_root);
    g_db.Open(u"\\Quellora.db", false, 2);
  }
  ~Board() {
    g_db.Close();
    if (!m_root.empty()) std::filesystem::remove_all(m_root);
  }
  bool Ready() const { return g_db.IsOpen() != 0; }

private:
  std::string m_root;
};

class Walk {
public:
  Walk(int dealer, panel::VirtualClock& clock) : m_dealer(dealer), m_clock(clock), m_sheet(Title(dealer)) {}

  // Every screen into the sheet; false when the main screen cannot be built.
  bool Run() {
    m_main = std::make_unique<DlgMain>();
    if (!m_main->Create(DlgMain::kTemplate)) return false;
    Tick(1000);
    MainScreen();
    GetSystemData()->m_unlockLevel = kFactoryLevel;
    Tick(500);
    StatusPages();
    ParameterPages();
    Popups();
    m_main->DestroyWindow();
    return true;
  }
  ContactSheet& Sheet() { return m_sheet; }
  int Failures() const { return m_failures; }

private:
  static CString Title(int dealer) {
    return Fmt(u"Dealer %d: every screen of the terminal, in English, as drawn by the program", dealer);
  }

  void Tick(DWORD ms) {
    m_clock.Advance(ms);
    panel::PumpMessages();
  }
  void Show(DlgBase& page) {
    page.ShowPage(SW_SHOW);
    Tick(1000);
  }
  static POINT Centre(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void Tap(HWND window) {
    const POINT p = Centre(window);
    panel::TapAt(p.x, p.y);
    panel::PumpMessages();
  }
  // Taps `window` and takes the pop-up that opens into the sheet, then closes it at its close corner.
  void TapForPopup(HWND window, const CString& caption) {
    bool taken = false;
    panel::ScriptedInput script;
    script.Then([&] {
      HWND popup = GetActiveWindow();
      if (popup == m_main->m_hWnd) return;
      m_sheet.Add(caption);
      taken = true;
      Tap(GetDlgItem(popup, DlgPopup::kClose));
    });
    Tap(window);
    if (!taken) Fail(caption);
  }
  void Fail(const CString& what) {
    std::fprintf(stderr, "dealer %d: %s did not open\n", m_dealer, what.ToUtf8().c_str());
    ++m_failures;
  }

  void MainScreen() {
    m_sheet.Section(u"Main screen, locked (access level 0)");
    m_sheet.Add(u"Main screen: heating with hot water, the room sensor failed");
    m_main->SendMessage(WM_COMMAND, MAKEWPARAM(DlgMain::kMode, BN_CLICKED), 0);
    Tick(500);
    m_sheet.Add(u"Mode strip");
    m_main->SendMessage(WM_COMMAND, MAKEWPARAM(DlgMain::kMode, BN_CLICKED), 0);
    Tick(500);
    TapForPopup(GetDlgItem(m_main->m_hWnd, DlgMain::kPower), u"Question (power off)");
  }

  void StatusPages() {
    m_sheet.Section(u"Menu and status pages, unlocked (access level 2)");
    DlgMenu& menu = m_main->Menu();
    Show(menu);
    m_sheet.Add(u"Menu, page 1");
    menu.SendMessage(WM_COMMAND, MAKEWPARAM(DlgMenu::kNextPage, BN_CLICKED), 0);
    Tick(500);
    m_sheet.Add(u"Menu, page 2");
    menu.ShowPage(SW_HIDE);
    Show(m_main->Design1());
    m_sheet.Add(u"Unit status");
    m_main->Design1().ShowPage(SW_HIDE);
    Show(m_main->Design2());
    m_sheet.Add(u"Valves and fans");
    m_main->Design2().ShowPage(SW_HIDE);
    DlgDesign3& faults = m_main->Design3();
    Show(faults);
    TapRow(faults.ActiveList(), 0);
    TapRow(faults.HistoryList(), 0);
    Tick(1000);
    m_sheet.Add(u"Fault history: F13 active, P01 ended, both selected");
    TapForPopup(GetDlgItem(faults.m_hWnd, DlgDesign3::kMoreButton), u"Logged values of P01 (More Info)");
    faults.ShowPage(SW_HIDE);
    Show(m_main->Design4());
    m_sheet.Add(u"Trend of the last day");
    m_main->Design4().ShowPage(SW_HIDE);
  }
  static void TapRow(CListCtrl& list, int row) {
    RECT r;
    if (!list.GetItemRect(row, &r, LVIR_BOUNDS)) return;
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    list.ClientToScreen(&p);
    panel::TapAt(p.x, p.y);
    panel::PumpMessages();
  }

  void ParameterPages() {
    DlgParam& param = m_main->Param();
    for (int page = 1; page <= DlgParam::kPages; ++page) {
      if (page == 1 || page == 9) m_sheet.Section(Fmt(u"Parameter pages %d to %d, every sub-page", page, page + 7));
      param.OpenPage(page);
      Tick(1000);
      const int count = param.GetSubPageCount();
      for (int sub = 1; sub <= count; ++sub) {
        if (sub > 1) NextSubPage(param);
        m_sheet.Add(Fmt(u"Page %d, %d/%d", page, sub, count));
      }
    }
    param.ShowPage(SW_HIDE);
  }
  void NextSubPage(DlgParam& param) {
    param.SendMessage(WM_COMMAND, MAKEWPARAM(DlgParam::kNextButton, BN_CLICKED), 0);
    Tick(1000);
  }

  void Popups() {
    m_sheet.Section(u"Pop-ups over the parameter pages");
    DlgParam& param = m_main->Param();
    for (const PopupRow& p : kPopups) {
      const int row = OpenAtRow(param, p.page, LangText(p.captionId));
      if (row == 0) {
        Fail(p.name);
        continue;
      }
      TapForPopup(param.Row(row).m_hWnd, p.name);
    }
    param.ShowPage(SW_HIDE);
  }
  // Opens page and turns its sub-pages until a shown row carries caption; that row (1..5), or 0.
  int OpenAtRow(DlgParam& param, int page, const CString& caption) {
    param.OpenPage(page);
    Tick(1000);
    for (int sub = 1; sub <= param.GetSubPageCount(); ++sub) {
      if (sub > 1) NextSubPage(param);
      for (int row = 1; row <= DlgParam::kRows; ++row) {
        CString shown;
        param.Row(row).GetWindowText(shown);
        if (param.Row(row).IsWindowVisible() && shown == caption) return row;
      }
    }
    return 0;
  }

  int m_dealer;
  panel::VirtualClock& m_clock;
  ContactSheet m_sheet;
  std::unique_ptr<DlgMain> m_main;
  int m_failures = 0;
};

// The record as a running terminal holds it for the sheets, the minute log written once for all.
void PrepareTerminal() {
  g_engine.InitParams(0);
  if (!scenes::ReadSimulatedUnits()) std::fprintf(stderr, "the unit simulator's line could not be made\n");
  g_now = scenes::kSceneNow;
  g_clock = panel::EpochMsToSystemTime(scenes::kSceneNow * 1000);
  scenes::LogADay(scenes::kSceneNow);
}

int Shoot(int dealer, panel::VirtualClock& clock, const std::string& out) {
  panel::ResetGui();
  scenes::DealerLook look(dealer);
  LoadLanguage(dealer, kEnglish);
  GetSystemData()->m_unlockLevel = 0;
  // Heating with hot water wanted, the compressor still at rest: the targets and control
  // temperatures of the engine's standby branch.
  scenes::Operate(scenes::Operation::kHeating);
  SetDefaultTargets(*GetSystemData());
  OffBranchTargets(*GetSystemData());
  scenes::RecordTwoFaults(scenes::kSceneNow);
  Walk walk(dealer, clock);
  if (!walk.Run()) {
    std::fprintf(stderr, "could not build the main screen of dealer %d\n", dealer);
    return 1;
  }
  if (!walk.Sheet().Save(out)) {
    std::fprintf(stderr, "cannot write %s\n", out.c_str());
    return 1;
  }
  std::printf("%s (%zu pictures)\n", out.c_str(), walk.Sheet().Pictures());
  return walk.Failures();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: contact_sheet <resource folder> <output folder> [dealer ids...]\n");
    return 2;
  }
  panel::SetResourceDir(argv[1]);
  std::filesystem::create_directories(argv[2]);
  std::vector<int> dealers;
  for (int i = 3; i < argc; ++i) dealers.push_back(std::atoi(argv[i]));
  if (dealers.empty()) dealers = {0, 9};
  Board board(argv[1]);
  if (!board.Ready()) {
    std::fprintf(stderr, "no delivered database beside %s\n", argv[1]);
    return 1;
  }
  panel::HeadlessScreen screen;
  panel::ScopedVirtualClock clock(0, scenes::kSceneNow * 1000);
  PrepareTerminal();
  int failures = 0;
  for (int dealer : dealers) {
    const std::string out = std::string(argv[2]) + "/sheet-dealer-" + std::to_string(dealer) + ".png";
    failures += Shoot(dealer, *clock, out);
  }
  return failures ? 1 : 0;
}
