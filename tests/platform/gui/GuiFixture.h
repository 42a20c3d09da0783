// Shared set-up of the GUI layer's tests: virtual time, a fresh board root, a clean headless screen
// and a resource folder of the test's own, with helpers that write dialog templates and bitmaps there.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Clock.h"
#include "Gui.h"
#include "Paths.h"
#include "TempRoot.h"

namespace guitest {

class GuiTest : public ::testing::Test {
protected:
  GuiTest() {
    m_resources = m_root / "res";
    panel::MakeDirs(m_resources);
    panel::SetResourceDir(m_resources);
  }
  ~GuiTest() override { panel::SetResourceDir(""); }

  void WriteDialog(UINT id, const std::string& text) {
    panel::WriteTextFile(m_resources + "/dialogs/" + std::to_string(id) + ".dlg", text);
  }

  // A bitmap resource drawn pixel by pixel.
  void WriteBitmap(UINT id, int width, int height, const std::function<COLORREF(int, int)>& color) {
    HBITMAP b = CreateCompatibleBitmap(nullptr, width, height);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) SetPixel(dc, x, y, color(x, y));
    }
    SelectObject(dc, old);
    DeleteDC(dc);
    panel::MakeDirs(m_resources + "/bitmaps");
    ASSERT_TRUE(panel::SaveBitmapPng(b, m_resources + "/bitmaps/" + std::to_string(id) + ".png"));
    DeleteObject(b);
  }

  panel::ScopedVirtualClock m_clock;
  testing_support::TempRoot m_root;
  panel::HeadlessScreen m_screen;
  std::string m_resources;
};

// Pumps this program's messages until condition holds, for at most 15 s of real time: for tests in
// which another program acts.
template <typename F>
bool PumpUntil(F condition) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (std::chrono::steady_clock::now() < deadline) {
    panel::PumpMessages();
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return false;
}

// Records the messages that reach windows, as (window, message) pairs, filtered to those asked for.
class MessageLog {
public:
  explicit MessageLog(std::vector<UINT> watched) : m_watched(std::move(watched)) {
    panel::SetMessageSpy([this](HWND h, UINT m, WPARAM, LPARAM) {
      for (UINT w : m_watched) {
        if (w == m) m_seen.push_back({h, m});
      }
    });
  }
  ~MessageLog() { panel::SetMessageSpy(nullptr); }
  struct Seen {
    HWND hwnd;
    UINT message;
    bool operator==(const Seen& o) const { return hwnd == o.hwnd && message == o.message; }
  };
  std::vector<Seen> Take() {
    std::vector<Seen> s;
    s.swap(m_seen);
    return s;
  }

private:
  std::vector<UINT> m_watched;
  std::vector<Seen> m_seen;
};

inline std::ostream& operator<<(std::ostream& os, const MessageLog::Seen& s) {
  return os << "{" << s.hwnd << ", 0x" << std::hex << s.message << std::dec << "}";
}

// A plain top-level or child window of a class whose procedure the test gives.
inline HWND MakeWindow(const char16_t* text, DWORD style, int x, int y, int w, int h, HWND parent = nullptr,
                       int id = 0, const char16_t* cls = u"STATIC") {
  return CreateWindowExW(0, cls, text, style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

}  // namespace guitest

namespace guitest {

// "TestPanel": a window that paints its client area in the COLORREF kept in GWL_USERDATA.
inline LRESULT PanelProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_ERASEBKGND) return 1;
  if (m == WM_PAINT) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT r;
    GetClientRect(h, &r);
    HBRUSH b = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(h, GWL_USERDATA)));
    FillRect(dc, &r, b);
    DeleteObject(b);
    EndPaint(h, &ps);
    return 0;
  }
  return DefWindowProcW(h, m, w, l);
}

inline HWND MakePanel(COLORREF color, DWORD style, int x, int y, int w, int h, HWND parent = nullptr, int id = 0) {
  static bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PanelProc;
    wc.lpszClassName = u"TestPanel";
    RegisterClassW(&wc);
    return true;
  }();
  (void)registered;
  HWND hwnd = MakeWindow(u"", style, x, y, w, h, parent, id, u"TestPanel");
  SetWindowLongPtrW(hwnd, GWL_USERDATA, static_cast<LONG_PTR>(color));
  return hwnd;
}

}  // namespace guitest
