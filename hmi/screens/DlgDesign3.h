// The fault history page: on the left the faults active now (from the engine's fault table), on
// the right the history of ended faults (newest first, at most 100), each with its code, start time
// and duration; the row selected in the list that last had the focus names the fault whose logged
// values "More Info" opens. "CLEAR History" empties the history and its table when unlocked; the
// history shows only while the access level is at least 1. Refreshes once a second while shown.
// A member of the main screen, created hidden. User-interface thread only; it copies the engine's
// fault table and history under the engine's fault lock.
#pragma once

#include <cstdint>

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgDesign3 : public DlgBase {
public:
  static constexpr UINT kTemplate = 107;
  enum : int {
    kActiveTitle = 1024,
    kActiveText = 1025,
    kActiveList = 1023,
    kHistoryTitle = 1026,
    kHistoryText = 1027,
    kHistoryList = 1046,
    kClearButton = 1084,
    kMoreButton = 1085,
    kPrevButton = 1087,
    kNextButton = 1088,
    kMenuButton = 1089,
  };
  static constexpr UINT kRefreshTimer = 1;
  static constexpr UINT kRefreshMs = 1000;
  enum FocusedList { kNoList = 0, kActive = 1, kHistory = 2 };

  explicit DlgDesign3(CWnd* parent = nullptr);
  ~DlgDesign3() override;

  // Rewrites both lists from the engine and the labels from their selections.
  void Refresh();
  // The logged values of the selected fault (when its history ID is above 0 and its row exists).
  void OnMoreInfo();
  // At access level 1 or 2: the history, its list and its table emptied.
  void OnClearHistory();

  int GetSelectedRecordId() const { return m_selectedRecordId; }
  CListCtrl& ActiveList() { return m_activeList; }
  CListCtrl& HistoryList() { return m_historyList; }

  // "hh:mm:ss" up to a day, over it "dD hh:mm:ss" (the history leaves out the blank).
  static CString FormatSpan(int64_t seconds, bool blankAfterDays);

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id);
  void OnShowWindow(BOOL show, UINT status);
  void OnActiveFocus(NMHDR*, LRESULT*) { m_focusedList = kActive; }
  void OnHistoryFocus(NMHDR*, LRESULT*) { m_focusedList = kHistory; }
  void OnActiveChanged(NMHDR*, LRESULT*) { m_activeSelection = m_activeList.GetSelectionMark(); }
  void OnHistoryChanged(NMHDR*, LRESULT*) { m_historySelection = m_historyList.GetSelectionMark(); }
  void OnPrevPage();
  void OnNextPage();
  DECLARE_MESSAGE_MAP()

private:
  int32_t m_focusedList = kNoList;
  int32_t m_selectedRecordId = -1;
  int32_t m_activeSelection = -1;
  int32_t m_historySelection = -1;
  CSkinLabel m_activeTitle;
  CSkinLabel m_activeText;
  CSkinLabel m_historyTitle;
  CSkinLabel m_historyText;
  CSkinButton m_clear;
  CSkinButton m_more;
  CSkinButton m_menu;
  CSkinButton m_prev;
  CSkinButton m_next;
  CListCtrl m_activeList;
  CListCtrl m_historyList;
};
