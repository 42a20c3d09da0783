// A full-screen repaint on the headless display: a background bitmap, 20 owner-drawn buttons (the
// background piece under each, a colour-keyed face stretched over it, a caption) and 20 labels
// drawing their text over their piece of the background, as the terminal's screens are built.
#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Gui.h"
#include "Paths.h"

namespace {

const char* const kFontFile = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
const COLORREF kKey = RGB(192, 192, 255);
const UINT kBackground = 194;
const UINT kFace = 231;

CBitmap g_background;
CFont g_font;

class FaceButton : public CButton {
protected:
  void PreSubclassWindow() override { ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW); }
  void DrawItem(LPDRAWITEMSTRUCT item) override {
    CDC* dc = CDC::FromHandle(item->hDC);
    CRect r(item->rcItem);
    CRect inParent;
    GetWindowRect(&inParent);
    GetParent()->ScreenToClient(&inParent);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&g_background);
    dc->BitBlt(0, 0, r.Width(), r.Height(), &memory, inParent.left, inParent.top, SRCCOPY);
    CBitmap face;
    face.LoadBitmap(kFace);  // loaded at every paint, as the screens do
    BITMAP bm;
    face.GetBitmap(&bm);
    memory.SelectObject(&face);
    TransparentImage(dc->m_hDC, 0, 0, r.Width(), r.Height(), memory.m_hDC, 0, 0, bm.bmWidth, bm.bmHeight, kKey);
    memory.SelectObject(old);
    CString text;
    GetWindowText(text);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor((item->itemState & ODS_SELECTED) ? RGB(255, 64, 0) : RGB(255, 255, 255));
    CFont* oldFont = dc->SelectObject(&g_font);
    dc->DrawText(text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc->SelectObject(oldFont);
  }
};

class PictureLabel : public CStatic {
protected:
  void OnPaint() {
    CPaintDC dc(this);
    CRect r;
    GetClientRect(&r);
    CRect inParent;
    GetWindowRect(&inParent);
    GetParent()->ScreenToClient(&inParent);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap* old = memory.SelectObject(&g_background);
    dc.BitBlt(0, 0, r.Width(), r.Height(), &memory, inParent.left, inParent.top, SRCCOPY);
    memory.SelectObject(old);
    CString text;
    GetWindowText(text);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 1));
    CFont* oldFont = dc.SelectObject(&g_font);
    dc.DrawText(text, &r, DT_WORDBREAK | DT_CENTER);
    dc.SelectObject(oldFont);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PictureLabel, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

class Screen : public CDialog {
public:
  Screen() : CDialog(102) {}
  FaceButton buttons[20];
  PictureLabel labels[20];

protected:
  void DoDataExchange(CDataExchange* dx) override {
    for (int i = 0; i < 20; ++i) {
      DDX_Control(dx, 1000 + i, buttons[i]);
      DDX_Control(dx, 2000 + i, labels[i]);
    }
  }
  BOOL OnEraseBkgnd(CDC* dc) {
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(&g_background);
    dc->BitBlt(0, 0, 480, 272, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(Screen, CDialog)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void SaveBitmap(UINT id, int w, int h, COLORREF (*color)(int, int), const std::string& dir) {
  HBITMAP b = CreateCompatibleBitmap(nullptr, w, h);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, b);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) SetPixel(dc, x, y, color(x, y));
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  panel::SaveBitmapPng(b, dir + "/bitmaps/" + std::to_string(id) + ".png");
  DeleteObject(b);
}

// Builds the resources and the screen once.
Screen* MakeScreen() {
  static Screen* screen = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "gui_bench.res").string();
    std::filesystem::create_directories(dir + "/bitmaps");
    std::filesystem::create_directories(dir + "/dialogs");
    panel::SetResourceDir(dir);
    SaveBitmap(kBackground, 480, 272, [](int x, int y) { return RGB(x / 2, y, 128); }, dir);
    SaveBitmap(kFace, 60, 60, [](int x, int y) {
      int dx = x - 30, dy = y - 30;
      return dx * dx + dy * dy < 29 * 29 ? RGB(53, 97, 167) : kKey;
    }, dir);
    std::string dialog = "size 321 182\nstyle WS_POPUP WS_VISIBLE\nfont 9 \"SimSun\"\n";
    for (int i = 0; i < 20; ++i) {
      int x = 4 + (i % 5) * 63, y = 4 + (i / 5) * 44;
      dialog += "control BUTTON " + std::to_string(1000 + i) + " " + std::to_string(x) + " " + std::to_string(y) +
                " 40 26 \"制热 " + std::to_string(i) + "\"\n";
      dialog += "control STATIC " + std::to_string(2000 + i) + " " + std::to_string(x) + " " + std::to_string(y + 28) +
                " 60 12 \"" + std::to_string(40 + i) + ".5℃\" SS_CENTER\n";
    }
    panel::WriteTextFile(dir + "/dialogs/102.dlg", dialog);
    panel::UseDisplay("headless");
    struct stat st{};
    if (stat(kFontFile, &st) == 0) AddFontResourceW(FromUtf8(kFontFile).c_str());
    g_font.CreatePointFont(120, u"微软雅黑");
    g_background.LoadBitmap(kBackground);
    auto* s = new Screen();
    s->Create(102, nullptr);
    panel::PumpMessages();
    return s;
  }();
  return screen;
}

// Timed as the terminal paints: without the draw log, which only tests keep; the log is kept for the
// one repaint that shows every caption and label drawn.
void BM_FullScreenRepaint(benchmark::State& state) {
  Screen* screen = MakeScreen();
  panel::KeepDrawLog(true);
  screen->Invalidate(TRUE);
  screen->UpdateWindow();
  const size_t drawn = panel::DrawLog().size();
  panel::KeepDrawLog(false);
  if (drawn != 40) state.SkipWithError("the repaint did not draw every caption and label");
  for (auto _ : state) {
    screen->Invalidate(TRUE);
    screen->UpdateWindow();
  }
}
BENCHMARK(BM_FullScreenRepaint)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace
