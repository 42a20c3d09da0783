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
// inserted stays due and is tried again at the next call. Until each unit has answered since start
// or stands in its link fault (UnitsHeard) a due row waits within its minute; when the minute is over
// it is written, the silent unit's columns holding the record's zeros. The ambient windows advance
// only once the outdoor unit's first reply has filled them. Returns 1 when a row was written or
// tried, 0 when none was due or it waits.
int WriteMinuteLog(CSystemData& record, int64_t& nextLogTime, int64_t now);

// The time of the first row after start: the current minute, or the next one when the log already
// holds the current minute's row.
int64_t FirstLogTime(int64_t now);

// The start of the minute that `now` lies in.
int64_t MinuteStart(int64_t now);
