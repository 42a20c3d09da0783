#include "DemoMode.h"
#include "PageCases.h"

namespace {

using namespace paramtest;
const RowKind V = RowKind::kValue, T = RowKind::kToggle, C = RowKind::kCommand;

struct DemoOff {
  ~DemoOff() { DemoMode = 0; }
};

TEST(Page16, Rows) {
  PageRig rig(0);
  CheckLayout(
      rig, 16, 15,
      {{1, 1, C, "保存工厂设置", 1, 1},
       {1, 2, T, "是否模拟调试", 1, 1},
       {1, 3, V, "经销商ID", 1, 1},
       {1, 4, T, "水流开关是否有效", 1, 1},
       {1, 5, V, "经销商密码", 1, 1},
       {2, 1, V, "环境温度TA", 1, 1},
       {2, 2, V, "房间温度TR", 1, 1},
       {2, 3, V, "热水温度TW", 1, 1},
       {2, 4, V, "制热/制冷温度TH", 1, 1},
       {2, 5, V, "盘管温度TP", 1, 1},
       {3, 1, V, "混水1温度TV1", 1, 1},
       {3, 2, V, "混水2温度TV2", 1, 1},
       {3, 3, V, "出水温度TO", 1, 1},
       {3, 4, V, "入水温度TI", 1, 1},
       {3, 5, T, "热泵除霜状态", 0, 1},
       {4, 1, T, "水流开关", 0, 1},
       {4, 2, T, "用电中断开关", 0, 1},
       {4, 3, T, "制冷信号开关", 0, 1},
       {4, 4, T, "制热信号开关", 0, 1},
       {4, 5, T, "高温信号开关", 0, 1},
       {5, 1, V, "使用串口", 1, 1},
       {5, 2, V, "内机地址", 1, 1},
       {5, 3, V, "外机地址", 1, 1},
       {5, 4, V, "波特率", 1, 1},
       {5, 5, T, "四通阀防卡死", 1, 1},
       {6, 1, V, "数据位", 1, 1},
       {6, 2, V, "校验", 1, 1},
       {6, 3, V, "停止位", 1, 1},
       {6, 4, V, "风机功率", 1, 1},
       {6, 5, V, "水泵功率", 1, 1},
       {7, 1, V, "底盘加热带控制方式", 1, 1},
       {7, 2, V, "底盘加热带开启温度", 1, 1},
       {7, 3, V, "底盘加热带关闭回差", 1, 1},
       {7, 4, V, "曲轴加热带开启温度", 1, 1},
       {7, 5, V, "曲轴加热带关闭回差", 1, 1},
       {8, 1, V, "系统高压降频保护点", 1, 1},
       {8, 2, V, "除霜参数-电子膨胀阀开度", 0, 0},
       {8, 3, V, "除霜参数-进入盘管温度", 0, 0},
       {8, 4, V, "除霜参数-退出盘管温度", 0, 0},
       {8, 5, V, "除霜参数-最长时间", 0, 0},
       {9, 1, V, "除霜参数-准备频率", 0, 0},
       {9, 2, V, "除霜参数-除霜频率", 0, 0},
       {9, 3, V, "室外风机高速", 0, 0},
       {9, 4, V, "室外风机中速", 0, 0},
       {9, 5, V, "室外风机低速", 0, 0},
       {10, 1, V, "TUP降频温度", 1, 1},
       {10, 2, V, "TUP恢复温度", 1, 1},
       {10, 3, V, "TUP停机温度", 1, 1},
       {10, 4, T, "三通阀防卡死", 1, 1},
       {10, 5, T, "-7度时限制低于F7档位运行", 1, 1},
       {11, 1, V, "t35", 0, 1},
       {11, 2, V, "t36", 0, 1},
       {11, 3, V, "t37", 0, 1},
       {11, 4, V, "t38", 0, 1},
       {11, 5, T, "t137", 0, 1},
       {12, 1, V, "工况A", 0, 1},
       {12, 2, V, "工况B", 0, 1},
       {12, 3, V, "工况C", 0, 1},
       {12, 4, V, "工况D", 0, 1},
       {12, 5, V, "工况E", 0, 1},
       {13, 1, V, "工况F", 0, 1},
       {13, 2, V, "工况G", 0, 1},
       {13, 3, V, "工况H", 0, 1},
       {13, 4, V, "工况I", 0, 1},
       {13, 5, V, "工况J", 0, 1},
       {14, 1, V, "档位PID参数选择", 1, 1},
       {14, 2, V, "档位PID1参数P", 1, 1},
       {14, 3, V, "档位PID1参数I", 1, 1},
       {14, 4, V, "档位PID1参数D", 1, 1},
       {14, 5, V, "档位PID2参数P", 1, 1},
       {15, 1, V, "档位PID2参数I", 1, 1},
       {15, 2, V, "档位PID2参数D", 1, 1}});
}

TEST(Page16, ValueTexts) {
  PageRig rig(0);
  CheckTexts(
      rig, 16,
      {{"dealer id", 1, 3, [](CSystemData& d) { d.m_dealerId = 9; }, "9"},
       {"password", 1, 5, [](CSystemData& d) { d.m_dealerPassword = 52907316; }, "52907316"},
       {"ambient", 2, 1, [](CSystemData& d) { d.m_ambientTemp = -4.5f; }, "-4.5℃"},
       {"room", 2, 2, [](CSystemData& d) { d.m_roomTemp = 21.0f; }, "21.0℃"},
       {"tank", 2, 3, [](CSystemData& d) { d.m_tankTemp = 50.2f; }, "50.2℃"},
       {"heat/cool", 2, 4, [](CSystemData& d) { d.m_heatCoolTemp = 33.0f; }, "33.0℃"},
       {"coil", 2, 5, [](CSystemData& d) { d.m_coilTemp = 23.7f; }, "23.7℃"},
       {"mix 1", 3, 1, [](CSystemData& d) { d.m_mix1Temp = 30.0f; }, "30.0℃"},
       {"mix 2", 3, 2, [](CSystemData& d) { d.m_mix2Temp = 31.0f; }, "31.0℃"},
       {"outlet", 3, 3, [](CSystemData& d) { d.m_outletTemp = -99.0f; }, "-99.0℃"},
       {"inlet", 3, 4, [](CSystemData& d) { d.m_inletTemp = 40.0f; }, "40.0℃"},
       {"port", 5, 1, [](CSystemData& d) { d.m_serialPort = 3; }, "3"},
       {"indoor address", 5, 2, [](CSystemData& d) { d.m_indoorAddress = 11; }, "11"},
       {"outdoor address", 5, 3, [](CSystemData& d) { d.m_outdoorAddress = 2; }, "2"},
       {"baud 0", 5, 4, [](CSystemData& d) { d.m_baudRateIndex = 0; }, "1200"},
       {"baud 1", 5, 4, [](CSystemData& d) { d.m_baudRateIndex = 1; }, "4800"},
       {"baud 2", 5, 4, [](CSystemData& d) { d.m_baudRateIndex = 2; }, "9600"},
       {"baud 3", 5, 4, [](CSystemData& d) { d.m_baudRateIndex = 3; }, "19200"},
       {"baud 7", 5, 4, [](CSystemData& d) { d.m_baudRateIndex = 7; }, "19200"},
       {"baud -1", 5, 4, [](CSystemData& d) { d.m_baudRateIndex = -1; }, "19200"},
       {"data bits", 6, 1, [](CSystemData& d) { d.m_dataBits = 8; }, "8Bits"},
       {"parity 0", 6, 2, [](CSystemData& d) { d.m_parity = 0; }, "None"},
       {"parity 1", 6, 2, [](CSystemData& d) { d.m_parity = 1; }, "Odd"},
       {"parity 2", 6, 2, [](CSystemData& d) { d.m_parity = 2; }, "Even"},
       {"parity 5", 6, 2, [](CSystemData& d) { d.m_parity = 5; }, "Even"},
       {"stop bits", 6, 3, [](CSystemData& d) { d.m_stopBits = 2; }, "2Bits"},
       {"fan power", 6, 4, [](CSystemData& d) { d.m_fanMaxPower = 120; }, "120W"},
       {"pump power", 6, 5, [](CSystemData& d) { d.m_pumpMaxPower = 80; }, "80W"},
       {"chassis 0", 7, 1, [](CSystemData& d) { d.m_chassisHeaterMode = 0; }, "按照环境温度控制"},
       {"chassis 3", 7, 1, [](CSystemData& d) { d.m_chassisHeaterMode = 3; }, "仅在除霜时开启除霜结束后延迟2分钟关闭"},
       {"chassis on", 7, 2, [](CSystemData& d) { d.m_chassisHeaterOnTemp = -2; }, "-2℃"},
       {"chassis diff", 7, 3, [](CSystemData& d) { d.m_chassisHeaterOffDiff = 3; }, "3℃"},
       {"crank on", 7, 4, [](CSystemData& d) { d.m_crankHeaterOnTemp = 5; }, "5℃"},
       {"crank diff", 7, 5, [](CSystemData& d) { d.m_crankHeaterOffDiff = 4; }, "4℃"},
       {"high pressure", 8, 1, [](CSystemData& d) { d.m_highPressureDerate = 40; }, "40Bar"},
       {"defrost valve", 8, 2, [](CSystemData& d) { d.m_defrostEevOpening = 350; }, "350"},
       {"defrost enter", 8, 3, [](CSystemData& d) { d.m_defrostEnterCoilTemp = -6; }, "-6℃"},
       {"defrost exit", 8, 4, [](CSystemData& d) { d.m_defrostExitCoilTemp = 12; }, "12℃"},
       {"defrost max", 8, 5, [](CSystemData& d) { d.m_defrostMaxTime = 10; }, "10Min"},
       {"defrost prep", 9, 1, [](CSystemData& d) { d.m_defrostPrepFreq = 50; }, "50Hz"},
       {"defrost freq", 9, 2, [](CSystemData& d) { d.m_defrostFreq = 70; }, "70Hz"},
       {"fan high", 9, 3, [](CSystemData& d) { d.m_fanHighSpeed = 800; }, "800RPM"},
       {"fan mid", 9, 4, [](CSystemData& d) { d.m_fanMidSpeed = 600; }, "600RPM"},
       {"fan low", 9, 5, [](CSystemData& d) { d.m_fanLowSpeed = 400; }, "400RPM"},
       {"tup derate", 10, 1, [](CSystemData& d) { d.m_tupDerateTemp = 2; }, "2℃"},
       {"tup restore", 10, 2, [](CSystemData& d) { d.m_tupRestoreTemp = 6; }, "6℃"},
       {"tup stop", 10, 3, [](CSystemData& d) { d.m_tupStopTemp = -1; }, "-1℃"},
       {"heat max", 11, 1, [](CSystemData& d) { d.m_heatSetMax = 55; }, "55℃"},
       {"heat min", 11, 2, [](CSystemData& d) { d.m_heatSetMin = 25; }, "25℃"},
       {"cool max", 11, 3, [](CSystemData& d) { d.m_coolSetMax = 25; }, "25℃"},
       {"cool min", 11, 4, [](CSystemData& d) { d.m_coolSetMin = 7; }, "7℃"},
       {"point A", 12, 1,
        [](CSystemData& d) {
          d.m_pointAmbient[0] = 7;
          d.m_pointOutletTemp[0] = 35;
          d.m_pointFrequency[0] = 60;
          d.m_pointEevOpening[0] = 240;
          d.m_pointFanSpeed[0] = 8;
          d.m_pointDefrostInterval[0] = 45;
        },
        "A7℃/W35℃/60Hz 240P/F8/45min"},
       {"point J", 13, 5, [](CSystemData& d) { d.m_pointAmbient[9] = -15; }, "J-15℃/W0℃/0Hz 0P/F0/0min"},
       {"pid select 0", 14, 1, [](CSystemData& d) { d.m_gearPidSelect = 0; }, "停止PID档位"},
       {"pid select 1", 14, 1, [](CSystemData& d) { d.m_gearPidSelect = 1; }, "PID参数组1"},
       {"pid select 2", 14, 1, [](CSystemData& d) { d.m_gearPidSelect = 2; }, "PID参数组2"},
       {"pid select 3", 14, 1, [](CSystemData& d) { d.m_gearPidSelect = 3; }, "停止PID档位"},
       {"pid 2 D", 15, 2, [](CSystemData& d) { d.m_pid2D = -77; }, "-77"}});
}

TEST(Page16, Edits) {
  PageRig rig(0);
  CheckEdits(rig, 16,
             {{1, 3, &CSystemData::m_dealerId, "经销商ID", 0, 50, "℃", 1, 9},
              {5, 1, &CSystemData::m_serialPort, "使用串口", 1, 8, "℃", 1, 3},
              {5, 2, &CSystemData::m_indoorAddress, "内机地址", 11, 19, "", 1, 12},
              {5, 3, &CSystemData::m_outdoorAddress, "外机地址", 1, 8, "", 1, 2},
              {6, 1, &CSystemData::m_dataBits, "数据位", 6, 9, "Bits", 1, 8},
              {6, 3, &CSystemData::m_stopBits, "停止位", 1, 2, "Bits", 1, 1},
              {6, 4, &CSystemData::m_fanMaxPower, "风机功率", 0, 1000, "W", 10, 990},
              {6, 5, &CSystemData::m_pumpMaxPower, "水泵功率", 0, 1000, "W", 10, 100},
              {7, 2, &CSystemData::m_chassisHeaterOnTemp, "底盘加热带开启温度", -10, 10, "℃", 1, -10},
              {7, 3, &CSystemData::m_chassisHeaterOffDiff, "底盘加热带关闭回差", 2, 8, "℃", 1, 8},
              {7, 4, &CSystemData::m_crankHeaterOnTemp, "曲轴加热带开启温度", -10, 10, "℃", 1, 10},
              {7, 5, &CSystemData::m_crankHeaterOffDiff, "曲轴加热带关闭回差", 2, 8, "℃", 1, 2},
              {8, 1, &CSystemData::m_highPressureDerate, "系统高压降频保护点", 35, 42, "Bar", 1, 42},
              {10, 1, &CSystemData::m_tupDerateTemp, "TUP降频温度", 0, 4, "℃", 1, 4},
              {10, 2, &CSystemData::m_tupRestoreTemp, "TUP恢复温度", 4, 8, "℃", 1, 4},
              {10, 3, &CSystemData::m_tupStopTemp, "TUP停机温度", -3, 2, "℃", 1, -3},
              {11, 1, &CSystemData::m_heatSetMax, "t35", 37, 60, "℃", 1, 60},
              {11, 2, &CSystemData::m_heatSetMin, "t36", 20, 37, "℃", 1, 20},
              {11, 3, &CSystemData::m_coolSetMax, "t37", 18, 30, "℃", 1, 18},
              {11, 4, &CSystemData::m_coolSetMin, "t38", 7, 20, "℃", 1, 7},
              {14, 1, &CSystemData::m_gearPidSelect, "档位PID参数选择", 0, 2, "℃", 1, 2},
              {14, 2, &CSystemData::m_pid1P, "档位PID1参数P", -10000, 10000, "℃", 1, -1},
              {14, 3, &CSystemData::m_pid1I, "档位PID1参数I", -10000, 10000, "℃", 1, 1},
              {14, 4, &CSystemData::m_pid1D, "档位PID1参数D", -10000, 10000, "℃", 1, 2},
              {14, 5, &CSystemData::m_pid2P, "档位PID2参数P", -10000, 10000, "℃", 1, 3},
              {15, 1, &CSystemData::m_pid2I, "档位PID2参数I", -10000, 10000, "℃", 1, 4},
              {15, 2, &CSystemData::m_pid2D, "档位PID2参数D", -10000, 10000, "℃", 1, 5}});
  CheckChoices(rig, 16,
               {{5, 4, &CSystemData::m_baudRateIndex, "波特率", {"1200", "4800", "9600", "19200"}},
                {6, 2, &CSystemData::m_parity, "校验", {"None", "Odd", "Even"}},
                {7, 1, &CSystemData::m_chassisHeaterMode, "底盘加热带控制方式",
                 {"按照环境温度控制", "仅在除霜时开启除霜结束后延迟2分钟关闭"}}});
}

TEST(Page16, Toggles) {
  DemoOff restore;
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  struct Case {
    int sub, row;
    int32_t CSystemData::*field;
  };
  for (const Case& c : {Case{1, 4, &CSystemData::m_flowSwitchEnabled}, Case{5, 5, &CSystemData::m_fourWayAntiSeize},
                        Case{10, 4, &CSystemData::m_threeWayAntiSeize}, Case{10, 5, &CSystemData::m_coldGearLimit},
                        Case{11, 5, &CSystemData::m_flowFaultCancel}}) {
    SCOPED_TRACE(std::to_string(c.sub) + "/" + std::to_string(c.row));
    rig.d.*c.field = 3;
    rig.Tap(16, c.sub, c.row);
    EXPECT_EQ(rig.d.*c.field, 0);
    rig.Tap(16, c.sub, c.row);
    EXPECT_EQ(rig.d.*c.field, 1);
    EXPECT_EQ(rig.Row(16, c.sub, c.row).state, 1);
  }
  rig.Tap(16, 1, 2);
  EXPECT_EQ(DemoMode, 1);
  EXPECT_EQ(rig.Row(16, 1, 2).state, 1);
  rig.Tap(16, 1, 2);
  EXPECT_EQ(DemoMode, 0);
}

TEST(Page16, FactorySetting_RequestedOnlyOnOk) {
  PageRig rig(0);
  rig.ui.Cancel();
  rig.Tap(16, 1, 1);
  EXPECT_EQ(rig.d.m_paramRequest, 0);
  ASSERT_EQ(rig.ui.calls.size(), 1u);
  EXPECT_EQ(rig.ui.calls[0].title, "保存工厂设置");
  EXPECT_EQ(rig.ui.calls[0].message, "是否保存当前设置为工厂设置");
  EXPECT_EQ(rig.ui.calls[0].mode, 0);
  rig.ui.Ok();
  rig.Tap(16, 1, 1);
  EXPECT_EQ(rig.d.m_paramRequest, 4);
  ASSERT_EQ(rig.ui.calls.size(), 3u);
  EXPECT_EQ(rig.ui.calls[2].kind, "message");
  EXPECT_EQ(rig.ui.calls[2].title, "保存工厂设置");
  EXPECT_EQ(rig.ui.calls[2].message, "是否保存当前设置为工厂设置");
  EXPECT_EQ(rig.ui.calls[2].mode, 1);
}

// The new password is the number typed; an entry that is no number of 2 to 9 digits above 0, or whose
// digits are a service code (the access row takes the code first), is refused with a notice.
TEST(Page16, DealerPassword_IsTheNumberTypedUnlessTheAccessRowCouldNotTakeIt) {
  struct Case {
    const char* name;
    bool ok;
    std::string typed;
    int32_t stored;
    bool refused;
  };
  const int32_t kOld = 52907316;
  const Case cases[] = {
      {"eight digits", true, "12345678", 12345678, false},
      {"two digits", true, "42", 42, false},
      {"nine digits", true, "999999999", 999999999, false},
      {"leading zeros", true, "0042", 42, false},
      {"like a code, one digit off", true, "318407", 318407, false},
      {"the level-3 code", true, "318406", kOld, true},
      {"the level-4 code", true, "604918", kOld, true},
      {"the level-5 code", true, "982351", kOld, true},
      {"a code behind a zero", true, "0982351", kOld, true},
      {"like the long access code", true, "60419385271", kOld, true},  // eleven digits: too long
      {"one digit", true, "7", kOld, true},
      {"zero", true, "00", kOld, true},
      {"nothing", true, "", kOld, true},
      {"ten digits", true, "1234567890", kOld, true},
      {"cancelled", false, "12345678", kOld, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageRig rig(0);
    rig.d.m_dealerPassword = kOld;
    c.ok ? rig.ui.Typed(c.typed) : rig.ui.Cancel();
    rig.Tap(16, 1, 5);
    EXPECT_EQ(rig.d.m_dealerPassword, c.stored);
    ASSERT_EQ(rig.ui.calls.size(), c.refused ? 2u : 1u);
    EXPECT_EQ(rig.ui.calls[0].title, "更改经销商密码");
    EXPECT_EQ(rig.ui.calls[0].prompt, "新密码");
    if (c.refused) {
      EXPECT_EQ(rig.ui.calls[1].kind, "message");
      EXPECT_EQ(rig.ui.calls[1].title, "更改经销商密码");
      EXPECT_EQ(rig.ui.calls[1].message, "新密码无效");
      EXPECT_EQ(rig.ui.calls[1].mode, 1);
    }
  }
}

TEST(Page16, SensorOverrides_ReplaceTheUnitsReadingOnOkOnly) {
  struct Case {
    int sub, row;
    std::string title;
    float* (*reading)(PageRig&);
  };
  const Case cases[] = {
      {2, 1, "环境温度TA", [](PageRig& r) { return &r.outdoor.m_ambientTemp; }},
      {2, 2, "房间温度TR", [](PageRig& r) { return &r.indoor.m_temp1200[0]; }},
      {2, 3, "热水温度TW", [](PageRig& r) { return &r.indoor.m_temp1200[1]; }},
      {2, 4, "制热/制冷温度TH", [](PageRig& r) { return &r.indoor.m_temp1200[2]; }},
      {2, 5, "盘管温度TP", [](PageRig& r) { return &r.indoor.m_temp1200[5]; }},
      {3, 1, "混水1温度TV1", [](PageRig& r) { return &r.indoor.m_temp1200[8]; }},
      {3, 2, "混水2温度TV2", [](PageRig& r) { return &r.indoor.m_temp1200[9]; }},
      {3, 3, "出水温度TO", [](PageRig& r) { return &r.indoor.m_temp1200[3]; }},
      {3, 4, "入水温度TI", [](PageRig& r) { return &r.indoor.m_temp1200[4]; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    PageRig rig(0);
    float* reading = c.reading(rig);
    *reading = 23.7f;
    rig.ui.Cancel();
    rig.Tap(16, c.sub, c.row);
    EXPECT_FLOAT_EQ(*reading, 23.7f);  // a cancel changes nothing
    ASSERT_EQ(rig.ui.calls.size(), 1u);
    const Call& editor = rig.ui.calls[0];
    EXPECT_EQ(editor.title, c.title);
    EXPECT_EQ(editor.start, 23);  // whole degrees, toward zero
    EXPECT_EQ(editor.min, -25);
    EXPECT_EQ(editor.max, 100);
    EXPECT_EQ(editor.unit, "℃");
    EXPECT_EQ(editor.step, 1);
    *reading = -3.9f;
    rig.ui.Ok(-1);
    rig.Tap(16, c.sub, c.row);
    EXPECT_EQ(rig.ui.calls[1].start, -3);
    EXPECT_FLOAT_EQ(*reading, -1.0f);
  }
}

TEST(Page16, AmbientOverride_RefillsTheMinuteWindowAndItsMean) {
  PageRig rig(0);
  for (float& s : rig.d.m_ambientMinuteWindow) s = 10.0f;
  rig.d.m_ambientTempA = 10.0f;
  rig.ui.Cancel();
  rig.Tap(16, 2, 1);
  EXPECT_FLOAT_EQ(rig.d.m_ambientTempA, 10.0f);
  EXPECT_FLOAT_EQ(rig.d.m_ambientMinuteWindow[59], 10.0f);
  rig.ui.Ok(-7);
  rig.Tap(16, 2, 1);
  EXPECT_FLOAT_EQ(rig.outdoor.m_ambientTemp, -7.0f);
  EXPECT_FLOAT_EQ(rig.d.m_ambientTempA, -7.0f);
  for (float s : rig.d.m_ambientMinuteWindow) EXPECT_FLOAT_EQ(s, -7.0f);
}

TEST(Page16, InputOverrides_FlipTheUnitsRawInputs) {
  struct Case {
    int sub, row;
    uint16_t* (*word)(PageRig&);
  };
  const Case cases[] = {
      {3, 5, [](PageRig& r) { return &r.outdoor.m_defrost; }},
      {4, 1, [](PageRig& r) { return &r.indoor.m_in1213; }},
      {4, 2, [](PageRig& r) { return &r.indoor.m_in1212; }},
      {4, 3, [](PageRig& r) { return &r.indoor.m_in1214; }},
      {4, 4, [](PageRig& r) { return &r.indoor.m_in1215; }},
      {4, 5, [](PageRig& r) { return &r.indoor.m_in1220; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sub) + "/" + std::to_string(c.row));
    PageRig rig(0);
    uint16_t* word = c.word(rig);
    rig.Tap(16, c.sub, c.row);
    EXPECT_EQ(*word, 0);  // locked
    rig.d.m_unlockLevel = 1;
    rig.Tap(16, c.sub, c.row);
    EXPECT_EQ(*word, 1);
    *word = 5;
    rig.Tap(16, c.sub, c.row);
    EXPECT_EQ(*word, 0);
  }
}

TEST(Page16, WorkingPoint_RunsAllSixEditorsWhateverEachAnswers) {
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  rig.ui.Cancel();
  rig.ui.Ok(40);
  rig.ui.Ok(90);
  rig.ui.Cancel();
  rig.ui.Ok(6);
  rig.ui.Ok(120);
  rig.Tap(16, 13, 5);  // point J
  const CSystemData& d = rig.d;
  EXPECT_EQ(d.m_pointAmbient[9], 0);
  EXPECT_EQ(d.m_pointOutletTemp[9], 40);
  EXPECT_EQ(d.m_pointFrequency[9], 90);
  EXPECT_EQ(d.m_pointEevOpening[9], 0);
  EXPECT_EQ(d.m_pointFanSpeed[9], 6);
  EXPECT_EQ(d.m_pointDefrostInterval[9], 120);
  struct Step {
    std::string title;
    int min, max;
    std::string unit;
    int step;
  };
  const Step steps[] = {{"工况J环境温度", -25, 100, "℃", 1},   {"工况J出水温度", -25, 100, "℃", 1},
                        {"工况J压缩机转速", 1, 120, " ", 1},   {"工况J电子膨胀阀开度", 80, 450, " ", 5},
                        {"工况J风速", 0, 10, " ", 1},           {"除霜间隔(分)", 0, 300, " ", 5}};
  ASSERT_EQ(rig.ui.calls.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(steps[i].title);
    EXPECT_EQ(rig.ui.calls[i].title, steps[i].title);
    EXPECT_EQ(rig.ui.calls[i].min, steps[i].min);
    EXPECT_EQ(rig.ui.calls[i].max, steps[i].max);
    EXPECT_EQ(rig.ui.calls[i].unit, steps[i].unit);
    EXPECT_EQ(rig.ui.calls[i].step, steps[i].step);
  }
  rig.ui.calls.clear();
  rig.Tap(16, 12, 1);  // point A: its own letter, the same last title
  ASSERT_EQ(rig.ui.calls.size(), 6u);
  EXPECT_EQ(rig.ui.calls[0].title, "工况A环境温度");
  EXPECT_EQ(rig.ui.calls[4].title, "工况A风速");
  EXPECT_EQ(rig.ui.calls[5].title, "除霜间隔(分)");
}

}  // namespace
