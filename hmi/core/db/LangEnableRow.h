// One row of t_Langenable: a dealer id and which of the 50 languages that dealer offers.
#pragma once

#include <vector>

struct LangEnableRow {
  enum { kLanguages = 50 };

  int m_id = 0;                    // the dealer id
  int m_flags[kLanguages] = {};    // column 1 + language; non-zero: offered
};

typedef std::vector<LangEnableRow> LangEnableRowArray;
