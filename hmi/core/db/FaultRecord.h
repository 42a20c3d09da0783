// One row of the fault log t_HPErr: the fault's ID and code, its start time and, as the record's
// m_time, its end time (equal to the start while the fault lasts), with a snapshot of the values.
#pragma once

#include <cstdint>
#include <vector>

#include "Platform.h"
#include "RealRecord.h"

struct FaultRecord : RealRecord {
  int m_id = 0;             // column 0 ID
  CString m_code;           // column 1, the fault code ("P01")
  int64_t m_startTime = 0;  // column 2
};

typedef std::vector<FaultRecord> FaultRecordArray;
