#include "CSqliteDb.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "DbTestFile.h"

namespace {

using dbtest::DbTestFile;
using dbtest::RawDb;

// Runs op and returns the message of the CppSQLite3Exception it throws ("" when none).
template <typename Op>
CString ThrownMessage(Op op) {
  try {
    op();
  } catch (const CppSQLite3Exception& e) {
    return e.ErrorMessage();
  }
  return CString();
}

TEST(CSqliteDb, NeverOpened_ThrowsDatabaseNotOpen) {
  CSqliteDb db;
  EXPECT_EQ(ThrownMessage([&] { db.ExecDml(u"delete from t_RealHP"); }),
            CString(u"CPPSQLITE_ERROR[1000]: Database not open"));
  EXPECT_EQ(ThrownMessage([&] { db.ExecQuery(u"select * from t_RealHP"); }),
            CString(u"CPPSQLITE_ERROR[1000]: Database not open"));
}

TEST(CSqliteDb, MissingFile_ThrowsCantOpenAndCreatesNothing) {
  testing_support::TempRoot root;
  CSqliteDb db;
  EXPECT_EQ(ThrownMessage([&] { db.Open(u"\\ResidentFlash\\Quellora\\Quellora.db"); }),
            CString(u"SQLITE_CANTOPEN[14]: unable to open database file"));
  EXPECT_FALSE(db.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(root / "ResidentFlash/Quellora/Quellora.db"));
  // A path that leaves the board's root is refused before SQLite sees it.
  EXPECT_EQ(ThrownMessage([&] { db.Open(u"\\..\\Quellora.db"); }),
            CString(u"SQLITE_CANTOPEN[14]: unable to open database file"));
}

TEST(CSqliteDb, StatementErrors_ThrowWithSqliteText) {
  DbTestFile file;
  CSqliteDb db;
  db.Open(file.CePath());
  EXPECT_EQ(ThrownMessage([&] { db.ExecDml(u"insert into t_Nowhere values(1)"); }),
            CString(u"SQLITE_ERROR[1]: no such table: t_Nowhere"));
  EXPECT_EQ(ThrownMessage([&] { db.ExecQuery(u"select missing from t_RealHP"); }),
            CString(u"SQLITE_ERROR[1]: no such column: missing"));
  // A failing step: the unique ID of the parameter table.
  ASSERT_EQ(db.ExecDml(u"insert into t_System0 values(1,'1',0,'a')"), 0);
  EXPECT_EQ(ThrownMessage([&] { db.ExecDml(u"insert into t_System0 values(1,'2',0,'b')"); }),
            CString(u"SQLITE_ERROR[1]: UNIQUE constraint failed: t_System0.ID"));
}

TEST(CSqliteDb, WriteOnLockedFile_ReturnsBusyWithoutThrowing) {
  DbTestFile file;
  RawDb other(file.Path());
  ASSERT_EQ(other.Exec("begin immediate; insert into t_System0 values(9,'9',0,'x');"), SQLITE_OK);
  CSqliteDb db;
  db.Open(file.CePath());
  db.SetBusyTimeout(20);
  EXPECT_EQ(db.ExecDml(u"insert into t_System0 values(1,'1',0,'a')"), 5);
  ASSERT_EQ(other.Exec("commit;"), SQLITE_OK);
  EXPECT_EQ(other.Count("t_System0"), 1);
}

TEST(CSqliteDb, SchemaChangedByAnotherConnection_WriteIsRetried) {
  DbTestFile file;
  CSqliteDb db;
  db.Open(file.CePath());
  ASSERT_EQ(db.ExecDml(u"insert into t_System0 values(1,'1',0,'a')"), 0);  // schema now cached
  RawDb other(file.Path());
  ASSERT_EQ(other.Exec("create table t_Extra(x);"), SQLITE_OK);
  EXPECT_EQ(db.ExecDml(u"insert into t_System0 values(2,'2',0,'b')"), 0);
  EXPECT_EQ(other.Count("t_System0"), 2);
}

TEST(CSqliteDb, QueryOnLockedFile_ThrowsBusy) {
  DbTestFile file;
  RawDb other(file.Path());
  ASSERT_EQ(other.Exec("begin exclusive;"), SQLITE_OK);
  CSqliteDb db;
  db.Open(file.CePath());
  db.SetBusyTimeout(20);
  EXPECT_EQ(ThrownMessage([&] { db.ExecQuery(u"select * from t_System0"); }),
            CString(u"SQLITE_BUSY[5]: database is locked"));
}

// The terminal runs for years on a week of minute rows: reading all of them leaves the connection holding
// no more of the file than a day's rows take, not the whole week.
TEST(CSqliteDb, WeekOfRowsRead_ConnectionHoldsLittleOfTheFile) {
  DbTestFile file;
  {
    RawDb raw(file.Path());
    std::string week = "begin;";
    for (int minute = 0; minute < 7 * 1440; ++minute) {
      week += "insert into t_RealHP values(" + std::to_string(1772452800 + 60 * minute) +
              ",1,45,21.5,48.2,35.0,3.5,35.1,30.2,-2.0,60.1,8.5,10.2,35.0,34.0,28.5,9.5,6.2,230,350,620,610,"
              "35.0,30.0,25.0,1,0,0);";
    }
    raw.Run(week + "commit;");
  }
  ASSERT_GT(std::filesystem::file_size(file.Path()), 3u * (512 << 10));
  CSqliteDb db;
  db.Open(file.CePath());
  const sqlite3_int64 before = sqlite3_memory_used();
  int rows = 0;
  for (CSqliteQuery q = db.ExecQuery(u"select * from t_RealHP order by TM"); !q.Eof(); q.NextRow()) ++rows;
  EXPECT_EQ(rows, 7 * 1440);
  EXPECT_LT(sqlite3_memory_used() - before, 512 * 1024);
}

class CSqliteQueryTest : public ::testing::Test {
protected:
  void SetUp() override {
    db.Open(file.CePath());
    RawDb raw(file.Path());
    ASSERT_EQ(raw.Exec("insert into t_System0 values(1,'7',0,'first');"
                       "insert into t_System0 values(2,NULL,NULL,NULL);"),
              SQLITE_OK);
  }
  DbTestFile file;
  CSqliteDb db;
};

TEST_F(CSqliteQueryTest, Rows_AreWalkedInOrderUntilEof) {
  CSqliteQuery q = db.ExecQuery(u"select * from t_System0");
  EXPECT_EQ(q.numFields(), 4);
  ASSERT_FALSE(q.Eof());
  EXPECT_EQ(q.GetIntField(0), 1);
  EXPECT_EQ(q.GetIntField(1), 7);  // text '7' read as an integer
  EXPECT_EQ(CString(q.GetStringField(3)), CString(u"first"));
  q.NextRow();
  ASSERT_FALSE(q.Eof());
  EXPECT_EQ(q.GetIntField(0), 2);
  q.NextRow();
  EXPECT_TRUE(q.Eof());
}

TEST_F(CSqliteQueryTest, NullFields_ReturnTheCallersValue) {
  CSqliteQuery q = db.ExecQuery(u"select * from t_System0 where ID = 2");
  EXPECT_EQ(q.FieldDataType(1), 5);
  EXPECT_EQ(q.GetIntField(2, -4), -4);
  EXPECT_EQ(q.GetFloatField(2, 2.5), 2.5);
  EXPECT_EQ(CString(q.GetStringField(1, u"none")), CString(u"none"));
}

TEST_F(CSqliteQueryTest, ColumnOutsideResult_Throws) {
  CSqliteQuery q = db.ExecQuery(u"select * from t_System0");
  for (int column : {-1, 4}) {
    SCOPED_TRACE(column);
    EXPECT_EQ(ThrownMessage([&] { q.GetIntField(column); }),
              CString(u"CPPSQLITE_ERROR[1000]: Invalid field index requested"));
  }
}

TEST_F(CSqliteQueryTest, EmptyResult_IsAtEofAndHoldsItsStatementUntilFinalized) {
  CSqliteQuery q = db.ExecQuery(u"select * from t_RealHP");
  EXPECT_TRUE(q.Eof());
  EXPECT_EQ(q.numFields(), 28);
  q.Finalize();
  const CString noStatement(u"CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
  EXPECT_EQ(ThrownMessage([&] { q.Eof(); }), noStatement);
  EXPECT_EQ(ThrownMessage([&] { q.NextRow(); }), noStatement);
  EXPECT_EQ(ThrownMessage([&] { q.GetStringField(0); }), noStatement);
  EXPECT_EQ(ThrownMessage([&] { q.numFields(); }), noStatement);
  CSqliteQuery empty;
  EXPECT_EQ(ThrownMessage([&] { empty.Eof(); }), noStatement);
}

TEST_F(CSqliteQueryTest, Move_HandsTheStatementOver) {
  CSqliteQuery source = db.ExecQuery(u"select * from t_System0");
  CSqliteQuery target = db.ExecQuery(u"select * from t_RealHP");
  target = std::move(source);
  EXPECT_EQ(target.GetIntField(0), 1);
  EXPECT_EQ(ThrownMessage([&] { source.Eof(); }), CString(u"CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer"));
}

}  // namespace
