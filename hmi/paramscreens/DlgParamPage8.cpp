// Page 8: the system page: access level, clock, profiles, outdoor-unit parameter cells.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage8() { DrawEmptyPage(); }
void DlgParam::EditPage8(int) {}
