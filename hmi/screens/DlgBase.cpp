#include "DlgBase.h"

#include "AppGlobals.h"
#include "PageHost.h"

namespace {

const int kFrameWidth = 5;
const CRect kBackCorner(0, 0, 50, 50);
const CRect kMenuCorner(420, 0, 480, 40);
const CRect kPrevCorner(0, 225, 50, 272);
const CRect kNextCorner(420, 225, 480, 272);

}  // namespace

BEGIN_MESSAGE_MAP(DlgBase, CDialog)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

DlgBase::DlgBase(CBitmap* background, UINT templateId, CWnd* parent) : CDialog(templateId, parent) {
  SetBackground(background);
}

DlgBase::DlgBase(UINT templateId, CWnd* parent, COLORREF outer, COLORREF inner)
    : CDialog(templateId, parent), m_slotA(static_cast<int32_t>(outer)), m_slotB(static_cast<int32_t>(inner)) {}

DlgBase::~DlgBase() = default;

void DlgBase::SetBackground(CBitmap* bitmap) {
  m_background = bitmap;
  if (!bitmap) return;
  BITMAP info{};
  bitmap->GetBitmap(&info);
  m_slotA = info.bmWidth;
  m_slotB = info.bmHeight;
}

void DlgBase::ShowPage(int command) {
  m_shownState = command;
  ShowWindow(command);
}

BOOL DlgBase::DrawBackground(CDC* dc) {
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  if (!m_background) {
    if (m_slotA == 0 && m_slotB == 0) return FALSE;
    if (m_slotA != 0) dc->FillSolidRect(0, 0, w, h, static_cast<COLORREF>(m_slotA));
    if (m_slotB != 0) {
      dc->FillSolidRect(kFrameWidth, kFrameWidth, w - 2 * kFrameWidth, h - 2 * kFrameWidth,
                        static_cast<COLORREF>(m_slotB));
    }
    return TRUE;
  }
  // A bitmap that never loaded has no size: tiling it would never advance.
  if (m_slotA <= 0 || m_slotB <= 0) return FALSE;
  CDC memory;
  if (!memory.CreateCompatibleDC(dc)) return FALSE;
  CBitmap* previous = memory.SelectObject(m_background);
  for (int y = 0; y < h; y += m_slotB) {
    for (int x = 0; x < w; x += m_slotA) dc->BitBlt(x, y, m_slotA, m_slotB, &memory, 0, 0, SRCCOPY);
  }
  memory.SelectObject(previous);
  return TRUE;
}

BOOL DlgBase::OnEraseBkgnd(CDC* dc) {
  if (DrawBackground(dc)) return TRUE;
  return CDialog::OnEraseBkgnd(dc);
}

void DlgBase::OnBackCorner(UINT flags, CPoint point) {
  if (kBackCorner.PtInRect(point)) ShowPage(SW_HIDE);
  CDialog::OnLButtonUp(flags, point);
}

void DlgBase::OnGoMenu() { GoTo(PageHost::kMenu); }
void DlgBase::OnGoDesign1() { GoTo(PageHost::kDesign1); }
void DlgBase::OnGoDesign3() { GoTo(PageHost::kDesign3); }

PageHost* DlgBase::Host() const {
  CWnd* parent = GetParent();
  return dynamic_cast<PageHost*>(parent ? CWnd::FromHandlePermanent(parent->m_hWnd) : nullptr);
}

DlgBase* DlgBase::SiblingPage(int page) const {
  PageHost* host = Host();
  return host ? host->HostedPage(static_cast<PageHost::Page>(page)) : nullptr;
}

void DlgBase::GoTo(int page) {
  if (DlgBase* target = SiblingPage(page)) target->ShowPage(SW_SHOW);
  ShowPage(SW_HIDE);
}

void DlgBase::CornerTap(CPoint point, int previous, int next) {
  if (kBackCorner.PtInRect(point)) {
    ShowPage(SW_HIDE);
  } else if (kMenuCorner.PtInRect(point)) {
    GoTo(PageHost::kMenu);
  } else if (kPrevCorner.PtInRect(point)) {
    GoTo(previous);
  } else if (kNextCorner.PtInRect(point)) {
    GoTo(next);
  }
}

void DlgBase::DressNavButtons(CBmpButton& menu, CBmpButton& previous, CBmpButton& next, int background) {
  if (g_dealerId == 9) {
    menu.SetIconStyle(139, 240, background, 275);
    previous.SetIconStyle(129, 240, background, 275);
    next.SetIconStyle(130, 240, background, 275);
  } else {
    menu.ShowWindow(SW_HIDE);
    previous.ShowWindow(SW_HIDE);
    next.ShowWindow(SW_HIDE);
  }
}
