// One open SQLite database file, driven through SQLite's UTF-16 interface. Every failure throws
// CppSQLite3Exception, except the result codes that only a statement's finalize reports (a busy
// database, 5), which ExecDml returns for its caller to judge. No lock: the connection pool lends each
// CSqliteDb to one thread at a time, and SQLite's busy timeout absorbs contention between connections.
#pragma once

#include "CSqliteQuery.h"
#include "Platform.h"

struct sqlite3;
struct sqlite3_stmt;

class CSqliteDb {
public:
  CSqliteDb();
  // Closes the file.
  virtual ~CSqliteDb();
  CSqliteDb(const CSqliteDb&) = delete;
  CSqliteDb& operator=(const CSqliteDb&) = delete;

  // Opens an existing database file (a CE path inside the board's root) for reading and writing and
  // applies the stored busy timeout. A missing file is not created: that, like any other failure,
  // throws with SQLite's code (SQLITE_CANTOPEN, 14) and leaves the object closed.
  void Open(const char16_t* path);
  // Closes the file when one is open; the result is not checked.
  void Close();
  bool IsOpen() const { return m_db != nullptr; }
  // Milliseconds SQLite waits on a locked file before it reports busy; kept for later opens.
  void SetBusyTimeout(int milliseconds);

  // Runs one statement (the first of the text). Returns 0 on success or the code its finalize reported
  // (5 for a busy database) without throwing; a step that fails with SQLITE_ERROR, a parse error and
  // a closed database throw. A schema change (17) compiles and runs the statement again.
  int ExecDml(const char16_t* sql);
  // Runs a query and returns it positioned on its first row, or at eof when there is none.
  // Any failure throws; a schema change (17) starts again.
  CSqliteQuery ExecQuery(const char16_t* sql);

private:
  void CheckDb() const;
  sqlite3_stmt* Compile(const char16_t* sql);

  sqlite3* m_db = nullptr;      // null while closed
  int m_busyTimeoutMs = 60000;
};
