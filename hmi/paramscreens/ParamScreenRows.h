// The parameter pages on the parameter screen: their rows styled onto the screen's five row buttons,
// and a tapped row's action run with the real pop-ups (value editor, choice list, message box,
// keypad, weekly schedule, disinfection time, date, clock) over the screen. The pages work on the engine's record and its unit blocks and read the dealer id copied at
// start-up. User-interface thread only.
#pragma once

class DlgParam;

// Styles the rows of the sub-page (used ones shown, the rest hidden); the page's sub-page count.
int DrawParamRows(DlgParam& screen, int page, int subPage);
// The tapped row's action (nothing for a hidden or disabled row).
void TapParamRow(DlgParam& screen, int page, int subPage, int row);
// The notices the engine leaves for the person (an outdoor setting the unit refused), over the screen
// whether it is shown or not.
void TellParamNotices(DlgParam& screen);
