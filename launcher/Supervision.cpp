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
  HWND found = nullptr;
};

BOOL FindByExitButton(HWND top, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!HasDescendantTitled(top, kExitButtonText)) return TRUE;
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

bool MainProgramRunsFrom(const char16_t* program) {
  DWORD processId = 0;
  HWND window = MainProgramWindow();
  if (!window || !GetWindowThreadProcessId(window, &processId)) return false;
  HANDLE process = OpenProcess(0, FALSE, processId);
  if (!process) return false;
  WCHAR path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(process, path, MAX_PATH);
  CloseHandle(process);
  return length > 0 && WStrICmp(path, program) == 0;
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
