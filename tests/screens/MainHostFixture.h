// The main screen with its pages, as the program shows them: DlgMain created over the built
// resources with every page hidden, so a test taps its way from page to page and reads what shows.
#pragma once

#include <gtest/gtest.h>

#include "../core/db/DbTestFile.h"
#include "CDbAccess.h"
#include "DlgMain.h"
#include "PageFixture.h"
#include "SoftClock.h"

class MainHostFixture : public PageFixture {
protected:
  void SetUp() override {
    PageFixture::SetUp();
    SetClock(2026, 12, 8, 9, 5, 30);
  }
  void TearDown() override {
    if (main.m_hWnd) main.DestroyWindow();
    PageFixture::TearDown();
  }
  // Call after the record and g_dealerId are set up: the pages dress themselves at creation.
  void CreateMain() {
    ASSERT_TRUE(main.Create(DlgMain::kTemplate));
    panel::PumpMessages();
  }
  // The soft clock as the engine would leave it.
  static void SetClock(int year, int month, int day, int hour, int minute, int second) {
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    g_clock = t;
    g_now = panel::SystemTimeToEpochMs(t) / 1000;
  }
  // Which of the hosted pages show (their shown state).
  bool Shown(DlgBase& page) { return page.GetShownState() == SW_SHOW && page.IsWindowVisible(); }
  void Tap(int x, int y) {
    panel::TapAt(x, y);
    panel::PumpMessages();
  }
  // Lets the pages' timers run for the given time.
  void Run(DWORD milliseconds) {
    m_clock->Advance(milliseconds);
    panel::PumpMessages();
  }
  CString Text(CWnd& dialog, int id) { return TextOf(GetDlgItem(dialog.m_hWnd, id)); }

  DlgMain main;
};

// The same over a fresh database file from the delivered schema, open on the program's facade.
class MainHostDbFixture : public MainHostFixture {
protected:
  void SetUp() override {
    MainHostFixture::SetUp();
    g_db.Open(file.CePath(), false, 2);
    ASSERT_EQ(g_db.IsOpen(), 1);
  }
  void TearDown() override {
    g_db.Close();
    MainHostFixture::TearDown();
  }

  dbtest::DbTestFile file;
};
