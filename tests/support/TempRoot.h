// A fresh emulated board root per test: a temporary folder made the layer's PANEL_ROOT for the
// test's lifetime and removed afterwards.
#pragma once

#include <string>

namespace testing_support {

class TempRoot {
public:
  TempRoot();
  ~TempRoot();
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;

  const std::string& Path() const { return m_path; }
  // A path inside the root, given with slashes ("ResidentFlash/Quellora/Quellora.db").
  std::string operator/(const std::string& relative) const { return m_path + "/" + relative; }
  // Writes a file inside the root, creating its folders.
  void Write(const std::string& relative, const std::string& contents) const;

private:
  std::string m_path;
};

}  // namespace testing_support
