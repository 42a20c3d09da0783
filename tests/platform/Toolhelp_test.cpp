// The board's programs as a snapshot lists them: started from files of the root, by id and file name.
#include "Toolhelp.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "Handles.h"
#include "Process.h"
#include "Sync.h"
#include "TempRoot.h"

namespace {

using testing_support::TempRoot;
namespace fs = std::filesystem;

// Id -> file name of every program a new snapshot lists.
std::map<DWORD, CString> Listed() {
  std::map<DWORD, CString> programs;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  EXPECT_NE(snapshot, INVALID_HANDLE_VALUE);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    programs[entry.th32ProcessID] = entry.szExeFile;
  }
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(CloseToolhelp32Snapshot(snapshot));
  return programs;
}

PROCESS_INFORMATION StartSleeper(const char16_t* program) {
  PROCESS_INFORMATION info{};
  WCHAR args[] = u"30";
  EXPECT_TRUE(CreateProcessW(program, args, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  return info;
}

void End(PROCESS_INFORMATION& info) {
  TerminateProcess(info.hProcess, 1);
  WaitForSingleObject(info.hProcess, 5000);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
}

TEST(Toolhelp, ListsTheProgramsStartedFromTheBoardsFiles_UntilTheyEnd) {
  TempRoot root;
  fs::create_directories(root / "ResidentFlash/ABackup");
  fs::create_directories(root / "ResidentFlash/Quellora");
  fs::copy_file("/bin/sleep", root / "ResidentFlash/ABackup/Quellora.exe");
  fs::copy_file("/bin/sleep", root / "ResidentFlash/Quellora/Helper.exe");
  PROCESS_INFORMATION staged = StartSleeper(u"\\ResidentFlash\\ABackup\\Quellora.exe");
  PROCESS_INFORMATION helper = StartSleeper(u"\\ResidentFlash\\Quellora\\Helper.exe");

  std::map<DWORD, CString> programs = Listed();
  EXPECT_EQ(programs[staged.dwProcessId], u"Quellora.exe");
  EXPECT_EQ(programs[helper.dwProcessId], u"Helper.exe");
  // This test runs from the build tree, outside the board: not one of its programs.
  EXPECT_EQ(programs.count(static_cast<DWORD>(getpid())), 0u);
  // The whole path comes from the id.
  HANDLE opened = OpenProcess(0, FALSE, staged.dwProcessId);
  WCHAR path[MAX_PATH] = {};
  GetModuleFileNameW(opened, path, MAX_PATH);
  EXPECT_EQ(CString(path), u"\\ResidentFlash\\ABackup\\Quellora.exe");
  CloseHandle(opened);

  End(staged);
  programs = Listed();
  EXPECT_EQ(programs.count(staged.dwProcessId), 0u);
  EXPECT_EQ(programs.count(helper.dwProcessId), 1u);
  End(helper);
}

TEST(Toolhelp, RefusesWhatItDoesNotServe) {
  TempRoot root;
  EXPECT_EQ(CreateToolhelp32Snapshot(0x1u, 0), INVALID_HANDLE_VALUE);  // heaps are not listed
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry) - 1;
  EXPECT_FALSE(Process32FirstW(snapshot, &entry));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(Process32FirstW(snapshot, nullptr));
  // Nothing of the board runs on a new root.
  entry.dwSize = sizeof(entry);
  EXPECT_FALSE(Process32FirstW(snapshot, &entry));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(CloseToolhelp32Snapshot(snapshot));

  EXPECT_FALSE(Process32NextW(snapshot, &entry));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HANDLE notASnapshot = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  EXPECT_FALSE(CloseToolhelp32Snapshot(notASnapshot));
  CloseHandle(notASnapshot);
}

}  // namespace
