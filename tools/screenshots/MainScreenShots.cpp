// mainscreen_shots: pictures of the main screen for the docs, drawn by the screen's own refresh over
// a fixed state of the record (the unit simulator's start values, heating with hot water).
// Usage: mainscreen_shots <resource folder> <output folder> [dealer ids...] (default 0 3 9)
// The language texts come from the delivered database beside the resource folder. Writes
// <output>/main-dealer-<id>.png.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CDbAccess.h"
#include "DlgMain.h"
#include "Gui.h"
#include "LangTexts.h"
#include "MainScreenScenes.h"

namespace {

const int kEnglish = 0;

bool Shoot(int dealer, const std::string& out) {
  panel::HeadlessScreen screen;
  scenes::DealerLook look(dealer);
  LoadLanguage(dealer, kEnglish);
  scenes::SetOperation(scenes::Operation::kHeating);
  std::unique_ptr<DlgMain> main = scenes::OpenMainScreen();
  if (!main) return false;
  const bool ok = panel::SaveScreenPng(out);
  main->DestroyWindow();
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mainscreen_shots <resource folder> <output folder> [dealer ids...]\n");
    return 2;
  }
  panel::SetResourceDir(argv[1]);
  // The delivered database beside the resource folder holds the texts.
  panel::SetPanelRoot(std::filesystem::path(argv[1]).parent_path().string());
  g_db.Open(u"\\Quellora.db", false, 2);
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
