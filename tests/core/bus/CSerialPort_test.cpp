// The serial port: its line set-up, the byte operations and their read budget, the trace, the poll pass, and
// that its thread is always stopped before its devices go.
#include "CSerialPort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "BusTestLine.h"
#include "CModbusDevice.h"

namespace {

using bustest::BusLine;
using bustest::ScriptedBus;

class TestPort : public CSerialPort {
public:
  using CSerialPort::CSerialPort;
  using CSerialPort::OnTick;
};

// Records its polls; optionally adds a device to its port from inside its poll.
class FakeDevice : public CModbusDevice {
public:
  FakeDevice(CSerialPort* port, int address, std::vector<int>* order, std::vector<DWORD>* times)
      : CModbusDevice(0, port, address), m_order(order), m_times(times) {}
  ~FakeDevice() override {
    if (threadRunningAtDestruction) *threadRunningAtDestruction = m_port->IsInLoop() || m_port->HasThread();
  }
  void Poll() override {
    ++polls;
    if (m_order) m_order->push_back(m_slaveAddress);
    if (m_times) m_times->push_back(GetTickCount());
    if (addOnPoll) {
      m_port->AddDevice(addOnPoll);
      addOnPoll = nullptr;
    }
  }
  CModbusDevice* addOnPoll = nullptr;
  bool* threadRunningAtDestruction = nullptr;
  std::atomic<int> polls{0};

private:
  std::vector<int>* m_order;
  std::vector<DWORD>* m_times;
};

TEST(CSerialPort, Open_SetsQueuesTimeoutsAndLineFromTheSettings) {
  struct Case {
    const char* name;
    int baud;
    BYTE dataBits, parity, stopBits;
    DWORD perByte, constant;  // write time-outs: e + 2 and 10 e + 20, e three character times
    BYTE dcbParity, dcbStop;
  };
  const Case cases[] = {
      {"19200 8E1: e = 1", 19200, 8, 2, 1, 3, 30, EVENPARITY, ONESTOPBIT},
      {"9600 8N1: e = 2", 9600, 8, 0, 1, 4, 40, NOPARITY, ONESTOPBIT},
      {"1200 8E2: e = 27", 1200, 8, 2, 2, 29, 290, EVENPARITY, TWOSTOPBITS},
      {"4800 7O1: e = 5", 4800, 7, 1, 1, 7, 70, ODDPARITY, ONESTOPBIT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BusLine line;
    CSerialPort port(3);
    ASSERT_EQ(port.Open(3, c.baud, c.dataBits, c.parity, c.stopBits, 2000, 0), 1);
    EXPECT_EQ(port.IsOpen(), 1);
    EXPECT_TRUE(port.HasThread());
    EXPECT_EQ(port.IsEnabled(), 1);
    EXPECT_EQ(port.GetPeriod(), 2000u);
    panel::SerialLineRecord r;
    ASSERT_TRUE(panel::QuerySerialLine(u"COM3", &r));
    EXPECT_EQ(r.inQueue, 8096u);
    EXPECT_EQ(r.outQueue, 8096u);
    EXPECT_EQ(r.eventMask, static_cast<DWORD>(EV_RXCHAR));
    EXPECT_EQ(r.timeouts.ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(r.timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(r.timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(r.timeouts.WriteTotalTimeoutMultiplier, c.perByte);
    EXPECT_EQ(r.timeouts.WriteTotalTimeoutConstant, c.constant);
    EXPECT_EQ(r.dcb.BaudRate, static_cast<DWORD>(c.baud));
    EXPECT_EQ(r.dcb.ByteSize, c.dataBits);
    EXPECT_EQ(r.dcb.Parity, c.dcbParity);
    EXPECT_EQ(r.dcb.StopBits, c.dcbStop);
    EXPECT_EQ(r.dcb.fBinary, 1u);
    EXPECT_EQ(r.dcb.fParity, 0u);
    EXPECT_EQ(r.dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(r.dcb.fOutX, 0u);
    EXPECT_EQ(r.dcb.fInX, 0u);
    EXPECT_EQ(r.dcb.fDtrControl, static_cast<DWORD>(DTR_CONTROL_ENABLE));  // as the driver had it
  }
}

TEST(CSerialPort, OpenFailure_KeepsTheThreadAndRefusesEveryByteOperation) {
  testing_support::TempRoot root;  // no port map at all
  CSerialPort port(3);
  EXPECT_EQ(port.Open(3, 19200, 8, 2, 1, 2000, 0), 0);
  EXPECT_EQ(port.LastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(port.HasThread());
  EXPECT_EQ(port.IsEnabled(), 1);
  BYTE b[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  DWORD n = 8;
  EXPECT_EQ(port.Write(b, &n), 0);
  n = 8;
  EXPECT_EQ(port.ReadExact(b, &n), 0);
  n = 8;
  EXPECT_EQ(port.ReadAvail(b, &n), 0);
}

TEST(CSerialPort, Destruction_StopsTheThreadBeforeTheDevicesGo) {
  panel::ScopedVirtualClock clock;  // the thread passes its 20 ms sleeps instantly and polls constantly
  for (bool opened : {false, true}) {
    SCOPED_TRACE(opened ? "line open" : "line failed to open");
    BusLine line;
    if (!opened) line.root.Write("board/ports", "");
    bool running = true;
    {
      CSerialPort port(3);
      EXPECT_EQ(port.Open(3, 19200, 8, 2, 1, 0, 0), opened ? 1 : 0);
      auto* device = new FakeDevice(&port, 11, nullptr, nullptr);
      device->threadRunningAtDestruction = &running;
      port.AddDevice(device);
      while (device->polls < 3) std::this_thread::yield();  // the thread is polling
    }
    EXPECT_FALSE(running);
  }
  // Close on an open line does the same.
  BusLine line;
  CSerialPort port(3);
  ASSERT_EQ(port.Open(3, 19200, 8, 2, 1, 0, 0), 1);
  bool running = true;
  auto* device = new FakeDevice(&port, 11, nullptr, nullptr);
  device->threadRunningAtDestruction = &running;
  port.AddDevice(device);
  while (device->polls < 3) std::this_thread::yield();
  port.Close();
  EXPECT_FALSE(running);
  EXPECT_EQ(port.DeviceCount(), 0);
  EXPECT_EQ(port.IsOpen(), 0);
}

TEST(CSerialPort, OnTick_PollsInOrder20MsApartAndTakesADeviceAddedDuringThePass) {
  panel::ScopedVirtualClock clock(1000);
  TestPort port(3);  // never opened: the pass itself needs no line
  std::vector<int> order;
  std::vector<DWORD> times;
  port.OnTick();
  EXPECT_EQ(GetTickCount(), 1000u);  // an empty list sleeps nothing
  auto* first = new FakeDevice(&port, 11, &order, &times);
  first->SetTickCount(11);
  port.AddDevice(first);
  port.AddDevice(new FakeDevice(&port, 2, &order, &times));
  first->addOnPoll = new FakeDevice(&port, 7, &order, &times);
  port.OnTick();
  EXPECT_EQ(order, (std::vector<int>{11, 2, 7}));
  EXPECT_EQ(times, (std::vector<DWORD>{1020, 1040, 1060}));
  EXPECT_EQ(first->TickCount(), 12);
  EXPECT_EQ(port.FindDevice(7)->TickCount(), 1);
  EXPECT_EQ(port.FindDevice(5), nullptr);
}

TEST(CSerialPort, Trace_KeepsTheLast1000LinesWithTheirPrefixes) {
  CSerialPort port(3);
  const BYTE request[] = {0x0B, 0x03, 0x04, 0xAF};
  const BYTE reply[] = {0x0B, 0x83};
  port.AddTrace(request, 4, CSerialPort::kReadRequest);
  port.AddTrace(request, 2, CSerialPort::kWriteRequest);
  EXPECT_EQ(port.AddTrace(reply, 2, CSerialPort::kReply), 1);
  port.AddTrace(nullptr, 0, CSerialPort::kReply);  // nothing arrived
  std::vector<CString> trace = port.Trace();
  ASSERT_EQ(trace.size(), 4u);
  EXPECT_EQ(trace[0].ToUtf8(), CString(u"\r\n读:0B 03 04 AF \r\n").ToUtf8());
  EXPECT_EQ(trace[1].ToUtf8(), CString(u"\r\n写:0B 03 \r\n").ToUtf8());
  EXPECT_EQ(trace[2].ToUtf8(), CString(u"应答:0B 83 \r\n").ToUtf8());
  EXPECT_EQ(trace[3].ToUtf8(), CString(u"应答:\r\n").ToUtf8());
  for (int i = 0; i < 996; ++i) port.AddTrace(reply, 1, CSerialPort::kReply);
  EXPECT_EQ(port.Trace().size(), 1000u);
  EXPECT_EQ(port.Trace().front().ToUtf8(), CString(u"\r\n读:0B 03 04 AF \r\n").ToUtf8());
  port.AddTrace(reply, 2, CSerialPort::kReply);  // the 1001st line pushes the first out
  trace = port.Trace();
  ASSERT_EQ(trace.size(), 1000u);
  EXPECT_EQ(trace.front().ToUtf8(), CString(u"\r\n写:0B 03 \r\n").ToUtf8());
  EXPECT_EQ(trace.back().ToUtf8(), CString(u"应答:0B 83 \r\n").ToUtf8());
}

TEST(CSerialPort, ReadExact_PartialReply_GivesUpAfterItsEmptyReads) {
  BusLine line;
  panel::ScopedVirtualClock clock(5000);
  CSerialPort port(3);
  ASSERT_EQ(port.Open(3, 19200, 8, 2, 1, 2000, 0), 1);
  port.Stop();  // only the test talks on the line
  const DWORD t0 = GetTickCount();  // the port's thread may have slept before it stopped
  const uint8_t five[] = {0x0B, 0x83, 0x02, 0x11, 0x22};
  ASSERT_TRUE(line.pty.Write(five, 5, true));
  BYTE buffer[12];
  std::fill(buffer, buffer + 12, 0xEE);
  DWORD n = 8;
  EXPECT_EQ(port.ReadExact(buffer + 2, &n), 0);
  EXPECT_EQ(n, 5u);
  EXPECT_EQ(buffer[2 + 4], 0x22);
  EXPECT_EQ(buffer[2 + 5], 0x00);  // zero-filled beyond what came
  EXPECT_EQ(buffer[1], 0xEE);      // guards untouched
  EXPECT_EQ(buffer[10], 0xEE);
  // 16 empty reads, plus one for the 8 bytes' 4.6 ms at 19200 8E1: 16 sleeps of 20 ms.
  EXPECT_EQ(GetTickCount() - t0, 16u * 20u);

  ASSERT_TRUE(line.pty.Write(five, 5, true));
  n = 8;
  EXPECT_EQ(port.ReadAvail(buffer, &n), 1);  // one read of what is there
  EXPECT_EQ(n, 5u);
  n = 0;
  EXPECT_EQ(port.ReadExact(buffer, &n), 0);
  EXPECT_EQ(port.ReadExact(nullptr, &n), 0);
}

TEST(CSerialPort, WriteThenReadExact_SendsTheBytesAndReadsTheReply) {
  ScriptedBus bus;
  CSerialPort port(3);
  ASSERT_EQ(port.Open(3, 19200, 8, 2, 1, 2000, 0), 1);
  port.Stop();
  const BYTE request[] = {0x0B, 0x06, 0x04, 0x4F, 0x01, 0xC9, 0x00, 0x00};
  bus.Reply({0x0B, 0x06, 0x04, 0x4F, 0x01, 0xC9, 0x00, 0x00}, 30);
  DWORD n = 8;
  ASSERT_EQ(port.Write(request, &n), 1);
  EXPECT_EQ(n, 8u);
  BYTE reply[8];
  n = 8;
  EXPECT_EQ(port.ReadExact(reply, &n), 1);
  ASSERT_EQ(bus.requests.size(), 1u);
  EXPECT_EQ(bus.requests[0], std::vector<uint8_t>(request, request + 8));
  EXPECT_EQ(reply[5], 0xC9);
  n = 0;
  EXPECT_EQ(port.Write(request, &n), 0);  // nothing to write
}

// A request on the bus starts on a clean line; a frame on a line carrying a stream both ways goes out behind
// what the far side has sent meanwhile, which stays for the next read.
TEST(CSerialPort, Send_KeepsWhatArrivedWhereWriteDropsIt) {
  BusLine line;
  CSerialPort port(3);
  ASSERT_EQ(port.Open(3, 57600, 8, 0, 1, 20, 0), 1);
  port.Stop();
  const std::vector<uint8_t> arrived = {0x55, 0xAA, 0x01, 0x02, 0x03};
  const BYTE frame[] = {0xAA, 0x55, 0x01};
  BYTE in[16];
  struct Case {
    const char* name;
    int (CSerialPort::*write)(const BYTE*, DWORD*);
    DWORD kept;
  };
  for (const Case& c : {Case{"send", &CSerialPort::Send, 5}, Case{"write", &CSerialPort::Write, 0}}) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(line.pty.Write(arrived, true));
    DWORD n = sizeof(frame);
    ASSERT_EQ((port.*c.write)(frame, &n), 1);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(line.pty.Read(3, 1000), std::vector<uint8_t>(frame, frame + 3));
    n = sizeof(in);
    ASSERT_EQ(port.ReadAvail(in, &n), 1);
    ASSERT_EQ(n, c.kept);
    EXPECT_EQ(std::vector<uint8_t>(in, in + n), std::vector<uint8_t>(arrived.begin(), arrived.begin() + n));
  }
  DWORD n = 0;
  EXPECT_EQ(port.Send(frame, &n), 0);  // nothing to write
}

// A reply of 45 bytes at 1200 baud 8E1 (9.2 ms a character) as a UART with a 14-byte receive FIFO hands it
// over: the 8-byte request takes 73 ms to leave, then a chunk every 128 ms, the rest after the FIFO's idle
// time. The fixed 16 empty reads (300 ms) would give up before the third chunk.
std::vector<ScriptedBus::Chunk> FifoChunks(const std::vector<uint8_t>& reply) {
  std::vector<ScriptedBus::Chunk> chunks;
  uint64_t at = 73 + 5;
  for (size_t i = 0; i < reply.size(); i += 14) {
    size_t end = std::min(reply.size(), i + 14);
    at += end - i == 14 ? 128 : (end - i) * 9 + 37;
    chunks.push_back({at, std::vector<uint8_t>(reply.begin() + static_cast<long>(i), reply.begin() + static_cast<long>(end))});
  }
  return chunks;
}

TEST(CSerialPort, ReadBudget_GrowsWithTheReplyAtTheLineRate) {
  std::vector<uint8_t> reply = {0x0B, 0x03, 40};
  for (int i = 0; i < 40; ++i) reply.push_back(static_cast<uint8_t>(i));
  reply = bustest::WithCrc(reply);
  ASSERT_EQ(reply.size(), 45u);
  struct Case {
    const char* name;
    int baud;
    int complete;
  };
  const Case cases[] = {{"1200 baud waits for the whole reply", 1200, 1},
                        {"the same chunks at 19200 baud are far too slow", 19200, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedBus bus;
    CSerialPort port(3);
    ASSERT_EQ(port.Open(3, c.baud, 8, 2, 1, 2000, 0), 1);
    port.Stop();
    bus.ReplyInChunks(FifoChunks(reply));
    const BYTE request[] = {0x0B, 0x03, 0x04, 0xAF, 0x00, 0x14, 0x00, 0x00};
    DWORD n = 8;
    ASSERT_EQ(port.Write(request, &n), 1);
    BYTE in[45];
    n = 45;
    EXPECT_EQ(port.ReadExact(in, &n), c.complete);
    if (c.complete) {
      EXPECT_EQ(std::vector<uint8_t>(in, in + 45), reply);
    }
  }
}

}  // namespace
