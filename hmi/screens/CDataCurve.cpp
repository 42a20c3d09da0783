#include "CDataCurve.h"

#include "AppGlobals.h"
#include "Platform.h"

namespace {

const COLORREF kGrey = RGB(136, 136, 136);
const COLORREF kSeriesColors[CDataCurve::kSeries] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 255, 0),
                                                      RGB(255, 255, 0)};
const COLORREF kTextColor = RGB(0, 128, 128);
const COLORREF kHourColor = RGB(0, 128, 255);
const COLORREF kValueColor = RGB(255, 117, 5);
const char16_t* const kLegend[CDataCurve::kSeries] = {u"TW", u"TC", u"TR", u"TA"};

// The labels' height in pixels: small enough that the value axis's bottom label and the time axis's
// first one, which meet at the plot's corner, stand apart.
const LONG kLabelHeight = -11;

const int kMinWidth = 120;
const int kMinHeight = 80;
const int64_t kDay = 86400;

int AtLeastOne(int n) { return n < 1 ? 1 : n; }

}  // namespace

IMPLEMENT_DYNAMIC(CDataCurve, CStatic)

BEGIN_MESSAGE_MAP(CDataCurve, CStatic)
  ON_WM_PAINT()
END_MESSAGE_MAP()

CDataCurve::CDataCurve() = default;

CDataCurve::~CDataCurve() = default;

void CDataCurve::Init() {
  m_pens[0].CreatePen(PS_SOLID, 0, kGrey);
  for (int k = 0; k < kSeries; ++k) m_pens[k + 1].CreatePen(PS_SOLID, 1, kSeriesColors[k]);
  // The program's face, smaller.
  LOGFONTW face{};
  if (!g_font9.m_hObject || !g_font9.GetLogFont(&face)) ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof face, &face);
  face.lfHeight = kLabelHeight;
  m_labelFont.CreateFontIndirect(&face);
  CRect client;
  GetClientRect(&client);
  if (client.Width() < kMinWidth || client.Height() < kMinHeight) return;
  m_plotLeft = 20;
  m_plotTop = 13;
  m_plotRight = client.Width() - 13;
  m_plotBottom = client.Height() - 18;
  SYSTEMTIME today;
  GetLocalTime(&today);
  today.wHour = today.wMinute = today.wSecond = today.wMilliseconds = 0;
  m_start = panel::SystemTimeToEpochMs(today) / 1000;
  m_end = m_start + kDay;
  m_minimum = -20.0f;
  m_maximum = 80.0f;
  m_timeDivisions = 12;
  m_valueDivisions = 20;
  m_showData = 0;
  Invalidate(TRUE);
}

void CDataCurve::SetRange(int64_t start, int64_t end, float minimum, float maximum, int timeDivisions,
                          int valueDivisions, const CString& timeCaption, const CString& valueCaption,
                          int showData) {
  m_start = start;
  m_end = end;
  m_minimum = minimum;
  m_maximum = maximum;
  m_timeDivisions = AtLeastOne(timeDivisions);
  m_valueDivisions = AtLeastOne(valueDivisions);
  SetCaptions(timeCaption, valueCaption);
  m_showData = showData;
  Invalidate(TRUE);
}

void CDataCurve::SetCaptions(const CString& timeCaption, const CString& valueCaption) {
  m_timeCaption = timeCaption;
  m_valueCaption = valueCaption;
}

void CDataCurve::SetShowData(int showData) {
  m_showData = showData;
  Invalidate(TRUE);
}

void CDataCurve::SetWindow(int64_t start, int64_t end) {
  m_start = start;
  m_end = end;
}

std::vector<POINT> CDataCurve::SeriesPoints(int series) const {
  std::vector<POINT> points;
  const float range = m_maximum - m_minimum;
  const int64_t span = m_end - m_start;
  if (series < 0 || series >= kSeries || !(range > 0) || span <= 0) return points;
  points.reserve(m_points.size());
  const int width = m_plotRight - m_plotLeft;
  const int height = m_plotBottom - m_plotTop;
  for (const CurvePoint& p : m_points) {
    if (p.m_time < m_start || p.m_time > m_end) continue;
    const double fx = static_cast<double>(p.m_time - m_start) / static_cast<double>(span);
    const float value = p.m_value[series];
    float fy = 0;
    if (!(value < m_minimum)) fy = (value < m_maximum ? value - m_minimum : range) / range;
    points.push_back(POINT{m_plotLeft + static_cast<LONG>(width * fx),
                           m_plotBottom - static_cast<LONG>(height * static_cast<double>(fy))});
  }
  return points;
}

std::vector<CString> CDataCurve::HourLabels() const {
  std::vector<CString> labels;
  const int64_t hoursPerDivision = ((m_end - m_start) / 3600) / m_timeDivisions;
  int64_t hour = -24;
  for (int i = 0; i <= m_timeDivisions; ++i) {
    CString label;
    if (hour == 0) {
      label = u"Now";
    } else {
      label.Format(u"%d", static_cast<int>(hour));
    }
    labels.push_back(label);
    hour += hoursPerDivision;
  }
  return labels;
}

void CDataCurve::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  const int w = client.Width();
  const int h = client.Height();
  CBitmap picture;
  CDC memory;
  if (!picture.CreateCompatibleBitmap(&paint, w, h) || !memory.CreateCompatibleDC(&paint)) return;
  CBitmap* previous = memory.SelectObject(&picture);
  memory.FillSolidRect(0, 0, w, h, RGB(255, 255, 255));
  memory.SetBkMode(TRANSPARENT);
  memory.SetTextColor(kTextColor);
  CFont* previousFont = m_labelFont.m_hObject ? memory.SelectObject(&m_labelFont) : nullptr;
  if (m_plotRight > m_plotLeft && m_plotBottom > m_plotTop) {
    DrawGrid(&memory);
    if (m_showData) DrawCurves(&memory);
  }
  paint.BitBlt(0, 0, w, h, &memory, 0, 0, SRCCOPY);
  if (previousFont) memory.SelectObject(previousFont);
  memory.SelectObject(previous);
}

void CDataCurve::DrawGrid(CDC* dc) {
  const int L = m_plotLeft, R = m_plotRight, T = m_plotTop, B = m_plotBottom;
  CPen* previousPen = dc->SelectObject(&m_pens[0]);
  // The axes with their arrows and captions.
  dc->MoveTo(L, T - 10);
  dc->LineTo(L, B);
  dc->LineTo(R + 10, B);
  dc->MoveTo(L - 5, T - 5);
  dc->LineTo(L, T - 10);
  dc->LineTo(L + 5, T - 5);
  dc->TextOut(L + 3, T - 13, m_valueCaption);
  dc->MoveTo(R + 5, B - 5);
  dc->LineTo(R + 10, B);
  dc->LineTo(R + 5, B + 5);
  dc->TextOut(R + 3, B - 15, m_timeCaption);

  const float valuePerDivision = (m_maximum - m_minimum) / static_cast<float>(m_valueDivisions);
  const float xStep = static_cast<float>(R - L) / static_cast<float>(m_timeDivisions);
  const float yStep = static_cast<float>(B - T) / static_cast<float>(m_valueDivisions);

  // Hour lines and labels: the labels count from -24 whatever the window.
  dc->SetTextColor(kHourColor);
  const std::vector<CString> hours = HourLabels();
  for (int i = 0; i <= m_timeDivisions; ++i) {
    const int x = static_cast<int>(static_cast<float>(L) + static_cast<float>(i) * xStep);
    dc->MoveTo(x, B);
    dc->LineTo(x, T);
    const bool now = hours[i] == CString(u"Now");
    dc->TextOut(now ? x - 23 : x - 3, B + 2, hours[i]);
  }

  // Value lines and labels.
  dc->SetTextColor(kValueColor);
  float value = m_minimum;
  for (int i = 0; i <= m_valueDivisions; ++i) {
    const int y = static_cast<int>(static_cast<float>(B) - static_cast<float>(i) * yStep);
    dc->MoveTo(L, y);
    dc->LineTo(R, y);
    CString label;
    label.Format(u"%g", static_cast<double>(value));
    if (valuePerDivision >= 1000.0f && valuePerDivision < 100000.0f) {
      dc->TextOut(8, y - 5, label);
    } else if (valuePerDivision >= 0.0f && valuePerDivision < 1000.0f) {
      dc->TextOut(1, y - 5, label);
    }
    value += valuePerDivision;
  }

  // The legend along the top.
  for (int k = 0; k < kSeries; ++k) {
    const int x = L + 30 + 70 * k;
    dc->TextOut(x, T - 14, kLegend[k]);
    dc->SelectObject(&m_pens[k + 1]);
    dc->MoveTo(x + 20, T - 7);
    dc->LineTo(x + 50, T - 7);
  }
  dc->SelectObject(previousPen);
}

void CDataCurve::DrawCurves(CDC* dc) {
  CPen* previousPen = dc->SelectObject(&m_pens[1]);
  for (int k = 0; k < kSeries; ++k) {
    const std::vector<POINT> points = SeriesPoints(k);
    if (points.empty()) continue;
    dc->SelectObject(&m_pens[k + 1]);
    dc->Polyline(points.data(), static_cast<int>(points.size()));
  }
  dc->SelectObject(previousPen);
}
