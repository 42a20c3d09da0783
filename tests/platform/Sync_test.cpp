#include "Sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "Handles.h"
#include "TempRoot.h"
#include "Thread.h"

namespace {

TEST(Sync, CriticalSection_IsRecursive) {
  CRITICAL_SECTION cs;
  InitializeCriticalSection(&cs);
  EnterCriticalSection(&cs);
  EXPECT_TRUE(TryEnterCriticalSection(&cs));
  LeaveCriticalSection(&cs);
  LeaveCriticalSection(&cs);
  DeleteCriticalSection(&cs);
}

TEST(Sync, NamedMutex_SecondCreateReportsAlreadyExistsUntilTheFirstCloses) {
  testing_support::TempRoot root;
  HANDLE first = CreateMutexW(nullptr, FALSE, u"Quellora");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = CreateMutexW(nullptr, FALSE, u"Quellora");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(second);
  HANDLE other = CreateMutexW(nullptr, FALSE, u"Brimcourt");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(other);
  CloseHandle(first);
  HANDLE again = CreateMutexW(nullptr, FALSE, u"Quellora");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(again);
}

TEST(Sync, NamedMutex_NoFileToDeleteOrReplace_AndEachBoardHasItsOwnNames) {
  testing_support::TempRoot root;
  HANDLE first = CreateMutexW(nullptr, FALSE, u"Brimcourt");
  ASSERT_NE(first, nullptr);
  // Whatever is done to the run-time folder, the name stays taken.
  std::filesystem::remove_all(root / "run");
  root.Write("run/mutex-Brimcourt.lock", "");
  HANDLE second = CreateMutexW(nullptr, FALSE, u"Brimcourt");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(second);
  {
    testing_support::TempRoot otherBoard;
    HANDLE other = CreateMutexW(nullptr, FALSE, u"Brimcourt");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    CloseHandle(other);
  }
  CloseHandle(first);
}

TEST(Sync, NamedMutex_ThatCannotBeMadeIsNull) {
  testing_support::TempRoot root;
  panel::SetNamedMutexFailing(true);
  EXPECT_EQ(CreateMutexW(nullptr, FALSE, u"Quellora"), nullptr);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE local = CreateMutexW(nullptr, FALSE, nullptr);  // unnamed ones are not affected
  EXPECT_NE(local, nullptr);
  CloseHandle(local);
  panel::SetNamedMutexFailing(false);
}

DWORD Count(LPVOID p) {
  ++*static_cast<std::atomic<int>*>(p);
  return 7;
}

TEST(Thread, CreatedSuspended_RunsOnlyAfterResume) {
  std::atomic<int> runs{0};
  DWORD id = 0;
  HANDLE t = CreateThread(nullptr, 0, Count, &runs, CREATE_SUSPENDED, &id);
  ASSERT_NE(t, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_EQ(WaitForSingleObject(t, 50), WAIT_TIMEOUT);
  EXPECT_EQ(runs.load(), 0);
  EXPECT_EQ(ResumeThread(t), 1u);
  EXPECT_EQ(WaitForSingleObject(t, INFINITE), WAIT_OBJECT_0);
  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(t, &code));
  EXPECT_EQ(code, 7u);
  EXPECT_TRUE(CloseHandle(t));
  EXPECT_FALSE(CloseHandle(t));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
