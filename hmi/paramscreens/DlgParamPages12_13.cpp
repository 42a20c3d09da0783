// Pages 12 and 13: floor first-heat programme; power-cut, backup output, ECO heating and outdoor power-off inputs.
// The rows are described apart from the screen (ParamRows.h); the screen styles them and runs a tapped
// row's action.
#include "DlgParam.h"
#include "ParamScreenRows.h"

void DlgParam::DrawPage12() { m_subPageCount = DrawParamRows(*this, 12, m_subPage); }
void DlgParam::DrawPage13() { m_subPageCount = DrawParamRows(*this, 13, m_subPage); }
void DlgParam::EditPage12(int row) { TapParamRow(*this, 12, m_subPage, row); }
void DlgParam::EditPage13(int row) { TapParamRow(*this, 13, m_subPage, row); }
