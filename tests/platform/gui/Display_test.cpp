#include "Display.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;
using guitest::MakePanel;

bool Exists(const std::string& path) {
  struct stat st{};
  return stat(path.c_str(), &st) == 0;
}

class Display : public GuiTest {
protected:
  // A PNG read back through the bitmap loader.
  COLORREF PixelOfPng(const std::string& path, int x, int y) {
    std::filesystem::create_directories(m_resources + "/bitmaps");
    std::filesystem::copy_file(path, m_resources + "/bitmaps/900.png",
                               std::filesystem::copy_options::overwrite_existing);
    CBitmap b;
    if (!b.LoadBitmap(900)) return CLR_INVALID;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&b);
    COLORREF c = dc.GetPixel(x, y);
    dc.SelectObject(old);
    return c;
  }
};

TEST_F(Display, SaveScreenPng_WritesWhatIsShown) {
  MakePanel(RGB(12, 34, 56), WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  panel::PumpMessages();
  std::string path = m_root / "shot.png";
  ASSERT_TRUE(panel::SaveScreenPng(path));
  EXPECT_EQ(PixelOfPng(path, 50, 50), RGB(12, 34, 56));
  EXPECT_EQ(PixelOfPng(path, 200, 200), RGB(0, 0, 0));
  EXPECT_EQ(panel::ShownPixel(50, 50), RGB(12, 34, 56));  // what the headless display last showed
}

TEST_F(Display, DumpMode_WritesTheScreenWhenItChanged) {
  setenv("PANEL_SCREEN_DUMP", "1", 1);
  std::string dump = m_root / "run/screen.png";
  HWND w = MakePanel(RGB(200, 0, 0), WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  panel::PumpMessages();
  ASSERT_TRUE(Exists(dump));
  EXPECT_EQ(PixelOfPng(dump, 10, 10), RGB(200, 0, 0));
  std::filesystem::remove(dump);
  panel::PumpMessages();
  EXPECT_FALSE(Exists(dump));  // nothing changed, nothing written
  SetWindowLongPtrW(w, GWL_USERDATA, RGB(0, 0, 200));
  InvalidateRect(w, nullptr, TRUE);
  panel::PumpMessages();
  unsetenv("PANEL_SCREEN_DUMP");
  ASSERT_TRUE(Exists(dump));
  EXPECT_EQ(PixelOfPng(dump, 10, 10), RGB(0, 0, 200));
}

TEST_F(Display, Screenshot_MissingReferenceFailsAndOnlyTheFlagWritesOne) {
  HWND w = MakePanel(RGB(1, 2, 3), WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  panel::PumpMessages();
  std::string reference = m_root / "refs/panel.png";
  std::string message;
  EXPECT_FALSE(panel::MatchesScreenshot(reference, &message));
  EXPECT_NE(message.find("no reference"), std::string::npos);
  EXPECT_FALSE(Exists(reference));
  setenv("PANEL_UPDATE_SCREENSHOTS", "1", 1);
  EXPECT_TRUE(panel::MatchesScreenshot(reference, &message));
  unsetenv("PANEL_UPDATE_SCREENSHOTS");
  EXPECT_TRUE(panel::MatchesScreenshot(reference, &message));
  SetWindowLongPtrW(w, GWL_USERDATA, RGB(9, 9, 9));
  InvalidateRect(w, nullptr, TRUE);
  panel::PumpMessages();
  EXPECT_FALSE(panel::MatchesScreenshot(reference, &message));
  EXPECT_TRUE(Exists(m_root / "refs/panel_err.png"));
}

TEST_F(Display, ScriptedWait_LetsVirtualTimePass) {
  WriteDialog(701, "size 60 40\nstyle WS_POPUP\ncontrol BUTTON 1 2 2 30 12 \"OK\"\n");
  CDialog box(701);
  DWORD tappedAt = 0;
  DWORD start = GetTickCount();
  panel::ScriptedInput script;
  script.Wait(1500).Then([&] {
    tappedAt = GetTickCount() - start;
    RECT r;
    GetWindowRect(GetDlgItem(box.m_hWnd, IDOK), &r);
    panel::TapAt(r.left + 2, r.top + 2);
  });
  EXPECT_EQ(box.DoModal(), IDOK);
  EXPECT_EQ(tappedAt, 1500u);
  EXPECT_TRUE(script.Done());
}

}  // namespace
