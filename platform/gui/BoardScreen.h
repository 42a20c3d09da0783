// The board's one screen, shared by every GUI program of a board root. Each program hands the board
// the picture of its own windows (drawn as if it were alone) and the places of its top-level windows:
// their rectangles, whether they are shown or topmost, and a stamp that orders them among every
// program's windows (a window raised takes a stamp above all others). The board's picture is composed
// from these: at each pixel, the program whose window is on top there gives the pixel. So a window
// hidden or a program gone uncovers what lies below at once, from the picture the program below keeps.
//
// The board lives in the shared mapping $PANEL_ROOT/run/screen.board, guarded by a robust process-shared
// mutex (a program that dies holding it does not block the others); every program attached holds a
// shared flock on it, so the first one to attach when no other is attached starts it afresh. Programs
// that ended without leaving (a crash) are dropped by the next one that looks. Without a root the
// program has a board of its own in private memory. Internal to the layer.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Display.h"
#include "Surface.h"

namespace panel {
namespace gui {

struct SharedWindow {
  enum : uint32_t { kShown = 1, kTopmost = 2 };
  uint64_t hwnd = 0;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int64_t stamp = 0;
  uint32_t flags = 0;
  uint32_t reserved = 0;
  bool operator==(const SharedWindow& o) const {
    return hwnd == o.hwnd && left == o.left && top == o.top && right == o.right && bottom == o.bottom &&
           stamp == o.stamp && flags == o.flags;
  }
  bool operator!=(const SharedWindow& o) const { return !(*this == o); }
};

struct BoardLayout;

class BoardScreen {
public:
  // The board of a root (created when it does not exist yet); null when its file cannot be mapped.
  static std::shared_ptr<BoardScreen> Open(const std::string& root);
  // A board in private memory, for a program that runs without a root.
  static std::shared_ptr<BoardScreen> Private();
  ~BoardScreen();
  BoardScreen(const BoardScreen&) = delete;
  BoardScreen& operator=(const BoardScreen&) = delete;

  const std::string& Root() const { return m_root; }
  bool IsPrivate() const { return m_fd < 0; }

  // Stamps above (below) every window of the board.
  int64_t TopStamp();
  int64_t BottomStamp();

  // Hands this program's picture (copied when it changed or the program is new on the board) and its
  // top-level windows, top of its own z-order first, to the board. False when the board has no room
  // for another program.
  bool Publish(const Surface& picture, bool pictureChanged, const std::vector<SharedWindow>& windows);
  // Takes this program off the board.
  void Leave();
  // Drops the windows of programs that ended without leaving; true when there were any.
  bool Sweep();

  // The board's picture; returns the board's generation it shows (every change counts).
  uint64_t Compose(Surface& out);
  uint64_t Generation();
  // Every window on the board, top first, with the program that owns it.
  std::vector<BoardWindow> Windows();
  // The program whose shown window is on top at a screen point; 0 when none is.
  pid_t ProgramAt(int x, int y);

  // The program showing the board on a device (0 for none). Showing it takes the board's display
  // name, a datagram socket name the kernel holds for the program (a private board has none): the
  // socket, or -1 when another program holds the name. Programs tell the one showing the board that
  // it changed by a datagram to that name.
  pid_t Presenter();
  void SetPresenter(pid_t pid);
  int ClaimDisplay();
  void TellPresenter();
  // Writes the board's picture to run/screen.png unless a newer one was composed meanwhile.
  void Dump();
  // Whether a program of the board is still running.
  static bool Alive(pid_t pid);

private:
  BoardScreen() = default;
  class Lock;
  struct Placed;
  std::vector<Placed> Ordered();
  int OwnSlot(bool claim);

  std::string m_root;
  std::string m_displayName;
  int m_fd = -1;
  BoardLayout* m_layout = nullptr;
};

// The board of the root in force for this program (attached on first use and again when the root
// changed); GUI thread.
std::shared_ptr<BoardScreen> CurrentBoard();
// Attaches to the root in force if it changed; true when the board is another one than before.
bool FollowBoard();

// Input as the panel's finger gives it: a press goes to the program whose window is on top at the
// point (this program's own queue, or another's through its window socket), moves and the release to
// the one that got the press. Thread-safe. False when no program took it.
bool RouteInput(BoardScreen& board, int kind, int x, int y);

}  // namespace gui
}  // namespace panel
