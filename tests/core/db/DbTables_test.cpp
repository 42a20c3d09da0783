#include "DbTables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CDbAccess.h"
#include "DbTestFile.h"

namespace {

using dbtest::DbTestFile;
using dbtest::RawDb;

// Points the program's facade at a fresh file for the test.
class DbTablesTest : public ::testing::Test {
protected:
  void SetUp() override {
    g_db.Open(file.CePath(), false, 2);
    ASSERT_EQ(g_db.IsOpen(), 1);
  }
  void TearDown() override { g_db.Close(); }

  DbTestFile file;
  RawDb raw{file.Path()};
};

// A record with a distinct value in every column, so a swapped column shows.
RealRecord DistinctRecord(int64_t time) {
  RealRecord r;
  r.m_time = time;
  r.m_snapshotCode = 1;
  r.m_compressorHz = 2;
  r.m_roomTemp = 3.5f;
  float f = 4.5f;
  for (float* p : {&r.m_tankTemp, &r.m_heatCoolTemp, &r.m_ambientTemp, &r.m_outletTemp, &r.m_inletTemp,
                   &r.m_coilTemp, &r.m_outdoorTemp2113, &r.m_outdoorTemp2114, &r.m_outdoorTemp2112, &r.m_mix1Temp,
                   &r.m_mix2Temp, &r.m_pressureA, &r.m_pressureB, &r.m_current}) {
    *p = f;
    f += 1.0f;
  }
  r.m_voltage = 18;
  r.m_eevSteps = 19;
  r.m_fan1Rpm = 20;
  r.m_fan2Rpm = 21;
  r.m_indoorValue1 = 22.5f;
  r.m_indoorValue2 = 23.5f;
  r.m_indoorValue3 = 24.5f;
  r.m_statusBits16 = 25;
  r.m_statusBitsB = 26;
  r.m_statusBits = 27;
  return r;
}

const std::vector<std::string> kDistinctColumns = {
    "1", "2", "3.5", "4.5", "5.5", "6.5", "7.5", "8.5", "9.5", "10.5", "11.5", "12.5", "13.5", "14.5",
    "15.5", "16.5", "17.5", "18", "19", "20", "21", "22.5", "23.5", "24.5", "25", "26", "27"};

TEST_F(DbTablesTest, InsertRealData_WritesEveryColumnInOrder) {
  ASSERT_EQ(InsertRealData(DistinctRecord(1767225600)), 1);
  auto rows = raw.Rows("select * from t_RealHP");
  ASSERT_EQ(rows.size(), 1u);
  std::vector<std::string> expected = {"1767225600"};
  expected.insert(expected.end(), kDistinctColumns.begin(), kDistinctColumns.end());
  EXPECT_EQ(rows[0], expected);
}

TEST_F(DbTablesTest, LoadRealData_ReadsEveryColumnBack) {
  ASSERT_EQ(InsertRealData(DistinctRecord(1767225600)), 1);
  RealRecordArray rows;
  ASSERT_TRUE(LoadRealData(rows, 0));
  ASSERT_EQ(rows.size(), 1u);
  const RealRecord expected = DistinctRecord(1767225600);
  const RealRecord& r = rows[0];
  EXPECT_EQ(r.m_time, expected.m_time);
  EXPECT_EQ(r.m_snapshotCode, expected.m_snapshotCode);
  EXPECT_EQ(r.m_compressorHz, expected.m_compressorHz);
  EXPECT_EQ(r.m_roomTemp, expected.m_roomTemp);
  EXPECT_EQ(r.m_tankTemp, expected.m_tankTemp);
  EXPECT_EQ(r.m_current, expected.m_current);
  EXPECT_EQ(r.m_voltage, expected.m_voltage);
  EXPECT_EQ(r.m_fan2Rpm, expected.m_fan2Rpm);
  EXPECT_EQ(r.m_indoorValue1, expected.m_indoorValue1);
  EXPECT_EQ(r.m_indoorValue3, expected.m_indoorValue3);
  EXPECT_EQ(r.m_statusBits16, expected.m_statusBits16);
  EXPECT_EQ(r.m_statusBitsB, expected.m_statusBitsB);
  EXPECT_EQ(r.m_statusBits, expected.m_statusBits);
}

TEST_F(DbTablesTest, RoomTemperatureAndTime_ReadBackWhole) {
  struct Case {
    const char* name;
    float stored;
    float loaded;
    int64_t time;
  };
  const Case cases[] = {{"decimal kept", 21.5f, 21.5f, 100},
                        {"negative decimal kept", -5.5f, -5.5f, 100},
                        {"no-value marker", -98.0f, -98.0f, 100},
                        {"a time after 2038", 21.5f, 21.5f, 2200000000LL}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(DeleteRealData(0), 1);
    RealRecord r;
    r.m_time = c.time;
    r.m_roomTemp = c.stored;
    r.m_tankTemp = c.stored;
    ASSERT_EQ(InsertRealData(r), 1);
    RealRecordArray rows;
    ASSERT_TRUE(LoadRealData(rows, 1, c.time));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].m_roomTemp, c.loaded);
    EXPECT_EQ(rows[0].m_tankTemp, c.stored);
    EXPECT_EQ(rows[0].m_time, c.time);
  }
}

TEST_F(DbTablesTest, LoadRealData_SelectsByKindAndWindow) {
  for (int64_t t : {100, 160, 220, 280}) {
    RealRecord r;
    r.m_time = t;
    ASSERT_EQ(InsertRealData(r), 1);
  }
  struct Case {
    const char* name;
    int kind, from, to;
    std::vector<int64_t> times;
  };
  const Case cases[] = {
      {"all", 0, 0, 0, {100, 160, 220, 280}},
      {"since", 1, 160, 0, {160, 220, 280}},
      {"window, both ends included", 2, 160, 220, {160, 220}},
      {"window reversed", 2, 220, 160, {}},
      {"unknown kind", 3, 0, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RealRecordArray rows(5);  // emptied first
    EXPECT_EQ(LoadRealData(rows, c.kind, c.from, c.to), !c.times.empty());
    std::vector<int64_t> times;
    for (const RealRecord& r : rows) times.push_back(r.m_time);
    EXPECT_EQ(times, c.times);
  }
}

TEST_F(DbTablesTest, DeleteRealData_KeepsTheLastSevenDays) {
  const int64_t now = 1767225600;
  for (int64_t t : {now - 7 * 86400 - 60, now - 7 * 86400, now - 60, now}) {
    RealRecord r;
    r.m_time = t;
    ASSERT_EQ(InsertRealData(r), 1);
  }
  EXPECT_EQ(DeleteRealData(1, now, 7), 1);
  EXPECT_EQ(raw.Rows("select TM from t_RealHP"),
            (std::vector<std::vector<std::string>>{{std::to_string(now - 7 * 86400)}, {std::to_string(now - 60)},
                                                   {std::to_string(now)}}));
  EXPECT_EQ(DeleteRealData(2, now, 7), 0);
  EXPECT_EQ(DeleteRealData(0), 1);
  EXPECT_EQ(raw.Count("t_RealHP"), 0);
}

FaultRecord Fault(int id, const char16_t* code, int64_t start) {
  FaultRecord f;
  static_cast<RealRecord&>(f) = DistinctRecord(start);
  f.m_id = id;
  f.m_code = code;
  f.m_startTime = start;
  return f;
}

TEST_F(DbTablesTest, FaultRow_IsWrittenReadBackAndGetsItsEndTime) {
  ASSERT_EQ(InsertFault(Fault(7, u"P01", 1767225600)), 1);
  auto rows = raw.Rows("select * from t_HPErr");
  ASSERT_EQ(rows.size(), 1u);
  std::vector<std::string> expected = {"7", "P01", "1767225600", "1767225600"};
  expected.insert(expected.end(), kDistinctColumns.begin(), kDistinctColumns.end());
  EXPECT_EQ(rows[0], expected);

  FaultRecord loaded;
  loaded.m_id = 7;
  ASSERT_TRUE(LoadFault(loaded, 0));
  EXPECT_EQ(loaded.m_code, CString(u"P01"));
  EXPECT_EQ(loaded.m_startTime, 1767225600);
  EXPECT_EQ(loaded.m_roomTemp, 3.5f);  // column 6 of the fault row keeps its decimal
  EXPECT_EQ(loaded.m_tankTemp, 4.5f);
  EXPECT_EQ(loaded.m_statusBits, 27);

  loaded.m_time = 1767225600 + 300;
  ASSERT_EQ(UpdateFaultEnd(loaded), 1);
  FaultRecord again;
  again.m_id = 7;
  ASSERT_TRUE(LoadFault(again, 0));
  EXPECT_EQ(again.m_time, 1767225600 + 300);

  FaultRecord missing;
  missing.m_id = 8;
  missing.m_code = u"kept";
  EXPECT_FALSE(LoadFault(missing, 0));
  EXPECT_EQ(missing.m_code, CString(u"kept"));
  EXPECT_TRUE(LoadFault(missing, 1));
  EXPECT_EQ(missing.m_id, 7);
}

TEST_F(DbTablesTest, FaultTimesAfter2038_ReadBackWhole) {
  FaultRecord fault = Fault(9, u"E02", 2200000000LL);
  fault.m_time = 2200000300LL;
  ASSERT_EQ(InsertFault(fault), 1);
  FaultRecord loaded;
  loaded.m_id = 9;
  ASSERT_TRUE(LoadFault(loaded, 0));
  EXPECT_EQ(loaded.m_startTime, 2200000000LL);
  EXPECT_EQ(loaded.m_time, 2200000300LL);
}

TEST_F(DbTablesTest, DeleteFaults_After150Faults_KeepsTheNewest100) {
  std::vector<CString> inserts;
  for (int id = 1; id <= 150; ++id) {
    CString sql;
    sql.Format(u"insert into t_HPErr (ID, Code, StartTM, TM) values(%d,'P01',%d,%d)", id, id, id);
    inserts.push_back(sql);
  }
  ASSERT_EQ(g_db.ExecSqlList(inserts), 1);
  EXPECT_EQ(DeleteFaults(1, 150), 1);
  FaultRecordArray rows;
  ASSERT_TRUE(LoadFaults(rows, 200));
  ASSERT_EQ(rows.size(), 100u);
  EXPECT_EQ(rows.front().m_id, 51);
  EXPECT_EQ(rows.back().m_id, 150);
  ASSERT_TRUE(LoadFaults(rows, 10));
  EXPECT_EQ(rows.size(), 10u);
  EXPECT_EQ(DeleteFaults(0), 1);
  EXPECT_FALSE(LoadFaults(rows, 100));
  EXPECT_TRUE(rows.empty());
}

TEST_F(DbTablesTest, LoadSysParams_TakesTheValueByType) {
  ASSERT_EQ(raw.Exec("insert into t_System0 values(0,'7',0,'count');"
                     "insert into t_System0 values(1,'21.5',1,'set point');"
                     "insert into t_System0 values(2,'V1.05',2,'label');"),
            SQLITE_OK);
  SysParamArray rows;
  ASSERT_TRUE(LoadSysParams(rows, 0, 0));
  ASSERT_EQ(rows.size(), 3u);
  struct Case {
    int type;
    const char16_t* val;
    int intValue;
    float floatValue;
  };
  const Case cases[] = {{0, u"7", 7, 0.0f}, {1, u"21.5", 0, 21.5f}, {2, u"V1.05", 0, 0.0f}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].m_id, static_cast<int>(i));
    EXPECT_EQ(rows[i].m_type, cases[i].type);
    EXPECT_EQ(rows[i].m_val, CString(cases[i].val));
    EXPECT_EQ(rows[i].m_intValue, cases[i].intValue);
    EXPECT_EQ(rows[i].m_floatValue, cases[i].floatValue);
  }
  ASSERT_TRUE(LoadSysParams(rows, 1, 0, 1));
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].m_name, CString(u"set point"));
  EXPECT_FALSE(LoadSysParams(rows, 1, 0, 5));
  EXPECT_FALSE(LoadSysParams(rows, 2, 0));
}

TEST_F(DbTablesTest, SysParamWrites_StoreValTextByType) {
  SysParam p;
  p.m_id = 4;
  p.m_type = 1;
  p.m_floatValue = 3.5f;
  p.m_name = u"curve";
  ASSERT_EQ(InsertSysParam(p, 1), 1);
  SysParam q;
  q.m_id = 5;
  q.m_type = 0;
  q.m_intValue = -12;
  q.m_name = u"offset";
  ASSERT_EQ(InsertSysParam(q, 1), 1);
  EXPECT_EQ(raw.Rows("select ID, Val, typeof(Val), Type, Name from t_System1"),
            (std::vector<std::vector<std::string>>{{"4", "3.5", "text", "1", "curve"},
                                                   {"5", "-12", "text", "0", "offset"}}));
  p.m_floatValue = 21.3f;
  q.m_intValue = 8;
  ASSERT_EQ(SaveSysParams({p, q}, 1), 1);
  EXPECT_EQ(raw.Rows("select Val from t_System1"), (std::vector<std::vector<std::string>>{{"21.3"}, {"8"}}));
  EXPECT_EQ(DeleteSysParam(p, false, 1), 1);
  EXPECT_EQ(raw.Count("t_System1"), 1);
  EXPECT_EQ(DeleteSysParam(p, true, 1), 1);
  EXPECT_EQ(raw.Count("t_System1"), 0);
}

TEST_F(DbTablesTest, TextWithSingleQuote_IsStoredAsGiven) {
  SysParam p;
  p.m_id = 1;
  p.m_type = 2;
  p.m_val = u"it's";
  p.m_name = u"Kid's room";
  ASSERT_EQ(InsertSysParam(p, 0), 1);
  p.m_val = u"'quoted'";
  ASSERT_EQ(SaveSysParams({p}, 0), 1);
  ASSERT_EQ(InsertFault(Fault(1, u"P'1", 5)), 1);
  EXPECT_EQ(raw.Rows("select Val, Name from t_System0"),
            (std::vector<std::vector<std::string>>{{"'quoted'", "Kid's room"}}));
  EXPECT_EQ(raw.Rows("select Code from t_HPErr"), (std::vector<std::vector<std::string>>{{"P'1"}}));
  EXPECT_EQ(SqlQuoted(u"no quote, 中文"), CString(u"no quote, 中文"));
  EXPECT_EQ(SqlQuoted(u"a'b''"), CString(u"a''b''''"));
}

TEST_F(DbTablesTest, LanguageTables_ReadByPosition) {
  std::string texts, flags;
  for (int i = 0; i < 50; ++i) {
    texts += ",'t" + std::to_string(i) + "'";
    flags += i % 2 ? ",0" : ",1";
  }
  ASSERT_EQ(raw.Exec("insert into t_Language values(16" + texts + ");"
                     "insert into t_Language (ID, L0) values(17,'中文');"
                     "insert into t_Langenable values(9" + flags + ");"),
            SQLITE_OK);
  LanguageRowArray rows;
  ASSERT_TRUE(LoadLanguageRows(rows));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].m_id, 16);
  EXPECT_EQ(rows[0].m_texts[0], CString(u"t0"));
  EXPECT_EQ(rows[0].m_texts[49], CString(u"t49"));
  EXPECT_EQ(rows[1].m_texts[0], CString(u"中文"));
  EXPECT_EQ(rows[1].m_texts[1], CString(u""));  // NULL reads as ""

  LangEnableRow row;
  ASSERT_TRUE(LoadLangEnable(row, 9));
  EXPECT_EQ(row.m_id, 9);
  EXPECT_EQ(row.m_flags[0], 1);
  EXPECT_EQ(row.m_flags[1], 0);
  EXPECT_EQ(row.m_flags[48], 1);
  LangEnableRow none;
  EXPECT_FALSE(LoadLangEnable(none, 3));
}

TEST_F(DbTablesTest, ReadThatFails_ReportsNoRowsAndReturnsItsConnection) {
  ASSERT_EQ(InsertRealData(DistinctRecord(100)), 1);
  RawDb locker(file.Path());
  dbtest::ShortenBusyTimeouts(g_db, 20);
  ASSERT_EQ(locker.Exec("begin exclusive;"), SQLITE_OK);
  RealRecordArray rows(3);
  EXPECT_FALSE(LoadRealData(rows, 0));
  EXPECT_TRUE(rows.empty());
  ASSERT_EQ(locker.Exec("commit;"), SQLITE_OK);
  EXPECT_EQ(g_db.GetPool()->GetFreeCount(), g_db.GetPool()->GetConnectionCount());

  // A table narrower than the row layout: reading its row fails part-way.
  ASSERT_EQ(raw.Exec("drop table t_Language; create table t_Language (ID integer, L0 text);"
                     "insert into t_Language values(1,'a');"),
            SQLITE_OK);
  LanguageRowArray languages;
  EXPECT_FALSE(LoadLanguageRows(languages));
  EXPECT_TRUE(languages.empty());
  EXPECT_EQ(g_db.GetPool()->GetFreeCount(), g_db.GetPool()->GetConnectionCount());
  EXPECT_TRUE(LoadRealData(rows, 0));
}

TEST(DbTables, DatabaseNotOpen_EveryCallReturnsZero) {
  testing_support::TempRoot root;
  g_db.Open(u"\\Quellora.db", false, 2);
  ASSERT_EQ(g_db.IsOpen(), 0);
  RealRecord r;
  FaultRecord f;
  SysParam p;
  EXPECT_EQ(InsertRealData(r), 0);
  EXPECT_EQ(DeleteRealData(0), 0);
  EXPECT_EQ(InsertFault(f), 0);
  EXPECT_EQ(UpdateFaultEnd(f), 0);
  EXPECT_EQ(DeleteFaults(0), 0);
  EXPECT_EQ(InsertSysParam(p, 0), 0);
  EXPECT_EQ(SaveSysParams({p}, 0), 0);
  EXPECT_EQ(DeleteSysParam(p, true, 0), 0);
  RealRecordArray reals(2);
  FaultRecordArray faults(2);
  SysParamArray params(2);
  LanguageRowArray languages(2);
  LangEnableRow enable;
  EXPECT_FALSE(LoadRealData(reals, 0));
  EXPECT_FALSE(LoadFault(f, 1));
  EXPECT_FALSE(LoadFaults(faults, 100));
  EXPECT_FALSE(LoadSysParams(params, 0, 0));
  EXPECT_FALSE(LoadLanguageRows(languages));
  EXPECT_FALSE(LoadLangEnable(enable, 0));
  EXPECT_TRUE(reals.empty() && faults.empty() && params.empty() && languages.empty());
  EXPECT_FALSE(std::filesystem::exists(root / "Quellora.db"));
  g_db.Close();
}

}  // namespace
