// One pooled connection of a CDbPool: a CSqliteDb on the pool's file with the flags the pool keeps.
// The pool's lock covers the flags; the database itself is used only by the thread it is lent to.
#pragma once

#include "CSqliteDb.h"
#include "Platform.h"

class CDbConnection {
public:
  // Stores the path, marks the connection free and tries to open it. A file that cannot be opened
  // leaves the connection not opened (the pool tries again when it is next asked) instead of throwing
  // out of a half-built pool.
  explicit CDbConnection(const CString& path);
  virtual ~CDbConnection();
  CDbConnection(const CDbConnection&) = delete;
  CDbConnection& operator=(const CDbConnection&) = delete;

  // Opens the given file, or the connection's own when path is empty, with the pooled busy timeout
  // of 10 s. Throws CppSQLite3Exception on failure and stays not opened.
  void Open(const char16_t* path = nullptr);

  CSqliteDb& Db() { return m_db; }
  bool IsOpened() const { return m_opened; }
  bool IsFree() const { return m_free; }
  void SetFree(bool free) { m_free = free; }
  bool IsTemporary() const { return m_temporary; }

private:
  CSqliteDb m_db;
  bool m_free = true;        // in the pool and not lent out
  bool m_temporary = false;  // deleted on return instead of pooled; nothing sets it
  bool m_opened = false;     // the last open succeeded
  CString m_path;
};
