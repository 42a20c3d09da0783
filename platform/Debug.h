// Debug output: the board libraries and a few debug paths report here. Each text becomes a line of
// the program's log (Log.h) and goes to a bounded in-memory log that tests read.
#pragma once

#include <string>
#include <vector>

#include "WinTypes.h"

namespace panel {

// The texts written so far (UTF-8), oldest first; at most the last 1000.
std::vector<std::string> DebugLog();
void ClearDebugLog();

}  // namespace panel
