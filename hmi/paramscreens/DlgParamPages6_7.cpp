// Pages 6 and 7: disinfection and holiday mode.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage6() { DrawEmptyPage(); }
void DlgParam::DrawPage7() { DrawEmptyPage(); }
void DlgParam::EditPage6(int) {}
void DlgParam::EditPage7(int) {}
