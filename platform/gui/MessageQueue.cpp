// Messages: the queue, sends within and across threads, timers, input delivery, the modal loops and
// the pump tests use. Retrieval order follows the platform: sent messages are handled at once, then
// posted messages, then input, then paints, then timers, so a timer never queues twice and a late
// one fires once.
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>

#include "Clock.h"
#include "Debug.h"
#include "GuiState.h"

namespace panel {
namespace gui {

bool (*g_preTranslate)(MSG* msg) = nullptr;
LRESULT (*g_callObject)(CWnd* object, UINT message, WPARAM wParam, LPARAM lParam) = nullptr;
void (*g_detachObject)(CWnd* object) = nullptr;
void (*g_bindObject)(CWnd* object, HWND hwnd) = nullptr;

namespace {

const uint64_t kNever = ~0ull;

uint64_t Now() { return GetClock().MonotonicMs(); }

VirtualClock* Virtual() { return dynamic_cast<VirtualClock*>(&GetClock()); }

DWORD SendTimeoutMs() {
  const char* v = std::getenv("PANEL_SEND_TIMEOUT_MS");
  if (v && *v) return static_cast<DWORD>(std::strtoul(v, nullptr, 10));
  return 5000;
}

bool InFilter(UINT message, UINT lo, UINT hi) { return (lo == 0 && hi == 0) || (message >= lo && message <= hi); }

bool OwnedBy(Window* t, Window* owner) {
  for (Window* o = t; o; o = o->owner) {
    if (o == owner) return true;
  }
  return false;
}

// Turns a finger event into a mouse message for the window that gets it; false when nobody does.
bool ToMouseMessage(const InputEvent& e, MSG* msg) {
  GuiState& s = State();
  s.cursor = e.pt;
  Window* target = Find(s.capture);
  if (!target && e.kind != 0 && s.pressed) target = Find(s.pressTarget);
  if (!target) {
    Window* top = TopLevelAt(e.pt);
    Window* modal = nullptr;
    for (auto it = s.modal.rbegin(); it != s.modal.rend() && !modal; ++it) modal = Find((*it)->handle);
    if (modal) {
      // A modal dialog takes all input: a tap outside it goes to the dialog itself.
      target = (top && OwnedBy(top, modal) && IsEnabled(top)) ? HitTestIn(top, e.pt) : modal;
    } else if (top && IsEnabled(top)) {
      target = HitTestIn(top, e.pt);
    }
  }
  bool wasPressed = s.pressed;
  if (e.kind == 0) {
    s.pressed = true;
    s.pressTarget = target ? target->handle : nullptr;
  } else if (e.kind == 2) {
    s.pressed = false;
    s.pressTarget = nullptr;
  }
  if (!target) return false;
  if (e.kind == 2 && !wasPressed) return false;  // a release without its press (capture ended it)
  POINT o = ClientOrigin(target);
  msg->hwnd = target->handle;
  msg->message = e.kind == 0 ? WM_LBUTTONDOWN : e.kind == 1 ? WM_MOUSEMOVE : WM_LBUTTONUP;
  msg->wParam = (e.kind == 0 || (e.kind == 1 && s.pressed)) ? MK_LBUTTON : 0;
  msg->lParam = MAKELPARAM(static_cast<short>(e.pt.x - o.x), static_cast<short>(e.pt.y - o.y));
  msg->pt = e.pt;
  msg->time = GetTickCount();
  return true;
}

bool TakeTimer(MSG* msg, HWND filter, bool remove) {
  GuiState& s = State();
  uint64_t now = Now();
  Timer* best = nullptr;
  for (Timer& t : s.timers) {
    if (t.due > now) continue;
    if (filter && t.hwnd != filter) continue;
    if (!best || t.due < best->due) best = &t;
  }
  if (!best) return false;
  msg->hwnd = best->hwnd;
  msg->message = WM_TIMER;
  msg->wParam = best->id;
  msg->lParam = reinterpret_cast<LPARAM>(best->proc);
  msg->time = GetTickCount();
  msg->pt = s.cursor;
  if (remove) {
    // The next tick keeps the timer's own beat, so late ticks do not add up to a slower timer; one
    // message however late, the beats it missed are dropped: no catching up.
    best->due += best->elapse;
    if (best->due <= now) best->due = now + best->elapse - (now - best->due) % best->elapse;
  }
  return true;
}

uint64_t NextTimerDue() {
  uint64_t next = kNever;
  for (const Timer& t : State().timers) next = std::min(next, t.due);
  return next;
}

int WakeFd() {
  GuiState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  if (s.wakeFd < 0) s.wakeFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  return s.wakeFd;
}

void DrainWake(int fd) {
  uint64_t count = 0;
  ssize_t ignored = read(fd, &count, sizeof count);
  (void)ignored;
}

// Sleeps until WakeGui, or until realMs have passed (-1: no limit).
void WaitForWake(int realMs) {
  const int fd = WakeFd();
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, 1, realMs) < 0 && errno == EINTR) {
  }
  DrainWake(fd);
}

// Sleeps until WakeGui, or until clockMs of the production clock have passed (a sped-up board clock
// shortens the real wait).
void WaitForWakeOrClock(DWORD clockMs) {
  const int fd = WakeFd();
  GetClock().WaitReadable(fd, clockMs);
  DrainWake(fd);
}

bool Pending(GuiState& s) {
  std::lock_guard<std::mutex> guard(s.lock);
  return !s.posted.empty() || !s.input.empty() || !s.incoming.empty() || s.quit;
}

// 1: a message; 0: WM_QUIT; -1: nothing (no wait, or the stop condition came true); -2: nothing can
// ever come (virtual time with no timer and no hook).
int NextMessage(MSG* msg, bool wait, bool remove, HWND filter, UINT lo, UINT hi, const std::function<bool()>& stop) {
  GuiState& s = State();
  OnGuiThread();
  EnsureDisplay();
  for (;;) {
    HandleIncomingSends();
    if (stop && stop()) return -1;
    {
      std::lock_guard<std::mutex> guard(s.lock);
      for (auto it = s.posted.begin(); it != s.posted.end(); ++it) {
        if (filter && it->hwnd != filter) continue;
        if (!InFilter(it->message, lo, hi)) continue;
        *msg = *it;
        if (remove) s.posted.erase(it);
        return 1;
      }
      if (s.quit && !filter) {
        *msg = MSG{};
        msg->message = WM_QUIT;
        msg->wParam = static_cast<WPARAM>(s.quitCode);
        if (remove) s.quit = false;
        return 0;
      }
    }
    if (remove && InFilter(WM_LBUTTONDOWN, lo, hi)) {
      InputEvent e;
      bool have = false;
      {
        std::lock_guard<std::mutex> guard(s.lock);
        if (!s.input.empty()) {
          e = s.input.front();
          s.input.pop_front();
          have = true;
        }
      }
      if (have) {
        if (ToMouseMessage(e, msg) && (!filter || msg->hwnd == filter)) return 1;
        continue;
      }
    }
    if (InFilter(WM_PAINT, lo, hi)) {
      PaintDesktop();
      HWND paint = nullptr;
      if (NextPaintWindow(paint) && (!filter || paint == filter)) {
        *msg = MSG{};
        msg->hwnd = paint;
        msg->message = WM_PAINT;
        msg->time = GetTickCount();
        return 1;
      }
    }
    if (InFilter(WM_TIMER, lo, hi)) {
      // The other programs see this program's windows before it acts on a timer of its own: a window
      // just made is found at once, not only once the program has nothing left to do.
      PublishTreeIfChanged();
      if (TakeTimer(msg, filter, remove)) return 1;
    }
    PublishTreeIfChanged();
    PresentIfChanged();
    if (!wait) return -1;
    // Nothing pending: let the idle hook act, then wait for the next thing that can happen.
    DWORD hookWait = INFINITE;
    if (s.idleHook) {
      hookWait = s.idleHook();
      if (hookWait == 0) continue;
    }
    uint64_t now = Now();
    uint64_t until = NextTimerDue();
    if (hookWait != INFINITE) until = std::min(until, now + hookWait);
    if (Pending(s)) continue;
    if (VirtualClock* vc = Virtual()) {
      if (until != kNever) {
        if (until > now) vc->Advance(until - now);
        continue;
      }
      // A person at the device may still tap: wait for that in real time.
      if (Backend().HasDevice()) {
        WaitForWake(20);
        continue;
      }
      return -2;
    }
    // Asleep until something arrives or the next timer is due (a day at most, to stay in range).
    if (until == kNever) {
      WaitForWake(-1);
    } else if (until > now) {
      WaitForWakeOrClock(static_cast<DWORD>(std::min<uint64_t>(until - now, 24ull * 3600 * 1000)));
    }
  }
}

}  // namespace

void WakeGui() {
  State().wake.notify_all();
  const uint64_t one = 1;
  ssize_t ignored = write(WakeFd(), &one, sizeof one);
  (void)ignored;
}

void QueueInput(int kind, int x, int y) {
  GuiState& s = State();
  {
    std::lock_guard<std::mutex> guard(s.lock);
    InputEvent e;
    e.kind = kind;
    e.pt = POINT{x, y};
    s.input.push_back(e);
  }
  WakeGui();
}

void HandleIncomingSends() {
  GuiState& s = State();
  std::deque<std::shared_ptr<SentRequest>> work;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    if (s.incoming.empty()) return;
    work.swap(s.incoming);
  }
  for (auto& r : work) {
    LRESULT result = 0;
    if (r->hwnd == HWND_BROADCAST) {
      std::vector<HWND> tops;
      for (Window* t : s.topLevel) tops.push_back(t->handle);
      for (HWND h : tops) Call(Find(h), r->message, r->wParam, r->lParam);
    } else if (Window* w = Find(r->hwnd)) {
      result = Call(w, r->message, r->wParam, r->lParam);
    }
    {
      std::lock_guard<std::mutex> guard(s.lock);
      r->result = result;
      r->done = true;
    }
  }
  s.wake.notify_all();
}

void ForgetTimersOf(HWND hwnd) {
  auto& t = State().timers;
  t.erase(std::remove_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == hwnd; }), t.end());
}

void EndModalFrom(size_t depth, INT_PTR result) {
  GuiState& s = State();
  for (size_t i = depth; i < s.modal.size(); ++i) {
    Window* d = Find(s.modal[i]->handle);
    if (!d || !d->dialog) continue;
    d->dialog->ended = true;
    d->dialog->result = i == depth ? result : IDCANCEL;
  }
}

INT_PTR RunModalLoop(Window* dialog) {
  GuiState& s = State();
  ModalFrame frame;
  frame.dialog = dialog;
  frame.handle = dialog->handle;
  HWND handle = dialog->handle;
  s.modal.push_back(&frame);
  auto ended = [handle] {
    Window* d = Find(handle);
    return !d || !d->dialog || d->dialog->ended;
  };
  INT_PTR stalled = 0;
  while (!ended()) {
    MSG msg;
    int r = NextMessage(&msg, true, true, nullptr, 0, 0, ended);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // the outer loop sees the quit as well
      stalled = -1;
      break;
    }
    if (r < 0) {
      if (r == -2) {
        OutputDebugStringW(u"modal loop: nothing left to wait for under the virtual clock; it ends with -1");
        stalled = -1;
      }
      break;
    }
    if (!(g_preTranslate && g_preTranslate(&msg))) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  s.modal.erase(std::remove(s.modal.begin(), s.modal.end(), &frame), s.modal.end());
  if (stalled) return stalled;
  Window* d = Find(handle);
  if (!d || !d->dialog) return IDCANCEL;
  return d->dialog->result;
}

}  // namespace gui
}  // namespace panel

using namespace panel::gui;

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  GuiState& s = State();
  if (hwnd == HWND_BROADCAST) {
    if (!OnGuiThread()) return 0;
    std::vector<HWND> tops;
    for (Window* t : s.topLevel) tops.push_back(t->handle);
    for (HWND h : tops) Call(Find(h), message, wParam, lParam);
    return 0;
  }
  if (!hwnd) return 0;
  if (!IsLocalHandle(hwnd)) return RemoteSend(hwnd, message, wParam, lParam, false, nullptr);
  if (OnGuiThread()) {
    Window* w = Find(hwnd);
    if (!w) {
      SetLastError(1400);  // ERROR_INVALID_WINDOW_HANDLE
      return 0;
    }
    return Call(w, message, wParam, lParam);
  }
  // Another thread of this program: the GUI thread handles it; the wait is bounded.
  auto request = std::make_shared<SentRequest>();
  request->hwnd = hwnd;
  request->message = message;
  request->wParam = wParam;
  request->lParam = lParam;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.incoming.push_back(request);
  }
  WakeGui();
  std::unique_lock<std::mutex> lock(s.lock);
  if (!s.wake.wait_for(lock, std::chrono::milliseconds(SendTimeoutMs()), [&] { return request->done; })) {
    SetLastError(ERROR_TIMEOUT);
    return 0;
  }
  return request->result;
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  GuiState& s = State();
  if (hwnd && hwnd != HWND_BROADCAST && !IsLocalHandle(hwnd)) {
    bool ok = false;
    RemoteSend(hwnd, message, wParam, lParam, true, &ok);
    return ok ? TRUE : FALSE;
  }
  std::vector<HWND> targets;
  if (hwnd == HWND_BROADCAST) {
    if (!OnGuiThread()) return FALSE;
    for (Window* t : s.topLevel) targets.push_back(t->handle);
  } else {
    targets.push_back(hwnd);
  }
  {
    std::lock_guard<std::mutex> guard(s.lock);
    for (HWND h : targets) {
      MSG m{};
      m.hwnd = h;
      m.message = message;
      m.wParam = wParam;
      m.lParam = lParam;
      m.time = GetTickCount();
      s.posted.push_back(m);
    }
  }
  WakeGui();
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  GuiState& s = State();
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.quit = true;
    s.quitCode = exitCode;
  }
  WakeGui();
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) return FALSE;
  int r = NextMessage(msg, true, true, hwnd, filterMin, filterMax, nullptr);
  if (r == 1) {
    State().lastMessage = *msg;
    return TRUE;
  }
  if (r < 0) {
    // Nothing can ever arrive (virtual time): report it as a quit rather than hang the caller.
    *msg = MSG{};
    msg->message = WM_QUIT;
    OutputDebugStringW(u"GetMessage: nothing left to wait for under the virtual clock");
  }
  return FALSE;
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) return FALSE;
  int r = NextMessage(msg, false, (removeFlags & PM_REMOVE) != 0, hwnd, filterMin, filterMax, nullptr);
  if (r == 1 || r == 0) return TRUE;
  return FALSE;
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) return 0;
  GuiState& s = State();
  s.lastMessage = *msg;
  if (msg->message == WM_TIMER && msg->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
    return 0;
  }
  Window* w = Find(msg->hwnd);
  if (!w) return 0;
  HWND handle = w->handle;
  LRESULT r = Call(w, msg->message, msg->wParam, msg->lParam);
  if (msg->message == WM_PAINT) {
    // A window that paints nothing is still validated, or it would be asked again at once.
    if (Window* again = Find(handle)) again->hasUpdate = false;
  }
  return r;
}

DWORD GetMessageTime() { return State().lastMessage.time; }
DWORD GetMessagePos() {
  POINT p = State().lastMessage.pt;
  return static_cast<DWORD>(MAKELONG(p.x, p.y));
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  GuiState& s = State();
  if (hwnd && !Find(hwnd)) return 0;
  if (!hwnd) {
    bool reuse = false;
    for (Timer& t : s.timers) reuse |= (!t.hwnd && t.id == id);
    if (!reuse) id = ++s.nextTimerId;
  }
  uint64_t due = panel::GetClock().MonotonicMs() + std::max<UINT>(elapseMs, 1);
  for (Timer& t : s.timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.elapse = std::max<UINT>(elapseMs, 1);
      t.due = due;
      t.proc = proc;
      return hwnd ? id : t.id;
    }
  }
  Timer t;
  t.hwnd = hwnd;
  t.id = id;
  t.elapse = std::max<UINT>(elapseMs, 1);
  t.due = due;
  t.proc = proc;
  s.timers.push_back(t);
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = State().timers;
  auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) return FALSE;
  timers.erase(it);
  return TRUE;
}

namespace panel {

void PressAt(int x, int y) { gui::QueueInput(0, x, y); }
void MoveTo(int x, int y) { gui::QueueInput(1, x, y); }
void ReleaseAt(int x, int y) { gui::QueueInput(2, x, y); }
void TapAt(int x, int y) {
  gui::QueueInput(0, x, y);
  gui::QueueInput(2, x, y);
}

int PumpMessages() {
  int handled = 0;
  MSG msg;
  for (;;) {
    int r = NextMessage(&msg, false, true, nullptr, 0, 0, nullptr);
    if (r == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (r < 0) break;
    ++handled;
    if (!(g_preTranslate && g_preTranslate(&msg))) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  gui::PresentIfChanged();
  return handled;
}

void SetIdleHook(std::function<DWORD()> hook) { gui::State().idleHook = std::move(hook); }

void SetMessageSpy(std::function<void(HWND, UINT, WPARAM, LPARAM)> spy) { gui::State().spy = std::move(spy); }

ScriptedInput::ScriptedInput() {
  SetIdleHook([this] { return Run(); });
}

ScriptedInput::~ScriptedInput() { SetIdleHook(nullptr); }

ScriptedInput& ScriptedInput::Then(std::function<void()> step) {
  Step s;
  s.action = std::move(step);
  m_steps.push_back(std::move(s));
  return *this;
}

ScriptedInput& ScriptedInput::Tap(int x, int y) {
  return Then([x, y] { TapAt(x, y); });
}

ScriptedInput& ScriptedInput::Wait(DWORD milliseconds) {
  Step s;
  s.waitMs = milliseconds;
  m_steps.push_back(std::move(s));
  return *this;
}

bool ScriptedInput::Done() const { return m_next >= m_steps.size(); }

DWORD ScriptedInput::Run() {
  while (m_next < m_steps.size()) {
    Step& step = m_steps[m_next];
    if (step.action) {
      ++m_next;
      step.action();
      return 0;
    }
    uint64_t now = GetClock().MonotonicMs();
    if (!m_waiting) {
      m_waiting = true;
      m_waitUntil = now + step.waitMs;
    }
    if (now < m_waitUntil) return static_cast<DWORD>(m_waitUntil - now);
    m_waiting = false;
    ++m_next;
  }
  return INFINITE;
}

}  // namespace panel
