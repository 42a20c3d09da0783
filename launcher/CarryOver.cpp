#include "CarryOver.h"

#include <algorithm>
#include <vector>

#include "CDbAccess.h"
#include "CDbResult.h"
#include "DbTables.h"
#include "UpdateFiles.h"

namespace {

const int kPoolSize = 2;
const int kParameterTables = 3;  // t_System0 live, t_System1 saved, t_System2 factory
const int kNotADatabase = 26;    // SQLITE_NOTADB

// Walks every row of sql on the database at path; 0 when it is not open or the query fails.
template <typename ReadRow>
int ReadAll(const char16_t* path, const CString& sql, ReadRow readRow) {
  CDbAccess db(path, false, kPoolSize);
  if (!db.IsOpen()) return 0;
  try {
    CDbResult result(&db, sql);
    if (!result.IsHolding()) return 0;
    while (!result.Eof()) {
      readRow(result);
      result.NextRow();
    }
    return 1;
  } catch (const CppSQLite3Exception&) {
    return 0;
  }
}

int WriteAll(const char16_t* path, std::vector<CString>& statements) {
  CDbAccess db(path, false, kPoolSize);
  if (!db.IsOpen()) return 0;
  return db.ExecSqlList(statements);
}

int ReadTable(const char16_t* path, SysParamArray& rows, int kind, int n, int type) {
  rows.clear();
  const CString sql = SystemTableQuery(kind, n, type);
  if (sql.IsEmpty()) return 0;
  int ok = ReadAll(path, sql, [&rows](CSqliteQuery& q) {
    rows.emplace_back();
    ReadSysParamRow(q, rows.back());
  });
  if (!ok) rows.clear();
  return ok;
}

SysParam* FindRow(SysParamArray& rows, int id) {
  for (SysParam& row : rows) {
    if (row.m_id == id) return &row;
  }
  return nullptr;
}

int RowValue(const SysParam& row) {
  switch (row.m_type) {
    case SysParam::kTypeInt: return row.m_intValue;
    case SysParam::kTypeDecimal: return static_cast<int>(row.m_floatValue);
    default: return WToI(row.m_val);
  }
}

// Why the installed database holds no settings at all: the file is missing or is no database. Empty
// when it may hold them; a busy or unreadable one is then tried again on the next tick.
CString InstalledDbUnusable() {
  if (!PathExists(kInstalledDb)) return u"is missing";
  CDbAccess db(kInstalledDb, false, kPoolSize);
  if (!db.IsOpen()) return CString();
  try {
    CDbResult probe(&db, u"select * from t_System0 limit 0");
  } catch (const CppSQLite3Exception& e) {
    if (e.ErrorCode() == kNotADatabase) return u"is no database";
  }
  return CString();
}

// The software and table version rows of a t_System0, by ID; false when one is missing.
bool VersionRows(SysParamArray& rows, SysParam*& software, SysParam*& table) {
  software = FindRow(rows, kSoftwareVersionId);
  table = FindRow(rows, kTableVersionId);
  return software && table;
}

}  // namespace

int ReadLangEnable(LangEnableRowArray& rows) {
  rows.clear();
  int ok = ReadAll(kInstalledDb, u"select * from t_Langenable", [&rows](CSqliteQuery& q) {
    rows.emplace_back();
    LangEnableRow& row = rows.back();
    row.m_id = q.GetIntField(0);
    // A file with fewer columns leaves the missing flags 0.
    const int flags = std::min(q.numFields() - 1, static_cast<int>(LangEnableRow::kLanguages));
    for (int i = 0; i < flags; ++i) row.m_flags[i] = q.GetIntField(1 + i);
  });
  if (!ok) rows.clear();
  return ok;
}

int WriteLangEnable(const LangEnableRowArray& rows) {
  std::vector<CString> statements;
  for (const LangEnableRow& row : rows) {
    CString sql;
    sql.Format(u"Replace into t_Langenable values('%d'", row.m_id);
    for (int flag : row.m_flags) sql.AppendFormat(u",'%d'", flag);
    sql += u")";
    statements.push_back(sql);
  }
  return WriteAll(kStagedDb, statements);
}

int ReadSystemTable(SysParamArray& rows, int kind, int n, int type) { return ReadTable(kInstalledDb, rows, kind, n, type); }

int ReadNewSystemTable(SysParamArray& rows, int kind, int n, int type) { return ReadTable(kStagedDb, rows, kind, n, type); }

int WriteSystemTable(const SysParamArray& rows, int n) {
  std::vector<CString> statements;
  for (const SysParam& p : rows) {
    // Names and texts go between quotes with their own quotes doubled, so no row can break the statement.
    const CString name = SqlQuoted(p.m_name);
    CString sql;
    switch (p.m_type) {
      case SysParam::kTypeInt:
        sql.Format(u"Replace into t_System%d values(%d,'%d',%d,'%s')", n, p.m_id, p.m_intValue, 0,
                   static_cast<const char16_t*>(name));
        break;
      case SysParam::kTypeDecimal:
        sql.Format(u"Replace into t_System%d values(%d,'%.1f',%d,'%s')", n, p.m_id,
                   static_cast<double>(p.m_floatValue), 1, static_cast<const char16_t*>(name));
        break;
      default:
        sql.Format(u"Replace into t_System%d values(%d,'%s',%d,'%s')", n, p.m_id,
                   static_cast<const char16_t*>(SqlQuoted(p.m_val)), p.m_type, static_cast<const char16_t*>(name));
        break;
    }
    statements.push_back(sql);
  }
  return WriteAll(kStagedDb, statements);
}

bool CarryOverSettings(int& expectedSoftware, int& expectedTable) {
  SysParamArray fresh;
  SysParam* newSoftware = nullptr;
  SysParam* newTable = nullptr;
  if (!ReadNewSystemTable(fresh, 0, 0, 0) || !VersionRows(fresh, newSoftware, newTable)) return false;
  const CString unusable = InstalledDbUnusable();
  if (unusable.IsEmpty()) {
    LangEnableRowArray languages;
    if (!ReadLangEnable(languages) || !WriteLangEnable(languages)) return false;
    SysParamArray installed;
    SysParam* oldSoftware = nullptr;
    SysParam* oldTable = nullptr;
    if (!ReadSystemTable(installed, 0, 0, 0) || !VersionRows(installed, oldSoftware, oldTable)) return false;
    *oldSoftware = *newSoftware;
    *oldTable = *newTable;
    for (int n = 0; n < kParameterTables; ++n) {
      if (!WriteSystemTable(installed, n)) return false;
    }
  } else {
    // Nothing to carry: the update is the repair, and the new database goes in as it came.
    OutputDebugStringW(CString(u"the installed database ") + unusable +
                       u": the update installs the new database with its own settings");
  }
  expectedSoftware = RowValue(*newSoftware);
  expectedTable = RowValue(*newTable);
  return true;
}
