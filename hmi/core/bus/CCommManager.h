// The process-wide registry of serial ports and the bus devices on them (g_commManager), and the factory that
// turns a device type code into a driver. The engine's start-up opens the ports and adds the devices through
// it, then keeps the pointers to the devices' data blocks. The port list changes only on the engine's start-up
// path and at exit and is not locked; device lists change under each port's device lock.
// A port that fails to open stays registered with its thread running, so its devices are still created and
// their blocks exist (they get no replies).
#pragma once

#include <vector>

#include "Platform.h"

class CModbusDevice;
class CSerialPort;

class CCommManager {
public:
  // Last-error codes; each failing call returns its negative.
  enum Error {
    kOk = 0,
    kNoMemory = 1,        // a port object could not be allocated
    kOtherSettings = 2,   // the port is already open with other settings
    kOpenFailed = 3,      // the line could not be opened or configured (the port stays registered)
    kNoPort = 4,          // no port with that number
    kAddressTaken = 5,    // a device with that slave address is already on the port
    kNoDevice = 6,        // the factory made no device (unknown type or no memory)
  };

  CCommManager();
  // Destroys every port (RemoveAllPorts).
  ~CCommManager();
  CCommManager(const CCommManager&) = delete;
  CCommManager& operator=(const CCommManager&) = delete;

  // The port number; -1, -2 or -3. Opening a registered port again with the very same settings (period and
  // extra included) returns its number and changes nothing. A number outside 1..255 names no port: -3,
  // and nothing is registered.
  int OpenPort(int port, int baud, int dataBits, int parity, int stopBits, DWORD periodMs, int extra);
  // The slave address; -4, -5 or -6. The device is polled from the port's next pass on.
  int AddDevice(int port, int slaveAddress, int type);
  // A new driver of the type (100, 101, 102, 103, 105, 106, 118) with its tick count seeded with the slave
  // address, or none for an unknown type.
  static CModbusDevice* CreateDevice(int type, int slaveAddress, CSerialPort* port);
  // The data block of the device at that address on that port, or none.
  void* GetDeviceData(int port, int slaveAddress);
  // The same, but only when that device is of the given type: a block is read as its driver's layout, so
  // another driver's block at the address (two settings naming one address) must not be handed out.
  void* GetDeviceData(int port, int slaveAddress, int type);

  // Destroys every port, each stopping its thread before its line and devices go, and leaves the list
  // empty as at start: the exit's clean-up, and the way a test returns the process-wide registry to the
  // state of a new process. The data blocks handed out before are gone with their devices.
  void RemoveAllPorts();

  CSerialPort* FindPort(int port);
  int PortCount() const { return static_cast<int>(m_ports.size()); }
  int LastError() const { return m_lastError; }

private:
  int Fail(Error error);

  std::vector<CSerialPort*> m_ports;  // owned, in order of opening
  int m_lastError = kOk;
};

extern CCommManager g_commManager;

// The same operations on g_commManager.
int OpenCommPort(int port, int baud, int dataBits, int parity, int stopBits, DWORD periodMs, int extra);
int AddCommDevice(int port, int slaveAddress, int type);
void* GetCommDeviceData(int port, int slaveAddress);
void* GetCommDeviceData(int port, int slaveAddress, int type);
