// The system's 60 faults and their per-second step. Each fault has a code ("P01" to "S14"), a text
// id of the language table, a silent flag (kept out of the main screen's ticker), a raw condition
// (a bit of a fault word, or of the status word for the protective states that the control rules
// set) and, for most, a status bit that publishes its debounced state to the control.
// Everything here runs on the engine thread under the engine's fault lock, or on the GUI thread
// under the same lock when the table is rebuilt.
#pragma once

#include <cstdint>
#include <vector>

#include "FaultEntry.h"

class CSystemData;

constexpr int kFaultCount = 60;
constexpr int kFaultHistoryMax = 100;
constexpr int kFaultP05 = 4;
// P05 held this many seconds makes F07's condition (bit 27 of the first fault word).
constexpr int32_t kP05EscalationSeconds = 600;
constexpr uint32_t kP05EscalationBit = 1u << 27;

enum class FaultWord : uint8_t { None, Word1, Word2, Status };
enum class StatusWord : uint8_t { None, StatusB, Status };

struct FaultDef {
  const char16_t* code;
  int silent;
  int textId;
  FaultWord source;  // where the raw condition is read
  uint8_t sourceBit;
  StatusWord target;  // where the debounced state is published
  uint8_t targetBit;
  bool stopsHeatPump;  // an active fault of this kind makes the heat pump unavailable
};

extern const FaultDef kFaultDefs[kFaultCount];

// The raw condition of fault `index` from the record's fault and status words.
int FaultCondition(const CSystemData& record, int index);

// Fills the 60 entries' codes, texts and silent flags; `text` gives the language table's text of an
// id (an empty text for an id the table does not hold). The table must hold 60 entries. States and
// times stay; an active fault keeps the ID of its row.
typedef CString (*FaultTextLookup)(int textId);
void InitFaultEntries(std::vector<FaultEntry>& table, FaultTextLookup text);

// Rebuilds the history from t_HPErr (up to 100 rows, newest first, rows of unknown codes left
// out) and sets record.m_faultSeq to the largest fault ID stored, so new IDs follow every row.
// A failed read leaves the history empty and the sequence at 0.
void LoadFaultHistory(const std::vector<FaultEntry>& table, std::vector<FaultEntry>& history, CSystemData& record);

// The fault step of one second: debounces every entry from its condition, publishes the results into
// m_statusBitsB and m_statusBits, counts the P05 escalation, computes m_heatPumpAvailable and moves
// the entries that just ended to the front of the history (at most 100 kept). With `later`, the
// database writes are left there for the caller to run once it released the fault lock.
void RunFaultStep(std::vector<FaultEntry>& table, std::vector<FaultEntry>& history, CSystemData& record, int64_t now,
                  FaultWrites* later = nullptr);
