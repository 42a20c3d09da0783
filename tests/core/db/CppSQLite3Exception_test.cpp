#include "CppSQLite3Exception.h"

#include <gtest/gtest.h>

namespace {

TEST(CppSQLite3Exception, Message_IsNameCodeAndText) {
  struct Case {
    const char* name;
    int code;
    const char16_t* text;
    const char16_t* expected;
  };
  const Case cases[] = {
      {"ok", 0, u"not an error", u"SQLITE_OK[0]: not an error"},
      {"busy", 5, u"database is locked", u"SQLITE_BUSY[5]: database is locked"},
      {"cantopen", 14, u"unable to open database file", u"SQLITE_CANTOPEN[14]: unable to open database file"},
      {"schema", 17, u"x", u"SQLITE_SCHEMA[17]: x"},
      {"last numbered", 25, u"x", u"SQLITE_RANGE[25]: x"},
      {"row", 100, u"x", u"SQLITE_ROW[100]: x"},
      {"done", 101, u"x", u"SQLITE_DONE[101]: x"},
      {"own code", 1000, u"Database not open", u"CPPSQLITE_ERROR[1000]: Database not open"},
      {"gap in the table", 26, u"x", u"UNKNOWN_ERROR[26]: x"},
      {"negative", -1, u"x", u"UNKNOWN_ERROR[-1]: x"},
      {"no text", 1, nullptr, u"SQLITE_ERROR[1]: "},
      {"utf-16 text", 1, u"表 t_RealHP", u"SQLITE_ERROR[1]: 表 t_RealHP"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CppSQLite3Exception e(c.code, c.text);
    EXPECT_EQ(e.ErrorCode(), c.code);
    EXPECT_EQ(CString(e.ErrorMessage()), CString(c.expected));
  }
}

TEST(CppSQLite3Exception, Copy_KeepsCodeAndMessage) {
  CppSQLite3Exception original(6, u"database table is locked");
  CppSQLite3Exception copy(original);
  EXPECT_EQ(copy.ErrorCode(), 6);
  EXPECT_EQ(CString(copy.ErrorMessage()), CString(u"SQLITE_LOCKED[6]: database table is locked"));
  EXPECT_NE(copy.ErrorMessage(), original.ErrorMessage());  // its own buffer
}

}  // namespace
