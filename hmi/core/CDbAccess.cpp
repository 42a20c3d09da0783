#include "CDbAccess.h"

namespace {

const int kAcquireAttempts = 6;
const DWORD kAcquireRetryMs = 50;

// The program's folder with its trailing backslash ("\ResidentFlash\Quellora\"): the module path cut
// after its last backslash.
CString ProgramFolder() {
  WCHAR path[256] = {};
  GetModuleFileNameW(nullptr, path, 256);
  CString folder(path);
  return folder.Left(folder.ReverseFind(u'\\') + 1);
}

}  // namespace

CDbAccess::CDbAccess(const char16_t* fileName, bool prependFolder, int poolSize) {
  Open(fileName, prependFolder, poolSize);
}

CDbAccess::~CDbAccess() { Close(); }

void CDbAccess::Open(const char16_t* fileName, bool prependFolder, int poolSize) {
  Close();
  CString path = prependFolder ? ProgramFolder() + fileName : CString(fileName);
  m_pool = new CDbPool(path, poolSize);
  m_isOpen = m_pool->IsFirstOpened() ? 1 : 0;
}

void CDbAccess::Close() {
  delete m_pool;
  m_pool = nullptr;
  m_isOpen = 0;
}

int CDbAccess::ExecSql(const char16_t* sql) {
  CDbConnection* connection = Acquire();
  if (!connection) return 0;
  int result = RunTransaction(connection->Db(), &sql, 1) ? 1 : 0;
  m_pool->ReleaseConnection(connection);
  return result;
}

int CDbAccess::ExecSqlList(std::vector<CString>& statements) {
  CDbConnection* connection = Acquire();
  if (!connection) return 0;
  std::vector<const char16_t*> texts;
  texts.reserve(statements.size());
  for (const CString& statement : statements) texts.push_back(statement.GetString());
  bool committed = RunTransaction(connection->Db(), texts.data(), texts.size());
  m_pool->ReleaseConnection(connection);
  if (!committed) return 0;
  statements.clear();
  return 1;
}

CSqliteQuery CDbAccess::Query(const char16_t* sql, CDbConnection*& connection) {
  connection = Acquire();
  if (!connection) return CSqliteQuery();
  try {
    return connection->Db().ExecQuery(sql);
  } catch (const CppSQLite3Exception&) {
    // The caller never sees this connection, so it goes back before the error does.
    m_pool->ReleaseConnection(connection);
    connection = nullptr;
    throw;
  }
}

CDbConnection* CDbAccess::Acquire() {
  if (!m_pool) return nullptr;
  for (int attempt = 1; attempt <= kAcquireAttempts; ++attempt) {
    CDbConnection* connection = m_pool->GetConnection(true);
    if (connection) return connection;
    if (attempt < kAcquireAttempts) Sleep(kAcquireRetryMs);
  }
  return nullptr;
}

// ExecDml returns a busy file (5) instead of throwing; such a statement did not run, and a busy commit
// leaves the transaction open on the connection. Both count as failures: roll back, never report 1.
bool CDbAccess::RunTransaction(CSqliteDb& db, const char16_t* const* statements, size_t count) {
  try {
    bool ok = db.ExecDml(u"begin transaction;") == 0;
    for (size_t i = 0; ok && i < count; ++i) ok = db.ExecDml(statements[i]) == 0;
    if (ok && db.ExecDml(u"commit transaction;") == 0) return true;
  } catch (const CppSQLite3Exception&) {
  }
  try {
    db.ExecDml(u"rollback transaction;");
  } catch (const CppSQLite3Exception&) {
    // No transaction left to roll back (the statement ended it, or begin failed): nothing to undo.
  }
  return false;
}
