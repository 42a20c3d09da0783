// The settings carry-over on two database files: language choices by dealer, decimal values, and the
// two version rows that come from the new file.
#include "CarryOver.h"

#include "UpdateFixture.h"

namespace {

using CarryOver = UpdateFixture;

TEST_F(CarryOver, LanguageRowsReplaceTheirDealers_DecimalsKeepOneDigit_VersionsComeFromTheNewFile) {
  MakeProgramFolder("ResidentFlash/Quellora", "old", {{0, "1", 0}, {1, "204", 0}, {2, "109", 0}, {40, "21.5", 1},
                                                      {41, "eco", 2}, {42, "it''s", 2}}, {9});  // SQL text: one quote
  MakeProgramFolder("ResidentFlash/ABackup", "new", {{0, "1", 0}, {1, "205", 0}, {2, "110", 0}, {40, "18.0", 1},
                                                     {41, "std", 2}, {50, "3", 0}}, {9, 13});
  {
    testing_support::RawDb installed(m_root / "ResidentFlash/Quellora/Quellora.db");
    installed.Run("update t_Langenable set E49 = 1 where ID = 9;");
  }
  int software = 0, table = 0;
  ASSERT_TRUE(CarryOverSettings(software, table));
  EXPECT_EQ(software, 205);
  EXPECT_EQ(table, 110);

  testing_support::RawDb staged(m_root / "ResidentFlash/ABackup/Quellora.db");
  for (int n = 0; n < 3; ++n) {
    const std::string t = "t_System" + std::to_string(n);
    EXPECT_EQ(staged.Rows("select ID, Val, Type from " + t + " order by ID"),
              (std::vector<std::vector<std::string>>{{"0", "1", "0"}, {"1", "205", "0"}, {"2", "110", "0"},
                                                     {"40", "21.5", "1"}, {"41", "eco", "2"}, {"42", "it's", "2"},
                                                     {"50", "3", "0"}}))
        << t;
  }
  // Dealer 9's row is the installed one (E0 9, E49 set); dealer 13, only in the new file, stays.
  EXPECT_EQ(staged.Rows("select ID, E0, E1, E49 from t_Langenable order by ID"),
            (std::vector<std::vector<std::string>>{{"9", "9", "1", "1"}, {"13", "13", "1", "NULL"}}));
}

TEST_F(CarryOver, MissingDatabase_ReadsAndWritesNothing) {
  LangEnableRowArray rows(1);
  EXPECT_EQ(ReadLangEnable(rows), 0);
  EXPECT_TRUE(rows.empty());
  SysParamArray params(1);
  EXPECT_EQ(ReadSystemTable(params, 0, 0, 0), 0);
  EXPECT_EQ(WriteSystemTable(params, 0), 0);
  EXPECT_FALSE(std::filesystem::exists(m_root / "ResidentFlash/ABackup/Quellora.db"));
  int software = -1, table = -1;
  EXPECT_FALSE(CarryOverSettings(software, table));
}

}  // namespace
