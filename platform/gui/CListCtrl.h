// The list view's class over the built-in "SysListView32" in report mode (Controls.h): columns,
// items with sub-item texts, selection and the selection mark.
#pragma once

#include "CWnd.h"

typedef void* POSITION;

class CListCtrl : public CWnd {
public:
  DECLARE_DYNAMIC(CListCtrl)

public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

  DWORD SetExtendedStyle(DWORD style);  // the previous extended style
  DWORD GetExtendedStyle() const;
  // width -1 leaves the width unset (0); the index of the new column, -1 on failure.
  int InsertColumn(int column, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
  int InsertColumn(int column, const LVCOLUMN* definition);
  BOOL DeleteColumn(int column);
  BOOL SetColumnWidth(int column, int width);
  int GetColumnWidth(int column) const;

  int InsertItem(int item, LPCTSTR text);  // the index of the new item, -1 on failure
  int InsertItem(const LVITEM* item);
  BOOL SetItemText(int item, int subItem, LPCTSTR text);
  CString GetItemText(int item, int subItem) const;
  int GetItemText(int item, int subItem, LPTSTR buffer, int size) const;
  BOOL SetItemData(int item, DWORD_PTR data);
  DWORD_PTR GetItemData(int item) const;
  BOOL DeleteItem(int item);
  BOOL DeleteAllItems();
  int GetItemCount() const;

  BOOL SetItemState(int item, UINT state, UINT mask);
  UINT GetItemState(int item, UINT mask) const;
  UINT GetSelectedCount() const;
  int GetNextItem(int item, int flags) const;
  POSITION GetFirstSelectedItemPosition() const;
  int GetNextSelectedItem(POSITION& position) const;
  int GetSelectionMark() const;
  int SetSelectionMark(int item);  // the previous mark

  BOOL EnsureVisible(int item, BOOL partialOk);
  BOOL Scroll(CSize size);
  int GetTopIndex() const;
  int GetCountPerPage() const;
  BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
  int HitTest(CPoint point, UINT* flags = nullptr) const;
  BOOL SetBkColor(COLORREF color);
  BOOL SetTextColor(COLORREF color);
  BOOL SetTextBkColor(COLORREF color);
  BOOL RedrawItems(int first, int last);
};
