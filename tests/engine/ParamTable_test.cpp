#include "ParamTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <stdexcept>
#include <vector>

#include "CSystemData.h"
#include "DeliveredDb.h"
#include "FactoryRecord.h"

namespace {

class ParamTableTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_record = enginetest::FactoryRecord(m_table);
  }
  std::unique_ptr<CSystemData> m_record;
  ParamTable m_table;
};

}  // namespace

TEST_F(ParamTableTest, Build_326EntriesWithIdEqualToIndex) {
  ASSERT_EQ(326, m_table.GetSize());
  for (int i = 0; i < m_table.GetSize(); ++i) {
    const ParamEntry& e = m_table.GetAt(i);
    ASSERT_EQ(i, e.m_id);
    ASSERT_EQ(e.m_value, *e.m_pSetting) << "ID " << i;
    ASSERT_FALSE(e.m_text.IsEmpty()) << "ID " << i;
    // Descriptions go between single quotes unescaped.
    ASSERT_EQ(-1, e.m_text.Find(u'\'')) << "ID " << i;
  }
}

TEST_F(ParamTableTest, Build_FieldsDistinctAndInRecordPlacementOrder) {
  // Record order: IDs 0-150, 151-220, 306, the working points column by column, 221-223,
  // 284-303, 304, 305, 307-325.
  std::vector<int> expected;
  for (int id = 0; id <= 220; ++id) expected.push_back(id);
  expected.push_back(306);
  for (int column = 0; column < 6; ++column)
    for (int point = 0; point < 10; ++point) expected.push_back(224 + 6 * point + column);
  for (int id = 221; id <= 223; ++id) expected.push_back(id);
  for (int id = 284; id <= 305; ++id) expected.push_back(id);
  for (int id = 307; id <= 325; ++id) expected.push_back(id);

  std::vector<std::pair<const int32_t*, int>> byAddress;
  for (int i = 0; i < m_table.GetSize(); ++i) byAddress.push_back({m_table.GetAt(i).m_pSetting, i});
  std::sort(byAddress.begin(), byAddress.end());
  std::vector<int> actual;
  for (const auto& p : byAddress) actual.push_back(p.second);
  EXPECT_EQ(expected, actual);

  std::set<const int32_t*> distinct;
  for (const auto& p : byAddress) distinct.insert(p.first);
  EXPECT_EQ(326u, distinct.size());
  // The first setting opens the record; the two service toggles sit between IDs 150 and 151.
  EXPECT_EQ(reinterpret_cast<const int32_t*>(m_record.get()), m_table.GetAt(0).m_pSetting);
  EXPECT_EQ(&m_record->m_serviceToggle1, m_table.GetAt(150).m_pSetting + 1);
  EXPECT_EQ(&m_record->m_serviceToggle2 + 1, m_table.GetAt(151).m_pSetting);
  EXPECT_EQ(&m_record->m_ratedTestState, m_table.GetAt(223).m_pSetting + 1);
}

TEST_F(ParamTableTest, Build_FactoryDefaultsInFields) {
  struct Case {
    int id;
    const int32_t* field;
    int32_t expected;
  };
  const CSystemData& d = *m_record;
  const Case cases[] = {
      {0, &d.m_systemSwitch, 1},
      {1, &d.m_systemVersion, 205},
      {2, &d.m_databaseVersion, 110},
      {3, &d.m_runMode, 4},
      {21, &d.m_timerMask[2], 0},
      {31, &d.m_curveAmbient[0], -25},
      {40, &d.m_curveWater[4], 25},
      {55, reinterpret_cast<const int32_t*>(&d.m_holidayStart), 71647},
      {56, reinterpret_cast<const int32_t*>(&d.m_holidayEnd), 75743},
      {64, &d.m_hotWaterSetTemp, 50},
      {124, &d.m_indoorAddress, 11},
      {133, &d.m_ecoHotWaterAmbientStart, -20},
      {164, &d.m_dealerPassword, 52907316},
      {213, &d.m_outdoorPowerOffAmbient, -2},
      {224, &d.m_pointAmbient[0], 35},
      {233, &d.m_pointEevOpening[1], 350},
      {280, &d.m_pointFrequency[9], 43},
      {283, &d.m_pointDefrostInterval[9], 0},
      {306, &d.m_threeWayAntiSeize, 0},
      {313, &d.m_pid2D, 77},
      {316, &d.m_coolCurveAmbient[2], 36},
      {322, &d.m_dualCoolCurveWater[2], 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(c.field, m_table.GetAt(c.id).m_pSetting);
    EXPECT_EQ(c.expected, *c.field);
    EXPECT_EQ(c.expected, m_table.GetAt(c.id).m_value);
  }
}

TEST_F(ParamTableTest, Build_VersionDefaultsFollowTheRecord) {
  // The first build of a start-up runs before the version fields are set.
  auto record = std::make_unique<CSystemData>();
  ParamTable table;
  table.Build(*record);
  EXPECT_EQ(0, table.GetAt(1).m_value);
  EXPECT_EQ(0, table.GetAt(2).m_value);
}

TEST_F(ParamTableTest, Rebuild_RestoresDefaultsAndEmptiesFirst) {
  m_record->m_runMode = 1;
  m_table.GetAt(3).m_value = 1;
  m_table.Build(*m_record);
  EXPECT_EQ(326, m_table.GetSize());
  EXPECT_EQ(4, m_record->m_runMode);
  EXPECT_EQ(4, m_table.GetAt(3).m_value);
}

TEST_F(ParamTableTest, GetAt_OutsideTable_Throws) {
  EXPECT_THROW(m_table.GetAt(-1), std::invalid_argument);
  EXPECT_THROW(m_table.GetAt(326), std::invalid_argument);
}

namespace {

using enginetest::DeliveredDb;
using enginetest::RawDb;

// A table built over a record and stored in full into all three tables of the delivered file.
class ParamTableDbTest : public ::testing::Test {
protected:
  void SetUp() override {
    record = enginetest::FactoryRecord(table);
    for (int t = 0; t < 3; ++t) ASSERT_EQ(1, table.SyncDb(t, 1, 1));
  }
  std::string Val(int table, int id) {
    return raw.Value("select Val from t_System" + std::to_string(table) + " where ID = " + std::to_string(id));
  }

  DeliveredDb db;
  RawDb raw{db.Path()};
  std::unique_ptr<CSystemData> record;
  ParamTable table;
};

}  // namespace

TEST_F(ParamTableDbTest, SaveChanged_WritesOnlyTheChangedRows) {
  raw.LogParamWrites();
  db.Reopen();
  record->m_runMode = 2;
  record->m_holidayEnd = 0x80000000u;
  record->m_pointFanSpeed[9] = 7;  // ID 282
  EXPECT_EQ(1, table.SaveChanged());
  const std::vector<std::vector<std::string>> expected = {
      {"0", "update", "3"}, {"0", "update", "56"}, {"0", "update", "282"}};
  EXPECT_EQ(expected, raw.ParamWrites());
  EXPECT_EQ("2", Val(0, 3));
  EXPECT_EQ("-2147483648", Val(0, 56));
  EXPECT_EQ("7", Val(0, 282));
  EXPECT_EQ(7, table.GetAt(282).m_value);
}

TEST_F(ParamTableDbTest, SaveChangedWhileClosed_RetriesOnceTheDatabaseIsBack) {
  g_db.Close();
  record->m_runMode = 2;
  EXPECT_EQ(0, table.SaveChanged());
  EXPECT_EQ(0, table.SaveChanged());
  EXPECT_EQ(4, table.GetAt(3).m_value);
  g_db.Open(u"\\Quellora.db", false, 2);
  EXPECT_EQ(1, table.SaveChanged());
  EXPECT_EQ("2", Val(0, 3));
  EXPECT_EQ(2, table.GetAt(3).m_value);
}

TEST_F(ParamTableDbTest, Load_TakesKnownRowsAndIgnoresTheRest) {
  raw.Run("delete from t_System0 where ID = 10");
  raw.Run("insert into t_System0 values(400, '9', 0, 'x')");
  raw.Run("update t_System0 set Val='21.7', Type=1 where ID = 11");
  raw.Run("update t_System0 set Val='-7' where ID = 213");
  record->m_heatAmbientStart = 12;
  EXPECT_EQ(1, table.SyncDb(0, 0));
  EXPECT_EQ(12, record->m_heatAmbientStart);  // no row: keeps its value
  EXPECT_EQ(21, record->m_coolAmbientStart);  // a one-decimal row, truncated
  EXPECT_EQ(-7, record->m_outdoorPowerOffAmbient);
  EXPECT_EQ(-7, table.GetAt(213).m_value);
  EXPECT_EQ(326, table.GetSize());
}

TEST_F(ParamTableDbTest, Load_OneDecimalRowBeyondTheIntRange_HeldAtItsEnds) {
  struct Case {
    int id;
    const char* val;
    int32_t expected;
  };
  const Case cases[] = {
      {11, "1e30", INT32_MAX}, {12, "-1e30", INT32_MIN}, {13, "1e999", INT32_MAX}, {14, "-2147483648", INT32_MIN},
      {15, "-7.9", -7},
  };
  for (const Case& c : cases) {
    raw.Run("update t_System0 set Val='" + std::string(c.val) + "', Type=1 where ID = " + std::to_string(c.id));
  }
  EXPECT_EQ(1, table.SyncDb(0, 0));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.val);
    EXPECT_EQ(c.expected, *table.GetAt(c.id).m_pSetting);
    EXPECT_EQ(c.expected, table.GetAt(c.id).m_value);
  }
}
