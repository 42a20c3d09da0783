// Pages 1 and 2: temperature control, weather curves and the second-level (circuit 2) temperatures.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage1() { DrawEmptyPage(); }
void DlgParam::DrawPage2() { DrawEmptyPage(); }
void DlgParam::EditPage1(int) {}
void DlgParam::EditPage2(int) {}
