// The main program's application object (g_app). InitInstance is the program's whole life: it
// makes sure only one copy runs, starts socket support, binds the board library by processor
// type, sets the touch driver's cursor value, enables the engine, takes the dealer id, adds the
// font file and makes the fonts, bitmaps and brushes, runs the main screen modally and, when that
// ends, shuts everything down again and returns FALSE, so the program ends without a message loop
// of its own. PreTranslateMessage sees every input message first: the touch that wakes the
// backlight does nothing else. User-interface thread only.
#pragma once

#include "Gui.h"

class DlgMain;

class CHmiApp : public CWinApp {
public:
  CHmiApp();
  ~CHmiApp() override;

  // Always FALSE (see above); a second copy returns at once, touching nothing.
  BOOL InitInstance() override;
  // The waking touch: when the backlight is off, the press switches it on and the whole touch
  // (press, moves, release) is swallowed. Any press clears the idle count.
  BOOL PreTranslateMessage(MSG* msg) override;

  DECLARE_MESSAGE_MAP()

private:
  void ShutDown(DlgMain* mainScreen, const CString& fontFile);

  bool m_socketsStarted = false;   // the framework's socket support, ended with the object
  bool m_swallowingTouch = false;  // between the waking press and its release
};

extern CHmiApp g_app;

// The look that the start-up makes, one piece at a time (the screenshot tool makes it the same way).
// The six fonts of the face "微软雅黑" (GB2312, ClearType quality), by point size.
void MakeAppFonts();
// The eight backgrounds of the dealer id, and its fourth brush colour.
void LoadDealerLook(int dealerId);
// The four solid brushes of g_brushColors.
void MakeAppBrushes();
// Deletes all six fonts, the eight backgrounds and the brushes (tools and tests that make the look
// more than once per process).
void FreeAppLook();

// The resource ids of the eight backgrounds for a dealer id, in the order main, page, design 2,
// design 1, menu 1, menu 2, spare, pop-up.
struct DealerBitmaps {
  UINT ids[8];
};
DealerBitmaps BitmapsForDealer(int dealerId);
