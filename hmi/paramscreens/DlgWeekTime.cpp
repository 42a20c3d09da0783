#include "DlgWeekTime.h"

#include "DlgKillTime.h"
#include "LangTexts.h"

namespace {

// Days 1 to 6, then day 0, as the template places them.
const int kDayButtonIds[7] = {1079, 1080, 1081, 1082, 1061, 1062, 1083};
const int kButtonFont = 271;
const int kButtonText = 240;
// Slot captions are dark on the light slot faces; the long dealer-9 captions take the small font.
const int kSlotText = 239;
const int kSmallFont = 275;

const char16_t* const kWideSlotCaptions[DlgWeekTime::kSlots] = {
    u"00:00-02:00", u"02:00-04:00", u"04:00-06:00", u"06:00-08:00", u"08:00-10:00", u"10:00-12:00",
    u"12:00-14:00", u"14:00-16:00", u"16:00-18:00", u"18:00-20:00", u"20:00-22:00", u"22:00-00:00"};

int DayOfButton(int index) { return index < 6 ? index + 1 : 0; }

}  // namespace

BEGIN_MESSAGE_MAP(DlgWeekTime, DlgPopup)
  ON_CONTROL_RANGE(BN_CLICKED, 1061, 1062, &DlgWeekTime::OnDayButton)
  ON_CONTROL_RANGE(BN_CLICKED, 1079, 1083, &DlgWeekTime::OnDayButton)
  ON_CONTROL_RANGE(BN_CLICKED, 1084, 1104, &DlgWeekTime::OnSlotButton)
END_MESSAGE_MAP()

DlgWeekTime::DlgWeekTime(CWnd* parent) : DlgPopup(kTemplate, parent) {}

DlgWeekTime::~DlgWeekTime() = default;

int DlgWeekTime::Init(const CString& title, const int32_t masks[7]) {
  m_caption = title;
  for (int d = 0; d < 7; ++d) m_masks[d] = masks[d];
  return 1;
}

void DlgWeekTime::ShowDay(int day) {
  m_shownDay = day;
  const uint32_t mask = static_cast<uint32_t>(m_masks[ShownIndex()]);
  for (int k = 1; k <= kSlots; ++k) {
    m_slotButtons[k - 1].SetCheck((mask >> (2 * (k - 1))) & 1u ? 1 : 0, TRUE);
  }
}

void DlgWeekTime::OnSlot(int slot) {
  if (slot < 1 || slot > kSlots) return;
  const uint32_t bits = 3u << (2 * (slot - 1));
  uint32_t mask = static_cast<uint32_t>(m_masks[ShownIndex()]);
  mask = m_slotButtons[slot - 1].GetCheck() ? (mask | bits) : (mask & ~bits);
  m_masks[ShownIndex()] = static_cast<int32_t>(mask);
}

void DlgWeekTime::DoDataExchange(CDataExchange* dx) {
  DlgPopup::DoDataExchange(dx);
  for (int i = 0; i < 7; ++i) DDX_Control(dx, kDayButtonIds[i], m_dayButtons[i]);
  for (int k = 0; k < kSlots; ++k) DDX_Control(dx, kTwelveButtonIds[k], m_slotButtons[k]);
}

BOOL DlgWeekTime::OnInitDialog() {
  DlgPopup::OnInitDialog();
  m_title.SetWindowText(m_caption);
  for (int i = 0; i < 7; ++i) {
    StylePopupButton(m_dayButtons[i], PopupModel9() ? 236 : 233, kButtonText, kButtonFont);
    m_dayButtons[i].SetWindowText(LangText(kDayNameTexts[DayOfButton(i)]));
  }
  for (int k = 0; k < kSlots; ++k) {
    StylePopupButton(m_slotButtons[k], PopupModel9() ? 229 : 225, kSlotText, PopupModel9() ? kSmallFont : kButtonFont);
    if (PopupModel9()) m_slotButtons[k].SetWindowText(kWideSlotCaptions[k]);
  }
  m_dayButtons[0].SetCheck(1, TRUE);
  ShowDay(1);
  return TRUE;
}

void DlgWeekTime::OnDayButton(UINT id) {
  for (int i = 0; i < 7; ++i) {
    if (kDayButtonIds[i] == static_cast<int>(id)) ShowDay(DayOfButton(i));
  }
}

void DlgWeekTime::OnSlotButton(UINT id) {
  for (int k = 0; k < kSlots; ++k) {
    if (kTwelveButtonIds[k] == static_cast<int>(id)) OnSlot(k + 1);
  }
}
