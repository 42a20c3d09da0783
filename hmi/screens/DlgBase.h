// The base of every dialog of the main program. It paints its own background on WM_ERASEBKGND: a
// bitmap tiled over the client area (the global backgrounds outlive every dialog and are never
// freed here), or an outer fill with an optional inner block 5 pixels in (a frame). It remembers
// the last show command given through ShowPage, since pages live hidden for the whole run and
// repaint on their timers only while shown, and it holds the navigation handlers that the status
// pages list in their message maps. User-interface thread only.
#pragma once

#include "CBmpButton.h"
#include "Gui.h"

class PageHost;

class DlgBase : public CDialog {
public:
  // A dialog over a background bitmap (null: no bitmap and both fills 0).
  DlgBase(CBitmap* background, UINT templateId, CWnd* parent);
  // A dialog painted with an outer colour and an inner colour (0 = none for either).
  DlgBase(UINT templateId, CWnd* parent, COLORREF outer, COLORREF inner);
  ~DlgBase() override;

  // Takes the bitmap and its size; null keeps the stored size (which then reads as the two fills).
  void SetBackground(CBitmap* bitmap);
  // Remembers command (SW_SHOW or SW_HIDE) as the shown state, then shows or hides the window.
  void ShowPage(int command);
  // The last command given to ShowPage; 0 (hidden) until the first.
  int GetShownState() const { return m_shownState; }

  // Tiles the bitmap, or fills the colours. FALSE when there is nothing to paint (no bitmap, both
  // fills 0, or a bitmap without a size), so the platform's own erase runs.
  BOOL DrawBackground(CDC* dc);

protected:
  // DrawBackground, or the platform's own erase when it painted nothing.
  BOOL OnEraseBkgnd(CDC* dc);
  // Shared page handlers. A release in the top-left 50 x 50 pixels hides the page; the message then
  // goes on to the default handling.
  void OnBackCorner(UINT flags, CPoint point);
  // Show the main screen's menu, unit status page or fault history page, then hide this page.
  void OnGoMenu();
  void OnGoDesign1();
  void OnGoDesign3();
  // The main screen this page lives on (its parent), or null when the parent hosts no pages.
  PageHost* Host() const;
  // The host's page of that kind (PageHost::Page), or null.
  DlgBase* SiblingPage(int page) const;
  // Shows the host's page (when there is one), then hides this page.
  void GoTo(int page);
  // The status pages' corner taps, in this order: the top-left corner hides the page, the top-right
  // shows the menu, the bottom-left the previous page, the bottom-right the next page (PageHost
  // kinds); anywhere else nothing.
  void CornerTap(CPoint point, int previous, int next);
  // The menu, previous and next buttons of a status page: dealer 9 shows them over the page's
  // background (code); the other dealers leave the page by its corners only, so they are hidden.
  static void DressNavButtons(CBmpButton& menu, CBmpButton& previous, CBmpButton& next, int background);

  DECLARE_MESSAGE_MAP()

private:

  CBitmap* m_background = nullptr;  // not owned
  int32_t m_slotA = 0;              // bitmap width, or the outer fill colour without a bitmap
  int32_t m_slotB = 0;              // bitmap height, or the inner fill colour without a bitmap
  int32_t m_shownState = SW_HIDE;
};
