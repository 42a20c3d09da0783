// The engine's start and stop, its start-up and the once-a-second cycle in its fixed order.
#include "CControlEngine.h"

#include "CCommManager.h"
#include "CompressorGear.h"
#include "CycleSteps.h"
#include "ExpansionValve.h"
#include "FrostBalance.h"
#include "InputMapping.h"
#include "LangTexts.h"
#include "MinuteLog.h"
#include "ModeRules.h"
#include "OutdoorBlock.h"
#include "RatedTest.h"
#include "Regulators.h"
#include "Schedules.h"
#include "SetPoints.h"
#include "SoftClock.h"
#include "UnitOutputs.h"

namespace {

const DWORD kCyclePeriodMs = 500;
const DWORD kBusPollMs = 2000;
const int kIndoorType = 101;
const int kWifiType = 106;
const DWORD kWifiPollMs = 20;
const int kOutdoorType = 102;
// The unit links must have had a minute to answer before a link fault may hold back the control.
const int32_t kStartupHoldSeconds = 60;
const uint32_t kLinkFaultBits = (1u << 17) | (1u << 18);

int BaudRate(int index) {
  switch (index) {
    case 0: return 1200;
    case 1: return 4800;
    case 2: return 9600;
    default: return 19200;
  }
}

}  // namespace

// The normal control of one second, in its fixed order: water limit, demand, mode filter, outdoor
// power and ECO flags, default targets, the outdoor programming request, the restart interval, then the
// off/idle or the on branch.
void NormalControl(CSystemData& r, OutdoorBlock* outdoor) {
  r.m_stopOffsetCopy = r.m_stopTempOffset;
  r.m_hysteresisCopy = r.m_tempHysteresis;
  r.m_derateCopy = r.m_derateTempDiff;
  HeatWaterLimit(r);
  ComposeDemand(r);
  FilterDemandByMode(r, AutoModeRequest);
  OutdoorPowerOff(r);
  EcoAndPowerCut(r);
  SetDefaultTargets(r);
  ForwardOutdoorProgramming(r, outdoor);
  RestartInterval(r);
  if (r.m_systemSwitch == 0 || r.m_autoIdle == 1) {
    StandbyCount(r);
    StandbyFrostProtection(r);
    OffBranchTargets(r);
    return;
  }
  ClearOffStates(r);
  ExpansionValveStep(r, outdoor);
  if (r.m_floorHeatEnabled) {
    // The screed's stage temperatures are the programme's own: a holiday, whether it began before
    // the programme or during it, lowers none of them.
    r.m_holidayActive = 0;
    // A programme that cannot run now, or is stopped by a unit-stopping fault, requests nothing: no
    // regulator runs to end a request, and the control temperature would stand still under a
    // compressor left running. It goes on at its stage once it may run again.
    const bool mayRun = FloorHeatDemand(r);
    if (mayRun && r.m_standbyState == 0) {
      FloorFirstHeat(r);
    } else {
      HotWaterIdle(r);
      HeatingIdle(r);
      CoolingIdle(r);
    }
    return;
  }
  HolidayWindow(r);
  WeeklyTimer(r);
  const bool powerCut = (r.m_iconFlags & kIconPowerCut) != 0;
  if (r.m_standbyState || !(r.m_demandFlags & kDemandHotWater) || powerCut) {
    HotWaterIdle(r);
  } else {
    AntiLegionella(r);
    if (r.m_hwState == 1) {
      HotWaterRegulator(r, r.m_hwTarget, r.m_hotWaterRestartDiff);
    } else {
      HotWaterSchedule(r);
    }
  }
  if (r.m_standbyState == 0 && (r.m_demandFlags & kDemandHeating)) {
    SleepHours(r);
    if (r.m_tempControlPoint != 0) {
      HeatingRoomTargets(r);
    } else {
      HeatingSetPoint(r);
      HeatingWaterTargets(r);
    }
    HeatingRegulator(r, r.m_heatCtrlTemp, r.m_heatTarget);
  } else {
    HeatingIdle(r);
  }
  if (r.m_standbyState || !(r.m_demandFlags & kDemandCooling) || powerCut) {
    CoolingIdle(r);
  } else {
    SleepHours(r);
    r.m_coolMinLimit = r.m_system1MinSetTemp;
    if (r.m_tempControlPoint != 0) {
      CoolingRoomTargets(r);
    } else {
      CoolingSetPoint(r);
      CoolingWaterTargets(r);
    }
    CoolingRegulator(r, r.m_coolCtrlTemp, r.m_coolTarget);
  }
}

int CControlEngine::Enable(int on) {
  if (on == 1 && !m_enabled) {
    Init();
    SetPeriod(kCyclePeriodMs);
    Start();
    m_enabled = 1;
  } else if (on == 0 && m_enabled == 1) {
    m_enabled = 0;
    Stop();
  }
  return m_enabled;
}

int CControlEngine::Init() {
  CSystemData& r = m_systemData;
  r.m_limitA = 15.0f;
  r.m_limitB = 8.0f;
  r.m_limitC = 7.0f;
  SoftClock(1);
  m_nextLogTime = FirstLogTime(g_now);

  m_paramTable.Build(r);
  InitParams(0);
  m_watchdog.Enable(1);
  LoadLanguage(r.m_dealerId, r.m_languageIndex);

  int port = r.m_serialPort;
  OpenCommPort(port, BaudRate(r.m_baudRateIndex), r.m_dataBits, r.m_parity, r.m_stopBits, kBusPollMs, 0);
  AddCommDevice(port, r.m_indoorAddress, kIndoorType);
  AddCommDevice(port, r.m_outdoorAddress, kOutdoorType);
  // By type: with both addresses set alike the second device is refused, and the first one's block
  // must not be taken for the other unit's.
  m_indoorBlock = static_cast<IndoorBlock*>(GetCommDeviceData(port, r.m_indoorAddress, kIndoorType));
  m_outdoorBlock = static_cast<OutdoorBlock*>(GetCommDeviceData(port, r.m_outdoorAddress, kOutdoorType));
  // The WiFi module on its own line. With the bus on COM1 the open is refused and the device joins the bus.
  OpenCommPort(kWifiPort, 57600, 8, 0, 1, kWifiPollMs, 0);
  AddCommDevice(kWifiPort, kWifiAddress, kWifiType);
  m_wifiBlock = static_cast<WifiBlock*>(GetCommDeviceData(kWifiPort, kWifiAddress, kWifiType));

  for (int32_t& answered : r.m_linkHistory1) answered = 1;
  for (int32_t& answered : r.m_linkHistory2) answered = 1;

  {
    FaultTableLock guard(*this);
    m_faultTable.clear();
    m_faultTable.resize(60);
  }
  BuildFaultTable();
  return 1;
}

void CControlEngine::OnTick() {
  CSystemData& r = m_systemData;
  SoftClock(1);
  if (g_clock.wSecond == r.m_lastSecond) return;
  r.m_lastSecond = g_clock.wSecond;
  AliveCounters[0] = 0;

  ReadInputs();
  WifiExchange();
  if ((r.m_statusBits & kLinkFaultBits) && r.m_uptimeSeconds < kStartupHoldSeconds) return;
  // Before a unit's first reply the record holds zeros in its place (an empty tank, 0 degrees outside):
  // every request, heater, valve, mode word and gear stays at its start value until both have answered,
  // or the silent one's link fault stands and the fault rules take over.
  if (!UnitsHeard(r)) return;

  r.m_autoIdle = 0;
  UpdateStandbyState(r);
  if (r.m_testRunCountdown != 0) {
    TestRunStep(r);
  } else {
    NormalControl(r, m_outdoorBlock);
    ComposeOutputs(r, m_outdoorBlock);
  }
  RatedTest(r, m_outdoorBlock);
  WriteUnitOutputs(r, m_indoorBlock, m_outdoorBlock);
  ServeParamRequest();
}
