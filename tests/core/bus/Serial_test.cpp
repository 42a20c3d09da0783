// The platform's serial lines over a pseudo-terminal: port map, exclusive raw open, line settings as recorded,
// the read time-outs, purge and error clearing, and a far side that hangs up.
#include "Serial.h"

#include <gtest/gtest.h>

#include <chrono>

#include "BusTestLine.h"

namespace {

using bustest::BusLine;

HANDLE OpenCom(const char16_t* name) {
  return CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

void SetImmediate(HANDLE h) {
  COMMTIMEOUTS t{MAXDWORD, 0, 0, 0, 0};
  ASSERT_TRUE(SetCommTimeouts(h, &t));
}

TEST(Serial, PortMap_OpensTheMappedLineOnceAndRefusesTheRest) {
  BusLine line;
  line.root.Write("board/ports", "# the unit bus\ncom3: " + line.pty.SlavePath() +
                                     "  # simulator\nCOM4 /nonexistent/tty\nCOM5 " + line.root.Path() +
                                     "/board/ports\n");
  HANDLE h = OpenCom(u"COM3:");
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  panel::SerialLineRecord r;
  ASSERT_TRUE(panel::QuerySerialLine(u"COM3", &r));
  EXPECT_TRUE(r.open);
  EXPECT_EQ(r.device, line.pty.SlavePath());

  struct Case {
    const char* name;
    const char16_t* port;
    DWORD error;
  };
  const Case refused[] = {
      {"second open of a line in use", u"COM3:", ERROR_ACCESS_DENIED},
      {"device missing", u"COM4:", ERROR_FILE_NOT_FOUND},
      {"not a terminal", u"COM5:", ERROR_FILE_NOT_FOUND},
      {"not in the map", u"COM6:", ERROR_FILE_NOT_FOUND},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.name);
    SetLastError(0);
    EXPECT_EQ(OpenCom(c.port), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_TRUE(CloseHandle(h));
  ASSERT_TRUE(panel::QuerySerialLine(u"COM3", &r));
  EXPECT_FALSE(r.open);
  h = OpenCom(u"COM3:");  // free again once closed
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);
}

TEST(Serial, SetCommState_RecordsTheSettingsAndRefusesImpossibleOnes) {
  BusLine line;
  HANDLE h = OpenCom(u"COM3:");
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DCB dcb{};
  ASSERT_TRUE(GetCommState(h, &dcb));
  EXPECT_EQ(dcb.ByteSize, 8);  // raw 8N1 after open
  EXPECT_EQ(dcb.Parity, NOPARITY);
  dcb.BaudRate = 19200;
  dcb.ByteSize = 8;
  dcb.Parity = EVENPARITY;
  dcb.StopBits = ONESTOPBIT;
  ASSERT_TRUE(SetCommState(h, &dcb));

  struct Case {
    const char* name;
    DWORD baud;
    BYTE size;
    BYTE parity;
    BYTE stop;
  };
  const Case bad[] = {
      {"no terminal speed for 14400", 14400, 8, EVENPARITY, ONESTOPBIT},
      {"nine data bits", 19200, 9, EVENPARITY, ONESTOPBIT},
      {"parity code 5", 19200, 8, 5, ONESTOPBIT},
      {"stop bits code 3", 19200, 8, EVENPARITY, 3},
  };
  for (const Case& c : bad) {
    SCOPED_TRACE(c.name);
    DCB d = dcb;
    d.BaudRate = c.baud;
    d.ByteSize = c.size;
    d.Parity = c.parity;
    d.StopBits = c.stop;
    SetLastError(0);
    EXPECT_FALSE(SetCommState(h, &d));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  panel::SerialLineRecord r;
  ASSERT_TRUE(panel::QuerySerialLine(u"COM3:", &r));
  EXPECT_EQ(r.dcb.BaudRate, 19200u);
  EXPECT_EQ(r.dcb.Parity, EVENPARITY);
  EXPECT_EQ(r.dcb.StopBits, ONESTOPBIT);
  DCB now{};
  GetCommState(h, &now);
  EXPECT_EQ(now.BaudRate, 19200u);
  CloseHandle(h);
  EXPECT_FALSE(SetCommState(h, &dcb));  // a closed handle
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Serial, ImmediateRead_ReturnsWhatHasArrivedAndPurgeDropsIt) {
  BusLine line;
  panel::SerialLineRecord r;
  const uint64_t readBefore = panel::QuerySerialLine(u"COM3", &r) ? r.bytesRead : 0;  // earlier opens count too
  HANDLE h = OpenCom(u"COM3:");
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetImmediate(h);
  BYTE buffer[10] = {};
  DWORD n = 99;
  ASSERT_TRUE(ReadFile(h, buffer, 8, &n, nullptr));
  EXPECT_EQ(n, 0u);  // nothing yet, and no waiting

  const uint8_t five[] = {1, 2, 3, 4, 5};
  ASSERT_TRUE(line.pty.Write(five, 5, true));
  COMSTAT stat{};
  DWORD errors = 7;
  ASSERT_TRUE(ClearCommError(h, &errors, &stat));
  EXPECT_EQ(errors, 0u);
  EXPECT_EQ(stat.cbInQue, 5u);
  ASSERT_TRUE(ReadFile(h, buffer, 8, &n, nullptr));
  ASSERT_EQ(n, 5u);
  EXPECT_EQ(buffer[4], 5);
  EXPECT_EQ(buffer[5], 0);

  ASSERT_TRUE(line.pty.Write(five, 5, true));
  ASSERT_TRUE(PurgeComm(h, PURGE_RXABORT | PURGE_RXCLEAR));
  ASSERT_TRUE(ClearCommError(h, &errors, &stat));
  EXPECT_EQ(stat.cbInQue, 0u);
  ASSERT_TRUE(ReadFile(h, buffer, 8, &n, nullptr));
  EXPECT_EQ(n, 0u);

  const BYTE request[] = {0x0B, 0x03, 0x04, 0xAF};
  ASSERT_TRUE(WriteFile(h, request, 4, &n, nullptr));
  EXPECT_EQ(n, 4u);
  EXPECT_EQ(line.pty.Read(4, 1000), std::vector<uint8_t>(request, request + 4));
  panel::QuerySerialLine(u"COM3", &r);
  EXPECT_EQ(r.bytesRead - readBefore, 5u);
  EXPECT_EQ(line.Written(), 4u);
  CloseHandle(h);
}

TEST(Serial, TotalTimeout_ReturnsThePartialReadAfterItsTime) {
  BusLine line;
  HANDLE h = OpenCom(u"COM3:");
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  COMMTIMEOUTS t{0, 0, 40, 0, 0};  // 40 ms for the whole read
  ASSERT_TRUE(SetCommTimeouts(h, &t));
  COMMTIMEOUTS back{};
  ASSERT_TRUE(GetCommTimeouts(h, &back));
  EXPECT_EQ(back.ReadTotalTimeoutConstant, 40u);
  const uint8_t three[] = {7, 8, 9};
  ASSERT_TRUE(line.pty.Write(three, 3, true));
  BYTE buffer[8];
  DWORD n = 0;
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(ReadFile(h, buffer, 8, &n, nullptr));
  auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(n, 3u);
  EXPECT_GE(ms, 35);
  EXPECT_LT(ms, 1000);
  CloseHandle(h);
}

TEST(Serial, FarSideHungUp_WritesFailAndReadsBringNothing) {
  BusLine line;
  HANDLE h = OpenCom(u"COM3:");
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SetImmediate(h);
  line.pty.CloseMaster();
  const BYTE request[] = {1, 2, 3};
  DWORD n = 0;
  EXPECT_FALSE(WriteFile(h, request, 3, &n, nullptr));
  BYTE buffer[4];
  EXPECT_TRUE(ReadFile(h, buffer, 4, &n, nullptr));
  EXPECT_EQ(n, 0u);
  CloseHandle(h);
}

TEST(Serial, WaitCommInput_EndsWithTheInputOnTheRealClockAndSleepsOnATestClock) {
  BusLine line;
  HANDLE h = OpenCom(u"COM3:");
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  const uint8_t one[] = {1};
  ASSERT_TRUE(line.pty.Write(one, 1, true));
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(panel::WaitCommInput(h, 5000));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
  {
    panel::ScopedVirtualClock clock(1000);
    EXPECT_TRUE(panel::WaitCommInput(h, 20));  // input waits, yet a test clock steps the whole time
    EXPECT_EQ(GetTickCount(), 1020u);
  }
  CloseHandle(h);
  EXPECT_FALSE(panel::WaitCommInput(h, 20));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
