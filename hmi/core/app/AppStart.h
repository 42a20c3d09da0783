// The first two things both programs of the terminal do at start-up: make sure only one copy runs, and
// start the framework's socket support. GUI thread, before the program's main window exists.
#pragma once

#include "Platform.h"

// True when this is the only copy: the name is held until the process ends. A second copy gets false at
// once and silently; a name that cannot be had at all gets false after a message box with noLockText,
// since the program could not know whether another copy runs beside it.
bool ClaimSingleInstance(const char16_t* name, const char16_t* noLockText);
// Starts socket support once (started remembers it for the clean-up). False after the message box of
// string resource failureText when it cannot start.
bool StartSocketSupport(bool& started, UINT failureText);
