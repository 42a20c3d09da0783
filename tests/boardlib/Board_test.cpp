// The simulated board's platform calls: adapter list, kernel controls, memory division,
// the event log a person reads, and a reset that ends the program.
#include "Board.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "BoardFixture.h"
#include "Log.h"

namespace {

class Board : public BoardFixture {};

TEST_F(Board, GetAdaptersInfo_SizeQueryThenList) {
  ULONG size = 0;
  EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_NO_DATA));  // no adapter configured
  m_root.Write("board/mac", "02-00-00-AB-CD-EF");
  EXPECT_EQ(GetAdaptersInfo(nullptr, nullptr), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetAdaptersInfo(nullptr, &size), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  EXPECT_EQ(size, sizeof(IP_ADAPTER_INFO));
  IP_ADAPTER_INFO list;
  ULONG shortSize = size - 1;
  EXPECT_EQ(GetAdaptersInfo(&list, &shortSize), static_cast<DWORD>(ERROR_BUFFER_OVERFLOW));
  ASSERT_EQ(GetAdaptersInfo(&list, &size), static_cast<DWORD>(ERROR_SUCCESS));
  const BYTE mac[6] = {0x02, 0x00, 0x00, 0xAB, 0xCD, 0xEF};
  EXPECT_EQ(list.AddressLength, 6u);
  EXPECT_EQ(std::memcmp(list.Address, mac, 6), 0);
  EXPECT_EQ(list.Next, nullptr);
  m_root.Write("board/mac", "02:00:00:AB:CD");
  EXPECT_EQ(GetAdaptersInfo(&list, &size), static_cast<DWORD>(ERROR_NO_DATA));
}

TEST_F(Board, KernelIoControl_RefusesUnknownCodesAndShortBuffers) {
  PROCESSOR_INFO info;
  DWORD got = 99;
  EXPECT_FALSE(KernelIoControl(IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info - 1, &got));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(got, 0u);
  EXPECT_FALSE(KernelIoControl(0x01010000, nullptr, 0, nullptr, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  DWORD value = 5;
  EXPECT_FALSE(KernelIoControl(IOCTL_BOARD_BACKLIGHT, &value, sizeof value, nullptr, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(KernelIoControl(IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, sizeof info, &got));
  EXPECT_EQ(got, sizeof info);
}

TEST_F(Board, Events_AreAlsoWrittenToTheBoardLogForAPerson) {
  panel::ScopedVirtualClock clock(42);
  panel::WriteReg32(0xB1900008, 0x30);
  panel::BoardDebugOutput(u"Open GPIO failed.\r\n");
  EXPECT_EQ(Events(), (std::vector<std::string>{"write32 0xB1900008 0x00000030", "debug Open GPIO failed.\r\n"}));
  EXPECT_EQ(panel::ReadReg32(0xB1900008), 0x30u);
  std::string log;
  ASSERT_TRUE(panel::ReadTextFile(m_root / "board/board.log", log));
  EXPECT_EQ(log, "42 write32 0xB1900008 0x00000030\n42 debug Open GPIO failed.\\r\\n\n");
}

TEST_F(Board, Events_KeptInMemoryOnlyWhileATestAsks_TheLogFileAlwaysHasThem) {
  panel::ScopedVirtualClock clock(7);
  panel::KeepBoardEvents(false);
  panel::WriteReg32(0xB1900008, 0x10);
  EXPECT_TRUE(Events().empty());
  panel::KeepBoardEvents(true);
  panel::WriteReg32(0xB1900008, 0x20);
  panel::ResetBoard();  // leaves the keeping as it is
  panel::WriteReg32(0xB1900008, 0x30);
  EXPECT_EQ(Events(), (std::vector<std::string>{"write32 0xB1900008 0x00000030"}));
  std::string log;
  ASSERT_TRUE(panel::ReadTextFile(m_root / "board/board.log", log));
  EXPECT_EQ(log, "7 write32 0xB1900008 0x00000010\n7 write32 0xB1900008 0x00000020\n7 write32 0xB1900008 0x00000030\n");
}

// How many of this program's open descriptors are the file at path.
int DescriptorsOn(const std::string& path) {
  const std::filesystem::path p(path);
  const std::filesystem::path resolved = std::filesystem::canonical(p.parent_path()) / p.filename();
  int n = 0;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    if (std::filesystem::read_symlink(fd.path(), error) == resolved) ++n;
  }
  return n;
}

TEST_F(Board, BoardLog_StaysOpenBetweenLines_AndARemovedOneStartsAgain) {
  panel::ScopedVirtualClock clock(5);
  const std::string path = m_root / "board/board.log";
  for (int i = 0; i < 50; ++i) panel::WriteReg32(0xB1900008, static_cast<uint32_t>(i));
  EXPECT_EQ(DescriptorsOn(path), 1);
  std::filesystem::remove(path);
  panel::WriteReg32(0xB1900008, 0x77);
  std::string log;
  ASSERT_TRUE(panel::ReadTextFile(path, log));
  EXPECT_EQ(log, "5 write32 0xB1900008 0x00000077\n");
  EXPECT_EQ(DescriptorsOn(path), 1);
}

TEST_F(Board, BoardLog_IsBoundedAndKeepsTheFileBefore) {
  // Backlight writes alone add lines every half second: the log must not fill the flash.
  const std::string line(200, 'x');
  for (size_t written = 0; written < 2 * panel::kLogFileLimit; written += line.size()) panel::BoardLog(line);
  std::error_code error;
  EXPECT_LE(std::filesystem::file_size(m_root / "board/board.log", error), panel::kLogFileLimit);
  const auto before = std::filesystem::file_size(m_root / "board/board.log.1", error);
  EXPECT_FALSE(error);
  EXPECT_GT(before, panel::kLogFileLimit / 2);
  EXPECT_LE(before, panel::kLogFileLimit);
}

TEST_F(Board, MemoryDivision_IsKeptInTheBoardFile) {
  EXPECT_EQ(SetSystemMemoryDivision(16384), SYSMEM_FAILED);
  EXPECT_EQ(SetSystemMemoryDivision(6000), SYSMEM_CHANGED);
  std::string file;
  ASSERT_TRUE(panel::ReadTextFile(m_root / "board/memory", file));
  EXPECT_EQ(file, "6000 10384 4096\n");
  panel::ResetBoard();
  DWORD store = 0, ram = 0, page = 0;
  ASSERT_TRUE(GetSystemMemoryDivision(&store, &ram, &page));
  EXPECT_EQ(store, 6000u);
  // The same division again writes nothing: what a person wrote there stays.
  m_root.Write("board/memory", "6000 10384 4096 set by hand\n");
  panel::ResetBoard();
  EXPECT_EQ(SetSystemMemoryDivision(6000), SYSMEM_CHANGED);
  ASSERT_TRUE(panel::ReadTextFile(m_root / "board/memory", file));
  EXPECT_EQ(file, "6000 10384 4096 set by hand\n");
}

TEST_F(Board, SoftwareResetWithoutHook_RecordsAndEndsTheProgram) {
  GTEST_FLAG_SET(death_test_style, "fast");  // the child shares this test's root
  panel::SetRebootHook(nullptr);
  EXPECT_EXIT(panel::WriteReg32(0xB1000044, 0x533C2416), ::testing::ExitedWithCode(0), "");
  std::string record;
  ASSERT_TRUE(panel::ReadTextFile(m_root / "board/reboot", record));
  EXPECT_EQ(record, "software reset\n");
  panel::WriteReg32(0xB1000044, 0x12345678);  // any other value is a plain write
  EXPECT_EQ(Events().back(), "write32 0xB1000044 0x12345678");
}

}  // namespace
