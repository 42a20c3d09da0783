// The trend page: the last 24 hours of the tank, control, room and outdoor temperatures as curves.
// On the first minute boundary after start-up it reads the logged rows of the last day from the
// minute log; from then on it adds the current values once a minute, whether shown or not, and drops
// points older than a day. A member of the main screen, created hidden. User-interface thread only.
#pragma once

#include <cstdint>

#include "CBmpButton.h"
#include "CDataCurve.h"
#include "DlgBase.h"
#include "Gui.h"

struct RealRecord;

class DlgDesign4 : public DlgBase {
public:
  static constexpr UINT kTemplate = 108;
  enum : int { kCurve = 1086, kPrevButton = 1087, kNextButton = 1088, kMenuButton = 1089 };
  static constexpr UINT kMinuteTimer = 1;
  static constexpr UINT kMinuteMs = 1000;
  // Values are held within the plot's range; a missing value or a failed sensor lies on the bottom.
  static constexpr float kLowest = -20.0f;
  static constexpr float kHighest = 80.0f;

  explicit DlgDesign4(CWnd* parent = nullptr);
  ~DlgDesign4() override;

  // The minute's work: the day's log read once, the current values added, points older than a day
  // dropped, the window moved to the last 24 hours and, while shown, the curve repainted.
  void UpdateCurve();
  bool IsLoaded() const { return m_loaded != 0; }
  CDataCurve& Curve() { return m_curve; }

  // A point of the four values of a logged row, each held within the plot's range.
  static CurvePoint PointOf(const RealRecord& row);

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id);
  DECLARE_MESSAGE_MAP()

private:
  int m_loaded = 0;
  CDataCurve m_curve;
  CSkinButton m_menu;
  CSkinButton m_prev;
  CSkinButton m_next;
};
