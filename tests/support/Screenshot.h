// Screenshot checks for every test folder: the headless screen against a reference picture kept in
// the repository under tests/references/<name>.png, pixel by pixel. A missing reference fails; a
// mismatch leaves the actual screen beside the reference as <name>_err.png; `make screenshots`
// (PANEL_UPDATE_SCREENSHOTS=1) rewrites the references instead of comparing.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace testing_support {

// The reference's path for a name such as "main/dealer-0-heating".
std::string ReferencePath(const std::string& name);
// Pumps the pending paints, then compares the screen with the reference.
::testing::AssertionResult ScreenMatchesReference(const std::string& name);

}  // namespace testing_support
