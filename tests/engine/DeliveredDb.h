// The delivered database as the build made it, copied into a per-test board root and opened by the
// program's facade g_db; a raw SQLite connection of the test's own reads and edits the file behind
// the code under test.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CDbAccess.h"
#include "TempRoot.h"

namespace enginetest {

class RawDb {
public:
  explicit RawDb(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
      ADD_FAILURE() << "cannot open " << path;
  }
  ~RawDb() { sqlite3_close(m_db); }
  RawDb(const RawDb&) = delete;
  RawDb& operator=(const RawDb&) = delete;

  void Exec(const std::string& sql) {
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
  std::string Value(const std::string& sql) {
    auto rows = Rows(sql);
    return rows.empty() || rows[0].empty() ? "" : rows[0][0];
  }
  int Count(const std::string& table) { return std::stoi(Value("select count(*) from " + table)); }

  // Records every later write to the three parameter tables in w_log(tbl, op, ID). Connections that
  // were open before see the new schema only after a reopen.
  void LogParamWrites() {
    Exec("create table w_log(tbl integer, op text, ID integer)");
    for (int t = 0; t < 3; ++t) {
      const std::string n = std::to_string(t);
      for (const char* op : {"insert", "update", "delete"}) {
        const std::string row = std::string(op) == "delete" ? "old.ID" : "new.ID";
        Exec("create trigger w_" + std::string(op) + n + " after " + op + " on t_System" + n +
             " begin insert into w_log values(" + n + ", '" + op + "', " + row + "); end");
      }
    }
  }
  std::vector<std::vector<std::string>> ParamWrites() { return Rows("select tbl, op, ID from w_log order by rowid"); }

private:
  sqlite3* m_db = nullptr;
};

// A fresh copy of build/<cfg>/resources/Quellora.db at "\Quellora.db" of a temporary root, open in g_db.
class DeliveredDb {
public:
  DeliveredDb() {
    std::filesystem::copy_file(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.db", Path());
    g_db.Open(u"\\Quellora.db", false, 2);
    EXPECT_EQ(1, g_db.IsOpen());
  }
  ~DeliveredDb() { g_db.Close(); }
  // New pooled connections, which read the schema afresh after the test changed it.
  void Reopen() { g_db.Open(u"\\Quellora.db", false, 2); }
  DeliveredDb(const DeliveredDb&) = delete;
  DeliveredDb& operator=(const DeliveredDb&) = delete;

  std::string Path() const { return m_root / "Quellora.db"; }

private:
  testing_support::TempRoot m_root;
};

}  // namespace enginetest
