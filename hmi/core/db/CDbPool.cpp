#include "CDbPool.h"

#include <algorithm>

CDbPool::CDbPool(const CString& path, int count) : m_path(path) {
  InitializeCriticalSection(&m_lock);
  for (int i = 0; i < count; ++i) {
    CDbConnection* connection = new CDbConnection(m_path);
    CriticalSectionLock hold(m_lock);
    m_connections.push_back(connection);
  }
}

CDbPool::~CDbPool() {
  {
    CriticalSectionLock hold(m_lock);
    for (CDbConnection* connection : m_connections) delete connection;
    for (CDbConnection* connection : m_temporaries) delete connection;
    m_connections.clear();
    m_temporaries.clear();
  }
  DeleteCriticalSection(&m_lock);
}

CDbConnection* CDbPool::GetConnection(bool create) {
  CriticalSectionLock hold(m_lock);
  for (CDbConnection* connection : m_connections) {
    if (!connection->IsFree()) continue;
    if (!connection->IsOpened()) {
      try {
        connection->Open();
      } catch (const CppSQLite3Exception&) {
        continue;  // still unopened: never lend a connection that cannot run a statement
      }
    }
    connection->SetFree(false);
    return connection;
  }
  if (!create) return nullptr;
  CDbConnection* connection = new CDbConnection(m_path);
  if (!connection->IsOpened()) {
    // A file that cannot be opened must not grow the pool by one dead connection per attempt.
    delete connection;
    return nullptr;
  }
  connection->SetFree(false);
  m_connections.push_back(connection);
  return connection;
}

void CDbPool::ReleaseConnection(CDbConnection* connection) {
  if (!connection) return;
  CriticalSectionLock hold(m_lock);
  auto temporary = std::find(m_temporaries.begin(), m_temporaries.end(), connection);
  if (temporary != m_temporaries.end()) {
    m_temporaries.erase(temporary);
    delete connection;
    return;
  }
  connection->SetFree(true);
}

bool CDbPool::IsFirstOpened() {
  CriticalSectionLock hold(m_lock);
  return !m_connections.empty() && m_connections.front()->IsOpened();
}

int CDbPool::GetConnectionCount() {
  CriticalSectionLock hold(m_lock);
  return static_cast<int>(m_connections.size());
}

int CDbPool::GetFreeCount() {
  CriticalSectionLock hold(m_lock);
  return static_cast<int>(std::count_if(m_connections.begin(), m_connections.end(),
                                        [](const CDbConnection* c) { return c->IsFree(); }));
}
