// The parameter table: binds the 326 settings (IDs 0..325) to their fields of the system record, writes
// the factory defaults into them, and moves them between the record and the t_System0 (live set),
// t_System1 and t_System2 (profiles) tables. Owned by the engine and used on the engine thread; the
// screens write the bound fields from the GUI thread at any time, which the next SaveChanged picks up.
// Takes no lock of its own; each database call borrows a pooled connection.
#pragma once

#include <cstdint>
#include <vector>

#include "CString.h"

struct CSystemData;

struct ParamEntry {
  int32_t m_id = 0;                  // parameter ID, equal to the entry's index and the row's ID
  int32_t m_value = 0;               // value last stored in the database (the default after a build)
  int32_t* m_pSetting = nullptr;     // the bound field of the system record
  CString m_text;                    // description with its range, written as the Name column
};

class ParamTable {
public:
  static const int kCount = 326;
  // Stored table version; a database holding another one is rebuilt from the defaults.
  static const int kDataVersion = 110;

  // Appends {id, default, field, text} and writes the default into the field.
  void Add(int id, int32_t* field, int32_t defaultValue, const char16_t* text);
  // Empties the table and adds the 326 entries in ID order, leaving every bound field at its default.
  // IDs 1 and 2 take the record's m_softwareVersion and m_dataVersion as they stand.
  void Build(CSystemData& record);

  // n = 0..2 selects t_System<n>. Load (save = 0): rows with IDs inside the table overwrite field and
  // stored value; others are ignored; for n != 0 the loaded rows then replace the live set in
  // t_System0. Save (save = 1): the stored values, in full (delete all rows, insert each) or as one
  // batch of updates. Returns 1 when the database calls succeeded, 0 when one failed or was refused.
  int SyncDb(int n, int save, int full = 0);
  // Copies every field that differs from its stored value into the stored value and updates those
  // rows of t_System0 in one batch. Returns the database result: 1 committed, 0 refused.
  int SaveChanged();

  int GetSize() const { return static_cast<int>(m_entries.size()); }
  // Throws std::invalid_argument for an index outside the table.
  ParamEntry& GetAt(int index);
  const ParamEntry& GetAt(int index) const;
  void RemoveAll() { m_entries.clear(); }

private:
  std::vector<ParamEntry> m_entries;
};
