// Pictures of the first sub-page of pages 1 to 8 in English, with the look of dealer 0 and a sample
// record, against tests/references/pages/page-<n>.png.
#include <gtest/gtest.h>

#include <memory>

#include "../engine/DeliveredDb.h"
#include "MainScreenScenes.h"
#include "CalendarTime.h"
#include "LangTexts.h"
#include "ParamPageFixture.h"
#include "Screenshot.h"
#include "SoftClock.h"

namespace {

class ParamPageShots : public PageFixture {};

TEST_F(ParamPageShots, FirstSubPageOfPagesOneToEight) {
  enginetest::DeliveredDb db;
  scenes::DealerLook look(0);
  LoadLanguage(0, 0);
  testing_support::SetBoardClock(*m_clock, testing_support::CalendarTime(2026, 12, 10, 9, 5));
  ASSERT_EQ(SoftClock(1), 1);

  CSystemData& r = *GetSystemData();
  SampleLimits(r);
  r.m_unlockLevel = 1;
  r.m_stopTempOffset = 2;
  r.m_tempHysteresis = 3;
  r.m_derateTempDiff = 4;
  r.m_coolSetTemp = 18;
  r.m_curveEnabled = 1;
  r.m_dualTempEnabled = 1;
  r.m_coolSecondSetTemp = 18;
  r.m_heatSecondSetTemp = 40;
  r.m_hotWaterSetTemp = 50;
  r.m_hotWaterRestartDiff = 5;
  r.m_balanceStartTemp = -5;
  r.m_balanceHotWaterMinTime = 30;
  r.m_reheatSetTemp = 45;
  r.m_sleepTempAdjust = 3;
  r.m_allowedTempDeviation = 3;
  r.m_sterilizeEnabled = 1;
  r.m_sterilizeStart = (30u << 13) | (2u << 7) | 0x09u;
  r.m_sterilizeTemp = 65;
  r.m_sterilizeHoldTime = 10;
  r.m_sterilizeMaxTime = 60;
  r.m_holidayHotWaterTemp = 40;
  r.m_holidayHeatTemp = 30;
  r.m_holidayStart = 2026 | (12u << 12) | (24u << 16);
  r.m_holidayEnd = 2027 | (1u << 12) | (2u << 16);
  r.m_timerEnabled = 1;

  DlgBase host(nullptr, 102, nullptr);
  ASSERT_TRUE(host.Create(102));
  auto param = std::make_unique<DlgParam>(&host);
  ASSERT_TRUE(param->Create(DlgParam::kTemplate, &host));
  param->SetWindowPos(nullptr, 0, 0, 480, 272, SWP_HIDEWINDOW);
  for (int page = 1; page <= 8; ++page) {
    SCOPED_TRACE(page);
    param->OpenPage(page);
    EXPECT_TRUE(testing_support::ScreenMatchesReference("pages/page-" + std::to_string(page)));
  }
  param->DestroyWindow();
  host.DestroyWindow();
}

}  // namespace
