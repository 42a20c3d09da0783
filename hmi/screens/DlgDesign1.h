// The unit status page: ten labels over a picture of the water circuit show the room and control
// temperatures, the active set points, the mixing and tank temperatures, the circulation pump's
// speed and the quality of the two unit links. It refreshes twice a second while shown and leads to
// the menu and the other status pages by buttons (dealer 9 only) or by taps in the screen's corners.
// A member of the main screen, created hidden. User-interface thread only; it reads the system
// record word by word.
#pragma once

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgDesign1 : public DlgBase {
public:
  static constexpr UINT kTemplate = 105;
  enum : int {
    kRoomTemp = 1077,
    kControlTemp = 1006,
    kSetPoint = 1007,
    kMix1Temp = 1008,
    kMix2Temp = 1009,
    kTankTemp = 1010,
    kHotWaterSetPoint = 1011,
    kPumpSpeed = 1012,
    kLink1 = 1013,
    kLink2 = 1014,
    kMenuButton = 1089,
    kPrevButton = 1087,
    kNextButton = 1088,
  };
  static constexpr int kLabels = 10;
  static constexpr UINT kRefreshTimer = 1;
  static constexpr UINT kRefreshMs = 500;

  explicit DlgDesign1(CWnd* parent = nullptr);
  ~DlgDesign1() override;

  // Sets every label from the system record (only the texts that changed).
  void Refresh();

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id);
  void OnShowWindow(BOOL show, UINT status);
  void OnLButtonUp(UINT flags, CPoint point);
  // The trend page, or the fault history page for dealers 3 and 15.
  void OnPrevPage();
  void OnNextPage();
  DECLARE_MESSAGE_MAP()

private:
  CSkinLabel m_labels[kLabels];
  CSkinButton m_menu;
  CSkinButton m_prev;
  CSkinButton m_next;
};
