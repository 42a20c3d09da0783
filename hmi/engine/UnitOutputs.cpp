#include "UnitOutputs.h"

#include "BackupHeat.h"
#include "CSystemData.h"
#include "CompressorGear.h"
#include "ControlBits.h"
#include "CycleSteps.h"
#include "Defrost.h"
#include "FrostBalance.h"
#include "Hydraulics.h"
#include "IndoorBlock.h"
#include "ModeRules.h"
#include "OutdoorBlock.h"
#include "OutdoorWritePass.h"

namespace {

const int kValveHeating = 1;
const int kValveCooling = 2;
const int kValveHotWater = 3;
const int32_t kGearCap = 5;
const uint16_t kPollPauseCycles = 20;
const uint32_t kDefrostFaultBits = 0x8000u | 0x10000u | 0x800000u;
const int32_t kOutdoorSettingHoldSeconds = 180;

// Page 14's outdoor settings travel in two test cells: the fan limit in 3307, the defrost method in 3276.
const int kFirstCell = 3000;
const int kFanLimitCell = 3307;
const int kDefrostMethodCell = 3276;

void HeatersOff(CSystemData& r) {
  r.m_indoorOut1109 = 0;
  r.m_indoorOut1110 = 0;
  r.m_indoorOut1111 = 0;
}

void HotWaterWithCooling(CSystemData& r) {
  r.m_indoorOut1111 = 0;
  r.m_indoorOut1109 = r.m_hwHeaterDemand2 ? 1 : 0;
  if (r.m_hwHpRequest || r.m_hwHeaterDemand) {
    CompressorCommand(r, r.m_hwHpRequest ? 3 : 0);
    HeaterOutput(r, 4, r.m_hwHeaterDemand);
    r.m_valveTarget = kValveHotWater;
  } else {
    CompressorCommand(r, r.m_coolHpRequest ? 2 : 0);
    r.m_indoorOut1110 = 0;
    r.m_valveTarget = kValveCooling;
  }
}

void HotWaterAlone(CSystemData& r) {
  CompressorCommand(r, r.m_hwHpRequest ? 3 : 0);
  HeaterOutput(r, 4, r.m_hwHeaterDemand);
  r.m_indoorOut1111 = 0;
  r.m_indoorOut1109 = r.m_hwHeaterDemand2 ? 1 : 0;
  if (r.m_hwHeaterDemand || r.m_hwHpRequest) {
    r.m_valveTarget = kValveHotWater;
  } else {
    r.m_valveTarget = (r.m_demandFlags & kDemandHeating) ? kValveHeating : kValveCooling;
  }
}

void Heating(CSystemData& r) {
  CompressorCommand(r, r.m_heatHpRequest ? 1 : 0);
  HeaterOutput(r, 5, r.m_heatHeaterDemand);
  r.m_indoorOut1109 = 0;
  HeaterOutput(r, 3, r.m_heatHeaterDemand2);
  r.m_valveTarget = kValveHeating;
}

void Cooling(CSystemData& r) {
  CompressorCommand(r, r.m_coolHpRequest ? 2 : 0);
  HeatersOff(r);
  r.m_valveTarget = kValveCooling;
}

void Idle(CSystemData& r) {
  r.m_activeMode = 0;
  r.m_outdoorCmd2000 = 0;
  HeatersOff(r);
  if (r.m_demandFlags & kDemandHeating) {
    r.m_valveTarget = kValveHeating;
  } else if (r.m_demandFlags & kDemandCooling) {
    r.m_valveTarget = kValveCooling;
  } else {
    r.m_valveTarget = kValveHotWater;
  }
}

// Frost protection by the heat pump: full gear into the heating water, less in quiet or ECO hours.
void FrostByHeatPump(CSystemData& r) {
  if (r.m_heatHpRequest) {
    r.m_activeMode = 1;
    r.m_outdoorCmd2007 = r.m_zoneFlag2 ? 1 : 0;
    r.m_outdoorCmd2000 = r.m_zoneFlag2 ? 7 : 10;
    if (r.m_ecoHotWaterFlags != 0) r.m_outdoorCmd2000 = 5;
  } else {
    r.m_outdoorCmd2000 = 0;
    r.m_outdoorCmd2007 = 0;
  }
  HeaterOutput(r, 5, r.m_heatHeaterDemand);
}

void WriteIndoor(const CSystemData& r, IndoorBlock& b) {
  auto word = [](int32_t v) { return static_cast<uint16_t>(v); };
  b.m_set1110 = word(r.m_indoorOut1110);
  b.m_set1109 = word(r.m_indoorOut1109);
  b.m_set1111 = word(r.m_indoorOut1111);
  b.m_set1101 = word(r.m_indoorOut1101);
  b.m_set1102 = word(r.m_indoorOut1102);
  b.m_set1103 = word(r.m_indoorOut1103);
  b.m_set1113 = word(r.m_indoorOut1113);
  b.m_set1106 = word(r.m_indoorOut1106);
  b.m_set1114 = word(r.m_modeSignalOut);
  b.m_set1105 = word(r.m_outdoorPowerOut);
  b.m_set1107 = r.m_indoorOut1107;
  b.m_set1108 = r.m_indoorOut1108;
  if (r.m_pumpType == 1) {
    b.m_set1104 = 0.0f;
    b.m_set1100 = word(r.m_indoorOut1100);
  } else {
    // The variable-speed pump is always powered; its speed is the drive value.
    b.m_set1104 = static_cast<float>(r.m_pumpPwm);
    b.m_set1100 = 1;
  }
}

uint16_t ModeWord(const CSystemData& r, uint16_t current) {
  if (r.m_activeMode == 7) return 5;
  if (r.m_activeMode == 6) return 4;
  // Ahead of mode 0's "keep the word": the defrost rules set mode 0 through a defrost fault and the
  // failed-defrost hold, and the unit must be sent 0 then, not its last mode.
  bool defrostFault = (r.m_statusBits & kDefrostFaultBits) && r.m_defrostRunSeconds > 279;
  if ((defrostFault || r.m_defrostFailHold > 0) && !r.m_ratedTestSwitch) return 0;
  switch (r.m_activeMode) {
    case 0: return current;
    case 5: return 257;
    case 2: return 1;
    default: return 2;
  }
}

// Cell 3307 for the fan speed limit in percent.
uint16_t FanLimitCell(int32_t percent) { return percent == 100 ? 72 : percent == 95 ? 68 : 65; }

bool SettingCellsIn(const CSystemData& r, const OutdoorBlock& b) {
  return b.m_paramBlock[kFanLimitCell - kFirstCell] == FanLimitCell(r.m_fanMaxSpeedPercent) &&
         b.m_paramBlock[kDefrostMethodCell - kFirstCell] == static_cast<uint16_t>(r.m_defrostMethod);
}

// A setting of the outdoor unit changed (on page 14 or by the server): the test-mode writes go on
// while its hold runs, until the unit has stored the cells. A hold that runs out first tells the
// screens, and withdraws a write pass still waiting for the unit (whoever else wants one starts it
// again); one whose commit is on the wire at that moment waits a second for the unit's answer.
// The hold is the screens' word too: every change of it here is made from the value this second read,
// so a hold set anew meanwhile runs from its own start and is never ended for the old one.
void HoldOutdoorSetting(CSystemData& r, OutdoorBlock* b) {
  int32_t hold = r.m_outdoorSettingHold.load();
  if (hold <= 0) return;
  const bool linked = b && b->m_linkState != 0;
  if (linked && OutdoorWritePass(*b, SettingCellsIn(r, *b))) {
    r.m_outdoorSettingHold.compare_exchange_strong(hold, 0);
    return;
  }
  if (hold == 1 && b && !WithdrawOutdoorWritePass(*b)) {
    // The unit's answer to the commit under way decides, a second later. One that came in while the
    // link is down is taken here, as no second with the link up will take it.
    if (!linked && OutdoorWritePass(*b, SettingCellsIn(r, *b))) r.m_outdoorSettingHold.compare_exchange_strong(hold, 0);
    return;
  }
  if (!r.m_outdoorSettingHold.compare_exchange_strong(hold, hold - 1)) return;
  if (hold == 1) {
    r.m_outdoorSettingRefused = 1;
    // A hold set anew between the count and the verdict carries the setting again: the verdict was
    // the old hold's and is withdrawn (the screen sets the hold before it clears the verdict).
    int32_t refused = 1;
    if (r.m_outdoorSettingHold.load() != 0) r.m_outdoorSettingRefused.compare_exchange_strong(refused, 0);
    return;
  }
  if (linked && r.m_testWriteCount < 1) r.m_testWriteCount = 1;
}

void WriteOutdoor(CSystemData& r, OutdoorBlock& b) {
  if (r.m_outdoorPowerOut == 1) {
    b.m_pollPaused = kPollPauseCycles;
  } else if (b.m_pollPaused > 0) {
    b.m_pollPaused = static_cast<uint16_t>(b.m_pollPaused - 1);
  }
  if (r.m_testWriteCount > 0) {
    if (b.m_word2100 == 5) {
      b.m_testSet[10] = FanLimitCell(r.m_fanMaxSpeedPercent);        // cell 3307
      b.m_testSet[15] = static_cast<uint16_t>(r.m_defrostMethod);  // cell 3276
      if (r.m_testModeState == 1) {
        b.m_testSet[11] = b.m_testSet[13] = b.m_testSet[14] = 0;  // cells 3029, 3249, 3275
      } else if (r.m_testModeState == 3) {
        b.m_testSet[11] = static_cast<uint16_t>(r.m_outdoorEevControl);
        b.m_testSet[13] = static_cast<uint16_t>(r.m_outdoorFanControl);
        b.m_testSet[14] = static_cast<uint16_t>(r.m_outdoorDefrostControl);
      }
    }
    b.m_set4000 = 5;
    --r.m_testWriteCount;
  } else {
    b.m_set4000 = ModeWord(r, b.m_set4000);
  }
  auto store = [](uint16_t& field, int32_t value) {
    if (field != static_cast<uint16_t>(value)) field = static_cast<uint16_t>(value);
  };
  store(b.m_set2000, r.m_outdoorCmd2000);
  store(b.m_set2001, r.m_outdoorCmd2001);
  store(b.m_set2002, r.m_outdoorCmd2002);
  if (!(r.m_statusBits & kStatusInletFromUnit)) b.m_set2006 = r.m_inletTemp;
  b.m_set2012 = r.m_coilTempOut;
  b.m_set2007 = static_cast<uint16_t>(r.m_outdoorCmd2007);
}

}  // namespace

void ComposeOutputs(CSystemData& r, const OutdoorBlock* outdoor) {
  ModeSignal(r);
  FlowSupervision(r);
  LowNoiseHours(r);
  if (r.m_frostState == 2) {
    FrostByHeatPump(r);
  } else if (r.m_hwRequest && r.m_heatRequest) {
    HeatHotWaterBalance(r);
  } else {
    ClearBalanceCounters(r);
    if (r.m_hwRequest && r.m_coolRequest) {
      HotWaterWithCooling(r);
    } else if (r.m_hwRequest) {
      HotWaterAlone(r);
    } else if (r.m_heatRequest) {
      Heating(r);
    } else if (r.m_coolRequest) {
      Cooling(r);
    } else {
      Idle(r);
    }
  }
  if ((r.m_statusBits & kStatusGearCap5) && r.m_outdoorCmd2000 > kGearCap) r.m_outdoorCmd2000 = kGearCap;
  OverTemperatureStop(r, outdoor);
  CoilFreezeProtection(r);
  HydraulicOutputs(r);
}

void HoldOutdoorSettingChange(CSystemData& r, int settingIndex) {
  r.m_outdoorSettingIndex = settingIndex;
  r.m_outdoorSettingHold = kOutdoorSettingHoldSeconds;
  r.m_outdoorSettingRefused = 0;
}

void WriteUnitOutputs(CSystemData& r, IndoorBlock* indoor, OutdoorBlock* outdoor) {
  if (indoor && indoor->m_linkState != 0) {
    WriteIndoor(r, *indoor);
    OutputsWritten(indoor->m_fresh);
  }
  HoldOutdoorSetting(r, outdoor);
  if (outdoor && outdoor->m_linkState != 0) {
    WriteOutdoor(r, *outdoor);
    OutputsWritten(outdoor->m_fresh);
  }
}
