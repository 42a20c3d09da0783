#include "CString.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }

void AppendCodePoint(std::u16string& out, uint32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

void AppendAscii(std::u16string& out, const char* text) {
  for (; *text; ++text) out.push_back(static_cast<unsigned char>(*text));
}

// One conversion of a format: flags, width, precision, length and the conversion letter.
struct Directive {
  std::string flags;
  int width = -1;
  int precision = -1;
  enum Length { kInt, kShort, kLong, kLongLong } length = kInt;
  char conv = 0;
};

void Pad(std::u16string& out, const std::u16string& body, const Directive& dir) {
  int pad = dir.width - static_cast<int>(body.size());
  bool left = dir.flags.find('-') != std::string::npos;
  if (pad > 0 && !left) out.append(static_cast<size_t>(pad), u' ');
  out += body;
  if (pad > 0 && left) out.append(static_cast<size_t>(pad), u' ');
}

// Numeric conversions are delegated to the C library, whose locale stays "C" in these programs.
void FormatNumber(std::u16string& out, const Directive& dir, va_list& args) {
  std::string fmt = "%" + dir.flags;
  if (dir.width >= 0) fmt += std::to_string(dir.width);
  if (dir.precision >= 0) fmt += "." + std::to_string(dir.precision);
  char buf[512];
  switch (dir.conv) {
    case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': {
      fmt += "ll";
      fmt += dir.conv;
      long long v;
      bool isSigned = dir.conv == 'd' || dir.conv == 'i';
      if (dir.length == Directive::kLongLong) {
        v = va_arg(args, long long);
      } else if (dir.length == Directive::kLong) {
        v = isSigned ? va_arg(args, long) : static_cast<long long>(va_arg(args, unsigned long));
      } else {
        int i = va_arg(args, int);
        if (dir.length == Directive::kShort) {
          v = isSigned ? static_cast<short>(i) : static_cast<unsigned short>(i);
        } else {
          v = isSigned ? static_cast<long long>(i) : static_cast<long long>(static_cast<unsigned>(i));
        }
      }
      if (isSigned) {
        std::snprintf(buf, sizeof buf, fmt.c_str(), v);
      } else {
        unsigned long long u = static_cast<unsigned long long>(v);
        if (dir.length == Directive::kInt) u &= 0xFFFFFFFFull;
        std::snprintf(buf, sizeof buf, fmt.c_str(), u);
      }
      break;
    }
    case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': {
      fmt += dir.conv;
      double d = va_arg(args, double);
      std::snprintf(buf, sizeof buf, fmt.c_str(), d);
      break;
    }
    case 'p': {
      void* p = va_arg(args, void*);
      std::snprintf(buf, sizeof buf, "%p", p);
      break;
    }
    default:
      buf[0] = 0;
  }
  AppendAscii(out, buf);
}

}  // namespace

size_t WStrLen(const char16_t* text) {
  if (!text) return 0;
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

void WStrCopy(char16_t* dest, size_t capacity, const char16_t* src) {
  if (!dest || capacity == 0) return;
  size_t i = 0;
  if (src) {
    for (; i + 1 < capacity && src[i]; ++i) dest[i] = src[i];
  }
  dest[i] = 0;
}

int WStrCmp(const char16_t* a, const char16_t* b) {
  if (!a) a = u"";
  if (!b) b = u"";
  for (; *a && *a == *b; ++a, ++b) {
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

int WStrICmp(const char16_t* a, const char16_t* b) {
  if (!a) a = u"";
  if (!b) b = u"";
  for (; *a && FoldAscii(*a) == FoldAscii(*b); ++a, ++b) {
  }
  return static_cast<int>(FoldAscii(*a)) - static_cast<int>(FoldAscii(*b));
}

std::string ToUtf8(const char16_t* text) {
  std::string out;
  if (!text) return out;
  for (size_t i = 0; text[i]; ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp < 0xDC00 && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp < 0xE000) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::u16string FromUtf8(const std::string& utf8) {
  std::u16string out;
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t n = utf8.size();
  for (size_t i = 0; i < n;) {
    unsigned char c = s[i];
    uint32_t cp;
    int extra;
    if (c < 0x80) { cp = c; extra = 0; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
    else { out.push_back(0xFFFD); ++i; continue; }
    bool ok = true;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= n || (s[i + k] & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += static_cast<size_t>(extra) + 1;
  }
  return out;
}

std::u16string WFormatV(const char16_t* format, va_list argsIn) {
  std::u16string out;
  if (!format) return out;
  va_list args;
  va_copy(args, argsIn);
  for (const char16_t* p = format; *p; ++p) {
    if (*p != u'%') {
      out.push_back(*p);
      continue;
    }
    ++p;
    if (*p == u'%') {
      out.push_back(u'%');
      continue;
    }
    Directive dir;
    while (*p == u'-' || *p == u'+' || *p == u' ' || *p == u'#' || *p == u'0') dir.flags.push_back(static_cast<char>(*p++));
    if (*p == u'*') {
      dir.width = va_arg(args, int);
      if (dir.width < 0) { dir.flags.push_back('-'); dir.width = -dir.width; }
      ++p;
    } else {
      while (*p >= u'0' && *p <= u'9') dir.width = (dir.width < 0 ? 0 : dir.width * 10) + (*p++ - u'0');
    }
    if (*p == u'.') {
      ++p;
      dir.precision = 0;
      if (*p == u'*') {
        dir.precision = va_arg(args, int);
        ++p;
      } else {
        while (*p >= u'0' && *p <= u'9') dir.precision = dir.precision * 10 + (*p++ - u'0');
      }
    }
    if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4') { dir.length = Directive::kLongLong; p += 3; }
    else if (p[0] == u'I' && p[1] == u'3' && p[2] == u'2') { p += 3; }
    else if (p[0] == u'l' && p[1] == u'l') { dir.length = Directive::kLongLong; p += 2; }
    else if (*p == u'l') { dir.length = Directive::kLong; ++p; }
    else if (*p == u'h') { dir.length = Directive::kShort; ++p; }
    if (!*p) break;
    dir.conv = static_cast<char>(*p);
    switch (*p) {
      case u's': case u'S': {
        std::u16string body;
        bool wide = (*p == u's') != (dir.length == Directive::kShort);
        if (dir.length == Directive::kLong) wide = true;
        if (wide) {
          const char16_t* s = va_arg(args, const char16_t*);
          body = s ? s : u"(null)";
        } else {
          const char* s = va_arg(args, const char*);
          body = FromUtf8(s ? s : "(null)");
        }
        if (dir.precision >= 0 && static_cast<int>(body.size()) > dir.precision) body.resize(static_cast<size_t>(dir.precision));
        Pad(out, body, dir);
        break;
      }
      case u'c': case u'C': {
        int ch = va_arg(args, int);
        Pad(out, std::u16string(1, static_cast<char16_t>(ch)), dir);
        break;
      }
      case u'd': case u'i': case u'u': case u'x': case u'X': case u'o':
      case u'f': case u'F': case u'e': case u'E': case u'g': case u'G': case u'p':
        FormatNumber(out, dir, args);
        break;
      default:
        // Unknown conversion: copied as it stands, consuming nothing.
        out.push_back(u'%');
        out.push_back(*p);
    }
  }
  va_end(args);
  return out;
}

namespace {
template <typename T>
T ParseInteger(const char16_t* text, char16_t** end, int base) {
  if (!text) {
    if (end) *end = nullptr;
    return 0;
  }
  std::string ascii;
  const char16_t* p = text;
  while (IsBlank(*p)) ++p;
  const char16_t* start = p;
  while (*p && *p < 0x80) ascii.push_back(static_cast<char>(*p++));
  char* stop = nullptr;
  long v = std::strtol(ascii.c_str(), &stop, base);
  if (end) *end = const_cast<char16_t*>(stop == ascii.c_str() ? text : start + (stop - ascii.c_str()));
  return static_cast<T>(v);
}
}  // namespace

int WToI(const char16_t* text) {
  long v = ParseInteger<long>(text, nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int>(v);
}

long WStrToL(const char16_t* text, char16_t** end, int base) { return ParseInteger<long>(text, end, base); }

double WToF(const char16_t* text) {
  if (!text) return 0.0;
  std::string ascii;
  for (const char16_t* p = text; *p && *p < 0x80; ++p) ascii.push_back(static_cast<char>(*p));
  return std::strtod(ascii.c_str(), nullptr);
}

CString::CString(const char16_t* text) : m_s(text ? text : u"") {}
CString::CString(const char16_t* text, int length) {
  if (text && length > 0) m_s.assign(text, static_cast<size_t>(length));
}
CString::CString(char16_t ch, int repeat) {
  if (repeat > 0) m_s.assign(static_cast<size_t>(repeat), ch);
}
CString& CString::operator=(const char16_t* text) {
  m_s = text ? text : u"";
  return *this;
}
CString& CString::operator=(char16_t ch) {
  m_s.assign(1, ch);
  return *this;
}

CString CString::FromUtf8(const std::string& utf8) { return CString(::FromUtf8(utf8)); }
std::string CString::ToUtf8() const { return ::ToUtf8(m_s.c_str()); }

char16_t CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) return 0;
  return m_s[static_cast<size_t>(index)];
}
void CString::SetAt(int index, char16_t ch) {
  if (index < 0 || index >= GetLength()) return;
  m_s[static_cast<size_t>(index)] = ch;
}

void CString::Format(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  m_s = WFormatV(format, args);
  va_end(args);
}
void CString::AppendFormat(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  m_s += WFormatV(format, args);
  va_end(args);
}

CString& CString::operator+=(const CString& other) { m_s += other.m_s; return *this; }
CString& CString::operator+=(const char16_t* text) { if (text) m_s += text; return *this; }
CString& CString::operator+=(char16_t ch) { m_s.push_back(ch); return *this; }
CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, const char16_t* b) { CString r(a); r += b; return r; }
CString operator+(const char16_t* a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, char16_t b) { CString r(a); r += b; return r; }
bool operator==(const CString& a, const char16_t* b) { return WStrCmp(a.m_s.c_str(), b) == 0; }

int CString::Compare(const char16_t* other) const { return WStrCmp(m_s.c_str(), other); }
int CString::CompareNoCase(const char16_t* other) const { return WStrICmp(m_s.c_str(), other); }

CString CString::Left(int count) const {
  count = std::clamp(count, 0, GetLength());
  return CString(m_s.substr(0, static_cast<size_t>(count)));
}
CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return CString(m_s.substr(static_cast<size_t>(GetLength() - count)));
}
CString CString::Mid(int first) const { return Mid(first, GetLength()); }
CString CString::Mid(int first, int count) const {
  first = std::clamp(first, 0, GetLength());
  count = std::clamp(count, 0, GetLength() - first);
  return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}
int CString::Find(char16_t ch, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  size_t pos = m_s.find(ch, static_cast<size_t>(start));
  return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}
int CString::Find(const char16_t* sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  size_t pos = m_s.find(sub, static_cast<size_t>(start));
  return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}
int CString::ReverseFind(char16_t ch) const {
  size_t pos = m_s.rfind(ch);
  return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}
int CString::FindOneOf(const char16_t* chars) const {
  if (!chars) return -1;
  size_t pos = m_s.find_first_of(chars);
  return pos == std::u16string::npos ? -1 : static_cast<int>(pos);
}
int CString::Replace(char16_t from, char16_t to) {
  int n = 0;
  for (auto& c : m_s) {
    if (c == from) { c = to; ++n; }
  }
  return n;
}
int CString::Replace(const char16_t* from, const char16_t* to) {
  size_t flen = WStrLen(from);
  if (flen == 0) return 0;
  std::u16string repl = to ? to : u"";
  int n = 0;
  std::u16string out;
  size_t i = 0;
  while (true) {
    size_t pos = m_s.find(from, i, flen);
    if (pos == std::u16string::npos) break;
    out.append(m_s, i, pos - i);
    out += repl;
    i = pos + flen;
    ++n;
  }
  out.append(m_s, i, std::u16string::npos);
  m_s.swap(out);
  return n;
}
int CString::Remove(char16_t ch) {
  size_t before = m_s.size();
  m_s.erase(std::remove(m_s.begin(), m_s.end(), ch), m_s.end());
  return static_cast<int>(before - m_s.size());
}
int CString::Insert(int index, char16_t ch) {
  index = std::clamp(index, 0, GetLength());
  m_s.insert(m_s.begin() + index, ch);
  return GetLength();
}
int CString::Insert(int index, const char16_t* text) {
  index = std::clamp(index, 0, GetLength());
  if (text) m_s.insert(static_cast<size_t>(index), text);
  return GetLength();
}
int CString::Delete(int index, int count) {
  if (index < 0) index = 0;
  if (index < GetLength() && count > 0) {
    count = std::min(count, GetLength() - index);
    m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  }
  return GetLength();
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::TrimLeft() {
  size_t i = 0;
  while (i < m_s.size() && IsBlank(m_s[i])) ++i;
  m_s.erase(0, i);
  return *this;
}
CString& CString::TrimRight() {
  while (!m_s.empty() && IsBlank(m_s.back())) m_s.pop_back();
  return *this;
}
CString& CString::Trim(char16_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::TrimLeft(char16_t ch) {
  size_t i = 0;
  while (i < m_s.size() && m_s[i] == ch) ++i;
  m_s.erase(0, i);
  return *this;
}
CString& CString::TrimRight(char16_t ch) {
  while (!m_s.empty() && m_s.back() == ch) m_s.pop_back();
  return *this;
}
CString& CString::MakeUpper() {
  for (auto& c : m_s) c = FoldAscii(c);
  return *this;
}
CString& CString::MakeLower() {
  for (auto& c : m_s) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return *this;
}
CString& CString::MakeReverse() {
  std::reverse(m_s.begin(), m_s.end());
  return *this;
}
CString CString::Tokenize(const char16_t* delimiters, int& start) const {
  if (start < 0 || !delimiters) { start = -1; return CString(); }
  size_t from = m_s.find_first_not_of(delimiters, static_cast<size_t>(start));
  if (from == std::u16string::npos) { start = -1; return CString(); }
  size_t to = m_s.find_first_of(delimiters, from);
  if (to == std::u16string::npos) to = m_s.size();
  start = static_cast<int>(to) + 1;
  return CString(m_s.substr(from, to - from));
}

char16_t* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_s.resize(static_cast<size_t>(minLength));
  return &m_s[0];
}
char16_t* CString::GetBufferSetLength(int length) {
  m_s.resize(static_cast<size_t>(std::max(length, 0)));
  return &m_s[0];
}
void CString::ReleaseBuffer(int newLength) {
  if (newLength < 0) {
    m_s.resize(WStrLen(m_s.c_str()));
  } else if (newLength <= GetLength()) {
    m_s.resize(static_cast<size_t>(newLength));
  }
}
