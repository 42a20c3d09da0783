// Run-time loading over dlopen: where names are looked up, the error codes of a miss, reference
// counts, and the platform's own module.
#include "Module.h"

#include <gtest/gtest.h>

#include "BoardFixture.h"

namespace {

class Module : public BoardFixture {};

TEST_F(Module, Misses_GiveNullWithTheirErrorCodes) {
  struct Case {
    const char16_t* name;
    DWORD error;
  };
  const Case cases[] = {
      {u"", ERROR_INVALID_PARAMETER},
      {u"Corvalin.dll", ERROR_MOD_NOT_FOUND},
      {u"\\ResidentFlash\\Quellora\\Halvarn.dll", ERROR_MOD_NOT_FOUND},
      {u"\\ResidentFlash\\..\\..\\Halvarn.dll", ERROR_MOD_NOT_FOUND},
      {u"\\ResidentFlash", ERROR_MOD_NOT_FOUND},  // a folder
  };
  m_root.Write("ResidentFlash/readme", "");
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.name));
    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(c.name), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(LoadLibraryW(nullptr), nullptr);
}

TEST_F(Module, BareName_IsLookedUpInTheProgramFolder) {
  Install(CORVALIN_LIB, "Corvalin.dll");
  panel::SetModulePath(u"\\ResidentFlash\\Quellora.exe");
  EXPECT_EQ(panel::ProgramFolder(), CString(u"\\ResidentFlash\\"));
  EXPECT_EQ(LoadLibraryW(u"Corvalin.dll"), nullptr);
  panel::SetModulePath(u"\\ResidentFlash\\Quellora\\Quellora.exe");
  HMODULE lib = LoadLibraryW(u"Corvalin.dll");
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(LoadLibraryW(u"\\ResidentFlash\\Quellora\\Corvalin.dll"), lib);  // same file, same handle
  EXPECT_TRUE(FreeLibrary(lib));
  EXPECT_NE(GetProcAddressW(lib, u"Turn_Light"), nullptr);  // one reference left
  EXPECT_TRUE(FreeLibrary(lib));
  SetLastError(0);
  EXPECT_EQ(GetProcAddressW(lib, u"Turn_Light"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(FreeLibrary(lib));
}

TEST_F(Module, GetProcAddress_MissingNameOrOrdinalOrForeignHandle) {
  HMODULE lib = Load(HALVARN_LIB, "Halvarn.dll");
  ASSERT_NE(lib, nullptr);
  SetLastError(0);
  EXPECT_EQ(GetProcAddressW(lib, u"KVTurnLight"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_EQ(GetProcAddressW(lib, reinterpret_cast<LPCWSTR>(static_cast<uintptr_t>(3))), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  int local = 0;
  EXPECT_EQ(GetProcAddressW(reinterpret_cast<HMODULE>(&local), u"Turn_Light"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_NE(GetProcAddress(lib, u"Turn_Light"), nullptr);
  EXPECT_NE(GetProcAddress(lib, "Turn_Light"), nullptr);
}

TEST_F(Module, CoreDll_IsThePlatformInAnyFolder) {
  HMODULE core = LoadLibraryW(u"windows/coredll.dll");
  ASSERT_NE(core, nullptr);
  EXPECT_EQ(LoadLibraryW(u"\\Windows\\COREDLL.DLL"), core);
  auto set = panel::ProcAs<DWORD (*)(DWORD)>(GetProcAddressW(core, u"SetSystemMemoryDivision"));
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set(3000), SYSMEM_CHANGED);
  EXPECT_EQ(GetProcAddressW(core, u"Turn_Light"), nullptr);
  panel::HideSystemExport("SetSystemMemoryDivision", true);
  EXPECT_EQ(GetProcAddressW(core, u"SetSystemMemoryDivision"), nullptr);
  panel::SetSystemModuleAvailable(false);
  EXPECT_EQ(LoadLibraryW(u"coredll.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_TRUE(FreeLibrary(core));
}

}  // namespace
