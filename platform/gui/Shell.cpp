#include "Shell.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "DialogTemplate.h"
#include "Controls.h"
#include "Display.h"
#include "WinUser.h"

namespace {

struct Menu {
  struct Item {
    UINT flags;
    UINT_PTR id;
    CString text;
  };
  std::vector<Item> items;
};

std::vector<panel::TrayIcon>& Tray() {
  static auto* icons = new std::vector<panel::TrayIcon>();
  return *icons;
}

std::vector<std::unique_ptr<Menu>>& Menus() {
  static auto* menus = new std::vector<std::unique_ptr<Menu>>();
  return *menus;
}

Menu* FindMenu(HMENU handle) {
  for (auto& m : Menus()) {
    if (reinterpret_cast<HMENU>(m.get()) == handle) return m.get();
  }
  return nullptr;
}

const Menu* g_openMenu = nullptr;

constexpr int kItemBase = 0x7000;   // button ids of the items
constexpr INT_PTR kChosen = 0x10000;  // dialog result of item i: kChosen + i
constexpr int kItemWidth = 60;      // dialog units
constexpr int kItemHeight = 14;

INT_PTR MenuProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    int id = LOWORD(wParam);
    EndDialog(hwnd, id >= kItemBase ? kChosen + (id - kItemBase) : 0);
    return TRUE;
  }
  if (message == WM_CANCELMODE) {
    EndDialog(hwnd, 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

BOOL Shell_NotifyIconW(DWORD message, PNOTIFYICONDATAW data) {
  if (!data) return FALSE;
  auto& icons = Tray();
  auto it = std::find_if(icons.begin(), icons.end(), [&](const panel::TrayIcon& i) {
    return i.owner == data->hWnd && i.id == data->uID;
  });
  switch (message) {
    case NIM_ADD:
    case NIM_MODIFY: {
      if ((message == NIM_ADD) != (it == icons.end())) return FALSE;
      if (it == icons.end()) {
        icons.push_back(panel::TrayIcon{});
        it = icons.end() - 1;
        it->owner = data->hWnd;
        it->id = data->uID;
      }
      it->size = data->cbSize;
      it->flags |= data->uFlags;
      if (data->uFlags & NIF_MESSAGE) it->callbackMessage = data->uCallbackMessage;
      if (data->uFlags & NIF_ICON) it->icon = data->hIcon;
      if (data->uFlags & NIF_TIP) {
        WCHAR tip[64];
        std::copy(data->szTip, data->szTip + 64, tip);
        tip[63] = 0;
        it->tip = tip;
      }
      return TRUE;
    }
    case NIM_DELETE:
      if (it == icons.end()) return FALSE;
      icons.erase(it);
      return TRUE;
    default:
      return FALSE;
  }
}

HMENU CreatePopupMenu() {
  Menus().push_back(std::make_unique<Menu>());
  return reinterpret_cast<HMENU>(Menus().back().get());
}

BOOL AppendMenuW(HMENU handle, UINT flags, UINT_PTR id, LPCWSTR text) {
  Menu* menu = FindMenu(handle);
  if (!menu) return FALSE;
  menu->items.push_back(Menu::Item{flags, id, CString(text ? text : u"")});
  return TRUE;
}

BOOL DestroyMenu(HMENU handle) {
  auto& menus = Menus();
  auto it = std::find_if(menus.begin(), menus.end(),
                         [&](const std::unique_ptr<Menu>& m) { return reinterpret_cast<HMENU>(m.get()) == handle; });
  if (it == menus.end()) return FALSE;
  menus.erase(it);
  return TRUE;
}

BOOL TrackPopupMenu(HMENU handle, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  Menu* menu = FindMenu(handle);
  if (!menu || menu->items.empty()) return FALSE;
  panel::DialogTemplate t;
  t.style = WS_POPUP | WS_BORDER;
  t.cx = kItemWidth;
  t.cy = kItemHeight * static_cast<int>(menu->items.size());
  t.fontPoints = 9;
  // Kept on the screen: a menu at the right or bottom edge opens to the left or upwards.
  int maxX = panel::kScreenWidth * 2 / 3 - t.cx;
  int maxY = panel::kScreenHeight * 2 / 3 - t.cy;
  t.x = std::max(0, std::min(x * 2 / 3, maxX));
  t.y = std::max(0, std::min(y * 2 / 3, maxY));
  for (size_t i = 0; i < menu->items.size(); ++i) {
    const Menu::Item& item = menu->items[i];
    if (item.flags & MF_SEPARATOR) continue;
    panel::DialogItemTemplate b;
    b.className = u"BUTTON";
    b.id = kItemBase + static_cast<int>(i);
    b.y = kItemHeight * static_cast<int>(i);
    b.cx = kItemWidth;
    b.cy = kItemHeight;
    b.text = static_cast<const char16_t*>(item.text);
    b.style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | ((item.flags & MF_GRAYED) ? WS_DISABLED : 0);
    t.items.push_back(b);
  }
  const Menu* outer = g_openMenu;
  g_openMenu = menu;
  INT_PTR result = panel::DialogBoxFromTemplate(t, nullptr, MenuProc, 0);
  g_openMenu = outer;
  if (result < kChosen) return (flags & TPM_RETURNCMD) ? 0 : FALSE;
  // The menu may have been destroyed while it ran; its id was taken when chosen.
  Menu* still = FindMenu(handle);
  size_t index = static_cast<size_t>(result - kChosen);
  if (!still || index >= still->items.size()) return FALSE;
  UINT_PTR id = still->items[index].id;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(id);
  if (owner) PostMessageW(owner, WM_COMMAND, static_cast<WPARAM>(id), 0);
  return TRUE;
}

namespace panel {

std::vector<TrayIcon> TrayIcons() {
  std::vector<TrayIcon> alive;
  for (const TrayIcon& i : Tray()) {
    if (IsWindow(i.owner)) alive.push_back(i);
  }
  return alive;
}

std::vector<CString> OpenMenuItems() {
  std::vector<CString> items;
  if (g_openMenu) {
    for (const auto& item : g_openMenu->items) items.push_back(item.text);
  }
  return items;
}

}  // namespace panel
