#include "DlgArrowFields.h"

#include "ControlHelpers.h"

namespace {

const int kDisplayFont = 272;
const int kDisplayText = 240;
const int kDisplayText9 = 239;
const int kArrowFont = 271;
const int kArrowText = 240;
const int kBigArrow = 45;
const int kBigArrowDrop = 9;

}  // namespace

BEGIN_MESSAGE_MAP(DlgArrowFields, DlgPopup)
  ON_WM_TIMER()
END_MESSAGE_MAP()

DlgArrowFields::DlgArrowFields(UINT templateId, CWnd* parent, int fieldCount)
    : DlgPopup(templateId, parent), m_fieldCount(fieldCount < kMaxFields ? fieldCount : kMaxFields) {}

DlgArrowFields::~DlgArrowFields() = default;

void DlgArrowFields::DoDataExchange(CDataExchange* dx) {
  DlgPopup::DoDataExchange(dx);
  for (int i = 0; i < m_fieldCount; ++i) {
    DDX_Control(dx, kFirstDisplay + i, m_displays[i]);
    DDX_Control(dx, kFirstUp + i, m_up[i]);
    DDX_Control(dx, kFirstDown + i, m_down[i]);
  }
}

void DlgArrowFields::DressFields(bool bigArrows) {
  for (int i = 0; i < m_fieldCount; ++i) {
    if (PopupModel9()) {
      StylePopupButton(m_displays[i], 45, kDisplayText9, kDisplayFont);
      StylePopupButton(m_up[i], 131, kArrowText, kArrowFont);
      StylePopupButton(m_down[i], 132, kArrowText, kArrowFont);
    } else {
      StylePopupButton(m_displays[i], 19, kDisplayText, kDisplayFont);
      StylePopupButton(m_up[i], 17, kArrowText, kArrowFont);
      StylePopupButton(m_down[i], 18, kArrowText, kArrowFont);
    }
  }
  if (!PopupModel9() || !bigArrows) return;
  for (int i = 0; i < m_fieldCount; ++i) {
    for (CSkinButton* arrow : {&m_up[i], &m_down[i]}) {
      CRect r;
      GetChildRect(r, arrow);
      const int drop = arrow == &m_up[i] ? kBigArrowDrop : 0;
      arrow->SetWindowPos(nullptr, r.left, r.top + drop, kBigArrow, kBigArrow, SWP_NOZORDER);
    }
  }
}

void DlgArrowFields::StartFields() {
  ShowFields();
  m_held = 0;
  m_repeat = 0;
  SetTimer(kRepeatTimer, kRepeatMs, nullptr);
}

void DlgArrowFields::FieldStepped(int) {}

void DlgArrowFields::Step(int arrow) {
  const int field = (arrow - 1) / 2;
  if (arrow < 1 || field >= m_fieldCount) return;
  const int count = FieldCount(field);
  if (count <= 0) return;
  const bool up = arrow % 2 == 1;
  m_fields[field] = (m_fields[field] + (up ? 1 : count - 1)) % count;
  FieldStepped(field);
  ShowFields();
}

void DlgArrowFields::ShowFields() {
  for (int i = 0; i < m_fieldCount; ++i) SetTextIfChanged(&m_displays[i], FieldText(i));
}

BOOL DlgArrowFields::PreTranslateMessage(MSG* msg) {
  switch (msg->message) {
    case WM_LBUTTONDOWN:
      if (m_held == 0) {
        const int arrow = ArrowAt(msg->pt);
        if (arrow != 0) {
          m_held = arrow;
          Step(arrow);
          m_repeat = 0;
        }
      }
      break;
    case WM_LBUTTONUP:
      m_held = 0;
      m_repeat = 0;
      break;
    case WM_MOUSEMOVE:
      if (m_held != 0) {
        CRect r;
        Arrow(m_held).GetWindowRect(&r);
        if (!r.PtInRect(msg->pt)) {
          m_held = 0;
          m_repeat = 0;
        }
      }
      break;
    default:
      break;
  }
  return DlgPopup::PreTranslateMessage(msg);
}

void DlgArrowFields::OnTimer(UINT_PTR id) {
  if (id == kRepeatTimer) {
    if (m_held != 0) {
      if (m_repeat > 1) Step(m_held);
      ++m_repeat;
    } else {
      m_repeat = 0;
    }
  }
  DlgPopup::OnTimer(id);
}

int DlgArrowFields::ArrowAt(POINT screen) const {
  for (int code = 1; code <= 2 * m_fieldCount; ++code) {
    const CSkinButton& arrow = Arrow(code);
    if (!arrow.m_hWnd || !arrow.IsWindowVisible()) continue;
    CRect r;
    arrow.GetWindowRect(&r);
    if (r.PtInRect(screen)) return code;
  }
  return 0;
}

const CSkinButton& DlgArrowFields::Arrow(int code) const {
  const int field = (code - 1) / 2;
  return code % 2 == 1 ? m_up[field] : m_down[field];
}

int WrapField(int value, int count) {
  if (count < 1) return 0;
  return static_cast<int>(static_cast<uint32_t>(value) % static_cast<uint32_t>(count));
}

CString TwoDigits(int value) {
  CString text;
  text.Format(u"%02d", value);
  return text;
}
