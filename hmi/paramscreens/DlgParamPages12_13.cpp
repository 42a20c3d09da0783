// Pages 12 and 13: floor first-heat programme; power-cut, backup output, ECO heating and outdoor power-off inputs.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage12() { DrawEmptyPage(); }
void DlgParam::DrawPage13() { DrawEmptyPage(); }
void DlgParam::EditPage12(int) {}
void DlgParam::EditPage13(int) {}
