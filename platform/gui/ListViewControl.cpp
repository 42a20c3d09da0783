// The report-mode list view: columns with headings, rows of sub-item texts, single or multiple
// selection with LVN_ITEMCHANGING/LVN_ITEMCHANGED to the parent, the selection mark, and scrolling
// by dragging the rows with the finger. A tap (press and release without dragging) selects the row
// under it; a drag scrolls and selects nothing. While the rows overflow, a vertical scroll bar
// stands at the right edge, so the user sees that more follow: its arrows scroll a row, a tap on
// its trough a page, and its thumb follows the finger. Pressing the bar neither selects nor takes
// the focus.
#include <algorithm>

#include "GdiObjects.h"
#include "GuiState.h"

namespace panel {
namespace gui {
namespace {

struct Column {
  std::u16string text;
  int width = 0;
  int format = LVCFMT_LEFT;
};

struct Item {
  std::vector<std::u16string> texts;
  UINT state = 0;
  LPARAM param = 0;
};

struct ListState : ControlState {
  std::vector<Column> columns;
  std::vector<Item> items;
  DWORD exStyle = 0;
  int top = 0;
  int mark = -1;
  COLORREF background = RGB(255, 255, 255);
  COLORREF text = RGB(0, 0, 0);
  COLORREF textBackground = RGB(255, 255, 255);
  bool tracking = false;
  bool dragged = false;
  bool thumbHeld = false;  // the press began on the scroll bar's thumb
  bool onBar = false;      // the press began on the scroll bar
  POINT press{0, 0};
  int pressTop = 0;
};

const int kScrollBarWidth = 16;
const int kMinThumb = 10;

ListState& StateOf(Window* w) {
  if (!w->control) w->control = std::make_unique<ListState>();
  return static_cast<ListState&>(*w->control);
}

int FontHeight(Window* w) {
  HDC dc = GetDC(w->handle);
  SelectObject(dc, ControlFont(w));
  TEXTMETRICW tm;
  GetTextMetricsW(dc, &tm);
  ReleaseDC(w->handle, dc);
  return tm.tmHeight;
}

int HeaderHeight(Window* w) { return (w->style & LVS_NOCOLUMNHEADER) ? 0 : FontHeight(w) + 6; }
int RowHeight(Window* w) { return std::max(FontHeight(w) + 4, 12); }

int PerPage(Window* w) {
  RECT c = ClientRect(w);
  return std::max(1, static_cast<int>((c.bottom - HeaderHeight(w)) / RowHeight(w)));
}

int MaxTop(Window* w) {
  ListState& st = StateOf(w);
  return std::max(0, static_cast<int>(st.items.size()) - PerPage(w));
}

bool HasScrollBar(Window* w) { return static_cast<int>(StateOf(w).items.size()) > PerPage(w); }

// The right edge of the header and the rows: the scroll bar takes the strip beyond it.
int ContentRight(Window* w) {
  RECT c = ClientRect(w);
  return HasScrollBar(w) ? std::max(0, static_cast<int>(c.right) - kScrollBarWidth) : static_cast<int>(c.right);
}

struct ScrollBar {
  RECT bar, up, down, thumb;
  int travel;  // pixels the thumb can move between the arrows
};

ScrollBar ScrollBarOf(Window* w) {
  ListState& st = StateOf(w);
  RECT c = ClientRect(w);
  ScrollBar b{};
  b.bar = MakeRect(ContentRight(w), 0, c.right, c.bottom);
  const int arrow = std::min(kScrollBarWidth, static_cast<int>(c.bottom) / 3);
  b.up = MakeRect(b.bar.left, 0, b.bar.right, arrow);
  b.down = MakeRect(b.bar.left, c.bottom - arrow, b.bar.right, c.bottom);
  const int trough = std::max(0, static_cast<int>(b.down.top - b.up.bottom));
  const int count = std::max(1, static_cast<int>(st.items.size()));
  const int length = std::min(trough, std::max(kMinThumb, trough * PerPage(w) / count));
  b.travel = trough - length;
  const int maxTop = MaxTop(w);
  const int offset = maxTop > 0 ? (b.travel * st.top + maxTop / 2) / maxTop : 0;
  b.thumb = MakeRect(b.bar.left, b.up.bottom + offset, b.bar.right, b.up.bottom + offset + length);
  return b;
}

RECT RowRect(Window* w, int index) {
  ListState& st = StateOf(w);
  int y = HeaderHeight(w) + (index - st.top) * RowHeight(w);
  return MakeRect(0, y, ContentRight(w), y + RowHeight(w));
}

int ItemAt(Window* w, POINT p) {
  ListState& st = StateOf(w);
  int header = HeaderHeight(w);
  if (p.y < header || p.x < 0 || p.x >= ContentRight(w)) return -1;
  int index = st.top + (p.y - header) / RowHeight(w);
  if (index < 0 || index >= static_cast<int>(st.items.size())) return -1;
  int width = 0;
  for (const Column& c : st.columns) width += c.width;
  if (!(st.exStyle & LVS_EX_FULLROWSELECT) && !st.columns.empty() && p.x >= st.columns[0].width) return -1;
  if (p.x >= width && (st.exStyle & LVS_EX_FULLROWSELECT) == 0) return -1;
  return index;
}

std::u16string Text(const Item& item, int sub) {
  return sub >= 0 && sub < static_cast<int>(item.texts.size()) ? item.texts[static_cast<size_t>(sub)] : std::u16string();
}

// Changes an item's state, asking the parent first; false when the parent refused.
bool ChangeState(Window* w, int index, UINT state, UINT mask) {
  ListState& st = StateOf(w);
  if (index < 0 || index >= static_cast<int>(st.items.size())) return false;
  UINT old = st.items[static_cast<size_t>(index)].state;
  UINT now = (old & ~mask) | (state & mask);
  if (now == old) return true;
  HWND h = w->handle;
  NMLISTVIEW nm{};
  nm.iItem = index;
  nm.uNewState = now;
  nm.uOldState = old;
  nm.uChanged = LVIF_STATE;
  nm.lParam = st.items[static_cast<size_t>(index)].param;
  nm.hdr.code = LVN_ITEMCHANGING;
  if (NotifyParent(w, nm.hdr)) return false;
  w = Find(h);
  if (!w) return false;
  ListState& again = StateOf(w);
  if (index >= static_cast<int>(again.items.size())) return false;
  again.items[static_cast<size_t>(index)].state = now;
  RECT row = RowRect(w, index);
  InvalidateRect(h, &row, TRUE);
  nm.hdr.code = LVN_ITEMCHANGED;
  NotifyParent(w, nm.hdr);
  return true;
}

void SetState(Window* w, int index, UINT state, UINT mask) {
  HWND h = w->handle;
  ListState& st = StateOf(w);
  if (index < 0) {
    for (int i = 0; i < static_cast<int>(st.items.size()); ++i) {
      if (!(w = Find(h))) return;
      ChangeState(w, i, state, mask);
    }
    return;
  }
  // With single selection, selecting one deselects the others first.
  if ((w->style & LVS_SINGLESEL) && (mask & LVIS_SELECTED) && (state & LVIS_SELECTED)) {
    for (int i = 0; i < static_cast<int>(st.items.size()); ++i) {
      if (!(w = Find(h))) return;
      if (i != index && (StateOf(w).items[static_cast<size_t>(i)].state & LVIS_SELECTED)) ChangeState(w, i, 0, LVIS_SELECTED);
    }
  }
  if ((w = Find(h)) && (mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED)) {
    for (int i = 0; i < static_cast<int>(StateOf(w).items.size()); ++i) {
      if (!(w = Find(h))) return;
      if (i != index && (StateOf(w).items[static_cast<size_t>(i)].state & LVIS_FOCUSED)) ChangeState(w, i, 0, LVIS_FOCUSED);
    }
  }
  if ((w = Find(h))) ChangeState(w, index, state, mask);
}

void SelectAt(Window* w, POINT p) {
  HWND h = w->handle;
  int index = ItemAt(w, p);
  ListState& st = StateOf(w);
  if (index < 0) {
    for (int i = 0; i < static_cast<int>(st.items.size()); ++i) {
      if (!(w = Find(h))) return;
      ChangeState(w, i, 0, LVIS_SELECTED);
    }
    return;
  }
  st.mark = index;
  for (int i = 0; i < static_cast<int>(st.items.size()); ++i) {
    if (!(w = Find(h))) return;
    if (i != index) ChangeState(w, i, 0, LVIS_SELECTED | LVIS_FOCUSED);
  }
  if ((w = Find(h))) ChangeState(w, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void Notify(Window* w, UINT code) {
  NMHDR hdr{};
  hdr.code = code;
  NotifyParent(w, hdr);
}

UINT CellFormat(const Column& c, int index) {
  UINT f = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (index == 0) return f | DT_LEFT;  // the first column is always left-aligned
  if ((c.format & 3) == LVCFMT_RIGHT) return f | DT_RIGHT;
  if ((c.format & 3) == LVCFMT_CENTER) return f | DT_CENTER;
  return f | DT_LEFT;
}

// A solid triangle pointing up or down, centred in box, drawn line by line so it stays crisp.
void PaintArrow(HDC dc, const RECT& box, bool up) {
  const int half = std::max(2, static_cast<int>(box.right - box.left) / 4);
  const int cx = (box.left + box.right) / 2, cy = (box.top + box.bottom) / 2;
  const int top = cy - half / 2;
  for (int i = 0; i < half; ++i) {
    const int width = up ? i : half - 1 - i;
    RECT line = MakeRect(cx - width - 1, top + i, cx + width + 1, top + i + 1);
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNTEXT));
  }
}

// A raised face: the button colour inside a shadow frame.
void PaintFace(HDC dc, const RECT& r) {
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
}

void PaintScrollBar(Window* w, HDC dc) {
  const ScrollBar b = ScrollBarOf(w);
  FillRect(dc, &b.bar, GetSysColorBrush(COLOR_3DLIGHT));
  PaintFace(dc, b.up);
  PaintArrow(dc, b.up, true);
  PaintFace(dc, b.down);
  PaintArrow(dc, b.down, false);
  PaintFace(dc, b.thumb);
}

void Paint(Window* w, HDC dc) {
  ListState& st = StateOf(w);
  RECT c = ClientRect(w);
  SelectObject(dc, ControlFont(w));
  HBRUSH background = CreateSolidBrush(st.background);
  FillRect(dc, &c, background);
  DeleteObject(background);
  SetBkMode(dc, TRANSPARENT);
  const int header = HeaderHeight(w), row = RowHeight(w);
  const int pad = 3;
  if (HasScrollBar(w)) PaintScrollBar(w, dc);
  c.right = ContentRight(w);
  if (header > 0) {
    int x = 0;
    for (size_t i = 0; i < st.columns.size() && x < c.right; ++i) {
      RECT cell = MakeRect(x, 0, std::min(x + st.columns[i].width, static_cast<int>(c.right)), header);
      FillRect(dc, &cell, GetSysColorBrush(COLOR_BTNFACE));
      RECT edge = MakeRect(cell.right - 1, 0, cell.right, header);
      FillRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
      edge = MakeRect(cell.left, header - 1, cell.right, header);
      FillRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      RECT text = cell;
      InflateRect(&text, -pad, 0);
      DrawTextW(dc, st.columns[i].text.c_str(), -1, &text, CellFormat(st.columns[i], static_cast<int>(i)));
      x = cell.right;
    }
    RECT rest = MakeRect(x, 0, c.right, header);
    FillRect(dc, &rest, GetSysColorBrush(COLOR_BTNFACE));
  }
  IntersectClipRect(dc, 0, header, c.right, c.bottom);
  bool focused = GetFocus() == w->handle;
  int rows = (c.bottom - header + row - 1) / row;
  for (int r = 0; r < rows; ++r) {
    int index = st.top + r;
    int y = header + r * row;
    if (index < static_cast<int>(st.items.size())) {
      const Item& item = st.items[static_cast<size_t>(index)];
      bool selected = (item.state & LVIS_SELECTED) && (focused || (w->style & LVS_SHOWSELALWAYS));
      int x = 0;
      for (size_t k = 0; k < st.columns.size() && x < c.right; ++k) {
        // A cell that runs under the scroll bar ends at it, so its text is cut where it shows.
        RECT cell = MakeRect(x, y, std::min(x + st.columns[k].width, static_cast<int>(c.right)), y + row);
        bool highlight = selected && ((st.exStyle & LVS_EX_FULLROWSELECT) || k == 0);
        if (highlight) {
          FillRect(dc, &cell, GetSysColorBrush(focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
          SetTextColor(dc, focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : st.text);
        } else {
          SetTextColor(dc, IsEnabled(w) ? st.text : GetSysColor(COLOR_GRAYTEXT));
        }
        RECT text = cell;
        InflateRect(&text, -pad, 0);
        std::u16string t = Text(item, static_cast<int>(k));
        DrawTextW(dc, t.c_str(), -1, &text, CellFormat(st.columns[k], static_cast<int>(k)));
        x += st.columns[k].width;
      }
    }
    if (st.exStyle & LVS_EX_GRIDLINES) {
      RECT line = MakeRect(0, y + row - 1, c.right, y + row);
      FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
    }
  }
  if (st.exStyle & LVS_EX_GRIDLINES) {
    int x = 0;
    for (const Column& col : st.columns) {
      x += col.width;
      RECT line = MakeRect(x - 1, header, x, c.bottom);
      FillRect(dc, &line, GetSysColorBrush(COLOR_BTNFACE));
    }
  }
}

int InsertItem(Window* w, const LVITEMW& item) {
  ListState& st = StateOf(w);
  if (item.iSubItem != 0) return -1;
  int index = std::clamp(item.iItem, 0, static_cast<int>(st.items.size()));
  Item it;
  it.texts.push_back((item.mask & LVIF_TEXT) && item.pszText ? std::u16string(item.pszText) : std::u16string());
  if (item.mask & LVIF_STATE) it.state = item.state & item.stateMask;
  if (item.mask & LVIF_PARAM) it.param = item.lParam;
  st.items.insert(st.items.begin() + index, it);
  if (st.mark >= index) ++st.mark;
  Invalidate(w);
  return index;
}

bool SetItemText(Window* w, int index, int sub, const char16_t* text) {
  ListState& st = StateOf(w);
  if (index < 0 || index >= static_cast<int>(st.items.size()) || sub < 0) return false;
  Item& it = st.items[static_cast<size_t>(index)];
  if (it.texts.size() <= static_cast<size_t>(sub)) it.texts.resize(static_cast<size_t>(sub) + 1);
  std::u16string value = text ? text : u"";
  if (it.texts[static_cast<size_t>(sub)] != value) {
    it.texts[static_cast<size_t>(sub)] = value;
    if (index >= st.top && index < st.top + PerPage(w) + 1) {
      RECT row = RowRect(w, index);
      InvalidateRect(w->handle, &row, TRUE);
    }
  }
  return true;
}

// Makes row `top` the first one shown (kept within the rows there are) and repaints when it moved.
void ScrollTo(Window* w, int top) {
  ListState& st = StateOf(w);
  top = std::clamp(top, 0, MaxTop(w));
  if (top == st.top) return;
  st.top = top;
  Invalidate(w);
}

void EnsureVisible(Window* w, int index) {
  ListState& st = StateOf(w);
  int page = PerPage(w);
  int top = st.top;
  if (index < top) top = index;
  if (index >= top + page) top = index - page + 1;
  ScrollTo(w, top);
}

// A press on the scroll bar: an arrow scrolls a row, the trough a page towards the press, and the
// thumb is taken up to follow the finger.
void PressScrollBar(Window* w, POINT p) {
  ListState& st = StateOf(w);
  const ScrollBar b = ScrollBarOf(w);
  if (p.y < b.up.bottom) {
    ScrollTo(w, st.top - 1);
  } else if (p.y >= b.down.top) {
    ScrollTo(w, st.top + 1);
  } else if (p.y < b.thumb.top) {
    ScrollTo(w, st.top - PerPage(w));
  } else if (p.y >= b.thumb.bottom) {
    ScrollTo(w, st.top + PerPage(w));
  } else {
    st.thumbHeld = true;
  }
}

// The held thumb moved to y: the rows follow in proportion to the thumb's travel.
void DragThumb(Window* w, int y) {
  ListState& st = StateOf(w);
  const ScrollBar b = ScrollBarOf(w);
  if (b.travel <= 0) return;
  const int dy = y - st.press.y;
  const int rows = MaxTop(w) * dy;
  const int moved = rows >= 0 ? (rows + b.travel / 2) / b.travel : -((-rows + b.travel / 2) / b.travel);
  ScrollTo(w, st.pressTop + moved);
}

}  // namespace

LRESULT ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  ListState& st = StateOf(w);
  switch (message) {
    case LVM_INSERTCOLUMNW: {
      auto* col = reinterpret_cast<const LVCOLUMNW*>(lParam);
      if (!col) return -1;
      Column c;
      if (col->mask & LVCF_TEXT && col->pszText) c.text = col->pszText;
      if (col->mask & LVCF_WIDTH) c.width = std::max(0, col->cx);
      if (col->mask & LVCF_FMT) c.format = col->fmt;
      int index = std::clamp(static_cast<int>(wParam), 0, static_cast<int>(st.columns.size()));
      st.columns.insert(st.columns.begin() + index, c);
      Invalidate(w);
      return index;
    }
    case LVM_SETCOLUMNW:
    case LVM_GETCOLUMNW: {
      auto* col = reinterpret_cast<LVCOLUMNW*>(lParam);
      size_t index = wParam;
      if (!col || index >= st.columns.size()) return FALSE;
      Column& c = st.columns[index];
      if (message == LVM_SETCOLUMNW) {
        if (col->mask & LVCF_TEXT) c.text = col->pszText ? col->pszText : u"";
        if (col->mask & LVCF_WIDTH) c.width = std::max(0, col->cx);
        if (col->mask & LVCF_FMT) c.format = col->fmt;
        Invalidate(w);
      } else {
        if (col->mask & LVCF_TEXT && col->pszText && col->cchTextMax > 0) {
          WStrCopy(col->pszText, static_cast<size_t>(col->cchTextMax), c.text.c_str());
        }
        if (col->mask & LVCF_WIDTH) col->cx = c.width;
        if (col->mask & LVCF_FMT) col->fmt = c.format;
      }
      return TRUE;
    }
    case LVM_DELETECOLUMN:
      if (wParam >= st.columns.size()) return FALSE;
      st.columns.erase(st.columns.begin() + static_cast<ptrdiff_t>(wParam));
      Invalidate(w);
      return TRUE;
    case LVM_GETCOLUMNWIDTH:
      return wParam < st.columns.size() ? st.columns[wParam].width : 0;
    case LVM_SETCOLUMNWIDTH:
      if (wParam >= st.columns.size()) return FALSE;
      st.columns[wParam].width = std::max(0, static_cast<int>(static_cast<short>(LOWORD(lParam))));
      Invalidate(w);
      return TRUE;
    case LVM_INSERTITEMW: {
      auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      return item ? InsertItem(w, *item) : -1;
    }
    case LVM_SETITEMW: {
      auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      if (!item || item->iItem < 0 || item->iItem >= static_cast<int>(st.items.size())) return FALSE;
      if (item->mask & LVIF_TEXT) SetItemText(w, item->iItem, item->iSubItem, item->pszText);
      if ((w = Find(hwnd)) && (item->mask & LVIF_PARAM) && item->iSubItem == 0) {
        StateOf(w).items[static_cast<size_t>(item->iItem)].param = item->lParam;
      }
      if ((w = Find(hwnd)) && (item->mask & LVIF_STATE) && item->iSubItem == 0) SetState(w, item->iItem, item->state, item->stateMask);
      return TRUE;
    }
    case LVM_GETITEMW: {
      auto* item = reinterpret_cast<LVITEMW*>(lParam);
      if (!item || item->iItem < 0 || item->iItem >= static_cast<int>(st.items.size())) return FALSE;
      const Item& it = st.items[static_cast<size_t>(item->iItem)];
      if ((item->mask & LVIF_TEXT) && item->pszText && item->cchTextMax > 0) {
        WStrCopy(item->pszText, static_cast<size_t>(item->cchTextMax), Text(it, item->iSubItem).c_str());
      }
      if (item->mask & LVIF_STATE) item->state = it.state & item->stateMask;
      if (item->mask & LVIF_PARAM) item->lParam = it.param;
      return TRUE;
    }
    case LVM_SETITEMTEXTW: {
      auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      if (!item) return FALSE;
      return SetItemText(w, static_cast<int>(wParam), item->iSubItem, item->pszText) ? TRUE : FALSE;
    }
    case LVM_GETITEMTEXTW: {
      auto* item = reinterpret_cast<LVITEMW*>(lParam);
      int index = static_cast<int>(wParam);
      if (!item || !item->pszText || item->cchTextMax <= 0) return 0;
      item->pszText[0] = 0;
      if (index < 0 || index >= static_cast<int>(st.items.size())) return 0;
      std::u16string t = Text(st.items[static_cast<size_t>(index)], item->iSubItem);
      WStrCopy(item->pszText, static_cast<size_t>(item->cchTextMax), t.c_str());
      return static_cast<LRESULT>(std::min<size_t>(t.size(), static_cast<size_t>(item->cchTextMax - 1)));
    }
    case LVM_DELETEITEM: {
      int index = static_cast<int>(wParam);
      if (index < 0 || index >= static_cast<int>(st.items.size())) return FALSE;
      NMLISTVIEW nm{};
      nm.hdr.code = LVN_DELETEITEM;
      nm.iItem = index;
      nm.lParam = st.items[static_cast<size_t>(index)].param;
      NotifyParent(w, nm.hdr);
      if (!(w = Find(hwnd))) return FALSE;
      ListState& now = StateOf(w);
      if (index >= static_cast<int>(now.items.size())) return FALSE;
      now.items.erase(now.items.begin() + index);
      if (now.mark == index) {
        now.mark = -1;
      } else if (now.mark > index) {
        --now.mark;
      }
      now.top = std::min(now.top, MaxTop(w));
      Invalidate(w);
      return TRUE;
    }
    case LVM_DELETEALLITEMS: {
      NMLISTVIEW nm{};
      nm.hdr.code = LVN_DELETEALLITEMS;
      nm.iItem = -1;
      NotifyParent(w, nm.hdr);
      if (!(w = Find(hwnd))) return FALSE;
      ListState& now = StateOf(w);
      now.items.clear();
      now.mark = -1;
      now.top = 0;
      Invalidate(w);
      return TRUE;
    }
    case LVM_GETITEMCOUNT:
      return static_cast<LRESULT>(st.items.size());
    case LVM_GETNEXTITEM: {
      int start = static_cast<int>(wParam);
      UINT flags = LOWORD(lParam);
      for (int i = start + 1; i < static_cast<int>(st.items.size()); ++i) {
        UINT s = st.items[static_cast<size_t>(i)].state;
        if ((flags & LVNI_SELECTED) && !(s & LVIS_SELECTED)) continue;
        if ((flags & LVNI_FOCUSED) && !(s & LVIS_FOCUSED)) continue;
        return i;
      }
      return -1;
    }
    case LVM_SETITEMSTATE: {
      auto* item = reinterpret_cast<const LVITEMW*>(lParam);
      if (!item) return FALSE;
      int index = static_cast<int>(static_cast<intptr_t>(wParam));
      if (index >= static_cast<int>(st.items.size())) return FALSE;
      SetState(w, index, item->state, item->stateMask);
      return TRUE;
    }
    case LVM_GETITEMSTATE: {
      size_t index = wParam;
      if (index >= st.items.size()) return 0;
      return static_cast<LRESULT>(st.items[index].state & static_cast<UINT>(lParam));
    }
    case LVM_GETSELECTEDCOUNT: {
      LRESULT n = 0;
      for (const Item& it : st.items) n += (it.state & LVIS_SELECTED) ? 1 : 0;
      return n;
    }
    case LVM_GETSELECTIONMARK:
      return st.mark;
    case LVM_SETSELECTIONMARK: {
      int old = st.mark;
      st.mark = static_cast<int>(lParam);
      return old;
    }
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
      DWORD old = st.exStyle;
      DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
      st.exStyle = (st.exStyle & ~mask) | (static_cast<DWORD>(lParam) & mask);
      Invalidate(w);
      return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
      return st.exStyle;
    case LVM_ENSUREVISIBLE:
      EnsureVisible(w, static_cast<int>(wParam));
      return TRUE;
    case LVM_SCROLL: {
      int dy = static_cast<int>(lParam);
      int row = RowHeight(w);
      int rows = dy >= 0 ? (dy + row - 1) / row : -((-dy + row - 1) / row);
      ScrollTo(w, st.top + rows);
      return TRUE;
    }
    case LVM_GETTOPINDEX:
      return st.top;
    case LVM_GETCOUNTPERPAGE:
      return PerPage(w);
    case LVM_SETBKCOLOR:
      st.background = static_cast<COLORREF>(lParam);
      Invalidate(w);
      return TRUE;
    case LVM_GETBKCOLOR:
      return st.background;
    case LVM_SETTEXTCOLOR:
      st.text = static_cast<COLORREF>(lParam);
      Invalidate(w);
      return TRUE;
    case LVM_GETTEXTCOLOR:
      return st.text;
    case LVM_SETTEXTBKCOLOR:
      st.textBackground = static_cast<COLORREF>(lParam);
      return TRUE;
    case LVM_GETTEXTBKCOLOR:
      return st.textBackground;
    case LVM_GETITEMRECT: {
      auto* r = reinterpret_cast<RECT*>(lParam);
      int index = static_cast<int>(wParam);
      if (!r || index < 0 || index >= static_cast<int>(st.items.size())) return FALSE;
      int code = r->left;
      *r = RowRect(w, index);
      if (code == LVIR_LABEL && !st.columns.empty()) r->right = st.columns[0].width;
      return TRUE;
    }
    case LVM_HITTEST: {
      auto* info = reinterpret_cast<LVHITTESTINFO*>(lParam);
      if (!info) return -1;
      info->iItem = ItemAt(w, info->pt);
      info->iSubItem = 0;
      info->flags = info->iItem >= 0 ? LVHT_ONITEM : LVHT_NOWHERE;
      return info->iItem;
    }
    case LVM_REDRAWITEMS:
      Invalidate(w);
      return TRUE;
    case WM_LBUTTONDOWN: {
      const POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      const bool onBar = HasScrollBar(w) && p.x >= ContentRight(w);
      st.thumbHeld = false;
      if (onBar) {
        PressScrollBar(w, p);
      } else if (GetFocus() != hwnd) {
        SetFocus(hwnd);
      }
      if (!(w = Find(hwnd))) return 0;
      ListState& now = StateOf(w);
      now.tracking = true;
      now.dragged = false;
      now.onBar = onBar;
      now.press = p;
      now.pressTop = now.top;
      SetCapture(hwnd);
      return 0;
    }
    case WM_MOUSEMOVE: {
      if (!st.tracking) return 0;
      int y = GET_Y_LPARAM(lParam);
      if (st.onBar) {
        if (st.thumbHeld) DragThumb(w, y);
        return 0;
      }
      int row = RowHeight(w);
      int dy = st.press.y - y;
      if (!st.dragged && std::abs(dy) >= row / 2) st.dragged = true;
      if (!st.dragged) return 0;
      int rows = dy >= 0 ? (dy + row / 2) / row : -((-dy + row / 2) / row);
      ScrollTo(w, st.pressTop + rows);
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!st.tracking) return 0;
      st.tracking = false;
      st.thumbHeld = false;
      bool dragged = st.dragged || st.onBar;
      if (GetCapture() == hwnd) ReleaseCapture();
      if (!(w = Find(hwnd))) return 0;
      if (!dragged) {
        SelectAt(w, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        if ((w = Find(hwnd))) Notify(w, NM_CLICK);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != hwnd) st.tracking = false;
      return 0;
    case WM_SETFOCUS:
      Invalidate(w);
      Notify(w, NM_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      Invalidate(w);
      Notify(w, NM_KILLFOCUS);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(w, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace gui
}  // namespace panel
