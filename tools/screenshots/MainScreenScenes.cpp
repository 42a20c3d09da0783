#include "MainScreenScenes.h"

#include <filesystem>

#include "AppGlobals.h"
#include "CControlEngine.h"
#include "CHmiApp.h"
#include "DlgMain.h"
#include "CSystemData.h"
#include "FaultTable.h"
#include "InputMapping.h"
#include "LangTexts.h"
#include "RunningScenes.h"
#include "SoftClock.h"

namespace scenes {
namespace {

const uint16_t kDemandHotWater = 0x1;
const uint16_t kDemandHeating = 0x2;
const uint16_t kDemandCooling = 0x4;
const uint16_t kDemandHotWaterHeater = 0x8;  // the hot-water side's status icon, with the heaters' count on it

}  // namespace

DealerLook::DealerLook(int dealerId) {
  if (std::filesystem::exists(kBoardFontFile)) AddFontResourceW(CString::FromUtf8(kBoardFontFile));
  GetSystemData()->m_dealerId = dealerId;
  g_dealerId = dealerId;
  MakeAppFonts();
  LoadDealerLook(dealerId);
  MakeAppBrushes();
}

DealerLook::~DealerLook() {
  FreeAppLook();
  if (std::filesystem::exists(kBoardFontFile)) RemoveFontResourceW(CString::FromUtf8(kBoardFontFile));
}

std::unique_ptr<DlgMain> OpenMainScreen() {
  auto main = std::make_unique<DlgMain>(nullptr);
  if (!main->Create(DlgMain::kTemplate)) return nullptr;
  main->Refresh(0);
  panel::PumpMessages();
  return main;
}

void SetOperation(Operation operation) {
  CSystemData& r = *GetSystemData();
  const int32_t dealer = r.m_dealerId;
  r = CSystemData();
  r.m_dealerId = dealer;
  r.m_unitsAnswered = kIndoorAnswered | kOutdoorAnswered;
  r.m_ambientTemp = 7.0f;
  r.m_compressorHz = 52;
  r.m_roomTemp = 21.5f;
  r.m_tankTemp = 48.0f;
  r.m_heatCtrlTemp = 35.0f;
  r.m_coolCtrlTemp = 12.0f;
  r.m_mix1Temp = 33.0f;
  r.m_mix2Temp = 30.0f;
  r.m_mixTemp1Enabled = 1;
  r.m_mixTemp2Enabled = 1;
  r.m_dualTempEnabled = 1;
  r.m_timerEnabled = 1;
  Operate(operation);
  g_now = kSceneNow;
  g_clock = panel::EpochMsToSystemTime(kSceneNow * 1000);
  ResetFaults();
}

void Operate(Operation operation) {
  CSystemData& r = *GetSystemData();
  r.m_systemSwitch = 1;
  r.m_hwTarget = 50;
  r.m_heatTarget = 38.0f;
  r.m_coolTarget = 7.0f;
  r.m_hwHeaterDemand = 0;
  r.m_indoorOut1110 = 0;
  switch (operation) {
    case Operation::kHeating:
      r.m_runMode = 1;
      r.m_activeMode = 1;
      r.m_demandFlags = kDemandHotWater | kDemandHeating;
      break;
    case Operation::kCooling:
      r.m_runMode = 2;
      r.m_activeMode = 2;
      r.m_demandFlags = kDemandCooling;
      break;
    case Operation::kHotWater:
      r.m_runMode = 3;
      r.m_activeMode = 3;
      r.m_demandFlags = kDemandHotWater | kDemandHotWaterHeater;
      r.m_hwHeaterDemand = 1;
      r.m_indoorOut1110 = 1;
      break;
  }
}

const char* Name(Operation operation) {
  switch (operation) {
    case Operation::kHeating: return "heating";
    case Operation::kCooling: return "cooling";
    case Operation::kHotWater: return "hot-water";
  }
  return "";
}

}  // namespace scenes
