#include "PeerProgram.h"

#include <spawn.h>

#include <vector>

extern char** environ;

namespace testing_support {

pid_t StartPeer(const std::string& gtestFilter, const std::string& environmentEntry) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) env.push_back(*e);
  env.push_back(environmentEntry);
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string exe = "/proc/self/exe";
  std::string filter = "--gtest_filter=" + gtestFilter;
  char* argv[] = {exe.data(), filter.data(), nullptr};
  pid_t pid = 0;
  return posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv, envp.data()) == 0 ? pid : 0;
}

}  // namespace testing_support
