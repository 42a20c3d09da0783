// Threads over std::thread. A thread is a waitable handle; CloseHandle on it detaches the handle
// only, the thread runs on (as on CE), and the process-wide table joins finished threads.
#pragma once

#include "WinTypes.h"

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID parameter);
#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 259u

HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, size_t stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, LPDWORD threadId);
// Previous suspend count (1 for a thread created suspended, 0 otherwise); 0xFFFFFFFF for a bad handle.
DWORD ResumeThread(HANDLE thread);
BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
DWORD GetCurrentThreadId();
// Accepted for a live thread (CE priorities 0, highest, to 7) and remembered; Linux scheduling is
// left as it is. FALSE with ERROR_INVALID_HANDLE for anything else, ERROR_INVALID_PARAMETER out of range.
BOOL SetThreadPriority(HANDLE thread, int priority);
