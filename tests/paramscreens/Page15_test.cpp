#include "PageCases.h"

namespace {

using namespace paramtest;
const RowKind V = RowKind::kValue;

TEST(Page15, Rows_AllReadOnly) {
  PageRig rig(0);
  CheckLayout(rig, 15, 5,
              {{1, 1, V, "t178", 0, 0}, {1, 2, V, "t177", 0, 0}, {1, 3, V, "t180", 0, 0}, {1, 4, V, "t181", 0, 0},
               {1, 5, V, "t182", 0, 0}, {2, 1, V, "t183", 0, 0}, {2, 2, V, "t184", 0, 0}, {2, 3, V, "t185", 0, 0},
               {2, 4, V, "t186", 0, 0}, {2, 5, V, "t187", 0, 0}, {3, 1, V, "t189", 0, 0}, {3, 2, V, "t188", 0, 0},
               {3, 3, V, "t190", 0, 0}, {3, 4, V, "t191", 0, 0}, {3, 5, V, "t192", 0, 0}, {4, 1, V, "t193", 0, 0},
               {4, 2, V, "t194", 0, 0}, {4, 3, V, "t195", 0, 0}, {4, 4, V, "t133", 0, 0}, {4, 5, V, "t200", 0, 0},
               {5, 1, V, "t198", 0, 0}, {5, 2, V, "t199", 0, 0}, {5, 3, V, "t201", 0, 0}, {5, 4, V, "t202", 0, 0},
               {5, 5, V, "t179", 0, 0}});
  rig.d.m_unlockLevel = 2;
  for (int row = 1; row <= 5; ++row) EXPECT_EQ(rig.Tap(15, 1, row), 0);
}

TEST(Page15, VersionsAndRunningValues) {
  PageRig rig(0);
  CheckTexts(rig, 15,
             {{"version with test number", 1, 1,
               [](CSystemData& d) {
                 d.m_softwareVersion = 205;
                 d.m_testNumber = 3;
               },
               "V2.05-T3"},
              {"version without test number", 1, 1, [](CSystemData& d) { d.m_testNumber = 0; }, "V2.05"},
              {"data version", 1, 2, [](CSystemData& d) { d.m_dataVersion = 110; }, "V1.10"},
              {"outlet", 1, 3, [](CSystemData& d) { d.m_outletTemp = 35.25f; }, "35.2℃"},
              {"inlet failed", 1, 4, [](CSystemData& d) { d.m_inletTemp = -99.0f; }, "-99.0℃"},
              {"coil", 1, 5, [](CSystemData& d) { d.m_coilTemp = -3.5f; }, "-3.5℃"},
              {"tank", 2, 1, [](CSystemData& d) { d.m_tankTemp = 48.0f; }, "48.0℃"},
              {"heat/cool", 2, 2, [](CSystemData& d) { d.m_heatCoolTemp = 30.1f; }, "30.1℃"},
              {"indoor value 1", 2, 3, [](CSystemData& d) { d.m_indoorValue1 = 35.0f; }, "65.0"},
              {"compressor", 2, 4, [](CSystemData& d) { d.m_compressorHz = 72; }, "72Hz"},
              {"valve", 2, 5, [](CSystemData& d) { d.m_eevSteps = 240; }, "240P"},
              {"ambient A", 3, 1, [](CSystemData& d) { d.m_ambientTempA = 2.5f; }, "2.5℃"},
              {"ambient B", 3, 2, [](CSystemData& d) { d.m_ambientTempB = -1.0f; }, "-1.0℃"},
              {"ambient C", 3, 3, [](CSystemData& d) { d.m_ambientTempC = 4.0f; }, "4.0℃"},
              {"pressure A", 3, 4, [](CSystemData& d) { d.m_pressureA = 28.4f; }, "28.4Bar"},
              {"pressure B", 3, 5, [](CSystemData& d) { d.m_pressureB = 9.0f; }, "9.0Bar"},
              {"2113", 4, 1, [](CSystemData& d) { d.m_outdoorTemp2113 = 60.0f; }, "60.0℃"},
              {"2114", 4, 2, [](CSystemData& d) { d.m_outdoorTemp2114 = 1.0f; }, "1.0℃"},
              {"2112", 4, 3, [](CSystemData& d) { d.m_outdoorTemp2112 = 12.3f; }, "12.3℃"},
              {"text 200", 4, 5, [](CSystemData&) {}, "t200"},
              {"fan 1", 5, 1, [](CSystemData& d) { d.m_fan1Rpm = 650; }, "650"},
              {"fan 2", 5, 2, [](CSystemData& d) { d.m_fan2Rpm = 0; }, "0"},
              {"current", 5, 3, [](CSystemData& d) { d.m_current = 7.5f; }, "7.5A"},
              {"voltage", 5, 4, [](CSystemData& d) { d.m_voltage = 230; }, "230V"},
              {"outdoor version", 5, 5, [](CSystemData& d) { d.m_outdoorVersion = 1007; }, "V10.07"}});
}

TEST(Page15, RunTime_IsADurationTextOfItsMinutes) {
  PageRig rig(0);
  CheckTexts(rig, 15,
             {{"none", 4, 4, [](CSystemData& d) { d.m_heatPumpRunTime = 0; }, ""},
              {"1500 minutes", 4, 4, [](CSystemData& d) { d.m_heatPumpRunTime = 1500; }, "1D1H"},
              {"61 minutes", 4, 4, [](CSystemData& d) { d.m_heatPumpRunTime = 61; }, "1H1M"},
              {"59 minutes", 4, 4, [](CSystemData& d) { d.m_heatPumpRunTime = 59; }, "59M"},
              {"a year", 4, 4, [](CSystemData& d) { d.m_heatPumpRunTime = 525600; }, "365D"}});
}

}  // namespace
