#include "Sync.h"

#include <gtest/gtest.h>

#include <atomic>

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
