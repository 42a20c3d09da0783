#include "CSqliteQuery.h"

#include <sqlite3.h>

namespace {

const char16_t* ErrorText(sqlite3* db) { return static_cast<const char16_t*>(sqlite3_errmsg16(db)); }

}  // namespace

CSqliteQuery::CSqliteQuery() = default;

CSqliteQuery::CSqliteQuery(sqlite3* db, sqlite3_stmt* statement, bool eof, bool ownsStatement)
    : m_db(db), m_statement(statement), m_eof(eof), m_columns(sqlite3_column_count(statement)),
      m_owns(ownsStatement) {}

CSqliteQuery::CSqliteQuery(CSqliteQuery&& other) noexcept
    : m_db(other.m_db), m_statement(other.m_statement), m_eof(other.m_eof), m_columns(other.m_columns),
      m_owns(other.m_owns) {
  other.m_statement = nullptr;
}

CSqliteQuery& CSqliteQuery::operator=(CSqliteQuery&& other) noexcept {
  if (this == &other) return *this;
  Release();
  m_db = other.m_db;
  m_statement = other.m_statement;
  m_eof = other.m_eof;
  m_columns = other.m_columns;
  m_owns = other.m_owns;
  other.m_statement = nullptr;
  return *this;
}

CSqliteQuery::~CSqliteQuery() { Release(); }

bool CSqliteQuery::Eof() {
  CheckVm();
  return m_eof;
}

void CSqliteQuery::NextRow() {
  CheckVm();
  int rc = sqlite3_step(m_statement);
  if (rc == SQLITE_DONE) {
    m_eof = true;
    return;
  }
  if (rc == SQLITE_ROW) return;
  rc = sqlite3_finalize(m_statement);
  m_statement = nullptr;
  throw CppSQLite3Exception(rc, ErrorText(m_db));
}

int CSqliteQuery::FieldDataType(int column) {
  CheckColumn(column);
  return sqlite3_column_type(m_statement, column);
}

int CSqliteQuery::GetIntField(int column, int nullValue) {
  if (FieldDataType(column) == SQLITE_NULL) return nullValue;
  return sqlite3_column_int(m_statement, column);
}

int64_t CSqliteQuery::GetInt64Field(int column, int64_t nullValue) {
  if (FieldDataType(column) == SQLITE_NULL) return nullValue;
  return sqlite3_column_int64(m_statement, column);
}

double CSqliteQuery::GetFloatField(int column, double nullValue) {
  if (FieldDataType(column) == SQLITE_NULL) return nullValue;
  return sqlite3_column_double(m_statement, column);
}

const char16_t* CSqliteQuery::GetStringField(int column, const char16_t* nullValue) {
  if (FieldDataType(column) == SQLITE_NULL) return nullValue;
  const void* text = sqlite3_column_text16(m_statement, column);
  return text ? static_cast<const char16_t*>(text) : nullValue;
}

void CSqliteQuery::Finalize() {
  if (!m_statement || !m_owns) return;
  int rc = sqlite3_finalize(m_statement);
  m_statement = nullptr;
  if (rc != SQLITE_OK) throw CppSQLite3Exception(rc, ErrorText(m_db));
}

int CSqliteQuery::numFields() {
  CheckVm();
  return m_columns;
}

void CSqliteQuery::CheckVm() {
  if (!m_statement) throw CppSQLite3Exception(CPPSQLITE_ERROR, u"Null Virtual Machine pointer");
}

void CSqliteQuery::CheckColumn(int column) {
  CheckVm();
  if (column < 0 || column > m_columns - 1) {
    throw CppSQLite3Exception(CPPSQLITE_ERROR, u"Invalid field index requested");
  }
}

// A destructor or an assignment must not throw; a finalize error here only repeats the last step's.
void CSqliteQuery::Release() noexcept {
  if (m_statement && m_owns) sqlite3_finalize(m_statement);
  m_statement = nullptr;
}
