// The parameter pages on the parameter screen, headless: every page and sub-page walked with the delivered
// texts, pictures of each page's first sub-page, and taps that run the real pop-ups.
#include <gtest/gtest.h>

#include <regex>
#include <vector>
#include <string>

#include "MainScreenScenes.h"
#include "CControlEngine.h"
#include "DeliveredDb.h"
#include "DlgKeypad.h"
#include "DlgParam.h"
#include "DlgValue.h"
#include "DlgMessage.h"
#include "PageFixture.h"
#include "ParamTable.h"
#include "RunningScenes.h"
#include "Screenshot.h"

namespace {

const UINT kHostTemplate = 102;  // the main screen's full-screen template

class OpenParam : public DlgParam {
public:
  using DlgParam::DlgParam;
  void GoTo(int page, int subPage) {
    OpenPage(page);
    m_subPage = subPage;
    DlgParam::ShowPage();
  }
};

class ParamPagesOnScreen : public PageFixture {
protected:
  void SetUp() override {
    PageFixture::SetUp();
    LoadLanguage(0, 0);  // the delivered English texts
    ParamTable defaults;
    defaults.Build(*GetSystemData());
  }
  void TearDown() override {
    param.reset();
    host.reset();
    PageFixture::TearDown();
  }
  void MakeScreen() {
    host = std::make_unique<DlgBase>(nullptr, kHostTemplate, nullptr);
    ASSERT_TRUE(host->Create(kHostTemplate));
    param = std::make_unique<OpenParam>(host.get());
    ASSERT_TRUE(param->Create(DlgParam::kTemplate, host.get()));
    param->SetWindowPos(nullptr, 0, 0, 480, 272, SWP_HIDEWINDOW);
    host->ShowWindow(SW_SHOW);
    panel::PumpMessages();
  }
  static std::string U8(const CString& s) { return s.ToUtf8(); }

  enginetest::DeliveredDb db;
  std::unique_ptr<DlgBase> host;
  std::unique_ptr<OpenParam> param;
};

// A text the screen must never show: empty, a format directive left unfilled, or a bare text id.
bool Placeholder(const std::string& text) {
  static const std::regex directive("%[-+ #0-9.]*[dsfcxXSC]");
  static const std::regex bareId("^T[0-9]+$");
  return text.empty() || std::regex_search(text, directive) || std::regex_match(text, bareId);
}

TEST_F(ParamPagesOnScreen, EveryPageAndSubPage_ShowsNoPlaceholder) {
  for (int dealer : {0, 3, 9, 15}) {
    for (int level : {0, 2}) {
      g_dealerId = dealer;
      GetSystemData()->m_dealerId = dealer;
      GetSystemData()->m_unlockLevel = level;
      MakeScreen();
      for (int page = 1; page <= DlgParam::kPages; ++page) {
        param->OpenPage(page);
        const int count = param->GetSubPageCount();
        for (int sub = 1; sub <= count; ++sub) {
          param->GoTo(page, sub);
          SCOPED_TRACE("dealer " + std::to_string(dealer) + " level " + std::to_string(level) + " page " +
                       std::to_string(page) + " " + std::to_string(sub) + "/" + std::to_string(count));
          EXPECT_FALSE(Placeholder(U8(TextOf(param->TitleLabel().m_hWnd))));
          int shown = 0;
          for (int row = 1; row <= DlgParam::kRows; ++row) {
            CRowButton& button = param->Row(row);
            if (!button.IsWindowVisible()) continue;
            ++shown;
            EXPECT_FALSE(Placeholder(U8(TextOf(button.m_hWnd)))) << "row " << row << " caption";
            // A value line may be empty (a WiFi text not read yet, a run time of 0).
            if (param->RowKindOf(row) == DlgParam::kValueRow && !button.m_secondLine.IsEmpty()) {
              EXPECT_FALSE(Placeholder(U8(button.m_secondLine))) << "row " << row << " value";
            }
          }
          // Page 9's second sub-page is empty for dealer 9.
          const bool emptyByDesign = page == 9 && dealer == 9 && sub == 2;
          if (!emptyByDesign) {
            EXPECT_GT(shown, 0);
          }
        }
      }
      param.reset();
      host.reset();
      panel::ResetGui();
    }
  }
}

// As the running terminal shows them: the engine's start over the delivered database (the versions it
// reports) and the unit simulator's boards read by the unit drivers.
TEST_F(ParamPagesOnScreen, FirstSubPages_MatchTheirPictures) {
  for (int dealer : {0, 9}) {
    g_engine.InitParams(0);
    ASSERT_TRUE(scenes::ReadSimulatedUnits());
    scenes::DealerLook look(dealer);
    GetSystemData()->m_dealerId = dealer;
    GetSystemData()->m_unlockLevel = 1;
    MakeScreen();
    for (int page = 9; page <= 16; ++page) {
      SCOPED_TRACE(page);
      param->OpenPage(page);
      EXPECT_TRUE(testing_support::ScreenMatchesReference("param/dealer-" + std::to_string(dealer) + "-page-" +
                                                          std::to_string(page)));
      if (page != 15) continue;
      // V2.05 with test number 3, table version 110, and the simulator's outlet, inlet and coil.
      std::vector<std::string> values;
      for (int row = 1; row <= 5; ++row) values.push_back(U8(param->Row(row).m_secondLine));
      EXPECT_EQ(values, (std::vector<std::string>{"V2.05-T3", "V1.10", "35.0℃", "30.0℃", "6.0℃"}));
      for (const char* value : {"V2.05-T3", "V1.10", "35.0℃"}) {
        EXPECT_NE(panel::FindDrawnText(CString::FromUtf8(value)), nullptr) << value;
      }
    }
    param.reset();
    host.reset();
    panel::ResetGui();
  }
}

TEST_F(ParamPagesOnScreen, TestRun_StartsAfterTheQuestionIsAnsweredOk) {
  GetSystemData()->m_unlockLevel = 1;
  MakeScreen();
  param->OpenPage(14);
  CString message;
  panel::ScriptedInput script;
  script.Then([&] {
    message = TextOf(GetDlgItem(GetActiveWindow(), DlgMessage::kMessage));
    TapControl(DlgMessage::kOk);
  });
  TapControl(DlgParam::kRow3, param->m_hWnd);
  EXPECT_EQ(U8(message), U8(LangText(305)));
  EXPECT_EQ(GetSystemData()->m_testRunCountdown, 600);
  EXPECT_EQ(U8(param->Row(3).m_secondLine), "600S");
}

// A fan limit sent to the outdoor unit: the notice that it was sent, then, when the engine reports that
// the unit did not store it within the hold, the person is told so over whatever shows.
TEST_F(ParamPagesOnScreen, OutdoorSettingTheUnitRefused_ToldOnceEvenWithTheScreenHidden) {
  GetSystemData()->m_unlockLevel = 1;
  GetSystemData()->m_fanMaxSpeedPercent = 100;
  MakeScreen();
  param->GoTo(14, 3);
  CString sent;
  panel::ScriptedInput change;
  change.Then([] { TapControl(DlgValue::kMinus); }).Then([] { TapControl(DlgMessage::kOk); });
  change.Then([&] {
    sent = TextOf(GetDlgItem(GetActiveWindow(), DlgMessage::kMessage));
    TapControl(DlgMessage::kOk);
  });
  TapControl(DlgParam::kRow4, param->m_hWnd);
  EXPECT_TRUE(change.Done());
  EXPECT_EQ(U8(sent), U8(LangText(380)));
  EXPECT_EQ(GetSystemData()->m_fanMaxSpeedPercent, 95);
  EXPECT_EQ(GetSystemData()->m_outdoorSettingHold, 180);

  panel::TapAt(10, 10);  // back to the main screen
  panel::PumpMessages();
  ASSERT_EQ(param->GetShownState(), SW_HIDE);
  GetSystemData()->m_outdoorSettingRefused = 1;  // the engine: the hold ran out
  CString title, told;
  panel::ScriptedInput notice;
  notice.Then([&] {
    title = TextOf(GetDlgItem(GetActiveWindow(), DlgMessage::kTitle));
    told = TextOf(GetDlgItem(GetActiveWindow(), DlgMessage::kMessage));
    TapControl(DlgMessage::kOk);
  });
  m_clock->Advance(1000);
  panel::PumpMessages();
  EXPECT_TRUE(notice.Done());
  EXPECT_EQ(U8(title), U8(LangText(379)));
  EXPECT_EQ(U8(told), U8(LangText(130)));
  EXPECT_EQ(GetSystemData()->m_outdoorSettingRefused, 2);
}

TEST_F(ParamPagesOnScreen, FactorySetting_RequestedAfterOkAndTheNoticeClosesByItself) {
  MakeScreen();
  param->OpenPage(16);
  CString notice;
  panel::ScriptedInput script;
  script.Then([] { TapControl(DlgMessage::kOk); });
  script.Then([&] { notice = TextOf(GetDlgItem(GetActiveWindow(), DlgMessage::kOk)); });  // left to answer itself
  TapControl(DlgParam::kRow1, param->m_hWnd);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(U8(notice), U8(LangText(377)) + "5s");
  EXPECT_EQ(GetSystemData()->m_paramRequest, 4);
}

TEST_F(ParamPagesOnScreen, DealerPassword_TypedOnTheKeypadShowsTheDigits) {
  MakeScreen();
  param->OpenPage(16);
  CString title, shown;
  panel::ScriptedInput script;
  script.Then([&] {
    HWND pad = GetActiveWindow();
    title = TextOf(GetDlgItem(pad, DlgPopup::kTitle));
    for (int key : {1086, 1088, 1098, 1100}) TapControl(key, pad);  // "2", "4", "6", "8"
    shown = TextOf(GetDlgItem(pad, DlgKeypad::kEntryEdit));
    TapControl(DlgPopup::kOk, pad);
  });
  TapControl(DlgParam::kRow5, param->m_hWnd);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(U8(title), "更改经销商密码");
  EXPECT_EQ(U8(shown), "2468");
  EXPECT_EQ(GetSystemData()->m_dealerPassword, 2468);
  EXPECT_EQ(U8(param->Row(5).m_secondLine), "2468");
}

TEST_F(ParamPagesOnScreen, ValueEditor_StoresOnOkOnly) {
  MakeScreen();
  param->GoTo(16, 5);
  const int before = GetSystemData()->m_serialPort;
  ASSERT_LT(before, 8);
  panel::ScriptedInput cancel;
  cancel.Then([] { TapControl(DlgValue::kPlus); }).Then([] { TapControl(DlgMessage::kCancel); });
  TapControl(DlgParam::kRow1, param->m_hWnd);
  EXPECT_EQ(GetSystemData()->m_serialPort, before);
  panel::ScriptedInput ok;
  ok.Then([] { TapControl(DlgValue::kPlus); }).Then([] { TapControl(DlgMessage::kOk); });
  TapControl(DlgParam::kRow1, param->m_hWnd);
  EXPECT_EQ(GetSystemData()->m_serialPort, before + 1);
  EXPECT_EQ(U8(param->Row(1).m_secondLine), std::to_string(before + 1));
}

}  // namespace

namespace {

// The main screen run modally as the start-up runs it, with the parameter screen on it.
class ModalHost : public DlgBase {
public:
  ModalHost() : DlgBase(nullptr, kHostTemplate, nullptr) {}
  BOOL OnInitDialog() override {
    DlgBase::OnInitDialog();
    param = std::make_unique<OpenParam>(this);
    param->Create(DlgParam::kTemplate, this);
    param->SetWindowPos(nullptr, 0, 0, 480, 272, SWP_HIDEWINDOW);
    return TRUE;
  }
  std::unique_ptr<OpenParam> param;
};

TEST_F(ParamPagesOnScreen, Exit_OkEndsTheMainScreen_CancelLeavesItRunning) {
  GetSystemData()->m_unlockLevel = 1;
  ModalHost host;
  bool stillRunning = false;
  panel::ScriptedInput script;
  script.Then([&] {
    host.param->OpenPage(14);
    TapControl(DlgParam::kRow5, host.param->m_hWnd);  // the question: answered Cancel below
  });
  script.Then([] { TapControl(DlgMessage::kCancel); });
  script.Then([&] {
    stillRunning = host.IsWindowVisible() != FALSE;
    TapControl(DlgParam::kRow5, host.param->m_hWnd);
  });
  script.Then([] { TapControl(DlgMessage::kOk); });
  // Only reached when OK did not end the main screen (its redraw timer would keep it running).
  script.Wait(2000).Then([&] { host.EndDialog(-2); });
  EXPECT_EQ(host.DoModal(), IDOK);
  EXPECT_TRUE(stillRunning);
}

}  // namespace
