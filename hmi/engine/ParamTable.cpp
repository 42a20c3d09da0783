#include "ParamTable.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "CDbAccess.h"
#include "CSystemData.h"
#include "DbTables.h"

namespace {

// Factory defaults of the parameter arrays, element 0 first.
const int32_t kCurveAmbient[5] = {-25, -15, -5, 5, 10};
const int32_t kCurveWater[5] = {40, 37, 33, 29, 25};
const int32_t kSecondCurveWater[5] = {40, 37, 33, 29, 25};
const int32_t kCoolCurveAmbient[3] = {16, 26, 36};
const int32_t kCoolCurveWater[3] = {25, 18, 12};
const int32_t kDualCoolCurveWater[3] = {25, 18, 12};
const int32_t kNoDefaults[20] = {};

const char16_t* const kWeekdays[7] = {u"周日", u"周一", u"周二", u"周三", u"周四", u"周五", u"周六"};

// Working points A..J: one record array per column; IDs 224 + 6 * point + column.
const int kFirstPointId = 224;
const int kPointCount = 10;
const int kPointColumns = 6;
const int32_t kPointDefaults[kPointColumns] = {35, 36, 43, 350, 5, 0};
const char16_t* const kPointTexts[kPointColumns] = {
    u"工况%c环境温度,值:-25~100度", u"工况%c出水温度,值:-25~100度", u"工况%c压缩机频率,值:-25~100",
    u"工况%c膨胀阀开度,值:80~450",   u"工况%c风机转速,值:0~10",       u"工况%c除霜间隔,值:0~150分钟"};
// Point J's frequency column holds a gear rather than a frequency.
const char16_t* const kPointJFrequencyText = u"工况%c压缩机频率,值:0~10";

const int kLiveTable = 0;

// The packed date and schedule words are unsigned in the record; their rows hold the same 32 bits.
int32_t* Signed(uint32_t& field) { return reinterpret_cast<int32_t*>(&field); }

// Each weekday mask: element 0 is Sunday, bit h on means hour h is on.
void AddWeekMasks(ParamTable& table, int firstId, int32_t* masks, const char16_t* name) {
  for (int day = 0; day < 7; ++day) {
    CString text;
    text.Format(u"%s%s,位0~23对应0~23时", kWeekdays[day], name);
    table.Add(firstId + day, &masks[day], 0, text);
  }
}

// Consecutive IDs, element 0 first; the format takes the element number counted from 1.
void AddSeries(ParamTable& table, int firstId, int32_t* fields, const int32_t* defaults, int count,
               const char16_t* format) {
  for (int i = 0; i < count; ++i) {
    CString text;
    text.Format(format, i + 1);
    table.Add(firstId + i, &fields[i], defaults[i], text);
  }
}

void AddWorkingPoints(ParamTable& table, CSystemData& d) {
  int32_t* const columns[kPointColumns] = {d.m_pointAmbient,    d.m_pointOutletTemp, d.m_pointFrequency,
                                           d.m_pointEevOpening, d.m_pointFanSpeed,   d.m_pointDefrostInterval};
  for (int point = 0; point < kPointCount; ++point) {
    for (int column = 0; column < kPointColumns; ++column) {
      const bool gearColumn = point == kPointCount - 1 && column == 2;
      CString text;
      text.Format(gearColumn ? kPointJFrequencyText : kPointTexts[column], u'A' + point);
      table.Add(kFirstPointId + kPointColumns * point + column, &columns[column][point], kPointDefaults[column],
                text);
    }
  }
}

// The row a parameter is stored as: always Type 0, the value as "%d", the description as Name.
SysParam MakeRow(const ParamEntry& entry, int32_t value) {
  SysParam row;
  row.m_id = entry.m_id;
  row.m_val.Format(u"%d", value);
  row.m_type = SysParam::kTypeInt;
  row.m_name = entry.m_text;
  row.m_intValue = value;
  return row;
}

// A one-decimal row's value truncated toward zero. Val is text anyone may have written ("1e30"), and
// a float beyond the int range has no defined conversion: it is held at the range's ends.
int32_t TruncatedValue(float value) {
  if (value != value) return 0;  // not a number
  if (value >= 2147483648.0f) return INT32_MAX;
  if (value < -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// The value a stored row holds, by its Type; text rows carry none.
int32_t RowValue(const SysParam& row) {
  switch (row.m_type) {
    case SysParam::kTypeInt:
      return row.m_intValue;
    case SysParam::kTypeDecimal:
      return TruncatedValue(row.m_floatValue);
    default:
      return 0;
  }
}

// Replaces every row of t_System<table> by the given rows in one transaction, so a failure or a power
// cut leaves the old table or the complete new one, never a partial set that later updates would miss.
// The statements are those of DeleteSysParam and InsertSysParam.
int RewriteTable(const SysParamArray& rows, int table) {
  if (!g_db.IsOpen()) return 0;
  std::vector<CString> statements;
  statements.reserve(rows.size() + 1);
  CString sql;
  sql.Format(u"delete from t_System%d", table);
  statements.push_back(sql);
  for (const SysParam& row : rows) {
    sql.Format(u"Insert into t_System%d (ID,Val ,Type ,Name) values(%d,'%d',%d,'%s')", table, row.m_id,
               row.m_intValue, row.m_type, static_cast<const char16_t*>(SqlQuoted(row.m_name)));
    statements.push_back(sql);
  }
  return g_db.ExecSqlList(statements);
}

// Stores the rows in one transaction: each is updated, and written as a new row when the table has
// none for its ID (a damaged or carried-over file), so a committed save has stored every value.
int StoreRows(const SysParamArray& rows, int table) {
  if (!g_db.IsOpen()) {
    if (!rows.empty()) g_db.ReportWriteFailure(u"not open");
    return 0;
  }
  std::vector<CString> statements;
  statements.reserve(rows.size() * 2);
  for (const SysParam& row : rows) {
    const CString name = SqlQuoted(row.m_name);
    CString sql;
    sql.Format(u"update t_System%d set Val='%d',Type=%d,Name='%s' where ID = %d", table, row.m_intValue, row.m_type,
               static_cast<const char16_t*>(name), row.m_id);
    statements.push_back(sql);
    sql.Format(u"insert into t_System%d (ID,Val,Type,Name) select %d,'%d',%d,'%s' where not exists "
               u"(select 1 from t_System%d where ID = %d)",
               table, row.m_id, row.m_intValue, row.m_type, static_cast<const char16_t*>(name), table, row.m_id);
    statements.push_back(sql);
  }
  return g_db.ExecSqlList(statements);
}

// True when t_System<table> holds a row for every ID of 0..count-1; updates would miss the others.
bool HoldsEveryId(int table, int count) {
  SysParamArray stored;
  if (!LoadSysParams(stored, 0, table)) return false;
  std::vector<bool> present(count, false);
  for (const SysParam& row : stored) {
    if (row.m_id >= 0 && row.m_id < count) present[row.m_id] = true;
  }
  for (bool p : present) {
    if (!p) return false;
  }
  return true;
}

}  // namespace

void ParamTable::Add(int id, int32_t* field, int32_t defaultValue, const char16_t* text) {
  ParamEntry entry;
  entry.m_id = id;
  entry.m_value = defaultValue;
  entry.m_pSetting = field;
  entry.m_text = text;
  m_entries.push_back(entry);
  *field = defaultValue;
}

void ParamTable::Build(CSystemData& d) {
  m_entries.clear();
  m_entries.reserve(kCount);
  Add(0, &d.m_systemSwitch, 1, u"系统开关,0--OFF,1--ON");
  Add(1, &d.m_systemVersion, d.m_softwareVersion, u"系统版本号");
  Add(2, &d.m_databaseVersion, d.m_dataVersion, u"数据库版本号");
  Add(3, &d.m_runMode, 4, u"当前运行模式,0--不运行,1--单制热,2--单制冷,3--单热水,4--自动模式");
  Add(4, &d.m_languageIndex, 0, u"语言选择,0--语言1,1--语言2,2--语言3,3--语言4");
  Add(5, &d.m_hotWaterEnabled, 1, u"热水功能,0--无,1--有");
  Add(6, &d.m_heatingEnabled, 1, u"制热功能,0--无,1--有");
  Add(7, &d.m_coolingEnabled, 0, u"制冷功能,0--无,1--有");
  Add(8, &d.m_autoFunction, 0, u"自动功能,0--关闭,1--水箱温度,2--室内温度,3--外部信号");
  Add(9, &d.m_tempControlPoint, 0, u"温度控制点,0--水温,1--室温");
  Add(10, &d.m_heatAmbientStart, 18, u"制热环境温度启动,值:-10~25度");
  Add(11, &d.m_coolAmbientStart, 25, u"制冷环境温度启动,值:20~53度");
  Add(12, &d.m_lowFreqRunTime, 5, u"低频运行时间,值:5~60分钟");
  Add(13, &d.m_heatSetMax, 60, u"制热设定温度上限,值:37~60度");
  Add(14, &d.m_heatSetMin, 20, u"制热设定温度下限,值:20~37度");
  Add(15, &d.m_coolSetMax, 25, u"制冷设定温度上限,值:18~30度");
  Add(16, &d.m_coolSetMin, 7, u"制冷设定温度下限,值:7~20度");
  Add(17, &d.m_userSystemType, 0, u"用户系统类型,0--热水/制热+制冷,1--热水+制热/制冷");
  Add(18, &d.m_timerEnabled, 0, u"定时开关机,0--关闭,1--开启");
  AddWeekMasks(*this, 19, d.m_timerMask, u"定时开关机");
  Add(26, &d.m_stopTempOffset, 2, u"停机温度偏差,值:1~3度");
  Add(27, &d.m_tempHysteresis, 2, u"制冷制热温度回差,值:1~10度");
  Add(28, &d.m_derateTempDiff, 2, u"制冷制热降频温差,值:1~10度");
  Add(29, &d.m_coolSetTemp, 24, u"制冷设定温度");
  Add(30, &d.m_curveEnabled, 1, u"制热气候曲线,0--关闭,1--开启");
  AddSeries(*this, 31, d.m_curveAmbient, kCurveAmbient, 5, u"气候曲线环境温度%d,值:-25~35度");
  AddSeries(*this, 36, d.m_curveWater, kCurveWater, 5, u"气候曲线水温%d,值:25~55度");
  Add(41, &d.m_curveCorrectionEnabled, 0, u"曲线修正功能,0--关闭,1--开启");
  Add(42, &d.m_heatRoomSetTemp, 21, u"制热室内设定温度,值:15~35度");
  Add(43, &d.m_coolRoomSetTemp, 24, u"制冷室内设定温度,值:15~35度");
  Add(44, &d.m_heatSetTemp, 35, u"制热水温设定,值:25~55度");
  Add(45, &d.m_system1MaxSetTemp, 40, u"系统1最高设定温度");
  Add(46, &d.m_system1MinSetTemp, 18, u"系统1最低设定温度");
  Add(47, &d.m_sterilizeEnabled, 0, u"杀菌功能,0--关闭,1--开启");
  Add(48, Signed(d.m_sterilizeStart), 0, u"杀菌启动时间,位0~6星期,位7~12时,位13~19分");
  Add(49, &d.m_sterilizeTemp, 70, u"杀菌温度,值:60~80度");
  Add(50, &d.m_sterilizeHoldTime, 20, u"杀菌保持时间,值:5~60分钟");
  Add(51, &d.m_sterilizeMaxTime, 120, u"杀菌最长时间,值:10~240分钟");
  Add(52, &d.m_holidayEnabled, 0, u"假日模式,0--关闭,1--开启");
  Add(53, &d.m_holidayHotWaterTemp, 20, u"假日热水温度,值:10~50度");
  Add(54, &d.m_holidayHeatTemp, 20, u"假日制热温度,值:10~50度");
  Add(55, Signed(d.m_holidayStart), 71647, u"假日开始时间,位0~11年,位12~15月,位16~20日,位21~25时,位26~31分");
  Add(56, Signed(d.m_holidayEnd), 75743, u"假日结束时间,格式同假日开始时间");
  Add(57, &d.m_heatBackupEnabled, 0, u"制热辅助热源,0--关闭,1--开启");
  Add(58, &d.m_heatBackupPriority, 1, u"制热辅助热源优先级,0--低,1--高");
  Add(59, &d.m_hotWaterBackupEnabled, 0, u"热水辅助热源,0--关闭,1--开启");
  Add(60, &d.m_hotWaterBackupPriority, 1, u"热水辅助热源优先级,0--低,1--高");
  Add(61, &d.m_heatIntegralSetting, 240, u"制热积分设定,值:0~600");
  Add(62, &d.m_insufficientCapacityTime, 10, u"热泵能力不足时间,值:5~120分钟");
  Add(63, &d.m_heatEmergencyRun, 0, u"制热应急运行,0--关闭,1--开启");
  Add(64, &d.m_hotWaterSetTemp, 50, u"热水设定温度,值:25~75度");
  Add(65, &d.m_hotWaterRestartDiff, 5, u"热水回差温度,值:2~15度");
  Add(66, &d.m_heatBalanceEnabled, 0, u"制热热水平衡,0--关闭,1--开启");
  Add(67, &d.m_balanceStartTemp, 15, u"平衡功能启动环境温度,值:-15~20度");
  Add(68, &d.m_balanceHotWaterMinTime, 30, u"平衡热水最短运行时间,值:10~60分钟");
  Add(69, &d.m_balanceHeatMaxTime, 90, u"平衡制热最长运行时间,值:30~180分钟");
  Add(70, &d.m_balanceTempDiff, 6, u"平衡温差,值:3~10度");
  Add(71, &d.m_balanceTankHeaterEnabled, 0, u"平衡水箱电加热,0--关闭,1--开启");
  Add(72, &d.m_heatStorageEnabled, 0, u"蓄热功能,0--关闭,1--开启");
  Add(73, &d.m_reheatEnabled, 0, u"再加热功能,0--关闭,1--开启");
  Add(74, &d.m_reheatSetTemp, 35, u"再加热设定温度,值:30~50度");
  Add(75, &d.m_reheatRestartDiff, 10, u"再加热回差温度,值:5~20度");
  AddWeekMasks(*this, 76, d.m_storageTimerMask, u"蓄热定时");
  AddWeekMasks(*this, 83, d.m_reheatTimerMask, u"再加热定时");
  Add(90, &d.m_dualTempEnabled, 0, u"双温设定,0--关闭,1--开启");
  Add(91, &d.m_coolSecondSetTemp, 24, u"制冷第二设定温度");
  Add(92, &d.m_heatSecondCurveEnabled, 1, u"制热第二水温曲线,0--关闭,1--开启");
  AddSeries(*this, 93, d.m_secondCurveWater, kSecondCurveWater, 5, u"第二曲线水温%d,值:20~75度");
  Add(98, &d.m_heatSecondSetTemp, 35, u"制热第二设定温度");
  Add(99, &d.m_system2MaxSetTemp, 55, u"系统2最高设定温度");
  Add(100, &d.m_system2MinSetTemp, 18, u"系统2最低设定温度");
  Add(101, &d.m_sleepEnabled, 0, u"睡眠模式,0--关闭,1--开启");
  Add(102, &d.m_sleepTempAdjust, 5, u"睡眠温度调整,值:2~10度");
  AddWeekMasks(*this, 103, d.m_sleepTimerMask, u"睡眠定时");
  Add(110, &d.m_lowNoiseEnabled, 0, u"低噪音运行,0--关闭,1--开启");
  Add(111, &d.m_allowedTempDeviation, 8, u"允许温度偏差,值:2~10度");
  AddWeekMasks(*this, 112, d.m_lowNoiseTimerMask, u"低噪音定时");
  Add(119, &d.m_powerCutSignalType, 1, u"停电信号类型,0--常闭,1--常开");
  Add(120, &d.m_powerCutEnabled, 0, u"停电信号功能,0--关闭,1--开启");
  Add(121, &d.m_backupHeatOutput, 1, u"辅助热源输出信号,0--关闭,1--开启");
  Add(122, &d.m_pumpOnPowerCut, 0, u"停电时循环泵运行,0--否,1--是");
  Add(123, &d.m_serialPort, 3, u"通讯串口号,值:1~8");
  Add(124, &d.m_indoorAddress, 11, u"室内机地址,值:11~19");
  Add(125, &d.m_outdoorAddress, 2, u"室外机地址,值:1~8");
  Add(126, &d.m_backlightMode, 0, u"背光模式,0--常亮,1--3分钟,2--5分钟,3--10分钟");
  Add(127, &d.m_baudRateIndex, 3, u"波特率,0--1200,1--4800,2--9600,3--19200");
  Add(128, &d.m_dataBits, 8, u"数据位,值:6~9");
  Add(129, &d.m_parity, 2, u"校验位,0--无,1--奇校验,2--偶校验");
  Add(130, &d.m_stopBits, 1, u"停止位,值:1~2");
  Add(131, &d.m_fanMaxPower, 150, u"单风机最大功率,值:0~1000W");
  Add(132, &d.m_pumpMaxPower, 60, u"水泵最大功率,值:0~1000W");
  Add(133, &d.m_ecoHotWaterAmbientStart, -20, u"ECO热水环境启动温度,值:-20~43度");
  Add(134, &d.m_ecoHeatAmbientStart, -20, u"ECO制热环境启动温度,值:-20~43度");
  Add(135, &d.m_ecoHotWaterEnabled, 0, u"ECO热水模式,0--关闭,1--开启");
  Add(136, &d.m_ecoHeatEnabled, 0, u"ECO制热模式,0--关闭,1--开启");
  Add(137, &d.m_pumpType, 0, u"循环泵类型,0--直流变速,1--交流");
  Add(138, &d.m_pumpSpeed, 0, u"循环泵转速,0--高速,1--中速,2--低速");
  Add(139, &d.m_pumpWorkMode, 0, u"循环泵模式,0--间歇,1--常开,2--常关");
  Add(140, &d.m_pumpStandbyTime, 6, u"循环泵间歇停止时间,值:5~60分钟");
  Add(141, &d.m_pumpRunTime, 1, u"循环泵间歇运行时间,值:1~10分钟");
  Add(142, &d.m_bufferTankPresent, 0, u"缓冲水箱,0--无,1--有");
  Add(143, &d.m_mixTemp1Enabled, 0, u"混水温度1,0--不使用,1--使用");
  Add(144, &d.m_mixTemp2Enabled, 0, u"混水温度2,0--不使用,1--使用");
  Add(145, &d.m_pumpAHeating, 1, u"系统A水泵制热运行,0--否,1--是");
  Add(146, &d.m_pumpACooling, 0, u"系统A水泵制冷运行,0--否,1--是");
  Add(147, &d.m_pumpAHighTemp, 0, u"系统A水泵高温信号运行,0--否,1--是");
  Add(148, &d.m_pumpBHeating, 1, u"系统B水泵制热运行,0--否,1--是");
  Add(149, &d.m_pumpBCooling, 0, u"系统B水泵制冷运行,0--否,1--是");
  Add(150, &d.m_pumpBHighTemp, 0, u"系统B水泵高温信号运行,0--否,1--是");
  Add(151, &d.m_floorHeatEnabled, 0, u"地暖初热功能,0--关闭,1--开启");
  Add(152, &d.m_floorHeatStage, 0, u"地暖初热当前阶段,值:0~26");
  Add(153, &d.m_floorStageRunTime, 0, u"地暖初热阶段运行时间");
  Add(154, &d.m_floorStageSetTemp, 0, u"地暖初热阶段设定温度");
  Add(155, &d.m_floorStageEffectiveTime, 0, u"地暖初热阶段有效时间");
  Add(156, &d.m_floorHeatTotalTime, 0, u"地暖初热总运行时间");
  Add(157, &d.m_floorHeatMaxTemp, 0, u"地暖初热最高温度");
  Add(158, &d.m_frost1AmbientStart, 6, u"一级防冻环境启动温度,值:5~10度");
  Add(159, &d.m_frost2AmbientStart, 4, u"二级防冻环境启动温度,值:0~4度");
  Add(160, &d.m_frost2AmbientStop, 6, u"二级防冻环境停止温度,值:0~10度");
  Add(161, &d.m_frost2OutletStart, 5, u"二级防冻出水启动温度,值:5~30度");
  Add(162, &d.m_frost2OutletStop, 12, u"二级防冻出水停止温度,值:5~30度");
  Add(163, &d.m_dealerId, 0, u"经销商客户ID,0~N");
  Add(164, &d.m_dealerPassword, 52907316, u"经销商密码,最大范围是9位数字");
  Add(165, &d.m_defrostUseOtherWater, 1, u"除霜使用其它水源,0--否,1--是");
  Add(166, &d.m_flowSwitchEnabled, 1, u"水流开关,0--不使用,1--使用");
  Add(167, &d.m_chassisHeaterMode, 0, u"底盘加热控制,0--按环境温度,1--仅除霜时");
  Add(168, &d.m_chassisHeaterOnTemp, 0, u"底盘加热开启温度,值:-10~10度");
  Add(169, &d.m_chassisHeaterOffDiff, 2, u"底盘加热关闭回差,值:2~8度");
  Add(170, &d.m_crankHeaterOnTemp, 0, u"压缩机电加热开启温度,值:-10~10度");
  Add(171, &d.m_crankHeaterOffDiff, 2, u"压缩机电加热关闭回差,值:2~8度");
  Add(172, &d.m_defrostMethod, 0, u"除霜方式,0--智能除霜,1--定时除霜,2--新除霜");
  Add(173, &d.m_defrostControl, 1, u"除霜控制,0--线控器,1--室外机");
  Add(174, &d.m_highPressureDerate, 38, u"高压降频保护点,值:35~42bar");
  Add(175, &d.m_threeWaySwitchTime, 6, u"三通阀切换时间,值:0~16分钟");
  Add(176, &d.m_threeWayPowerTime, 0, u"三通阀通电时间,值:0~16分钟");
  Add(177, &d.m_defrostEevOpening, 250, u"除霜膨胀阀开度");
  Add(178, &d.m_defrostEnterCoilTemp, 0, u"进入除霜盘管温度");
  Add(179, &d.m_defrostExitCoilTemp, 0, u"退出除霜盘管温度");
  Add(180, &d.m_defrostMaxTime, 0, u"最长除霜时间");
  Add(181, &d.m_defrostPrepFreq, 72, u"除霜准备频率");
  Add(182, &d.m_defrostFreq, 72, u"除霜频率");
  Add(183, &d.m_fanHighSpeed, 1000, u"室外风机高速");
  Add(184, &d.m_fanMidSpeed, 600, u"室外风机中速");
  Add(185, &d.m_fanLowSpeed, 350, u"室外风机低速");
  Add(186, &d.m_tupDerateTemp, 2, u"Tup降频温度,值:0~4度");
  Add(187, &d.m_tupRestoreTemp, 4, u"Tup恢复温度,值:4~8度");
  Add(188, &d.m_tupStopTemp, 1, u"Tup停机温度,值:-3~2度");
  Add(189, &d.m_fanMaxSpeedPercent, 100, u"风机最高转速百分比");
  Add(190, &d.m_testModeState, 0, u"测试模式状态,0--关闭,1--准备,2--运行,3--完成");
  Add(191, &d.m_testModeRunTime, 0, u"测试模式运行时间,值:0~N分钟");
  Add(192, &d.m_outdoorEevControl, 0, u"室外机膨胀阀控制方式");
  Add(193, &d.m_outdoorFanControl, 0, u"室外机风机控制方式");
  Add(194, &d.m_outdoorDefrostControl, 0, u"室外机除霜控制方式");
  Add(195, &d.m_testCondition, 0, u"测试模式工况,0--制热,1--制冷,其它--工况点");
  Add(196, &d.m_testGear, 5, u"测试模式压缩机档位");
  Add(197, &d.m_testEevOpening, 390, u"测试模式膨胀阀开度");
  Add(198, &d.m_testDefrostInterval, 90, u"测试模式除霜间隔");
  Add(199, &d.m_testDefrostTime, 3, u"测试模式除霜时间");
  Add(200, &d.m_testDefrostOpening, 210, u"测试模式除霜膨胀阀开度");
  Add(201, &d.m_testFanGear, 9, u"测试模式风机档位");
  Add(202, &d.m_modeSignalOutput, 2, u"模式信号输出,0--无,1--制热时,2--制冷时");
  Add(203, &d.m_modeSignalType, 1, u"模式信号类型,0--常闭,1--常开");
  Add(204, &d.m_curve1QuickAdjust, 0, u"曲线1快速修正,值:-5~5");
  Add(205, &d.m_curve2QuickAdjust, 0, u"曲线2快速修正,值:-5~5");
  Add(206, &d.m_wifiPresent, 0, u"WiFi模块,0--无,1--有");
  Add(207, &d.m_wifiControlEnabled, 0, u"WiFi控制,0--否,1--是");
  Add(208, &d.m_auxHeaterRunTime, 0, u"辅助电加热运行时间");
  Add(209, &d.m_heatAuxHeaterRunTime, 0, u"制热辅助电加热运行时间");
  Add(210, &d.m_hotWaterAuxHeaterRunTime, 0, u"热水辅助电加热运行时间");
  Add(211, &d.m_tankProbeGuard, 0, u"热水探头脱落保护,0--关闭,1--开启");
  Add(212, &d.m_outdoorPowerOffEnabled, 0, u"室外机断电功能,0--关闭,1--开启");
  Add(213, &d.m_outdoorPowerOffAmbient, -2, u"室外机断电环境温度,值:-5~25度");
  Add(214, &d.m_pumpSpeedHeating, 0, u"制热循环泵转速,0--高速,1--中速,2--低速");
  Add(215, &d.m_pumpSpeedCooling, 0, u"制冷循环泵转速,0--高速,1--中速,2--低速");
  Add(216, &d.m_pumpSpeedHotWater, 0, u"热水循环泵转速,0--高速,1--中速,2--低速");
  Add(217, &d.m_auxOffWithTankHeater, 0, u"水箱电加热时关闭辅助电加热,0--否,1--是");
  Add(218, &d.m_auxOffAboveAmbient, 0, u"高于环境温度关闭辅助电加热,0--否,1--是");
  Add(219, &d.m_auxOffAmbientTemp, 0, u"关闭辅助电加热环境温度,值:-20~30度");
  Add(220, &d.m_fourWayAntiSeize, 0, u"四通阀防卡死,0--关闭,1--开启");
  Add(221, &d.m_ratedTestSwitch, 0, u"额定工况测试开关,0--关闭,1--开启");
  Add(222, &d.m_ratedCondition, 0, u"额定工况选择,值:0~9");
  Add(223, &d.m_ratedTestStep, 0, u"额定工况测试步骤");
  AddWorkingPoints(*this, d);
  AddSeries(*this, 284, d.m_preTestBackup, kNoDefaults, 20, u"测试前控制器参数%d");
  Add(304, &d.m_flowFaultCancel, 0, u"水流开关故障取消,0--否,1--是");
  Add(305, &d.m_heatPumpRunTime, 0, u"热泵运行时间");
  Add(306, &d.m_threeWayAntiSeize, 0, u"三通阀防卡死,0--关闭,1--开启");
  Add(307, &d.m_gearPidSelect, 0, u"档位PID参数组,0--不使用,1--组1,2--组2");
  Add(308, &d.m_pid1P, 300, u"PID1比例P,值:-100000~100000");
  Add(309, &d.m_pid1I, 10, u"PID1积分I,值:-100000~100000");
  Add(310, &d.m_pid1D, 50, u"PID1微分D,值:-100000~100000");
  Add(311, &d.m_pid2P, 200, u"PID2比例P,值:-100000~100000");
  Add(312, &d.m_pid2I, 15, u"PID2积分I,值:-100000~100000");
  Add(313, &d.m_pid2D, 77, u"PID2微分D,值:-100000~100000");
  AddSeries(*this, 314, d.m_coolCurveAmbient, kCoolCurveAmbient, 3, u"制冷曲线环境温度%d,值:16~36度");
  AddSeries(*this, 317, d.m_coolCurveWater, kCoolCurveWater, 3, u"制冷曲线水温%d,值:7~25度");
  AddSeries(*this, 320, d.m_dualCoolCurveWater, kDualCoolCurveWater, 3, u"双温制冷曲线水温%d,值:7~25度");
  Add(323, &d.m_coolCurveEnabled, 0, u"制冷曲线,0--关闭,1--开启");
  Add(324, &d.m_dualCoolCurveEnabled, 0, u"双温制冷曲线,0--关闭,1--开启");
  Add(325, &d.m_coldGearLimit, 0, u"低温档位限制,0--关闭,1--开启");
}

ParamEntry& ParamTable::GetAt(int index) {
  if (index < 0 || index >= GetSize()) throw std::invalid_argument("parameter index out of range");
  return m_entries[index];
}

const ParamEntry& ParamTable::GetAt(int index) const {
  if (index < 0 || index >= GetSize()) throw std::invalid_argument("parameter index out of range");
  return m_entries[index];
}

int ParamTable::SyncDb(int n, int save, int full) {
  if (!save) {
    SysParamArray rows;
    if (!LoadSysParams(rows, 0, n)) return 0;
    for (const SysParam& row : rows) {
      if (row.m_id < 0 || row.m_id >= GetSize()) continue;
      ParamEntry& entry = m_entries[row.m_id];
      const int32_t value = RowValue(row);
      *entry.m_pSetting = value;
      entry.m_value = value;
    }
    // A loaded profile becomes the live set.
    return n == kLiveTable ? 1 : SaveSysParams(rows, kLiveTable);
  }

  SysParamArray rows;
  rows.reserve(m_entries.size());
  for (const ParamEntry& entry : m_entries) rows.push_back(MakeRow(entry, entry.m_value));
  // A table without a row for some ID (an emptied profile) would take the updates silently without
  // storing them; it is written in full instead.
  if (full || !HoldsEveryId(n, GetSize())) return RewriteTable(rows, n);
  return SaveSysParams(rows, n);
}

int ParamTable::SaveChanged() {
  SysParamArray rows;
  std::vector<std::pair<size_t, int32_t>> changed;
  for (size_t i = 0; i < m_entries.size(); ++i) {
    // One read of the field: a screen may write it at any time.
    const int32_t value = *m_entries[i].m_pSetting;
    if (value == m_entries[i].m_value) continue;
    rows.push_back(MakeRow(m_entries[i], value));
    changed.push_back({i, value});
  }
  const int result = StoreRows(rows, kLiveTable);
  // The stored values move only once the rows are committed, so a closed or failing database leaves
  // the same differences for the next second's attempt.
  if (result) {
    for (const auto& c : changed) m_entries[c.first].m_value = c.second;
  }
  return result;
}
