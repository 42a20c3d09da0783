// The window tree: creation and destruction, z-order, visibility, enabled state, geometry, texts,
// focus and capture, and the generic window procedure.
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "Clock.h"
#include "Debug.h"
#include "GdiObjects.h"
#include "GuiState.h"

namespace panel {
namespace gui {
namespace {

const int kCaptionHeight = 18;
const uint32_t kCaptionColor = 0x00000080;  // COLORREF of a dark blue bar

thread_local CWnd* t_creatingObject = nullptr;

std::u16string Upper(const std::u16string& s) {
  std::u16string u = s;
  for (char16_t& c : u) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return u;
}

void RegisterBuiltIn(GuiState& s, const char16_t* name, WNDPROC proc, int brushColor) {
  WindowClass c;
  c.name = name;
  c.proc = proc;
  c.background = brushColor >= 0 ? GetSysColorBrush(brushColor) : nullptr;
  s.classes[Upper(name)] = c;
}

uint64_t Key(HWND h) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h)); }

bool TransparentToTaps(const Window* w) {
  if (w->exStyle & WS_EX_TRANSPARENT) return true;
  if (w->cls && w->cls->proc == StaticProc) return !(w->style & SS_NOTIFY);
  if (w->cls && w->cls->proc == ButtonProc) return (w->style & BS_TYPEMASK) == BS_GROUPBOX;
  return false;
}

void RemoveFrom(std::vector<Window*>& list, Window* w) { list.erase(std::remove(list.begin(), list.end(), w), list.end()); }

// The stamps order this program's top-level windows among those of every program of the board: within
// each band (topmost or not) they rise from the bottom of the program's own z-order to its top. A window
// placed among its own keeps its stamp where that still fits, else it takes the next one up.
void FixStamps(GuiState& s) {
  for (bool topmost : {true, false}) {
    int64_t floor = INT64_MIN;
    for (auto it = s.topLevel.rbegin(); it != s.topLevel.rend(); ++it) {
      Window* w = *it;
      if (((w->exStyle & WS_EX_TOPMOST) != 0) != topmost) continue;
      if (w->zStamp <= floor) w->zStamp = floor + 1;
      floor = w->zStamp;
    }
  }
}

// A stamp above (or below) every window of the board.
int64_t TakeStamp(bool top) {
  FollowRoot();
  std::shared_ptr<BoardScreen> board = CurrentBoard();
  return top ? board->TopStamp() : board->BottomStamp();
}

void InsertTopLevel(GuiState& s, Window* w, bool top) {
  RemoveFrom(s.topLevel, w);
  bool topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  auto firstNormal = std::find_if(s.topLevel.begin(), s.topLevel.end(),
                                  [](Window* o) { return !(o->exStyle & WS_EX_TOPMOST); });
  if (topmost) {
    s.topLevel.insert(top ? s.topLevel.begin() : firstNormal, w);
  } else {
    s.topLevel.insert(top ? firstNormal : s.topLevel.end(), w);
  }
  w->zStamp = TakeStamp(top);
  FixStamps(s);
}

// Owned pop-ups stay above their owner (and are topmost with it).
void RaiseOwned(GuiState& s, Window* owner) {
  std::vector<Window*> owned;
  for (Window* t : s.topLevel) {
    if (t != owner && t->owner == owner) owned.push_back(t);
  }
  for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
    Window* o = *it;
    if (owner->exStyle & WS_EX_TOPMOST) o->exStyle |= WS_EX_TOPMOST;
    RemoveFrom(s.topLevel, o);
    auto at = std::find(s.topLevel.begin(), s.topLevel.end(), owner);
    s.topLevel.insert(at, o);
    RaiseOwned(s, o);
  }
  FixStamps(s);
}

// A window shown or activated comes to the top of its band, its owned pop-ups with it; true when that
// changed the program's own z-order.
bool BringToTop(GuiState& s, Window* w) {
  std::vector<Window*> before = s.topLevel;
  InsertTopLevel(s, w, true);
  RaiseOwned(s, w);
  return before != s.topLevel;
}

struct Insets {
  int left = 0, top = 0, right = 0, bottom = 0;
};

Insets FrameInsets(const Window* w) {
  Insets in;
  FrameInsetsFor(w->style, w->exStyle, in.left, in.top, in.right, in.bottom);
  return in;
}

void DestroyRecursive(Window* w);

void SendDestroy(Window* w) {
  Call(w, WM_DESTROY, 0, 0);
  std::vector<Window*> kids = w->children;
  for (Window* c : kids) {
    if (!c->destroyed) SendDestroy(c);
  }
}

void SendNcDestroy(Window* w) {
  std::vector<Window*> kids = w->children;
  for (Window* c : kids) {
    if (!c->destroyed) SendNcDestroy(c);
  }
  Call(w, WM_NCDESTROY, 0, 0);
  if (w->object && g_detachObject) g_detachObject(w->object);
  w->object = nullptr;
}

void Unlink(Window* w) {
  GuiState& s = State();
  for (Window* c : w->children) Unlink(c);
  w->destroyed = true;
  HWND h = w->handle;
  if (s.focus == h) s.focus = nullptr;
  if (s.capture == h) s.capture = nullptr;
  if (s.active == h) s.active = nullptr;
  if (s.pressTarget == h) s.pressTarget = nullptr;
  ForgetTimersOf(h);
  auto it = s.windows.find(Key(h));
  if (it != s.windows.end()) {
    s.graveyard.push_back(std::move(it->second));
    s.windows.erase(it);
  }
}

void DestroyRecursive(Window* w) {
  GuiState& s = State();
  // Owned pop-ups go first, as their owner's life bounds theirs.
  std::vector<Window*> owned;
  for (Window* t : s.topLevel) {
    if (t->owner == w) owned.push_back(t);
  }
  for (Window* o : owned) {
    if (!o->destroyed) DestroyWindow(o->handle);
  }
  if (w->destroyed) return;
  // A modal dialog being destroyed ends its loop and the loops inside it.
  for (size_t i = 0; i < s.modal.size(); ++i) {
    if (s.modal[i]->dialog == w) {
      EndModalFrom(i, IDCANCEL);
      break;
    }
  }
  bool wasVisible = IsVisible(w);
  RECT screenRect = WindowRectOnScreen(w);
  w->style &= ~WS_VISIBLE;
  if (s.active == w->handle) s.active = w->owner ? w->owner->handle : nullptr;
  SendDestroy(w);
  SendNcDestroy(w);
  if (w->parent) {
    RemoveFrom(w->parent->children, w);
  } else {
    RemoveFrom(s.topLevel, w);
  }
  for (Window* t : s.topLevel) {
    if (t->owner == w) t->owner = nullptr;
  }
  Unlink(w);
  if (wasVisible) ExposeScreenRect(screenRect);
  s.treeChanged = true;
}

void PurgeGraveyard() {
  GuiState& s = State();
  auto& g = s.graveyard;
  g.erase(std::remove_if(g.begin(), g.end(), [](const std::unique_ptr<Window>& w) { return w->calls == 0; }),
          g.end());
}

void LoseFocusWithin(Window* w) {
  GuiState& s = State();
  Window* f = Find(s.focus);
  for (Window* a = f; a; a = a->parent) {
    if (a == w) {
      SetFocus(nullptr);
      break;
    }
  }
  Window* c = Find(s.capture);
  for (Window* a = c; a; a = a->parent) {
    if (a == w) {
      ReleaseCapture();
      break;
    }
  }
  Window* p = Find(s.pressTarget);
  for (Window* a = p; a; a = a->parent) {
    if (a == w) {
      s.pressTarget = nullptr;
      break;
    }
  }
}

}  // namespace

void FrameInsetsFor(DWORD style, DWORD exStyle, int& left, int& top, int& right, int& bottom) {
  int b = 0;
  if ((style & (WS_BORDER | WS_DLGFRAME)) || (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_DLGMODALFRAME))) {
    b = 1;
  }
  left = right = bottom = b;
  top = b + (((style & WS_CAPTION) == WS_CAPTION) ? kCaptionHeight : 0);
}

bool FollowRoot() {
  if (!FollowBoard()) return false;
  GuiState& s = State();
  // Another board: this program's windows take places on it in their own order, and all is shown anew.
  std::shared_ptr<BoardScreen> board = CurrentBoard();
  for (auto it = s.topLevel.rbegin(); it != s.topLevel.rend(); ++it) (*it)->zStamp = board->TopStamp();
  s.shownGeneration = ~0ull;
  s.publishedWindows.clear();
  return true;
}

GuiState& State() {
  static GuiState* state = [] {
    GuiState* s = new GuiState();  // lives to process exit: windows may be touched by static destructors
    RegisterBuiltIn(*s, u"STATIC", StaticProc, -1);
    RegisterBuiltIn(*s, u"BUTTON", ButtonProc, COLOR_BTNFACE);
    RegisterBuiltIn(*s, u"EDIT", EditProc, COLOR_WINDOW);
    RegisterBuiltIn(*s, u"SysListView32", ListViewProc, COLOR_WINDOW);
    RegisterBuiltIn(*s, u"Dialog", DialogProc, COLOR_BTNFACE);
    s->classes[u"#32770"] = s->classes[u"DIALOG"];
    return s;
  }();
  return *state;
}

bool OnGuiThread() {
  GuiState& s = State();
  std::lock_guard<std::mutex> guard(s.lock);
  if (!s.hasGuiThread) {
    s.hasGuiThread = true;
    s.guiThread = std::this_thread::get_id();
  }
  return s.guiThread == std::this_thread::get_id();
}

Window* Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  GuiState& s = State();
  auto it = s.windows.find(Key(hwnd));
  if (it == s.windows.end() || it->second->destroyed) return nullptr;
  return it->second.get();
}

bool IsLocalHandle(HWND hwnd) { return (Key(hwnd) >> 32) == static_cast<uint64_t>(getpid()); }

Window* FindOrChild(HWND dialog, int id) {
  Window* d = Find(dialog);
  if (!d) return nullptr;
  for (Window* c : d->children) {
    if (c->id == id) return c;
  }
  return nullptr;
}

HWND CurrentDispatchWindow() {
  GuiState& s = State();
  return s.dispatching.empty() ? nullptr : s.dispatching.back();
}

LRESULT Call(Window* w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!w) return 0;
  GuiState& s = State();
  if (s.spy) s.spy(w->handle, message, wParam, lParam);
  ++w->calls;
  s.dispatching.push_back(w->handle);
  LRESULT r;
  if (w->object && g_callObject) {
    r = g_callObject(w->object, message, wParam, lParam);
  } else {
    r = w->proc ? w->proc(w->handle, message, wParam, lParam) : DefWindowProcW(w->handle, message, wParam, lParam);
  }
  s.dispatching.pop_back();
  --w->calls;
  if (s.dispatching.empty()) PurgeGraveyard();
  return r;
}

LRESULT CallClassProc(Window* w, UINT message, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = w->proc ? w->proc : (w->cls ? w->cls->proc : nullptr);
  if (!proc) return DefWindowProcW(w->handle, message, wParam, lParam);
  return proc(w->handle, message, wParam, lParam);
}

RECT WindowRectOnScreen(const Window* w) {
  RECT r = w->rect;
  if (w->parent) {
    POINT o = ClientOrigin(w->parent);
    OffsetRect(&r, o.x, o.y);
  }
  return r;
}

POINT ClientOrigin(const Window* w) {
  RECT r = WindowRectOnScreen(w);
  Insets in = FrameInsets(w);
  return POINT{r.left + in.left, r.top + in.top};
}

RECT ClientRect(const Window* w) {
  Insets in = FrameInsets(w);
  int width = std::max(0, static_cast<int>(w->rect.right - w->rect.left) - in.left - in.right);
  int height = std::max(0, static_cast<int>(w->rect.bottom - w->rect.top) - in.top - in.bottom);
  return MakeRect(0, 0, width, height);
}

RECT ClientRectOnScreen(const Window* w) {
  RECT c = ClientRect(w);
  POINT o = ClientOrigin(w);
  OffsetRect(&c, o.x, o.y);
  return c;
}

bool IsVisible(const Window* w) {
  for (const Window* a = w; a; a = a->parent) {
    if (!(a->style & WS_VISIBLE)) return false;
  }
  return true;
}

bool IsEnabled(const Window* w) { return !(w->style & WS_DISABLED); }

Window* TopLevelOf(Window* w) {
  while (w && w->parent) w = w->parent;
  return w;
}

Region VisibleRegion(const Window* w, bool clientOnly) {
  Region region;
  if (!IsVisible(w)) return region;
  region.Set(clientOnly ? ClientRectOnScreen(w) : WindowRectOnScreen(w));
  GuiState& s = State();
  // Siblings above clip at every level (as with WS_CLIPSIBLINGS), parents clip to their client area.
  for (const Window* a = w; a && !region.IsEmpty(); a = a->parent) {
    const std::vector<Window*>& level = a->parent ? a->parent->children : s.topLevel;
    for (Window* sib : level) {
      if (sib == a) break;
      if (sib->style & WS_VISIBLE) region.Subtract(WindowRectOnScreen(sib));
    }
    if (a->parent) region.Intersect(ClientRectOnScreen(a->parent));
  }
  if (clientOnly && (w->style & WS_CLIPCHILDREN)) {
    for (Window* c : w->children) {
      if (c->style & WS_VISIBLE) region.Subtract(WindowRectOnScreen(c));
    }
  }
  region.Intersect(MakeRect(0, 0, kScreenWidth, kScreenHeight));
  return region;
}

RECT AreaWithinParents(const Window* w, bool clientOnly) {
  RECT area = clientOnly ? ClientRectOnScreen(w) : WindowRectOnScreen(w);
  for (const Window* p = w->parent; p; p = p->parent) {
    if (!Intersect(area, ClientRectOnScreen(p), area)) return MakeRect(0, 0, 0, 0);
  }
  RECT screen = MakeRect(0, 0, kScreenWidth, kScreenHeight);
  if (!Intersect(area, screen, area)) return MakeRect(0, 0, 0, 0);
  return area;
}

void NotifyCommand(Window* control, UINT code) {
  Window* parent = control->parent ? control->parent : control->owner;
  if (!parent) return;
  HWND self = control->handle;
  Call(parent, WM_COMMAND, MAKEWPARAM(control->id, code), reinterpret_cast<LPARAM>(self));
}

LRESULT NotifyParent(Window* control, NMHDR& header) {
  Window* parent = control->parent ? control->parent : control->owner;
  header.hwndFrom = control->handle;
  header.idFrom = static_cast<UINT_PTR>(control->id);
  if (!parent) return 0;
  return Call(parent, WM_NOTIFY, static_cast<WPARAM>(control->id), reinterpret_cast<LPARAM>(&header));
}

void Invalidate(Window* w) { InvalidateRect(w->handle, nullptr, TRUE); }

HFONT ControlFont(Window* w) {
  if (w->font && LookupObject(w->font)) return w->font;
  return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

HBRUSH ParentColours(Window* control, HDC dc, UINT message) {
  Window* parent = control->parent ? control->parent : control->owner;
  if (!parent) return nullptr;
  return reinterpret_cast<HBRUSH>(Call(parent, message, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(control->handle)));
}

// Hands the next window created on this thread to a class-library object (CWnd::CreateEx, dialogs).
void SetCreatingObject(CWnd* object) { t_creatingObject = object; }

HWND CreateWindowRecord(DWORD exStyle, const char16_t* className, const char16_t* name, DWORD style, int x, int y,
                        int width, int height, HWND parentHandle, int id, LPVOID param,
                        std::unique_ptr<DialogState> dialog) {
  GuiState& s = State();
  OnGuiThread();
  EnsureDisplay();
  CWnd* object = t_creatingObject;
  t_creatingObject = nullptr;
  auto cls = s.classes.find(Upper(className ? className : u""));
  if (cls == s.classes.end()) {
    SetLastError(1407);  // ERROR_CANNOT_FIND_WND_CLASS
    return nullptr;
  }
  Window* parent = Find(parentHandle);
  if ((style & WS_CHILD) && !parent) {
    SetLastError(1406);  // ERROR_TLW_WITH_WSCHILD
    return nullptr;
  }
  auto record = std::make_unique<Window>();
  Window* w = record.get();
  w->handle = reinterpret_cast<HWND>(static_cast<uintptr_t>((static_cast<uint64_t>(getpid()) << 32) | s.nextSerial++));
  w->cls = &cls->second;
  w->proc = cls->second.proc;
  w->object = object;
  w->style = style;
  w->exStyle = exStyle;
  if (w->cls->proc == StaticProc && (style & SS_SUNKEN)) w->exStyle |= WS_EX_STATICEDGE;  // a framed static
  w->text = name ? name : u"";
  w->id = (style & WS_CHILD) ? id : 0;
  w->dialog = std::move(dialog);
  const int kDefault = static_cast<int>(0x80000000u);
  if (x == kDefault) x = 0;
  if (y == kDefault) y = 0;
  if (width == kDefault) width = 0;
  if (height == kDefault) height = 0;
  w->rect = MakeRect(x, y, x + std::max(width, 0), y + std::max(height, 0));
  s.windows[Key(w->handle)] = std::move(record);
  if (style & WS_CHILD) {
    w->parent = parent;
    parent->children.push_back(w);  // controls stack downwards in creation (tab) order
  } else {
    w->owner = TopLevelOf(parent);
    if (w->owner && (w->owner->exStyle & WS_EX_TOPMOST)) w->exStyle |= WS_EX_TOPMOST;
    InsertTopLevel(s, w, true);
  }
  s.treeChanged = true;
  if (object && g_bindObject) g_bindObject(object, w->handle);
  CREATESTRUCTW cs{};
  cs.lpCreateParams = param;
  cs.hwndParent = parentHandle;
  cs.cx = width;
  cs.cy = height;
  cs.x = x;
  cs.y = y;
  cs.style = static_cast<LONG>(style);
  cs.lpszName = w->text.c_str();
  cs.lpszClass = w->cls->name.c_str();
  cs.dwExStyle = exStyle;
  HWND handle = w->handle;
  if (Call(w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(handle);
    return nullptr;
  }
  if (!Find(handle)) return nullptr;
  if (IsVisible(w)) InvalidateTree(w, nullptr, true, true);
  if (!w->parent && (w->style & WS_VISIBLE)) s.active = handle;
  return handle;
}

void DestroyAllWindows() {
  GuiState& s = State();
  while (!s.topLevel.empty()) DestroyWindow(s.topLevel.front()->handle);
  PurgeGraveyard();
}

DialogState::~DialogState() {
  if (ownsFont && font) DeleteObject(font);
}

}  // namespace gui
}  // namespace panel

using namespace panel::gui;

BOOL RegisterClassW(const WNDCLASSW* wc) {
  if (!wc || !wc->lpszClassName || !wc->lpfnWndProc) return FALSE;
  GuiState& s = State();
  std::u16string key = Upper(wc->lpszClassName);
  if (s.classes.count(key)) {
    SetLastError(1410);  // ERROR_CLASS_ALREADY_EXISTS
    return FALSE;
  }
  WindowClass c;
  c.name = wc->lpszClassName;
  c.proc = wc->lpfnWndProc;
  c.background = wc->hbrBackground;
  s.classes[key] = c;
  return TRUE;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE, LPVOID param) {
  int id = static_cast<int>(reinterpret_cast<intptr_t>(menuOrId));
  return CreateWindowRecord(exStyle, className, windowName, style, x, y, width, height, parent, id, param, nullptr);
}

BOOL DestroyWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  DestroyRecursive(w);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) {
  if (Find(hwnd)) return TRUE;
  if (hwnd && !IsLocalHandle(hwnd)) return RemoteWindowInfo(hwnd, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  return FALSE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  const DWORD pid = IsWindow(hwnd) ? static_cast<DWORD>(Key(hwnd) >> 32) : 0;
  if (processId) *processId = pid;
  return pid;
}

HWND GetParent(HWND hwnd) {
  if (Window* w = Find(hwnd)) {
    if (w->parent) return w->parent->handle;
    return w->owner ? w->owner->handle : nullptr;
  }
  HWND parent = nullptr, owner = nullptr;
  if (hwnd && !IsLocalHandle(hwnd) && RemoteWindowInfo(hwnd, nullptr, nullptr, &parent, &owner, nullptr, nullptr)) {
    return parent ? parent : owner;
  }
  return nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  Window* w = Find(child);
  Window* p = Find(newParent);
  if (!w || !(w->style & WS_CHILD) || !p) return nullptr;
  for (Window* a = p; a; a = a->parent) {
    if (a == w) return nullptr;
  }
  HWND old = w->parent ? w->parent->handle : nullptr;
  RECT before = WindowRectOnScreen(w);
  if (w->parent) RemoveFrom(w->parent->children, w);
  w->parent = p;
  p->children.insert(p->children.begin(), w);
  ExposeScreenRect(before);
  InvalidateTree(w, nullptr, true, true);
  State().treeChanged = true;
  return old;
}

HWND GetWindow(HWND hwnd, UINT command) {
  GuiState& s = State();
  Window* w = Find(hwnd);
  if (!w) {
    if (!hwnd || IsLocalHandle(hwnd)) return nullptr;
    // Walks over another program's published tree.
    HWND parent = nullptr, owner = nullptr;
    std::vector<HWND> kids;
    if (!RemoteWindowInfo(hwnd, nullptr, nullptr, &parent, &owner, nullptr, &kids)) return nullptr;
    if (command == GW_CHILD) return kids.empty() ? nullptr : kids.front();
    if (command == GW_OWNER) return owner;
    std::vector<HWND> level;
    if (parent) {
      RemoteWindowInfo(parent, nullptr, nullptr, nullptr, nullptr, nullptr, &level);
    } else {
      RemoteEnumWindows(level);
    }
    auto it = std::find(level.begin(), level.end(), hwnd);
    if (it == level.end()) return nullptr;
    switch (command) {
      case GW_HWNDFIRST: return level.front();
      case GW_HWNDLAST: return level.back();
      case GW_HWNDNEXT: return (it + 1) == level.end() ? nullptr : *(it + 1);
      case GW_HWNDPREV: return it == level.begin() ? nullptr : *(it - 1);
      default: return nullptr;
    }
  }
  if (command == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (command == GW_OWNER) return w->owner ? w->owner->handle : nullptr;
  const std::vector<Window*>& level = w->parent ? w->parent->children : s.topLevel;
  auto it = std::find(level.begin(), level.end(), w);
  if (it == level.end()) return nullptr;
  switch (command) {
    case GW_HWNDFIRST: return level.front()->handle;
    case GW_HWNDLAST: return level.back()->handle;
    case GW_HWNDNEXT: return (it + 1) == level.end() ? nullptr : (*(it + 1))->handle;
    case GW_HWNDPREV: return it == level.begin() ? nullptr : (*(it - 1))->handle;
    default: return nullptr;
  }
}

HWND GetDesktopWindow() { return nullptr; }

HWND GetDlgItem(HWND dialog, int id) {
  Window* c = FindOrChild(dialog, id);
  return c ? c->handle : nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? w->id : 0;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = Find(dialog);
  Window* c = Find(control);
  if (!d || d->children.empty()) return nullptr;
  std::vector<Window*>& kids = d->children;
  auto it = c ? std::find(kids.begin(), kids.end(), c) : kids.end();
  if (it == kids.end()) return kids.front()->handle;
  size_t index = static_cast<size_t>(it - kids.begin());
  size_t start = index;
  while (start > 0 && !(kids[start]->style & WS_GROUP)) --start;
  size_t end = index + 1;
  while (end < kids.size() && !(kids[end]->style & WS_GROUP)) ++end;
  size_t n = end - start;
  for (size_t step = 1; step < n; ++step) {
    size_t k = previous ? start + (index - start + n - step) % n : start + (index - start + step) % n;
    Window* o = kids[k];
    if ((o->style & WS_VISIBLE) && !(o->style & WS_DISABLED)) return o->handle;
  }
  return control;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  Window* d = Find(dialog);
  if (!d || d->children.empty()) return nullptr;
  std::vector<Window*>& kids = d->children;
  Window* c = Find(control);
  auto it = c ? std::find(kids.begin(), kids.end(), c) : kids.end();
  size_t n = kids.size();
  size_t index = it == kids.end() ? (previous ? 0 : n - 1) : static_cast<size_t>(it - kids.begin());
  for (size_t step = 1; step <= n; ++step) {
    size_t k = previous ? (index + n - step) % n : (index + step) % n;
    Window* o = kids[k];
    if ((o->style & WS_TABSTOP) && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED)) return o->handle;
  }
  return nullptr;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Window* p = Find(parent);
  Window* w = Find(hwnd);
  if (!p || !w) return FALSE;
  for (Window* a = w->parent; a; a = a->parent) {
    if (a == p) return TRUE;
  }
  return FALSE;
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWL_ID: return w->id;
    case GWL_USERDATA: return w->userData;
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case DWL_MSGRESULT: return w->dialog ? w->msgResult : 0;
    default: return 0;
  }
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtrW(hwnd, index);
  switch (index) {
    case GWL_STYLE: {
      DWORD was = w->style;
      w->style = static_cast<DWORD>(value);
      if ((was ^ w->style) & WS_VISIBLE) State().treeChanged = true;
      break;
    }
    case GWL_EXSTYLE: w->exStyle = static_cast<DWORD>(value); break;
    case GWL_ID: w->id = static_cast<int>(value); break;
    case GWL_USERDATA: w->userData = value; break;
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); break;
    case DWL_MSGRESULT: w->msgResult = value; break;
    default: break;
  }
  return old;
}

LONG GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }
LONG SetWindowLongW(HWND hwnd, int index, LONG value) { return static_cast<LONG>(SetWindowLongPtrW(hwnd, index, value)); }

int GetClassNameW(HWND hwnd, LPWSTR buffer, int size) {
  std::u16string name;
  if (Window* w = Find(hwnd)) {
    name = w->cls->name;
  } else if (!hwnd || IsLocalHandle(hwnd) || !RemoteWindowInfo(hwnd, nullptr, &name, nullptr, nullptr, nullptr, nullptr)) {
    return 0;
  }
  if (!buffer || size <= 0) return 0;
  WStrCopy(buffer, static_cast<size_t>(size), name.c_str());
  return static_cast<int>(std::min<size_t>(name.size(), static_cast<size_t>(size - 1)));
}

namespace {

bool Matches(const std::u16string& value, LPCWSTR wanted, bool caseless) {
  if (!wanted) return true;
  if (caseless) return WStrICmp(value.c_str(), wanted) == 0;
  return value == wanted;
}

}  // namespace

HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
  if (className && IS_INTRESOURCE(className)) className = nullptr;
  for (Window* t : State().topLevel) {
    if (Matches(t->cls->name, className, true) && Matches(t->text, windowName, false)) return t->handle;
  }
  return RemoteFindWindow(className, windowName);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> list;
  for (Window* t : State().topLevel) list.push_back(t->handle);
  RemoteEnumWindows(list);
  for (HWND h : list) {
    if (!proc(h, lParam)) break;
  }
  return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  std::vector<HWND> list;
  std::function<void(HWND)> walk = [&](HWND h) {
    for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      list.push_back(c);
      walk(c);
    }
  };
  walk(parent);
  for (HWND h : list) {
    if (!proc(h, lParam)) break;
  }
  return TRUE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = 0;
  if (Find(hwnd)) return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(buffer)));
  std::u16string text;
  if (!hwnd || IsLocalHandle(hwnd) || !RemoteWindowInfo(hwnd, &text, nullptr, nullptr, nullptr, nullptr, nullptr)) {
    return 0;
  }
  WStrCopy(buffer, static_cast<size_t>(size), text.c_str());
  return static_cast<int>(std::min<size_t>(text.size(), static_cast<size_t>(size - 1)));
}

int GetWindowTextLengthW(HWND hwnd) {
  if (Find(hwnd)) return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
  std::u16string text;
  if (!hwnd || IsLocalHandle(hwnd) || !RemoteWindowInfo(hwnd, &text, nullptr, nullptr, nullptr, nullptr, nullptr)) {
    return 0;
  }
  return static_cast<int>(text.size());
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  if (!Find(hwnd)) return FALSE;
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) ? TRUE : FALSE;
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) { return SetWindowTextW(GetDlgItem(dialog, id), text); }

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int size) {
  return static_cast<UINT>(GetWindowTextW(GetDlgItem(dialog, id), buffer, size));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  CString text;
  if (isSigned) {
    text.Format(u"%d", static_cast<int>(value));
  } else {
    text.Format(u"%u", value);
  }
  return SetDlgItemTextW(dialog, id, text);
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  WCHAR buffer[64];
  if (translated) *translated = FALSE;
  if (!GetDlgItemTextW(dialog, id, buffer, 64)) return 0;
  char16_t* end = nullptr;
  long v = WStrToL(buffer, &end, 10);
  if (end == buffer) return 0;
  if (!isSigned && v < 0) return 0;
  if (translated) *translated = TRUE;
  return static_cast<UINT>(v);
}

BOOL ShowWindow(HWND hwnd, int command) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  bool was = (w->style & WS_VISIBLE) != 0;
  bool show = command != SW_HIDE;
  if (was == show) return was ? TRUE : FALSE;
  Call(w, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
  if (!Find(hwnd)) return was;
  GuiState& s = State();
  if (show) {
    w->style |= WS_VISIBLE;
    if (!w->parent && command != SW_SHOWNA && command != SW_SHOWNOACTIVATE) {
      BringToTop(s, w);
      s.active = hwnd;
    }
    if (IsVisible(w)) InvalidateTree(w, nullptr, true, true);
  } else {
    bool wasShown = IsVisible(w);
    RECT r = WindowRectOnScreen(w);
    w->style &= ~WS_VISIBLE;
    LoseFocusWithin(w);
    if (s.active == hwnd) s.active = w->owner ? w->owner->handle : nullptr;
    if (wasShown) ExposeScreenRect(r);
  }
  s.treeChanged = true;
  return was ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) {
  if (Window* w = Find(hwnd)) return IsVisible(w) ? TRUE : FALSE;
  bool visible = false;
  if (hwnd && !IsLocalHandle(hwnd) && RemoteWindowInfo(hwnd, nullptr, nullptr, nullptr, nullptr, &visible, nullptr)) {
    return visible ? TRUE : FALSE;
  }
  return FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  bool wasDisabled = (w->style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
  if (enable) {
    w->style &= ~WS_DISABLED;
  } else {
    w->style |= WS_DISABLED;
    LoseFocusWithin(w);
  }
  Call(w, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Window* w = Find(hwnd);
  return w && IsEnabled(w) ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  GuiState& s = State();
  bool visibleBefore = IsVisible(w);
  RECT before = WindowRectOnScreen(w);
  bool changed = false;
  if (!(flags & SWP_NOZORDER)) {
    if (w->parent) {
      std::vector<Window*>& level = w->parent->children;
      Window* after = Find(insertAfter);
      RemoveFrom(level, w);
      if (insertAfter == HWND_BOTTOM) {
        level.push_back(w);
      } else if (after && after->parent == w->parent && after != w) {
        level.insert(std::find(level.begin(), level.end(), after) + 1, w);
      } else {
        level.insert(level.begin(), w);
      }
    } else {
      Window* after = Find(insertAfter);
      if (insertAfter == HWND_TOPMOST) {
        w->exStyle |= WS_EX_TOPMOST;
        InsertTopLevel(s, w, true);
      } else if (insertAfter == HWND_NOTOPMOST) {
        w->exStyle &= ~WS_EX_TOPMOST;
        InsertTopLevel(s, w, true);
      } else if (insertAfter == HWND_BOTTOM) {
        InsertTopLevel(s, w, false);
      } else if (after && !after->parent && after != w) {
        RemoveFrom(s.topLevel, w);
        s.topLevel.insert(std::find(s.topLevel.begin(), s.topLevel.end(), after) + 1, w);
        w->zStamp = after->zStamp - 1;
        FixStamps(s);
      } else {
        InsertTopLevel(s, w, true);
      }
      RaiseOwned(s, w);
    }
    changed = true;
  }
  RECT r = w->rect;
  if (!(flags & SWP_NOMOVE)) OffsetRect(&r, x - r.left, y - r.top);
  if (!(flags & SWP_NOSIZE)) {
    r.right = r.left + std::max(width, 0);
    r.bottom = r.top + std::max(height, 0);
  }
  bool resized = (r.right - r.left) != (w->rect.right - w->rect.left) || (r.bottom - r.top) != (w->rect.bottom - w->rect.top);
  bool moved = r.left != w->rect.left || r.top != w->rect.top;
  if (moved || resized) {
    w->rect = r;
    changed = true;
  }
  if (flags & SWP_SHOWWINDOW) {
    if (!(w->style & WS_VISIBLE)) {
      changed = true;
      if (!w->parent && (flags & SWP_NOZORDER) && !(flags & SWP_NOACTIVATE)) BringToTop(s, w);
    }
    w->style |= WS_VISIBLE;
  }
  if (flags & SWP_HIDEWINDOW) {
    if (w->style & WS_VISIBLE) {
      changed = true;
      w->style &= ~WS_VISIBLE;
      LoseFocusWithin(w);
    }
  }
  if (!changed) return TRUE;
  s.treeChanged = true;
  if (resized) Call(w, WM_SIZE, 0, MAKELPARAM(ClientRect(w).right, ClientRect(w).bottom));
  if (moved) Call(w, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
  if (!Find(hwnd)) return TRUE;
  if (!(flags & SWP_NOREDRAW)) {
    if (visibleBefore) ExposeScreenRect(before);
    if (IsVisible(w)) InvalidateTree(w, nullptr, true, true);
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = WindowRectOnScreen(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = Find(hwnd);
  if (!w || !rect) return FALSE;
  *rect = ClientRect(w);
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = Find(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = Find(hwnd);
  if (!w || !point) return FALSE;
  POINT o = ClientOrigin(w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a{0, 0}, b{0, 0};
  if (Window* f = Find(from)) a = ClientOrigin(f);
  if (Window* t = Find(to)) b = ClientOrigin(t);
  int dx = a.x - b.x, dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  return MAKELONG(dx, dy);
}

namespace panel {
namespace gui {

// The deepest visible, enabled window under a screen point inside top-level window t.
Window* HitTestIn(Window* t, POINT p) {
  Window* w = t;
  for (;;) {
    RECT client = ClientRectOnScreen(w);
    if (!PtInRect(&client, p)) return w;
    Window* next = nullptr;
    for (Window* c : w->children) {
      if (!(c->style & WS_VISIBLE) || TransparentToTaps(c) || !IsEnabled(c)) continue;
      RECT r = WindowRectOnScreen(c);
      if (PtInRect(&r, p)) {
        next = c;
        break;
      }
    }
    if (!next) return w;
    w = next;
  }
}

Window* TopLevelAt(POINT p) {
  for (Window* t : State().topLevel) {
    if (!(t->style & WS_VISIBLE)) continue;
    RECT r = WindowRectOnScreen(t);
    if (PtInRect(&r, p)) return t;
  }
  return nullptr;
}

}  // namespace gui
}  // namespace panel

HWND WindowFromPoint(POINT point) {
  Window* t = TopLevelAt(point);
  if (!t || !IsEnabled(t)) return nullptr;
  return HitTestIn(t, point)->handle;
}

HWND ChildWindowFromPoint(HWND parent, POINT clientPoint) {
  Window* w = Find(parent);
  if (!w) return nullptr;
  RECT c = ClientRect(w);
  if (!PtInRect(&c, clientPoint)) return nullptr;
  for (Window* child : w->children) {
    if (PtInRect(&child->rect, clientPoint)) return child->handle;
  }
  return parent;
}

int GetSystemMetrics(int index) {
  switch (index) {
    case SM_CXSCREEN: return panel::kScreenWidth;
    case SM_CYSCREEN: return panel::kScreenHeight;
    default: return 0;
  }
}

HWND SetFocus(HWND hwnd) {
  GuiState& s = State();
  HWND previous = Find(s.focus) ? s.focus : nullptr;
  if (hwnd && !Find(hwnd)) return nullptr;
  if (previous == hwnd) return previous;
  s.focus = hwnd;
  if (Window* old = Find(previous)) Call(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (Window* now = Find(hwnd)) {
    if (s.focus == hwnd) Call(now, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  }
  return previous;
}

HWND GetFocus() {
  GuiState& s = State();
  return Find(s.focus) ? s.focus : nullptr;
}

HWND GetActiveWindow() {
  GuiState& s = State();
  return Find(s.active) ? s.active : nullptr;
}

HWND SetActiveWindow(HWND hwnd) {
  GuiState& s = State();
  HWND old = GetActiveWindow();
  Window* w = Find(hwnd);
  if (w) {
    Window* top = TopLevelOf(w);
    s.active = top->handle;
    if ((top->style & WS_VISIBLE) && BringToTop(s, top)) {
      InvalidateTree(top, nullptr, true, true);
      s.treeChanged = true;
    }
  }
  return old;
}

HWND SetForegroundWindow(HWND hwnd) { return SetActiveWindow(hwnd); }
HWND GetForegroundWindow() { return GetActiveWindow(); }

HWND SetCapture(HWND hwnd) {
  GuiState& s = State();
  HWND old = Find(s.capture) ? s.capture : nullptr;
  if (!Find(hwnd)) return old;
  s.capture = hwnd;
  if (old && old != hwnd) {
    if (Window* o = Find(old)) Call(o, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  }
  return old;
}

BOOL ReleaseCapture() {
  GuiState& s = State();
  HWND old = Find(s.capture) ? s.capture : nullptr;
  s.capture = nullptr;
  if (Window* o = Find(old)) Call(o, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  GuiState& s = State();
  return Find(s.capture) ? s.capture : nullptr;
}

BOOL SetCursorPos(int x, int y) {
  State().cursor = POINT{x, y};
  return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
  if (!point) return FALSE;
  *point = State().cursor;
  return TRUE;
}

namespace panel {
POINT CursorPos() { return gui::State().cursor; }
}  // namespace panel

LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  switch (message) {
    case WM_SETTEXT: {
      std::u16string text = lParam ? reinterpret_cast<const char16_t*>(lParam) : u"";
      if (text != w->text) {
        w->text = text;
        State().treeChanged = true;
        if ((w->style & WS_CAPTION) == WS_CAPTION) InvalidateRect(hwnd, nullptr, TRUE);
      }
      return TRUE;
    }
    case WM_GETTEXT: {
      if (!lParam || wParam == 0) return 0;
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      WStrCopy(buffer, wParam, w->text.c_str());
      return static_cast<LRESULT>(std::min<size_t>(w->text.size(), wParam - 1));
    }
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->text.size());
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    case WM_SETICON: {
      int which = wParam == ICON_BIG ? 1 : 0;
      HICON old = w->icons[which];
      w->icons[which] = reinterpret_cast<HICON>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = w->cls ? w->cls->background : nullptr;
      if (!brush) return 0;
      RECT r = ClientRect(w);
      FillRect(reinterpret_cast<HDC>(wParam), &r, brush);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd, &ps);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORMSGBOX:
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_BTNFACE));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    case WM_CANCELMODE:
      if (State().capture == hwnd) ReleaseCapture();
      return 0;
    case WM_NCHITTEST:
      return 1;  // HTCLIENT
    default:
      return 0;
  }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, message, wParam, lParam);
}

namespace panel {
namespace gui {

// Paints borders and captions: the parts of a window outside its client area.
void PaintFrame(Window* w) {
  Insets in = FrameInsets(w);
  if (in.left == 0 && in.top == 0) return;
  Region region = VisibleRegion(w, false);
  region.Subtract(ClientRectOnScreen(w));
  if (region.IsEmpty()) return;
  RECT r = WindowRectOnScreen(w);
  Surface& screen = Screen();
  Region edge = region;
  FillRect(screen, edge, r, 0x000000);
  if (in.top > in.left) {
    RECT bar = MakeRect(r.left + in.left, r.top + in.left, r.right - in.right, r.top + in.top);
    FillRect(screen, region, bar, ToPixel(kCaptionColor));
    HDC dc = CreateWindowDc(w->handle, region, POINT{0, 0}, false, AreaWithinParents(w, false));
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    RECT text = bar;
    text.left += 4;
    DrawTextW(dc, w->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    FreeDc(dc);
  }
}

}  // namespace gui
}  // namespace panel
