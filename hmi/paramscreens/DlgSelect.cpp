#include "DlgSelect.h"

#include <algorithm>

#include "AppGlobals.h"
#include "SkinCodes.h"

namespace {

const int kDealer9 = 9;
const int kPopupBackground = 258;
const int kPageFont = 273;
// The options take the largest of these fonts that keeps every option clear of the choice mark,
// which the option styles put at x 315.
const int kOptionFonts[] = {271, 270, 275};
const int kMarkX = 315;
const int kMarkGap = 8;

int OptionFont(CWnd& choice, const CStringArray& options) {
  CClientDC dc(&choice);
  for (int code : kOptionFonts) {
    CFont* font = SkinFont(code);
    if (!font) continue;
    CFont* previous = dc.SelectObject(font);
    int widest = 0;
    for (int i = 0; i < static_cast<int>(options.GetSize()); ++i) {
      widest = std::max(widest, static_cast<int>(dc.GetTextExtent(options[i]).cx));
    }
    dc.SelectObject(previous);
    if (widest <= kMarkX - kMarkGap) return code;
  }
  return kOptionFonts[2];
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgSelect, DlgPopup)
  ON_BN_CLICKED(DlgSelect::kOption1, &DlgSelect::OnOption1)
  ON_BN_CLICKED(DlgSelect::kOption1 + 1, &DlgSelect::OnOption2)
  ON_BN_CLICKED(DlgSelect::kOption1 + 2, &DlgSelect::OnOption3)
  ON_BN_CLICKED(DlgSelect::kOption1 + 3, &DlgSelect::OnOption4)
  ON_BN_CLICKED(DlgSelect::kPrevPage, &DlgSelect::OnPrev)
  ON_BN_CLICKED(DlgSelect::kNextPage, &DlgSelect::OnNext)
END_MESSAGE_MAP()

DlgSelect::DlgSelect(CWnd* parent) : DlgPopup(kTemplate, parent) {}

DlgSelect::~DlgSelect() = default;

int DlgSelect::Init(const CString& title, const CStringArray& options, int selected) {
  if (options.IsEmpty()) return 0;
  m_options = options;
  const int count = static_cast<int>(m_options.GetSize());
  m_selected = (selected < 0 || selected >= count) ? 0 : selected;
  m_page = count <= kPerPage ? 0 : m_selected / kPerPage + 1;
  m_caption.Format(u"%s:%s", static_cast<const char16_t*>(title),
                   static_cast<const char16_t*>(m_options[m_selected]));
  return 1;
}

int DlgSelect::PageCount() const {
  const int count = static_cast<int>(m_options.GetSize());
  return (count + kPerPage - 1) / kPerPage;
}

void DlgSelect::DoDataExchange(CDataExchange* dx) {
  DlgPopup::DoDataExchange(dx);
  for (int k = 0; k < kPerPage; ++k) DDX_Control(dx, kOption1 + k, m_choices[k]);
  DDX_Control(dx, kPrevPage, m_prev);
  DDX_Control(dx, kNextPage, m_next);
}

BOOL DlgSelect::OnInitDialog() {
  DlgPopup::OnInitDialog();
  const bool dealer9 = g_dealerId == kDealer9;
  const int optionFont = OptionFont(m_choices[0], m_options);
  for (CSkinButton& choice : m_choices) {
    choice.SetIconStyle(dealer9 ? 237 : 234, dealer9 ? 239 : 240, kPopupBackground, optionFont);
  }
  const int face = dealer9 ? 97 : 16;
  m_prev.SetIconStyle(face, 240, kPopupBackground, kPageFont);
  m_next.SetIconStyle(face, 240, kPopupBackground, kPageFont);
  m_title.SetWindowText(m_caption);
  ShowOptions();
  return TRUE;
}

void DlgSelect::ShowOptions() {
  if (m_page == 0) {
    m_prev.ShowWindow(SW_HIDE);
    m_next.ShowWindow(SW_HIDE);
  }
  const int first = FirstShown();
  const int count = static_cast<int>(m_options.GetSize());
  for (int k = 0; k < kPerPage; ++k) {
    CSkinButton& choice = m_choices[k];
    if (first + k < count) {
      choice.SetWindowText(m_options[first + k]);
      choice.Invalidate(TRUE);
      choice.ShowWindow(SW_SHOW);
    } else {
      choice.ShowWindow(SW_HIDE);
    }
  }
  // Only the page that holds the chosen entry shows a mark; on the others no button is checked, so
  // a mark never stands for an entry that was not chosen.
  const int position = m_selected - first;
  for (int k = 0; k < kPerPage; ++k) m_choices[k].SetCheck(k == position ? 1 : 0, TRUE);
}

void DlgSelect::OnPrev() {
  if (m_page == 0) return;
  m_page = m_page == 1 ? PageCount() : m_page - 1;
  ShowOptions();
}

void DlgSelect::OnNext() {
  if (m_page == 0) return;
  m_page = m_page == PageCount() ? 1 : m_page + 1;
  ShowOptions();
}

void DlgSelect::OnOption(int position) {
  const int index = FirstShown() + position;
  if (index < static_cast<int>(m_options.GetSize())) m_selected = index;
}

void DlgSelect::OnOK() { EndDialog(IDOK); }
