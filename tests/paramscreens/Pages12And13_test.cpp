#include "PageCases.h"

namespace {

using namespace paramtest;
const RowKind V = RowKind::kValue, T = RowKind::kToggle;

TEST(Page12, Rows_OnlyTheProgrammeSwitchIsUsable) {
  PageRig rig(0);
  CheckLayout(rig, 12, 2,
              {{1, 1, T, "t146", 0, 1}, {1, 2, V, "t147", 0, 0}, {1, 3, V, "t148", 0, 0}, {1, 4, V, "t149", 0, 0},
               {1, 5, V, "t150", 0, 0}, {2, 1, V, "t151", 0, 0}, {2, 2, V, "t152", 0, 0}});
}

TEST(Page12, ProgressTexts) {
  PageRig rig(0);
  CheckTexts(rig, 12,
             {{"stage", 1, 2, [](CSystemData& d) { d.m_floorHeatStage = 12; }, "12"},
              {"stage hours", 1, 3, [](CSystemData& d) { d.m_floorStageRunTime = 48; }, "48t418"},
              {"stage set temperature", 1, 4, [](CSystemData& d) { d.m_floorStageSetTemp = 35; }, "35℃"},
              {"hours in band", 1, 5, [](CSystemData& d) { d.m_floorStageEffectiveTime = 20; }, "20t418"},
              {"total hours", 2, 1, [](CSystemData& d) { d.m_floorHeatTotalTime = 300; }, "300t418"},
              {"highest temperature", 2, 2, [](CSystemData& d) { d.m_floorHeatMaxTemp = 45; }, "45℃"}});
}

TEST(Page12, SwitchingOn_RestartsFromTheFirstStage_SwitchingOffKeepsIt) {
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  rig.d.m_floorHeatStage = 12;
  rig.Tap(12, 1, 1);
  EXPECT_EQ(rig.d.m_floorHeatEnabled, 1);
  EXPECT_EQ(U8(rig.Row(12, 1, 2).value), "0");
  rig.d.m_floorHeatStage = 5;
  rig.Tap(12, 1, 1);
  EXPECT_EQ(rig.d.m_floorHeatEnabled, 0);
  EXPECT_EQ(rig.d.m_floorHeatStage, 5);
  EXPECT_EQ(rig.Tap(12, 1, 2), 0);  // progress rows do not react
}

TEST(Page13, Rows) {
  PageRig rig(0);
  CheckLayout(rig, 13, 2,
              {{1, 1, T, "t120", 1, 1}, {1, 2, V, "t119", 0, 1}, {1, 3, T, "t121", 1, 1}, {1, 4, T, "t122", 1, 1},
               {1, 5, T, "t278", 0, 1}, {2, 1, V, "t279", 0, 1}, {2, 2, T, "t158", 1, 1}, {2, 3, T, "t159", 1, 1},
               {2, 4, V, "t160", 0, 1}});
  PageRig dealer9(9);
  CheckLayout(dealer9, 13, 1,
              {{1, 1, T, "t278", 0, 1}, {1, 2, V, "t279", 0, 1}, {1, 3, T, "t122", 0, 1}, {1, 4, T, "t159", 1, 1}});
}

TEST(Page13, SignalType_ListsText441First) {
  PageRig rig(0);
  CheckTexts(rig, 13,
             {{"type 0", 1, 2, [](CSystemData& d) { d.m_powerCutSignalType = 0; }, "t441"},
              {"type 1", 1, 2, [](CSystemData& d) { d.m_powerCutSignalType = 1; }, "t440"},
              {"eco start", 2, 1, [](CSystemData& d) { d.m_ecoHeatAmbientStart = -3; }, "-3℃"},
              {"power-off ambient", 2, 4, [](CSystemData& d) { d.m_outdoorPowerOffAmbient = 12; }, "12℃"}});
  CheckChoices(rig, 13, {{1, 2, &CSystemData::m_powerCutSignalType, "t119", {"t441", "t440"}}});
}

TEST(Page13, Edits) {
  PageRig rig(0);
  CheckEdits(rig, 13,
             {{2, 1, &CSystemData::m_ecoHeatAmbientStart, "t279", -20, 43, "℃", 1, 43},
              {2, 4, &CSystemData::m_outdoorPowerOffAmbient, "t160", -5, 25, "℃", 1, -5}});
  PageRig dealer9(9);
  CheckEdits(dealer9, 13, {{1, 2, &CSystemData::m_ecoHeatAmbientStart, "t279", -20, 43, "℃", 1, 10}});
  dealer9.d.m_unlockLevel = 1;
  dealer9.Tap(13, 1, 1);
  EXPECT_EQ(dealer9.d.m_ecoHeatEnabled, 1);
}

}  // namespace
