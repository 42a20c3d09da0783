// Page 9: operating functions, automatic-mode source, start temperatures, PID parameters.
// The rows are described apart from the screen (ParamRows.h); the screen styles them and runs a tapped
// row's action.
#include "DlgParam.h"
#include "ParamScreenRows.h"

void DlgParam::DrawPage9() { m_subPageCount = DrawParamRows(*this, 9, m_subPage); }
void DlgParam::EditPage9(int row) { TapParamRow(*this, 9, m_subPage, row); }
