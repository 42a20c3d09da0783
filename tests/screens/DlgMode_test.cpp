#include "DlgMode.h"

#include <gtest/gtest.h>

#include "ControlHelpers.h"
#include "MainHostFixture.h"

namespace {

class DlgModeTest : public MainHostFixture {
protected:
  DlgMode& Strip() { return main.ModeStrip(); }
  CRect PlaceOf(int id) {
    CRect r;
    GetChildRect(r, CWnd::FromHandle(GetDlgItem(Strip().m_hWnd, id)));
    return r;
  }
  bool Visible(int id) { return IsWindowVisible(GetDlgItem(Strip().m_hWnd, id)) != FALSE; }
  void OpenStrip() {
    GetSystemData()->m_systemSwitch = 1;
    TapControl(DlgMain::kMode, main.m_hWnd);
  }
};

TEST_F(DlgModeTest, Popup_PacksTheEnabledModesFromTheLeft) {
  struct Case {
    const char* name;
    int heating, cooling, hotWater;
    int width;
    int heatingX, coolingX, hotWaterX, autoX, quickX;  // -1: hidden
  };
  const Case cases[] = {
      {"all three", 1, 1, 1, 318, 2, 67, 132, 197, 253},
      {"hot water only", 0, 0, 1, 188, -1, -1, 2, 67, 123},
      {"heating and cooling", 1, 1, 0, 188, 2, 67, -1, 132, -1},
      {"none", 0, 0, 0, 58, -1, -1, -1, 2, -1},
  };
  CreateMain();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSystemData& r = *GetSystemData();
    r.m_heatingEnabled = c.heating;
    r.m_coolingEnabled = c.cooling;
    r.m_hotWaterEnabled = c.hotWater;
    OpenStrip();
    ASSERT_TRUE(Strip().IsWindowVisible());
    EXPECT_EQ(main.BlinkCount(), 7);
    CRect strip;
    GetChildRect(strip, &Strip());
    EXPECT_EQ(strip, CRect(61, 159, 61 + c.width, 159 + 56));
    const int ids[] = {DlgMode::kHeating, DlgMode::kCooling, DlgMode::kHotWater, DlgMode::kAuto, DlgMode::kQuickHeat};
    const int xs[] = {c.heatingX, c.coolingX, c.hotWaterX, c.autoX, c.quickX};
    for (int i = 0; i < 5; ++i) {
      SCOPED_TRACE(ids[i]);
      EXPECT_EQ(Visible(ids[i]), xs[i] >= 0);
      if (xs[i] >= 0) {
        EXPECT_EQ(PlaceOf(ids[i]).left, xs[i]);
        EXPECT_EQ(PlaceOf(ids[i]).top, 0);
      }
    }
    TapControl(DlgMain::kMode, main.m_hWnd);  // the mode button again closes the strip
    EXPECT_FALSE(Strip().IsWindowVisible());
    EXPECT_EQ(main.BlinkCount(), 0);
  }
}

TEST_F(DlgModeTest, Choices_WriteTheModeAndTheBoostAndBlinkOnChange) {
  struct Case {
    const char* name;
    int runMode, boost;
    int button;
    int expectMode, expectBoost, blink;
  };
  const Case cases[] = {
      {"heating from cooling", 2, 1, DlgMode::kHeating, 1, 0, 6},
      {"heating again stops the blinking", 1, 1, DlgMode::kHeating, 1, 0, 0},
      {"cooling", 1, 0, DlgMode::kCooling, 2, 0, 6},
      {"hot water", 1, 0, DlgMode::kHotWater, 3, 0, 6},
      {"auto", 1, 0, DlgMode::kAuto, 4, 0, 6},
      {"quick heat switches the boost on", 1, 0, DlgMode::kQuickHeat, 1, 1, 6},
      {"quick heat twice leaves it on", 1, 1, DlgMode::kQuickHeat, 1, 1, 0},
  };
  CSystemData& r = *GetSystemData();
  r.m_heatingEnabled = r.m_coolingEnabled = r.m_hotWaterEnabled = 1;
  CreateMain();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r.m_runMode = c.runMode;
    r.m_hwBoost = c.boost;
    OpenStrip();
    TapControl(c.button, Strip().m_hWnd);
    EXPECT_EQ(r.m_runMode, c.expectMode);
    EXPECT_EQ(r.m_hwBoost, c.expectBoost);
    EXPECT_EQ(main.BlinkCount(), c.blink);
    EXPECT_FALSE(Strip().IsWindowVisible());
  }
}

TEST_F(DlgModeTest, Faces_ByDealer) {
  struct Case {
    int dealer;
    uint32_t heatingFace, quickFace;
    bool captions;
  };
  // Icon styles 22 and 14, 152 and 155, 100 and 98 give these faces.
  const Case cases[] = {{0, 228, 214, true}, {3, 411, 414, true}, {15, 411, 414, true}, {9, 332, 330, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dealer);
    g_dealerId = c.dealer;
    GetSystemData()->m_dealerId = c.dealer;
    CreateMain();
    auto* heating = static_cast<CSkinButton*>(CWnd::FromHandlePermanent(GetDlgItem(Strip().m_hWnd, DlgMode::kHeating)));
    auto* quick = static_cast<CSkinButton*>(CWnd::FromHandlePermanent(GetDlgItem(Strip().m_hWnd, DlgMode::kQuickHeat)));
    ASSERT_NE(heating, nullptr);
    EXPECT_EQ(heating->GetLayout().normalFace, c.heatingFace);
    EXPECT_EQ(quick->GetLayout().normalFace, c.quickFace);
    EXPECT_EQ(Text(Strip(), DlgMode::kHeating).IsEmpty(), !c.captions);
    EXPECT_EQ(Strip().GetShownState(), SW_HIDE);
    main.DestroyWindow();
  }
}

}  // namespace
