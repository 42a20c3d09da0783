// One compiled statement of a CSqliteDb, walked row by row. ExecQuery hands it out positioned on the
// first row (or at eof); columns are read by position. Every failure throws CppSQLite3Exception.
// A query belongs to the thread that uses its connection; it has no lock. Moving a query hands its
// statement over: the source is left without one, so exactly one object finalizes it.
#pragma once

#include <cstdint>

#include "CppSQLite3Exception.h"
#include "Platform.h"

struct sqlite3;
struct sqlite3_stmt;

class CSqliteQuery {
public:
  // No statement, at eof, no columns, owns nothing.
  CSqliteQuery();
  CSqliteQuery(sqlite3* db, sqlite3_stmt* statement, bool eof, bool ownsStatement = true);
  CSqliteQuery(CSqliteQuery&& other) noexcept;
  // Finalizes this query's own statement first (errors ignored), then takes over the other's.
  CSqliteQuery& operator=(CSqliteQuery&& other) noexcept;
  CSqliteQuery(const CSqliteQuery&) = delete;
  CSqliteQuery& operator=(const CSqliteQuery&) = delete;
  // Finalizes; never throws.
  virtual ~CSqliteQuery();

  // True after the last row. Throws without a statement.
  bool Eof();
  // Steps to the next row (eof after the last). A failing step finalizes the statement and throws
  // the finalize result with SQLite's text.
  void NextRow();
  // SQLITE_INTEGER .. SQLITE_NULL (5) of the current row's column; a column outside
  // 0 .. numFields()-1 throws "Invalid field index requested".
  int FieldDataType(int column);
  // The column's value, or nullValue when it is NULL. A text stays valid until the next step.
  int GetIntField(int column, int nullValue = 0);
  int64_t GetInt64Field(int column, int64_t nullValue = 0);
  double GetFloatField(int column, double nullValue = 0.0);
  const char16_t* GetStringField(int column, const char16_t* nullValue = u"");
  // Finalizes an owned statement and drops it; a non-zero result (the last step's error) throws.
  void Finalize();
  // Number of columns of the result. Throws without a statement.
  int numFields();

private:
  void CheckVm();
  void CheckColumn(int column);
  void Release() noexcept;

  sqlite3* m_db = nullptr;              // the connection, for error texts
  sqlite3_stmt* m_statement = nullptr;  // null once finalized or handed over
  bool m_eof = true;
  int m_columns = 0;
  bool m_owns = false;                  // only an owning query finalizes
};
