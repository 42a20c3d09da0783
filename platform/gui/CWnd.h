// The class library's window: a C++ object bound to an HWND. A bound window's messages go to the
// object's WindowProc, which looks them up in the message map (CCmdTarget.h) and hands what no entry
// takes to DefWindowProc: the window class's own behaviour (a button still clicks, a static still
// paints). Objects are bound at creation (Create, CDialog) or to an existing window by
// SubclassWindow/SubclassDlgItem (DDX_Control). FromHandle gives a stand-in object for a window with
// none, valid while the window lives (for another program's window, for the life of the process).
// GUI thread only.
#pragma once

#include "CCmdTarget.h"
#include "CDC.h"
#include "CGdiObject.h"
#include "CRect.h"
#include "CString.h"
#include "Controls.h"
#include "WinGdi.h"
#include "WinUser.h"

class CDataExchange;

namespace panel {
namespace gui {
LRESULT CallWndObject(CWnd* object, UINT message, WPARAM wParam, LPARAM lParam);
void DetachWndObject(CWnd* object);
}  // namespace gui
}  // namespace panel

class CWnd : public CCmdTarget {
public:
  DECLARE_DYNAMIC(CWnd)

public:
  CWnd() = default;
  ~CWnd() override;  // unbinds, then destroys a window still bound

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }
  bool operator==(const CWnd& other) const { return other.m_hWnd == m_hWnd; }
  bool operator!=(const CWnd& other) const { return other.m_hWnd != m_hWnd; }

  // The bound object of a window, or a stand-in for it; null for a null or dead handle.
  static CWnd* FromHandle(HWND hwnd);
  // The bound object only.
  static CWnd* FromHandlePermanent(HWND hwnd);
  BOOL Attach(HWND hwnd);  // FALSE when this object or the window is bound already
  HWND Detach();
  // Binds to an existing window; PreSubclassWindow runs first (styles may change there).
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  HWND UnsubclassWindow();

  virtual BOOL Create(LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                      LPVOID param = nullptr);
  virtual BOOL CreateEx(DWORD exStyle, LPCTSTR className, LPCTSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, LPVOID param = nullptr);
  virtual BOOL DestroyWindow();

  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

  void SetWindowText(LPCTSTR text);
  int GetWindowText(LPTSTR buffer, int size) const;
  void GetWindowText(CString& text) const;
  int GetWindowTextLength() const;
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const;
  HICON SetIcon(HICON icon, BOOL big);

  void GetWindowRect(LPRECT rect) const;
  void GetClientRect(LPRECT rect) const;
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
  void CenterWindow(CWnd* alternate = nullptr);
  BOOL BringWindowToTop();
  static const CWnd wndTop;
  static const CWnd wndBottom;
  static const CWnd wndTopMost;
  static const CWnd wndNoTopMost;

  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  void UpdateWindow();
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  void ValidateRect(LPCRECT rect);
  BOOL RedrawWindow(LPCRECT rect = nullptr, void* region = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);

  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

  CWnd* GetParent() const;
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetDlgItem(int id) const;
  void GetDlgItem(int id, HWND* hwnd) const;
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int id);
  CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
  CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
  CWnd* GetWindow(UINT command) const;
  CWnd* GetTopWindow() const;
  CWnd* GetNextWindow(UINT command = GW_HWNDNEXT) const;
  BOOL IsChild(const CWnd* wnd) const;
  static CWnd* FindWindow(LPCTSTR className, LPCTSTR windowName);

  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetCapture();
  static CWnd* GetCapture();
  CWnd* SetActiveWindow();
  BOOL SetForegroundWindow();

  UINT_PTR SetTimer(UINT_PTR id, UINT elapseMs, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);

  CDC* GetDC();
  int ReleaseDC(CDC* dc);

  void SetDlgItemText(int id, LPCTSTR text);
  int GetDlgItemText(int id, CString& text) const;
  int GetDlgItemText(int id, LPTSTR buffer, int size) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  void CheckRadioButton(int first, int last, int check);
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

  // Data exchange: runs DoDataExchange saving (TRUE) or loading the controls.
  BOOL UpdateData(BOOL save = TRUE);

  // Pre-translation: called for each retrieved message on its way from its window up to the main
  // window, before it is dispatched; TRUE keeps it from being dispatched.
  virtual BOOL PreTranslateMessage(MSG* msg);
  static BOOL WalkPreTranslateTree(HWND stop, MSG* msg);

protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  // A notification this control sent to its parent, offered to the control first: TRUE takes it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual void PreSubclassWindow();
  virtual void PostNcDestroy();
  virtual void DoDataExchange(CDataExchange* dx);
  // The default handling of the message being handled now.
  LRESULT Default();

  // Handlers that the ON_WM_ macros call; each hands the message to Default().
  int OnCreate(LPCREATESTRUCT create);
  void OnDestroy();
  void OnClose();
  void OnTimer(UINT_PTR id);
  void OnPaint();
  BOOL OnEraseBkgnd(CDC* dc);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnLButtonDblClk(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  void OnShowWindow(BOOL show, UINT status);
  void OnSetFocus(CWnd* old);
  void OnKillFocus(CWnd* next);
  void OnCaptureChanged(CWnd* wnd);
  void OnEnable(BOOL enable);
  void OnFontChange();
  void OnSize(UINT type, int cx, int cy);
  void OnMove(int x, int y);
  HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
  void OnDrawItem(int id, LPDRAWITEMSTRUCT item);

  DECLARE_MESSAGE_MAP()

  friend LRESULT panel::gui::CallWndObject(CWnd* object, UINT message, WPARAM wParam, LPARAM lParam);
  friend void panel::gui::DetachWndObject(CWnd* object);
  friend class CWinApp;

private:
  explicit CWnd(HWND special) : m_hWnd(special) {}
};
