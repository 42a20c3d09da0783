// Every value row of pages 1 to 8: the editor it opens (title with the value and unit, range, step),
// the field written only on OK, and the row showing the new value on the redraw after the tap.
#include <gtest/gtest.h>

#include "ParamPageFixture.h"

namespace {

#define F(expr) [](CSystemData& s) -> int32_t& { return s.expr; }

struct ValueCase {
  const char* name;
  int dealer;
  int page, sub, row;
  void (*setup)(CSystemData&);    // beyond the fixture's limits; may be null
  int32_t& (*field)(CSystemData&);
  int32_t value;                   // at the tap
  const char16_t* caption;         // the editor's title
  int32_t min, max, step;
  const char16_t* shownAfter;      // the row's value after "+" and OK
};

const ValueCase kCases[] = {
    // Page 1.
    {"stop offset", 0, 1, 1, 1, nullptr, F(m_stopTempOffset), 2, u"T44:2℃", 1, 5, 1, u"3℃"},
    {"hysteresis", 0, 1, 1, 2, nullptr, F(m_tempHysteresis), 10, u"T45:10℃", 1, 10, 1, u"10℃"},
    {"derating difference", 0, 1, 1, 3, nullptr, F(m_derateTempDiff), 4, u"T46:4℃", 1, 10, 1, u"5℃"},
    {"cooling set", 0, 1, 1, 4, nullptr, F(m_coolSetTemp), 18, u"T47:18℃", 10, 25, 1, u"19℃"},
    {"cooling set, circuit minimum not below cooling maximum", 0, 1, 1, 4,
     [](CSystemData& s) { s.m_system1MinSetTemp = 25; }, F(m_coolSetTemp), 25, u"T47:25℃", 25, 25, 1, u"25℃"},
    {"curve water 1", 0, 1, 3, 1, nullptr, F(m_curveWater[0]), 40, u"T54:40℃", 20, 55, 1, u"41℃"},
    {"curve water 5", 0, 1, 3, 5, nullptr, F(m_curveWater[4]), 30, u"T58:30℃", 20, 55, 1, u"31℃"},
    // The heating minimum bounds the curve's water temperatures, whatever the circuit's minimum.
    {"curve water, circuit minimum above heating minimum", 0, 1, 3, 2,
     [](CSystemData& s) { s.m_system1MinSetTemp = 30; }, F(m_curveWater[1]), 25, u"T55:25℃", 20, 55, 1, u"26℃"},
    {"heating room", 0, 1, 4, 2, nullptr, F(m_heatRoomSetTemp), 22, u"T60:22℃", 15, 35, 1, u"23℃"},
    {"cooling room", 0, 1, 4, 3, nullptr, F(m_coolRoomSetTemp), 24, u"T61:24℃", 15, 35, 1, u"25℃"},
    {"heating set", 0, 1, 4, 4, nullptr, F(m_heatSetTemp), 45, u"T62:45℃", 20, 55, 1, u"46℃"},
    {"heating set, circuit minimum above heating minimum", 0, 1, 4, 4,
     [](CSystemData& s) { s.m_system1MinSetTemp = 30; }, F(m_heatSetTemp), 45, u"T62:45℃", 30, 55, 1, u"46℃"},
    {"heating set, circuit maximum below heating minimum", 0, 1, 4, 4,
     [](CSystemData& s) { s.m_system1MaxSetTemp = 15; }, F(m_heatSetTemp), 20, u"T62:20℃", 20, 20, 1, u"20℃"},
    {"circuit 1 minimum", 0, 1, 4, 5, nullptr, F(m_system1MinSetTemp), 10, u"T83:10℃", 7, 55, 1, u"11℃"},
    {"circuit 1 maximum", 0, 1, 5, 1, nullptr, F(m_system1MaxSetTemp), 55, u"T84:55℃", 10, 60, 1, u"56℃"},
    {"circuit 1 maximum, dealer 3", 3, 1, 5, 1, nullptr, F(m_system1MaxSetTemp), 55, u"T84:55℃", 10, 75, 1, u"56℃"},
    {"cooling ambient 1", 0, 1, 5, 3, nullptr, F(m_coolCurveAmbient[0]), 20, u"T244:20℃", 16, 29, 1, u"21℃"},
    {"cooling ambient 2", 0, 1, 5, 4, nullptr, F(m_coolCurveAmbient[1]), 30, u"T245:30℃", 21, 34, 1, u"31℃"},
    {"cooling ambient 3", 0, 1, 5, 5, nullptr, F(m_coolCurveAmbient[2]), 35, u"T246:35℃", 31, 40, 1, u"36℃"},
    {"cooling curve water 1", 0, 1, 6, 1, nullptr, F(m_coolCurveWater[0]), 18, u"T247:18℃", 10, 55, 1, u"19℃"},
    {"cooling curve water 3", 0, 1, 6, 3, nullptr, F(m_coolCurveWater[2]), 12, u"T249:12℃", 10, 55, 1, u"13℃"},
    {"cooling curve water, cooling maximum above circuit maximum", 0, 1, 6, 2,
     [](CSystemData& s) {
       s.m_system1MaxSetTemp = 24;
       s.m_coolSetMax = 28;
     },
     F(m_coolCurveWater[1]), 27, u"T248:27℃", 10, 28, 1, u"28℃"},
    {"cooling curve water, cooling minimum above circuit minimum", 0, 1, 6, 2,
     [](CSystemData& s) { s.m_coolSetMin = 15; }, F(m_coolCurveWater[1]), 15, u"T248:15℃", 15, 55, 1, u"16℃"},
    {"dealer 9 heating set", 9, 1, 4, 1, nullptr, F(m_heatSetTemp), 45, u"T62:45℃", 20, 55, 1, u"46℃"},
    {"dealer 9 circuit 1 minimum", 9, 1, 4, 2, nullptr, F(m_system1MinSetTemp), 10, u"T83:10℃", 7, 55, 1, u"11℃"},
    {"dealer 9 circuit 1 maximum", 9, 1, 4, 3, nullptr, F(m_system1MaxSetTemp), 55, u"T84:55℃", 10, 75, 1, u"56℃"},
    // Page 2.
    {"cooling set 2", 0, 2, 1, 2, nullptr, F(m_coolSecondSetTemp), 18, u"T103:18℃", 12, 25, 1, u"19℃"},
    {"heating set 2", 0, 2, 1, 3, nullptr, F(m_heatSecondSetTemp), 40, u"T110:40℃", 20, 50, 1, u"41℃"},
    {"curve 2 water 1", 0, 2, 2, 1, nullptr, F(m_secondCurveWater[0]), 35, u"T105:35℃", 20, 50, 1, u"36℃"},
    {"curve 2 water 5", 0, 2, 2, 5, nullptr, F(m_secondCurveWater[4]), 25, u"T109:25℃", 20, 50, 1, u"26℃"},
    // Circuit 2's curve starts at the higher of the heating and the circuit's minimum.
    {"curve 2 water, circuit minimum above heating minimum", 0, 2, 2, 3,
     [](CSystemData& s) { s.m_system2MinSetTemp = 30; }, F(m_secondCurveWater[2]), 35, u"T107:35℃", 30, 50, 1,
     u"36℃"},
    {"heating set 2, circuit minimum above heating minimum", 0, 2, 1, 3,
     [](CSystemData& s) { s.m_system2MinSetTemp = 30; }, F(m_heatSecondSetTemp), 40, u"T110:40℃", 30, 50, 1,
     u"41℃"},
    {"circuit 2 maximum", 0, 2, 3, 1, nullptr, F(m_system2MaxSetTemp), 50, u"T111:50℃", 12, 60, 1, u"51℃"},
    {"circuit 2 maximum, dealer 15", 15, 2, 3, 1, nullptr, F(m_system2MaxSetTemp), 50, u"T111:50℃", 12, 75, 1, u"51℃"},
    {"circuit 2 minimum", 0, 2, 3, 2, nullptr, F(m_system2MinSetTemp), 12, u"T80:12℃", 7, 50, 1, u"13℃"},
    {"dual cooling curve 1", 0, 2, 3, 3, nullptr, F(m_dualCoolCurveWater[0]), 18, u"T250:18℃", 12, 50, 1, u"19℃"},
    {"dual cooling curve 3", 0, 2, 3, 5, nullptr, F(m_dualCoolCurveWater[2]), 20, u"T252:20℃", 12, 50, 1, u"21℃"},
    {"dual cooling curve, cooling maximum above circuit maximum", 0, 2, 3, 4,
     [](CSystemData& s) {
       s.m_system2MaxSetTemp = 24;
       s.m_coolSetMax = 28;
     },
     F(m_dualCoolCurveWater[1]), 27, u"T251:27℃", 12, 28, 1, u"28℃"},
    {"dual cooling curve, cooling minimum above circuit minimum", 0, 2, 3, 4,
     [](CSystemData& s) { s.m_coolSetMin = 15; }, F(m_dualCoolCurveWater[1]), 15, u"T251:15℃", 15, 50, 1,
     u"16℃"},
    // Page 3.
    {"hot water", 0, 3, 1, 1, nullptr, F(m_hotWaterSetTemp), 50, u"T85:50℃", 25, 75, 1, u"51℃"},
    {"hot water restart", 0, 3, 1, 2, nullptr, F(m_hotWaterRestartDiff), 5, u"T86:5℃", 2, 15, 1, u"6℃"},
    {"balance start", 0, 3, 1, 4, nullptr, F(m_balanceStartTemp), -15, u"T88:-15℃", -15, 20, 1, u"-14℃"},
    {"balance hot water time", 0, 3, 1, 5, nullptr, F(m_balanceHotWaterMinTime), 30, u"T89:30T419", 10, 60, 5,
     u"35T419"},
    {"balance heating time", 0, 3, 2, 1, nullptr, F(m_balanceHeatMaxTime), 180, u"T90:180T419", 30, 180, 5,
     u"180T419"},
    {"balance difference", 0, 3, 2, 2, nullptr, F(m_balanceTempDiff), 5, u"T91:5℃", 3, 10, 1, u"6℃"},
    {"ECO ambient start", 0, 3, 2, 5, nullptr, F(m_ecoHotWaterAmbientStart), 0, u"T277:0℃", -20, 43, 1, u"1℃"},
    // Page 4.
    {"reheat set", 0, 4, 1, 5, nullptr, F(m_reheatSetTemp), 45, u"T97:45℃", 30, 55, 1, u"46℃"},
    {"reheat restart", 0, 4, 2, 1, nullptr, F(m_reheatRestartDiff), 5, u"T98:5℃", 2, 20, 1, u"6℃"},
    // Page 5.
    {"sleep adjust", 0, 5, 1, 2, nullptr, F(m_sleepTempAdjust), 3, u"T113:3℃", 2, 10, 1, u"4℃"},
    {"allowed deviation", 0, 5, 1, 5, nullptr, F(m_allowedTempDeviation), 3, u"T116:3℃", 2, 10, 1, u"4℃"},
    {"dealer 9 allowed deviation", 9, 5, 1, 2, nullptr, F(m_allowedTempDeviation), 3, u"T116:3℃", 2, 10, 1, u"4℃"},
    // Page 6.
    {"disinfection temperature", 0, 6, 1, 3, nullptr, F(m_sterilizeTemp), 65, u"T65:65℃", 60, 75, 1, u"66℃"},
    {"disinfection hold", 0, 6, 1, 4, nullptr, F(m_sterilizeHoldTime), 10, u"T67:10T419", 5, 60, 1, u"11T419"},
    {"disinfection maximum", 0, 6, 1, 5, nullptr, F(m_sterilizeMaxTime), 60, u"T68:60T419", 10, 240, 5, u"65T419"},
    // Page 7.
    {"holiday hot water", 0, 7, 1, 2, nullptr, F(m_holidayHotWaterTemp), 40, u"T71:40℃", 10, 50, 1, u"41℃"},
    {"holiday heating", 0, 7, 1, 3, nullptr, F(m_holidayHeatTemp), 30, u"T72:30℃", 10, 50, 1, u"31℃"},
};

class ParamPageValues : public ParamPageFixture {};

TEST_F(ParamPageValues, EachRow_OpensItsEditorAndWritesOnlyOnOk) {
  for (const ValueCase& c : kCases) {
    SCOPED_TRACE(c.name);
    CSystemData& r = *GetSystemData();
    g_dealerId = c.dealer;
    Limits(r);
    if (c.setup) c.setup(r);
    c.field(r) = c.value;
    m_param.OpenAt(c.page, c.sub);

    CString caption;
    int32_t min = 0, max = 0, step = 0;
    TapRow(c.row, {[&] {
      ASSERT_NE(Editor(), nullptr);
      caption = Editor()->Caption();
      min = Editor()->Min();
      max = Editor()->Max();
      step = Editor()->Step();
      Tap(DlgValue::kPlus);
      Tap(DlgPopup::kCancel);
    }});
    EXPECT_EQ(caption, CString(c.caption));
    EXPECT_EQ(min, c.min);
    EXPECT_EQ(max, c.max);
    EXPECT_EQ(step, c.step);
    EXPECT_EQ(c.field(r), c.value) << "cancel wrote the field";

    TapRow(c.row, {[&] {
      Tap(DlgValue::kPlus);
      Tap(DlgPopup::kOk);
    }});
    const int32_t expected = c.value + c.step > c.max ? c.max : c.value + c.step;
    EXPECT_EQ(c.field(r), expected);
    EXPECT_EQ(Shown(c.row), CString(c.shownAfter));
  }
}

}  // namespace
