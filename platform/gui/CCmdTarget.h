// Message maps: the class library's table from messages to member functions, chained from a class to
// its base. A class declares DECLARE_MESSAGE_MAP() and defines its table in its .cpp:
//
//   BEGIN_MESSAGE_MAP(DlgParam, DlgBase)
//     ON_WM_TIMER()                                  // void OnTimer(UINT_PTR id)
//     ON_MOUSE_MESSAGE(WM_LBUTTONUP, &DlgParam::OnBackCorner)  // void (UINT flags, CPoint point)
//     ON_BN_CLICKED(1045, &DlgParam::OnRow1)         // void OnRow1()
//     ON_NOTIFY(LVN_ITEMCHANGED, 1023, &DlgDesign3::OnItemChanged)  // void (NMHDR*, LRESULT*)
//     ON_MESSAGE(0x7E8, &CLauncherDlg::OnStatusReport)              // LRESULT (WPARAM, LPARAM)
//   END_MESSAGE_MAP()
//
// The first entry that matches, searching the class's table and then its bases', handles the
// message; with none the window's default handling runs (CWnd::DefWindowProc). A handler hands the
// message on to that default by calling its base's handler (CDialog::OnTimer(id)), which calls
// Default(). Member functions are given as &Class::Function; a handler that is protected in a base
// class is named through the class whose table lists it (&DlgParam::OnGoMenu).
//
// Notifications a control sends to its parent (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR) are
// first offered to the control's own object ("reflected"): ON_CONTROL_REFLECT and ON_NOTIFY_REFLECT
// entries take them there and keep them from the parent; the _EX forms return FALSE to let the parent
// handle them as well. Owner-drawn buttons get their WM_DRAWITEM as CButton::DrawItem.
#pragma once

#include "CObject.h"
#include "CRect.h"
#include "WinUser.h"

class CCmdTarget;
class CWnd;
class CDC;

namespace panel {

typedef BOOL (*MessageHandler)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct MessageMapEntry {
  UINT message;  // the message, WM_COMMAND/WM_NOTIFY with code and ids, or kReflectBase + message
  UINT code;
  UINT id;
  UINT lastId;
  MessageHandler handler;
};

struct MessageMap {
  const MessageMap* (*base)();
  const MessageMapEntry* entries;
};

const UINT kReflectBase = 0xBC00;  // reflected notifications: kReflectBase + the parent's message
const UINT kAnyCtlColor = WM_CTLCOLOR;  // entries for every WM_CTLCOLORxxx

}  // namespace panel

class CCmdTarget : public CObject {
public:
  DECLARE_DYNAMIC(CCmdTarget)

public:
  CCmdTarget() = default;
  ~CCmdTarget() override = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;

  virtual const panel::MessageMap* GetMessageMap() const;
  // Finds the first entry for the message (command and notification codes and ids included) in this
  // class's table and its bases' and calls it. TRUE when an entry handled it; *result is its answer.
  // key is the entry's message (kReflectBase + ... for reflections, kAnyCtlColor for colours); the
  // handler is given message itself.
  BOOL DispatchToMap(UINT key, UINT code, UINT id, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

protected:
  static const panel::MessageMap* GetThisMessageMap();
};

#define DECLARE_MESSAGE_MAP()                               \
protected:                                                  \
  static const ::panel::MessageMap* GetThisMessageMap();    \
                                                            \
public:                                                     \
  const ::panel::MessageMap* GetMessageMap() const override; \
                                                            \
protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
  const ::panel::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const ::panel::MessageMap* theClass::GetThisMessageMap() {                               \
    typedef theClass ThisClass;                                                           \
    typedef baseClass TheBaseClass;                                                       \
    static_assert(sizeof(ThisClass) > 0, "complete class");                               \
    static const ::panel::MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                     \
  {0, 0, 0, 0, nullptr}                                                       \
  }                                                                           \
  ;                                                                           \
  static const ::panel::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
  return &map;                                                                \
  }

// The thunks: each turns the message's parameters into the handler's arguments.
#define PANEL_THUNK(body) \
  [](::CCmdTarget * target_, UINT message_, WPARAM wParam_, LPARAM lParam_, LRESULT * result_) -> BOOL { \
    ThisClass* self_ = static_cast<ThisClass*>(target_);                                                  \
    (void)self_; (void)message_; (void)wParam_; (void)lParam_; (void)result_;                             \
    body                                                                                                  \
  }

#define ON_WM_CREATE() \
  {WM_CREATE, 0, 0, 0, PANEL_THUNK(*result_ = self_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam_)); return TRUE;)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, PANEL_THUNK(self_->OnDestroy(); return TRUE;)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, PANEL_THUNK(self_->OnClose(); return TRUE;)},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, PANEL_THUNK(self_->OnTimer(static_cast<UINT_PTR>(wParam_)); return TRUE;)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, PANEL_THUNK(self_->OnPaint(); return TRUE;)},
#define ON_WM_ERASEBKGND()                                                          \
  {WM_ERASEBKGND, 0, 0, 0, PANEL_THUNK(CDC* dc_ = CDC::FromHandle(reinterpret_cast<HDC>(wParam_)); \
                                       *result_ = self_->OnEraseBkgnd(dc_); return TRUE;)},
#define PANEL_ON_MOUSE(msg, fn) \
  {msg, 0, 0, 0, PANEL_THUNK(self_->fn(static_cast<UINT>(wParam_), CPoint(lParam_)); return TRUE;)},
#define ON_WM_LBUTTONDOWN() PANEL_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() PANEL_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() PANEL_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_MOUSEMOVE() PANEL_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
// Any mouse message to a member of the form void (UINT flags, CPoint point).
#define ON_MOUSE_MESSAGE(msg, memberFxn) \
  {msg, 0, 0, 0, PANEL_THUNK((self_->*(memberFxn))(static_cast<UINT>(wParam_), CPoint(lParam_)); return TRUE;)},
#define ON_WM_SHOWWINDOW() \
  {WM_SHOWWINDOW, 0, 0, 0, PANEL_THUNK(self_->OnShowWindow(static_cast<BOOL>(wParam_), static_cast<UINT>(lParam_)); return TRUE;)},
#define ON_WM_SETFOCUS() \
  {WM_SETFOCUS, 0, 0, 0, PANEL_THUNK(self_->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_))); return TRUE;)},
#define ON_WM_KILLFOCUS() \
  {WM_KILLFOCUS, 0, 0, 0, PANEL_THUNK(self_->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam_))); return TRUE;)},
#define ON_WM_CAPTURECHANGED() \
  {WM_CAPTURECHANGED, 0, 0, 0, PANEL_THUNK(self_->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam_))); return TRUE;)},
#define ON_WM_ENABLE() {WM_ENABLE, 0, 0, 0, PANEL_THUNK(self_->OnEnable(static_cast<BOOL>(wParam_)); return TRUE;)},
#define ON_WM_FONTCHANGE() {WM_FONTCHANGE, 0, 0, 0, PANEL_THUNK(self_->OnFontChange(); return TRUE;)},
#define ON_WM_SIZE() \
  {WM_SIZE, 0, 0, 0, PANEL_THUNK(self_->OnSize(static_cast<UINT>(wParam_), GET_X_LPARAM(lParam_), GET_Y_LPARAM(lParam_)); return TRUE;)},
#define ON_WM_MOVE() {WM_MOVE, 0, 0, 0, PANEL_THUNK(self_->OnMove(GET_X_LPARAM(lParam_), GET_Y_LPARAM(lParam_)); return TRUE;)},
// HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind) for every WM_CTLCOLORxxx.
#define ON_WM_CTLCOLOR()                                                                                         \
  {::panel::kAnyCtlColor, 0, 0, 0,                                                                             \
   PANEL_THUNK(*result_ = reinterpret_cast<LRESULT>(self_->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam_)), \
                                                                      CWnd::FromHandle(reinterpret_cast<HWND>(lParam_)), \
                                                                      message_ - WM_CTLCOLORMSGBOX));           \
               return TRUE;)},
// void OnDrawItem(int id, LPDRAWITEMSTRUCT item) for owner-drawn controls without an object of their own.
#define ON_WM_DRAWITEM() \
  {WM_DRAWITEM, 0, 0, 0, PANEL_THUNK(self_->OnDrawItem(static_cast<int>(wParam_), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam_)); return TRUE;)},

// LRESULT memberFxn(WPARAM, LPARAM)
#define ON_MESSAGE(msg, memberFxn) {msg, 0, 0, 0, PANEL_THUNK(*result_ = (self_->*(memberFxn))(wParam_, lParam_); return TRUE;)},
// void memberFxn()
#define ON_COMMAND(id, memberFxn) {WM_COMMAND, 0, id, id, PANEL_THUNK((self_->*(memberFxn))(); return TRUE;)},
// void memberFxn(UINT id)
#define ON_COMMAND_RANGE(id, lastId, memberFxn) \
  {WM_COMMAND, 0, id, lastId, PANEL_THUNK((self_->*(memberFxn))(LOWORD(wParam_)); return TRUE;)},
#define ON_CONTROL(code, id, memberFxn) {WM_COMMAND, code, id, id, PANEL_THUNK((self_->*(memberFxn))(); return TRUE;)},
#define ON_CONTROL_RANGE(code, id, lastId, memberFxn) \
  {WM_COMMAND, code, id, lastId, PANEL_THUNK((self_->*(memberFxn))(LOWORD(wParam_)); return TRUE;)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
// void memberFxn(NMHDR* header, LRESULT* result)
#define ON_NOTIFY(code, id, memberFxn) \
  {WM_NOTIFY, static_cast<UINT>(code), id, id, PANEL_THUNK((self_->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam_), result_); return TRUE;)},
#define ON_NOTIFY_RANGE(code, id, lastId, memberFxn)                                                     \
  {WM_NOTIFY, static_cast<UINT>(code), id, lastId,                                                       \
   PANEL_THUNK((self_->*(memberFxn))(static_cast<UINT>(reinterpret_cast<NMHDR*>(lParam_)->idFrom),     \
                                     reinterpret_cast<NMHDR*>(lParam_), result_); return TRUE;)},

// Reflected to the control's own object.
#define ON_CONTROL_REFLECT(code, memberFxn) \
  {::panel::kReflectBase + WM_COMMAND, code, 0, 0, PANEL_THUNK((self_->*(memberFxn))(); return TRUE;)},
// BOOL memberFxn(): FALSE lets the parent handle the notification too.
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
  {::panel::kReflectBase + WM_COMMAND, code, 0, 0, PANEL_THUNK(return (self_->*(memberFxn))();)},
#define ON_NOTIFY_REFLECT(code, memberFxn)                                   \
  {::panel::kReflectBase + WM_NOTIFY, static_cast<UINT>(code), 0, 0,         \
   PANEL_THUNK((self_->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam_), result_); return TRUE;)},
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                \
  {::panel::kReflectBase + WM_NOTIFY, static_cast<UINT>(code), 0, 0,         \
   PANEL_THUNK(return (self_->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam_), result_);)},
// HBRUSH CtlColor(CDC* dc, UINT kind); a null brush lets the parent choose.
#define ON_WM_CTLCOLOR_REFLECT()                                                                            \
  {::panel::kReflectBase + ::panel::kAnyCtlColor, 0, 0, 0,                                                  \
   PANEL_THUNK(HBRUSH b_ = self_->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam_)), message_ - WM_CTLCOLORMSGBOX);      \
               *result_ = reinterpret_cast<LRESULT>(b_); return b_ != nullptr;)},
