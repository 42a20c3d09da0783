// Dialogs: creation from templates, the dialog class's default handling, modal runs with nested
// loops, EndDialog from any depth, and the message box.
#include <algorithm>

#include "Debug.h"
#include "DialogTemplate.h"
#include "GdiObjects.h"
#include "GuiState.h"
#include "Paths.h"
#include "Resources.h"

namespace panel {
namespace gui {
namespace {

HFONT DialogFont(const DialogTemplate& t, bool& owned) {
  owned = false;
  if (t.fontPoints <= 0 && t.fontFace.empty()) return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(t.fontPoints > 0 ? t.fontPoints : 9, 96, 72);
  lf.lfWeight = FW_NORMAL;
  lf.lfQuality = ANTIALIASED_QUALITY;
  lf.lfCharSet = DEFAULT_CHARSET;
  size_t n = std::min<size_t>(t.fontFace.size(), LF_FACESIZE - 1);
  for (size_t i = 0; i < n; ++i) lf.lfFaceName[i] = t.fontFace[i];
  owned = true;
  return CreateFontIndirectW(&lf);
}

HWND CreateDialogInternal(const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param, bool modal) {
  auto state = std::make_unique<DialogState>();
  state->dlgProc = proc;
  state->initParam = param;
  state->modal = modal;
  state->font = DialogFont(t, state->ownsFont);
  HFONT font = state->font;
  DWORD style = t.style & ~WS_VISIBLE;
  if (modal) style &= ~WS_CHILD;
  if (!(style & WS_CHILD)) style |= WS_POPUP;
  int left = 0, top = 0, right = 0, bottom = 0;
  FrameInsetsFor(style, t.exStyle, left, top, right, bottom);
  int width = DialogUnitsToPixels(t.cx) + left + right;
  int height = DialogUnitsToPixels(t.cy) + top + bottom;
  int x = DialogUnitsToPixels(t.x), y = DialogUnitsToPixels(t.y);
  Window* parentWindow = Find(parent);
  if (!(style & WS_CHILD)) {
    Window* owner = TopLevelOf(parentWindow);
    if (t.style & DS_CENTER) {
      x = (kScreenWidth - width) / 2;
      y = (kScreenHeight - height) / 2;
    } else if (owner && !(t.style & DS_ABSALIGN)) {
      POINT o = ClientOrigin(owner);
      x += o.x;
      y += o.y;
    }
  }
  HWND hwnd = CreateWindowRecord(t.exStyle, u"Dialog", t.caption.c_str(), style, x, y, width, height, parent, 0,
                                 nullptr, std::move(state));
  if (!hwnd) return nullptr;
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  for (const DialogItemTemplate& item : t.items) {
    int cx = DialogUnitsToPixels(item.x), cy = DialogUnitsToPixels(item.y);
    int cw = DialogUnitsToPixels(item.x + item.cx) - cx, ch = DialogUnitsToPixels(item.y + item.cy) - cy;
    HWND control = CreateWindowRecord(item.exStyle, item.className.c_str(), item.text.c_str(), item.style | WS_CHILD, cx,
                                      cy, cw, ch, hwnd, item.id, nullptr, nullptr);
    if (!control) {
      OutputDebugStringW((u"dialog template: no window class " + item.className).c_str());
      continue;
    }
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (!Find(hwnd)) return nullptr;
  }
  HWND focus = GetNextDlgTabItem(hwnd, nullptr, FALSE);
  Window* dialog = Find(hwnd);
  if (!dialog) return nullptr;
  LRESULT setFocus = Call(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), param);
  if (!Find(hwnd)) return nullptr;
  if (setFocus && focus && Find(focus)) SetFocus(focus);
  if (!modal && (t.style & WS_VISIBLE)) ShowWindow(hwnd, SW_SHOW);
  return hwnd;
}

bool LoadNamed(LPCWSTR name, DialogTemplate& t) {
  std::string error;
  UINT id = 0;
  if (IS_INTRESOURCE(name)) {
    id = static_cast<UINT>(reinterpret_cast<uintptr_t>(name));
  } else {
    id = static_cast<UINT>(WToI(name));
  }
  if (!LoadDialogTemplate(id, t, &error)) {
    OutputDebugStringW(FromUtf8(error).c_str());
    return false;
  }
  return true;
}

}  // namespace

LRESULT DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (w->dialog && w->dialog->dlgProc) {
    w->msgResult = 0;
    INT_PTR handled = w->dialog->dlgProc(hwnd, message, wParam, lParam);
    w = Find(hwnd);
    if (!w) return 0;
    if (handled) {
      if (message == WM_INITDIALOG || (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)) return handled;
      return w->msgResult;
    }
  }
  switch (message) {
    case WM_CLOSE: {
      HWND cancel = GetDlgItem(hwnd, IDCANCEL);
      SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
      return 0;
    }
    case WM_ERASEBKGND: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageW(hwnd, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(hwnd)));
      if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
      RECT r = ClientRect(w);
      FillRect(dc, &r, brush);
      return 1;
    }
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      return 0;
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace gui

bool LoadDialogTemplate(UINT id, DialogTemplate& out, std::string* error) {
  std::string path = ResourcePath("dialogs/" + std::to_string(id) + ".dlg");
  std::string text;
  if (!ReadTextFile(path, text)) {
    if (error) *error = "no dialog template " + path;
    SetLastError(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND
    return false;
  }
  if (!ParseDialogTemplate(text, out, error)) {
    if (error) *error = path + " refused: " + *error;
    SetLastError(1812);  // ERROR_RESOURCE_DATA_NOT_FOUND
    return false;
  }
  return true;
}

HWND CreateDialogFromTemplate(const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param) {
  return gui::CreateDialogInternal(t, parent, proc, param, false);
}

INT_PTR DialogBoxFromTemplate(const DialogTemplate& t, HWND parent, DLGPROC proc, LPARAM param) {
  using namespace gui;
  Window* owner = TopLevelOf(Find(parent));
  HWND ownerHandle = owner ? owner->handle : nullptr;
  HWND hwnd = CreateDialogInternal(t, parent, proc, param, true);
  if (!hwnd) return -1;
  bool reenable = false;
  if (Window* o = Find(ownerHandle)) {
    if (IsEnabled(o)) {
      EnableWindow(ownerHandle, FALSE);
      reenable = true;
    }
  }
  INT_PTR result = IDCANCEL;
  Window* d = Find(hwnd);
  if (d && d->dialog && !d->dialog->ended) {
    ShowWindow(hwnd, SW_SHOW);
    d = Find(hwnd);
    if (d) result = RunModalLoop(d);
  } else if (d && d->dialog) {
    result = d->dialog->result;
  }
  if (reenable && Find(ownerHandle)) EnableWindow(ownerHandle, TRUE);
  if (Find(hwnd)) {
    ShowWindow(hwnd, SW_HIDE);
    DestroyWindow(hwnd);
  }
  return result;
}

}  // namespace panel

using namespace panel::gui;

INT_PTR DialogBoxParamW(HINSTANCE, LPCWSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  panel::DialogTemplate t;
  if (!LoadNamed(templateName, t)) return -1;
  return panel::DialogBoxFromTemplate(t, parent, proc, param);
}

HWND CreateDialogParamW(HINSTANCE, LPCWSTR templateName, HWND parent, DLGPROC proc, LPARAM param) {
  panel::DialogTemplate t;
  if (!LoadNamed(templateName, t)) return nullptr;
  return panel::CreateDialogFromTemplate(t, parent, proc, param);
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  Window* w = Find(dialog);
  if (!w || !w->dialog) return FALSE;
  GuiState& s = State();
  if (!w->dialog->modal) {
    // A modeless dialog only hides; its owner destroys it.
    ShowWindow(dialog, SW_HIDE);
    return TRUE;
  }
  for (size_t i = 0; i < s.modal.size(); ++i) {
    if (s.modal[i]->handle == dialog) {
      EndModalFrom(i, result);
      return TRUE;
    }
  }
  w->dialog->ended = true;  // ended before its loop started (in WM_INITDIALOG)
  w->dialog->result = result;
  return TRUE;
}

LRESULT DefDlgProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DialogProc(hwnd, message, wParam, lParam);
}

BOOL IsDialogMessageW(HWND, LPMSG) { return FALSE; }

BOOL MapDialogRect(HWND, LPRECT rect) {
  if (!rect) return FALSE;
  rect->left = panel::DialogUnitsToPixels(rect->left);
  rect->top = panel::DialogUnitsToPixels(rect->top);
  rect->right = panel::DialogUnitsToPixels(rect->right);
  rect->bottom = panel::DialogUnitsToPixels(rect->bottom);
  return TRUE;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  HWND b = GetDlgItem(dialog, id);
  if (!b) return FALSE;
  SendMessageW(b, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  HWND b = GetDlgItem(dialog, id);
  return b ? static_cast<UINT>(SendMessageW(b, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
  for (int id = first; id <= last; ++id) {
    if (HWND b = GetDlgItem(dialog, id)) SendMessageW(b, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  HWND c = GetDlgItem(dialog, id);
  return c ? SendMessageW(c, message, wParam, lParam) : 0;
}

namespace {

struct BoxButton {
  int id;
  const char16_t* text;
};

std::vector<BoxButton> ButtonsFor(UINT kind) {
  switch (kind) {
    case MB_OKCANCEL: return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, u"Abort"}, {IDRETRY, u"Retry"}, {IDIGNORE, u"Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, u"Yes"}, {IDNO, u"No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO: return {{IDYES, u"Yes"}, {IDNO, u"No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, u"Retry"}, {IDCANCEL, u"Cancel"}};
    default: return {{IDOK, u"OK"}};
  }
}

INT_PTR BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    int id = LOWORD(wParam);
    if (id == IDCANCEL && !GetDlgItem(hwnd, IDCANCEL)) id = GetDlgItem(hwnd, IDNO) ? IDNO : IDOK;
    EndDialog(hwnd, id);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  std::vector<BoxButton> buttons = ButtonsFor(type & MB_TYPEMASK);
  panel::DialogTemplate t;
  t.cx = 200;
  t.cy = 100;
  t.style = WS_POPUP | WS_CAPTION | DS_CENTER | DS_MODALFRAME;
  t.caption = caption ? caption : u"Error";
  t.fontPoints = 9;
  panel::DialogItemTemplate label;
  label.className = u"STATIC";
  label.id = -1;
  label.x = 8;
  label.y = 8;
  label.cx = 184;
  label.cy = 60;
  label.text = text ? text : u"";
  label.style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
  t.items.push_back(label);
  const int bw = 50, gap = 8;
  int total = static_cast<int>(buttons.size()) * bw + (static_cast<int>(buttons.size()) - 1) * gap;
  int x = (t.cx - total) / 2;
  size_t defaultIndex = (type & MB_DEFBUTTON2) && buttons.size() > 1 ? 1 : 0;
  for (size_t i = 0; i < buttons.size(); ++i) {
    panel::DialogItemTemplate b;
    b.className = u"BUTTON";
    b.id = buttons[i].id;
    b.x = x;
    b.y = t.cy - 24;
    b.cx = bw;
    b.cy = 16;
    b.text = buttons[i].text;
    b.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    t.items.push_back(b);
    x += bw + gap;
  }
  INT_PTR r = panel::DialogBoxFromTemplate(t, owner, BoxProc, 0);
  return r < 0 ? 0 : static_cast<int>(r);
}

BOOL MessageBeep(UINT) { return TRUE; }
