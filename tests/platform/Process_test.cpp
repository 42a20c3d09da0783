#include "Process.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

#include "Clock.h"
#include "Handles.h"
#include "Paths.h"
#include "ScopedEnv.h"
#include "TempRoot.h"
#include "Thread.h"

namespace {

using testing_support::TempRoot;
namespace fs = std::filesystem;

// A program of the board: a shell script installed under its CE name.
void Install(const TempRoot& root, const std::string& relative, const std::string& script, fs::perms mode) {
  root.Write(relative, script);
  fs::permissions(root / relative, mode);
}

std::string Contents(const TempRoot& root, const std::string& relative) {
  std::string text;
  panel::ReadTextFile(root / relative, text);
  return text;
}

// Sets an environment variable for the test's lifetime.
using testing_support::ScopedEnv;

TEST(Process, StartedProgram_LivesOnTheSameBoardAndTime) {
  TempRoot root;
  Install(root, "ResidentFlash/Quellora/Quellora.exe",
          "#!/bin/sh\n"
          "printf '%s|%s|%s|%s' \"$PANEL_ROOT\" \"$PANEL_TIME_SCALE\" \"$PANEL_TIME_BASE\" \"$*\" > \"$PANEL_ROOT/seen\"\n"
          "exit 3\n",
          fs::perms(0755));
  GetTickCount();  // the production clock is set up before the scale appears, so this process keeps real time
  ScopedEnv scale("PANEL_TIME_SCALE", "4");
  ScopedEnv base("PANEL_TIME_BASE", "1000,2000");
  struct Case {
    const char* name;
    const char16_t* application;
    const char16_t* commandLine;
    std::string arguments;
  };
  const Case cases[] = {
      {"application, no command line", u"\\ResidentFlash\\Quellora\\Quellora.exe", nullptr, ""},
      {"command line holds only the arguments", u"\\ResidentFlash\\Quellora\\Quellora.exe", u"-a \"two words\"",
       "-a two words"},
      {"program taken from the command line", nullptr, u"\"\\ResidentFlash\\Quellora\\Quellora.exe\" x", "x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::u16string line = c.commandLine ? c.commandLine : u"";
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(c.application, c.commandLine ? &line[0] : nullptr, nullptr, nullptr, FALSE,
                               CREATE_NEW_CONSOLE, nullptr, nullptr, nullptr, &info));
    EXPECT_NE(info.dwProcessId, 0u);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(info.hThread, 0), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(code, 3u);
    EXPECT_EQ(Contents(root, "seen"), root.Path() + "|4|1000,2000|" + c.arguments);
    EXPECT_TRUE(CloseHandle(info.hThread));
    EXPECT_TRUE(CloseHandle(info.hProcess));
  }
}

TEST(Process, StartedProgram_InheritsOnlyTheStandardStreams) {
  TempRoot root;
  Install(root, "child.exe", "#!/bin/sh\n[ -e /proc/$$/fd/$1 ] && exit 1\nexit 0\n", fs::perms(0755));
  // A descriptor opened without close-on-exec, as a library might leave one.
  std::FILE* held = std::fopen((root / "held").c_str(), "w");
  ASSERT_NE(held, nullptr);
  std::u16string fd = FromUtf8(std::to_string(fileno(held)));
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(u"\\child.exe", &fd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 0u);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  std::fclose(held);
}

TEST(Process, BadPrograms_FailWithTheirError) {
  TempRoot root;
  Install(root, "ResidentFlash/plain.txt", "just text\n", fs::perms(0644));
  Install(root, "ResidentFlash/garbage.exe", "\x7f\x01\x02 not a program", fs::perms(0755));
  struct Case {
    const char* name;
    const char16_t* application;
    DWORD error;
  };
  const Case cases[] = {
      {"missing file", u"\\ResidentFlash\\Quellora.exe", ERROR_FILE_NOT_FOUND},
      {"missing folder", u"\\ResidentFlash\\ABackup\\Quellora.exe", ERROR_PATH_NOT_FOUND},
      {"outside the root", u"\\..\\bin\\sh", ERROR_PATH_NOT_FOUND},
      {"not runnable", u"\\ResidentFlash\\plain.txt", ERROR_ACCESS_DENIED},
      {"not a program", u"\\ResidentFlash\\garbage.exe", ERROR_BAD_EXE_FORMAT},
      {"no name at all", nullptr, ERROR_INVALID_PARAMETER},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PROCESS_INFORMATION info{};
    EXPECT_FALSE(CreateProcessW(c.application, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(info.hProcess, nullptr);
  }
}

TEST(Process, RunningProgram_EndsByTerminateOrSignalWithItsCode) {
  TempRoot root;
  Install(root, "sleeper.exe", "#!/bin/sh\nexec sleep 30\n", fs::perms(0755));
  Install(root, "crasher.exe", "#!/bin/sh\nkill -TERM $$\nsleep 30\n", fs::perms(0755));
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(u"\\sleeper.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 0), WAIT_TIMEOUT);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_TRUE(TerminateProcess(info.hProcess, 9));
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 9u);
  EXPECT_TRUE(TerminateProcess(info.hProcess, 1));  // already ended: nothing to do, the code stays
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 9u);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);

  ASSERT_TRUE(CreateProcessW(u"\\crasher.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(WaitForSingleObject(info.hThread, 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(code, 128u + 15u);
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);
  EXPECT_FALSE(GetExitCodeProcess(info.hProcess, &code));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Process, ClosedHandles_EndedProgramLeavesNoZombie) {
  TempRoot root;
  Install(root, "quick.exe", "#!/bin/sh\nexit 0\n", fs::perms(0755));
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(u"\\quick.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  CloseHandle(info.hProcess);  // as the launcher does: it never waits
  CloseHandle(info.hThread);
  // A zombie keeps its /proc entry until reaped; poll in real time, bounded.
  std::string proc = "/proc/" + std::to_string(info.dwProcessId);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (fs::exists(proc) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(fs::exists(proc));
}

TEST(Process, OpenedProgram_NamesItsFile_UntilItEnds) {
  TempRoot root;
  fs::create_directories(root / "ResidentFlash/ABackup");
  fs::copy_file("/bin/sleep", root / "ResidentFlash/ABackup/Quellora.exe");
  PROCESS_INFORMATION info{};
  WCHAR args[] = u"30";
  ASSERT_TRUE(CreateProcessW(u"\\ResidentFlash\\ABackup\\Quellora.exe", args, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             nullptr, &info));
  HANDLE opened = OpenProcess(0, FALSE, info.dwProcessId);
  ASSERT_NE(opened, nullptr);
  WCHAR path[MAX_PATH] = {};
  EXPECT_EQ(GetModuleFileNameW(opened, path, MAX_PATH), 35u);
  EXPECT_EQ(CString(path), u"\\ResidentFlash\\ABackup\\Quellora.exe");
  // The handle CreateProcessW gave names it as well.
  path[0] = 0;
  GetModuleFileNameW(info.hProcess, path, MAX_PATH);
  EXPECT_EQ(CString(path), u"\\ResidentFlash\\ABackup\\Quellora.exe");

  TerminateProcess(info.hProcess, 1);
  ASSERT_EQ(WaitForSingleObject(info.hProcess, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(GetModuleFileNameW(opened, path, MAX_PATH), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(CloseHandle(opened));
  EXPECT_EQ(OpenProcess(0, FALSE, info.dwProcessId), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  CloseHandle(info.hProcess);
  CloseHandle(info.hThread);

  // This program itself, by its own id: the path it reports for itself.
  panel::SetModulePath(u"\\ResidentFlash\\Quellora\\Quellora.exe");
  HANDLE self = OpenProcess(0, FALSE, static_cast<DWORD>(getpid()));
  GetModuleFileNameW(self, path, MAX_PATH);
  EXPECT_EQ(CString(path), u"\\ResidentFlash\\Quellora\\Quellora.exe");
  CloseHandle(self);
  panel::SetModulePath(u"");
}

TEST(Process, ModulePath_MapsTheExecutableIntoTheRoot) {
  TempRoot root;
  struct Case {
    const char* name;
    std::string linuxPath;
    const char16_t* cePath;
  };
  const Case cases[] = {
      {"installed program", root / "ResidentFlash/Quellora/Quellora.exe", u"\\ResidentFlash\\Quellora\\Quellora.exe"},
      {"launcher in the start-up folder", root / "ResidentFlash/StartUp/Brimcourt.exe",
       u"\\ResidentFlash\\StartUp\\Brimcourt.exe"},
      {"build tree", "/work/build/hmi/Quellora", u"\\ResidentFlash\\Quellora\\Quellora.exe"},
      {"build tree, with extension", "/work/build/launcher/Brimcourt.EXE", u"\\ResidentFlash\\Quellora\\Brimcourt.EXE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(panel::ModulePathFor(c.linuxPath), c.cePath);
  }
}

TEST(Process, GetModuleFileName_CopiesBoundedIntoTheBuffer) {
  // This test program lives outside any root: it reports itself in the installation folder.
  WCHAR buffer[256];
  DWORD n = GetModuleFileNameW(nullptr, buffer, 256);
  EXPECT_EQ(CString(buffer), u"\\ResidentFlash\\Quellora\\platform_tests.exe");
  EXPECT_EQ(n, static_cast<DWORD>(WStrLen(buffer)));

  panel::SetModulePath(u"\\ResidentFlash\\Quellora\\Quellora.exe");
  struct Case {
    const char* name;
    DWORD size;
    DWORD result;
    DWORD error;
    const char16_t* text;
  };
  const Case cases[] = {
      {"room to spare", 256, 36, ERROR_SUCCESS, u"\\ResidentFlash\\Quellora\\Quellora.exe"},
      {"exactly the terminator's room", 37, 36, ERROR_SUCCESS, u"\\ResidentFlash\\Quellora\\Quellora.exe"},
      {"one short", 36, 36, ERROR_INSUFFICIENT_BUFFER, u"\\ResidentFlash\\Quellora\\Quellora.ex"},
      {"tiny", 10, 10, ERROR_INSUFFICIENT_BUFFER, u"\\Resident"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WCHAR guarded[300];
    std::fill(std::begin(guarded), std::end(guarded), u'#');
    EXPECT_EQ(GetModuleFileNameW(nullptr, guarded + 4, c.size), c.result);
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(CString(guarded + 4), c.text);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(guarded[i], u'#');
    EXPECT_EQ(guarded[4 + c.size], u'#');
  }
  EXPECT_EQ(GetModuleFileNameW(nullptr, buffer, 0), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x1000), buffer, 256), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  panel::SetModulePath(u"");
  GetModuleFileNameW(nullptr, buffer, 256);
  EXPECT_EQ(CString(buffer), u"\\ResidentFlash\\Quellora\\platform_tests.exe");
}

}  // namespace
