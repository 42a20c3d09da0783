#include "CDbConnection.h"

namespace {

// Pooled connections give up sooner than the wrapper's 60 s: a writer blocked this long is better
// told busy and rolled back than left holding the engine's cycle.
const int kPooledBusyTimeoutMs = 10000;

}  // namespace

CDbConnection::CDbConnection(const CString& path) : m_path(path) {
  try {
    Open();
  } catch (const CppSQLite3Exception&) {
    // Not opened; the pool skips it and the facade reports the database closed.
  }
}

CDbConnection::~CDbConnection() = default;

void CDbConnection::Open(const char16_t* path) {
  m_opened = false;
  m_db.Open(path && *path ? path : m_path.GetString());
  m_db.SetBusyTimeout(kPooledBusyTimeoutMs);
  m_opened = true;
}
