#include "CDbResult.h"

CDbResult::CDbResult(CDbAccess* db, const char16_t* sql) {
  if (db && sql && *sql) Run(db, sql);
}

CDbResult::~CDbResult() { Release(); }

void CDbResult::Run(CDbAccess* db, const char16_t* sql) {
  Release();
  CDbConnection* connection = nullptr;
  CSqliteQuery query = db->Query(sql, connection);
  CSqliteQuery::operator=(std::move(query));
  if (!connection) return;
  m_holding = 1;
  m_pool = db->GetPool();
  m_connection = connection;
}

void CDbResult::Release() noexcept {
  if (!m_holding) return;
  try {
    Finalize();
  } catch (const CppSQLite3Exception&) {
    // The error was the last step's, already reported to the reader.
  }
  m_pool->ReleaseConnection(m_connection);
  m_holding = 0;
  m_pool = nullptr;
  m_connection = nullptr;
}
