// The engine's fault table and history as the screens reach them, always under the fault lock.
#include "CControlEngine.h"

#include "FaultTable.h"
#include "LangTexts.h"

namespace {

CString FaultText(int textId) {
  int index = textId - 1;
  if (index < 0 || index >= static_cast<int>(LangTexts.GetSize())) return CString();
  return LangTexts[index];
}

}  // namespace

void CControlEngine::BuildFaultTable() {
  FaultTableLock guard(*this);
  if (static_cast<int>(m_faultTable.size()) < kFaultCount) m_faultTable.resize(kFaultCount);
  InitFaultEntries(m_faultTable, FaultText);
  LoadFaultHistory(m_faultTable, m_faultHistory, m_systemData);
}

std::vector<FaultEntry> CControlEngine::CopyFaultTable() {
  FaultTableLock guard(*this);
  return m_faultTable;
}

std::vector<FaultEntry> CControlEngine::CopyFaultHistory() {
  FaultTableLock guard(*this);
  return m_faultHistory;
}

void CControlEngine::ClearFaultHistory() {
  FaultTableLock guard(*this);
  m_faultHistory.clear();
}
