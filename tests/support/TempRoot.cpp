#include "TempRoot.h"

#include <stdlib.h>

#include <filesystem>

#include "Paths.h"

namespace testing_support {

TempRoot::TempRoot() {
  std::string pattern = (std::filesystem::temp_directory_path() / "panel-root-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  m_path = made ? made : "";
  panel::SetPanelRoot(m_path);
}

TempRoot::~TempRoot() {
  panel::SetPanelRoot("");
  std::error_code ignored;
  if (!m_path.empty()) std::filesystem::remove_all(m_path, ignored);
}

void TempRoot::Write(const std::string& relative, const std::string& contents) const {
  panel::WriteTextFile(m_path + "/" + relative, contents);
}

}  // namespace testing_support
