// Pages 12 and 13: the floor first-heat programme and its progress; the power-cut input, the backup
// heat output, ECO heating and the outdoor unit's power-off function.
// The screen's operations of the pages, DlgParam's DrawPageN and EditPageN, close the file.
#include "CSystemData.h"
#include "DlgParam.h"
#include "ParamRows.h"
#include "ParamScreenRows.h"

using namespace paramrows;

namespace {

CString Hours(int32_t value) { return Fmt(u"%d%s", value, Text(418).GetString()); }

}  // namespace

int Page12Rows(PageContext& c, int subPage, SubPageRows& rows) {
  CSystemData& d = c.d;
  switch (subPage) {
    case 1:
      // Switching the programme on starts it from its first stage; switching off keeps the stage.
      rows[0] = ToggleRow(Text(146), d.m_floorHeatEnabled, Unlocked(d), [&d] {
        Flip(d.m_floorHeatEnabled);
        if (d.m_floorHeatEnabled) d.m_floorHeatStage = 0;
      });
      rows[1] = ValueRow(Text(147), Fmt(u"%d", d.m_floorHeatStage), 0);
      rows[2] = ValueRow(Text(148), Hours(d.m_floorStageRunTime), 0);
      rows[3] = ValueRow(Text(149), Fmt(u"%d℃", d.m_floorStageSetTemp), 0);
      rows[4] = ValueRow(Text(150), Hours(d.m_floorStageEffectiveTime), 0);
      break;
    case 2:
      rows[0] = ValueRow(Text(151), Hours(d.m_floorHeatTotalTime), 0);
      rows[1] = ValueRow(Text(152), Fmt(u"%d℃", d.m_floorHeatMaxTemp), 0);
      break;
    default:
      break;
  }
  return 2;
}

int Page13Rows(PageContext& c, int subPage, SubPageRows& rows) {
  CSystemData& d = c.d;
  const int unlocked = Unlocked(d);
  ParamRow ecoOn = FlipRow(Text(278), d.m_ecoHeatEnabled, unlocked);
  ParamRow ecoStart = EditRow(c, Text(279), Fmt(u"%d℃", d.m_ecoHeatAmbientStart), unlocked, d.m_ecoHeatAmbientStart,
                              -20, 43);
  if (c.dealerId == 9) {
    if (subPage == 1) {
      rows[0] = ecoOn;
      rows[1] = ecoStart;
      rows[2] = FlipRow(Text(122), d.m_pumpOnPowerCut, unlocked);
      rows[3] = FlipRow(Text(159), d.m_outdoorPowerOffEnabled, 1);
    }
    return 1;
  }
  switch (subPage) {
    case 1:
      rows[0] = FlipRow(Text(120), d.m_powerCutEnabled, 1);
      // The list offers text 441 (value 0) first.
      rows[1] = ChoiceRow(c, Text(119), Text(d.m_powerCutSignalType != 0 ? 440 : 441), unlocked,
                          d.m_powerCutSignalType, Texts({441, 440}));
      rows[2] = FlipRow(Text(121), d.m_backupHeatOutput, 1);
      rows[3] = FlipRow(Text(122), d.m_pumpOnPowerCut, 1);
      rows[4] = ecoOn;
      break;
    case 2:
      rows[0] = ecoStart;
      rows[1] = FlipRow(Text(158), d.m_tankProbeGuard, 1);
      rows[2] = FlipRow(Text(159), d.m_outdoorPowerOffEnabled, 1);
      rows[3] = EditRow(c, Text(160), Fmt(u"%d℃", d.m_outdoorPowerOffAmbient), unlocked, d.m_outdoorPowerOffAmbient,
                        -5, 25);
      break;
    default:
      break;
  }
  return 2;
}

// ---- The pages on the parameter screen

void DlgParam::DrawPage12() { m_subPageCount = DrawParamRows(*this, 12, m_subPage); }
void DlgParam::DrawPage13() { m_subPageCount = DrawParamRows(*this, 13, m_subPage); }
void DlgParam::EditPage12(int row) { TapParamRow(*this, 12, m_subPage, row); }
void DlgParam::EditPage13(int row) { TapParamRow(*this, 13, m_subPage, row); }
