#include "LangTexts.h"
#include "ProcessObjects.h"

#include "DbTables.h"

namespace {

const int kTextCount = 500;  // text id 500 (element 499) is never filled
const int kLanguageCount = 50;
const int kServiceLanguage = 15;
const int kLanguageNamesId = 16;  // the row holding each language's name in its own column

const CString kEmpty;

}  // namespace

CTextArray LangTexts QUELLORA_PROCESS_OBJECT(QUELLORA_RANK_LANG_TEXTS);
CTextArray LangNames QUELLORA_PROCESS_OBJECT(QUELLORA_RANK_LANG_NAMES);

void CTextArray::SetSize(int size) { m_texts.resize(size < 0 ? 0 : static_cast<size_t>(size)); }

const CString& CTextArray::GetAt(int index) const {
  if (index < 0 || index >= GetSize()) return kEmpty;
  return m_texts[index];
}

void CTextArray::SetAt(int index, const CString& text) {
  if (index < 0 || index >= GetSize()) return;
  m_texts[index] = text;
}

const CString& LangText(int textId) { return LangTexts.GetAt(textId - 1); }

void LoadLanguage(int dealerId, int language) {
  if (LangTexts.IsEmpty()) LangTexts.SetSize(kTextCount);
  if (LangNames.IsEmpty()) LangNames.SetSize(kLanguageCount);

  // A dealer without an enable row offers no language.
  LangEnableRow enable;
  LoadLangEnable(enable, dealerId);

  if (language < 0 || language >= kLanguageCount) language = kServiceLanguage;

  LanguageRowArray rows;
  LoadLanguageRows(rows);
  for (const LanguageRow& row : rows) {
    if (row.m_id < 1 || row.m_id >= kTextCount) continue;
    LangTexts.SetAt(row.m_id - 1, row.m_texts[language]);
    if (row.m_id != kLanguageNamesId) continue;
    for (int j = 0; j < kLanguageCount; ++j) LangNames.SetAt(j, enable.m_flags[j] ? row.m_texts[j] : kEmpty);
  }
}
