// The open connections to one database file, lent to one user at a time so that the engine's thread
// and the user-interface thread can both work on the file. The pool starts with a given number of
// connections, grows by one whenever every connection is lent out, and never shrinks.
// Its critical section is held only while a connection is chosen, created or returned; statements
// run outside it. No lock is taken inside it.
#pragma once

#include <vector>

#include "CDbConnection.h"
#include "Platform.h"

class CDbPool {
public:
  // Creates count connections on path, in order. A file that cannot be opened leaves them not opened.
  CDbPool(const CString& path, int count);
  // Deletes every connection; none may still be lent out.
  virtual ~CDbPool();
  CDbPool(const CDbPool&) = delete;
  CDbPool& operator=(const CDbPool&) = delete;

  // Lends the first free connection that is (or can now be) opened. When none is free and create is
  // set, a new connection is added for good. Null when nothing could be lent: every connection busy
  // and create clear, or the file cannot be opened. Never throws.
  CDbConnection* GetConnection(bool create);
  // Takes a lent connection back (a temporary one is deleted). Null is ignored.
  void ReleaseConnection(CDbConnection* connection);

  // Whether the first connection opened: the facade's "is open".
  bool IsFirstOpened();
  int GetConnectionCount();
  int GetFreeCount();

private:
  CString m_path;
  CRITICAL_SECTION m_lock;
  std::vector<CDbConnection*> m_connections;  // owned
  std::vector<CDbConnection*> m_temporaries;  // owned; always empty here
};
