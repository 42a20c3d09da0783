// Pages 1 to 8: temperature control, second-level temperatures, hot water, heat storage and reheat,
// sleep and low noise, disinfection, holiday, and the system page.
// The rows are described apart from the screen (ParamRows.h, from the tables of RowTables.h); the
// screen styles them and runs a tapped row's action.
#include "DlgParam.h"
#include "ParamScreenRows.h"

void DlgParam::DrawPage1() { m_subPageCount = DrawParamRows(*this, 1, m_subPage); }
void DlgParam::DrawPage2() { m_subPageCount = DrawParamRows(*this, 2, m_subPage); }
void DlgParam::DrawPage3() { m_subPageCount = DrawParamRows(*this, 3, m_subPage); }
void DlgParam::DrawPage4() { m_subPageCount = DrawParamRows(*this, 4, m_subPage); }
void DlgParam::DrawPage5() { m_subPageCount = DrawParamRows(*this, 5, m_subPage); }
void DlgParam::DrawPage6() { m_subPageCount = DrawParamRows(*this, 6, m_subPage); }
void DlgParam::DrawPage7() { m_subPageCount = DrawParamRows(*this, 7, m_subPage); }
void DlgParam::DrawPage8() { m_subPageCount = DrawParamRows(*this, 8, m_subPage); }
void DlgParam::EditPage1(int row) { TapParamRow(*this, 1, m_subPage, row); }
void DlgParam::EditPage2(int row) { TapParamRow(*this, 2, m_subPage, row); }
void DlgParam::EditPage3(int row) { TapParamRow(*this, 3, m_subPage, row); }
void DlgParam::EditPage4(int row) { TapParamRow(*this, 4, m_subPage, row); }
void DlgParam::EditPage5(int row) { TapParamRow(*this, 5, m_subPage, row); }
void DlgParam::EditPage6(int row) { TapParamRow(*this, 6, m_subPage, row); }
void DlgParam::EditPage7(int row) { TapParamRow(*this, 7, m_subPage, row); }
void DlgParam::EditPage8(int row) { TapParamRow(*this, 8, m_subPage, row); }
