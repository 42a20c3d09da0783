// The trend curve window and the trend page: the polyline points of known rows, the grid's labels,
// the day's log read once and a new point each minute.
#include <gtest/gtest.h>

#include <vector>

#include "CDataCurve.h"
#include "DbTables.h"
#include "DlgDesign4.h"
#include "MainHostFixture.h"

namespace {

using Xy = std::vector<std::pair<int, int>>;
Xy Coordinates(const std::vector<POINT>& points) {
  Xy xy;
  for (const POINT& p : points) xy.emplace_back(p.x, p.y);
  return xy;
}

CurvePoint Point(int64_t time, float v0, float v1 = 0, float v2 = 0, float v3 = 0) {
  CurvePoint p;
  p.m_time = time;
  p.m_value[0] = v0;
  p.m_value[1] = v1;
  p.m_value[2] = v2;
  p.m_value[3] = v3;
  return p;
}

// A curve control of 213 x 131 pixels on a bare window: plot left 20, top 13, right 200, bottom 113,
// so a value of the -20..80 range lies trunc(v + 20) pixels above the time axis.
class CDataCurveTest : public PageFixture {
protected:
  void SetUp() override {
    PageFixture::SetUp();
    ASSERT_TRUE(host.CreateEx(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 480, 272), nullptr, 0));
    ASSERT_TRUE(curve.Create(u"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 223, 141), &host, 1086));
    curve.Init();
  }
  CWnd host;
  CDataCurve curve;
};

TEST_F(CDataCurveTest, Init_SetsTheMarginsFromTheClientSize) {
  EXPECT_EQ(curve.PlotArea(), CRect(20, 13, 200, 113));
}

TEST_F(CDataCurveTest, SeriesPoints_InTheWindowClampedToTheRange) {
  curve.SetRange(1000, 4600, -20.0f, 80.0f, 2, 5, u"H", u"℃", 1);
  curve.Points() = {Point(999, 10, 10),    // before the window
                    Point(1000, 30, 0),    // left end
                    Point(2800, 95, -20),  // the middle; above the range
                    Point(4600, -30, 80),  // right end; below the range
                    Point(4601, 10, 10)};  // after the window
  EXPECT_EQ(Coordinates(curve.SeriesPoints(0)), (Xy{{20, 63}, {110, 13}, {200, 113}}));
  EXPECT_EQ(Coordinates(curve.SeriesPoints(1)), (Xy{{20, 93}, {110, 113}, {200, 13}}));
  // Nothing is drawn for an empty window or range.
  curve.SetRange(1000, 1000, -20.0f, 80.0f, 2, 5, u"H", u"℃", 1);
  EXPECT_TRUE(curve.SeriesPoints(0).empty());
  curve.SetRange(1000, 4600, 80.0f, 80.0f, 2, 5, u"H", u"℃", 1);
  EXPECT_TRUE(curve.SeriesPoints(0).empty());
}

TEST_F(CDataCurveTest, HourLabels_CountFromMinus24WhateverTheWindow) {
  struct Case {
    int64_t span;
    std::vector<CString> labels;
  };
  const Case cases[] = {{86400, {u"-24", u"-12", u"Now"}},
                        {21600, {u"-24", u"-21", u"-18"}},
                        {0, {u"-24", u"-24", u"-24"}}};
  for (const Case& c : cases) {
    curve.SetRange(5000, 5000 + c.span, -20.0f, 80.0f, 2, 5, u"H", u"℃", 0);
    EXPECT_EQ(curve.HourLabels(), c.labels) << c.span;
  }
}

TEST_F(CDataCurveTest, Paint_DrawsTheValueLabelsAtTheLeftEdgeAndNowAtTheRightEnd) {
  curve.SetRange(1000, 1000 + 86400, -20.0f, 80.0f, 2, 5, u"H", u"℃", 0);
  panel::ClearDrawLog();
  curve.RedrawWindow();
  // Value labels every 20 pixels up from the time axis (y = 113), each 5 pixels above its line.
  struct Case {
    const char16_t* label;
    int y;
  };
  for (const Case& c : {Case{u"-20", 108}, Case{u"0", 88}, Case{u"40", 48}, Case{u"80", 8}}) {
    const panel::DrawnText* drawn = panel::FindDrawnText(c.label);
    ASSERT_NE(drawn, nullptr) << c.label;
    EXPECT_EQ(drawn->rect.left, 1) << c.label;
    EXPECT_EQ(drawn->rect.top, c.y) << c.label;
  }
  const panel::DrawnText* now = panel::FindDrawnText(u"Now");
  ASSERT_NE(now, nullptr);
  EXPECT_EQ(now->rect.left, 200 - 23);
  EXPECT_EQ(now->rect.top, 115);
  for (const char16_t* legend : {u"TW", u"TC", u"TR", u"TA", u"H", u"℃"}) {
    EXPECT_NE(panel::FindDrawnText(legend), nullptr);
  }
}

// The trend page on the main screen, over a log in a fresh database.
class DlgDesign4Test : public MainHostDbFixture {
protected:
  static void Log(int64_t time, float tank, float control, float room, float ambient) {
    RealRecord r;
    r.m_time = time;
    r.m_tankTemp = tank;
    r.m_heatCoolTemp = control;
    r.m_roomTemp = room;
    r.m_ambientTemp = ambient;
    ASSERT_EQ(InsertRealData(r), 1);
  }
  std::vector<CurvePoint>& Points() { return main.Design4().Curve().Points(); }
};

TEST_F(DlgDesign4Test, FirstMinute_ReadsTheDaysLogAndAddsTheCurrentValues) {
  SetClock(2026, 12, 8, 9, 5, 59);
  const int64_t boundary = g_now + 1;  // 09:06:00
  Log(boundary - 90000, 50, 30, 20, 5);  // older than a day: not read
  Log(boundary - 3600, 95, 35.5f, 21.5f, -98);
  Log(boundary - 60, 48, 34, -99, 3.5f);
  CSystemData& r = *GetSystemData();
  r.m_tankTemp = 47.5f;
  r.m_heatCoolTemp = 33;
  r.m_roomTemp = 21.5f;
  r.m_ambientTemp = 2;
  CreateMain();
  Run(1000);
  EXPECT_FALSE(main.Design4().IsLoaded());  // second 59: nothing yet
  SetClock(2026, 12, 8, 9, 6, 0);
  Run(1000);
  ASSERT_TRUE(main.Design4().IsLoaded());
  ASSERT_EQ(Points().size(), 3u);
  struct Expected {
    int64_t time;
    float values[4];
  };
  const Expected expected[] = {{boundary - 3600, {80, 35.5f, 21.5f, -20}},
                               {boundary - 60, {48, 34, -20, 3.5f}},
                               {boundary, {47.5f, 33, 21.5f, 2}}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(Points()[i].m_time, expected[i].time);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(Points()[i].m_value[k], expected[i].values[k]) << k;
  }
  EXPECT_EQ(main.Design4().Curve().WindowStart(), boundary - 86400);
  EXPECT_EQ(main.Design4().Curve().WindowEnd(), boundary);

  // A minute later one more point, the log not read again.
  Log(boundary + 30, 10, 10, 10, 10);
  r.m_tankTemp = 46;
  SetClock(2026, 12, 8, 9, 7, 0);
  Run(1000);
  ASSERT_EQ(Points().size(), 4u);
  EXPECT_EQ(Points().back().m_time, boundary + 60);
  EXPECT_EQ(Points().back().m_value[0], 46.0f);
}

TEST_F(DlgDesign4Test, PointsOlderThanADay_AreDropped) {
  SetClock(2026, 12, 8, 9, 6, 0);
  const int64_t boundary = g_now;
  Log(boundary - 3600, 40, 30, 20, 10);
  CreateMain();
  Run(1000);
  ASSERT_EQ(Points().size(), 2u);
  SetClock(2026, 12, 9, 9, 6, 0);  // a day later: the logged row is older than the window now
  Run(1000);
  ASSERT_EQ(Points().size(), 2u);
  EXPECT_EQ(Points()[0].m_time, boundary);
  EXPECT_EQ(Points()[1].m_time, boundary + 86400);
}

TEST_F(DlgDesign4Test, ShownPage_DrawsTheDayWithItsHourLabels) {
  SetClock(2026, 12, 8, 9, 6, 0);
  CreateMain();
  main.Design4().ShowPage(SW_SHOW);
  Run(1000);
  EXPECT_EQ(main.Design4().Curve().HourLabels(), (std::vector<CString>{u"-24", u"-12", u"Now"}));
  EXPECT_EQ(main.Design4().Curve().GetShowData(), 1);
  Tap(10, 10);
  EXPECT_FALSE(Shown(main.Design4()));
}

}  // namespace
