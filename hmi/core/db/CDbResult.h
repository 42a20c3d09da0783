// A query of the facade that keeps its borrowed connection until it is destroyed. The table functions
// read every row through one; a result that holds no connection means the query could not start.
// Keep it short-lived: while it lives, its connection is out of the pool and its read lock can make
// another connection's commit wait.
#pragma once

#include "CDbAccess.h"
#include "CSqliteQuery.h"

class CDbResult : public CSqliteQuery {
public:
  // Runs sql on db when both are given. A failing query throws CppSQLite3Exception with no
  // connection kept.
  CDbResult(CDbAccess* db, const char16_t* sql);
  // Finalizes the query and returns the connection; never throws.
  ~CDbResult() override;
  CDbResult(const CDbResult&) = delete;
  CDbResult& operator=(const CDbResult&) = delete;

  bool IsHolding() const { return m_holding != 0; }

private:
  void Run(CDbAccess* db, const char16_t* sql);
  void Release() noexcept;

  int m_holding = 0;                    // 1 while a connection is kept
  CDbPool* m_pool = nullptr;            // where the connection came from
  CDbConnection* m_connection = nullptr;
};
