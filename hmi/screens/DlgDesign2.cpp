#include "DlgDesign2.h"

#include "AppGlobals.h"
#include "CSystemData.h"
#include "ControlHelpers.h"
#include "PageHost.h"
#include "UnitReadings.h"

namespace {

const int kLabelIds[DlgDesign2::kLabels] = {1078, 1079, 1080, 1081, 1082, 1083, 1084,
                                            1085, 1086, 1087, 1088, 1089, 1090, 1094};

// A reading of a unit that has answered; "--" (after the caption of a captioned value) until then.
// A failed sensor's marker stays as it is on this page.
CString Decimal(bool answered, float value) {
  CString text;
  if (!answered) return CString(u"--");
  text.Format(u"%.1f", static_cast<double>(value));
  return text;
}

CString Whole(bool answered, const char16_t* caption, const char16_t* unit, int value) {
  CString text;
  if (answered) {
    text.Format(u"%s%d%s", caption, value, unit);
  } else {
    text.Format(u"%s--", caption);
  }
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgDesign2, DlgBase)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_LBUTTONUP()
  ON_BN_CLICKED(DlgDesign2::kMenuButton, &DlgDesign2::OnGoMenu)
  ON_BN_CLICKED(DlgDesign2::kPrevButton, &DlgDesign2::OnGoDesign1)
  ON_BN_CLICKED(DlgDesign2::kNextButton, &DlgDesign2::OnGoDesign3)
END_MESSAGE_MAP()

DlgDesign2::DlgDesign2(CWnd* parent) : DlgBase(&g_bmpDesign2Bg, kTemplate, parent) {}

DlgDesign2::~DlgDesign2() = default;

void DlgDesign2::Refresh() {
  const CSystemData& r = *GetSystemData();
  // The water and coil temperatures are the indoor unit's, the rest the outdoor unit's.
  const bool in = IndoorAnswered(r);
  const bool out = OutdoorAnswered(r);
  const CString texts[kLabels] = {Decimal(in, r.m_outletTemp),
                                  Decimal(in, r.m_inletTemp),
                                  Decimal(out, r.m_pressureB),
                                  Decimal(out, r.m_outdoorTemp2114),
                                  Decimal(in, r.m_coilTemp),
                                  Decimal(out, r.m_pressureA),
                                  Decimal(out, r.m_outdoorTemp2113),
                                  Decimal(out, r.m_outdoorTemp2112),
                                  Whole(out, u"", u"", r.m_compressorHz),
                                  Decimal(out, r.m_current),
                                  Decimal(out, r.m_ambientTemp),
                                  Whole(out, u"Fan 1:", u"rpm", r.m_fan1Rpm),
                                  Whole(out, u"Fan 2:", u"rpm", r.m_fan2Rpm),
                                  Whole(out, u"Open:", u"P", r.m_eevSteps)};
  for (int i = 0; i < kLabels; ++i) SetTextIfChanged(&m_labels[i], texts[i]);
}

void DlgDesign2::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  for (int i = 0; i < kLabels; ++i) DDX_Control(dx, kLabelIds[i], m_labels[i]);
  DDX_Control(dx, kMenuButton, m_menu);
  DDX_Control(dx, kPrevButton, m_prev);
  DDX_Control(dx, kNextButton, m_next);
}

BOOL DlgDesign2::OnInitDialog() {
  DlgBase::OnInitDialog();
  for (int i = 0; i < kLabels - 1; ++i) m_labels[i].SetSkin(265, 253, 269);
  // The valve opening sits on a black plate of its own.
  m_labels[kLabels - 1].SetSkin(265, 264, 269);
  DressNavButtons(m_menu, m_prev, m_next, 253);
  SetTimer(kRefreshTimer, kRefreshMs);
  return TRUE;
}

// Refreshed before it is painted, so a page shown anew never shows what it held when hidden.
void DlgDesign2::OnShowWindow(BOOL show, UINT status) {
  if (show) Refresh();
  DlgBase::OnShowWindow(show, status);
}

void DlgDesign2::OnTimer(UINT_PTR id) {
  if (id == kRefreshTimer && GetShownState() != SW_HIDE) Refresh();
  DlgBase::OnTimer(id);
}

void DlgDesign2::OnLButtonUp(UINT flags, CPoint point) {
  CornerTap(point, PageHost::kDesign1, PageHost::kDesign3);
  DlgBase::OnLButtonUp(flags, point);
}
