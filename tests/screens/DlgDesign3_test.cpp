#include "DlgDesign3.h"

#include <gtest/gtest.h>

#include <vector>

#include "CControlEngine.h"
#include "DbTables.h"
#include "DlgList.h"
#include "MainHostFixture.h"

namespace {

const int64_t kNow = 1796083200;  // 2026-12-01 00:00:00, local seconds

FaultEntry Fault(const char16_t* code, int32_t state, int64_t start, int64_t end, int32_t historyId) {
  FaultEntry f;
  f.m_code = code;
  f.m_state = state;
  f.m_start = start;
  f.m_end = end;
  f.m_historyId = historyId;
  f.m_text = u"text";
  return f;
}

class DlgDesign3Test : public MainHostDbFixture {
protected:
  void SetUp() override {
    MainHostDbFixture::SetUp();
    g_now = kNow;
  }
  void TearDown() override {
    SetFaults({}, {});
    MainHostDbFixture::TearDown();
  }
  static void SetFaults(std::vector<FaultEntry> table, std::vector<FaultEntry> history) {
    FaultTableLock guard(g_engine);
    g_engine.m_faultTable = std::move(table);
    g_engine.m_faultHistory = std::move(history);
  }
  DlgDesign3& Page() { return main.Design3(); }
  void ShowPage() {
    Page().ShowPage(SW_SHOW);
    Run(1000);
  }
  std::vector<std::vector<CString>> Rows(CListCtrl& list) {
    std::vector<std::vector<CString>> rows;
    for (int i = 0; i < list.GetItemCount(); ++i) {
      rows.push_back({list.GetItemText(i, 0), list.GetItemText(i, 1), list.GetItemText(i, 2)});
    }
    return rows;
  }
  // A tap on row i of a list: it takes the focus and selects the row.
  void TapRow(CListCtrl& list, int i) {
    RECT r;
    ASSERT_TRUE(list.GetItemRect(i, &r, LVIR_BOUNDS));
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    list.ClientToScreen(&p);
    Tap(p.x, p.y);
  }
};

TEST(DlgDesign3Span, DurationsUpToADayAndOver) {
  struct Case {
    int64_t seconds;
    const char16_t* active;
    const char16_t* history;
  };
  const Case cases[] = {{0, u"00:00:00", u"00:00:00"},
                        {3725, u"01:02:05", u"01:02:05"},
                        {86400, u"00:00:00", u"00:00:00"},
                        {90061, u"1D 01:01:01", u"1D01:01:01"},
                        {10 * 86400 + 59, u"10D 00:00:59", u"10D00:00:59"}};
  for (const Case& c : cases) {
    EXPECT_EQ(DlgDesign3::FormatSpan(c.seconds, true), CString(c.active)) << c.seconds;
    EXPECT_EQ(DlgDesign3::FormatSpan(c.seconds, false), CString(c.history)) << c.seconds;
  }
}

TEST_F(DlgDesign3Test, ActiveFaults_ListedWithStartAndDurationAndGoneWhenCleared) {
  SetFaults({Fault(u"E01", FaultEntry::kActive, kNow - 3725, 0, 4), Fault(u"E02", 5, kNow - 10, 0, 0),
             Fault(u"P03", FaultEntry::kActive, kNow - 90061, 0, 5)},
            {});
  CreateMain();
  ShowPage();
  const std::vector<std::vector<CString>> rows = {{u"E01", u"22:57:55", u"01:02:05"},
                                                  {u"P03", u"22:58:59", u"1D 01:01:01"}};
  EXPECT_EQ(Rows(Page().ActiveList()), rows);
  TapRow(Page().ActiveList(), 1);
  Run(1000);
  EXPECT_EQ(Text(Page(), DlgDesign3::kActiveTitle), CString(u"T384P03"));
  EXPECT_EQ(Text(Page(), DlgDesign3::kActiveText), CString(u"2026-11-29 22:58 text"));
  EXPECT_EQ(Page().GetSelectedRecordId(), 5);

  SetFaults({Fault(u"E01", FaultEntry::kActive, kNow - 3725, 0, 4)}, {});
  Run(1000);
  EXPECT_EQ(Page().ActiveList().GetItemCount(), 1);
  EXPECT_EQ(Text(Page(), DlgDesign3::kActiveTitle), CString(u"T384"));
  EXPECT_EQ(Text(Page(), DlgDesign3::kActiveText), CString(u""));
  EXPECT_EQ(Page().GetSelectedRecordId(), -1);
}

// From the page's first picture on, before its first refresh tick, it says only what is true: no
// sample code from the template, each button its own caption; and a page shown again lists the
// faults as they are then, not as they stood when it was hidden.
TEST_F(DlgDesign3Test, FirstPicture_ShowsOnlyWhatIsTrue) {
  SetFaults({}, {});
  CreateMain();
  panel::ClearDrawLog();
  Page().ShowPage(SW_SHOW);
  panel::PumpMessages();
  EXPECT_EQ(panel::FindDrawnText(u"Active Errors:S05"), nullptr);
  EXPECT_EQ(panel::FindDrawnText(u"CLEAR History"), nullptr);
  EXPECT_NE(panel::FindDrawnText(u"T384"), nullptr);
  EXPECT_EQ(Text(Page(), DlgDesign3::kActiveTitle), CString(u"T384"));
  EXPECT_EQ(Text(Page(), DlgDesign3::kHistoryTitle), CString(u"T385"));
  EXPECT_EQ(Text(Page(), DlgDesign3::kClearButton), CString(u"T383"));
  EXPECT_EQ(Text(Page(), DlgDesign3::kMoreButton), CString(u"T382"));
  EXPECT_EQ(Page().ActiveList().GetItemCount(), 0);

  Page().ShowPage(SW_HIDE);
  SetFaults({Fault(u"E01", FaultEntry::kActive, kNow - 60, 0, 4)}, {});
  panel::ClearDrawLog();
  Page().ShowPage(SW_SHOW);
  panel::PumpMessages();
  ASSERT_EQ(Page().ActiveList().GetItemCount(), 1);
  EXPECT_NE(panel::FindDrawnText(u"E01"), nullptr);
}

TEST_F(DlgDesign3Test, History_ShownOnlyWhenUnlockedAndNeverPastItsEnd) {
  SetFaults({}, {Fault(u"E07", FaultEntry::kEnded, kNow - 7200, kNow - 3600, 9),
                 Fault(u"E06", FaultEntry::kEnded, kNow - 200000, kNow - 109939, 8),
                 Fault(u"E05", FaultEntry::kEnded, kNow - 300000, kNow - 299990, 7)});
  CreateMain();
  ShowPage();
  EXPECT_EQ(Page().HistoryList().GetItemCount(), 0);  // locked
  GetSystemData()->m_unlockLevel = 1;
  Run(1000);
  ASSERT_EQ(Page().HistoryList().GetItemCount(), 3);
  EXPECT_EQ(Page().HistoryList().GetItemText(1, 2), CString(u"1D01:01:01"));
  TapRow(Page().HistoryList(), 2);
  Run(1000);
  EXPECT_EQ(Text(Page(), DlgDesign3::kHistoryTitle), CString(u"T385E05"));
  EXPECT_EQ(Page().GetSelectedRecordId(), 7);

  // The history shrinks under the selection (rebuilt after a language change): its rows go with it.
  SetFaults({}, {Fault(u"E07", FaultEntry::kEnded, kNow - 7200, kNow - 3600, 9)});
  Run(1000);
  EXPECT_EQ(Page().HistoryList().GetItemCount(), 1);
  EXPECT_EQ(Text(Page(), DlgDesign3::kHistoryTitle), CString(u"T385"));
  EXPECT_EQ(Text(Page(), DlgDesign3::kHistoryText), CString(u""));

  GetSystemData()->m_unlockLevel = 0;
  Run(1000);
  EXPECT_EQ(Page().HistoryList().GetItemCount(), 0);
}

TEST_F(DlgDesign3Test, ClearHistory_OnlyWhenUnlocked) {
  FaultRecord stored;
  stored.m_id = 9;
  stored.m_code = u"E07";
  stored.m_startTime = kNow - 7200;
  stored.m_time = kNow - 3600;
  ASSERT_EQ(InsertFault(stored), 1);
  SetFaults({}, {Fault(u"E07", FaultEntry::kEnded, kNow - 7200, kNow - 3600, 9)});
  CreateMain();
  ShowPage();
  TapControl(DlgDesign3::kClearButton, Page().m_hWnd);
  EXPECT_EQ(g_engine.CopyFaultHistory().size(), 1u);
  dbtest::RawDb raw(file.Path());
  EXPECT_EQ(raw.Count("t_HPErr"), 1);

  GetSystemData()->m_unlockLevel = 1;
  Run(1000);
  ASSERT_EQ(Page().HistoryList().GetItemCount(), 1);
  TapControl(DlgDesign3::kClearButton, Page().m_hWnd);
  EXPECT_TRUE(g_engine.CopyFaultHistory().empty());
  EXPECT_EQ(Page().HistoryList().GetItemCount(), 0);
  EXPECT_EQ(raw.Count("t_HPErr"), 0);
}

TEST_F(DlgDesign3Test, MoreInfo_ShowsTheLoggedValuesOfTheFocusedListsFault) {
  FaultRecord stored;
  stored.m_id = 8;
  stored.m_code = u"E06";
  stored.m_startTime = kNow - 7205;  // 2026-11-30 21:59:55
  stored.m_time = kNow - 3600;
  stored.m_snapshotCode = 3;
  stored.m_compressorHz = 62;
  stored.m_pressureA = 26.5f;
  stored.m_outletTemp = 41.5f;
  stored.m_current = 7.25f;
  ASSERT_EQ(InsertFault(stored), 1);
  SetFaults({Fault(u"E01", FaultEntry::kActive, kNow - 60, 0, 11)},
            {Fault(u"E06", FaultEntry::kEnded, kNow - 7205, kNow - 3600, 8)});
  GetSystemData()->m_unlockLevel = 1;
  CreateMain();
  ShowPage();
  TapRow(Page().ActiveList(), 0);
  TapRow(Page().HistoryList(), 0);  // the history has the focus last
  Run(1000);
  ASSERT_EQ(Page().GetSelectedRecordId(), 8);

  CString title;
  std::vector<std::vector<CString>> rows;
  panel::ScriptedInput script;
  script.Then([&] {
    HWND popup = GetActiveWindow();
    title = TextOf(GetDlgItem(popup, DlgList::kTitle));
    CListCtrl* list = static_cast<CListCtrl*>(CWnd::FromHandle(GetDlgItem(popup, DlgList::kList)));
    for (int i = 0; i < list->GetItemCount(); ++i) rows.push_back({list->GetItemText(i, 1), list->GetItemText(i, 2)});
    TapControl(DlgList::kOk);
  });
  TapControl(DlgDesign3::kMoreButton, Page().m_hWnd);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(title, CString(u"E06 2026-11-30 21:59:55"));
  const std::vector<std::vector<CString>> expected = {
      {u"T153", u"T157"},    {u"T186", u"62Hz"},   {u"T191", u"26.5Bar"}, {u"T192", u"0.0Bar"},
      {u"T193", u"0.0℃"},    {u"T194", u"0.0℃"},   {u"T180", u"41.5℃"},   {u"T181", u"0.0℃"},
      {u"T188", u"0.0℃"},    {u"T195", u"0.0℃"},   {u"T201", u"7.2A"}};
  EXPECT_EQ(rows, expected);
}

TEST_F(DlgDesign3Test, MoreInfo_WithoutARecordOpensNothing) {
  SetFaults({Fault(u"E01", FaultEntry::kActive, kNow - 60, 0, 0)}, {});
  CreateMain();
  ShowPage();
  TapRow(Page().ActiveList(), 0);  // a fault whose row was never written: ID 0
  Run(1000);
  bool opened = false;
  panel::ScriptedInput script;
  script.Then([&] { opened = GetActiveWindow() != main.m_hWnd; });
  TapControl(DlgDesign3::kMoreButton, Page().m_hWnd);
  EXPECT_FALSE(opened);
}

TEST(DlgListRows, SnapshotCodeNames) {
  LangTexts.SetSize(500);
  for (int id : {154, 155, 156, 157}) {
    CString text;
    text.Format(u"T%d", id);
    LangTexts.SetAt(id - 1, text);
  }
  struct Case {
    uint8_t code;
    const char16_t* shown;
  };
  for (const Case& c : {Case{0, u"T154"}, Case{1, u"T155"}, Case{2, u"T156"}, Case{3, u"T157"}, Case{200, u"T157"}}) {
    RealRecord r;
    r.m_snapshotCode = c.code;
    EXPECT_EQ(DlgList::RowValue(0, r), CString(c.shown)) << int(c.code);
  }
  LangTexts.SetSize(0);
}

}  // namespace
