// The valves and fans page: fourteen labels over a picture of the refrigerant circuit and the
// outdoor unit show the water and refrigerant temperatures, the two pressures, the compressor
// frequency and current, the two fan speeds and the expansion valve's opening (a failed sensor shows
// its -99.0 here). It refreshes twice a second while shown and leads on by buttons (dealer 9 only)
// or corner taps. A member of the main screen, created hidden. User-interface thread only.
#pragma once

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgDesign2 : public DlgBase {
public:
  static constexpr UINT kTemplate = 106;
  enum : int {
    kFirstLabel = 1078,  // 1078-1090, then 1094
    kValveLabel = 1094,
    kMenuButton = 1091,
    kPrevButton = 1092,
    kNextButton = 1093,
  };
  static constexpr int kLabels = 14;
  static constexpr UINT kRefreshTimer = 1;
  static constexpr UINT kRefreshMs = 500;

  explicit DlgDesign2(CWnd* parent = nullptr);
  ~DlgDesign2() override;

  void Refresh();

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id);
  void OnShowWindow(BOOL show, UINT status);
  void OnLButtonUp(UINT flags, CPoint point);
  DECLARE_MESSAGE_MAP()

private:
  CSkinLabel m_labels[kLabels];
  CSkinButton m_menu;
  CSkinButton m_prev;
  CSkinButton m_next;
};
