#include "Hydraulics.h"

#include <cmath>

#include "CSystemData.h"
#include "CycleSteps.h"
#include "Defrost.h"
#include "RatedTest.h"
#include "SoftClock.h"

namespace {

const int32_t kRunOnSeconds = 30;
// The auxiliary heater waits for water to move before it may heat it.
const int32_t kHeaterPumpLeadSeconds = 30;
const int kMixStepCycles = 21;
const int32_t kMixClosedFaultSeconds = 600;
const int32_t kValveCheckAfterSeconds = 300;
const float kValveCheckSpread = 12.0f;
const uint32_t kStatusPumpFullSpeed = 0x800;
const uint32_t kThreeWayValveFault = 0x8000000;  // in the second fault word
const int kFriday = 5;
const int kWeeklyRunHour = 20;
const int32_t kRatedTestValveTarget = 1;  // heating

void SetFlag(uint16_t& word, uint16_t bit, bool on) {
  if (on) {
    word |= bit;
  } else {
    word &= static_cast<uint16_t>(~bit);
  }
}

void SetBit(uint32_t& word, uint32_t bit, bool on) {
  if (on) {
    word |= bit;
  } else {
    word &= ~bit;
  }
}

bool PumpOn(const CSystemData& r) { return r.m_indoorOut1100 != 0; }

// One toggle's flushing: pump pulses with the valve held at one side, counting its steps down.
void Flush(CSystemData& r, int32_t& count, uint16_t bit, int32_t target, int32_t position, bool longMiddle) {
  if (count <= 0) {
    SetFlag(r.m_pumpRequestFlags, bit, false);
    return;
  }
  r.m_valveTarget = target;
  if (r.m_valvePosition != position) return;
  if (count % 2 == 1) {
    r.m_pumpRequestFlags |= bit;
    bool longRun = count < 6 || (longMiddle && count >= 17 && count <= 21);
    if (r.m_pumpOnSeconds > (longRun ? 30 : 5)) {
      SetFlag(r.m_pumpRequestFlags, bit, false);
      --count;
    }
  } else {
    SetFlag(r.m_pumpRequestFlags, bit, false);
    if (r.m_pumpOffSeconds > 5) {
      r.m_pumpRequestFlags |= bit;
      --count;
    }
  }
}

int SpeedPwm(int32_t setting) {
  if (setting == 0) return 0;
  if (setting == 1) return 25;
  return 50;
}

// Hysteresis switch: on at or beyond `onAt`, off at or beyond `offAt`, unchanged between.
int32_t Band(int32_t current, bool on, bool off) {
  if (on) return 1;
  if (off) return 0;
  return current;
}

struct Circuit {
  int32_t& request;
  int32_t& pump;
  float& output;
  int32_t& state;
  int32_t& stepCount;
  int32_t& closedSeconds;
  int32_t mixEnabled;
  uint32_t sensorFault;
  uint32_t fault;
  float mixTemp;
  float heatTarget;
  float coolTarget;
};

Circuit CircuitOf(CSystemData& r, int n) {
  if (n == 1) {
    return Circuit{r.m_pumpARequest, r.m_indoorOut1101, r.m_indoorOut1107, r.m_mix1State, r.m_mix1StepCount,
                   r.m_mix1ClosedSeconds, r.m_mixTemp1Enabled, 0x80, 0x1000, r.m_mix1Temp,
                   r.m_heatCircuit1Target, r.m_coolCircuit1Target};
  }
  return Circuit{r.m_pumpBRequest, r.m_indoorOut1102, r.m_indoorOut1108, r.m_mix2State, r.m_mix2StepCount,
                 r.m_mix2ClosedSeconds, r.m_mixTemp2Enabled, 0x100, 0x2000, r.m_mix2Temp,
                 r.m_heatCircuit2Target, r.m_coolCircuit2Target};
}

struct CircuitRules {
  uint16_t fullOpen;  // request bits that open the circuit fully
  int32_t heatingOn;
  int32_t coolingOn;
  int32_t highTempOnly;
};

// Circuit A or B: forced runs first, then the heating or cooling request, then its mixing control.
void RunCircuit(CSystemData& r, int n, const CircuitRules& rules) {
  Circuit c = CircuitOf(r, n);
  if (r.m_pumpRequestFlags & rules.fullOpen) {
    c.output = 10.0f;
    c.pump = 1;
    return;
  }
  if (r.m_pumpRequestFlags & kPumpFrost) {
    c.output = 5.0f;
    c.pump = 1;
    return;
  }
  if (r.m_systemSwitch != 1) {
    c.pump = 0;
    c.output = 0.0f;
    return;
  }
  bool buffer = r.m_bufferTankPresent != 0;
  bool pumpOn = PumpOn(r);
  int kind = 0;
  if ((r.m_demandFlags & kDemandHeating) && rules.heatingOn) {
    kind = 1;
    if (!buffer) {
      c.request = (r.m_valvePosition == HeatingSidePosition(r) && (n == 2 || pumpOn)) ? 1 : 0;
    } else if (n == 1) {
      float low = static_cast<float>(r.m_heatSetMin);
      c.request = Band(c.request, r.m_heatCoolTemp >= low, r.m_heatCoolTemp <= low - 2.0f);
    } else {
      c.request = Band(c.request, r.m_heatCoolTemp >= 25.0f, r.m_heatCoolTemp <= 23.0f);
    }
  } else if ((r.m_demandFlags & kDemandCooling) && rules.coolingOn) {
    kind = 2;
    if (buffer) {
      c.request = Band(c.request, r.m_heatCoolTemp <= 25.0f, r.m_heatCoolTemp >= 27.0f);
    } else {
      c.request = (r.m_valvePosition == kValveAtHeating && (n == 2 || pumpOn)) ? 1 : 0;
    }
  } else {
    c.request = 0;
  }
  if (rules.highTempOnly && !r.m_highTempSignal) c.request = 0;
  MixingCircuit(r, n, kind);
}

}  // namespace

int32_t HeatingSidePosition(const CSystemData& r) { return HeatingSidePosition(r.m_userSystemType); }

bool ValveSideMatches(const CSystemData& r, int mode) {
  int32_t expected = 0;
  if (mode == 2 || (mode == 1 && r.m_userSystemType == 0)) expected = kValveAtHeating;
  if (mode == 3 || (mode == 1 && r.m_userSystemType == 1)) expected = kValveAtHotWater;
  return expected != 0 && r.m_valvePosition == expected;
}

void ValveDrive(CSystemData& r, int side) {
  int32_t arrived = side == 2 ? kValveAtHeating : kValveAtHotWater;
  int32_t moving = side == 2 ? kValveToHeating : kValveToHotWater;
  if (r.m_valveDriveSide == arrived) return;
  if (r.m_valveMoveSeconds / 60 >= r.m_threeWaySwitchTime) {
    // Arrived without a move (switching time 0): the coils still need their power time at the new side.
    if (r.m_valveDriveSide != moving) r.m_valvePowerSeconds = 0;
    r.m_valveDriveSide = arrived;
    r.m_valveMoveSeconds = 0;
    return;
  }
  if (r.m_valveDriveSide != moving) {
    r.m_valveMoveSeconds = 0;
    r.m_valvePowerSeconds = 0;
  }
  r.m_valveDriveSide = moving;
  ++r.m_valveMoveSeconds;
}

void ServiceFlushing(CSystemData& r) {
  Flush(r, r.m_serviceToggle1, kPumpFlush1, 2, kValveAtHeating, true);
  Flush(r, r.m_serviceToggle2, kPumpFlush2, 3, kValveAtHotWater, false);
}

void ValveControl(CSystemData& r) {
  bool layout0 = r.m_userSystemType == 0;
  if (r.m_defrostValveRequest == 0 || !layout0) {
    if (r.m_frostValveSide == 0 || !layout0) {
      bool heatingSide = r.m_valveTarget == 2 || (r.m_valveTarget == 1 && layout0);
      int32_t expected = heatingSide ? kValveAtHeating : kValveAtHotWater;
      if (r.m_valvePosition != expected && r.m_compressorHz == 0 && !PumpOn(r)) {
        ValveDrive(r, heatingSide ? 2 : 3);
        r.m_valvePosition = r.m_valveDriveSide;
      }
    } else {
      ValveDrive(r, r.m_frostValveSide == 1 ? 3 : 2);
      r.m_valvePosition = r.m_valveDriveSide;
    }
  } else if (r.m_defrostState != 0) {
    ValveDrive(r, r.m_defrostValveRequest == 1 ? 3 : 2);
    r.m_valvePosition = r.m_valveDriveSide;
  } else if (r.m_defrostValveRequest == 1) {
    // After a defrost from the tank the valve returns to the heating side once the hold has run down.
    if (r.m_defrostHoldHw <= 110) {
      ValveDrive(r, 2);
      r.m_valvePosition = r.m_valveDriveSide;
      if (r.m_valveDriveSide == kValveAtHeating) r.m_defrostValveRequest = 0;
    }
  } else if (r.m_defrostHoldHeat <= 110) {
    ValveDrive(r, 3);
    r.m_valvePosition = r.m_valveDriveSide;
    if (r.m_valveDriveSide == kValveAtHotWater) r.m_defrostValveRequest = 0;
  }

  bool powered = true;
  if (r.m_threeWayPowerTime != 0) {
    powered = r.m_valvePowerSeconds / 60 < r.m_threeWayPowerTime;
    if (powered) ++r.m_valvePowerSeconds;
  }
  int32_t side = r.m_valveDriveSide;
  r.m_indoorOut1113 = powered && (side == kValveAtHotWater || side == kValveToHotWater) ? 1 : 0;
  r.m_indoorOut1106 = powered && (side == kValveAtHeating || side == kValveToHeating) ? 1 : 0;
}

void PumpStandby(CSystemData& r) {
  bool demand = (r.m_demandFlags & (kDemandHeating | kDemandCooling)) != 0;
  bool blocked = r.m_heatRequest || r.m_coolRequest || r.m_systemSwitch != 1 ||
                 (r.m_statusBits & (kStatusFlowStuckClosed | kStatusFlowLockout)) ||
                 (r.m_pumpWorkMode == 1 && r.m_hwHpRequest);
  bool wanted = demand && r.m_valvePosition == HeatingSidePosition(r) && !blocked;
  SetFlag(r.m_pumpRequestFlags, kPumpStandbyWanted, wanted);
  if (!wanted) {
    SetFlag(r.m_pumpRequestFlags, kPumpStandbyOn, false);
  } else if (r.m_pumpWorkMode == 1) {
    r.m_pumpRequestFlags |= kPumpStandbyOn;
  } else if (r.m_pumpWorkMode == 2) {
    SetFlag(r.m_pumpRequestFlags, kPumpStandbyOn, false);
  } else if (r.m_pumpWorkMode == 0) {
    if (r.m_pumpOffSeconds >= r.m_pumpStandbyTime * 60) r.m_pumpRequestFlags |= kPumpStandbyOn;
    if (r.m_pumpOnSeconds >= r.m_pumpRunTime * 60) SetFlag(r.m_pumpRequestFlags, kPumpStandbyOn, false);
  }

  // The weekly anti-seize run: the minute 20:00 of every Friday.
  bool weekly = g_clock.wDayOfWeek == kFriday && g_clock.wHour == kWeeklyRunHour && g_clock.wMinute == 0;
  SetFlag(r.m_pumpRequestFlags, kPumpWeeklyMain | kPumpWeeklyA | kPumpWeeklyB, weekly);
  SetFlag(r.m_pumpRequestFlags, kPumpFloorA | kPumpFloorB, r.m_floorHeatEnabled != 0);
}

void CirculationPumps(CSystemData& r) {
  if (PumpOn(r)) {
    ++r.m_pumpOnSeconds;
    r.m_pumpOffSeconds = 0;
    if (r.m_pumpRunOn > 0) --r.m_pumpRunOn;
  } else {
    ++r.m_pumpOffSeconds;
    r.m_pumpOnSeconds = 0;
  }

  bool atSide = r.m_valvePosition == kValveAtHotWater || r.m_valvePosition == kValveAtHeating;
  const uint16_t forced = kPumpWeeklyMain | kPumpStandbyOn | kPumpFrost | kPumpFlush1 | kPumpFlush2;
  if (r.m_pumpRequestFlags & forced) {
    r.m_indoorOut1100 = 1;
  } else if (r.m_indoorOut1110 || r.m_compressorHz > 0 || (r.m_indoorOut1111 && r.m_pumpOnPowerCut) ||
             (atSide && ValveSideMatches(r, r.m_activeMode))) {
    r.m_indoorOut1100 = 1;
    r.m_pumpRunOn = kRunOnSeconds;
    if (r.m_pumpOnSeconds <= kHeaterPumpLeadSeconds) r.m_indoorOut1110 = 0;
  } else if (!atSide || r.m_pumpRunOn <= 0) {
    r.m_indoorOut1100 = 0;
  }

  if (r.m_pumpType == 0) {
    if ((r.m_statusBits & kStatusPumpFullSpeed) || !PumpOn(r)) {
      r.m_pumpPwm = 100;
    } else if (r.m_serviceToggle1 > 0 || r.m_serviceToggle2 > 0) {
      r.m_pumpPwm = (r.m_serviceToggle1 > 6 || r.m_serviceToggle2 > 6) ? 0 : 25;
    } else if (r.m_activeMode == 3) {
      r.m_pumpPwm = SpeedPwm(r.m_pumpSpeedHotWater);
    } else if (r.m_activeMode == 2) {
      r.m_pumpPwm = SpeedPwm(r.m_pumpSpeedCooling);
    } else {
      r.m_pumpPwm = SpeedPwm(r.m_pumpSpeedHeating);
    }
  }

  RunCircuit(r, 1, CircuitRules{kPumpWeeklyA | kPumpFloorA | kPumpFlush1, r.m_pumpAHeating, r.m_pumpACooling,
                                r.m_pumpAHighTemp});
  if (r.m_dualTempEnabled) {
    RunCircuit(r, 2, CircuitRules{kPumpWeeklyB | kPumpFloorB | kPumpFlush1, r.m_pumpBHeating, r.m_pumpBCooling,
                                  r.m_pumpBHighTemp});
  } else {
    r.m_indoorOut1102 = 0;
    r.m_indoorOut1108 = 0.0f;
  }
  r.m_indoorOut1103 = ((r.m_demandFlags & kRunningHotWater) || (r.m_pumpRequestFlags & kPumpFlush2)) ? 1 : 0;
}

void MixingCircuit(CSystemData& r, int circuit, int kind) {
  Circuit c = CircuitOf(r, circuit);
  if (!c.request || !c.mixEnabled) {
    c.pump = c.request ? 1 : 0;
    c.output = 0.0f;
    c.state = 0;
    r.m_statusBits &= ~c.fault;
    return;
  }
  if (r.m_statusBits & c.sensorFault) {
    c.output = 5.0f;
    if (kind == 1) {
      c.pump = r.m_heatCoolTemp <= c.heatTarget + 2.0f ? 1 : 0;
    } else if (kind == 2) {
      c.pump = r.m_heatCoolTemp >= c.coolTarget - 2.0f ? 1 : 0;
    }
    r.m_statusBits &= ~c.fault;
    c.state = 0;
    return;
  }
  double d = kind == 1 ? static_cast<double>(c.heatTarget) - c.mixTemp : static_cast<double>(c.mixTemp) - c.coolTarget;
  if (c.state == 1 && d <= -4.0 && c.closedSeconds > kMixClosedFaultSeconds) {
    r.m_statusBits |= c.fault;
    c.state = 0;
    c.output = 0.0f;
    c.pump = 0;
    return;
  }
  if (c.state == 0) {
    if (c.output != 0.0f || d < 1.0) {
      c.output = 0.0f;
      c.pump = 0;
      return;
    }
    c.output = 5.0f;
    c.state = 1;
    c.stepCount = 0;
    c.closedSeconds = 0;
    r.m_statusBits &= ~c.fault;
  }
  if (++c.stepCount >= kMixStepCycles) {
    c.stepCount = 0;
    double out = c.output;
    if (d > 1.5) {
      out += 0.5;
    } else if (d > 0.5) {
      out += 0.2;
    } else if (d < -1.5) {
      out -= 0.5;
    } else if (d < -0.5) {
      out -= 0.2;
    }
    if (out < 0.0) out = 0.0;
    if (out > 10.0) out = 10.0;
    c.output = static_cast<float>(out);
  }
  c.closedSeconds = c.output == 0.0f ? c.closedSeconds + 1 : 0;
  c.pump = 1;
}

void DemandIndicators(CSystemData& r) {
  bool command = r.m_outdoorCmd2000 > 0;
  bool hw = r.m_indoorOut1109 || (r.m_valvePosition == kValveAtHotWater && r.m_activeMode == 3 && command) ||
            (r.m_hwHeaterDemand && r.m_indoorOut1110);
  bool heat = r.m_indoorOut1111 || (r.m_valvePosition == HeatingSidePosition(r) && r.m_activeMode == 1 && command) ||
              (r.m_heatHeaterDemand && r.m_indoorOut1110);
  bool cool = r.m_valvePosition == kValveAtHeating && r.m_activeMode == 2 && command;
  bool running = r.m_compressorHz > 0;
  SetFlag(r.m_demandFlags, kRunningHotWater, hw);
  SetFlag(r.m_demandFlags, kRunningHeating, heat);
  SetFlag(r.m_demandFlags, kRunningCooling, cool);
  r.m_hwRunSeconds = hw ? r.m_hwRunSeconds + 1 : 0;
  r.m_heatRunSeconds = heat ? r.m_heatRunSeconds + 1 : 0;
  r.m_coolRunSeconds = cool && running ? r.m_coolRunSeconds + 1 : 0;

  if (running) {
    if (++r.m_compRunTotalSeconds % 60 == 0) ++r.m_heatPumpRunTime;
  } else {
    r.m_compRunTotalSeconds = 0;
  }
  // A stuck three-way valve shows as water on the served side far from the inlet after five minutes.
  bool stuck = false;
  if (running && r.m_compRunTotalSeconds > kValveCheckAfterSeconds && r.m_threeWayAntiSeize && r.m_frostState == 0) {
    if (r.m_valvePosition == kValveAtHotWater) {
      stuck = std::fabs(r.m_tankTemp - r.m_inletTemp) > kValveCheckSpread;
    } else if (r.m_valvePosition == kValveAtHeating) {
      stuck = std::fabs(r.m_heatCtrlTemp - r.m_inletTemp) > kValveCheckSpread;
    }
  }
  SetBit(r.m_faultWord2, kThreeWayValveFault, stuck);

  struct Minutes {
    int32_t output;
    int32_t& count;
    int32_t& minutes;
  };
  for (Minutes m : {Minutes{r.m_indoorOut1110, r.m_auxMinuteCount, r.m_auxHeaterRunTime},
                    Minutes{r.m_indoorOut1111, r.m_heatAuxMinuteCount, r.m_heatAuxHeaterRunTime},
                    Minutes{r.m_indoorOut1109, r.m_hwAuxMinuteCount, r.m_hotWaterAuxHeaterRunTime}}) {
    if (!m.output) continue;
    if (++m.count >= 60) {
      m.count = 0;
      ++m.minutes;
    }
  }
}

void HydraulicOutputs(CSystemData& r) {
  if (RatedTestHoldsValve(r)) r.m_valveTarget = kRatedTestValveTarget;
  ServiceFlushing(r);
  ValveControl(r);
  PumpStandby(r);
  CirculationPumps(r);
  DemandIndicators(r);
}
