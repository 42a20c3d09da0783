// The table functions of the main program: one call per SQL statement on the tables of "Quellora.db",
// all on the global facade g_db. Each returns 0 (false) at once when g_db is not open.
// Writes return the facade's result: 1 committed, 0 rolled back (or not open). Reads empty their output
// first, append the rows in the order SQLite returns them and return true when at least one row was
// read; a read that fails on the way reports no rows (output empty, false) and never throws.
// Values are written into the SQL text and rows are read back by column position, so the column order
// of each table is the contract. Called from the engine's thread and the user-interface thread alike.
#pragma once

#include <cstdint>

#include "CSqliteQuery.h"
#include "FaultRecord.h"
#include "LangEnableRow.h"
#include "LanguageRow.h"
#include "Platform.h"
#include "RealRecord.h"
#include "SysParam.h"

// A text value ready to go between single quotes: each quote doubled, every other character kept.
CString SqlQuoted(const char16_t* text);
// Reads the current row of a "select * from t_System%d" query: ID, Val, Type, Name, and the value from Val
// as an integer (Type 0) or a float (Type 1).
void ReadSysParamRow(CSqliteQuery& q, SysParam& p);
// kind 0 "select * from t_System<table>", kind 1 "select * from t_System<table> where Type = <type>";
// empty for any other kind.
CString SystemTableQuery(int kind, int table, int type);

// Minute log t_RealHP.
int InsertRealData(const RealRecord& record);
// kind 0: every row; kind 1: the rows older than now - days * 86400. Other kinds: 0.
int DeleteRealData(int kind, int64_t now = 0, int days = 0);
// kind 0: every row; kind 1: rows with TM >= from; kind 2: from <= TM <= to. At most 10000 rows.
bool LoadRealData(RealRecordArray& rows, int kind, int64_t from = 0, int64_t to = 0);

// Fault log t_HPErr.
int InsertFault(const FaultRecord& record);
// Writes the record's m_time as the end time of the row with its ID.
int UpdateFaultEnd(const FaultRecord& record);
// kind 0: every row; kind 1: the rows whose ID is below newestId - 99, keeping the newest 100.
int DeleteFaults(int kind, int newestId = 0);
// kind 0: the row with the record's ID; kind 1: the first row. Fills the record; false when none.
bool LoadFault(FaultRecord& record, int kind);
// The first count rows.
bool LoadFaults(FaultRecordArray& rows, int count);

// Parameter tables t_System<table>.
int InsertSysParam(const SysParam& param, int table);
// Updates every row by ID in one transaction.
int SaveSysParams(const SysParamArray& params, int table);
// all: every row; else the row with the param's ID.
int DeleteSysParam(const SysParam& param, bool all, int table);
// kind 0: every row; kind 1: the rows of the given Type.
bool LoadSysParams(SysParamArray& rows, int kind, int table, int type = 0);

// Language tables.
bool LoadLanguageRows(LanguageRowArray& rows);
// The dealer's enable row; false (row untouched) when the dealer has none.
bool LoadLangEnable(LangEnableRow& row, int dealerId);
