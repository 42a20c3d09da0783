#include "CString.h"

#include <gtest/gtest.h>

namespace {

CString Fmt(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  CString s(WFormatV(format, args));
  va_end(args);
  return s;
}

TEST(CString, Format_CoversEveryConversionThePrograms_Use) {
  struct Case {
    const char* name;
    CString got;
    const char16_t* want;
  };
  const Case cases[] = {
      {"int", Fmt(u"%d", -42), u"-42"},
      {"unsigned", Fmt(u"%u", 4000000000u), u"4000000000"},
      {"hex lower", Fmt(u"%x", 0xBEEF), u"beef"},
      {"hex upper padded", Fmt(u"%02X", 0xA), u"0A"},
      {"hex byte of negative", Fmt(u"%02X", 0xFF), u"FF"},
      {"two digits", Fmt(u"%02d:%02d", 7, 5), u"07:05"},
      {"wide string", Fmt(u"[%s]", u"温度"), u"[温度]"},
      {"char", Fmt(u"%c", u'℃'), u"℃"},
      {"one decimal", Fmt(u"%.1f", 21.25), u"21.2"},
      {"zero width one decimal", Fmt(u"%0.1f", -99.0), u"-99.0"},
      {"int64", Fmt(u"%I64d", static_cast<long long>(1) << 40), u"1099511627776"},
      {"percent", Fmt(u"100%%"), u"100%"},
      {"version", Fmt(u"V%d.%02d", 205 / 100, 205 % 100), u"V2.05"},
      {"left aligned", Fmt(u"%-4d|", 7), u"7   |"},
      {"narrow string", Fmt(u"%S", "ok"), u"ok"},
      {"star width", Fmt(u"%*d", 3, 1), u"  1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got, c.want) << c.got.ToUtf8();
  }
}

TEST(CString, Utf8_RoundTripsCjkAndAstralCharacters) {
  const std::string text = "制热 ℃ 😀 a";
  CString s = CString::FromUtf8(text);
  EXPECT_EQ(s.GetLength(), 9);  // the emoji takes two code units
  EXPECT_EQ(s.ToUtf8(), text);
  EXPECT_EQ(CString::FromUtf8("\xff" "a").ToUtf8(), "\xef\xbf\xbd" "a");
}

TEST(CString, Editing_BehavesLikeTheClassLibrary) {
  CString s(u"  COM3:  ");
  s.Trim();
  EXPECT_EQ(s, u"COM3:");
  EXPECT_EQ(s.Left(3), u"COM");
  EXPECT_EQ(s.Mid(3, 1), u"3");
  EXPECT_EQ(s.Right(10), u"COM3:");
  EXPECT_EQ(s.Find(u':'), 4);
  EXPECT_EQ(s.Find(u"X"), -1);
  CString path(u"\\ResidentFlash\\Quellora\\Quellora.exe");
  EXPECT_EQ(path.Left(path.ReverseFind(u'\\') + 1), u"\\ResidentFlash\\Quellora\\");
  CString q(u"it's");
  EXPECT_EQ(q.Replace(u"'", u"''"), 1);
  EXPECT_EQ(q, u"it''s");
  EXPECT_EQ(CString(u"abc").CompareNoCase(u"ABC"), 0);
  EXPECT_EQ(s.GetAt(99), 0);
}

TEST(CString, GetBuffer_ReleaseTakesLengthFromTerminator) {
  CString s;
  char16_t* buf = s.GetBuffer(16);
  WStrCopy(buf, 16, u"hello");
  s.ReleaseBuffer();
  EXPECT_EQ(s, u"hello");
  EXPECT_EQ(s.GetLength(), 5);
}

TEST(CString, NumberParsing_StopsAtFirstNonDigit) {
  EXPECT_EQ(WToI(u"  -12abc"), -12);
  EXPECT_EQ(WToI(u"x"), 0);
  EXPECT_DOUBLE_EQ(WToF(u"21.5"), 21.5);
  char16_t buf[4];
  WStrCopy(buf, 4, u"abcdef");
  EXPECT_EQ(CString(buf), u"abc");
}

}  // namespace
