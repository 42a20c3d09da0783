// The GUI state of the program: window records, z-order, focus and capture, timers, modal loops and
// the message queue. Internal to the layer. Everything but the queue section belongs to the GUI
// thread; the queue section is guarded by State().lock and may be touched by any thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "DisplayBackend.h"
#include "WindowImpl.h"

namespace panel {
namespace gui {

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT elapse = 0;
  uint64_t due = 0;  // monotonic milliseconds of the clock in force
  TIMERPROC proc = nullptr;
};

struct ModalFrame {
  Window* dialog = nullptr;
  HWND handle = nullptr;
};

struct InputEvent {
  int kind = 0;  // 0 press, 1 move, 2 release
  POINT pt{0, 0};
};

// A message sent to one of this program's windows from another thread or program.
struct SentRequest {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  LRESULT result = 0;
  bool done = false;
};

struct GuiState {
  // GUI thread.
  std::map<uint64_t, std::unique_ptr<Window>> windows;
  std::vector<std::unique_ptr<Window>> graveyard;
  std::vector<Window*> topLevel;  // top of the z-order first
  std::map<std::u16string, WindowClass> classes;  // by upper-case name
  uint32_t nextSerial = 0x1000;
  HWND focus = nullptr;
  HWND capture = nullptr;
  HWND active = nullptr;
  HWND pressTarget = nullptr;  // the window that got the press, until the release
  bool pressed = false;
  POINT cursor{0, 0};
  std::vector<Timer> timers;
  UINT_PTR nextTimerId = 0x7F00;
  std::vector<ModalFrame*> modal;  // innermost last
  MSG lastMessage{};
  std::vector<HWND> dispatching;
  std::function<DWORD()> idleHook;
  std::function<void(HWND, UINT, WPARAM, LPARAM)> spy;
  std::unique_ptr<Surface> screen;
  std::unique_ptr<DisplayBackend> backend;
  uint64_t shownGeneration = ~0ull;        // the picture last handed to the board
  std::vector<SharedWindow> publishedWindows;  // the window places last handed to the board
  Region desktopUpdate;  // screen areas no window covers that must be painted black
  bool treeChanged = true;  // the published tree is out of date

  // Any thread, under lock.
  std::mutex lock;
  std::condition_variable wake;
  std::deque<MSG> posted;
  std::deque<InputEvent> input;
  std::deque<std::shared_ptr<SentRequest>> incoming;
  bool quit = false;
  int quitCode = 0;
  std::thread::id guiThread;
  bool hasGuiThread = false;
  int wakeFd = -1;  // an eventfd the GUI thread waits on; set once
};

GuiState& State();
void EnsureDisplay();
bool OnGuiThread();
// From any thread: something arrived for the GUI thread (a message, input, a send, the quit).
void WakeGui();
// Attaches to the board of the root in force when it changed, giving this program's windows their
// places on it; true when it changed.
bool FollowRoot();

// Queue services shared by the loop and the painting code.
void HandleIncomingSends();
bool NextPaintWindow(HWND& hwnd);
void PaintDesktop();
void PresentIfChanged();
void ExposeScreenRect(const RECT& screenRect);
void InvalidateTree(Window* w, const RECT* clientRect, bool erase, bool children);
void PaintNow(Window* w, bool children);
void DestroyAllWindows();
void ForgetTimersOf(HWND hwnd);
// Ends every modal loop from the given depth inwards (EndDialog of an outer dialog).
void EndModalFrom(size_t depth, INT_PTR result);

// Cross-process window registry.
void PublishTreeIfChanged();
LRESULT RemoteSend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool post, bool* ok);
HWND RemoteFindWindow(LPCWSTR className, LPCWSTR windowName);
void RemoteEnumWindows(std::vector<HWND>& out);
bool RemoteWindowInfo(HWND hwnd, std::u16string* text, std::u16string* className, HWND* parent, HWND* owner,
                      bool* visible, std::vector<HWND>* children);
void StopWindowServer();
// Through another program's window socket: the finger's input (kind 0 press, 1 move, 2 release), and a
// nudge that makes its GUI thread look at the board again. False when the program is not there.
bool SendInput(pid_t pid, int kind, int x, int y);
bool WakeProgram(pid_t pid);

}  // namespace gui
}  // namespace panel
