// A device on a serial port as the port knows it: its type and slave address, the count of its polls,
// and the poll the port's thread runs. The port owns its devices through this and deletes them; every
// kind of device is built on the Modbus master (CModbusDevice), which derives from it. Polled on the
// port's thread under the port's device lock.
#pragma once

class CPortDevice {
public:
  CPortDevice(int type, int slaveAddress) : m_type(type), m_slaveAddress(slaveAddress) {}
  virtual ~CPortDevice() = default;
  CPortDevice(const CPortDevice&) = delete;
  CPortDevice& operator=(const CPortDevice&) = delete;

  // One poll of the device, on the port's thread under its device lock. The base has nothing to poll.
  virtual void Poll() {}
  // The device's data block, or none.
  virtual void* GetData() { return nullptr; }

  int Type() const { return m_type; }
  int SlaveAddress() const { return m_slaveAddress; }
  // Polls so far; seeded with the slave address so that devices take their slow steps on different passes.
  int TickCount() const { return m_tickCount; }
  void SetTickCount(int count) { m_tickCount = count; }
  void CountTick() { ++m_tickCount; }

protected:
  int m_type;
  int m_slaveAddress;
  int m_tickCount = 0;
};
