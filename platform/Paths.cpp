#include "Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

namespace panel {
namespace {

std::mutex& RootLock() {
  static auto* lock = new std::mutex();  // never destroyed: used by static objects at exit
  return *lock;
}

std::string& RootOverride() {
  static std::string root;
  return root;
}

std::string StripTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

std::string PanelRoot() {
  {
    std::lock_guard<std::mutex> guard(RootLock());
    if (!RootOverride().empty()) return RootOverride();
  }
  const char* env = std::getenv("PANEL_ROOT");
  if (env && *env) return StripTrailingSlash(env);
  return "./panel-root";
}

void SetPanelRoot(const std::string& root) {
  std::lock_guard<std::mutex> guard(RootLock());
  RootOverride() = StripTrailingSlash(root);
  if (root.empty()) {
    unsetenv("PANEL_ROOT");
  } else {
    setenv("PANEL_ROOT", RootOverride().c_str(), 1);
  }
}

std::string MapPath(const char16_t* cePath) {
  if (!cePath || !*cePath) return std::string();
  std::string path = ToUtf8(cePath);
  for (auto& c : path) {
    if (c == '\\') c = '/';
  }
  // Reject any ".." component: nothing may escape the board's root.
  std::stringstream parts(path);
  std::string part;
  std::string out;
  while (std::getline(parts, part, '/')) {
    if (part.empty() || part == ".") continue;
    if (part == "..") return std::string();
    out += "/" + part;
  }
  return PanelRoot() + out;
}

CString UnmapPath(const std::string& linuxPath) {
  std::error_code ec;
  std::string root = std::filesystem::weakly_canonical(PanelRoot(), ec).string();
  std::string path = std::filesystem::weakly_canonical(linuxPath, ec).string();
  if (ec) return CString();
  if (path.compare(0, root.size(), root) != 0) return CString();
  std::string rest = path.substr(root.size());
  if (!rest.empty() && rest[0] != '/') return CString();
  for (auto& c : rest) {
    if (c == '/') c = '\\';
  }
  if (rest.empty()) rest = "\\";
  return CString::FromUtf8(rest);
}

std::string BoardPath(const std::string& name) { return PanelRoot() + "/board/" + name; }

std::string RunPath(const std::string& name) {
  std::string dir = PanelRoot() + "/run";
  MakeDirs(dir);
  return dir + "/" + name;
}

bool ReadTextFile(const std::string& path, std::string& contents) {
  // Opened without blocking and read only when it is a regular file: a FIFO or a device put where a
  // board file belongs must not hang the start (opening a FIFO for reading waits for a writer).
  int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat st{};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      close(fd);
      return false;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  contents = std::move(text);
  return true;
}

bool WriteTextFile(const std::string& path, const std::string& contents) {
  size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) MakeDirs(path.substr(0, slash));
  std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << contents;
    if (!out.flush()) return false;
  }
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

bool MakeDirs(const std::string& path) {
  if (path.empty()) return false;
  for (size_t pos = path.find('/', 1); ; pos = path.find('/', pos + 1)) {
    std::string prefix = path.substr(0, pos);
    if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (pos == std::string::npos) break;
  }
  return true;
}

}  // namespace panel
