#include "DlgMain.h"

#include "AppGlobals.h"
#include "CSystemData.h"

namespace {

const int kButtonIds[DlgMain::kButtonCount] = {1000, 1001, 1002, 1009, 1010, 1040, 1041, 1042, 1043, 1044, 1045,
                                               1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1056};
const int kLabelIds[DlgMain::kLabelCount] = {1003, 1005, 1006, 1007, 1011, 1037, 1012, 1013, 1014, 1015,
                                             1016, 1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025};

const UINT kAppIcon = 128;
const int kScreenW = 480;
const int kScreenH = 272;

// Text style, background and font of every icon call on this screen.
const int kIconText = 239;
const int kIconBackground = 251;
const int kSmallFont = 275;

// Unit picture by dealer id; any other id has none.
struct UnitPicture {
  int dealer;
  int icon;
};
const UnitPicture kUnitPictures[] = {{0, 44}, {1, 40},  {2, 41},  {4, 43},  {5, 53},  {6, 54},
                                     {8, 55}, {10, 58}, {11, 59}, {12, 60}, {13, 66}, {14, 67}};

// Hidden at start in every layout; the refresh shows what the state asks for.
const int kHiddenAtStart[] = {1041, 1042, 1043, 1044, 1009, 1010, 1047, 1048, 1050, 1052, 1054, 1055, 1056,
                              1049, 1051, 1053, 1014, 1016, 1020, 1022, 1024, 1018, 1019, 1021, 1023, 1025};

}  // namespace

BEGIN_MESSAGE_MAP(DlgMain, DlgBase)
END_MESSAGE_MAP()

DlgMain::DlgMain(CWnd* parent) : DlgBase(&g_bmpMainBg, kTemplate, parent) {}

DlgMain::~DlgMain() = default;

CSkinButton* DlgMain::Button(int id) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (kButtonIds[i] == id) return &m_buttons[i];
  }
  return nullptr;
}

CSkinLabel* DlgMain::Label(int id) {
  for (int i = 0; i < kLabelCount; ++i) {
    if (kLabelIds[i] == id) return &m_labels[i];
  }
  return nullptr;
}

DlgBase* DlgMain::HostedPage(Page) { return nullptr; }

void DlgMain::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  for (int i = 0; i < kButtonCount; ++i) DDX_Control(dx, kButtonIds[i], m_buttons[i]);
  for (int i = 0; i < kLabelCount; ++i) DDX_Control(dx, kLabelIds[i], m_labels[i]);
  DDX_Control(dx, kExit, m_exit);
}

BOOL DlgMain::OnInitDialog() {
  DlgBase::OnInitDialog();
  HICON icon = AfxGetApp() ? AfxGetApp()->LoadIcon(kAppIcon) : nullptr;
  SetIcon(icon, TRUE);
  SetIcon(icon, FALSE);
  SetWindowPos(&wndTopMost, 0, 0, kScreenW, kScreenH, SWP_SHOWWINDOW | SWP_NOOWNERZORDER);
  // The launcher finds the program by this title.
  SetWindowText(u"Quellora");

  const int dealer = GetSystemData()->m_dealerId;
  int picture = -1;
  for (const UnitPicture& p : kUnitPictures) {
    if (p.dealer == dealer) picture = p.icon;
  }
  if (picture >= 0) {
    StyleIcon(kUnitPicture, picture);
  } else {
    Hide(kUnitPicture);
  }
  StyleIcon(kHoldIcon, 25);
  for (int id : kHiddenAtStart) Hide(id);

  Refresh(1);
  return TRUE;
}

void DlgMain::Refresh(int first) {
  if (g_dealerId == 3 || g_dealerId == 15) {
    DrawUnitModel3(first);
  } else if (g_dealerId == 9) {
    DrawUnitModel9(first);
  } else {
    DrawUnit(first);
  }
  m_exit.ShowWindow(GetSystemData()->m_unlockLevel != 0 ? SW_SHOW : SW_HIDE);
}

void DlgMain::DrawUnit(int first) {
  if (!first) return;
  StyleIcon(kHeatingBar, 46);
  StyleIcon(kHotWaterBar, 46);
  StyleIcon(kHotWaterIcon, 21);
  StyleIcon(kHeatingIcon, 22);
  StyleIcon(kPower, g_dealerId == 1 ? 224 : 223);
  if (g_dealerId == 13) {
    Place(kAmbientTemp, 60, 150);
    Place(kRoomTemp, 200, 115);
    Place(kTankTemp, 310, 150);
  }
  Skin(kClock, 264, 251, 275);
  Skin(kCompressor, 264, 251, 275);
  Skin(kRoomTemp, 264, 251, 272);
  Skin(kAmbientTemp, 264, 251, 271);
  Skin(kTankTemp, 264, 251, 271);
  Skin(kFaultTicker, 264, 267, 275);
  for (int id : {1012, 1013, 1015, 1017}) Skin(id, 264, 251, 271);
}

void DlgMain::DrawUnitModel9(int first) {
  if (!first) return;
  StyleIcon(kHeatingBar, 46);
  StyleIcon(kHotWaterBar, 46);
  StyleIcon(kHotWaterIcon, 123);
  StyleIcon(kHeatingIcon, 124);
  StyleIcon(kPower, 228);
  Hide(kHoldIcon);
  Place(kRoomTemp, 220, 130);
  Place(kAmbientTemp, 75, 180);
  Place(kTankTemp, 390, 180);
  Place(kCompressor, 136, 250);
  Skin(kClock, 265, 251, 275);
  Skin(kCompressor, 265, 251, 275);
  Skin(kRoomTemp, 265, 255, 272);
  Skin(kAmbientTemp, 265, 255, 271);
  Skin(kTankTemp, 265, 255, 271);
  Skin(kFaultTicker, 265, 267, 275);
  for (int id : {1012, 1013, 1015, 1017}) Skin(id, 268, 251, 271);
}

void DlgMain::DrawUnitModel3(int first) {
  if (!first) return;
  for (int id : {1045, 1046, 1005, 1007, 1012, 1013, 1018}) Hide(id);
  Place(kHeatingIcon, 78, 151, 60, 60);
  Place(kCircuit2Icon, 264, 151, 60, 60);
  Place(kAmbientTemp, 40, 40, 50, 20);
  Place(1015, 140, 90, 70, 20);
  Place(1017, 140, 177, 70, 20);
  Place(1019, 320, 90, 70, 20);
  Place(1021, 320, 177, 70, 20);
  StyleIcon(kHeatingIcon, 163);
  StyleIcon(kCircuit2Icon, 160);
  StyleIcon(kPower, 231);
  Skin(kAmbientTemp, 265, 251, 269);
  Skin(kClock, 265, 251, 275);
  Skin(kCompressor, 265, 251, 275);
  Skin(kFaultTicker, 265, 267, 275);
  for (int id : {1015, 1017, 1019, 1021}) Skin(id, 265, 251, 271);
}

void DlgMain::StyleIcon(int id, int icon, int font) {
  if (CSkinButton* b = Button(id)) b->SetIconStyle(icon, kIconText, kIconBackground, font);
}

void DlgMain::Skin(int id, int textColor, int background, int font) {
  if (CSkinLabel* l = Label(id)) l->SetSkin(textColor, background, font);
}

void DlgMain::Place(int id, int x, int y) {
  CWnd* control = GetDlgItem(id);
  if (control) control->SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
}

void DlgMain::Place(int id, int x, int y, int width, int height) {
  CWnd* control = GetDlgItem(id);
  if (control) control->SetWindowPos(nullptr, x, y, width, height, SWP_NOZORDER | SWP_SHOWWINDOW);
}

void DlgMain::Hide(int id) {
  if (CWnd* control = GetDlgItem(id)) control->ShowWindow(SW_HIDE);
}
