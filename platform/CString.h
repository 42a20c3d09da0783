// The class library's UTF-16 string. Every text of the programs is a CString of char16_t;
// conversion to UTF-8 happens only where the layer meets Linux (paths, fonts, debug output).
// Value semantics (copies share nothing observable); not thread-safe per object, like the original.
// Format and AppendFormat follow printf in the C locale; %s and %c take UTF-16 arguments,
// %S and %C narrow ones, %I64d/%I64u/%lld 64-bit integers. Pass (LPCTSTR)str, not a CString, to "%s".
#pragma once

#include <cstdarg>
#include <string>

#include "WinTypes.h"

class CString {
public:
  CString() = default;
  CString(const char16_t* text);
  CString(const char16_t* text, int length);
  CString(char16_t ch, int repeat = 1);
  CString(const std::u16string& text) : m_s(text) {}
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(const char16_t* text);
  CString& operator=(char16_t ch);

  // Conversions at the Linux boundary. Invalid UTF-8 bytes become U+FFFD.
  static CString FromUtf8(const std::string& utf8);
  std::string ToUtf8() const;

  int GetLength() const { return static_cast<int>(m_s.size()); }
  bool IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  // Out-of-range indices read as 0 and write nothing (the original asserts).
  char16_t GetAt(int index) const;
  void SetAt(int index, char16_t ch);
  char16_t operator[](int index) const { return GetAt(index); }
  operator const char16_t*() const { return m_s.c_str(); }
  const char16_t* GetString() const { return m_s.c_str(); }
  const std::u16string& Str() const { return m_s; }

  void Format(const char16_t* format, ...);
  void AppendFormat(const char16_t* format, ...);

  CString& operator+=(const CString& other);
  CString& operator+=(const char16_t* text);
  CString& operator+=(char16_t ch);
  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char16_t* b);
  friend CString operator+(const char16_t* a, const CString& b);
  friend CString operator+(const CString& a, char16_t b);

  friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
  friend bool operator==(const CString& a, const char16_t* b);
  friend bool operator==(const char16_t* a, const CString& b) { return b == a; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char16_t* b) { return !(a == b); }
  friend bool operator!=(const char16_t* a, const CString& b) { return !(b == a); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

  // <0, 0 or >0 as the texts order by code unit; NoCase folds ASCII letters.
  int Compare(const char16_t* other) const;
  int CompareNoCase(const char16_t* other) const;

  CString Left(int count) const;
  CString Right(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  // Index of the first match at or after start, or -1.
  int Find(char16_t ch, int start = 0) const;
  int Find(const char16_t* sub, int start = 0) const;
  int ReverseFind(char16_t ch) const;
  int FindOneOf(const char16_t* chars) const;
  // Number of replacements made / characters removed.
  int Replace(char16_t from, char16_t to);
  int Replace(const char16_t* from, const char16_t* to);
  int Remove(char16_t ch);
  int Insert(int index, char16_t ch);
  int Insert(int index, const char16_t* text);
  int Delete(int index, int count = 1);
  CString& Trim();
  CString& TrimLeft();
  CString& TrimRight();
  CString& Trim(char16_t ch);
  CString& TrimLeft(char16_t ch);
  CString& TrimRight(char16_t ch);
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();
  CString Tokenize(const char16_t* delimiters, int& start) const;

  // Raw buffer access: GetBuffer(n) gives room for n characters plus the terminator;
  // ReleaseBuffer(-1) takes the length from the terminator.
  char16_t* GetBuffer(int minLength = 0);
  char16_t* GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

private:
  std::u16string m_s;
};

// Length of a terminated UTF-16 text (0 for null).
size_t WStrLen(const char16_t* text);
// Bounded copy: copies at most capacity-1 characters and always terminates (capacity > 0).
void WStrCopy(char16_t* dest, size_t capacity, const char16_t* src);
int WStrCmp(const char16_t* a, const char16_t* b);
int WStrICmp(const char16_t* a, const char16_t* b);
// printf into a std::u16string with the same conversions as CString::Format.
std::u16string WFormatV(const char16_t* format, va_list args);
// Numbers parsed the way the class library's _wtoi/_wtof/wcstol do: leading blanks, sign, digits.
int WToI(const char16_t* text);
double WToF(const char16_t* text);
long WStrToL(const char16_t* text, char16_t** end, int base);
std::string ToUtf8(const char16_t* text);
std::u16string FromUtf8(const std::string& utf8);
