// An environment variable set for a test's scope and put back afterwards (the processes a test starts
// inherit it).
#pragma once

#include <cstdlib>
#include <string>

namespace testing_support {

class ScopedEnv {
public:
  ScopedEnv(const char* name, const char* value) : m_name(name) {
    const char* old = std::getenv(name);
    m_had = old != nullptr;
    if (m_had) m_old = old;
    setenv(name, value, 1);
  }
  ~ScopedEnv() {
    if (m_had) {
      setenv(m_name, m_old.c_str(), 1);
    } else {
      unsetenv(m_name);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
  const char* m_name;
  bool m_had;
  std::string m_old;
};

}  // namespace testing_support
