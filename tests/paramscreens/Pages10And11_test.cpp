#include "PageCases.h"

namespace {

using namespace paramtest;
const RowKind V = RowKind::kValue, T = RowKind::kToggle;

TEST(Page10, Rows) {
  PageRig rig(0);
  CheckLayout(rig, 10, 2,
              {{1, 1, T, "t75", 1, 1}, {1, 2, V, "t76", 1, 1}, {1, 3, T, "t77", 1, 1}, {1, 4, V, "t78", 1, 1},
               {1, 5, V, "t79", 1, 1}, {2, 1, V, "t81", 0, 1}, {2, 2, T, "t82", 0, 1}, {2, 3, T, "t164", 0, 1},
               {2, 4, T, "t165", 0, 1}, {2, 5, V, "t166", 0, 1}});
  PageRig dealer9(9);
  CheckLayout(dealer9, 10, 2,
              {{2, 1, V, "t81", 0, 1}, {2, 2, T, "t82", 0, 1}, {2, 3, T, "t165", 0, 1}, {2, 4, V, "t166", 0, 1}});
}

TEST(Page10, ValueTexts) {
  PageRig rig(0);
  CheckTexts(rig, 10,
             {{"priority 0", 1, 2, [](CSystemData& d) { d.m_heatBackupPriority = 0; }, "t442"},
              {"priority 1", 1, 2, [](CSystemData& d) { d.m_heatBackupPriority = 1; }, "t443"},
              {"priority 5", 1, 2, [](CSystemData& d) { d.m_heatBackupPriority = 5; }, "t443"},
              {"hot-water priority", 1, 4, [](CSystemData& d) { d.m_hotWaterBackupPriority = 0; }, "t442"},
              {"integral", 1, 5, [](CSystemData& d) { d.m_heatIntegralSetting = 300; }, "300"},
              {"shortfall time", 2, 1, [](CSystemData& d) { d.m_insufficientCapacityTime = 30; }, "30t419"},
              {"cut-off ambient", 2, 5, [](CSystemData& d) { d.m_auxOffAmbientTemp = -20; }, "-20℃"}});
}

TEST(Page10, Edits) {
  PageRig rig(0);
  CheckEdits(rig, 10,
             {{1, 5, &CSystemData::m_heatIntegralSetting, "t79", 0, 600, "℃*t419", 5, 595},
              {2, 1, &CSystemData::m_insufficientCapacityTime, "t81", 5, 120, "t419", 1, 120},
              {2, 5, &CSystemData::m_auxOffAmbientTemp, "t166", -20, 30, "℃", 1, -20}});
  CheckChoices(rig, 10,
               {{1, 2, &CSystemData::m_heatBackupPriority, "t76", {"t442", "t443"}},
                {1, 4, &CSystemData::m_hotWaterBackupPriority, "t78", {"t442", "t443"}}});
  PageRig dealer9(9);
  CheckEdits(dealer9, 10, {{2, 4, &CSystemData::m_auxOffAmbientTemp, "t166", -20, 30, "℃", 1, 25}});
}

TEST(Page10, Dealer9_Row3TogglesTheAmbientCutOff) {
  PageRig rig(9);
  rig.d.m_unlockLevel = 1;
  rig.Tap(10, 2, 3);
  EXPECT_EQ(rig.d.m_auxOffAboveAmbient, 1);
  EXPECT_EQ(rig.d.m_auxOffWithTankHeater, 0);
  PageRig other(0);
  other.d.m_unlockLevel = 1;
  other.Tap(10, 2, 3);
  EXPECT_EQ(other.d.m_auxOffWithTankHeater, 1);
  EXPECT_EQ(other.d.m_auxOffAboveAmbient, 0);
}

TEST(Page11, Rows) {
  PageRig rig(0);
  CheckLayout(rig, 11, 4,
              {{1, 1, V, "t136", 0, 1}, {1, 2, V, "t141", 0, 1}, {1, 3, V, "t142", 0, 1}, {1, 4, V, "t143", 0, 1},
               {1, 5, T, "t292", 0, 1}, {2, 1, T, "t295", 0, 1}, {2, 2, T, "t296", 0, 1}, {2, 3, T, "t297", 0, 1},
               {2, 4, T, "t298", 0, 1}, {2, 5, T, "t299", 0, 1}, {3, 1, T, "t300", 0, 1}, {3, 2, V, "t161", 0, 1},
               {3, 3, V, "t162", 0, 1}, {3, 4, V, "t163", 0, 1}, {3, 5, T, "t167", 0, 0}, {4, 1, T, "t168", 0, 0}});
}

TEST(Page11, ValueTexts) {
  PageRig rig(0);
  CheckTexts(rig, 11,
             {{"pump type 0", 1, 1, [](CSystemData& d) { d.m_pumpType = 0; }, "t462"},
              {"pump type 1", 1, 1, [](CSystemData& d) { d.m_pumpType = 1; }, "t463"},
              {"work mode 0", 1, 2, [](CSystemData& d) { d.m_pumpWorkMode = 0; }, "t470"},
              {"work mode 1", 1, 2, [](CSystemData& d) { d.m_pumpWorkMode = 1; }, "t471"},
              {"work mode 2", 1, 2, [](CSystemData& d) { d.m_pumpWorkMode = 2; }, "t472"},
              {"work mode 9", 1, 2, [](CSystemData& d) { d.m_pumpWorkMode = 9; }, "t472"},
              {"standby", 1, 3, [](CSystemData& d) { d.m_pumpStandbyTime = 15; }, "15t419"},
              {"run", 1, 4, [](CSystemData& d) { d.m_pumpRunTime = 3; }, "3t419"},
              {"speed heating 1", 3, 2, [](CSystemData& d) { d.m_pumpSpeedHeating = 1; }, "t468"},
              {"speed cooling 0", 3, 3, [](CSystemData& d) { d.m_pumpSpeedCooling = 0; }, "t467"},
              {"speed hot water 7", 3, 4, [](CSystemData& d) { d.m_pumpSpeedHotWater = 7; }, "t469"}});
}

TEST(Page11, Edits) {
  PageRig rig(0);
  CheckEdits(rig, 11,
             {{1, 3, &CSystemData::m_pumpStandbyTime, "t142", 5, 60, "t419", 1, 60},
              {1, 4, &CSystemData::m_pumpRunTime, "t143", 1, 10, "t419", 1, 1}});
  CheckChoices(rig, 11,
               {{1, 1, &CSystemData::m_pumpType, "t136", {"t462", "t463"}},
                {1, 2, &CSystemData::m_pumpWorkMode, "t141", {"t470", "t471", "t472"}},
                {3, 2, &CSystemData::m_pumpSpeedHeating, "t161", {"t467", "t468", "t469"}},
                {3, 3, &CSystemData::m_pumpSpeedCooling, "t162", {"t467", "t468", "t469"}},
                {3, 4, &CSystemData::m_pumpSpeedHotWater, "t163", {"t467", "t468", "t469"}}});
}

TEST(Page11, ServiceRuns_StoreTheirRequestCodesOnlyWhileAllowed) {
  struct Case {
    const char* name;
    int sub;
    int32_t CSystemData::*field;
    int on;
    int heating, cooling, hotWater, systemSwitch, level;
    bool usable;
  };
  const Case cases[] = {
      {"run 1 heating", 3, &CSystemData::m_serviceToggle1, 32, 1, 0, 0, 0, 1, true},
      {"run 1 cooling", 3, &CSystemData::m_serviceToggle1, 32, 0, 1, 0, 0, 2, true},
      {"run 1 neither", 3, &CSystemData::m_serviceToggle1, 32, 0, 0, 1, 0, 1, false},
      {"run 1 system on", 3, &CSystemData::m_serviceToggle1, 32, 1, 1, 0, 1, 1, false},
      {"run 1 locked", 3, &CSystemData::m_serviceToggle1, 32, 1, 1, 0, 0, 0, false},
      {"run 2 hot water", 4, &CSystemData::m_serviceToggle2, 16, 0, 0, 1, 0, 1, true},
      {"run 2 no hot water", 4, &CSystemData::m_serviceToggle2, 16, 1, 1, 0, 0, 1, false},
      {"run 2 system on", 4, &CSystemData::m_serviceToggle2, 16, 0, 0, 1, 1, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageRig rig(0);
    rig.d.m_heatingEnabled = c.heating;
    rig.d.m_coolingEnabled = c.cooling;
    rig.d.m_hotWaterEnabled = c.hotWater;
    rig.d.m_systemSwitch = c.systemSwitch;
    rig.d.m_unlockLevel = c.level;
    const int row = c.sub == 3 ? 5 : 1;
    EXPECT_EQ(rig.Row(11, c.sub, row).enabled != 0, c.usable);
    rig.Tap(11, c.sub, row);
    EXPECT_EQ(rig.d.*c.field, c.usable ? c.on : 0);
    EXPECT_EQ(rig.Row(11, c.sub, row).state != 0, c.usable);
    rig.Tap(11, c.sub, row);
    EXPECT_EQ(rig.d.*c.field, 0);
  }
}

}  // namespace
