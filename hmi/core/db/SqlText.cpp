// The pieces of the table functions that need no database facade, so that a program with facades of
// its own (the launcher) can use them without the main program's global one.
#include "DbTables.h"

CString SqlQuoted(const char16_t* text) {
  CString quoted(text ? text : u"");
  quoted.Replace(u"'", u"''");
  return quoted;
}

void ReadSysParamRow(CSqliteQuery& q, SysParam& p) {
  p.m_id = q.GetIntField(0);
  p.m_val = q.GetStringField(1);
  p.m_type = q.GetIntField(2);
  p.m_name = q.GetStringField(3);
  p.m_intValue = 0;
  p.m_floatValue = 0;
  if (p.m_type == SysParam::kTypeInt) p.m_intValue = q.GetIntField(1);
  if (p.m_type == SysParam::kTypeDecimal) p.m_floatValue = static_cast<float>(q.GetFloatField(1));
}

CString SystemTableQuery(int kind, int table, int type) {
  CString sql;
  switch (kind) {
    case 0:
      sql.Format(u"select * from t_System%d", table);
      break;
    case 1:
      sql.Format(u"select * from t_System%d where Type = %d", table, type);
      break;
    default:
      break;
  }
  return sql;
}
