// The minute log: one t_RealHP row per whole minute with a snapshot of the record, seven days kept,
// and the running ambient averages that advance with each row. Engine thread, once a second.
#pragma once

#include <cstdint>

struct CSystemData;

constexpr int kLogKeepDays = 7;

// Writes at most one row: the one due at nextLogTime, when that lies before `now` (local seconds).
// The row holds zeros but its time while the indoor link fault is active. After the row, rows
// older than seven days before it are deleted, the minute and hourly ambient windows advance, and
// nextLogTime moves on by 60 s. A backlog is caught up one row per call; a gap longer than the
// seven days kept is skipped, the log resuming at the current minute. A row that could not be
// inserted stays due and is tried again at the next call. Before both units have answered since
// start (CSystemData::m_unitsAnswered) a due row waits; once the next one is due too it is left
// out, the ambient windows advancing all the same. Returns 1 when a row was due and the units had
// answered, else 0.
int WriteMinuteLog(CSystemData& record, int64_t& nextLogTime, int64_t now);

// The time of the first row after start: the current minute, or the next one when the log already
// holds the current minute's row.
int64_t FirstLogTime(int64_t now);

// The start of the minute that `now` lies in.
int64_t MinuteStart(int64_t now);
