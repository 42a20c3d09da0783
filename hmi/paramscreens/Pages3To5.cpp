// Pages 3, 4 and 5: hot water, the heating/hot-water balance and ECO hot water; heat storage and
// reheat with their weekly timers; sleep and low noise with their weekly timers. A weekly timer is
// seven hour masks, Sunday first, edited whole in the weekly schedule pop-up.
// The screen's operations of the pages, DlgParam's DrawPageN and EditPageN, close the file.
#include "DlgParam.h"
#include "LangTexts.h"
#include "ParamScreenRows.h"
#include "RowTables.h"

namespace {

const int kDealer9 = 9;
using K = RowSpec;

const RowSpec kPage3[] = {
    {1, 1, 85, K::kDegrees, ROW_FIELD(m_hotWaterSetTemp), ROW_RANGE(25, 75), 1, false, nullptr, nullptr},
    {1, 2, 86, K::kDegrees, ROW_FIELD(m_hotWaterRestartDiff), ROW_RANGE(2, 15), 1, false, nullptr, nullptr},
    {1, 3, 87, K::kToggle, ROW_FIELD(m_heatBalanceEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 4, 88, K::kDegrees, ROW_FIELD(m_balanceStartTemp), ROW_RANGE(-15, 20), 1, false, nullptr, nullptr},
    {1, 5, 89, K::kMinutes, ROW_FIELD(m_balanceHotWaterMinTime), ROW_RANGE(10, 60), 5, false, nullptr, nullptr},
    {2, 1, 90, K::kMinutes, ROW_FIELD(m_balanceHeatMaxTime), ROW_RANGE(30, 180), 5, false, nullptr, nullptr},
    {2, 2, 91, K::kDegrees, ROW_FIELD(m_balanceTempDiff), ROW_RANGE(3, 10), 1, false, nullptr, nullptr},
    {2, 3, 92, K::kToggle, ROW_FIELD(m_balanceTankHeaterEnabled), nullptr, 1, false, nullptr, nullptr},
    {2, 4, 276, K::kToggle, ROW_FIELD(m_ecoHotWaterEnabled), nullptr, 1, true, nullptr, nullptr},
    {2, 5, 277, K::kDegrees, ROW_FIELD(m_ecoHotWaterAmbientStart), ROW_RANGE(-20, 43), 1, true, nullptr, nullptr},
};

const RowSpec kPage4[] = {
    {1, 1, 93, K::kToggle, ROW_FIELD(m_heatStorageEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 94, K::kBlank, nullptr, nullptr, 1, false, nullptr, nullptr},
    {1, 3, 95, K::kToggle, ROW_FIELD(m_reheatEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 4, 96, K::kBlank, nullptr, nullptr, 1, false, nullptr, nullptr},
    {1, 5, 97, K::kDegrees, ROW_FIELD(m_reheatSetTemp), ROW_RANGE(30, 55), 1, false, nullptr, nullptr},
    {2, 1, 98, K::kDegrees, ROW_FIELD(m_reheatRestartDiff), ROW_RANGE(2, 20), 1, false, nullptr, nullptr},
};
const RowSpec kPage4Model9[] = {
    {1, 1, 93, K::kToggle, ROW_FIELD(m_heatStorageEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 94, K::kBlank, nullptr, nullptr, 1, false, nullptr, nullptr},
};

const RowSpec kPage5[] = {
    {1, 1, 112, K::kToggle, ROW_FIELD(m_sleepEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 113, K::kDegrees, ROW_FIELD(m_sleepTempAdjust), ROW_RANGE(2, 10), 1, false, nullptr, nullptr},
    {1, 3, 114, K::kCommand, nullptr, nullptr, 1, false, nullptr, nullptr},
    {1, 4, 115, K::kToggle, ROW_FIELD(m_lowNoiseEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 5, 116, K::kDegrees, ROW_FIELD(m_allowedTempDeviation), ROW_RANGE(2, 10), 1, false, nullptr, nullptr},
    {2, 1, 117, K::kCommand, nullptr, nullptr, 1, false, nullptr, nullptr},
};
const RowSpec kPage5Model9[] = {
    {1, 1, 115, K::kToggle, ROW_FIELD(m_lowNoiseEnabled), nullptr, 1, false, nullptr, nullptr},
    {1, 2, 116, K::kDegrees, ROW_FIELD(m_allowedTempDeviation), ROW_RANGE(2, 10), 1, false, nullptr, nullptr},
    {1, 3, 117, K::kCommand, nullptr, nullptr, 1, false, nullptr, nullptr},
};

// The weekly timer behind a row's caption.
int32_t* TimerMasks(CSystemData& s, int caption) {
  switch (caption) {
    case 94: return s.m_storageTimerMask;
    case 96: return s.m_reheatTimerMask;
    case 114: return s.m_sleepTimerMask;
    case 117: return s.m_lowNoiseTimerMask;
    default: return nullptr;
  }
}

// A weekly timer row opens the weekly schedule; any other row is the table's.
int TimerTableRows(PageContext& c, RowTable table, int subPage, SubPageRows& rows) {
  TableRows(c, table, subPage, rows, [&c](const RowSpec& r) -> std::function<void()> {
    int32_t* masks = TimerMasks(c.d, r.caption);
    if (!masks) return {};
    const int caption = r.caption;
    return [&c, caption, masks] { c.ui.WeekMasks(LangText(caption), masks); };
  });
  return c.dealerId == kDealer9 ? 1 : 2;
}

}  // namespace

int Page3Rows(PageContext& c, int subPage, SubPageRows& rows) {
  TableRows(c, TableOf(kPage3), subPage, rows);
  return 2;
}

int Page4Rows(PageContext& c, int subPage, SubPageRows& rows) {
  return TimerTableRows(c, c.dealerId == kDealer9 ? TableOf(kPage4Model9) : TableOf(kPage4), subPage, rows);
}

int Page5Rows(PageContext& c, int subPage, SubPageRows& rows) {
  return TimerTableRows(c, c.dealerId == kDealer9 ? TableOf(kPage5Model9) : TableOf(kPage5), subPage, rows);
}

// ---- The pages on the parameter screen

void DlgParam::DrawPage3() { m_subPageCount = DrawParamRows(*this, 3, m_subPage); }
void DlgParam::DrawPage4() { m_subPageCount = DrawParamRows(*this, 4, m_subPage); }
void DlgParam::DrawPage5() { m_subPageCount = DrawParamRows(*this, 5, m_subPage); }
void DlgParam::EditPage3(int row) { TapParamRow(*this, 3, m_subPage, row); }
void DlgParam::EditPage4(int row) { TapParamRow(*this, 4, m_subPage, row); }
void DlgParam::EditPage5(int row) { TapParamRow(*this, 5, m_subPage, row); }
