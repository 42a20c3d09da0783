// The static text control: text in the parent's colours (WM_CTLCOLORSTATIC), aligned by its style,
// word-wrapped unless SS_CENTERIMAGE (one line, centred vertically) or SS_LEFTNOWORDWRAP.
#include "GdiObjects.h"
#include "GuiState.h"

namespace panel {
namespace gui {

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
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
      return 1;  // painted with the parent's brush in WM_PAINT
    case WM_LBUTTONDOWN:
      if (w->style & SS_NOTIFY) NotifyCommand(w, STN_CLICKED);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r = ClientRect(w);
      DWORD type = w->style & SS_TYPEMASK;
      if (type == SS_BLACKRECT || type == SS_GRAYRECT || type == SS_WHITERECT) {
        int color = type == SS_BLACKRECT ? BLACK_BRUSH : type == SS_GRAYRECT ? GRAY_BRUSH : WHITE_BRUSH;
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(color)));
      } else if (type == SS_BLACKFRAME) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      } else if (type != SS_ICON && type != SS_BITMAP) {
        SelectObject(dc, ControlFont(w));
        HBRUSH brush = ParentColours(w, dc, WM_CTLCOLORSTATIC);
        if (brush) FillRect(dc, &r, brush);
        if (!IsEnabled(w)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        UINT format = 0;
        if ((w->style & 3) == SS_CENTER) format |= DT_CENTER;
        if ((w->style & 3) == SS_RIGHT) format |= DT_RIGHT;
        if (w->style & SS_CENTERIMAGE) {
          format |= DT_SINGLELINE | DT_VCENTER;
        } else if (type != SS_LEFTNOWORDWRAP) {
          format |= DT_WORDBREAK;
        }
        if (w->style & SS_NOPREFIX) format |= DT_NOPREFIX;
        DrawTextW(dc, w->text.c_str(), -1, &r, format);
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
