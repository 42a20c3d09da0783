// The panel as a Modbus slave (type 118, address 17) with libmodbus as the master on the far side of a
// pseudo-terminal, polled by its port's thread every 20 ms in real time. libmodbus builds every request and
// its CRC; raw requests (modbus_send_raw_request) get their CRC appended by libmodbus too.
#include "CSlaveDevice.h"

#include <errno.h>
#include <modbus.h>

#include <gtest/gtest.h>

#include "BusTestLine.h"
#include "CSerialPort.h"

namespace {

struct SlaveRig {
  bustest::BusLine line;
  CSerialPort port{3};
  CSlaveDevice* device = new CSlaveDevice(&port, 17);
  SlaveBlock& block = device->Block();
  modbus_t* master;

  SlaveRig() {
    EXPECT_EQ(port.Open(3, 19200, 8, 2, 1, 20, 0), 1);
    block.m_enable = 1;
    block.m_armed = 1;
    block.m_regs[100] = 0x1234;
    block.m_regs[101] = -2;
    port.AddDevice(device);  // polled from the next pass on
    master = modbus_new_rtu("/dev/null", 19200, 'E', 8, 1);
    modbus_set_socket(master, line.pty.MasterFd());
    modbus_set_slave(master, 17);
    modbus_set_response_timeout(master, 1, 0);
  }
  ~SlaveRig() {
    modbus_set_socket(master, -1);
    modbus_free(master);
  }
  SlaveBlock& Block() { return device->Block(); }
  // A raw request (CRC appended by libmodbus) and the raw reply, or empty after the time-out.
  std::vector<uint8_t> Raw(std::vector<uint8_t> request, int timeoutMs) {
    modbus_set_response_timeout(master, 0, static_cast<uint32_t>(timeoutMs) * 1000);
    std::vector<uint8_t> reply(MODBUS_RTU_MAX_ADU_LENGTH);
    int sent = modbus_send_raw_request(master, request.data(), static_cast<int>(request.size()));
    int n = sent > 0 ? modbus_receive_confirmation(master, reply.data()) : -1;
    modbus_set_response_timeout(master, 1, 0);
    reply.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return reply;
  }
};

TEST(CSlaveDevice, LibmodbusMaster_ReadsAndWritesTheTable) {
  SlaveRig rig;
  uint16_t regs[3] = {};
  ASSERT_EQ(modbus_read_registers(rig.master, 100, 2, regs), 2) << modbus_strerror(errno);
  EXPECT_EQ(regs[0], 0x1234);
  EXPECT_EQ(regs[1], 0xFFFE);
  ASSERT_EQ(modbus_write_register(rig.master, 300, 0xBEEF), 1) << modbus_strerror(errno);
  EXPECT_EQ(rig.Block().m_regs[300], static_cast<int16_t>(0xBEEF));
  const uint16_t block[4] = {1, 2, 3, 4};
  ASSERT_EQ(modbus_write_registers(rig.master, 4996, 4, block), 4) << modbus_strerror(errno);
  EXPECT_EQ(rig.Block().m_regs[4999], 4);
  ASSERT_EQ(modbus_read_registers(rig.master, 4998, 2, regs), 2);
  EXPECT_EQ(regs[1], 4);
  EXPECT_EQ(rig.Block().m_linkState, 1);
}

TEST(CSlaveDevice, Register0_IsASwitchAndFlagsTheWrite) {
  SlaveRig rig;
  struct Case {
    const char* name;
    uint8_t high, low;
    int16_t stored;
  };
  const Case cases[] = {{"5 stores 1", 0x00, 0x05, 1}, {"-3 stores 0", 0xFF, 0xFD, 0}, {"1 stays", 0x00, 0x01, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    rig.Block().m_reg0Written = 0;
    std::vector<uint8_t> reply = rig.Raw({17, 0x06, 0x00, 0x00, c.high, c.low}, 1000);
    ASSERT_EQ(reply.size(), 8u);
    EXPECT_EQ(reply[4], 0x00);  // the echo carries the value as stored
    EXPECT_EQ(reply[5], static_cast<uint8_t>(c.stored));
    EXPECT_EQ(rig.Block().m_regs[0], c.stored);
    EXPECT_EQ(rig.Block().m_reg0Written, 1);
  }
  const uint16_t two[2] = {7, 9};
  ASSERT_EQ(modbus_write_registers(rig.master, 0, 2, two), 2);
  EXPECT_EQ(rig.Block().m_regs[0], 1);
  EXPECT_EQ(rig.Block().m_regs[1], 9);
}

TEST(CSlaveDevice, RangeOutsideTheTable_IsAnsweredWithException2) {
  SlaveRig rig;
  uint16_t regs[4] = {};
  const uint16_t values[4] = {5, 6, 7, 8};
  rig.Block().m_regs[4998] = 11;
  EXPECT_EQ(modbus_read_registers(rig.master, 4998, 4, regs), -1);
  EXPECT_EQ(errno, EMBXILADD);
  EXPECT_EQ(modbus_write_registers(rig.master, 4998, 4, values), -1);
  EXPECT_EQ(errno, EMBXILADD);
  EXPECT_EQ(rig.Block().m_regs[4998], 11);  // nothing stored of a refused range
  EXPECT_EQ(modbus_write_register(rig.master, 5000, 1), -1);
  EXPECT_EQ(errno, EMBXILADD);
  std::vector<uint8_t> tooMany = rig.Raw({17, 0x03, 0x00, 0x00, 0x00, 121}, 1000);
  ASSERT_EQ(tooMany.size(), 5u);
  EXPECT_EQ(tooMany[1], 0x83);
  EXPECT_EQ(tooMany[2], 3);
}

TEST(CSlaveDevice, MalformedOrForeignRequests_AreIgnoredAndTheNextOneAnswered) {
  SlaveRig rig;
  // Function 16 claiming 2 registers with a byte count of 5.
  EXPECT_TRUE(rig.Raw({17, 0x10, 0x00, 0x0A, 0x00, 0x02, 0x05, 1, 2, 3, 4, 5}, 150).empty());
  EXPECT_EQ(rig.Block().m_regs[10], 0);
  modbus_set_slave(rig.master, 18);  // another slave's request is skipped byte by byte
  uint16_t regs[1];
  modbus_set_response_timeout(rig.master, 0, 150000);
  EXPECT_EQ(modbus_read_registers(rig.master, 100, 1, regs), -1);
  modbus_set_slave(rig.master, 17);
  modbus_set_response_timeout(rig.master, 1, 0);
  ASSERT_EQ(modbus_read_registers(rig.master, 100, 1, regs), 1);
  EXPECT_EQ(regs[0], 0x1234);
}

TEST(CSlaveDevice, Disabled_DisarmsAndLeavesTheLineAlone) {
  testing_support::TempRoot root;
  CSlaveDevice device(nullptr, 17);
  SlaveBlock& b = device.Block();
  b.m_armed = 1;
  b.m_fill = 12;
  device.Poll();
  EXPECT_EQ(b.m_armed, 0);
  b.m_enable = 1;
  device.Poll();
  EXPECT_EQ(b.m_fill, 0);
  EXPECT_EQ(b.m_linkState, 0);
}

}  // namespace
