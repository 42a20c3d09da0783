#include "DlgMenu.h"

#include "AppGlobals.h"
#include "CSystemData.h"
#include "ControlHelpers.h"
#include "LangTexts.h"
#include "PageHost.h"
#include "SoftClock.h"

namespace {

const int kItemText = 250;
const int kSmallFont = 275;
const int kPageBackground = 252;
const int kFactoryLevel = 2;
const char16_t kFactoryCaption[] = u"工厂设定";

bool IsDealer3Or15(int dealer) { return dealer == 3 || dealer == 15; }

// Item faces of a menu page by dealer id, and the background code they erase with.
struct ItemFaces {
  int icons[DlgMenu::kItems];
  int background;
};
ItemFaces FacesOf(int menuPage, int dealer) {
  if (menuPage == 1) {
    if (dealer == 9) return {{92, 90, 93, 85, 83, 80, 91, 86}, kPageBackground};
    if (IsDealer3Or15(dealer)) return {{150, 150, 150, 150, 150, 150, 150, 150}, 255};
    return {{12, 10, 13, 5, 3, 0, 11, 6}, kPageBackground};
  }
  if (dealer == 9) return {{89, 88, 82, 81, 84, 94, 87, 86}, kPageBackground};
  if (IsDealer3Or15(dealer)) return {{150, 150, 150, 150, 150, 150, 150, 6}, 256};
  return {{9, 8, 2, 1, 4, 5, 7, 6}, kPageBackground};
}

// Caption text ids of the items; 0 is the factory-setting item's fixed caption.
const int kCaptions[2][DlgMenu::kItems] = {{3, 9, 7, 8, 10, 4, 5, 2}, {1, 6, 12, 13, 11, 14, 15, 0}};

// Dealers 3 and 15 move the centred items a little apart.
const int kItemShift[DlgMenu::kItems] = {-10, -3, 3, 8, -10, -3, 3, 8};

const CRect kBackCorner(0, 0, 50, 50);
const CRect kLowerLeft(0, 220, 50, 270);
const CRect kLowerRight(430, 220, 480, 270);

}  // namespace

BEGIN_MESSAGE_MAP(DlgMenu, DlgBase)
  ON_WM_TIMER()
  ON_WM_LBUTTONUP()
  ON_BN_CLICKED(DlgMenu::kItem1, &DlgMenu::OnItem1)
  ON_BN_CLICKED(DlgMenu::kItem1 + 1, &DlgMenu::OnItem2)
  ON_BN_CLICKED(DlgMenu::kItem1 + 2, &DlgMenu::OnItem3)
  ON_BN_CLICKED(DlgMenu::kItem1 + 3, &DlgMenu::OnItem4)
  ON_BN_CLICKED(DlgMenu::kItem1 + 4, &DlgMenu::OnItem5)
  ON_BN_CLICKED(DlgMenu::kItem1 + 5, &DlgMenu::OnItem6)
  ON_BN_CLICKED(DlgMenu::kItem1 + 6, &DlgMenu::OnItem7)
  ON_BN_CLICKED(DlgMenu::kItem1 + 7, &DlgMenu::OnItem8)
  ON_BN_CLICKED(DlgMenu::kNextPage, &DlgMenu::OnNextPage)
  ON_BN_CLICKED(DlgMenu::kPrevPage, &DlgMenu::OnPrevPage)
  ON_BN_CLICKED(DlgMenu::kStatus, &DlgMenu::OnGoDesign1)
END_MESSAGE_MAP()

DlgMenu::DlgMenu(CWnd* parent) : DlgBase(&g_bmpPageBg, kTemplate, parent) {}

DlgMenu::~DlgMenu() = default;

void DlgMenu::ShowMenuPage() {
  const int dealer = g_dealerId;
  const ItemFaces faces = FacesOf(m_menuPage, dealer);
  for (int i = 0; i < kItems; ++i) m_items[i].SetIconStyle(faces.icons[i], kItemText, faces.background, kSmallFont);
  if (IsDealer3Or15(dealer)) {
    // These dealers' menu pages are whole pictures; the page buttons stay hidden.
    SetBackground(m_menuPage == 1 ? &g_bmpMenuBg1 : &g_bmpMenuBg2);
    Invalidate(TRUE);
  } else {
    m_next.ShowWindow(m_menuPage == 1 ? SW_SHOW : SW_HIDE);
    m_prev.ShowWindow(m_menuPage == 1 ? SW_HIDE : SW_SHOW);
  }
  CSkinButton& factory = m_items[kItems - 1];
  if (m_menuPage == 1) {
    factory.ShowWindow(SW_SHOW);
  } else if (!FactoryItemAllowed()) {
    factory.ShowWindow(SW_HIDE);
  }
  for (int i = 0; i < kItems; ++i) {
    const int id = kCaptions[m_menuPage - 1][i];
    SetTextIfChanged(&m_items[i], id ? LangText(id) : CString(kFactoryCaption));
  }
}

void DlgMenu::OnItem(int item) {
  if (item < 1 || item > kItems) return;
  // The factory-setting page stays shut below level 2, also when the level fell while it showed.
  if (m_menuPage == 2 && item == kItems && !FactoryItemAllowed()) return;
  if (PageHost* host = Host()) host->OpenParamPage(m_menuPage * kItems - kItems + item);
  ShowPage(SW_HIDE);
}

void DlgMenu::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  DDX_Control(dx, kClock, m_clock);
  for (int i = 0; i < kItems; ++i) DDX_Control(dx, kItem1 + i, m_items[i]);
  DDX_Control(dx, kNextPage, m_next);
  DDX_Control(dx, kPrevPage, m_prev);
  DDX_Control(dx, kStatus, m_status);
}

BOOL DlgMenu::OnInitDialog() {
  DlgBase::OnInitDialog();
  m_menuPage = 1;
  const int dealer = g_dealerId;
  if (IsDealer3Or15(dealer)) {
    m_clock.SetSkin(265, kPageBackground, kSmallFont);
    m_status.SetWindowPos(nullptr, 427, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    m_status.SetIconStyle(166, kItemText, 256, kSmallFont);
    m_prev.ShowWindow(SW_HIDE);
    m_next.ShowWindow(SW_HIDE);
    for (int i = 0; i < kItems; ++i) {
      CSkinButton& item = m_items[i];
      item.ModifyStyle(BS_LEFT, BS_CENTER);
      CRect place;
      GetChildRect(place, &item);
      item.SetWindowPos(nullptr, place.left + kItemShift[i], place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
  } else if (dealer == 9) {
    m_clock.SetSkin(265, kPageBackground, kSmallFont);
    m_prev.SetIconStyle(129, 239, kPageBackground, kSmallFont);
    m_next.SetIconStyle(130, 239, kPageBackground, kSmallFont);
    m_status.SetWindowPos(nullptr, 427, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    m_status.SetIconStyle(135, 239, kPageBackground, kSmallFont);
  } else {
    m_clock.SetSkin(264, kPageBackground, kSmallFont);
    m_prev.SetIconStyle(47, 240, kPageBackground, kSmallFont);
    m_next.SetIconStyle(48, 240, kPageBackground, kSmallFont);
    m_status.SetIconStyle(51, 240, kPageBackground, kSmallFont);
  }
  ShowMenuPage();
  SetTimer(kClockTimer, kClockMs);
  return TRUE;
}

void DlgMenu::OnTimer(UINT_PTR id) {
  if (id == kClockTimer) {
    CString text;
    text.Format(u"%d.%d.%d %02d:%02d", g_clock.wDay, g_clock.wMonth, g_clock.wYear, g_clock.wHour, g_clock.wMinute);
    SetTextIfChanged(&m_clock, text);
    if (m_menuPage == 2 && !FactoryItemAllowed() && m_items[kItems - 1].IsWindowVisible()) {
      m_items[kItems - 1].ShowWindow(SW_HIDE);  // the level fell while the item showed
    }
  }
  DlgBase::OnTimer(id);
}

void DlgMenu::OnLButtonUp(UINT flags, CPoint point) {
  if (kBackCorner.PtInRect(point)) {
    ShowPage(SW_HIDE);
  } else if (IsDealer3Or15(g_dealerId)) {
    if (m_menuPage == 2 && kLowerLeft.PtInRect(point)) {
      m_menuPage = 1;
      ShowMenuPage();
    } else if (m_menuPage == 1 && kLowerRight.PtInRect(point)) {
      m_menuPage = 2;
      ShowMenuPage();
    }
  }
  DlgBase::OnLButtonUp(flags, point);
}

void DlgMenu::OnNextPage() {
  if (m_menuPage != 1) return;
  m_menuPage = 2;
  ShowMenuPage();
}

void DlgMenu::OnPrevPage() {
  if (m_menuPage != 2) return;
  m_menuPage = 1;
  ShowMenuPage();
}

bool DlgMenu::FactoryItemAllowed() const { return GetSystemData()->m_unlockLevel == kFactoryLevel; }
