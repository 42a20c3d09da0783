// Parameter pages 1 to 8 as the user meets them: the parameter screen over the main screen's
// template, a record with plausible limits and access level 1, the texts "T<id>", an outdoor block
// of the test's own, and helpers that open a page on a sub-page, tap a row and act in the pop-ups it
// opens (each step of a script runs in the pop-up in front at that moment).
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "CControlEngine.h"
#include "DlgBase.h"
#include "DlgParam.h"
#include "DlgValue.h"
#include "OutdoorBlock.h"
#include "PageFixture.h"
#include "RowTables.h"

// Limits every range of pages 1 and 2 depends on, and ordered curve points.
inline void SampleLimits(CSystemData& r) {
  r.m_heatSetMin = 20;
  r.m_heatSetMax = 60;
  r.m_coolSetMin = 7;
  r.m_coolSetMax = 25;
  r.m_system1MinSetTemp = 10;
  r.m_system1MaxSetTemp = 55;
  r.m_system2MinSetTemp = 12;
  r.m_system2MaxSetTemp = 50;
  r.m_coolCurveAmbient[0] = 20;
  r.m_coolCurveAmbient[1] = 30;
  r.m_coolCurveAmbient[2] = 35;
  const int32_t ambient[5] = {-15, -5, 0, 5, 15};
  for (int i = 0; i < 5; ++i) r.m_curveAmbient[i] = ambient[i];
}

class TestParamScreen : public DlgParam {
public:
  using DlgParam::DlgParam;
  void OpenAt(int page, int subPage) {
    OpenPage(page);
    m_subPage = subPage;
    ShowPage();
  }
};

class ParamPageFixture : public PageFixture {
protected:
  static constexpr UINT kHostTemplate = 102;

  void SetUp() override {
    PageFixture::SetUp();
    m_outdoor = std::make_unique<OutdoorBlock>();
    g_engine.m_outdoorBlock = m_outdoor.get();
    g_paramCell = 0;
    Limits(*GetSystemData());
    GetSystemData()->m_unlockLevel = 1;
    ASSERT_TRUE(m_host.Create(kHostTemplate));
    ASSERT_TRUE(m_param.Create(DlgParam::kTemplate, &m_host));
    m_param.SetWindowPos(nullptr, 0, 0, 480, 272, SWP_HIDEWINDOW);
    panel::PumpMessages();
  }
  void TearDown() override {
    m_param.DestroyWindow();
    m_host.DestroyWindow();
    g_engine.m_outdoorBlock = nullptr;
    g_paramCell = 0;
    PageFixture::TearDown();
  }

  static void Limits(CSystemData& r) { SampleLimits(r); }

  // Taps row 1..5 of the page on screen; the steps run, one at each idle moment, in whatever pop-up
  // is in front, and must close every pop-up they meet.
  void TapRow(int row, std::vector<std::function<void()>> steps = {}) {
    panel::ScriptedInput script;
    for (auto& step : steps) script.Then(step);
    TapControl(RowId(row), m_param.m_hWnd);
    EXPECT_TRUE(script.Done()) << "the tap opened fewer pop-ups than the script expected";
  }
  static int RowId(int row) {
    const int ids[] = {DlgParam::kRow1, DlgParam::kRow2, DlgParam::kRow3, DlgParam::kRow4, DlgParam::kRow5};
    return ids[row - 1];
  }
  CString Caption(int row) { return TextOf(GetDlgItem(m_param.m_hWnd, RowId(row))); }
  CString Shown(int row) { return m_param.Row(row).m_secondLine; }
  bool RowVisible(int row) { return IsWindowVisible(GetDlgItem(m_param.m_hWnd, RowId(row))) != FALSE; }
  bool RowEnabledOnScreen(int row) { return IsWindowEnabled(GetDlgItem(m_param.m_hWnd, RowId(row))) != FALSE; }

  // The value editor in front, or null.
  static DlgValue* Editor() { return dynamic_cast<DlgValue*>(CWnd::FromHandlePermanent(GetActiveWindow())); }
  // The text of a control of the pop-up in front.
  static CString PopupText(int id) { return TextOf(GetDlgItem(GetActiveWindow(), id)); }
  static void Tap(int id) { TapControl(id, GetActiveWindow()); }
  // In the value editor in front: "+" or "-" until it shows value or a limit stops it.
  static void PressTo(int32_t value) {
    for (DlgValue* e = Editor(); e && e->Value() != value;) {
      const int32_t before = e->Value();
      Tap(before < value ? DlgValue::kPlus : DlgValue::kMinus);
      if (e->Value() == before) break;
    }
  }

  std::unique_ptr<OutdoorBlock> m_outdoor;
  DlgBase m_host{nullptr, kHostTemplate, nullptr};
  TestParamScreen m_param{&m_host};
};
