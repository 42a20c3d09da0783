#include "Paths.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "Platform.h"
#include "TempRoot.h"

namespace {

TEST(Paths, MapPath_KeepsEveryPathInsideTheRoot) {
  testing_support::TempRoot root;
  struct Case {
    const char* name;
    const char16_t* ce;
    std::string want;
  };
  const Case cases[] = {
      {"flash file", u"\\ResidentFlash\\Quellora\\Quellora.db", root / "ResidentFlash/Quellora/Quellora.db"},
      {"media with space", u"\\Storage Card\\ABackup", root / "Storage Card/ABackup"},
      {"doubled separators", u"\\\\Hard Disk\\\\x", root / "Hard Disk/x"},
      {"parent refused", u"\\ResidentFlash\\..\\..\\etc\\passwd", ""},
      {"empty refused", u"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(panel::MapPath(c.ce), c.want);
  }
  EXPECT_EQ(panel::UnmapPath(root / "ResidentFlash/Quellora/Quellora.exe"), u"\\ResidentFlash\\Quellora\\Quellora.exe");
  EXPECT_TRUE(panel::UnmapPath("/elsewhere").IsEmpty());
}

TEST(Paths, ReadTextFile_ReadsOnlyRegularFiles) {
  testing_support::TempRoot root;
  root.Write("board/processor", "2577\n");
  std::filesystem::create_directories(root / "board/folder");
  ASSERT_EQ(mkfifo((root / "board/ports").c_str(), 0644), 0);  // nobody ever writes to it
  std::string text = "unchanged";
  EXPECT_FALSE(panel::ReadTextFile(root / "board/ports", text));
  EXPECT_FALSE(panel::ReadTextFile(root / "board/folder", text));
  EXPECT_FALSE(panel::ReadTextFile(root / "board/missing", text));
  EXPECT_EQ(text, "unchanged");
  EXPECT_TRUE(panel::ReadTextFile(root / "board/processor", text));
  EXPECT_EQ(text, "2577\n");
  // The serial line behind a FIFO port map is simply not there; the caller goes on.
  EXPECT_EQ(CreateFileW(u"COM3:", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE);
}

}  // namespace
