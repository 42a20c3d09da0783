// The texts of the chosen language: LangTexts holds the 500 texts by text id (id N is element N - 1),
// LangNames the names of the 50 languages, "" for a language the dealer does not offer. LoadLanguage
// fills both from t_Language and t_Langenable. The GUI thread loads; screens and the fault table read
// them afterwards without a lock (the engine's start-up loads before its thread runs).
#pragma once

#include <vector>

#include "Platform.h"

// A growable array of texts whose reads outside the array give "" instead of failing, so a caption
// with an id beyond the loaded texts shows empty.
class CTextArray {
public:
  int GetSize() const { return static_cast<int>(m_texts.size()); }
  bool IsEmpty() const { return m_texts.empty(); }
  // Grows with empty texts or cuts to the size.
  void SetSize(int size);
  // The text at index, or "" outside 0..size-1.
  const CString& GetAt(int index) const;
  const CString& operator[](int index) const { return GetAt(index); }
  // Ignored outside 0..size-1.
  void SetAt(int index, const CString& text);

private:
  std::vector<CString> m_texts;
};

extern CTextArray LangTexts;  // 500 texts once loaded; text id N is element N - 1
extern CTextArray LangNames;  // 50 names once loaded

// Text id N (1..499) of the loaded language; "" for any other id or before the first load.
const CString& LangText(int textId);

// Loads the texts of column `language` of t_Language (a number above 49, or a negative one, is taken
// as 15, the service language) and the names of the languages enabled for the dealer (none enabled
// when the dealer has no t_Langenable row). Ids without a row keep their previous text; with the
// database closed both arrays keep their content.
void LoadLanguage(int dealerId, int language);
