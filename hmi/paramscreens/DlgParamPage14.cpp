// Page 14: service: three-way valve, test run, backlight, exit, frost, defrost, mode signal, WiFi, rated-condition test.
// Not filled in yet: each page shows one empty sub-page and its rows do nothing.
#include "DlgParam.h"

void DlgParam::DrawPage14() { DrawEmptyPage(); }
void DlgParam::EditPage14(int) {}
