// The heat pump's controller: one static global (g_engine) that owns the system record and the
// parameter table, and whose worker thread runs the control once per wall-clock second.
#pragma once

#include <cstdint>

#include "CSystemData.h"
#include "CWorkThread.h"
#include "ParamTable.h"

class CControlEngine : public CWorkThread {
public:
  CControlEngine();
  ~CControlEngine() override;

  CSystemData m_systemData;          // the system record
  int64_t m_nextLogTime = 0;         // seconds of the next minute-log row
  ParamTable m_paramTable;
};

extern CControlEngine g_engine;
