#include "Schedules.h"

#include "CSystemData.h"
#include "Clock.h"
#include "CycleSteps.h"
#include "Regulators.h"
#include "SoftClock.h"

namespace {

const int64_t kDaySeconds = 86400;

// Stage table of the floor programme: hours in band to hold, water temperature. Stage 0 starts it.
const int32_t kFloorHours[kFloorLastStage + 1] = {0, 0,  72, 0, 96, 0, 24, 0, 24, 0, 24, 0,  24, 0,
                                                  24, 0, 144, 0, 24, 0, 24, 0, 24, 0, 24, 0, 24};
const int32_t kFloorWater[kFloorLastStage + 1] = {30, 30, 30, 55, 55, 30, 30, 35, 35, 40, 40, 45, 45, 50,
                                                  50, 55, 55, 50, 50, 45, 45, 40, 40, 35, 35, 30, 30};
const int32_t kFloorOutOfBandHours = 120;
const int32_t kHour = 3600;

int Bit(int32_t mask, int bit) { return bit >= 0 && bit < 32 ? (static_cast<uint32_t>(mask) >> bit) & 1u : 0; }

int64_t TodayMidnight() {
  return g_now - (static_cast<int64_t>(g_clock.wHour) * 3600 + g_clock.wMinute * 60 + g_clock.wSecond);
}

void NextFloorStage(CSystemData& r) {
  ++r.m_floorHeatStage;
  r.m_floorInBandSeconds = 0;
  r.m_floorStageSeconds = 0;
  r.m_floorStageRunTime = 0;
  r.m_floorStageEffectiveTime = 0;
  r.m_floorOutBandSeconds = 0;
}

void StartFloorProgramme(CSystemData& r) {
  r.m_statusBits &= ~kStatusFloorHeatFault;
  r.m_floorTotalSeconds = 0;
  r.m_floorInBandSeconds = 0;
  r.m_floorStageSeconds = 0;
  r.m_floorOutBandSeconds = 0;
  r.m_floorStageRunTime = 0;
  r.m_floorStageEffectiveTime = 0;
  r.m_floorHeatTotalTime = 0;
  r.m_floorHeatMaxTemp = 0;
  r.m_floorHeatStage = 1;
  r.m_floorStageSetTemp = kFloorWater[0];
}

}  // namespace

bool PackedDateTime(uint32_t packed, int64_t* seconds) {
  SYSTEMTIME t = {};
  t.wYear = static_cast<WORD>(packed & 0xFFF);
  t.wMonth = static_cast<WORD>((packed >> 12) & 0xF);
  t.wDay = static_cast<WORD>((packed >> 16) & 0x1F);
  t.wHour = static_cast<WORD>((packed >> 21) & 0x1F);
  t.wMinute = static_cast<WORD>((packed >> 26) & 0x3F);
  if (!panel::IsValidSystemTime(t)) return false;
  *seconds = panel::SystemTimeToEpochMs(t) / 1000;
  return true;
}

void HolidayWindow(CSystemData& r) {
  int64_t start = 0;
  int64_t end = 0;
  // A date that is no real date (month 0, 31 February) cannot open the window.
  bool valid = PackedDateTime(r.m_holidayStart, &start) && PackedDateTime(r.m_holidayEnd, &end);
  int64_t now = g_now;
  r.m_holidayActive = r.m_holidayEnabled && valid && start <= now && now <= end ? 1 : 0;
}

void WeeklyTimer(CSystemData& r) {
  if (!r.m_timerEnabled) {
    r.m_timerState = 2;
    return;
  }
  int hour = g_clock.wHour < 32 ? g_clock.wHour : 31;
  r.m_timerState = Bit(r.m_timerMask[g_clock.wDayOfWeek % 7], hour);
  if (r.m_timerState == 0) r.m_demandFlags &= static_cast<uint16_t>(~(kDemandHeating | kDemandCooling));
}

void AntiLegionella(CSystemData& r) {
  uint32_t packed = r.m_sterilizeStart;
  int32_t mask = static_cast<int32_t>(packed & 0x7F);
  int hour = static_cast<int>((packed >> 7) & 0x3F);
  int minute = static_cast<int>((packed >> 13) & 0x7F);
  int today = g_clock.wDayOfWeek;
  int yesterday = (today + 6) % 7;
  bool timeValid = hour < 24 && minute < 60;
  if (!r.m_sterilizeEnabled || !timeValid || (!Bit(mask, today) && !Bit(mask, yesterday))) {
    r.m_hwState = 0;
    r.m_sterilizeHoldSeconds = 0;
    r.m_sterilizeSeconds = 0;
    return;
  }
  int64_t now = g_now;
  int64_t start = TodayMidnight() + hour * 3600 + minute * 60;
  int64_t length = static_cast<int64_t>(r.m_sterilizeMaxTime) * 60;
  bool inside = Bit(mask, today) && now >= start && now < start + length;
  // A cycle started late in the evening runs on past midnight to the end of its window.
  bool insideYesterdays = Bit(mask, yesterday) && now >= start - kDaySeconds && now < start - kDaySeconds + length;
  if (!inside && !insideYesterdays) {
    r.m_hwState = 0;
    if (!Bit(mask, today)) {
      r.m_sterilizeHoldSeconds = 0;
      r.m_sterilizeSeconds = 0;
    }
    return;
  }
  if (r.m_hwState == 0) {
    r.m_hwState = 1;
    r.m_sterilizeHoldSeconds = 0;
    r.m_sterilizeSeconds = 0;
  }
  if (r.m_hwState != 1) return;

  ++r.m_sterilizeSeconds;
  if (r.m_tankTemp >= static_cast<float>(r.m_sterilizeTemp - 3)) {
    ++r.m_sterilizeHoldSeconds;
  } else if (r.m_sterilizeHoldSeconds != 0) {
    // A dip restarts the hold; the 1 marks that the hold had begun, which the regulator reads.
    r.m_sterilizeHoldSeconds = 1;
  }
  if (r.m_sterilizeHoldSeconds / 60 >= r.m_sterilizeHoldTime) {
    r.m_hwState = 2;
  } else if (r.m_sterilizeSeconds / 60 >= r.m_sterilizeMaxTime) {
    r.m_hwState = 3;
  }
  r.m_hwTarget = r.m_sterilizeTemp;
}

void HotWaterSchedule(CSystemData& r) {
  if (!r.m_heatStorageEnabled) {
    r.m_hwSchedule = 3;
    HotWaterRegulator(r, r.m_hotWaterSetTemp, r.m_hotWaterRestartDiff);
    return;
  }
  int day = g_clock.wDayOfWeek % 7;
  int hour = g_clock.wHour;
  r.m_hwSchedule = Bit(r.m_storageTimerMask[day], hour);
  if (r.m_hwSchedule == 1) {
    HotWaterRegulator(r, r.m_hotWaterSetTemp, r.m_hotWaterRestartDiff);
    return;
  }
  if (r.m_reheatEnabled) {
    r.m_hwSchedule = 2 * Bit(r.m_reheatTimerMask[day], hour);
    if (r.m_hwSchedule == 2) {
      HotWaterRegulator(r, r.m_reheatSetTemp, r.m_reheatRestartDiff);
      return;
    }
  }
  HotWaterIdle(r);
}

void FloorFirstHeat(CSystemData& r) {
  // A stage read from the database outside the table ends the programme rather than read past it.
  if (r.m_floorHeatStage > kFloorLastStage || r.m_floorHeatStage < 0) {
    r.m_floorTotalSeconds = 0;
    r.m_hwRequest = 0;
    r.m_coolRequest = 0;
    r.m_floorHeatEnabled = 0;
    return;
  }
  r.m_hwRequest = 0;
  r.m_coolRequest = 0;
  ++r.m_floorTotalSeconds;
  r.m_stopOffsetCopy = 1;
  r.m_hysteresisCopy = 2;
  r.m_derateCopy = 2;

  int32_t hours = kFloorHours[r.m_floorHeatStage];
  int32_t water = kFloorWater[r.m_floorHeatStage];
  if (r.m_floorHeatStage == 0) StartFloorProgramme(r);
  r.m_floorStageHours = hours;
  r.m_floorStageTemp = water;

  HeatingRegulator(r, r.m_heatCoolTemp, static_cast<float>(water));
  if (++r.m_floorStageSeconds % kHour == 0) ++r.m_floorStageRunTime;
  r.m_floorStageSetTemp = water;

  float t = r.m_heatCoolTemp;
  if (t >= static_cast<float>(water - 2) && t <= static_cast<float>(water + 1)) {
    r.m_floorOutBandSeconds = 0;
    if (++r.m_floorInBandSeconds % kHour == 0) ++r.m_floorStageEffectiveTime;
    if (hours == 0 || r.m_floorStageEffectiveTime >= hours) NextFloorStage(r);
  } else {
    ++r.m_floorOutBandSeconds;
  }

  if (r.m_floorTotalSeconds > kHour - 1) {
    r.m_floorTotalSeconds = 0;
    ++r.m_floorHeatTotalTime;
  }
  int32_t whole = static_cast<int32_t>(t);
  if (whole > r.m_floorHeatMaxTemp) r.m_floorHeatMaxTemp = whole;

  if (r.m_floorOutBandSeconds / kHour >= kFloorOutOfBandHours) {
    r.m_statusBits |= kStatusFloorHeatFault;
    r.m_floorHeatEnabled = 0;
  }
}
