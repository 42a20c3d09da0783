// Page 15: running values and versions, read-only (no edit operation).
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage15() { DrawEmptyPage(); }
