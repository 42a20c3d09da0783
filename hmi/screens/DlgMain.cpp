#include "DlgMain.h"

#include "AppGlobals.h"
#include "BoardLib.h"
#include "CControlEngine.h"
#include "CSystemData.h"
#include "CWatchdog.h"
#include "ControlHelpers.h"
#include "DemoMode.h"
#include "DlgMessage.h"
#include "DlgValue.h"
#include "FaultEntry.h"
#include "FaultTable.h"
#include "LangTexts.h"
#include "SoftClock.h"
#include "UnitReadings.h"

namespace {

const int kButtonIds[DlgMain::kButtonCount] = {1000, 1001, 1002, 1009, 1010, 1040, 1041, 1042, 1043, 1044, 1045,
                                               1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1056};
const int kLabelIds[DlgMain::kLabelCount] = {1003, 1005, 1006, 1007, 1011, 1037, 1012, 1013, 1014, 1015,
                                             1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025};

const UINT kAppIcon = 128;
const int kScreenW = 480;
const int kScreenH = 272;

// Text style and background of every icon call on this screen; the side icons use the larger font.
const int kIconText = 239;
const int kIconBackground = 251;
const int kSideFont = 270;
// The heaters' count on the side icons in white where the layout's header band is dark.
const int kCountOnDark = 240;

const char16_t kDegrees[] = u"℃";
const char16_t kLauncherTitle[] = u"Brimcourt";
const uint32_t kVersionMask = 0xFFFFFF;
// Below this a room or tank reading is the failed-sensor marker.
const float kSensorFailed = -98.0f;

// Text ids.
const int kSwitchOffQuestion = 40;
const int kCompressorText = 376;
const int kHotWaterSetText = 85;
const int kCurve1CorrectionText = 409;
const int kCurve2CorrectionText = 410;
const int kHeatSetText = 62;
const int kHeatSecondSetText = 110;
const int kCoolSetText = 47;
const int kCoolSecondSetText = 103;
const int kHeatRoomText = 60;
const int kCoolRoomText = 61;
const int kCoolCurveTitles = 247;        // points 1..3
const int kDualCoolCurveTitles = 250;    // points 1..3
const int kHeatCurveTitles = 54;         // points 1..5
const int kSecondHeatCurveTitles = 105;  // points 1..5

// Set-point limits that are constants of the screen.
const int32_t kHotWaterMin = 25;
const int32_t kHotWaterMax = 75;
const int32_t kRoomMin = 15;
const int32_t kRoomMax = 35;
const int32_t kQuickCorrection = 3;

// Demand bits of CSystemData::m_demandFlags.
const uint16_t kDemandHotWater = 0x1;
const uint16_t kDemandHeating = 0x2;
const uint16_t kDemandCooling = 0x4;
const uint16_t kDemandHwHeaterIcon = 0x8;
const uint16_t kDemandHeatHeater1 = 0x10;
const uint16_t kDemandHeatHeater2 = 0x20;
const uint32_t kStartupHoldBits = 0x20000 | 0x40000;

// The released tap that opens the menu.
const CRect kMenuCorner(400, 200, 460, 260);
// Where a Corvalin board's cursor is parked, off the screen.
const int kCursorParkX = 800;
const int kCursorParkY = 480;

// Unit picture by dealer id; any other id has none.
struct UnitPicture {
  int dealer;
  int icon;
};
const UnitPicture kUnitPictures[] = {{0, 44}, {1, 40},  {2, 41},  {4, 43},  {5, 53},  {6, 54},
                                     {8, 55}, {10, 58}, {11, 59}, {12, 60}, {13, 66}, {14, 67}};

// Hidden at start in every layout; the refresh shows what the state asks for.
const int kHiddenAtStart[] = {1041, 1042, 1043, 1044, 1009, 1010, 1047, 1048, 1050, 1052, 1054, 1055, 1056,
                              1049, 1051, 1053, 1014, 1016, 1020, 1022, 1024, 1018, 1019, 1021, 1023, 1025};

bool TwoCircuitLayout(int dealer) { return dealer == 3 || dealer == 15; }
bool QuickEditDealer(int dealer) { return dealer == 0 || dealer == 1; }

// The backlight decision for one tick from the mode and the idle ticks before it.
int BacklightFor(int32_t mode, int idleTicks) {
  const int minutes = idleTicks / DlgMain::kTicksPerMinute;
  switch (mode) {
    case 1: return minutes > 2 ? 0 : 1;
    case 2: return minutes > 4 ? 0 : 1;
    case 3: return minutes >= 10 ? 0 : 1;
    default: return 1;
  }
}

CString Degrees1(float value) {
  CString text;
  text.Format(u"%.1f℃", static_cast<double>(value));
  return text;
}

CString DegreesInt(int32_t value) {
  CString text;
  text.Format(u"%d℃", value);
  return text;
}

// An indoor reading with the failed-sensor rule, or without it (the circuits' water temperatures).
CString IndoorSensor(const CSystemData& r, float value) {
  return IndoorAnswered(r) && value > kSensorFailed ? Degrees1(value) : CString(u"--");
}
CString IndoorReading(const CSystemData& r, float value) {
  return IndoorAnswered(r) ? Degrees1(value) : CString(u"--");
}

CString AmbientText(const CSystemData& r) {
  return r.m_outdoorPowerOut != 0 || !OutdoorAnswered(r) ? CString(u"--") : Degrees1(r.m_ambientTemp);
}

CString CompressorText(const CSystemData& r) {
  const char16_t* caption = static_cast<const char16_t*>(LangText(kCompressorText));
  CString text;
  if (OutdoorAnswered(r)) {
    text.Format(u"%s%dHz", caption, r.m_compressorHz);
  } else {
    text.Format(u"%s--", caption);
  }
  return text;
}

// "2" when both heaters of a side run, "1" for one, else the blank text of the side.
CString HeaterDigits(bool first, bool second, const char16_t* none) {
  if (first && second) return u"2";
  if (first || second) return u"1";
  return none;
}

}  // namespace

// The icons of one layout, by rule in priority order; -1 hides the button.
struct DlgMain::LayoutIcons {
  int hold[2];          // start-up hold; otherwise
  int program[3];       // floor heating, holiday, timer
  int zone[2];          // zone flag 1; zone flag 2
  int hotWaterSide[4];  // defrost in hot water, anti-legionella running, heater demand, heat storage
  int heatingSide[3];   // defrost in heating, heater 1 demand, heater 2 demand
  int standby[2];       // standby, status-B bit 0
  int engine[2];        // icon flag bit 1, bit 0
  int modeOff;
  int modeBoost;
  int modeRun[4];       // run modes 1..4
  int countText;        // text style of the heaters' count beside the side icons' pictograms
};

namespace {

const DlgMain::LayoutIcons kDefaultIcons = {{26, 25},     {39, 28, 27},   {30, -1}, {36, 31, 35, 29},
                                            {36, 37, 38}, {33, 34},       {32, 56}, 20,
                                            14,           {22, 23, 21, 24}, kIconText};
const DlgMain::LayoutIcons kModel9Icons = {{-1, -1},        {122, 111, 110}, {30, 113},  {119, 114, 118, 112},
                                           {119, 120, 121}, {116, 117},      {115, 140}, 103,
                                           95,              {105, 106, 104, 107}, kCountOnDark};
const DlgMain::LayoutIcons kModel3Icons = {{180, 179},      {193, 182, 181}, {184, 184}, {190, 185, 189, 183},
                                           {190, 191, 192}, {187, 188},      {186, 209}, 174,
                                           165,             {176, 177, 175, 178}, kCountOnDark};
const DlgMain::LayoutIcons kModel15Icons = {{221, 220},      {193, 182, 181}, {184, 184}, {190, 185, 189, 183},
                                            {190, 191, 192}, {222, 188},      {186, 209}, 212,
                                            217,             {214, 215, 213, 216}, kCountOnDark};

}  // namespace

int CurveBandPoint(const int32_t* ambientPoints, int count, float ambient, float threshold) {
  if (count <= 0) return 0;
  if (ambient > static_cast<float>(ambientPoints[count - 1])) return count - 1;
  for (int i = count - 2; i >= 0; --i) {
    if (static_cast<float>(ambientPoints[i]) < ambient && ambient <= static_cast<float>(ambientPoints[i + 1])) {
      return ambient > threshold ? i + 1 : i;
    }
  }
  return 0;
}

SetRange HeatingRange(int32_t heatSetMin, int32_t systemMin, int32_t systemMax) {
  if (systemMax < heatSetMin) return {heatSetMin, heatSetMin};
  return {heatSetMin > systemMin ? heatSetMin : systemMin, systemMax};
}

SetRange CoolingRange(int32_t coolSetMax, int32_t systemMin, int32_t systemMax) {
  if (systemMin < coolSetMax) return {systemMin, coolSetMax < systemMax ? coolSetMax : systemMax};
  return {coolSetMax, coolSetMax};
}

BEGIN_MESSAGE_MAP(DlgMain, DlgBase)
  ON_WM_TIMER()
  ON_WM_LBUTTONUP()
  ON_BN_CLICKED(DlgMain::kPower, &DlgMain::OnPower)
  ON_BN_CLICKED(DlgMain::kMode, &DlgMain::OnModeButton)
  ON_BN_CLICKED(DlgMain::kExit, &DlgMain::OnExit)
  ON_STN_CLICKED(DlgMain::kRoomTemp, &DlgMain::OnRoomTemp)
  ON_STN_CLICKED(DlgMain::kTankTemp, &DlgMain::OnTankTemp)
  ON_STN_CLICKED(DlgMain::kHeatingValue, &DlgMain::OnHeatingValue)
  ON_STN_CLICKED(DlgMain::kHeatingTarget, &DlgMain::OnHeatingValue)
  ON_STN_CLICKED(DlgMain::kHotWaterTarget, &DlgMain::OnHotWaterTarget)
  ON_STN_CLICKED(DlgMain::kCoolSetPoint, &DlgMain::OnCoolSetPoint)
  ON_STN_CLICKED(DlgMain::kCoolSecondSetPoint, &DlgMain::OnCoolSecondSetPoint)
  ON_STN_CLICKED(DlgMain::kCircuit1, &DlgMain::OnCircuit1)
  ON_STN_CLICKED(DlgMain::kCircuit2, &DlgMain::OnCircuit2)
END_MESSAGE_MAP()

DlgMain::DlgMain(CWnd* parent) : DlgBase(&g_bmpMainBg, kTemplate, parent) {}

DlgMain::~DlgMain() = default;

CSkinButton* DlgMain::Button(int id) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (kButtonIds[i] == id) return &m_buttons[i];
  }
  return nullptr;
}

CSkinLabel* DlgMain::Label(int id) {
  for (int i = 0; i < kLabelCount; ++i) {
    if (kLabelIds[i] == id) return &m_labels[i];
  }
  return nullptr;
}

DlgBase* DlgMain::HostedPage(Page page) {
  switch (page) {
    case kMenu: return &m_menu;
    case kDesign1: return &m_design1;
    case kDesign2: return &m_design2;
    case kDesign3: return &m_design3;
    case kDesign4: return &m_design4;
    case kParam: return &m_param;
    case PageHost::kMode: return &m_modeStrip;
  }
  return nullptr;
}

void DlgMain::OpenParamPage(int page) { m_param.OpenPage(page); }

void DlgMain::CreatePages() {
  // Full-screen pages over the main screen's controls, then the mode strip over its lower part; all
  // hidden until a tap shows them.
  struct Made {
    DlgBase* page;
    UINT templateId;
  };
  const Made pages[] = {{&m_menu, DlgMenu::kTemplate},       {&m_param, DlgParam::kTemplate},
                        {&m_design1, DlgDesign1::kTemplate}, {&m_design2, DlgDesign2::kTemplate},
                        {&m_design3, DlgDesign3::kTemplate}, {&m_design4, DlgDesign4::kTemplate}};
  for (const Made& made : pages) {
    if (made.page->Create(made.templateId, this)) {
      made.page->SetWindowPos(nullptr, 0, 0, kScreenW, kScreenH, SWP_HIDEWINDOW);
    }
  }
  if (m_modeStrip.Create(DlgMode::kTemplate, this)) {
    m_modeStrip.SetWindowPos(nullptr, DlgMode::kLeft, DlgMode::kTop, 255, DlgMode::kHeight, SWP_HIDEWINDOW);
  }
}

void DlgMain::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  for (int i = 0; i < kButtonCount; ++i) DDX_Control(dx, kButtonIds[i], m_buttons[i]);
  for (int i = 0; i < kLabelCount; ++i) DDX_Control(dx, kLabelIds[i], m_labels[i]);
  DDX_Control(dx, kExit, m_exit);
}

// ---- initialisation

BOOL DlgMain::OnInitDialog() {
  DlgBase::OnInitDialog();
  HICON icon = AfxGetApp() ? AfxGetApp()->LoadIcon(kAppIcon) : nullptr;
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  SetWindowPos(&wndTopMost, 0, 0, kScreenW, kScreenH, SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  // The launcher finds the program by this title.
  SetWindowText(u"Quellora");

  const int dealer = GetSystemData()->m_dealerId;
  int picture = -1;
  for (const UnitPicture& p : kUnitPictures) {
    if (p.dealer == dealer) picture = p.icon;
  }
  if (picture >= 0) {
    StyleIcon(kUnitPicture, picture);
  } else {
    Hide(kUnitPicture);
  }
  StyleIcon(kHoldIcon, 25);
  for (int id : kHiddenAtStart) Hide(id);
  CreatePages();

  Refresh(1);
  // The state as well, so the first picture already shows the mode button's icon and the circuits
  // rather than faces nobody styled yet until the first tick.
  DrawLayout(0);
  m_faultIndex = 0;
  m_blinkCount = 0;
  SetTimer(kTimer, kTimerMs);
  return TRUE;
}

// ---- timer

void DlgMain::OnTimer(UINT_PTR id) {
  if (id == kTimer) Tick();
}

void DlgMain::Tick() {
  CSystemData& r = *GetSystemData();
  AliveCounters[2] = 0;
  if (r.m_exitRequest == 1) {
    OnOK();
    return;
  }
  if (r.m_wifiJobState == 1) r.m_wifiJobState = 2;

  // Three blinks of the mode button after a change; steady otherwise and while the strip is open.
  const int32_t blink = m_blinkCount;
  ++m_tickCount;
  if (blink > kBlinkAfterChange || blink < 1) {
    Show(kMode, true);
  } else {
    Show(kMode, blink % 2 == 1);
    m_blinkCount = blink - 1;
  }

  Refresh(0);

  const int idle = IdleCounter;
  const int light = BacklightFor(r.m_backlightMode, idle);
  if (idle < kIdleCap) IdleCounter = idle + 1;
  BacklightOn = light;
  // Counted with this tick: the levels lock on the 601st idle tick.
  const int idleNow = IdleCounter;
  if (idleNow > kIdleLockTicks && r.m_unlockLevel != 0 && DemoMode == 0) r.m_unlockLevel = 0;
  if (g_boardIsCorvalin == 1 && idleNow > 0) SetCursorPos(kCursorParkX, kCursorParkY);

  // A program that leaks below the floor stops clearing counter 3, and the watchdog restarts it.
  if (m_memory.dwAvailPhys > kMemoryFloor) AliveCounters[3] = 0;
  ReadMemoryStatus();

  // Versions in the low 24 bits; the top byte of wParam is the test number, that of lParam the
  // launcher's command, which this program never gives.
  if (HWND launcher = ::FindWindowW(nullptr, kLauncherTitle)) {
    const uint32_t versions = (static_cast<uint32_t>(r.m_softwareVersion) & kVersionMask) |
                              (static_cast<uint32_t>(r.m_testNumber) << 24);
    ::SendMessageW(launcher, kStatusMessage, static_cast<WPARAM>(versions),
                   static_cast<LPARAM>(static_cast<uint32_t>(r.m_dataVersion) & kVersionMask));
  }
  CallTurnLight(BacklightOn);
}

void DlgMain::ReadMemoryStatus() { GlobalMemoryStatus(&m_memory); }

// ---- refresh

void DlgMain::Refresh(int first) {
  DrawLayout(first);
  const CSystemData& r = *GetSystemData();
  if (CSkinButton* power = Button(kPower)) power->SetCheck(r.m_systemSwitch, TRUE);

  CString clock;
  clock.Format(u"%d.%d.%d %02d:%02d", g_clock.wDay, g_clock.wMonth, g_clock.wYear, g_clock.wHour, g_clock.wMinute);
  SetText(kClock, clock);
  SetText(kAmbientTemp, AmbientText(r));
  SetText(kRoomTemp, IndoorSensor(r, r.m_roomTemp));
  SetText(kTankTemp, IndoorSensor(r, r.m_tankTemp));
  SetText(kCompressor, CompressorText(r));

  if ((m_tickCount & 3) == 0) DrawFaultTicker();
  Show(kExit, r.m_unlockLevel != 0);
}

void DlgMain::DrawLayout(int first) {
  if (TwoCircuitLayout(g_dealerId)) {
    DrawUnitModel3(first);
  } else if (g_dealerId == 9) {
    DrawUnitModel9(first);
  } else {
    DrawUnit(first);
  }
}

void DlgMain::DrawFaultTicker() {
  const std::vector<FaultEntry> table = g_engine.CopyFaultTable();
  const int size = static_cast<int>(table.size());
  for (int n = 0; n < kFaultCount; ++n) {
    m_faultIndex = (m_faultIndex + 1) % kFaultCount;
    if (m_faultIndex >= size) continue;
    const FaultEntry& entry = table[m_faultIndex];
    if (entry.m_state != FaultEntry::kActive || entry.m_silent != 0) continue;
    CString text;
    text.Format(u"%s %s", static_cast<const char16_t*>(entry.m_code), static_cast<const char16_t*>(entry.m_text));
    SetText(kFaultTicker, text);
    Show(kFaultTicker, true);
    return;
  }
  Show(kFaultTicker, false);
}

void DlgMain::DrawUnit(int first) {
  if (!first) {
    DrawState(kDefaultIcons);
    DrawCircuits(22, 23);
    return;
  }
  StyleIcon(kHeatingBar, 46);
  StyleIcon(kHotWaterBar, 46);
  StyleIcon(kHotWaterIcon, 21);
  StyleIcon(kHeatingIcon, 22);
  StyleIcon(kPower, g_dealerId == 1 ? 224 : 223);
  if (g_dealerId == 13) {
    Place(kAmbientTemp, 60, 150);
    Place(kRoomTemp, 200, 115);
    Place(kTankTemp, 310, 150);
  }
  Skin(kClock, 264, 251, 275);
  Skin(kCompressor, 264, 251, 275);
  Skin(kRoomTemp, 264, 251, 272);
  Skin(kAmbientTemp, 264, 251, 271);
  Skin(kTankTemp, 264, 251, 271);
  Skin(kFaultTicker, 264, 267, 275);
  for (int id : {1012, 1013, 1015, 1017}) Skin(id, 264, 251, 271);
}

void DlgMain::DrawUnitModel9(int first) {
  if (!first) {
    DrawState(kModel9Icons);
    DrawCircuits(124, 125);
    return;
  }
  StyleIcon(kHeatingBar, 46);
  StyleIcon(kHotWaterBar, 46);
  StyleIcon(kHotWaterIcon, 123);
  StyleIcon(kHeatingIcon, 124);
  StyleIcon(kPower, 228);
  Hide(kHoldIcon);
  Place(kRoomTemp, 220, 130);
  Place(kAmbientTemp, 75, 180);
  Place(kTankTemp, 390, 180);
  Place(kCompressor, 136, 250);
  Skin(kClock, 265, 251, 275);
  Skin(kCompressor, 265, 251, 275);
  Skin(kRoomTemp, 265, 255, 272);
  Skin(kAmbientTemp, 265, 255, 271);
  Skin(kTankTemp, 265, 255, 271);
  Skin(kFaultTicker, 265, 267, 275);
  for (int id : {1012, 1013, 1015, 1017}) Skin(id, 268, 251, 271);
}

void DlgMain::DrawUnitModel3(int first) {
  if (!first) {
    const CSystemData& r = *GetSystemData();
    DrawState(g_dealerId == 15 ? kModel15Icons : kModel3Icons);
    SetText(kAmbientTemp, AmbientText(r));
    SetText(kHotWaterTarget, IndoorSensor(r, r.m_roomTemp));
    const bool hotWater = (r.m_demandFlags & kDemandHotWater) != 0;
    SetText(kHeatingTarget, hotWater ? IndoorSensor(r, r.m_tankTemp) : CString(u"--"));
    if (hotWater) SetText(kHeatingIcon, u"");
    Show(kHeatingIcon, hotWater);
    SetText(kCircuit1, IndoorReading(r, r.m_mixTemp1Enabled ? r.m_mix1Temp : r.m_heatCtrlTemp));
    const bool dual = r.m_dualTempEnabled != 0;
    SetText(kCircuit2, dual ? IndoorReading(r, r.m_mixTemp2Enabled ? r.m_mix2Temp : r.m_heatCtrlTemp) : CString(u"--"));
    Show(kCircuit2Icon, dual);
    return;
  }
  for (int id : {1045, 1046, 1005, 1007, 1012, 1013, 1018}) Hide(id);
  Place(kHeatingIcon, 78, 151, 60, 60);
  Place(kCircuit2Icon, 264, 151, 60, 60);
  Place(kAmbientTemp, 40, 40, 50, 20);
  Place(1015, 140, 90, 70, 20);
  Place(1017, 140, 177, 70, 20);
  Place(1019, 320, 90, 70, 20);
  Place(1021, 320, 177, 70, 20);
  StyleIcon(kHeatingIcon, 163);
  StyleIcon(kCircuit2Icon, 160);
  StyleIcon(kPower, 231);
  Skin(kAmbientTemp, 265, 251, 269);
  Skin(kClock, 265, 251, 275);
  Skin(kCompressor, 265, 251, 275);
  Skin(kFaultTicker, 265, 267, 275);
  for (int id : {1015, 1017, 1019, 1021}) Skin(id, 265, 251, 271);
}

void DlgMain::DrawState(const LayoutIcons& icons) {
  const CSystemData& r = *GetSystemData();
  const bool hold = (r.m_statusBits & kStartupHoldBits) != 0;
  ShowIcon(kHoldIcon, hold ? icons.hold[0] : icons.hold[1]);

  int program = -1;
  if (r.m_floorHeatEnabled) {
    program = icons.program[0];
  } else if (r.m_holidayActive) {
    program = icons.program[1];
  } else if (r.m_timerEnabled) {
    program = icons.program[2];
  }
  ShowIcon(kProgramIcon, program);

  int zone = -1;
  if (r.m_zoneFlag1) {
    zone = icons.zone[0];
  } else if (r.m_zoneFlag2) {
    zone = icons.zone[1];
  }
  ShowIcon(kZoneIcon, zone);

  int hotWaterSide = -1;
  if (r.m_activeMode == 3 && r.m_defrostState != 0) {
    hotWaterSide = icons.hotWaterSide[0];
  } else if (r.m_hwState == 1) {
    hotWaterSide = icons.hotWaterSide[1];
  } else if (r.m_demandFlags & kDemandHwHeaterIcon) {
    hotWaterSide = icons.hotWaterSide[2];
  } else if (r.m_heatStorageEnabled) {
    hotWaterSide = icons.hotWaterSide[3];
  }
  ShowIcon(kHotWaterSideIcon, hotWaterSide, kSideFont, icons.countText);

  int heatingSide = -1;
  if (r.m_activeMode == 1 && r.m_defrostState != 0) {
    heatingSide = icons.heatingSide[0];
  } else if (r.m_demandFlags & kDemandHeatHeater1) {
    heatingSide = icons.heatingSide[1];
  } else if (r.m_demandFlags & kDemandHeatHeater2) {
    heatingSide = icons.heatingSide[2];
  }
  ShowIcon(kHeatingSideIcon, heatingSide, kSideFont, icons.countText);

  int standby = -1;
  if (r.m_standbyState) {
    standby = icons.standby[0];
  } else if (r.m_statusBitsB & 1u) {
    standby = icons.standby[1];
  }
  ShowIcon(kStandbyIcon, standby);

  int engine = -1;
  if (r.m_iconFlags & 2u) {
    engine = icons.engine[0];
  } else if (r.m_iconFlags & 1u) {
    engine = icons.engine[1];
  }
  ShowIcon(kEngineIcon, engine);

  // The mode button's visibility belongs to the blink; another run mode leaves its icon.
  if (r.m_systemSwitch == 0) {
    StyleIcon(kMode, icons.modeOff);
  } else if (r.m_hwBoost == 1) {
    StyleIcon(kMode, icons.modeBoost);
  } else if (r.m_runMode >= 1 && r.m_runMode <= 4) {
    StyleIcon(kMode, icons.modeRun[r.m_runMode - 1]);
  }
  DrawHeaterDigits();
}

void DlgMain::DrawHeaterDigits() {
  const CSystemData& r = *GetSystemData();
  SetText(kHotWaterSideIcon, HeaterDigits(r.m_hwHeaterDemand == 1 && r.m_indoorOut1110 == 1,
                                          r.m_hwHeaterDemand2 == 1 && r.m_indoorOut1109 == 1, u"  "));
  SetText(kHeatingSideIcon, HeaterDigits(r.m_heatHeaterDemand == 1 && r.m_indoorOut1110 == 1,
                                         r.m_heatHeaterDemand2 == 1 && r.m_indoorOut1111 == 1, u" "));
}

void DlgMain::DrawCircuits(int heatingIcon, int coolingIcon) {
  const CSystemData& r = *GetSystemData();
  const bool hotWater = (r.m_demandFlags & kDemandHotWater) != 0;
  for (int id : {kHotWaterIcon, kHotWaterBar, kHotWaterValue, kHotWaterTarget}) Show(id, hotWater);
  if (hotWater) {
    SetText(kHotWaterValue, IndoorSensor(r, r.m_tankTemp));
    SetText(kHotWaterTarget, DegreesInt(r.m_hwTarget));
  }

  const bool heating = (r.m_demandFlags & kDemandHeating) != 0;
  const bool cooling = !heating && (r.m_demandFlags & kDemandCooling) != 0;
  for (int id : {kHeatingIcon, kHeatingBar, kHeatingValue, kHeatingTarget}) Show(id, heating || cooling);
  if (!heating && !cooling) return;
  StyleIcon(kHeatingIcon, heating ? heatingIcon : coolingIcon);
  SetText(kHeatingIcon, u"  ");
  SetText(kHeatingValue, IndoorReading(r, heating ? r.m_heatCtrlTemp : r.m_coolCtrlTemp));
  SetText(kHeatingTarget, DegreesInt(static_cast<int32_t>(heating ? r.m_heatTarget : r.m_coolTarget)));
}

// ---- taps

void DlgMain::OnLButtonUp(UINT flags, CPoint point) {
  if (kMenuCorner.PtInRect(point)) {
    if (DlgBase* menu = HostedPage(kMenu)) menu->ShowPage(SW_SHOW);
    m_blinkCount = 0;
    HideModeStrip();
  }
  DlgBase::OnLButtonUp(flags, point);
}

void DlgMain::OnPower() {
  CSystemData& r = *GetSystemData();
  if (r.m_systemSwitch != 0) {
    DlgMessage question(this);
    question.Init(u"", LangText(kSwitchOffQuestion), DlgMessage::kAsk);
    if (question.DoModal() == IDOK) {
      r.m_systemSwitch = r.m_systemSwitch == 1 ? 0 : 1;
      m_blinkCount = kBlinkAfterChange;
      r.m_hwBoost = 0;
    }
  } else {
    r.m_systemSwitch = 1;
    m_blinkCount = kBlinkAfterChange;
  }
  // The button toggled itself on the click; it shows the switch, also after a cancel.
  if (CSkinButton* power = Button(kPower)) power->SetCheck(r.m_systemSwitch, TRUE);
}

void DlgMain::OnModeButton() {
  if (m_blinkCount == kStripOpen) {
    m_blinkCount = 0;
    HideModeStrip();
  } else if (GetSystemData()->m_systemSwitch != 0) {
    ShowModeStrip();
  }
}

void DlgMain::OnExit() { OnOK(); }

void DlgMain::OnRoomTemp() {
  if (QuickEditDealer(g_dealerId)) CurveQuickCorrection();
}

void DlgMain::OnTankTemp() {
  if (QuickEditDealer(g_dealerId)) EditHotWater();
}

void DlgMain::OnHeatingValue() {
  CSystemData& r = *GetSystemData();
  if (QuickEditDealer(g_dealerId)) {
    if (r.m_demandFlags & kDemandHeating) {
      const SetRange first = HeatingRange(r.m_heatSetMin, r.m_system1MinSetTemp, r.m_system1MaxSetTemp);
      const SetRange second = HeatingRange(r.m_heatSetMin, r.m_system2MinSetTemp, r.m_system2MaxSetTemp);
      EditValue2(this, LangText(kHeatSetText), r.m_heatSetTemp, first.min, first.max, LangText(kHeatSecondSetText),
                 r.m_heatSecondSetTemp, second.min, second.max);
    } else if (r.m_demandFlags & kDemandCooling) {
      const SetRange first = CoolingRange(r.m_coolSetMax, r.m_system1MinSetTemp, r.m_system1MaxSetTemp);
      const SetRange second = CoolingRange(r.m_coolSetMax, r.m_system2MinSetTemp, r.m_system2MaxSetTemp);
      EditValue2(this, LangText(kCoolSetText), r.m_coolSetTemp, first.min, first.max, LangText(kCoolSecondSetText),
                 r.m_coolSecondSetTemp, second.min, second.max);
    }
  } else if (TwoCircuitLayout(g_dealerId) && (r.m_demandFlags & kDemandHotWater)) {
    EditHotWater();
  }
}

void DlgMain::OnHotWaterTarget() {
  CSystemData& r = *GetSystemData();
  if (!TwoCircuitLayout(g_dealerId)) {
    EditHotWater();
  } else if (r.m_curveCorrectionEnabled == 1) {
    EditRoomSetPoint(r);
  } else {
    CurveQuickCorrection();
  }
}

void DlgMain::OnCoolSetPoint() {
  CSystemData& r = *GetSystemData();
  const SetRange range = CoolingRange(r.m_coolSetMax, r.m_system1MinSetTemp, r.m_system1MaxSetTemp);
  Edit(kCoolSetText, r.m_coolSetTemp, range.min, range.max);
}

void DlgMain::OnCoolSecondSetPoint() {
  CSystemData& r = *GetSystemData();
  const SetRange range = CoolingRange(r.m_coolSetMax, r.m_system2MinSetTemp, r.m_system2MaxSetTemp);
  Edit(kCoolSecondSetText, r.m_coolSecondSetTemp, range.min, range.max);
}

void DlgMain::OnCircuit1() {
  CSystemData& r = *GetSystemData();
  if (TwoCircuitLayout(g_dealerId)) {
    EditCircuit1Model3(r);
  } else {
    EditRoomSetPoint(r);
  }
}

void DlgMain::OnCircuit2() {
  CSystemData& r = *GetSystemData();
  if (TwoCircuitLayout(g_dealerId)) {
    EditCircuit2Model3(r);
  } else {
    EditRoomSetPoint(r);
  }
}

void DlgMain::CurveQuickCorrection() {
  CSystemData& r = *GetSystemData();
  EditValue2(this, LangText(kCurve1CorrectionText), r.m_curve1QuickAdjust, -kQuickCorrection, kQuickCorrection,
             LangText(kCurve2CorrectionText), r.m_curve2QuickAdjust, -kQuickCorrection, kQuickCorrection);
}

void DlgMain::EditHotWater() {
  Edit(kHotWaterSetText, GetSystemData()->m_hotWaterSetTemp, kHotWaterMin, kHotWaterMax);
}

void DlgMain::EditRoomSetPoint(CSystemData& r) {
  if (r.m_demandFlags & kDemandCooling) {
    Edit(kCoolRoomText, r.m_coolRoomSetTemp, kRoomMin, kRoomMax);
  } else {
    Edit(kHeatRoomText, r.m_heatRoomSetTemp, kRoomMin, kRoomMax);
  }
}

void DlgMain::EditCircuit1Model3(CSystemData& r) {
  if (r.m_demandFlags & kDemandCooling) {
    if (r.m_coolCurveEnabled == 0) {
      OnCoolSetPoint();
    } else {
      EditCurvePoint(r.m_coolCurveWater, r.m_coolCurveAmbient, 3, kCoolCurveTitles, r.m_coolSetMin, r.m_coolSetMax);
    }
  } else if (r.m_curveEnabled != 0) {
    const int32_t min = r.m_heatSetMin > r.m_system1MinSetTemp ? r.m_heatSetMin : r.m_system1MinSetTemp;
    EditCurvePoint(r.m_curveWater, r.m_curveAmbient, 5, kHeatCurveTitles, min, r.m_system1MaxSetTemp);
  } else {
    const SetRange range = HeatingRange(r.m_heatSetMin, r.m_system1MinSetTemp, r.m_system1MaxSetTemp);
    Edit(kHeatSetText, r.m_heatSetTemp, range.min, range.max);
  }
}

void DlgMain::EditCircuit2Model3(CSystemData& r) {
  if (r.m_dualTempEnabled == 0) return;
  if (r.m_demandFlags & kDemandCooling) {
    if (r.m_dualCoolCurveEnabled) {
      EditCurvePoint(r.m_dualCoolCurveWater, r.m_coolCurveAmbient, 3, kDualCoolCurveTitles, r.m_coolSetMin,
                     r.m_coolSetMax);
    } else {
      OnCoolSecondSetPoint();
    }
  } else if (r.m_heatSecondCurveEnabled) {
    const int32_t min = r.m_heatSetMin > r.m_system2MinSetTemp ? r.m_heatSetMin : r.m_system2MinSetTemp;
    EditCurvePoint(r.m_secondCurveWater, r.m_curveAmbient, 5, kSecondHeatCurveTitles, min, r.m_system2MaxSetTemp);
  } else {
    const SetRange range = HeatingRange(r.m_heatSetMin, r.m_system2MinSetTemp, r.m_system2MaxSetTemp);
    Edit(kHeatSecondSetText, r.m_heatSecondSetTemp, range.min, range.max);
  }
}

void DlgMain::EditCurvePoint(int32_t* water, const int32_t* ambient, int points, int firstTitle, int32_t min,
                             int32_t max) {
  const CSystemData& r = *GetSystemData();
  const int point = CurveBandPoint(ambient, points, r.m_ambientTempA, r.m_ambientThreshold);
  Edit(firstTitle + point, water[point], min, max);
}

void DlgMain::Edit(int titleId, int32_t& field, int32_t min, int32_t max) {
  EditValue(this, LangText(titleId), field, min, max, kDegrees, 1);
}

// The mode strip page plugs in here; until it is hosted there is nothing to show or hide.
void DlgMain::ShowModeStrip() { m_modeStrip.Popup(1); }
void DlgMain::HideModeStrip() { m_modeStrip.Popup(0); }

// ---- control helpers

void DlgMain::StyleIcon(int id, int icon, int font, int text) {
  if (CSkinButton* b = Button(id)) b->SetIconStyle(icon, text, kIconBackground, font);
}

void DlgMain::ShowIcon(int id, int icon, int font, int text) {
  if (icon >= 0) StyleIcon(id, icon, font, text);
  Show(id, icon >= 0);
}

void DlgMain::Skin(int id, int textColor, int background, int font) {
  if (CSkinLabel* l = Label(id)) l->SetSkin(textColor, background, font);
}

void DlgMain::Place(int id, int x, int y) {
  CWnd* control = GetDlgItem(id);
  if (control) control->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void DlgMain::Place(int id, int x, int y, int width, int height) {
  CWnd* control = GetDlgItem(id);
  if (control) control->SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
}

void DlgMain::Hide(int id) { Show(id, false); }

void DlgMain::Show(int id, bool shown) {
  CWnd* control = GetDlgItem(id);
  if (!control || ((control->GetStyle() & WS_VISIBLE) != 0) == shown) return;
  control->ShowWindow(shown ? SW_SHOW : SW_HIDE);
}

void DlgMain::SetText(int id, const CString& text) { SetTextIfChanged(GetDlgItem(id), text); }
