#include "FaultTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CSystemData.h"
#include "DeliveredDb.h"
#include "OutdoorBlock.h"
#include "InputMapping.h"

namespace {

using enginetest::DeliveredDb;
using enginetest::RawDb;

const int64_t kStart = 1772452800;  // 2026-03-02 12:00:00
const int kF07 = 27;

CString TextOf(int id) {
  CString text;
  text.Format(u"text %d", id);
  return text;
}

int IndexOf(const char16_t* code) {
  for (int i = 0; i < kFaultCount; ++i) {
    if (CString(kFaultDefs[i].code) == code) return i;
  }
  return -1;
}

class FaultTableTest : public ::testing::Test {
protected:
  FaultTableTest() {
    table.resize(kFaultCount);
    InitFaultEntries(table, TextOf);
  }
  // One second of the fault step with the given raw words.
  void Second(uint32_t word1, uint32_t word2 = 0) {
    r.m_faultWord1 = word1;
    r.m_faultWord2 = word2;
    RunFaultStep(table, history, r, now++);
  }
  void InsertRow(int id, const std::string& code, int64_t start, int64_t end) {
    raw.Run("insert into t_HPErr (ID, Code, StartTM, TM) values(" + std::to_string(id) + ", '" + code + "', " +
             std::to_string(start) + ", " + std::to_string(end) + ")");
  }

  DeliveredDb db;
  RawDb raw{db.Path()};
  std::unique_ptr<CSystemData> record = std::make_unique<CSystemData>();
  CSystemData& r = *record;
  std::vector<FaultEntry> table;
  std::vector<FaultEntry> history;
  int64_t now = kStart;
};

TEST_F(FaultTableTest, Table_HoldsSixtyCodesWithTextsAndFlags) {
  EXPECT_EQ(CString(kFaultDefs[0].code), u"P01");
  EXPECT_EQ(CString(kFaultDefs[59].code), u"S14");
  struct Case {
    const char16_t* code;
    int silent;
    int textId;
  };
  for (const Case& c : {Case{u"P04", 1, 320}, Case{u"P12", 1, 358}, Case{u"E01", 0, 340}, Case{u"F01", 0, 328},
                        Case{u"F12", 0, 339}, Case{u"F21", 0, 356}, Case{u"F30", 0, 365}, Case{u"S01", 1, 366},
                        Case{u"S03", 0, 368}, Case{u"S09", 1, 374}, Case{u"S11", 0, 386}, Case{u"S12", 0, 145},
                        Case{u"S14", 0, 140}}) {
    int i = IndexOf(c.code);
    ASSERT_GE(i, 0) << CString(c.code).ToUtf8();
    EXPECT_EQ(table[i].m_silent, c.silent) << CString(c.code).ToUtf8();
    EXPECT_EQ(table[i].m_text, TextOf(c.textId)) << CString(c.code).ToUtf8();
  }
}

TEST_F(FaultTableTest, NineSecondsThenGap_RestartsCountAndRecordsOneRow) {
  const uint32_t p01 = 1u << 0;
  for (int s = 0; s < 9; ++s) Second(p01);
  Second(0);
  for (int s = 0; s < 9; ++s) Second(p01);
  EXPECT_EQ(raw.Count("t_HPErr"), 0);
  EXPECT_FALSE(r.m_statusBitsB & p01);
  Second(p01);
  int64_t started = now - 1;
  EXPECT_TRUE(r.m_statusBitsB & p01);
  EXPECT_EQ(table[0].m_state, FaultEntry::kActive);
  EXPECT_EQ(table[0].m_start, started);
  auto rows = raw.Rows("select ID, Code, StartTM, TM from t_HPErr");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "P01", std::to_string(started), std::to_string(started)}));
  EXPECT_EQ(r.m_faultSeq, 1);

  // Three hours later it clears: the row gets its end time, the history its entry at the front.
  for (int s = 0; s < 3 * 3600; ++s) Second(p01);
  EXPECT_EQ(raw.Count("t_HPErr"), 1);
  Second(0);
  int64_t ended = now - 1;
  EXPECT_FALSE(r.m_statusBitsB & p01);
  EXPECT_EQ(raw.Value("select TM from t_HPErr where ID = 1"), std::to_string(ended));
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].m_code, u"P01");
  EXPECT_EQ(history[0].m_start, started);
  EXPECT_EQ(history[0].m_end, ended);
  EXPECT_EQ(history[0].m_historyId, 1);
  EXPECT_EQ(history[0].m_state, 0);
  EXPECT_EQ(table[0].m_state, 0);
}

// The engine runs the step under the fault lock and the writes after it: the step itself never
// touches the database, so a file held busy by another connection delays no reader of the table.
TEST_F(FaultTableTest, WritesKeptForLater_StepLeavesABusyDatabaseAlone) {
  const uint32_t p01 = 1u << 0;
  r.m_compressorHz = 64;
  for (int s = 0; s < 9; ++s) Second(p01);
  FaultWrites later;
  raw.Run("begin exclusive");
  r.m_faultWord1 = p01;
  RunFaultStep(table, history, r, now++, &later);
  r.m_compressorHz = 10;  // after the activation: not in its snapshot
  raw.Run("commit");
  EXPECT_EQ(table[0].m_state, FaultEntry::kActive);
  EXPECT_EQ(raw.Count("t_HPErr"), 0);
  ASSERT_EQ(later.size(), 1u);
  for (const auto& write : later) write();
  EXPECT_EQ(raw.Rows("select ID, Code, CompressorHz from t_HPErr"),
            (std::vector<std::vector<std::string>>{{"1", "P01", "64"}}));

  later.clear();
  r.m_faultWord1 = 0;
  RunFaultStep(table, history, r, now++, &later);
  EXPECT_EQ(raw.Value("select TM from t_HPErr where ID = 1"), std::to_string(now - 2));
  for (const auto& write : later) write();
  EXPECT_EQ(raw.Value("select TM from t_HPErr where ID = 1"), std::to_string(now - 1));
}

TEST_F(FaultTableTest, Activation_SnapshotsRecordIntoRow) {
  r.m_roomTemp = 19.5f;
  r.m_compressorHz = 64;
  for (int s = 0; s < 10; ++s) Second(1u << 13);  // E01
  auto rows = raw.Rows("select Code, CompressorHz, RoomTemp, StatusBitsB from t_HPErr");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], "E01");
  EXPECT_EQ(rows[0][1], "64");
  EXPECT_EQ(rows[0][2], "19.5");
  EXPECT_EQ(rows[0][3], "0") << "the snapshot is taken before this second's results are published";
}

TEST_F(FaultTableTest, NewRow_TrimsTableToNewestHundred) {
  raw.Run("begin");
  for (int id = 1; id <= 150; ++id) InsertRow(id, "P01", kStart - 1000, kStart - 900);
  raw.Run("commit");
  r.m_faultSeq = 150;
  for (int s = 0; s < 10; ++s) Second(1u << 1);
  EXPECT_EQ(raw.Count("t_HPErr"), 100);
  EXPECT_EQ(raw.Value("select min(ID) from t_HPErr"), "52");
  EXPECT_EQ(raw.Value("select Code from t_HPErr where ID = 151"), "P02");
}

TEST_F(FaultTableTest, Restart_IdsContinueAfterLargestStoredId) {
  InsertRow(1, "P01", kStart - 500, kStart - 400);
  InsertRow(2, "F13", kStart - 300, kStart - 350);  // end before start: shown with its start
  InsertRow(3, "X99", kStart - 200, kStart - 100);  // not a code of this table
  LoadFaultHistory(table, history, r);
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].m_code, u"F13");
  EXPECT_EQ(history[0].m_end, kStart - 300);
  EXPECT_EQ(history[0].m_text, table[IndexOf(u"F13")].m_text);
  EXPECT_EQ(history[0].m_silent, 0);
  EXPECT_EQ(history[1].m_code, u"P01");
  EXPECT_EQ(r.m_faultSeq, 3) << "the unknown row's ID is taken too";

  for (int s = 0; s < 10; ++s) Second(1u << 0);
  Second(0);
  EXPECT_EQ(raw.Value("select group_concat(ID) from t_HPErr"), "1,2,3,4");
  EXPECT_EQ(raw.Value("select TM from t_HPErr where ID = 3"), std::to_string(kStart - 100)) << "another row untouched";
  EXPECT_EQ(raw.Value("select TM from t_HPErr where ID = 4"), std::to_string(now - 1));
}

TEST_F(FaultTableTest, Restart_MoreRowsThanShown_SequenceFollowsNewest) {
  raw.Run("begin");
  for (int id = 1; id <= 130; ++id) InsertRow(id, "S04", kStart - 1000 + id, kStart - 900 + id);
  raw.Run("commit");
  LoadFaultHistory(table, history, r);
  EXPECT_EQ(history.size(), 100u);
  EXPECT_EQ(history[0].m_historyId, 100);
  EXPECT_EQ(r.m_faultSeq, 130);
}

TEST_F(FaultTableTest, StoredRowWithLargestId_IdsStartOverAtOne) {
  InsertRow(5, "P01", kStart - 500, kStart - 400);
  InsertRow(2147483647, "P02", kStart - 300, kStart - 200);
  LoadFaultHistory(table, history, r);
  ASSERT_EQ(r.m_faultSeq, 2147483647);
  for (int s = 0; s < 10; ++s) Second(1u << 0);
  EXPECT_EQ(table[0].m_historyId, 1);
  EXPECT_EQ(r.m_faultSeq, 1);
  EXPECT_EQ(raw.Value("select group_concat(ID) from t_HPErr"), "1") << "the rows of the old numbering go";
  Second(0);
  EXPECT_EQ(raw.Value("select TM from t_HPErr where ID = 1"), std::to_string(now - 1));

  LoadFaultHistory(table, history, r);
  EXPECT_EQ(r.m_faultSeq, 1) << "a restart continues the new numbering";
}

TEST_F(FaultTableTest, FullHistory_ClearedFaultPushesOutOldest) {
  for (int id = 1; id <= 100; ++id) {
    FaultEntry e = table[0];
    e.m_historyId = id;
    history.insert(history.begin(), e);
  }
  for (int s = 0; s < 10; ++s) Second(1u << 2);
  Second(0);
  ASSERT_EQ(history.size(), 100u);
  EXPECT_EQ(history[0].m_code, u"P03");
  EXPECT_EQ(history[99].m_historyId, 2);
}

TEST_F(FaultTableTest, P05HeldTenMinutes_RaisesF07) {
  auto outdoor = std::make_unique<OutdoorBlock>();
  outdoor->m_linkState = 1;
  outdoor->m_word2120 = 1u << 4;  // P05 from the outdoor unit
  auto second = [&] {
    MapOutdoorUnit(r, *outdoor, false);  // rebuilds the first fault word every second
    RunFaultStep(table, history, r, now++);
  };
  for (int s = 0; s < 10; ++s) second();
  ASSERT_EQ(table[kFaultP05].m_state, FaultEntry::kActive);
  EXPECT_EQ(r.m_p05Seconds, 1);
  for (int s = 0; s < 600; ++s) second();
  EXPECT_EQ(r.m_p05Seconds, 601);
  EXPECT_TRUE(r.m_faultWord1 & kP05EscalationBit);
  for (int s = 0; s < 9; ++s) second();
  EXPECT_NE(table[kF07].m_state, FaultEntry::kActive);
  second();
  EXPECT_EQ(table[kF07].m_state, FaultEntry::kActive);
  EXPECT_TRUE(r.m_statusBitsB & (1u << 27));
  EXPECT_EQ(r.m_heatPumpAvailable, 0) << "F07 stops the heat pump";

  outdoor->m_word2120 = 0;  // P05 goes: the escalation ends with it
  second();
  EXPECT_EQ(r.m_p05Seconds, 0);
  second();
  EXPECT_FALSE(r.m_faultWord1 & kP05EscalationBit);
  EXPECT_EQ(table[kF07].m_state, 0);
}

TEST_F(FaultTableTest, Availability_OnlyUnitStoppingFaultsCount) {
  struct Case {
    const char16_t* code;
    int available;
  };
  const Case cases[] = {{u"P10", 1}, {u"P11", 0}, {u"E05", 0}, {u"F03", 0}, {u"F09", 1}, {u"F10", 0},
                        {u"F12", 0}, {u"F13", 1}, {u"S04", 1}, {u"S05", 0}, {u"S13", 0}, {u"S14", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(CString(c.code).ToUtf8());
    const FaultDef& def = kFaultDefs[IndexOf(c.code)];
    uint32_t bit = 1u << def.sourceBit;
    for (int s = 0; s < 10; ++s) Second(def.source == FaultWord::Word1 ? bit : 0, def.source == FaultWord::Word2 ? bit : 0);
    EXPECT_EQ(r.m_heatPumpAvailable, c.available);
    Second(0);
    EXPECT_EQ(r.m_heatPumpAvailable, 1);
  }
}

TEST_F(FaultTableTest, Publishing_ReplacesOnlyTheTablesBits) {
  r.m_statusBits = (1u << 12) | (1u << 20);  // protective states set by the control
  for (int s = 0; s < 10; ++s) {
    r.m_statusBits |= (1u << 12) | (1u << 20);
    Second(~0u, ~0u);
  }
  EXPECT_EQ(r.m_statusBitsB, ~((1u << 3) | (1u << 11) | (1u << 12) | (1u << 28)));
  EXPECT_TRUE(r.m_statusBits & (1u << 12)) << "not published by its entry, kept";
  EXPECT_EQ(table[IndexOf(u"F29")].m_state, FaultEntry::kActive) << "debounced and recorded all the same";
  EXPECT_EQ(table[IndexOf(u"S07")].m_state, FaultEntry::kActive);
  for (const char16_t* never : {u"P04", u"P12", u"P13", u"F08"}) EXPECT_EQ(table[IndexOf(never)].m_state, 0);
}

TEST_F(FaultTableTest, RebuildWhileActive_EndTimeStillReachesItsRow) {
  for (int s = 0; s < 10; ++s) Second(1u << 21);  // F01
  InitFaultEntries(table, [](int id) { return CString(u"new ") + TextOf(id); });  // another language
  EXPECT_EQ(table[21].m_text, u"new text 328");
  EXPECT_EQ(table[21].m_state, FaultEntry::kActive);
  EXPECT_EQ(table[0].m_historyId, 0);
  Second(0);
  EXPECT_EQ(raw.Value("select TM from t_HPErr where ID = 1"), std::to_string(now - 1));
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].m_historyId, 1);
}

TEST_F(FaultTableTest, DatabaseFailure_FaultStillDebouncedAndShown) {
  raw.Run("drop table t_HPErr");
  db.Reopen();
  LoadFaultHistory(table, history, r);
  EXPECT_TRUE(history.empty());
  for (int s = 0; s < 10; ++s) Second(1u << 0);
  EXPECT_EQ(table[0].m_state, FaultEntry::kActive);
  Second(0);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_EQ(history[0].m_historyId, 1);
}

}  // namespace
