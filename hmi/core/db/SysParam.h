// One row of a parameter table t_System0/1/2: the settings of the main program and the launcher's
// carry-over. Val is always stored as text; the numeric value is kept beside it by Type.
#pragma once

#include <vector>

#include "Platform.h"

struct SysParam {
  enum { kTypeInt = 0, kTypeDecimal = 1, kTypeText = 2 };

  int m_id = 0;             // column ID, the parameter number
  CString m_val;            // column Val, as stored
  int m_type = 0;           // column Type: 0 integer, 1 one decimal, 2 text
  CString m_name;           // column Name
  int m_intValue = 0;       // the value of a Type 0 row
  float m_floatValue = 0;   // the value of a Type 1 row
};

typedef std::vector<SysParam> SysParamArray;
