#include "MinuteLog.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CSystemData.h"
#include "DeliveredDb.h"
#include "InputMapping.h"

namespace {

using enginetest::DeliveredDb;
using enginetest::RawDb;

// 2026-03-02 12:00:00 local time in seconds.
const int64_t kNoon = 1772452800;
const int64_t kDay = 86400;

class MinuteLogTest : public ::testing::Test {
protected:
  MinuteLogTest() { r.m_unitsAnswered = kIndoorAnswered | kOutdoorAnswered; }
  std::string Times() {
    std::string out;
    for (const auto& row : raw.Rows("select TM from t_RealHP order by TM")) out += row[0] + " ";
    return out;
  }

  DeliveredDb db;
  RawDb raw{db.Path()};
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
};

TEST_F(MinuteLogTest, Backlog_CaughtUpOneWholeMinuteRowPerCall) {
  int64_t next = kNoon;
  int64_t now = kNoon + 3 * 60 + 5;
  r.m_roomTemp = 21.5f;
  int written = 0;
  for (int call = 0; call < 6; ++call) written += WriteMinuteLog(r, next, now);
  EXPECT_EQ(written, 4);
  EXPECT_EQ(next, kNoon + 4 * 60);
  EXPECT_EQ(Times(), std::to_string(kNoon) + " " + std::to_string(kNoon + 60) + " " + std::to_string(kNoon + 120) +
                         " " + std::to_string(kNoon + 180) + " ");
  EXPECT_EQ(raw.Value("select RoomTemp from t_RealHP limit 1"), "21.5");

  // A row is due only once its minute has passed: not at second 0 of the next one.
  now = kNoon + 4 * 60;
  EXPECT_EQ(WriteMinuteLog(r, next, now), 0);
  EXPECT_EQ(WriteMinuteLog(r, next, now + 1), 1);
}

TEST_F(MinuteLogTest, EachRow_DeletesRowsOlderThanSevenDays) {
  raw.Run("begin");
  for (int64_t t = kNoon - 7 * kDay - 120; t < kNoon; t += 60)
    raw.Run("insert into t_RealHP (TM) values(" + std::to_string(t) + ")");
  raw.Run("commit");
  int64_t next = kNoon;
  ASSERT_EQ(WriteMinuteLog(r, next, kNoon + 1), 1);
  EXPECT_EQ(raw.Value("select min(TM) from t_RealHP"), std::to_string(kNoon - 7 * kDay)) << "TM < row - 7 days goes";
  EXPECT_EQ(raw.Count("t_RealHP"), 7 * 24 * 60 + 1);
}

TEST_F(MinuteLogTest, GapLongerThanKept_ResumesAtCurrentMinute) {
  int64_t next = kNoon;
  int64_t now = kNoon + 8 * kDay + 30;
  EXPECT_EQ(WriteMinuteLog(r, next, now), 1);
  EXPECT_EQ(Times(), std::to_string(kNoon + 8 * kDay) + " ");
  EXPECT_EQ(next, kNoon + 8 * kDay + 60);
  EXPECT_EQ(WriteMinuteLog(r, next, now + 1), 0);

  // A gap within the seven days is caught up row by row.
  next = kNoon + 8 * kDay + 60;
  now = next + 6 * kDay;
  EXPECT_EQ(WriteMinuteLog(r, next, now), 1);
  EXPECT_EQ(next, kNoon + 8 * kDay + 120);
}

TEST_F(MinuteLogTest, IndoorLinkFault_RowHoldsTimeAndZeros) {
  r.m_roomTemp = 21.5f;
  r.m_statusBits = 1u << 17;
  int64_t next = kNoon;
  ASSERT_EQ(WriteMinuteLog(r, next, kNoon + 1), 1);
  auto rows = raw.Rows("select TM, RoomTemp, StatusBits from t_RealHP");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], std::to_string(kNoon));
  EXPECT_EQ(rows[0][1], "0.0");
  EXPECT_EQ(rows[0][2], "0");
}

// The outdoor unit silent since the start: the row waits within its minute for it, then holds the indoor
// values and the outdoor unit's zeros; the ambient averages, never filled, do not move. Once the outdoor
// link fault stands, rows no longer wait.
TEST_F(MinuteLogTest, UnitSilentSinceStart_RowWaitsWithinItsMinuteThenHoldsItsZeros) {
  r.m_unitsAnswered = kIndoorAnswered;
  r.m_tankTemp = 47.5f;
  int64_t next = kNoon;
  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 37), 0);
  EXPECT_EQ(next, kNoon) << "waits within its minute";
  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 60), 0);
  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 61), 1);
  EXPECT_EQ(next, kNoon + 60);
  EXPECT_EQ(raw.Rows("select TM, TankTemp, AmbientTemp from t_RealHP"),
            (std::vector<std::vector<std::string>>{{std::to_string(kNoon), "47.5", "0.0"}}));
  EXPECT_EQ(r.m_averagesReady, 0);
  EXPECT_FLOAT_EQ(r.m_ambientTempA, 0.0f);

  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 62), 0) << "the next row waits within its minute too";
  r.m_statusBits = 1u << 18;  // the outdoor link fault
  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 63), 1);
  EXPECT_EQ(Times(), std::to_string(kNoon) + " " + std::to_string(kNoon + 60) + " ");
}

TEST_F(MinuteLogTest, RowAtMinute59_AdvancesHourlyAverages) {
  r.m_averagesReady = 1;
  for (float& v : r.m_ambientMinuteWindow) v = 10.0f;
  for (int i = 0; i < 24; ++i) r.m_ambientHourWindow[i] = static_cast<float>(i);
  r.m_ambientTemp = 16.0f;

  int64_t next = kNoon + 58 * 60;  // 12:58: minute window only
  WriteMinuteLog(r, next, next + 1);
  EXPECT_FLOAT_EQ(r.m_ambientTempA, (59 * 10.0f + 16.0f) * 0.016666668f);
  EXPECT_FLOAT_EQ(r.m_ambientHourWindow[0], 0.0f);

  WriteMinuteLog(r, next, next + 1);  // 12:59
  float a = (58 * 10.0f + 2 * 16.0f) * 0.016666668f;
  EXPECT_FLOAT_EQ(r.m_ambientTempA, a);
  EXPECT_FLOAT_EQ(r.m_ambientThreshold, 23.0f) << "the oldest hourly mean";
  EXPECT_FLOAT_EQ(r.m_ambientHourWindow[0], a);
  EXPECT_FLOAT_EQ(r.m_ambientHourWindow[1], 0.0f);
  EXPECT_FLOAT_EQ(r.m_ambientTempB, (a + 0 + 1 + 2) * 0.25f);
  float sum = a;
  for (int i = 0; i < 23; ++i) sum += static_cast<float>(i);
  EXPECT_FLOAT_EQ(r.m_ambientTempC, sum * 0.041666668f);
}

TEST_F(MinuteLogTest, RowThatCouldNotBeWritten_IsWrittenAtALaterSecond) {
  int64_t next = kNoon;
  raw.Run("begin exclusive");  // another program holds the file
  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 1), 1);
  EXPECT_EQ(next, kNoon) << "the row stays due";
  raw.Run("commit");
  g_db.Close();
  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 2), 1);
  EXPECT_EQ(next, kNoon);
  db.Reopen();
  EXPECT_EQ(WriteMinuteLog(r, next, kNoon + 3), 1);
  EXPECT_EQ(next, kNoon + 60);
  EXPECT_EQ(Times(), std::to_string(kNoon) + " ");
}

TEST_F(MinuteLogTest, FirstLogTime_SkipsAMinuteThatHasItsRow) {
  EXPECT_EQ(FirstLogTime(kNoon + 30), kNoon);
  raw.Run("insert into t_RealHP (TM) values(" + std::to_string(kNoon) + ")");
  EXPECT_EQ(FirstLogTime(kNoon + 30), kNoon + 60) << "a restart within the minute writes it once";
  EXPECT_EQ(FirstLogTime(kNoon + 90), kNoon + 60);
}

}  // namespace
