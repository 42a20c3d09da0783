#include "Screenshot.h"

#include <filesystem>

#include "Gui.h"

namespace testing_support {

std::string ReferencePath(const std::string& name) {
  return std::string(QUELLORA_SOURCE_DIR) + "/tests/references/" + name + ".png";
}

::testing::AssertionResult ScreenMatchesReference(const std::string& name) {
  panel::PumpMessages();
  const std::string path = ReferencePath(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::string message;
  if (panel::MatchesScreenshot(path, &message)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << message;
}

}  // namespace testing_support
