#include "CHmiApp.h"

#include <gtest/gtest.h>

#include "AppFixture.h"
#include "CControlEngine.h"
#include "FontEngine.h"
#include "Log.h"
#include "LogLines.h"
#include "RawDb.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

const int kDealerParam = 163;  // t_System0 row of CSystemData::m_dealerId

class CHmiAppTest : public AppFixture {};

bool AllFontsMade() {
  for (CFont* f : {&g_font45, &g_font21, &g_font18, &g_font15, &g_font12, &g_font9}) {
    if (!f->m_hObject) return false;
  }
  return true;
}

TEST_F(CHmiAppTest, StartUp_BuildsTheLookBeforeTheMainScreenAndTakesItDownAfter) {
  // Dealer 9 has its own spare and pop-up pictures: their sizes show the dealer id was loaded
  // from the parameters before the bitmaps were chosen.
  SetParam(kDealerParam, 9);
  const int socketsBefore = panel::WSAStartupCount();
  struct During {
    DWORD mutexError = 0;
    bool fonts = false;
    int fontHeight21 = 0;
    SIZE spare{}, popup{}, main{};
    bool brushes = false;
    DWORD cursor = 0;
    int dealer = -1;
    bool sockets = false;
    bool engine = false;
  } seen;
  BOOL result = RunStartUp([&] {
    HANDLE again = CreateMutexW(nullptr, FALSE, u"Quellora");
    seen.mutexError = GetLastError();
    CloseHandle(again);
    seen.fonts = AllFontsMade();
    LOGFONTW lf{};
    g_font21.GetLogFont(&lf);
    seen.fontHeight21 = lf.lfHeight;
    seen.spare = BitmapSize(g_bmpSpare);
    seen.popup = BitmapSize(g_bmpPopupBg);
    seen.main = BitmapSize(g_bmpMainBg);
    seen.brushes = g_brushes[0] && g_brushes[1] && g_brushes[2] && g_brushes[3];
    CursorValue(seen.cursor);
    seen.dealer = g_dealerId;
    seen.sockets = panel::WSAStartupCount() > socketsBefore;
    seen.engine = g_engine.IsRunning() != 0;
  });
  EXPECT_FALSE(result);
  EXPECT_TRUE(m_sawMainScreen);
  EXPECT_EQ(seen.mutexError, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_TRUE(seen.sockets);
  EXPECT_TRUE(seen.engine);
  EXPECT_TRUE(seen.fonts);
  EXPECT_EQ(seen.fontHeight21, -28);  // 21 points at 96 dpi
  EXPECT_EQ(seen.dealer, 9);
  EXPECT_EQ(seen.spare.cx, 60);   // 323, not 214 (45 x 45)
  EXPECT_EQ(seen.popup.cx, 375);  // 324
  EXPECT_EQ(seen.main.cx, 480);
  EXPECT_TRUE(seen.brushes);
  EXPECT_EQ(seen.cursor, 2u);

  // After the main screen: the engine stopped, the small fonts and the brushes gone, the 45-point
  // font kept for the exit, the board library released, no window left.
  EXPECT_FALSE(g_engine.IsRunning());
  EXPECT_NE(g_font45.m_hObject, nullptr);
  for (CFont* f : {&g_font21, &g_font18, &g_font15, &g_font12, &g_font9}) EXPECT_EQ(f->m_hObject, nullptr);
  for (HBRUSH b : g_brushes) EXPECT_EQ(b, nullptr);
  EXPECT_EQ(g_hBoardLib, nullptr);
  EXPECT_EQ(FindWindowW(nullptr, u"Quellora"), nullptr);
  EXPECT_EQ(g_app.m_pMainWnd, nullptr);
}

TEST_F(CHmiAppTest, SecondCopy_EndsAtOnceTouchingNothing) {
  HANDLE first = CreateMutexW(nullptr, FALSE, u"Quellora");
  ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  Install(CORVALIN_LIB, "Corvalin.dll");
  bool ranScreen = false;
  BOOL result = RunStartUp([&] { ranScreen = true; });
  EXPECT_FALSE(result);
  EXPECT_FALSE(ranScreen);
  EXPECT_EQ(g_hBoardLib, nullptr);
  EXPECT_TRUE(panel::BoardEventTexts().empty());
  DWORD cursor = 0;
  EXPECT_EQ(CursorValue(cursor), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(g_font21.m_hObject, nullptr);
  EXPECT_EQ(g_bmpMainBg.m_hObject, nullptr);
  CloseHandle(first);
}

TEST_F(CHmiAppTest, ProcessorType_ChoosesTheBoardLibrary) {
  struct Case {
    const char* processor;
    bool installed;
    int isCorvalin;
    const char* firstEvent;  // what Turn_Light(1) does first on that board; "" for none
  };
  const Case cases[] = {
      {"2577", true, 0, "write32 0xB2100020 0x00010000"},
      {"2336", true, 1, "CreateFile PIO1:"},
      {"2577", false, 0, ""},
      {"0", false, 1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.processor) + (c.installed ? " installed" : " missing"));
    std::error_code ignored;
    std::filesystem::remove(m_root / "ResidentFlash/Quellora/Corvalin.dll", ignored);
    std::filesystem::remove(m_root / "ResidentFlash/Quellora/Halvarn.dll", ignored);
    if (c.installed) {
      Install(CORVALIN_LIB, "Corvalin.dll");
      Install(HALVARN_LIB, "Halvarn.dll");
    }
    m_root.Write("board/processor", c.processor);
    panel::ResetBoard();
    bool loaded = false;
    std::vector<std::string> events;
    BOOL result = RunStartUp([&] {
      loaded = g_hBoardLib != nullptr;
      panel::ResetBoard();
      CallTurnLight(1);
      events = panel::BoardEventTexts();
    });
    EXPECT_FALSE(result);
    EXPECT_TRUE(m_sawMainScreen);  // without a library the program runs all the same
    EXPECT_EQ(g_boardIsCorvalin, c.isCorvalin);
    EXPECT_EQ(loaded, c.installed);
    if (c.installed) {
      ASSERT_FALSE(events.empty());
      EXPECT_EQ(events[0], c.firstEvent);
    } else {
      EXPECT_TRUE(events.empty());
    }
    EXPECT_EQ(g_hBoardLib, nullptr);
    // Each start-up of this process needs the instance lock back, as a new process would have it.
    std::filesystem::remove(m_root / "run/mutex-Quellora.lock", ignored);
  }
}

TEST_F(CHmiAppTest, CursorValue_WrittenOnlyIntoAnExistingKey) {
  m_root.Write("board/registry", "");
  RunStartUp(nullptr);
  DWORD cursor = 0;
  EXPECT_EQ(CursorValue(cursor), ERROR_FILE_NOT_FOUND);
  std::string registry;
  panel::ReadTextFile(m_root / "board/registry", registry);
  EXPECT_EQ(registry.find("TOUCH"), std::string::npos);
}

TEST_F(CHmiAppTest, FontFile_AddedUnderTheProgramsFaceAndRemovedAtTheEnd) {
  const std::string font = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
  if (!std::filesystem::exists(font)) GTEST_SKIP() << "no CJK font installed";
  const std::string installed = m_root / "ResidentFlash/Quellora/msyh.ttf";
  std::filesystem::copy_file(font, installed);
  std::string during;
  RunStartUp([&] {
    LOGFONTW lf{};
    g_font15.GetLogFont(&lf);
    during = panel::gui::ResolveFont(lf)->File().path;
  });
  EXPECT_EQ(std::filesystem::canonical(during), std::filesystem::canonical(installed));
  // Removed again: the face now comes from the system's own fonts, never from the removed file.
  LOGFONTW lf{};
  g_font45.GetLogFont(&lf);
  const std::string after = panel::gui::ResolveFont(lf)->File().path;
  EXPECT_FALSE(after.empty());
  EXPECT_NE(after, installed);
}

TEST_F(CHmiAppTest, DealerLook_BitmapsAndTheFourthBrushColour) {
  struct Case {
    int dealer;
    UINT main, spare;
    COLORREF fourth;
  };
  const Case cases[] = {
      {0, 194, 214, RGB(15, 72, 93)},  {1, 274, 214, RGB(0, 100, 95)}, {3, 405, 214, RGB(15, 72, 93)},
      {9, 303, 323, RGB(15, 72, 93)},  {13, 278, 214, RGB(15, 72, 93)}, {15, 479, 214, RGB(15, 72, 93)},
      {7, 194, 214, RGB(15, 72, 93)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dealer);
    const DealerBitmaps ids = BitmapsForDealer(c.dealer);
    EXPECT_EQ(ids.ids[0], c.main);
    EXPECT_EQ(ids.ids[6], c.spare);
    for (CBitmap* b : {&g_bmpMainBg, &g_bmpSpare}) b->DeleteObject();
    LoadDealerLook(c.dealer);
    EXPECT_EQ(g_brushColors[3], c.fourth);
    EXPECT_EQ(BitmapSize(g_bmpSpare).cx, c.spare == 323 ? 60 : 45);
    for (CBitmap* b : {&g_bmpMainBg, &g_bmpPageBg, &g_bmpDesign2Bg, &g_bmpDesign1Bg, &g_bmpMenuBg1, &g_bmpMenuBg2,
                       &g_bmpSpare, &g_bmpPopupBg}) {
      b->DeleteObject();
    }
  }
  LoadDealerLook(0);
}

}  // namespace

namespace {

// A database that cannot serve is named at start, and the terminal still comes up on its defaults.
class UnusableDatabase : public CHmiAppTest {
protected:
  // Damages the file (SQL on it, or "garbage"), runs the start-up and returns the program's log.
  std::string StartOn(const std::string& damage) {
    panel::ResetLogLimits();
    g_db.Close();
    if (damage == "garbage") {
      std::ofstream(Db(), std::ios::trunc) << std::string(8192, 'g');
    } else {
      testing_support::RawDb(Db()).Run(damage);
    }
    g_db.Open(u"Quellora.db", true, 2);
    RunStartUp(nullptr);
    EXPECT_TRUE(m_sawMainScreen);
    panel::ResetLogLimits();
    return testing_support::LogText();
  }
};

TEST_F(UnusableDatabase, TableDropped_ReportedAtStart) {
  const std::string log = StartOn("drop table t_HPErr");
  EXPECT_NE(log.find("Quellora.db cannot read t_HPErr"), std::string::npos) << log;
  EXPECT_NE(log.find("keeps no settings"), std::string::npos) << log;
}

TEST_F(UnusableDatabase, Garbage_ReportedAtStart) {
  const std::string log = StartOn("garbage");
  EXPECT_NE(log.find("Quellora.db cannot read t_System0 (UNKNOWN_ERROR[26]: file is not a database)"),
            std::string::npos)
      << log;
}

}  // namespace
