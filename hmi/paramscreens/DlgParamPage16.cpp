// Page 16: the designer page.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage16() { DrawEmptyPage(); }
void DlgParam::EditPage16(int) {}
