// A raw SQLite connection of the test's own, outside the code under test: it plays another user of
// the database file (a writer holding its lock, a reader in the middle of a transaction), edits the
// file behind the code under test and reads back what was committed.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace testing_support {

class RawDb {
public:
  explicit RawDb(const std::string& path, int flags = SQLITE_OPEN_READWRITE) {
    if (sqlite3_open_v2(path.c_str(), &m_db, flags, nullptr) != SQLITE_OK) ADD_FAILURE() << "cannot open " << path;
  }
  ~RawDb() { sqlite3_close(m_db); }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  // The result code of a script (several statements), for a test that expects busy or an error.
  int Exec(const std::string& sql) { return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr); }
  // Runs a script the test needs to succeed; a failure fails the test with SQLite's message.
  void Run(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) ADD_FAILURE() << error << ": " << sql;
    sqlite3_free(error);
  }
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
  // The first column of a query's first row, "" when there is none.
  std::string Value(const std::string& sql) {
    auto rows = Rows(sql);
    return rows.empty() || rows[0].empty() ? "" : rows[0][0];
  }
  // The rows of a table, -1 when it cannot be read.
  int Count(const std::string& table) {
    auto rows = Rows("select count(*) from " + table);
    return rows.empty() ? -1 : std::stoi(rows[0][0]);
  }
  sqlite3* Handle() { return m_db; }

private:
  sqlite3* m_db = nullptr;
};

}  // namespace testing_support
