// The main screen: the program's main window (template 102, 480 x 272), run modally by the start-up
// for the whole life of the program. It binds its bitmap buttons, picture labels and the plain EXIT
// button by id and dresses them by dealer id; it hosts the menu and the status pages, which reach
// their siblings through it. User-interface thread only.
#pragma once

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "Gui.h"
#include "PageHost.h"

class DlgMain : public DlgBase, public PageHost {
public:
  static constexpr UINT kTemplate = 102;

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
    kHotWaterIcon = 1045,  // 1045-1056: circuit icons and separator bars
    kHeatingIcon = 1046,
    kHotWaterBar = 1047,
    kHeatingBar = 1048,
    kCircuit2Icon = 1053,
    kFirstValue = 1012,  // 1012-1025: circuit values
    kLastValue = 1025,
  };
  static constexpr int kButtonCount = 22;
  static constexpr int kLabelCount = 20;

  explicit DlgMain(CWnd* parent = nullptr);
  ~DlgMain() override;

  // The bound control of an id of template 102; null for an id it does not hold.
  CSkinButton* Button(int id);
  CSkinLabel* Label(int id);
  CButton& ExitButton() { return m_exit; }

  DlgBase* HostedPage(Page page) override;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // Dresses the unit layout of the dealer (first = 1 styles the controls), then shows EXIT while
  // unlocked.
  void Refresh(int first);
  void DrawUnit(int first);
  void DrawUnitModel3(int first);
  void DrawUnitModel9(int first);
  DECLARE_MESSAGE_MAP()

private:
  void StyleIcon(int id, int icon, int font = 275);
  void Skin(int id, int textColor, int background, int font);
  void Place(int id, int x, int y);
  void Place(int id, int x, int y, int width, int height);
  void Hide(int id);

  CSkinButton m_buttons[kButtonCount];
  CSkinLabel m_labels[kLabelCount];
  CButton m_exit;
};
