#include <gtest/gtest.h>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;

class ListPage : public CDialog {
public:
  ListPage() : CDialog(501) {}
  CListCtrl list;
  struct Change {
    int item;
    bool selected;
    int mark;
  };
  std::vector<Change> changes;
  int focusNotes = 0;

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, 1023, list); }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    list.InsertColumn(0, u"ID", LVCFMT_LEFT, 40);
    list.InsertColumn(1, u"开始时间", LVCFMT_LEFT, 80);
    list.InsertColumn(2, u"持续时间", LVCFMT_RIGHT, 80);
    for (int i = 0; i < 30; ++i) {
      CString id, start;
      id.Format(u"E%02d", i);
      start.Format(u"12:00:%02d", i);
      list.InsertItem(i, id);
      list.SetItemText(i, 1, start);
    }
    return TRUE;
  }
  void OnItemChanged(NMHDR* header, LRESULT*) {
    auto* nm = reinterpret_cast<NMLISTVIEW*>(header);
    if (!(nm->uChanged & LVIF_STATE) || ((nm->uNewState ^ nm->uOldState) & LVIS_SELECTED) == 0) return;
    changes.push_back({nm->iItem, (nm->uNewState & LVIS_SELECTED) != 0, list.GetSelectionMark()});
  }
  void OnListFocus(NMHDR*, LRESULT*) { ++focusNotes; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ListPage, CDialog)
  ON_NOTIFY(LVN_ITEMCHANGED, 1023, &ListPage::OnItemChanged)
  ON_NOTIFY(NM_SETFOCUS, 1023, &ListPage::OnListFocus)
END_MESSAGE_MAP()

class CListCtrlTest : public GuiTest {
protected:
  CListCtrlTest() {
    WriteDialog(501,
                "size 321 182\nstyle WS_POPUP WS_VISIBLE\nfont 9 \"SimSun\"\n"
                "control LISTVIEW 1023 6 57 150 93 \"\" LVS_REPORT LVS_SINGLESEL LVS_SHOWSELALWAYS WS_BORDER\n");
    page.Create(501, nullptr);
    panel::PumpMessages();
  }
  // The screen point in the middle of the row shown at position k from the top.
  POINT Row(int k) {
    RECT item;
    page.list.GetItemRect(page.list.GetTopIndex() + k, &item, LVIR_BOUNDS);
    POINT p{(item.left + 60), (item.top + item.bottom) / 2};
    ClientToScreen(page.list.m_hWnd, &p);
    return p;
  }
  // A point of the list's client area, from its right and bottom edges where negative.
  POINT InList(int x, int y) {
    RECT c;
    GetClientRect(page.list.m_hWnd, &c);
    POINT p{x < 0 ? c.right + x : x, y < 0 ? c.bottom + y : y};
    ClientToScreen(page.list.m_hWnd, &p);
    return p;
  }
  ListPage page;
};

TEST_F(CListCtrlTest, Tap_SelectsTheRowAndMovesTheSelectionMark) {
  POINT row2 = Row(2);
  panel::TapAt(row2.x, row2.y);
  panel::PumpMessages();
  ASSERT_EQ(page.changes.size(), 1u);
  EXPECT_EQ(page.changes[0].item, 2);
  EXPECT_TRUE(page.changes[0].selected);
  EXPECT_EQ(page.changes[0].mark, 2);  // the mark is set when the parent hears of the change
  EXPECT_EQ(page.focusNotes, 1);
  POINT row4 = Row(4);
  panel::TapAt(row4.x, row4.y);
  panel::PumpMessages();
  ASSERT_EQ(page.changes.size(), 3u);
  EXPECT_EQ(page.changes[1].item, 2);  // single selection: the old row goes first
  EXPECT_FALSE(page.changes[1].selected);
  EXPECT_EQ(page.changes[2].item, 4);
  EXPECT_EQ(page.list.GetSelectionMark(), 4);
  EXPECT_EQ(page.list.GetNextItem(-1, LVNI_SELECTED), 4);
  EXPECT_EQ(page.list.GetSelectedCount(), 1u);
  POSITION pos = page.list.GetFirstSelectedItemPosition();
  EXPECT_EQ(page.list.GetNextSelectedItem(pos), 4);
  EXPECT_EQ(pos, nullptr);
  // The selected row is drawn in the highlight colours.
  const panel::DrawnText* drawn = panel::FindDrawnText(u"E04");
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(drawn->window, page.list.m_hWnd);
  EXPECT_EQ(drawn->color, GetSysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(panel::FindDrawnText(u"E03")->color, RGB(0, 0, 0));
}

TEST_F(CListCtrlTest, Drag_ScrollsByRowsWithoutSelecting) {
  const int perPage = page.list.GetCountPerPage();
  ASSERT_GE(perPage, 4);
  POINT from = Row(perPage - 1);
  RECT item;
  page.list.GetItemRect(0, &item, LVIR_BOUNDS);
  int row = item.bottom - item.top;
  panel::PressAt(from.x, from.y);
  for (int step = 1; step <= 3; ++step) panel::MoveTo(from.x, from.y - step * row);
  panel::ReleaseAt(from.x, from.y - 3 * row);
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetTopIndex(), 3);
  EXPECT_TRUE(page.changes.empty());
  CString last;
  last.Format(u"E%02d", 3 + perPage - 1);
  EXPECT_NE(panel::FindDrawnText(last), nullptr);  // the rows scrolled in were drawn
  POINT top = Row(0);
  panel::TapAt(top.x, top.y);
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetSelectionMark(), 3);
  // Dragging past the end stops at the last full page.
  panel::PressAt(from.x, from.y);
  panel::MoveTo(from.x, from.y - 100 * row);
  panel::ReleaseAt(from.x, from.y - 100 * row);
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetTopIndex(), 30 - page.list.GetCountPerPage());
}

TEST_F(CListCtrlTest, Items_KeepTheirTextsThroughInsertsAndDeletes) {
  CListCtrl& list = page.list;
  EXPECT_EQ(list.GetItemCount(), 30);
  EXPECT_EQ(list.GetItemText(3, 0), u"E03");
  EXPECT_EQ(list.GetItemText(3, 1), u"12:00:03");
  EXPECT_EQ(list.GetItemText(3, 2), u"");
  EXPECT_EQ(list.GetItemText(99, 0), u"");
  list.SetItemState(10, LVIS_SELECTED, LVIS_SELECTED);
  list.SetSelectionMark(10);
  EXPECT_TRUE(list.DeleteItem(3));
  EXPECT_EQ(list.GetItemText(3, 0), u"E04");
  EXPECT_EQ(list.GetSelectionMark(), 9);  // follows its item
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 9);
  EXPECT_FALSE(list.DeleteItem(40));
  EXPECT_TRUE(list.DeleteAllItems());
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.GetSelectionMark(), -1);
  EXPECT_EQ(list.GetColumnWidth(1), 80);
}

TEST_F(CListCtrlTest, OverflowingRows_ShowAScrollBarTheRowsStopAt) {
  const COLORREF trough = RGB(223, 223, 223), face = RGB(192, 192, 192), white = RGB(255, 255, 255);
  panel::PumpMessages();
  // 30 rows in a list of about 8: the bar's up arrow at the top right, the thumb under it, the
  // trough below the thumb.
  POINT arrowFace = InList(-3, 3), thumb = InList(-8, 20), lowTrough = InList(-8, -30);
  EXPECT_EQ(panel::ScreenPixel(arrowFace.x, arrowFace.y), face);
  EXPECT_EQ(panel::ScreenPixel(thumb.x, thumb.y), face);
  EXPECT_EQ(panel::ScreenPixel(lowTrough.x, lowTrough.y), trough);
  // A third column widened to run past the list's edge is cut at the bar, 16 pixels in from the right.
  page.list.SetColumnWidth(2, 120);
  page.list.SetItemText(0, 2, u"00:01:00");
  panel::PumpMessages();
  const panel::DrawnText* duration = panel::FindDrawnText(u"00:01:00");
  ASSERT_NE(duration, nullptr);
  EXPECT_LE(duration->rect.right, InList(-16, 0).x);
  // Few enough rows for the page: no bar, the rows run to the right edge.
  for (int i = page.list.GetItemCount() - 1; i >= 3; --i) page.list.DeleteItem(i);
  panel::PumpMessages();
  EXPECT_EQ(panel::ScreenPixel(arrowFace.x, arrowFace.y + 20), white);
  EXPECT_EQ(panel::ScreenPixel(lowTrough.x, lowTrough.y), white);
}

TEST_F(CListCtrlTest, ScrollBar_ArrowsTroughAndThumbScrollWithoutSelecting) {
  const int perPage = page.list.GetCountPerPage();
  const int last = 30 - perPage;
  POINT down = InList(-8, -4), up = InList(-8, 4);
  panel::TapAt(down.x, down.y);
  panel::TapAt(down.x, down.y);
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetTopIndex(), 2);  // a row a tap
  panel::TapAt(up.x, up.y);
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetTopIndex(), 1);
  POINT lowTrough = InList(-8, -24);
  panel::TapAt(lowTrough.x, lowTrough.y);
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetTopIndex(), 1 + perPage);  // a page a tap below the thumb
  // The thumb carried from the top of the trough to its bottom brings the last page.
  panel::TapAt(up.x, up.y + 30);  // above the thumb: a page back
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetTopIndex(), 1);
  page.list.Scroll(CSize(0, -1000));
  ASSERT_EQ(page.list.GetTopIndex(), 0);
  POINT thumb = InList(-8, 20);
  panel::PressAt(thumb.x, thumb.y);
  panel::MoveTo(thumb.x, thumb.y + 30);
  panel::PumpMessages();
  const int midway = page.list.GetTopIndex();
  EXPECT_GT(midway, 0);
  EXPECT_LT(midway, last);
  panel::MoveTo(thumb.x, thumb.y + 300);
  panel::ReleaseAt(thumb.x, thumb.y + 300);
  panel::PumpMessages();
  EXPECT_EQ(page.list.GetTopIndex(), last);
  CString lastRow;
  lastRow.Format(u"E%02d", 29);
  EXPECT_NE(panel::FindDrawnText(lastRow), nullptr);
  // None of it selected a row or took the focus.
  EXPECT_TRUE(page.changes.empty());
  EXPECT_EQ(page.focusNotes, 0);
}

}  // namespace
