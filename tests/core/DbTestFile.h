// A fresh database file built from the delivered schema in a per-test board root, as the programs
// see it: "\Quellora.db". Raw SQLite connections of the test's own play the other users of the file
// (a writer holding its lock, a reader in the middle of a transaction) and check what was committed.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "CDbAccess.h"
#include "TempRoot.h"

// Lets failure messages show texts rather than pointers.
inline void PrintTo(const CString& text, std::ostream* os) { *os << '"' << text.ToUtf8() << '"'; }

namespace dbtest {

inline std::string ReadSchema() {
  std::ifstream in(std::string(QUELLORA_SOURCE_DIR) + "/resources/db/schema.sql");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A raw connection of the test, outside the code under test.
class RawDb {
public:
  explicit RawDb(const std::string& path, int flags = SQLITE_OPEN_READWRITE) {
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) ADD_FAILURE() << "cannot open " << path;
  }
  ~RawDb() { sqlite3_close(m_db); }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  // The result code of a script (several statements).
  int Exec(const std::string& sql) { return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr); }
  // Every row of a query, each as its columns' texts ("NULL" for NULL).
  std::vector<std::vector<std::string>> Rows(const std::string& sql) {
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
      ADD_FAILURE() << sqlite3_errmsg(m_db);
      return rows;
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
      std::vector<std::string> row;
      for (int i = 0; i < sqlite3_column_count(st); ++i) {
        const unsigned char* text = sqlite3_column_text(st, i);
        row.push_back(text ? reinterpret_cast<const char*>(text) : "NULL");
      }
      rows.push_back(row);
    }
    sqlite3_finalize(st);
    return rows;
  }
  int Count(const std::string& table) {
    auto rows = Rows("select count(*) from " + table);
    return rows.empty() ? -1 : std::stoi(rows[0][0]);
  }
  sqlite3* Handle() { return m_db; }

private:
  sqlite3* m_db = nullptr;
};

class DbTestFile {
public:
  DbTestFile() {
    RawDb db(Path(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    EXPECT_EQ(db.Exec(ReadSchema()), SQLITE_OK);
  }
  // The file as the programs name it.
  static const char16_t* CePath() { return u"\\Quellora.db"; }
  std::string Path() const { return m_root / "Quellora.db"; }
  const testing_support::TempRoot& Root() const { return m_root; }

private:
  testing_support::TempRoot m_root;
};

// Pooled connections wait 10 s on a locked file; a test that provokes busy shortens that on each.
inline void ShortenBusyTimeouts(CDbAccess& db, int milliseconds) {
  std::vector<CDbConnection*> lent;
  while (CDbConnection* c = db.GetPool()->GetConnection(false)) {
    c->Db().SetBusyTimeout(milliseconds);
    lent.push_back(c);
  }
  for (CDbConnection* c : lent) db.GetPool()->ReleaseConnection(c);
}

}  // namespace dbtest
