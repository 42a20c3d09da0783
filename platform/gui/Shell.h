// The shell's notification area and pop-up menus. The panel has no task bar: a tray icon is recorded
// (for tests and a person watching the board, see TrayIcons) and its owner receives its callback
// message when a test or tool delivers one. A pop-up menu is a small modal window at the given point
// with one button per item; choosing an item posts WM_COMMAND with the item's id to the owner.
// GUI thread only.
#pragma once

#include <vector>

#include "CString.h"
#include "GuiTypes.h"

#define NIM_ADD 0x00000000u
#define NIM_MODIFY 0x00000001u
#define NIM_DELETE 0x00000002u
#define NIF_MESSAGE 0x00000001u
#define NIF_ICON 0x00000002u
#define NIF_TIP 0x00000004u

struct NOTIFYICONDATAW {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  WCHAR szTip[64];
};
typedef NOTIFYICONDATAW* PNOTIFYICONDATAW;

// NIM_ADD fails for an (owner, id) pair already there, NIM_MODIFY and NIM_DELETE for one that is not.
BOOL Shell_NotifyIconW(DWORD message, PNOTIFYICONDATAW data);

#define MF_STRING 0x00000000u
#define MF_GRAYED 0x00000001u
#define MF_SEPARATOR 0x00000800u
#define TPM_LEFTALIGN 0x0000u
#define TPM_RIGHTBUTTON 0x0002u
#define TPM_RETURNCMD 0x0100u

HMENU CreatePopupMenu();
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCWSTR text);
BOOL DestroyMenu(HMENU menu);
// Runs the menu at (x, y) in screen pixels until an item is chosen or the menu is cancelled (Esc, a tap
// outside it). With TPM_RETURNCMD the chosen id (0 when cancelled); otherwise TRUE when an item was
// chosen, its WM_COMMAND posted to owner.
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);

#define Shell_NotifyIcon Shell_NotifyIconW
#define AppendMenu AppendMenuW

namespace panel {

struct TrayIcon {
  HWND owner = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  HICON icon = nullptr;
  CString tip;
  DWORD size = 0;  // cbSize as given
};
// The icons in the notification area, in the order they were added.
std::vector<TrayIcon> TrayIcons();
// Items of the menu open in TrackPopupMenu now (empty when none), for tests.
std::vector<CString> OpenMenuItems();

}  // namespace panel
