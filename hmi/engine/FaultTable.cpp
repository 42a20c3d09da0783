#include "FaultTable.h"

#include "CSystemData.h"
#include "CppSQLite3Exception.h"
#include "DbTables.h"

// index: code, silent, text id, condition word and bit, published word and bit, stops the heat pump.
// P04, P12, P13 and F08 have no condition: they exist for their codes and texts only. The protective
// states of the status word (F29, F30, S01-S03, S06-S12) are set by the control rules themselves, so
// their entries only debounce and record them.
const FaultDef kFaultDefs[kFaultCount] = {
    {u"P01", 1, 317, FaultWord::Word1, 0, StatusWord::StatusB, 0, false},  // 0
    {u"P02", 1, 318, FaultWord::Word1, 1, StatusWord::StatusB, 1, false},  // 1
    {u"P03", 1, 319, FaultWord::Word1, 2, StatusWord::StatusB, 2, false},  // 2
    {u"P04", 1, 320, FaultWord::None, 0, StatusWord::None, 0, false},  // 3
    {u"P05", 1, 321, FaultWord::Word1, 4, StatusWord::StatusB, 4, false},  // 4
    {u"P06", 1, 322, FaultWord::Word1, 5, StatusWord::StatusB, 5, false},  // 5
    {u"P07", 1, 323, FaultWord::Word1, 6, StatusWord::StatusB, 6, false},  // 6
    {u"P08", 1, 324, FaultWord::Word1, 7, StatusWord::StatusB, 7, false},  // 7
    {u"P09", 1, 325, FaultWord::Word1, 8, StatusWord::StatusB, 8, false},  // 8
    {u"P10", 1, 326, FaultWord::Word1, 9, StatusWord::StatusB, 9, false},  // 9
    {u"P11", 1, 327, FaultWord::Word1, 10, StatusWord::StatusB, 10, true},  // 10
    {u"P12", 1, 358, FaultWord::None, 0, StatusWord::None, 0, false},  // 11
    {u"P13", 1, 359, FaultWord::None, 0, StatusWord::None, 0, false},  // 12
    {u"E01", 0, 340, FaultWord::Word1, 13, StatusWord::StatusB, 13, true},  // 13
    {u"E02", 0, 341, FaultWord::Word1, 14, StatusWord::StatusB, 14, true},  // 14
    {u"E03", 0, 342, FaultWord::Word1, 15, StatusWord::StatusB, 15, true},  // 15
    {u"E04", 0, 343, FaultWord::Word1, 16, StatusWord::StatusB, 16, true},  // 16
    {u"E05", 0, 344, FaultWord::Word1, 17, StatusWord::StatusB, 17, true},  // 17
    {u"E06", 0, 345, FaultWord::Word1, 18, StatusWord::StatusB, 18, true},  // 18
    {u"E07", 0, 346, FaultWord::Word1, 19, StatusWord::StatusB, 19, true},  // 19
    {u"E08", 0, 347, FaultWord::Word1, 20, StatusWord::StatusB, 20, true},  // 20
    {u"F01", 0, 328, FaultWord::Word1, 21, StatusWord::StatusB, 21, true},  // 21
    {u"F02", 0, 329, FaultWord::Word1, 22, StatusWord::StatusB, 22, true},  // 22
    {u"F03", 0, 330, FaultWord::Word1, 23, StatusWord::StatusB, 23, true},  // 23
    {u"F04", 0, 331, FaultWord::Word1, 24, StatusWord::StatusB, 24, true},  // 24
    {u"F05", 0, 332, FaultWord::Word1, 25, StatusWord::StatusB, 25, true},  // 25
    {u"F06", 0, 333, FaultWord::Word1, 26, StatusWord::StatusB, 26, true},  // 26
    {u"F07", 0, 334, FaultWord::Word1, 27, StatusWord::StatusB, 27, true},  // 27
    {u"F08", 0, 335, FaultWord::None, 0, StatusWord::None, 0, true},  // 28
    {u"F09", 0, 336, FaultWord::Word1, 29, StatusWord::StatusB, 29, false},  // 29
    {u"F10", 0, 337, FaultWord::Word1, 30, StatusWord::StatusB, 30, true},  // 30
    {u"F11", 0, 338, FaultWord::Word1, 31, StatusWord::StatusB, 31, true},  // 31
    {u"F12", 0, 339, FaultWord::Word2, 0, StatusWord::Status, 0, true},  // 32
    {u"F13", 0, 348, FaultWord::Word2, 1, StatusWord::Status, 1, false},  // 33
    {u"F14", 0, 349, FaultWord::Word2, 2, StatusWord::Status, 2, false},  // 34
    {u"F15", 0, 350, FaultWord::Word2, 3, StatusWord::Status, 3, false},  // 35
    {u"F16", 0, 351, FaultWord::Word2, 4, StatusWord::Status, 4, false},  // 36
    {u"F17", 0, 352, FaultWord::Word2, 5, StatusWord::Status, 5, false},  // 37
    {u"F18", 0, 353, FaultWord::Word2, 6, StatusWord::Status, 6, false},  // 38
    {u"F21", 0, 356, FaultWord::Word2, 7, StatusWord::Status, 7, false},  // 39
    {u"F22", 0, 357, FaultWord::Word2, 8, StatusWord::Status, 8, false},  // 40
    {u"F25", 0, 360, FaultWord::Word2, 9, StatusWord::Status, 9, false},  // 41
    {u"F27", 0, 362, FaultWord::Word2, 10, StatusWord::Status, 10, false},  // 42
    {u"F28", 0, 363, FaultWord::Word2, 11, StatusWord::Status, 11, false},  // 43
    {u"F29", 0, 364, FaultWord::Status, 12, StatusWord::None, 0, false},  // 44
    {u"F30", 0, 365, FaultWord::Status, 13, StatusWord::None, 0, false},  // 45
    {u"S01", 1, 366, FaultWord::Status, 14, StatusWord::None, 0, false},  // 46
    {u"S02", 1, 367, FaultWord::Status, 15, StatusWord::None, 0, false},  // 47
    {u"S03", 0, 368, FaultWord::Status, 16, StatusWord::None, 0, false},  // 48
    {u"S04", 0, 369, FaultWord::Word2, 17, StatusWord::Status, 17, false},  // 49
    {u"S05", 0, 370, FaultWord::Word2, 18, StatusWord::Status, 18, true},  // 50
    {u"S06", 1, 371, FaultWord::Status, 19, StatusWord::None, 0, false},  // 51
    {u"S07", 1, 372, FaultWord::Status, 20, StatusWord::None, 0, false},  // 52
    {u"S08", 0, 373, FaultWord::Status, 21, StatusWord::None, 0, false},  // 53
    {u"S09", 1, 374, FaultWord::Status, 22, StatusWord::None, 0, false},  // 54
    {u"S10", 0, 375, FaultWord::Status, 23, StatusWord::None, 0, false},  // 55
    {u"S11", 0, 386, FaultWord::Status, 24, StatusWord::None, 0, false},  // 56
    {u"S12", 0, 145, FaultWord::Status, 25, StatusWord::None, 0, false},  // 57
    {u"S13", 0, 139, FaultWord::Word2, 26, StatusWord::Status, 26, true},  // 58
    {u"S14", 0, 140, FaultWord::Word2, 27, StatusWord::Status, 27, true},  // 59
};

namespace {

uint32_t Bit(int bit) { return 1u << bit; }

void Publish(CSystemData& record, const FaultDef& def, int active) {
  uint32_t* word = nullptr;
  if (def.target == StatusWord::StatusB) word = &record.m_statusBitsB;
  if (def.target == StatusWord::Status) word = &record.m_statusBits;
  if (!word) return;
  if (active) {
    *word |= Bit(def.targetBit);
  } else {
    *word &= ~Bit(def.targetBit);
  }
}

FaultEntry HistoryEntry(const FaultEntry& known, const FaultRecord& row) {
  FaultEntry entry;
  entry.m_code = known.m_code;
  entry.m_text = known.m_text;
  entry.m_start = row.m_startTime;
  entry.m_end = row.m_time < row.m_startTime ? row.m_startTime : row.m_time;
  entry.m_historyId = row.m_id;
  return entry;
}

// Reads up to `limit` rows; a read that throws counts as a failed read.
bool ReadFaultRows(FaultRecordArray& rows, int limit) {
  try {
    return LoadFaults(rows, limit);
  } catch (const CppSQLite3Exception&) {
    rows.clear();
    return false;
  }
}

}  // namespace

int FaultCondition(const CSystemData& record, int index) {
  const FaultDef& def = kFaultDefs[index];
  uint32_t word = 0;
  switch (def.source) {
    case FaultWord::None: return 0;
    case FaultWord::Word1: word = record.m_faultWord1; break;
    case FaultWord::Word2: word = record.m_faultWord2; break;
    case FaultWord::Status: word = record.m_statusBits; break;
  }
  return (word & Bit(def.sourceBit)) ? 1 : 0;
}

void InitFaultEntries(std::vector<FaultEntry>& table, FaultTextLookup text) {
  for (int i = 0; i < kFaultCount && i < static_cast<int>(table.size()); ++i) {
    const FaultDef& def = kFaultDefs[i];
    FaultEntry& entry = table[i];
    // A fault active across a rebuild (a language change) keeps its row, so its end time still reaches it.
    int32_t activeRow = entry.m_state == FaultEntry::kActive ? entry.m_historyId : 0;
    entry.Init(def.code, text(def.textId), def.silent);
    if (activeRow) entry.m_historyId = activeRow;
  }
}

void LoadFaultHistory(const std::vector<FaultEntry>& table, std::vector<FaultEntry>& history, CSystemData& record) {
  history.clear();
  record.m_faultSeq = 0;
  FaultRecordArray rows;
  ReadFaultRows(rows, kFaultHistoryMax);
  int32_t newest = 0;
  for (const FaultRecord& row : rows) {
    if (row.m_id > newest) newest = row.m_id;
    if (static_cast<int>(history.size()) >= kFaultHistoryMax) continue;
    for (const FaultEntry& known : table) {
      if (known.m_code == row.m_code) {
        history.insert(history.begin(), HistoryEntry(known, row));
        break;
      }
    }
  }
  // The table normally keeps 100 rows; when a trim failed it holds more, and the newest ID lies
  // beyond the first 100 rows read.
  if (static_cast<int>(rows.size()) >= kFaultHistoryMax) {
    FaultRecordArray all;
    ReadFaultRows(all, 0x7FFFFFFF);
    for (const FaultRecord& row : all) {
      if (row.m_id > newest) newest = row.m_id;
    }
  }
  // New IDs must follow every stored row, not only the newest shown one: a reused ID would make a
  // later clearing end two rows and the trim remove the wrong ones.
  record.m_faultSeq = newest;
}

void RunFaultStep(std::vector<FaultEntry>& table, std::vector<FaultEntry>& history, CSystemData& record, int64_t now,
                  FaultWrites* later) {
  int count = static_cast<int>(table.size()) < kFaultCount ? static_cast<int>(table.size()) : kFaultCount;
  int active[kFaultCount] = {};
  for (int i = 0; i < count; ++i) active[i] = table[i].Debounce(FaultCondition(record, i), record, now, later);
  for (int i = 0; i < count; ++i) Publish(record, kFaultDefs[i], active[i]);

  if (active[kFaultP05]) {
    ++record.m_p05Seconds;
    if (record.m_p05Seconds > kP05EscalationSeconds) record.m_faultWord1 |= kP05EscalationBit;
  } else {
    record.m_p05Seconds = 0;
  }

  int available = 1;
  for (int i = 0; i < count; ++i) {
    if (active[i] && kFaultDefs[i].stopsHeatPump) available = 0;
  }
  record.m_heatPumpAvailable = available;

  for (int i = 0; i < count; ++i) {
    if (table[i].m_state != FaultEntry::kEnded) continue;
    table[i].m_state = 0;
    history.insert(history.begin(), table[i]);
    if (static_cast<int>(history.size()) > kFaultHistoryMax) history.erase(history.begin() + kFaultHistoryMax);
  }
}
