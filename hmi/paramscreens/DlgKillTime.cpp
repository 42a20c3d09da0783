#include "DlgKillTime.h"

#include "LangTexts.h"

namespace {

const int kSeparatorId = 1090;
// The day names sit on the check faces in small type (dealer 9: under them).
const int kDayFont = 275;
// The board's font draws a day name 20 to 24 pixels wide, more than the look's 32-pixel box holds
// clear of its border: the default look's box is 38 pixels, centred in its button, with the name
// centred on it.
const int kDayBox = 38;

void CentreNameOnABiggerBox(CSkinButton& day) {
  CButtonLayout layout;
  layout.CopyFrom(day.GetLayout());
  CRect client;
  day.GetClientRect(&client);
  layout.bitmapX = layout.captionX = (client.Width() - kDayBox) / 2;
  layout.bitmapY = layout.captionY = (client.Height() - kDayBox) / 2;
  layout.bitmapWidth = layout.bitmapHeight = layout.captionWidth = layout.captionHeight = kDayBox;
  day.ModifyStyle(0, BS_CENTER | BS_VCENTER);
  day.SetLayout(layout, TRUE);
}

}  // namespace

const int kDayNameTexts[7] = {395, 389, 390, 391, 392, 393, 394};

DlgKillTime::DlgKillTime(CWnd* parent) : DlgArrowFields(kTemplate, parent, 2) {}

DlgKillTime::~DlgKillTime() = default;

int DlgKillTime::Init(const CString& title, int hour, int minute, const int dayFlags[7]) {
  m_caption = title;
  m_fields[0] = WrapField(hour, 24);
  m_fields[1] = WrapField(minute, 60);
  for (int d = 0; d < 7; ++d) m_days[d] = dayFlags[d] ? 1 : 0;
  return 1;
}

void DlgKillTime::DoDataExchange(CDataExchange* dx) {
  DlgArrowFields::DoDataExchange(dx);
  DDX_Control(dx, kSeparatorId, m_separator);
  for (int d = 0; d < 7; ++d) DDX_Control(dx, kFirstDayButton + d, m_dayButtons[d]);
}

BOOL DlgKillTime::OnInitDialog() {
  DlgArrowFields::OnInitDialog();
  m_title.SetWindowText(m_caption);
  m_separator.SetSkin(PopupModel9() ? 264 : 265, 258, 272);
  DressFields(false);
  for (int d = 0; d < 7; ++d) {
    StylePopupButton(m_dayButtons[d], PopupModel9() ? 227 : 226, PopupModel9() ? 249 : 250, kDayFont);
    if (!PopupModel9()) CentreNameOnABiggerBox(m_dayButtons[d]);
    m_dayButtons[d].SetWindowText(LangText(kDayNameTexts[d]));
    m_dayButtons[d].SetCheck(m_days[d], TRUE);
  }
  StartFields();
  return TRUE;
}

void DlgKillTime::OnOK() {
  for (int d = 0; d < 7; ++d) m_days[d] = m_dayButtons[d].GetCheck() ? 1 : 0;
  EndDialog(IDOK);
}

int DlgKillTime::FieldCount(int field) const { return field == 0 ? 24 : 60; }

CString DlgKillTime::FieldText(int field) const { return TwoDigits(m_fields[field]); }
