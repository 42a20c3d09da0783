// The one error type of the database layer: every SQLite failure seen by CSqliteDb and CSqliteQuery is
// thrown as one of these, by value, and caught by reference. Its message reads "<code name>[<code>]: <text>",
// for example "SQLITE_BUSY[5]: database is locked". The facade's writes catch it; reads let it through
// to the table functions, which turn it into "no rows".
#pragma once

#include "Platform.h"

// The wrapper's own code, for failures SQLite did not report (no database, no statement, bad column).
#define CPPSQLITE_ERROR 1000

class CppSQLite3Exception {
public:
  // text: the error text (null counts as ""). With freeText set the text came from SQLite's allocator and
  // is released with sqlite3_free once the message is built; every throw site of the wrapper passes false.
  CppSQLite3Exception(int code, const char16_t* text, bool freeText = false);
  CppSQLite3Exception(const CppSQLite3Exception& other);
  CppSQLite3Exception& operator=(const CppSQLite3Exception& other) = default;
  virtual ~CppSQLite3Exception();

  int ErrorCode() const { return m_code; }
  const char16_t* ErrorMessage() const { return m_message; }

  // "SQLITE_OK" .. "SQLITE_FORMAT", "SQLITE_RANGE", "SQLITE_ROW", "SQLITE_DONE", "CPPSQLITE_ERROR",
  // and "UNKNOWN_ERROR" for any other code.
  static const char16_t* ErrorCodeAsString(int code);

private:
  int m_code;          // SQLite result code or CPPSQLITE_ERROR
  CString m_message;   // "%s[%d]: %s"
};
