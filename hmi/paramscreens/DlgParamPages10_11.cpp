// Pages 10 and 11: backup heat sources; the pumps of systems A and B.
// The rows are described apart from the screen (ParamRows.h); the screen styles them and runs a tapped
// row's action.
#include "DlgParam.h"
#include "ParamScreenRows.h"

void DlgParam::DrawPage10() { m_subPageCount = DrawParamRows(*this, 10, m_subPage); }
void DlgParam::DrawPage11() { m_subPageCount = DrawParamRows(*this, 11, m_subPage); }
void DlgParam::EditPage10(int row) { TapParamRow(*this, 10, m_subPage, row); }
void DlgParam::EditPage11(int row) { TapParamRow(*this, 11, m_subPage, row); }
