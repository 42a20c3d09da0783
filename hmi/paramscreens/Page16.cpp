// Page 16, the designer page: the factory setting, the simulation switch, the dealer id and
// password, overrides of the units' sensors and inputs, the unit bus's serial link, the outdoor
// unit's heaters, defrost and fan data, the set-point limits, the working points of the rated test
// and the gear PID. Its captions are the program's own fixed texts.
// The screen's operations of the page, DlgParam::DrawPage16 and EditPage16, close the file.
#include "CSystemData.h"
#include "DemoMode.h"
#include "DlgKeypad.h"
#include "DlgMessage.h"
#include "DlgParam.h"
#include "IndoorBlock.h"
#include "OutdoorBlock.h"
#include "ParamRows.h"
#include "ParamScreenRows.h"

using namespace paramrows;

namespace {

const int kSaveFactorySetting = 4;  // request word: the engine saves the live set into t_System2
const int kSensorMin = -25;
const int kSensorMax = 100;
const int kPidMin = -10000;
const int kPidMax = 10000;

const char16_t kFactoryTitle[] = u"保存工厂设置";
const char16_t kFactoryQuestion[] = u"是否保存当前设置为工厂设置";
const char16_t kPasswordTitle[] = u"更改经销商密码";
const char16_t kPasswordRefused[] = u"新密码无效";

// Indoor sensors: element of IndoorBlock::m_temp1200 (register 1200 + element).
enum IndoorSensor { kRoom = 0, kTank = 1, kHeatCool = 2, kOutlet = 3, kInlet = 4, kCoil = 5, kMix1 = 8, kMix2 = 9 };

CString Degrees1(float value) { return Fmt(u"%.1f℃", value); }
CString Int(int32_t value) { return Fmt(u"%d", value); }

// A sensor override: the editor starts from the unit's reading in whole degrees; on OK the value
// replaces the reading in the unit's block (and whatever else must follow it), and a cancel leaves
// everything as it was.
ParamRow SensorRow(PageContext& c, const char16_t* caption, float shown, float* reading,
                   std::function<void(float)> alsoSet = {}) {
  return ValueRow(caption, Degrees1(shown), 1, [&c, caption, reading, alsoSet] {
    if (!reading) return;  // the unit's device is not there
    int32_t value = static_cast<int32_t>(*reading);
    if (c.ui.EditValue(caption, &value, kSensorMin, kSensorMax, u"℃", 1) != IDOK) return;
    *reading = static_cast<float>(value);
    if (alsoSet) alsoSet(*reading);
  });
}

float* IndoorReading(PageContext& c, IndoorSensor sensor) { return c.indoor ? &c.indoor->m_temp1200[sensor] : nullptr; }

// An input override flips the unit's raw input word in its block.
ParamRow InputRow(const char16_t* caption, int32_t shown, uint16_t* word, int enabled) {
  return ToggleRow(caption, shown, enabled, [word] {
    if (word) Flip(*word);
  });
}

// A new dealer password: the number typed, greater than 0. One whose digits are an access code could
// never be entered on the access row, which takes that code first; it is refused like an entry that
// is no number.
bool NewPassword(const CString& entry, int32_t* password) {
  const int32_t typed = DlgKeypad::NumberOf(entry);
  if (typed <= 0 || DlgKeypad::AccessLevelOf(Int(typed))) return false;
  *password = typed;
  return true;
}

// Working point i: one line, and six editors one after the other whatever each answered.
ParamRow PointRow(PageContext& c, int i) {
  CSystemData& d = c.d;
  const char16_t letter = static_cast<char16_t>(u'A' + i);
  CString line = Fmt(u"%c%d℃/W%d℃/%dHz %dP/F%d/%dmin", letter, d.m_pointAmbient[i], d.m_pointOutletTemp[i],
                     d.m_pointFrequency[i], d.m_pointEevOpening[i], d.m_pointFanSpeed[i], d.m_pointDefrostInterval[i]);
  return ValueRow(Fmt(u"工况%c", letter), line, Unlocked(d), [&c, &d, i, letter] {
    ParamPrompts& ui = c.ui;
    ui.EditValue(Fmt(u"工况%c环境温度", letter), &d.m_pointAmbient[i], -25, 100, u"℃", 1);
    ui.EditValue(Fmt(u"工况%c出水温度", letter), &d.m_pointOutletTemp[i], -25, 100, u"℃", 1);
    ui.EditValue(Fmt(u"工况%c压缩机转速", letter), &d.m_pointFrequency[i], 1, 120, u" ", 1);
    ui.EditValue(Fmt(u"工况%c电子膨胀阀开度", letter), &d.m_pointEevOpening[i], 80, 450, u" ", 5);
    ui.EditValue(Fmt(u"工况%c风速", letter), &d.m_pointFanSpeed[i], 0, 10, u" ", 1);
    ui.EditValue(u"除霜间隔(分)", &d.m_pointDefrostInterval[i], 0, 300, u" ", 5);
  });
}

ParamRow PidRow(PageContext& c, const char16_t* caption, int32_t& field) {
  return EditRow(c, caption, Int(field), 1, field, kPidMin, kPidMax);
}

}  // namespace

int Page16Rows(PageContext& c, int subPage, SubPageRows& rows) {
  CSystemData& d = c.d;
  IndoorBlock* in = c.indoor;
  OutdoorBlock* out = c.outdoor;
  const int unlocked = Unlocked(d);
  switch (subPage) {
    case 1:
      rows[0] = CommandRow(kFactoryTitle, 1, [&c] {
        if (c.ui.Message(kFactoryTitle, kFactoryQuestion, 0) != IDOK) return;
        c.d.m_paramRequest = kSaveFactorySetting;
        c.ui.Message(kFactoryTitle, kFactoryQuestion, 1);
      });
      rows[1] = ToggleRow(u"是否模拟调试", DemoMode, 1, [] { DemoMode = DemoMode == 0 ? 1 : 0; });
      rows[2] = EditRow(c, u"经销商ID", Int(d.m_dealerId), 1, d.m_dealerId, 0, 50);
      rows[3] = FlipRow(u"水流开关是否有效", d.m_flowSwitchEnabled, 1);
      rows[4] = ValueRow(u"经销商密码", Int(d.m_dealerPassword), 1, [&c] {
        CString entry;
        if (c.ui.Keypad(kPasswordTitle, u"新密码", &entry) != IDOK) return;
        if (!NewPassword(entry, &c.d.m_dealerPassword)) {
          c.ui.Message(kPasswordTitle, kPasswordRefused, DlgMessage::kNotice);
        }
      });
      break;
    case 2:
      // The ambient reading also refills the minute window and its mean, so the override holds at once.
      rows[0] = SensorRow(c, u"环境温度TA", d.m_ambientTemp, out ? &out->m_ambientTemp : nullptr, [&d](float t) {
        for (float& sample : d.m_ambientMinuteWindow) sample = t;
        d.m_ambientTempA = t;
      });
      rows[1] = SensorRow(c, u"房间温度TR", d.m_roomTemp, IndoorReading(c, kRoom));
      rows[2] = SensorRow(c, u"热水温度TW", d.m_tankTemp, IndoorReading(c, kTank));
      rows[3] = SensorRow(c, u"制热/制冷温度TH", d.m_heatCoolTemp, IndoorReading(c, kHeatCool));
      rows[4] = SensorRow(c, u"盘管温度TP", d.m_coilTemp, IndoorReading(c, kCoil));
      break;
    case 3:
      rows[0] = SensorRow(c, u"混水1温度TV1", d.m_mix1Temp, IndoorReading(c, kMix1));
      rows[1] = SensorRow(c, u"混水2温度TV2", d.m_mix2Temp, IndoorReading(c, kMix2));
      rows[2] = SensorRow(c, u"出水温度TO", d.m_outletTemp, IndoorReading(c, kOutlet));
      rows[3] = SensorRow(c, u"入水温度TI", d.m_inletTemp, IndoorReading(c, kInlet));
      rows[4] = InputRow(u"热泵除霜状态", d.m_defrostState, out ? &out->m_defrost : nullptr, unlocked);
      break;
    case 4:
      rows[0] = InputRow(u"水流开关", d.m_flowSwitch, in ? &in->m_in1213 : nullptr, unlocked);
      rows[1] = InputRow(u"用电中断开关", d.m_powerCutSwitch, in ? &in->m_in1212 : nullptr, unlocked);
      rows[2] = InputRow(u"制冷信号开关", d.m_coolSignal, in ? &in->m_in1214 : nullptr, unlocked);
      rows[3] = InputRow(u"制热信号开关", d.m_heatSignal, in ? &in->m_in1215 : nullptr, unlocked);
      rows[4] = InputRow(u"高温信号开关", d.m_highTempSignal, in ? &in->m_in1220 : nullptr, unlocked);
      break;
    case 5:
      rows[0] = EditRow(c, u"使用串口", Int(d.m_serialPort), 1, d.m_serialPort, 1, 8);
      rows[1] = EditRow(c, u"内机地址", Int(d.m_indoorAddress), 1, d.m_indoorAddress, 11, 19, u"");
      rows[2] = EditRow(c, u"外机地址", Int(d.m_outdoorAddress), 1, d.m_outdoorAddress, 1, 8, u"");
      {
        const std::vector<CString> bauds = {u"1200", u"4800", u"9600", u"19200"};
        const int i = d.m_baudRateIndex >= 0 && d.m_baudRateIndex < 3 ? d.m_baudRateIndex : 3;
        rows[3] = ChoiceRow(c, u"波特率", bauds[i], 1, d.m_baudRateIndex, bauds);
      }
      rows[4] = FlipRow(u"四通阀防卡死", d.m_fourWayAntiSeize, 1);
      break;
    case 6: {
      const std::vector<CString> parities = {u"None", u"Odd", u"Even"};
      const int p = d.m_parity == 0 || d.m_parity == 1 ? d.m_parity : 2;
      rows[0] = EditRow(c, u"数据位", Fmt(u"%dBits", d.m_dataBits), 1, d.m_dataBits, 6, 9, u"Bits");
      rows[1] = ChoiceRow(c, u"校验", parities[p], 1, d.m_parity, parities);
      rows[2] = EditRow(c, u"停止位", Fmt(u"%dBits", d.m_stopBits), 1, d.m_stopBits, 1, 2, u"Bits");
      rows[3] = EditRow(c, u"风机功率", Fmt(u"%dW", d.m_fanMaxPower), 1, d.m_fanMaxPower, 0, 1000, u"W", 10);
      rows[4] = EditRow(c, u"水泵功率", Fmt(u"%dW", d.m_pumpMaxPower), 1, d.m_pumpMaxPower, 0, 1000, u"W", 10);
      break;
    }
    case 7: {
      const std::vector<CString> modes = {u"按照环境温度控制", u"仅在除霜时开启除霜结束后延迟2分钟关闭"};
      rows[0] = ChoiceRow(c, u"底盘加热带控制方式", modes[d.m_chassisHeaterMode == 0 ? 0 : 1], 1,
                          d.m_chassisHeaterMode, modes);
      rows[1] = EditRow(c, u"底盘加热带开启温度", Fmt(u"%d℃", d.m_chassisHeaterOnTemp), 1, d.m_chassisHeaterOnTemp,
                        -10, 10);
      rows[2] = EditRow(c, u"底盘加热带关闭回差", Fmt(u"%d℃", d.m_chassisHeaterOffDiff), 1,
                        d.m_chassisHeaterOffDiff, 2, 8);
      rows[3] = EditRow(c, u"曲轴加热带开启温度", Fmt(u"%d℃", d.m_crankHeaterOnTemp), 1, d.m_crankHeaterOnTemp,
                        -10, 10);
      rows[4] = EditRow(c, u"曲轴加热带关闭回差", Fmt(u"%d℃", d.m_crankHeaterOffDiff), 1, d.m_crankHeaterOffDiff,
                        2, 8);
      break;
    }
    case 8:
      rows[0] = EditRow(c, u"系统高压降频保护点", Fmt(u"%dBar", d.m_highPressureDerate), 1, d.m_highPressureDerate,
                        35, 42, u"Bar");
      rows[1] = ValueRow(u"除霜参数-电子膨胀阀开度", Int(d.m_defrostEevOpening), 0);
      rows[2] = ValueRow(u"除霜参数-进入盘管温度", Fmt(u"%d℃", d.m_defrostEnterCoilTemp), 0);
      rows[3] = ValueRow(u"除霜参数-退出盘管温度", Fmt(u"%d℃", d.m_defrostExitCoilTemp), 0);
      rows[4] = ValueRow(u"除霜参数-最长时间", Fmt(u"%dMin", d.m_defrostMaxTime), 0);
      break;
    case 9:
      rows[0] = ValueRow(u"除霜参数-准备频率", Fmt(u"%dHz", d.m_defrostPrepFreq), 0);
      rows[1] = ValueRow(u"除霜参数-除霜频率", Fmt(u"%dHz", d.m_defrostFreq), 0);
      rows[2] = ValueRow(u"室外风机高速", Fmt(u"%dRPM", d.m_fanHighSpeed), 0);
      rows[3] = ValueRow(u"室外风机中速", Fmt(u"%dRPM", d.m_fanMidSpeed), 0);
      rows[4] = ValueRow(u"室外风机低速", Fmt(u"%dRPM", d.m_fanLowSpeed), 0);
      break;
    case 10:
      rows[0] = EditRow(c, u"TUP降频温度", Fmt(u"%d℃", d.m_tupDerateTemp), 1, d.m_tupDerateTemp, 0, 4);
      rows[1] = EditRow(c, u"TUP恢复温度", Fmt(u"%d℃", d.m_tupRestoreTemp), 1, d.m_tupRestoreTemp, 4, 8);
      rows[2] = EditRow(c, u"TUP停机温度", Fmt(u"%d℃", d.m_tupStopTemp), 1, d.m_tupStopTemp, -3, 2);
      rows[3] = FlipRow(u"三通阀防卡死", d.m_threeWayAntiSeize, 1);
      rows[4] = FlipRow(u"-7度时限制低于F7档位运行", d.m_coldGearLimit, 1);
      break;
    case 11:
      rows[0] = EditRow(c, Text(35), Fmt(u"%d℃", d.m_heatSetMax), unlocked, d.m_heatSetMax, 37, 60);
      rows[1] = EditRow(c, Text(36), Fmt(u"%d℃", d.m_heatSetMin), unlocked, d.m_heatSetMin, 20, 37);
      rows[2] = EditRow(c, Text(37), Fmt(u"%d℃", d.m_coolSetMax), unlocked, d.m_coolSetMax, 18, 30);
      rows[3] = EditRow(c, Text(38), Fmt(u"%d℃", d.m_coolSetMin), unlocked, d.m_coolSetMin, 7, 20);
      rows[4] = FlipRow(Text(137), d.m_flowFaultCancel, unlocked);
      break;
    case 12:
    case 13:
      for (int r = 0; r < kRowsPerSubPage; ++r) rows[r] = PointRow(c, (subPage - 12) * kRowsPerSubPage + r);
      break;
    case 14: {
      const CString groups[] = {u"停止PID档位", u"PID参数组1", u"PID参数组2"};
      const int g = d.m_gearPidSelect == 1 || d.m_gearPidSelect == 2 ? d.m_gearPidSelect : 0;
      rows[0] = EditRow(c, u"档位PID参数选择", groups[g], 1, d.m_gearPidSelect, 0, 2);
      rows[1] = PidRow(c, u"档位PID1参数P", d.m_pid1P);
      rows[2] = PidRow(c, u"档位PID1参数I", d.m_pid1I);
      rows[3] = PidRow(c, u"档位PID1参数D", d.m_pid1D);
      rows[4] = PidRow(c, u"档位PID2参数P", d.m_pid2P);
      break;
    }
    case 15:
      rows[0] = PidRow(c, u"档位PID2参数I", d.m_pid2I);
      rows[1] = PidRow(c, u"档位PID2参数D", d.m_pid2D);
      break;
    default:
      break;
  }
  return 15;
}

// ---- The page on the parameter screen

void DlgParam::DrawPage16() { m_subPageCount = DrawParamRows(*this, 16, m_subPage); }
void DlgParam::EditPage16(int row) { TapParamRow(*this, 16, m_subPage, row); }
