// The database facade: three calls on one database file over a CDbPool. ExecSql and ExecSqlList run
// writes in one transaction each and report 1 only for a committed transaction; Query lends a
// connection with the query that keeps it (CDbResult wraps this). The main program's facade is the
// global g_db on "Quellora.db" in the program folder with 2 connections; the launcher builds short-lived
// ones on full paths. Any thread may call; each call borrows its own connection, and the pool's lock is
// held only while it is lent or returned.
#pragma once

#include <vector>

#include "CDbPool.h"
#include "CSqliteQuery.h"
#include "Platform.h"

class CDbAccess {
public:
  // fileName: a CE path, or with prependFolder a file name in the program's folder.
  // IsOpen() tells whether the pool's first connection opened; a missing file is not created.
  CDbAccess(const char16_t* fileName, bool prependFolder, int poolSize);
  ~CDbAccess();
  CDbAccess(const CDbAccess&) = delete;
  CDbAccess& operator=(const CDbAccess&) = delete;

  // Closes any pool and builds a new one on the file, as the constructor does (tests point g_db at a
  // file of their own). No connection may be lent out.
  void Open(const char16_t* fileName, bool prependFolder, int poolSize);
  // Deletes the pool and all its connections; IsOpen() becomes 0.
  void Close();
  // 1 when the first pooled connection opened the file, else 0.
  int IsOpen() const { return m_isOpen; }

  // Every failed write below is reported in the program's log (at most once a minute).
  // Runs the statement between "begin transaction;" and "commit transaction;". 1 when committed;
  // 0 when no connection could be had, or the statement or the commit failed or reported a busy file
  // (the transaction is then rolled back, so the connection goes back to the pool outside one).
  int ExecSql(const char16_t* sql);
  // All statements in one transaction; 1 on commit (the list is then emptied), 0 as ExecSql (the list
  // is left as it was). An empty list still commits an empty transaction.
  int ExecSqlList(std::vector<CString>& statements);
  // Runs a query on a connection that stays lent out with it: the caller returns it to GetPool().
  // No connection: an empty query and a null connection. A failing query returns its connection and
  // throws CppSQLite3Exception.
  CSqliteQuery Query(const char16_t* sql, CDbConnection*& connection);

  // Null after Close.
  CDbPool* GetPool() { return m_pool; }

  // What keeps the file from serving the program, as one line for the log: it cannot be opened, is
  // no database, lacks one of the tables of `tables` (null-terminated) or may not be written. Empty
  // when it is usable.
  CString Problem(const char16_t* const* tables);
  // The CE path of the file.
  const CString& Path() const { return m_path; }
  // A failed write goes to the program's log, at most once a minute (also for callers that skip a
  // write on a closed file).
  void ReportWriteFailure(const CString& error) const;

private:
  CDbConnection* Acquire();
  // On failure error says why.
  bool RunTransaction(CSqliteDb& db, const char16_t* const* statements, size_t count, CString& error);
  CString m_path;
  int m_isOpen = 0;
  CDbPool* m_pool = nullptr;  // owned
};

// The main program's facade ("Quellora.db" in the program folder, 2 connections).
extern CDbAccess g_db;
