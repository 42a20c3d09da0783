#include <gtest/gtest.h>

#include "GuiFixture.h"

namespace {

using guitest::GuiTest;
using guitest::MakePanel;
using guitest::MessageLog;

class WindowTree : public GuiTest {};

TEST_F(WindowTree, Coordinates_FollowParentsAndFrames) {
  HWND top = MakePanel(0, WS_POPUP | WS_VISIBLE | WS_BORDER, 20, 10, 200, 100);
  HWND child = MakePanel(0, WS_CHILD | WS_VISIBLE, 5, 7, 50, 40, top, 12);
  RECT r;
  GetClientRect(top, &r);
  EXPECT_EQ(r.right, 198);  // a one-pixel border on each side
  GetWindowRect(child, &r);
  EXPECT_EQ(r.left, 20 + 1 + 5);
  EXPECT_EQ(r.top, 10 + 1 + 7);
  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ(p.x, 26);
  ScreenToClient(top, &p);
  EXPECT_EQ(p.x, 5);
  EXPECT_EQ(GetDlgItem(top, 12), child);
  EXPECT_EQ(GetDlgCtrlID(child), 12);
  EXPECT_EQ(GetParent(child), top);
}

TEST_F(WindowTree, ZOrder_CreationStacksChildrenDownwardsAndSetWindowPosMoves) {
  HWND top = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = MakePanel(0, WS_CHILD, 0, 0, 10, 10, top, 1);
  HWND b = MakePanel(0, WS_CHILD, 0, 0, 10, 10, top, 2);
  HWND c = MakePanel(0, WS_CHILD, 0, 0, 10, 10, top, 3);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(top, GW_CHILD), c);
  SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), c);
  SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), a);
}

TEST_F(WindowTree, Visibility_NeedsEveryAncestor) {
  HWND top = MakePanel(0, WS_POPUP, 0, 0, 100, 100);
  HWND child = MakePanel(0, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(ShowWindow(top, SW_SHOW));  // it was hidden
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_FALSE(EnableWindow(child, FALSE));  // it was enabled
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_TRUE(EnableWindow(child, TRUE));
}

TEST_F(WindowTree, Destroy_DestroysChildrenAndOwnedPopupsAndInvalidatesHandles) {
  HWND top = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND child = MakePanel(0, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND owned = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, top);
  EXPECT_EQ(GetParent(owned), top);  // the owner of a pop-up
  MessageLog log({WM_DESTROY, WM_NCDESTROY});
  ASSERT_TRUE(DestroyWindow(top));
  std::vector<MessageLog::Seen> expected = {
      {owned, WM_DESTROY}, {owned, WM_NCDESTROY}, {top, WM_DESTROY}, {child, WM_DESTROY}, {child, WM_NCDESTROY},
      {top, WM_NCDESTROY}};
  EXPECT_EQ(log.Take(), expected);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(owned));
  EXPECT_FALSE(SetWindowTextW(child, u"x"));
}

TEST_F(WindowTree, FindWindow_MatchesCaptionAndClass) {
  HWND a = guitest::MakeWindow(u"Quellora", WS_POPUP, 0, 0, 10, 10);
  HWND b = MakePanel(0, WS_POPUP, 0, 0, 10, 10);
  SetWindowTextW(b, u"Brimcourt");
  EXPECT_EQ(FindWindowW(nullptr, u"Quellora"), a);
  EXPECT_EQ(FindWindowW(u"TestPanel", u"Brimcourt"), b);
  EXPECT_EQ(FindWindowW(u"STATIC", u"Brimcourt"), nullptr);
  EXPECT_EQ(FindWindowW(nullptr, u"quellora"), nullptr);  // captions compare exactly
  WCHAR text[16];
  EXPECT_EQ(GetWindowTextW(b, text, 4), 3);  // bounded, terminated
  EXPECT_EQ(CString(text), u"Bri");
}

// Taps go to the deepest visible, enabled window under the finger; statics without SS_NOTIFY let
// them through; the window pressed keeps the finger until the release.
TEST_F(WindowTree, Taps_ReachTheRightWindow) {
  HWND top = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND lower = MakePanel(0, WS_CHILD | WS_VISIBLE, 10, 10, 100, 100, top, 1);
  HWND upper = MakePanel(0, WS_CHILD | WS_VISIBLE, 60, 60, 100, 100, top, 2);
  SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  guitest::MakeWindow(u"label", WS_CHILD | WS_VISIBLE, 150, 10, 40, 20, top, 3);
  HWND button = guitest::MakeWindow(u"b", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 150, 40, 40, 20, top, 4);
  HWND other = MakePanel(0, WS_POPUP | WS_VISIBLE, 180, 180, 50, 50);
  panel::PumpMessages();

  struct Case {
    const char* name;
    std::function<void()> arrange;
    POINT point;
    HWND expected;
  };
  std::vector<Case> cases = {
      {"lower only", [] {}, {20, 20}, lower},
      {"overlap takes the upper", [] {}, {70, 70}, upper},
      {"outside children", [] {}, {5, 150}, top},
      {"static without notify is passed through", [] {}, {160, 15}, top},
      {"static with notify", [] {}, {160, 45}, button},
      {"top-level above", [] {}, {190, 190}, other},
      {"hidden upper", [&] { ShowWindow(upper, SW_HIDE); }, {70, 70}, lower},
      {"disabled upper is skipped", [&] { ShowWindow(upper, SW_SHOW); EnableWindow(upper, FALSE); }, {70, 70}, lower},
      {"disabled top-level gets nothing", [&] { EnableWindow(top, FALSE); }, {20, 20}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.arrange();
    MessageLog log({WM_LBUTTONDOWN, WM_LBUTTONUP});
    panel::TapAt(c.point.x, c.point.y);
    panel::PumpMessages();
    std::vector<MessageLog::Seen> seen = log.Take();
    if (!c.expected) {
      EXPECT_TRUE(seen.empty());
    } else {
      std::vector<MessageLog::Seen> expected = {{c.expected, WM_LBUTTONDOWN}, {c.expected, WM_LBUTTONUP}};
      EXPECT_EQ(seen, expected);
    }
  }
}

TEST_F(WindowTree, Press_KeepsTheFingerUntilRelease) {
  HWND top = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 200, 200);
  HWND a = MakePanel(0, WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top, 1);
  HWND b = MakePanel(0, WS_CHILD | WS_VISIBLE, 100, 100, 50, 50, top, 2);
  MessageLog log({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP});
  panel::PressAt(10, 10);
  panel::MoveTo(120, 120);
  panel::ReleaseAt(120, 120);
  panel::PumpMessages();
  std::vector<MessageLog::Seen> expected = {{a, WM_LBUTTONDOWN}, {a, WM_MOUSEMOVE}, {a, WM_LBUTTONUP}};
  EXPECT_EQ(log.Take(), expected);
  (void)b;
  EXPECT_EQ(panel::CursorPos().x, 120);
}

TEST_F(WindowTree, SetCursorPos_IsRecorded) {
  EXPECT_TRUE(SetCursorPos(800, 480));
  POINT p;
  GetCursorPos(&p);
  EXPECT_EQ(p.x, 800);
  EXPECT_EQ(p.y, 480);
}

TEST_F(WindowTree, Focus_SendsKillThenSet) {
  HWND top = MakePanel(0, WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND a = MakePanel(0, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top);
  HWND b = MakePanel(0, WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top);
  SetFocus(a);
  MessageLog log({WM_SETFOCUS, WM_KILLFOCUS});
  EXPECT_EQ(SetFocus(b), a);
  std::vector<MessageLog::Seen> expected = {{a, WM_KILLFOCUS}, {b, WM_SETFOCUS}};
  EXPECT_EQ(log.Take(), expected);
  ShowWindow(b, SW_HIDE);  // a hidden window loses the focus
  EXPECT_EQ(GetFocus(), nullptr);
}

}  // namespace
