#include "Files.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "CString.h"
#include "Handles.h"
#include "Paths.h"
#include "TempRoot.h"

namespace {

using testing_support::TempRoot;

std::string Contents(const TempRoot& root, const std::string& relative) {
  std::string text;
  if (!panel::ReadTextFile(root / relative, text)) return "<missing>";
  return text;
}

// Every name a search yields, in order; "<error N>" when FindFirstFileW fails.
std::vector<std::string> List(const char16_t* pattern) {
  WIN32_FIND_DATAW data;
  HANDLE search = FindFirstFileW(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) return {"<error " + std::to_string(GetLastError()) + ">"};
  std::vector<std::string> names;
  do {
    names.push_back(ToUtf8(data.cFileName));
  } while (FindNextFileW(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(search));
  return names;
}

TEST(Files, CreateFile_DispositionsCreateTruncateOrRefuse) {
  struct Case {
    const char* name;
    bool exists;
    DWORD creation;
    DWORD access;
    bool opens;
    DWORD error;         // GetLastError after the call
    std::string after;   // file contents afterwards
  };
  const DWORD rw = GENERIC_READ | GENERIC_WRITE;
  const Case cases[] = {
      {"create new, missing", false, CREATE_NEW, rw, true, ERROR_SUCCESS, ""},
      {"create new, existing", true, CREATE_NEW, rw, false, ERROR_FILE_EXISTS, "old"},
      {"create always, existing", true, CREATE_ALWAYS, rw, true, ERROR_ALREADY_EXISTS, ""},
      {"create always, missing", false, CREATE_ALWAYS, rw, true, ERROR_SUCCESS, ""},
      {"create always, read only access", true, CREATE_ALWAYS, GENERIC_READ, true, ERROR_ALREADY_EXISTS, ""},
      {"open existing, existing", true, OPEN_EXISTING, GENERIC_READ, true, ERROR_SUCCESS, "old"},
      {"open existing, missing", false, OPEN_EXISTING, GENERIC_READ, false, ERROR_FILE_NOT_FOUND, "<missing>"},
      {"open always, existing", true, OPEN_ALWAYS, rw, true, ERROR_ALREADY_EXISTS, "old"},
      {"open always, missing", false, OPEN_ALWAYS, rw, true, ERROR_SUCCESS, ""},
      {"truncate existing, existing", true, TRUNCATE_EXISTING, GENERIC_WRITE, true, ERROR_SUCCESS, ""},
      {"truncate existing, missing", false, TRUNCATE_EXISTING, GENERIC_WRITE, false, ERROR_FILE_NOT_FOUND,
       "<missing>"},
      {"truncate without write access", true, TRUNCATE_EXISTING, GENERIC_READ, false, ERROR_INVALID_PARAMETER,
       "old"},
      {"no such disposition", true, 0, rw, false, ERROR_INVALID_PARAMETER, "old"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempRoot root;
    root.Write("ResidentFlash/keep", "");
    if (c.exists) root.Write("ResidentFlash/f.txt", "old");
    SetLastError(12345);
    HANDLE h = CreateFileW(u"\\ResidentFlash\\f.txt", c.access, 0, nullptr, c.creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(h != INVALID_HANDLE_VALUE, c.opens);
    EXPECT_EQ(GetLastError(), c.error);
    if (h != INVALID_HANDLE_VALUE) {
      EXPECT_TRUE(CloseHandle(h));
    }
    EXPECT_EQ(Contents(root, "ResidentFlash/f.txt"), c.after);
  }
}

TEST(Files, CreateFile_BadPathsReportTheirError) {
  TempRoot root;
  root.Write("ResidentFlash/Quellora/Quellora.db", "x");
  struct Case {
    const char* name;
    const char16_t* path;
    DWORD error;
  };
  const Case cases[] = {
      {"missing file", u"\\ResidentFlash\\Quellora\\none.db", ERROR_FILE_NOT_FOUND},
      {"missing folder", u"\\ResidentFlash\\Nowhere\\none.db", ERROR_PATH_NOT_FOUND},
      {"file used as folder", u"\\ResidentFlash\\Quellora\\Quellora.db\\x", ERROR_PATH_NOT_FOUND},
      {"escape from the root", u"\\ResidentFlash\\..\\..\\etc\\passwd", ERROR_PATH_NOT_FOUND},
      {"empty name", u"", ERROR_PATH_NOT_FOUND},
      {"a folder", u"\\ResidentFlash\\Quellora", ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HANDLE h = CreateFileW(c.path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST(Files, ReadWrite_FollowTheFilePointer) {
  TempRoot root;
  HANDLE h = CreateFileW(u"\\log.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(h, "hello world", 11, &done, nullptr));
  EXPECT_EQ(done, 11u);
  DWORD high = 7;
  EXPECT_EQ(GetFileSize(h, &high), 11u);
  EXPECT_EQ(high, 0u);

  struct Seek {
    const char* name;
    LONG distance;
    DWORD method;
    DWORD position;
    const char* next5;
  };
  const Seek seeks[] = {
      {"from the start", 6, FILE_BEGIN, 6, "world"},
      {"back from the current place", -11, FILE_CURRENT, 0, "hello"},
      {"from the end", -5, FILE_END, 6, "world"},
  };
  for (const auto& s : seeks) {
    SCOPED_TRACE(s.name);
    SetLastError(99);
    EXPECT_EQ(SetFilePointer(h, s.distance, nullptr, s.method), s.position);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    char buffer[8] = {};
    ASSERT_TRUE(ReadFile(h, buffer, 5, &done, nullptr));
    EXPECT_EQ(done, 5u);
    EXPECT_STREQ(buffer, s.next5);
  }
  // At the end a read succeeds with nothing read; before the start the pointer stays where it is.
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), 11u);
  char byte = 0;
  EXPECT_TRUE(ReadFile(h, &byte, 1, &done, nullptr));
  EXPECT_EQ(done, 0u);
  EXPECT_EQ(SetFilePointer(h, -12, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_CURRENT), 11u);
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, 7), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(FlushFileBuffers(h));
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_EQ(Contents(root, "log.txt"), "hello world");
}

TEST(Files, SetFilePointer_HighPartReachesBeyondFourGigabytes) {
  TempRoot root;
  HANDLE h = CreateFileW(u"\\big.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  LONG high = 1;
  EXPECT_EQ(SetFilePointer(h, 16, &high, FILE_BEGIN), 16u);  // 4 GiB + 16, a sparse hole before it
  EXPECT_EQ(high, 1);
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(h, "x", 1, &done, nullptr));
  DWORD sizeHigh = 0;
  EXPECT_EQ(GetFileSize(h, &sizeHigh), 17u);
  EXPECT_EQ(sizeHigh, 1u);
  // Without the high part a position past 32 bits cannot be reported, so it is refused.
  EXPECT_EQ(SetFilePointer(h, 0, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  CloseHandle(h);
}

TEST(Files, Access_HandleWithoutTheRightIsRefused) {
  TempRoot root;
  root.Write("a.txt", "abc");
  HANDLE reader = CreateFileW(u"\\a.txt", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  HANDLE writer = CreateFileW(u"\\a.txt", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  DWORD done = 5;
  EXPECT_FALSE(WriteFile(reader, "z", 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(done, 0u);
  char buffer[4];
  EXPECT_FALSE(ReadFile(writer, buffer, 3, &done, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  CloseHandle(reader);
  CloseHandle(writer);
  EXPECT_EQ(Contents(root, "a.txt"), "abc");
  // A handle that is not a file is no file.
  EXPECT_EQ(GetFileSize(reinterpret_cast<HANDLE>(0x1234), nullptr), INVALID_FILE_SIZE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(ReadFile(reinterpret_cast<HANDLE>(0x1234), buffer, 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Files, ShareModes_ConflictingOpenFailsUntilTheFirstCloses) {
  struct Case {
    const char* name;
    DWORD firstAccess, firstShare, secondAccess, secondShare;
    bool secondOpens;
  };
  const DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;
  const Case cases[] = {
      {"exclusive first", R, 0, R, SR | SW, false},
      {"readers sharing reads", R, SR, R, SR, true},
      {"writer after readers-only share", R, SR, W, SR, false},
      {"second denies the first's write", W, SR | SW, R, SR, false},
      {"both share everything", R | W, SR | SW, R | W, SR | SW, true},
      {"attribute-only open never conflicts", R, 0, 0, 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempRoot root;
    root.Write("db", "1");
    HANDLE first = CreateFileW(u"\\db", c.firstAccess, c.firstShare, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = CreateFileW(u"\\db", c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens);
    if (second == INVALID_HANDLE_VALUE) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    } else {
      CloseHandle(second);
    }
    EXPECT_FALSE(DeleteFileW(u"\\db"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(first);
    HANDLE again = CreateFileW(u"\\db", c.secondAccess, c.secondShare, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    CloseHandle(again);
    EXPECT_TRUE(DeleteFileW(u"\\db"));
  }
}

TEST(Files, CopyFile_ReplacesUnlessToldNotTo) {
  struct Case {
    const char* name;
    const char16_t* from;
    const char16_t* to;
    BOOL failIfExists;
    bool copies;
    DWORD error;
  };
  const Case cases[] = {
      {"new target", u"\\Storage Card\\ABackup\\Quellora.db", u"\\Media\\new.db", TRUE, true, ERROR_SUCCESS},
      {"overwrite", u"\\Storage Card\\ABackup\\Quellora.db", u"\\Media\\old.db", FALSE, true, ERROR_SUCCESS},
      {"fail if exists", u"\\Storage Card\\ABackup\\Quellora.db", u"\\Media\\old.db", TRUE, false, ERROR_FILE_EXISTS},
      {"missing source", u"\\Storage Card\\ABackup\\none.db", u"\\Media\\new.db", FALSE, false, ERROR_FILE_NOT_FOUND},
      {"missing source folder", u"\\Hard Disk\\ABackup\\Quellora.db", u"\\Media\\new.db", FALSE, false,
       ERROR_PATH_NOT_FOUND},
      {"missing target folder", u"\\Storage Card\\ABackup\\Quellora.db", u"\\Nowhere\\new.db", FALSE, false,
       ERROR_PATH_NOT_FOUND},
      {"folder as source", u"\\Storage Card\\ABackup", u"\\Media\\new.db", FALSE, false, ERROR_ACCESS_DENIED},
      {"folder as target", u"\\Storage Card\\ABackup\\Quellora.db", u"\\Media", FALSE, false, ERROR_ACCESS_DENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempRoot root;
    root.Write("Storage Card/ABackup/Quellora.db", "new contents");
    root.Write("Media/old.db", "old");
    EXPECT_EQ(CopyFileW(c.from, c.to, c.failIfExists) != FALSE, c.copies);
    if (!c.copies) {
      EXPECT_EQ(GetLastError(), c.error);
    }
    std::string target = panel::MapPath(c.to).substr(root.Path().size() + 1);
    if (c.copies) {
      EXPECT_EQ(Contents(root, target), "new contents");
    } else if (std::string(c.name) == "fail if exists") {
      EXPECT_EQ(Contents(root, "Media/old.db"), "old");
    }
    // Nothing half-copied is left beside the target.
    EXPECT_EQ(List(u"\\Media\\*.copy-*"), std::vector<std::string>{"<error 2>"});
  }
}

TEST(Files, CopyFile_KeepsTheSourceModeSoProgramsStayRunnable) {
  TempRoot root;
  root.Write("Storage Card/ABackup/Quellora.exe", "#!/bin/sh\n");
  namespace fs = std::filesystem;
  fs::permissions(root / "Storage Card/ABackup/Quellora.exe", fs::perms(0755));
  ASSERT_TRUE(CreateDirectoryW(u"\\ResidentFlash", nullptr));
  ASSERT_TRUE(CopyFileW(u"\\Storage Card\\ABackup\\Quellora.exe", u"\\ResidentFlash\\Quellora.exe", FALSE));
  EXPECT_EQ(fs::status(root / "ResidentFlash/Quellora.exe").permissions(), fs::perms(0755));
}

TEST(Files, MoveFile_RenamesWithoutEverReplacing) {
  TempRoot root;
  root.Write("ResidentFlash/ABackup/Quellora.exe", "exe");
  root.Write("ResidentFlash/ABackup/Quellora.db", "db");
  root.Write("ResidentFlash/taken.txt", "taken");
  root.Write("ResidentFlash/open.txt", "open");

  // A whole staging folder becomes the installation folder.
  EXPECT_TRUE(MoveFileW(u"\\ResidentFlash\\ABackup", u"\\ResidentFlash\\Quellora"));
  EXPECT_EQ(Contents(root, "ResidentFlash/Quellora/Quellora.db"), "db");
  EXPECT_EQ(GetFileAttributesW(u"\\ResidentFlash\\ABackup"), INVALID_FILE_ATTRIBUTES);

  HANDLE open = CreateFileW(u"\\ResidentFlash\\open.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  ASSERT_NE(open, INVALID_HANDLE_VALUE);
  struct Case {
    const char* name;
    const char16_t* from;
    const char16_t* to;
    DWORD error;
  };
  const Case cases[] = {
      {"existing target", u"\\ResidentFlash\\Quellora\\Quellora.db", u"\\ResidentFlash\\taken.txt",
       ERROR_ALREADY_EXISTS},
      {"existing folder as target", u"\\ResidentFlash\\taken.txt", u"\\ResidentFlash\\Quellora", ERROR_ALREADY_EXISTS},
      {"missing source", u"\\ResidentFlash\\none.txt", u"\\ResidentFlash\\x.txt", ERROR_FILE_NOT_FOUND},
      {"missing target folder", u"\\ResidentFlash\\taken.txt", u"\\Nowhere\\x.txt", ERROR_PATH_NOT_FOUND},
      {"open file", u"\\ResidentFlash\\open.txt", u"\\ResidentFlash\\moved.txt", ERROR_SHARING_VIOLATION},
      {"the root", u"\\", u"\\elsewhere", ERROR_ACCESS_DENIED},
      {"a folder into itself", u"\\ResidentFlash\\Quellora", u"\\ResidentFlash\\Quellora\\inner",
       ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(MoveFileW(c.from, c.to));
    EXPECT_EQ(GetLastError(), c.error);
  }
  CloseHandle(open);
  EXPECT_EQ(Contents(root, "ResidentFlash/taken.txt"), "taken");
  EXPECT_TRUE(MoveFileW(u"\\ResidentFlash\\open.txt", u"\\ResidentFlash\\moved.txt"));
}

TEST(Files, FoldersAndDeletes_ReportEachFailure) {
  TempRoot root;
  root.Write("ResidentFlash/StartUp/Brimcourt.exe", "x");
  root.Write("ResidentFlash/file.txt", "x");
  struct Case {
    const char* name;
    BOOL (*call)(LPCWSTR);
    const char16_t* path;
    bool succeeds;
    DWORD error;
  };
  auto create = [](LPCWSTR p) { return CreateDirectoryW(p, nullptr); };
  const Case cases[] = {
      {"create", create, u"\\ResidentFlash\\ABackup", true, ERROR_SUCCESS},
      {"create again", create, u"\\ResidentFlash\\ABackup", false, ERROR_ALREADY_EXISTS},
      {"create over a file", create, u"\\ResidentFlash\\file.txt", false, ERROR_ALREADY_EXISTS},
      {"create without parent", create, u"\\Nowhere\\ABackup", false, ERROR_PATH_NOT_FOUND},
      {"remove non-empty", RemoveDirectoryW, u"\\ResidentFlash\\StartUp", false, ERROR_DIR_NOT_EMPTY},
      {"remove a file", RemoveDirectoryW, u"\\ResidentFlash\\file.txt", false, ERROR_DIRECTORY},
      {"remove missing", RemoveDirectoryW, u"\\ResidentFlash\\none", false, ERROR_FILE_NOT_FOUND},
      {"remove the root", RemoveDirectoryW, u"\\", false, ERROR_ACCESS_DENIED},
      {"remove empty", RemoveDirectoryW, u"\\ResidentFlash\\ABackup", true, ERROR_SUCCESS},
      {"delete a folder", DeleteFileW, u"\\ResidentFlash\\StartUp", false, ERROR_ACCESS_DENIED},
      {"delete a file", DeleteFileW, u"\\ResidentFlash\\file.txt", true, ERROR_SUCCESS},
      {"delete it again", DeleteFileW, u"\\ResidentFlash\\file.txt", false, ERROR_FILE_NOT_FOUND},
      {"delete in a missing folder", DeleteFileW, u"\\Nowhere\\file.txt", false, ERROR_PATH_NOT_FOUND},
      {"delete outside the root", DeleteFileW, u"\\..\\file.txt", false, ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SetLastError(12345);
    EXPECT_EQ(c.call(c.path) != FALSE, c.succeeds);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(Contents(root, "ResidentFlash/StartUp/Brimcourt.exe"), "x");
}

TEST(Files, FindFiles_MatchNamesLikeTheOriginal) {
  TempRoot root;
  root.Write("Storage Card/ABackup/Quellora.db", "12345");
  root.Write("Storage Card/ABackup/Quellora.exe", "");
  root.Write("Storage Card/ABackup/README", "");
  root.Write("Storage Card/ABackup/.hidden", "");
  root.Write("Storage Card/ABackup/Sub/inner.txt", "");
  struct Case {
    const char* name;
    const char16_t* pattern;
    std::vector<std::string> found;
  };
  const Case cases[] = {
      {"star", u"\\Storage Card\\ABackup\\*", {".hidden", "Quellora.db", "Quellora.exe", "README", "Sub"}},
      {"star dot star takes undotted names", u"\\Storage Card\\ABackup\\*.*",
       {".hidden", "Quellora.db", "Quellora.exe", "README", "Sub"}},
      {"extension, any case", u"\\Storage Card\\ABackup\\*.DB", {"Quellora.db"}},
      {"name dot star takes the bare name", u"\\Storage Card\\ABackup\\README.*", {"README"}},
      {"question marks", u"\\Storage Card\\ABackup\\Quellora.?x?", {"Quellora.exe"}},
      {"exact folder name", u"\\Storage Card\\ABackup", {"ABackup"}},
      {"forward slashes", u"/Storage Card/ABackup/Sub/*", {"inner.txt"}},
      {"root", u"\\*", {"Storage Card"}},
      {"no match", u"\\Storage Card\\ABackup\\*.txt", {"<error 2>"}},
      {"missing folder", u"\\Hard Disk\\ABackup\\*", {"<error 3>"}},
      {"outside the root", u"\\..\\*", {"<error 3>"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(List(c.pattern), c.found);
  }
}

TEST(Files, FindFiles_DescribeEachEntry) {
  TempRoot root;
  root.Write("ABackup/Quellora.db", "12345");
  root.Write("ABackup/Sub/x", "");
  WIN32_FIND_DATAW data;
  std::memset(&data, 0xAB, sizeof data);
  HANDLE search = FindFirstFileW(u"\\ABackup\\*", &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  EXPECT_EQ(CString(data.cFileName), u"Quellora.db");
  EXPECT_EQ(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.dwOID, 0u);
  // Write times are 100 ns ticks since 1601: anything from this century is above 0x01D0....
  EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 0x01D00000u);
  ASSERT_TRUE(FindNextFileW(search, &data));
  EXPECT_EQ(CString(data.cFileName), u"Sub");
  EXPECT_NE(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
  EXPECT_FALSE(FindNextFileW(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_FALSE(FindNextFileW(search, &data));
  EXPECT_TRUE(FindClose(search));
  EXPECT_FALSE(FindClose(search));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Files, GetFileAttributes_TellsFoldersFilesAndMissingPaths) {
  TempRoot root;
  root.Write("ResidentFlash/Quellora/Quellora.db", "x");
  struct Case {
    const char* name;
    const char16_t* path;
    DWORD attributes;
    DWORD error;
  };
  const Case cases[] = {
      {"file", u"\\ResidentFlash\\Quellora\\Quellora.db", FILE_ATTRIBUTE_ARCHIVE, ERROR_SUCCESS},
      {"folder", u"\\ResidentFlash\\Quellora", FILE_ATTRIBUTE_DIRECTORY, ERROR_SUCCESS},
      {"folder with trailing backslash", u"\\ResidentFlash\\Quellora\\", FILE_ATTRIBUTE_DIRECTORY, ERROR_SUCCESS},
      {"root", u"\\", FILE_ATTRIBUTE_DIRECTORY, ERROR_SUCCESS},
      {"missing file", u"\\ResidentFlash\\Quellora\\none", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"missing folder", u"\\Storage Card\\ABackup", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"parent component", u"\\ResidentFlash\\..", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GetFileAttributesW(c.path), c.attributes);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

}  // namespace
