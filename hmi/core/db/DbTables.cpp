#include "DbTables.h"

#include <vector>

#include "CDbAccess.h"
#include "CDbResult.h"

namespace {


// The 27 values of a log row after the time, in column order.
#define REAL_VALUES_FORMAT \
  u"%d,%d,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%.1f,%d,%d,%d,%d,%.1f,%.1f,%.1f,%d,%d,%d"

// Appends the 27 values in the order of REAL_VALUES_FORMAT; floats are widened to double.
CString FormatRealValues(const RealRecord& r) {
  CString values;
  values.Format(REAL_VALUES_FORMAT, static_cast<int>(r.m_snapshotCode), static_cast<int>(r.m_compressorHz),
                static_cast<double>(r.m_roomTemp), static_cast<double>(r.m_tankTemp),
                static_cast<double>(r.m_heatCoolTemp), static_cast<double>(r.m_ambientTemp),
                static_cast<double>(r.m_outletTemp), static_cast<double>(r.m_inletTemp),
                static_cast<double>(r.m_coilTemp), static_cast<double>(r.m_outdoorTemp2113),
                static_cast<double>(r.m_outdoorTemp2114), static_cast<double>(r.m_outdoorTemp2112),
                static_cast<double>(r.m_mix1Temp), static_cast<double>(r.m_mix2Temp),
                static_cast<double>(r.m_pressureA), static_cast<double>(r.m_pressureB),
                static_cast<double>(r.m_current), static_cast<int>(r.m_voltage), static_cast<int>(r.m_eevSteps),
                static_cast<int>(r.m_fan1Rpm), static_cast<int>(r.m_fan2Rpm), static_cast<double>(r.m_indoorValue1),
                static_cast<double>(r.m_indoorValue2), static_cast<double>(r.m_indoorValue3),
                static_cast<int>(r.m_statusBits16), static_cast<int>(r.m_statusBitsB), static_cast<int>(r.m_statusBits));
  return values;
}

float ReadFloat(CSqliteQuery& q, int column) { return static_cast<float>(q.GetFloatField(column)); }

// A log row starting at column first (0 in t_RealHP, 3 in t_HPErr). Times are 64-bit (they pass 2^31
// in 2038); the room temperature is stored as a real like the other temperatures and keeps its decimal.
void ReadRealColumns(CSqliteQuery& q, int first, RealRecord& r) {
  r.m_time = q.GetInt64Field(first + 0);
  r.m_snapshotCode = static_cast<uint8_t>(q.GetIntField(first + 1));
  r.m_compressorHz = static_cast<uint8_t>(q.GetIntField(first + 2));
  r.m_roomTemp = ReadFloat(q, first + 3);
  r.m_tankTemp = ReadFloat(q, first + 4);
  r.m_heatCoolTemp = ReadFloat(q, first + 5);
  r.m_ambientTemp = ReadFloat(q, first + 6);
  r.m_outletTemp = ReadFloat(q, first + 7);
  r.m_inletTemp = ReadFloat(q, first + 8);
  r.m_coilTemp = ReadFloat(q, first + 9);
  r.m_outdoorTemp2113 = ReadFloat(q, first + 10);
  r.m_outdoorTemp2114 = ReadFloat(q, first + 11);
  r.m_outdoorTemp2112 = ReadFloat(q, first + 12);
  r.m_mix1Temp = ReadFloat(q, first + 13);
  r.m_mix2Temp = ReadFloat(q, first + 14);
  r.m_pressureA = ReadFloat(q, first + 15);
  r.m_pressureB = ReadFloat(q, first + 16);
  r.m_current = ReadFloat(q, first + 17);
  r.m_voltage = static_cast<uint16_t>(q.GetIntField(first + 18));
  r.m_eevSteps = static_cast<uint16_t>(q.GetIntField(first + 19));
  r.m_fan1Rpm = static_cast<uint16_t>(q.GetIntField(first + 20));
  r.m_fan2Rpm = static_cast<uint16_t>(q.GetIntField(first + 21));
  r.m_indoorValue1 = ReadFloat(q, first + 22);
  r.m_indoorValue2 = ReadFloat(q, first + 23);
  r.m_indoorValue3 = ReadFloat(q, first + 24);
  r.m_statusBits16 = static_cast<uint32_t>(q.GetIntField(first + 25));
  r.m_statusBitsB = q.GetIntField(first + 26);
  r.m_statusBits = q.GetIntField(first + 27);
}

void ReadFaultRow(CSqliteQuery& q, FaultRecord& r) {
  r.m_id = q.GetIntField(0);
  r.m_code = q.GetStringField(1);
  r.m_startTime = q.GetInt64Field(2);
  ReadRealColumns(q, 3, r);
}

// Walks the rows of sql through a CDbResult, handing each to readRow until it returns false.
// True when at least one row was read. A query that cannot start, or a database error on the way,
// reads as no rows: the callers run on the engine's and the screens' threads, which must not end on it.
template <typename ReadRow>
bool ReadRows(const CString& sql, ReadRow readRow) {
  try {
    CDbResult result(&g_db, sql);
    if (!result.IsHolding()) return false;
    bool any = false;
    while (!result.Eof()) {
      any = true;
      if (!readRow(result)) break;
      result.NextRow();
    }
    return any;
  } catch (const CppSQLite3Exception&) {
    return false;
  }
}

}  // namespace

int InsertRealData(const RealRecord& record) {
  if (!g_db.IsOpen()) return 0;
  CString sql;
  sql.Format(u"Insert into t_RealHP values(%I64d,", static_cast<long long>(record.m_time));
  sql += FormatRealValues(record);
  sql += u")";
  return g_db.ExecSql(sql);
}

int DeleteRealData(int kind, int64_t now, int days) {
  if (!g_db.IsOpen()) return 0;
  CString sql;
  switch (kind) {
    case 0:
      sql = u"delete from t_RealHP";
      break;
    case 1:
      sql.Format(u"delete from t_RealHP where TM < %I64d", static_cast<long long>(now - int64_t(days) * 86400));
      break;
    default:
      return 0;
  }
  return g_db.ExecSql(sql);
}

bool LoadRealData(RealRecordArray& rows, int kind, int64_t from, int64_t to) {
  rows.clear();
  if (!g_db.IsOpen()) return false;
  CString sql;
  switch (kind) {
    case 0:
      sql = u"select * from t_RealHP limit 10000";
      break;
    case 1:
      sql.Format(u"select * from t_RealHP where TM >= %I64d limit 10000", static_cast<long long>(from));
      break;
    case 2:
      sql.Format(u"select * from t_RealHP where TM >= %I64d and TM <= %I64d limit 10000", static_cast<long long>(from),
                 static_cast<long long>(to));
      break;
    default:
      return false;
  }
  bool any = ReadRows(sql, [&rows](CSqliteQuery& q) {
    rows.emplace_back();
    ReadRealColumns(q, 0, rows.back());
    return true;
  });
  if (!any) rows.clear();
  return any;
}

int InsertFault(const FaultRecord& record) {
  if (!g_db.IsOpen()) return 0;
  CString sql;
  sql.Format(u"Insert into t_HPErr values(%d,'%s',%I64d,%I64d,", record.m_id,
             static_cast<const char16_t*>(SqlQuoted(record.m_code)), static_cast<long long>(record.m_startTime),
             static_cast<long long>(record.m_time));
  sql += FormatRealValues(record);
  sql += u")";
  return g_db.ExecSql(sql);
}

int UpdateFaultEnd(const FaultRecord& record) {
  if (!g_db.IsOpen()) return 0;
  CString sql;
  sql.Format(u"update t_HPErr set TM=%I64d where ID = %d", static_cast<long long>(record.m_time), record.m_id);
  return g_db.ExecSql(sql);
}

int DeleteFaults(int kind, int newestId) {
  if (!g_db.IsOpen()) return 0;
  CString sql;
  switch (kind) {
    case 0:
      sql = u"delete from t_HPErr";
      break;
    case 1:
      sql.Format(u"delete from t_HPErr where ID < %d", newestId - 99);
      break;
    default:
      return 0;
  }
  return g_db.ExecSql(sql);
}

bool LoadFault(FaultRecord& record, int kind) {
  if (!g_db.IsOpen()) return false;
  CString sql;
  switch (kind) {
    case 0:
      sql.Format(u"select * from t_HPErr where ID=%d limit 1", record.m_id);
      break;
    case 1:
      sql = u"select * from t_HPErr limit 1";
      break;
    default:
      return false;
  }
  // Read into a copy so that a failure half-way leaves the caller's record as it was.
  FaultRecord row;
  bool any = ReadRows(sql, [&row](CSqliteQuery& q) {
    ReadFaultRow(q, row);
    return false;
  });
  if (any) record = row;
  return any;
}

bool LoadFaults(FaultRecordArray& rows, int count) {
  rows.clear();
  if (!g_db.IsOpen()) return false;
  CString sql;
  sql.Format(u"select * from t_HPErr limit %d", count);
  bool any = ReadRows(sql, [&rows](CSqliteQuery& q) {
    rows.emplace_back();
    ReadFaultRow(q, rows.back());
    return true;
  });
  if (!any) rows.clear();
  return any;
}

int InsertSysParam(const SysParam& param, int table) {
  if (!g_db.IsOpen()) return 0;
  CString sql;
  sql.Format(u"Insert into t_System%d (ID,Val ,Type ,Name) ", table);
  CString name = SqlQuoted(param.m_name);
  switch (param.m_type) {
    case SysParam::kTypeInt:
      sql.AppendFormat(u"values(%d,'%d',%d,'%s')", param.m_id, param.m_intValue, 0,
                       static_cast<const char16_t*>(name));
      break;
    case SysParam::kTypeDecimal:
      sql.AppendFormat(u"values(%d,'%.1f',%d,'%s')", param.m_id, static_cast<double>(param.m_floatValue), 1,
                       static_cast<const char16_t*>(name));
      break;
    default:
      sql.AppendFormat(u"values(%d,'%s',%d,'%s')", param.m_id,
                       static_cast<const char16_t*>(SqlQuoted(param.m_val)), param.m_type,
                       static_cast<const char16_t*>(name));
      break;
  }
  return g_db.ExecSql(sql);
}

int SaveSysParams(const SysParamArray& params, int table) {
  if (!g_db.IsOpen()) return 0;
  std::vector<CString> statements;
  statements.reserve(params.size());
  for (const SysParam& p : params) {
    CString name = SqlQuoted(p.m_name);
    CString sql;
    switch (p.m_type) {
      case SysParam::kTypeInt:
        sql.Format(u"update t_System%d set Val='%d',Type=%d,Name='%s' where ID = %d", table, p.m_intValue, p.m_type,
                   static_cast<const char16_t*>(name), p.m_id);
        break;
      case SysParam::kTypeDecimal:
        sql.Format(u"update t_System%d set Val='%.1f',Type=%d,Name='%s' where ID = %d", table,
                   static_cast<double>(p.m_floatValue), p.m_type, static_cast<const char16_t*>(name), p.m_id);
        break;
      default:
        sql.Format(u"update t_System%d set Val='%s',Type=%d,Name='%s' where ID = %d", table,
                   static_cast<const char16_t*>(SqlQuoted(p.m_val)), p.m_type, static_cast<const char16_t*>(name),
                   p.m_id);
        break;
    }
    statements.push_back(sql);
  }
  return g_db.ExecSqlList(statements);
}

int DeleteSysParam(const SysParam& param, bool all, int table) {
  if (!g_db.IsOpen()) return 0;
  CString sql;
  if (all) {
    sql.Format(u"delete from t_System%d", table);
  } else {
    sql.Format(u"delete from t_System%d where ID = %d", table, param.m_id);
  }
  return g_db.ExecSql(sql);
}

bool LoadSysParams(SysParamArray& rows, int kind, int table, int type) {
  rows.clear();
  if (!g_db.IsOpen()) return false;
  const CString sql = SystemTableQuery(kind, table, type);
  if (sql.IsEmpty()) return false;
  bool any = ReadRows(sql, [&rows](CSqliteQuery& q) {
    rows.emplace_back();
    ReadSysParamRow(q, rows.back());
    return true;
  });
  if (!any) rows.clear();
  return any;
}

bool LoadLanguageRows(LanguageRowArray& rows) {
  rows.clear();
  if (!g_db.IsOpen()) return false;
  bool any = ReadRows(u"select * from t_Language", [&rows](CSqliteQuery& q) {
    rows.emplace_back();
    LanguageRow& row = rows.back();
    row.m_id = q.GetIntField(0);
    for (int i = 0; i < LanguageRow::kLanguages; ++i) row.m_texts[i] = q.GetStringField(1 + i);
    return true;
  });
  if (!any) rows.clear();
  return any;
}

bool LoadLangEnable(LangEnableRow& row, int dealerId) {
  if (!g_db.IsOpen()) return false;
  CString sql;
  sql.Format(u"select * from t_Langenable where ID = %d", dealerId);
  LangEnableRow read;
  bool any = ReadRows(sql, [&read](CSqliteQuery& q) {
    read.m_id = q.GetIntField(0);
    for (int i = 0; i < LangEnableRow::kLanguages; ++i) read.m_flags[i] = q.GetIntField(1 + i);
    return false;
  });
  if (any) row = read;
  return any;
}
