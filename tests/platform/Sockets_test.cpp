#include "Sockets.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(Sockets, Startup_NegotiatesUpToVersionTwoTwo) {
  struct Case {
    const char* name;
    WORD asked;
    int result;
    WORD version;
  };
  const Case cases[] = {
      {"2.2 as the programs ask", MAKEWORD(2, 2), 0, MAKEWORD(2, 2)},
      {"1.1", MAKEWORD(1, 1), 0, MAKEWORD(1, 1)},
      {"newer than offered", MAKEWORD(3, 0), 0, MAKEWORD(2, 2)},
      {"too old", MAKEWORD(1, 0), WSAVERNOTSUPPORTED, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    WSADATA data;
    std::memset(&data, 0, sizeof data);
    int before = panel::WSAStartupCount();
    EXPECT_EQ(WSAStartup(c.asked, &data), c.result);
    EXPECT_EQ(data.wVersion, c.version);
    if (c.result == 0) {
      EXPECT_EQ(data.wHighVersion, MAKEWORD(2, 2));
      EXPECT_STRNE(data.szDescription, "");
      EXPECT_EQ(panel::WSAStartupCount(), before + 1);
      EXPECT_EQ(WSACleanup(), 0);
    }
    EXPECT_EQ(panel::WSAStartupCount(), before);
  }
}

TEST(Sockets, Cleanup_WithoutStartupFails) {
  ASSERT_EQ(panel::WSAStartupCount(), 0);
  EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

TEST(Sockets, TestFailure_MakesStartupFailUntilCleared) {
  WSADATA data;
  panel::SetWSAStartupFailure(WSASYSNOTREADY);
  EXPECT_EQ(WSAStartup(MAKEWORD(2, 2), &data), WSASYSNOTREADY);
  EXPECT_EQ(panel::WSAStartupCount(), 0);
  panel::SetWSAStartupFailure(0);
  EXPECT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  EXPECT_EQ(WSACleanup(), 0);
}

TEST(Sockets, NoSocketEverExists_CloseAndShutdownFail) {
  EXPECT_EQ(shutdown(INVALID_SOCKET, SD_BOTH), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  EXPECT_EQ(closesocket(static_cast<SOCKET>(3)), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

}  // namespace
