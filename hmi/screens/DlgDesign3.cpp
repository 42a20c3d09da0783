#include "DlgDesign3.h"

#include <vector>

#include "AppGlobals.h"
#include "CControlEngine.h"
#include "CSystemData.h"
#include "ControlHelpers.h"
#include "DbTables.h"
#include "DlgList.h"
#include "LangTexts.h"
#include "PageHost.h"
#include "SoftClock.h"

namespace {

const int kActiveTitleText = 384;
const int kHistoryTitleText = 385;
const int kMoreText = 382;
const int kClearText = 383;
const int64_t kDay = 86400;

bool IsDealer3Or15(int dealer) { return dealer == 3 || dealer == 15; }

SYSTEMTIME LocalFields(int64_t seconds) { return panel::EpochMsToSystemTime(seconds * 1000); }

CString TimeOfDay(int64_t seconds) {
  const SYSTEMTIME t = LocalFields(seconds);
  CString text;
  text.Format(u"%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
  return text;
}

// "2026-12-08 09:05 text" of a fault's start.
CString StartAndText(const FaultEntry& fault) {
  const SYSTEMTIME t = LocalFields(fault.m_start);
  CString text;
  text.Format(u"%d-%02d-%02d %02d:%02d %s", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
              static_cast<const char16_t*>(fault.m_text));
  return text;
}

// Row n of a list: the code, the start time and the span; a row the list does not have yet is added.
void WriteRow(CListCtrl& list, int n, const FaultEntry& fault, const CString& span) {
  if (list.GetItemCount() <= n) {
    list.InsertItem(n, fault.m_code);
  } else {
    list.SetItemText(n, 0, fault.m_code);
  }
  list.SetItemText(n, 1, TimeOfDay(fault.m_start));
  list.SetItemText(n, 2, span);
}

// Rows from the end until the list holds count.
void TrimRows(CListCtrl& list, int count) {
  while (list.GetItemCount() > count) list.DeleteItem(list.GetItemCount() - 1);
}

CString TitleWithCode(int textId, const CString& code) {
  CString text;
  text.Format(u"%s%s", static_cast<const char16_t*>(LangText(textId)), static_cast<const char16_t*>(code));
  return text;
}

void AddColumns(CListCtrl& list) {
  list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  list.InsertColumn(0, u"ID", LVCFMT_LEFT, 40);
  list.InsertColumn(1, u"开始时间", LVCFMT_LEFT, 80);
  list.InsertColumn(2, u"持续时间", LVCFMT_LEFT, 80);
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgDesign3, DlgBase)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_MOUSE_MESSAGE(WM_LBUTTONUP, &DlgDesign3::OnBackCorner)
  ON_NOTIFY(LVN_ITEMCHANGED, DlgDesign3::kActiveList, &DlgDesign3::OnActiveChanged)
  ON_NOTIFY(LVN_ITEMCHANGED, DlgDesign3::kHistoryList, &DlgDesign3::OnHistoryChanged)
  ON_NOTIFY(NM_SETFOCUS, DlgDesign3::kActiveList, &DlgDesign3::OnActiveFocus)
  ON_NOTIFY(NM_SETFOCUS, DlgDesign3::kHistoryList, &DlgDesign3::OnHistoryFocus)
  ON_BN_CLICKED(DlgDesign3::kClearButton, &DlgDesign3::OnClearHistory)
  ON_BN_CLICKED(DlgDesign3::kMoreButton, &DlgDesign3::OnMoreInfo)
  ON_BN_CLICKED(DlgDesign3::kMenuButton, &DlgDesign3::OnGoMenu)
  ON_BN_CLICKED(DlgDesign3::kPrevButton, &DlgDesign3::OnPrevPage)
  ON_BN_CLICKED(DlgDesign3::kNextButton, &DlgDesign3::OnNextPage)
END_MESSAGE_MAP()

DlgDesign3::DlgDesign3(CWnd* parent) : DlgBase(&g_bmpPageBg, kTemplate, parent) {}

DlgDesign3::~DlgDesign3() = default;

CString DlgDesign3::FormatSpan(int64_t seconds, bool blankAfterDays) {
  if (seconds < 0) seconds = 0;  // a clock set back shows no negative span
  const int hours = static_cast<int>(seconds / 3600 % 24);
  const int minutes = static_cast<int>(seconds / 60 % 60);
  const int rest = static_cast<int>(seconds % 60);
  CString text;
  if (seconds <= kDay) {
    text.Format(u"%02d:%02d:%02d", hours, minutes, rest);
  } else {
    text.Format(blankAfterDays ? u"%I64dD %02d:%02d:%02d" : u"%I64dD%02d:%02d:%02d",
                static_cast<long long>(seconds / kDay), hours, minutes, rest);
  }
  return text;
}

void DlgDesign3::Refresh() {
  SetTextIfChanged(&m_more, LangText(kMoreText));
  SetTextIfChanged(&m_clear, LangText(kClearText));
  const int64_t now = g_now;

  // Active faults, in table order.
  const std::vector<FaultEntry> table = g_engine.CopyFaultTable();
  FaultEntry selectedActive;
  bool activeFound = false;
  int n = 0;
  for (const FaultEntry& fault : table) {
    if (fault.m_state != FaultEntry::kActive) continue;
    if (n == m_activeSelection) {
      selectedActive = fault;
      activeFound = true;
    }
    WriteRow(m_activeList, n, fault, FormatSpan(now - fault.m_start, true));
    ++n;
  }
  TrimRows(m_activeList, n);
  if (m_activeSelection >= m_activeList.GetItemCount()) m_activeSelection = -1;
  if (m_activeSelection >= 0 && activeFound) {
    SetTextIfChanged(&m_activeTitle, TitleWithCode(kActiveTitleText, selectedActive.m_code));
    SetTextIfChanged(&m_activeText, StartAndText(selectedActive));
    if (m_focusedList == kActive) m_selectedRecordId = selectedActive.m_historyId;
  } else {
    SetTextIfChanged(&m_activeTitle, LangText(kActiveTitleText));
    SetTextIfChanged(&m_activeText, CString());
    m_activeSelection = -1;
    m_selectedRecordId = -1;
  }

  // The history, only while unlocked. Rows beyond it go, so no row stands for an entry that is gone.
  std::vector<FaultEntry> history;
  if (GetSystemData()->m_unlockLevel != 0) {
    history = g_engine.CopyFaultHistory();
    const int count = static_cast<int>(history.size());
    for (int i = 0; i < count; ++i) {
      WriteRow(m_historyList, i, history[i], FormatSpan(history[i].m_end - history[i].m_start, false));
    }
    TrimRows(m_historyList, count);
    if (m_historySelection >= m_historyList.GetItemCount()) m_historySelection = -1;
  } else {
    m_historySelection = -1;
    if (m_historyList.GetItemCount() > 0) m_historyList.DeleteAllItems();
  }
  if (m_historySelection >= 0 && m_historySelection < static_cast<int>(history.size())) {
    const FaultEntry& fault = history[m_historySelection];
    SetTextIfChanged(&m_historyTitle, TitleWithCode(kHistoryTitleText, fault.m_code));
    SetTextIfChanged(&m_historyText, StartAndText(fault));
    if (m_focusedList == kHistory) m_selectedRecordId = fault.m_historyId;
  } else {
    SetTextIfChanged(&m_historyTitle, LangText(kHistoryTitleText));
    SetTextIfChanged(&m_historyText, CString());
    m_historySelection = -1;
  }
}

void DlgDesign3::OnMoreInfo() {
  if (m_selectedRecordId <= 0) return;
  FaultRecord record;
  record.m_id = m_selectedRecordId;
  if (!LoadFault(record, 0)) return;
  const SYSTEMTIME t = LocalFields(record.m_startTime);
  CString title;
  title.Format(u"%s %d-%02d-%02d %02d:%02d:%02d", static_cast<const char16_t*>(record.m_code), t.wYear, t.wMonth,
               t.wDay, t.wHour, t.wMinute, t.wSecond);
  DlgList list(this);
  list.Init(title, record);
  list.DoModal();
}

void DlgDesign3::OnClearHistory() {
  if (GetSystemData()->m_unlockLevel == 0) return;
  g_engine.ClearFaultHistory();
  m_historyList.DeleteAllItems();
  m_historySelection = -1;
  DeleteFaults(0);
}

void DlgDesign3::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  DDX_Control(dx, kActiveTitle, m_activeTitle);
  DDX_Control(dx, kActiveText, m_activeText);
  DDX_Control(dx, kHistoryTitle, m_historyTitle);
  DDX_Control(dx, kHistoryText, m_historyText);
  DDX_Control(dx, kClearButton, m_clear);
  DDX_Control(dx, kMoreButton, m_more);
  DDX_Control(dx, kMenuButton, m_menu);
  DDX_Control(dx, kPrevButton, m_prev);
  DDX_Control(dx, kNextButton, m_next);
  DDX_Control(dx, kActiveList, m_activeList);
  DDX_Control(dx, kHistoryList, m_historyList);
}

BOOL DlgDesign3::OnInitDialog() {
  DlgBase::OnInitDialog();
  for (CSkinLabel* label : {&m_activeTitle, &m_activeText, &m_historyTitle, &m_historyText}) {
    label->SetSkin(265, 252, 275);
  }
  const int dealer = g_dealerId;
  const int wide = dealer == 9 ? 97 : 16;
  m_clear.SetIconStyle(wide, 240, 252, 270);
  m_more.SetIconStyle(wide, 240, 252, 270);
  int menu = 52, prev = 47, next = 48;
  if (IsDealer3Or15(dealer)) {
    menu = 205, prev = 200, next = 201;
  } else if (dealer == 9) {
    menu = 139, prev = 129, next = 130;
  }
  m_menu.SetIconStyle(menu, 240, 252, 275);
  m_prev.SetIconStyle(prev, 240, 252, 275);
  m_next.SetIconStyle(next, 240, 252, 275);
  // Each button its own caption from the start, and the titles without the template's sample code.
  m_clear.SetWindowText(LangText(kClearText));
  m_more.SetWindowText(LangText(kMoreText));
  m_activeTitle.SetWindowText(LangText(kActiveTitleText));
  m_historyTitle.SetWindowText(LangText(kHistoryTitleText));
  AddColumns(m_activeList);
  AddColumns(m_historyList);
  SetTimer(kRefreshTimer, kRefreshMs);
  m_activeSelection = -1;
  m_historySelection = -1;
  m_focusedList = kNoList;
  return TRUE;
}

// Refreshed before it is painted: the first visit, and every visit after, shows the faults as they
// are, never the template's sample texts or the lists as they stood when the page was hidden.
void DlgDesign3::OnShowWindow(BOOL show, UINT status) {
  if (show) Refresh();
  DlgBase::OnShowWindow(show, status);
}

void DlgDesign3::OnTimer(UINT_PTR id) {
  if (id == kRefreshTimer && GetShownState() == SW_SHOW) Refresh();
  DlgBase::OnTimer(id);
}

void DlgDesign3::OnPrevPage() { GoTo(PageHost::kDesign2); }

void DlgDesign3::OnNextPage() { GoTo(IsDealer3Or15(g_dealerId) ? PageHost::kDesign1 : PageHost::kDesign4); }
