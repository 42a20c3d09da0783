// The button control: push, check and radio buttons (radio groups run from a WS_GROUP control to the
// next), group boxes and owner-drawn buttons, whose owner paints them on WM_DRAWITEM. A press
// captures the pointer; the button shows pressed while the finger is on it and clicks (BN_CLICKED
// to the parent) when it is released there.
#include "GdiObjects.h"
#include "GuiState.h"

namespace panel {
namespace gui {
namespace {

struct ButtonState : ControlState {
  UINT check = BST_UNCHECKED;
  bool pushed = false;
  bool tracking = false;
  bool focus = false;
};

ButtonState& StateOf(Window* w) {
  if (!w->control) w->control = std::make_unique<ButtonState>();
  return static_cast<ButtonState&>(*w->control);
}

DWORD Type(const Window* w) { return w->style & BS_TYPEMASK; }
bool IsRadio(const Window* w) { return Type(w) == BS_RADIOBUTTON || Type(w) == BS_AUTORADIOBUTTON; }
bool IsCheck(const Window* w) {
  DWORD t = Type(w);
  return t == BS_CHECKBOX || t == BS_AUTOCHECKBOX || t == BS_3STATE || t == BS_AUTO3STATE;
}

void Click(Window* w) {
  HWND self = w->handle;
  ButtonState& st = StateOf(w);
  switch (Type(w)) {
    case BS_AUTOCHECKBOX: SendMessageW(self, BM_SETCHECK, st.check ? BST_UNCHECKED : BST_CHECKED, 0); break;
    case BS_AUTO3STATE: SendMessageW(self, BM_SETCHECK, (st.check + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON: {
      SendMessageW(self, BM_SETCHECK, BST_CHECKED, 0);
      Window* parent = w->parent;
      if (!parent) break;
      HWND other = GetNextDlgGroupItem(parent->handle, self, FALSE);
      while (other && other != self) {
        Window* o = Find(other);
        if (o && IsRadio(o)) SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
        other = GetNextDlgGroupItem(parent->handle, other, FALSE);
      }
      break;
    }
    default: break;
  }
  if (Window* again = Find(self)) NotifyCommand(again, BN_CLICKED);
}

UINT TextFormat(const Window* w, bool defaultCenter) {
  UINT format = 0;
  DWORD h = w->style & BS_CENTER;
  if (h == BS_CENTER) {
    format |= DT_CENTER;
  } else if (h == BS_RIGHT) {
    format |= DT_RIGHT;
  } else if (h == 0 && defaultCenter) {
    format |= DT_CENTER;
  }
  DWORD v = w->style & BS_VCENTER;
  if (v == BS_BOTTOM) {
    format |= DT_BOTTOM;
  } else if (v != BS_TOP) {
    format |= DT_VCENTER;
  }
  format |= (w->style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
  return format;
}

void DrawEdge3d(HDC dc, RECT r, bool sunken) {
  HBRUSH light = GetSysColorBrush(sunken ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
  HBRUSH dark = GetSysColorBrush(sunken ? COLOR_BTNHIGHLIGHT : COLOR_3DDKSHADOW);
  RECT e = MakeRect(r.left, r.top, r.right, r.top + 1);
  FillRect(dc, &e, light);
  e = MakeRect(r.left, r.top, r.left + 1, r.bottom);
  FillRect(dc, &e, light);
  e = MakeRect(r.left, r.bottom - 1, r.right, r.bottom);
  FillRect(dc, &e, dark);
  e = MakeRect(r.right - 1, r.top, r.right, r.bottom);
  FillRect(dc, &e, dark);
}

void PaintBuiltIn(Window* w, HDC dc) {
  ButtonState& st = StateOf(w);
  RECT r = ClientRect(w);
  SelectObject(dc, ControlFont(w));
  HBRUSH brush = ParentColours(w, dc, WM_CTLCOLORBTN);
  SetBkMode(dc, TRANSPARENT);
  COLORREF text = IsEnabled(w) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
  SetTextColor(dc, text);
  DWORD type = Type(w);
  if (type == BS_GROUPBOX) {
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    RECT frame = MakeRect(r.left, r.top + tm.tmHeight / 2, r.right, r.bottom);
    FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
    RECT label = MakeRect(r.left + 8, r.top, r.right - 8, r.top + tm.tmHeight);
    SIZE size;
    GetTextExtentPoint32W(dc, w->text.c_str(), static_cast<int>(w->text.size()), &size);
    label.right = std::min<LONG>(label.right, label.left + size.cx + 4);
    if (brush) FillRect(dc, &label, brush);
    label.left += 2;
    DrawTextW(dc, w->text.c_str(), -1, &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
    return;
  }
  if (IsCheck(w) || IsRadio(w)) {
    if (brush) FillRect(dc, &r, brush);
    const int box = 13;
    int top = r.top + (r.bottom - r.top - box) / 2;
    RECT b = MakeRect(r.left, top, r.left + box, top + box);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    if (IsRadio(w)) {
      Ellipse(dc, b.left, b.top, b.right, b.bottom);
      if (st.check) {
        SelectObject(dc, GetStockObject(BLACK_BRUSH));
        Ellipse(dc, b.left + 4, b.top + 4, b.right - 4, b.bottom - 4);
      }
    } else {
      Rectangle(dc, b.left, b.top, b.right, b.bottom);
      if (st.check == BST_CHECKED) {
        POINT tick[3] = {{b.left + 3, b.top + 6}, {b.left + 5, b.top + 9}, {b.left + 10, b.top + 3}};
        Polyline(dc, tick, 3);
      } else if (st.check == BST_INDETERMINATE) {
        RECT inner = MakeRect(b.left + 3, b.top + 3, b.right - 3, b.bottom - 3);
        FillRect(dc, &inner, GetSysColorBrush(COLOR_BTNSHADOW));
      }
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    RECT label = MakeRect(b.right + 4, r.top, r.right, r.bottom);
    DrawTextW(dc, w->text.c_str(), -1, &label, TextFormat(w, false));
    return;
  }
  bool down = st.pushed || (w->style & BS_PUSHLIKE && st.check);
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge3d(dc, r, down);
  if (Type(w) == BS_DEFPUSHBUTTON) FrameRect(dc, &r, GetSysColorBrush(COLOR_3DDKSHADOW));
  RECT label = r;
  InflateRect(&label, -3, -2);
  if (down) OffsetRect(&label, 1, 1);
  SetTextColor(dc, IsEnabled(w) ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(dc, w->text.c_str(), -1, &label, TextFormat(w, true));
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  ButtonState& st = StateOf(w);
  switch (message) {
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
      Invalidate(w);
      return r;
    }
    case WM_ENABLE:
      Invalidate(w);
      return 0;
    case WM_ERASEBKGND:
      if (Type(w) == BS_OWNERDRAW) return DefWindowProcW(hwnd, message, wParam, lParam);
      return 1;
    case WM_LBUTTONDOWN:
      st.tracking = true;
      st.pushed = true;
      SetCapture(hwnd);
      if (Find(hwnd) && GetFocus() != hwnd) SetFocus(hwnd);
      if (Window* again = Find(hwnd)) Invalidate(again);
      return 0;
    case WM_MOUSEMOVE:
      if (st.tracking) {
        RECT c = ClientRect(w);
        bool inside = PtInRect(&c, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != 0;
        if (inside != st.pushed) {
          st.pushed = inside;
          Invalidate(w);
        }
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!st.tracking) return 0;
      RECT c = ClientRect(w);
      bool click = st.pushed && PtInRect(&c, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      st.tracking = false;
      st.pushed = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (Window* again = Find(hwnd)) {
        Invalidate(again);
        if (click) Click(again);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (st.tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
        st.tracking = false;
        if (st.pushed) {
          st.pushed = false;
          Invalidate(w);
        }
      }
      return 0;
    case WM_SETFOCUS:
      st.focus = true;
      Invalidate(w);
      return 0;
    case WM_KILLFOCUS:
      st.focus = false;
      Invalidate(w);
      return 0;
    case BM_GETCHECK:
      return static_cast<LRESULT>(st.check);
    case BM_SETCHECK: {
      if (!IsCheck(w) && !IsRadio(w) && !(w->style & BS_PUSHLIKE)) return 0;
      UINT check = static_cast<UINT>(wParam) & 3u;
      if (check != st.check) {
        st.check = check;
        Invalidate(w);
      }
      return 0;
    }
    case BM_GETSTATE:
      return static_cast<LRESULT>(st.check | (st.pushed ? BST_PUSHED : 0u) | (st.focus ? BST_FOCUS : 0u));
    case BM_SETSTATE:
      if ((wParam != 0) != st.pushed) {
        st.pushed = wParam != 0;
        Invalidate(w);
      }
      return 0;
    case BM_SETSTYLE:
      w->style = (w->style & ~0xFFFFu) | (static_cast<DWORD>(wParam) & 0xFFFFu);
      if (LOWORD(lParam)) Invalidate(w);
      return 0;
    case BM_CLICK:
      Click(w);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (Type(w) == BS_OWNERDRAW) {
        DRAWITEMSTRUCT dis{};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = static_cast<UINT>(w->id);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = (st.pushed ? ODS_SELECTED : 0u) | (st.focus ? ODS_FOCUS : 0u) | (IsEnabled(w) ? 0u : ODS_DISABLED);
        dis.hwndItem = hwnd;
        dis.hDC = dc;
        dis.rcItem = ClientRect(w);
        Window* parent = w->parent ? w->parent : w->owner;
        if (parent) Call(parent, WM_DRAWITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&dis));
      } else {
        PaintBuiltIn(w, dc);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace gui
}  // namespace panel
