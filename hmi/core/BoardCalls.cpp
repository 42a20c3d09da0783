#include "BoardCalls.h"

namespace {

struct BoardLock {
  BoardLock() { InitializeCriticalSection(&section); }
  CRITICAL_SECTION section;
};

}  // namespace

CRITICAL_SECTION& BoardCallLock() {
  static BoardLock lock;
  return lock.section;
}

int CallRebootHot() {
  CriticalSectionLock guard(BoardCallLock());
  // The board library binder is not part of the program yet; without a library the request is
  // ignored, as it is on a board whose library is missing.
  return 0;
}
