// A fresh simulated board per test: its own root with a board folder, the program running as
// "\ResidentFlash\Quellora\Quellora.exe", reboots caught by a hook, and the built board libraries installed
// there under their board names on request.
// LibraryFixture adds one loaded library with typed access to its entry points.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Platform.h"
#include "TempRoot.h"

class BoardFixture : public ::testing::Test {
protected:
  void SetUp() override {
    m_root.Write("board/processor", "0\n");
    panel::ResetBoard();
    panel::KeepBoardEvents(true);  // the tests read the board's traffic
    panel::SetModulePath(u"\\ResidentFlash\\Quellora\\Quellora.exe");
    panel::SetRebootHook([this](const std::string& reason) { m_reboots.push_back(reason); });
  }

  void TearDown() override {
    for (HMODULE lib : m_loaded) FreeLibrary(lib);
    panel::SetRebootHook(nullptr);
    panel::SetModulePath(CString());
    panel::ResetBoard();
    panel::KeepBoardEvents(false);
  }

  // Copies a built library into the program's folder under its board name ("Corvalin.dll").
  void Install(const char* builtPath, const std::string& name) {
    std::string folder = m_root / "ResidentFlash/Quellora";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(builtPath, folder + "/" + name, std::filesystem::copy_options::overwrite_existing);
  }

  // Installs and loads a library; unloaded at the end of the test.
  HMODULE Load(const char* builtPath, const std::string& name) {
    Install(builtPath, name);
    HMODULE lib = LoadLibraryW(CString::FromUtf8(name));
    if (lib) m_loaded.push_back(lib);
    return lib;
  }

  // Takes a library out of the list the fixture unloads (the test frees it itself).
  void Forget(HMODULE lib) {
    for (auto it = m_loaded.begin(); it != m_loaded.end(); ++it) {
      if (*it == lib) {
        m_loaded.erase(it);
        return;
      }
    }
  }

  template <typename F>
  static F Entry(HMODULE lib, const char* name) {
    return panel::ProcAs<F>(GetProcAddressA(lib, name));
  }

  static std::vector<std::string> Events() { return panel::BoardEventTexts(); }

  // Events starting with prefix, with the tick each happened at.
  static std::vector<panel::BoardEvent> EventsStarting(const std::string& prefix) {
    std::vector<panel::BoardEvent> out;
    for (const auto& e : panel::BoardEvents()) {
      if (e.text.compare(0, prefix.size(), prefix) == 0) out.push_back(e);
    }
    return out;
  }

  // Waits (real time, bounded) for other threads to reach a state.
  template <typename Predicate>
  static bool WaitUntil(Predicate done, int timeoutMs = 2000) {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
      if (std::chrono::steady_clock::now() > until) return false;
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
  }

  testing_support::TempRoot m_root;
  std::vector<std::string> m_reboots;
  std::vector<HMODULE> m_loaded;
};

// The fixture of one board library's tests: their SetUp loads the library into m_lib.
class LibraryFixture : public BoardFixture {
protected:
  // An entry point of the loaded library as its type; a missing one fails the test.
  template <typename F>
  F Fn(const char* name) {
    F f = Entry<F>(m_lib, name);
    EXPECT_NE(f, nullptr) << name;
    return f;
  }

  HMODULE m_lib = nullptr;
};
