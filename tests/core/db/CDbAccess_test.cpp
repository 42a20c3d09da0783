#include "CDbAccess.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "CDbResult.h"
#include "DbTestFile.h"
#include "Log.h"
#include "LogLines.h"

namespace {

using dbtest::DbTestFile;
using dbtest::RawDb;

class CDbAccessTest : public ::testing::Test {
protected:
  DbTestFile file;
  RawDb raw{file.Path()};
};

// Each way a file can fail the program, as the start-up's report names it.
TEST(CDbAccessProblem, NamesWhatKeepsTheFileFromServing) {
  const char16_t* const tables[] = {u"t_System0", u"t_HPErr", nullptr};
  struct Case {
    const char* name;
    std::function<void(const std::string&)> damage;
    const char16_t* problem;
  };
  const Case cases[] = {
      {"usable", [](const std::string&) {}, u""},
      {"missing", [](const std::string& path) { std::filesystem::remove(path); }, u"is missing"},
      {"empty", [](const std::string& path) { std::ofstream(path, std::ios::trunc).flush(); },
       u"cannot read t_System0 (SQLITE_ERROR[1]: no such table: t_System0)"},
      {"garbage", [](const std::string& path) { std::ofstream(path, std::ios::trunc) << std::string(4096, 'g'); },
       u"cannot read t_System0 (UNKNOWN_ERROR[26]: file is not a database)"},
      {"table dropped", [](const std::string& path) { RawDb(path).Run("drop table t_HPErr"); },
       u"cannot read t_HPErr (SQLITE_ERROR[1]: no such table: t_HPErr)"},
      {"read-only",
       [](const std::string& path) {
         std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
       },
       u"is read-only"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DbTestFile file;
    c.damage(file.Path());
    CDbAccess db(file.CePath(), false, 2);
    EXPECT_EQ(db.Problem(tables).ToUtf8(), CString(c.problem).ToUtf8());
  }
}

// A file that refuses writes is reported on the first failure and then once a minute, not on each.
TEST_F(CDbAccessTest, FailedWrites_ReportedAtMostOnceAMinute) {
  panel::ScopedVirtualClock clock;
  panel::ResetLogLimits();
  CDbAccess db(file.CePath(), false, 2);
  raw.Run("drop table t_HPErr");
  auto lines = [] { return testing_support::LogLinesWith("a write failed"); };
  EXPECT_EQ(db.ExecSql(u"delete from t_HPErr"), 0);
  EXPECT_EQ(lines(), 1);
  clock->Advance(30000);
  std::vector<CString> list = {u"delete from t_HPErr"};
  EXPECT_EQ(db.ExecSqlList(list), 0);
  EXPECT_EQ(lines(), 1);
  clock->Advance(30000);
  EXPECT_EQ(db.ExecSql(u"delete from t_HPErr"), 0);
  EXPECT_EQ(lines(), 2);
  EXPECT_EQ(db.ExecSql(u"delete from t_System0"), 1);  // what works is not reported
  EXPECT_EQ(lines(), 2);
  panel::ResetLogLimits();
}

TEST_F(CDbAccessTest, TwoPooledConnections_OpenOneFile) {
  CDbAccess db(file.CePath(), false, 2);
  EXPECT_EQ(db.IsOpen(), 1);
  CDbConnection* a = db.GetPool()->GetConnection(false);
  CDbConnection* b = db.GetPool()->GetConnection(false);
  ASSERT_TRUE(a && b);
  EXPECT_NE(a, b);
  EXPECT_EQ(db.GetPool()->GetConnection(false), nullptr);
  a->Db().ExecDml(u"insert into t_System0 values(1,'1',0,'a')");
  CSqliteQuery q = b->Db().ExecQuery(u"select * from t_System0");
  EXPECT_EQ(q.GetIntField(0), 1);  // the other connection sees the row: the same file
  q.Finalize();
  db.GetPool()->ReleaseConnection(a);
  db.GetPool()->ReleaseConnection(b);
}

TEST_F(CDbAccessTest, ThirdConcurrentUser_GrowsThePoolForGood) {
  CDbAccess db(file.CePath(), false, 2);
  {
    CDbResult r1(&db, u"select * from t_System0");
    CDbResult r2(&db, u"select * from t_System0");
    EXPECT_EQ(db.GetPool()->GetConnectionCount(), 2);
    CDbResult r3(&db, u"select * from t_System0");
    EXPECT_TRUE(r1.IsHolding() && r2.IsHolding() && r3.IsHolding());
    EXPECT_EQ(db.GetPool()->GetConnectionCount(), 3);
    EXPECT_EQ(db.GetPool()->GetFreeCount(), 0);
  }
  EXPECT_EQ(db.GetPool()->GetConnectionCount(), 3);
  EXPECT_EQ(db.GetPool()->GetFreeCount(), 3);
}

TEST_F(CDbAccessTest, WritersOnTwoThreads_AllCommit) {
  CDbAccess db(file.CePath(), false, 2);
  const int kRows = 40;
  std::atomic<int> committed{0};
  auto writer = [&](int base) {
    for (int i = 0; i < kRows; ++i) {
      CString sql;
      sql.Format(u"insert into t_System0 values(%d,'0',0,'w')", base + i);
      committed += db.ExecSql(sql);
    }
  };
  std::thread engine(writer, 0);
  std::thread screen(writer, 1000);
  engine.join();
  screen.join();
  EXPECT_EQ(committed.load(), 2 * kRows);
  EXPECT_EQ(raw.Count("t_System0"), 2 * kRows);
}

TEST(CDbAccess, FileNameWithFolderFlag_IsTakenFromTheProgramFolder) {
  testing_support::TempRoot root;
  std::filesystem::create_directories(root / "ResidentFlash/Quellora");
  {
    RawDb made(root / "ResidentFlash/Quellora/Quellora.db", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    ASSERT_EQ(made.Exec(dbtest::ReadSchema()), SQLITE_OK);
  }
  panel::SetModulePath(u"\\ResidentFlash\\Quellora\\Quellora.exe");
  CDbAccess beside(u"Quellora.db", true, 2);
  EXPECT_EQ(beside.IsOpen(), 1);
  EXPECT_EQ(beside.ExecSql(u"delete from t_RealHP"), 1);
  panel::SetModulePath(u"\\Elsewhere\\Quellora.exe");
  CDbAccess elsewhere(u"Quellora.db", true, 2);
  EXPECT_EQ(elsewhere.IsOpen(), 0);
  EXPECT_FALSE(std::filesystem::exists(root / "Elsewhere/Quellora.db"));
  panel::SetModulePath(u"");
}

TEST(CDbAccess, MissingFile_IsNotOpenAndNotCreated) {
  testing_support::TempRoot root;
  panel::ScopedVirtualClock clock(1000);
  CDbAccess db(u"\\Quellora.db", false, 2);
  EXPECT_EQ(db.IsOpen(), 0);
  DWORD start = GetTickCount();
  EXPECT_EQ(db.ExecSql(u"delete from t_RealHP"), 0);
  EXPECT_EQ(GetTickCount() - start, 250u);  // six attempts, 50 ms after each of the first five
  CDbConnection* connection = reinterpret_cast<CDbConnection*>(1);
  CSqliteQuery q = db.Query(u"select * from t_RealHP", connection);
  EXPECT_EQ(connection, nullptr);
  EXPECT_EQ(db.GetPool()->GetConnectionCount(), 2);  // failed opens add no connections
  EXPECT_EQ(db.GetPool()->GetFreeCount(), 2);
  EXPECT_FALSE(std::filesystem::exists(root / "Quellora.db"));
}

TEST_F(CDbAccessTest, FileThatAppearsLater_IsOpenedByTheNextCallOnAnyThread) {
  panel::ScopedVirtualClock clock(1000);
  std::filesystem::rename(file.Path(), file.Root() / "later.db");
  CDbAccess db(file.CePath(), false, 2);
  ASSERT_EQ(db.IsOpen(), 0);
  EXPECT_EQ(db.ExecSql(u"delete from t_System0"), 0);
  std::filesystem::rename(file.Root() / "later.db", file.Path());
  // Another thread gets in: the failed opens left the pool's lock free.
  int result = 0;
  std::thread other([&] { result = db.ExecSql(u"insert into t_System0 values(1,'1',0,'a')"); });
  other.join();
  EXPECT_EQ(result, 1);
  EXPECT_EQ(raw.Count("t_System0"), 1);
  EXPECT_EQ(db.IsOpen(), 0);  // the facade's flag is its first connection's at construction
}

TEST_F(CDbAccessTest, ParseError_RollsBackAndTheConnectionWorksOn) {
  CDbAccess db(file.CePath(), false, 1);  // one connection: the next call runs on the same one
  EXPECT_EQ(db.ExecSql(u"insert into t_Nowhere values(1)"), 0);
  EXPECT_EQ(db.ExecSql(u"insert into t_System0 values(1,'1',0,'a')"), 1);
  EXPECT_EQ(raw.Count("t_System0"), 1);
  EXPECT_EQ(db.GetPool()->GetConnectionCount(), 1);
}

TEST_F(CDbAccessTest, FailedRollback_StillReturnsTheConnection) {
  // The statement ends the transaction itself, so both the commit and the rollback fail.
  CDbAccess db(file.CePath(), false, 1);
  EXPECT_EQ(db.ExecSql(u"commit transaction;"), 0);
  EXPECT_EQ(db.GetPool()->GetFreeCount(), 1);
  EXPECT_EQ(db.ExecSql(u"insert into t_System0 values(1,'1',0,'a')"), 1);
  EXPECT_EQ(db.GetPool()->GetConnectionCount(), 1);
}

// Another connection holds the write lock: the statement itself reports busy.
TEST_F(CDbAccessTest, BusyStatement_RollsBackAndReportsFailure) {
  CDbAccess db(file.CePath(), false, 1);
  dbtest::ShortenBusyTimeouts(db, 20);
  ASSERT_EQ(raw.Exec("begin immediate;"), SQLITE_OK);
  EXPECT_EQ(db.ExecSql(u"insert into t_System0 values(1,'1',0,'a')"), 0);
  ASSERT_EQ(raw.Exec("commit;"), SQLITE_OK);
  EXPECT_EQ(raw.Count("t_System0"), 0);
  EXPECT_EQ(raw.Exec("begin exclusive; commit;"), SQLITE_OK);  // the pooled connection holds no lock
  EXPECT_EQ(db.ExecSql(u"insert into t_System0 values(2,'2',0,'b')"), 1);
  EXPECT_EQ(raw.Count("t_System0"), 1);
}

// Another connection is reading inside its transaction: the insert runs, the commit reports busy.
TEST_F(CDbAccessTest, BusyCommit_RollsBackAndLeavesNoTransactionOpen) {
  CDbAccess db(file.CePath(), false, 1);
  dbtest::ShortenBusyTimeouts(db, 20);
  ASSERT_EQ(raw.Exec("begin; select count(*) from t_System0;"), SQLITE_OK);
  EXPECT_EQ(db.ExecSql(u"insert into t_System0 values(1,'1',0,'a')"), 0);
  ASSERT_EQ(raw.Exec("commit;"), SQLITE_OK);
  EXPECT_EQ(raw.Count("t_System0"), 0);
  EXPECT_EQ(raw.Exec("begin exclusive; commit;"), SQLITE_OK);
  EXPECT_EQ(db.ExecSql(u"insert into t_System0 values(2,'2',0,'b')"), 1);
  EXPECT_EQ(raw.Count("t_System0"), 1);
}

TEST_F(CDbAccessTest, StatementList_CommitsAllOrNone) {
  CDbAccess db(file.CePath(), false, 2);
  std::vector<CString> empty;
  EXPECT_EQ(db.ExecSqlList(empty), 1);

  std::vector<CString> failing = {u"insert into t_System0 values(1,'1',0,'a')",
                                  u"insert into t_System0 values(1,'1',0,'duplicate')"};
  EXPECT_EQ(db.ExecSqlList(failing), 0);
  EXPECT_EQ(failing.size(), 2u);  // kept for the caller
  EXPECT_EQ(raw.Count("t_System0"), 0);

  std::vector<CString> good = {u"insert into t_System0 values(1,'1',0,'a')",
                               u"insert into t_System0 values(2,'2',0,'b')"};
  EXPECT_EQ(db.ExecSqlList(good), 1);
  EXPECT_TRUE(good.empty());
  EXPECT_EQ(raw.Count("t_System0"), 2);
}

TEST_F(CDbAccessTest, BusyCommitOfList_KeepsTheList) {
  CDbAccess db(file.CePath(), false, 1);
  dbtest::ShortenBusyTimeouts(db, 20);
  ASSERT_EQ(raw.Exec("begin; select count(*) from t_System0;"), SQLITE_OK);
  std::vector<CString> list = {u"insert into t_System0 values(1,'1',0,'a')"};
  EXPECT_EQ(db.ExecSqlList(list), 0);
  EXPECT_EQ(list.size(), 1u);
  ASSERT_EQ(raw.Exec("commit;"), SQLITE_OK);
  EXPECT_EQ(db.ExecSqlList(list), 1);
  EXPECT_EQ(raw.Count("t_System0"), 1);
}

TEST_F(CDbAccessTest, FailingQuery_ThrowsAndReturnsItsConnection) {
  CDbAccess db(file.CePath(), false, 1);
  EXPECT_THROW(CDbResult(&db, u"select * from t_Nowhere"), CppSQLite3Exception);
  EXPECT_EQ(db.GetPool()->GetFreeCount(), 1);
  EXPECT_EQ(db.GetPool()->GetConnectionCount(), 1);
  CDbResult ok(&db, u"select * from t_System0");
  EXPECT_TRUE(ok.IsHolding());
}

TEST_F(CDbAccessTest, Close_ReportsNotOpen) {
  CDbAccess db(file.CePath(), false, 2);
  db.Close();
  EXPECT_EQ(db.IsOpen(), 0);
  EXPECT_EQ(db.ExecSql(u"delete from t_RealHP"), 0);
  CDbResult r(&db, u"select * from t_RealHP");
  EXPECT_FALSE(r.IsHolding());
}

}  // namespace
