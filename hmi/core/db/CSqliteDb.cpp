#include "CSqliteDb.h"

#include <sqlite3.h>

#include <string>

namespace {

const char16_t* ErrorText(sqlite3* db) { return static_cast<const char16_t*>(sqlite3_errmsg16(db)); }

// Each connection's page cache, in KiB. The terminal runs for years and its file grows for a week of
// minute rows: with the library's 2 MB a connection would hold more of the file each day until the
// week is full. A day's rows (the trend page reads one) fit in this, so memory stays as after the first
// day; what is not held comes from the system's file cache.
const int kPageCacheKiB = 256;

}  // namespace

CSqliteDb::CSqliteDb() = default;

CSqliteDb::~CSqliteDb() { Close(); }

// sqlite3_open16 always creates a missing file, and an empty database behind the caller's back would
// pass for the delivered one. sqlite3_open_v2 can forbid creation but takes UTF-8, so the CE path is
// mapped into the board's root and converted there.
void CSqliteDb::Open(const char16_t* path) {
  Close();
  std::string file = panel::MapPath(path);
  if (file.empty()) throw CppSQLite3Exception(SQLITE_CANTOPEN, u"unable to open database file");
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    // SQLite hands out a handle even when the open fails; it carries the error text and must be closed.
    CppSQLite3Exception error(rc, db ? ErrorText(db) : u"out of memory");
    sqlite3_close(db);
    throw error;
  }
  m_db = db;
  sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
  const std::string cache = "pragma cache_size = -" + std::to_string(kPageCacheKiB) + ";";
  sqlite3_exec(m_db, cache.c_str(), nullptr, nullptr, nullptr);
}

void CSqliteDb::Close() {
  if (!m_db) return;
  sqlite3_close(m_db);
  m_db = nullptr;
}

void CSqliteDb::SetBusyTimeout(int milliseconds) {
  m_busyTimeoutMs = milliseconds;
  if (m_db) sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
}

int CSqliteDb::ExecDml(const char16_t* sql) {
  CheckDb();
  for (;;) {
    sqlite3_stmt* statement = Compile(sql);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_ERROR) {
      // The legacy step reports a stale schema as a plain error; finalize tells it apart, and a
      // statement compiled against the old schema is simply compiled again.
      if (sqlite3_finalize(statement) == SQLITE_SCHEMA) continue;
      throw CppSQLite3Exception(rc, ErrorText(m_db));
    }
    rc = sqlite3_finalize(statement);
    if (rc != SQLITE_SCHEMA) return rc;
  }
}

CSqliteQuery CSqliteDb::ExecQuery(const char16_t* sql) {
  CheckDb();
  for (;;) {
    sqlite3_stmt* statement = Compile(sql);
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE) return CSqliteQuery(m_db, statement, true);
    if (rc == SQLITE_ROW) return CSqliteQuery(m_db, statement, false);
    rc = sqlite3_finalize(statement);
    if (rc != SQLITE_SCHEMA) throw CppSQLite3Exception(rc, ErrorText(m_db));
  }
}

void CSqliteDb::CheckDb() const {
  if (!m_db) throw CppSQLite3Exception(CPPSQLITE_ERROR, u"Database not open");
}

// The legacy compile: a step then reports a busy file directly but most other failures as SQLITE_ERROR,
// leaving the exact code (a schema change, 17) to finalize, which is what ExecDml and ExecQuery act on.
sqlite3_stmt* CSqliteDb::Compile(const char16_t* sql) {
  CheckDb();
  sqlite3_stmt* statement = nullptr;
  int rc = sqlite3_prepare16(m_db, sql, -1, &statement, nullptr);
  if (rc != SQLITE_OK) throw CppSQLite3Exception(rc, ErrorText(m_db));
  return statement;
}
