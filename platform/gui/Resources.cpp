#include "Resources.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>

#include "GdiObjects.h"
#include "Paths.h"
#include "Png.h"
#include "WinUser.h"

namespace panel {
namespace {

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

std::string& Override() {
  static std::string dir;
  return dir;
}

std::string ExecutableResourceDir() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
  if (n <= 0) return "./resources";
  std::string exe(buffer, static_cast<size_t>(n));
  size_t slash = exe.rfind('/');
  std::string dir = slash == std::string::npos ? "." : exe.substr(0, slash);
  std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name = name.substr(0, dot);
  return dir + "/" + name + ".res";
}

struct StringTable {
  std::string path;
  time_t modified = 0;
  std::map<UINT, CString> texts;
};

// Parses one quoted text with its escapes; false when the quotes do not close.
bool Unquote(const std::string& line, size_t start, std::string& out) {
  if (start >= line.size() || line[start] != '"') return false;
  for (size_t i = start + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == '"') return true;
    if (c == '\\' && i + 1 < line.size()) {
      char e = line[++i];
      out.push_back(e == 'n' ? '\n' : e == 't' ? '\t' : e);
    } else {
      out.push_back(c);
    }
  }
  return false;
}

struct CachedBitmap {
  int64_t modified = 0;  // nanoseconds
  off_t size = 0;
  ino_t inode = 0;
  std::shared_ptr<gui::Surface> pixels;
};

}  // namespace

std::string ResourceDir() {
  {
    std::lock_guard<std::mutex> guard(Lock());
    if (!Override().empty()) return Override();
  }
  const char* env = std::getenv("PANEL_RESOURCES");
  if (env && *env) return env;
  return ExecutableResourceDir();
}

void SetResourceDir(const std::string& dir) {
  std::lock_guard<std::mutex> guard(Lock());
  Override() = dir;
}

std::string ResourcePath(const std::string& relative) { return ResourceDir() + "/" + relative; }

bool LoadResourceString(UINT id, CString& text) {
  static StringTable table;
  std::string path = ResourcePath("strings");
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) {
    text.Empty();
    return false;
  }
  if (table.path != path || table.modified != st.st_mtime) {
    table = StringTable();
    table.path = path;
    table.modified = st.st_mtime;
    std::string contents;
    ReadTextFile(path, contents);
    size_t pos = 0;
    while (pos < contents.size()) {
      size_t end = contents.find('\n', pos);
      if (end == std::string::npos) end = contents.size();
      std::string line = contents.substr(pos, end - pos);
      pos = end + 1;
      size_t i = line.find_first_not_of(" \t");
      if (i == std::string::npos || line[i] == '#') continue;
      char* after = nullptr;
      unsigned long number = std::strtoul(line.c_str() + i, &after, 10);
      if (after == line.c_str() + i) continue;
      size_t q = line.find('"', static_cast<size_t>(after - line.c_str()));
      std::string value;
      if (q == std::string::npos || !Unquote(line, q, value)) continue;
      table.texts[static_cast<UINT>(number)] = CString::FromUtf8(value);
    }
  }
  auto it = table.texts.find(id);
  if (it == table.texts.end()) {
    text.Empty();
    return false;
  }
  text = it->second;
  return true;
}

}  // namespace panel

using namespace panel;

HBITMAP LoadBitmapW(HINSTANCE, LPCWSTR name) {
  if (!name) return nullptr;
  std::string file;
  if (IS_INTRESOURCE(name)) {
    file = std::to_string(reinterpret_cast<uintptr_t>(name));
  } else {
    file = ToUtf8(name);
    if (file.find('/') != std::string::npos || file.find("..") != std::string::npos) return nullptr;
  }
  std::string path = ResourcePath("bitmaps/" + file + ".png");
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  // Decoded pixels are kept per file: screens load a bitmap at every paint.
  static std::map<std::string, CachedBitmap> cache;
  CachedBitmap& entry = cache[path];
  int64_t modified = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  if (!entry.pixels || entry.modified != modified || entry.size != st.st_size || entry.inode != st.st_ino) {
    std::unique_ptr<gui::Surface> loaded = gui::LoadPng(path);
    if (!loaded) {
      cache.erase(path);
      SetLastError(ERROR_FILE_NOT_FOUND);
      return nullptr;
    }
    entry.pixels = std::shared_ptr<gui::Surface>(std::move(loaded));
    entry.modified = modified;
    entry.size = st.st_size;
    entry.inode = st.st_ino;
  }
  return gui::CreateBitmapFromSurface(entry.pixels, true);
}

int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int size) {
  CString text;
  if (!LoadResourceString(id, text) || !buffer || size <= 0) {
    if (buffer && size > 0) buffer[0] = 0;
    return 0;
  }
  WStrCopy(buffer, static_cast<size_t>(size), text);
  return std::min(text.GetLength(), size - 1);
}

HICON LoadIconW(HINSTANCE, LPCWSTR name) {
  // The panel shows no icons; a distinct non-null handle per id keeps the programs' checks happy.
  static std::map<uintptr_t, std::unique_ptr<char>> icons;
  uintptr_t key = reinterpret_cast<uintptr_t>(name);
  auto& slot = icons[key];
  if (!slot) slot = std::make_unique<char>(0);
  return reinterpret_cast<HICON>(slot.get());
}

BOOL DestroyIcon(HICON) { return TRUE; }

HINSTANCE GetModuleHandleW(LPCWSTR) { return reinterpret_cast<HINSTANCE>(static_cast<uintptr_t>(0x10000)); }
