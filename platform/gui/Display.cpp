// The display seam: backend choice, the draw log, screen reads and dumps of the program and of the
// board, and the clean state tests start from.
#include "Display.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

#include "FontEngine.h"
#include "GdiObjects.h"
#include "GuiState.h"
#include "Png.h"

namespace panel {
namespace gui {
namespace {

const size_t kDrawLogLimit = 20000;

bool g_drawLogKept = false;  // GUI thread

std::deque<DrawnText>& Log() {
  static auto* log = new std::deque<DrawnText>();
  return *log;
}

std::deque<DrawnPicture>& Pictures() {
  static auto* log = new std::deque<DrawnPicture>();
  return *log;
}

std::unique_ptr<DisplayBackend> MakeBackend(const std::string& name) {
  if (name == "sdl") {
    if (auto sdl = MakeSdlBackend()) return sdl;
  }
  return MakeHeadlessBackend();
}

std::string DefaultBackendName() {
  const char* chosen = std::getenv("PANEL_DISPLAY");
  if (chosen && *chosen) return chosen;
  const char* x = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((x && *x) || (wayland && *wayland)) return "sdl";
  return "headless";
}

}  // namespace

void LogText(DrawnText&& entry) {
  if (!g_drawLogKept) return;
  auto& log = Log();
  log.push_back(std::move(entry));
  while (log.size() > kDrawLogLimit) log.pop_front();
}

void LogPicture(DrawnPicture&& entry) {
  if (!g_drawLogKept) return;
  auto& log = Pictures();
  log.push_back(std::move(entry));
  while (log.size() > kDrawLogLimit) log.pop_front();
}

void EnsureDisplay() {
  GuiState& s = State();
  if (s.backend) return;
  s.backend = MakeBackend(DefaultBackendName());
  Screen();
  s.shownGeneration = ~0ull;
}

DisplayBackend& Backend() {
  EnsureDisplay();
  return *State().backend;
}

}  // namespace gui

std::string DisplayName() { return gui::Backend().Name(); }

bool UseDisplay(const std::string& name) {
  ResetGui();
  gui::GuiState& s = gui::State();
  s.backend.reset();
  s.backend = gui::MakeBackend(name);
  s.screen.reset();
  gui::Screen();
  s.shownGeneration = ~0ull;
  return s.backend->Name() == name;
}

void KeepDrawLog(bool keep) {
  gui::g_drawLogKept = keep;
  if (!keep) ClearDrawLog();
}

bool DrawLogKept() { return gui::g_drawLogKept; }

std::vector<DrawnText> DrawLog() { return std::vector<DrawnText>(gui::Log().begin(), gui::Log().end()); }

std::vector<DrawnPicture> PictureLog() {
  return std::vector<DrawnPicture>(gui::Pictures().begin(), gui::Pictures().end());
}

void ClearDrawLog() {
  gui::Log().clear();
  gui::Pictures().clear();
}

const DrawnText* FindDrawnText(const char16_t* text) {
  auto& log = gui::Log();
  for (auto it = log.rbegin(); it != log.rend(); ++it) {
    if (it->text == text) return &*it;
  }
  return nullptr;
}

std::vector<CString> TextsDrawnOn(HWND window) {
  std::vector<CString> texts;
  for (const DrawnText& d : gui::Log()) {
    if (d.window == window || IsChild(window, d.window)) texts.push_back(d.text);
  }
  return texts;
}

std::vector<BoardWindow> BoardWindows() { return gui::CurrentBoard()->Windows(); }

std::vector<COLORREF> BoardPicture() {
  gui::Surface picture(kScreenWidth, kScreenHeight);
  gui::CurrentBoard()->Compose(picture);
  std::vector<COLORREF> colours(picture.Pixels().size());
  std::transform(picture.Pixels().begin(), picture.Pixels().end(), colours.begin(), gui::ToColorRef);
  return colours;
}

COLORREF BoardPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= kScreenWidth || y >= kScreenHeight) return CLR_INVALID;
  gui::Surface picture(kScreenWidth, kScreenHeight);
  gui::CurrentBoard()->Compose(picture);
  return gui::ToColorRef(picture.Get(x, y));
}

bool SaveBoardPng(const std::string& path) {
  gui::Surface picture(kScreenWidth, kScreenHeight);
  gui::CurrentBoard()->Compose(picture);
  return gui::SavePng(path, picture);
}

bool TapOnBoard(int x, int y) {
  std::shared_ptr<gui::BoardScreen> board = gui::CurrentBoard();
  if (!gui::RouteInput(*board, 0, x, y)) return false;
  gui::RouteInput(*board, 2, x, y);
  return true;
}

COLORREF ScreenPixel(int x, int y) {
  gui::Surface& s = gui::Screen();
  if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height()) return CLR_INVALID;
  return gui::ToColorRef(s.Get(x, y));
}

bool SaveScreenPng(const std::string& path) { return gui::SavePng(path, gui::Screen()); }

bool SaveBitmapPng(HBITMAP bitmap, const std::string& path) {
  const gui::Surface* pixels = gui::BitmapPixels(bitmap);
  return pixels && gui::SavePng(path, *pixels);
}

bool MatchesScreenshot(const std::string& referencePng, std::string* message) {
  gui::Surface& screen = gui::Screen();
  const char* update = std::getenv("PANEL_UPDATE_SCREENSHOTS");
  if (update && *update && *update != '0') {
    bool ok = gui::SavePng(referencePng, screen);
    if (message) *message = ok ? "reference rewritten: " + referencePng : "cannot write " + referencePng;
    return ok;
  }
  std::unique_ptr<gui::Surface> reference = gui::LoadPng(referencePng);
  std::string base = referencePng.size() > 4 && referencePng.compare(referencePng.size() - 4, 4, ".png") == 0
                         ? referencePng.substr(0, referencePng.size() - 4)
                         : referencePng;
  if (!reference) {
    if (message) *message = "no reference " + referencePng + " (PANEL_UPDATE_SCREENSHOTS=1 makes it)";
    return false;
  }
  if (reference->Width() != screen.Width() || reference->Height() != screen.Height() ||
      reference->Pixels() != screen.Pixels()) {
    gui::SavePng(base + "_err.png", screen);
    if (message) *message = "screen differs from " + referencePng + "; see " + base + "_err.png";
    return false;
  }
  return true;
}

void InjectDevicePointer(int windowX, int windowY, bool down) { gui::Backend().InjectDevicePointer(windowX, windowY, down); }

COLORREF ShownPixel(int x, int y) {
  uint32_t p = gui::Backend().ShownPixel(x, y);
  return p == 0xFFFFFFFFu ? CLR_INVALID : gui::ToColorRef(p);
}

void ResetGui() {
  gui::GuiState& s = gui::State();
  s.idleHook = nullptr;
  s.spy = nullptr;
  gui::DestroyAllWindows();
  s.timers.clear();
  s.modal.clear();
  s.focus = s.capture = s.active = s.pressTarget = nullptr;
  s.pressed = false;
  s.cursor = POINT{0, 0};
  s.desktopUpdate.Clear();
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.posted.clear();
    s.input.clear();
    s.quit = false;
    s.quitCode = 0;
  }
  gui::ResetFontFiles();
  ClearDrawLog();
  if (s.screen) {
    std::fill(s.screen->Pixels().begin(), s.screen->Pixels().end(), 0u);
    s.screen->Touch();
  }
}

HeadlessScreen::HeadlessScreen() : m_logKeptBefore(DrawLogKept()) {
  gui::GuiState& s = gui::State();
  if (!s.backend || s.backend->Name() != "headless") {
    UseDisplay("headless");
  } else {
    ResetGui();
  }
  KeepDrawLog(true);
}

HeadlessScreen::~HeadlessScreen() {
  ResetGui();
  KeepDrawLog(m_logKeptBefore);
}

}  // namespace panel
