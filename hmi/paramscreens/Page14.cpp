// Page 14: three-way valve timing, the test run, the backlight, the exit of the program, frost
// protection, defrost and mode-signal settings, the WiFi module's switches and read-outs, and the
// rated-condition test with its ten working points.
// The screen's operations of the page, DlgParam::DrawPage14 and EditPage14, close the file.
#include <algorithm>

#include "CSystemData.h"
#include "DlgParam.h"
#include "ParamRows.h"
#include "ParamScreenRows.h"
#include "UnitOutputs.h"

using namespace paramrows;

namespace {

const int kTestRunStart = 600;         // cycles of a test run
const int kTestRunStop = 20;           // what is left when a run is stopped; below it a run may start
const int kWifiStartWindow = 180;      // seconds the engine may configure the module after a switch-on
const int kPointCount = 10;
const int kRefusedText = 130;
const int kFanLimitCaption = 379;
const int kDefrostMethodCaption = 316;

CString Minutes(int32_t value) { return Fmt(u"%d%s", value, Text(419).GetString()); }

// The text of a fixed-size field: up to its terminator, and never beyond the field when the writer
// left none.
template <size_t N>
CString FieldText(const char16_t (&field)[N]) {
  const char16_t* end = std::find(field, field + N, u'\0');
  return CString(field, static_cast<int>(end - field));
}

// One line of working point i; empty for a point number outside A..J.
CString PointLine(const CSystemData& d, int i) {
  if (i < 0 || i >= kPointCount) return CString();
  return Fmt(u"%c A%d℃/W%d℃%dHz %dP/F%d/%dmin", static_cast<char16_t>(u'A' + i), d.m_pointAmbient[i],
             d.m_pointOutletTemp[i], d.m_pointFrequency[i], d.m_pointEevOpening[i], d.m_pointFanSpeed[i],
             d.m_pointDefrostInterval[i]);
}

// Settings the outdoor unit takes over: edited on a copy, and a change holds the unit while it
// takes the new value and tells the user so. `edit` is true when its pop-up was answered with OK.
ParamRow HeldChangeRow(PageContext& c, int captionId, int setting, const CString& value, int32_t& field,
                       std::function<bool(int32_t*)> edit) {
  return ValueRow(Text(captionId), value, Unlocked(c.d), [&c, captionId, setting, &field, edit] {
    int32_t copy = field;
    // A cancelled editor changes nothing and sends nothing, whatever the unit made of the last value.
    if (!edit(&copy)) return;
    // The same value again is sent again when the unit refused the last one.
    if (copy == field && c.d.m_outdoorSettingRefused.load() == 0) return;
    field = copy;
    HoldOutdoorSettingChange(c.d, setting);  // the new hold carries both cells again
    c.ui.Message(Text(captionId), Text(380), 0);
  });
}

// Switching the module (or its remote control) on opens the engine's configuration window again.
ParamRow WifiSwitchRow(PageContext& c, int captionId, int32_t& field, int enabled) {
  return ToggleRow(Text(captionId), field, enabled, [&c, &field] {
    Flip(field);
    if (field == 1) c.d.m_wifiStartCountdown = kWifiStartWindow;
  });
}

}  // namespace

int TellOutdoorSettingRefused(PageContext& c) {
  // Marked told first: the message box's own loop runs this timer again. A verdict the engine has
  // withdrawn meanwhile (a new hold) is not told.
  int32_t refused = 1;
  if (!c.d.m_outdoorSettingRefused.compare_exchange_strong(refused, 2)) return 0;
  const int caption = c.d.m_outdoorSettingIndex == kDefrostMethodSetting ? kDefrostMethodCaption : kFanLimitCaption;
  c.ui.Message(Text(caption), Text(kRefusedText), 0);
  return 1;
}

int Page14Rows(PageContext& c, int subPage, SubPageRows& rows) {
  CSystemData& d = c.d;
  const int unlocked = Unlocked(d);
  const int count = d.m_dealerId == 3 || d.m_dealerId == 15 ? 5 : 6;
  switch (subPage) {
    case 1:
      rows[0] = EditRow(c, Text(175), d.m_threeWaySwitchTime == 0 ? Text(301) : Minutes(d.m_threeWaySwitchTime),
                        unlocked, d.m_threeWaySwitchTime, 0, 16, Text(419));
      rows[1] = EditRow(c, Text(25), d.m_threeWayPowerTime == 0 ? Text(302) : Minutes(d.m_threeWayPowerTime),
                        unlocked, d.m_threeWayPowerTime, 0, 16, Text(419));
      rows[2] = ValueRow(Text(303), Fmt(u"%dS", d.m_testRunCountdown.load()), unlocked, [&c] {
        // The engine counts the run down; this row only starts it or cuts it short.
        const bool start = c.d.m_testRunCountdown < kTestRunStop;
        if (c.ui.Message(Text(303), Text(start ? 305 : 304), 0) != IDOK) return;
        c.d.m_testRunCountdown = start ? kTestRunStart : kTestRunStop;
      });
      rows[3] = ChoiceRow(c, Text(123), Named(d.m_backlightMode, {456, 457, 458}, 459), 1, d.m_backlightMode,
                          Texts({456, 457, 458, 459}));
      rows[4] = CommandRow(Text(176), unlocked, [&c] {
        if (c.ui.Message(Text(176), Text(408), 0) == IDOK) c.ui.EndProgram();
      });
      break;
    case 2:
      rows[0] = EditRow(c, Text(124), Fmt(u"%d℃", d.m_frost1AmbientStart), unlocked, d.m_frost1AmbientStart, 5, 10);
      rows[1] = EditRow(c, Text(125), Fmt(u"%d℃", d.m_frost2AmbientStart), unlocked, d.m_frost2AmbientStart, 0, 4);
      rows[2] = EditRow(c, Text(126), Fmt(u"%d℃", d.m_frost2AmbientStop), unlocked, d.m_frost2AmbientStop, 0, 10);
      rows[3] = EditRow(c, Text(127), Fmt(u"%d℃", d.m_frost2OutletStart), unlocked, d.m_frost2OutletStart, 5, 30);
      rows[4] = EditRow(c, Text(128), Fmt(u"%d℃", d.m_frost2OutletStop), unlocked, d.m_frost2OutletStop, 5, 30);
      break;
    case 3:
      rows[0] = FlipRow(Text(129), d.m_defrostUseOtherWater, unlocked);
      rows[1] = ChoiceRow(c, Text(173), Named(d.m_modeSignalOutput, {436, 155, 156}, 436), unlocked,
                          d.m_modeSignalOutput, Texts({436, 155, 156}));
      rows[2] = ChoiceRow(c, Text(174), Text(d.m_modeSignalType != 0 ? 440 : 441), unlocked, d.m_modeSignalType,
                          Texts({441, 440}));
      rows[3] = HeldChangeRow(c, kFanLimitCaption, kFanLimitSetting, Fmt(u"%d%%", d.m_fanMaxSpeedPercent),
                              d.m_fanMaxSpeedPercent, [&c](int32_t* copy) {
                                return c.ui.EditValue(Text(kFanLimitCaption), copy, 90, 100, u"%", 5) == IDOK;
                              });
      rows[4] = HeldChangeRow(c, kDefrostMethodCaption, kDefrostMethodSetting,
                              Named(d.m_defrostMethod, {313, 314}, 315), d.m_defrostMethod, [&c](int32_t* copy) {
                                return c.ui.SelectOption(Text(kDefrostMethodCaption), copy, Texts({313, 314, 315})) >= 0;
                              });
      break;
    case 4:
      rows[0] = WifiSwitchRow(c, 283, d.m_wifiPresent, unlocked);
      rows[1] = WifiSwitchRow(c, 284, d.m_wifiControlEnabled, d.m_wifiPresent != 0 ? 1 : 0);
      rows[2] = ValueRow(Text(285), Text(d.m_wifiOnline != 0 ? 281 : 282), 0);
      rows[3] = ValueRow(Text(286), Text(d.m_wifiServerSeen != 0 ? 281 : 282), 0);
      rows[4] = ValueRow(Text(287), Fmt(u"%02X-%02X-%02X-%02X-%02X-%02X", d.m_wifiMac[0], d.m_wifiMac[1],
                                        d.m_wifiMac[2], d.m_wifiMac[3], d.m_wifiMac[4], d.m_wifiMac[5]),
                         0);
      break;
    case 5:
      rows[0] = ValueRow(Text(288), FieldText(d.m_wifiNetwork), 0);
      rows[1] = ValueRow(Text(289), FieldText(d.m_wifiSsid), 0);
      rows[2] = ValueRow(Text(280), unlocked ? FieldText(d.m_wifiKey) : CString(u"******"), 0);
      rows[3] = ValueRow(Text(290), FieldText(d.m_serverAddress), 0);
      rows[4] = ValueRow(Text(291), Fmt(u"%d", d.m_serverPort), 0);
      break;
    case 6: {
      const int testOn = d.m_ratedTestSwitch != 0 ? 1 : 0;
      rows[0] = ToggleRow(Text(484), d.m_ratedTestSwitch == 1, unlocked, [&d] {
        if (d.m_ratedTestSwitch == 0) {  // a new test starts
          d.m_ratedTestSwitch = 1;
          d.m_ratedTestStep = 0;
          d.m_ratedTestState = 0;
        } else if (d.m_ratedTestSwitch == 1) {  // stop requested; the engine restores and clears it
          d.m_ratedTestSwitch = 2;
        }
      });
      rows[1] = ValueRow(Text(485), PointLine(d, d.m_ratedCondition), testOn, [&c] {
        std::vector<CString> lines;
        for (int i = 0; i < kPointCount; ++i) lines.push_back(PointLine(c.d, i));
        int32_t chosen = c.d.m_ratedCondition;
        if (c.ui.SelectOption(Text(485), &chosen, lines) < 0 || chosen == c.d.m_ratedCondition) return;
        c.d.m_ratedCondition = chosen;
        // A test that has not saved the unit's cells yet writes the new point's once it has; sent to
        // the write step now, it would skip the save and later restore values never read.
        if (c.d.m_ratedTestStep != 0) c.d.m_ratedTestStep = 1;
      });
      rows[2] = ValueRow(Text(486), Named(d.m_ratedTestStep, {487, 488, 489, 490, 491}, 487), testOn);
      rows[3] = FlipRow(Text(492), d.m_ratedTestState, 1);
      break;
    }
    default:
      break;
  }
  return count;
}

// ---- The page on the parameter screen

void DlgParam::DrawPage14() { m_subPageCount = DrawParamRows(*this, 14, m_subPage); }
void DlgParam::EditPage14(int row) { TapParamRow(*this, 14, m_subPage, row); }
