// The heat pump's controller: one static global (g_engine) that owns the system record and the
// parameter table, and whose worker thread runs the control once per wall-clock second.
// InitParams runs on the GUI thread at start-up (before the thread starts) and on the engine thread
// for a profile request; ServeParamRequest runs at the end of each engine cycle. Neither takes a lock;
// the database calls borrow pooled connections.
#pragma once

#include <cstdint>

#include "CSystemData.h"
#include "CWorkThread.h"
#include "ParamTable.h"

class CControlEngine : public CWorkThread {
public:
  CControlEngine();
  ~CControlEngine() override;

  // Sets the version fields, loads t_System<n> over the record and, when the stored table version
  // is not 110, rebuilds all three parameter tables from the factory defaults. Clears the request
  // word. Always 1.
  int InitParams(int n);
  // Acts on CSystemData::m_paramRequest: 1/2 load profile 1/2, 3/4 save the stored values as profile
  // 1/2, anything else saves the changed settings; the word ends at 0.
  void ServeParamRequest();

  CSystemData m_systemData;          // the system record
  int64_t m_nextLogTime = 0;         // seconds of the next minute-log row
  ParamTable m_paramTable;
};

extern CControlEngine g_engine;
