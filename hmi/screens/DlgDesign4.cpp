#include "DlgDesign4.h"

#include <algorithm>

#include "AppGlobals.h"
#include "CSystemData.h"
#include "DbTables.h"
#include "SoftClock.h"

namespace {

const int64_t kDay = 86400;
const int64_t kStartWindow = 21600;  // the window until the first minute boundary
const int kTimeDivisions = 2;
const int kValueDivisions = 5;

float Held(float value) { return std::min(std::max(value, DlgDesign4::kLowest), DlgDesign4::kHighest); }

CurvePoint MakePoint(int64_t time, float tank, float control, float room, float ambient) {
  CurvePoint p;
  p.m_time = time;
  p.m_value[0] = Held(tank);
  p.m_value[1] = Held(control);
  p.m_value[2] = Held(room);
  p.m_value[3] = Held(ambient);
  return p;
}

// The local time of the soft clock's fields, in seconds.
int64_t ClockSeconds() {
  SYSTEMTIME t = g_clock;
  t.wMilliseconds = 0;
  return panel::SystemTimeToEpochMs(t) / 1000;
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgDesign4, DlgBase)
  ON_MOUSE_MESSAGE(WM_LBUTTONUP, &DlgDesign4::OnBackCorner)
  ON_WM_TIMER()
  ON_BN_CLICKED(DlgDesign4::kMenuButton, &DlgDesign4::OnGoMenu)
  ON_BN_CLICKED(DlgDesign4::kPrevButton, &DlgDesign4::OnGoDesign3)
  ON_BN_CLICKED(DlgDesign4::kNextButton, &DlgDesign4::OnGoDesign1)
END_MESSAGE_MAP()

DlgDesign4::DlgDesign4(CWnd* parent) : DlgBase(&g_bmpPageBg, kTemplate, parent) {}

DlgDesign4::~DlgDesign4() = default;

CurvePoint DlgDesign4::PointOf(const RealRecord& row) {
  return MakePoint(row.m_time, row.m_tankTemp, row.m_heatCoolTemp, row.m_roomTemp, row.m_ambientTemp);
}

void DlgDesign4::UpdateCurve() {
  const int64_t now = g_now;
  const int64_t start = now - kDay;
  std::vector<CurvePoint>& points = m_curve.Points();
  if (!m_loaded) {
    RealRecordArray rows;
    LoadRealData(rows, 1, start);
    points.reserve(rows.size() + 1);
    for (const RealRecord& row : rows) points.push_back(PointOf(row));
    m_loaded = 1;
  }
  const CSystemData& r = *GetSystemData();
  points.push_back(MakePoint(ClockSeconds(), r.m_tankTemp, r.m_heatCoolTemp, r.m_roomTemp, r.m_ambientTemp));
  points.erase(std::remove_if(points.begin(), points.end(), [start](const CurvePoint& p) { return p.m_time < start; }),
               points.end());
  m_curve.SetWindow(start, now);
  if (GetShownState() != SW_HIDE) m_curve.SetShowData(1);
}

void DlgDesign4::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  DDX_Control(dx, kCurve, m_curve);
  DDX_Control(dx, kMenuButton, m_menu);
  DDX_Control(dx, kPrevButton, m_prev);
  DDX_Control(dx, kNextButton, m_next);
}

BOOL DlgDesign4::OnInitDialog() {
  DlgBase::OnInitDialog();
  const bool dealer9 = g_dealerId == 9;
  m_menu.SetIconStyle(dealer9 ? 139 : 52, 240, 252, 275);
  m_prev.SetIconStyle(dealer9 ? 129 : 47, 240, 252, 275);
  m_next.SetIconStyle(dealer9 ? 130 : 48, 240, 252, 275);
  m_curve.Init();
  const int64_t now = ClockSeconds();
  m_curve.SetRange(now - kStartWindow, now, kLowest, kHighest, kTimeDivisions, kValueDivisions, u"H", u"℃", 1);
  SetTimer(kMinuteTimer, kMinuteMs);
  return TRUE;
}

void DlgDesign4::OnTimer(UINT_PTR id) {
  if (id == kMinuteTimer && g_clock.wSecond == 0) UpdateCurve();
  DlgBase::OnTimer(id);
}
