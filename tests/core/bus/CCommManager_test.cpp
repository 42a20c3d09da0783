// The communication manager: ports registered once, their settings guarded, devices made by type and found by
// address, and a port that failed to open kept with its devices.
#include "CCommManager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "BusTestLine.h"
#include "CModbusDevice.h"
#include "CSerialPort.h"
#include "CParamDevice.h"
#include "CUnitDevice.h"

namespace {

using bustest::BusLine;

TEST(CCommManager, OpenPort_SameSettingsShareOnePortAndOthersAreRefused) {
  BusLine line;
  CCommManager manager;
  EXPECT_EQ(manager.OpenPort(3, 19200, 8, 2, 1, 2000, 0), 3);
  EXPECT_EQ(manager.OpenPort(3, 19200, 8, 2, 1, 2000, 0), 3);
  EXPECT_EQ(manager.LastError(), 0);
  EXPECT_EQ(manager.PortCount(), 1);
  struct Case {
    const char* name;
    int baud, data, parity, stop;
    DWORD period;
    int extra;
  };
  const Case others[] = {
      {"another period", 19200, 8, 2, 1, 20, 0}, {"another baud rate", 9600, 8, 2, 1, 2000, 0},
      {"another parity", 19200, 8, 0, 1, 2000, 0}, {"other stop bits", 19200, 8, 2, 2, 2000, 0},
      {"another extra", 19200, 8, 2, 1, 2000, 1},
  };
  for (const Case& c : others) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(manager.OpenPort(3, c.baud, c.data, c.parity, c.stop, c.period, c.extra), -2);
    EXPECT_EQ(manager.LastError(), 2);
  }
  EXPECT_EQ(manager.PortCount(), 1);
  EXPECT_EQ(manager.FindPort(3)->GetPeriod(), 2000u);  // the first settings stay in force
  EXPECT_EQ(manager.FindPort(3)->BaudRate(), 19200);
}

TEST(CCommManager, PortNumberBeyondOneByte_IsRefusedAndRegistersNothing) {
  BusLine line;  // COM3 exists: 259 and 3 share their low byte
  CCommManager manager;
  for (int port : {259, 0, -253}) {
    SCOPED_TRACE(port);
    EXPECT_EQ(manager.OpenPort(port, 19200, 8, 2, 1, 2000, 0), -3);
    EXPECT_EQ(manager.LastError(), 3);
    EXPECT_EQ(manager.AddDevice(port, 11, 101), -4);
  }
  EXPECT_EQ(manager.PortCount(), 0);
  EXPECT_EQ(manager.FindPort(3), nullptr);
}

TEST(CCommManager, FailedOpen_KeepsThePortRunningAndTakesItsDevices) {
  testing_support::TempRoot root;  // no port map: the line cannot open
  CCommManager manager;
  EXPECT_EQ(manager.OpenPort(3, 19200, 8, 2, 1, 2000, 0), -3);
  EXPECT_EQ(manager.LastError(), 3);
  ASSERT_EQ(manager.PortCount(), 1);
  CSerialPort* port = manager.FindPort(3);
  EXPECT_TRUE(port->HasThread());
  EXPECT_EQ(manager.OpenPort(3, 19200, 8, 2, 1, 2000, 0), 3);  // same settings: its number
  EXPECT_EQ(manager.AddDevice(3, 11, 101), 11);
  EXPECT_EQ(manager.AddDevice(3, 2, 102), 2);
  auto* indoor = static_cast<IndoorBlock*>(manager.GetDeviceData(3, 11));
  ASSERT_NE(indoor, nullptr);
  EXPECT_EQ(indoor->m_linkState, 0);
  EXPECT_NE(manager.GetDeviceData(3, 2), nullptr);
}

TEST(CCommManager, AddDevice_CodesForEveryRefusal) {
  BusLine line;
  CCommManager manager;
  ASSERT_EQ(manager.OpenPort(3, 19200, 8, 2, 1, 2000, 0), 3);
  EXPECT_EQ(manager.AddDevice(4, 11, 101), -4);
  EXPECT_EQ(manager.LastError(), 4);
  EXPECT_EQ(manager.AddDevice(3, 11, 101), 11);
  EXPECT_EQ(manager.LastError(), 0);
  EXPECT_EQ(manager.AddDevice(3, 11, 102), -5);  // the address is taken, whatever the type
  EXPECT_EQ(manager.LastError(), 5);
  EXPECT_EQ(manager.AddDevice(3, 12, 999), -6);
  EXPECT_EQ(manager.LastError(), 6);
  EXPECT_EQ(manager.GetDeviceData(3, 12), nullptr);
  EXPECT_EQ(manager.GetDeviceData(4, 11), nullptr);
  EXPECT_EQ(manager.FindPort(3)->DeviceCount(), 1);
}

TEST(CCommManager, CreateDevice_MakesEachTypeWithItsTickCountSeeded) {
  struct Case {
    int type;
    bool hasBlock;
  };
  const Case cases[] = {{100, true}, {101, true}, {102, true}, {103, true}, {105, true}, {118, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    CModbusDevice* d = CCommManager::CreateDevice(c.type, 7, nullptr);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->Type(), c.type);
    EXPECT_EQ(d->SlaveAddress(), 7);
    EXPECT_EQ(d->TickCount(), 7);
    EXPECT_EQ(d->GetData() != nullptr, c.hasBlock);
    delete d;
  }
  EXPECT_EQ(CCommManager::CreateDevice(104, 7, nullptr), nullptr);
}

TEST(CCommManager, BusOnTheWifiPort_WifiOpenIsRefusedAndItsDeviceJoinsTheBus) {
  BusLine line;
  line.root.Write("board/ports", "COM1 " + line.pty.SlavePath() + "\n");
  CCommManager manager;
  ASSERT_EQ(manager.OpenPort(1, 19200, 8, 2, 1, 2000, 0), 1);
  EXPECT_EQ(manager.OpenPort(1, 57600, 8, 0, 1, 20, 0), -2);
  EXPECT_EQ(manager.AddDevice(1, 1, 103), 1);  // any device at address 1 is polled at the bus's period
  EXPECT_EQ(manager.FindPort(1)->DeviceCount(), 1);
  EXPECT_EQ(manager.FindPort(1)->GetPeriod(), 2000u);
}

TEST(CCommManager, EngineStartUp_ThePortPollsIndoorThenOutdoorEveryPeriod) {
  bustest::SimulatedBus bus;  // the port's thread runs on the virtual clock with the simulator in its sleeps
  DWORD t0 = GetTickCount();
  CCommManager manager;
  ASSERT_EQ(manager.OpenPort(3, 19200, 8, 2, 1, 2000, 0), 3);
  ASSERT_EQ(manager.AddDevice(3, 11, 101), 11);
  ASSERT_EQ(manager.AddDevice(3, 2, 102), 2);
  auto* indoor = static_cast<volatile IndoorBlock*>(manager.GetDeviceData(3, 11));
  auto* outdoor = static_cast<volatile OutdoorBlock*>(manager.GetDeviceData(3, 2));
  for (int i = 0; i < 5000 && !(indoor->m_linkState == 3 && outdoor->m_ready && outdoor->m_linkState == 1); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(indoor->m_linkState, 3);
  EXPECT_EQ(outdoor->m_linkState, 1);
  CSerialPort* port = manager.FindPort(3);
  port->Stop();
  std::vector<CString> trace = port->Trace();
  ASSERT_GT(trace.size(), 20u);
  EXPECT_EQ(trace[0].Left(15).ToUtf8(), "\r\n读:0B 03 03 E7");  // indoor register 1000 first
  size_t firstOutdoor = 0;
  while (firstOutdoor < trace.size() && trace[firstOutdoor].Find(u"读:02 ") < 0) ++firstOutdoor;
  EXPECT_EQ(trace[firstOutdoor].Left(15).ToUtf8(), "\r\n读:02 03 07 CF");  // then outdoor register 2000
  EXPECT_GE(GetTickCount() - t0, 2000u + 2000u);  // at least two periods: start-up, then a regular poll
}

TEST(CCommManager, FreeFunctions_ForwardToTheGlobalManager) {
  testing_support::TempRoot root;
  EXPECT_EQ(OpenCommPort(7, 9600, 8, 0, 1, 2000, 0), -3);
  EXPECT_EQ(g_commManager.LastError(), 3);
  EXPECT_EQ(AddCommDevice(7, 11, 101), 11);
  EXPECT_EQ(GetCommDeviceData(7, 11), g_commManager.GetDeviceData(7, 11));
  EXPECT_NE(GetCommDeviceData(7, 11), nullptr);
  EXPECT_EQ(GetCommDeviceData(7, 12), nullptr);
  // The global port would outlive the test: its thread must not go on sleeping on the next tests' virtual
  // clocks, nor its device answer for address 11 there.
  g_commManager.RemoveAllPorts();
  EXPECT_EQ(g_commManager.PortCount(), 0);
  EXPECT_EQ(GetCommDeviceData(7, 11), nullptr);
  EXPECT_EQ(OpenCommPort(7, 9600, 8, 0, 1, 2000, 0), -3) << "opened afresh, not found registered";
  g_commManager.RemoveAllPorts();
}

}  // namespace
