#include "DlgDesign1.h"

#include "AppGlobals.h"
#include "CSystemData.h"
#include "ControlHelpers.h"
#include "PageHost.h"
#include "UnitReadings.h"

namespace {

const int kLabelIds[DlgDesign1::kLabels] = {1077, 1006, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 1014};

// No value: a missing reading (-98.0) and a failed sensor below it.
const float kNoValue = -98.0f;
const int kHotWaterDemand = 0x1;
const int kHeatingDemand = 0x2;
const int kCoolingDemand = 0x4;
const int kCooling = 2;

bool IsDealer3Or15(int dealer) { return dealer == 3 || dealer == 15; }

// Every temperature on this page is the indoor unit's: "--" until it has answered.
CString Temperature(const CSystemData& r, float value) {
  CString text;
  if (!IndoorAnswered(r) || value <= kNoValue) return CString(u"--");
  text.Format(u"%.1f", static_cast<double>(value));
  return text;
}

// The same without the no-value rule (the mixing circuits show a failed sensor's marker).
CString Decimal(const CSystemData& r, float value) {
  CString text;
  if (!IndoorAnswered(r)) return CString(u"--");
  text.Format(u"%.1f", static_cast<double>(value));
  return text;
}

// The heating or cooling set point: the set temperature of the active mode, or, under water
// temperature control, the target the engine computed for the demand there is.
int SetPoint(const CSystemData& r) {
  int value = r.m_activeMode == kCooling ? r.m_coolSetTemp : r.m_heatSetTemp;
  if (r.m_tempControlPoint == 0) {
    if (r.m_demandFlags & kHeatingDemand) {
      value = static_cast<int>(r.m_heatTarget);
    } else if (r.m_demandFlags & kCoolingDemand) {
      value = static_cast<int>(r.m_coolTarget);
    }
  }
  return value;
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgDesign1, DlgBase)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_LBUTTONUP()
  ON_BN_CLICKED(DlgDesign1::kMenuButton, &DlgDesign1::OnGoMenu)
  ON_BN_CLICKED(DlgDesign1::kPrevButton, &DlgDesign1::OnPrevPage)
  ON_BN_CLICKED(DlgDesign1::kNextButton, &DlgDesign1::OnNextPage)
END_MESSAGE_MAP()

DlgDesign1::DlgDesign1(CWnd* parent) : DlgBase(&g_bmpDesign1Bg, kTemplate, parent) {}

DlgDesign1::~DlgDesign1() = default;

void DlgDesign1::Refresh() {
  const CSystemData& r = *GetSystemData();
  CString text;
  SetTextIfChanged(&m_labels[0], Temperature(r, r.m_roomTemp));
  SetTextIfChanged(&m_labels[1], Temperature(r, r.m_heatCoolTemp));
  const int setPoint = SetPoint(r);
  if (setPoint <= static_cast<int>(kNoValue)) {
    text = u"--";
  } else {
    text.Format(u"%d", setPoint);
  }
  SetTextIfChanged(&m_labels[2], text);
  SetTextIfChanged(&m_labels[3], Decimal(r, r.m_mix1Temp));
  SetTextIfChanged(&m_labels[4], Decimal(r, r.m_mix2Temp));
  SetTextIfChanged(&m_labels[5], Temperature(r, r.m_tankTemp));
  text.Format(u"%d", (r.m_demandFlags & kHotWaterDemand) ? r.m_hwTarget : r.m_hotWaterSetTemp);
  SetTextIfChanged(&m_labels[6], text);
  text.Format(u"Pump speed:%d", 100 - r.m_pumpPwm);
  SetTextIfChanged(&m_labels[7], text);
  text.Format(u"Line Status1:%d%%", r.m_linkQuality1);
  SetTextIfChanged(&m_labels[8], text);
  text.Format(u"Line Status2:%d%%", r.m_linkQuality2);
  SetTextIfChanged(&m_labels[9], text);
}

void DlgDesign1::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  for (int i = 0; i < kLabels; ++i) DDX_Control(dx, kLabelIds[i], m_labels[i]);
  DDX_Control(dx, kMenuButton, m_menu);
  DDX_Control(dx, kPrevButton, m_prev);
  DDX_Control(dx, kNextButton, m_next);
}

BOOL DlgDesign1::OnInitDialog() {
  DlgBase::OnInitDialog();
  for (CSkinLabel& label : m_labels) label.SetSkin(265, 254, 269);
  DressNavButtons(m_menu, m_prev, m_next, 254);
  SetTimer(kRefreshTimer, kRefreshMs);
  return TRUE;
}

// Refreshed before it is painted, so a page shown anew never shows what it held when hidden.
void DlgDesign1::OnShowWindow(BOOL show, UINT status) {
  if (show) Refresh();
  DlgBase::OnShowWindow(show, status);
}

void DlgDesign1::OnTimer(UINT_PTR id) {
  if (id == kRefreshTimer && GetShownState() != SW_HIDE) Refresh();
  DlgBase::OnTimer(id);
}

void DlgDesign1::OnLButtonUp(UINT flags, CPoint point) {
  CornerTap(point, IsDealer3Or15(g_dealerId) ? PageHost::kDesign3 : PageHost::kDesign4, PageHost::kDesign2);
  DlgBase::OnLButtonUp(flags, point);
}

void DlgDesign1::OnPrevPage() { GoTo(IsDealer3Or15(g_dealerId) ? PageHost::kDesign3 : PageHost::kDesign4); }

void DlgDesign1::OnNextPage() { GoTo(PageHost::kDesign2); }
