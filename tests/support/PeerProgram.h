// The other program of a two-program test: this test executable started again, running only the
// test named by filter, with one more environment variable that the peer test waits for (it skips
// itself without it).
#pragma once

#include <sys/types.h>

#include <string>

namespace testing_support {

// Starts the peer; its pid, or 0 when it could not be started. The caller waits for it.
pid_t StartPeer(const std::string& gtestFilter, const std::string& environmentEntry);

}  // namespace testing_support
