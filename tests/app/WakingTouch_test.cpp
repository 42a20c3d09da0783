// The touch that wakes the backlight switches it on and reaches nothing else.
#include <gtest/gtest.h>

#include "AppFixture.h"

namespace {

class WakingTouchTest : public AppFixture {
protected:
  void SetUp() override {
    AppFixture::SetUp();
    m_button = CreateWindowExW(0, u"BUTTON", u"press", WS_POPUP | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(m_button, nullptr);
    panel::PumpMessages();
    panel::SetMessageSpy([this](HWND h, UINT m, WPARAM, LPARAM) {
      if (h == m_button && (m == WM_LBUTTONDOWN || m == WM_MOUSEMOVE || m == WM_LBUTTONUP)) m_delivered.push_back(m);
    });
  }
  HWND m_button = nullptr;
  std::vector<UINT> m_delivered;
};

TEST_F(WakingTouchTest, BacklightOff_WholeTouchSwallowedAndLightSwitchedOn) {
  Install(CORVALIN_LIB, "Corvalin.dll");
  LoadBoardLib();
  ASSERT_NE(g_hBoardLib, nullptr);
  BacklightOn = 0;
  IdleCounter = 500;
  panel::PressAt(50, 50);
  panel::MoveTo(60, 50);
  panel::MoveTo(70, 50);
  panel::ReleaseAt(70, 50);
  panel::PumpMessages();
  EXPECT_TRUE(m_delivered.empty());
  EXPECT_EQ(BacklightOn, 1);
  EXPECT_EQ(IdleCounter, 0);
  auto events = panel::BoardEventTexts();
  ASSERT_FALSE(events.empty());  // Turn_Light(1) reached the board
  EXPECT_EQ(events[0], "CreateFile PIO1:");

  // The next touch acts normally.
  panel::TapAt(50, 50);
  panel::PumpMessages();
  EXPECT_EQ(m_delivered, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(WakingTouchTest, BacklightOn_TouchPassesAndClearsTheIdleCount) {
  IdleCounter = 200;
  panel::PressAt(50, 50);
  panel::MoveTo(60, 50);
  panel::ReleaseAt(60, 50);
  panel::PumpMessages();
  EXPECT_EQ(m_delivered, (std::vector<UINT>{WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP}));
  EXPECT_EQ(IdleCounter, 0);
  EXPECT_TRUE(panel::BoardEventTexts().empty());
}

}  // namespace
