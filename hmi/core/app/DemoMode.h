// The program-wide simulation switch: while it is non-zero the unit drivers leave the bus alone and fill
// fixed or generated values, so the terminal can be shown without units. Parameter page 16 toggles it; the
// drivers (bus thread), the engine's input mapping and the main screen read it. Lives for the run, not saved.
#pragma once

#include <atomic>

extern std::atomic<int> DemoMode;
