// Page 16: the designer page.
// The rows are described apart from the screen (ParamRows.h); the screen styles them and runs a tapped
// row's action.
#include "DlgParam.h"
#include "ParamScreenRows.h"

void DlgParam::DrawPage16() { m_subPageCount = DrawParamRows(*this, 16, m_subPage); }
void DlgParam::EditPage16(int row) { TapParamRow(*this, 16, m_subPage, row); }
