// The trend curve window: a static control that draws up to four temperature series against time:
// two arrowed axes with captions, a grid with hour labels along the time axis and value labels along
// the value axis, a legend ("TW", "TC", "TR", "TA") and one polyline per series. Its owner (the
// trend page) appends and removes the points and sets the time window; painting draws everything
// off screen and copies it in one blit, so nothing flickers. User-interface thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "Gui.h"

// One sample: the four series' values (degrees Celsius on the trend page) and its local time.
struct CurvePoint {
  float m_value[4] = {0, 0, 0, 0};
  int64_t m_time = 0;  // seconds, the scale of the system's 64-bit clock
};

class CDataCurve : public CStatic {
public:
  DECLARE_DYNAMIC(CDataCurve)

public:
  static constexpr int kSeries = 4;

  CDataCurve();
  ~CDataCurve() override;

  // Makes the pens and the labels' font; on a client area of at least 120 x 80 pixels also the plot margins, the window
  // of today from 00:00, values -20..80 in 20 divisions, 12 time divisions and no curves. A smaller
  // control keeps its margins and window unset and draws no plot.
  void Init();
  // Stores the window, the value range, the division counts (at least 1), the captions and whether
  // the curves show, and repaints. The points stay.
  void SetRange(int64_t start, int64_t end, float minimum, float maximum, int timeDivisions, int valueDivisions,
                const CString& timeCaption, const CString& valueCaption, int showData);
  void SetCaptions(const CString& timeCaption, const CString& valueCaption);
  // Stores the flag and repaints.
  void SetShowData(int showData);
  // The time window without a repaint.
  void SetWindow(int64_t start, int64_t end);

  int64_t WindowStart() const { return m_start; }
  int64_t WindowEnd() const { return m_end; }
  int GetShowData() const { return m_showData; }
  // The points, oldest first; the owner appends and removes them directly.
  std::vector<CurvePoint>& Points() { return m_points; }
  const std::vector<CurvePoint>& Points() const { return m_points; }
  // The plot area: left (the value axis), top, right and bottom (the time axis).
  CRect PlotArea() const { return CRect(m_plotLeft, m_plotTop, m_plotRight, m_plotBottom); }

  // The screen points of series 0..3: the points within the window, in order, value clamped to the
  // range. Empty when the range or the window is empty.
  std::vector<POINT> SeriesPoints(int series) const;
  // The hour labels along the time axis, left to right ("-24" .. "Now").
  std::vector<CString> HourLabels() const;

protected:
  void OnPaint();
  void DrawGrid(CDC* dc);
  void DrawCurves(CDC* dc);
  DECLARE_MESSAGE_MAP()

private:
  int64_t m_start = 0;
  int64_t m_end = 0;
  float m_minimum = 0;
  float m_maximum = 0;
  CString m_timeCaption;
  CString m_valueCaption;
  int m_timeDivisions = 1;
  int m_valueDivisions = 1;
  int m_plotRight = 0;
  int m_plotLeft = 0;
  int m_plotTop = 0;
  int m_plotBottom = 0;
  int m_showData = 0;
  std::vector<CurvePoint> m_points;
  CPen m_pens[kSeries + 1];  // grey for axes and grid, then red, blue, green, yellow
  CFont m_labelFont;         // captions, hour and value labels, legend
};
