// Invalidation and painting: update areas per window, WM_ERASEBKGND then WM_PAINT, parents before
// children, each clipped to what of it is visible; the desktop behind all windows is black.
#include <algorithm>
#include <cstdlib>

#include "GdiObjects.h"
#include "GuiState.h"
#include "Paths.h"
#include "Png.h"

namespace panel {
namespace gui {
namespace {

bool HasFrame(const Window* w) {
  RECT c = ClientRectOnScreen(w);
  RECT r = WindowRectOnScreen(w);
  return !EqualRect(&c, &r);
}

void AddUpdate(Window* w, const RECT& r, bool erase) {
  if (w->hasUpdate) {
    UnionRect(&w->update, &w->update, &r);
  } else {
    w->update = r;
  }
  w->hasUpdate = true;
  w->erase = w->erase || erase;
}

bool FindPaint(Window* w, HWND& out) {
  if (!(w->style & WS_VISIBLE)) {
    return false;
  }
  if (w->hasUpdate) {
    out = w->handle;
    return true;
  }
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) {
    if (FindPaint(*it, out)) return true;
  }
  return false;
}

}  // namespace

Surface& Screen() {
  GuiState& s = State();
  if (!s.screen) s.screen = std::make_unique<Surface>(kScreenWidth, kScreenHeight, 0);
  return *s.screen;
}

void InvalidateTree(Window* w, const RECT* clientRect, bool erase, bool children) {
  if (!IsVisible(w)) return;
  RECT client = ClientRect(w);
  RECT r;
  bool any = clientRect ? Intersect(*clientRect, client, r) : !Empty(r = client);
  if (any) {
    AddUpdate(w, r, erase);
    // The update area is one rectangle: pieces invalidated apart make the window repaint all that
    // lies between them, so the children there must repaint over it as well.
    r = w->update;
  } else if (!clientRect && HasFrame(w)) {
    AddUpdate(w, MakeRect(0, 0, 0, 0), erase);
  }
  if (!any || !children || (w->style & WS_CLIPCHILDREN)) return;
  POINT origin = ClientOrigin(w);
  for (Window* c : w->children) {
    if (!(c->style & WS_VISIBLE)) continue;
    RECT piece;
    if (!Intersect(r, c->rect, piece)) continue;
    POINT co = ClientOrigin(c);
    OffsetRect(&piece, origin.x - co.x, origin.y - co.y);
    InvalidateTree(c, &piece, erase, true);
  }
}

void ExposeScreenRect(const RECT& screenRect) {
  GuiState& s = State();
  RECT onScreen;
  if (!Intersect(screenRect, MakeRect(0, 0, kScreenWidth, kScreenHeight), onScreen)) return;
  s.desktopUpdate.Add(onScreen);
  for (Window* t : s.topLevel) {
    if (!(t->style & WS_VISIBLE)) continue;
    RECT piece;
    if (!Intersect(onScreen, WindowRectOnScreen(t), piece)) continue;
    POINT o = ClientOrigin(t);
    OffsetRect(&piece, -o.x, -o.y);
    InvalidateTree(t, &piece, true, true);
    if (HasFrame(t)) AddUpdate(t, t->hasUpdate ? t->update : MakeRect(0, 0, 0, 0), true);
  }
}

void PaintDesktop() {
  GuiState& s = State();
  if (s.desktopUpdate.IsEmpty()) return;
  Region bare = s.desktopUpdate;
  s.desktopUpdate.Clear();
  for (Window* t : s.topLevel) {
    if (t->style & WS_VISIBLE) bare.Subtract(WindowRectOnScreen(t));
  }
  if (!bare.IsEmpty()) FillRect(Screen(), bare, bare.Bounds(), 0x000000);
}

bool NextPaintWindow(HWND& hwnd) {
  GuiState& s = State();
  for (auto it = s.topLevel.rbegin(); it != s.topLevel.rend(); ++it) {
    if (FindPaint(*it, hwnd)) return true;
  }
  return false;
}

void PaintNow(Window* w, bool children) {
  HWND h = w->handle;
  if (w->hasUpdate && IsVisible(w)) {
    Call(w, WM_PAINT, 0, 0);
    w = Find(h);
    if (!w) return;
    w->hasUpdate = false;
  }
  if (!children) return;
  std::vector<HWND> kids;
  for (auto it = w->children.rbegin(); it != w->children.rend(); ++it) kids.push_back((*it)->handle);
  for (HWND k : kids) {
    if (Window* c = Find(k)) PaintNow(c, true);
  }
}

// Hands the board what changed of this program's picture and window places, drops programs that
// ended without leaving, and lets the display show the result.
void PresentIfChanged() {
  GuiState& s = State();
  if (!s.backend) return;
  FollowRoot();
  std::shared_ptr<BoardScreen> board = CurrentBoard();
  Surface& screen = Screen();
  std::vector<SharedWindow> places;
  for (Window* t : s.topLevel) {
    SharedWindow w;
    w.hwnd = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(t->handle));
    w.left = t->rect.left;
    w.top = t->rect.top;
    w.right = t->rect.right;
    w.bottom = t->rect.bottom;
    w.stamp = t->zStamp;
    w.flags = ((t->style & WS_VISIBLE) ? SharedWindow::kShown : 0u) |
              ((t->exStyle & WS_EX_TOPMOST) ? SharedWindow::kTopmost : 0u);
    places.push_back(w);
  }
  const bool picture = screen.Generation() != s.shownGeneration;
  bool changed = picture || places != s.publishedWindows;
  // Without room on the board (more programs than it holds) it is tried again at the next idle moment.
  if (changed && board->Publish(screen, picture, places)) {
    s.shownGeneration = screen.Generation();
    s.publishedWindows = std::move(places);
  }
  changed = board->Sweep() || changed;
  s.backend->Present(board, changed);
  const char* dump = std::getenv("PANEL_SCREEN_DUMP");
  if (changed && dump && *dump && *dump != '0') board->Dump();
}

}  // namespace gui
}  // namespace panel

using namespace panel::gui;

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  GuiState& s = State();
  if (!hwnd) {
    for (Window* t : s.topLevel) InvalidateTree(t, nullptr, erase != FALSE, true);
    s.desktopUpdate.Add(MakeRect(0, 0, panel::kScreenWidth, panel::kScreenHeight));
    return TRUE;
  }
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  InvalidateTree(w, rect, erase != FALSE, true);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    w->hasUpdate = false;
    w->erase = false;
    return TRUE;
  }
  RECT covered;
  UnionRect(&covered, rect, &w->update);
  if (EqualRect(&covered, rect)) {
    w->hasUpdate = false;
    w->erase = false;
  }
  return TRUE;
}

BOOL UpdateWindow(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  PaintDesktop();
  PaintNow(w, true);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags) {
  GuiState& s = State();
  std::vector<HWND> targets;
  if (hwnd) {
    if (!Find(hwnd)) return FALSE;
    targets.push_back(hwnd);
  } else {
    for (Window* t : s.topLevel) targets.push_back(t->handle);
  }
  bool children = (flags & RDW_ALLCHILDREN) || !(flags & RDW_NOCHILDREN);
  for (HWND h : targets) {
    Window* w = Find(h);
    if (!w) continue;
    if (flags & RDW_INVALIDATE) InvalidateTree(w, rect, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_VALIDATE) ValidateRect(h, rect);
  }
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    PaintDesktop();
    for (HWND h : targets) {
      if (Window* w = Find(h)) PaintNow(w, children);
    }
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
  Window* w = Find(hwnd);
  if (!w) return FALSE;
  if (rect) *rect = w->hasUpdate ? w->update : MakeRect(0, 0, 0, 0);
  return w->hasUpdate && !IsRectEmpty(&w->update) ? TRUE : FALSE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint) {
  Window* w = Find(hwnd);
  if (!w || !paint) return nullptr;
  *paint = PAINTSTRUCT{};
  if (w->hasUpdate) PaintFrame(w);
  RECT update = w->hasUpdate ? w->update : MakeRect(0, 0, 0, 0);
  RECT client = ClientRect(w);
  RECT r;
  if (!Intersect(update, client, r)) r = MakeRect(0, 0, 0, 0);
  bool erase = w->hasUpdate && w->erase;
  w->hasUpdate = false;
  w->erase = false;
  Region clip = VisibleRegion(w, true);
  POINT o = ClientOrigin(w);
  RECT onScreen = r;
  OffsetRect(&onScreen, o.x, o.y);
  clip.Intersect(onScreen);
  HDC dc = CreateWindowDc(hwnd, clip, o, true, AreaWithinParents(w, true));
  paint->hdc = dc;
  paint->rcPaint = r;
  if (erase && !Empty(r)) {
    LRESULT erased = Call(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    paint->fErase = erased ? FALSE : TRUE;
  }
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
  if (!paint || !paint->hdc) return FALSE;
  FreeDc(paint->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  EnsureDisplay();
  if (!hwnd) {
    const RECT screen = MakeRect(0, 0, panel::kScreenWidth, panel::kScreenHeight);
    return CreateWindowDc(nullptr, Region(screen), POINT{0, 0}, false, screen);
  }
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  return CreateWindowDc(hwnd, VisibleRegion(w, true), ClientOrigin(w), false, AreaWithinParents(w, true));
}

HDC GetWindowDC(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w) return GetDC(nullptr);
  RECT r = WindowRectOnScreen(w);
  return CreateWindowDc(hwnd, VisibleRegion(w, false), POINT{r.left, r.top}, false, AreaWithinParents(w, false));
}

int ReleaseDC(HWND, HDC dc) {
  if (!LookupDc(dc)) return 0;
  FreeDc(dc);
  return 1;
}
