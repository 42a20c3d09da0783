#include "DlgParam.h"

#include <algorithm>

#include "AppGlobals.h"
#include "ControlHelpers.h"
#include "DlgMenu.h"
#include "DlgSelect.h"
#include "LangTexts.h"
#include "PageHost.h"
#include "ParamScreenRows.h"
#include "SkinCodes.h"

namespace {

const int kRowIds[DlgParam::kRows] = {DlgParam::kRow1, DlgParam::kRow2, DlgParam::kRow3, DlgParam::kRow4,
                                      DlgParam::kRow5};
const int kDealer9 = 9;

// Buttons and title by dealer id: title skin, menu, previous and next icons.
struct FrameLook {
  int titleText, titleBackground;
  int menuIcon, prevIcon, nextIcon;
  int buttonBackground;
  int rowShift;  // added to row 1's template y
};
FrameLook LookOf(int dealer) {
  switch (dealer) {
    case 3:
      return {265, 252, 205, 202, 203, 252, 0};
    case 15:
      return {265, 252, 205, 218, 219, 252, 0};
    case kDealer9:
      return {265, 256, 139, 133, 134, 256, -5};
    default:
      return {264, 252, 52, 49, 50, 252, 0};
  }
}
const int kButtonText = 240;
const int kSmallFont = 275;

// The rows' common font, and the code that marks a row as carrying it.
const int kRowFontCode = 269;

// The row's look: a white bar with the caption on the left and, on value rows, the value in a
// column on the right; a toggle row carries the on/off mark at the right end. Tapped rows turn
// light blue until the sub-page changes.
const COLORREF kRowBackground = RGB(255, 255, 255);
const COLORREF kRowMarked = RGB(210, 225, 240);
const int kCaptionX = 12;
const int kTextRight = DlgParam::kRowWidth - kCaptionX;
const int kCaptionGap = 12;  // kept clear between a caption and its value or the toggle mark
const int kInkSlack = 4;     // room a widened value column leaves for glyphs reaching past their advance
// The value column: dealer 9 centres its values in a narrow column, widened per row; the others
// write them from the left in one column wide enough for the longest value, the clock
// "dd.mm.yyyy hh:mm". A value wider than its column takes room from the caption as far as the
// caption leaves it; when the two cannot share the row, the value goes under the caption.
const int kValueX = 272, kDealer9ValueX = 300, kWideValueX = 230;
const int kToggleIconY = 11;
const int kToggleMarkX = 315;  // the mark's left edge in the toggle rows' icon styles

void SendRowFont(CWnd& row) {
  CFont* font = SkinFont(kRowFontCode);
  row.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), FALSE);
}

// The size text takes in the rows' font: on one line (wrapWidth 0), or broken into lines of at most
// wrapWidth pixels as dealer 9's rows draw it.
CSize RowTextSize(CWnd& row, const CString& text, int wrapWidth) {
  CClientDC dc(&row);
  CFont* font = SkinFont(kRowFontCode);
  CFont* previous = font ? dc.SelectObject(font) : nullptr;
  CRect r(0, 0, wrapWidth > 0 ? wrapWidth : kTextRight, 0);
  dc.DrawText(text, &r, DT_CALCRECT | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  if (previous) dc.SelectObject(previous);
  return r.Size();
}

// Top of a block of the given height centred in the row.
int CentredTop(int height) { return height < DlgParam::kRowHeight ? (DlgParam::kRowHeight - height) / 2 : 0; }

// Places the caption and the value of a row in block; valueX is where the value column starts.
void LayOutRowText(CRowButton& button, int kind, int valueX, const CString& caption, const CString& value,
                   CButtonLayout& block) {
  // Dealer 9 breaks both texts into lines, drawn from the top of their rectangles, so each block is
  // centred by its own height; the others draw one line each, the caption centred by the format.
  const bool wrapping = g_dealerId == kDealer9;
  int captionRight = kind == DlgParam::kToggleRow ? kToggleMarkX - kCaptionGap : kTextRight;
  block.captionX = kCaptionX;
  block.captionY = 0;
  block.captionHeight = DlgParam::kRowHeight;
  const int lineHeight = RowTextSize(button, CString(), 0).cy;
  if (kind == DlgParam::kValueRow) {
    const CSize captionSize = RowTextSize(button, caption, 0);
    const CSize valueSize = RowTextSize(button, value, 0);
    int lineX = std::min(valueX, kTextRight - static_cast<int>(valueSize.cx) - kInkSlack);
    const int captionEnd = kCaptionX + static_cast<int>(captionSize.cx) + kCaptionGap;
    if (lineX < captionEnd && !wrapping) {
      // Caption above, value below, both across the row.
      block.captionHeight = DlgParam::kRowHeight / 2;
      block.lineX = kCaptionX;
      block.lineY = DlgParam::kRowHeight / 2 + (DlgParam::kRowHeight / 2 - lineHeight) / 2;
      block.lineWidth = kTextRight - kCaptionX;
      block.lineHeight = DlgParam::kRowHeight - block.lineY;
      block.captionWidth = kTextRight - kCaptionX;
      return;
    }
    // Dealer 9 breaks what does not fit into lines, in the widest column the caption leaves.
    if (lineX < captionEnd) lineX = std::min(valueX, captionEnd);
    block.lineX = lineX;
    block.lineWidth = kTextRight - lineX;
    block.lineY = CentredTop(wrapping ? RowTextSize(button, value, block.lineWidth).cy : lineHeight);
    block.lineHeight = DlgParam::kRowHeight - block.lineY;
    captionRight = lineX - kCaptionGap;
  }
  block.captionWidth = captionRight - kCaptionX;
  if (wrapping) {
    block.captionY = CentredTop(RowTextSize(button, caption, block.captionWidth).cy);
    block.captionHeight = DlgParam::kRowHeight - block.captionY;
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgParam, DlgBase)
  ON_WM_TIMER()
  ON_MOUSE_MESSAGE(WM_LBUTTONUP, &DlgParam::OnBackCorner)
  ON_BN_CLICKED(DlgParam::kRow1, &DlgParam::OnRow1)
  ON_BN_CLICKED(DlgParam::kRow2, &DlgParam::OnRow2)
  ON_BN_CLICKED(DlgParam::kRow3, &DlgParam::OnRow3)
  ON_BN_CLICKED(DlgParam::kRow4, &DlgParam::OnRow4)
  ON_BN_CLICKED(DlgParam::kRow5, &DlgParam::OnRow5)
  ON_BN_CLICKED(DlgParam::kMenuButton, &DlgParam::OnGoMenu)
  ON_BN_CLICKED(DlgParam::kPrevButton, &DlgParam::OnPrevPage)
  ON_BN_CLICKED(DlgParam::kNextButton, &DlgParam::OnNextPage)
END_MESSAGE_MAP()

DlgParam::DlgParam(CWnd* parent)
    : DlgBase(g_dealerId == kDealer9 ? &g_bmpMenuBg2 : &g_bmpPageBg, kTemplate, parent) {}

DlgParam::~DlgParam() = default;

void DlgParam::OpenPage(int page) {
  m_subPage = 1;
  ClearRowMarks();
  m_page = page;
  ShowPage();
  ShowPage(SW_SHOW);
}

void DlgParam::ShowPage() {
  DrawCurrentPage();
  if (m_subPageCount < 1) m_subPageCount = 1;
  if (m_subPage > m_subPageCount) {
    // The count shrank under the sub-page shown (the access level fell): show the last one there is.
    m_subPage = m_subPageCount;
    DrawCurrentPage();
  }
  CString title;
  title.Format(u"%s:%d/%d", static_cast<const char16_t*>(LangText(kTitleText)), m_subPage, m_subPageCount);
  SetTextIfChanged(&m_title, title);
  m_prev.ShowWindow(m_subPage == 1 ? SW_HIDE : SW_SHOW);
  m_next.ShowWindow(m_subPage >= m_subPageCount ? SW_HIDE : SW_SHOW);
}

void DlgParam::OnRow(int row) {
  EditCurrentPage(row);
  ShowPage();
}

CRowButton& DlgParam::Row(int row) { return m_rows[(row >= 1 && row <= kRows) ? row - 1 : 0]; }

void DlgParam::StyleValueButton(int row, const CString& caption, const CString& value, int enabled, BOOL redraw,
                                int wide) {
  ApplyRowLook(row, kValueRow, wide, caption, value);
  CRowButton& button = Row(row);
  if (button.m_secondLine != value || button.m_hideSecondLine) {
    button.m_secondLine = value;
    button.m_hideSecondLine = 0;
    button.Invalidate(TRUE);
  }
  FinishRow(row, caption, enabled, redraw);
}

void DlgParam::StyleNameButton(int row, const CString& caption, int on, int enabled, BOOL redraw) {
  ApplyRowLook(row, kToggleRow, 0, caption, CString());
  CRowButton& button = Row(row);
  const int highlight = on ? 1 : 0;
  if (button.GetHighlight() != highlight) button.SetHighlight(highlight, TRUE);
  FinishRow(row, caption, enabled, redraw);
}

void DlgParam::StyleRowButton2(int row, const CString& caption, int enabled, BOOL redraw) {
  ApplyRowLook(row, kCommandRow, 0, caption, CString());
  FinishRow(row, caption, enabled, redraw);
}

void DlgParam::HideRow(int row) {
  if (row < 1 || row > kRows) return;
  Row(row).ShowWindow(SW_HIDE);
}

void DlgParam::HideRowsFrom(int first) {
  for (int row = first < 1 ? 1 : first; row <= kRows; ++row) HideRow(row);
}

void DlgParam::RedressMenu() {
  if (auto* menu = dynamic_cast<DlgMenu*>(SiblingPage(PageHost::kMenu))) menu->ShowMenuPage();
}

int DlgParam::RowKindOf(int row) const { return m_rowKinds[(row >= 1 && row <= kRows) ? row - 1 : 0]; }

int DlgParam::SelectOption(const CString& title, int32_t& field, const CString& option1, const CString& option2,
                           const CString& option3, const CString& option4) {
  CStringArray options;
  options.Add(option1);
  options.Add(option2);
  if (!option3.IsEmpty()) options.Add(option3);
  if (!option4.IsEmpty()) options.Add(option4);
  DlgSelect dialog(this);
  if (!dialog.Init(title, options, field)) return -1;
  if (dialog.DoModal() != IDOK) return -1;
  field = dialog.GetSelected();
  return field;
}

void DlgParam::DoDataExchange(CDataExchange* dx) {
  DlgBase::DoDataExchange(dx);
  DDX_Control(dx, kTitle, m_title);
  for (int i = 0; i < kRows; ++i) DDX_Control(dx, kRowIds[i], m_rows[i]);
  DDX_Control(dx, kMenuButton, m_menu);
  DDX_Control(dx, kPrevButton, m_prev);
  DDX_Control(dx, kNextButton, m_next);
}

BOOL DlgParam::OnInitDialog() {
  DlgBase::OnInitDialog();
  m_subPage = 1;
  CRect first;
  GetChildRect(first, &m_rows[0]);
  const FrameLook look = LookOf(g_dealerId);
  m_title.SetSkin(look.titleText, look.titleBackground, kSmallFont);
  m_menu.SetIconStyle(look.menuIcon, kButtonText, look.buttonBackground, kSmallFont);
  m_prev.SetIconStyle(look.prevIcon, kButtonText, look.buttonBackground, kSmallFont);
  m_next.SetIconStyle(look.nextIcon, kButtonText, look.buttonBackground, kSmallFont);
  const int top = first.top + look.rowShift;
  for (int i = 0; i < kRows; ++i) {
    m_rows[i].SetWindowPos(nullptr, first.left, top + kRowPitch * i, kRowWidth, kRowHeight, SWP_HIDEWINDOW);
  }
  SetTimer(kRedrawTimer, kRedrawMs);
  return TRUE;
}

void DlgParam::OnTimer(UINT_PTR id) {
  if (id == kRedrawTimer) {
    if (GetShownState() != SW_HIDE) ShowPage();
    TellParamNotices(*this);
  }
  DlgBase::OnTimer(id);
}

void DlgParam::OnPrevPage() {
  if (m_subPage < 2) return;
  --m_subPage;
  ClearRowMarks();
  ShowPage();
}

void DlgParam::OnNextPage() {
  if (m_subPage >= m_subPageCount) return;
  ++m_subPage;
  ClearRowMarks();
  ShowPage();
}

void DlgParam::DrawEmptyPage() {
  m_subPageCount = 1;
  HideRowsFrom(1);
}

void DlgParam::DrawCurrentPage() {
  switch (m_page) {
    case 1: DrawPage1(); break;
    case 2: DrawPage2(); break;
    case 3: DrawPage3(); break;
    case 4: DrawPage4(); break;
    case 5: DrawPage5(); break;
    case 6: DrawPage6(); break;
    case 7: DrawPage7(); break;
    case 8: DrawPage8(); break;
    case 9: DrawPage9(); break;
    case 10: DrawPage10(); break;
    case 11: DrawPage11(); break;
    case 12: DrawPage12(); break;
    case 13: DrawPage13(); break;
    case 14: DrawPage14(); break;
    case 15: DrawPage15(); break;
    case 16: DrawPage16(); break;
    default: break;
  }
}

void DlgParam::EditCurrentPage(int row) {
  switch (m_page) {
    case 1: EditPage1(row); break;
    case 2: EditPage2(row); break;
    case 3: EditPage3(row); break;
    case 4: EditPage4(row); break;
    case 5: EditPage5(row); break;
    case 6: EditPage6(row); break;
    case 7: EditPage7(row); break;
    case 8: EditPage8(row); break;
    case 9: EditPage9(row); break;
    case 10: EditPage10(row); break;
    case 11: EditPage11(row); break;
    case 12: EditPage12(row); break;
    case 13: EditPage13(row); break;
    case 14: EditPage14(row); break;
    case 16: EditPage16(row); break;
    default: break;  // page 15 is read-only
  }
}

void DlgParam::ClearRowMarks() {
  for (CRowButton& row : m_rows) row.SetCheck(0, TRUE);
}

void DlgParam::FinishRow(int row, const CString& caption, int enabled, BOOL redraw) {
  CRowButton& button = Row(row);
  SetTextIfChanged(&button, caption);
  const BOOL wanted = enabled ? TRUE : FALSE;
  if ((button.IsWindowEnabled() ? TRUE : FALSE) != wanted) button.EnableWindow(wanted);
  if (redraw) button.Invalidate(TRUE);
  if (!button.IsWindowVisible()) button.ShowWindow(SW_SHOW);
}

void DlgParam::ApplyRowLook(int row, int kind, int wide, const CString& caption, const CString& value) {
  CRowButton& button = Row(row);
  m_rowKinds[(row >= 1 && row <= kRows) ? row - 1 : 0] = kind;
  const bool carriesFont = button.GetLayout().fontCode == kRowFontCode;
  const bool dealer9 = g_dealerId == kDealer9;
  CButtonLayout block;
  if (kind == kToggleRow) {
    ApplyIconStyle(dealer9 ? 237 : 234, block);
    block.bitmapY = kToggleIconY;
  } else {
    block.behaviour = CButtonLayout::kRadio;
  }
  block.checked = button.GetCheck();
  block.eraseMode = CButtonLayout::kEraseColor;
  block.eraseColor = kRowBackground;
  block.normalText = g_brushColors[0];
  block.pressedText = g_brushColors[2];  // a disabled row
  block.fontCode = kRowFontCode;
  if (kind == kValueRow || !carriesFont) SendRowFont(button);
  LayOutRowText(button, kind, dealer9 ? (wide ? kWideValueX : kDealer9ValueX) : kValueX, caption, value, block);
  button.ClampToClient(block.bitmapX, block.bitmapY, block.bitmapWidth, block.bitmapHeight);
  button.ClampToClient(block.captionX, block.captionY, block.captionWidth, block.captionHeight);
  if (!block.SameAs(button.GetLayout())) button.SetLayout(block, TRUE);
  button.m_pressedBackground = kRowMarked;
  if (kind != kValueRow) button.m_hideSecondLine = 1;
  if (kind != kToggleRow && button.GetHighlight()) button.SetHighlight(0, TRUE);
}
