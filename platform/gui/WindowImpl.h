// The window records behind HWND and the services the built-in controls, the dialogs and the class
// library share. Internal to the layer; GUI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Controls.h"
#include "Display.h"
#include "Surface.h"
#include "WinGdi.h"
#include "WinUser.h"

class CWnd;

namespace panel {
namespace gui {

struct ControlState {
  virtual ~ControlState() = default;
};

struct DialogState;

struct WindowClass {
  std::u16string name;
  WNDPROC proc = nullptr;
  HBRUSH background = nullptr;
  bool transparentToTaps = false;  // statics without SS_NOTIFY and group boxes let taps through
};

struct Window {
  HWND handle = nullptr;
  const WindowClass* cls = nullptr;
  WNDPROC proc = nullptr;  // the window procedure (the class's, or one set with GWL_WNDPROC)
  CWnd* object = nullptr;  // the class-library object bound to the window, called first
  DWORD style = 0;
  DWORD exStyle = 0;
  std::u16string text;
  int id = 0;
  Window* parent = nullptr;        // children only
  Window* owner = nullptr;         // top-level windows only
  std::vector<Window*> children;   // top of the z-order first
  RECT rect{};                     // parent's client coordinates, or screen coordinates at top level
  int64_t zStamp = 0;              // top level: its place in the board's z-order (higher is above)
  bool hasUpdate = false;
  bool erase = false;
  RECT update{};                   // client coordinates
  HFONT font = nullptr;
  LONG_PTR userData = 0;
  LONG_PTR msgResult = 0;
  HICON icons[2] = {nullptr, nullptr};
  std::unique_ptr<ControlState> control;
  std::unique_ptr<DialogState> dialog;
  std::shared_ptr<void> wrapper;   // the temporary CWnd handed out for a window with no object
  int calls = 0;                   // dispatches running on it: the record outlives them
  bool destroyed = false;
};

struct DialogState {
  DLGPROC dlgProc = nullptr;
  LPARAM initParam = 0;
  bool modal = false;
  bool ended = false;
  INT_PTR result = 0;
  HFONT font = nullptr;
  bool ownsFont = false;
  int defaultId = IDOK;
  ~DialogState();
};

// Live records only (null for a stale, remote or foreign handle).
Window* Find(HWND hwnd);
Window* FindOrChild(HWND dialog, int id);
bool IsLocalHandle(HWND hwnd);

LRESULT Call(Window* w, UINT message, WPARAM wParam, LPARAM lParam);
// The class's procedure below any subclassing: what DefWindowProc of a bound object falls back to.
LRESULT CallClassProc(Window* w, UINT message, WPARAM wParam, LPARAM lParam);

// Geometry in screen coordinates.
RECT WindowRectOnScreen(const Window* w);
RECT ClientRectOnScreen(const Window* w);
POINT ClientOrigin(const Window* w);
RECT ClientRect(const Window* w);  // (0, 0, w, h)
bool IsVisible(const Window* w);   // the window and its ancestors
bool IsEnabled(const Window* w);
Window* TopLevelOf(Window* w);
Region VisibleRegion(const Window* w, bool clientOnly);
// The window's client area (or whole window) as its parents and the screen clip it, siblings aside.
RECT AreaWithinParents(const Window* w, bool clientOnly);

// Controls' notifications to their parent.
void NotifyCommand(Window* control, UINT code);
LRESULT NotifyParent(Window* control, NMHDR& header);
void Invalidate(Window* w);  // the whole client area, erased

// The font a control draws with: its WM_SETFONT font, else the stock system font.
HFONT ControlFont(Window* w);
// A brush from WM_CTLCOLORxxx sent to the parent (colours set on dc); null when the parent had none.
HBRUSH ParentColours(Window* control, HDC dc, UINT message);

// The window being handled by the innermost dispatch (the draw log names it for offscreen text).
HWND CurrentDispatchWindow();

// Built-in classes.
LRESULT StaticProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ButtonProc(HWND, UINT, WPARAM, LPARAM);
LRESULT EditProc(HWND, UINT, WPARAM, LPARAM);
LRESULT ListViewProc(HWND, UINT, WPARAM, LPARAM);
LRESULT DialogProc(HWND, UINT, WPARAM, LPARAM);

// Modal loops: runs until the dialog ends (its own EndDialog, or one of a dialog it runs inside).
INT_PTR RunModalLoop(Window* dialog);
// The screen.
Surface& Screen();
void LogText(DrawnText&& entry);
void LogPicture(DrawnPicture&& entry);

// Hooks the class library installs: pre-translation (the application's, then the windows' from the
// target up) and the call into a bound object.
extern bool (*g_preTranslate)(MSG* msg);
extern LRESULT (*g_callObject)(CWnd* object, UINT message, WPARAM wParam, LPARAM lParam);
extern void (*g_detachObject)(CWnd* object);
extern void (*g_bindObject)(CWnd* object, HWND hwnd);

// Window creation with a dialog record, and the object the next window created on this thread is
// bound to before its first message.
HWND CreateWindowRecord(DWORD exStyle, const char16_t* className, const char16_t* name, DWORD style, int x, int y,
                        int width, int height, HWND parent, int id, LPVOID param, std::unique_ptr<DialogState> dialog);
void SetCreatingObject(CWnd* object);
// Hit testing in screen coordinates.
Window* TopLevelAt(POINT p);
Window* HitTestIn(Window* topLevel, POINT p);
void PaintFrame(Window* w);
// The border and caption a window of these styles has around its client area, in pixels.
void FrameInsetsFor(DWORD style, DWORD exStyle, int& left, int& top, int& right, int& bottom);

}  // namespace gui
}  // namespace panel
