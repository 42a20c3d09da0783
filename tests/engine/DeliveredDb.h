// The delivered database as the build made it, copied into a per-test board root and opened by the
// program's facade g_db; a raw SQLite connection of the test's own reads and edits the file behind
// the code under test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CDbAccess.h"
#include "RawDb.h"
#include "TempRoot.h"

namespace enginetest {

// The shared raw connection, with a log of the writes the code under test makes to the parameters.
class RawDb : public testing_support::RawDb {
public:
  using testing_support::RawDb::RawDb;

  // Records every later write to the three parameter tables in w_log(tbl, op, ID). Connections that
  // were open before see the new schema only after a reopen.
  void LogParamWrites() {
    Run("create table w_log(tbl integer, op text, ID integer)");
    for (int t = 0; t < 3; ++t) {
      const std::string n = std::to_string(t);
      for (const char* op : {"insert", "update", "delete"}) {
        const std::string row = std::string(op) == "delete" ? "old.ID" : "new.ID";
        Run("create trigger w_" + std::string(op) + n + " after " + op + " on t_System" + n +
            " begin insert into w_log values(" + n + ", '" + op + "', " + row + "); end");
      }
    }
  }
  std::vector<std::vector<std::string>> ParamWrites() { return Rows("select tbl, op, ID from w_log order by rowid"); }
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
