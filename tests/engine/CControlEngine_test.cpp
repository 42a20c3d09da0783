#include "CControlEngine.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "DeliveredDb.h"
#include "FactoryRecord.h"
#include "Log.h"
#include "LogLines.h"

namespace {

using enginetest::DeliveredDb;
using enginetest::RawDb;

// The factory table with the versions of this program, as the rebuild writes it.
struct FactoryTable {
  FactoryTable() { record = enginetest::FactoryRecord(table); }
  std::unique_ptr<CSystemData> record;
  ParamTable table;
};

class CControlEngineTest : public ::testing::Test {
protected:
  // The parameter part of the engine's start-up: defaults first, then the live set.
  std::unique_ptr<CControlEngine> Start() {
    auto engine = std::make_unique<CControlEngine>();
    engine->m_paramTable.Build(engine->m_systemData);
    EXPECT_EQ(1, engine->InitParams(0));
    return engine;
  }
  // Runs the request word as the end of an engine cycle does.
  static void Request(CControlEngine& engine, int request) {
    engine.m_systemData.m_paramRequest = request;
    engine.ServeParamRequest();
    EXPECT_EQ(0, engine.m_systemData.m_paramRequest);
  }
  std::string Val(int table, int id) {
    return raw.Value("select Val from t_System" + std::to_string(table) + " where ID = " + std::to_string(id));
  }

  DeliveredDb db;
  RawDb raw{db.Path()};
};

}  // namespace

TEST_F(CControlEngineTest, FirstStart_WritesAllThreeTablesFromTheDefaults) {
  auto engine = Start();
  const CSystemData& d = engine->m_systemData;
  EXPECT_EQ(205, d.m_systemVersion);
  EXPECT_EQ(110, d.m_databaseVersion);
  EXPECT_EQ(3, d.m_testNumber);
  EXPECT_EQ(1000000, d.m_ratedTestCounter);
  EXPECT_EQ(180, d.m_pidHold);

  FactoryTable factory;
  for (int t = 0; t < 3; ++t) {
    SCOPED_TRACE("t_System" + std::to_string(t));
    auto rows = raw.Rows("select ID, Val, Type, Name from t_System" + std::to_string(t) + " order by ID");
    ASSERT_EQ(326u, rows.size());
    for (int i = 0; i < 326; ++i) {
      const ParamEntry& e = factory.table.GetAt(i);
      ASSERT_EQ(std::to_string(i), rows[i][0]);
      ASSERT_EQ(std::to_string(e.m_value), rows[i][1]) << "ID " << i;
      ASSERT_EQ("0", rows[i][2]) << "ID " << i;
      ASSERT_EQ(e.m_text.ToUtf8(), rows[i][3]) << "ID " << i;
    }
    EXPECT_EQ("205", Val(t, 1));
    EXPECT_EQ("110", Val(t, 2));
  }
}

TEST_F(CControlEngineTest, CurrentVersionWithHandEditedRow_LoadsItAndRewritesNothing) {
  Start();
  raw.Run("update t_System0 set Val='55' where ID = 64");
  raw.LogParamWrites();
  db.Reopen();
  auto engine = Start();
  EXPECT_EQ(55, engine->m_systemData.m_hotWaterSetTemp);
  EXPECT_EQ(55, engine->m_paramTable.GetAt(64).m_value);
  EXPECT_TRUE(raw.ParamWrites().empty());
}

TEST_F(CControlEngineTest, OtherTableVersion_RebuildsAllTablesFromTheDefaults) {
  struct Case {
    const char* name;
    const char* edit;
  };
  const Case cases[] = {
      {"older version", "update t_System0 set Val='109' where ID = 2"},
      {"version row missing", "delete from t_System0 where ID = 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start();
    raw.Run("update t_System0 set Val='55' where ID = 64");
    raw.Run("update t_System1 set Val='1' where ID = 3");
    raw.Run(c.edit);
    auto engine = Start();
    EXPECT_EQ(50, engine->m_systemData.m_hotWaterSetTemp);
    EXPECT_EQ(110, engine->m_systemData.m_databaseVersion);
    for (int t = 0; t < 3; ++t) EXPECT_EQ(326, raw.Count("t_System" + std::to_string(t)));
    EXPECT_EQ("50", Val(0, 64));
    EXPECT_EQ("110", Val(0, 2));
    EXPECT_EQ("4", Val(1, 3));
  }
}

TEST_F(CControlEngineTest, ClosedDatabase_KeepsDefaultsAndClearsRequest) {
  g_db.Close();
  auto engine = std::make_unique<CControlEngine>();
  engine->m_systemData.m_paramRequest = 3;
  engine->m_systemData.m_wifiPresent = 0;
  engine->m_paramTable.Build(engine->m_systemData);
  engine->InitParams(0);
  EXPECT_EQ(4, engine->m_systemData.m_runMode);
  EXPECT_EQ(110, engine->m_systemData.m_databaseVersion);
  EXPECT_EQ(0, engine->m_systemData.m_paramRequest);
  EXPECT_EQ(0, engine->m_systemData.m_wifiStartCountdown);
}

TEST_F(CControlEngineTest, WifiPresentInStoredSet_OpensTheStartWindow) {
  Start();
  raw.Run("update t_System0 set Val='1' where ID = 206");
  auto engine = Start();
  EXPECT_EQ(180, engine->m_systemData.m_wifiStartCountdown);
}

TEST_F(CControlEngineTest, ChangedSetting_OneUpdateOnTheNextSaveAndNoneAfter) {
  auto engine = Start();
  raw.LogParamWrites();
  db.Reopen();
  engine->m_systemData.m_runMode = 1;
  Request(*engine, 0);
  const std::vector<std::vector<std::string>> one = {{"0", "update", "3"}};
  EXPECT_EQ(one, raw.ParamWrites());
  EXPECT_EQ("1", Val(0, 3));
  Request(*engine, 0);
  EXPECT_EQ(one, raw.ParamWrites());
}

// A live table that lost a row (a damaged or carried-over file) takes the changed value as a new row,
// and the next start loads it.
TEST_F(CControlEngineTest, ChangedSettingWithoutItsRow_IsWrittenAsANewRowAndSurvivesARestart) {
  auto engine = Start();
  raw.Run("delete from t_System0 where ID = 3");
  engine->m_systemData.m_runMode = 2;
  Request(*engine, 0);
  EXPECT_EQ("2", Val(0, 3));
  EXPECT_EQ(2, Start()->m_systemData.m_runMode);
}

// A save that no table took leaves the change pending: the next one stores it.
TEST_F(CControlEngineTest, FailedSave_KeepsTheChangeForTheNextSave) {
  auto engine = Start();
  raw.Run("alter table t_System0 rename to t_Aside");
  engine->m_systemData.m_runMode = 2;
  Request(*engine, 0);
  raw.Run("alter table t_Aside rename to t_System0");
  Request(*engine, 0);
  EXPECT_EQ("2", Val(0, 3));
}

// Without a database a changed setting cannot be kept: the log says so, once a minute.
TEST_F(CControlEngineTest, ClosedDatabase_ChangedSettingReportedOnceAMinute) {
  panel::ScopedVirtualClock clock;
  panel::ResetLogLimits();
  auto engine = Start();
  g_db.Close();
  auto reports = [] { return testing_support::LogLinesWith("a write failed (not open)"); };
  Request(*engine, 0);  // nothing changed: nothing to report
  EXPECT_EQ(reports(), 0);
  engine->m_systemData.m_runMode = 2;
  Request(*engine, 0);
  Request(*engine, 0);
  EXPECT_EQ(reports(), 1);
  clock->Advance(60000);
  Request(*engine, 0);
  EXPECT_EQ(reports(), 2);
  panel::ResetLogLimits();
}

TEST_F(CControlEngineTest, ProfileSaveAndLoad_RoundTripThroughBothProfiles) {
  struct Case {
    const char* name;
    int saveRequest;
    int loadRequest;
    int table;
  };
  const Case cases[] = {{"profile 1", 3, 1, 1}, {"profile 2 (factory setting)", 4, 2, 2}};
  raw.LogParamWrites();
  db.Reopen();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto engine = Start();
    CSystemData& d = engine->m_systemData;
    d.m_hotWaterSetTemp = 61;
    d.m_curveWater[4] = 27;
    Request(*engine, 0);
    // Saving takes the stored values: a change of the same second reaches the profile later.
    d.m_hotWaterSetTemp = 62;
    Request(*engine, c.saveRequest);
    EXPECT_EQ("61", Val(c.table, 64));
    EXPECT_EQ("27", Val(c.table, 40));

    d.m_hotWaterSetTemp = 45;
    d.m_curveWater[4] = 30;
    Request(*engine, 0);
    Request(*engine, c.loadRequest);
    EXPECT_EQ(61, d.m_hotWaterSetTemp);
    EXPECT_EQ(27, d.m_curveWater[4]);
    EXPECT_EQ("61", Val(0, 64));
    EXPECT_EQ("27", Val(0, 40));
    // The loaded values are stored ones: the next save finds nothing to write.
    raw.Run("delete from w_log");
    Request(*engine, 0);
    EXPECT_TRUE(raw.ParamWrites().empty());
  }
}

TEST_F(CControlEngineTest, ProfileSavedIntoEmptyTable_IsWrittenInFull) {
  auto engine = Start();
  raw.Run("delete from t_System1");
  engine->m_systemData.m_hotWaterSetTemp = 58;
  Request(*engine, 0);
  Request(*engine, 3);
  EXPECT_EQ(326, raw.Count("t_System1"));
  EXPECT_EQ("58", Val(1, 64));
  EXPECT_EQ("110", Val(1, 2));
}

TEST_F(CControlEngineTest, ProfileOfAnotherVersion_RebuildsAllTables) {
  auto engine = Start();
  raw.Run("update t_System1 set Val='100' where ID = 2");
  raw.Run("update t_System1 set Val='40' where ID = 64");
  Request(*engine, 1);
  EXPECT_EQ(50, engine->m_systemData.m_hotWaterSetTemp);
  EXPECT_EQ(110, engine->m_systemData.m_databaseVersion);
  for (int t = 0; t < 3; ++t) EXPECT_EQ("110", Val(t, 2));
  EXPECT_EQ("50", Val(1, 64));
}

TEST_F(CControlEngineTest, EmptyProfile_LeavesTheLiveSet) {
  auto engine = Start();
  engine->m_systemData.m_hotWaterSetTemp = 57;
  Request(*engine, 0);
  raw.Run("delete from t_System2");
  Request(*engine, 2);
  EXPECT_EQ(57, engine->m_systemData.m_hotWaterSetTemp);
  EXPECT_EQ("57", Val(0, 64));
}
