#include "FaultEntry.h"

#include <cstdint>
#include <utility>

#include "CSystemData.h"
#include "CppSQLite3Exception.h"
#include "DbTables.h"
#include "InputMapping.h"

namespace {

const int32_t kLastCountingState = 9;

// The new fault's row: its ID, code and start with a snapshot of the record at activation.
FaultRecord ActivationRow(const FaultEntry& entry, const CSystemData& record) {
  FaultRecord row;
  row.m_id = entry.m_historyId;
  row.m_code = entry.m_code;
  row.m_startTime = entry.m_start;
  row.m_time = entry.m_start;
  MakeSnapshot(record, row);
  return row;
}

// Writes the new fault's row and keeps the newest 100 IDs. When the IDs start over, every older row
// holds a higher ID that the trim would never reach, and a restart would continue after them again:
// the old rows go first.
void RecordActivation(const FaultRecord& activation, bool idsRestart) {
  if (idsRestart) DeleteFaults(0);
  InsertFault(activation);
  DeleteFaults(1, activation.m_id);
}

// Writes the end time into the fault's row. The row is read back first so that the update carries
// the stored record; a read that fails or throws still lets the end time be written by ID.
void RecordEnd(int32_t historyId, int64_t end) {
  FaultRecord row;
  row.m_id = historyId;
  try {
    LoadFault(row, 0);
  } catch (const CppSQLite3Exception&) {
  }
  row.m_id = historyId;
  row.m_time = end;
  UpdateFaultEnd(row);
}

void RunOrKeep(std::function<void()> write, FaultWrites* later) {
  if (later) {
    later->push_back(std::move(write));
  } else {
    write();
  }
}

}  // namespace

void FaultEntry::Init(const CString& code, const CString& text, int silent) {
  m_code = code;
  m_text = text;
  m_silent = silent;
  m_historyId = 0;
}

int FaultEntry::Debounce(int condition, CSystemData& record, int64_t now, FaultWrites* later) {
  if (condition) {
    if (m_state < kLastCountingState) {
      ++m_state;
    } else if (m_state == kLastCountingState) {
      m_start = now;
      m_end = 0;
      m_state = kActive;
      // A stored row may carry any ID up to the largest one (a hand-edited or damaged file); past it
      // the IDs start again at 1.
      bool idsRestart = record.m_faultSeq >= INT32_MAX || record.m_faultSeq < 0;
      m_historyId = idsRestart ? 1 : record.m_faultSeq + 1;
      record.m_faultSeq = m_historyId;
      RunOrKeep([row = ActivationRow(*this, record), idsRestart] { RecordActivation(row, idsRestart); }, later);
    }
  } else if (m_state == kActive) {
    m_end = now;
    m_state = kEnded;
    RunOrKeep([id = m_historyId, end = m_end] { RecordEnd(id, end); }, later);
  } else {
    m_state = 0;
  }
  return m_state == kActive ? 1 : 0;
}
