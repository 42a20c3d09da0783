#include "Log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "LogLines.h"
#include "Platform.h"
#include "TempRoot.h"

namespace {

class LogTest : public ::testing::Test {
protected:
  void SetUp() override { panel::ResetLogLimits(); }
  void TearDown() override { panel::ResetLogLimits(); }

  testing_support::TempRoot m_root;
  // 2026-03-02 12:00:05.250 local time.
  panel::ScopedVirtualClock m_clock{0, 1772452805250LL};
};

TEST_F(LogTest, OneTimestampedLinePerReport_DebugOutputToo) {
  EXPECT_EQ(panel::ProgramName(), "platform_tests");
  EXPECT_EQ(panel::LogFilePath(), m_root / "run/platform_tests.log");
  panel::LogLine("database \\Quellora.db is missing\n");
  OutputDebugStringW(u"board: two\r\nlines\r\n");
  EXPECT_EQ(testing_support::LogText(),
            "2026-03-02 12:00:05.250 platform_tests: database \\Quellora.db is missing\n"
            "2026-03-02 12:00:05.250 platform_tests: board: two  lines\n");
}

TEST_F(LogTest, FullFileMovesAsideAndANewOneStarts) {
  const std::string text(1000, 'x');
  const size_t lineSize = std::string("2026-03-02 12:00:05.250 platform_tests: ").size() + text.size() + 1;
  const size_t lines = panel::kLogFileLimit / lineSize + 1;
  for (size_t i = 0; i < lines; ++i) panel::LogLine(text);
  EXPECT_EQ(std::filesystem::file_size(panel::LogFilePath()), lineSize);
  EXPECT_EQ(std::filesystem::file_size(panel::LogFilePath() + ".1"), (lines - 1) * lineSize);
  for (size_t i = 0; i < lines; ++i) panel::LogLine(text);
  EXPECT_LE(std::filesystem::file_size(panel::LogFilePath()), panel::kLogFileLimit);
  EXPECT_LE(std::filesystem::file_size(panel::LogFilePath() + ".1"), panel::kLogFileLimit);
}

TEST_F(LogTest, RepeatedFailure_AtMostOnceAMinutePerKey) {
  EXPECT_TRUE(panel::LogLineLimited("db", "write failed 1"));
  m_clock->Advance(59999);
  EXPECT_FALSE(panel::LogLineLimited("db", "write failed 2"));
  EXPECT_TRUE(panel::LogLineLimited("other", "other failure"));
  m_clock->Advance(1);
  EXPECT_TRUE(panel::LogLineLimited("db", "write failed 3"));
  const std::string log = testing_support::LogText();
  EXPECT_NE(log.find("write failed 1"), std::string::npos);
  EXPECT_EQ(log.find("write failed 2"), std::string::npos);
  EXPECT_NE(log.find("other failure"), std::string::npos);
  EXPECT_NE(log.find("write failed 3"), std::string::npos);
}

}  // namespace
