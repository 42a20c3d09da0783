// The programs' binding of the board library: choice by processor type, load by name, look-up at
// every call, and a missing library or export turning the calls into nothing.
#include "BoardLib.h"

#include <gtest/gtest.h>

#include "BoardFixture.h"

namespace {

class BoardLib : public BoardFixture {
protected:
  void TearDown() override {
    FreeBoardLib();
    BoardFixture::TearDown();
  }

  void InstallBoth() {
    Install(CORVALIN_LIB, "Corvalin.dll");
    Install(HALVARN_LIB, "Halvarn.dll");
  }
};

TEST_F(BoardLib, ProcessorType_ChoosesTheLibrary) {
  struct Case {
    const char* processor;
    int isCorvalin;
    const char* firstEvent;  // what Turn_Light(1) does first on that board
  };
  const Case cases[] = {
      {"2577", 0, "write32 0xB2100020 0x00010000"},
      {"0", 1, "CreateFile PIO1:"},
      {"2336", 1, "CreateFile PIO1:"},
  };
  InstallBoth();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.processor);
    m_root.Write("board/processor", c.processor);
    panel::ResetBoard();
    LoadBoardLib();
    ASSERT_NE(g_hBoardLib, nullptr);
    EXPECT_EQ(g_boardIsCorvalin, c.isCorvalin);
    EXPECT_EQ(CallTurnLight(1), 0);
    auto events = Events();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events[0], c.firstEvent);
    FreeBoardLib();
    EXPECT_EQ(g_hBoardLib, nullptr);
  }
}

TEST_F(BoardLib, CallRebootHot_ReachesTheLibrary) {
  InstallBoth();
  m_root.Write("board/processor", "2577");
  LoadBoardLib();
  EXPECT_EQ(CallRebootHot(), 0);
  EXPECT_EQ(m_reboots, std::vector<std::string>{"software reset"});
}

TEST_F(BoardLib, MissingOrBrokenLibrary_CallsDoNothing) {
  for (const char* contents : {static_cast<const char*>(nullptr), "not a library"}) {
    SCOPED_TRACE(contents ? contents : "missing");
    if (contents) m_root.Write("ResidentFlash/Quellora/Corvalin.dll", contents);
    panel::ResetBoard();
    LoadBoardLib();
    EXPECT_EQ(g_hBoardLib, nullptr);
    EXPECT_EQ(g_boardIsCorvalin, 1);
    EXPECT_EQ(CallTurnLight(1), 0);
    EXPECT_EQ(CallRebootHot(), 0);
    EXPECT_TRUE(Events().empty());
    EXPECT_TRUE(m_reboots.empty());
  }
}

TEST_F(BoardLib, MissingExport_CallDoesNothing) {
  // The platform module is a loaded module without either entry point.
  HMODULE core = LoadLibraryW(u"coredll.dll");
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(BoardTurnLight(core, 1), 0);
  EXPECT_EQ(BoardRebootHot(core), 0);
  EXPECT_EQ(BoardTurnLight(nullptr, 1), 0);
  EXPECT_TRUE(Events().empty());
}

TEST_F(BoardLib, LauncherLoadsByFullPathFromTheInstallFolder) {
  InstallBoth();
  panel::SetModulePath(u"\\Elsewhere\\Brimcourt.exe");  // the bare name would not be found
  HMODULE lib = LoadBoardLibrary(u"\\ResidentFlash\\Quellora", kHalvarnProcessorType);
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(BoardRebootHot(lib), 0);
  EXPECT_EQ(m_reboots, std::vector<std::string>{"software reset"});
  FreeLibrary(lib);
  EXPECT_EQ(LoadBoardLibrary(CString(), kHalvarnProcessorType), nullptr);
}

}  // namespace
