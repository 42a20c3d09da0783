#include "CWnd.h"

#include <deque>
#include <map>
#include <memory>

#include "CButton.h"
#include "CDataExchange.h"
#include "CDialog.h"
#include "CEdit.h"
#include "CListCtrl.h"
#include "CStatic.h"
#include "CWinApp.h"
#include "Debug.h"
#include "GuiState.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace panel {
namespace gui {
namespace {

struct CurrentMessage {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

thread_local CurrentMessage t_current;

void BindWndObject(CWnd* object, HWND hwnd) { object->m_hWnd = hwnd; }

bool PreTranslate(MSG* msg) {
  if (CWinApp* app = AfxGetApp()) return app->PreTranslateMessage(msg) != FALSE;
  return CWnd::WalkPreTranslateTree(nullptr, msg) != FALSE;
}

struct Hooks {
  Hooks() {
    g_callObject = CallWndObject;
    g_detachObject = DetachWndObject;
    g_bindObject = BindWndObject;
    g_preTranslate = PreTranslate;
  }
} hooks;

// Stand-ins for other programs' windows, kept for the life of the process (bounded).
CWnd* ForeignStandIn(HWND hwnd) {
  static std::map<HWND, std::unique_ptr<CWnd>> standIns;
  static std::deque<HWND> order;
  auto it = standIns.find(hwnd);
  if (it != standIns.end()) return it->second.get();
  if (order.size() >= 1024) {
    standIns[order.front()]->m_hWnd = nullptr;
    standIns.erase(order.front());
    order.pop_front();
  }
  auto made = std::make_unique<CWnd>();
  made->m_hWnd = hwnd;
  CWnd* raw = made.get();
  standIns[hwnd] = std::move(made);
  order.push_back(hwnd);
  return raw;
}

// ModifyStyle and ModifyStyleEx on the style word at index; FALSE when nothing changed. Given flags, the
// window's frame is updated through SetWindowPos with them.
BOOL ModifyStyleBits(HWND hwnd, int index, DWORD remove, DWORD add, UINT flags) {
  DWORD old = static_cast<DWORD>(::GetWindowLongW(hwnd, index));
  DWORD now = (old & ~remove) | add;
  if (now == old) return FALSE;
  ::SetWindowLongW(hwnd, index, static_cast<LONG>(now));
  if (flags) ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  return TRUE;
}

}  // namespace

LRESULT CallWndObject(CWnd* object, UINT message, WPARAM wParam, LPARAM lParam) {
  CurrentMessage saved = t_current;
  t_current = CurrentMessage{object->m_hWnd, message, wParam, lParam};
  LRESULT r = object->WindowProc(message, wParam, lParam);
  t_current = saved;
  return r;
}

void DetachWndObject(CWnd* object) {
  if (CWinApp* app = AfxGetApp()) {
    if (app->m_pMainWnd == object) {
      app->m_pMainWnd = nullptr;
      if (app->m_running) PostQuitMessage(0);
    }
  }
  object->m_hWnd = nullptr;
  object->PostNcDestroy();
}

}  // namespace gui
}  // namespace panel

using panel::gui::Find;
using panel::gui::Window;

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

const panel::MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const panel::MessageMap* CCmdTarget::GetThisMessageMap() {
  static const panel::MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
  static const panel::MessageMap map = {nullptr, entries};
  return &map;
}

BOOL CCmdTarget::DispatchToMap(UINT key, UINT code, UINT id, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result) {
  const bool keyed = key == WM_COMMAND || key == WM_NOTIFY;
  const bool reflected = key >= panel::kReflectBase;
  for (const panel::MessageMap* map = GetMessageMap(); map; map = map->base ? map->base() : nullptr) {
    for (const panel::MessageMapEntry* e = map->entries; e->handler; ++e) {
      if (e->message != key) continue;
      if ((keyed || reflected) && e->code != code) {
        if (!(reflected && key == panel::kReflectBase + panel::kAnyCtlColor)) continue;
      }
      if (keyed && (id < e->id || id > e->lastId)) continue;
      LRESULT r = 0;
      if (e->handler(this, message, wParam, lParam, &r)) {
        if (result) *result = r;
        return TRUE;
      }
      // An _EX handler that returned FALSE: the search goes on.
    }
  }
  return FALSE;
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::~CWnd() {
  if (!m_hWnd) return;
  HWND h = m_hWnd;
  m_hWnd = nullptr;
  if (CWinApp* app = AfxGetApp()) {
    if (app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
  }
  Window* w = Find(h);
  if (w && w->object == this) {
    w->object = nullptr;  // the window outlives this object by a moment: its messages go to its class
    ::DestroyWindow(h);
  }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  if (Window* w = Find(hwnd)) {
    if (w->object) return w->object;
    if (!w->wrapper) {
      // The stand-in is of the control's own class, so the usual cast of GetDlgItem's result holds.
      CWnd* made = nullptr;
      WNDPROC proc = w->cls ? w->cls->proc : nullptr;
      if (proc == panel::gui::ButtonProc) {
        made = new CButton();
      } else if (proc == panel::gui::StaticProc) {
        made = new CStatic();
      } else if (proc == panel::gui::EditProc) {
        made = new CEdit();
      } else if (proc == panel::gui::ListViewProc) {
        made = new CListCtrl();
      } else if (proc == panel::gui::DialogProc) {
        made = new CDialog();
      } else {
        made = new CWnd();
      }
      made->m_hWnd = hwnd;
      w->wrapper = std::shared_ptr<void>(made, [](void* p) {
        auto* c = static_cast<CWnd*>(p);
        c->m_hWnd = nullptr;
        delete c;
      });
    }
    return static_cast<CWnd*>(w->wrapper.get());
  }
  if (!panel::gui::IsLocalHandle(hwnd) && ::IsWindow(hwnd)) return panel::gui::ForeignStandIn(hwnd);
  return nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  Window* w = Find(hwnd);
  return w ? w->object : nullptr;
}

BOOL CWnd::Attach(HWND hwnd) {
  Window* w = Find(hwnd);
  if (!w || m_hWnd || w->object) return FALSE;
  w->object = this;
  m_hWnd = hwnd;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (Window* w = Find(h)) {
    if (w->object == this) w->object = nullptr;
  }
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (!Attach(hwnd)) return FALSE;
  PreSubclassWindow();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  if (!parent) return FALSE;
  HWND h = ::GetDlgItem(parent->m_hWnd, static_cast<int>(id));
  return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

BOOL CWnd::Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  LPVOID param) {
  return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, param);
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
  if (m_hWnd) return FALSE;
  panel::gui::SetCreatingObject(this);
  HWND h = ::CreateWindowExW(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                             rect.bottom - rect.top, parent ? parent->m_hWnd : nullptr,
                             reinterpret_cast<HMENU>(static_cast<uintptr_t>(id)), nullptr, param);
  panel::gui::SetCreatingObject(nullptr);
  return h != nullptr;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) { return ::SendMessageW(m_hWnd, message, wParam, lParam); }
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) { return ::PostMessageW(m_hWnd, message, wParam, lParam); }

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep) {
  for (HWND c = ::GetWindow(m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
    ::SendMessageW(c, message, wParam, lParam);
    if (deep) {
      if (CWnd* w = FromHandle(c)) w->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
  }
}

void CWnd::SetWindowText(LPCTSTR text) { ::SetWindowTextW(m_hWnd, text); }
int CWnd::GetWindowText(LPTSTR buffer, int size) const { return ::GetWindowTextW(m_hWnd, buffer, size); }

void CWnd::GetWindowText(CString& text) const {
  int n = ::GetWindowTextLengthW(m_hWnd);
  char16_t* buffer = text.GetBuffer(n + 1);
  ::GetWindowTextW(m_hWnd, buffer, n + 1);
  text.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }

void CWnd::SetFont(CFont* font, BOOL redraw) {
  ::SendMessageW(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), MAKELPARAM(redraw, 0));
}

CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(::SendMessageW(m_hWnd, WM_GETFONT, 0, 0)));
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
  return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

void CWnd::GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
void CWnd::GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }

void CWnd::ClientToScreen(LPRECT rect) const {
  if (!rect) return;
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
  ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }

void CWnd::ScreenToClient(LPRECT rect) const {
  if (!rect) return;
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->left));
  ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&rect->right));
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
  if (rect) ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags) {
  return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, width, height, flags);
}

void CWnd::CenterWindow(CWnd*) {
  RECT r;
  ::GetWindowRect(m_hWnd, &r);
  int w = r.right - r.left, h = r.bottom - r.top;
  POINT p{(GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2};
  if (GetStyle() & WS_CHILD) ::ScreenToClient(::GetParent(m_hWnd), &p);
  ::SetWindowPos(m_hWnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::BringWindowToTop() { return ::BringWindowToTop(m_hWnd); }
BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(LPCRECT rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
BOOL CWnd::RedrawWindow(LPCRECT rect, void*, UINT flags) { return ::RedrawWindow(m_hWnd, rect, nullptr, flags); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
  return panel::gui::ModifyStyleBits(m_hWnd, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) {
  return panel::gui::ModifyStyleBits(m_hWnd, GWL_EXSTYLE, remove, add, flags);
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER) ? ::GetWindow(m_hWnd, GW_OWNER) : ::GetParent(m_hWnd)); }

CWnd* CWnd::GetTopLevelParent() const {
  HWND h = m_hWnd;
  while (h && (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD)) h = ::GetParent(h);
  return FromHandle(h);
}

CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }

void CWnd::GetDlgItem(int id, HWND* hwnd) const {
  if (hwnd) *hwnd = ::GetDlgItem(m_hWnd, id);
}

int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongW(m_hWnd, GWL_ID, id)); }

CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const {
  return FromHandle(::GetNextDlgGroupItem(m_hWnd, control ? control->m_hWnd : nullptr, previous));
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const {
  return FromHandle(::GetNextDlgTabItem(m_hWnd, control ? control->m_hWnd : nullptr, previous));
}

CWnd* CWnd::GetWindow(UINT command) const { return FromHandle(::GetWindow(m_hWnd, command)); }
CWnd* CWnd::GetTopWindow() const { return FromHandle(::GetWindow(m_hWnd, GW_CHILD)); }
CWnd* CWnd::GetNextWindow(UINT command) const { return FromHandle(::GetWindow(m_hWnd, command)); }
BOOL CWnd::IsChild(const CWnd* wnd) const { return wnd ? ::IsChild(m_hWnd, wnd->m_hWnd) : FALSE; }
CWnd* CWnd::FindWindow(LPCTSTR className, LPCTSTR windowName) { return FromHandle(::FindWindowW(className, windowName)); }
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd) != nullptr; }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc) { return ::SetTimer(m_hWnd, id, elapseMs, proc); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
int CWnd::ReleaseDC(CDC* dc) { return dc ? ::ReleaseDC(m_hWnd, dc->m_hDC) : 0; }
void CWnd::SetDlgItemText(int id, LPCTSTR text) { ::SetDlgItemTextW(m_hWnd, id, text); }

int CWnd::GetDlgItemText(int id, CString& text) const {
  text.Empty();
  CWnd* item = GetDlgItem(id);
  if (!item) return 0;
  item->GetWindowText(text);
  return text.GetLength();
}

int CWnd::GetDlgItemText(int id, LPTSTR buffer, int size) const {
  return static_cast<int>(::GetDlgItemTextW(m_hWnd, id, buffer, size));
}

void CWnd::SetDlgItemInt(int id, UINT value, BOOL isSigned) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
UINT CWnd::GetDlgItemInt(int id, BOOL* translated, BOOL isSigned) const { return ::GetDlgItemInt(m_hWnd, id, translated, isSigned); }
void CWnd::CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
UINT CWnd::IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
void CWnd::CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
LRESULT CWnd::SendDlgItemMessage(int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendDlgItemMessageW(m_hWnd, id, message, wParam, lParam);
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  CString title = caption ? CString(caption) : AfxGetAppName();
  return ::MessageBoxW(m_hWnd, text, title, type);
}

BOOL CWnd::UpdateData(BOOL save) {
  CDataExchange dx(this, save);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL CWnd::WalkPreTranslateTree(HWND stop, MSG* msg) {
  if (!msg) return FALSE;
  for (HWND h = msg->hwnd; h; h = ::GetParent(h)) {
    CWnd* w = FromHandlePermanent(h);
    if (w && w->PreTranslateMessage(msg)) return TRUE;
    if (h == stop) break;
  }
  return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND: {
      if (HWND control = reinterpret_cast<HWND>(lParam)) {
        CWnd* child = FromHandlePermanent(control);
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) return TRUE;
      }
      return OnCommand(wParam, lParam);
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header) return FALSE;
      CWnd* child = FromHandlePermanent(header->hwndFrom);
      if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) return TRUE;
      return OnNotify(wParam, lParam, result);
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
      if (item) {
        CWnd* child = FromHandlePermanent(item->hwndItem);
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) {
          *result = TRUE;
          return TRUE;
        }
      }
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      CWnd* child = FromHandlePermanent(reinterpret_cast<HWND>(lParam));
      if (child && child != this && child->OnChildNotify(message, wParam, lParam, result)) return TRUE;
      return DispatchToMap(panel::kAnyCtlColor, 0, 0, message, wParam, lParam, result);
    }
    default:
      break;
  }
  return DispatchToMap(message, 0, 0, message, wParam, lParam, result);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(m_hWnd);
  if (!w) return 0;
  return panel::gui::CallClassProc(w, message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  LRESULT ignored = 0;
  return DispatchToMap(WM_COMMAND, HIWORD(wParam), LOWORD(wParam), WM_COMMAND, wParam, lParam, &ignored);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return FALSE;
  return DispatchToMap(WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), WM_NOTIFY, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_COMMAND:
      return DispatchToMap(panel::kReflectBase + WM_COMMAND, HIWORD(wParam), 0, message, wParam, lParam, result);
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      return header ? DispatchToMap(panel::kReflectBase + WM_NOTIFY, header->code, 0, message, wParam, lParam, result)
                    : FALSE;
    }
    case WM_DRAWITEM:
      return DispatchToMap(panel::kReflectBase + WM_DRAWITEM, 0, 0, message, wParam, lParam, result);
    default:
      if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
        return DispatchToMap(panel::kReflectBase + panel::kAnyCtlColor, 0, 0, message, wParam, lParam, result);
      }
      return FALSE;
  }
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}
void CWnd::DoDataExchange(CDataExchange*) {}

LRESULT CWnd::Default() {
  const panel::gui::CurrentMessage& m = panel::gui::t_current;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnFontChange() { Default(); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT) { Default(); }

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (!dx || !dx->m_pDlgWnd || control.m_hWnd) return;
  HWND h = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
  if (!h || !control.SubclassWindow(h)) {
    CString text;
    text.Format(u"DDX_Control: no control %d to bind", id);
    OutputDebugStringW(text);
  }
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
  if (!dx || !dx->m_pDlgWnd) return;
  if (dx->m_bSaveAndValidate) {
    dx->m_pDlgWnd->GetDlgItemText(id, value);
  } else {
    dx->m_pDlgWnd->SetDlgItemText(id, value);
  }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  if (!dx || !dx->m_pDlgWnd) return;
  if (dx->m_bSaveAndValidate) {
    BOOL ok = FALSE;
    UINT v = dx->m_pDlgWnd->GetDlgItemInt(id, &ok, TRUE);
    if (ok) value = static_cast<int>(v);
  } else {
    dx->m_pDlgWnd->SetDlgItemInt(id, static_cast<UINT>(value), TRUE);
  }
}
