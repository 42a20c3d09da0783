// Page 14: service: three-way valve, test run, backlight, exit, frost, defrost, mode signal, WiFi, rated-condition test.
// The rows are described apart from the screen (ParamRows.h); the screen styles them and runs a tapped
// row's action.
#include "DlgParam.h"
#include "ParamScreenRows.h"

void DlgParam::DrawPage14() { m_subPageCount = DrawParamRows(*this, 14, m_subPage); }
void DlgParam::EditPage14(int row) { TapParamRow(*this, 14, m_subPage, row); }
