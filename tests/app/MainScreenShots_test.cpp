// Pictures of the main screen and the value editor, drawn by the screens' own code over fixed states
// of the record, against the references in tests/references/main (`make screenshots` rewrites them).
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "AppFixture.h"
#include "DlgMain.h"
#include "DlgValue.h"
#include "LangTexts.h"
#include "MainScreenScenes.h"
#include "RunningScenes.h"
#include "Screenshot.h"

namespace {

using testing_support::ScreenMatchesReference;

const int kEnglish = 0;

class MainScreenShots : public AppFixture {
protected:
  void TearDown() override {
    scenes::ResetFaults();
    *GetSystemData() = CSystemData();
    AppFixture::TearDown();
  }
};

TEST_F(MainScreenShots, ThreeLayoutsInThreeOperations) {
  for (int dealer : {0, 3, 9}) {
    for (scenes::Operation operation :
         {scenes::Operation::kHeating, scenes::Operation::kCooling, scenes::Operation::kHotWater}) {
      const std::string name = "main/dealer-" + std::to_string(dealer) + "-" + scenes::Name(operation);
      SCOPED_TRACE(name);
      scenes::DealerLook look(dealer);
      LoadLanguage(dealer, kEnglish);
      scenes::SetOperation(operation);
      std::unique_ptr<DlgMain> main = scenes::OpenMainScreen();
      ASSERT_NE(main, nullptr);
      EXPECT_TRUE(ScreenMatchesReference(name));
      main->DestroyWindow();
    }
  }
}

TEST_F(MainScreenShots, FailedSensorAndAFaultInTheTicker) {
  scenes::DealerLook look(0);
  LoadLanguage(0, kEnglish);
  scenes::SetOperation(scenes::Operation::kHeating);
  scenes::FailRoomSensor(scenes::kSceneNow);
  std::unique_ptr<DlgMain> main = scenes::OpenMainScreen();
  ASSERT_NE(main, nullptr);
  // The room temperature's label shows the failed sensor, the ticker the room sensor's fault, and
  // the outdoor ambient still reads.
  const panel::DrawnText* room = panel::FindDrawnText(u"--");
  ASSERT_NE(room, nullptr);
  EXPECT_EQ(room->window, GetDlgItem(main->m_hWnd, DlgMain::kRoomTemp));
  EXPECT_NE(panel::FindDrawnText(u"F13 Room sensor fault TR"), nullptr);
  EXPECT_NE(panel::FindDrawnText(u"7.0℃"), nullptr);
  EXPECT_TRUE(ScreenMatchesReference("main/dealer-0-failed-sensor-and-fault"));
}

TEST_F(MainScreenShots, ValueEditorOverTheMainScreen) {
  for (int dealer : {0, 9}) {
    SCOPED_TRACE(dealer);
    scenes::DealerLook look(dealer);
    LoadLanguage(dealer, kEnglish);
    scenes::SetOperation(scenes::Operation::kHeating);
    std::unique_ptr<DlgMain> main = scenes::OpenMainScreen();
    ASSERT_NE(main, nullptr);
    int32_t field = 48;
    ::testing::AssertionResult matches = ::testing::AssertionFailure();
    panel::ScriptedInput script;
    script.Then([&] {
      matches = ScreenMatchesReference("main/value-editor-dealer-" + std::to_string(dealer));
      RECT r{};
      GetWindowRect(GetDlgItem(GetActiveWindow(), DlgValue::kCancel), &r);
      panel::TapAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
    EXPECT_EQ(EditValue(main.get(), LangText(85), field, 25, 75, u"℃", 1), std::nullopt);
    EXPECT_TRUE(matches);
    main->DestroyWindow();
  }
}

}  // namespace
