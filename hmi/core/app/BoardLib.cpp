#include "BoardLib.h"

namespace {

typedef int (*TurnLightProc)(int on);
typedef int (*RebootHotProc)();

}  // namespace

HMODULE g_hBoardLib = nullptr;
int g_boardIsCorvalin = 1;

DWORD BoardProcessorType() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return info.dwProcessorType;
}

int BoardIsCorvalin(DWORD processorType) { return processorType == kHalvarnProcessorType ? 0 : 1; }

const char16_t* BoardLibFileName(DWORD processorType) {
  return BoardIsCorvalin(processorType) ? u"Corvalin.dll" : u"Halvarn.dll";
}

HMODULE LoadBoardLibrary(const CString& folder, DWORD processorType) {
  CString path = folder;
  if (!path.IsEmpty() && path[path.GetLength() - 1] != u'\\') path += u'\\';
  path += BoardLibFileName(processorType);
  return LoadLibraryW(path);
}

int BoardTurnLight(HMODULE lib, int on) {
  if (!lib) return 0;
  auto turnLight = panel::ProcAs<TurnLightProc>(GetProcAddressW(lib, u"Turn_Light"));
  if (turnLight) turnLight(on);
  return 0;
}

int BoardRebootHot(HMODULE lib) {
  if (!lib) return 0;
  auto rebootHot = panel::ProcAs<RebootHotProc>(GetProcAddressW(lib, u"RebootHot"));
  if (rebootHot) rebootHot();
  return 0;
}

void LoadBoardLib() {
  DWORD processorType = BoardProcessorType();
  g_boardIsCorvalin = BoardIsCorvalin(processorType);
  g_hBoardLib = LoadBoardLibrary(CString(), processorType);
}

CRITICAL_SECTION& BoardCallLock() {
  struct Lock {
    Lock() { InitializeCriticalSection(&section); }
    CRITICAL_SECTION section;
  };
  static Lock lock;
  return lock.section;
}

void FreeBoardLib() {
  CriticalSectionLock guard(BoardCallLock());
  if (g_hBoardLib) FreeLibrary(g_hBoardLib);
  g_hBoardLib = nullptr;
}

int CallTurnLight(int on) { return BoardTurnLight(g_hBoardLib, on); }

int CallRebootHot() {
  CriticalSectionLock guard(BoardCallLock());
  return BoardRebootHot(g_hBoardLib);
}
