#include "DlgDesign2.h"

#include "AppGlobals.h"
#include "CSystemData.h"
#include "ControlHelpers.h"
#include "PageHost.h"

namespace {

const int kLabelIds[DlgDesign2::kLabels] = {1078, 1079, 1080, 1081, 1082, 1083, 1084,
                                            1085, 1086, 1087, 1088, 1089, 1090, 1094};

CString Decimal(float value) {
  CString text;
  text.Format(u"%.1f", static_cast<double>(value));
  return text;
}

CString Whole(const char16_t* format, int value) {
  CString text;
  text.Format(format, value);
  return text;
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgDesign2, DlgBase)
  ON_WM_TIMER()
  ON_WM_LBUTTONUP()
  ON_BN_CLICKED(DlgDesign2::kMenuButton, &DlgDesign2::OnGoMenu)
  ON_BN_CLICKED(DlgDesign2::kPrevButton, &DlgDesign2::OnGoDesign1)
  ON_BN_CLICKED(DlgDesign2::kNextButton, &DlgDesign2::OnGoDesign3)
END_MESSAGE_MAP()

DlgDesign2::DlgDesign2(CWnd* parent) : DlgBase(&g_bmpDesign2Bg, kTemplate, parent) {}

DlgDesign2::~DlgDesign2() = default;

void DlgDesign2::Refresh() {
  const CSystemData& r = *GetSystemData();
  const CString texts[kLabels] = {
      Decimal(r.m_outletTemp),      Decimal(r.m_inletTemp),       Decimal(r.m_pressureB),
      Decimal(r.m_outdoorTemp2114), Decimal(r.m_coilTemp),        Decimal(r.m_pressureA),
      Decimal(r.m_outdoorTemp2113), Decimal(r.m_outdoorTemp2112), Whole(u"%d", r.m_compressorHz),
      Decimal(r.m_current),         Decimal(r.m_ambientTemp),     Whole(u"Fan 1:%drpm", r.m_fan1Rpm),
      Whole(u"Fan 2:%drpm", r.m_fan2Rpm), Whole(u"Open:%dP", r.m_eevSteps)};
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

void DlgDesign2::OnTimer(UINT_PTR id) {
  if (id == kRefreshTimer && GetShownState() != SW_HIDE) Refresh();
  DlgBase::OnTimer(id);
}

void DlgDesign2::OnLButtonUp(UINT flags, CPoint point) {
  CornerTap(point, PageHost::kDesign1, PageHost::kDesign3);
  DlgBase::OnLButtonUp(flags, point);
}
