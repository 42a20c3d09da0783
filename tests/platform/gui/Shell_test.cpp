// The notification area and pop-up menus of the panel.
#include "GuiFixture.h"

namespace {

using guitest::GuiTest;

TEST_F(GuiTest, TrayIcon_RecordedWhileItsOwnerLives) {
  HWND owner = CreateWindowExW(0, u"STATIC", u"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = 129;
  data.uFlags = NIF_MESSAGE | NIF_ICON;
  data.uCallbackMessage = 0x401;
  EXPECT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));  // once per owner and id
  data.uFlags = NIF_TIP;
  const char16_t tip[] = u"tip";
  std::copy(tip, tip + 4, data.szTip);
  EXPECT_TRUE(Shell_NotifyIconW(NIM_MODIFY, &data));
  auto icons = panel::TrayIcons();
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].flags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
  EXPECT_EQ(icons[0].callbackMessage, 0x401u);
  EXPECT_EQ(icons[0].tip, u"tip");
  DestroyWindow(owner);
  EXPECT_TRUE(panel::TrayIcons().empty());
  EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &data));
}

TEST_F(GuiTest, PopupMenu_ChosenItemReachesTheOwner_CancelledMenuSendsNothing) {
  HWND owner = CreateWindowExW(0, u"STATIC", u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 2, u"Exit");
  AppendMenuW(menu, MF_STRING, 7, u"Other");
  guitest::MessageLog log({WM_COMMAND});
  {
    panel::ScriptedInput script;
    std::vector<CString> items;
    script.Then([&] { items = panel::OpenMenuItems(); }).Tap(465, 262);  // the second item, kept on the screen
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_LEFTALIGN, 470, 265, 0, owner, nullptr));
    EXPECT_EQ(items, (std::vector<CString>{u"Exit", u"Other"}));
  }
  panel::PumpMessages();
  auto toOwner = [&] {
    int n = 0;
    for (const auto& seen : log.Take()) n += seen.hwnd == owner;
    return n;
  };
  EXPECT_EQ(toOwner(), 1);
  {
    panel::ScriptedInput script;
    script.Tap(465, 262);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 470, 265, 0, owner, nullptr), 7);  // its id, nothing posted
  }
  panel::PumpMessages();
  EXPECT_EQ(toOwner(), 0);
  {
    panel::ScriptedInput script;
    script.Then([] {
      for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (IsWindowVisible(w) && GetWindow(w, GW_CHILD)) SendMessageW(w, WM_CANCELMODE, 0, 0);
      }
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, owner, nullptr), 0);
  }
  panel::PumpMessages();
  EXPECT_EQ(toOwner(), 0);
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(DestroyMenu(menu));
}

}  // namespace
