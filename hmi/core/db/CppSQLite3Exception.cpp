#include "CppSQLite3Exception.h"

#include <sqlite3.h>

namespace {

struct CodeName {
  int code;
  const char16_t* name;
};

// Names of the primary result codes as the messages spell them.
const CodeName kCodeNames[] = {
    {0, u"SQLITE_OK"},          {1, u"SQLITE_ERROR"},     {2, u"SQLITE_INTERNAL"},  {3, u"SQLITE_PERM"},
    {4, u"SQLITE_ABORT"},       {5, u"SQLITE_BUSY"},      {6, u"SQLITE_LOCKED"},    {7, u"SQLITE_NOMEM"},
    {8, u"SQLITE_READONLY"},    {9, u"SQLITE_INTERRUPT"}, {10, u"SQLITE_IOERR"},    {11, u"SQLITE_CORRUPT"},
    {12, u"SQLITE_NOTFOUND"},   {13, u"SQLITE_FULL"},     {14, u"SQLITE_CANTOPEN"}, {15, u"SQLITE_PROTOCOL"},
    {16, u"SQLITE_EMPTY"},      {17, u"SQLITE_SCHEMA"},   {18, u"SQLITE_TOOBIG"},   {19, u"SQLITE_CONSTRAINT"},
    {20, u"SQLITE_MISMATCH"},   {21, u"SQLITE_MISUSE"},   {22, u"SQLITE_NOLFS"},    {23, u"SQLITE_AUTH"},
    {24, u"SQLITE_FORMAT"},     {25, u"SQLITE_RANGE"},    {100, u"SQLITE_ROW"},     {101, u"SQLITE_DONE"},
    {CPPSQLITE_ERROR, u"CPPSQLITE_ERROR"},
};

}  // namespace

CppSQLite3Exception::CppSQLite3Exception(int code, const char16_t* text, bool freeText) : m_code(code) {
  m_message.Format(u"%s[%d]: %s", ErrorCodeAsString(code), code, text ? text : u"");
  if (freeText && text) sqlite3_free(const_cast<char16_t*>(text));
}

CppSQLite3Exception::CppSQLite3Exception(const CppSQLite3Exception& other)
    : m_code(other.m_code), m_message(other.m_message) {}

CppSQLite3Exception::~CppSQLite3Exception() = default;

const char16_t* CppSQLite3Exception::ErrorCodeAsString(int code) {
  for (const CodeName& entry : kCodeNames) {
    if (entry.code == code) return entry.name;
  }
  return u"UNKNOWN_ERROR";
}
