#include "DlgMode.h"

#include "AppGlobals.h"
#include "CSystemData.h"
#include "PageHost.h"

namespace {

const int kIds[DlgMode::kButtons] = {DlgMode::kHeating, DlgMode::kCooling, DlgMode::kHotWater, DlgMode::kAuto,
                                     DlgMode::kQuickHeat};
const COLORREF kGrey = RGB(140, 140, 140);
const int32_t kBlinkAfterChange = 6;
const int32_t kStripOpen = 7;

// Faces by dealer id, in button order.
const int kFaces3[DlgMode::kButtons] = {152, 153, 151, 154, 155};
const int kFaces9[DlgMode::kButtons] = {100, 101, 99, 102, 98};
const int kFaces[DlgMode::kButtons] = {22, 23, 21, 24, 14};

// Strip widths: 188 with heating and cooling, less a button for each of them disabled, two more with
// hot water.
const int kBaseWidth = 188;

}  // namespace

BEGIN_MESSAGE_MAP(DlgMode, DlgBase)
  ON_BN_CLICKED(DlgMode::kHeating, &DlgMode::OnMode1)
  ON_BN_CLICKED(DlgMode::kCooling, &DlgMode::OnMode2)
  ON_BN_CLICKED(DlgMode::kHotWater, &DlgMode::OnMode3)
  ON_BN_CLICKED(DlgMode::kAuto, &DlgMode::OnMode4)
  ON_BN_CLICKED(DlgMode::kQuickHeat, &DlgMode::OnQuickHeat)
END_MESSAGE_MAP()

DlgMode::DlgMode(CWnd* parent) : DlgBase(kTemplate, parent, kGrey, 0) {}

DlgMode::~DlgMode() = default;

void DlgMode::Popup(int show) {
  if (!show) {
    SetBlink(0);
    ShowPage(SW_HIDE);
    return;
  }
  const CSystemData& r = *GetSystemData();
  int width = kBaseWidth;
  if (r.m_heatingEnabled == 0) width -= kPitch;
  if (r.m_coolingEnabled == 0) width -= kPitch;
  if (r.m_hotWaterEnabled != 0) width += 2 * kPitch;
  SetWindowPos(nullptr, kLeft, kTop, width, kHeight, SWP_SHOWWINDOW);
  int x = 2;
  Place(m_buttons[0], r.m_heatingEnabled != 0, x);
  if (r.m_heatingEnabled != 0) x += kPitch;
  Place(m_buttons[1], r.m_coolingEnabled != 0, x);
  if (r.m_coolingEnabled != 0) x += kPitch;
  Place(m_buttons[2], r.m_hotWaterEnabled != 0, x);
  if (r.m_hotWaterEnabled != 0) x += kPitch;
  Place(m_buttons[3], true, x);
  Place(m_buttons[4], r.m_hotWaterEnabled != 0, x + 56);
  SetBlink(kStripOpen);
}

void DlgMode::OnMode(int mode) {
  CSystemData& r = *GetSystemData();
  r.m_hwBoost = 0;
  if (r.m_runMode == mode) {
    SetBlink(0);
  } else {
    r.m_runMode = mode;
    SetBlink(kBlinkAfterChange);
  }
  ShowPage(SW_HIDE);
}

void DlgMode::OnQuickHeat() {
  CSystemData& r = *GetSystemData();
  if (r.m_hwBoost != 1) {
    r.m_hwBoost = 1;
    SetBlink(kBlinkAfterChange);
  } else {
    SetBlink(0);
  }
  ShowPage(SW_HIDE);
}

void DlgMode::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  for (int i = 0; i < kButtons; ++i) DDX_Control(dx, kIds[i], m_buttons[i]);
}

BOOL DlgMode::OnInitDialog() {
  DlgBase::OnInitDialog();
  const int dealer = g_dealerId;
  const int* faces = (dealer == 3 || dealer == 15) ? kFaces3 : dealer == 9 ? kFaces9 : kFaces;
  for (int i = 0; i < kButtons; ++i) {
    // Dealer 9's pictures carry the words.
    if (dealer == 9) m_buttons[i].SetWindowText(u"");
    m_buttons[i].SetIconStyle(faces[i], 244, 261, 275);
  }
  ShowPage(SW_HIDE);
  return TRUE;
}

void DlgMode::SetBlink(int32_t count) {
  if (PageHost* host = Host()) host->SetBlinkCount(count);
}

void DlgMode::Place(CSkinButton& button, bool shown, int x) {
  if (!shown) {
    button.ShowWindow(SW_HIDE);
    return;
  }
  button.SetWindowPos(nullptr, x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}
