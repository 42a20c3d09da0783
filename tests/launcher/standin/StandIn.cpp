// A stand-in for the main program in the launcher's process tests: one copy at a time (the name
// "Quellora"), a top-level window "Quellora" with an "EXIT" button, and every 500 ms the status message
// to the window "Brimcourt". What it reports is read from $PANEL_ROOT/standin.cfg at each send, so a
// test can change it while it runs:
//   software 205 | test 0 | table 110 | command 0 | mode send | silent | hang
// (hang: no reports, and the first WM_CLOSE is never answered; nothing else is either from then on)
// Each start is appended to $PANEL_ROOT/standin.log as "start <pid> <program path> <value of ID 3>",
// the value read from the t_System0 of the database beside it.
#include <sqlite3.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "Gui.h"
#include "Paths.h"
#include "Platform.h"

namespace {

const UINT kStatusReport = 0x7E8;

std::map<std::string, std::string> Config() {
  std::map<std::string, std::string> config{{"software", "205"}, {"test", "0"}, {"table", "110"},
                                            {"command", "0"}, {"mode", "send"}};
  std::string text;
  panel::ReadTextFile(panel::PanelRoot() + "/standin.cfg", text);
  std::istringstream in(text);
  std::string key, value;
  while (in >> key >> value) config[key] = value;
  return config;
}

std::string SettingOfId3(const std::string& programPath) {
  std::string db = programPath.substr(0, programPath.rfind('/')) + "/Quellora.db";
  sqlite3* handle = nullptr;
  std::string value = "none";
  if (sqlite3_open_v2(db.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(handle, "select Val from t_System0 where ID = 3", -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
      value = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(handle);
  return value;
}

void SendStatus(HWND, UINT, UINT_PTR, DWORD) {
  auto config = Config();
  if (config["mode"] != "send") return;
  HWND launcher = FindWindowW(nullptr, u"Brimcourt");
  if (!launcher) return;
  const uint32_t w = (std::stoul(config["software"]) & 0xFFFFFFu) | (std::stoul(config["test"]) << 24);
  const uint32_t l = (std::stoul(config["table"]) & 0xFFFFFFu) | (std::stoul(config["command"]) << 24);
  SendMessageW(launcher, kStatusReport, w, static_cast<LPARAM>(static_cast<int32_t>(l)));
}

LRESULT Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    if (Config()["mode"] == "hang") {
      // Stops answering for good, its window still up.
      for (;;) std::this_thread::sleep_for(std::chrono::seconds(60));
    }
    DestroyWindow(hwnd);
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main() {
  HANDLE instance = CreateMutexW(nullptr, FALSE, u"Quellora");
  if (!instance || GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  WCHAR self[260] = {};
  GetModuleFileNameW(nullptr, self, 259);
  const std::string path = panel::MapPath(self);
  {
    std::ofstream log(panel::PanelRoot() + "/standin.log", std::ios::app);
    log << "start " << getpid() << ' ' << ToUtf8(self) << ' ' << SettingOfId3(path) << '\n';
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.lpszClassName = u"StandInMain";
  RegisterClassW(&wc);
  HWND main = CreateWindowExW(0, u"StandInMain", u"Quellora", WS_POPUP | WS_VISIBLE, 0, 0, 480, 272, nullptr, nullptr,
                              nullptr, nullptr);
  CreateWindowExW(0, u"BUTTON", u"EXIT", WS_CHILD | WS_VISIBLE, 420, 0, 60, 30, main, nullptr, nullptr, nullptr);
  SetTimer(main, 1, 500, SendStatus);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  return 0;
}
