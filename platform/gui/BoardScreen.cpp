// The board's shared screen: the mapping, the programs' slots, the board's z-order and the composed
// picture, and the routing of the finger's input to the program on top.
#include "BoardScreen.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "Debug.h"
#include "GuiState.h"
#include "Paths.h"
#include "Png.h"

namespace panel {
namespace gui {

namespace {

const uint32_t kMagic = 0x31445351;  // "QSD1"
const int kSlots = 8;
const int kSlotWindows = 32;
const int kPixels = kScreenWidth * kScreenHeight;
// Raises are this far apart, so a program can place its own windows between two of them (owned
// pop-ups just above their owner) without passing another program's window.
const int64_t kStampGap = int64_t{1} << 20;

}  // namespace

// One program's part of the board: its picture (as if it were alone on the screen) and its windows.
struct BoardSlot {
  int32_t pid;  // 0: free
  uint32_t windowCount;
  uint64_t generation;
  SharedWindow windows[kSlotWindows];  // top of the program's own z-order first
  uint32_t pixels[kPixels];
};

// The shared mapping; everything below the magic under the lock.
struct BoardLayout {
  uint32_t magic;
  uint32_t size;
  pthread_mutex_t lock;
  int64_t topStamp;     // the last stamp a raised window took
  int64_t bottomStamp;  // the last stamp a window sent to the bottom took
  int32_t presenter;    // the program showing the board on a device, 0 for none
  uint32_t reserved;
  uint64_t generation;  // every change of a picture or a window place counts
  BoardSlot slots[kSlots];
};

namespace {

// On zeroed memory.
void InitLayout(BoardLayout* layout, bool shared) {
  pthread_mutexattr_t attr;
  pthread_mutexattr_init(&attr);
  if (shared) {
    pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
  }
  pthread_mutex_init(&layout->lock, &attr);
  pthread_mutexattr_destroy(&attr);
  layout->topStamp = int64_t{1} << 40;
  layout->bottomStamp = int64_t{1} << 40;
  layout->size = sizeof(BoardLayout);
  __atomic_store_n(&layout->magic, kMagic, __ATOMIC_RELEASE);
}

RECT RectOf(const SharedWindow& w) { return MakeRect(w.left, w.top, w.right, w.bottom); }

// "panel-display/<root>", the resolved root as a hash: the programs of one board meet there.
std::string DisplayName(const std::string& root) {
  std::string resolved = root;
  char buffer[PATH_MAX];
  if (realpath(root.c_str(), buffer)) resolved = buffer;
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : resolved) {
    h ^= c;
    h *= 1099511628211ull;
  }
  char text[64];
  std::snprintf(text, sizeof text, "panel-display/%016llx", static_cast<unsigned long long>(h));
  return text;
}

socklen_t AbstractAddress(const std::string& name, sockaddr_un& addr) {
  addr = sockaddr_un{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, name.data(), name.size());  // sun_path[0] = 0: abstract
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

}  // namespace

class BoardScreen::Lock {
public:
  explicit Lock(BoardLayout* layout) : m_mutex(&layout->lock) {
    // A program that died holding the lock left the board as it was: good enough to go on from.
    if (pthread_mutex_lock(m_mutex) == EOWNERDEAD) pthread_mutex_consistent(m_mutex);
  }
  ~Lock() { pthread_mutex_unlock(m_mutex); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

private:
  pthread_mutex_t* m_mutex;
};

struct BoardScreen::Placed {
  int slot = 0;
  int index = 0;
  SharedWindow window;
};

std::shared_ptr<BoardScreen> BoardScreen::Open(const std::string& root) {
  const std::string dir = root + "/run";
  MakeDirs(dir);
  // Attaching is one at a time, so whoever finds nobody attached can start the board afresh.
  int gate = open((dir + "/screen.board.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (gate < 0) return nullptr;
  while (flock(gate, LOCK_EX) != 0 && errno == EINTR) {
  }
  std::shared_ptr<BoardScreen> board;
  int fd = open((dir + "/screen.board").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd >= 0) {
    bool alone = flock(fd, LOCK_EX | LOCK_NB) == 0;
    bool sized = !alone || ftruncate(fd, 0) == 0;
    sized = sized && (!alone || ftruncate(fd, sizeof(BoardLayout)) == 0);
    struct stat st{};
    sized = sized && fstat(fd, &st) == 0 && static_cast<size_t>(st.st_size) == sizeof(BoardLayout);
    void* mapped = sized ? mmap(nullptr, sizeof(BoardLayout), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0) : MAP_FAILED;
    if (mapped != MAP_FAILED) {
      auto* layout = static_cast<BoardLayout*>(mapped);
      if (alone) InitLayout(layout, true);
      flock(fd, LOCK_SH);  // held while attached: the next one to find it free starts afresh
      if (__atomic_load_n(&layout->magic, __ATOMIC_ACQUIRE) == kMagic && layout->size == sizeof(BoardLayout)) {
        board.reset(new BoardScreen());
        board->m_root = root;
        board->m_displayName = DisplayName(root);
        board->m_fd = fd;
        board->m_layout = layout;
        fd = -1;
      } else {
        munmap(mapped, sizeof(BoardLayout));
      }
    }
    if (fd >= 0) close(fd);
  }
  flock(gate, LOCK_UN);
  close(gate);
  return board;
}

std::shared_ptr<BoardScreen> BoardScreen::Private() {
  std::shared_ptr<BoardScreen> board(new BoardScreen());
  board->m_layout = static_cast<BoardLayout*>(::operator new(sizeof(BoardLayout)));
  std::memset(static_cast<void*>(board->m_layout), 0, sizeof(BoardLayout));
  InitLayout(board->m_layout, false);
  return board;
}

BoardScreen::~BoardScreen() {
  if (!m_layout) return;
  if (m_fd >= 0) {
    munmap(m_layout, sizeof(BoardLayout));
    close(m_fd);
  } else {
    pthread_mutex_destroy(&m_layout->lock);
    ::operator delete(m_layout);
  }
}

namespace {

// The programs of the board are looked at on every idle moment: each is held by a process descriptor,
// which tells its end (also before its parent has reaped it) without reading /proc each time.
struct HeldPrograms {
  std::mutex lock;
  std::map<pid_t, int> fds;
};

HeldPrograms& Held() {
  static auto* held = new HeldPrograms();  // to the end of the process: exit handlers look at the board
  return *held;
}

// Where no process descriptor can be had: an ended program its parent has not reaped yet shows nothing.
bool AliveByProc(pid_t pid) {
  if (kill(pid, 0) != 0 && errno != EPERM) return false;
  std::string stat;
  if (!ReadTextFile("/proc/" + std::to_string(pid) + "/stat", stat)) return true;
  size_t close = stat.rfind(')');
  return close == std::string::npos || close + 2 >= stat.size() || stat[close + 2] != 'Z';
}

// Lets go of the programs that are not on the board any more.
void HoldOnly(const std::vector<pid_t>& board) {
  HeldPrograms& held = Held();
  std::lock_guard<std::mutex> guard(held.lock);
  for (auto it = held.fds.begin(); it != held.fds.end();) {
    if (std::find(board.begin(), board.end(), it->first) != board.end()) {
      ++it;
      continue;
    }
    close(it->second);
    it = held.fds.erase(it);
  }
}

}  // namespace

bool BoardScreen::Alive(pid_t pid) {
  if (pid <= 0) return false;
  if (pid == getpid()) return true;
  HeldPrograms& held = Held();
  std::lock_guard<std::mutex> guard(held.lock);
  auto it = held.fds.find(pid);
  if (it == held.fds.end()) {
    const int fd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (fd < 0) return errno == ESRCH ? false : AliveByProc(pid);
    it = held.fds.emplace(pid, fd).first;
  }
  pollfd ended{it->second, POLLIN, 0};
  if (poll(&ended, 1, 0) == 0) return true;
  // Ended: a program that takes the number later is another one, held anew.
  close(it->second);
  held.fds.erase(it);
  return false;
}

int BoardScreen::OwnSlot(bool claim) {
  const pid_t self = getpid();
  for (int i = 0; i < kSlots; ++i) {
    if (m_layout->slots[i].pid == self) return i;
  }
  if (!claim) return -1;
  for (int i = 0; i < kSlots; ++i) {
    BoardSlot& slot = m_layout->slots[i];
    if (slot.pid != 0 && Alive(slot.pid)) continue;
    slot.pid = self;
    slot.windowCount = 0;
    std::fill(slot.pixels, slot.pixels + kPixels, 0u);
    return i;
  }
  return -1;
}

int64_t BoardScreen::TopStamp() {
  Lock lock(m_layout);
  return m_layout->topStamp += kStampGap;
}

int64_t BoardScreen::BottomStamp() {
  Lock lock(m_layout);
  return m_layout->bottomStamp -= kStampGap;
}

bool BoardScreen::Publish(const Surface& picture, bool pictureChanged, const std::vector<SharedWindow>& windows) {
  Lock lock(m_layout);
  const bool had = OwnSlot(false) >= 0;
  // A program with no window takes no room (a test or tool that only looks).
  int index = OwnSlot(!windows.empty());
  if (index < 0) return windows.empty();
  BoardSlot& slot = m_layout->slots[index];
  if ((pictureChanged || !had) && picture.Width() == kScreenWidth && picture.Height() == kScreenHeight) {
    std::memcpy(slot.pixels, picture.Pixels().data(), sizeof(slot.pixels));
  }
  slot.windowCount = static_cast<uint32_t>(std::min<size_t>(windows.size(), kSlotWindows));
  std::copy(windows.begin(), windows.begin() + slot.windowCount, slot.windows);
  ++slot.generation;
  ++m_layout->generation;
  return true;
}

void BoardScreen::Leave() {
  Lock lock(m_layout);
  int index = OwnSlot(false);
  if (index >= 0) {
    m_layout->slots[index].pid = 0;
    m_layout->slots[index].windowCount = 0;
    ++m_layout->generation;
  }
  if (m_layout->presenter == getpid()) m_layout->presenter = 0;
}

bool BoardScreen::Sweep() {
  const pid_t self = getpid();
  bool found = false;
  std::vector<pid_t> onBoard;
  for (int i = 0; i < kSlots; ++i) {
    pid_t pid = __atomic_load_n(&m_layout->slots[i].pid, __ATOMIC_RELAXED);
    if (pid == 0 || pid == self) continue;
    onBoard.push_back(pid);
    found = found || !Alive(pid);
  }
  onBoard.push_back(__atomic_load_n(&m_layout->presenter, __ATOMIC_RELAXED));
  HoldOnly(onBoard);
  if (!found) return false;
  Lock lock(m_layout);
  for (BoardSlot& slot : m_layout->slots) {
    if (slot.pid == 0 || slot.pid == self || Alive(slot.pid)) continue;
    slot.pid = 0;
    slot.windowCount = 0;
    ++m_layout->generation;
  }
  if (m_layout->presenter && !Alive(m_layout->presenter)) m_layout->presenter = 0;
  return true;
}

// Every window of the programs still running, top of the board first: topmost ones above the others,
// then the one raised last first.
std::vector<BoardScreen::Placed> BoardScreen::Ordered() {
  std::vector<Placed> placed;
  for (int i = 0; i < kSlots; ++i) {
    const BoardSlot& slot = m_layout->slots[i];
    if (slot.pid == 0 || !Alive(slot.pid)) continue;
    const uint32_t count = std::min<uint32_t>(slot.windowCount, kSlotWindows);
    for (uint32_t w = 0; w < count; ++w) placed.push_back(Placed{i, static_cast<int>(w), slot.windows[w]});
  }
  std::stable_sort(placed.begin(), placed.end(), [](const Placed& a, const Placed& b) {
    const bool aTop = (a.window.flags & SharedWindow::kTopmost) != 0;
    const bool bTop = (b.window.flags & SharedWindow::kTopmost) != 0;
    if (aTop != bTop) return aTop;
    if (a.window.stamp != b.window.stamp) return a.window.stamp > b.window.stamp;
    if (a.slot != b.slot) return a.slot < b.slot;
    return a.index < b.index;
  });
  return placed;
}

uint64_t BoardScreen::Compose(Surface& out) {
  Lock lock(m_layout);
  const RECT screen = MakeRect(0, 0, kScreenWidth, kScreenHeight);
  Region bare(screen);
  for (const Placed& p : Ordered()) {
    if (!(p.window.flags & SharedWindow::kShown)) continue;
    RECT r;
    if (!Intersect(RectOf(p.window), screen, r)) continue;
    Region piece = bare;
    piece.Intersect(r);
    const uint32_t* source = m_layout->slots[p.slot].pixels;
    for (const RECT& part : piece.Rects()) {
      const size_t width = static_cast<size_t>(part.right - part.left);
      for (int y = part.top; y < part.bottom; ++y) {
        std::memcpy(out.Row(y) + part.left, source + static_cast<size_t>(y) * kScreenWidth + part.left, width * 4);
      }
    }
    bare.Subtract(r);
    if (bare.IsEmpty()) break;
  }
  for (const RECT& part : bare.Rects()) {
    for (int y = part.top; y < part.bottom; ++y) std::fill(out.Row(y) + part.left, out.Row(y) + part.right, 0u);
  }
  out.Touch();
  return m_layout->generation;
}

uint64_t BoardScreen::Generation() {
  Lock lock(m_layout);
  return m_layout->generation;
}

std::vector<BoardWindow> BoardScreen::Windows() {
  Lock lock(m_layout);
  std::vector<BoardWindow> windows;
  for (const Placed& p : Ordered()) {
    BoardWindow w;
    w.hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(p.window.hwnd));
    w.pid = m_layout->slots[p.slot].pid;
    w.rect = RectOf(p.window);
    w.shown = (p.window.flags & SharedWindow::kShown) != 0;
    w.topmost = (p.window.flags & SharedWindow::kTopmost) != 0;
    windows.push_back(w);
  }
  return windows;
}

pid_t BoardScreen::ProgramAt(int x, int y) {
  Lock lock(m_layout);
  for (const Placed& p : Ordered()) {
    const SharedWindow& w = p.window;
    if ((w.flags & SharedWindow::kShown) && x >= w.left && x < w.right && y >= w.top && y < w.bottom) {
      return m_layout->slots[p.slot].pid;
    }
  }
  return 0;
}

void BoardScreen::Dump() {
  Surface picture(kScreenWidth, kScreenHeight);
  const uint64_t generation = Compose(picture);
  const std::string path = IsPrivate() ? RunPath("screen.png") : m_root + "/run/screen.png";
  const std::string mine = path + "." + std::to_string(getpid());
  if (!SavePng(mine, picture)) return;
  // Only the newest picture takes the name: another program may have composed a later one meanwhile.
  Lock lock(m_layout);
  if (m_layout->generation == generation) {
    std::rename(mine.c_str(), path.c_str());
  } else {
    std::remove(mine.c_str());
  }
}

pid_t BoardScreen::Presenter() {
  Lock lock(m_layout);
  return m_layout->presenter;
}

void BoardScreen::SetPresenter(pid_t pid) {
  Lock lock(m_layout);
  m_layout->presenter = pid;
}

int BoardScreen::ClaimDisplay() {
  if (IsPrivate()) return -1;
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_un addr;
  socklen_t size = AbstractAddress(m_displayName, addr);
  if (bind(fd, reinterpret_cast<sockaddr*>(&addr), size) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

void BoardScreen::TellPresenter() {
  if (IsPrivate()) return;
  static int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return;
  sockaddr_un addr;
  socklen_t size = AbstractAddress(m_displayName, addr);
  const char changed = 'c';
  // Nobody there, or a full queue that will be read anyway: nothing to do either way.
  ssize_t ignored = sendto(fd, &changed, 1, MSG_DONTWAIT | MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&addr), size);
  (void)ignored;
}

namespace {

std::shared_ptr<BoardScreen>& Attached() {
  static auto* board = new std::shared_ptr<BoardScreen>();  // to the end of the process: the exit handler uses it
  return *board;
}

bool Dumping() {
  const char* dump = std::getenv("PANEL_SCREEN_DUMP");
  return dump && *dump && *dump != '0';
}

// Takes this program's windows off the board it leaves.
void Depart(BoardScreen& board) {
  board.Leave();
  if (State().backend) State().backend->Left(board);
  if (Dumping()) board.Dump();
}

void LeaveAtExit() {
  if (std::shared_ptr<BoardScreen> board = Attached()) Depart(*board);
}

bool RootExists(const std::string& root) {
  struct stat st{};
  return stat(root.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool FollowBoard() {
  std::shared_ptr<BoardScreen>& board = Attached();
  static auto* followed = new std::string();  // the root (and whether it existed) the board is for
  static bool existed = false;
  const std::string root = PanelRoot();
  const bool exists = RootExists(root);
  if (board && root == *followed && exists == existed) return false;
  *followed = root;
  existed = exists;
  if (board) Depart(*board);
  std::shared_ptr<BoardScreen> next = exists ? BoardScreen::Open(root) : nullptr;
  if (!next) {
    if (exists) OutputDebugStringW(FromUtf8("display: cannot share the screen of " + root).c_str());
    next = BoardScreen::Private();
  }
  static bool registered = false;
  if (!registered) {
    registered = true;
    std::atexit(LeaveAtExit);
  }
  board = next;
  return true;
}

std::shared_ptr<BoardScreen> CurrentBoard() {
  if (!Attached()) FollowBoard();
  return Attached();
}

bool RouteInput(BoardScreen& board, int kind, int x, int y) {
  static auto* lock = new std::mutex();  // to the end of the process: the display thread may still route
  static pid_t pressed = 0;
  pid_t target = 0;
  {
    std::lock_guard<std::mutex> guard(*lock);
    if (kind == 0 || pressed == 0) pressed = board.ProgramAt(x, y);
    target = pressed;
    if (kind == 2) pressed = 0;
  }
  if (target == 0) return false;
  if (target == getpid()) {
    QueueInput(kind, x, y);
    return true;
  }
  return SendInput(target, kind, x, y);
}

}  // namespace gui
}  // namespace panel
