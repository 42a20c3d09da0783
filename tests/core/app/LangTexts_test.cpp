#include "LangTexts.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "CDbAccess.h"
#include "TempRoot.h"

namespace {

// The delivered database copied into a fresh board root and opened by g_db; the text arrays empty.
class LangTextsTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::copy_file(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.db", Path());
    g_db.Open(u"\\Quellora.db", false, 2);
    ASSERT_EQ(1, g_db.IsOpen());
    LangTexts.SetSize(0);
    LangNames.SetSize(0);
  }
  void TearDown() override {
    g_db.Close();
    LangTexts.SetSize(0);
    LangNames.SetSize(0);
  }
  std::string Path() const { return root / "Quellora.db"; }
  // Edits the file behind the facade with a connection of the test's own.
  void Exec(const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(Path().c_str(), &db));
    char* error = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error)) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
  }
  static std::string Text(int id) { return LangText(id).ToUtf8(); }

  testing_support::TempRoot root;
};

}  // namespace

TEST_F(LangTextsTest, DeliveredTexts_BothLanguagesLoad) {
  struct Case {
    int language;
    const char* okButton;   // text 377
    const char* hotWater;   // text 85
    const char* lastFault;  // text 386
  };
  const Case cases[] = {
      {0, "OK", "Hot water set temp", "Anti-freeze lock-out"},
      {1, "确定", "热水设定温度", "防冻保护锁定"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    LoadLanguage(0, c.language);
    ASSERT_EQ(500, LangTexts.GetSize());
    ASSERT_EQ(50, LangNames.GetSize());
    EXPECT_EQ(c.okButton, Text(377));
    EXPECT_EQ(c.hotWater, Text(85));
    EXPECT_EQ(c.lastFault, Text(386));
    EXPECT_EQ("English", LangNames[0].ToUtf8());
    EXPECT_EQ("简体中文", LangNames[1].ToUtf8());
    EXPECT_EQ("", LangNames[2].ToUtf8());
  }
}

TEST_F(LangTextsTest, DeliveredTexts_EveryFaultTextPresentForEveryDealer) {
  // Text ids of the 60 fault-table entries.
  std::vector<int> ids = {145, 139, 140, 358, 359, 386};
  for (int id = 317; id <= 375; ++id) {
    if (id != 354 && id != 355 && id != 361) ids.push_back(id);
  }
  for (int dealer = 0; dealer <= 15; ++dealer) {
    for (int language = 0; language <= 1; ++language) {
      LoadLanguage(dealer, language);
      for (int id : ids) ASSERT_FALSE(LangText(id).IsEmpty()) << "dealer " << dealer << " id " << id;
      ASSERT_FALSE(LangNames[language].IsEmpty()) << "dealer " << dealer;
    }
  }
}

TEST_F(LangTextsTest, LanguageOutsideColumns_LoadsServiceLanguage15) {
  for (int language : {50, 60, -1}) {
    SCOPED_TRACE(language);
    LoadLanguage(0, language);
    EXPECT_EQ("85 Hot water set temp", Text(85));
  }
}

TEST_F(LangTextsTest, TextIdOutsideTable_ReadsEmpty) {
  LoadLanguage(0, 0);
  for (int id : {0, -3, 500, 501, 100000}) EXPECT_EQ("", Text(id)) << id;
  EXPECT_EQ("", LangTexts[500].ToUtf8());
  EXPECT_EQ("", LangNames[50].ToUtf8());
}

TEST_F(LangTextsTest, BeforeFirstLoad_TextsReadEmpty) { EXPECT_EQ("", Text(377)); }

TEST_F(LangTextsTest, EnableFlags_SelectTheNames) {
  Exec("update t_Language set L2 = 'Deutsch' where ID = 16;"
       "update t_Langenable set E0 = 1, E1 = 0, E2 = 1 where ID = 7;");
  LoadLanguage(7, 0);
  EXPECT_EQ("English", LangNames[0].ToUtf8());
  EXPECT_EQ("", LangNames[1].ToUtf8());
  EXPECT_EQ("Deutsch", LangNames[2].ToUtf8());
}

TEST_F(LangTextsTest, DealerWithoutEnableRow_OffersNoLanguage) {
  LoadLanguage(99, 1);
  for (int j = 0; j < 50; ++j) EXPECT_EQ("", LangNames[j].ToUtf8()) << j;
  EXPECT_EQ("确定", Text(377));
}

TEST_F(LangTextsTest, RowIdsAtTheEdges_499FillsLastAnd500Ignored) {
  Exec("insert into t_Language (ID, L0) values (499, 'last');"
       "insert into t_Language (ID, L0) values (500, 'beyond');"
       "insert into t_Language (ID, L0) values (0, 'zero');");
  LoadLanguage(0, 0);
  EXPECT_EQ("last", Text(499));
  EXPECT_EQ("last", LangTexts[498].ToUtf8());
  EXPECT_EQ("", LangTexts[499].ToUtf8());
  EXPECT_EQ(500, LangTexts.GetSize());
}

TEST_F(LangTextsTest, IdWithoutRow_KeepsItsPreviousText) {
  LoadLanguage(0, 0);
  Exec("delete from t_Language where ID = 85");
  LoadLanguage(0, 1);
  EXPECT_EQ("Hot water set temp", Text(85));
  EXPECT_EQ("热水回差", Text(86));
}

TEST_F(LangTextsTest, ClosedDatabase_KeepsTextsAndNames) {
  LoadLanguage(0, 0);
  g_db.Close();
  LoadLanguage(0, 1);
  EXPECT_EQ("OK", Text(377));
  EXPECT_EQ("English", LangNames[0].ToUtf8());
}

TEST_F(LangTextsTest, ClosedDatabaseAtFirstLoad_GivesEmptyArraysOfFullSize) {
  g_db.Close();
  LoadLanguage(0, 0);
  EXPECT_EQ(500, LangTexts.GetSize());
  EXPECT_EQ(50, LangNames.GetSize());
  EXPECT_EQ("", Text(377));
}
