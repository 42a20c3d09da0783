// The unit status page and the valves and fans page: what their labels show and where their
// corners and buttons lead.
#include <gtest/gtest.h>

#include <functional>

#include "DlgDesign1.h"
#include "DlgDesign2.h"
#include "InputMapping.h"
#include "MainHostFixture.h"

namespace {

const uint32_t kBothUnits = kIndoorAnswered | kOutdoorAnswered;

class StatusPagesTest : public MainHostFixture {
protected:
  void ShowAndRefresh(DlgBase& page) {
    page.ShowPage(SW_SHOW);
    Run(500);
  }
};

TEST_F(StatusPagesTest, UnitStatus_ShowsTheRecordAndDashesForMissingValues) {
  CSystemData& r = *GetSystemData();
  struct Case {
    const char* name;
    std::function<void(CSystemData&)> set;
    int label;
    const char16_t* shown;
  };
  const Case cases[] = {
      {"room temperature", [](CSystemData& s) { s.m_roomTemp = 21.5f; }, DlgDesign1::kRoomTemp, u"21.5"},
      {"no room value", [](CSystemData& s) { s.m_roomTemp = -98.0f; }, DlgDesign1::kRoomTemp, u"--"},
      {"failed room sensor", [](CSystemData& s) { s.m_roomTemp = -99.0f; }, DlgDesign1::kRoomTemp, u"--"},
      {"just above no value", [](CSystemData& s) { s.m_roomTemp = -97.9f; }, DlgDesign1::kRoomTemp, u"-97.9"},
      {"room before the indoor unit answered",
       [](CSystemData& s) {
         s.m_unitsAnswered = kOutdoorAnswered;
         s.m_roomTemp = 21.5f;
       },
       DlgDesign1::kRoomTemp, u"--"},
      {"mixing 2 before the indoor unit answered",
       [](CSystemData& s) {
         s.m_unitsAnswered = kOutdoorAnswered;
         s.m_mix2Temp = 30.0f;
       },
       DlgDesign1::kMix2Temp, u"--"},
      {"failed control sensor", [](CSystemData& s) { s.m_heatCoolTemp = -99.0f; }, DlgDesign1::kControlTemp, u"--"},
      {"failed tank sensor", [](CSystemData& s) { s.m_tankTemp = -99.0f; }, DlgDesign1::kTankTemp, u"--"},
      {"mixing 1 keeps its marker", [](CSystemData& s) { s.m_mix1Temp = -99.0f; }, DlgDesign1::kMix1Temp, u"-99.0"},
      {"pump speed", [](CSystemData& s) { s.m_pumpPwm = 30; }, DlgDesign1::kPumpSpeed, u"Pump speed:70"},
      {"link 1", [](CSystemData& s) { s.m_linkQuality1 = 98; }, DlgDesign1::kLink1, u"Line Status1:98%"},
      {"link 2", [](CSystemData& s) { s.m_linkQuality2 = 100; }, DlgDesign1::kLink2, u"Line Status2:100%"},
      {"cooling set temperature without demand",
       [](CSystemData& s) {
         s.m_activeMode = 2;
         s.m_coolSetTemp = 12;
         s.m_heatSetTemp = 40;
       },
       DlgDesign1::kSetPoint, u"12"},
      {"heating demand takes the computed target",
       [](CSystemData& s) {
         s.m_activeMode = 2;
         s.m_demandFlags = 0x2;
         s.m_heatTarget = 37.8f;
       },
       DlgDesign1::kSetPoint, u"37"},
      {"room control keeps the set temperature",
       [](CSystemData& s) {
         s.m_tempControlPoint = 1;
         s.m_demandFlags = 0x2;
         s.m_heatSetTemp = 35;
         s.m_heatTarget = 37.8f;
       },
       DlgDesign1::kSetPoint, u"35"},
      {"set point of no value", [](CSystemData& s) { s.m_heatSetTemp = -98; }, DlgDesign1::kSetPoint, u"--"},
      {"hot-water target under demand",
       [](CSystemData& s) {
         s.m_demandFlags = 0x1;
         s.m_hwTarget = 52;
         s.m_hotWaterSetTemp = 48;
       },
       DlgDesign1::kHotWaterSetPoint, u"52"},
      {"hot-water set temperature", [](CSystemData& s) { s.m_hotWaterSetTemp = 48; }, DlgDesign1::kHotWaterSetPoint,
       u"48"},
  };
  CreateMain();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    r = CSystemData();
    r.m_unitsAnswered = kBothUnits;
    c.set(r);
    ShowAndRefresh(main.Design1());
    EXPECT_EQ(Text(main.Design1(), c.label), CString(c.shown));
  }
}

// Each reading as the record holds it, a failed sensor's marker included; before the outdoor unit has
// answered its readings are "--" (captions kept) while the indoor unit's water temperatures show.
TEST_F(StatusPagesTest, ValvesAndFans_ShowTheRecordFailedSensorsIncluded_DashesUntilAUnitAnswered) {
  CSystemData& r = *GetSystemData();
  r.m_outletTemp = 35.25f;
  r.m_inletTemp = -99.0f;
  r.m_coilTemp = -99.0f;
  r.m_pressureB = 8.5f;
  r.m_compressorHz = 58;
  r.m_current = 6.4f;
  r.m_fan1Rpm = 620;
  r.m_fan2Rpm = 0;
  r.m_eevSteps = 480;
  CreateMain();
  struct Case {
    int label;
    const char16_t* bothAnswered;
    const char16_t* indoorOnly;
  };
  const Case cases[] = {{1078, u"35.2", u"35.2"},
                        {1079, u"-99.0", u"-99.0"},
                        {1082, u"-99.0", u"-99.0"},
                        {1080, u"8.5", u"--"},
                        {1081, u"0.0", u"--"},
                        {1086, u"58", u"--"},
                        {1087, u"6.4", u"--"},
                        {1088, u"0.0", u"--"},
                        {1089, u"Fan 1:620rpm", u"Fan 1:--"},
                        {1090, u"Fan 2:0rpm", u"Fan 2:--"},
                        {1094, u"Open:480P", u"Open:--"}};
  for (const bool both : {true, false}) {
    SCOPED_TRACE(both ? "both units answered" : "only the indoor unit answered");
    r.m_unitsAnswered = both ? kBothUnits : kIndoorAnswered;
    ShowAndRefresh(main.Design2());
    for (const Case& c : cases) {
      EXPECT_EQ(Text(main.Design2(), c.label), CString(both ? c.bothAnswered : c.indoorOnly)) << c.label;
    }
  }
}

// A page shown again shows the record as it is from its first picture on, not what it held when
// it was hidden, and without waiting for its timer.
TEST_F(StatusPagesTest, ShownAgain_ShowsTheRecordBeforeItsFirstTick) {
  CSystemData& r = *GetSystemData();
  r.m_unitsAnswered = kBothUnits;
  CreateMain();
  for (DlgBase* page : {static_cast<DlgBase*>(&main.Design1()), static_cast<DlgBase*>(&main.Design2())}) {
    page->ShowPage(SW_SHOW);
    panel::PumpMessages();
    page->ShowPage(SW_HIDE);
  }
  EXPECT_EQ(Text(main.Design1(), DlgDesign1::kLink1), CString(u"Line Status1:0%"));
  r.m_linkQuality1 = 55;
  r.m_fan2Rpm = 430;
  panel::ClearDrawLog();
  main.Design1().ShowPage(SW_SHOW);
  panel::PumpMessages();
  EXPECT_EQ(Text(main.Design1(), DlgDesign1::kLink1), CString(u"Line Status1:55%"));
  EXPECT_NE(panel::FindDrawnText(u"Line Status1:55%"), nullptr);
  EXPECT_EQ(panel::FindDrawnText(u"Line Status1:0%"), nullptr);
  main.Design2().ShowPage(SW_SHOW);
  panel::PumpMessages();
  EXPECT_EQ(Text(main.Design2(), 1090), CString(u"Fan 2:430rpm"));
}

TEST_F(StatusPagesTest, HiddenPage_IsNotRefreshed) {
  CreateMain();
  ShowAndRefresh(main.Design1());
  main.Design1().ShowPage(SW_HIDE);
  GetSystemData()->m_linkQuality1 = 55;
  Run(1000);
  EXPECT_EQ(Text(main.Design1(), DlgDesign1::kLink1), CString(u"Line Status1:0%"));
}

// Corner taps in order: top-left hides, top-right the menu, bottom-left previous, bottom-right next.
TEST_F(StatusPagesTest, CornerTaps_LeadToTheNeighbouringPages) {
  struct Case {
    const char* name;
    int dealer;
    bool design1;  // else the valves and fans page
    POINT tap;
    std::function<DlgBase&(DlgMain&)> expected;  // the page shown afterwards; the main screen: none
  };
  auto none = [](DlgMain& m) -> DlgBase& { return m; };
  const Case cases[] = {
      {"status back corner", 0, true, {25, 25}, none},
      {"status menu", 0, true, {450, 20}, [](DlgMain& m) -> DlgBase& { return m.Menu(); }},
      {"status previous: trend", 0, true, {10, 230}, [](DlgMain& m) -> DlgBase& { return m.Design4(); }},
      {"status previous for dealer 3: faults", 3, true, {10, 230}, [](DlgMain& m) -> DlgBase& { return m.Design3(); }},
      {"status next", 0, true, {430, 230}, [](DlgMain& m) -> DlgBase& { return m.Design2(); }},
      {"valves previous", 0, false, {10, 260}, [](DlgMain& m) -> DlgBase& { return m.Design1(); }},
      {"valves next: faults", 0, false, {470, 260}, [](DlgMain& m) -> DlgBase& { return m.Design3(); }},
      {"valves back corner", 0, false, {25, 25}, none},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_dealerId = c.dealer;
    GetSystemData()->m_dealerId = c.dealer;
    CreateMain();
    DlgBase& page = c.design1 ? static_cast<DlgBase&>(main.Design1()) : main.Design2();
    page.ShowPage(SW_SHOW);
    panel::PumpMessages();
    Tap(c.tap.x, c.tap.y);
    EXPECT_FALSE(Shown(page));
    DlgBase& expected = c.expected(main);
    if (&expected != &main) {
      EXPECT_TRUE(Shown(expected));
    }
    main.DestroyWindow();
  }
}

TEST_F(StatusPagesTest, Dealer9Buttons_LeadOnAndOtherDealersHaveNone) {
  CreateMain();
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(main.Design1().m_hWnd, DlgDesign1::kNextButton)));
  main.DestroyWindow();
  g_dealerId = 9;
  GetSystemData()->m_dealerId = 9;
  CreateMain();
  main.Design1().ShowPage(SW_SHOW);
  panel::PumpMessages();
  TapControl(DlgDesign1::kNextButton, main.Design1().m_hWnd);
  EXPECT_TRUE(Shown(main.Design2()));
  TapControl(DlgDesign2::kNextButton, main.Design2().m_hWnd);
  EXPECT_TRUE(Shown(main.Design3()));
  EXPECT_FALSE(Shown(main.Design2()));
}

}  // namespace
