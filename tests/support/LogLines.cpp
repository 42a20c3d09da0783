#include "LogLines.h"

#include <fstream>
#include <sstream>

#include "Log.h"

namespace testing_support {

std::string LogText() {
  std::ifstream in(panel::LogFilePath());
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int LogLinesWith(const std::string& text) {
  std::istringstream log(LogText());
  int n = 0;
  for (std::string line; std::getline(log, line);) n += line.find(text) != std::string::npos;
  return n;
}

}  // namespace testing_support
