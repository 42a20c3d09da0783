// Late-bound calls into the board library that the main program loaded at start-up. Each call
// looks its entry point up by name at every use; without a library or without the export it does
// nothing. The watchdog thread makes these calls while the GUI thread may be releasing the library
// at shut-down, so the lookup-and-call and the release share one lock (BoardCallLock).
#pragma once

#include "Platform.h"

// Asks the board to restart at once ("RebootHot"). Always 0. Called on the watchdog thread.
int CallRebootHot();

// The lock held around every late-bound call and around the release of the library, so that no
// call runs into a library that is being unloaded. Recursive; never held for longer than one call.
CRITICAL_SECTION& BoardCallLock();
