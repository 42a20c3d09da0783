// Pages 10 and 11: the backup heat sources with the heating integral and the auxiliary-heater
// cut-offs; the circulation pumps of systems A and B and the two service runs.
// The screen's operations of the pages, DlgParam's DrawPageN and EditPageN, close the file.
#include "CSystemData.h"
#include "DlgParam.h"
#include "ParamRows.h"
#include "ParamScreenRows.h"

using namespace paramrows;

namespace {

// The service runs are toggles whose "on" is a request code the engine reads, not 1.
const int kServiceRun1On = 32;
const int kServiceRun2On = 16;

CString Minutes(int32_t value) { return Fmt(u"%d%s", value, Text(419).GetString()); }

ParamRow ServiceRow(const CString& caption, int32_t& field, int onValue, int enabled) {
  return ToggleRow(caption, field, enabled, [&field, onValue] { field = field == 0 ? onValue : 0; });
}

}  // namespace

int Page10Rows(PageContext& c, int subPage, SubPageRows& rows) {
  CSystemData& d = c.d;
  const int unlocked = Unlocked(d);
  switch (subPage) {
    case 1:
      rows[0] = FlipRow(Text(75), d.m_heatBackupEnabled, 1);
      rows[1] = ChoiceRow(c, Text(76), Named(d.m_heatBackupPriority, {442}, 443), 1, d.m_heatBackupPriority,
                          Texts({442, 443}));
      rows[2] = FlipRow(Text(77), d.m_hotWaterBackupEnabled, 1);
      rows[3] = ChoiceRow(c, Text(78), Named(d.m_hotWaterBackupPriority, {442}, 443), 1, d.m_hotWaterBackupPriority,
                          Texts({442, 443}));
      rows[4] = EditRow(c, Text(79), Fmt(u"%d", d.m_heatIntegralSetting), 1, d.m_heatIntegralSetting, 0, 600,
                        Fmt(u"℃*%s", Text(419).GetString()), 5);
      break;
    case 2: {
      rows[0] = EditRow(c, Text(81), Minutes(d.m_insufficientCapacityTime), unlocked, d.m_insufficientCapacityTime,
                        5, 120, Text(419));
      rows[1] = FlipRow(Text(82), d.m_heatEmergencyRun, unlocked);
      ParamRow above = FlipRow(Text(165), d.m_auxOffAboveAmbient, unlocked);
      ParamRow temp = EditRow(c, Text(166), Fmt(u"%d℃", d.m_auxOffAmbientTemp), unlocked, d.m_auxOffAmbientTemp,
                              -20, 30);
      if (c.dealerId == 9) {
        rows[2] = above;
        rows[3] = temp;
      } else {
        rows[2] = FlipRow(Text(164), d.m_auxOffWithTankHeater, unlocked);
        rows[3] = above;
        rows[4] = temp;
      }
      break;
    }
    default:
      break;
  }
  return 2;
}

int Page11Rows(PageContext& c, int subPage, SubPageRows& rows) {
  CSystemData& d = c.d;
  const int unlocked = Unlocked(d);
  const std::vector<CString> speeds = Texts({467, 468, 469});
  switch (subPage) {
    case 1:
      rows[0] = ChoiceRow(c, Text(136), Named(d.m_pumpType, {462}, 463), unlocked, d.m_pumpType, Texts({462, 463}));
      rows[1] = ChoiceRow(c, Text(141), Named(d.m_pumpWorkMode, {470, 471}, 472), unlocked, d.m_pumpWorkMode,
                          Texts({470, 471, 472}));
      rows[2] = EditRow(c, Text(142), Minutes(d.m_pumpStandbyTime), unlocked, d.m_pumpStandbyTime, 5, 60, Text(419));
      rows[3] = EditRow(c, Text(143), Minutes(d.m_pumpRunTime), unlocked, d.m_pumpRunTime, 1, 10, Text(419));
      rows[4] = FlipRow(Text(292), d.m_bufferTankPresent, unlocked);
      break;
    case 2:
      rows[0] = FlipRow(Text(295), d.m_pumpAHeating, unlocked);
      rows[1] = FlipRow(Text(296), d.m_pumpACooling, unlocked);
      rows[2] = FlipRow(Text(297), d.m_pumpAHighTemp, unlocked);
      rows[3] = FlipRow(Text(298), d.m_pumpBHeating, unlocked);
      rows[4] = FlipRow(Text(299), d.m_pumpBCooling, unlocked);
      break;
    case 3: {
      rows[0] = FlipRow(Text(300), d.m_pumpBHighTemp, unlocked);
      rows[1] = ChoiceRow(c, Text(161), Named(d.m_pumpSpeedHeating, {467, 468}, 469), unlocked, d.m_pumpSpeedHeating,
                          speeds);
      rows[2] = ChoiceRow(c, Text(162), Named(d.m_pumpSpeedCooling, {467, 468}, 469), unlocked, d.m_pumpSpeedCooling,
                          speeds);
      rows[3] = ChoiceRow(c, Text(163), Named(d.m_pumpSpeedHotWater, {467, 468}, 469), unlocked,
                          d.m_pumpSpeedHotWater, speeds);
      const int heatCool = d.m_heatingEnabled != 0 || d.m_coolingEnabled != 0;
      rows[4] = ServiceRow(Text(167), d.m_serviceToggle1, kServiceRun1On,
                           unlocked && d.m_systemSwitch == 0 && heatCool ? 1 : 0);
      break;
    }
    case 4:
      rows[0] = ServiceRow(Text(168), d.m_serviceToggle2, kServiceRun2On,
                           unlocked && d.m_systemSwitch == 0 && d.m_hotWaterEnabled != 0 ? 1 : 0);
      break;
    default:
      break;
  }
  return 4;
}

// ---- The pages on the parameter screen

void DlgParam::DrawPage10() { m_subPageCount = DrawParamRows(*this, 10, m_subPage); }
void DlgParam::DrawPage11() { m_subPageCount = DrawParamRows(*this, 11, m_subPage); }
void DlgParam::EditPage10(int row) { TapParamRow(*this, 10, m_subPage, row); }
void DlgParam::EditPage11(int row) { TapParamRow(*this, 11, m_subPage, row); }
