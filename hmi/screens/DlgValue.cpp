#include "DlgValue.h"

#include <utility>

#include "AppGlobals.h"
#include "ControlHelpers.h"

namespace {

const int kDealer9 = 9;
const char16_t kDegrees[] = u"℃";

// Dressing: dealer 9 has faces of its own and "+" / "-" without captions.
const int kPopupBackground = 258;
const int kDisplayIcon = 19;
const int kDisplayIcon9 = 45;
const int kDisplayText = 240;
const int kDisplayText9 = 239;
const int kDisplayFont = 271;
const int kDisplayFont9 = 273;
const int kStepIcon = 45;  // a white face whose black caption is the template's "+" or "-"
const int kNoTextStyle = 0;
const int kPlusIcon9 = 137;
const int kMinusIcon9 = 138;
const int kStepText = 240;
const int kStepText9 = 238;
const int kSelectFont = 271;
const int kStepFont9 = 274;
const int kSelectIcons[2] = {47, 48};
const int kSelectIcons9[2] = {129, 130};

int32_t Clamp(int64_t value, int32_t min, int32_t max) {
  if (value > max) return max;
  if (value < min) return min;
  return static_cast<int32_t>(value);
}

CString MakeCaption(const CString& title, int32_t value, const CString& unit) {
  CString caption;
  caption.Format(u"%s:%d%s", static_cast<const char16_t*>(title), value, static_cast<const char16_t*>(unit));
  return caption;
}

}  // namespace

BEGIN_MESSAGE_MAP(DlgValue, DlgPopup)
  ON_WM_TIMER()
  ON_BN_CLICKED(DlgValue::kSelectFirst, &DlgValue::OnSelect1)
  ON_BN_CLICKED(DlgValue::kSelectSecond, &DlgValue::OnSelect2)
END_MESSAGE_MAP()

DlgValue::DlgValue(CWnd* parent) : DlgPopup(kTemplate, parent) {}

DlgValue::~DlgValue() = default;

int DlgValue::Setup(const CString& title, int32_t value, int32_t min, int32_t max, const CString& unit,
                    int32_t step) {
  // A caller that swaps the limits would otherwise get a result outside both.
  if (min > max) std::swap(min, max);
  m_value = Clamp(value, min, max);
  m_min = min;
  m_max = max;
  m_step = step;
  m_caption = MakeCaption(title, m_value, unit);
  m_repeatDirection = 0;
  m_repeatCount = 0;
  return 1;
}

int DlgValue::Setup2(const CString& title1, int32_t value1, int32_t min1, int32_t max1, const CString& title2,
                     int32_t value2, int32_t min2, int32_t max2, const CString& unit, int32_t step) {
  if (min1 > max1) std::swap(min1, max1);
  if (min2 > max2) std::swap(min2, max2);
  m_value1 = Clamp(value1, min1, max1);
  m_min1 = min1;
  m_max1 = max1;
  m_caption1 = MakeCaption(title1, m_value1, unit);
  m_value2 = Clamp(value2, min2, max2);
  m_min2 = min2;
  m_max2 = max2;
  m_caption2 = MakeCaption(title2, m_value2, unit);
  m_selected = 1;
  return Setup(title1, value1, min1, max1, unit, step);
}

void DlgValue::DoDataExchange(CDataExchange* dx) {
  DlgPopup::DoDataExchange(dx);
  DDX_Control(dx, kDisplay, m_display);
  DDX_Control(dx, kPlus, m_plus);
  DDX_Control(dx, kMinus, m_minus);
  DDX_Control(dx, kSelectFirst, m_selectFirst);
  DDX_Control(dx, kSelectSecond, m_selectSecond);
}

BOOL DlgValue::OnInitDialog() {
  DlgPopup::OnInitDialog();
  if (g_dealerId == kDealer9) {
    m_display.SetIconStyle(kDisplayIcon9, kDisplayText9, kPopupBackground, kDisplayFont9);
    m_plus.SetIconStyle(kPlusIcon9, kStepText9, kPopupBackground, kStepFont9);
    m_minus.SetIconStyle(kMinusIcon9, kStepText9, kPopupBackground, kStepFont9);
    m_plus.SetWindowText(u"");
    m_minus.SetWindowText(u"");
  } else {
    m_display.SetIconStyle(kDisplayIcon, kDisplayText, kPopupBackground, kDisplayFont);
    m_plus.SetIconStyle(kStepIcon, kNoTextStyle, kPopupBackground, kDisplayFont9);
    m_minus.SetIconStyle(kStepIcon, kNoTextStyle, kPopupBackground, kDisplayFont9);
  }
  const int* selectIcons = g_dealerId == kDealer9 ? kSelectIcons9 : kSelectIcons;
  m_selectFirst.SetIconStyle(selectIcons[0], kStepText, kPopupBackground, kSelectFont);
  m_selectSecond.SetIconStyle(selectIcons[1], kStepText, kPopupBackground, kSelectFont);

  m_selectFirst.ShowWindow(SW_HIDE);
  m_selectSecond.ShowWindow(m_selected == 1 ? SW_SHOW : SW_HIDE);
  ShowCaption();
  ShowValue();
  m_repeatDirection = 0;
  m_repeatCount = 0;
  SetTimer(kRepeatTimer, kRepeatMs);
  return TRUE;
}

BOOL DlgValue::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_LBUTTONDOWN && msg->message != WM_LBUTTONUP && msg->message != WM_MOUSEMOVE) {
    return DlgPopup::PreTranslateMessage(msg);
  }
  if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return DlgPopup::PreTranslateMessage(msg);
  POINT p{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
  ::ClientToScreen(msg->hwnd, &p);
  const CPoint point(p.x, p.y);
  switch (msg->message) {
    case WM_LBUTTONDOWN: OnPress(point); break;
    case WM_LBUTTONUP: OnRelease(); break;
    default: OnMove(point); break;
  }
  // The buttons still see the touch, so "+" and "-" show their pressed faces.
  return FALSE;
}

void DlgValue::OnPress(CPoint screenPoint) {
  if (m_repeatDirection != 0) return;
  if (Inside(m_plus, screenPoint)) {
    m_repeatDirection = 1;
    StepBy(m_step);
  } else if (Inside(m_minus, screenPoint)) {
    m_repeatDirection = 2;
    StepBy(-static_cast<int64_t>(m_step));
  }
  m_repeatCount = 0;
  ShowValue();
}

void DlgValue::OnRelease() {
  m_repeatDirection = 0;
  m_repeatCount = 0;
}

void DlgValue::OnMove(CPoint screenPoint) {
  if (m_repeatDirection == 0) return;
  const CWnd& held = m_repeatDirection == 1 ? static_cast<const CWnd&>(m_plus) : m_minus;
  if (!Inside(held, screenPoint)) OnRelease();
}

void DlgValue::OnTimer(UINT_PTR id) {
  if (id != kRepeatTimer || m_repeatDirection == 0) return;
  const bool up = m_repeatDirection == 1;
  if (up ? m_value >= m_max : m_value <= m_min) {
    OnRelease();
    return;
  }
  if (m_repeatCount >= kRepeatStart) StepBy(up ? m_step : -static_cast<int64_t>(m_step));
  ++m_repeatCount;
}

void DlgValue::OnSelect1() { Select(1); }

void DlgValue::OnSelect2() { Select(2); }

void DlgValue::StepBy(int64_t delta) {
  m_value = Clamp(static_cast<int64_t>(m_value) + delta, m_min, m_max);
  ShowValue();
}

void DlgValue::ShowValue() {
  CString text;
  text.Format(u"%d", m_value);
  SetTextIfChanged(&m_display, text);
}

void DlgValue::ShowCaption() { SetTextIfChanged(&m_title, m_caption); }

void DlgValue::Select(int which) {
  const bool first = which == 1;
  m_value = first ? m_value1 : m_value2;
  m_max = first ? m_max1 : m_max2;
  m_min = first ? m_min1 : m_min2;
  m_caption = first ? m_caption1 : m_caption2;
  m_selected = which;
  m_selectFirst.ShowWindow(first ? SW_HIDE : SW_SHOW);
  m_selectSecond.ShowWindow(first ? SW_SHOW : SW_HIDE);
  ShowCaption();
  ShowValue();
}

bool DlgValue::Inside(const CWnd& button, CPoint screenPoint) const {
  if (!button.m_hWnd || !button.IsWindowVisible()) return false;
  CRect rect;
  button.GetWindowRect(&rect);
  return rect.PtInRect(screenPoint) != FALSE;
}

std::optional<int32_t> EditValue(CWnd* parent, const CString& title, int32_t& field, int32_t min, int32_t max,
                                 const CString& unit, int32_t step) {
  DlgValue dlg(parent);
  dlg.Setup(title, field, min, max, unit, step);
  if (dlg.DoModal() != IDOK) return std::nullopt;
  field = dlg.Value();
  return dlg.Value();
}

std::optional<int32_t> EditValue2(CWnd* parent, const CString& title1, int32_t& field1, int32_t min1, int32_t max1,
                                  const CString& title2, int32_t& field2, int32_t min2, int32_t max2) {
  DlgValue dlg(parent);
  dlg.Setup2(title1, field1, min1, max1, title2, field2, min2, max2, kDegrees, 1);
  if (dlg.DoModal() != IDOK) return std::nullopt;
  int32_t& target = dlg.Selected() == 1 ? field1 : field2;
  target = dlg.Value();
  return dlg.Value();
}
