// The screen the programs draw on and the seams tests and tools use: the display backend in force,
// taps, the draw log, pixel reads, PNG dumps and the message pump for code that runs no loop.
//
// Each program draws its own windows into a 480 x 272 framebuffer of its own; the programs of one
// board root share one screen composed from them (the board, below). Backends: "headless" keeps the
// board's picture only; "sdl" shows it in one SDL2 window for the whole board, scaled by
// PANEL_SDL_SCALE (default 2), the mouse acting as the finger for the program on top. PANEL_DISPLAY
// chooses; without it, sdl when a display server is reachable ($DISPLAY or $WAYLAND_DISPLAY), else
// headless. With PANEL_SCREEN_DUMP=1 the board's screen is written to $PANEL_ROOT/run/screen.png
// whenever it changed. GUI thread only, except where a call says otherwise.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CString.h"
#include "GuiTypes.h"

namespace panel {

constexpr int kScreenWidth = 480;
constexpr int kScreenHeight = 272;

// The backend in force ("headless" or "sdl"); chosen on first use.
std::string DisplayName();
// Switches to a backend by name; false (and headless) when it cannot start. Every window is destroyed
// first and the screen starts black.
bool UseDisplay(const std::string& name);

// Input, as the finger gives it: queued and delivered by the next message loop or PumpMessages.
// Thread-safe.
void PressAt(int x, int y);
void MoveTo(int x, int y);
void ReleaseAt(int x, int y);
void TapAt(int x, int y);  // press and release at one point
// A tap into another GUI program of the board, through its window socket (tools drive a headless
// terminal this way); false when the program is not there.
bool TapInProgram(int pid, int x, int y);
// The cursor position last set by SetCursorPos or the last input.
POINT CursorPos();

// Delivers everything pending without waiting: messages posted or sent, input, paints and the timers
// that are due; then shows the screen. Returns the number of messages handled.
int PumpMessages();

// Called by a waiting message loop when nothing is pending. The hook returns 0 when it acted (the
// loop looks again at once), or the number of milliseconds after which it wants to run again
// (INFINITE for never). Under the virtual clock a loop with nothing to do moves time to the next
// timer or hook time; with neither it gives up: the innermost modal loop ends with -1.
void SetIdleHook(std::function<DWORD()> hook);

// A script of steps for code that runs its own modal loops: each step runs at one idle moment, after
// everything the previous step caused has been handled; Wait lets virtual time pass. Installs itself
// as the idle hook for its lifetime.
class ScriptedInput {
public:
  ScriptedInput();
  ~ScriptedInput();
  ScriptedInput& Then(std::function<void()> step);
  ScriptedInput& Tap(int x, int y);
  ScriptedInput& Wait(DWORD milliseconds);
  bool Done() const;

private:
  struct Step {
    std::function<void()> action;
    DWORD waitMs = 0;
  };
  DWORD Run();
  std::vector<Step> m_steps;
  size_t m_next = 0;
  bool m_waiting = false;
  uint64_t m_waitUntil = 0;
};

// The draw log and the picture log below are for tests: they are kept only while asked for (a
// HeadlessScreen asks for its lifetime), so a program that runs for years keeps neither, and its paints
// skip the glyph boxes and landed pixels that only the logs would tell. Turning them off empties them.
void KeepDrawLog(bool keep);
bool DrawLogKept();

// Every text drawn (DrawText, TextOut, ExtTextOut) while the log is kept, oldest first, at most the
// last 20000.
struct DrawnText {
  HWND window = nullptr;  // the window drawn on, or being painted when the target was a memory bitmap
  CString text;
  RECT rect{};            // screen coordinates (memory bitmap coordinates when offscreen)
  COLORREF color = 0;
  CString face;           // the face asked for
  LONG height = 0;        // lfHeight of the font
  int pixelSize = 0;      // the em size rendered
  LONG weight = 0;
  UINT format = 0;        // DrawText format, or 0x80000000 | TextOut alignment
  bool offscreen = false;
  // Whether the text fits what draws it, in the coordinates of rect:
  RECT ink{};             // the glyphs as laid out, before any clipping; empty when none has ink
  RECT bounds{};          // what the text is held to: the window's part that its parents let show
                          // (offscreen: the bitmap), the DrawText rectangle unless DT_NOCLIP, the
                          // context's own clip; ink outside it is cut off
  RECT shown{};           // the bounding box of the ink that reached the pixels (windows above, the
                          // area being painted); empty when none did
  bool covered = false;   // some of the ink inside bounds did not reach them
  bool shortened = false; // DT_END_ELLIPSIS put "..." in place of its end
};
std::vector<DrawnText> DrawLog();
// Every picture drawn scaled or keyed (StretchBlt, TransparentImage): button faces and value plates,
// which texts are drawn over. Backgrounds and pieces of them are copied plainly and not listed. At
// most the last 20000; cleared with the text log.
struct DrawnPicture {
  HWND window = nullptr;  // as DrawnText::window
  RECT rect{};            // the box its pixels landed in (a keyed picture's key colour left out),
                          // coordinates as DrawnText::rect
  RECT shown{};           // as DrawnText::shown
  bool covered = false;   // some of its pixels (not the key colour's) did not reach the screen
  bool offscreen = false;
};
std::vector<DrawnPicture> PictureLog();
void ClearDrawLog();
// The last entry whose text is exactly text, or null; valid until the next text is drawn.
const DrawnText* FindDrawnText(const char16_t* text);
// Texts drawn on a window or its descendants since the log was cleared, in order.
std::vector<CString> TextsDrawnOn(HWND window);

// Pixels of the screen as this program drew it (its own windows) as COLORREF; CLR_INVALID outside it.
COLORREF ScreenPixel(int x, int y);
bool SaveScreenPng(const std::string& path);

// The board's screen, shared by every GUI program of the board root (any of them, or a test or tool
// on the same root, may look): the top-level windows of all programs in one z-order, topmost ones
// above the others, then the one shown or raised last on top; composed from each program's picture
// as it last handed it over (when it was idle).
struct BoardWindow {
  HWND hwnd = nullptr;
  int pid = 0;
  RECT rect{};  // screen coordinates
  bool shown = false;
  bool topmost = false;
};
std::vector<BoardWindow> BoardWindows();  // top of the board first
std::vector<COLORREF> BoardPicture();     // 480 x 272, row by row
COLORREF BoardPixel(int x, int y);        // CLR_INVALID outside the screen
bool SaveBoardPng(const std::string& path);
// A tap as the panel's finger gives it: to the program whose window is on top at the point. False
// when no window is there or its program could not be reached.
bool TapOnBoard(int x, int y);
// A bitmap's pixels as a PNG (tools that draw the program's bitmaps, tests); false for a bad handle.
bool SaveBitmapPng(HBITMAP bitmap, const std::string& path);
// Screenshot check: compares the screen with a reference PNG. A missing reference fails; a mismatch
// writes <reference without .png>_err.png beside it. With PANEL_UPDATE_SCREENSHOTS=1 the reference is
// rewritten and the check passes.
bool MatchesScreenshot(const std::string& referencePng, std::string* message);

// Backend test hooks: the pointer as the backend's own device gives it, in window pixels (sdl: of the
// scaled window), handed to the program on top, and the colour the backend shows at a screen pixel
// (sdl: read back from its window). Headless treats window pixels as screen pixels and shows the
// board's picture.
void InjectDevicePointer(int windowX, int windowY, bool down);
COLORREF ShownPixel(int x, int y);

// Sees every message dispatched to a window procedure (sent or posted), before the procedure.
void SetMessageSpy(std::function<void(HWND, UINT, WPARAM, LPARAM)> spy);

// For tests: a headless screen from a clean state (no windows, timers, queued messages, captured or
// focused window, font files, cursor or log), with the draw log kept, restored to clean again (and the
// log kept as before) when it goes out of scope.
class HeadlessScreen {
public:
  HeadlessScreen();
  ~HeadlessScreen();
  HeadlessScreen(const HeadlessScreen&) = delete;
  HeadlessScreen& operator=(const HeadlessScreen&) = delete;

private:
  bool m_logKeptBefore = false;
};

// Destroys every window and forgets all GUI state (used by HeadlessScreen and UseDisplay).
void ResetGui();

}  // namespace panel
