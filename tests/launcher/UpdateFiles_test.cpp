// The folder work of an update on a temporary board.
#include "UpdateFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "Clock.h"
#include "Platform.h"
#include "TempRoot.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempRoot;

std::string Read(const TempRoot& root, const std::string& path) {
  std::string text;
  panel::ReadTextFile(root / path, text);
  return text;
}

TEST(UpdateFiles, DeleteTree_RemovesEveryEntryDottedNamesIncluded) {
  TempRoot root;
  root.Write("ResidentFlash/ABackup/Quellora.exe", "x");
  root.Write("ResidentFlash/ABackup/.settings", "x");
  root.Write("ResidentFlash/ABackup/.cache/data", "x");
  root.Write("ResidentFlash/ABackup/sub/..x", "x");
  EXPECT_TRUE(DeleteTree(kStagingFolder));
  EXPECT_FALSE(fs::exists(root / "ResidentFlash/ABackup"));
  EXPECT_FALSE(DeleteTree(kStagingFolder));  // nothing left to remove
}

TEST(UpdateFiles, CopyTree_CopiesFilesAndFoldersOverwriting) {
  TempRoot root;
  root.Write("Storage Card/ABackup/Quellora.exe", "new");
  root.Write("Storage Card/ABackup/.hidden", "h");
  root.Write("Storage Card/ABackup/Quellora.res/bitmaps/1.png", "png");
  root.Write("ResidentFlash/ABackup/Quellora.exe", "old");
  EXPECT_TRUE(CopyTree(kMedium1, kStagingFolder));
  EXPECT_EQ(Read(root, "ResidentFlash/ABackup/Quellora.exe"), "new");
  EXPECT_EQ(Read(root, "ResidentFlash/ABackup/.hidden"), "h");
  EXPECT_EQ(Read(root, "ResidentFlash/ABackup/Quellora.res/bitmaps/1.png"), "png");
  EXPECT_FALSE(CopyTree(u"\\Storage Card\\ABackup", u"\\Nowhere\\ABackup"));
}

TEST(UpdateFiles, CopyTree_NotWhole_IsFalse_AndNamesWhatWasNotCopied) {
  struct Case {
    const char* name;
    std::function<void(const TempRoot& root)> spoil;
    std::string said;
  };
  const Case cases[] = {
      {"a file that cannot be read",
       [](const TempRoot& root) { fs::create_symlink(root / "gone", root / "Storage Card/ABackup/Quellora.res/z.png"); },
       "update copy: cannot copy \\Storage Card\\ABackup\\Quellora.res\\z.png (error 2)"},
      {"a file whose reading ends before its size",
       [](const TempRoot& root) { fs::create_symlink("/sys/devices/system/cpu/online", root / "Storage Card/ABackup/msyh.ttf"); },
       "update copy: copied short \\Storage Card\\ABackup\\msyh.ttf ("},
      {"a folder that cannot be made",
       [](const TempRoot& root) { root.Write("ResidentFlash/ABackup/Quellora.res", "a file in the way"); },
       "update copy: cannot create \\ResidentFlash\\ABackup\\Quellora.res (error 183)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempRoot root;
    root.Write("Storage Card/ABackup/Quellora.exe", "new");
    root.Write("Storage Card/ABackup/Quellora.res/1.png", "png");
    fs::create_directories(root / "ResidentFlash/ABackup");
    c.spoil(root);
    panel::ClearDebugLog();
    EXPECT_FALSE(CopyTree(kMedium1, kStagingFolder));
    ASSERT_EQ(panel::DebugLog().size(), 1u);
    EXPECT_EQ(panel::DebugLog()[0].rfind(c.said, 0), 0u) << panel::DebugLog()[0];
  }
}

TEST(UpdateFiles, InstallStaged_SwapsTheFolders_OrKeepsTheOldInstallation) {
  TempRoot root;
  root.Write("ResidentFlash/Quellora/Quellora.exe", "old");
  root.Write("ResidentFlash/ABackup/Quellora.exe", "new");
  EXPECT_TRUE(InstallStaged());
  EXPECT_EQ(Read(root, "ResidentFlash/Quellora/Quellora.exe"), "new");
  EXPECT_FALSE(fs::exists(root / "ResidentFlash/ABackup"));
  EXPECT_FALSE(fs::exists(root / "ResidentFlash/Quellora.old"));

  EXPECT_FALSE(InstallStaged());  // nothing staged: the move fails
  EXPECT_EQ(Read(root, "ResidentFlash/Quellora/Quellora.exe"), "new");
  EXPECT_FALSE(fs::exists(root / "ResidentFlash/Quellora.old"));
}

TEST(UpdateFiles, RecoverInstallation_AfterAnInstallCutOffBetweenItsSteps) {
  struct Case {
    const char* name;
    bool installed;   // the installation folder is there
    bool aside;       // the old one is still aside
    std::string program;  // what the installation holds afterwards
  };
  const Case cases[] = {
      {"cut off after the rename aside", false, true, "old"},
      {"cut off before the old one was deleted", true, true, "new"},
      {"nothing cut off", true, false, "new"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempRoot root;
    if (c.installed) root.Write("ResidentFlash/Quellora/Quellora.exe", "new");
    if (c.aside) root.Write("ResidentFlash/Quellora.old/Quellora.exe", "old");
    RecoverInstallation();
    EXPECT_EQ(Read(root, "ResidentFlash/Quellora/Quellora.exe"), c.program);
    EXPECT_FALSE(fs::exists(root / "ResidentFlash/Quellora.old"));
  }
}

TEST(UpdateFiles, WaitForProgramEnd_IsBounded) {
  TempRoot root;
  panel::ScopedVirtualClock clock;
  EXPECT_TRUE(WaitForProgramEnd(u"Quellora", 5000));
  EXPECT_EQ(GetTickCount(), 0u);
  HANDLE running = CreateMutexW(nullptr, FALSE, u"Quellora");
  EXPECT_FALSE(WaitForProgramEnd(u"Quellora", 5000));
  EXPECT_EQ(GetTickCount(), 5000u);
  CloseHandle(running);
  EXPECT_TRUE(WaitForProgramEnd(u"Quellora", 5000));
}

}  // namespace
