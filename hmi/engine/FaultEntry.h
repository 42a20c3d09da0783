// One fault of the system: its code and text, its debounce state and the times and t_HPErr row of
// its last activation. The same type serves the engine's 60-entry fault table and its history list.
// Debounced once a second on the engine thread, under the engine's fault lock.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "Platform.h"

class CSystemData;

// The database writes of fault activations and ends, kept to run after the fault lock is released:
// a busy database must not hold up the screens' copies of the table.
using FaultWrites = std::vector<std::function<void()>>;

struct FaultEntry {
  // Debounce states: 0 to 9 seconds counted with the condition present, then active, then ended
  // (turned into a history entry within the same second).
  static constexpr int32_t kActive = 10;
  static constexpr int32_t kEnded = 11;

  CString m_code;
  int32_t m_state = 0;
  int32_t m_silent = 0;     // 1: kept out of the main screen's fault ticker
  int64_t m_start = 0;      // seconds, when the fault became active
  int64_t m_end = 0;        // seconds, when it cleared; 0 while active
  CString m_text;
  int32_t m_historyId = 0;  // ID of its t_HPErr row; 0 before the first activation

  // Sets code, text and silent flag and forgets the row ID; state and times stay.
  void Init(const CString& code, const CString& text, int silent);

  // One second with or without the condition, at local time `now`. The tenth consecutive second
  // with it activates the fault: the next fault ID (record.m_faultSeq + 1) becomes its row, which is
  // written to t_HPErr with a snapshot of the record, and the table is trimmed to the newest 100 IDs.
  // After the largest ID the numbering starts again at 1, the rows of the old numbering deleted.
  // The first second without it ends an active fault and writes the end time into its row; any
  // other second without it restarts the count. Database failures are ignored (the fault is still
  // debounced). With `later`, the writes are appended there instead of run (the row and its
  // snapshot are taken now). Returns 1 when the fault is active afterwards, else 0.
  int Debounce(int condition, CSystemData& record, int64_t now, FaultWrites* later = nullptr);
};
