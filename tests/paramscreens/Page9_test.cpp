#include "PageCases.h"

namespace {

using namespace paramtest;
const RowKind V = RowKind::kValue, T = RowKind::kToggle;

TEST(Page9, Rows_OtherDealers) {
  PageRig rig(0);
  CheckLayout(rig, 9, 2,
              {{1, 1, T, "t21", 0, 1}, {1, 2, T, "t22", 0, 1}, {1, 3, T, "t23", 0, 1}, {1, 4, T, "t26", 0, 1},
               {1, 5, V, "t29", 0, 1}, {2, 1, V, "t24", 0, 1}, {2, 2, V, "t27", 1, 1}, {2, 3, V, "t28", 1, 1}});
}

TEST(Page9, Rows_Dealer9) {
  PageRig rig(9);
  CheckLayout(rig, 9, 0,
              {{1, 1, T, "t21", 0, 1}, {1, 2, T, "t22", 0, 1}, {1, 3, T, "t23", 0, 1}, {1, 4, V, "t29", 0, 1},
               {3, 1, T, "PID", 0, 1}, {3, 2, V, "PID1   P", 1, 1}, {3, 3, V, "PID1   I", 1, 1},
               {3, 4, V, "PID1   D", 1, 1}, {3, 5, V, "PID2   P", 1, 1}, {4, 1, V, "PID2   I", 1, 1},
               {4, 2, V, "PID2   D", 1, 1}, {4, 3, V, "PID1 State", 1, 1}, {4, 4, V, "PID2 State", 1, 1}});
  for (int row = 1; row <= 5; ++row) EXPECT_EQ(rig.Row(9, 2, row).kind, RowKind::kHidden);
}

TEST(Page9, SubPageCount_Dealer9FollowsTheAccessLevel) {
  PageRig rig(9);
  EXPECT_EQ(rig.Draw(9, 1).count, 1);
  rig.d.m_unlockLevel = 2;
  EXPECT_EQ(rig.Draw(9, 1).count, 4);
}

TEST(Page9, ValueTexts) {
  PageRig rig(0);
  CheckTexts(rig, 9,
             {{"low-frequency run time", 1, 5, [](CSystemData& d) { d.m_lowFreqRunTime = 30; }, "30t419"},
              {"auto 0", 2, 1, [](CSystemData& d) { d.m_autoFunction = 0; }, "t436"},
              {"auto 1", 2, 1, [](CSystemData& d) { d.m_autoFunction = 1; }, "t425"},
              {"auto 2", 2, 1, [](CSystemData& d) { d.m_autoFunction = 2; }, "t427"},
              {"auto 3", 2, 1, [](CSystemData& d) { d.m_autoFunction = 3; }, "t428"},
              {"auto 4", 2, 1, [](CSystemData& d) { d.m_autoFunction = 4; }, "t436"},
              {"auto -1", 2, 1, [](CSystemData& d) { d.m_autoFunction = -1; }, "t436"},
              {"heat start", 2, 2, [](CSystemData& d) { d.m_heatAmbientStart = -5; }, "-5℃"},
              {"cool start", 2, 3, [](CSystemData& d) { d.m_coolAmbientStart = 35; }, "35℃"},
              {"pid 1 P", 3, 2, [](CSystemData& d) { d.m_pid1P = -250; }, "-250"},
              {"pid 1 state", 4, 3,
               [](CSystemData& d) {
                 d.m_pidDebug[10] = 1.25f;
                 d.m_pidDebug[16] = -2.0f;
                 d.m_pidDebug[17] = 30.06f;
               },
               "1.2--2.0-30.1"},
              {"pid 2 state", 4, 4,
               [](CSystemData& d) {
                 d.m_pidDebug[0] = 0.5f;
                 d.m_pidDebug[6] = 7.0f;
                 d.m_pidDebug[7] = -0.25f;
               },
               "0.5-7.0--0.2"}});
}

TEST(Page9, Toggles_FlipBetweenZeroAndOne) {
  PageRig rig(9);
  rig.d.m_unlockLevel = 1;
  rig.d.m_gearPidSelect = 2;  // a stored 2 becomes 0
  rig.Tap(9, 3, 1);
  EXPECT_EQ(rig.d.m_gearPidSelect, 0);
  rig.Tap(9, 3, 1);
  EXPECT_EQ(rig.d.m_gearPidSelect, 1);
  rig.Tap(9, 1, 2);
  EXPECT_EQ(rig.d.m_heatingEnabled, 1);
  rig.d.m_unlockLevel = 0;  // locked rows do not react
  rig.Tap(9, 1, 2);
  EXPECT_EQ(rig.d.m_heatingEnabled, 1);
}

TEST(Page9, Editors) {
  PageRig rig(0);
  CheckEdits(rig, 9,
             {{1, 5, &CSystemData::m_lowFreqRunTime, "t29", 5, 180, "t419", 1, 60},
              {2, 2, &CSystemData::m_heatAmbientStart, "t27", -10, 25, "℃", 1, -1},
              {2, 3, &CSystemData::m_coolAmbientStart, "t28", 20, 53, "℃", 1, 40},
              {3, 2, &CSystemData::m_pid1P, "PID1   P", -10000, 10000, "℃", 1, -10000},
              {3, 3, &CSystemData::m_pid1I, "PID1   I", -10000, 10000, "℃", 1, 3},
              {3, 4, &CSystemData::m_pid1D, "PID1   D", -10000, 10000, "℃", 1, 4},
              {3, 5, &CSystemData::m_pid2P, "PID2   P", -10000, 10000, "℃", 1, 5},
              {4, 1, &CSystemData::m_pid2I, "PID2   I", -10000, 10000, "℃", 1, 6},
              {4, 2, &CSystemData::m_pid2D, "PID2   D", -10000, 10000, "℃", 1, 10000}});
  CheckChoices(rig, 9, {{2, 1, &CSystemData::m_autoFunction, "t24", {"t436", "t425", "t427", "t428"}}});
  PageRig dealer9(9);
  CheckEdits(dealer9, 9, {{1, 4, &CSystemData::m_lowFreqRunTime, "t29", 5, 180, "t419", 1, 90}});
}

}  // namespace
