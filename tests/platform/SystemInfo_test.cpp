#include "SystemInfo.h"

#include <gtest/gtest.h>

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

}  // namespace
