// The main screen over a headless screen on a board root of its own, with the built templates, the
// texts it shows and the system record restored after each test. Tests either call Tick directly or
// run the screen modally with a script (install a virtual clock first for those).
#pragma once

#include <gtest/gtest.h>

#include <atomic>

#include "AppGlobals.h"
#include "CControlEngine.h"
#include "CSystemData.h"
#include "CWatchdog.h"
#include "DemoMode.h"
#include "DlgMain.h"
#include "Gui.h"
#include "InputMapping.h"
#include "LangTexts.h"
#include "Platform.h"
#include "TempRoot.h"

class MainScreenFixture : public ::testing::Test {
protected:
  void SetUp() override {
    m_saved = *GetSystemData();
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
    LangTexts.SetSize(500);
    const struct {
      int id;
      const char16_t* text;
    } texts[] = {{40, u"Switch the system off?"}, {376, u"Comp:"},     {377, u"OK"},
                 {378, u"Cancel"},                {85, u"Hot water"}, {409, u"Curve 1"},
                 {410, u"Curve 2"},               {62, u"Heat set"},  {110, u"Heat second"},
                 {47, u"Cool set"},               {103, u"Cool second"}, {60, u"Heat room"},
                 {61, u"Cool room"},              {54, u"Heat point 1"}, {56, u"Heat point 3"},
                 {58, u"Heat point 5"},           {247, u"Cool point 1"}, {249, u"Cool point 3"},
                 {250, u"Dual cool point 1"},     {107, u"Second point 3"}};
    for (const auto& t : texts) LangTexts.SetAt(t.id - 1, t.text);
    CSystemData& r = *GetSystemData();
    r = CSystemData();
    r.m_unitsAnswered = kIndoorAnswered | kOutdoorAnswered;  // both units answer, unless a test says not
    r.m_systemSwitch = 1;
    r.m_runMode = 1;
    r.m_softwareVersion = 205;
    r.m_testNumber = 3;
    r.m_dataVersion = 110;
    {
      FaultTableLock guard(g_engine);
      g_engine.m_faultTable.assign(60, FaultEntry());
    }
    for (auto& c : AliveCounters) c = 0;
    IdleCounter = 0;
    BacklightOn = 1;
    DemoMode = 0;
    SetDealer(0);
  }
  void TearDown() override {
    panel::ResetGui();
    panel::SetResourceDir("");
    panel::ClearAvailPhysOverride();
    LangTexts.SetSize(0);
    {
      FaultTableLock guard(g_engine);
      g_engine.m_faultTable.clear();
    }
    *GetSystemData() = m_saved;
    SetDealer(0);
    IdleCounter = 0;
    BacklightOn = 1;
  }

  static void SetDealer(int dealer) {
    GetSystemData()->m_dealerId = dealer;
    g_dealerId = dealer;
  }

  // The screen, made as the start-up makes it (modeless here: tests drive its timer themselves).
  DlgMain& Open() {
    EXPECT_TRUE(m_main.Create(DlgMain::kTemplate));
    panel::PumpMessages();
    return m_main;
  }

  CString TextOf(int id) {
    CString text;
    if (CWnd* c = m_main.GetDlgItem(id)) c->GetWindowText(text);
    return text;
  }
  bool Shown(int id) {
    CWnd* c = m_main.GetDlgItem(id);
    return c && (c->GetStyle() & WS_VISIBLE) != 0;
  }
  static POINT CentreOf(HWND dialog, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  testing_support::TempRoot m_root;
  panel::HeadlessScreen m_screen;
  CSystemData m_saved;
  DlgMain m_main;
};
