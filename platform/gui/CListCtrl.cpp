#include "CListCtrl.h"

IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
  return CWnd::Create(WC_LISTVIEWW, nullptr, style, rect, parent, id);
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
  return static_cast<DWORD>(::SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style)));
}

DWORD CListCtrl::GetExtendedStyle() const {
  return static_cast<DWORD>(::SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

int CListCtrl::InsertColumn(int column, LPCTSTR heading, int format, int width, int subItem) {
  LVCOLUMN c{};
  c.mask = LVCF_TEXT | LVCF_FMT;
  c.pszText = const_cast<LPWSTR>(heading ? heading : u"");
  c.fmt = format;
  if (width != -1) {
    c.mask |= LVCF_WIDTH;
    c.cx = width;
  }
  if (subItem != -1) {
    c.mask |= LVCF_SUBITEM;
    c.iSubItem = subItem;
  }
  return InsertColumn(column, &c);
}

int CListCtrl::InsertColumn(int column, const LVCOLUMN* definition) {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(definition)));
}

BOOL CListCtrl::DeleteColumn(int column) { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_DELETECOLUMN, static_cast<WPARAM>(column), 0)); }

BOOL CListCtrl::SetColumnWidth(int column, int width) {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
}

int CListCtrl::GetColumnWidth(int column) const {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column), 0));
}

int CListCtrl::InsertItem(int item, LPCTSTR text) {
  LVITEM i{};
  i.mask = LVIF_TEXT;
  i.iItem = item;
  i.pszText = const_cast<LPWSTR>(text ? text : u"");
  return InsertItem(&i);
}

int CListCtrl::InsertItem(const LVITEM* item) {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCTSTR text) {
  LVITEM i{};
  i.iSubItem = subItem;
  i.pszText = const_cast<LPWSTR>(text ? text : u"");
  return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&i)));
}

CString CListCtrl::GetItemText(int item, int subItem) const {
  CString text;
  int size = 64;
  for (;;) {
    LVITEM i{};
    i.iSubItem = subItem;
    i.cchTextMax = size;
    i.pszText = text.GetBuffer(size);
    int n = static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&i)));
    text.ReleaseBuffer();
    if (n < size - 1 || size >= 65536) break;
    size *= 4;
  }
  return text;
}

int CListCtrl::GetItemText(int item, int subItem, LPTSTR buffer, int size) const {
  LVITEM i{};
  i.iSubItem = subItem;
  i.cchTextMax = size;
  i.pszText = buffer;
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&i)));
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
  LVITEM i{};
  i.mask = LVIF_PARAM;
  i.iItem = item;
  i.lParam = static_cast<LPARAM>(data);
  return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&i)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
  LVITEM i{};
  i.mask = LVIF_PARAM;
  i.iItem = item;
  ::SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&i));
  return static_cast<DWORD_PTR>(i.lParam);
}

BOOL CListCtrl::DeleteItem(int item) { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_DELETEITEM, static_cast<WPARAM>(item), 0)); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0)); }
int CListCtrl::GetItemCount() const { return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0)); }

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
  LVITEM i{};
  i.state = state;
  i.stateMask = mask;
  return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&i)));
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
  return static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

UINT CListCtrl::GetSelectedCount() const { return static_cast<UINT>(::SendMessageW(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0)); }

int CListCtrl::GetNextItem(int item, int flags) const {
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(item), MAKELPARAM(flags, 0)));
}

// A position is the selected item's index plus one, so that the first item is not null.
POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  int first = GetNextItem(-1, LVNI_SELECTED);
  return reinterpret_cast<POSITION>(static_cast<intptr_t>(first + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& position) const {
  int current = static_cast<int>(reinterpret_cast<intptr_t>(position)) - 1;
  int next = GetNextItem(current, LVNI_SELECTED);
  position = reinterpret_cast<POSITION>(static_cast<intptr_t>(next + 1));
  return current;
}

int CListCtrl::GetSelectionMark() const { return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETSELECTIONMARK, 0, 0)); }
int CListCtrl::SetSelectionMark(int item) { return static_cast<int>(::SendMessageW(m_hWnd, LVM_SETSELECTIONMARK, 0, item)); }

BOOL CListCtrl::EnsureVisible(int item, BOOL partialOk) {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOk));
}

BOOL CListCtrl::Scroll(CSize size) { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SCROLL, static_cast<WPARAM>(size.cx), size.cy)); }
int CListCtrl::GetTopIndex() const { return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETTOPINDEX, 0, 0)); }
int CListCtrl::GetCountPerPage() const { return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0)); }

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
  if (!rect) return FALSE;
  rect->left = static_cast<LONG>(code);
  return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
}

int CListCtrl::HitTest(CPoint point, UINT* flags) const {
  LVHITTESTINFO info{};
  info.pt = point;
  int index = static_cast<int>(::SendMessageW(m_hWnd, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (flags) *flags = info.flags;
  return index;
}

BOOL CListCtrl::SetBkColor(COLORREF color) { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0, color)); }
BOOL CListCtrl::SetTextColor(COLORREF color) { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SETTEXTCOLOR, 0, color)); }
BOOL CListCtrl::SetTextBkColor(COLORREF color) { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, color)); }
BOOL CListCtrl::RedrawItems(int first, int last) { return static_cast<BOOL>(::SendMessageW(m_hWnd, LVM_REDRAWITEMS, static_cast<WPARAM>(first), last)); }
