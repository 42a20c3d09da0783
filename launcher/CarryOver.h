// The settings carry-over of an update: before the new program is started for its check, the installed
// database's language choices and live parameter settings are copied into the staged database, which
// keeps only its own two version rows (IDs 1 and 2, software and table version). Each operation opens
// its own facade on the full path (pool of 2) and closes it again; a database that is not open makes it
// return 0 and do nothing. GUI thread of the launcher.
#pragma once

#include "LangEnableRow.h"
#include "Platform.h"
#include "SysParam.h"

// "select * from t_Langenable" on the installed database. 1 when the rows were read (none is fine).
int ReadLangEnable(LangEnableRowArray& rows);
// One "Replace into t_Langenable" per row into the staged database, in one transaction; 1 on commit.
int WriteLangEnable(const LangEnableRowArray& rows);
// kind 0 "select * from t_System<n>", kind 1 "... where Type = <type>"; other kinds 0. 1 when read.
int ReadSystemTable(SysParamArray& rows, int kind, int n, int type);
// The same on the staged database.
int ReadNewSystemTable(SysParamArray& rows, int kind, int n, int type);
// One "Replace into t_System<n>" per row into the staged database, in one transaction; 1 on commit.
int WriteSystemTable(const SysParamArray& rows, int n);

// The whole carry-over. The version rows are matched by ID, not by their place in the result. An
// installed database that is missing or no database has no settings to give: the staged one keeps its
// own (said in the log) and only its versions are learnt. False, with the staged database's tables
// perhaps partly written and the installation untouched, when a database cannot be opened or read (a
// busy one included), a version row is missing from either, or a write fails: the update must then
// not go on to its check.
bool CarryOverSettings(int& expectedSoftware, int& expectedTable);

// The ID of the software version row and of the table version row of t_System0.
constexpr int kSoftwareVersionId = 1;
constexpr int kTableVersionId = 2;
