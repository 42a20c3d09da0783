// Page 9: the operating functions the installation offers, the automatic-mode source, the ambient
// temperatures at which heating and cooling may start, and (dealer 9, unlocked) the gear PID.
// The screen's operations of the page, DlgParam::DrawPage9 and EditPage9, close the file.
#include "CSystemData.h"
#include "DlgParam.h"
#include "ParamRows.h"
#include "ParamScreenRows.h"

using namespace paramrows;

namespace {

const int kPidMin = -10000;
const int kPidMax = 10000;

CString Pid(int32_t value) { return Fmt(u"%d", value); }

}  // namespace

int Page9Rows(PageContext& c, int subPage, SubPageRows& rows) {
  CSystemData& d = c.d;
  const bool dealer9 = c.dealerId == 9;
  const int level = d.m_unlockLevel;
  const int count = dealer9 ? (level != 0 ? 4 : 1) : 2;
  switch (subPage) {
    case 1: {
      rows[0] = FlipRow(Text(21), d.m_hotWaterEnabled, level);
      rows[1] = FlipRow(Text(22), d.m_heatingEnabled, level);
      rows[2] = FlipRow(Text(23), d.m_coolingEnabled, level);
      ParamRow lowFreq = EditRow(c, Text(29), Fmt(u"%d%s", d.m_lowFreqRunTime, Text(419).GetString()), level,
                                 d.m_lowFreqRunTime, 5, 180, Text(419));
      if (dealer9) {
        rows[3] = lowFreq;
      } else {
        rows[3] = FlipRow(Text(26), d.m_tempControlPoint, level);
        rows[4] = lowFreq;
      }
      break;
    }
    case 2:
      if (dealer9) break;
      rows[0] = ChoiceRow(c, Text(24), Named(d.m_autoFunction, {436, 425, 427, 428}, 436), level, d.m_autoFunction,
                          Texts({436, 425, 427, 428}));
      rows[1] = EditRow(c, Text(27), Fmt(u"%d℃", d.m_heatAmbientStart), 1, d.m_heatAmbientStart, -10, 25);
      rows[2] = EditRow(c, Text(28), Fmt(u"%d℃", d.m_coolAmbientStart), 1, d.m_coolAmbientStart, 20, 53);
      break;
    case 3:
      rows[0] = FlipRow(u"PID", d.m_gearPidSelect, level);
      rows[1] = EditRow(c, u"PID1   P", Pid(d.m_pid1P), 1, d.m_pid1P, kPidMin, kPidMax);
      rows[2] = EditRow(c, u"PID1   I", Pid(d.m_pid1I), 1, d.m_pid1I, kPidMin, kPidMax);
      rows[3] = EditRow(c, u"PID1   D", Pid(d.m_pid1D), 1, d.m_pid1D, kPidMin, kPidMax);
      rows[4] = EditRow(c, u"PID2   P", Pid(d.m_pid2P), 1, d.m_pid2P, kPidMin, kPidMax);
      break;
    case 4: {
      const float* p = d.m_pidDebug;
      rows[0] = EditRow(c, u"PID2   I", Pid(d.m_pid2I), 1, d.m_pid2I, kPidMin, kPidMax);
      rows[1] = EditRow(c, u"PID2   D", Pid(d.m_pid2D), 1, d.m_pid2D, kPidMin, kPidMax);
      rows[2] = ValueRow(u"PID1 State", Fmt(u"%.1f-%.1f-%.1f", p[10], p[16], p[17]), 1);
      rows[3] = ValueRow(u"PID2 State", Fmt(u"%.1f-%.1f-%.1f", p[0], p[6], p[7]), 1);
      break;
    }
    default:
      break;
  }
  return count;
}

// ---- The page on the parameter screen

void DlgParam::DrawPage9() { m_subPageCount = DrawParamRows(*this, 9, m_subPage); }
void DlgParam::EditPage9(int row) { TapParamRow(*this, 9, m_subPage, row); }
