#include <cstring>

#include "PageCases.h"

namespace {

using namespace paramtest;
const RowKind V = RowKind::kValue, T = RowKind::kToggle, C = RowKind::kCommand;

TEST(Page14, Rows) {
  PageRig rig(0);
  rig.d.m_wifiPresent = 1;
  rig.d.m_ratedTestSwitch = 1;
  CheckLayout(rig, 14, 6,
              {{1, 1, V, "t175", 0, 1}, {1, 2, V, "t25", 0, 1}, {1, 3, V, "t303", 0, 1}, {1, 4, V, "t123", 1, 1},
               {1, 5, C, "t176", 0, 1}, {2, 1, V, "t124", 0, 1}, {2, 2, V, "t125", 0, 1}, {2, 3, V, "t126", 0, 1},
               {2, 4, V, "t127", 0, 1}, {2, 5, V, "t128", 0, 1}, {3, 1, T, "t129", 0, 1}, {3, 2, V, "t173", 0, 1},
               {3, 3, V, "t174", 0, 1}, {3, 4, V, "t379", 0, 1}, {3, 5, V, "t316", 0, 1}, {4, 1, T, "t283", 0, 1},
               {4, 2, T, "t284", 1, 1}, {4, 3, V, "t285", 0, 0}, {4, 4, V, "t286", 0, 0}, {4, 5, V, "t287", 0, 0},
               {5, 1, V, "t288", 0, 0}, {5, 2, V, "t289", 0, 0}, {5, 3, V, "t280", 0, 0}, {5, 4, V, "t290", 0, 0},
               {5, 5, V, "t291", 0, 0}, {6, 1, T, "t484", 0, 1}, {6, 2, V, "t485", 1, 1}, {6, 3, V, "t486", 1, 1},
               {6, 4, T, "t492", 1, 1}});
}

TEST(Page14, SubPageCount_RecordsDealerIdChoosesWhetherTheRatedTestIsThere) {
  PageRig rig(0);
  for (int dealer : {3, 15}) {
    rig.d.m_dealerId = dealer;
    EXPECT_EQ(rig.Draw(14, 1).count, 5) << dealer;
  }
  rig.d.m_dealerId = 9;
  EXPECT_EQ(rig.Draw(14, 1).count, 6);
}

TEST(Page14, DependentRowsFollowTheirSwitches) {
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  EXPECT_EQ(rig.Row(14, 4, 2).enabled, 0);  // remote control needs the module
  EXPECT_EQ(rig.Row(14, 6, 2).enabled, 0);  // working point and step need a test
  EXPECT_EQ(rig.Row(14, 6, 3).enabled, 0);
  EXPECT_EQ(rig.Tap(14, 6, 3), 0);
}

TEST(Page14, ValueTexts) {
  PageRig rig(0);
  CheckTexts(rig, 14,
             {{"valve switch 0", 1, 1, [](CSystemData& d) { d.m_threeWaySwitchTime = 0; }, "t301"},
              {"valve switch 4", 1, 1, [](CSystemData& d) { d.m_threeWaySwitchTime = 4; }, "4t419"},
              {"valve power 0", 1, 2, [](CSystemData& d) { d.m_threeWayPowerTime = 0; }, "t302"},
              {"valve power 16", 1, 2, [](CSystemData& d) { d.m_threeWayPowerTime = 16; }, "16t419"},
              {"test run", 1, 3, [](CSystemData& d) { d.m_testRunCountdown = 598; }, "598S"},
              {"backlight 0", 1, 4, [](CSystemData& d) { d.m_backlightMode = 0; }, "t456"},
              {"backlight 2", 1, 4, [](CSystemData& d) { d.m_backlightMode = 2; }, "t458"},
              {"backlight 3", 1, 4, [](CSystemData& d) { d.m_backlightMode = 3; }, "t459"},
              {"backlight 8", 1, 4, [](CSystemData& d) { d.m_backlightMode = 8; }, "t459"},
              {"frost 1 start", 2, 1, [](CSystemData& d) { d.m_frost1AmbientStart = 7; }, "7℃"},
              {"mode signal 0", 3, 2, [](CSystemData& d) { d.m_modeSignalOutput = 0; }, "t436"},
              {"mode signal 1", 3, 2, [](CSystemData& d) { d.m_modeSignalOutput = 1; }, "t155"},
              {"mode signal 2", 3, 2, [](CSystemData& d) { d.m_modeSignalOutput = 2; }, "t156"},
              {"mode signal 3", 3, 2, [](CSystemData& d) { d.m_modeSignalOutput = 3; }, "t436"},
              {"signal type 0", 3, 3, [](CSystemData& d) { d.m_modeSignalType = 0; }, "t441"},
              {"signal type 1", 3, 3, [](CSystemData& d) { d.m_modeSignalType = 1; }, "t440"},
              {"fan limit", 3, 4, [](CSystemData& d) { d.m_fanMaxSpeedPercent = 95; }, "95%"},
              {"defrost 0", 3, 5, [](CSystemData& d) { d.m_defrostMethod = 0; }, "t313"},
              {"defrost 1", 3, 5, [](CSystemData& d) { d.m_defrostMethod = 1; }, "t314"},
              {"defrost 4", 3, 5, [](CSystemData& d) { d.m_defrostMethod = 4; }, "t315"},
              {"online", 4, 3, [](CSystemData& d) { d.m_wifiOnline = 1; }, "t281"},
              {"offline", 4, 3, [](CSystemData& d) { d.m_wifiOnline = 0; }, "t282"},
              {"server seen", 4, 4, [](CSystemData& d) { d.m_wifiServerSeen = 2; }, "t281"},
              {"mac", 4, 5,
               [](CSystemData& d) {
                 const uint8_t mac[6] = {0x00, 0x1a, 0xB2, 0x03, 0xff, 0x10};
                 std::memcpy(d.m_wifiMac, mac, 6);
               },
               "00-1A-B2-03-FF-10"},
              {"port", 5, 5, [](CSystemData& d) { d.m_serverPort = 8080; }, "8080"},
              {"step 0", 6, 3, [](CSystemData& d) { d.m_ratedTestStep = 0; }, "t487"},
              {"step 1", 6, 3, [](CSystemData& d) { d.m_ratedTestStep = 1; }, "t488"},
              {"step 4", 6, 3, [](CSystemData& d) { d.m_ratedTestStep = 4; }, "t491"},
              {"step 5", 6, 3, [](CSystemData& d) { d.m_ratedTestStep = 5; }, "t487"},
              {"point C", 6, 2,
               [](CSystemData& d) {
                 d.m_ratedCondition = 2;
                 d.m_pointAmbient[2] = -7;
                 d.m_pointOutletTemp[2] = 35;
                 d.m_pointFrequency[2] = 60;
                 d.m_pointEevOpening[2] = 240;
                 d.m_pointFanSpeed[2] = 8;
                 d.m_pointDefrostInterval[2] = 45;
               },
               "C A-7℃/W35℃60Hz 240P/F8/45min"},
              {"point out of range", 6, 2, [](CSystemData& d) { d.m_ratedCondition = 10; }, ""}});
}

TEST(Page14, WifiTexts_AreReadWithinTheirFields) {
  PageRig rig(0);
  auto fill = [](char16_t* field, size_t n, const char16_t* text) {
    for (size_t i = 0; i < n; ++i) field[i] = text[i % 2];  // no terminator anywhere
  };
  fill(rig.d.m_wifiNetwork, 17, u"12");
  fill(rig.d.m_wifiSsid, 50, u"ab");
  fill(rig.d.m_wifiKey, 50, u"kk");
  fill(rig.d.m_serverAddress, 50, u"s.");
  EXPECT_EQ(U8(rig.Row(14, 5, 1).value), "12121212121212121");
  EXPECT_EQ(rig.Row(14, 5, 2).value.GetLength(), 50);
  EXPECT_EQ(rig.Row(14, 5, 4).value.GetLength(), 50);
  EXPECT_EQ(U8(rig.Row(14, 5, 3).value), "******");  // locked
  rig.d.m_unlockLevel = 1;
  EXPECT_EQ(rig.Row(14, 5, 3).value.GetLength(), 50);

  const char16_t ssid[] = u"Plant room";
  std::memcpy(rig.d.m_wifiSsid, ssid, sizeof ssid);
  EXPECT_EQ(U8(rig.Row(14, 5, 2).value), "Plant room");
  rig.d.m_wifiKey[0] = 0;
  EXPECT_EQ(U8(rig.Row(14, 5, 3).value), "");
}

TEST(Page14, Edits) {
  PageRig rig(0);
  CheckEdits(rig, 14,
             {{1, 1, &CSystemData::m_threeWaySwitchTime, "t175", 0, 16, "t419", 1, 0},
              {1, 2, &CSystemData::m_threeWayPowerTime, "t25", 0, 16, "t419", 1, 16},
              {2, 1, &CSystemData::m_frost1AmbientStart, "t124", 5, 10, "℃", 1, 5},
              {2, 2, &CSystemData::m_frost2AmbientStart, "t125", 0, 4, "℃", 1, 4},
              {2, 3, &CSystemData::m_frost2AmbientStop, "t126", 0, 10, "℃", 1, 10},
              {2, 4, &CSystemData::m_frost2OutletStart, "t127", 5, 30, "℃", 1, 30},
              {2, 5, &CSystemData::m_frost2OutletStop, "t128", 5, 30, "℃", 1, 5}});
  CheckChoices(rig, 14,
               {{1, 4, &CSystemData::m_backlightMode, "t123", {"t456", "t457", "t458", "t459"}},
                {3, 2, &CSystemData::m_modeSignalOutput, "t173", {"t436", "t155", "t156"}},
                {3, 3, &CSystemData::m_modeSignalType, "t174", {"t441", "t440"}}});
}

TEST(Page14, TestRun_StartsAndStopsOnOk) {
  struct Case {
    const char* name;
    int before;
    bool ok;
    const char* message;
    int after;
  };
  const Case cases[] = {
      {"start", 0, true, "t305", 600},     {"start at 19", 19, true, "t305", 600},
      {"stop at 20", 20, true, "t304", 20}, {"stop", 450, true, "t304", 20},
      {"start cancelled", 0, false, "t305", 0}, {"stop cancelled", 450, false, "t304", 450},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageRig rig(0);
    rig.d.m_unlockLevel = 1;
    rig.d.m_testRunCountdown = c.before;
    c.ok ? rig.ui.Ok() : rig.ui.Cancel();
    rig.Tap(14, 1, 3);
    EXPECT_EQ(rig.d.m_testRunCountdown, c.after);
    ASSERT_EQ(rig.ui.calls.size(), 1u);
    EXPECT_EQ(rig.ui.calls[0].title, "t303");
    EXPECT_EQ(rig.ui.calls[0].message, c.message);
    EXPECT_EQ(rig.ui.calls[0].mode, 0);
  }
}

TEST(Page14, Exit_EndsTheProgramOnlyOnOk) {
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  rig.ui.Cancel();
  rig.Tap(14, 1, 5);
  ASSERT_EQ(rig.ui.calls.size(), 1u);
  EXPECT_EQ(rig.ui.calls[0].title, "t176");
  EXPECT_EQ(rig.ui.calls[0].message, "t408");
  rig.ui.Ok();
  rig.Tap(14, 1, 5);
  ASSERT_EQ(rig.ui.calls.size(), 3u);
  EXPECT_EQ(rig.ui.calls[2].kind, "end");
}

TEST(Page14, OutdoorSettings_AChangeHoldsTheUnitAndTellsOnce) {
  struct Case {
    const char* name;
    int row;
    int32_t CSystemData::*field;
    int before;
    bool ok;
    int answer;
    int after;
    bool changed;
  };
  const Case cases[] = {
      {"fan limit changed", 4, &CSystemData::m_fanMaxSpeedPercent, 100, true, 95, 95, true},
      {"fan limit same", 4, &CSystemData::m_fanMaxSpeedPercent, 95, true, 95, 95, false},
      {"fan limit cancelled", 4, &CSystemData::m_fanMaxSpeedPercent, 95, false, 0, 95, false},
      {"defrost changed", 5, &CSystemData::m_defrostMethod, 0, true, 2, 2, true},
      {"defrost same", 5, &CSystemData::m_defrostMethod, 1, true, 1, 1, false},
      {"defrost cancelled", 5, &CSystemData::m_defrostMethod, 1, false, 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PageRig rig(0);
    rig.d.m_unlockLevel = 1;
    rig.d.*c.field = c.before;
    rig.d.m_outdoorSettingHold = 7;
    c.ok ? rig.ui.Ok(c.answer) : rig.ui.Cancel();
    rig.Tap(14, 3, c.row);
    EXPECT_EQ(rig.d.*c.field, c.after);
    EXPECT_EQ(rig.d.m_outdoorSettingHold, c.changed ? 180 : 7);
    ASSERT_EQ(rig.ui.calls.size(), c.changed ? 2u : 1u);
    const Call& edit = rig.ui.calls[0];
    if (c.row == 4) {
      EXPECT_EQ(edit.kind, "value");
      EXPECT_EQ(edit.title, "t379");
      EXPECT_EQ(edit.min, 90);
      EXPECT_EQ(edit.max, 100);
      EXPECT_EQ(edit.step, 5);
      EXPECT_EQ(edit.unit, "%");
    } else {
      EXPECT_EQ(edit.kind, "choice");
      EXPECT_EQ(edit.title, "t316");
      EXPECT_EQ(edit.options, (std::vector<std::string>{"t313", "t314", "t315"}));
    }
    if (c.changed) {
      EXPECT_EQ(rig.ui.calls[1].kind, "message");
      EXPECT_EQ(rig.ui.calls[1].title, c.row == 4 ? "t379" : "t316");
      EXPECT_EQ(rig.ui.calls[1].message, "t380");
    }
  }
}

// The engine's refusal (the hold ran out before the unit stored the cells) is told once, titled with the
// setting last sent; a new change starts a new hold and drops a refusal not told yet, and the refused
// value picked again is sent again.
TEST(Page14, RefusedOutdoorSetting_ToldOnceWithTheSettingsCaption) {
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  EXPECT_EQ(TellOutdoorSettingRefused(rig.context), 0);
  rig.ui.Ok(2);
  rig.Tap(14, 3, 5);  // defrost method 0 -> 2
  rig.d.m_outdoorSettingRefused = 1;
  rig.ui.calls.clear();
  EXPECT_EQ(TellOutdoorSettingRefused(rig.context), 1);
  ASSERT_EQ(rig.ui.calls.size(), 1u);
  EXPECT_EQ(rig.ui.calls[0].kind, "message");
  EXPECT_EQ(rig.ui.calls[0].title, "t316");
  EXPECT_EQ(rig.ui.calls[0].message, "t130");
  EXPECT_EQ(rig.d.m_outdoorSettingRefused, 2);
  EXPECT_EQ(TellOutdoorSettingRefused(rig.context), 0);
  EXPECT_EQ(rig.ui.calls.size(), 1u);

  rig.d.m_outdoorSettingHold = 0;
  rig.ui.Ok(2);
  rig.Tap(14, 3, 5);  // defrost method 2 again, after the refusal
  EXPECT_EQ(rig.d.m_outdoorSettingHold, 180);
  EXPECT_EQ(rig.d.m_outdoorSettingRefused, 0);
  ASSERT_EQ(rig.ui.calls.size(), 3u);
  EXPECT_EQ(rig.ui.calls[2].message, "t380");
  rig.d.m_outdoorSettingHold = 0;
  rig.ui.Ok(2);
  rig.Tap(14, 3, 5);  // and once the unit may have it, the same value is no change
  EXPECT_EQ(rig.d.m_outdoorSettingHold, 0);

  rig.d.m_outdoorSettingRefused = 1;
  rig.d.m_fanMaxSpeedPercent = 100;
  rig.ui.Ok(95);
  rig.Tap(14, 3, 4);
  EXPECT_EQ(rig.d.m_outdoorSettingRefused, 0);
  EXPECT_EQ(rig.d.m_outdoorSettingHold, 180);
}

// A cancelled editor changes nothing and sends nothing, also after a refusal (told or not yet): no
// new hold, no notice, the verdict as it was.
TEST(Page14, OutdoorSettingCancelledAfterARefusal_SendsNothing) {
  for (int row : {4, 5}) {
    for (int32_t refused : {1, 2}) {
      SCOPED_TRACE(row);
      SCOPED_TRACE(refused);
      PageRig rig(0);
      rig.d.m_unlockLevel = 1;
      rig.d.m_fanMaxSpeedPercent = 95;
      rig.d.m_defrostMethod = 1;
      rig.d.m_outdoorSettingRefused = refused;
      rig.ui.Cancel();
      rig.Tap(14, 3, row);
      EXPECT_EQ(rig.d.m_outdoorSettingHold, 0);
      EXPECT_EQ(rig.d.m_outdoorSettingRefused, refused);
      EXPECT_EQ(rig.d.m_fanMaxSpeedPercent, 95);
      EXPECT_EQ(rig.d.m_defrostMethod, 1);
      ASSERT_EQ(rig.ui.calls.size(), 1u) << "the editor alone";
    }
  }
}

TEST(Page14, WifiSwitches_OpenTheStartWindowOnlyWhenSwitchedOn) {
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  rig.Tap(14, 4, 1);
  EXPECT_EQ(rig.d.m_wifiPresent, 1);
  EXPECT_EQ(rig.d.m_wifiStartCountdown, 180);
  rig.d.m_wifiStartCountdown = 50;
  rig.Tap(14, 4, 2);
  EXPECT_EQ(rig.d.m_wifiControlEnabled, 1);
  EXPECT_EQ(rig.d.m_wifiStartCountdown, 180);
  rig.d.m_wifiStartCountdown = 50;
  rig.Tap(14, 4, 2);
  rig.Tap(14, 4, 1);
  EXPECT_EQ(rig.d.m_wifiControlEnabled, 0);
  EXPECT_EQ(rig.d.m_wifiPresent, 0);
  EXPECT_EQ(rig.d.m_wifiStartCountdown, 50);
}

TEST(Page14, RatedTestSwitch_StartsThenAsksToStopThenWaits) {
  PageRig rig(0);
  rig.d.m_unlockLevel = 1;
  rig.d.m_ratedTestStep = 3;
  rig.d.m_ratedTestState = 2;
  rig.Tap(14, 6, 1);
  EXPECT_EQ(rig.d.m_ratedTestSwitch, 1);
  EXPECT_EQ(rig.d.m_ratedTestStep, 0);
  EXPECT_EQ(rig.d.m_ratedTestState, 0);
  EXPECT_EQ(rig.Row(14, 6, 1).state, 1);
  rig.Tap(14, 6, 1);
  EXPECT_EQ(rig.d.m_ratedTestSwitch, 2);
  EXPECT_EQ(rig.Row(14, 6, 1).state, 0);
  rig.Tap(14, 6, 1);
  EXPECT_EQ(rig.d.m_ratedTestSwitch, 2);
}

TEST(Page14, WorkingPoint_ANewChoiceRestartsTheTestStep) {
  PageRig rig(0);
  rig.d.m_ratedTestSwitch = 1;
  rig.d.m_ratedCondition = 4;
  rig.d.m_ratedTestStep = 3;
  rig.ui.Ok(4);  // the same point
  rig.Tap(14, 6, 2);
  EXPECT_EQ(rig.d.m_ratedTestStep, 3);
  rig.ui.Cancel();
  rig.Tap(14, 6, 2);
  EXPECT_EQ(rig.d.m_ratedCondition, 4);
  rig.ui.Ok(9);
  rig.Tap(14, 6, 2);
  EXPECT_EQ(rig.d.m_ratedCondition, 9);
  EXPECT_EQ(rig.d.m_ratedTestStep, 1);
  const Call& list = rig.ui.calls.back();
  EXPECT_EQ(list.title, "t485");
  EXPECT_EQ(list.start, 4);
  ASSERT_EQ(list.options.size(), 10u);
  EXPECT_EQ(list.options[0], "A A0℃/W0℃0Hz 0P/F0/0min");
  EXPECT_EQ(list.options[9].substr(0, 3), "J A");
  // A test that has not saved the unit's cells yet keeps its save step: it writes the point after it.
  rig.d.m_ratedTestStep = 0;
  rig.ui.Ok(5);
  rig.Tap(14, 6, 2);
  EXPECT_EQ(rig.d.m_ratedCondition, 5);
  EXPECT_EQ(rig.d.m_ratedTestStep, 0);
}

}  // namespace
