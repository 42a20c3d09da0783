// The start of the parameter tests: a fresh record carrying this program's versions (software 205,
// data 110), with a parameter table built over it.
#pragma once

#include <memory>

#include "CSystemData.h"
#include "ParamTable.h"

namespace enginetest {

// The new record; the table's entries are bound to its fields, so it must outlive the table's use.
inline std::unique_ptr<CSystemData> FactoryRecord(ParamTable& table) {
  auto record = std::make_unique<CSystemData>();
  record->m_softwareVersion = 205;
  record->m_dataVersion = 110;
  table.Build(*record);
  return record;
}

}  // namespace enginetest
