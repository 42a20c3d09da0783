// mainscreen_shots: pictures of the main screen's frame for the dealer layouts, for the docs.
// Usage: mainscreen_shots <resource folder> <output folder> [dealer ids...] (default 0 3 9)
// Writes <output>/main-dealer-<id>.png. The frame is what the start-up builds (fonts, backgrounds,
// the dressed controls of template 102); the values in it are a fixed sample state, filled in here
// the way the main screen's refresh shows them, so the pictures show the layout with content.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "AppGlobals.h"
#include "CHmiApp.h"
#include "CSystemData.h"
#include "DlgMain.h"
#include "Gui.h"

namespace {

const char kSystemFont[] = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";

void Text(DlgMain& dlg, int id, const char16_t* text) {
  if (CWnd* c = dlg.GetDlgItem(id)) c->SetWindowText(text);
}

void Icon(DlgMain& dlg, int id, int icon, int font = 275) {
  if (CSkinButton* b = dlg.Button(id)) {
    b->SetIconStyle(icon, 239, 251, font);
    b->ShowWindow(SW_SHOW);
  }
}

void Hide(DlgMain& dlg, int id) {
  if (CWnd* c = dlg.GetDlgItem(id)) c->ShowWindow(SW_HIDE);
}

// The sample: heating with hot water, both heating circuits running, no fault.
void Dress(DlgMain& dlg, int dealer) {
  const bool twoCircuits = dealer == 3 || dealer == 15;
  const bool model9 = dealer == 9;
  Text(dlg, DlgMain::kClock, u"8.12.2026 09:05");
  Text(dlg, DlgMain::kCompressor, u"Comp:52Hz");
  Text(dlg, DlgMain::kAmbientTemp, u"5.0℃");
  Hide(dlg, DlgMain::kFaultTicker);
  dlg.Button(DlgMain::kPower)->SetCheck(1, TRUE);
  if (twoCircuits) {
    Icon(dlg, DlgMain::kMode, dealer == 3 ? 176 : 214);
    Icon(dlg, DlgMain::kHoldIcon, dealer == 3 ? 179 : 220);
    Icon(dlg, 1043, 189, 270);
    Icon(dlg, 1044, 191, 270);
    Text(dlg, 1043, u"  ");
    Text(dlg, 1044, u" ");
    Text(dlg, 1015, u"21.5℃");
    Text(dlg, 1017, u"48.0℃");
    Text(dlg, 1019, u"35.0℃");
    Text(dlg, 1021, u"32.0℃");
    Text(dlg, DlgMain::kHeatingIcon, u"");
    dlg.GetDlgItem(DlgMain::kHeatingIcon)->ShowWindow(SW_SHOW);
    return;
  }
  Icon(dlg, DlgMain::kMode, model9 ? 105 : 22);
  Icon(dlg, 1043, model9 ? 118 : 35, 270);
  Icon(dlg, 1044, model9 ? 120 : 37, 270);
  Text(dlg, 1043, u"  ");
  Text(dlg, 1044, u" ");
  Text(dlg, DlgMain::kRoomTemp, u"21.5℃");
  Text(dlg, DlgMain::kTankTemp, u"48.0℃");
  for (int id : {1045, 1047, 1046, 1048}) dlg.GetDlgItem(id)->ShowWindow(SW_SHOW);
  for (int id : {1012, 1013, 1015, 1017}) dlg.GetDlgItem(id)->ShowWindow(SW_SHOW);
  Text(dlg, 1012, u"48.0℃");
  Text(dlg, 1015, u"50℃");
  Text(dlg, 1013, u"35.0℃");
  Text(dlg, 1017, u"38℃");
}

bool Shoot(int dealer, const std::string& out) {
  panel::HeadlessScreen screen;
  GetSystemData()->m_dealerId = dealer;
  g_dealerId = dealer;
  if (std::filesystem::exists(kSystemFont)) AddFontResourceW(CString::FromUtf8(kSystemFont));
  MakeAppFonts();
  LoadDealerLook(dealer);
  MakeAppBrushes();
  bool ok = false;
  {
    DlgMain dlg(nullptr);
    if (dlg.Create(DlgMain::kTemplate)) {
      Dress(dlg, dealer);
      panel::PumpMessages();
      ok = panel::SaveScreenPng(out);
      dlg.DestroyWindow();
    }
  }
  for (CFont* f : {&g_font45, &g_font21, &g_font18, &g_font15, &g_font12, &g_font9}) f->DeleteObject();
  for (CBitmap* b : {&g_bmpMainBg, &g_bmpPageBg, &g_bmpDesign2Bg, &g_bmpDesign1Bg, &g_bmpMenuBg1, &g_bmpMenuBg2,
                     &g_bmpSpare, &g_bmpPopupBg}) {
    b->DeleteObject();
  }
  for (HBRUSH& b : g_brushes) {
    if (b) DeleteObject(b);
    b = nullptr;
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mainscreen_shots <resource folder> <output folder> [dealer ids...]\n");
    return 2;
  }
  panel::SetResourceDir(argv[1]);
  std::filesystem::create_directories(argv[2]);
  std::vector<int> dealers;
  for (int i = 3; i < argc; ++i) dealers.push_back(std::atoi(argv[i]));
  if (dealers.empty()) dealers = {0, 3, 9};
  int failures = 0;
  for (int dealer : dealers) {
    std::string out = std::string(argv[2]) + "/main-dealer-" + std::to_string(dealer) + ".png";
    if (Shoot(dealer, out)) {
      std::printf("%s\n", out.c_str());
    } else {
      std::fprintf(stderr, "could not draw dealer %d\n", dealer);
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
