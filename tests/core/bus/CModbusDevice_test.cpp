// The Modbus RTU master's six transactions against libmodbus as the slave on the far side of a
// pseudo-terminal (real frames, real CRCs, its exceptions and its silence), and against a scripted line for
// what libmodbus never sends: a wrong CRC, a reply from another slave or for another request, a truncated or
// a late reply.
// Frames in the scripted tests carry CRCs from the unit simulator's bit-by-bit CRC (independent of the
// terminal's table); e.g. 0B 03 04 AF 00 14 -> CRC low byte first.
#include "CModbusDevice.h"

#include <errno.h>
#include <modbus.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>
#include <vector>

#include "BusTestLine.h"
#include "CSerialPort.h"

namespace {

using bustest::BusLine;
using bustest::ScriptedBus;
using bustest::WithCrc;

// libmodbus as an RTU slave on the master side of the pair: either on a thread of its own (real time), or
// stepped from inside the terminal's sleeps (each request the terminal wrote is received and answered, and
// the answer has landed, before the terminal looks again).
class LibmodbusSlave {
public:
  LibmodbusSlave(BusLine& line, int slave) : m_line(line) {
    m_ctx = modbus_new_rtu("/dev/null", 19200, 'E', 8, 1);
    modbus_set_slave(m_ctx, slave);
    modbus_set_socket(m_ctx, line.pty.MasterFd());  // libmodbus never opens a device itself here
    modbus_set_indication_timeout(m_ctx, 0, 20000);
    map = modbus_mapping_new_start_address(100, 64, 0, 0, 1199, 200, 0, 40);
    for (int i = 0; i < 200; ++i) map->tab_registers[i] = static_cast<uint16_t>(0x1000 + i);
    for (int i = 0; i < 40; ++i) map->tab_input_registers[i] = static_cast<uint16_t>(0x8000 | (i * 3));
    for (int i = 0; i < 64; ++i) map->tab_bits[i] = (i % 3 == 0) ? 1 : 0;
  }
  ~LibmodbusSlave() {
    Stop();
    modbus_set_socket(m_ctx, -1);
    modbus_mapping_free(map);
    modbus_free(m_ctx);
  }
  // Requests at these wire addresses get the exception code instead of an answer.
  void ExceptionAt(int address, int code) { m_exceptions[address] = code; }
  void Start() {
    m_running = true;
    m_thread = std::thread([this] {
      while (m_running) ServeOne();
    });
  }
  void Stop() {
    m_running = false;
    if (m_thread.joinable()) m_thread.join();
  }
  // The stepped way: called from the clock's hook.
  void Step() {
    uint64_t written = m_line.Written();
    if (written <= m_consumed) return;
    for (int i = 0; i < 1000 && static_cast<uint64_t>(m_line.pty.MasterQueued()) < written - m_consumed; ++i) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    m_consumed = written;
    int before = m_line.pty.SlaveQueued();
    int sent = ServeOne();
    for (int i = 0; i < 1000 && sent > 0 && m_line.pty.SlaveQueued() < before + sent; ++i) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }
  modbus_mapping_t* map;
  std::atomic<int> served{0};

private:
  // Receives one request and answers it: the bytes sent, 0 when nothing was answered.
  int ServeOne() {
    uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
    int rc = modbus_receive(m_ctx, request);
    if (rc <= 0) return 0;
    int address = (request[2] << 8) | request[3];
    auto it = m_exceptions.find(address);
    int sent = it != m_exceptions.end() ? modbus_reply_exception(m_ctx, request, static_cast<unsigned>(it->second))
                                        : modbus_reply(m_ctx, request, rc, map);
    ++served;
    return sent > 0 ? sent : 0;
  }

  BusLine& m_line;
  modbus_t* m_ctx;
  std::map<int, int> m_exceptions;
  std::thread m_thread;
  std::atomic<bool> m_running{false};
  uint64_t m_consumed = 0;
};

// libmodbus stepped on the virtual clock.
struct LibmodbusBus {
  BusLine line;
  LibmodbusSlave slave{line, 11};
  bustest::SteppedClock clock;
  bustest::ScopedClock installed{&clock};
  LibmodbusBus() {
    clock.SetHook([this] { slave.Step(); });
  }
  ~LibmodbusBus() { clock.SetHook(nullptr); }
};

// A port on COM3 with the thread stopped: only the test talks on the line.
struct OpenPort {
  CSerialPort port{3};
  explicit OpenPort(int baud = 19200) {
    EXPECT_EQ(port.Open(3, baud, 8, 2, 1, 2000, 0), 1);
    port.Stop();
  }
};

TEST(CModbusDevice, EveryFunction_AgainstLibmodbus) {
  LibmodbusBus bus;
  auto& slave = bus.slave;
  OpenPort open;
  CModbusDevice device(101, &open.port, 11);

  uint16_t regs[22];
  std::fill(regs, regs + 22, 0xEEEE);
  EXPECT_EQ(device.ReadHoldingRegs(1199, 20, regs + 1, 0, 0), 20);
  EXPECT_EQ(regs[1], 0x1000);
  EXPECT_EQ(regs[20], 0x1000 + 19);
  EXPECT_EQ(regs[0], 0xEEEE);
  EXPECT_EQ(regs[21], 0xEEEE);

  EXPECT_EQ(device.ReadInputRegs(5, 3, regs, 0, 0), 3);
  EXPECT_EQ(regs[0], 0x8000 | 15);
  EXPECT_EQ(regs[2], 0x8000 | 21);

  int16_t coils[12];
  std::fill(coils, coils + 12, 77);
  EXPECT_EQ(device.ReadCoils(101, 10, coils + 1, 0, 0), 10);  // coils 101-110: 1 where (i - 100) % 3 == 0
  const int16_t want[10] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(coils[1 + i], want[i]) << i;
  EXPECT_EQ(coils[0], 77);
  EXPECT_EQ(coils[11], 77);

  EXPECT_EQ(device.WriteCoil(101, 7, 0, 0), 1);  // any non-zero sends on
  EXPECT_EQ(slave.map->tab_bits[1], 1);
  EXPECT_EQ(device.WriteCoil(103, 0, 0, 0), 1);
  EXPECT_EQ(slave.map->tab_bits[3], 0);

  EXPECT_EQ(device.WriteReg(1203, 0xBEEF, 0, 0), 1);
  EXPECT_EQ(slave.map->tab_registers[4], 0xBEEF);

  uint16_t block[19];
  for (int i = 0; i < 19; ++i) block[i] = static_cast<uint16_t>(500 + i);
  EXPECT_EQ(device.WriteRegs(1210, block, 19, 0, 0), 19);
  EXPECT_EQ(slave.map->tab_registers[11], 500);
  EXPECT_EQ(slave.map->tab_registers[29], 518);

  EXPECT_EQ(device.Stats().goodReads, 3);
  EXPECT_EQ(device.Stats().goodWrites, 4);
  EXPECT_EQ(device.Stats().requests, 7);

  // The read of 20 registers at 1199 went out as 0B 03 04 AF 00 14 + CRC and took 45 bytes back.
  std::vector<uint8_t> request = WithCrc({0x0B, 0x03, 0x04, 0xAF, 0x00, 0x14});
  CString expected(u"\r\n读:");
  for (uint8_t b : request) expected.AppendFormat(u"%02X ", b);
  expected += u"\r\n";
  std::vector<CString> trace = open.port.Trace();
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(trace[0].ToUtf8(), expected.ToUtf8());
  EXPECT_EQ(trace[1].GetLength(), 3 + 45 * 3 + 2);  // "应答:" then 45 "XX " then CRLF
}

TEST(CModbusDevice, LibmodbusExceptions_MapToTheirResults) {
  LibmodbusBus bus;
  bus.slave.ExceptionAt(1300, MODBUS_EXCEPTION_ILLEGAL_DATA_VALUE);
  bus.slave.ExceptionAt(1301, MODBUS_EXCEPTION_SLAVE_OR_SERVER_FAILURE);
  OpenPort open;
  CModbusDevice device(101, &open.port, 11);
  uint16_t out[4] = {1, 2, 3, 4};
  struct Case {
    const char* name;
    WORD address;
    int result;
  };
  const Case cases[] = {
      {"outside the slave's map: illegal data address", 5000, -5},
      {"illegal data value", 1300, -6},
      {"any other exception code", 1301, -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(device.ReadHoldingRegs(c.address, 4, out, 0, 0), c.result);
    EXPECT_EQ(device.WriteReg(c.address, 9, 0, 0), c.result);
  }
  EXPECT_EQ(out[0], 1);  // an exception leaves the output alone
}

TEST(CModbusDevice, SlaveSilent_GivesNoReplyCode) {
  LibmodbusBus bus;
  OpenPort open;
  CModbusDevice other(101, &open.port, 12);  // libmodbus answers only its own address
  uint16_t out[2];
  EXPECT_EQ(other.ReadHoldingRegs(1199, 2, out, 0, 0), -3);
  EXPECT_EQ(other.WriteRegs(1199, out, 2, 0, 0), -3);
  EXPECT_EQ(bus.slave.served, 0);
}

TEST(CModbusDevice, ConcurrentTransactions_NeverInterleave) {
  BusLine line;  // real time: two threads talk at once
  LibmodbusSlave slave(line, 11);
  slave.Start();
  OpenPort open;
  CModbusDevice a(101, &open.port, 11);
  CModbusDevice b(101, &open.port, 11);
  std::atomic<int> good{0};
  auto run = [&](CModbusDevice& d, WORD address) {
    for (int i = 0; i < 4; ++i) {
      uint16_t value = 0;
      if (d.WriteReg(address, static_cast<WORD>(i), 0, 0) == 1 && d.ReadHoldingRegs(address, 1, &value, 0, 0) == 1 &&
          value == i) {
        ++good;
      }
    }
  };
  std::thread other([&] { run(b, 1250); });
  run(a, 1240);
  other.join();
  EXPECT_EQ(good, 8);
}

TEST(CModbusDevice, BadArguments_SendNothing) {
  BusLine line;
  OpenPort open;
  CModbusDevice device(101, &open.port, 11);
  uint16_t regs[130] = {};
  int16_t coils[300] = {};
  struct Case {
    const char* name;
    int result;
  };
  const Case cases[] = {
      {"no output", device.ReadHoldingRegs(0, 1, nullptr, 0, 0)},
      {"count 0", device.ReadHoldingRegs(0, 0, regs, 0, 0)},
      {"126 registers: beyond the protocol's 125", device.ReadHoldingRegs(0, 126, regs, 0, 0)},
      {"126 input registers", device.ReadInputRegs(0, 126, regs, 0, 0)},
      {"257 coils", device.ReadCoils(0, 257, coils, 0, 0)},
      {"0 coils", device.ReadCoils(0, 0, coils, 0, 0)},
      {"range past 0xFFFF", device.ReadHoldingRegs(0xFFF0, 17, regs, 0, 0)},
      {"write of 124 registers: beyond the protocol's 123", device.WriteRegs(0, regs, 124, 0, 0)},
      {"write without values", device.WriteRegs(0, nullptr, 1, 0, 0)},
      {"write of 0 registers", device.WriteRegs(0, regs, 0, 0, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.result, 0);
  }
  EXPECT_EQ(line.Written(), 0u);
  EXPECT_TRUE(open.port.Trace().empty());

  CModbusDevice loose(101, nullptr, 11);
  EXPECT_EQ(loose.ReadHoldingRegs(0, 1, regs, 0, 0), -1);
  EXPECT_EQ(loose.WriteRegs(0, regs, 1, 0, 0), -2);
  testing_support::TempRoot nothing;
  CSerialPort closed(4);
  CModbusDevice unopened(101, &closed, 11);
  EXPECT_EQ(unopened.WriteReg(0, 1, 0, 0), -1);
  EXPECT_EQ(unopened.WriteRegs(0, regs, 1, 0, 0), -2);
}

// 20 registers from slave 11: 45 bytes back.
std::vector<uint8_t> Reply20(uint8_t address) {
  std::vector<uint8_t> r = {address, 0x03, 40};
  for (int i = 0; i < 40; ++i) r.push_back(static_cast<uint8_t>(0x40 + i));
  return WithCrc(r);
}

// The same 45 bytes as a function-4 reply, and with a byte count field that is not the 40 asked for.
std::vector<uint8_t> Reply04(uint8_t address) {
  std::vector<uint8_t> r = Reply20(address);
  r.resize(43);
  r[1] = 0x04;
  return r;
}
std::vector<uint8_t> ByteCount(uint8_t count) {
  std::vector<uint8_t> r = Reply20(11);
  r.resize(43);
  r[2] = count;
  return r;
}

TEST(CModbusDevice, ScriptedReplies_GiveTheirResultsAndLeaveTheOutputAloneOnFailure) {
  std::vector<uint8_t> badCrc = Reply20(11);
  badCrc[44] ^= 0x01;
  std::vector<uint8_t> truncated = Reply20(11);
  truncated.resize(10);
  struct Case {
    const char* name;
    std::vector<uint8_t> reply;
    int result;
  };
  const Case cases[] = {
      {"good reply", Reply20(11), 20},
      {"full-length reply from another slave: another exchange's", Reply20(12), -3},
      {"full-length reply of another function", WithCrc(Reply04(11)), -3},
      {"full-length reply with another byte count", WithCrc(ByteCount(38)), -3},
      {"wrong CRC", badCrc, -4},
      {"truncated", truncated, -3},
      {"exception 2", WithCrc({0x0B, 0x83, 0x02}), -5},
      {"exception 3", WithCrc({0x0B, 0x83, 0x03}), -6},
      {"exception 4", WithCrc({0x0B, 0x83, 0x04}), -3},
      {"exception from another slave", WithCrc({0x0C, 0x83, 0x02}), -3},
      {"exception of another function", WithCrc({0x0B, 0x84, 0x02}), -3},
      {"exception with a wrong CRC", {0x0B, 0x83, 0x02, 0x00, 0x00}, -3},
      {"nothing", {}, -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedBus bus;
    OpenPort open;
    CModbusDevice device(101, &open.port, 11);
    if (c.reply.empty()) {
      bus.Silence();
    } else {
      bus.Reply(c.reply, 5);
    }
    uint16_t out[22];
    std::fill(out, out + 22, 0xEEEE);
    EXPECT_EQ(device.ReadHoldingRegs(1199, 20, out + 1, 0, 0), c.result);
    EXPECT_EQ(out[0], 0xEEEE);
    EXPECT_EQ(out[21], 0xEEEE);
    if (c.result < 1) {
      for (int i = 1; i <= 20; ++i) EXPECT_EQ(out[i], 0xEEEE) << i;
    } else {
      EXPECT_EQ(out[1], 0x4041);
      EXPECT_EQ(out[20], 0x6667);
    }
    ASSERT_EQ(bus.requests.size(), 1u);
    EXPECT_EQ(bus.requests[0], WithCrc({0x0B, 0x03, 0x04, 0xAF, 0x00, 0x14}));
  }
}

// A write counts as done only on the echo of this slave, this function and this register.
TEST(CModbusDevice, WriteEchoes_CountOnlyForTheRegisterWritten) {
  // Function 6 to slave 11, register 1204 (wire 0x04B3) = 457 (0x01C9); function 16 of two registers at
  // 1101 (wire 0x044C).
  struct Case {
    const char* name;
    bool multiple;
    std::vector<uint8_t> reply;
    int result;
  };
  const Case cases[] = {
      {"its echo", false, WithCrc({0x0B, 0x06, 0x04, 0xB3, 0x01, 0xC9}), 1},
      {"the echo of another register", false, WithCrc({0x0B, 0x06, 0x04, 0xB4, 0x01, 0xC9}), -3},
      {"the echo of another slave", false, WithCrc({0x02, 0x06, 0x04, 0xB3, 0x01, 0xC9}), -3},
      {"a read reply of eight bytes", false, WithCrc({0x0B, 0x03, 0x02, 0x00, 0x07, 0x00}), -3},
      {"function 16: its echo", true, WithCrc({0x0B, 0x10, 0x04, 0x4C, 0x00, 0x02}), 2},
      {"function 16: the echo of another start", true, WithCrc({0x0B, 0x10, 0x04, 0x4D, 0x00, 0x02}), -3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedBus bus;
    OpenPort open;
    CModbusDevice device(101, &open.port, 11);
    bus.Reply(c.reply, 5);
    const uint16_t values[2] = {1, 2};
    EXPECT_EQ(c.multiple ? device.WriteRegs(0x044C, values, 2, 0, 0) : device.WriteReg(0x04B3, 457, 0, 0), c.result);
    EXPECT_EQ(device.Stats().goodWrites, c.result > 0 ? 1 : 0);
  }
}

TEST(CModbusDevice, LateReply_IsPurgedBeforeTheNextRequest) {
  ScriptedBus bus;
  OpenPort open;
  CModbusDevice device(101, &open.port, 11);
  std::vector<uint8_t> stale = Reply20(11);
  std::vector<uint8_t> fresh = WithCrc({0x0B, 0x03, 0x02, 0x12, 0x34});
  bus.Reply(stale, 1000);  // long after the read budget
  uint16_t out[20] = {};
  EXPECT_EQ(device.ReadHoldingRegs(1199, 20, out, 0, 0), -3);
  bus.clock.Advance(1000);
  bus.Serve();  // the stale reply lands while the line is idle
  ASSERT_EQ(bus.pty.SlaveQueued(), 45);
  bus.Reply(fresh, 0);
  EXPECT_EQ(device.ReadHoldingRegs(1199, 1, out, 0, 0), 1);
  EXPECT_EQ(out[0], 0x1234);
}

TEST(CModbusDevice, Waits_AreSleptAroundTheExchange) {
  ScriptedBus bus;
  OpenPort open;
  CModbusDevice device(101, &open.port, 11);
  bus.Reply(Reply20(11), 10);
  uint16_t out[20];
  DWORD t0 = GetTickCount();
  EXPECT_EQ(device.ReadHoldingRegs(1199, 20, out, 50, 50), 20);
  EXPECT_EQ(GetTickCount() - t0, 100u);  // the reply was there when the wait before ended

  // Function 16: the count the unit echoes, after a further 50 ms for the unit to store the block.
  bus.Reply(WithCrc({0x0B, 0x10, 0x04, 0x4C, 0x00, 0x13}), 0);
  uint16_t values[19] = {};
  values[4] = 1000;
  t0 = GetTickCount();
  EXPECT_EQ(device.WriteRegs(1100, values, 19, 20, 0), 19);
  EXPECT_EQ(GetTickCount() - t0, 70u);
  std::vector<uint8_t> sent = {0x0B, 0x10, 0x04, 0x4C, 0x00, 0x13, 38};
  for (int i = 0; i < 19; ++i) {
    sent.push_back(static_cast<uint8_t>(values[i] >> 8));
    sent.push_back(static_cast<uint8_t>(values[i] & 0xFF));
  }
  ASSERT_EQ(bus.requests.size(), 2u);
  EXPECT_EQ(bus.requests[1], WithCrc(sent));
  std::vector<CString> trace = open.port.Trace();
  ASSERT_EQ(trace.size(), 4u);
  EXPECT_EQ(trace[2].Left(4).ToUtf8(), CString(u"\r\n写:").ToUtf8());
  EXPECT_EQ(trace[3].Left(3).ToUtf8(), CString(u"应答:").ToUtf8());
}

}  // namespace
