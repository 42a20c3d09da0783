// Pages 10 and 11: backup heat sources; the pumps of systems A and B.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage10() { DrawEmptyPage(); }
void DlgParam::DrawPage11() { DrawEmptyPage(); }
void DlgParam::EditPage10(int) {}
void DlgParam::EditPage11(int) {}
