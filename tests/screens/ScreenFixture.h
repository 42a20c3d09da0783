// A headless screen with a resource folder of the test's own: dialog templates and bitmaps written
// by the test, so each test shows exactly the pictures and layout it reasons about.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Gui.h"
#include "Platform.h"

class ScreenFixture : public ::testing::Test {
protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "screen-res-XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    ASSERT_NE(made, nullptr);
    m_res = made;
    std::filesystem::create_directories(m_res + "/dialogs");
    std::filesystem::create_directories(m_res + "/bitmaps");
    panel::SetResourceDir(m_res);
  }
  void TearDown() override {
    panel::SetMessageSpy(nullptr);
    panel::ResetGui();
    panel::SetResourceDir("");
    std::error_code ignored;
    std::filesystem::remove_all(m_res, ignored);
  }

  void WriteDialog(UINT id, const std::string& text) const {
    panel::WriteTextFile(m_res + "/dialogs/" + std::to_string(id) + ".dlg", text);
  }

  // A bitmap of the given size whose pixel (x, y) is pixel(x, y).
  static HBITMAP MakeBitmap(int width, int height, const std::function<COLORREF(int, int)>& pixel) {
    std::vector<uint8_t> bytes(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        COLORREF c = pixel(x, y);
        uint8_t* q = &bytes[(static_cast<size_t>(y) * width + x) * 4];
        q[0] = GetBValue(c);
        q[1] = GetGValue(c);
        q[2] = GetRValue(c);
      }
    }
    return CreateBitmap(width, height, 1, 32, bytes.data());
  }

  // Writes bitmap resource id as a PNG.
  void WriteBitmap(UINT id, int width, int height, const std::function<COLORREF(int, int)>& pixel) const {
    HBITMAP bitmap = MakeBitmap(width, height, pixel);
    ASSERT_TRUE(panel::SaveBitmapPng(bitmap, m_res + "/bitmaps/" + std::to_string(id) + ".png"));
    DeleteObject(bitmap);
  }
  void WriteSolidBitmap(UINT id, int width, int height, COLORREF color) const {
    WriteBitmap(id, width, height, [color](int, int) { return color; });
  }

  // Counts the messages of one kind that reach a window from now on.
  void CountMessages(HWND window, UINT message) {
    m_counted = 0;
    panel::SetMessageSpy([this, window, message](HWND h, UINT m, WPARAM, LPARAM) {
      if (h == window && m == message) ++m_counted;
    });
  }

  panel::HeadlessScreen m_screen;
  std::string m_res;
  int m_counted = 0;
};
