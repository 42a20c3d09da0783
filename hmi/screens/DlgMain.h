// The main screen: the program's main window (template 102, 480 x 272), run modally by the start-up
// for the whole life of the program. It binds its bitmap buttons, picture labels and the plain EXIT
// button by id and dresses them by dealer id (three layouts); its 500 ms timer keeps the supervision
// alive counters 2 and 3 clear, blinks the mode button, refreshes the live values and the fault
// ticker, decides the backlight from the idle time, locks the service levels after five idle
// minutes and reports the versions to the launcher. Taps on the set points open the value editor;
// the power button asks before it switches a running system off. It hosts the menu and the status
// pages, which reach their siblings through it. User-interface thread only; it reads the system
// record that the engine thread writes word by word, and copies the fault table under its lock.
#pragma once

#include <cstdint>

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "DlgDesign1.h"
#include "DlgDesign2.h"
#include "DlgDesign3.h"
#include "DlgDesign4.h"
#include "DlgMenu.h"
#include "DlgMode.h"
#include "DlgParam.h"
#include "Gui.h"
#include "PageHost.h"
#include "Platform.h"

class CSystemData;

class DlgMain : public DlgBase, public PageHost {
public:
  static constexpr UINT kTemplate = 102;
  static constexpr UINT kTimer = 1;
  static constexpr UINT kTimerMs = 500;

  // Control ids of template 102.
  enum : int {
    kPower = 1000,       // check behaviour: the system switch
    kMode = 1001,        // run state; opens and closes the mode strip
    kUnitPicture = 1002,
    kClock = 1003,
    kRoomTemp = 1005,
    kAmbientTemp = 1006,
    kTankTemp = 1007,
    kExit = 1008,        // plain button, shown only while unlocked
    kStandbyIcon = 1009,
    kEngineIcon = 1010,
    kCompressor = 1011,
    kFaultTicker = 1037,
    kHoldIcon = 1040,    // 1040-1044: start-up hold, programmes, zones, hot-water side, heating side
    kProgramIcon = 1041,
    kZoneIcon = 1042,
    kHotWaterSideIcon = 1043,
    kHeatingSideIcon = 1044,
    kHotWaterIcon = 1045,  // 1045-1056: circuit icons and separator bars
    kHeatingIcon = 1046,
    kHotWaterBar = 1047,
    kHeatingBar = 1048,
    kCircuit2Icon = 1053,
    kFirstValue = 1012,  // 1012-1025: circuit values
    kHotWaterValue = 1012,
    kHeatingValue = 1013,
    kHotWaterTarget = 1015,
    kHeatingTarget = 1017,
    kCoolSetPoint = 1018,
    kCircuit1 = 1019,
    kCircuit2 = 1021,
    kCoolSecondSetPoint = 1025,
    kLastValue = 1025,
  };
  static constexpr int kButtonCount = 22;
  static constexpr int kLabelCount = 20;

  // Idle ticks: 120 make a minute; the count stops at 1200 and the service levels lock past 600.
  static constexpr int kTicksPerMinute = 120;
  static constexpr int kIdleCap = 1200;
  static constexpr int kIdleLockTicks = 600;
  // Counter 3 is cleared only while more than this much physical memory was free at the last reading.
  static constexpr DWORD kMemoryFloor = 3072000;
  // The status message to the launcher's window.
  static constexpr UINT kStatusMessage = 0x7E8;
  // Blink counter: 6 after a change (three blinks), 7 while the mode strip is open.
  static constexpr int32_t kBlinkAfterChange = 6;
  static constexpr int32_t kStripOpen = 7;

  explicit DlgMain(CWnd* parent = nullptr);
  ~DlgMain() override;

  // The bound control of an id of template 102; null for an id it does not hold.
  CSkinButton* Button(int id);
  CSkinLabel* Label(int id);
  CButton& ExitButton() { return m_exit; }

  DlgBase* HostedPage(Page page) override;
  void OpenParamPage(int page) override;

  // One pass of the 500 ms timer (what WM_TIMER 1 runs).
  void Tick();
  // Dresses the unit layout of the dealer (first = 1 styles the controls, 0 draws the state), then
  // the clock, the temperatures, the compressor, the fault ticker and EXIT. A unit's readings show
  // "--", as a failed sensor's do, until that unit has answered once since the start.
  void Refresh(int first);

  int32_t TickCount() const { return m_tickCount; }
  int32_t FaultIndex() const { return m_faultIndex; }
  int32_t BlinkCount() const { return m_blinkCount; }
  // The mode strip sets 6 after a mode change and 7 while it is open.
  void SetBlinkCount(int32_t count) override { m_blinkCount = count; }

  // The pages, created hidden by OnInitDialog.
  DlgParam& Param() { return m_param; }
  DlgMenu& Menu() { return m_menu; }
  DlgDesign1& Design1() { return m_design1; }
  DlgDesign2& Design2() { return m_design2; }
  DlgDesign3& Design3() { return m_design3; }
  DlgDesign4& Design4() { return m_design4; }
  DlgMode& ModeStrip() { return m_modeStrip; }

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id);
  void DrawUnit(int first);
  void DrawUnitModel3(int first);
  void DrawUnitModel9(int first);
  void ReadMemoryStatus();
  void OnLButtonUp(UINT flags, CPoint point);
  void OnPower();
  void OnModeButton();
  void OnExit();
  void OnRoomTemp();
  void OnTankTemp();
  void OnHeatingValue();
  void OnHotWaterTarget();
  void OnCoolSetPoint();
  void OnCoolSecondSetPoint();
  void OnCircuit1();
  void OnCircuit2();
  DECLARE_MESSAGE_MAP()

public:
  struct LayoutIcons;

private:
  // The dealer's layout: DrawUnitModel3, DrawUnitModel9 or DrawUnit.
  void DrawLayout(int first);
  void DrawState(const LayoutIcons& icons);
  void DrawHeaterDigits();
  void DrawCircuits(int heatingIcon, int coolingIcon);
  void DrawFaultTicker();
  void CurveQuickCorrection();
  void EditHotWater();
  void EditCircuit1Model3(CSystemData& r);
  void EditCircuit2Model3(CSystemData& r);
  void EditRoomSetPoint(CSystemData& r);
  void EditCurvePoint(int32_t* water, const int32_t* ambient, int points, int firstTitle, int32_t min, int32_t max);
  void Edit(int titleId, int32_t& field, int32_t min, int32_t max);
  void ShowModeStrip();
  void HideModeStrip();

  // Icon calls of this screen: text style 239 unless given, background 251.
  void StyleIcon(int id, int icon, int font = 275, int text = 239);
  // Styles and shows the icon, or hides the button for icon < 0.
  void ShowIcon(int id, int icon, int font = 275, int text = 239);
  void Skin(int id, int textColor, int background, int font);
  void Place(int id, int x, int y);
  void Place(int id, int x, int y, int width, int height);
  void Hide(int id);
  void Show(int id, bool shown);
  void SetText(int id, const CString& text);

  // The pages: children that live hidden for the whole run and are shown and hidden as pages.
  void CreatePages();
  DlgParam m_param;
  DlgMenu m_menu;
  DlgDesign1 m_design1;
  DlgDesign2 m_design2;
  DlgDesign3 m_design3;
  DlgDesign4 m_design4;
  DlgMode m_modeStrip;

  int32_t m_tickCount = 0;
  int32_t m_faultIndex = 0;  // 0..59: the fault-table entry shown last
  int32_t m_blinkCount = 0;
  MEMORYSTATUS m_memory{};
  CSkinButton m_buttons[kButtonCount];
  CSkinLabel m_labels[kLabelCount];
  CButton m_exit;
};

// The points of a curve are ambient temperatures p1 < ... < pk; the point to edit for ambient A
// (0-based): above pk the last; in the band p(i) < A <= p(i+1) the upper point when A is above the
// threshold, else the lower one; at or below p1 the first.
int CurveBandPoint(const int32_t* ambientPoints, int count, float ambient, float threshold);

// Set-point limits of the heating circuits (system limits within the heating minimum) and of the
// cooling circuits (within the cooling maximum).
struct SetRange {
  int32_t min;
  int32_t max;
};
SetRange HeatingRange(int32_t heatSetMin, int32_t systemMin, int32_t systemMax);
SetRange CoolingRange(int32_t coolSetMax, int32_t systemMin, int32_t systemMax);
