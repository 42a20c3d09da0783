// A program's start-up that must stop with a message box: the box's texts (label first), read while it
// is up, the box then closed with OK. Header only: it needs the graphical layer of the test using it.
#pragma once

#include <functional>
#include <vector>

#include "Gui.h"

namespace testing_support {

struct StartFailure {
  std::vector<CString> box;     // the texts of the box's controls
  bool windowShown = true;      // a window of this title was up meanwhile
  BOOL result = TRUE;           // what the start-up returned
};

inline StartFailure RunFailingStart(const std::function<BOOL()>& start, const char16_t* windowTitle) {
  StartFailure seen;
  panel::ScriptedInput script;
  script.Then([&] {
    HWND box = GetActiveWindow();
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      WCHAR text[256] = {};
      GetWindowTextW(child, text, 255);
      seen.box.push_back(CString(text));
    }
    seen.windowShown = FindWindowW(nullptr, windowTitle) != nullptr;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  seen.result = start();
  return seen;
}

}  // namespace testing_support
