// The menu: two menu pages of eight large icon buttons that open the sixteen pages of the parameter
// screen (menu page 1 pages 1-8, menu page 2 pages 9-16), a clock label, page-switch buttons (corner
// taps for dealers 3 and 15) and a button to the unit status page. The eighth item of menu page 2,
// the factory-setting page, is offered only at access level 2 and refused at any other. A member of
// the main screen, created hidden; its clock runs for the whole run. User-interface thread only.
#pragma once

#include <cstdint>

#include "CBmpButton.h"
#include "CPicStatic.h"
#include "DlgBase.h"
#include "Gui.h"

class DlgMenu : public DlgBase {
public:
  static constexpr UINT kTemplate = 103;
  enum : int {
    kClock = 1003,
    kItem1 = 1012,  // 1012-1019: items 1 to 8
    kNextPage = 1088,
    kPrevPage = 1087,
    kStatus = 1011,
  };
  static constexpr int kItems = 8;
  static constexpr UINT kClockTimer = 1;
  static constexpr UINT kClockMs = 600;

  explicit DlgMenu(CWnd* parent = nullptr);
  ~DlgMenu() override;

  // Dresses the eight items for the current menu page: faces, captions (the texts as loaded now)
  // and which of them and of the page buttons show.
  void ShowMenuPage();
  int GetMenuPage() const { return m_menuPage; }
  // Opens parameter page (menu page x 8 - 8 + item) and hides the menu; the factory-setting item is
  // refused below access level 2.
  void OnItem(int item);

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnTimer(UINT_PTR id);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnItem1() { OnItem(1); }
  void OnItem2() { OnItem(2); }
  void OnItem3() { OnItem(3); }
  void OnItem4() { OnItem(4); }
  void OnItem5() { OnItem(5); }
  void OnItem6() { OnItem(6); }
  void OnItem7() { OnItem(7); }
  void OnItem8() { OnItem(8); }
  void OnNextPage();
  void OnPrevPage();
  DECLARE_MESSAGE_MAP()

private:
  bool FactoryItemAllowed() const;

  int32_t m_menuPage = 1;
  CSkinLabel m_clock;
  CSkinButton m_items[kItems];
  CSkinButton m_next;
  CSkinButton m_prev;
  CSkinButton m_status;
};
