#include "AppHelpers.h"

#include <gtest/gtest.h>

#include <string>

#include "TempRoot.h"

namespace {

TEST(AppHelpers, FormatDuration_WritesNonZeroOrForcedParts) {
  struct Case {
    const char* name;
    int seconds;
    unsigned flags;
    const char16_t* expected;
  };
  const Case cases[] = {
      {"all parts", 90061, 0, u"1D1H1M1S"},
      {"one hour", 3600, 0, u"1H"},
      {"zero with seconds forced", 0, kDurationSeconds, u"0S"},
      {"a minute with all forced", 60, 15, u"0D0H1M0S"},
      {"zero without flags", 0, 0, u""},
      {"hours within the day", 2 * 86400 + 5 * 3600, 0, u"2D5H"},
      {"negative truncates toward zero", -61, 0, u"-1M-1S"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CString(c.expected), FormatDuration(c.seconds, c.flags));
  }
}

TEST(AppHelpers, FormatDurationParts_SumsBeyondThe32BitRange) {
  EXPECT_EQ(CString(u"1D2H3M4S"), FormatDurationParts(1, 2, 3, 4, 0));
  EXPECT_EQ(CString(u"0M"), FormatDurationParts(0, 0, 0, 0, kDurationMinutes));
  // 30000 days do not fit in 32-bit seconds; the sum is made in 64 bits.
  EXPECT_EQ(CString(u"30000D"), FormatDurationParts(30000, 0, 0, 0, 0));
}

TEST(AppHelpers, DaysInMonth_FollowsTheGregorianRules) {
  struct Case {
    int year;
    int month;
    int expected;
  };
  const Case cases[] = {
      {2000, 2, 29}, {1900, 2, 28}, {2024, 2, 29}, {2023, 2, 28}, {2021, 13, -1}, {2021, 0, -1},
      {2021, 1, 31}, {2021, 4, 30}, {2021, 6, 30}, {2021, 9, 30}, {2021, 11, 30}, {2021, 12, 31},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
    EXPECT_EQ(c.expected, DaysInMonth(c.year, c.month));
  }
}

TEST(AppHelpers, GetAppDir_KeepsTheFinalBackslash) {
  panel::SetModulePath(u"\\ResidentFlash\\Quellora\\Quellora.exe");
  EXPECT_EQ(CString(u"\\ResidentFlash\\Quellora\\"), GetAppDir());
  panel::SetModulePath(u"");
}

class RegSetDwordTest : public ::testing::Test {
protected:
  testing_support::TempRoot root;
  static LONG Query(DWORD& value) {
    HKEY key = nullptr;
    LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS) return opened;
    DWORD type = 0, size = sizeof(value);
    LONG read = RegQueryValueExW(key, u"Dis_Cursor", nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS && type != REG_DWORD ? -1 : read;
  }
};

TEST_F(RegSetDwordTest, ExistingKey_WritesTheValue) {
  root.Write("board/registry", "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\TOUCH]\n");
  EXPECT_TRUE(RegSetDword(u"HARDWARE\\DEVICEMAP\\TOUCH", u"Dis_Cursor", 2));
  DWORD value = 0;
  ASSERT_EQ(ERROR_SUCCESS, Query(value));
  EXPECT_EQ(2u, value);
}

TEST_F(RegSetDwordTest, MissingKey_CreatesNothing) {
  EXPECT_FALSE(RegSetDword(u"HARDWARE\\DEVICEMAP\\TOUCH", u"Dis_Cursor", 2));
  DWORD value = 0;
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, Query(value));
}

}  // namespace
