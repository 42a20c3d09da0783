#include "Module.h"

#include <dlfcn.h>
#include <elf.h>
#include <sys/stat.h>

#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "Board.h"
#include "Paths.h"
#include "Process.h"
#include "SystemInfo.h"

namespace {

// One loaded file. HMODULE is the address of its record, so a foreign value is recognised.
struct Module {
  void* dl = nullptr;  // null for the platform module
  std::string path;    // the Linux file
  int refs = 0;
};

struct SystemExport {
  const char* name;
  FARPROC proc;
};

// What "coredll.dll" offers by name.
const SystemExport kSystemExports[] = {
    {"SetSystemMemoryDivision", panel::AsFarProc(&SetSystemMemoryDivision)},
    {"GetSystemMemoryDivision", panel::AsFarProc(&GetSystemMemoryDivision)},
    {"SetCleanRebootFlag", panel::AsFarProc(&SetCleanRebootFlag)},
    {"KernelIoControl", panel::AsFarProc(&KernelIoControl)},
    {"GetSystemInfo", panel::AsFarProc(&GetSystemInfo)},
};

struct Modules {
  std::mutex lock;
  std::map<Module*, std::unique_ptr<Module>> loaded;
  Module system;
  bool systemAvailable = true;
  std::set<std::string> hiddenExports;
};

Modules& State() {
  static auto* state = new Modules();
  return *state;
}

bool IsSystemModuleName(const CString& name) {
  int last = -1;
  for (int i = 0; i < name.GetLength(); ++i) {
    if (name[i] == u'\\' || name[i] == u'/') last = i;
  }
  return name.Mid(last + 1).CompareNoCase(u"coredll.dll") == 0;
}

// The Linux file a library name stands for, or empty.
std::string ResolveLibrary(const CString& name) {
  if (name.FindOneOf(u"\\/") >= 0) return panel::MapPath(name);
  CString folder = panel::ProgramFolder();
  if (folder.IsEmpty()) return std::string();
  return panel::MapPath(folder + name);
}

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FARPROC FindExport(HMODULE module, const std::string& name) {
  Modules& s = State();
  void* dl = nullptr;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    auto* m = static_cast<Module*>(module);
    if (m == &s.system) {
      if (s.hiddenExports.count(name) == 0) {
        for (const auto& e : kSystemExports) {
          if (name == e.name) return e.proc;
        }
      }
      SetLastError(ERROR_PROC_NOT_FOUND);
      return nullptr;
    }
    auto it = s.loaded.find(m);
    if (it == s.loaded.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
    dl = it->second->dl;
  }
  void* symbol = dlsym(dl, name.c_str());
  if (!symbol) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

// Defined dynamic symbols of an ELF file of this machine's class.
std::vector<std::string> DynamicSymbols(const std::string& path) {
  std::vector<std::string> names;
  std::ifstream file(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  auto fits = [&](size_t offset, size_t size) { return offset <= bytes.size() && size <= bytes.size() - offset; };
  if (!fits(0, sizeof(Elf64_Ehdr))) return names;
  Elf64_Ehdr header;
  bytes.copy(reinterpret_cast<char*>(&header), sizeof header, 0);
  if (std::string(reinterpret_cast<char*>(header.e_ident), 4) != ELFMAG || header.e_ident[EI_CLASS] != ELFCLASS64 ||
      header.e_shentsize != sizeof(Elf64_Shdr)) {
    return names;
  }
  auto section = [&](size_t index, Elf64_Shdr& out) {
    size_t offset = header.e_shoff + index * sizeof(Elf64_Shdr);
    if (index >= header.e_shnum || !fits(offset, sizeof out)) return false;
    bytes.copy(reinterpret_cast<char*>(&out), sizeof out, offset);
    return true;
  };
  for (size_t i = 0; i < header.e_shnum; ++i) {
    Elf64_Shdr symbols, strings;
    if (!section(i, symbols) || symbols.sh_type != SHT_DYNSYM || !section(symbols.sh_link, strings)) continue;
    if (!fits(symbols.sh_offset, symbols.sh_size) || !fits(strings.sh_offset, strings.sh_size)) break;
    for (size_t at = 0; at + sizeof(Elf64_Sym) <= symbols.sh_size; at += sizeof(Elf64_Sym)) {
      Elf64_Sym sym;
      bytes.copy(reinterpret_cast<char*>(&sym), sizeof sym, symbols.sh_offset + at);
      int bind = ELF64_ST_BIND(sym.st_info);
      if (sym.st_shndx == SHN_UNDEF || (bind != STB_GLOBAL && bind != STB_WEAK)) continue;
      if (sym.st_name >= strings.sh_size) continue;
      names.emplace_back(bytes.c_str() + strings.sh_offset + sym.st_name);
    }
  }
  return names;
}

}  // namespace

HMODULE LoadLibraryW(LPCWSTR name) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Modules& s = State();
  CString text(name);
  if (IsSystemModuleName(text)) {
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.systemAvailable) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    return &s.system;
  }
  std::string path = ResolveLibrary(text);
  if (!IsRegularFile(path)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  // Outside the lock: the library's constructors may call back into the platform.
  void* dl = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!dl) {
    SetLastError(ERROR_BAD_EXE_FORMAT);
    return nullptr;
  }
  std::lock_guard<std::mutex> guard(s.lock);
  for (auto& entry : s.loaded) {
    if (entry.second->dl == dl) {
      ++entry.second->refs;
      return entry.first;
    }
  }
  auto module = std::make_unique<Module>();
  module->dl = dl;
  module->path = path;
  module->refs = 1;
  Module* handle = module.get();
  s.loaded[handle] = std::move(module);
  return handle;
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR name) {
  if (reinterpret_cast<uintptr_t>(name) < 0x10000) {  // an ordinal, or nothing
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return FindExport(module, ToUtf8(name));
}

FARPROC GetProcAddressA(HMODULE module, LPCSTR name) {
  if (reinterpret_cast<uintptr_t>(name) < 0x10000) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return FindExport(module, name);
}

BOOL FreeLibrary(HMODULE module) {
  Modules& s = State();
  void* dl = nullptr;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    auto* m = static_cast<Module*>(module);
    if (m == &s.system) return TRUE;
    auto it = s.loaded.find(m);
    if (it == s.loaded.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    dl = it->second->dl;
    if (--it->second->refs == 0) s.loaded.erase(it);
  }
  dlclose(dl);  // one dlopen per LoadLibraryW; the library's destructors run with the last
  return TRUE;
}

namespace panel {

CString ProgramFolder() {
  WCHAR path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return CString();
  CString cePath(path);
  int slash = cePath.ReverseFind(u'\\');
  return slash < 0 ? CString() : cePath.Left(slash + 1);
}

std::vector<std::string> ModuleExports(HMODULE module) {
  std::string path;
  {
    std::lock_guard<std::mutex> guard(State().lock);
    auto it = State().loaded.find(static_cast<Module*>(module));
    if (it == State().loaded.end()) return {};
    path = it->second->path;
  }
  return DynamicSymbols(path);
}

void SetSystemModuleAvailable(bool available) {
  std::lock_guard<std::mutex> guard(State().lock);
  State().systemAvailable = available;
}

void HideSystemExport(const std::string& name, bool hidden) {
  std::lock_guard<std::mutex> guard(State().lock);
  if (hidden) {
    State().hiddenExports.insert(name);
  } else {
    State().hiddenExports.erase(name);
  }
}

void ResetSystemModule() {
  std::lock_guard<std::mutex> guard(State().lock);
  State().systemAvailable = true;
  State().hiddenExports.clear();
}

}  // namespace panel
