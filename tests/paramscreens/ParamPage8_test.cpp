// Page 8, the system page: the access level through the keypad, the language, the clock, the user
// system type, the profile requests, the outdoor unit's parameter cells, and a changed setting
// reaching t_System0 on the engine's next cycle.
#include <gtest/gtest.h>

#include "../engine/DeliveredDb.h"
#include "CalendarTime.h"
#include "DlgMain.h"
#include "DlgMenu.h"
#include "DlgMessage.h"
#include "LangTexts.h"
#include "ParamPageFixture.h"
#include "SoftClock.h"

namespace {

// Keypad keys "0".."9" of template 118.
const int kDigitKeys[10] = {1102, 1084, 1086, 1087, 1088, 1097, 1098, 1099, 1100, 1101};
// Choice list options 1 and 2 (template 110).
const int kOption1 = 1047, kOption2 = 1048;
// Date and time pop-up: hour up.
const int kHourUp = 1073;

const int32_t kDealerPassword = 123456;

class ParamPage8 : public ParamPageFixture {
protected:
  void SetUp() override {
    ParamPageFixture::SetUp();
    GetSystemData()->m_dealerPassword = kDealerPassword;
  }

  static void TypeCode(const std::string& digits) {
    for (char d : digits) Tap(kDigitKeys[d - '0']);
  }
  // A step that reads the message box in front into title and message, then answers with button.
  static std::function<void()> Answer(std::string& title, std::string& message, int button = DlgPopup::kOk) {
    return [&title, &message, button] {
      title = PopupText(DlgPopup::kTitle).ToUtf8();
      message = PopupText(DlgMessage::kMessage).ToUtf8();
      Tap(button);
    };
  }

  enginetest::DeliveredDb m_db;
};

// Only a code typed whole grants its level or service function; every other entry is a number held
// against the dealer password alone.
TEST_F(ParamPage8, AccessRow_KeypadCodesAndThePassword) {
  enum Effect { kNone, kServiceTexts, kPidRequest, kCellsRead };
  struct Case {
    const char* name;
    int32_t level;
    const char* entry;
    int32_t levelAfter;
    const char* noticeTitle;  // null: no notice
    const char* notice;
    Effect effect;
    int32_t password;  // 0: the fixture's
  };
  const Case cases[] = {
      {"password at level 0 unlocks", 0, "123456", 1, "T413", "T415", kNone, 0},
      {"password at level 1 locks without a word", 1, "123456", 0, nullptr, nullptr, kNone, 0},
      {"password at level 2 gives level 1", 2, "123456", 1, "T413", "T415", kNone, 0},
      {"level-2 code", 0, "60419385271", 2, "T413", "T416", kNone, 0},
      {"level-2 code at level 1", 1, "60419385271", 2, "T413", "T416", kNone, 0},
      {"level-3 code", 1, "318406", 1, nullptr, nullptr, kServiceTexts, 0},
      {"PID code", 0, "604918", 0, "PID Function", "PID Function Enable!", kPidRequest, 0},
      {"cell code", 0, "982351", 0, "EEFROM Function", "EEFROM Function Enable!", kCellsRead, 0},
      {"02 is no level-2 code", 0, "02", 0, "T413", "T417", kNone, 0},
      {"02 at level 1", 1, "02", 1, "T413", "T417", kNone, 0},
      {"002", 0, "002", 0, "T413", "T417", kNone, 0},
      {"0002", 0, "0002", 0, "T413", "T417", kNone, 0},
      {"03 reloads no texts", 0, "03", 0, "T413", "T417", kNone, 0},
      {"04 requests nothing", 0, "04", 0, "T413", "T417", kNone, 0},
      {"05 reads no cells", 0, "05", 0, "T413", "T417", kNone, 0},
      {"0042, another number", 0, "0042", 0, "T413", "T417", kNone, 0},
      {"0042 is the password 42", 0, "0042", 1, "T413", "T415", kNone, 42},
      {"wrong number", 1, "4321", 1, "T413", "T417", kNone, 0},
      {"one digit", 1, "7", 1, "T413", "T417", kNone, 0},
      {"one digit, although the password", 0, "7", 0, "T413", "T417", kNone, 7},
      {"ten digits", 0, "1234567890", 0, "T413", "T417", kNone, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CSystemData& r = *GetSystemData();
    r.m_unlockLevel = c.level;
    r.m_dealerPassword = c.password ? c.password : kDealerPassword;
    r.m_outdoorProgRequest = 0;
    m_outdoor->m_eepromState = 0;
    ResetTexts();  // a level-3 code before loaded the service texts
    LangTexts.SetAt(15, u"texts before");
    m_param.OpenAt(8, 1);
    std::string keypadTitle, prompt, title, message;
    std::vector<std::function<void()>> steps = {[&] {
      keypadTitle = PopupText(DlgPopup::kTitle).ToUtf8();
      prompt = PopupText(1052).ToUtf8();
      TypeCode(c.entry);
      Tap(DlgPopup::kOk);
    }};
    if (c.notice) steps.push_back(Answer(title, message));
    TapRow(1, steps);
    EXPECT_EQ(keypadTitle, "T30");
    EXPECT_EQ(prompt, "T414");
    EXPECT_EQ(r.m_unlockLevel, c.levelAfter);
    if (c.notice) {
      EXPECT_EQ(title, c.noticeTitle);
      EXPECT_EQ(message, c.notice);
    }
    EXPECT_EQ(LangText(16), CString(c.effect == kServiceTexts ? u"Text ids" : u"texts before"));
    EXPECT_EQ(r.m_outdoorProgRequest, c.effect == kPidRequest ? 1 : 0);
    EXPECT_EQ(m_outdoor->m_eepromState.load(), c.effect == kCellsRead ? 1 : 0);
    // The cell sub-page exists while the cells' hand-shake is not idle.
    EXPECT_EQ(m_param.GetSubPageCount(), c.effect == kCellsRead ? 3 : 2);
  }
}

TEST_F(ParamPage8, AccessRow_ShowsTheLevelAndCancelChangesNothing) {
  const char16_t* names[] = {u"T398", u"T399", u"T400"};
  for (int level = 0; level <= 2; ++level) {
    GetSystemData()->m_unlockLevel = level;
    m_param.OpenAt(8, 1);
    EXPECT_EQ(Shown(1), CString(names[level])) << level;
  }
  TapRow(1, {[] {
    TypeCode("123456");
    Tap(DlgPopup::kCancel);
  }});
  EXPECT_EQ(GetSystemData()->m_unlockLevel, 2);
}

TEST_F(ParamPage8, LevelThreeCode_ReloadsTheServiceTextsAndKeepsTheLevel) {
  LoadLanguage(0, 0);
  GetSystemData()->m_unlockLevel = 1;
  m_param.OpenAt(8, 1);
  TapRow(1, {[] {
    TypeCode("318406");
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(LangText(16), CString(u"Text ids"));
  EXPECT_EQ(LangText(413), CString(u"413 Password"));
  EXPECT_EQ(GetSystemData()->m_unlockLevel, 1);
}

TEST_F(ParamPage8, LanguageRow_SwitchesTextsOnlyForAnotherLanguage) {
  LoadLanguage(0, 0);
  GetSystemData()->m_languageIndex = 0;
  m_param.OpenAt(8, 1);
  EXPECT_EQ(Shown(4), CString(u"English"));
  std::string title, first, second;
  TapRow(4, {[&] {
    title = PopupText(DlgPopup::kTitle).ToUtf8();
    first = PopupText(kOption1).ToUtf8();
    second = PopupText(kOption2).ToUtf8();
    Tap(kOption2);
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(title, "Language:English");
  EXPECT_EQ(first, "English");
  EXPECT_EQ(second, "简体中文");
  EXPECT_EQ(GetSystemData()->m_languageIndex, 1);
  EXPECT_EQ(LangText(413), CString(u"密码"));
  EXPECT_EQ(Shown(4), CString(u"简体中文"));

  // The language in use chosen again reloads nothing.
  LangTexts.SetAt(412, u"marker");
  TapRow(4, {[] {
    Tap(kOption2);
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(LangText(413), CString(u"marker"));
}

// On the main screen the menu's captions follow both reloads of the texts at once.
TEST_F(ParamPage8, NewLanguageAndServiceTexts_RedressTheMenu) {
  LoadLanguage(0, 0);
  GetSystemData()->m_languageIndex = 0;
  DlgMain main;
  ASSERT_TRUE(main.Create(DlgMain::kTemplate));
  panel::PumpMessages();
  auto item1 = [&] { return TextOf(GetDlgItem(main.Menu().m_hWnd, DlgMenu::kItem1)).ToUtf8(); };
  ASSERT_EQ(item1(), "Temperature");
  main.Param().OpenPage(8);
  auto tapRow = [&](int row, std::function<void()> step) {
    panel::ScriptedInput script;
    script.Then(step);
    TapControl(RowId(row), main.Param().m_hWnd);
    EXPECT_TRUE(script.Done());
  };

  tapRow(4, [] {
    Tap(kOption2);
    Tap(DlgPopup::kOk);
  });
  EXPECT_EQ(item1(), "温度设置");

  tapRow(1, [] {
    TypeCode("318406");
    Tap(DlgPopup::kOk);
  });
  EXPECT_EQ(item1(), "3 Temperature");
  main.DestroyWindow();
}

TEST_F(ParamPage8, ClockRow_SetsTheBoardClockAndShowsItAtOnce) {
  testing_support::SetBoardClock(*m_clock, testing_support::CalendarTime(2026, 12, 10, 9, 5));
  ASSERT_EQ(SoftClock(1), 1);
  m_param.OpenAt(8, 1);
  EXPECT_EQ(Shown(5), CString(u"10.12.2026 09:05"));
  TapRow(5, {[] {
    Tap(kHourUp);
    Tap(DlgPopup::kOk);
  }});
  SYSTEMTIME now;
  GetLocalTime(&now);
  EXPECT_EQ(now.wHour, 10);
  EXPECT_EQ(Shown(5), CString(u"10.12.2026 10:05"));
}

TEST_F(ParamPage8, ClockRow_ReadsWholeInTheValueColumnOfEveryLook) {
  testing_support::SetBoardClock(*m_clock, testing_support::CalendarTime(2026, 12, 28, 23, 58));
  ASSERT_EQ(SoftClock(1), 1);
  struct Case {
    int dealer, row;
  };
  for (const Case& c : {Case{0, 5}, Case{3, 5}, Case{15, 5}, Case{9, 3}}) {
    SCOPED_TRACE(c.dealer);
    g_dealerId = c.dealer;
    m_param.OpenAt(8, 1);
    CRowButton& row = m_param.Row(c.row);
    ASSERT_EQ(row.m_secondLine, CString(u"28.12.2026 23:58"));
    CClientDC dc(&row);
    CFont* previous = dc.SelectObject(row.GetFont());
    const CSize extent = dc.GetTextExtent(row.m_secondLine);
    dc.SelectObject(previous);
    EXPECT_LE(extent.cx, row.GetLayout().lineWidth);
  }
  g_dealerId = 0;
}

TEST_F(ParamPage8, SystemTypeRow_ChoosesBetweenTheTwoLayouts) {
  m_param.OpenAt(8, 2);
  EXPECT_EQ(Shown(1), CString(u"T432"));
  TapRow(1, {[] {
    Tap(kOption2);
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(GetSystemData()->m_userSystemType, 1);
  EXPECT_EQ(Shown(1), CString(u"T433"));
}

TEST_F(ParamPage8, ProfileRows_AskThenRequest) {
  struct Case {
    const char* name;
    int dealer, sub, row;
    const char* title;
    const char* question;
    int32_t request;
    const char* notice;
  };
  const Case cases[] = {
      {"save", 0, 2, 2, "T32", "T401", 3, "T402"},
      {"load", 0, 2, 3, "T33", "T403", 1, "T404"},
      {"factory", 0, 2, 4, "T34", "T405", 2, "T406"},
      {"dealer 9 save", 9, 1, 4, "T32", "T401", 3, "T402"},
      {"dealer 9 load", 9, 1, 5, "T33", "T403", 1, "T404"},
      {"dealer 9 factory", 9, 2, 1, "T34", "T405", 2, "T406"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_dealerId = c.dealer;
    CSystemData& r = *GetSystemData();
    r.m_paramRequest = 0;
    m_param.OpenAt(8, c.sub);
    std::string title, question, noticeTitle, notice;
    TapRow(c.row, {Answer(title, question, DlgPopup::kCancel)});
    EXPECT_EQ(r.m_paramRequest, 0);
    TapRow(c.row, {Answer(title, question), Answer(noticeTitle, notice)});
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(question, c.question);
    EXPECT_EQ(r.m_paramRequest, c.request);
    EXPECT_EQ(noticeTitle, c.title);
    EXPECT_EQ(notice, c.notice);
  }
}

TEST_F(ParamPage8, ChangedSetting_ReachesTheLiveTableOnTheEnginesNextCycle) {
  ASSERT_EQ(g_engine.InitParams(0), 1);
  CSystemData& r = *GetSystemData();
  r.m_unlockLevel = 1;
  const int32_t before = r.m_hotWaterSetTemp;
  m_param.OpenAt(3, 1);
  TapRow(1, {[] {
    Tap(DlgValue::kPlus);
    Tap(DlgPopup::kOk);
  }});
  ASSERT_EQ(r.m_hotWaterSetTemp, before + 1);
  g_engine.ServeParamRequest();  // what the engine's cycle runs every second
  enginetest::RawDb raw(m_db.Path());
  auto rows = raw.Rows("select Val from t_System0 where ID = 64");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], std::to_string(before + 1));
}

class ParamPage8Cells : public ParamPage8 {
protected:
  void SetUp() override {
    ParamPage8::SetUp();
    m_outdoor->m_eepromState = 2;
    m_outdoor->m_paramBlock[4] = 10;
    m_outdoor->m_paramEdit[4] = 10;
  }
  // Taps the write row; each notice while the unit writes is answered, and at notice finishAt the
  // unit's driver reports the write done (0: never). Returns the message of the closing report.
  std::string Write(int finishAt, int* notices) {
    std::string title, list, reportTitle, report;
    std::vector<std::function<void()>> steps = {Answer(title, list)};
    *notices = 0;
    const int count = finishAt ? finishAt : 20;
    for (int i = 1; i <= count; ++i) {
      steps.push_back([this, i, finishAt, notices] {
        if (PopupText(DlgMessage::kMessage) == u"T310") ++*notices;
        if (i == finishAt) m_outdoor->m_eepromState = 4;
        Tap(DlgPopup::kOk);
      });
    }
    steps.push_back(Answer(reportTitle, report));
    m_param.OpenAt(8, 3);
    TapRow(4, steps);
    EXPECT_EQ(list, "5 10->12\r\n");
    EXPECT_EQ(reportTitle, "T309");
    return report;
  }
};

TEST_F(ParamPage8Cells, CellRows_ChooseAndEditACellOnlyOnOk) {
  m_param.OpenAt(8, 3);
  EXPECT_EQ(Shown(1), CString(u"0"));
  EXPECT_EQ(Shown(2), CString(u"-"));
  EXPECT_EQ(Shown(3), CString(u"-"));
  CString caption;
  int32_t min = 0, max = 0;
  TapRow(1, {[&] {
    caption = Editor()->Caption();
    min = Editor()->Min();
    max = Editor()->Max();
    for (int i = 0; i < 4; ++i) Tap(DlgValue::kPlus);
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(caption, CString(u"T306:1"));
  EXPECT_EQ(min, 1);
  EXPECT_EQ(max, 500);
  EXPECT_EQ(g_paramCell, 5);
  EXPECT_EQ(Shown(1), CString(u"5"));
  EXPECT_EQ(Shown(2), CString(u"10"));

  TapRow(3, {[&] {
    caption = Editor()->Caption();
    min = Editor()->Min();
    max = Editor()->Max();
    Tap(DlgValue::kPlus);
    Tap(DlgPopup::kCancel);
  }});
  EXPECT_EQ(caption, CString(u"T308:10"));
  EXPECT_EQ(min, -255);
  EXPECT_EQ(max, 255);
  EXPECT_EQ(m_outdoor->m_paramEdit[4], 10);
  TapRow(3, {[] {
    Tap(DlgValue::kPlus);
    Tap(DlgValue::kPlus);
    Tap(DlgPopup::kOk);
  }});
  EXPECT_EQ(m_outdoor->m_paramEdit[4], 12);
  EXPECT_EQ(Shown(3), CString(u"12"));
  EXPECT_EQ(m_outdoor->m_paramBlock[4], 10);
}

TEST_F(ParamPage8Cells, WriteRow_RefusesWithoutABlockOrAChange) {
  std::string title, message;
  m_outdoor->m_eepromState = 1;
  m_param.OpenAt(8, 3);
  TapRow(4, {Answer(title, message)});
  EXPECT_EQ(message, "T131");
  EXPECT_EQ(m_outdoor->m_eepromState.load(), 1);

  m_outdoor->m_eepromState = 2;
  TapRow(4, {Answer(title, message)});
  EXPECT_EQ(title, "T309");
  EXPECT_EQ(message, "T132");
  EXPECT_EQ(m_outdoor->m_eepromState.load(), 2);
}

TEST_F(ParamPage8Cells, WriteRow_AskedNoWritesNothing) {
  m_outdoor->m_paramEdit[4] = 12;
  std::string title, list;
  m_param.OpenAt(8, 3);
  TapRow(4, {Answer(title, list, DlgPopup::kCancel)});
  EXPECT_EQ(list, "5 10->12\r\n");
  EXPECT_EQ(m_outdoor->m_eepromState.load(), 2);
}

TEST_F(ParamPage8Cells, WriteRow_ReportsByTheHandShakeAlone) {
  struct Case {
    const char* name;
    int finishAt;  // the notice during which the unit reports the write done; 0 never
    int notices;
    const char* report;
  };
  const Case cases[] = {
      {"done during the first notice", 1, 1, "T311"},
      {"done during the last notice", 20, 20, "T311"},
      {"never done", 0, 20, "T130"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_outdoor->m_eepromState = 2;
    m_outdoor->m_paramEdit[4] = 12;
    int notices = 0;
    EXPECT_EQ(Write(c.finishAt, &notices), c.report);
    EXPECT_EQ(notices, c.notices);
    EXPECT_EQ(m_outdoor->m_eepromState.load(), 1);  // read again either way
  }
}

}  // namespace
