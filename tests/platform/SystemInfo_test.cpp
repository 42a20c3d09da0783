#include "SystemInfo.h"

#include <gtest/gtest.h>

#include <sys/mman.h>

#include <filesystem>
#include <string>
#include <utility>

#include "TempRoot.h"

namespace {

TEST(SystemInfo, ProcessorType_ComesFromTheBoardFile) {
  struct Case {
    const char* name;
    const char* file;  // null: no file
    DWORD type;
  };
  const Case cases[] = {
      {"S3C2416 board", "2577\n", 2577},
      {"the other board", "  1824 \n", 1824},
      {"no file", nullptr, PROCESSOR_STRONGARM},
      {"unreadable text", "arm\n", PROCESSOR_STRONGARM},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TempRoot root;
    if (c.file) root.Write("board/processor", c.file);
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    EXPECT_EQ(info.dwProcessorType, c.type);
    EXPECT_EQ(info.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_ARM);
    EXPECT_EQ(info.dwPageSize, 4096u);
  }
}

TEST(SystemInfo, MemoryStatus_ReportsTheMachineOrTheTestFigure) {
  MEMORYSTATUS status{};
  GlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwLength, sizeof status);
  EXPECT_GT(status.dwTotalPhys, 0u);
  EXPECT_GT(status.dwAvailPhys, 0u);
  EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
  EXPECT_LE(status.dwMemoryLoad, 100u);

  // Just below and above the figure the main screen compares with.
  panel::SetAvailPhysOverride(3072000);
  GlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwAvailPhys, 3072000u);
  panel::SetAvailPhysOverride(3072001);
  GlobalMemoryStatus(&status);
  EXPECT_EQ(status.dwAvailPhys, 3072001u);
  panel::ClearAvailPhysOverride();
  GlobalMemoryStatus(&status);
  EXPECT_NE(status.dwAvailPhys, 3072001u);
  GlobalMemoryStatus(nullptr);
}

// The main screen asks twice a second: the /proc files stay open and are read afresh each time.
TEST(SystemInfo, MemoryStatus_ReadsItsFilesAfreshWithoutOpeningThemAgain) {
  MEMORYSTATUS before{};
  GlobalMemoryStatus(&before);
  auto open = [] {
    int meminfo = 0, own = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
      std::error_code error;
      const std::string target = std::filesystem::read_symlink(fd.path(), error).string();
      if (target == "/proc/meminfo") ++meminfo;
      if (target.size() > 6 && target.compare(target.size() - 6, 6, "/statm") == 0) ++own;
    }
    return std::make_pair(meminfo, own);
  };
  EXPECT_EQ(open(), std::make_pair(1, 1));
  const size_t size = 256u << 20;  // mapped, never touched
  void* block = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(block, MAP_FAILED);
  MEMORYSTATUS after{};
  GlobalMemoryStatus(&after);
  munmap(block, size);
  EXPECT_EQ(open(), std::make_pair(1, 1));
  // Under AddressSanitizer the program maps far more than the board's 2 GB: nothing is left to see.
  if (before.dwAvailVirtual < size) return;
  EXPECT_GE(before.dwAvailVirtual - after.dwAvailVirtual, size);
  EXPECT_LT(before.dwAvailVirtual - after.dwAvailVirtual, size + (16u << 20));
}

}  // namespace
