#include "MinuteLog.h"

#include "CSystemData.h"
#include "CppSQLite3Exception.h"
#include "DbTables.h"
#include "InputMapping.h"

namespace {

const int64_t kDaySeconds = 86400;
const uint32_t kIndoorLinkFault = 1u << 17;

template <int N>
void ShiftIn(float (&window)[N], float value) {
  for (int i = N - 1; i > 0; --i) window[i] = window[i - 1];
  window[0] = value;
}

template <int N>
float Sum(const float (&window)[N], int count = N) {
  float sum = 0.0f;
  for (int i = 0; i < count; ++i) sum += window[i];
  return sum;
}

// Once a minute the last 60 minute samples of the ambient give its hourly mean; at the end of each
// hour that mean joins the last 24, which give the 4-hour and the day means. Only from the outdoor
// unit's first reply on: before it the ambient is no measured value.
void AdvanceAmbientAverages(CSystemData& r, int64_t rowTime) {
  if (r.m_averagesReady != 1) return;
  ShiftIn(r.m_ambientMinuteWindow, r.m_ambientTemp);
  r.m_ambientTempA = Sum(r.m_ambientMinuteWindow) * 0.016666668f;
  if (rowTime / 60 % 60 != 59) return;
  r.m_ambientThreshold = r.m_ambientHourWindow[23];
  ShiftIn(r.m_ambientHourWindow, r.m_ambientTempA);
  r.m_ambientTempC = Sum(r.m_ambientHourWindow) * 0.041666668f;
  r.m_ambientTempB = Sum(r.m_ambientHourWindow, 4) * 0.25f;
}

}  // namespace

int64_t MinuteStart(int64_t now) {
  int64_t rest = now % 60;
  if (rest < 0) rest += 60;
  return now - rest;
}

int WriteMinuteLog(CSystemData& r, int64_t& nextLogTime, int64_t now) {
  // Rows for a gap longer than the log keeps would be deleted again at once; catching them up one
  // per second would only hold back the rows of the present.
  if (now - nextLogTime > kLogKeepDays * kDaySeconds) nextLogTime = MinuteStart(now);
  if (!(nextLogTime < now)) return 0;
  // Right after a start the units answer within seconds: the row waits for them within its minute, so
  // that it does not hold the record's zeros for values they are about to send. A unit still silent
  // when the minute is over, and not yet in its link fault, has zeros in its columns.
  if (!UnitsHeard(r) && !(nextLogTime + 60 < now)) return 0;
  RealRecord row;
  row.m_time = nextLogTime;
  if (!(r.m_statusBits & kIndoorLinkFault)) MakeSnapshot(r, row);
  // A busy or locked database keeps the row due: it is tried again next second, not lost.
  if (!InsertRealData(row)) return 1;
  DeleteRealData(1, nextLogTime, kLogKeepDays);
  AdvanceAmbientAverages(r, nextLogTime);
  nextLogTime += 60;
  return 1;
}

int64_t FirstLogTime(int64_t now) {
  int64_t minute = MinuteStart(now);
  RealRecordArray rows;
  try {
    // A restart within a minute that already has its row goes on with the next minute.
    if (LoadRealData(rows, 2, static_cast<int>(minute), static_cast<int>(minute)) && !rows.empty()) return minute + 60;
  } catch (const CppSQLite3Exception&) {
    // Unreadable now: the row is written, at worst a second time.
  }
  return minute;
}
