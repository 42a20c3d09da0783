// Page 15: running values and versions, read-only (no edit operation).
// The rows are described apart from the screen (ParamRows.h); the screen styles them and runs a tapped
// row's action.
#include "DlgParam.h"
#include "ParamScreenRows.h"

void DlgParam::DrawPage15() { m_subPageCount = DrawParamRows(*this, 15, m_subPage); }
