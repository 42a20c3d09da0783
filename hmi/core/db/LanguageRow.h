// One row of t_Language: a text id and its text in each of the 50 language columns.
#pragma once

#include <vector>

#include "Platform.h"

struct LanguageRow {
  enum { kLanguages = 50 };

  int m_id = 0;
  CString m_texts[kLanguages];  // column 1 + language
};

typedef std::vector<LanguageRow> LanguageRowArray;
