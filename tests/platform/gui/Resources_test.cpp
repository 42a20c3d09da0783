#include "Resources.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "GuiFixture.h"

namespace {

class Resources : public guitest::GuiTest {};

TEST_F(Resources, Folder_TestOverrideThenEnvironmentThenBesideTheExecutable) {
  EXPECT_EQ(panel::ResourceDir(), m_resources);
  panel::SetResourceDir("");
  setenv("PANEL_RESOURCES", "/somewhere/res", 1);
  EXPECT_EQ(panel::ResourceDir(), "/somewhere/res");
  unsetenv("PANEL_RESOURCES");
  std::string dir = panel::ResourceDir();
  EXPECT_EQ(dir.substr(dir.rfind('/') + 1), "platform_gui_tests.res");
  panel::SetResourceDir(m_resources);
}

TEST_F(Resources, LoadBitmap_GivesThePngWithItsSize) {
  WriteBitmap(214, 7, 3, [](int x, int) { return x == 0 ? RGB(192, 192, 255) : RGB(10, 20, 30); });
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.LoadBitmap(214));
  BITMAP bm{};
  ASSERT_EQ(bitmap.GetObject(sizeof(bm), &bm), static_cast<int>(sizeof(BITMAP)));
  EXPECT_EQ(bm.bmWidth, 7);
  EXPECT_EQ(bm.bmHeight, 3);
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(&bitmap);
  EXPECT_EQ(dc.GetPixel(0, 1), RGB(192, 192, 255));
  EXPECT_EQ(dc.GetPixel(3, 2), RGB(10, 20, 30));
  // Drawing on one loaded copy leaves the next load as the file has it.
  dc.SetPixel(3, 2, RGB(1, 1, 1));
  dc.SelectObject(old);
  CBitmap again;
  ASSERT_TRUE(again.LoadBitmap(214));
  old = dc.SelectObject(&again);
  EXPECT_EQ(dc.GetPixel(3, 2), RGB(10, 20, 30));
  dc.SelectObject(old);
  CBitmap missing;
  EXPECT_FALSE(missing.LoadBitmap(999));
  EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
}

TEST_F(Resources, Strings_ComeFromTheStringsFile) {
  panel::WriteTextFile(m_resources + "/strings",
                       "# string table\n103 \"Windows 套接字初始化失败。\"\n104 \"a \\\"quoted\\\" text\"\n");
  CString text;
  ASSERT_TRUE(panel::LoadResourceString(103, text));
  EXPECT_EQ(text, u"Windows 套接字初始化失败。");
  ASSERT_TRUE(panel::LoadResourceString(104, text));
  EXPECT_EQ(text, u"a \"quoted\" text");
  EXPECT_FALSE(panel::LoadResourceString(105, text));
  WCHAR buffer[8];
  EXPECT_EQ(LoadStringW(nullptr, 103, buffer, 8), 7);
}

}  // namespace
