// The main program's start-up on a board root of its own: the delivered database in the program
// folder, the built resources, the touch driver's registry key, a headless screen, and the look
// (fonts, bitmaps, brushes) taken down again after each test.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "AppGlobals.h"
#include "BoardLib.h"
#include "CCommManager.h"
#include "CControlEngine.h"
#include "CDbAccess.h"
#include "CHmiApp.h"
#include "Gui.h"
#include "Platform.h"
#include "TempRoot.h"

class AppFixture : public ::testing::Test {
protected:
  static constexpr const char* kTouchKey = "[HKEY_LOCAL_MACHINE\\HARDWARE\\DEVICEMAP\\TOUCH]\n";

  void SetUp() override {
    std::filesystem::create_directories(m_root / "ResidentFlash/Quellora");
    std::filesystem::copy_file(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.db", Db());
    m_root.Write("board/processor", "0\n");
    m_root.Write("board/registry", kTouchKey);
    panel::ResetBoard();
    panel::KeepBoardEvents(true);  // the tests read the board's traffic
    panel::SetModulePath(u"\\ResidentFlash\\Quellora\\Quellora.exe");
    panel::SetResourceDir(std::string(QUELLORA_BINARY_DIR) + "/resources/Quellora.res");
    g_db.Open(u"Quellora.db", true, 2);
    ASSERT_EQ(1, g_db.IsOpen());
    BacklightOn = 1;
    IdleCounter = 0;
  }

  void TearDown() override {
    // What the start-up leaves for the process exit to take down: the watchdog and the registry's ports,
    // whose threads would otherwise run on into the next tests and sleep on their clocks.
    g_engine.Enable(0);
    g_engine.m_watchdog.Enable(0);
    g_engine.m_indoorBlock = nullptr;
    g_engine.m_outdoorBlock = nullptr;
    g_engine.m_wifiBlock = nullptr;
    g_commManager.RemoveAllPorts();
    panel::SetMessageSpy(nullptr);
    panel::ResetGui();
    FreeBoardLib();
    FreeAppLook();
    g_dealerId = 0;
    BacklightOn = 1;
    g_db.Close();
    panel::SetResourceDir("");
    panel::SetModulePath(CString());
    panel::ResetBoard();
    panel::KeepBoardEvents(false);
  }

  std::string Db() const { return m_root / "ResidentFlash/Quellora/Quellora.db"; }

  // Changes a stored live parameter before the start-up reads it. The delivered file has no
  // parameter rows yet: the engine writes the defaults on its first start, so that runs first.
  void SetParam(int id, int value) {
    g_engine.InitParams(0);
    g_db.Close();
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(Db().c_str(), &db));
    std::string sql = "update t_System0 set Val='" + std::to_string(value) + "' where ID=" + std::to_string(id) + ";";
    char* error = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error)) << (error ? error : "");
    sqlite3_free(error);
    EXPECT_EQ(1, sqlite3_changes(db));
    sqlite3_close(db);
    g_db.Open(u"Quellora.db", true, 2);
  }

  // Installs a built board library in the program folder under its board name.
  void Install(const char* builtPath, const std::string& name) {
    std::filesystem::copy_file(builtPath, m_root / ("ResidentFlash/Quellora/" + name),
                               std::filesystem::copy_options::overwrite_existing);
  }

  // Runs the start-up; while the main screen is up, during calls the check, then the main screen is
  // closed as the launcher closes it. The start-up's result.
  BOOL RunStartUp(const std::function<void()>& during) {
    panel::ScriptedInput script;
    script.Then([&] {
      m_sawMainScreen = FindWindowW(nullptr, u"Quellora") != nullptr;
      if (during) during();
    });
    script.Then([] {
      if (HWND main = FindWindowW(nullptr, u"Quellora")) PostMessageW(main, WM_CLOSE, 0, 0);
    });
    return g_app.InitInstance();
  }

  static LONG CursorValue(DWORD& value) {
    HKEY key = nullptr;
    LONG opened = RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"HARDWARE\\DEVICEMAP\\TOUCH", 0, KEY_READ, &key);
    if (opened != ERROR_SUCCESS) return opened;
    DWORD size = sizeof(value);
    LONG read = RegQueryValueExW(key, u"Dis_Cursor", nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size);
    RegCloseKey(key);
    return read;
  }

  static SIZE BitmapSize(const CBitmap& bitmap) {
    BITMAP info{};
    bitmap.GetBitmap(&info);
    return SIZE{info.bmWidth, info.bmHeight};
  }

  testing_support::TempRoot m_root;
  panel::HeadlessScreen m_screen;
  bool m_sawMainScreen = false;
};
