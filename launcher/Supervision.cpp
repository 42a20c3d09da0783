#include "Supervision.h"

namespace {

const char16_t kMainTitle[] = u"Quellora";
const char16_t kExitButtonText[] = u"EXIT";
const int kTextLength = 1024;

// Depth first over the descendants of parent: first child, then the next sibling.
bool HasDescendantTitled(HWND parent, const char16_t* title) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    WCHAR text[kTextLength + 1] = {};
    GetWindowTextW(child, text, kTextLength);
    if (WStrCmp(text, title) == 0) return true;
    if (HasDescendantTitled(child, title)) return true;
  }
  return false;
}

struct Search {
  DWORD processId = 0;  // FindOfProgram: the program whose window is looked for
  HWND found = nullptr;
};

bool IsMainProgramWindow(HWND top) {
  WCHAR text[kTextLength + 1] = {};
  GetWindowTextW(top, text, kTextLength);
  return WStrCmp(text, kMainTitle) == 0 || HasDescendantTitled(top, kExitButtonText);
}

BOOL FindByExitButton(HWND top, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!HasDescendantTitled(top, kExitButtonText)) return TRUE;
  search->found = top;
  return FALSE;
}

BOOL FindOfProgram(HWND top, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  if (!GetWindowThreadProcessId(top, &owner) || owner != search->processId || !IsMainProgramWindow(top)) return TRUE;
  search->found = top;
  return FALSE;
}

// The top-level window titled "Quellora", else the first with a descendant titled "EXIT".
HWND MainProgramWindow() {
  HWND window = FindWindowW(nullptr, kMainTitle);
  if (window) return window;
  Search search;
  EnumWindows(FindByExitButton, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The file name of a CE path: what a snapshot lists.
const char16_t* FileName(const char16_t* path) {
  const char16_t* name = path;
  for (const char16_t* p = path; *p; ++p) {
    if (*p == u'\\') name = p + 1;
  }
  return name;
}

bool RunsFrom(DWORD processId, const char16_t* program) {
  HANDLE process = OpenProcess(0, FALSE, processId);
  if (!process) return false;
  WCHAR path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(process, path, MAX_PATH);
  CloseHandle(process);
  return length > 0 && WStrICmp(path, program) == 0;
}

}  // namespace

bool StartProgram(const CString& path) {
  STARTUPINFOW startup{sizeof(startup)};
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(path, nullptr, nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

bool FindMainProgramWindow(bool close) {
  HWND window = MainProgramWindow();
  if (!window) return false;
  if (close) SendMessageW(window, WM_CLOSE, 0, 0);
  return true;
}

DWORD FindProgramProcess(const char16_t* program) {
  // A program is listed under its file's path only while the file is there (one deleted or moved is
  // listed otherwise): without the file no look at the board's processes is needed, which is every
  // second's case outside an update.
  if (GetFileAttributesW(program) == INVALID_FILE_ATTRIBUTES) return 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  DWORD found = 0;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    if (WStrICmp(entry.szExeFile, FileName(program)) == 0 && RunsFrom(entry.th32ProcessID, program)) {
      found = entry.th32ProcessID;
    }
  }
  CloseToolhelp32Snapshot(snapshot);
  return found;
}

bool CloseProgramWindow(DWORD processId) {
  Search search;
  search.processId = processId;
  EnumWindows(FindOfProgram, reinterpret_cast<LPARAM>(&search));
  // Posted, not sent: a program that is busy ending or still starting cannot hold the launcher's tick.
  return search.found && PostMessageW(search.found, WM_CLOSE, 0, 0);
}

void CloseErrorBoxes() {
  static const char16_t* const kTitles[] = {u"Application Error", u"Fatal Application Error", u"应用程序错误",
                                             u"致命的应用程序错误"};
  for (const char16_t* title : kTitles) {
    if (HWND box = FindWindowW(nullptr, title)) {
      SendMessageW(box, WM_CLOSE, 0, 0);
      return;
    }
  }
}
