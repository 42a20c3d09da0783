// Page 15: running values and versions, read-only; every row is drawn disabled, so a tap only
// redraws the page.
// The screen's operation of the page, DlgParam::DrawPage15, closes the file.
#include "AppHelpers.h"
#include "CSystemData.h"
#include "DlgParam.h"
#include "ParamRows.h"
#include "ParamScreenRows.h"

using namespace paramrows;

namespace {

// Versions are kept in hundredths: 205 is V2.05.
CString Version(int32_t value) { return Fmt(u"V%d.%02d", value / 100, value % 100); }
CString Degrees(float value) { return Fmt(u"%.1f℃", value); }
ParamRow Shown(int captionId, const CString& value) { return ValueRow(Text(captionId), value, 0); }

}  // namespace

int Page15Rows(PageContext& c, int subPage, SubPageRows& rows) {
  const CSystemData& d = c.d;
  switch (subPage) {
    case 1: {
      CString version = Version(d.m_softwareVersion);
      if (d.m_testNumber != 0) version += Fmt(u"-T%d", d.m_testNumber);
      rows[0] = Shown(178, version);
      rows[1] = Shown(177, Version(d.m_dataVersion));
      rows[2] = Shown(180, Degrees(d.m_outletTemp));
      rows[3] = Shown(181, Degrees(d.m_inletTemp));
      rows[4] = Shown(182, Degrees(d.m_coilTemp));
      break;
    }
    case 2:
      rows[0] = Shown(183, Degrees(d.m_tankTemp));
      rows[1] = Shown(184, Degrees(d.m_heatCoolTemp));
      rows[2] = Shown(185, Fmt(u"%.1f", 100.0 - d.m_indoorValue1));
      rows[3] = Shown(186, Fmt(u"%dHz", d.m_compressorHz));
      rows[4] = Shown(187, Fmt(u"%dP", d.m_eevSteps));
      break;
    case 3:
      rows[0] = Shown(189, Degrees(d.m_ambientTempA));
      rows[1] = Shown(188, Degrees(d.m_ambientTempB));
      rows[2] = Shown(190, Degrees(d.m_ambientTempC));
      rows[3] = Shown(191, Fmt(u"%.1fBar", d.m_pressureA));
      rows[4] = Shown(192, Fmt(u"%.1fBar", d.m_pressureB));
      break;
    case 4:
      rows[0] = Shown(193, Degrees(d.m_outdoorTemp2113));
      rows[1] = Shown(194, Degrees(d.m_outdoorTemp2114));
      rows[2] = Shown(195, Degrees(d.m_outdoorTemp2112));
      rows[3] = Shown(133, FormatDurationParts(0, 0, d.m_heatPumpRunTime, 0, 0));
      rows[4] = Shown(200, Text(200));
      break;
    case 5:
      rows[0] = Shown(198, Fmt(u"%d", d.m_fan1Rpm));
      rows[1] = Shown(199, Fmt(u"%d", d.m_fan2Rpm));
      rows[2] = Shown(201, Fmt(u"%.1fA", d.m_current));
      rows[3] = Shown(202, Fmt(u"%dV", d.m_voltage));
      rows[4] = Shown(179, Version(d.m_outdoorVersion));
      break;
    default:
      break;
  }
  return 5;
}

// ---- The page on the parameter screen

void DlgParam::DrawPage15() { m_subPageCount = DrawParamRows(*this, 15, m_subPage); }
