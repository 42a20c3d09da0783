// Windows across the programs of the board. Each GUI program publishes its window tree in
// $PANEL_ROOT/run/windows/<pid>.tree (rewritten when idle after a change; the others read it again only
// when the file was replaced) and answers messages for its windows on the Unix socket <pid>.sock beside
// it. A window handle carries its process id in its upper 32 bits, so FindWindowW, EnumWindows,
// GetWindow, GetWindowTextW and IsWindow read the other program's tree, and SendMessageW/PostMessageW
// go through its socket. A send waits at most
// PANEL_SEND_TIMEOUT_MS (default 5000 ms of the board's clock, so scaled time scales it too) and
// meanwhile handles the messages sent to this program, so two programs sending to each other at once
// do not lock up. The socket also takes the finger's input the board's screen hands this program (the
// program on top where it was pressed) and a nudge to look at the board again. Nothing is published
// when the board's root does not exist.
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "Clock.h"
#include "GuiState.h"
#include "Paths.h"

namespace panel {
namespace gui {
namespace {

struct Entry {
  HWND hwnd = nullptr;
  HWND parent = nullptr;
  HWND owner = nullptr;
  bool visible = false;
  std::u16string className;
  std::u16string text;
};

std::string WindowsDir() { return PanelRoot() + "/run/windows"; }

bool RootExists() {
  struct stat st{};
  return stat(PanelRoot().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

DWORD TimeoutMs() {
  const char* v = std::getenv("PANEL_SEND_TIMEOUT_MS");
  if (v && *v) return static_cast<DWORD>(std::strtoul(v, nullptr, 10));
  return 5000;
}

uint64_t Key(HWND h) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(h)); }
HWND FromKey(uint64_t k) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(k)); }
pid_t PidOf(HWND h) { return static_cast<pid_t>(Key(h) >> 32); }

std::string Quote(const std::u16string& text) {
  std::string utf8 = ToUtf8(text.c_str());
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out.push_back(c);
    }
  }
  return out + "\"";
}

bool Unquote(std::istream& in, std::u16string& out) {
  in >> std::ws;
  if (in.get() != '"') return false;
  std::string utf8;
  for (int c = in.get(); c != EOF; c = in.get()) {
    if (c == '"') {
      out = FromUtf8(utf8);
      return true;
    }
    if (c == '\\') {
      int e = in.get();
      utf8.push_back(e == 'n' ? '\n' : e == 'r' ? '\r' : static_cast<char>(e));
    } else {
      utf8.push_back(static_cast<char>(c));
    }
  }
  return false;
}

void WriteEntries(Window* w, std::ostringstream& out) {
  char line[128];
  std::snprintf(line, sizeof(line), "w %llx %llx %llx %d ", static_cast<unsigned long long>(Key(w->handle)),
                static_cast<unsigned long long>(w->parent ? Key(w->parent->handle) : 0),
                static_cast<unsigned long long>(w->owner ? Key(w->owner->handle) : 0), IsVisible(w) ? 1 : 0);
  out << line << Quote(w->cls->name) << ' ' << Quote(w->text) << '\n';
  for (Window* c : w->children) WriteEntries(c, out);
}

bool Alive(pid_t pid) { return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM); }

// What a file was when it was read. A file is replaced, never rewritten in place, so another inode or
// time means another content; a time close to now may still be shared by a quick second change, so
// such a file is not taken as read.
struct FileMark {
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = -1;
  timespec mtime{};
  bool settled = false;
  bool operator==(const FileMark& o) const {
    return dev == o.dev && ino == o.ino && size == o.size && mtime.tv_sec == o.mtime.tv_sec &&
           mtime.tv_nsec == o.mtime.tv_nsec;
  }
};

const int64_t kSettledNs = 200 * 1000000LL;  // well past the file system's clock step

FileMark MarkOf(const std::string& path) {
  FileMark mark;
  struct stat st{};
  if (stat(path.c_str(), &st) != 0) return mark;
  mark.dev = st.st_dev;
  mark.ino = st.st_ino;
  mark.size = st.st_size;
  mark.mtime = st.st_mtim;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const int64_t age = (static_cast<int64_t>(now.tv_sec) - st.st_mtim.tv_sec) * 1000000000LL + now.tv_nsec -
                      st.st_mtim.tv_nsec;
  mark.settled = age > kSettledNs;
  return mark;
}

// The other programs' trees and the folder's listing as last read: the main screen looks for the
// launcher twice a second, and what has not changed is not read again. Any thread.
struct Cache {
  std::mutex lock;
  std::string dir;
  FileMark listingMark;
  std::vector<pid_t> listing;
  struct Tree {
    FileMark mark;
    std::vector<Entry> entries;
  };
  std::map<pid_t, Tree> trees;
};

Cache& TheCache() {
  static auto* cache = new Cache();  // to the end of the process: exit handlers may look up windows
  return *cache;
}

// Under the cache's lock; forgets everything read from another folder (another root).
void FollowDir(Cache& c, const std::string& dir) {
  if (c.dir == dir) return;
  c.dir = dir;
  c.listingMark = FileMark();
  c.listing.clear();
  c.trees.clear();
}

std::vector<Entry> ParseTree(const std::string& text) {
  std::vector<Entry> entries;
  std::istringstream in(text);
  std::string tag;
  while (in >> tag) {
    if (tag != "w") {
      std::string rest;
      std::getline(in, rest);
      continue;
    }
    Entry e;
    unsigned long long h = 0, p = 0, o = 0;
    int visible = 0;
    in >> std::hex >> h >> p >> o >> std::dec >> visible;
    if (!in || !Unquote(in, e.className) || !Unquote(in, e.text)) break;
    e.hwnd = FromKey(h);
    e.parent = p ? FromKey(p) : nullptr;
    e.owner = o ? FromKey(o) : nullptr;
    e.visible = visible != 0;
    entries.push_back(e);
  }
  return entries;
}

std::vector<Entry> ReadTree(pid_t pid) {
  if (pid == getpid() || !Alive(pid)) return {};
  const std::string dir = WindowsDir();
  const std::string path = dir + "/" + std::to_string(pid) + ".tree";
  const FileMark mark = MarkOf(path);
  Cache& c = TheCache();
  {
    std::lock_guard<std::mutex> guard(c.lock);
    FollowDir(c, dir);
    auto it = c.trees.find(pid);
    if (it != c.trees.end() && it->second.mark.settled && it->second.mark == mark) return it->second.entries;
  }
  std::string text;
  std::vector<Entry> entries;
  if (ReadTextFile(path, text)) entries = ParseTree(text);
  std::lock_guard<std::mutex> guard(c.lock);
  FollowDir(c, dir);
  if (mark.size >= 0) {
    c.trees[pid] = Cache::Tree{mark, entries};
  } else {
    c.trees.erase(pid);
  }
  return entries;
}

// The programs that publish a tree, by the folder's listing (read again when the folder changed).
std::vector<pid_t> Listed(const std::string& dir) {
  const FileMark mark = MarkOf(dir);
  Cache& c = TheCache();
  {
    std::lock_guard<std::mutex> guard(c.lock);
    FollowDir(c, dir);
    if (c.listingMark.settled && c.listingMark == mark) return c.listing;
  }
  std::vector<pid_t> pids;
  if (DIR* folder = opendir(dir.c_str())) {
    while (dirent* d = readdir(folder)) {
      std::string name = d->d_name;
      size_t dot = name.find(".tree");
      if (dot == std::string::npos || dot + 5 != name.size()) continue;
      pids.push_back(static_cast<pid_t>(std::atol(name.substr(0, dot).c_str())));
    }
    closedir(folder);
  }
  std::sort(pids.begin(), pids.end());
  std::lock_guard<std::mutex> guard(c.lock);
  FollowDir(c, dir);
  c.listingMark = mark;
  c.listing = pids;
  for (auto it = c.trees.begin(); it != c.trees.end();) {
    it = std::binary_search(pids.begin(), pids.end(), it->first) ? std::next(it) : c.trees.erase(it);
  }
  return pids;
}

std::vector<pid_t> OtherPrograms() {
  std::vector<pid_t> pids;
  for (pid_t pid : Listed(WindowsDir())) {
    if (pid != getpid() && Alive(pid)) pids.push_back(pid);
  }
  return pids;
}

bool CarriesPointer(UINT message) {
  switch (message) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_NOTIFY:
    case WM_WINDOWPOSCHANGED:
    case 0x004A:  // WM_COPYDATA
      return true;
    default:
      return message >= LVM_FIRST && message < LVM_FIRST + 0x100;
  }
}

// The socket server: one thread, one request per connection.
class Server {
public:
  ~Server() { Stop(); }

  void EnsureAt(const std::string& path) {
    if (m_fd >= 0 && path == m_path) return;
    Stop();
    sockaddr_un addr{};
    if (path.size() >= sizeof(addr.sun_path)) return;
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    unlink(path.c_str());
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(fd, 16) != 0) {
      close(fd);
      return;
    }
    m_fd = fd;
    m_path = path;
    m_stop = false;
    m_thread = std::thread([this, fd] { Serve(fd); });
  }

  void Stop() {
    if (m_fd < 0) return;
    m_stop = true;
    shutdown(m_fd, SHUT_RDWR);
    if (m_thread.joinable()) m_thread.join();
    close(m_fd);
    unlink(m_path.c_str());
    m_fd = -1;
    m_path.clear();
  }

private:
  void Serve(int fd) {
    while (!m_stop) {
      pollfd p{fd, POLLIN, 0};
      // Stop's shutdown ends the wait at once; the time-out only bounds a wait nothing would end.
      if (poll(&p, 1, 1000) <= 0) continue;
      if (p.revents & (POLLERR | POLLHUP | POLLNVAL)) break;
      int client = accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      Answer(client);
      close(client);
    }
  }

  void Answer(int client) {
    std::string request;
    char buffer[256];
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1000);
    while (request.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
      pollfd p{client, POLLIN, 0};
      if (poll(&p, 1, 50) <= 0) continue;
      ssize_t n = read(client, buffer, sizeof(buffer));
      if (n <= 0) break;
      request.append(buffer, static_cast<size_t>(n));
    }
    std::istringstream in(request);
    std::string verb;
    in >> verb;
    std::string reply = "err\n";
    if (verb == "tap" || verb == "input") {
      int kind = 0, x = 0, y = 0;
      if (verb == "input") in >> kind;
      in >> x >> y;
      if (in && kind >= 0 && kind <= 2) {
        QueueInput(kind, x, y);
        if (verb == "tap") QueueInput(2, x, y);
        reply = "ok 0\n";
      }
      Reply(client, reply);
      return;
    }
    if (verb == "wake") {
      WakeGui();
      Reply(client, "ok 0\n");
      return;
    }
    unsigned long long hwnd = 0, wp = 0;
    long long lp = 0;
    unsigned message = 0;
    in >> std::hex >> hwnd >> std::dec >> message >> wp >> lp;
    if (in && (verb == "send" || verb == "post")) {
      HWND target = FromKey(hwnd);
      if (verb == "post") {
        PostMessageW(target, message, static_cast<WPARAM>(wp), static_cast<LPARAM>(lp));
        reply = "ok 0\n";
      } else {
        auto r = std::make_shared<SentRequest>();
        r->hwnd = target;
        r->message = message;
        r->wParam = static_cast<WPARAM>(wp);
        r->lParam = static_cast<LPARAM>(lp);
        GuiState& s = State();
        {
          std::lock_guard<std::mutex> guard(s.lock);
          s.incoming.push_back(r);
        }
        WakeGui();
        const Deadline deadline(TimeoutMs());
        std::unique_lock<std::mutex> lock(s.lock);
        while (!r->done && !deadline.Passed()) s.wake.wait_for(lock, deadline.Slice());
        if (r->done) {
          reply = "ok " + std::to_string(static_cast<long long>(r->result)) + "\n";
        } else {
          reply = "timeout\n";
        }
      }
    }
    Reply(client, reply);
  }

  // A sender that gave up has closed its end: the late answer is dropped, not a SIGPIPE that ends
  // this program.
  static void Reply(int client, const std::string& reply) {
    ssize_t ignored = send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
    (void)ignored;
  }

  int m_fd = -1;
  std::string m_path;
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

Server& TheServer() {
  static Server* server = new Server();
  return *server;
}

std::string& PublishedPath() {
  // Kept to the end of the process: the exit handler that removes the file runs after the statics.
  static std::string* path = new std::string();
  return *path;
}

void RemovePublished() {
  if (!PublishedPath().empty()) unlink(PublishedPath().c_str());
  PublishedPath().clear();
}

void AtExit() {
  RemovePublished();
  TheServer().Stop();
}

}  // namespace

void PublishTreeIfChanged() {
  GuiState& s = State();
  if (!s.treeChanged) return;
  s.treeChanged = false;
  std::string dir = WindowsDir();
  std::string path = dir + "/" + std::to_string(getpid()) + ".tree";
  if (s.topLevel.empty() || !RootExists()) {
    if (!PublishedPath().empty() && s.topLevel.empty()) RemovePublished();
    return;
  }
  static bool registered = false;
  if (!registered) {
    registered = true;
    std::atexit(AtExit);
  }
  if (!PublishedPath().empty() && PublishedPath() != path) RemovePublished();
  std::ostringstream out;
  out << "pid " << getpid() << '\n';
  for (Window* t : s.topLevel) WriteEntries(t, out);
  // A change that came back to what was published (a text set and set back) writes nothing.
  static auto* published = new std::string();
  if (PublishedPath() == path && *published == out.str() && access(path.c_str(), F_OK) == 0) return;
  if (!WriteTextFile(path + ".tmp", out.str())) return;
  // The socket answers before anyone can read the tree that points to it.
  TheServer().EnsureAt(dir + "/" + std::to_string(getpid()) + ".sock");
  std::rename((path + ".tmp").c_str(), path.c_str());
  PublishedPath() = path;
  *published = out.str();
}

void StopWindowServer() {
  RemovePublished();
  TheServer().Stop();
}

namespace {

// flags: SOCK_NONBLOCK to give up rather than wait when the program's queue of callers is full.
int Connect(pid_t pid, int flags = 0) {
  std::string path = WindowsDir() + "/" + std::to_string(pid) + ".sock";
  sockaddr_un addr{};
  if (path.size() >= sizeof(addr.sun_path)) return -1;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | flags, 0);
  if (fd < 0) return -1;
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

LRESULT RemoteSend(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool post, bool* ok) {
  if (ok) *ok = false;
  if (CarriesPointer(message)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
  }
  pid_t pid = PidOf(hwnd);
  if (!Alive(pid)) {
    SetLastError(1400);  // ERROR_INVALID_WINDOW_HANDLE
    return 0;
  }
  int fd = Connect(pid);
  if (fd < 0) {
    SetLastError(1400);
    return 0;
  }
  char request[160];
  std::snprintf(request, sizeof(request), "%s %llx %u %llu %lld\n", post ? "post" : "send",
                static_cast<unsigned long long>(Key(hwnd)), message, static_cast<unsigned long long>(wParam),
                static_cast<long long>(lParam));
  ssize_t sent = send(fd, request, std::strlen(request), MSG_NOSIGNAL);  // a program that just ended is no SIGPIPE
  if (sent <= 0) {
    close(fd);
    return 0;
  }
  std::string reply;
  // A little longer than the other side's own bound, so that its "timeout" answer gets here first.
  const Deadline deadline(TimeoutMs() + 500);
  bool gui = OnGuiThread();
  while (reply.find('\n') == std::string::npos) {
    if (deadline.Passed()) break;
    // While waiting, this program keeps answering what is sent to its own windows.
    if (gui) HandleIncomingSends();
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 10) <= 0) continue;
    char buffer[128];
    ssize_t n = read(fd, buffer, sizeof(buffer));
    if (n <= 0) break;
    reply.append(buffer, static_cast<size_t>(n));
  }
  close(fd);
  if (reply.compare(0, 3, "ok ") == 0) {
    if (ok) *ok = true;
    return static_cast<LRESULT>(std::atoll(reply.c_str() + 3));
  }
  SetLastError(reply.compare(0, 3, "err") == 0 ? 1400 : ERROR_TIMEOUT);
  return 0;
}

HWND RemoteFindWindow(LPCWSTR className, LPCWSTR windowName) {
  for (pid_t pid : OtherPrograms()) {
    for (const Entry& e : ReadTree(pid)) {
      if (e.parent) continue;
      if (className && WStrICmp(e.className.c_str(), className) != 0) continue;
      if (windowName && e.text != windowName) continue;
      return e.hwnd;
    }
  }
  return nullptr;
}

void RemoteEnumWindows(std::vector<HWND>& out) {
  for (pid_t pid : OtherPrograms()) {
    for (const Entry& e : ReadTree(pid)) {
      if (!e.parent) out.push_back(e.hwnd);
    }
  }
}

bool RemoteWindowInfo(HWND hwnd, std::u16string* text, std::u16string* className, HWND* parent, HWND* owner,
                      bool* visible, std::vector<HWND>* children) {
  std::vector<Entry> entries = ReadTree(PidOf(hwnd));
  const Entry* found = nullptr;
  for (const Entry& e : entries) {
    if (e.hwnd == hwnd) found = &e;
  }
  if (!found) return false;
  if (text) *text = found->text;
  if (className) *className = found->className;
  if (parent) *parent = found->parent;
  if (owner) *owner = found->owner;
  if (visible) *visible = found->visible;
  if (children) {
    children->clear();
    for (const Entry& e : entries) {
      if (e.parent == hwnd) children->push_back(e.hwnd);
    }
  }
  return true;
}

namespace {

// A request that needs no answer, written without waiting: a display never waits for a program.
bool Tell(pid_t pid, const std::string& request) {
  if (!Alive(pid)) return false;
  int fd = Connect(pid, SOCK_NONBLOCK);
  if (fd < 0) return false;
  bool ok = send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size());
  close(fd);
  return ok;
}

}  // namespace

bool SendInput(pid_t pid, int kind, int x, int y) {
  return Tell(pid, "input " + std::to_string(kind) + " " + std::to_string(x) + " " + std::to_string(y) + "\n");
}

bool WakeProgram(pid_t pid) { return Tell(pid, "wake\n"); }

}  // namespace gui

bool TapInProgram(int pid, int x, int y) {
  if (!gui::Alive(pid)) return false;
  int fd = gui::Connect(pid);
  if (fd < 0) return false;
  std::string request = "tap " + std::to_string(x) + " " + std::to_string(y) + "\n";
  bool ok = write(fd, request.data(), request.size()) == static_cast<ssize_t>(request.size());
  char reply[16] = {};
  pollfd p{fd, POLLIN, 0};
  ok = ok && poll(&p, 1, 2000) > 0 && read(fd, reply, sizeof(reply) - 1) > 0 && std::strncmp(reply, "ok", 2) == 0;
  close(fd);
  return ok;
}

}  // namespace panel
