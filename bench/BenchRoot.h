// What the benchmarks set up around the code they time: a board root in a temporary folder, made the
// layer's PANEL_ROOT for the benchmark's lifetime and removed afterwards, and the week of minute rows
// that a week of running leaves in t_RealHP.
#pragma once

#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "Platform.h"

namespace bench {

class BenchRoot {
public:
  // prefix names the folder ("db-bench" gives /tmp/db-bench-XXXXXX). An empty Path() means it could
  // not be made; the panel root is then left alone.
  explicit BenchRoot(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data())) return;
    m_path = pattern;
    panel::SetPanelRoot(m_path);
  }
  ~BenchRoot() {
    panel::SetPanelRoot("");
    std::error_code ignored;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
  }
  BenchRoot(const BenchRoot&) = delete;
  BenchRoot& operator=(const BenchRoot&) = delete;

  const std::string& Path() const { return m_path; }
  // A path inside the root, given with slashes.
  std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }

private:
  std::string m_path;
};

const int kWeekRows = 7 * 1440;

// Inserts one row per minute for the week before endSeconds (the last a minute before it), in one
// transaction on an open connection.
inline void InsertWeekOfMinuteRows(sqlite3* db, int64_t endSeconds) {
  sqlite3_exec(db, "begin;", nullptr, nullptr, nullptr);
  for (int i = kWeekRows; i >= 1; --i) {
    std::string sql = "insert into t_RealHP values(" + std::to_string(endSeconds - 60LL * i) +
                      ",1,45,21.5,48.2,35.0,3.5,35.1,30.2,-2.0,60.1,8.5,10.2,35.0,34.0,28.5,9.5,6.2,230,350,620,610,"
                      "35.0,30.0,25.0,1,0,0)";
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
  }
  sqlite3_exec(db, "commit;", nullptr, nullptr, nullptr);
}

// Builds "Quellora.db" in the root from the delivered schema with a week of minute rows before
// endSeconds.
inline void MakeWeekOfLogDb(const BenchRoot& root, int64_t endSeconds) {
  std::ifstream in(std::string(QUELLORA_SOURCE_DIR) + "/resources/db/schema.sql");
  std::stringstream schema;
  schema << in.rdbuf();
  sqlite3* db = nullptr;
  sqlite3_open_v2((root / "Quellora.db").c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  sqlite3_exec(db, schema.str().c_str(), nullptr, nullptr, nullptr);
  InsertWeekOfMinuteRows(db, endSeconds);
  sqlite3_close(db);
}

}  // namespace bench
