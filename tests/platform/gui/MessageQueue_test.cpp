#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;
using guitest::MakePanel;
using guitest::MessageLog;

class MessageQueue : public GuiTest {
protected:
  HWND m_window = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
};

TEST_F(MessageQueue, LateTimer_FiresOnceWithoutCatchingUp) {
  SetTimer(m_window, 1, 100, nullptr);
  MessageLog log({WM_TIMER});
  m_clock->Advance(1000);  // ten periods pass with nobody pumping
  panel::PumpMessages();
  EXPECT_EQ(log.Take().size(), 1u);
  m_clock->Advance(99);
  panel::PumpMessages();
  EXPECT_TRUE(log.Take().empty());  // the missed periods are gone: the next is a whole one away
  m_clock->Advance(1);
  panel::PumpMessages();
  EXPECT_EQ(log.Take().size(), 1u);
  EXPECT_TRUE(KillTimer(m_window, 1));
  m_clock->Advance(1000);
  panel::PumpMessages();
  EXPECT_TRUE(log.Take().empty());
  EXPECT_FALSE(KillTimer(m_window, 1));
}

TEST_F(MessageQueue, LateTick_DoesNotPushTheTimersBeatBack) {
  SetTimer(m_window, 1, 1000, nullptr);
  MessageLog log({WM_TIMER});
  m_clock->Advance(1400);  // the first tick comes 400 ms late
  panel::PumpMessages();
  EXPECT_EQ(log.Take().size(), 1u);
  m_clock->Advance(599);
  panel::PumpMessages();
  EXPECT_TRUE(log.Take().empty());
  m_clock->Advance(1);  // 2000: on the beat, not a whole period after the late tick
  panel::PumpMessages();
  EXPECT_EQ(log.Take().size(), 1u);
  m_clock->Advance(2500);  // 4500: the beats of 3000 and 4000 give one tick
  panel::PumpMessages();
  EXPECT_EQ(log.Take().size(), 1u);
  m_clock->Advance(499);
  panel::PumpMessages();
  EXPECT_TRUE(log.Take().empty());
  m_clock->Advance(1);  // 5000
  panel::PumpMessages();
  EXPECT_EQ(log.Take().size(), 1u);
}

TEST_F(MessageQueue, Timers_FireInDueOrderWhileTheLoopWaits) {
  SetTimer(m_window, 1, 100, nullptr);
  SetTimer(m_window, 2, 250, nullptr);
  std::vector<std::pair<DWORD, WPARAM>> fired;
  DWORD start = GetTickCount();
  MSG msg;
  while (fired.size() < 5 && GetMessageW(&msg, nullptr, 0, 0)) {
    if (msg.message == WM_TIMER) fired.push_back({GetTickCount() - start, msg.wParam});
    DispatchMessageW(&msg);
  }
  std::vector<std::pair<DWORD, WPARAM>> expected = {{100, 1}, {200, 1}, {250, 2}, {300, 1}, {400, 1}};
  EXPECT_EQ(fired, expected);
}

TEST_F(MessageQueue, Retrieval_PostedThenInputThenPaintThenTimer) {
  panel::PumpMessages();
  SetTimer(m_window, 1, 10, nullptr);
  m_clock->Advance(10);
  InvalidateRect(m_window, nullptr, TRUE);
  panel::TapAt(5, 5);
  PostMessageW(m_window, WM_USER + 5, 0, 0);
  MessageLog log({WM_USER + 5, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT, WM_TIMER});
  panel::PumpMessages();
  std::vector<MessageLog::Seen> expected = {{m_window, WM_USER + 5}, {m_window, WM_LBUTTONDOWN},
                                            {m_window, WM_LBUTTONUP}, {m_window, WM_PAINT},
                                            {m_window, WM_TIMER}};
  EXPECT_EQ(log.Take(), expected);
}

LRESULT EchoProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) {
    SetWindowLongPtrW(h, GWL_USERDATA, static_cast<LONG_PTR>(std::hash<std::thread::id>()(std::this_thread::get_id())));
    return static_cast<LRESULT>(w + 40);
  }
  return DefWindowProcW(h, m, w, l);
}

TEST_F(MessageQueue, SendFromAnotherThread_RunsOnTheGuiThread) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = EchoProc;
  wc.lpszClassName = u"Echo";
  RegisterClassW(&wc);
  HWND echo = guitest::MakeWindow(u"", WS_POPUP, 0, 0, 1, 1, nullptr, 0, u"Echo");
  std::atomic<LRESULT> answer{-1};
  std::thread sender([&] { answer = SendMessageW(echo, WM_USER, 2, 0); });
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (answer == -1 && std::chrono::steady_clock::now() < deadline) {
    panel::PumpMessages();
    std::this_thread::yield();
  }
  sender.join();
  EXPECT_EQ(answer, 42);
  EXPECT_EQ(static_cast<size_t>(GetWindowLongPtrW(echo, GWL_USERDATA)),
            std::hash<std::thread::id>()(std::this_thread::get_id()));
}

TEST_F(MessageQueue, SendFromAnotherThread_TimesOutWhenNobodyPumps) {
  setenv("PANEL_SEND_TIMEOUT_MS", "30", 1);
  LRESULT answer = -1;
  DWORD error = 0;
  std::thread sender([&] {
    answer = SendMessageW(m_window, WM_USER, 0, 0);
    error = GetLastError();
  });
  sender.join();
  unsetenv("PANEL_SEND_TIMEOUT_MS");
  EXPECT_EQ(answer, 0);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_TIMEOUT));
  panel::PumpMessages();  // the late request is still handled, harmlessly
}

TEST_F(MessageQueue, PostFromAnotherThread_IsDelivered) {
  std::thread poster([&] { PostMessageW(m_window, WM_USER + 9, 7, 0); });
  poster.join();
  MessageLog log({WM_USER + 9});
  panel::PumpMessages();
  EXPECT_EQ(log.Take().size(), 1u);
}

TEST_F(MessageQueue, Quit_EndsGetMessageWithItsCode) {
  PostQuitMessage(3);
  MSG msg;
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(MessageQueue, NothingToWaitForUnderVirtualTime_DoesNotHang) {
  panel::PumpMessages();
  MSG msg;
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
}

TEST_F(MessageQueue, Broadcast_ReachesEveryTopLevelWindow) {
  HWND second = MakePanel(0, WS_POPUP, 0, 0, 5, 5);
  HWND child = MakePanel(0, WS_CHILD, 0, 0, 5, 5, second);
  MessageLog log({WM_FONTCHANGE});
  SendMessageW(HWND_BROADCAST, WM_FONTCHANGE, 0, 0);
  std::vector<MessageLog::Seen> seen = log.Take();
  ASSERT_EQ(seen.size(), 2u);
  for (const auto& s : seen) EXPECT_NE(s.hwnd, child);
}

// On the real clock an idle loop sleeps until its next timer or until something arrives, rather than
// looking every few milliseconds: over 300 ms with a 100 ms timer the GUI thread wakes for the three
// ticks and the message another thread posts, and little else.
TEST(MessageQueueRealTime, IdleLoop_SleepsUntilItsTimerOrAMessage) {
  testing_support::TempRoot root;
  panel::HeadlessScreen screen;
  HWND window = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
  panel::PumpMessages();
  auto switches = [] {
    std::ifstream status("/proc/thread-self/status");
    std::string line;
    while (std::getline(status, line)) {
      if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::atol(line.c_str() + 24);
    }
    return -1L;
  };
  int ticks = 0;
  bool posted = false;
  SetTimer(window, 1, 100, nullptr);
  panel::SetMessageSpy([&](HWND, UINT m, WPARAM, LPARAM) {
    ticks += m == WM_TIMER ? 1 : 0;
    posted = posted || m == WM_USER;
  });
  std::thread poster([window] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    PostMessageW(window, WM_USER, 0, 0);
  });
  const long before = switches();
  MSG msg;
  while (ticks < 3 && GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  const long woken = switches() - before;
  poster.join();
  panel::SetMessageSpy(nullptr);
  EXPECT_TRUE(posted);
  EXPECT_LT(woken, 8) << "a loop that looks every 20 ms wakes about 15 times";
}

}  // namespace
