#include <gtest/gtest.h>

#include "Gui.h"

TEST(Smoke, Builds) {
  panel::HeadlessScreen screen;
  HWND w = CreateWindowExW(0, u"STATIC", u"hello", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  panel::PumpMessages();
  EXPECT_NE(panel::FindDrawnText(u"hello"), nullptr);
}
