#include "CDbAccess.h"

#include "CppSQLite3Exception.h"
#include "Log.h"

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
  m_path = path;
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
  if (!connection) {
    ReportWriteFailure(u"not open");
    return 0;
  }
  CString error;
  int result = RunTransaction(connection->Db(), &sql, 1, error) ? 1 : 0;
  m_pool->ReleaseConnection(connection);
  if (!result) ReportWriteFailure(error);
  return result;
}

int CDbAccess::ExecSqlList(std::vector<CString>& statements) {
  CDbConnection* connection = Acquire();
  if (!connection) {
    ReportWriteFailure(u"not open");
    return 0;
  }
  std::vector<const char16_t*> texts;
  texts.reserve(statements.size());
  for (const CString& statement : statements) texts.push_back(statement.GetString());
  CString error;
  bool committed = RunTransaction(connection->Db(), texts.data(), texts.size(), error);
  m_pool->ReleaseConnection(connection);
  if (!committed) {
    ReportWriteFailure(error);
    return 0;
  }
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
bool CDbAccess::RunTransaction(CSqliteDb& db, const char16_t* const* statements, size_t count, CString& error) {
  error = u"busy";
  try {
    bool ok = db.ExecDml(u"begin transaction;") == 0;
    for (size_t i = 0; ok && i < count; ++i) ok = db.ExecDml(statements[i]) == 0;
    if (ok && db.ExecDml(u"commit transaction;") == 0) return true;
  } catch (const CppSQLite3Exception& e) {
    error = e.ErrorMessage();
  }
  try {
    db.ExecDml(u"rollback transaction;");
  } catch (const CppSQLite3Exception&) {
    // No transaction left to roll back (the statement ended it, or begin failed): nothing to undo.
  }
  return false;
}

void CDbAccess::ReportWriteFailure(const CString& error) const {
  panel::LogLineLimited("database write " + m_path.ToUtf8(),
                        "database " + m_path.ToUtf8() + ": a write failed (" + error.ToUtf8() + ")");
}

CString CDbAccess::Problem(const char16_t* const* tables) {
  const DWORD attributes = GetFileAttributesW(m_path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return u"is missing";
  if (!m_isOpen) return u"cannot be opened";
  CDbConnection* connection = Acquire();
  if (!connection) return u"has no free connection";
  CString problem;
  for (const char16_t* const* table = tables; *table && problem.IsEmpty(); ++table) {
    CString sql;
    sql.Format(u"select * from %s limit 0", *table);
    try {
      connection->Db().ExecQuery(sql);
    } catch (const CppSQLite3Exception& e) {
      problem.Format(u"cannot read %s (%s)", *table, e.ErrorMessage());
    }
  }
  m_pool->ReleaseConnection(connection);
  if (problem.IsEmpty() && (attributes & FILE_ATTRIBUTE_READONLY)) problem = u"is read-only";
  return problem;
}
