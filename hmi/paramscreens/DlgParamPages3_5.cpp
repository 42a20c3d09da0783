// Pages 3 to 5: hot water and its balance with heating, heat storage and reheat, sleep and low noise.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage3() { DrawEmptyPage(); }
void DlgParam::DrawPage4() { DrawEmptyPage(); }
void DlgParam::DrawPage5() { DrawEmptyPage(); }
void DlgParam::EditPage3(int) {}
void DlgParam::EditPage4(int) {}
void DlgParam::EditPage5(int) {}
