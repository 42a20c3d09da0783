// The single-line edit control: its text, shown as password characters while one is set (ES_PASSWORD
// sets '*'; EM_SETPASSWORDCHAR 0 shows the text itself). The panel has no keyboard, so the text comes
// from the program (SetWindowText); typed characters (WM_CHAR) are still taken.
#include "GdiObjects.h"
#include "GuiState.h"

namespace panel {
namespace gui {
namespace {

struct EditState : ControlState {
  char16_t password = 0;
  size_t limit = 30000;
  DWORD selStart = 0, selEnd = 0;
};

EditState& StateOf(Window* w) {
  if (!w->control) {
    auto s = std::make_unique<EditState>();
    if (w->style & ES_PASSWORD) s->password = u'*';
    w->control = std::move(s);
  }
  return static_cast<EditState&>(*w->control);
}

}  // namespace

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  EditState& st = StateOf(w);
  switch (message) {
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, message, wParam, lParam);
      if (w->text.size() > st.limit) w->text.resize(st.limit);
      st.selStart = st.selEnd = static_cast<DWORD>(w->text.size());
      Invalidate(w);
      NotifyCommand(w, EN_CHANGE);
      return r;
    }
    case WM_CHAR: {
      if (w->style & ES_READONLY) return 0;
      char16_t c = static_cast<char16_t>(wParam);
      if (c == 8) {
        if (!w->text.empty()) w->text.pop_back();
      } else if (c >= 0x20 && w->text.size() < st.limit) {
        if ((w->style & ES_NUMBER) && (c < u'0' || c > u'9')) return 0;
        w->text.push_back(c);
      } else {
        return 0;
      }
      State().treeChanged = true;
      Invalidate(w);
      NotifyCommand(w, EN_CHANGE);
      return 0;
    }
    case EM_SETPASSWORDCHAR:
      st.password = static_cast<char16_t>(wParam);
      Invalidate(w);
      return 0;
    case EM_GETPASSWORDCHAR:
      return st.password;
    case EM_LIMITTEXT:
      st.limit = wParam ? static_cast<size_t>(wParam) : 30000;
      return 0;
    case EM_SETREADONLY:
      if (wParam) {
        w->style |= ES_READONLY;
      } else {
        w->style &= ~ES_READONLY;
      }
      Invalidate(w);
      return TRUE;
    case EM_SETSEL:
      st.selStart = static_cast<DWORD>(wParam);
      st.selEnd = static_cast<DWORD>(lParam);
      return 0;
    case EM_GETSEL:
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = st.selStart;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = st.selEnd;
      return MAKELRESULT(st.selStart, st.selEnd);
    case EM_REPLACESEL: {
      std::u16string add = lParam ? reinterpret_cast<const char16_t*>(lParam) : u"";
      size_t a = std::min<size_t>(std::min(st.selStart, st.selEnd), w->text.size());
      size_t b = std::min<size_t>(std::max(st.selStart, st.selEnd), w->text.size());
      w->text = w->text.substr(0, a) + add + w->text.substr(b);
      st.selStart = st.selEnd = static_cast<DWORD>(a + add.size());
      State().treeChanged = true;
      Invalidate(w);
      NotifyCommand(w, EN_CHANGE);
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (GetFocus() != hwnd) SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      NotifyCommand(w, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyCommand(w, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE:
      Invalidate(w);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r = ClientRect(w);
      SelectObject(dc, ControlFont(w));
      HBRUSH brush = ParentColours(w, dc, IsEnabled(w) && !(w->style & ES_READONLY) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
      if (brush) FillRect(dc, &r, brush);
      if (!IsEnabled(w)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      SetBkMode(dc, TRANSPARENT);
      std::u16string shown = st.password ? std::u16string(w->text.size(), st.password) : w->text;
      RECT text = r;
      InflateRect(&text, -2, 0);
      UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
      if ((w->style & 3) == ES_CENTER) format |= DT_CENTER;
      if ((w->style & 3) == ES_RIGHT) format |= DT_RIGHT;
      DrawTextW(dc, shown.c_str(), -1, &text, format);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace gui
}  // namespace panel
