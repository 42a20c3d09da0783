// Page 9: operating functions, automatic-mode source, start temperatures, PID parameters.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage9() { DrawEmptyPage(); }
void DlgParam::EditPage9(int) {}
