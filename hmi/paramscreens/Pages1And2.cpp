// Pages 1 and 2: temperature control, the heating and cooling weather curves, and the second-level
// (circuit 2) temperatures. A circuit's minimum or maximum set temperature pulls that circuit's set
// temperatures and heating-curve water temperatures into the new range as soon as its editor
// closes; the heating curve's ambient points stay in ascending order, as the curve and the band
// choice read them.
// The screen's operations of the pages, DlgParam's DrawPageN and EditPageN, close the file.
#include "DlgParam.h"
#include "LangTexts.h"
#include "ParamScreenRows.h"
#include "RowTables.h"

namespace {

const int kDealer9 = 9;
const int kAmbientMin = -25;
const int kAmbientMax = 25;
const int kAmbientCaption = 49;  // 49..53, points 1..5
const int kAmbientSub = 2;

int32_t Max(int32_t a, int32_t b) { return a > b ? a : b; }
int32_t Min(int32_t a, int32_t b) { return a < b ? a : b; }

// The highest maximum set temperature of either circuit: 75 for the dealers whose units allow it,
// else the heating maximum.
int32_t SystemMaxLimit(const CSystemData& s, int dealerId) {
  switch (dealerId) {
    case 2: case 3: case 9: case 11: case 14: case 15: return 75;
    default: return s.m_heatSetMax;
  }
}

// A cooling set temperature runs from the circuit's minimum to the lower of the cooling maximum and
// the circuit's maximum; with the circuit's minimum not below the cooling maximum it is that maximum.
RowRange CoolSetRange(const CSystemData& s, int32_t sysMin, int32_t sysMax) {
  if (sysMin < s.m_coolSetMax) return {sysMin, Min(s.m_coolSetMax, sysMax)};
  return {s.m_coolSetMax, s.m_coolSetMax};
}
// A heating set temperature runs from the higher of the heating and circuit minimums to the
// circuit's maximum; with that maximum below the heating minimum it is the heating minimum.
RowRange HeatSetRange(const CSystemData& s, int32_t sysMin, int32_t sysMax) {
  if (sysMax < s.m_heatSetMin) return {s.m_heatSetMin, s.m_heatSetMin};
  return {Max(s.m_heatSetMin, sysMin), sysMax};
}
RowRange CoolCurveRange(const CSystemData& s, int32_t sysMin, int32_t sysMax) {
  return {Max(s.m_coolSetMin, sysMin), Max(sysMax, s.m_coolSetMax)};
}

// After a circuit's minimum: set temperatures and heating-curve water temperatures below it rise to it
// (the cooling set temperature no higher than the cooling maximum).
void RaiseToMin(const CSystemData& s, int32_t sysMin, int32_t& heatSet, int32_t& coolSet, int32_t* curve) {
  if (heatSet < sysMin) heatSet = sysMin;
  if (coolSet < sysMin) coolSet = Min(s.m_coolSetMax, sysMin);
  for (int i = 0; i < 5; ++i) {
    if (curve[i] < sysMin) curve[i] = sysMin;
  }
}
// After a circuit's maximum: those above it fall to it.
void LowerToMax(int32_t sysMax, int32_t& heatSet, int32_t& coolSet, int32_t* curve) {
  if (heatSet > sysMax) heatSet = sysMax;
  if (coolSet > sysMax) coolSet = sysMax;
  for (int i = 0; i < 5; ++i) {
    if (curve[i] > sysMax) curve[i] = sysMax;
  }
}

void AfterSys1Min(CSystemData& s) {
  RaiseToMin(s, s.m_system1MinSetTemp, s.m_heatSetTemp, s.m_coolSetTemp, s.m_curveWater);
}
void AfterSys1Max(CSystemData& s) {
  LowerToMax(s.m_system1MaxSetTemp, s.m_heatSetTemp, s.m_coolSetTemp, s.m_curveWater);
}
void AfterSys2Min(CSystemData& s) {
  RaiseToMin(s, s.m_system2MinSetTemp, s.m_heatSecondSetTemp, s.m_coolSecondSetTemp, s.m_secondCurveWater);
}
void AfterSys2Max(CSystemData& s) {
  LowerToMax(s.m_system2MaxSetTemp, s.m_heatSecondSetTemp, s.m_coolSecondSetTemp, s.m_secondCurveWater);
}

RowRange Sys1CoolSet(const CSystemData& s, int) { return CoolSetRange(s, s.m_system1MinSetTemp, s.m_system1MaxSetTemp); }
RowRange Sys1HeatSet(const CSystemData& s, int) { return HeatSetRange(s, s.m_system1MinSetTemp, s.m_system1MaxSetTemp); }
RowRange Sys1Curve(const CSystemData& s, int) { return {s.m_heatSetMin, s.m_system1MaxSetTemp}; }
RowRange Sys1MinRange(const CSystemData& s, int) { return {s.m_coolSetMin, s.m_system1MaxSetTemp}; }
RowRange Sys1MaxRange(const CSystemData& s, int dealer) { return {s.m_system1MinSetTemp, SystemMaxLimit(s, dealer)}; }
RowRange Sys1CoolCurve(const CSystemData& s, int) { return CoolCurveRange(s, s.m_system1MinSetTemp, s.m_system1MaxSetTemp); }
RowRange Sys2CoolSet(const CSystemData& s, int) { return CoolSetRange(s, s.m_system2MinSetTemp, s.m_system2MaxSetTemp); }
RowRange Sys2HeatSet(const CSystemData& s, int) { return HeatSetRange(s, s.m_system2MinSetTemp, s.m_system2MaxSetTemp); }
RowRange Sys2Curve(const CSystemData& s, int) { return {Max(s.m_heatSetMin, s.m_system2MinSetTemp), s.m_system2MaxSetTemp}; }
RowRange Sys2MinRange(const CSystemData& s, int) { return {s.m_coolSetMin, s.m_system2MaxSetTemp}; }
RowRange Sys2MaxRange(const CSystemData& s, int dealer) { return {s.m_system2MinSetTemp, SystemMaxLimit(s, dealer)}; }
RowRange Sys2CoolCurve(const CSystemData& s, int) { return CoolCurveRange(s, s.m_system2MinSetTemp, s.m_system2MaxSetTemp); }

// The cooling curve's ambient points keep a strict order through their ranges.
RowRange CoolAmbient1(const CSystemData& s, int) { return {16, s.m_coolCurveAmbient[1] - 1}; }
RowRange CoolAmbient2(const CSystemData& s, int) { return {s.m_coolCurveAmbient[0] + 1, s.m_coolCurveAmbient[2] - 1}; }
RowRange CoolAmbient3(const CSystemData& s, int) { return {s.m_coolCurveAmbient[1] + 1, 40}; }

using K = RowSpec;

// Sub-pages 1 to 3, shared by every dealer.
#define PAGE1_COMMON                                                                                                   \
  {1, 1, 44, K::kDegrees, ROW_FIELD(m_stopTempOffset), ROW_RANGE(1, 5), 1, false, nullptr, nullptr},                   \
  {1, 2, 45, K::kDegrees, ROW_FIELD(m_tempHysteresis), ROW_RANGE(1, 10), 1, false, nullptr, nullptr},                  \
  {1, 3, 46, K::kDegrees, ROW_FIELD(m_derateTempDiff), ROW_RANGE(1, 10), 1, false, nullptr, nullptr},                  \
  {1, 4, 47, K::kDegrees, ROW_FIELD(m_coolSetTemp), Sys1CoolSet, 1, false, nullptr, nullptr},                          \
  {1, 5, 48, K::kToggle, ROW_FIELD(m_curveEnabled), nullptr, 1, false, nullptr, nullptr},                              \
  {2, 1, 49, K::kDegrees, ROW_FIELD(m_curveAmbient[0]), nullptr, 1, false, nullptr, nullptr},                          \
  {2, 2, 50, K::kDegrees, ROW_FIELD(m_curveAmbient[1]), nullptr, 1, false, nullptr, nullptr},                          \
  {2, 3, 51, K::kDegrees, ROW_FIELD(m_curveAmbient[2]), nullptr, 1, false, nullptr, nullptr},                          \
  {2, 4, 52, K::kDegrees, ROW_FIELD(m_curveAmbient[3]), nullptr, 1, false, nullptr, nullptr},                          \
  {2, 5, 53, K::kDegrees, ROW_FIELD(m_curveAmbient[4]), nullptr, 1, false, nullptr, nullptr},                          \
  {3, 1, 54, K::kDegrees, ROW_FIELD(m_curveWater[0]), Sys1Curve, 1, false, nullptr, nullptr},                          \
  {3, 2, 55, K::kDegrees, ROW_FIELD(m_curveWater[1]), Sys1Curve, 1, false, nullptr, nullptr},                          \
  {3, 3, 56, K::kDegrees, ROW_FIELD(m_curveWater[2]), Sys1Curve, 1, false, nullptr, nullptr},                          \
  {3, 4, 57, K::kDegrees, ROW_FIELD(m_curveWater[3]), Sys1Curve, 1, false, nullptr, nullptr},                          \
  {3, 5, 58, K::kDegrees, ROW_FIELD(m_curveWater[4]), Sys1Curve, 1, false, nullptr, nullptr}

const RowSpec kPage1[] = {
    PAGE1_COMMON,
    {4, 1, 59, K::kToggle, ROW_FIELD(m_curveCorrectionEnabled), nullptr, 1, false, nullptr, nullptr},
    {4, 2, 60, K::kDegrees, ROW_FIELD(m_heatRoomSetTemp), ROW_RANGE(15, 35), 1, false, nullptr, nullptr},
    {4, 3, 61, K::kDegrees, ROW_FIELD(m_coolRoomSetTemp), ROW_RANGE(15, 35), 1, false, nullptr, nullptr},
    {4, 4, 62, K::kDegrees, ROW_FIELD(m_heatSetTemp), Sys1HeatSet, 1, false, nullptr, nullptr},
    {4, 5, 83, K::kDegrees, ROW_FIELD(m_system1MinSetTemp), Sys1MinRange, 1, true, AfterSys1Min, nullptr},
    {5, 1, 84, K::kDegrees, ROW_FIELD(m_system1MaxSetTemp), Sys1MaxRange, 1, true, AfterSys1Max, nullptr},
    {5, 2, 293, K::kToggle, ROW_FIELD(m_mixTemp1Enabled), nullptr, 1, true, nullptr, nullptr},
    {5, 3, 244, K::kDegrees, ROW_FIELD(m_coolCurveAmbient[0]), CoolAmbient1, 1, false, nullptr, nullptr},
    {5, 4, 245, K::kDegrees, ROW_FIELD(m_coolCurveAmbient[1]), CoolAmbient2, 1, false, nullptr, nullptr},
    {5, 5, 246, K::kDegrees, ROW_FIELD(m_coolCurveAmbient[2]), CoolAmbient3, 1, false, nullptr, nullptr},
    {6, 1, 247, K::kDegrees, ROW_FIELD(m_coolCurveWater[0]), Sys1CoolCurve, 1, false, nullptr, nullptr},
    {6, 2, 248, K::kDegrees, ROW_FIELD(m_coolCurveWater[1]), Sys1CoolCurve, 1, false, nullptr, nullptr},
    {6, 3, 249, K::kDegrees, ROW_FIELD(m_coolCurveWater[2]), Sys1CoolCurve, 1, false, nullptr, nullptr},
    {6, 4, 253, K::kToggle, ROW_FIELD(m_coolCurveEnabled), nullptr, 1, false, nullptr, nullptr},
};

const RowSpec kPage1Model9[] = {
    PAGE1_COMMON,
    {4, 1, 62, K::kDegrees, ROW_FIELD(m_heatSetTemp), Sys1HeatSet, 1, false, nullptr, nullptr},
    {4, 2, 83, K::kDegrees, ROW_FIELD(m_system1MinSetTemp), Sys1MinRange, 1, true, AfterSys1Min, nullptr},
    {4, 3, 84, K::kDegrees, ROW_FIELD(m_system1MaxSetTemp), Sys1MaxRange, 1, true, AfterSys1Max, nullptr},
    {4, 4, 293, K::kToggle, ROW_FIELD(m_mixTemp1Enabled), nullptr, 1, true, nullptr, nullptr},
};

#define PAGE2_COMMON                                                                                                   \
  {1, 1, 102, K::kToggle, ROW_FIELD(m_dualTempEnabled), nullptr, 1, false, nullptr, nullptr},                          \
  {1, 2, 103, K::kDegrees, ROW_FIELD(m_coolSecondSetTemp), Sys2CoolSet, 1, false, nullptr, nullptr},                   \
  {1, 3, 110, K::kDegrees, ROW_FIELD(m_heatSecondSetTemp), Sys2HeatSet, 1, false, nullptr, nullptr},                   \
  {1, 4, 294, K::kToggle, ROW_FIELD(m_mixTemp2Enabled), nullptr, 1, true, nullptr, nullptr},                           \
  {1, 5, 104, K::kToggle, ROW_FIELD(m_heatSecondCurveEnabled), nullptr, 1, false, nullptr, nullptr},                   \
  {2, 1, 105, K::kDegrees, ROW_FIELD(m_secondCurveWater[0]), Sys2Curve, 1, false, nullptr, nullptr},                   \
  {2, 2, 106, K::kDegrees, ROW_FIELD(m_secondCurveWater[1]), Sys2Curve, 1, false, nullptr, nullptr},                   \
  {2, 3, 107, K::kDegrees, ROW_FIELD(m_secondCurveWater[2]), Sys2Curve, 1, false, nullptr, nullptr},                   \
  {2, 4, 108, K::kDegrees, ROW_FIELD(m_secondCurveWater[3]), Sys2Curve, 1, false, nullptr, nullptr},                   \
  {2, 5, 109, K::kDegrees, ROW_FIELD(m_secondCurveWater[4]), Sys2Curve, 1, false, nullptr, nullptr},                   \
  {3, 1, 111, K::kDegrees, ROW_FIELD(m_system2MaxSetTemp), Sys2MaxRange, 1, true, AfterSys2Max, nullptr},              \
  {3, 2, 80, K::kDegrees, ROW_FIELD(m_system2MinSetTemp), Sys2MinRange, 1, true, AfterSys2Min, nullptr}

const RowSpec kPage2[] = {
    PAGE2_COMMON,
    {3, 3, 250, K::kDegrees, ROW_FIELD(m_dualCoolCurveWater[0]), Sys2CoolCurve, 1, false, nullptr, nullptr},
    {3, 4, 251, K::kDegrees, ROW_FIELD(m_dualCoolCurveWater[1]), Sys2CoolCurve, 1, false, nullptr, nullptr},
    {3, 5, 252, K::kDegrees, ROW_FIELD(m_dualCoolCurveWater[2]), Sys2CoolCurve, 1, false, nullptr, nullptr},
    {4, 1, 254, K::kToggle, ROW_FIELD(m_dualCoolCurveEnabled), nullptr, 1, false, nullptr, nullptr},
};

const RowSpec kPage2Model9[] = {PAGE2_COMMON};

// Heating curve ambient point i (0..4) on a copy: the editor offers the span between its neighbours,
// and the copy is stored only when it lies strictly between them, so the points stay ascending.
void EditAmbientPoint(PageContext& c, int i) {
  int32_t* points = c.d.m_curveAmbient;
  const int32_t below = i > 0 ? points[i - 1] : kAmbientMin - 1;
  const int32_t above = i < 4 ? points[i + 1] : kAmbientMax + 1;
  int32_t lo = Max(kAmbientMin, below + 1);
  int32_t hi = Min(kAmbientMax, above - 1);
  if (lo > hi) {
    lo = kAmbientMin;
    hi = kAmbientMax;
  }
  int32_t copy = points[i];
  c.ui.EditValue(LangText(kAmbientCaption + i), &copy, lo, hi, u"℃", 1);
  if (copy > below && copy < above) points[i] = copy;
}

}  // namespace

int Page1Rows(PageContext& c, int subPage, SubPageRows& rows) {
  const bool dealer9 = c.dealerId == kDealer9;
  TableRows(c, dealer9 ? TableOf(kPage1Model9) : TableOf(kPage1), subPage, rows,
            [&c](const RowSpec& r) -> std::function<void()> {
              if (r.sub != kAmbientSub) return {};
              const int point = r.row - 1;
              return [&c, point] { EditAmbientPoint(c, point); };
            });
  return dealer9 ? 4 : 6;
}

int Page2Rows(PageContext& c, int subPage, SubPageRows& rows) {
  const bool dealer9 = c.dealerId == kDealer9;
  TableRows(c, dealer9 ? TableOf(kPage2Model9) : TableOf(kPage2), subPage, rows);
  return dealer9 ? 3 : 4;
}

// ---- The pages on the parameter screen

void DlgParam::DrawPage1() { m_subPageCount = DrawParamRows(*this, 1, m_subPage); }
void DlgParam::DrawPage2() { m_subPageCount = DrawParamRows(*this, 2, m_subPage); }
void DlgParam::EditPage1(int row) { TapParamRow(*this, 1, m_subPage, row); }
void DlgParam::EditPage2(int row) { TapParamRow(*this, 2, m_subPage, row); }
