// What a test's program wrote into its log (run/<program>.log of the board root in force).
#pragma once

#include <string>

namespace testing_support {

// The whole log; empty when there is none.
std::string LogText();
// How many of its lines hold text.
int LogLinesWith(const std::string& text);

}  // namespace testing_support
